#!/usr/bin/python3
"""Open-and-save benchmark: ezdxf against Zelka's zelka_dxf_roundtrip on one plan.

    dxf_open_save.py [--rooms 50000] [--seed 1] [--dxfversion R2013]
                     [--zelka PATH] [--no-verify] [--force] [--out-dir DIR]

1. Generates the floor plan with gen_floorplan.py into bench/out/ (kept and
   reused on the next run with the same arguments).
2. Opens and saves it with ezdxf (ezdxf.readfile + doc.saveas) and with
   zelka_dxf_roundtrip IN OUT, each under /usr/bin/time -v and nice, one run
   each, one after the other: wall-clock time and peak resident memory.
3. Checks each output: ezdxf must read Zelka's output without audit errors and
   find the same number of model-space entities and blocks as in the input.
4. Prints both sides, the ratios (ezdxf / Zelka) and a Markdown table row for
   bench/RESULTS.md.

The Zelka side is skipped, and says so, while the tool has not been built.
The run refuses to start while a compiler or ninja is running on the machine
(the two cores would be shared), unless --force is given.
"""

import argparse
import datetime
import json
import os
import platform
import re
import subprocess
import sys
from pathlib import Path

PYTHON = "/usr/bin/python3"
BENCH = Path(__file__).resolve().parent
ROOT = BENCH.parent
OUT = BENCH / "out"
ORACLE = ROOT / "tests" / "tools" / "dxf_oracle.py"
BUSY_PROGRAMS = {"cc1plus", "cc1", "ninja", "make", "ld", "collect2", "clang", "clang++"}

EZDXF_ROUNDTRIP = (
    "import sys, time, ezdxf\n"
    "t0 = time.perf_counter(); doc = ezdxf.readfile(sys.argv[1]); t1 = time.perf_counter()\n"
    "doc.saveas(sys.argv[2]); t2 = time.perf_counter()\n"
    "print(f'ezdxf read {t1 - t0:.2f} s, save {t2 - t1:.2f} s')\n"
)


def busy_programs():
    found = set()
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            name = Path(f"/proc/{pid}/comm").read_text().strip()
        except OSError:
            continue
        if name in BUSY_PROGRAMS:
            found.add(name)
    return sorted(found)


def find_zelka(explicit):
    if explicit:
        return Path(explicit) if Path(explicit).is_file() else None
    for build in ("build", "build-bench", "build-host"):
        candidate = ROOT / build / "bin" / "zelka_dxf_roundtrip"
        if candidate.is_file() and os.access(candidate, os.X_OK):
            return candidate
    return None


def timed(cmd):
    """Runs cmd under /usr/bin/time -v and nice; returns (rc, seconds, peak MiB, output)."""
    full = ["/usr/bin/time", "-v", "nice", "-n", "5"] + [str(c) for c in cmd]
    proc = subprocess.run(full, capture_output=True, text=True)
    err = proc.stderr
    wall = re.search(r"Elapsed \(wall clock\) time \(h:mm:ss or m:ss\): (\S+)", err)
    rss = re.search(r"Maximum resident set size \(kbytes\): (\d+)", err)
    seconds = None
    if wall:
        parts = [float(p) for p in wall.group(1).split(":")]
        seconds = sum(p * 60 ** i for i, p in enumerate(reversed(parts)))
    peak = int(rss.group(1)) / 1024.0 if rss else None
    program_output = (proc.stdout + err.split("\tCommand being timed:")[0]).strip()
    return proc.returncode, seconds, peak, program_output


def model_counts(path):
    """Entities in model space and block definitions, as ezdxf sees them."""
    proc = subprocess.run([PYTHON, str(ORACLE), "dump", str(path)], capture_output=True, text=True)
    if proc.returncode != 0:
        return None
    dump = json.loads(proc.stdout)
    return {"modelspace": len(dump["modelspace"]), "blocks": len(dump["blocks"])}


def audit_errors(path):
    proc = subprocess.run([PYTHON, str(ORACLE), "audit", str(path)], capture_output=True, text=True)
    if proc.returncode == 2:
        return ["unreadable: " + proc.stdout.strip()]
    return [e["message"] for e in json.loads(proc.stdout)["errors"]]


def machine():
    cpu = "unknown CPU"
    try:
        for line in Path("/proc/cpuinfo").read_text().splitlines():
            if line.startswith("model name"):
                cpu = line.split(":", 1)[1].strip()
                break
    except OSError:
        pass
    mem = os.sysconf("SC_PAGE_SIZE") * os.sysconf("SC_PHYS_PAGES") / 2 ** 30
    return f"{cpu}, {os.cpu_count()} cores, {mem:.0f} GiB, Linux {platform.release()}"


def fmt(value, unit=""):
    return "n/a" if value is None else f"{value:.2f}{unit}"


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--rooms", type=int, default=50000)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--dxfversion", default="R2013")
    parser.add_argument("--zelka", help="path of zelka_dxf_roundtrip (default: build*/bin/)")
    parser.add_argument("--no-verify", action="store_true", help="skip the ezdxf checks of the outputs")
    parser.add_argument("--force", action="store_true", help="run even while a build is running")
    parser.add_argument("--out-dir", default=str(OUT), help="where plans and saved copies go (bench/out)")
    args = parser.parse_args(argv)

    if not Path("/usr/bin/time").exists():
        sys.exit("dxf_open_save: /usr/bin/time is missing (Debian package 'time')")
    busy = busy_programs()
    if busy and not args.force:
        sys.exit(f"dxf_open_save: a build seems to be running ({', '.join(busy)}); "
                 "measure on an idle machine or pass --force")

    out_dir = Path(args.out_dir)
    out_dir.mkdir(parents=True, exist_ok=True)
    plan = out_dir / f"floorplan_{args.rooms}_s{args.seed}_{args.dxfversion}.dxf"
    if not plan.exists():
        print(f"generating {plan.name} ...", flush=True)
        subprocess.run([PYTHON, str(BENCH / "gen_floorplan.py"), "--rooms", str(args.rooms),
                        "--seed", str(args.seed), "--dxfversion", args.dxfversion,
                        "--out", str(plan)], check=True)
    size_mb = plan.stat().st_size / 1e6
    print(f"plan: {plan} ({size_mb:.1f} MB, {args.rooms} rooms, {args.dxfversion})")

    results = {}
    ez_out = out_dir / "ezdxf_saved.dxf"
    rc, sec, peak, text = timed([PYTHON, "-c", EZDXF_ROUNDTRIP, plan, ez_out])
    results["ezdxf"] = (rc, sec, peak)
    print(f"ezdxf : rc={rc} wall {fmt(sec, ' s')} peak RSS {fmt(peak, ' MiB')}  [{text}]")

    zelka = find_zelka(args.zelka)
    zelka_out = out_dir / "zelka_saved.dxf"
    if zelka is None:
        print("zelka : SKIPPED - zelka_dxf_roundtrip not built yet (looked in build/, build-bench/, "
              "build-host/ bin folders; or pass --zelka)")
    else:
        rc, sec, peak, text = timed([zelka, plan, zelka_out])
        results["zelka"] = (rc, sec, peak)
        print(f"zelka : rc={rc} wall {fmt(sec, ' s')} peak RSS {fmt(peak, ' MiB')}  [{zelka}] {text[-300:]}")

    checks = []
    if not args.no_verify:
        expected = model_counts(plan)
        for side, out in (("ezdxf", ez_out), ("zelka", zelka_out)):
            if side not in results or results[side][0] != 0:
                continue
            errors = audit_errors(out)
            counts = model_counts(out)
            ok = not errors and counts == expected
            checks.append(f"{side} output {'OK' if ok else 'FAILED'}"
                          + ("" if ok else f" (audit errors {errors[:3]}, counts {counts} vs {expected})"))
        for line in checks:
            print("check : " + line)

    ez = results["ezdxf"]
    ze = results.get("zelka")
    speed = mem = None
    if ze and ze[0] == 0 and ez[1] and ze[1]:
        speed, mem = ez[1] / ze[1], ez[2] / ze[2]
        print(f"ratio : Zelka is {speed:.1f}x faster, uses {mem:.1f}x less peak memory than ezdxf")
    zelka_cells = (f"{fmt(ze[1])} | {fmt(ze[2], '')}" if ze and ze[0] == 0
                   else "not yet measured | not yet measured")
    date = datetime.date.today().isoformat()
    row = (f"| {date} | {args.rooms} rooms, {args.dxfversion}, {size_mb:.0f} MB | "
           f"{fmt(ez[1])} | {fmt(ez[2], '')} | {zelka_cells} | "
           f"{'n/a' if speed is None else f'{speed:.1f}x'} | {'n/a' if mem is None else f'{mem:.1f}x'} |")
    print("\nmachine: " + machine())
    print("command: bench/dxf_open_save.py " + " ".join(argv if argv is not None else sys.argv[1:]))
    print("RESULTS.md row:")
    print(row)
    failed = ez[0] != 0 or (ze is not None and ze[0] != 0) or any("FAILED" in c for c in checks)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
