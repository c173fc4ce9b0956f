#!/usr/bin/python3
"""World geometry of a drawing as ezdxf places it, for the tests of block
base points, picks and assets. One JSON document on stdout.

    world_oracle.py FILE

    {"rooms": {handle: {"block": name,         every model-space INSERT of a ROOM- block:
                        "outline": [[x, y]...],  the vertices of its block's first LWPOLYLINE in
                                                 world coordinates (ezdxf's Insert.virtual_entities())
                        "label": [x, y],         a point inside the text of its NAME attribute, if any
                        "assets": [handle...]}}, the other model-space INSERTs (ROOM- blocks left out)
                                                 with a point of their world geometry inside the
                                                 outline or an edge crossing it
     "polylines": [[[x, y]...]...],             every model-space LWPOLYLINE, world vertices
     "bases": {name: [x, y, z]}}                every block definition's base point
"""

import json
import math
import sys

import ezdxf
from ezdxf import path as ezpath


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


def rooms(doc):
    msp = doc.modelspace()
    inserts = [e for e in msp if e.dxftype() == "INSERT"]
    others = [(e.dxf.handle, world_runs(e)) for e in inserts if not e.dxf.name.startswith("ROOM-")]
    found = {}
    for e in inserts:
        if not e.dxf.name.startswith("ROOM-"):
            continue
        outline = first_outline(e)
        if outline is None:
            continue
        room = found[e.dxf.handle] = {"block": e.dxf.name, "outline": outline}
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
            room["label"] = [x, y]
        room["assets"] = sorted(h for h, runs in others if touches(runs, outline))
    return found


def main(argv):
    if len(argv) != 2:
        print(__doc__, file=sys.stderr)
        return 64
    doc = ezdxf.readfile(argv[1])
    polylines = [[[v.x, v.y] for v in e.vertices_in_wcs()] for e in doc.modelspace() if e.dxftype() == "LWPOLYLINE"]
    bases = {block.name: list(block.block.dxf.base_point) for block in doc.blocks}
    print(json.dumps({"rooms": rooms(doc), "polylines": polylines, "bases": bases}))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
