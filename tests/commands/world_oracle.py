#!/usr/bin/python3
"""World geometry of a drawing as ezdxf places it, for the tests of block
base points, picks and assets. Tab-separated lines on stdout.

    world_oracle.py rooms FILE
        ROOM   handle  block  x,y;x,y;...   every model-space INSERT of a ROOM- block: the
                                            vertices of its block's first LWPOLYLINE in world
                                            coordinates (ezdxf's Insert.virtual_entities())
        LABEL  handle  x  y                 a point inside the text of its NAME attribute
        ASSETS handle  h1,h2,...            the other model-space INSERTs (ROOM- blocks left
                                            out) with a point of their world geometry inside
                                            the outline or an edge crossing it
    world_oracle.py polylines FILE
        POLY   handle  x,y;x,y;...          every model-space LWPOLYLINE, world vertices
    world_oracle.py bases FILE
        BASE   name  x  y  z                every block definition's base point
"""

import math
import sys

import ezdxf
from ezdxf import path as ezpath


def points_text(points):
    return ";".join(f"{p[0]!r},{p[1]!r}" for p in points)


def first_outline(insert):
    for e in insert.virtual_entities():
        if e.dxftype() == "LWPOLYLINE":
            return [(v.x, v.y) for v in e.vertices_in_wcs()]
    return None


def inside(p, polygon):
    result = False
    j = len(polygon) - 1
    for i in range(len(polygon)):
        (ax, ay), (bx, by) = polygon[i], polygon[j]
        if (ay > p[1]) != (by > p[1]) and p[0] < (bx - ax) * (p[1] - ay) / (by - ay) + ax:
            result = not result
        j = i
    return result


def crosses(a, b, c, d):
    def side(o, p, q):
        return (p[0] - o[0]) * (q[1] - o[1]) - (p[1] - o[1]) * (q[0] - o[0])
    d1, d2, d3, d4 = side(c, d, a), side(c, d, b), side(a, b, c), side(a, b, d)
    return d1 * d2 < 0 and d3 * d4 < 0


def world_runs(insert, depth=0):
    """Flattened world polylines of everything an INSERT draws (nested INSERTs expanded)."""
    runs = []
    for e in insert.virtual_entities():
        if e.dxftype() == "INSERT" and depth < 8:
            runs.extend(world_runs(e, depth + 1))
            continue
        try:
            p = ezpath.make_path(e)
        except TypeError:
            continue
        pts = [(v.x, v.y) for v in p.flattening(distance=1.0)]
        if pts:
            runs.append(pts)
    return runs


def touches(runs, polygon):
    for run in runs:
        if any(inside(p, polygon) for p in run):
            return True
        for a, b in zip(run, run[1:]):
            for i in range(len(polygon)):
                if crosses(a, b, polygon[i - 1], polygon[i]):
                    return True
    return False


def cmd_rooms(doc):
    msp = doc.modelspace()
    inserts = [e for e in msp if e.dxftype() == "INSERT"]
    others = [(e.dxf.handle, world_runs(e)) for e in inserts if not e.dxf.name.startswith("ROOM-")]
    for e in inserts:
        if not e.dxf.name.startswith("ROOM-"):
            continue
        outline = first_outline(e)
        if outline is None:
            continue
        print("\t".join(["ROOM", e.dxf.handle, e.dxf.name, points_text(outline)]))
        name = e.get_attrib("NAME")
        if name is not None:
            h = name.dxf.height
            r = math.radians(name.dxf.rotation)
            if name.dxf.halign or name.dxf.valign:
                x, y = name.dxf.align_point[0], name.dxf.align_point[1]
                x, y = x - 0.2 * h * math.sin(r), y + 0.2 * h * math.cos(r)   # a fifth of the height above the baseline centre
            else:
                x, y = name.dxf.insert[0], name.dxf.insert[1]
                x, y = x + 0.5 * h * math.cos(r) - 0.5 * h * math.sin(r), y + 0.5 * h * math.sin(r) + 0.5 * h * math.cos(r)
            print("\t".join(["LABEL", e.dxf.handle, repr(x), repr(y)]))
        found = [h for h, runs in others if touches(runs, outline)]
        print("\t".join(["ASSETS", e.dxf.handle, ",".join(sorted(found))]))


def cmd_polylines(doc):
    for e in doc.modelspace():
        if e.dxftype() == "LWPOLYLINE":
            print("\t".join(["POLY", e.dxf.handle, points_text([(v.x, v.y) for v in e.vertices_in_wcs()])]))


def cmd_bases(doc):
    for block in doc.blocks:
        b = block.block.dxf.base_point
        print("\t".join(["BASE", block.name, repr(b[0]), repr(b[1]), repr(b[2])]))


def main(argv):
    commands = {"rooms": cmd_rooms, "polylines": cmd_polylines, "bases": cmd_bases}
    if len(argv) != 3 or argv[1] not in commands:
        print(__doc__, file=sys.stderr)
        return 64
    commands[argv[1]](ezdxf.readfile(argv[2]))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
