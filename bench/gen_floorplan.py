#!/usr/bin/python3
"""Synthetic floor plan generator for the DXF benchmarks (ezdxf, Debian python3-ezdxf).

    gen_floorplan.py --rooms N --out FILE [--dxfversion R2013] [--seed S]
                     [--rooms-per-floor K] [--base-points] [--locked-layers L1,L2]
                     [--bare-outlines]

Writes a millimetre drawing ($INSUNITS 4, $LUNITS 2) of N space blocks laid out
on a grid of floors, K rooms to a floor. Every room is a space block:

* a block definition "ROOM-n" (n = 1..N) with a closed LWPOLYLINE outline
  (rectangles, L shapes and, for about one room in ten, a bulged edge) and the
  three attribute definitions AREA, NAME, AUX on layers ATT-AREA, ATT-NAME,
  ATT-AUX, made in that order and placed as space blocks place them;
* an INSERT of it in model space with the three ATTRIBs (name "RM-<floor><nnn>",
  area text such as "23.45sq.m.", an auxiliary text) and the "ADE" extended-data
  record: "{", AREA=, PERIMETER=, NAME=, TAGTYPE=, AREA_TYPE=, COST_CENTRE=,
  DATE=, DATE_L_MOVE=, DEPT_CHARGE=, ROOM_HEIGHT=, SPECIAL_REQ=, TOT_STAFF=,
  TOT_WKSTNS=, VOLUME=, HANDLESTOMINUS=, HANDLESTOADD=, "}" with area and
  perimeter measured on the outline (two decimals, metric units).

Each floor also gets one INSERT of the gross area block "ROOM-GROSS_AREA"
(NAME=GROSS AREA in its record), wall lines on layer WALLS, a title TEXT, and
every room gets furniture (DESK, CHAIR, CABINET block references).

--base-points gives every block definition (rooms, gross area, furniture) a
random base point, as drawings from other programs have, and shifts the
definition's content by it, so the world drawing stays exactly the same.
--locked-layers locks the named layers (for example ATT-NAME,ATT-AUX).
Both are off by default, and then the output is what it always was.

--bare-outlines writes the plan as an imported drawing has it, before any
space block exists: each room is a closed LWPOLYLINE in model space on layer
ROOMS with its number ("RM-<floor><nnn>") as a TEXT inside, the floors'
outlines are LWPOLYLINEs on GROSS, and there are no space blocks. Every 500th
room is left open, every 997th crosses itself and every 300th has no number
text. FILE.expect.json then lists, by outline handle, the name each room's
block must get ("" for a computed one) and its area text, or why it must be
skipped.

The output depends only on the arguments: the same seed gives the same bytes.
"""

import argparse
import decimal
import json
import math
import os
import random
import sys

import ezdxf

TEXT_HEIGHT = 250.0          # attribute text height, drawing units (mm)
CELL = 9000.0                # grid cell of one room, mm
WALL_GAP = 200.0             # free band between a room outline and its cell edge
BULGE = 0.2                  # bulge of the curved edge of bulged rooms
ROOM_HEIGHTS = (2.5, 2.7, 3.0, 3.2)
USES = ("Office", "Meeting", "Store", "Lab", "Kitchen", "Corridor", "WC", "Plant")
AREA_TYPES = ("NET", "USABLE", "CIRCULATION", "SERVICE")


def fixed(value, decimals=2):
    """Number text as space blocks write it: fixed point, exactly `decimals` places."""
    return f"{value:.{decimals}f}"


def half_up(value, decimals=2):
    """The exact value of the float rounded half away from zero, as space blocks write areas."""
    quantum = decimal.Decimal(1).scaleb(-decimals)
    return str(decimal.Decimal(value).quantize(quantum, rounding=decimal.ROUND_HALF_UP))


def segment_area(chord, bulge):
    """Area between a chord and the arc of the given bulge (positive)."""
    theta = 4.0 * math.atan(abs(bulge))
    radius = chord / (2.0 * math.sin(theta / 2.0))
    return radius * radius / 2.0 * (theta - math.sin(theta))


def arc_length(chord, bulge):
    theta = 4.0 * math.atan(abs(bulge))
    return chord / (2.0 * math.sin(theta / 2.0)) * theta


def new_block(doc, name, bases):
    """A block definition; with base points on, one drawn at random, returned with it."""
    if bases is None:
        return doc.blocks.new(name), None
    base = (bases.randrange(-5000, 5001, 10) * 1.0, bases.randrange(-5000, 5001, 10) * 1.0)
    return doc.blocks.new(name, base_point=base), base


def shifted(points, base):
    """Points (x, y[, more]) moved by the base point (unchanged without one)."""
    if base is None:
        return points
    return [(p[0] + base[0], p[1] + base[1]) + tuple(p[2:]) for p in points]


def make_outline(rng):
    """Returns (points as (x, y, bulge), area mm2, perimeter mm), counter-clockwise,
    centred on the block origin so the AREA attribute sits in the middle of the room."""
    usable = CELL - 2 * WALL_GAP
    w = rng.randrange(3000, int(usable) + 1, 10)
    d = rng.randrange(3000, int(usable * 0.8) + 1, 10)
    x0, y0 = -w / 2.0, -d / 2.0
    shape = rng.random()
    if shape < 0.1:
        # rectangle whose top edge (from top right to top left) bulges outwards
        pts = [(x0, y0, 0.0), (x0 + w, y0, 0.0), (x0 + w, y0 + d, BULGE), (x0, y0 + d, 0.0)]
        area = w * d + segment_area(w, BULGE)
        perimeter = 2 * d + w + arc_length(w, BULGE)
    elif shape < 0.3:
        # L shape: the top right corner cut out
        cw = rng.randrange(1000, int(w / 2) + 1, 10)
        cd = rng.randrange(1000, int(d / 2) + 1, 10)
        pts = [(x0, y0, 0.0), (x0 + w, y0, 0.0), (x0 + w, y0 + d - cd, 0.0),
               (x0 + w - cw, y0 + d - cd, 0.0), (x0 + w - cw, y0 + d, 0.0), (x0, y0 + d, 0.0)]
        area = w * d - cw * cd
        perimeter = 2 * (w + d)
    else:
        pts = [(x0, y0, 0.0), (x0 + w, y0, 0.0), (x0 + w, y0 + d, 0.0), (x0, y0 + d, 0.0)]
        area = w * d
        perimeter = 2 * (w + d)
    return pts, area, perimeter


def add_space_attdefs(block, angle_deg=0.0, base=None):
    """AREA at the base point, NAME 1.5 h above it and AUX 1.5 h below (unrotated text)."""
    r = math.radians(angle_deg)
    dx, dy = 1.5 * TEXT_HEIGHT * math.sin(r), 1.5 * TEXT_HEIGHT * math.cos(r)
    common = {"height": TEXT_HEIGHT, "rotation": angle_deg, "width": 1.0, "field_length": 25}
    for tag, prompt, default, layer, pos in (
        ("AREA", "Enter Area", "DEFAULT AREA", "ATT-AREA", (0.0, 0.0)),
        ("NAME", "Enter Name", "DEFAULT NAME", "ATT-NAME", (-dx, dy)),
        ("AUX", "Enter Auxillary Value", "DEFAULT AUX", "ATT-AUX", (dx, -dy)),
    ):
        if base is not None:
            pos = (pos[0] + base[0], pos[1] + base[1])
        block.add_attdef(tag, pos, default, dxfattribs=dict(common, prompt=prompt, layer=layer))
    block.block.dxf.flags = 2     # the definition holds non-constant attribute definitions


def ade_record(area_m2, perimeter_m, name, rng, height):
    volume = area_m2 * height
    date = f"{rng.randrange(2015, 2025)}-{rng.randrange(1, 13):02d}-{rng.randrange(1, 29):02d}"
    items = [
        f"AREA={fixed(area_m2)}sq.m.",
        f"PERIMETER={fixed(perimeter_m)}m.",
        f"NAME={name}",
        f"TAGTYPE={rng.choice(('ROOM', 'SPACE'))}",
        f"AREA_TYPE={rng.choice(AREA_TYPES)}",
        f"COST_CENTRE=CC-{rng.randrange(100, 1000)}",
        f"DATE={date}",
        "DATE_L_MOVE=<Not Set>",
        f"DEPT_CHARGE=D{rng.randrange(1, 50):02d}",
        f"ROOM_HEIGHT={fixed(height)}m.",
        "SPECIAL_REQ=<Not Set>",
        f"TOT_STAFF={rng.randrange(0, 12)}",
        f"TOT_WKSTNS={rng.randrange(0, 12)}",
        f"VOLUME={fixed(volume)}cu.m.",
        "HANDLESTOMINUS=",
        "HANDLESTOADD=",
    ]
    return [(1002, "{")] + [(1000, item) for item in items] + [(1002, "}")]


def add_furniture_blocks(doc, bases):
    desk, b = new_block(doc, "DESK", bases)
    desk.add_lwpolyline(shifted([(0, 0), (1600, 0), (1600, 800), (0, 800)], b), close=True)
    desk.add_line(*shifted([(100, 700), (1500, 700)], b))
    chair, b = new_block(doc, "CHAIR", bases)
    chair.add_lwpolyline(shifted([(0, 0), (500, 0), (500, 500), (0, 500)], b), close=True)
    chair.add_arc(shifted([(250, 500)], b)[0], 250, 0, 180)
    cabinet, b = new_block(doc, "CABINET", bases)
    cabinet.add_lwpolyline(shifted([(0, 0), (1000, 0), (1000, 450), (0, 450)], b), close=True)
    cabinet.add_line(*shifted([(500, 0), (500, 450)], b))
    cabinet.add_circle(shifted([(450, 225)], b)[0], 20)
    cabinet.add_circle(shifted([(550, 225)], b)[0], 20)


def setup(doc, bases, locked):
    doc.header["$INSUNITS"] = 4     # millimetres
    doc.header["$LUNITS"] = 2       # decimal
    doc.header["$MEASUREMENT"] = 1
    for name, colour in (("ROOMS", 7), ("ATT-NAME", 2), ("ATT-AREA", 3), ("ATT-AUX", 4),
                         ("WALLS", 8), ("FURNITURE", 5), ("TEXT", 1), ("GROSS", 6)):
        doc.layers.add(name, color=colour)
    for name in locked:
        doc.layers.get(name).lock()
    doc.appids.add("ADE")
    add_furniture_blocks(doc, bases)


def build(args):
    rng = random.Random(args.seed)
    doc = ezdxf.new(args.dxfversion)
    # base points come from their own generator, so the plan is the same with or without them
    bases = random.Random(args.seed + 7919) if args.base_points else None
    locked = [name for name in (args.locked_layers or "").split(",") if name]
    setup(doc, bases, locked)
    msp = doc.modelspace()

    per_floor = args.rooms_per_floor
    cols = max(1, math.ceil(math.sqrt(per_floor)))
    rows = math.ceil(per_floor / cols)
    floors = math.ceil(args.rooms / per_floor)
    floors_per_row = max(1, math.ceil(math.sqrt(floors)))
    floor_w, floor_h = cols * CELL, rows * CELL
    gap = 4 * CELL

    if args.bare_outlines:
        return build_bare(args, doc, msp, rng, per_floor, cols, floors, floors_per_row, floor_w, floor_h, gap)

    gross, gross_base = new_block(doc, "ROOM-GROSS_AREA", bases)
    gross.add_lwpolyline(shifted([(0, 0), (floor_w, 0), (floor_w, floor_h), (0, floor_h)], gross_base), close=True,
                         dxfattribs={"layer": "GROSS"})
    add_space_attdefs(gross, base=gross_base)
    gross_area_m2 = floor_w * floor_h / 1e6
    gross_perimeter_m = 2 * (floor_w + floor_h) / 1000.0

    room = 0
    for floor in range(floors):
        fx = (floor % floors_per_row) * (floor_w + gap)
        fy = (floor // floors_per_row) * (floor_h + gap)
        msp.add_text(f"FLOOR {floor + 1}", dxfattribs={"layer": "TEXT", "height": 1000.0,
                                                       "insert": (fx, fy + floor_h + 1500)})
        for r in range(rows + 1):
            msp.add_line((fx, fy + r * CELL), (fx + floor_w, fy + r * CELL), dxfattribs={"layer": "WALLS"})
        for c in range(cols + 1):
            msp.add_line((fx + c * CELL, fy), (fx + c * CELL, fy + floor_h), dxfattribs={"layer": "WALLS"})
        ref = msp.add_blockref("ROOM-GROSS_AREA", (fx, fy), dxfattribs={"layer": "GROSS"})
        ref.add_auto_attribs({"NAME": "GROSS AREA", "AREA": f"{fixed(gross_area_m2)}sq.m.", "AUX": f"F{floor + 1}"})
        ref.set_xdata("ADE", ade_record(gross_area_m2, gross_perimeter_m, "GROSS AREA", rng, 3.0))

        for slot in range(per_floor):
            if room == args.rooms:
                break
            room += 1
            cx = fx + (slot % cols + 0.5) * CELL
            cy = fy + (slot // cols + 0.5) * CELL
            add_room(doc, msp, rng, room, floor, slot, (cx, cy), bases)
    return doc


def build_bare(args, doc, msp, rng, per_floor, cols, floors, floors_per_row, floor_w, floor_h, gap):
    """The plan of bare outlines; fills args.expect (handle -> expected outcome)."""
    expect = {}
    room = 0
    for floor in range(floors):
        fx = (floor % floors_per_row) * (floor_w + gap)
        fy = (floor // floors_per_row) * (floor_h + gap)
        msp.add_text(f"FLOOR {floor + 1}", dxfattribs={"layer": "TEXT", "height": 1000.0,
                                                       "insert": (fx, fy + floor_h + 1500)})
        msp.add_lwpolyline([(fx, fy), (fx + floor_w, fy), (fx + floor_w, fy + floor_h), (fx, fy + floor_h)],
                           close=True, dxfattribs={"layer": "GROSS"})
        for slot in range(per_floor):
            if room == args.rooms:
                break
            room += 1
            cx = fx + (slot % cols + 0.5) * CELL
            cy = fy + (slot // cols + 0.5) * CELL
            pts, area_mm2, _ = make_outline(rng)
            points = [(cx + x, cy + y, b) for x, y, b in pts]
            closed = room % 500 != 0
            crossing = room % 997 == 0 and closed
            if crossing:
                points[1], points[2] = points[2], points[1]
            outline = msp.add_lwpolyline(points, format="xyb", close=closed, dxfattribs={"layer": "ROOMS"})
            name = f"RM-{floor + 1}{slot + 1:03d}"
            # Inside every shape: the bottom left quarter of the room's box.
            x0, y0 = pts[0][0], pts[0][1]
            if room % 300 != 0:
                msp.add_text(name, dxfattribs={"layer": "TEXT", "height": TEXT_HEIGHT,
                                               "insert": (cx + x0 / 2, cy + y0 / 2)})
            else:
                name = ""
            if not closed:
                expect[outline.dxf.handle] = {"skip": "it is not closed"}
            elif crossing:
                expect[outline.dxf.handle] = {"skip": "it crosses itself"}
            else:
                expect[outline.dxf.handle] = {"name": name, "area": f"{half_up(area_mm2 / 1e6)}sq.m."}
    args.expect = expect
    return doc


def add_room(doc, msp, rng, number, floor, slot, centre, bases):
    pts, area_mm2, perimeter_mm = make_outline(rng)
    block, base = new_block(doc, f"ROOM-{number}", bases)
    block.add_lwpolyline(shifted(pts, base), format="xyb", close=True)
    add_space_attdefs(block, base=base)
    # one room in ten is turned a quarter: its outline then stands rotated in the plan
    rotation = 90.0 if rng.random() < 0.1 else 0.0
    name = f"RM-{floor + 1}{slot + 1:03d}"
    use = rng.choice(USES)
    area_m2, perimeter_m = area_mm2 / 1e6, perimeter_mm / 1000.0
    ref = msp.add_blockref(block.name, centre, dxfattribs={"layer": "ROOMS", "rotation": rotation})
    ref.add_auto_attribs({"NAME": name, "AREA": f"{fixed(area_m2)}sq.m.", "AUX": use})
    ref.set_xdata("ADE", ade_record(area_m2, perimeter_m, name, rng, rng.choice(ROOM_HEIGHTS)))

    cx, cy = centre
    for i in range(rng.randrange(1, 3)):
        x = cx - 2500 + i * 2000
        msp.add_blockref("DESK", (x, cy - 2000), dxfattribs={"layer": "FURNITURE"})
        msp.add_blockref("CHAIR", (x + 550, cy - 1200), dxfattribs={"layer": "FURNITURE", "rotation": 180.0})
    if rng.random() < 0.5:
        msp.add_blockref("CABINET", (cx + 1500, cy + 1200), dxfattribs={"layer": "FURNITURE"})


def main(argv=None):
    # ezdxf writes the CLASSES section in set order, which follows Python's string
    # hash; a fixed hash seed makes that order, and so the file, repeatable.
    if os.environ.get("PYTHONHASHSEED") != "0":
        os.execve(sys.executable, [sys.executable] + sys.argv, dict(os.environ, PYTHONHASHSEED="0"))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--rooms", type=int, required=True, help="number of room space blocks")
    parser.add_argument("--out", required=True, help="DXF file to write")
    parser.add_argument("--dxfversion", default="R2013", help="R2000, R2004, R2007, R2010, R2013, R2018")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--rooms-per-floor", type=int, default=400)
    parser.add_argument("--base-points", action="store_true",
                        help="random base points for the block definitions (world drawing unchanged)")
    parser.add_argument("--locked-layers", default="", help="comma-separated layers to lock, e.g. ATT-NAME,ATT-AUX")
    parser.add_argument("--bare-outlines", action="store_true",
                        help="rooms as bare outlines with number texts, no space blocks (and FILE.expect.json)")
    args = parser.parse_args(argv)
    if args.rooms < 1 or args.rooms_per_floor < 1:
        parser.error("--rooms and --rooms-per-floor must be at least 1")
    # fixed creation/update dates and GUIDs, so the file depends on the arguments only
    ezdxf.options.write_fixed_meta_data_for_testing = True
    doc = build(args)
    doc.saveas(args.out)
    if args.bare_outlines:
        with open(args.out + ".expect.json", "w") as out:
            json.dump(args.expect, out, sort_keys=True)
    print(f"{args.out}: {args.rooms} rooms, {math.ceil(args.rooms / args.rooms_per_floor)} floors, "
          f"{args.dxfversion}, seed {args.seed}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
