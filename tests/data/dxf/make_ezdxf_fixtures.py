#!/usr/bin/python3
"""Writes the ezdxf-made fixtures under tests/data/dxf/ with Debian's
python3-ezdxf 0.18. The files are committed; run this only to regenerate them.

    /usr/bin/python3 tests/data/dxf/make_ezdxf_fixtures.py plans|codepage|numbers|damaged

plans: ezdxf/ezdxf_plan_*.dxf, one drawing per DXF version from R2000 to
R2018 holding the kinds of content CAD users' plans carry (blocks with
attributes, hatches, MTEXT, dimensions, a raster image reference, paper-space
layouts with viewports, extended data of several applications, true colours).

codepage: real/ezdxf_cp1252_attribs_AC1015.dxf, an R2000 drawing in the
ANSI_1252 code page whose texts hold characters of that code page (written as
single bytes: ü 0xFC, ² 0xB2, – 0x96, € 0x80) and characters outside
it (Δ, 北, written by ezdxf as \\U+ escapes), in a layer name, a TEXT, an
MTEXT, a block with attribute definitions and an INSERT with attributes.

numbers: numbers/ezdxf_whole_numbers_AC1015.dxf, one object of each kind whose
whole numbers the reader checks (LWPOLYLINE, INSERT with attributes, TEXT,
ATTDEF, CIRCLE, LINE, HATCH, LAYER, LTYPE, STYLE).

damaged: damaged/zelka_*_AC1015.dxf, a small R2000 drawing, each copy with one
number of a field the drawing database models made malformed, the way
exporters break numbers (decimal comma, a unit after the number, a blank
value, a word, "nan").
"""
import io
import os
import sys

import ezdxf

HERE = os.path.dirname(os.path.abspath(__file__))
VERSIONS = ["R2000", "R2004", "R2007", "R2010", "R2013", "R2018"]
FAULTS = [
    # file, entity type, group code, value written by ezdxf, malformed value
    ("zelka_lwpolyline_decimal_comma_AC1015.dxf", "LWPOLYLINE", 10, "4.125", "4,125"),
    ("zelka_insert_scale_unit_AC1015.dxf", "INSERT", 41, "2.375", "2.375mm"),
    ("zelka_layer_color_blank_AC1015.dxf", "LAYER", 62, "5", ""),
    ("zelka_xdata_real_word_AC1015.dxf", "INSERT", 1040, "12.625", "twelve"),
    ("zelka_circle_radius_nan_AC1015.dxf", "CIRCLE", 40, "3.875", "nan"),
]


def build(version):
    doc = ezdxf.new(version, setup=True)
    doc.header["$INSUNITS"] = 4
    doc.header["$LUNITS"] = 2
    for app in ("ADE", "PE_URL", "OTHERAPP"):
        doc.appids.add(app)
    doc.layers.add("ATT-NAME", color=3)
    doc.layers.add("WALLS", color=1, linetype="DASHED")
    locked = doc.layers.add("LOCKED", color=5)
    locked.lock()
    msp = doc.modelspace()

    room = doc.blocks.new("ROOM-1", base_point=(0, 0))
    room.add_lwpolyline([(0, 0, 0, 0, 0), (4000, 0, 0, 0, 0.5), (4000, 3000), (0, 3000)], format="xyseb", close=True)
    room.add_attdef("NAME", (0, 375), dxfattribs={"height": 250, "layer": "ATT-NAME", "prompt": "Enter Name"})
    room.add_attdef("AREA", (0, 0), dxfattribs={"height": 250, "prompt": "Enter Area"})
    ref = msp.add_blockref("ROOM-1", (10000, 5000), dxfattribs={"rotation": 30})
    ref.add_auto_attribs({"NAME": "Office 1", "AREA": "12.00sq.m."})
    ref.set_xdata("ADE", [(1002, "{"), (1000, "AREA=12.00sq.m."), (1000, "NAME=Office 1"), (1002, "}")])
    ref.set_xdata("PE_URL", [(1000, "http://example.com/room1"), (1002, "{"), (1000, "Room sheet"),
                             (1002, "{"), (1071, 0), (1002, "}"), (1002, "}")])
    ref.set_xdata("OTHERAPP", [(1040, 2.5), (1070, 3), (1071, 123456), (1010, (1, 2, 3)), (1005, "0")])

    msp.add_lwpolyline([(0, 0), (100, 0), (100, 50)], dxfattribs={"layer": "WALLS"})
    msp.add_circle((50, 50), 25, dxfattribs={"true_color": ezdxf.rgb2int((200, 100, 50))} if version != "R2000" else {})
    msp.add_line((0, 0), (10, 10), dxfattribs={"layer": "LOCKED"})
    msp.add_text("Küche Δ", dxfattribs={"height": 2.5, "insert": (5, 5)})
    msp.add_mtext("Line one\\PLine two", dxfattribs={"char_height": 3, "insert": (0, 100)})
    hatch = msp.add_hatch(color=2)
    hatch.paths.add_polyline_path([(0, 0), (10, 0), (10, 10), (0, 10)], is_closed=True)
    pattern = msp.add_hatch(color=4)
    pattern.set_pattern_fill("ANSI31", scale=0.5, angle=45)
    pattern.paths.add_polyline_path([(20, 0), (30, 0), (30, 10), (20, 10)], is_closed=True)
    dim = msp.add_linear_dim(base=(0, -20), p1=(0, 0), p2=(100, 0))
    dim.render()
    image_def = doc.add_image_def(filename="plan.png", size_in_pixel=(640, 480))
    msp.add_image(image_def, insert=(200, 0), size_in_units=(64, 48))
    layout = doc.layouts.new("Sheet A")
    layout.add_viewport(center=(100, 100), size=(150, 100), view_center_point=(50, 50), view_height=200)
    layout.add_text("Title", dxfattribs={"height": 5})
    doc.layouts.get("Layout1").add_line((0, 0), (50, 50))
    return doc


def plans():
    os.makedirs(os.path.join(HERE, "ezdxf"), exist_ok=True)
    for version in VERSIONS:
        doc = build(version)
        path = os.path.join(HERE, "ezdxf", f"ezdxf_plan_{version}_{doc.dxfversion}.dxf")
        doc.saveas(path, encoding="cp1252" if version in ("R2000", "R2004") else "utf8")
        print(path)


def codepage():
    ezdxf.options.write_fixed_meta_data_for_testing = True
    doc = ezdxf.new("R2000")
    doc.header["$INSUNITS"] = 4
    doc.layers.add("Räume", color=3)
    msp = doc.modelspace()
    msp.add_text("Büro 12,5 m² – Größe", dxfattribs={"layer": "Räume", "height": 250, "insert": (0, 0)})
    msp.add_mtext("Fläche Δ=3 m²\\PKosten 40 €, 北",
                  dxfattribs={"layer": "Räume", "char_height": 250, "insert": (0, -1000)})
    block = doc.blocks.new("RAUM")
    block.add_lwpolyline([(0, 0), (4000, 0), (4000, 3000), (0, 3000)], close=True)
    block.add_attdef("NAME", (0, 375), "Raum", dxfattribs={"height": 250, "prompt": "Name eingeben"})
    block.add_attdef("AREA", (0, 0), "0 m²", dxfattribs={"height": 250, "prompt": "Fläche"})
    ref = msp.add_blockref("RAUM", (10000, 0))
    ref.add_auto_attribs({"NAME": "Küche – 1.02", "AREA": "12,00 m²"})
    doc.saveas(os.path.join(HERE, "real", "ezdxf_cp1252_attribs_AC1015.dxf"))


def numbers():
    doc = ezdxf.new("R2000")
    doc.layers.add("ROOMS", color=3)
    msp = doc.modelspace()
    msp.add_lwpolyline([(0, 0), (4, 0), (4, 3)], close=True, dxfattribs={"layer": "ROOMS"})
    msp.add_circle((1, 1), 2, dxfattribs={"color": 2})
    msp.add_line((0, 0), (1, 1), dxfattribs={"lineweight": 35})
    msp.add_text("x", dxfattribs={"height": 1}).set_placement((0, 0), align=ezdxf.enums.TextEntityAlignment.MIDDLE_CENTER)
    b = doc.blocks.new("TAG")
    b.add_attdef("NAME", (0, 0), dxfattribs={"height": 1})
    ref = msp.add_blockref("TAG", (5, 5))
    ref.add_auto_attribs({"NAME": "A"})
    h = msp.add_hatch(color=1)
    h.paths.add_polyline_path([(0, 0), (1, 0), (1, 1)], is_closed=True)
    doc.saveas(os.path.join(HERE, "numbers", "ezdxf_whole_numbers_AC1015.dxf"))


def damaged():
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
    stream = io.StringIO()
    doc.write(stream)
    text = stream.getvalue()
    for name, entity, code, old, new in FAULTS:
        with open(os.path.join(HERE, "damaged", name), "w", newline="") as f:
            f.write(corrupt(text, entity, code, old, new))


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


if __name__ == "__main__":
    {"plans": plans, "codepage": codepage, "numbers": numbers, "damaged": damaged}[sys.argv[1]]()
