#!/usr/bin/python3
"""Independent reading of a floor plan for the take-off tests (ezdxf).

Usage: takeoff_oracle.py DXF

Prints one JSON document on the space blocks of model space (INSERTs of a
"ROOM-" block whose definition holds a closed outline):
  {"rooms": {handle: room}, "floorHandle": handle, "floor": room}
the floor being the gross area block ("" and zeros when there is none), a room
{"area", "perimeter", "assets", "near"}: area and perimeter as the block
records them in its "ADE" extended data (the number before the unit); assets
the other INSERTs whose insertion point lies inside the placed outline
(straight outlines only), near the INSERTs whose extents overlap the
outline's extents (a crossing selection may take these too); both sorted.
"""
import json
import sys

import ezdxf
from ezdxf import bbox
from ezdxf.math import BoundingBox2d, Vec2, is_point_in_polygon_2d


def main():
    doc = ezdxf.readfile(sys.argv[1])
    msp = doc.modelspace()
    inserts = list(msp.query("INSERT"))
    plan = {"rooms": {}, "floorHandle": "", "floor": {"area": 0.0, "perimeter": 0.0, "assets": [], "near": []}}
    extents = {}
    for e in inserts:
        # Geometry only: attribute texts are left out of the extents.
        ext = bbox.extents([v for v in e.virtual_entities() if v.dxftype() not in ("TEXT", "ATTRIB", "MTEXT")])
        if ext.has_data:
            extents[e.dxf.handle] = BoundingBox2d([Vec2(ext.extmin), Vec2(ext.extmax)])
    for ref in inserts:
        if not ref.dxf.name.upper().startswith("ROOM-"):
            continue
        block = doc.blocks.get(ref.dxf.name)
        outline = None
        for e in block:
            if e.dxftype() == "LWPOLYLINE" and e.closed:
                outline = e
                break
        if outline is None:
            continue
        m = ref.matrix44()
        pts = [Vec2(m.transform((p[0], p[1], 0))) for p in outline.get_points("xy")]
        area = perimeter = None
        for code, value in ref.get_xdata("ADE"):
            if code == 1000 and value.startswith("AREA="):
                area = float(value[5:].rstrip("sqftm.u"))
            if code == 1000 and value.startswith("PERIMETER="):
                perimeter = float(value[10:].rstrip("ftm."))
        if ref.dxf.name.upper() == "ROOM-GROSS_AREA":
            plan["floorHandle"] = ref.dxf.handle
            plan["floor"] = {"area": area, "perimeter": perimeter, "assets": [], "near": []}
            continue
        inside = []
        near = []
        box = BoundingBox2d(pts)
        for other in inserts:
            if other is ref or other.dxf.name.upper().startswith("ROOM-"):
                continue
            if other.dxf.name.upper().startswith("MARKER-"):
                continue
            if is_point_in_polygon_2d(Vec2(other.dxf.insert), pts) >= 0:
                inside.append(other.dxf.handle)
            ext = extents.get(other.dxf.handle)
            if ext is not None and box.has_intersection(ext):
                near.append(other.dxf.handle)
        plan["rooms"][ref.dxf.handle] = {"area": area, "perimeter": perimeter, "assets": sorted(inside),
                                         "near": sorted(set(near) | set(inside))}
    print(json.dumps(plan))


if __name__ == "__main__":
    main()
