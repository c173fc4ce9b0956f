"""Writes ezdxf_whole_numbers_AC1015.dxf: one object of each kind whose whole
numbers the reader checks (LWPOLYLINE, INSERT with attributes, TEXT, ATTDEF,
CIRCLE, LINE, HATCH, LAYER, LTYPE, STYLE). Run with /usr/bin/python3."""
import ezdxf

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
doc.saveas("ezdxf_whole_numbers_AC1015.dxf")
