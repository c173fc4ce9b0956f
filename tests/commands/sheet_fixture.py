#!/usr/bin/python3
"""Writes the drawing of the layout-state tests with ezdxf (Debian python3-ezdxf):

    sheet_fixture.py OUT.dxf

Layers WALLS, FURN, NOTES and HIDDEN (HIDDEN frozen), a line on each of the
first three in model space, model space current ($TILEMODE 1); the paper
layout "SHEET 1" with two viewports on the model, the first of which has
NOTES frozen in it alone; the paper layout "SHEET 2" empty.
"""
import sys

import ezdxf

doc = ezdxf.new("R2013")
for name, colour in (("WALLS", 1), ("FURN", 2), ("NOTES", 3), ("HIDDEN", 4)):
    doc.layers.add(name, color=colour)
doc.layers.get("HIDDEN").freeze()
msp = doc.modelspace()
for i, layer in enumerate(("WALLS", "FURN", "NOTES")):
    msp.add_line((0, 1000 * i), (5000, 1000 * i), dxfattribs={"layer": layer})

sheet = doc.layouts.rename("Layout1", "SHEET 1") or doc.layouts.get("SHEET 1")
sheet.page_setup(size=(420, 297), margins=(10, 10, 10, 10))
first = sheet.add_viewport(center=(110, 150), size=(180, 250), view_center_point=(2500, 1000), view_height=3000)
first.frozen_layers = ["NOTES"]
sheet.add_viewport(center=(310, 150), size=(180, 250), view_center_point=(2500, 0), view_height=1500)
doc.layouts.new("SHEET 2")
doc.header["$TILEMODE"] = 1
doc.saveas(sys.argv[1])
