#!/usr/bin/python3
"""The space-block pass benchmark: ezdxf against zelka_space_pass, one run.

The pass is what a bulk recalculation does to a floor plan: find every space
block (an INSERT of a "ROOM-*" definition, not a marker, not a GROSS AREA
record on an ordinary definition), read its data record (under "ADE", else
"AECXDATA") and attributes, measure its outline (first LWPOLYLINE of the
definition, scaled by the insert; metres from a millimetre drawing), subtract
and add the outlines named in its handle lists, round the area to the
record's precision, and write the record and the attribute layout back.

    /usr/bin/python3 bench/space_pass_ezdxf.py                  # 50,000 rooms
    /usr/bin/python3 bench/space_pass_ezdxf.py --rooms 2000     # a quick look
    /usr/bin/python3 bench/space_pass_ezdxf.py --ezdxf-only IN OUT
    /usr/bin/python3 bench/space_pass_ezdxf.py --build build    # also the whole job and memory

With --build, the Zelka programs are taken from BUILD/bin, and after the two
passes the script also times the whole job a user runs, `zelka --command mus
--save-as OUT PLAN` (open, every space block recalculated and written back,
save), and a plain open and save (`zelka --save-as OUT PLAN`), each under
/usr/bin/time -v, and prints the targets of the speed work in one place: the
whole job's processor time against ezdxf's whole run, the pass alone against
ezdxf's pass, and the peak resident memory of both Zelka runs against the
size of the file.

Each side runs in its own process under nice, one after the other, on the
same generated plan (bench/out/floorplan_N_s1_R2013.dxf, made by
gen_floorplan.py when missing). Each reports the seconds of its reading, of
the pass itself (collect, recalculate, write back) and of saving; the script
prints both, checks that they found the same number of blocks and the same
sums of areas and perimeters, and prints the ratios ezdxf/Zelka and a
Markdown row for RESULTS.md.
"""

import argparse
import decimal
import json
import math
import os
import subprocess
import sys
import tempfile
import time
from pathlib import Path

PYTHON = "/usr/bin/python3"
BENCH = Path(__file__).resolve().parent
ROOT = BENCH.parent
OUT = BENCH / "out"

KEYS_ORDER = ("AREA=", "PERIMETER=", "NAME=", "TAGTYPE=", "AREA_TYPE=", "COST_CENTRE=", "DATE=",
              "DATE_L_MOVE=", "DEPT_CHARGE=", "ROOM_HEIGHT=", "SPECIAL_REQ=", "TOT_STAFF=",
              "TOT_WKSTNS=", "VOLUME=", "HANDLESTOMINUS=", "HANDLESTOADD=")


# ---------------------------------------------------------------- the ezdxf pass

def number_text(value, precision):
    """Fixed decimals, ties rounded away from zero on the exact binary value
    (as the classic fixed-point digit conversion does, so 14.625 gives
    14.63), or the general %g form for a negative precision."""
    if precision < 0:
        return "%g" % value
    exact = decimal.Decimal(value).quantize(decimal.Decimal(1).scaleb(-precision), rounding=decimal.ROUND_HALF_UP)
    return "%.*f" % (precision, exact)


def leading_number(text):
    """The longest leading decimal number of text, 0.0 when none (like strtod)."""
    end, seen_digit, seen_point = 0, False, False
    if end < len(text) and text[end] in "+-":
        end += 1
    while end < len(text) and (text[end].isdigit() or (text[end] == "." and not seen_point)):
        seen_digit |= text[end].isdigit()
        seen_point |= text[end] == "."
        end += 1
    try:
        return float(text[:end]) if seen_digit else 0.0
    except ValueError:
        return 0.0


def polyline_measure(points, closed):
    """Area and length of an LWPOLYLINE given as (x, y, bulge), arcs included."""
    from ezdxf.math import Vec2, area as polygon_area
    n = len(points)
    if n < 2:
        return 0.0, 0.0
    area = polygon_area([Vec2(x, y) for x, y, _ in points])
    length = 0.0
    segments = n if closed else n - 1
    signed = 0.0
    for i in range(segments):
        x1, y1, b = points[i]
        x2, y2, _ = points[(i + 1) % n]
        chord = math.hypot(x2 - x1, y2 - y1)
        if b == 0.0 or chord == 0.0:
            length += chord
            continue
        theta = 4.0 * math.atan(b)
        radius = chord / (2.0 * math.sin(abs(theta) / 2.0))
        length += abs(theta) * radius
        signed += math.copysign(radius * radius * (abs(theta) - math.sin(abs(theta))) / 2.0, theta)
    # the polygon area is unsigned; arcs bulge out of a counter-clockwise outline when positive
    ccw = sum(points[i][0] * points[(i + 1) % n][1] - points[(i + 1) % n][0] * points[i][1] for i in range(n)) > 0
    return abs(area + (signed if ccw else -signed)), length


def ezdxf_pass(src, dst):
    import ezdxf
    from ezdxf.math import Vec3

    t0 = time.perf_counter()
    doc = ezdxf.readfile(src)
    t1 = time.perf_counter()
    c1 = time.process_time()
    divisor_area, divisor_length = 1e6, 1e3   # millimetre drawing, metric results
    if doc.header.get("$LUNITS", 2) in (3, 4):
        divisor_area, divisor_length = 1550.0031000062, 39.37007874015748
    outline_cache = {}

    def outline_of(name):
        if name not in outline_cache:
            block = doc.blocks.get(name)
            found = None
            if block is not None:
                for e in block:
                    if e.dxftype() == "LWPOLYLINE":
                        found = polyline_measure(list(e.get_points("xyb")), e.closed)
                        break
            outline_cache[name] = found
        return outline_cache[name]

    def measure_list(text, metric):
        total, kept = 0.0, []
        for handle in text.split(",")[:-1]:
            e = doc.entitydb.get(handle)
            if e is None:
                continue
            kept.append(handle)
            if e.dxftype() == "LWPOLYLINE":
                a, l = polyline_measure(list(e.get_points("xyb")), e.closed)
                total += (a / divisor_area) if metric == "area" else (l / divisor_length)
        return total, kept

    count, area_sum, perimeter_sum = 0, 0.0, 0.0
    for insert in doc.modelspace().query("INSERT"):
        name = insert.dxf.name
        if not name.upper().startswith("ROOM-"):
            continue
        app = "ADE" if insert.has_xdata("ADE") else ("AECXDATA" if insert.has_xdata("AECXDATA") else None)
        items = [t.value for t in insert.get_xdata(app) if t.code == 1000] if app else []
        # a gross area record on an ordinary definition is not a space
        if name != "ROOM-GROSS_AREA" and any(i == "NAME=GROSS AREA" for i in items):
            continue
        record = {key: "<Not Set>" for key in KEYS_ORDER}
        units, precision = -1, -1
        for item in items:
            for key in KEYS_ORDER:
                if item.startswith(key):
                    record[key] = item[len(key):]
                    break
            if item.startswith("AREA="):
                value = item[5:]
                if value.endswith("sq.m."):
                    units, value = 0, value[:-5]
                elif value.endswith("sq.ft."):
                    units, value = 1, value[:-6]
                value = value.rstrip(" ")
                precision = len(value) - value.index(".") - 1 if "." in value else 0
        attribs = {a.dxf.tag.upper(): a for a in reversed(insert.attribs)}
        sx, sy = abs(insert.dxf.get("xscale", 1.0)), abs(insert.dxf.get("yscale", 1.0))
        outline = outline_of(name)
        outline_area = outline[0] / divisor_area * sx * sy if outline else 0.0
        outline_length = outline[1] / divisor_length * sx if outline and sx == sy else 0.0
        sub_area, minus = measure_list(record["HANDLESTOMINUS="] if items else "", "area")
        add_area, plus = measure_list(record["HANDLESTOADD="] if items else "", "area")
        sub_len, _ = measure_list(",".join(minus) + ("," if minus else ""), "length")
        add_len, _ = measure_list(",".join(plus) + ("," if plus else ""), "length")
        area = float(number_text(outline_area - sub_area + add_area, precision))
        perimeter = sub_len + outline_length + add_len
        metric = units == 0
        name_text = attribs["NAME"].dxf.text if "NAME" in attribs else record["NAME="]
        values = {
            "AREA=": number_text(area, precision) + ("sq.m." if metric else "sq.ft."),
            "PERIMETER=": number_text(perimeter, precision) + ("m." if metric else "ft."),
            "NAME=": name_text,
            "ROOM_HEIGHT=": number_text(leading_number(record["ROOM_HEIGHT="]), precision) + ("m." if metric else "ft."),
            "VOLUME=": number_text(leading_number(record["VOLUME="]), precision) + ("cu.m." if metric else "cu.ft."),
            "HANDLESTOMINUS=": "".join(h + "," for h in minus),
            "HANDLESTOADD=": "".join(h + "," for h in plus),
        }
        tags = [(1002, "{")] + [(1000, key + values.get(key, record[key])) for key in KEYS_ORDER] + [(1002, "}")]
        insert.set_xdata(app or "ADE", tags)
        # the attribute layout: name above and aux below the area text
        if "AREA" in attribs:
            anchor = Vec3(attribs["AREA"].dxf.insert)
            for a in insert.attribs:
                r = math.radians(a.dxf.get("rotation", 0.0))
                h = a.dxf.height
                dx, dy = 1.5 * h * math.sin(r), 1.5 * h * math.cos(r)
                if a.dxf.tag == "NAME":
                    a.dxf.insert = anchor + Vec3(-dx, dy, 0)
                elif a.dxf.tag == "AREA":
                    a.dxf.insert = anchor
                elif a.dxf.tag == "AUX":
                    a.dxf.insert = anchor + Vec3(dx, -dy, 0)
        count += 1
        area_sum += area
        perimeter_sum += perimeter
    t2 = time.perf_counter()
    c2 = time.process_time()
    doc.saveas(dst)
    t3 = time.perf_counter()
    return {"blocks": count, "area_sum": area_sum, "perimeter_sum": perimeter_sum, "read_s": t1 - t0,
            "pass_s": t2 - t1, "pass_cpu_s": c2 - c1, "save_s": t3 - t2, "total_s": t3 - t0,
            "total_cpu_s": time.process_time()}


# ---------------------------------------------------------------- the run

def find_zelka(explicit):
    if explicit:
        return Path(explicit) if Path(explicit).is_file() else None
    for build in ("build", "build-bench", "build-spaces"):
        candidate = ROOT / build / "bin" / "zelka_space_pass"
        if candidate.is_file() and os.access(candidate, os.X_OK):
            return candidate
    return None


def run_json(cmd):
    proc = subprocess.run(["nice", "-n", "5"] + [str(c) for c in cmd], capture_output=True, text=True)
    if proc.returncode != 0:
        sys.exit(f"{cmd[0]} failed ({proc.returncode}): {proc.stderr.strip()}")
    return json.loads(proc.stdout.strip().splitlines()[-1])


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--rooms", type=int, default=50000)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--dxfversion", default="R2013")
    parser.add_argument("--zelka", help="path of zelka_space_pass (default: build*/bin/)")
    parser.add_argument("--build", help="build folder: its zelka_space_pass, and the whole job and memory too")
    parser.add_argument("--ezdxf-only", nargs=2, metavar=("IN", "OUT"), help="run only the ezdxf pass")
    args = parser.parse_args(argv)

    if args.ezdxf_only:
        print(json.dumps(ezdxf_pass(*args.ezdxf_only)))
        return 0

    OUT.mkdir(parents=True, exist_ok=True)
    plan = OUT / f"floorplan_{args.rooms}_s{args.seed}_{args.dxfversion}.dxf"
    if not plan.exists():
        print(f"generating {plan.name} ...", flush=True)
        subprocess.run([PYTHON, str(BENCH / "gen_floorplan.py"), "--rooms", str(args.rooms), "--seed",
                        str(args.seed), "--dxfversion", args.dxfversion, "--out", str(plan)], check=True)
    zelka = find_zelka(args.zelka or (str(Path(args.build) / "bin" / "zelka_space_pass") if args.build else None))
    if zelka is None:
        sys.exit("zelka_space_pass not found: build it (cmake --build build --target zelka_space_pass)")
    print(f"plan: {plan} ({plan.stat().st_size / 1e6:.1f} MB)", flush=True)

    ez = run_json([PYTHON, __file__, "--ezdxf-only", plan, OUT / "space_pass_ezdxf.dxf"])
    print("ezdxf:", json.dumps(ez), flush=True)
    ze = run_json([zelka, plan, OUT / "space_pass_zelka.dxf"])
    print("zelka:", json.dumps(ze), flush=True)

    same = (ez["blocks"] == ze["blocks"] and math.isclose(ez["area_sum"], ze["area_sum"], rel_tol=1e-9)
            and math.isclose(ez["perimeter_sum"], ze["perimeter_sum"], rel_tol=1e-9))
    print("same blocks and sums:", "yes" if same else "NO")
    pass_ratio = ez["pass_cpu_s"] / ze["pass_cpu_s"]
    total_ratio = ez["total_cpu_s"] / ze["total_cpu_s"]
    wall_ratio = ez["total_s"] / ze["total_s"]
    print(f"pass (collect, recalculate, write back), processor time: ezdxf {ez['pass_cpu_s']:.2f} s, "
          f"Zelka {ze['pass_cpu_s']:.3f} s, ratio {pass_ratio:.1f}")
    print(f"whole run (read, pass, save), processor time: ezdxf {ez['total_cpu_s']:.2f} s, "
          f"Zelka {ze['total_cpu_s']:.2f} s, ratio {total_ratio:.1f} (wall-clock ratio {wall_ratio:.1f})")
    print(f"| {args.rooms} | {ze['blocks']} | {ez['pass_cpu_s']:.2f} s | {ze['pass_cpu_s']:.3f} s | {pass_ratio:.1f} | "
          f"{ez['total_cpu_s']:.1f} s | {ze['total_cpu_s']:.1f} s | {total_ratio:.1f} | {wall_ratio:.1f} | "
          f"{'yes' if same else 'NO'} |")
    if args.build:
        whole_job(Path(args.build) / "bin" / "zelka", plan, ez, pass_ratio)
    return 0 if same else 1


def whole_job(zelka, plan, ez, pass_ratio):
    """Times the user's whole job and a plain open and save, and prints the
    speed and memory targets with the figures of this run."""
    sys.path.insert(0, str(BENCH))
    from speed_growth import timed
    size = plan.stat().st_size / 2**20
    with tempfile.TemporaryDirectory() as tmp:
        appdata, out = Path(tmp) / "appdata", Path(tmp) / "out.dxf"
        _, mus_cpu, mus_peak = timed(["nice", "-n", "5", zelka, "--appdata", appdata, "--command", "mus",
                                      "--save-as", out, plan])
        _, save_cpu, save_peak = timed(["nice", "-n", "5", zelka, "--appdata", appdata, "--save-as", out, plan])
    job_ratio = ez["total_cpu_s"] / mus_cpu
    print(f"whole job (zelka --command mus --save-as), processor time: Zelka {mus_cpu:.2f} s, "
          f"against ezdxf's whole run {job_ratio:.1f}x (target 75x)")
    print(f"pass alone: {pass_ratio:.1f}x (target 20x)")
    print(f"peak memory, file {size:.1f} MiB: open + mus + save {mus_peak:.0f} MiB ({mus_peak / size:.2f}x), "
          f"open + save {save_peak:.0f} MiB ({save_peak / size:.2f}x) (target 2x)")


if __name__ == "__main__":
    sys.exit(main())
