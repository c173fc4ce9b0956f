#!/usr/bin/python3
"""Reads what another DXF library sees of space blocks in a saved drawing,
through tests/tools/dxf_oracle.py (ezdxf), and prints it as plain lines the
C++ tests compare:

    space_query.py insert FILE HANDLE
        N <block name>|<layer>
        X <application>|<group code>|<value>        one line per extended-data item
        A <tag>|<layer>|<x>|<y>|<rotation>|<height>|<text>   one line per attribute
    space_query.py area FILE HANDLE
        M <area>|<perimeter>
"""

import json
import os
import subprocess
import sys

ORACLE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools", "dxf_oracle.py")


def oracle(*args):
    out = subprocess.run(["/usr/bin/python3", ORACLE, *args], check=True, capture_output=True, text=True).stdout
    return [json.loads(line) for line in out.splitlines() if line.strip()]


def model_space(dump):
    return dump.get("modelspace") or dump.get("entities") or []


def main(argv):
    kind, path = argv[1], argv[2]
    if kind == "area":
        rec = oracle("area", path, argv[3])[0]
        print(f"M {rec['area']!r}|{rec['perimeter']!r}")
        return 0
    dump = oracle("dump", path)[0]
    entities = model_space(dump)
    if kind == "insert":
        for e in entities:
            if e["type"] == "INSERT" and e["handle"] == argv[3]:
                print(f"N {e['name']}|{e['layer']}")
                for app, tags in e["xdata"].items():
                    for code, value in tags:
                        print(f"X {app}|{code}|{value}")
                for a in e["attribs"]:
                    print(f"A {a['tag']}|{a['layer']}|{a['insert'][0]!r}|{a['insert'][1]!r}|"
                          f"{a['rotation']!r}|{a['height']!r}|{a['text']}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
