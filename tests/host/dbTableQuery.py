#!/usr/bin/python3
"""What ezdxf (through tests/tools/dxf_oracle.py) sees of the tables in a
saved drawing, as key=value lines for tests/host/dbTableTest.cpp:

    dbTableQuery.py FILE
        audit=<errors>                        ezdxf audit errors (count), then audit.error=<message> lines
        classes=<names>                       CLASS records, comma separated
        style.<name>=<handle>                 entries of the ACAD_TABLESTYLE dictionary
        reactors.<name>=<handles>             the reactors of each of those styles
        block.<name>=<record handle>|<flags>  every block definition
        table=<handle>|<owner>|<block name>|<343 record>|<342 style>|<rows>|<columns>
        heights=<141 values>  widths=<142 values>
        cell.<row>.<col>=<type>|<merged>|<colspan>|<rowspan>|<block>|<format>|<pieces>|<height>|<alignment>|<autofit>|<overrides>|<piece bytes>|<codes>
        text.<row>.<col>=<text>               cells with text
        tblock.lines=<count>                  LINEs of the table's block
        tblock.line=<x0> <y0> <x1> <y1>
        tblock.text=<x> <y> <height> <halign> <valign>|<text>   TEXT by its alignment point
        tblock.insert=<block> <x> <y> <xscale> <yscale>
Only the first table is reported. Numbers are Python reprs (exact).
"""

import json
import os
import subprocess
import sys

ORACLE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools", "dxf_oracle.py")


def oracle(*args):
    run = subprocess.run(["/usr/bin/python3", ORACLE, *args], capture_output=True, text=True)
    return [json.loads(line) for line in run.stdout.splitlines() if line.strip()]


def show(value):
    return "" if value is None else str(value)


def main(path):
    audit = oracle("audit", path)[0]
    print(f"audit={len(audit.get('errors', [])) if 'errors' in audit else 'unreadable'}")
    for e in audit.get("errors", []):
        print(f"audit.error={e['message']}")
    info = oracle("table", path)[0]
    print("classes=" + ",".join(info["classes"]))
    for name, handle in info["styles"].items():
        print(f"style.{name}={handle}")
    for name, handles in info["style_reactors"].items():
        print(f"reactors.{name}=" + ",".join(handles))
    dump = oracle("dump", path)[0]
    for name, block in dump["blocks"].items():
        print(f"block.{name}={block['handle']}|{block['flags']}")
    if not info["tables"]:
        return 0
    t = info["tables"][0]
    print(f"table={t['handle']}|{t['owner']}|{t['block_name']}|{t['block_record']}|{t['style']}|{t['rows']}|{t['columns']}")
    print("heights=" + " ".join(repr(v) for v in t["row_heights"]))
    print("widths=" + " ".join(repr(v) for v in t["column_widths"]))
    cols = t["columns"] or 1
    for k, c in enumerate(t["cells"]):
        r, col = divmod(k, cols)
        fields = [c.get("type"), c.get("merged"), c.get("colspan"), c.get("rowspan"), c.get("block"), c["format"],
                  ",".join(str(p) for p in c["pieces"]), c.get("height"), c.get("alignment"), c.get("autofit"),
                  c.get("overrides"), ",".join(str(n) for n in c["piece_bytes"]), ",".join(str(n) for n in c["codes"])]
        print(f"cell.{r}.{col}=" + "|".join(show(f) for f in fields))
        if isinstance(c["text"], dict):
            print(f"text.{r}.{col}=BAD ORDER {c['text']}")
        elif c["text"]:
            print(f"text.{r}.{col}={c['text']}")
    block = dump["blocks"].get(t["block_name"], {"entities": []})
    lines = [e for e in block["entities"] if e["type"] == "LINE"]
    print(f"tblock.lines={len(lines)}")
    for e in lines:
        print("tblock.line=" + " ".join(repr(v) for v in (e["start"][0], e["start"][1], e["end"][0], e["end"][1])))
    for e in block["entities"]:
        if e["type"] == "TEXT":
            p = e["align_point"] or e["insert"]
            print(f"tblock.text={p[0]!r} {p[1]!r} {e['height']!r} {e['halign']} {e['valign']}|{e['text']}")
        elif e["type"] == "INSERT":
            print(f"tblock.insert={e['name']} {e['insert'][0]!r} {e['insert'][1]!r} {e['scale'][0]!r} {e['scale'][1]!r}")
        elif e["type"] != "LINE":
            print(f"tblock.other={e['type']}")
    return 0


if __name__ == "__main__":
    sys.stdout.reconfigure(encoding="utf-8", errors="backslashreplace")
    sys.exit(main(sys.argv[1]))
