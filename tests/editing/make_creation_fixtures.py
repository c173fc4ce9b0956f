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
    spec = {"RECT": (RECT, "ROOMS", True), "ELL": (ELL, "WALLS", True), "ARC": (ARC, "ROOMS", True),
            "OPEN": (OPEN, "ROOMS", False), "LOCKED": (LOCKED, "LOCKED", True), "HOLE": (HOLE, "ROOMS", True),
            "EXTRA": (EXTRA, "ROOMS", True)}
    for name in which:
        points, layer, closed = spec[name]
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


if __name__ == "__main__":
    main()
