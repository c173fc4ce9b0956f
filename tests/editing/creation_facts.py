#!/usr/bin/python3
"""What ezdxf reads in a drawing the creation commands saved, as tab-separated lines.

    creation_facts.py FILE

    INSERT     handle  block  x  y  layer  rotation  z-of-extrusion    every model-space block reference
    ATTRIB     tag  layer  x  y  height  rotation  text                  its attributes, in order
    XDATA      text                                                      its 1000 items under "ADE"
    BLOCKPOLY  block  handle  closed  x,y,bulge;...                      LWPOLYLINEs of block definitions
    ATTDEF     block  tag  layer  x  y  height  rotation                 attribute definitions of "ROOM-" blocks
    MSPOLY     handle  layer                                             model-space LWPOLYLINEs
    AUDIT      errors  fixes                                             ezdxf's audit of the file
"""

import sys

import ezdxf


def clean(text):
    return str(text).replace("\t", "\\t").replace("\n", "\\n")


def num(value):
    return repr(float(value))


def main():
    doc = ezdxf.readfile(sys.argv[1])
    out = []
    msp = doc.modelspace()
    for e in msp:
        kind = e.dxftype()
        if kind == "LWPOLYLINE":
            out.append("\t".join(["MSPOLY", e.dxf.handle, clean(e.dxf.layer)]))
        if kind != "INSERT":
            continue
        out.append("\t".join(["INSERT", e.dxf.handle, clean(e.dxf.name), num(e.dxf.insert.x), num(e.dxf.insert.y),
                              clean(e.dxf.layer), num(e.dxf.get("rotation", 0.0)),
                              num(e.dxf.get("extrusion", (0, 0, 1))[2])]))
        for a in e.attribs:
            out.append("\t".join(["ATTRIB", clean(a.dxf.tag), clean(a.dxf.layer), num(a.dxf.insert.x),
                                  num(a.dxf.insert.y), num(a.dxf.height), num(a.dxf.get("rotation", 0.0)),
                                  clean(a.dxf.text)]))
        if e.has_xdata("ADE"):
            for code, value in e.get_xdata("ADE"):
                if code == 1000:
                    out.append("XDATA\t" + clean(value))
    for block in doc.blocks:
        for e in block:
            if e.dxftype() == "LWPOLYLINE":
                points = ";".join(f"{x!r},{y!r},{b!r}" for x, y, b in e.get_points("xyb"))
                out.append("\t".join(["BLOCKPOLY", clean(block.name), e.dxf.handle, "1" if e.closed else "0",
                                      points]))
            elif e.dxftype() == "ATTDEF" and block.name.upper().startswith("ROOM-"):
                out.append("\t".join(["ATTDEF", clean(block.name), clean(e.dxf.tag), clean(e.dxf.layer),
                                      num(e.dxf.insert.x), num(e.dxf.insert.y), num(e.dxf.height),
                                      num(e.dxf.get("rotation", 0.0))]))
    auditor = doc.audit()
    out.append("\t".join(["AUDIT", str(len(auditor.errors)), str(len(auditor.fixes))]))
    print("\n".join(out))
    return 0


if __name__ == "__main__":
    sys.exit(main())
