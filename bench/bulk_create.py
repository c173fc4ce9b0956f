#!/usr/bin/python3
"""Bulk creation of space blocks on a plan of bare outlines, timed and checked.

    bulk_create.py [--rooms 50000] [--rooms-per-floor 400] [--zelka PATH] [--out DIR] [--force]

1. gen_floorplan.py --bare-outlines writes the plan (kept in DIR and reused)
   and its FILE.expect.json: per outline handle the name and area its block
   must get, or why it must be skipped.
2. zelka opens the plan, runs "mbulk" on layer ROOMS and saves a copy, under
   /usr/bin/time -v: the wall-clock time covers open, bulk creation and save.
3. ezdxf reads the copy and checks every block: one per outline that is not
   to be skipped, named from the number text inside (or "Room n" where there
   is none), the area text as computed by the generator, the definition's
   outline the one it was made from, and the insertion point (the label)
   inside that outline. Every outline to skip is reported with its handle
   and reason in the transcript, and stays in model space.

Prints a JSON line with the figures and "ok"; exits 1 when a check fails.
The machine has two cores: the script refuses to start while a compiler or
ninja is running (--force overrides; such figures are not comparable).
"""

import argparse
import json
import os
import re
import subprocess
import sys
import tempfile

import ezdxf
from ezdxf import path as ezpath
from ezdxf.math import Vec2, is_point_in_polygon_2d

HERE = os.path.dirname(os.path.abspath(__file__))


def find_zelka(given):
    if given:
        return given
    root = os.path.dirname(HERE)
    for build in ("build", "build-bench", "build-creator"):
        candidate = os.path.join(root, build, "bin", "zelka")
        if os.path.exists(candidate):
            return candidate
    sys.exit("bulk_create.py: no zelka found; build it or pass --zelka PATH")


def busy():
    out = subprocess.run(["ps", "-eo", "comm"], capture_output=True, text=True).stdout.split()
    return any(name in ("cc1plus", "ninja") for name in out)


def timed(command):
    run = subprocess.run(["/usr/bin/time", "-v"] + command, capture_output=True, text=True)
    wall = re.search(r"Elapsed \(wall clock\) time \(h:mm:ss or m:ss\): (?:(\d+):)?(\d+):([\d.]+)", run.stderr)
    rss = re.search(r"Maximum resident set size \(kbytes\): (\d+)", run.stderr)
    user = re.search(r"User time \(seconds\): ([\d.]+)", run.stderr)
    system = re.search(r"System time \(seconds\): ([\d.]+)", run.stderr)
    seconds = (int(wall.group(1) or 0) * 3600 + int(wall.group(2)) * 60 + float(wall.group(3))) if wall else -1
    cpu = float(user.group(1)) + float(system.group(1)) if user and system else -1
    return run, seconds, cpu, int(rss.group(1)) if rss else -1


def check(saved, expect, transcript):
    problems = []
    doc = ezdxf.readfile(saved)
    msp = doc.modelspace()
    made = {}
    for insert in msp.query("INSERT"):
        if not insert.dxf.name.upper().startswith("ROOM-"):
            continue
        block = doc.blocks.get(insert.dxf.name)
        outline = next((e for e in block if e.dxftype() == "LWPOLYLINE"), None)
        if outline is None:
            problems.append(f"{insert.dxf.name} has no outline")
            continue
        made[outline.dxf.handle] = (insert, outline)
    skipped = dict(re.findall(r"Outline ([0-9A-F]+) on layer ROOMS was skipped: (.*)\.\n", transcript))
    computed = 0
    for handle, want in expect.items():
        if "skip" in want:
            if handle in made:
                problems.append(f"outline {handle} became a block; it {want['skip']}")
            if skipped.get(handle) != want["skip"]:
                problems.append(f"outline {handle}: reported {skipped.get(handle)!r}, expected {want['skip']!r}")
            if msp.doc.entitydb.get(handle) is None or msp.doc.entitydb[handle].dxf.owner != msp.layout_key:
                problems.append(f"skipped outline {handle} left model space")
            continue
        if handle not in made:
            problems.append(f"outline {handle} made no block")
            continue
        insert, outline = made[handle]
        attribs = {a.dxf.tag: a.dxf.text for a in insert.attribs}
        if want["name"]:
            if attribs.get("NAME") != want["name"]:
                problems.append(f"outline {handle}: name {attribs.get('NAME')!r}, expected {want['name']!r}")
        else:
            computed += 1
            if not re.fullmatch(r"Room \d+", attribs.get("NAME", "")):
                problems.append(f"outline {handle}: computed name {attribs.get('NAME')!r}")
        if attribs.get("AREA") != want["area"]:
            problems.append(f"outline {handle}: area {attribs.get('AREA')!r}, expected {want['area']!r}")
        # The outline in world coordinates: the definition's, moved by the insertion point.
        at = Vec2(insert.dxf.insert)
        polygon = [Vec2(v) + at for v in ezpath.make_path(outline).flattening(1.0)]
        if is_point_in_polygon_2d(at, polygon) < 1:
            problems.append(f"outline {handle}: label {at} not inside")
    extra = set(made) - set(expect)
    if extra:
        problems.append(f"blocks from outlines not expected: {sorted(extra)[:5]}")
    return problems, len(made), len(skipped), computed


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--rooms", type=int, default=50000)
    parser.add_argument("--rooms-per-floor", type=int, default=400)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--zelka")
    parser.add_argument("--out", default=os.path.join(HERE, "out"))
    parser.add_argument("--force", action="store_true")
    args = parser.parse_args()
    if not args.force and busy():
        sys.exit("bulk_create.py: a compiler or ninja is running; figures would not be comparable (--force)")
    os.makedirs(args.out, exist_ok=True)
    plan = os.path.join(args.out, f"bare_{args.rooms}_{args.rooms_per_floor}_s{args.seed}.dxf")
    if not os.path.exists(plan) or not os.path.exists(plan + ".expect.json"):
        subprocess.run([sys.executable, os.path.join(HERE, "gen_floorplan.py"), "--rooms", str(args.rooms),
                        "--rooms-per-floor", str(args.rooms_per_floor), "--seed", str(args.seed),
                        "--bare-outlines", "--out", plan], check=True)
    with open(plan + ".expect.json") as f:
        expect = json.load(f)
    saved = os.path.join(args.out, os.path.basename(plan).replace(".dxf", "-blocks.dxf"))
    with tempfile.TemporaryDirectory() as appdata:
        run, seconds, cpu, rss = timed([find_zelka(args.zelka), "--appdata", appdata, "--command", "mbulk",
                                   "--command", "ROOMS", "--save-as", saved, plan])
    if run.returncode != 0:
        print(run.stdout[-2000:], run.stderr[-2000:])
        sys.exit(f"bulk_create.py: zelka ended with status {run.returncode}")
    problems, blocks, skipped, computed = check(saved, expect, run.stdout)
    wanted = sum(1 for w in expect.values() if "skip" not in w)
    result = {"rooms": args.rooms, "blocks": blocks, "expected_blocks": wanted, "skipped": skipped,
              "computed_names": computed, "zelka_s": round(seconds, 2), "zelka_cpu_s": round(cpu, 2),
              "zelka_max_rss_kb": rss,
              "ok": not problems}
    print(json.dumps(result))
    for problem in problems[:20]:
        print("  " + problem)
    return 0 if not problems else 1


if __name__ == "__main__":
    sys.exit(main())
