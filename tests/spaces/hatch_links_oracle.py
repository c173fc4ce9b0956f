#!/usr/bin/python3
"""What ezdxf (Debian python3-ezdxf 0.18) reads of hatches, hyperlinks, layers
and assets in a DXF file, as "key=value" lines for the hatching and asset
tests.  Run it with /usr/bin/python3:  hatch_links_oracle.py FILE

    audit_errors=N
    order=H1,H2,...                 model space in redraw order (handles)
    hatch.H.pattern / .solid / .ptype / .assoc / .style / .angle (degrees)
         / .scale / .color / .true_color ("r g b", or -1) / .layer
         / .extrusion ("x y z") / .elevation / .paths
         / .pathJ.flags / .pathJ.n / .pathJ.vK ("x y bulge", OCS)
    entity.H.type / .layer / .link ("url|description|location" from
         get_hyperlink()) / .pe_url (the raw PE_URL tags "code:value;...")
         / .invisible (ATTRIB only, 0 or 1) / .owner (handle)
    insert.H.block / .attribs (handles) / .outlineK ("x y": the world
         vertices of the first LWPOLYLINE of its block, through ezdxf's
         transformation of the INSERT) / .cornerK ("x y": the corners of
         the bounding box of the block's entities, in block coordinates,
         taken through the INSERT: lower-left, lower-right, upper-right,
         upper-left)
    layer.NAME.color / .true_color
"""
import sys

import ezdxf
from ezdxf import bbox


def fmt(v):
    return repr(float(v))


def link_text(entity):
    return "|".join(entity.get_hyperlink())


def pe_url(entity):
    if not entity.xdata or "PE_URL" not in entity.xdata:
        return ""
    return ";".join(f"{t.code}:{t.value}" for t in entity.get_xdata("PE_URL"))


def rgb(entity):
    tc = entity.dxf.get("true_color")
    if tc is None:
        return "-1"
    return f"{(tc >> 16) & 255} {(tc >> 8) & 255} {tc & 255}"


def main(path):
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    print(f"audit_errors={len(auditor.errors)}")
    msp = doc.modelspace()
    print("order=" + ",".join(e.dxf.handle for e in msp.entities_in_redraw_order()))
    for h in msp.query("HATCH"):
        p = f"hatch.{h.dxf.handle}."
        print(p + f"pattern={h.dxf.pattern_name}")
        print(p + f"solid={h.dxf.solid_fill}")
        print(p + f"ptype={h.dxf.pattern_type}")
        print(p + f"assoc={h.dxf.associative}")
        print(p + f"style={h.dxf.hatch_style}")
        print(p + f"angle={fmt(h.dxf.get('pattern_angle', 0.0))}")
        print(p + f"scale={fmt(h.dxf.get('pattern_scale', 1.0))}")
        print(p + f"color={h.dxf.get('color', 256)}")
        print(p + f"true_color={rgb(h)}")
        print(p + f"layer={h.dxf.layer}")
        print(p + "extrusion=" + " ".join(fmt(c) for c in h.dxf.extrusion))
        print(p + f"elevation={fmt(h.dxf.elevation.z)}")
        print(p + f"paths={len(h.paths)}")
        for j, path_ in enumerate(h.paths):
            q = p + f"path{j}."
            print(q + f"flags={path_.path_type_flags}")
            vertices = list(getattr(path_, "vertices", []))
            print(q + f"n={len(vertices)}")
            for k, v in enumerate(vertices):
                print(q + f"v{k}={fmt(v[0])} {fmt(v[1])} {fmt(v[2] if len(v) > 2 else 0.0)}")
    for entity in doc.entitydb.values():
        if not hasattr(entity, "get_hyperlink") or entity.dxf.get("handle") is None:
            continue
        if not entity.dxf.hasattr("layer"):
            continue
        p = f"entity.{entity.dxf.handle}."
        print(p + f"type={entity.dxftype()}")
        print(p + f"layer={entity.dxf.layer}")
        print(p + f"owner={entity.dxf.get('owner', '')}")
        print(p + f"link={link_text(entity)}")
        print(p + f"pe_url={pe_url(entity)}")
        if entity.dxftype() == "ATTRIB":
            print(p + f"invisible={entity.dxf.get('flags', 0) & 1}")
    for insert in msp.query("INSERT"):
        p = f"insert.{insert.dxf.handle}."
        print(p + f"block={insert.dxf.name}")
        print(p + "attribs=" + ",".join(a.dxf.handle for a in insert.attribs))
        block = doc.blocks.get(insert.dxf.name)
        m = insert.matrix44()
        outline = next(iter(block.query("LWPOLYLINE")), None) if block is not None else None
        if outline is not None:
            for k, v in enumerate(outline.vertices_in_wcs()):
                w = m.transform(v)
                print(p + f"outline{k}={fmt(w.x)} {fmt(w.y)}")
        if block is not None:
            box = bbox.extents(block, fast=True)
            if box.has_data:
                lo, hi = box.extmin, box.extmax
                for k, c in enumerate([(lo.x, lo.y, lo.z), (hi.x, lo.y, lo.z), (hi.x, hi.y, lo.z), (lo.x, hi.y, lo.z)]):
                    w = m.transform(c)
                    print(p + f"corner{k}={fmt(w.x)} {fmt(w.y)}")
    for layer in doc.layers:
        p = f"layer.{layer.dxf.name}."
        print(p + f"color={layer.dxf.color}")
        print(p + f"true_color={rgb(layer)}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
