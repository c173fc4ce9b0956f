"""Writes an R12 drawing with ezdxf as another CAD program would: layers with
colours and linetypes, a dashed linetype, lines, 2D polylines with bulges, a
closed 3D polyline, circles, arcs, texts, blocks with base points and
attribute definitions, and inserts with attributes (one in paper space).
Usage: r12_fixture.py OUT.dxf"""
import sys

import ezdxf

doc = ezdxf.new("R12")
doc.linetypes.add("DASHED2", pattern=[0.75, 0.5, -0.25], description="Dashed __ __ __")
doc.layers.add("WALLS", color=1, linetype="DASHED2")
doc.layers.add("ROOMS", color=3)
doc.layers.add("TEXT", color=5)
doc.layers.add("OFF", color=6).off()
msp = doc.modelspace()
msp.add_line((0, 0), (10, 0), dxfattribs={"layer": "WALLS"})
msp.add_line((0, 0, 1.5), (0, 7.25, 1.5), dxfattribs={"layer": "WALLS", "color": 4})
msp.add_polyline2d([(0, 0, 0, 0, 0), (8, 0, 0, 0, 0.5), (8, 6, 0, 0, -0.25), (0, 6, 0, 0, 0)],
                   format="xyseb", close=True, dxfattribs={"layer": "ROOMS"})
msp.add_polyline2d([(20, 0), (25, 3), (30, 0)], dxfattribs={"layer": "ROOMS"})
msp.add_polyline3d([(0, 0, 0), (1, 2, 3), (4, 5, 6)], close=True)
msp.add_circle((5, 5), 2.5, dxfattribs={"layer": "ROOMS"})
msp.add_arc((12, 3), 1.75, 30, 210, dxfattribs={"layer": "WALLS"})
msp.add_text("Office 1", dxfattribs={"layer": "TEXT", "height": 0.5, "insert": (1, 1), "rotation": 15})
t = msp.add_text("Centered", dxfattribs={"height": 0.35})
t.set_placement((4, 3), align=ezdxf.enums.TextEntityAlignment.MIDDLE_CENTER)

room = doc.blocks.new("ROOM_TAG", base_point=(2, 1))
room.add_circle((2, 1), 0.5)
room.add_line((0, 0), (4, 2))
room.add_attdef("NAME", (2, 1.5), dxfattribs={"height": 0.25, "prompt": "Room name"})
room.add_attdef("AREA", (2, 0.5), dxfattribs={"height": 0.2})
door = doc.blocks.new("DOOR", base_point=(0.5, 0))
door.add_arc((0, 0), 0.9, 0, 90)
door.add_line((0, 0), (0.9, 0))

ref = msp.add_blockref("ROOM_TAG", (10, 10), dxfattribs={"xscale": 2, "yscale": 2, "rotation": 30, "layer": "ROOMS"})
ref.add_auto_attribs({"NAME": "Office 1", "AREA": "48.00 sq.m."})
ref2 = msp.add_blockref("ROOM_TAG", (30, 10))
ref2.add_auto_attribs({"NAME": "Hall", "AREA": "12.5"})
msp.add_blockref("DOOR", (8, 3), dxfattribs={"rotation": 90})
psp = doc.layout("Layout1")
psp.add_line((0, 0), (100, 50))
psp.add_text("Sheet text", dxfattribs={"height": 2.5, "insert": (10, 10)})
doc.saveas(sys.argv[1])
