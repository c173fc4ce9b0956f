#!/usr/bin/python3
"""Writes a drawing with an ARC, an ELLIPSE (half, tilted major axis) and two
SPLINEs (a NURBS by control points and weights, one by fit points only),
then prints points ezdxf computes on each curve and points off it:

    on|off HANDLE X Y

Usage: curve_fixture.py OUT.dxf
"""
import sys

import ezdxf
from ezdxf.math import Vec3

doc = ezdxf.new("R2013")
msp = doc.modelspace()
arc = msp.add_arc(center=(10, 10), radius=5, start_angle=20, end_angle=160)
ellipse = msp.add_ellipse(center=(50, 0), major_axis=(6, 8), ratio=0.4, start_param=0.3, end_param=3.4)
nurbs = msp.add_rational_spline(
    control_points=[(100, 0), (110, 20), (130, -10), (140, 15), (150, 0)],
    weights=[1, 2, 0.5, 3, 1],
    degree=3,
)
fit = msp.add_spline(fit_points=[(200, 0), (210, 5), (220, 0), (230, 5)])
fit.control_points = []
fit.knots = []
doc.saveas(sys.argv[1])

lines = []
tool = arc.construction_tool()
for a in (25, 90, 155):
    p = tool.center + Vec3.from_deg_angle(a, tool.radius)
    lines.append(("on", arc.dxf.handle, p))
lines.append(("off", arc.dxf.handle, Vec3(10, 10 - 5)))  # the missing lower half
e = ellipse.construction_tool()
for p in e.vertices([0.4, 1.5, 3.3]):
    lines.append(("on", ellipse.dxf.handle, p))
for p in e.vertices([5.0]):  # outside the parameter range
    lines.append(("off", ellipse.dxf.handle, p))
curve = nurbs.construction_tool()
for t in (0.1, 0.37, 0.5, 0.81):
    lines.append(("on", nurbs.dxf.handle, curve.point(t * curve.max_t)))
lines.append(("off", nurbs.dxf.handle, Vec3(130, -10)))  # a control point the curve does not reach
for p in [(200, 0), (210, 5), (230, 5)]:
    lines.append(("on", fit.dxf.handle, Vec3(p)))
lines.append(("off", fit.dxf.handle, Vec3(215, 10)))
for kind, handle, p in lines:
    print(kind, handle, repr(p.x), repr(p.y))
