#!/usr/bin/python3
"""Writes the drawings the command tests run on (tests/data/commands/) and three
regression inputs (tests/regressions/).

    /usr/bin/python3 tests/commands/make_fixtures.py

spaces.dxf, a millimetre drawing ($LUNITS 2) with six space blocks whose true
sizes are round numbers, and whose records are partly out of date on purpose:

  ROOM-1  RM-101      3000 x 3500 mm = 10.50 m2, 13 m   record and labels up to date, AUX shows the perimeter
  ROOM-2  2RM-1       4000 x 5000 mm = 20.00 m2, 18 m   record and labels say 19.00 m2 / 17.00 m
  ROOM-3  Lab 7       2000 x 2500 mm =  5.00 m2,  9 m   record says 4.00; area label typed over by hand
  ROOM-4  Store       1500 x 2000 mm =  3.00 m2,  7 m   NAME and AREA only (no AUX attribute)
  ROOM-5  Ft Room     3048 x 3048 mm = 100 ft2, 40 ft   record and label in square feet
  ROOM-GROSS_AREA     20000 x 10000 mm = 200 m2, 60 m   the floor's gross area block

plus a DESK block reference (not a space) and one loose LWPOLYLINE outline.
Lab 7's name attribute stands on layer MISC instead of ATT-NAME; layer ATT-AUX
is off and layer FURNITURE locked.
Attribute text height is 250; NAME stands 375 above AREA and AUX 375 below.

locked-att-name.dxf, locked-att-area.dxf, locked-att-aux.dxf: one millimetre
drawing in three copies, each with one attribute layer locked (LAYER group
70 bit 4, as CAD programs store it). Three space blocks whose records are
out of date, so every maintenance command has something to write:

  ROOM-1  Room Alpha  3000 x 4000 mm = 12.00 m2, 14 m   record and labels say 11.00 / 13.00
  ROOM-2  Room Beta   2000 x 3000 mm =  6.00 m2, 10 m   record and labels say  5.00 /  9.00
  ROOM-3  Room Gamma  2500 x 2000 mm =  5.00 m2,  9 m   NAME and AREA only (no AUX attribute)

The record's NAME item is the name attribute's text. Attribute text height
200 (the preferences' size is 250), NAME 300 above AREA, AUX 300 below.

links.dxf: two space blocks with hyperlinks in "PE_URL" extended data the
way CAD programs store them. ROOM-1's reference carries a link with a
description, a sub-location and the option flag 1, then a bare address; the
outline of its definition carries a link of its own with a sub-location.
ROOM-2 has none.

tests/regressions/: the same faults once more on the smallest drawings that
showed them, written as R2000 files:
maux-locked-aux.dxf (one room whose AUX attribute and definition lie on the
locked ATT-AUX), mus-locked-name.dxf (one room whose NAME attribute "Real
Name" lies on the locked ATT-NAME) and mus-links.dxf (one room whose
reference carries a link with a sub-location).
"""

import os
import sys

import ezdxf

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "data", "commands")
H = 250.0
LOCK_H = 200.0  # the text height of the locked-layer and hyperlink drawings


def millimetre_drawing(layers, version="R2013", appids=("ADE",)):
    """A new drawing in millimetres ($LUNITS 2) with the layers and applications."""
    doc = ezdxf.new(version)
    doc.header["$INSUNITS"] = 4
    doc.header["$LUNITS"] = 2
    for name in layers:
        doc.layers.add(name)
    for app in appids:
        doc.appids.add(app)
    return doc


def attdefs(block, with_aux=True):
    common = {"height": H, "rotation": 0.0, "width": 1.0, "field_length": 25}
    items = [("AREA", "Enter Area", "DEFAULT AREA", "ATT-AREA", (0.0, 0.0)),
             ("NAME", "Enter Name", "DEFAULT NAME", "ATT-NAME", (0.0, 1.5 * H))]
    if with_aux:
        items.append(("AUX", "Enter Auxillary Value", "DEFAULT AUX", "ATT-AUX", (0.0, -1.5 * H)))
    for tag, prompt, default, layer, pos in items:
        block.add_attdef(tag, pos, default, dxfattribs=dict(common, prompt=prompt, layer=layer))
    block.block.dxf.flags = 2


def record(area, perimeter, name, metric=True, others=("CC-1", "2024-01-15", "D01", "2", "3")):
    """A space record; others: cost centre, date, department, staff, workstations."""
    a, l, v = ("sq.m.", "m.", "cu.m.") if metric else ("sq.ft.", "ft.", "cu.ft.")
    cost, date, dept, staff, stations = others
    items = [f"AREA={area}{a}", f"PERIMETER={perimeter}{l}", f"NAME={name}", "TAGTYPE=ROOM", "AREA_TYPE=NET",
             f"COST_CENTRE={cost}", f"DATE={date}", "DATE_L_MOVE=<Not Set>", f"DEPT_CHARGE={dept}",
             f"ROOM_HEIGHT=2.70{l}", "SPECIAL_REQ=<Not Set>", f"TOT_STAFF={staff}", f"TOT_WKSTNS={stations}",
             f"VOLUME=0.00{v}", "HANDLESTOMINUS=", "HANDLESTOADD="]
    return [(1002, "{")] + [(1000, i) for i in items] + [(1002, "}")]


def space(doc, msp, number, w, d, at, attribs, xdata, with_aux=True):
    name = number if isinstance(number, str) else f"ROOM-{number}"
    block = doc.blocks.new(name)
    block.add_lwpolyline([(-w / 2, -d / 2), (w / 2, -d / 2), (w / 2, d / 2), (-w / 2, d / 2)], close=True)
    attdefs(block, with_aux)
    ref = msp.add_blockref(name, at, dxfattribs={"layer": "ROOMS"})
    ref.add_auto_attribs(attribs)
    ref.set_xdata("ADE", xdata)
    return ref


def spaces():
    doc = millimetre_drawing(("ROOMS", "ATT-NAME", "ATT-AREA", "ATT-AUX", "FURNITURE", "MISC"))
    doc.layers.get("ATT-AUX").off()
    doc.layers.get("FURNITURE").lock()
    msp = doc.modelspace()
    space(doc, msp, 1, 3000, 3500, (5000, 5000), {"NAME": "RM-101", "AREA": "10.50sq.m.", "AUX": "13.00m."},
          record("10.50", "13.00", "RM-101"))
    space(doc, msp, 2, 4000, 5000, (10000, 5000), {"NAME": "2RM-1", "AREA": "19.00sq.m.", "AUX": "17.00m."},
          record("19.00", "17.00", "2RM-1"))
    lab = space(doc, msp, 3, 2000, 2500, (15000, 5000), {"NAME": "Lab 7", "AREA": "about 5 m2", "AUX": "Science"},
                record("4.00", "9.00", "Lab 7"))
    lab.get_attrib("NAME").dxf.layer = "MISC"
    space(doc, msp, 4, 1500, 2000, (5000, 9000), {"NAME": "Store", "AREA": "3.00sq.m."},
          record("3.00", "7.00", "Store"), with_aux=False)
    space(doc, msp, 5, 3048, 3048, (10000, 9000), {"NAME": "Ft Room", "AREA": "100.00sq.ft.", "AUX": "Imperial"},
          record("100.00", "40.00", "Ft Room", metric=False))
    space(doc, msp, "ROOM-GROSS_AREA", 20000, 10000, (10000, 6000),
          {"NAME": "GROSS AREA", "AREA": "200.00sq.m.", "AUX": "Level 1"}, record("200.00", "60.00", "GROSS AREA"))
    desk = doc.blocks.new("DESK")
    desk.add_lwpolyline([(0, 0), (1600, 0), (1600, 800), (0, 800)], close=True)
    msp.add_blockref("DESK", (14000, 8000), dxfattribs={"layer": "FURNITURE"})
    msp.add_lwpolyline([(17000, 8000), (19000, 8000), (19000, 10000), (17000, 10000)], close=True)
    return doc


def ferrow():
    """ferrow.dxf: two legacy FERROW_SPACE_LABEL labels (attributes ROOM and
    PLINE2_ID, text height 200) naming the closed outlines of two rooms: a
    5000 x 4000 mm rectangle (20 m2, 18 m) and an L shape of 6000 x 5000 mm
    less 2000 x 2000 (26 m2, 22 m); a layer BOMA that is on."""
    doc = millimetre_drawing(("OUTLINES", "LABELS", "BOMA"), appids=())
    msp = doc.modelspace()
    label = doc.blocks.new("FERROW_SPACE_LABEL")
    label.add_attdef("ROOM", (0, 0), "", dxfattribs={"height": 200.0, "prompt": "Room"})
    label.add_attdef("PLINE2_ID", (0, -300), "", dxfattribs={"height": 100.0, "prompt": "Outline", "flags": 1})
    label.block.dxf.flags = 2
    rect = msp.add_lwpolyline([(0, 0), (5000, 0), (5000, 4000), (0, 4000)], close=True,
                              dxfattribs={"layer": "OUTLINES"})
    ell = msp.add_lwpolyline([(8000, 0), (14000, 0), (14000, 3000), (12000, 3000), (12000, 5000), (8000, 5000)],
                             close=True, dxfattribs={"layer": "OUTLINES"})
    for name, outline, at in (("Seminar A", rect, (2500, 2000)), ("Studio B", ell, (10000, 2500))):
        ref = msp.add_blockref("FERROW_SPACE_LABEL", at, dxfattribs={"layer": "LABELS"})
        ref.add_auto_attribs({"ROOM": name, "PLINE2_ID": outline.dxf.handle})
    return doc


def based_space(doc, msp, name, outline, base, at, attribs, xdata, rotation=0.0, scale=(1.0, 1.0, 1.0),
                centred=False):
    """A space block whose definition has a base point other than 0,0: the
    outline (given around 0,0, bulges as a third value) and the attribute
    definitions are shifted by base, so the room stands at `at` in the world."""
    bx, by = base
    block = doc.blocks.new(name, base_point=(bx, by))
    block.add_lwpolyline([(x + bx, y + by, b) for x, y, b in outline], format="xyb", close=True)
    common = {"height": H, "rotation": 0.0, "width": 1.0, "field_length": 25}
    if centred:
        common["halign"] = 1
    for tag, layer, dy in (("AREA", "ATT-AREA", 0.0), ("NAME", "ATT-NAME", 1.5 * H), ("AUX", "ATT-AUX", -1.5 * H)):
        point = (bx, by + dy)
        extra = {"align_point": point} if centred else {}
        block.add_attdef(tag, point, "", dxfattribs=dict(common, prompt=tag, layer=layer, **extra))
    block.block.dxf.flags = 2
    ref = msp.add_blockref(name, at, dxfattribs={"layer": "ROOMS", "rotation": rotation, "xscale": scale[0],
                                                 "yscale": scale[1], "zscale": scale[2]})
    ref.add_auto_attribs(attribs)
    ref.set_xdata("ADE", xdata)
    return ref


def basepoints():
    """basepoints.dxf: space blocks whose definitions have base points other
    than 0,0, as other programs write them (millimetres, $LUNITS 2):

      ROOM-1  4000 x 3000 rectangle, base 1000,500, at 5000,5000               12.00 m2, 14 m
      ROOM-2  L shape with a bulged edge, base -300,200, at 13000,5000 turned 30 degrees
      ROOM-3  2000 x 2500 rectangle, base 250,-750, at 5000,11000 scaled X 2, Y 1.5, turned 90 degrees
      ROOM-4  3000 x 3000 rectangle, base 100,100, at 13000,11000 scaled X = Y = 1, Z = 2.5
      ROOM-5  2500 x 2000 rectangle, base 400,300, at 19000,5000, attributes centred
              (the NAME attribute stands 1500 above the area text instead of 375)
      ROOM-GROSS_AREA  26000 x 14000 around them all, base 2000,1000, drawn after the
              rooms; its definition holds a reference to GRID (lines across the floor)

    CHAIR (a 500 x 500 square, base 250,250, so a chair is centred on its
    insertion point): two inside ROOM-1, one just outside it, one inside ROOM-2.
    Records are up to date except ROOM-5's name placement."""
    doc = millimetre_drawing(("ROOMS", "ATT-NAME", "ATT-AREA", "ATT-AUX", "FURNITURE", "GROSS"))
    msp = doc.modelspace()
    rect = lambda w, d: [(-w / 2, -d / 2, 0.0), (w / 2, -d / 2, 0.0), (w / 2, d / 2, 0.0), (-w / 2, d / 2, 0.0)]
    based_space(doc, msp, "ROOM-1", rect(4000, 3000), (1000, 500), (5000, 5000),
                {"NAME": "Base One", "AREA": "12.00sq.m.", "AUX": "14.00m."}, record("12.00", "14.00", "Base One"))
    ell = [(-2000, -1500, 0.0), (2000, -1500, 0.0), (2000, 0, 0.0), (0, 0, 0.0), (0, 1500, 0.4), (-2000, 1500, 0.0)]
    based_space(doc, msp, "ROOM-2", ell, (-300, 200), (13000, 5000),
                {"NAME": "Base Two", "AREA": "0.00sq.m.", "AUX": ""}, record("0.00", "0.00", "Base Two"),
                rotation=30.0)
    based_space(doc, msp, "ROOM-3", rect(2000, 2500), (250, -750), (5000, 11000),
                {"NAME": "Base Three", "AREA": "15.00sq.m.", "AUX": ""}, record("15.00", "0.00", "Base Three"),
                rotation=90.0, scale=(2.0, 1.5, 1.0))
    based_space(doc, msp, "ROOM-4", rect(3000, 3000), (100, 100), (13000, 11000),
                {"NAME": "Base Four", "AREA": "9.00sq.m.", "AUX": ""}, record("9.00", "12.00", "Base Four"),
                scale=(1.0, 1.0, 2.5))
    centred = based_space(doc, msp, "ROOM-5", rect(2500, 2000), (400, 300), (19000, 5000),
                          {"NAME": "Base Five", "AREA": "5.00sq.m.", "AUX": ""},
                          record("5.00", "9.00", "Base Five"), centred=True)
    name = centred.get_attrib("NAME")
    name.dxf.insert = (19000, 6500)
    name.dxf.align_point = (19000, 6500)
    grid = doc.blocks.new("GRID", base_point=(500, 500))
    for k in range(4):
        grid.add_line((500 + k * 8000, 500), (500 + k * 8000, 14500))
    gross = [(0, 0, 0.0), (26000, 0, 0.0), (26000, 14000, 0.0), (0, 14000, 0.0)]
    ref = based_space(doc, msp, "ROOM-GROSS_AREA", gross, (2000, 1000),
                      (0, 0), {"NAME": "GROSS AREA", "AREA": "364.00sq.m.", "AUX": "Level 1"},
                      record("364.00", "80.00", "GROSS AREA"))
    doc.blocks.get("ROOM-GROSS_AREA").add_blockref("GRID", (2000, 1000))
    ref.dxf.layer = "GROSS"
    chair = doc.blocks.new("CHAIR", base_point=(250, 250))
    chair.add_lwpolyline([(0, 0), (500, 0), (500, 500), (0, 500)], close=True)
    for at in ((5000, 5000), (3400, 3900), (7400, 5000), (13500, 4800)):
        msp.add_blockref("CHAIR", at, dxfattribs={"layer": "FURNITURE"})
    return doc


def lock_record(area, perimeter, name):
    return record(area, perimeter, name, others=("CC-9", "2024-03-01", "D07", "4", "5"))


def lock_space(doc, msp, number, w, d, at, attribs, xdata):
    """A space block of the locked-layer drawings: attribute definitions only
    for the attributes given; returns the reference and the outline."""
    name = f"ROOM-{number}"
    block = doc.blocks.new(name)
    outline = block.add_lwpolyline([(-w / 2, -d / 2), (w / 2, -d / 2), (w / 2, d / 2), (-w / 2, d / 2)], close=True)
    common = {"height": LOCK_H, "rotation": 0.0, "width": 1.0}
    places = {"AREA": ("ATT-AREA", (0.0, 0.0)), "NAME": ("ATT-NAME", (0.0, 1.5 * LOCK_H)),
              "AUX": ("ATT-AUX", (0.0, -1.5 * LOCK_H))}
    for tag in ("AREA", "NAME", "AUX"):
        if tag in attribs:
            layer, pos = places[tag]
            block.add_attdef(tag, pos, "DEFAULT " + tag, dxfattribs=dict(common, prompt="Enter " + tag, layer=layer))
    block.block.dxf.flags = 2
    ref = msp.add_blockref(name, at, dxfattribs={"layer": "ROOMS"})
    ref.add_auto_attribs(attribs)
    ref.set_xdata("ADE", xdata)
    return ref, outline


def locked(layer):
    doc = millimetre_drawing(("ROOMS", "ATT-NAME", "ATT-AREA", "ATT-AUX"))
    doc.layers.get(layer).lock()
    msp = doc.modelspace()
    lock_space(doc, msp, 1, 3000, 4000, (5000, 5000), {"NAME": "Room Alpha", "AREA": "11.00sq.m.", "AUX": "13.00m."},
               lock_record("11.00", "13.00", "Room Alpha"))
    lock_space(doc, msp, 2, 2000, 3000, (10000, 5000), {"NAME": "Room Beta", "AREA": "5.00sq.m.", "AUX": "9.00m."},
               lock_record("5.00", "9.00", "Room Beta"))
    lock_space(doc, msp, 3, 2500, 2000, (15000, 5000), {"NAME": "Room Gamma", "AREA": "5.00sq.m."},
               lock_record("5.00", "9.00", "Room Gamma"))
    return doc


def links():
    doc = millimetre_drawing(("ROOMS", "ATT-NAME", "ATT-AREA", "ATT-AUX"), appids=("ADE", "PE_URL"))
    msp = doc.modelspace()
    ref, outline = lock_space(doc, msp, 1, 3000, 4000, (5000, 5000),
                              {"NAME": "Room Alpha", "AREA": "12.00sq.m.", "AUX": "14.00m."},
                              lock_record("12.00", "14.00", "Room Alpha"))
    ref.set_xdata("PE_URL", [(1000, "plans/level1.pdf"), (1002, "{"), (1000, "Level 1 plan"),
                             (1000, "Sheet A-101"), (1002, "{"), (1071, 1), (1002, "}"), (1002, "}"),
                             (1000, "https://example.org/rooms/alpha")])
    outline.set_xdata("PE_URL", [(1000, "specs/alpha.docx"), (1002, "{"), (1000, "Fit-out"),
                                 (1000, "Section 3"), (1002, "{"), (1071, 0), (1002, "}"), (1002, "}")])
    lock_space(doc, msp, 2, 2000, 3000, (10000, 5000), {"NAME": "Room Beta", "AREA": "6.00sq.m.", "AUX": "10.00m."},
               lock_record("6.00", "10.00", "Room Beta"))
    return doc


def regression(version, lock=None, link=False):
    doc = millimetre_drawing(("ROOMS", "ATT-NAME", "ATT-AREA", "ATT-AUX"), version)
    if lock:
        doc.layers.get(lock).lock()
    msp = doc.modelspace()
    ref, _ = lock_space(doc, msp, 7, 3000, 4000, (5000, 5000),
                        {"NAME": "Real Name", "AREA": "11.00sq.m.", "AUX": "13.00m."},
                        lock_record("11.00", "13.00", "Real Name"))
    if link:
        doc.appids.add("PE_URL")
        ref.set_xdata("PE_URL", [(1000, "plans/level1.pdf"), (1002, "{"), (1000, "Level 1 plan"),
                                 (1000, "Sheet A-101"), (1002, "{"), (1071, 1), (1002, "}"), (1002, "}")])
    return doc


def main():
    if os.environ.get("PYTHONHASHSEED") != "0":
        os.execve(sys.executable, [sys.executable] + sys.argv, dict(os.environ, PYTHONHASHSEED="0"))
    ezdxf.options.write_fixed_meta_data_for_testing = True
    os.makedirs(OUT, exist_ok=True)
    spaces().saveas(os.path.join(OUT, "spaces.dxf"))
    ferrow().saveas(os.path.join(OUT, "ferrow.dxf"))
    basepoints().saveas(os.path.join(OUT, "basepoints.dxf"))
    for layer in ("ATT-NAME", "ATT-AREA", "ATT-AUX"):
        locked(layer).saveas(os.path.join(OUT, "locked-" + layer.lower() + ".dxf"))
    links().saveas(os.path.join(OUT, "links.dxf"))
    regressions = os.path.join(HERE, "..", "regressions")
    os.makedirs(regressions, exist_ok=True)
    regression("R2000", lock="ATT-AUX").saveas(os.path.join(regressions, "maux-locked-aux.dxf"))
    regression("R2000", lock="ATT-NAME").saveas(os.path.join(regressions, "mus-locked-name.dxf"))
    regression("R2000", link=True).saveas(os.path.join(regressions, "mus-links.dxf"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
