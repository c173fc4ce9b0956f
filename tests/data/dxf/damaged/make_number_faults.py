#!/usr/bin/python3
"""Writes the zelka_*_AC1015.dxf fixtures of this folder: a small R2000
drawing written by ezdxf (Debian python3-ezdxf 0.18), each copy with one
number of a field the drawing database models made malformed, the way
exporters break numbers (decimal comma, a unit after the number, a blank
value, a word, "nan").

    make_number_faults.py FOLDER
"""
import os
import sys

import ezdxf

FAULTS = [
    # file, entity type, group code, value written by ezdxf, malformed value
    ("zelka_lwpolyline_decimal_comma_AC1015.dxf", "LWPOLYLINE", 10, "4.125", "4,125"),
    ("zelka_insert_scale_unit_AC1015.dxf", "INSERT", 41, "2.375", "2.375mm"),
    ("zelka_layer_color_blank_AC1015.dxf", "LAYER", 62, "5", ""),
    ("zelka_xdata_real_word_AC1015.dxf", "INSERT", 1040, "12.625", "twelve"),
    ("zelka_circle_radius_nan_AC1015.dxf", "CIRCLE", 40, "3.875", "nan"),
]


def drawing_text():
    doc = ezdxf.new("R2000")
    doc.layers.add("WALLS", color=5)
    doc.appids.add("ADE")
    block = doc.blocks.new("ROOM")
    block.add_line((0, 0), (1, 0))
    msp = doc.modelspace()
    msp.add_lwpolyline([(0, 0), (4.125, 0), (4.125, 3)], dxfattribs={"layer": "WALLS"})
    ref = msp.add_blockref("ROOM", (1, 1), dxfattribs={"xscale": 2.375})
    ref.set_xdata("ADE", [(1000, "kitchen"), (1040, 12.625)])
    msp.add_circle((0, 0), 3.875)
    path = os.path.join(FOLDER, "_base.dxf")
    doc.saveas(path)
    with open(path, newline="") as f:
        text = f.read()
    os.remove(path)
    return text


def corrupt(text, entity, code, old, new):
    lines = text.split("\n")
    current = None
    for i in range(0, len(lines) - 1, 2):
        c, v = int(lines[i]), lines[i + 1]
        if c == 0:
            current = v
        elif current == entity and c == code and v.strip() == old:
            lines[i + 1] = new
            return "\n".join(lines)
    raise SystemExit("no %s %d %s" % (entity, code, old))


FOLDER = sys.argv[1]
base = drawing_text()
for name, entity, code, old, new in FAULTS:
    with open(os.path.join(FOLDER, name), "w", newline="") as f:
        f.write(corrupt(base, entity, code, old, new))
