"""Compares an R12 drawing with the same drawing after it was opened and saved
by zelka: the saved file must audit clean in ezdxf and hold the same entities
(type, layer, colour, linetype, geometry, attribute tags and texts) in model
space, paper space and every named block, the same layers and linetypes and
the same block base points. Prints OK, or one line per difference.
Usage: r12_compare.py ORIGINAL.dxf SAVED.dxf"""
import sys

import logging

import ezdxf
from ezdxf import recover


def rnd(v):
    try:
        return tuple(round(float(c), 6) for c in v)
    except TypeError:
        return round(float(v), 6)


def describe(e):
    t = e.dxftype()
    d = e.dxf
    out = [t, d.get("layer", "0"), d.get("color", 256), d.get("linetype", "BYLAYER").upper()]
    if t == "LINE":
        out += [rnd(d.start), rnd(d.end)]
    elif t in ("CIRCLE", "ARC"):
        out += [rnd(d.center), rnd(d.radius)]
        if t == "ARC":
            out += [rnd(d.start_angle), rnd(d.end_angle)]
    elif t in ("TEXT", "ATTRIB", "ATTDEF"):
        out += [d.get("text", ""), rnd(d.insert), rnd(d.get("height", 0)), rnd(d.get("rotation", 0)),
                d.get("halign", 0), d.get("valign", 0), rnd(d.get("align_point", (0, 0, 0)))]
        if t != "TEXT":
            out += [d.get("tag", ""), d.get("flags", 0)]
    elif t == "POLYLINE":
        out += [d.get("flags", 0), [(rnd(v.dxf.location), rnd(v.dxf.get("bulge", 0)), v.dxf.get("flags", 0))
                                     for v in e.vertices]]
    elif t == "INSERT":
        out += [d.name, rnd(d.insert), rnd(d.get("xscale", 1)), rnd(d.get("yscale", 1)), rnd(d.get("rotation", 0)),
                [(a.dxf.tag, a.dxf.text, rnd(a.dxf.insert)) for a in e.attribs]]
    return out


def space(doc, layout):
    return [describe(e) for e in layout]


def main():
    logging.disable(logging.WARNING)  # ezdxf logs what its recovering reader skips
    original = recover.readfile(sys.argv[1])[0]  # files with empty handles need the recovering reader
    saved = ezdxf.readfile(sys.argv[2])
    problems = []
    auditor = saved.audit()
    for err in auditor.errors:
        problems.append("audit error: %s" % err.message)
    for fix in auditor.fixes:
        problems.append("audit fix: %s" % fix.message)
    if saved.dxfversion < "AC1015":
        problems.append("saved as %s" % saved.dxfversion)
    pairs = [("model space", original.modelspace(), saved.modelspace()),
             ("paper space", original.layout("Layout1"), saved.layout(saved.layout_names_in_taborder()[1]))]
    for block in original.blocks:
        if block.name.lower().startswith(("$", "*model", "*paper")):
            continue
        other = saved.blocks.get(block.name)
        if other is None:
            problems.append("block %s missing" % block.name)
            continue
        if rnd(block.block.dxf.base_point) != rnd(other.block.dxf.base_point):
            problems.append("block %s base point %s != %s" % (block.name, rnd(block.block.dxf.base_point),
                                                               rnd(other.block.dxf.base_point)))
        pairs.append(("block " + block.name, block, other))
    for name, a, b in pairs:
        ea, eb = space(original, a), space(saved, b)
        if ea != eb:
            problems.append("%s differs:\n  %s\n  %s" % (name, ea, eb))
    la = sorted((l.dxf.name.upper(), l.dxf.color, l.dxf.linetype.upper()) for l in original.layers)
    lb = sorted((l.dxf.name.upper(), l.dxf.color, l.dxf.linetype.upper()) for l in saved.layers)
    missing = [l for l in la if l not in lb]
    if missing:
        problems.append("layers missing or changed: %s" % missing)
    ta = {(t.dxf.name.upper(), tuple(rnd(x.value) for x in t.pattern_tags.tags if x.code in (40, 49))) for t in original.linetypes}
    tb = {(t.dxf.name.upper(), tuple(rnd(x.value) for x in t.pattern_tags.tags if x.code in (40, 49))) for t in saved.linetypes}
    for lt in sorted(ta - tb):
        problems.append("linetype %s missing or changed" % (lt,))
    print("\n".join(problems) if problems else "OK")


main()
