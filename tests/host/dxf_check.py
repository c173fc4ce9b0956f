#!/usr/bin/python3
"""Reads a DXF file with ezdxf (Debian python3-ezdxf 0.18) and prints, as one
JSON object, what an independent reader sees: the audit result and the
entities of model space and of every block with the values the drawing
database models. Used by the host tests to check files Zelka writes.

    dxf_check.py FILE               the whole report as one JSON object
    dxf_check.py FILE EXPR...       one JSON line per Python expression evaluated
                                    over the report's fields, e.g. "len(modelspace)"

Output: {"version", "audit_errors": [..], "audit_fixes": [..], "layers": {name: {...}},
         "appids": [..], "blocks": {name: [entity, ...]}, "modelspace": [entity, ...]}
A file ezdxf cannot read gives {"error": "..."} and exit status 2.
"""
import json
import sys

import ezdxf


def xdata_of(e):
    out = {}
    if e.xdata is None:
        return out
    for app in e.xdata.data:
        out[app] = [[code, list(value) if isinstance(value, tuple) else value] for code, value in e.xdata.get(app)]
    return out


def entity(e):
    d = {"type": e.dxftype(), "handle": e.dxf.handle, "layer": e.dxf.layer,
         "owner": e.dxf.owner, "xdata": xdata_of(e)}
    t = e.dxftype()
    if t == "INSERT":
        d["name"] = e.dxf.name
        d["insert"] = list(e.dxf.insert)
        d["rotation"] = e.dxf.rotation
        d["scale"] = [e.dxf.xscale, e.dxf.yscale, e.dxf.zscale]
        d["attribs"] = [{"tag": a.dxf.tag, "text": a.dxf.text, "layer": a.dxf.layer,
                         "insert": list(a.dxf.insert), "height": a.dxf.height,
                         "owner": a.dxf.owner, "xdata": xdata_of(a)} for a in e.attribs]
    elif t in ("TEXT", "ATTDEF"):
        d["text"] = e.dxf.text
        d["insert"] = list(e.dxf.insert)
        d["height"] = e.dxf.height
        d["rotation"] = e.dxf.rotation
        d["style"] = e.dxf.style
        if t == "ATTDEF":
            d["tag"] = e.dxf.tag
            d["prompt"] = e.dxf.prompt
            d["flags"] = e.dxf.flags
    elif t == "LWPOLYLINE":
        d["closed"] = e.closed
        d["points"] = [[p[0], p[1], p[4]] for p in e.get_points("xyseb")]
    elif t == "CIRCLE":
        d["center"] = list(e.dxf.center)
        d["radius"] = e.dxf.radius
    elif t == "LINE":
        d["start"] = list(e.dxf.start)
        d["end"] = list(e.dxf.end)
    if e.dxf.hasattr("color"):
        d["color"] = e.dxf.color
    if e.dxf.hasattr("true_color"):
        d["true_color"] = e.dxf.true_color
    return d


def main():
    path = sys.argv[1]
    try:
        doc = ezdxf.readfile(path)
    except Exception as exc:  # any failure to read is the finding itself
        print(json.dumps({"error": f"{type(exc).__name__}: {exc}"}))
        sys.exit(2)
    auditor = doc.audit()
    out = {
        "version": doc.dxfversion,
        "audit_errors": [f"{err.code}: {err.message}" for err in auditor.errors],
        "audit_fixes": [f"{fix.code}: {fix.message}" for fix in auditor.fixes],
        "layers": {l.dxf.name: {"color": l.dxf.color, "frozen": l.is_frozen(), "locked": l.is_locked(),
                                "off": l.is_off(), "plot": l.dxf.plot, "lineweight": l.dxf.lineweight,
                                "linetype": l.dxf.linetype}
                   for l in doc.layers},
        "appids": [a.dxf.name for a in doc.appids],
        "linetypes": {lt.dxf.name: [float(t.value) for t in lt.pattern_tags.tags if t.code in (40, 49)]
                      for lt in doc.linetypes},
        "modelspace": [entity(e) for e in doc.modelspace()],
        "blocks": {b.name: [entity(e) for e in b] for b in doc.blocks
                   if not b.name.lower().startswith(("*model_space", "*paper_space"))},
        "header": {k: (list(doc.header[k]) if isinstance(doc.header[k], tuple) else doc.header[k])
                   for k in ("$HANDSEED", "$INSUNITS", "$LUNITS", "$SORTENTS", "$CLAYER") if k in doc.header},
    }
    if len(sys.argv) > 2:
        for expr in sys.argv[2:]:
            try:
                value = eval(expr, {"len": len, "sorted": sorted, "round": round, "abs": abs}, out)
            except Exception as exc:  # report the failing expression instead of a traceback
                value = f"!{type(exc).__name__}: {exc}"
            print(json.dumps(value, ensure_ascii=False, default=str))
    else:
        print(json.dumps(out, ensure_ascii=False, default=str))


if __name__ == "__main__":
    main()
