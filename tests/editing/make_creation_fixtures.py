#!/usr/bin/python3
"""Writes the plans the creation tests run on (tests/data/creation/), as
ezdxf writes them: bare outlines, no space blocks, millimetre drawings.

    /usr/bin/python3 tests/editing/make_creation_fixtures.py

outlines.dxf (R2013), every outline picked on its bottom edge at x = its middle:
  RECT     ROOMS   (0,0)-(5000,5100)                        25.50 m2, 20.20 m
  ELL      WALLS   L-shape in (10000,0)-(16000,6000)         20.00 m2, 24.00 m
  ARC      ROOMS   4000 x 3000 at (20000,0), semicircle bulge on its right side
  OPEN     ROOMS   (30000,0)-(34000,3000), not closed
  LOCKED   LOCKED  (40000,0)-(44000,3000) on a locked layer
  HOLE     ROOMS   (500,500)-(1500,2500) inside RECT, 2.00 m2, 6.00 m
  EXTRA    ROOMS   (50000,0)-(51000,1000), 1.00 m2, 4.00 m
outlines-ucs.dxf: the same with the current UCS turned 90 degrees about
  (100000, 50000): UCS x runs along world y.
rooms.dxf: two space blocks ROOM-3 "Office 009" and ROOM-12 "Office 010",
  and the RECT outline.
markers.dxf: outlines.dxf's outlines, a 10 x 5 m rectangle GROSS at (60000,0) and a
  circle of radius 1500 about (80000,0) on layer ROOMS.
bulk.dxf: rooms.dxf's two space blocks (Office 009 lists EXTRA as added) and
  outlines for the bulk creation, each picked out by its first vertex:
  RECT   ROOMS    text "101" inside (left, baseline)
  ELL    ROOMS-2  text "L-Room" middle-centred inside
  U      ROOMS    U shape (8 x 6 m, 4 x 4 m cut from the top middle), an aligned text "U 7" inside
  TWO    ROOMS    (70000,0)-(74000,3000), two texts inside: a computed name
  TAGGED ROOMS    (80000,0)-(84000,3000), a TAG block reference inside with the attribute "R-204"
  BARE   ROOMS    (90000,0)-(93000,3000), nothing inside: a computed name
  OPEN   ROOMS    not closed
  CROSS  ROOMS    (100000,0) figure of eight
  FLAT   ROOMS    (110000,0) three points on a line
  LOCKED ROOMS-LOCKED (a locked layer matching ROOM*)
  EXTRA  ROOMS    listed as added by Office 009
  WALL   WALLS    (120000,0), a layer the pattern leaves out
  MTEXT  ROOMS    (130000,0)-(134000,3000), a two-line MTEXT with formatting inside:
                  its first line "R-305" names the room
  PAPER  ROOMS    in paper space
"""

import math
import os

import ezdxf

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "data", "creation")

RECT = [(0, 0), (5000, 0), (5000, 5100), (0, 5100)]
ELL = [(10000, 0), (16000, 0), (16000, 2000), (12000, 2000), (12000, 6000), (10000, 6000)]
ARC = [(20000, 0, 0), (24000, 0, 1.0), (24000, 3000, 0), (20000, 3000, 0)]
OPEN = [(30000, 0), (34000, 0), (34000, 3000), (30000, 3000)]
LOCKED = [(40000, 0), (44000, 0), (44000, 3000), (40000, 3000)]
HOLE = [(500, 500), (1500, 500), (1500, 2500), (500, 2500)]
EXTRA = [(50000, 0), (51000, 0), (51000, 1000), (50000, 1000)]


def layers(doc):
    doc.layers.add("ROOMS", color=3)
    doc.layers.add("WALLS", color=1)
    locked = doc.layers.add("LOCKED", color=5)
    locked.lock()


def outlines(doc, which=("RECT", "ELL", "ARC", "OPEN", "LOCKED", "HOLE", "EXTRA")):
    msp = doc.modelspace()
    shapes = {"RECT": (RECT, "ROOMS", True), "ELL": (ELL, "WALLS", True), "ARC": (ARC, "ROOMS", True),
            "OPEN": (OPEN, "ROOMS", False), "LOCKED": (LOCKED, "LOCKED", True), "HOLE": (HOLE, "ROOMS", True),
            "EXTRA": (EXTRA, "ROOMS", True)}
    for name in which:
        points, layer, closed = shapes[name]
        fmt = "xyb" if len(points[0]) == 3 else "xy"
        msp.add_lwpolyline(points, format=fmt, close=closed, dxfattribs={"layer": layer})


def new_doc(version="R2013"):
    doc = ezdxf.new(version)
    doc.header["$INSUNITS"] = 4
    doc.header["$LUNITS"] = 2
    layers(doc)
    return doc


def room(doc, number, name, at, w=3000, d=3000):
    block = doc.blocks.new(f"ROOM-{number}")
    block.add_lwpolyline([(-w / 2, -d / 2), (w / 2, -d / 2), (w / 2, d / 2), (-w / 2, d / 2)], close=True)
    common = {"height": 250.0, "rotation": 0.0, "width": 1.0}
    block.add_attdef("AREA", (0, 0), "DEFAULT AREA", dxfattribs=dict(common, prompt="Enter Area", layer="ATT-AREA"))
    block.add_attdef("NAME", (0, 375), "DEFAULT NAME", dxfattribs=dict(common, prompt="Enter Name", layer="ATT-NAME"))
    block.add_attdef("AUX", (0, -375), "DEFAULT AUX",
                     dxfattribs=dict(common, prompt="Enter Auxillary Value", layer="ATT-AUX"))
    ref = doc.modelspace().add_blockref(f"ROOM-{number}", at, dxfattribs={"layer": "ROOMS"})
    area = w * d / 1e6
    ref.add_auto_attribs({"NAME": name, "AREA": f"{area:.2f}sq.m.", "AUX": " "})
    if "ADE" not in doc.appids:
        doc.appids.new("ADE")
    items = [f"AREA={area:.2f}sq.m.", f"PERIMETER={2 * (w + d) / 1000:.2f}m.", f"NAME={name}", "TAGTYPE=ROOM",
             "AREA_TYPE=NET", "COST_CENTRE=<Not Set>", "DATE=<Not Set>", "DATE_L_MOVE=<Not Set>",
             "DEPT_CHARGE=<Not Set>", "ROOM_HEIGHT=0.00m.", "SPECIAL_REQ=<Not Set>", "TOT_STAFF=<Not Set>",
             "TOT_WKSTNS=<Not Set>", "VOLUME=0.00cu.m.", "HANDLESTOMINUS=", "HANDLESTOADD="]
    ref.set_xdata("ADE", [(1002, "{")] + [(1000, i) for i in items] + [(1002, "}")])


def bulk(doc):
    msp = doc.modelspace()
    doc.layers.add("ROOMS-2")
    doc.layers.add("ROOMS-LOCKED").lock()
    doc.layers.add("TEXT")
    add = lambda pts, layer, closed=True: msp.add_lwpolyline(pts, close=closed, dxfattribs={"layer": layer})
    add(RECT, "ROOMS")
    msp.add_text("101", dxfattribs={"insert": (1000, 4000), "height": 200, "layer": "TEXT"})
    add(ELL, "ROOMS-2")
    text = msp.add_text("L-Room", dxfattribs={"height": 200, "layer": "TEXT"})
    text.set_placement((11000, 3000), align=ezdxf.enums.TextEntityAlignment.MIDDLE_CENTER)
    add([(60000, 0), (68000, 0), (68000, 6000), (66000, 6000), (66000, 2000), (62000, 2000), (62000, 6000),
         (60000, 6000)], "ROOMS")
    text = msp.add_text("U 7", dxfattribs={"height": 200, "layer": "TEXT"})
    text.set_placement((60500, 1000), (63500, 1000), align=ezdxf.enums.TextEntityAlignment.ALIGNED)
    add([(70000, 0), (74000, 0), (74000, 3000), (70000, 3000)], "ROOMS")
    msp.add_text("A", dxfattribs={"insert": (71000, 1000), "height": 200})
    msp.add_text("B", dxfattribs={"insert": (72000, 1000), "height": 200})
    add([(80000, 0), (84000, 0), (84000, 3000), (80000, 3000)], "ROOMS")
    tag = doc.blocks.new("TAG")
    tag.add_circle((0, 0), 300)
    tag.add_attdef("NUMBER", (0, 0), "", dxfattribs={"height": 200})
    ref = msp.add_blockref("TAG", (82000, 1500), dxfattribs={"layer": "TEXT"})
    ref.add_auto_attribs({"NUMBER": "R-204"})
    add([(90000, 0), (93000, 0), (93000, 3000), (90000, 3000)], "ROOMS")
    add(OPEN, "ROOMS", closed=False)
    add([(100000, 0), (104000, 3000), (104000, 0), (100000, 2000)], "ROOMS")
    add([(110000, 0), (112000, 0), (114000, 0)], "ROOMS")
    add([(40000, 0), (44000, 0), (44000, 3000), (40000, 3000)], "ROOMS-LOCKED")
    extra = add(EXTRA, "ROOMS")
    add([(120000, 0), (123000, 0), (123000, 3000), (120000, 3000)], "WALLS")
    add([(130000, 0), (134000, 0), (134000, 3000), (130000, 3000)], "ROOMS")
    msp.add_mtext("{\\fArial|b1;R-305}\\PMeeting room", dxfattribs={"insert": (130500, 2500), "char_height": 200,
                                                                   "layer": "TEXT", "attachment_point": 1})
    doc.layout("Layout1").add_lwpolyline([(0, 0), (100, 0), (100, 100), (0, 100)], close=True,
                                         dxfattribs={"layer": "ROOMS"})
    office = next(e for e in msp.query("INSERT") if e.dxf.name == "ROOM-3")
    items = [(code, value if not str(value).startswith("HANDLESTOADD=") else f"HANDLESTOADD={extra.dxf.handle},")
             for code, value in office.get_xdata("ADE")]
    office.set_xdata("ADE", items)


def main():
    os.makedirs(OUT, exist_ok=True)
    doc = new_doc()
    outlines(doc)
    doc.saveas(os.path.join(OUT, "outlines.dxf"))

    doc = new_doc()
    outlines(doc)
    doc.header["$UCSORG"] = (100000.0, 50000.0, 0.0)
    doc.header["$UCSXDIR"] = (0.0, 1.0, 0.0)
    doc.header["$UCSYDIR"] = (-1.0, 0.0, 0.0)
    doc.saveas(os.path.join(OUT, "outlines-ucs.dxf"))

    doc = new_doc()
    room(doc, 3, "Office 009", (-20000, 0))
    room(doc, 12, "Office 010", (-10000, 0))
    outlines(doc, ("RECT",))
    doc.saveas(os.path.join(OUT, "rooms.dxf"))

    doc = new_doc()
    outlines(doc)
    doc.modelspace().add_lwpolyline([(60000, 0), (70000, 0), (70000, 5000), (60000, 5000)], close=True,
                                    dxfattribs={"layer": "ROOMS"})
    doc.modelspace().add_circle((80000, 0), 1500, dxfattribs={"layer": "ROOMS"})
    doc.saveas(os.path.join(OUT, "markers.dxf"))

    doc = new_doc()
    room(doc, 3, "Office 009", (-20000, 0))
    room(doc, 12, "Office 010", (-10000, 0))
    bulk(doc)
    doc.saveas(os.path.join(OUT, "bulk.dxf"))


if __name__ == "__main__":
    main()
