#!/usr/bin/python3
"""Reads a DXF file with ezdxf (Debian python3-ezdxf 0.18) and prints one
JSON line per Python expression, evaluated with the document as `doc`,
`audit` (the list of audit error messages) and the helpers below:

    ezdxf_eval.py FILE EXPR...

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
    """The VIEWPORT entities of a layout, in order."""
    return [e for e in doc.layouts.get(name) if e.dxftype() == "VIEWPORT"]


def layer(name):
    """What a layer record holds, as the database models it."""
    l = doc.layers.get(name)
    return {"color": l.dxf.color, "frozen": l.is_frozen(), "locked": l.is_locked(), "off": l.is_off(),
            "plot": l.dxf.plot, "lineweight": l.dxf.lineweight, "linetype": l.dxf.linetype}


def linetype(name):
    """The pattern length and the dash lengths of a linetype."""
    return [float(t.value) for t in doc.linetypes.get(name).pattern_tags.tags if t.code in (40, 49)]


def xdata(e):
    """An entity's extended data: {application: [[code, value], ...]}."""
    if e.xdata is None:
        return {}
    return {app: [[code, list(value) if isinstance(value, tuple) else value] for code, value in e.xdata.get(app)]
            for app in e.xdata.data}


for expr in sys.argv[2:]:
    print(json.dumps(eval(expr)))  # noqa: S307 - expressions come from the tests
