#!/usr/bin/python3
"""Hatch every space block of a floor plan and save it: Zelka's msc_has
against the same hatching written with ezdxf.

    /usr/bin/python3 bench/hatch_all.py --zelka build/bin/zelka        # 50,000 rooms, seed 1
    /usr/bin/python3 bench/hatch_all.py --rooms 2000 --zelka ...        # a quick look

Steps (one run of each side, one after the other, each in its own process):

1. gen_floorplan.py --rooms N --seed S --dxfversion R2013 writes the plan to
   bench/out/ (kept and reused).
2. Zelka: `zelka --command msc_has --save-as OUT IN`: open, hatch every space
   block but the gross areas (solid yellow, layer "#Hatch", beneath
   everything else), write each block back, save. Its own line
   "N block(s) hatched in S seconds" gives the pass alone.
3. ezdxf: readfile, then for every space-block INSERT but the gross areas
   msp.add_hatch with the solid yellow fill on "#Hatch" and the block's
   outline (first LWPOLYLINE of the definition, transformed by the INSERT)
   as its boundary path, then the hatches sent beneath everything else
   (one redraw-order update), saveas.
4. Both outputs are read back with ezdxf: as many hatches as space blocks.

Prints the wall-clock seconds of both sides (whole process, and the pass
alone), the ratios ezdxf / Zelka, and a Markdown row for RESULTS.md.
"""

import argparse
import json
import os
import re
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "out")

EZDXF_SIDE = r'''
import json, sys, time
import ezdxf
start = time.perf_counter()
doc = ezdxf.readfile(sys.argv[1])
read = time.perf_counter()
msp = doc.modelspace()
if "#Hatch" not in doc.layers:
    doc.layers.add("#Hatch")
hatches = []
for insert in msp.query("INSERT"):
    if not insert.dxf.name.startswith("ROOM-"):
        continue
    name = next((a.dxf.text for a in insert.attribs if a.dxf.tag == "NAME"), "")
    if name == "GROSS AREA" or insert.dxf.name == "ROOM-GROSS_AREA":
        continue
    block = doc.blocks.get(insert.dxf.name)
    outline = next((e for e in block if e.dxftype() == "LWPOLYLINE"), None)
    if outline is None:
        continue
    placed = outline.copy()
    placed.transform(insert.matrix44())
    hatch = msp.add_hatch(dxfattribs={"layer": "#Hatch"})
    hatch.set_solid_fill(rgb=(255, 255, 0))
    hatch.paths.add_polyline_path(placed.get_points("xyb"), is_closed=True)
    hatches.append(hatch.dxf.handle)
# beneath everything else: the hatches first in the draw order
order = [(h, "%X" % (i + 1)) for i, h in enumerate(hatches)]
msp.set_redraw_order(order)
passed = time.perf_counter()
doc.saveas(sys.argv[2])
saved = time.perf_counter()
print(json.dumps({"hatched": len(hatches), "read_s": read - start, "pass_s": passed - read,
                  "save_s": saved - passed}))
'''


def count_hatches(path):
    program = ("import ezdxf,sys\nd=ezdxf.readfile(sys.argv[1])\n"
               "print(len(d.modelspace().query('HATCH')), len(d.audit().errors))")
    run = subprocess.run(["/usr/bin/python3", "-c", program, path], capture_output=True, text=True)
    parts = run.stdout.split()
    return (int(parts[0]), int(parts[1])) if len(parts) == 2 else (-1, -1)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--rooms", type=int, default=50000)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--zelka", required=True, help="the zelka program (build/bin/zelka)")
    parser.add_argument("--no-verify", action="store_true")
    args = parser.parse_args()

    os.makedirs(OUT, exist_ok=True)
    plan = os.path.join(OUT, f"floorplan_{args.rooms}_s{args.seed}_R2013.dxf")
    if not os.path.exists(plan):
        subprocess.run(["/usr/bin/python3", os.path.join(HERE, "gen_floorplan.py"), "--rooms", str(args.rooms),
                        "--seed", str(args.seed), "--dxfversion", "R2013", "--out", plan], check=True)
    zelka_out = os.path.join(OUT, f"hatched_zelka_{args.rooms}.dxf")
    ezdxf_out = os.path.join(OUT, f"hatched_ezdxf_{args.rooms}.dxf")

    with tempfile.TemporaryDirectory() as appdata:
        start = time.perf_counter()
        run = subprocess.run([args.zelka, "--appdata", appdata, "--command", "msc_has", "--save-as", zelka_out, plan],
                             capture_output=True, text=True)
        zelka_wall = time.perf_counter() - start
    match = re.search(r"(\d+) block\(s\) hatched in (\d+) seconds \(([\d.]+) s/b\)", run.stdout)
    if run.returncode != 0 or not match:
        print(run.stdout[-2000:], run.stderr[-2000:])
        sys.exit("zelka msc_has failed")
    zelka_count = int(match.group(1))
    # The line gives whole seconds and seconds per block to two decimals; a
    # fast pass rounds the latter to 0.00, so the larger of the two stands.
    zelka_pass = max(float(match.group(2)), float(match.group(3)) * zelka_count)
    print("zelka: " + match.group(0))

    start = time.perf_counter()
    run = subprocess.run(["/usr/bin/python3", "-c", EZDXF_SIDE, plan, ezdxf_out], capture_output=True, text=True)
    ezdxf_wall = time.perf_counter() - start
    if run.returncode != 0:
        print(run.stderr[-2000:])
        sys.exit("the ezdxf side failed")
    ezdxf = json.loads(run.stdout.strip().splitlines()[-1])

    print(f"plan: {plan} ({os.path.getsize(plan):,} bytes)")
    print(f"zelka msc_has: {zelka_count} hatched, pass {zelka_pass:.2f} s, whole run {zelka_wall:.2f} s")
    print(f"ezdxf add_hatch: {ezdxf['hatched']} hatched, pass {ezdxf['pass_s']:.2f} s, "
          f"whole run {ezdxf_wall:.2f} s (read {ezdxf['read_s']:.2f} s, save {ezdxf['save_s']:.2f} s)")
    if not args.no_verify:
        for side, path in (("zelka", zelka_out), ("ezdxf", ezdxf_out)):
            hatches, errors = count_hatches(path)
            print(f"check {side}: {hatches} hatches read back, {errors} audit errors")
    whole = ezdxf_wall / zelka_wall
    if zelka_pass > 0:
        pass_ratio = f"pass {ezdxf['pass_s'] / zelka_pass:.1f}x"
    else:
        # msc_has counts whole seconds cut down: 0 means under one second.
        pass_ratio = f"pass at least {ezdxf['pass_s']:.1f}x (Zelka's pass under 1 s)"
    print(f"ratio ezdxf/zelka: whole run {whole:.1f}x, {pass_ratio}")
    print(f"| {time.strftime('%Y-%m-%d')} | {args.rooms} rooms | {zelka_count} | {zelka_wall:.2f} | {zelka_pass:.2f} | "
          f"{ezdxf_wall:.2f} | {ezdxf['pass_s']:.2f} | {whole:.1f}x |")


if __name__ == "__main__":
    main()
