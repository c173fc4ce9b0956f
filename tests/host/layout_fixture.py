#!/usr/bin/python3
"""Writes the layout test drawing with ezdxf (Debian python3-ezdxf 0.18):

    layout_fixture.py OUT.dxf

Layers A, B, C; a circle in model space; "Layout1" (the active paper space)
with an A3 page setup for "DWF6 ePlot.pc3" at 1:50, a circle and one
viewport; "Sheet B" with the default page setup, a line on layer B and two
viewports, the first with layer C frozen; "Sheet C" empty. Inserts of block
"ROOM": two carry extended data of application "ADE", one does not.
"""
import sys

import ezdxf

doc = ezdxf.new("R2013")
for name, color in (("A", 1), ("B", 2), ("C", 3)):
    doc.layers.add(name, color=color)
doc.appids.add("ADE")
room = doc.blocks.new("ROOM")
room.add_lwpolyline([(0, 0), (4, 0), (4, 3), (0, 3)], close=True)
msp = doc.modelspace()
msp.add_circle((5, 5), 2, dxfattribs={"layer": "A"})
for i, tagged in enumerate((True, False, True)):
    ref = msp.add_blockref("ROOM", (10 * i, 0))
    if tagged:
        ref.set_xdata("ADE", [(1000, "room %d" % i), (1040, 12.5 + i)])

layout1 = doc.layouts.get("Layout1")
layout1.page_setup(size=(420, 297), margins=(10, 15, 10, 15), device="DWF6 ePlot.pc3", scale=(1, 50))
layout1.add_circle((100, 100), 20, dxfattribs={"layer": "A"})
layout1.add_viewport(center=(200, 150), size=(150, 100), view_center_point=(5, 5), view_height=20)

sheet = doc.layouts.new("Sheet B")
sheet.page_setup()
sheet.add_line((0, 0), (100, 50), dxfattribs={"layer": "B"})
vp = sheet.add_viewport(center=(80, 80), size=(100, 80), view_center_point=(5, 5), view_height=30)
vp.frozen_layers = ["C"]
sheet.add_viewport(center=(220, 80), size=(100, 80), view_center_point=(0, 0), view_height=60)

doc.layouts.new("Sheet C")
doc.saveas(sys.argv[1])
