#!/usr/bin/python3
"""Writes a small plan with ezdxf for the host's pick and selection tests.

    make_plan.py OUT.dxf

On stdout, one line per entity: its type, its handle.  The plan (model space,
units of 1):
  LINE       (0,0)-(10,0)            layer 0
  LWPOLYLINE square (20,0)-(30,10)   layer ROOMS, extended data of "ADE"
  CIRCLE     centre (50,5) radius 5  layer ROOMS
  TEXT       "R1" at (22,2) height 1 layer TEXT
"""
import sys

import ezdxf

doc = ezdxf.new("R2013")
doc.layers.add("ROOMS")
doc.layers.add("TEXT")
doc.appids.add("ADE")
msp = doc.modelspace()
line = msp.add_line((0, 0), (10, 0))
square = msp.add_lwpolyline([(20, 0), (30, 0), (30, 10), (20, 10)], close=True, dxfattribs={"layer": "ROOMS"})
square.set_xdata("ADE", [(1000, "room"), (1040, 100.0)])
circle = msp.add_circle((50, 5), 5, dxfattribs={"layer": "ROOMS"})
text = msp.add_text("R1", dxfattribs={"layer": "TEXT", "height": 1.0, "insert": (22, 2)})
doc.saveas(sys.argv[1])
for entity in (line, square, circle, text):
    print(entity.dxftype(), entity.dxf.handle)
