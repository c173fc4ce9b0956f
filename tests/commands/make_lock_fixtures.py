#!/usr/bin/python3
"""Writes the drawings of the locked-layer and hyperlink tests (tests/data/commands/).

    /usr/bin/python3 tests/commands/make_lock_fixtures.py

locked-att-name.dxf, locked-att-area.dxf, locked-att-aux.dxf: one millimetre
drawing in three copies, each with one attribute layer locked (LAYER group
70 bit 4, as CAD programs store it). Three space blocks whose records are
out of date, so every maintenance command has something to write:

  ROOM-1  Room Alpha  3000 x 4000 mm = 12.00 m2, 14 m   record and labels say 11.00 / 13.00
  ROOM-2  Room Beta   2000 x 3000 mm =  6.00 m2, 10 m   record and labels say  5.00 /  9.00
  ROOM-3  Room Gamma  2500 x 2000 mm =  5.00 m2,  9 m   NAME and AREA only (no AUX attribute)

The record's NAME item is the name attribute's text. Attribute text height
200 (the preferences' size is 250), NAME 300 above AREA, AUX 300 below.

links.dxf: two space blocks with hyperlinks in "PE_URL" extended data the
way CAD programs store them. ROOM-1's reference carries a link with a
description, a sub-location and the option flag 1, then a bare address; the
outline of its definition carries a link of its own with a sub-location.
ROOM-2 has none.

tests/regressions/: the same faults once more on the smallest drawings that
showed them, written as R2000 files:
maux-locked-aux.dxf (one room whose AUX attribute and definition lie on the
locked ATT-AUX), mus-locked-name.dxf (one room whose NAME attribute "Real
Name" lies on the locked ATT-NAME) and mus-links.dxf (one room whose
reference carries a link with a sub-location).
"""

import os
import sys

import ezdxf

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "data", "commands")
H = 200.0


def record(area, perimeter, name):
    items = [f"AREA={area}sq.m.", f"PERIMETER={perimeter}m.", f"NAME={name}", "TAGTYPE=ROOM", "AREA_TYPE=NET",
             "COST_CENTRE=CC-9", "DATE=2024-03-01", "DATE_L_MOVE=<Not Set>", "DEPT_CHARGE=D07",
             "ROOM_HEIGHT=2.70m.", "SPECIAL_REQ=<Not Set>", "TOT_STAFF=4", "TOT_WKSTNS=5",
             "VOLUME=0.00cu.m.", "HANDLESTOMINUS=", "HANDLESTOADD="]
    return [(1002, "{")] + [(1000, i) for i in items] + [(1002, "}")]


def space(doc, msp, number, w, d, at, attribs, xdata):
    name = f"ROOM-{number}"
    block = doc.blocks.new(name)
    outline = block.add_lwpolyline([(-w / 2, -d / 2), (w / 2, -d / 2), (w / 2, d / 2), (-w / 2, d / 2)], close=True)
    common = {"height": H, "rotation": 0.0, "width": 1.0}
    places = {"AREA": ("ATT-AREA", (0.0, 0.0)), "NAME": ("ATT-NAME", (0.0, 1.5 * H)),
              "AUX": ("ATT-AUX", (0.0, -1.5 * H))}
    for tag in ("AREA", "NAME", "AUX"):
        if tag in attribs:
            layer, pos = places[tag]
            block.add_attdef(tag, pos, "DEFAULT " + tag, dxfattribs=dict(common, prompt="Enter " + tag, layer=layer))
    block.block.dxf.flags = 2
    ref = msp.add_blockref(name, at, dxfattribs={"layer": "ROOMS"})
    ref.add_auto_attribs(attribs)
    ref.set_xdata("ADE", xdata)
    return ref, outline


def locked(layer):
    doc = ezdxf.new("R2013")
    doc.header["$INSUNITS"] = 4
    doc.header["$LUNITS"] = 2
    for name in ("ROOMS", "ATT-NAME", "ATT-AREA", "ATT-AUX"):
        doc.layers.add(name)
    doc.layers.get(layer).lock()
    doc.appids.add("ADE")
    msp = doc.modelspace()
    space(doc, msp, 1, 3000, 4000, (5000, 5000), {"NAME": "Room Alpha", "AREA": "11.00sq.m.", "AUX": "13.00m."},
          record("11.00", "13.00", "Room Alpha"))
    space(doc, msp, 2, 2000, 3000, (10000, 5000), {"NAME": "Room Beta", "AREA": "5.00sq.m.", "AUX": "9.00m."},
          record("5.00", "9.00", "Room Beta"))
    space(doc, msp, 3, 2500, 2000, (15000, 5000), {"NAME": "Room Gamma", "AREA": "5.00sq.m."},
          record("5.00", "9.00", "Room Gamma"))
    return doc


def links():
    doc = ezdxf.new("R2013")
    doc.header["$INSUNITS"] = 4
    doc.header["$LUNITS"] = 2
    for name in ("ROOMS", "ATT-NAME", "ATT-AREA", "ATT-AUX"):
        doc.layers.add(name)
    doc.appids.add("ADE")
    doc.appids.add("PE_URL")
    msp = doc.modelspace()
    ref, outline = space(doc, msp, 1, 3000, 4000, (5000, 5000),
                         {"NAME": "Room Alpha", "AREA": "12.00sq.m.", "AUX": "14.00m."},
                         record("12.00", "14.00", "Room Alpha"))
    ref.set_xdata("PE_URL", [(1000, "plans/level1.pdf"), (1002, "{"), (1000, "Level 1 plan"),
                             (1000, "Sheet A-101"), (1002, "{"), (1071, 1), (1002, "}"), (1002, "}"),
                             (1000, "https://example.org/rooms/alpha")])
    outline.set_xdata("PE_URL", [(1000, "specs/alpha.docx"), (1002, "{"), (1000, "Fit-out"),
                                 (1000, "Section 3"), (1002, "{"), (1071, 0), (1002, "}"), (1002, "}")])
    space(doc, msp, 2, 2000, 3000, (10000, 5000), {"NAME": "Room Beta", "AREA": "6.00sq.m.", "AUX": "10.00m."},
          record("6.00", "10.00", "Room Beta"))
    return doc


def regression(version, lock=None, link=False):
    doc = ezdxf.new(version)
    doc.header["$INSUNITS"] = 4
    doc.header["$LUNITS"] = 2
    for name in ("ROOMS", "ATT-NAME", "ATT-AREA", "ATT-AUX"):
        doc.layers.add(name)
    if lock:
        doc.layers.get(lock).lock()
    doc.appids.add("ADE")
    msp = doc.modelspace()
    ref, _ = space(doc, msp, 7, 3000, 4000, (5000, 5000), {"NAME": "Real Name", "AREA": "11.00sq.m.", "AUX": "13.00m."},
                   record("11.00", "13.00", "Real Name"))
    if link:
        doc.appids.add("PE_URL")
        ref.set_xdata("PE_URL", [(1000, "plans/level1.pdf"), (1002, "{"), (1000, "Level 1 plan"),
                                 (1000, "Sheet A-101"), (1002, "{"), (1071, 1), (1002, "}"), (1002, "}")])
    return doc


def main():
    if os.environ.get("PYTHONHASHSEED") != "0":
        os.execve(sys.executable, [sys.executable] + sys.argv, dict(os.environ, PYTHONHASHSEED="0"))
    ezdxf.options.write_fixed_meta_data_for_testing = True
    os.makedirs(OUT, exist_ok=True)
    for layer in ("ATT-NAME", "ATT-AREA", "ATT-AUX"):
        locked(layer).saveas(os.path.join(OUT, "locked-" + layer.lower() + ".dxf"))
    links().saveas(os.path.join(OUT, "links.dxf"))
    regressions = os.path.join(HERE, "..", "regressions")
    os.makedirs(regressions, exist_ok=True)
    regression("R2000", lock="ATT-AUX").saveas(os.path.join(regressions, "maux-locked-aux.dxf"))
    regression("R2000", lock="ATT-NAME").saveas(os.path.join(regressions, "mus-locked-name.dxf"))
    regression("R2000", link=True).saveas(os.path.join(regressions, "mus-links.dxf"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
