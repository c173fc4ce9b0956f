#!/usr/bin/python3
"""Writes examples/office.dxf: one office floor, the drawing the example script works on.

    /usr/bin/python3 examples/make_office.py [--out examples/office.dxf]

A millimetre drawing ($INSUNITS 4, $LUNITS 2) of a 36 m x 17 m office floor:

* exterior and interior walls (layer WALLS), a central corridor;
* 22 rooms drawn as closed LWPOLYLINE outlines (layer ROOMS): offices, meeting
  rooms (one with a curved bay window), a kitchen, two WCs, a store, a plant
  room, reception and the corridor itself;
* doors as a leaf line and a quarter-circle swing arc (layer DOORS);
* furniture block references (DESK, CHAIR, TABLE, WC_PAN, BASIN) on FURNITURE;
* room labels as TEXT (layer ROOM-TEXT) on the rooms that are still plain outlines;
* five rooms already made into space blocks: definitions ROOM-1 .. ROOM-5 holding
  the outline and the AREA, NAME and AUX attribute definitions (layers ATT-AREA,
  ATT-NAME, ATT-AUX), each inserted with its three attributes and its "ADE"
  extended-data record; and the floor's gross area block ROOM-GROSS_AREA;
* the two marker blocks graphic reports place their legend and pie chart at
  (layer MARKERS), to the right of the floor: MARKER-LEGEND (text size 400,
  2 decimals, square metres) and MARKER-PIECHART (radius 3000, text size 300,
  2 decimals).

Two of the space blocks are deliberately out of date, as they are in real plans:
ROOM-3's record and area label were measured before its wall moved (they say
18.00 sq.m.), and ROOM-4's area label was typed over by hand ("approx. 20 m2").
Recalculating corrects the first and leaves the hand-typed label alone.

The file depends on nothing but this script: the same script gives the same bytes.
"""

import argparse
import math
import os
import sys

import ezdxf

TEXT_HEIGHT = 250.0
LENGTH = 36000.0            # building, x
DEPTH = 17000.0             # building, y
SOUTH = 7500.0              # south rooms from y 0 to here
NORTH = 9500.0              # north rooms from here to DEPTH; the corridor lies between
INSET = 50.0                # room outline inside the wall centre lines
BAY_BULGE = 0.25            # the board room's curved outer wall: a counter-clockwise arc, bowing out of the building

# (name, width) from west to east
SOUTH_ROOMS = [("Office 101", 3600), ("Office 102", 3600), ("Office 103", 3600), ("Office 104", 3600),
               ("Office 105", 3600), ("Office 106", 3600), ("Board Room", 7200), ("WC Male", 2400),
               ("WC Female", 2400), ("Accessible WC", 2400)]
NORTH_ROOMS = [("Reception", 4800), ("Kitchen", 4800), ("Office 201", 3600), ("Office 202", 3600),
               ("Office 203", 3600), ("Office 204", 3600), ("Meeting 1", 3600), ("Meeting 2", 3600),
               ("Store", 2400), ("Print", 1200), ("Plant", 1200)]

# rooms already made into space blocks: name -> definition number
SPACE_BLOCKS = {"Office 101": 1, "Office 102": 2, "Office 103": 3, "Board Room": 4, "Kitchen": 5}
STALE_AREA = {"Office 103": 18.0}               # record and label still show this
HAND_LABEL = {"Board Room": "approx. 20 m2"}    # area label typed over by hand


def fixed(value, decimals=2):
    return f"{value:.{decimals}f}"


def bulge_segment(chord, bulge):
    """(area between chord and arc, arc length) for a bulge."""
    theta = 4.0 * math.atan(abs(bulge))
    radius = chord / (2.0 * math.sin(theta / 2.0))
    return radius * radius / 2.0 * (theta - math.sin(theta)), radius * theta


def room_outline(x0, y0, x1, y1, bay=False):
    """Closed outline inside the walls, counter-clockwise, as (x, y, bulge); with
    bay, the south edge (from x0 to x1 at y0) bows outwards. Returns the points,
    the area in mm2 and the perimeter in mm."""
    x0, y0, x1, y1 = x0 + INSET, y0 + INSET, x1 - INSET, y1 - INSET
    w, d = x1 - x0, y1 - y0
    if bay:
        seg_area, arc = bulge_segment(w, BAY_BULGE)
        pts = [(x0, y0, BAY_BULGE), (x1, y0, 0.0), (x1, y1, 0.0), (x0, y1, 0.0)]
        return pts, w * d + seg_area, 2 * d + w + arc
    pts = [(x0, y0, 0.0), (x1, y0, 0.0), (x1, y1, 0.0), (x0, y1, 0.0)]
    return pts, w * d, 2 * (w + d)


def ade_record(area_m2, perimeter_m, name, use):
    items = [
        f"AREA={fixed(area_m2)}sq.m.",
        f"PERIMETER={fixed(perimeter_m)}m.",
        f"NAME={name}",
        "TAGTYPE=ROOM",
        f"AREA_TYPE={'NET' if use != 'Corridor' else 'CIRCULATION'}",
        "COST_CENTRE=CC-410",
        "DATE=2024-03-11",
        "DATE_L_MOVE=<Not Set>",
        "DEPT_CHARGE=D07",
        "ROOM_HEIGHT=2.70m.",
        "SPECIAL_REQ=<Not Set>",
        "TOT_STAFF=2",
        "TOT_WKSTNS=2",
        f"VOLUME={fixed(area_m2 * 2.7)}cu.m.",
        "HANDLESTOMINUS=",
        "HANDLESTOADD=",
    ]
    return [(1002, "{")] + [(1000, item) for item in items] + [(1002, "}")]


def add_space_attdefs(block):
    """AREA at the block origin, NAME 1.5 text heights above, AUX as far below."""
    common = {"height": TEXT_HEIGHT, "rotation": 0.0, "width": 1.0, "field_length": 25}
    step = 1.5 * TEXT_HEIGHT
    for tag, prompt, default, layer, pos in (
        ("AREA", "Enter Area", "DEFAULT AREA", "ATT-AREA", (0.0, 0.0)),
        ("NAME", "Enter Name", "DEFAULT NAME", "ATT-NAME", (0.0, step)),
        ("AUX", "Enter Auxillary Value", "DEFAULT AUX", "ATT-AUX", (0.0, -step)),
    ):
        block.add_attdef(tag, pos, default, dxfattribs=dict(common, prompt=prompt, layer=layer))
    block.block.dxf.flags = 2


def setup(doc):
    doc.header["$INSUNITS"] = 4
    doc.header["$LUNITS"] = 2
    doc.header["$MEASUREMENT"] = 1
    for name, colour in (("WALLS", 8), ("DOORS", 30), ("ROOMS", 7), ("ROOM-TEXT", 7), ("FURNITURE", 5),
                         ("SANITARY", 4), ("ATT-NAME", 2), ("ATT-AREA", 3), ("ATT-AUX", 4), ("GROSS", 6)):
        doc.layers.add(name, color=colour)
    doc.appids.add("ADE")
    desk = doc.blocks.new("DESK")
    desk.add_lwpolyline([(0, 0), (1600, 0), (1600, 800), (0, 800)], close=True)
    desk.add_line((100, 700), (1500, 700))
    chair = doc.blocks.new("CHAIR")
    chair.add_lwpolyline([(-250, -250), (250, -250), (250, 200), (-250, 200)], close=True)
    chair.add_arc((0, 200), 250, 0, 180)
    table = doc.blocks.new("TABLE")
    table.add_lwpolyline([(-1800, -600), (1800, -600), (1800, 600), (-1800, 600)], close=True)
    pan = doc.blocks.new("WC_PAN")
    pan.add_lwpolyline([(-200, 0), (200, 0), (200, 180), (-200, 180)], close=True)
    pan.add_ellipse((0, 420), major_axis=(0, 250), ratio=0.72)
    basin = doc.blocks.new("BASIN")
    basin.add_lwpolyline([(-275, 0), (275, 0), (275, 450), (-275, 450)], close=True)
    basin.add_circle((0, 250), 150)


def add_walls(msp):
    walls = {"layer": "WALLS"}
    # exterior: a double line 200 mm apart
    msp.add_lwpolyline([(0, 0), (LENGTH, 0), (LENGTH, DEPTH), (0, DEPTH)], close=True, dxfattribs=walls)
    msp.add_lwpolyline([(-200, -200), (LENGTH + 200, -200), (LENGTH + 200, DEPTH + 200), (-200, DEPTH + 200)],
                       close=True, dxfattribs=walls)
    msp.add_line((0, SOUTH), (LENGTH, SOUTH), dxfattribs=walls)
    msp.add_line((0, NORTH), (LENGTH, NORTH), dxfattribs=walls)
    for rooms, y0, y1 in ((SOUTH_ROOMS, 0.0, SOUTH), (NORTH_ROOMS, NORTH, DEPTH)):
        x = 0.0
        for _, width in rooms[:-1]:
            x += width
            msp.add_line((x, y0), (x, y1), dxfattribs=walls)


def add_door(msp, x, y_wall, into_south):
    """A 900 mm door in a corridor wall at x: the leaf standing open and its swing."""
    leaf = 900.0
    sign = -1.0 if into_south else 1.0
    msp.add_line((x, y_wall), (x, y_wall + sign * leaf), dxfattribs={"layer": "DOORS"})
    start, end = (270.0, 360.0) if into_south else (0.0, 90.0)
    msp.add_arc((x, y_wall), leaf, start, end, dxfattribs={"layer": "DOORS"})


def furnish(msp, name, x0, y0, x1, y1):
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    furniture = {"layer": "FURNITURE"}
    if name.startswith("Office"):
        msp.add_blockref("DESK", (cx - 800, y0 + 900), dxfattribs=furniture)
        msp.add_blockref("CHAIR", (cx, y0 + 2100), dxfattribs=dict(furniture, rotation=180.0))
    elif name.startswith(("Meeting", "Board")):
        msp.add_blockref("TABLE", (cx, cy), dxfattribs=dict(furniture, xscale=0.6 if name.startswith("Meeting") else 1.0))
        for dx in (-1200, 0, 1200):
            msp.add_blockref("CHAIR", (cx + dx * 0.6, cy - 1000), dxfattribs=furniture)
            msp.add_blockref("CHAIR", (cx + dx * 0.6, cy + 1000), dxfattribs=dict(furniture, rotation=180.0))
    elif "WC" in name:
        for i in range(2):
            msp.add_blockref("WC_PAN", (x0 + 700 + i * 900, y0 + 300), dxfattribs={"layer": "SANITARY"})
        msp.add_blockref("BASIN", (x1 - 500, y1 - 300), dxfattribs={"layer": "SANITARY", "rotation": 180.0})
    elif name == "Kitchen":
        msp.add_blockref("BASIN", (x0 + 900, y1 - 300), dxfattribs={"layer": "SANITARY", "rotation": 180.0})
        msp.add_blockref("TABLE", (cx, cy - 600), dxfattribs=dict(furniture, xscale=0.4))
    elif name == "Reception":
        msp.add_blockref("DESK", (cx - 800, cy), dxfattribs=furniture)
        msp.add_blockref("CHAIR", (cx, cy + 1200), dxfattribs=dict(furniture, rotation=180.0))


def make_space_block(doc, msp, number, name, pts, area_m2, perimeter_m, use):
    """Turns an outline into a space block as the block creation does: the
    outline moves into a definition whose origin is the room's centre."""
    cx = sum(p[0] for p in pts) / len(pts)
    cy = sum(p[1] for p in pts) / len(pts)
    block = doc.blocks.new(f"ROOM-{number}")
    block.add_lwpolyline([(x - cx, y - cy, b) for x, y, b in pts], format="xyb", close=True,
                         dxfattribs={"layer": "ROOMS"})
    add_space_attdefs(block)
    ref = msp.add_blockref(block.name, (cx, cy), dxfattribs={"layer": "ROOMS"})
    recorded = STALE_AREA.get(name, area_m2)
    label = HAND_LABEL.get(name, f"{fixed(recorded)}sq.m.")
    ref.add_auto_attribs({"NAME": name, "AREA": label, "AUX": use})
    ref.set_xdata("ADE", ade_record(recorded, perimeter_m, name, use))


def build():
    doc = ezdxf.new("R2013")
    setup(doc)
    msp = doc.modelspace()
    add_walls(msp)
    rooms = []
    for row, y0, y1, south in ((SOUTH_ROOMS, 0.0, SOUTH, True), (NORTH_ROOMS, NORTH, DEPTH, False)):
        x = 0.0
        for name, width in row:
            rooms.append((name, x, y0, x + width, y1, south))
            x += width
    rooms.append(("Corridor", 0.0, SOUTH, LENGTH, NORTH, None))

    for name, x0, y0, x1, y1, south in rooms:
        pts, area_mm2, perimeter_mm = room_outline(x0, y0, x1, y1, bay=(name == "Board Room"))
        use = "Corridor" if name == "Corridor" else name.split()[0]
        if name in SPACE_BLOCKS:
            make_space_block(doc, msp, SPACE_BLOCKS[name], name, pts, area_mm2 / 1e6, perimeter_mm / 1000.0, use)
        else:
            msp.add_lwpolyline(pts, format="xyb", close=True, dxfattribs={"layer": "ROOMS"})
            msp.add_text(name, dxfattribs={"layer": "ROOM-TEXT", "height": 300.0,
                                           "insert": ((x0 + x1) / 2.0 - 900, (y0 + y1) / 2.0)})
        if south is not None:
            add_door(msp, x0 + (600 if x1 - x0 > 2000 else 150), SOUTH if south else NORTH, south)
        if south is not None:
            furnish(msp, name, x0, y0, x1, y1)

    gross = doc.blocks.new("ROOM-GROSS_AREA")
    gross.add_lwpolyline([(0, 0), (LENGTH, 0), (LENGTH, DEPTH), (0, DEPTH)], close=True,
                         dxfattribs={"layer": "GROSS"})
    add_space_attdefs(gross)
    gross_area_m2, gross_perimeter_m = LENGTH * DEPTH / 1e6, 2 * (LENGTH + DEPTH) / 1000.0
    ref = msp.add_blockref("ROOM-GROSS_AREA", (0, 0), dxfattribs={"layer": "GROSS"})
    ref.add_auto_attribs({"NAME": "GROSS AREA", "AREA": f"{fixed(gross_area_m2)}sq.m.", "AUX": "Level 1"})
    ref.set_xdata("ADE", ade_record(gross_area_m2, gross_perimeter_m, "GROSS AREA", "Floor"))
    msp.add_text("LEVEL 1 - GENERAL ARRANGEMENT", dxfattribs={"layer": "ROOM-TEXT", "height": 600.0,
                                                              "insert": (0, DEPTH + 1200)})
    add_markers(doc, msp)
    return doc


def add_markers(doc, msp):
    """The legend marker (its outline's first vertex is where the legend's
    top left corner goes) and the pie chart marker (its circle's centre is the
    pie's centre), each with the settings a graphic report reads."""
    doc.layers.add("MARKERS", color=8)
    for name, tags, draw, at in (
            ("MARKER-LEGEND", (("LEGENDTEXTSIZE", "400"), ("LEGENDPRECISION", "2"), ("LEGENDUNITS", "0")),
             lambda b: b.add_lwpolyline([(0, 0), (12000, 0), (12000, -4000), (0, -4000)], close=True),
             (LENGTH + 2000, DEPTH)),
            ("MARKER-PIECHART", (("PIETEXTSIZE", "300"), ("PIEPRECISION", "2"), ("PIERADIUS", "3000")),
             lambda b: b.add_circle((0, 0), 3000), (LENGTH + 8000, 4500))):
        block = doc.blocks.new(name)
        draw(block)
        for i, (tag, _) in enumerate(tags):
            block.add_attdef(tag, (0, 500.0 + 400.0 * i), "", dxfattribs={"height": 250.0, "flags": 1})
        ref = msp.add_blockref(name, at, dxfattribs={"layer": "MARKERS"})
        ref.add_auto_attribs(dict(tags))


def main(argv=None):
    # ezdxf orders its CLASSES section by string hash; a fixed seed keeps the bytes repeatable
    if os.environ.get("PYTHONHASHSEED") != "0":
        os.execve(sys.executable, [sys.executable] + sys.argv, dict(os.environ, PYTHONHASHSEED="0"))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(os.path.dirname(os.path.abspath(__file__)), "office.dxf"))
    args = parser.parse_args(argv)
    ezdxf.options.write_fixed_meta_data_for_testing = True
    doc = build()
    doc.saveas(args.out)
    print(f"{args.out}: {len(SOUTH_ROOMS) + len(NORTH_ROOMS) + 1} rooms, {len(SPACE_BLOCKS)} of them space blocks")
    return 0


if __name__ == "__main__":
    sys.exit(main())
