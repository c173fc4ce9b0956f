#!/usr/bin/python3
"""Flattens `dxf_oracle.py dump FILE` into tab-separated lines the command tests read.

    space_facts.py FILE

    INSERT  handle  block-name  x  y  layer  rotation   every model-space block reference
    ATTRIB  tag  layer  x  y  height  rotation  text      its attributes
    XDATA   ADE|AECXDATA  text                  its 1000 items under those applications
    BLOCK   name                                every block definition with attribute definitions
    ATTDEF  tag  layer  x  y  height  rotation  default
    LAYER   name  on|off  locked|unlocked
    LWPOLYLINE  handle  layer                   model-space polylines
    BLOCKPOLY  block  handle  closed  x,y,bulge;...   polylines of every block, model space included
    AUDIT   errors  fixes                       ezdxf's audit of the file
"""

import json
import os
import subprocess
import sys

import ezdxf

ORACLE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools", "dxf_oracle.py")


def clean(text):
    return str(text).replace("\t", "\\t").replace("\n", "\\n")


def attrib_line(kind, a, text):
    x, y = a["insert"][0], a["insert"][1]
    return "\t".join([kind, clean(a["tag"]), clean(a["layer"]), repr(x), repr(y), repr(a["height"]),
                      repr(a["rotation"]), clean(text)])


def main():
    path = sys.argv[1]
    run = subprocess.run([sys.executable, ORACLE, "dump", path], capture_output=True, text=True)
    if run.returncode != 0:
        print("ERROR\t" + clean(run.stdout + run.stderr))
        return 1
    dump = json.loads(run.stdout)
    out = []
    for e in dump["modelspace"]:
        if e["type"] == "LWPOLYLINE":
            out.append("\t".join(["LWPOLYLINE", e["handle"], clean(e["layer"])]))
        if e["type"] != "INSERT":
            continue
        out.append("\t".join(["INSERT", e["handle"], clean(e["name"]), repr(e["insert"][0]), repr(e["insert"][1]),
                               clean(e["layer"]), repr(float(e["rotation"]))]))
        for a in e["attribs"]:
            out.append(attrib_line("ATTRIB", a, a["text"]))
        for app in ("ADE", "AECXDATA"):
            for code, value in e["xdata"].get(app, []):
                if code == 1000:
                    out.append("\t".join(["XDATA", app, clean(value)]))
    for name, block in dump["blocks"].items():
        defs = [x for x in block["entities"] if x["type"] == "ATTDEF"]
        if defs:
            out.append("BLOCK\t" + clean(name))
            out.extend(attrib_line("ATTDEF", d, d["text"]) for d in defs)
    doc = ezdxf.readfile(path)
    for layer in doc.layers:
        out.append("\t".join(["LAYER", clean(layer.dxf.name), "on" if layer.is_on() else "off",
                               "locked" if layer.is_locked() else "unlocked"]))
    for block in doc.blocks:
        for e in block.query("LWPOLYLINE"):
            points = ";".join(f"{x!r},{y!r},{b!r}" for x, y, b in e.get_points("xyb"))
            out.append("\t".join(["BLOCKPOLY", clean(block.name), e.dxf.handle, "1" if e.closed else "0", points]))
    auditor = doc.audit()
    out.append("\t".join(["AUDIT", str(len(auditor.errors)), str(len(auditor.fixes))]))
    print("\n".join(out))
    return 0


if __name__ == "__main__":
    sys.exit(main())
