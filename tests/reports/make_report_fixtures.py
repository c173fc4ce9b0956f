#!/usr/bin/python3
"""Writes the drawing the graphic report tests place legends and pie charts
on (tests/data/commands/report-markers.dxf):

    /usr/bin/python3 tests/reports/make_report_fixtures.py

It is the command tests' spaces.dxf (six space blocks made by ezdxf) with a
legend marker and a pie chart marker added the way another program would:

  MARKER-LEGEND    an outline whose first vertex is (100, 200) from the base
                   point, attributes LEGENDTEXTSIZE 250, LEGENDPRECISION 1,
                   LEGENDUNITS 0; inserted at (30000, 12000), rotated 90 degrees
  MARKER-PIECHART  a circle about (0, 0), attributes PIETEXTSIZE 200,
                   PIEPRECISION 2, PIERADIUS 3000; inserted at (30000, 2000)
"""

import os

import ezdxf

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, "..", "data", "commands")


def marker(doc, msp, name, tags, at, rotation=0.0, outline=None, circle=None):
    block = doc.blocks.new(name)
    if outline:
        block.add_lwpolyline(outline, close=True)
    if circle:
        block.add_circle(circle[0], circle[1])
    for i, (tag, _) in enumerate(tags):
        block.add_attdef(tag, (0, -300.0 * i), "", dxfattribs={"height": 200.0})
    ref = msp.add_blockref(name, at, dxfattribs={"rotation": rotation, "layer": "MARKERS"})
    ref.add_auto_attribs(dict(tags))
    return ref


def main():
    doc = ezdxf.readfile(os.path.join(DATA, "spaces.dxf"))
    msp = doc.modelspace()
    doc.layers.add("MARKERS")
    marker(doc, msp, "MARKER-LEGEND", [("LEGENDTEXTSIZE", "250"), ("LEGENDPRECISION", "1"), ("LEGENDUNITS", "0")],
           (30000, 12000), rotation=90.0, outline=[(100, 200), (4100, 200), (4100, 3200), (100, 3200)])
    marker(doc, msp, "MARKER-PIECHART", [("PIETEXTSIZE", "200"), ("PIEPRECISION", "2"), ("PIERADIUS", "3000")],
           (30000, 2000), circle=((0, 0), 3000))
    doc.saveas(os.path.join(DATA, "report-markers.dxf"))


if __name__ == "__main__":
    main()
