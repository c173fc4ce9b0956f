#!/usr/bin/python3
"""Writes the creation inputs that once broke (tests/regressions/).

    /usr/bin/python3 tests/regressions/make_creation_inputs.py

bulk-figure-eight.dxf: on layer ROOMS a symmetric figure of eight (its loops
  cancel, so its net area is 0) at (0,0)-(4000,3000), and three points on a
  line at (10000,0)-(14000,0). The first was reported as enclosing no area
  instead of crossing itself.
"""

import os

import ezdxf

HERE = os.path.dirname(os.path.abspath(__file__))

doc = ezdxf.new("R2013")
doc.layers.add("ROOMS")
msp = doc.modelspace()
msp.add_lwpolyline([(0, 0), (4000, 3000), (4000, 0), (0, 3000)], close=True, dxfattribs={"layer": "ROOMS"})
msp.add_lwpolyline([(10000, 0), (12000, 0), (14000, 0)], close=True, dxfattribs={"layer": "ROOMS"})
doc.saveas(os.path.join(HERE, "bulk-figure-eight.dxf"))
