#!/usr/bin/python3
"""Writes the space-record and block-geometry regression inputs (tests/regressions/*.dxf).

    /usr/bin/python3 tests/regressions/make_record_inputs.py

All are millimetre drawings ($LUNITS 2, $INSUNITS 4) made as another program
writes them: space blocks whose definitions hold one closed outline and the
AREA, NAME and AUX attribute definitions, references with their attributes
and an "ADE" record (or none).

long-handle-list.dxf   ROOM-1 "Hall", 20000 x 10000 mm, with 90 holes of
                       100 x 100 mm listed in one HANDLESTOMINUS item longer
                       than 255 bytes (as older files have it): 200 - 0.9 =
                       199.10 m2; the record still says 150.00.
units-missing.dxf      ROOM-1 "No Record" 3000 x 4000 mm, no record at all;
                       ROOM-2 "Bare Area" whose AREA and PERIMETER items have
                       no unit, ROOM_HEIGHT=2.70m., VOLUME=32.400cu.m.;
                       ROOM-3 "Own Digits", AREA=12.5sq.m., PERIMETER=14.25m.,
                       ROOM_HEIGHT=2.705m., VOLUME=33.8125cu.m.;
                       ROOM-4 "Store, north" 1000 x 2000 mm (2 m2, 6 m).
precision-changed.dxf  records and labels written with 3 decimals (ROOM-1
                       "Lab A" 3000 x 3500 mm, record and labels say
                       10.000 / 12.000, true 10.50 m2 / 13 m) and with 1
                       (ROOM-2 "Lab B" 4000 x 5000 mm, say 19.0 / 17.0, true
                       20 m2 / 18 m); ROOM-3 "Lab C" has a hand-typed label.
huge-values.dxf        ROOM-1 "Far" whose outline has a vertex at x = 1e308;
                       ROOM-2 "Blown Up" inserted at scale 1e200;
                       ROOM-3 "Plain" 2000 x 3000 mm (6 m2, 10 m) that is fine;
                       ROOM-4 "Stale" whose record reads AREA=1e999sq.m.;
                       ROOM-5 "Tall Text" (2 x 3 m) whose attributes are
                       1.5e308 high: restacked 1.5 heights apart, they
                       would stand at infinity.
ferrow-huge.dxf        a legacy FERROW_SPACE_LABEL "Far Seminar" naming an
                       outline with a vertex at x = 1e308.
block-base-point.dxf      one space block ROOM-1, a 4000 x 3000 mm rectangle in a
                          definition whose base point is 1000,500 (content shifted
                          to match), inserted at 5000,5000: the room stands on
                          3000..7000 x 3500..6500. Base points used to be ignored.
label-in-gross-area.dxf   a room ROOM-1 (4000 x 3000 at 5000,5000) and, drawn after it,
                          the gross-area block around it (0..20000 x 0..10000). A pick
                          at the room's name label used to take the gross-area block.
"""

import os
import sys

import ezdxf

HERE = os.path.dirname(os.path.abspath(__file__))
H = 250.0


def new_doc(layers=("ROOMS", "ATT-NAME", "ATT-AREA", "ATT-AUX")):
    doc = ezdxf.new("R2013")
    doc.header["$INSUNITS"] = 4
    doc.header["$LUNITS"] = 2
    for name in layers:
        doc.layers.add(name)
    doc.appids.add("ADE")
    return doc


def record(area, perimeter, name, height="2.70m.", volume="0.00cu.m.", minus=""):
    items = [f"AREA={area}", f"PERIMETER={perimeter}", f"NAME={name}", "TAGTYPE=ROOM", "AREA_TYPE=NET",
             "COST_CENTRE=CC-1", "DATE=2024-01-15", "DATE_L_MOVE=<Not Set>", "DEPT_CHARGE=D01",
             f"ROOM_HEIGHT={height}", "SPECIAL_REQ=<Not Set>", "TOT_STAFF=2", "TOT_WKSTNS=3",
             f"VOLUME={volume}", f"HANDLESTOMINUS={minus}", "HANDLESTOADD="]
    return [(1002, "{")] + [(1000, i) for i in items] + [(1002, "}")]


def space(doc, number, points, at, attribs, xdata=None, scale=1.0):
    name = f"ROOM-{number}"
    block = doc.blocks.new(name)
    block.add_lwpolyline(points, close=True)
    common = {"height": H, "rotation": 0.0, "width": 1.0, "field_length": 25}
    for tag, layer, pos in (("AREA", "ATT-AREA", (0.0, 0.0)), ("NAME", "ATT-NAME", (0.0, 1.5 * H)),
                            ("AUX", "ATT-AUX", (0.0, -1.5 * H))):
        block.add_attdef(tag, pos, "DEFAULT " + tag, dxfattribs=dict(common, prompt="Enter " + tag, layer=layer))
    block.block.dxf.flags = 2
    ref = doc.modelspace().add_blockref(name, at, dxfattribs={"layer": "ROOMS"})
    ref.add_auto_attribs(attribs)
    if scale != 1.0:
        # Scaled as a CAD program scales a reference: the attributes grow
        # about the insertion point with it.
        ref.dxf.xscale = ref.dxf.yscale = ref.dxf.zscale = scale
        for attrib in ref.attribs:
            x, y, _ = attrib.dxf.insert
            attrib.dxf.insert = (at[0] + (x - at[0]) * scale, at[1] + (y - at[1]) * scale, 0.0)
            attrib.dxf.height *= scale
    if xdata is not None:
        ref.set_xdata("ADE", xdata)
    return ref


def box(w, d):
    return [(-w / 2, -d / 2), (w / 2, -d / 2), (w / 2, d / 2), (-w / 2, d / 2)]


def long_handle_list():
    doc = new_doc()
    msp = doc.modelspace()
    holes = []
    for i in range(90):
        x, y = 1000 + (i % 15) * 1000, 1000 + (i // 15) * 1000
        holes.append(msp.add_lwpolyline([(x, y), (x + 100, y), (x + 100, y + 100), (x, y + 100)], close=True))
    minus = "".join(h.dxf.handle + "," for h in holes)
    assert len("HANDLESTOMINUS=" + minus) > 255
    space(doc, 1, [(0, 0), (20000, 0), (20000, 10000), (0, 10000)], (0, 0),
          {"NAME": "Hall", "AREA": "150.00sq.m.", "AUX": "150.00m."}, record("150.00sq.m.", "60.00m.", "Hall",
                                                                             minus=minus))
    return doc


def units_missing():
    doc = new_doc()
    space(doc, 1, box(3000, 4000), (5000, 5000), {"NAME": "No Record", "AREA": "", "AUX": ""})
    space(doc, 2, box(3000, 4000), (10000, 5000), {"NAME": "Bare Area", "AREA": "12", "AUX": "14"},
          record("12", "14", "Bare Area", height="2.70m.", volume="32.400cu.m."))
    space(doc, 3, box(3000, 4000), (15000, 5000), {"NAME": "Own Digits", "AREA": "12.5sq.m.", "AUX": "14.25m."},
          record("12.5sq.m.", "14.25m.", "Own Digits", height="2.705m.", volume="33.8125cu.m."))
    space(doc, 4, box(1000, 2000), (20000, 5000), {"NAME": "Store, north", "AREA": "2.00sq.m.", "AUX": "6.00m."},
          record("2.00sq.m.", "6.00m.", "Store, north"))
    return doc


def precision_changed():
    doc = new_doc()
    space(doc, 1, box(3000, 3500), (5000, 5000), {"NAME": "Lab A", "AREA": "10.000sq.m.", "AUX": "12.000m."},
          record("10.000sq.m.", "12.000m.", "Lab A"))
    space(doc, 2, box(4000, 5000), (10000, 5000), {"NAME": "Lab B", "AREA": "19.0sq.m.", "AUX": "17.0m."},
          record("19.0sq.m.", "17.0m.", "Lab B"))
    space(doc, 3, box(2000, 2500), (15000, 5000), {"NAME": "Lab C", "AREA": "about 5", "AUX": "Science"},
          record("4.000sq.m.", "9.000m.", "Lab C"))
    return doc


def huge_values():
    doc = new_doc()
    space(doc, 1, [(0, 0), (1e308, 0), (1e308, 3000), (0, 3000)], (0, 20000),
          {"NAME": "Far", "AREA": "1.00sq.m.", "AUX": "4.00m."}, record("1.00sq.m.", "4.00m.", "Far"))
    space(doc, 2, box(2000, 3000), (5000, 5000), {"NAME": "Blown Up", "AREA": "6.00sq.m.", "AUX": "10.00m."},
          record("6.00sq.m.", "10.00m.", "Blown Up"), scale=1e200)
    space(doc, 3, box(2000, 3000), (10000, 5000), {"NAME": "Plain", "AREA": "5.00sq.m.", "AUX": "9.00m."},
          record("5.00sq.m.", "9.00m.", "Plain"))
    space(doc, 4, box(2000, 3000), (15000, 5000), {"NAME": "Stale", "AREA": "6.00sq.m.", "AUX": "10.00m."},
          record("1e999sq.m.", "10.00m.", "Stale"))
    tall = space(doc, 5, box(2000, 3000), (20000, 5000), {"NAME": "Tall Text", "AREA": "6.00sq.m.", "AUX": "10.00m."},
                 record("6.00sq.m.", "10.00m.", "Tall Text"))
    for attrib in tall.attribs:
        attrib.dxf.height = 1.5e308
    return doc


def ferrow_huge():
    doc = new_doc()
    msp = doc.modelspace()
    label = doc.blocks.new("FERROW_SPACE_LABEL")
    label.add_attdef("ROOM", (0, 0), "", dxfattribs={"height": 200.0, "prompt": "Room"})
    label.add_attdef("PLINE2_ID", (0, -300), "", dxfattribs={"height": 100.0, "prompt": "Outline", "flags": 1})
    label.block.dxf.flags = 2
    far = msp.add_lwpolyline([(0, 0), (1e308, 0), (1e308, 4000), (0, 4000)], close=True)
    ref = msp.add_blockref("FERROW_SPACE_LABEL", (2500, 2000))
    ref.add_auto_attribs({"ROOM": "Far Seminar", "PLINE2_ID": far.dxf.handle})
    return doc


def based_space(doc, name, w, d, base, at, label):
    """A w x d space block whose definition has the base point given (its content shifted to match)."""
    bx, by = base
    block = doc.blocks.new(name, base_point=base)
    block.add_lwpolyline([(bx - w / 2, by - d / 2), (bx + w / 2, by - d / 2), (bx + w / 2, by + d / 2),
                          (bx - w / 2, by + d / 2)], close=True)
    for tag, dy in (("AREA", 0.0), ("NAME", 1.5 * H)):
        block.add_attdef(tag, (bx, by + dy), "", dxfattribs={"height": H, "prompt": tag, "layer": "ATT-" + tag})
    block.block.dxf.flags = 2
    ref = doc.modelspace().add_blockref(name, at)
    area = f"{w * d / 1e6:.2f}"
    ref.add_auto_attribs({"NAME": label, "AREA": area + "sq.m."})
    ref.set_xdata("ADE", [(1002, "{"), (1000, f"AREA={area}sq.m."),
                          (1000, f"PERIMETER={2 * (w + d) / 1000:.2f}m."), (1000, f"NAME={label}"),
                          (1000, "TAGTYPE=ROOM"), (1000, "HANDLESTOMINUS="), (1000, "HANDLESTOADD="), (1002, "}")])
    return ref


def main():
    if os.environ.get("PYTHONHASHSEED") != "0":
        os.execve(sys.executable, [sys.executable] + sys.argv, dict(os.environ, PYTHONHASHSEED="0"))
    ezdxf.options.write_fixed_meta_data_for_testing = True
    long_handle_list().saveas(os.path.join(HERE, "long-handle-list.dxf"))
    units_missing().saveas(os.path.join(HERE, "units-missing.dxf"))
    precision_changed().saveas(os.path.join(HERE, "precision-changed.dxf"))
    huge_values().saveas(os.path.join(HERE, "huge-values.dxf"))
    ferrow_huge().saveas(os.path.join(HERE, "ferrow-huge.dxf"))
    doc = new_doc(("ATT-AREA", "ATT-NAME"))
    based_space(doc, "ROOM-1", 4000, 3000, (1000, 500), (5000, 5000), "Base")
    doc.saveas(os.path.join(HERE, "block-base-point.dxf"))
    doc = new_doc(("ATT-AREA", "ATT-NAME"))
    based_space(doc, "ROOM-1", 4000, 3000, (0, 0), (5000, 5000), "Inner")
    based_space(doc, "ROOM-GROSS_AREA", 20000, 10000, (0, 0), (10000, 5000), "GROSS AREA")
    doc.saveas(os.path.join(HERE, "label-in-gross-area.dxf"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
