#!/usr/bin/python3
"""Prints what ezdxf finds in a drawing a graphic report was applied to, one
tab-separated line per fact (the independent side of the report tests):

  INSERT handle name layer cx cy area nameText x y rotation
                                                  the outline (first LWPOLYLINE of
                                                  the definition) placed by the
                                                  reference: centroid and area;
                                                  the insertion point and rotation
  HATCH handle pattern r g b layer cx cy area rank   boundary path 0 placed in WCS
  LINE handle x1 y1 x2 y2 linetype layer r g b
  TEXT handle x y rotation height layer halign valign text
  LAYER name on|off frozen|thawed locked|unlocked lineweight
  LTYPE name length dash1 dash2 ...
  XDATA handle item                               the ADE record items of references

Inside the blocks whose names start with "[ZELKA_" or "*T" (a table's own block):
  BPLINE block layer r g b x,y,bulge;...          closed polylines
  BHATCH block pattern r g b layer
  BLINE block x1 y1 x2 y2
  BATTDEF block tag halign valign x y height text  (x, y: the alignment point)
  BTEXT block x y text
  BINSERT block name
  TABLE ownerBlock tableBlock                    every ACAD_TABLE and its anonymous block

rank is the place in model space's draw order (ACAD_SORTENTS), 0 drawn first.
"""
import math
import sys

import ezdxf
from ezdxf.math import Matrix44


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


def main(path):
    doc = ezdxf.readfile(path)
    msp = doc.modelspace()
    order = {}
    sort = dict(msp.get_redraw_order()) if hasattr(msp, "get_redraw_order") else {}
    keyed = sorted(msp, key=lambda e: int(sort.get(e.dxf.handle, e.dxf.handle), 16))
    for rank, e in enumerate(keyed):
        order[e.dxf.handle] = rank
    for e in msp:
        t = e.dxftype()
        if t == "INSERT":
            block = doc.blocks.get(e.dxf.name)
            outline = next((p for p in block if p.dxftype() == "LWPOLYLINE"), None) if block else None
            area = cx = cy = 0.0
            if outline is not None:
                m = e.matrix44()
                pts = [m.transform((x, y, 0)) for x, y in outline.get_points("xy")]
                area, cx, cy = polygon(pts)
            name = next((a.dxf.text for a in e.attribs if a.dxf.tag == "NAME"), "")
            p = e.dxf.insert
            print("\t".join(["INSERT", e.dxf.handle, e.dxf.name, e.dxf.layer, repr(cx), repr(cy), repr(area), name,
                             repr(p.x), repr(p.y), repr(e.dxf.rotation)]))
            if e.has_xdata("ADE"):
                for code, value in e.get_xdata("ADE"):
                    if code == 1000:
                        print("\t".join(["XDATA", e.dxf.handle, value]))
        elif t == "HATCH":
            rgb = e.rgb or (0, 0, 0)
            path0 = e.paths[0]
            if hasattr(path0, "vertices"):
                pts = [(v[0], v[1]) for v in path0.vertices]
            else:
                pts = [(edge.start[0], edge.start[1]) for edge in path0.edges]
            ocs = e.ocs()
            pts = [ocs.to_wcs((x, y, e.dxf.elevation.z)) for x, y in pts]
            area, cx, cy = polygon(pts)
            print("\t".join(["HATCH", e.dxf.handle, e.dxf.pattern_name, str(rgb[0]), str(rgb[1]), str(rgb[2]),
                             e.dxf.layer, repr(cx), repr(cy), repr(area), str(order[e.dxf.handle])]))
        elif t == "LINE":
            rgb = e.rgb or (-1, -1, -1)
            s, f = e.dxf.start, e.dxf.end
            print("\t".join(["LINE", e.dxf.handle, repr(s.x), repr(s.y), repr(f.x), repr(f.y),
                             e.dxf.get("linetype", "BYLAYER"), e.dxf.layer, str(rgb[0]), str(rgb[1]), str(rgb[2])]))
        elif t == "TEXT":
            p = e.dxf.align_point if e.dxf.hasattr("align_point") else e.dxf.insert
            print("\t".join(["TEXT", e.dxf.handle, repr(p.x), repr(p.y), repr(math.radians(e.dxf.rotation)),
                             repr(e.dxf.height), e.dxf.layer, str(e.dxf.halign), str(e.dxf.valign), e.dxf.text]))
    for block in doc.blocks:
        if not (block.name.startswith("[ZELKA_") or block.name.startswith("*T")):
            continue
        for e in block:
            t = e.dxftype()
            rgb = e.rgb if hasattr(e, "rgb") and e.rgb else (-1, -1, -1)
            if t == "LWPOLYLINE":
                pts = ";".join("%r,%r,%r" % (x, y, b) for x, y, b in e.get_points("xyb"))
                print("\t".join(["BPLINE", block.name, e.dxf.layer, str(rgb[0]), str(rgb[1]), str(rgb[2]), pts]))
            elif t == "HATCH":
                print("\t".join(["BHATCH", block.name, e.dxf.pattern_name, str(rgb[0]), str(rgb[1]), str(rgb[2]),
                                 e.dxf.layer]))
            elif t == "LINE":
                print("\t".join(["BLINE", block.name, repr(e.dxf.start.x), repr(e.dxf.start.y), repr(e.dxf.end.x),
                                 repr(e.dxf.end.y)]))
            elif t == "ATTDEF":
                p = e.dxf.align_point if e.dxf.hasattr("align_point") else e.dxf.insert
                print("\t".join(["BATTDEF", block.name, e.dxf.tag, str(e.dxf.halign), str(e.dxf.valign), repr(p.x),
                                 repr(p.y), repr(e.dxf.height), e.dxf.text]))
            elif t == "TEXT":
                p = e.dxf.align_point if e.dxf.hasattr("align_point") else e.dxf.insert
                print("\t".join(["BTEXT", block.name, repr(p.x), repr(p.y), e.dxf.text]))
            elif t == "INSERT":
                print("\t".join(["BINSERT", block.name, e.dxf.name]))
    for e in doc.entitydb.values():
        if e.dxftype() != "ACAD_TABLE":
            continue
        owner = doc.entitydb.get(e.dxf.owner)
        name = ""
        for tags in e.xtags.subclasses:
            for code, value in tags:
                if code == 2 and not name:
                    name = value
        print("\t".join(["TABLE", owner.dxf.name if owner is not None else "", name]))
    for layer in doc.layers:
        print("\t".join(["LAYER", layer.dxf.name, "on" if layer.is_on() else "off",
                         "frozen" if layer.is_frozen() else "thawed", "locked" if layer.is_locked() else "unlocked",
                         str(layer.dxf.lineweight)]))
    for lt in doc.linetypes:
        tags = lt.pattern_tags.tags if hasattr(lt, "pattern_tags") else []
        dashes = [str(v) for c, v in tags if c == 49]
        length = next((str(v) for c, v in tags if c == 40), "0")
        print("\t".join(["LTYPE", lt.dxf.name, length] + dashes))


if __name__ == "__main__":
    try:
        main(sys.argv[1])
    except Exception as exc:  # the test shows what went wrong
        print("ERROR\t%s: %s" % (type(exc).__name__, exc))
