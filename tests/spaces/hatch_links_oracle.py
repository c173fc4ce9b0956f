#!/usr/bin/python3
"""What ezdxf (Debian python3-ezdxf 0.18) reads of hatches, hyperlinks, layers
and assets in a DXF file, as one JSON document for the hatching and asset
tests.  Run it with /usr/bin/python3:  hatch_links_oracle.py FILE

    audit_errors                    the number of errors of ezdxf's audit
    order                           model space handles in redraw order
    hatches[H]   pattern solid ptype assoc style angle (degrees) scale color
                 true_color ("r g b", or "-1") layer extrusion elevation
                 paths: [{flags, vertices: [[x, y, bulge], ...] (OCS)}]
    entities[H]  type layer owner link ("url|description|location" from
                 get_hyperlink()) pe_url (the raw PE_URL tags "code:value;...")
                 invisible (ATTRIB only, 0 or 1)
    inserts[H]   block attribs (handles) outline ([x, y]: the world vertices
                 of the first LWPOLYLINE of its block, through ezdxf's
                 transformation of the INSERT) corners ([x, y]: the corners of
                 the bounding box of the block's entities, in block
                 coordinates, taken through the INSERT: lower-left,
                 lower-right, upper-right, upper-left)
    layers[NAME] color true_color
"""
import json
import sys

import ezdxf
from ezdxf import bbox


def pe_url(entity):
    if not entity.xdata or "PE_URL" not in entity.xdata:
        return ""
    return ";".join(f"{t.code}:{t.value}" for t in entity.get_xdata("PE_URL"))


def rgb(entity):
    tc = entity.dxf.get("true_color")
    if tc is None:
        return "-1"
    return f"{(tc >> 16) & 255} {(tc >> 8) & 255} {tc & 255}"


def hatch_facts(h):
    return {
        "pattern": h.dxf.pattern_name, "solid": h.dxf.solid_fill, "ptype": h.dxf.pattern_type,
        "assoc": h.dxf.associative, "style": h.dxf.hatch_style, "angle": float(h.dxf.get("pattern_angle", 0.0)),
        "scale": float(h.dxf.get("pattern_scale", 1.0)), "color": h.dxf.get("color", 256), "true_color": rgb(h),
        "layer": h.dxf.layer, "extrusion": list(h.dxf.extrusion), "elevation": h.dxf.elevation.z,
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
    facts = {"block": insert.dxf.name, "attribs": [a.dxf.handle for a in insert.attribs], "outline": [], "corners": []}
    block = doc.blocks.get(insert.dxf.name)
    if block is None:
        return facts
    m = insert.matrix44()
    outline = next(iter(block.query("LWPOLYLINE")), None)
    if outline is not None:
        facts["outline"] = [list(m.transform(v))[:2] for v in outline.vertices_in_wcs()]
    box = bbox.extents(block, fast=True)
    if box.has_data:
        lo, hi = box.extmin, box.extmax
        corners = [(lo.x, lo.y, lo.z), (hi.x, lo.y, lo.z), (hi.x, hi.y, lo.z), (lo.x, hi.y, lo.z)]
        facts["corners"] = [list(m.transform(c))[:2] for c in corners]
    return facts


def main(path):
    doc = ezdxf.readfile(path)
    msp = doc.modelspace()
    print(json.dumps({
        "audit_errors": len(doc.audit().errors),
        "order": [e.dxf.handle for e in msp.entities_in_redraw_order()],
        "hatches": {h.dxf.handle: hatch_facts(h) for h in msp.query("HATCH")},
        "entities": {e.dxf.handle: entity_facts(e) for e in doc.entitydb.values()
                     if hasattr(e, "get_hyperlink") and e.dxf.get("handle") is not None and e.dxf.hasattr("layer")},
        "inserts": {i.dxf.handle: insert_facts(doc, i) for i in msp.query("INSERT")},
        "layers": {layer.dxf.name: {"color": layer.dxf.color, "true_color": rgb(layer)} for layer in doc.layers},
    }, ensure_ascii=False))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
