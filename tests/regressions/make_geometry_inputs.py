#!/usr/bin/python3
"""Writes the regression inputs (tests/regressions/) with ezdxf.

    /usr/bin/python3 tests/regressions/make_geometry_inputs.py

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

OUT = os.path.dirname(os.path.abspath(__file__))
H = 250.0


def space(doc, msp, name, w, d, base, at, label):
    bx, by = base
    block = doc.blocks.new(name, base_point=base)
    block.add_lwpolyline([(bx - w / 2, by - d / 2), (bx + w / 2, by - d / 2), (bx + w / 2, by + d / 2),
                          (bx - w / 2, by + d / 2)], close=True)
    for tag, dy in (("AREA", 0.0), ("NAME", 1.5 * H)):
        block.add_attdef(tag, (bx, by + dy), "", dxfattribs={"height": H, "prompt": tag, "layer": "ATT-" + tag})
    block.block.dxf.flags = 2
    ref = msp.add_blockref(name, at)
    area = f"{w * d / 1e6:.2f}"
    ref.add_auto_attribs({"NAME": label, "AREA": area + "sq.m."})
    ref.set_xdata("ADE", [(1002, "{"), (1000, f"AREA={area}sq.m."),
                          (1000, f"PERIMETER={2 * (w + d) / 1000:.2f}m."), (1000, f"NAME={label}"),
                          (1000, "TAGTYPE=ROOM"), (1000, "HANDLESTOMINUS="), (1000, "HANDLESTOADD="), (1002, "}")])
    return ref


def drawing():
    doc = ezdxf.new("R2013")
    doc.header["$INSUNITS"] = 4
    doc.header["$LUNITS"] = 2
    for name in ("ATT-AREA", "ATT-NAME"):
        doc.layers.add(name)
    doc.appids.add("ADE")
    return doc, doc.modelspace()


def main():
    if os.environ.get("PYTHONHASHSEED") != "0":
        os.execve(sys.executable, [sys.executable] + sys.argv, dict(os.environ, PYTHONHASHSEED="0"))
    ezdxf.options.write_fixed_meta_data_for_testing = True
    os.makedirs(OUT, exist_ok=True)
    doc, msp = drawing()
    space(doc, msp, "ROOM-1", 4000, 3000, (1000, 500), (5000, 5000), "Base")
    doc.saveas(os.path.join(OUT, "block-base-point.dxf"))
    doc, msp = drawing()
    room = space(doc, msp, "ROOM-1", 4000, 3000, (0, 0), (5000, 5000), "Inner")
    gross = space(doc, msp, "ROOM-GROSS_AREA", 20000, 10000, (0, 0), (10000, 5000), "GROSS AREA")
    doc.saveas(os.path.join(OUT, "label-in-gross-area.dxf"))
    print(room.dxf.handle, gross.dxf.handle)
    return 0


if __name__ == "__main__":
    sys.exit(main())
