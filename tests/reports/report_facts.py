#!/usr/bin/python3
"""Prints as one JSON document what ezdxf finds in the model space of a
drawing a graphic report was applied to (the independent side of the report
tests; what is inside the report blocks comes from tests/tools/dxf_oracle.py):

  inserts   handle name layer cx cy area nameText record   the outline (first
            LWPOLYLINE of the definition) placed by the reference: centroid
            and area; the NAME attribute's text; the ADE record items by key
  hatches   handle pattern r g b layer cx cy area rank   boundary path 0 placed in WCS
  lines     handle x1 y1 x2 y2 linetype layer r g b
  texts     handle x y rotation height layer halign valign text
  layers    by name: on frozen locked lineweight
  linetypes by name: [length, dash1, dash2, ...]

rank is the place in model space's draw order (ACAD_SORTENTS), 0 drawn first;
a colour without a true colour is -1 -1 -1 (0 0 0 for a hatch).
"""
import json
import math
import sys

import ezdxf


def polygon(points):
    a = cx = cy = 0.0
    n = len(points)
    for i in range(n):
        x0, y0 = points[i][0], points[i][1]
        x1, y1 = points[(i + 1) % n][0], points[(i + 1) % n][1]
        c = x0 * y1 - x1 * y0
        a += c
        cx += (x0 + x1) * c
        cy += (y0 + y1) * c
    if abs(a) < 1e-12:
        return 0.0, 0.0, 0.0
    return abs(a) / 2.0, cx / (3.0 * a), cy / (3.0 * a)


def rgb(e, none=(-1, -1, -1)):
    colour = e.rgb if hasattr(e, "rgb") and e.rgb else none
    return {"r": colour[0], "g": colour[1], "b": colour[2]}


def model_space_facts(doc, facts):
    msp = doc.modelspace()
    sort = dict(msp.get_redraw_order()) if hasattr(msp, "get_redraw_order") else {}
    keyed = sorted(msp, key=lambda e: int(sort.get(e.dxf.handle, e.dxf.handle), 16))
    order = {e.dxf.handle: rank for rank, e in enumerate(keyed)}
    for e in msp:
        t = e.dxftype()
        if t == "INSERT":
            block = doc.blocks.get(e.dxf.name)
            outline = next((p for p in block if p.dxftype() == "LWPOLYLINE"), None) if block else None
            area = cx = cy = 0.0
            if outline is not None:
                m = e.matrix44()
                area, cx, cy = polygon([m.transform((x, y, 0)) for x, y in outline.get_points("xy")])
            record = {}
            if e.has_xdata("ADE"):
                for code, value in e.get_xdata("ADE"):
                    if code == 1000 and "=" in value:
                        key, _, item = value.partition("=")
                        record[key] = item
            facts["inserts"].append({
                "handle": e.dxf.handle, "name": e.dxf.name, "layer": e.dxf.layer, "cx": cx, "cy": cy, "area": area,
                "nameText": next((a.dxf.text for a in e.attribs if a.dxf.tag == "NAME"), ""), "record": record})
        elif t == "HATCH":
            path0 = e.paths[0]
            if hasattr(path0, "vertices"):
                pts = [(v[0], v[1]) for v in path0.vertices]
            else:
                pts = [(edge.start[0], edge.start[1]) for edge in path0.edges]
            ocs = e.ocs()
            area, cx, cy = polygon([ocs.to_wcs((x, y, e.dxf.elevation.z)) for x, y in pts])
            facts["hatches"].append({"handle": e.dxf.handle, "pattern": e.dxf.pattern_name, **rgb(e, (0, 0, 0)),
                                     "layer": e.dxf.layer, "cx": cx, "cy": cy, "area": area,
                                     "rank": order[e.dxf.handle]})
        elif t == "LINE":
            s, f = e.dxf.start, e.dxf.end
            facts["lines"].append({"handle": e.dxf.handle, "x1": s.x, "y1": s.y, "x2": f.x, "y2": f.y,
                                   "linetype": e.dxf.get("linetype", "BYLAYER"), "layer": e.dxf.layer, **rgb(e)})
        elif t == "TEXT":
            p = e.dxf.align_point if e.dxf.hasattr("align_point") else e.dxf.insert
            facts["texts"].append({"handle": e.dxf.handle, "x": p.x, "y": p.y,
                                   "rotation": math.radians(e.dxf.rotation), "height": e.dxf.height,
                                   "layer": e.dxf.layer, "halign": e.dxf.halign, "valign": e.dxf.valign,
                                   "text": e.dxf.text})


def main(path):
    doc = ezdxf.readfile(path)
    facts = {"inserts": [], "hatches": [], "lines": [], "texts": []}
    model_space_facts(doc, facts)
    facts["layers"] = {layer.dxf.name: {"on": layer.is_on(), "frozen": layer.is_frozen(),
                                        "locked": layer.is_locked(), "lineweight": layer.dxf.lineweight}
                       for layer in doc.layers}
    facts["linetypes"] = {}
    for lt in doc.linetypes:
        tags = lt.pattern_tags.tags if hasattr(lt, "pattern_tags") else []
        length = next((v for c, v in tags if c == 40), 0.0)
        facts["linetypes"][lt.dxf.name] = [length] + [v for c, v in tags if c == 49]
    print(json.dumps(facts, ensure_ascii=False))


if __name__ == "__main__":
    main(sys.argv[1])
