#!/usr/bin/python3
"""Reads a DXF file with ezdxf (Debian python3-ezdxf 0.18) and prints one
JSON line per Python expression, evaluated with the document as `doc`,
helpers `layout(name)` and `viewports(name)` (the VIEWPORT entities of a
layout in order), and `audit` (the list of audit error messages):

    layout_check.py FILE EXPR...

A file ezdxf cannot read prints {"error": "..."} and exits with status 2.
"""
import json
import sys

import ezdxf

try:
    doc = ezdxf.readfile(sys.argv[1])
except Exception as e:  # noqa: BLE001 - any failure to read is the answer
    print(json.dumps({"error": str(e)}))
    sys.exit(2)

auditor = doc.audit()
audit = [str(e.message) for e in auditor.errors]


def layout(name):
    return doc.layouts.get(name)


def viewports(name):
    return [e for e in doc.layouts.get(name) if e.dxftype() == "VIEWPORT"]


for expr in sys.argv[2:]:
    print(json.dumps(eval(expr)))  # noqa: S307 - expressions come from the tests
