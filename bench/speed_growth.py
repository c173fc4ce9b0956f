#!/usr/bin/python3
"""Growth with size: open + save and open + mus + save at several plan sizes.

    /usr/bin/python3 bench/speed_growth.py --build build                 # 1,000, 10,000, 50,000 rooms
    /usr/bin/python3 bench/speed_growth.py --build build --rooms 1000 --callgrind

For each size (plans made by gen_floorplan.py with seed 1, R2013, into
bench/out/ when missing) it runs, one after the other, each under
/usr/bin/time -v:

  * zelka_dxf_roundtrip PLAN OUT (open and save);
  * zelka --command mus --save-as OUT PLAN (open, recalculate and write back
    every space block, save), with an application-data folder of its own
    holding the default preferences;

and prints for each the wall-clock seconds, the processor seconds (user +
system), the peak resident memory and that memory as a multiple of the file
size, then a Markdown row per run for RESULTS.md. With --callgrind it also
counts, on each size, the instructions of the space pass of zelka_space_pass
(collect, recalculate and write back, as bench/README.md names the functions)
and prints them per block: slow (about a minute per 1,000 rooms), so use it on
the small sizes.
"""

import argparse
import os
import re
import subprocess
import sys
import tempfile
from pathlib import Path

PYTHON = "/usr/bin/python3"
BENCH = Path(__file__).resolve().parent
OUT = BENCH / "out"


def plan_for(rooms):
    plan = OUT / f"floorplan_{rooms}_s1_R2013.dxf"
    if not plan.exists():
        OUT.mkdir(exist_ok=True)
        subprocess.run([PYTHON, str(BENCH / "gen_floorplan.py"), "--rooms", str(rooms), "--seed", "1",
                        "--dxfversion", "R2013", "--out", str(plan)], check=True)
    return plan


def timed(cmd):
    """Runs cmd under /usr/bin/time -v; returns wall s, CPU s and peak MiB."""
    proc = subprocess.run(["/usr/bin/time", "-v"] + [str(c) for c in cmd], capture_output=True, text=True)
    if proc.returncode != 0:
        sys.exit(f"failed ({proc.returncode}): {' '.join(map(str, cmd))}\n{proc.stdout}\n{proc.stderr}")
    err = proc.stderr

    def field(name):
        return re.search(re.escape(name) + r": (.*)", err).group(1).strip()

    wall = field("Elapsed (wall clock) time (h:mm:ss or m:ss)")
    seconds = 0.0
    for part in wall.split(":"):
        seconds = seconds * 60 + float(part)
    cpu = float(field("User time (seconds)")) + float(field("System time (seconds)"))
    peak = int(field("Maximum resident set size (kbytes)")) / 1024
    return seconds, cpu, peak


def pass_instructions(tool, plan, out):
    """Instructions of the space pass alone, by callgrind's collection toggles."""
    with tempfile.TemporaryDirectory() as tmp:
        cg = Path(tmp) / "cg.out"
        subprocess.run(["valgrind", "--tool=callgrind", f"--callgrind-out-file={cg}",
                        "--toggle-collect=CBlocks::getZelkaBlockIds_SS*",
                        "--toggle-collect=CBlocks::readSpaceBlock*",
                        "--toggle-collect=CBlockDWG::recalculate*",
                        "--toggle-collect=CBlockDWG::applyToDWG(CAcadDrawing&, bool)",
                        str(tool), str(plan), str(out)], check=True, capture_output=True)
        text = cg.read_text(errors="replace")
        return int(re.search(r"^summary: (\d+)", text, re.M).group(1))


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build", help="the build folder holding bin/zelka*")
    parser.add_argument("--rooms", type=int, nargs="+", default=[1000, 10000, 50000])
    parser.add_argument("--callgrind", action="store_true", help="also count the pass's instructions per block")
    args = parser.parse_args(argv)
    bin_dir = Path(args.build) / "bin"
    rows = []
    with tempfile.TemporaryDirectory() as tmp:
        appdata = Path(tmp) / "appdata"
        out = Path(tmp) / "out.dxf"
        for rooms in args.rooms:
            plan = plan_for(rooms)
            size = plan.stat().st_size / 2**20
            runs = [("open + save", [bin_dir / "zelka_dxf_roundtrip", plan, out]),
                    ("open + mus + save", [bin_dir / "zelka", "--appdata", appdata, "--command", "mus",
                                           "--save-as", out, plan])]
            for name, cmd in runs:
                wall, cpu, peak = timed(cmd)
                print(f"{rooms} rooms ({size:.1f} MiB), {name}: wall {wall:.2f} s, CPU {cpu:.2f} s, "
                      f"peak {peak:.0f} MiB ({peak / size:.2f}x the file)", flush=True)
                rows.append(f"| {rooms} | {size:.1f} | {name} | {wall:.2f} | {cpu:.2f} | {peak:.0f} | {peak / size:.2f}x |")
            if args.callgrind:
                count = pass_instructions(bin_dir / "zelka_space_pass", plan, out)
                blocks = rooms + (rooms + 399) // 400
                print(f"{rooms} rooms: pass {count:,} instructions, {count / blocks:,.0f} per block", flush=True)
    print("\n| Rooms | File MiB | Run | Wall s | CPU s | Peak MiB | Peak / file |\n|---|---|---|---|---|---|---|")
    print("\n".join(rows))


if __name__ == "__main__":
    main()
