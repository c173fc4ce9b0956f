#!/usr/bin/python3
"""What ezdxf (Debian python3-ezdxf 0.18) reads of a plan, computed here where
tests/tools/dxf_oracle.py dump does not give it, printed as one JSON document.
Run it with /usr/bin/python3:  plan_facts.py links|report|takeoff FILE

The placed outline of an INSERT is the first LWPOLYLINE of its block taken
through ezdxf's transformation of the INSERT, in world coordinates.

links (hatching, hyperlink and asset tests):
    audit_errors                    the number of errors of ezdxf's audit
    order                           model space handles in redraw order
    hatches[H]   pattern solid ptype assoc style angle (degrees) scale color
                 true_color ("r g b", or "-1") layer extrusion elevation
                 paths: [{flags, vertices: [[x, y, bulge], ...] (OCS)}]
    entities[H]  type layer owner link ("url|description|location" from
                 get_hyperlink()) pe_url (the raw PE_URL tags "code:value;...")
                 invisible (ATTRIB only, 0 or 1)
    inserts[H]   block attribs (handles) outline ([x, y] of the placed
                 outline) corners ([x, y]: the corners of the bounding box of
                 the block's entities, in block coordinates, taken through the
                 INSERT: lower-left, lower-right, upper-right, upper-left)
    layers[NAME] color true_color

report (graphic report tests, model space):
    inserts      handle name layer cx cy area nameText record: centroid and
                 area of the placed outline, the NAME attribute's text, the
                 ADE record items by key
    hatches      handle pattern r g b layer cx cy area rank: boundary path 0
                 placed in WCS; rank is the place in the draw order
                 (ACAD_SORTENTS), 0 drawn first
    lines        handle x1 y1 x2 y2 linetype layer r g b
    texts        handle x y rotation height layer halign valign text
    layers       by name: on frozen locked lineweight
    linetypes    by name: [length, dash1, dash2, ...]
  a colour without a true colour is -1 -1 -1 (0 0 0 for a hatch).

takeoff (take-off and asset gathering tests): the space blocks of model space
(INSERTs of a "ROOM-" block whose definition holds a closed outline),
    {"rooms": {handle: room}, "floorHandle": handle, "floor": room}
  the floor being the gross area block ("" and zeros when there is none), a
  room {"area", "perimeter", "assets", "near"}: area and perimeter as the
  block records them in its "ADE" extended data (the number before the unit);
  assets the other INSERTs whose insertion point lies inside the placed
  outline (straight outlines only), near the INSERTs whose extents overlap the
  outline's extents (a crossing selection may take these too); both sorted.
"""
import json
import math
import sys

import ezdxf
from ezdxf import bbox
from ezdxf.math import BoundingBox2d, Vec2, is_point_in_polygon_2d


def placed_outline(doc, insert, closed=False):
    block = doc.blocks.get(insert.dxf.name)
    outline = next((e for e in (block if block is not None else [])
                    if e.dxftype() == "LWPOLYLINE" and (e.closed or not closed)), None)
    if outline is None:
        return None
    m = insert.matrix44()
    return [m.transform(v) for v in outline.vertices_in_wcs()]


# ---------------------------------------------------------------- links

def pe_url(entity):
    if not entity.xdata or "PE_URL" not in entity.xdata:
        return ""
    return ";".join(f"{t.code}:{t.value}" for t in entity.get_xdata("PE_URL"))


def rgb_text(entity):
    tc = entity.dxf.get("true_color")
    if tc is None:
        return "-1"
    return f"{(tc >> 16) & 255} {(tc >> 8) & 255} {tc & 255}"


def hatch_facts(h):
    return {
        "pattern": h.dxf.pattern_name, "solid": h.dxf.solid_fill, "ptype": h.dxf.pattern_type,
        "assoc": h.dxf.associative, "style": h.dxf.hatch_style, "angle": float(h.dxf.get("pattern_angle", 0.0)),
        "scale": float(h.dxf.get("pattern_scale", 1.0)), "color": h.dxf.get("color", 256),
        "true_color": rgb_text(h), "layer": h.dxf.layer, "extrusion": list(h.dxf.extrusion),
        "elevation": h.dxf.elevation.z,
        "paths": [{"flags": p.path_type_flags,
                   "vertices": [[v[0], v[1], v[2] if len(v) > 2 else 0.0] for v in getattr(p, "vertices", [])]}
                  for p in h.paths],
    }


def entity_facts(entity):
    facts = {"type": entity.dxftype(), "layer": entity.dxf.layer, "owner": entity.dxf.get("owner", ""),
             "link": "|".join(entity.get_hyperlink()), "pe_url": pe_url(entity)}
    if entity.dxftype() == "ATTRIB":
        facts["invisible"] = entity.dxf.get("flags", 0) & 1
    return facts


def insert_facts(doc, insert):
    outline = placed_outline(doc, insert)
    facts = {"block": insert.dxf.name, "attribs": [a.dxf.handle for a in insert.attribs],
             "outline": [[v.x, v.y] for v in outline or []], "corners": []}
    block = doc.blocks.get(insert.dxf.name)
    box = bbox.extents(block, fast=True) if block is not None else None
    if box is not None and box.has_data:
        lo, hi, m = box.extmin, box.extmax, insert.matrix44()
        corners = [(lo.x, lo.y, lo.z), (hi.x, lo.y, lo.z), (hi.x, hi.y, lo.z), (lo.x, hi.y, lo.z)]
        facts["corners"] = [list(m.transform(c))[:2] for c in corners]
    return facts


def links(doc):
    msp = doc.modelspace()
    return {
        "audit_errors": len(doc.audit().errors),
        "order": [e.dxf.handle for e in msp.entities_in_redraw_order()],
        "hatches": {h.dxf.handle: hatch_facts(h) for h in msp.query("HATCH")},
        "entities": {e.dxf.handle: entity_facts(e) for e in doc.entitydb.values()
                     if hasattr(e, "get_hyperlink") and e.dxf.get("handle") is not None and e.dxf.hasattr("layer")},
        "inserts": {i.dxf.handle: insert_facts(doc, i) for i in msp.query("INSERT")},
        "layers": {layer.dxf.name: {"color": layer.dxf.color, "true_color": rgb_text(layer)} for layer in doc.layers},
    }


# ---------------------------------------------------------------- report

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


def report(doc):
    facts = {"inserts": [], "hatches": [], "lines": [], "texts": []}
    msp = doc.modelspace()
    sort = dict(msp.get_redraw_order()) if hasattr(msp, "get_redraw_order") else {}
    keyed = sorted(msp, key=lambda e: int(sort.get(e.dxf.handle, e.dxf.handle), 16))
    order = {e.dxf.handle: rank for rank, e in enumerate(keyed)}
    for e in msp:
        t = e.dxftype()
        if t == "INSERT":
            outline = placed_outline(doc, e)
            area, cx, cy = polygon(outline) if outline is not None else (0.0, 0.0, 0.0)
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
    facts["layers"] = {layer.dxf.name: {"on": layer.is_on(), "frozen": layer.is_frozen(),
                                        "locked": layer.is_locked(), "lineweight": layer.dxf.lineweight}
                       for layer in doc.layers}
    facts["linetypes"] = {}
    for lt in doc.linetypes:
        tags = lt.pattern_tags.tags if hasattr(lt, "pattern_tags") else []
        length = next((v for c, v in tags if c == 40), 0.0)
        facts["linetypes"][lt.dxf.name] = [length] + [v for c, v in tags if c == 49]
    return facts


# ---------------------------------------------------------------- takeoff

def takeoff(doc):
    inserts = list(doc.modelspace().query("INSERT"))
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
        outline = placed_outline(doc, ref, closed=True)
        if outline is None:
            continue
        pts = [Vec2(v) for v in outline]
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
            if other is ref or other.dxf.name.upper().startswith(("ROOM-", "MARKER-")):
                continue
            if is_point_in_polygon_2d(Vec2(other.dxf.insert), pts) >= 0:
                inside.append(other.dxf.handle)
            ext = extents.get(other.dxf.handle)
            if ext is not None and box.has_intersection(ext):
                near.append(other.dxf.handle)
        plan["rooms"][ref.dxf.handle] = {"area": area, "perimeter": perimeter, "assets": sorted(inside),
                                         "near": sorted(set(near) | set(inside))}
    return plan


if __name__ == "__main__":
    facts = {"links": links, "report": report, "takeoff": takeoff}[sys.argv[1]](ezdxf.readfile(sys.argv[2]))
    print(json.dumps(facts, ensure_ascii=False))
