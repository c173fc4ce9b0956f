#!/usr/bin/python3
"""Writes the drawings the command tests run on (tests/data/commands/).

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
"""

import os
import sys

import ezdxf

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "data", "commands")
H = 250.0


def attdefs(block, with_aux=True):
    common = {"height": H, "rotation": 0.0, "width": 1.0, "field_length": 25}
    items = [("AREA", "Enter Area", "DEFAULT AREA", "ATT-AREA", (0.0, 0.0)),
             ("NAME", "Enter Name", "DEFAULT NAME", "ATT-NAME", (0.0, 1.5 * H))]
    if with_aux:
        items.append(("AUX", "Enter Auxillary Value", "DEFAULT AUX", "ATT-AUX", (0.0, -1.5 * H)))
    for tag, prompt, default, layer, pos in items:
        block.add_attdef(tag, pos, default, dxfattribs=dict(common, prompt=prompt, layer=layer))
    block.block.dxf.flags = 2


def record(area, perimeter, name, metric=True):
    a, l, v = ("sq.m.", "m.", "cu.m.") if metric else ("sq.ft.", "ft.", "cu.ft.")
    items = [f"AREA={area}{a}", f"PERIMETER={perimeter}{l}", f"NAME={name}", "TAGTYPE=ROOM", "AREA_TYPE=NET",
             "COST_CENTRE=CC-1", "DATE=2024-01-15", "DATE_L_MOVE=<Not Set>", "DEPT_CHARGE=D01",
             f"ROOM_HEIGHT=2.70{l}", "SPECIAL_REQ=<Not Set>", "TOT_STAFF=2", "TOT_WKSTNS=3",
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
    doc = ezdxf.new("R2013")
    doc.header["$INSUNITS"] = 4
    doc.header["$LUNITS"] = 2
    for name in ("ROOMS", "ATT-NAME", "ATT-AREA", "ATT-AUX", "FURNITURE", "MISC"):
        doc.layers.add(name)
    doc.layers.get("ATT-AUX").off()
    doc.layers.get("FURNITURE").lock()
    doc.appids.add("ADE")
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
    doc = ezdxf.new("R2013")
    doc.header["$INSUNITS"] = 4
    doc.header["$LUNITS"] = 2
    for name in ("OUTLINES", "LABELS", "BOMA"):
        doc.layers.add(name)
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


def main():
    if os.environ.get("PYTHONHASHSEED") != "0":
        os.execve(sys.executable, [sys.executable] + sys.argv, dict(os.environ, PYTHONHASHSEED="0"))
    ezdxf.options.write_fixed_meta_data_for_testing = True
    os.makedirs(OUT, exist_ok=True)
    spaces().saveas(os.path.join(OUT, "spaces.dxf"))
    ferrow().saveas(os.path.join(OUT, "ferrow.dxf"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
