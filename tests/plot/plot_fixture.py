"""Makes the drawings the plot tests draw, with ezdxf (another program's
files, not this project's): python3 plot_fixture.py KIND OUT.dxf

Every kind keeps its features apart in boxes of 40 x 40 drawing units on a
297 x 210 sheet, so each box can be compared on its own."""
import math
import sys

import ezdxf
from ezdxf.enums import TextEntityAlignment


def entities(doc):
    msp = doc.modelspace()
    doc.layers.add("RED", color=1)
    doc.layers.add("OFF", color=3).off()
    doc.layers.add("FROZEN", color=3).freeze()
    noplot = doc.layers.add("NOPLOT", color=3)
    noplot.dxf.plot = 0
    doc.linetypes.add("ZDASH", pattern=[12.0, 6.0, -6.0], description="dash __ __")
    doc.styles.add("SANS", font="DejaVuSans.ttf")
    # Box (10,10): a line and a closed polyline with a bulge.
    msp.add_line((12, 12), (45, 20), dxfattribs={"layer": "RED"})
    msp.add_lwpolyline([(15, 30, 0, 0, 0.5), (40, 30), (40, 45), (15, 45)], format="xyseb", close=True)
    # Box (60,10): a circle and an arc of a true colour.
    msp.add_circle((80, 30), 12, dxfattribs={"true_color": ezdxf.rgb2int((0, 0, 255))})
    msp.add_circle((80, 30), 4)
    # Box (110,10): a dashed line (a link line must look dashed).
    msp.add_line((110, 15), (148, 15), dxfattribs={"linetype": "ZDASH", "color": 5})
    msp.add_line((110, 40), (148, 40), dxfattribs={"color": 5})
    # Box (160,10): a block with a base point, nested in another, with ByBlock colour.
    inner = doc.blocks.new("INNER", base_point=(100, 100))
    inner.add_lwpolyline([(100, 100), (110, 100), (110, 110), (100, 110)], close=True,
                         dxfattribs={"color": 0})
    outer = doc.blocks.new("OUTER", base_point=(5, 5))
    outer.add_blockref("INNER", (5, 5), dxfattribs={"rotation": 0})
    outer.add_line((5, 5), (25, 5), dxfattribs={"layer": "0"})
    msp.add_blockref("OUTER", (165, 15), dxfattribs={"color": 6, "xscale": 1.5, "yscale": 1.5})
    # Box (210,10): a solid hatch of a true colour and a predefined pattern.
    solid = msp.add_hatch(color=2)
    solid.rgb = (0, 160, 0)
    solid.paths.add_polyline_path([(212, 12), (235, 12), (235, 35), (212, 35)], is_closed=True)
    pattern = msp.add_hatch(color=1)
    pattern.set_pattern_fill("ANSI31", scale=1.0)
    pattern.paths.add_polyline_path([(238, 12), (255, 12), (255, 45), (238, 45)], is_closed=True)
    # Box (10,60): texts, left, centred, rotated, wide and oblique.
    msp.add_text("Left", dxfattribs={"height": 5, "style": "SANS"}).set_placement((12, 62))
    msp.add_text("Mid", dxfattribs={"height": 5, "style": "SANS"}).set_placement(
        (30, 80), align=TextEntityAlignment.MIDDLE_CENTER)
    msp.add_text("Turn", dxfattribs={"height": 4, "style": "SANS", "rotation": 90}).set_placement((48, 62))
    # Box (60,60): a right-aligned text, wide, oblique.
    msp.add_text("Wide", dxfattribs={"height": 5, "style": "SANS", "width": 1.6, "oblique": 15}).set_placement(
        (98, 64), align=TextEntityAlignment.BOTTOM_RIGHT)
    msp.add_text("Cyr Ж", dxfattribs={"height": 5, "style": "SANS"}).set_placement((62, 85))
    # Box (110,60): an insert with attributes.
    room = doc.blocks.new("ROOM", base_point=(0, 0))
    room.add_lwpolyline([(0, 0), (30, 0), (30, 20), (0, 20)], close=True)
    room.add_attdef("NAME", (2, 2), dxfattribs={"height": 4, "style": "SANS"})
    ref = msp.add_blockref("ROOM", (112, 65))
    ref.add_auto_attribs({"NAME": "R101"})
    # Box (160,60): entities on layers that must not plot.
    msp.add_circle((180, 80), 10, dxfattribs={"layer": "OFF"})
    msp.add_circle((180, 80), 6, dxfattribs={"layer": "FROZEN"})
    msp.add_circle((180, 80), 3, dxfattribs={"layer": "NOPLOT"})
    msp.add_line((162, 62), (165, 62))
    # Box (210,60): draw order - a white-on-top solid moved to the bottom.
    under = msp.add_hatch(color=1)
    under.paths.add_polyline_path([(212, 62), (245, 62), (245, 95), (212, 95)], is_closed=True)
    top = msp.add_hatch(color=3)
    top.paths.add_polyline_path([(220, 70), (237, 70), (237, 87), (220, 87)], is_closed=True)
    msp.set_redraw_order({top.dxf.handle: "1", under.dxf.handle: "2"})


def kinds(doc):
    """Multiline texts, heavy polylines, widths, linetype scales and a spline
    through fit points, each in its own box like entities()."""
    msp = doc.modelspace()
    doc.styles.add("SANS", font="DejaVuSans.ttf")
    doc.header["$LTSCALE"] = 2.0
    doc.linetypes.add("ZSHORT", pattern=[6.0, 4.0, -2.0], description="short __ __")
    # Box (10,10): wrapped at a reference width of 34, top left.
    msp.add_mtext("Alpha beta gamma delta epsilon zeta eta theta",
                  dxfattribs={"insert": (12, 48), "char_height": 3, "width": 34, "style": "SANS"})
    # Box (60,10): two paragraphs, middle centre, no width.
    msp.add_mtext("Centre\\Pof two", dxfattribs={"insert": (80, 30), "char_height": 4, "attachment_point": 5,
                                                  "style": "SANS"})
    # Box (110,10): bottom right, a run twice the height, line spacing 1.5.
    msp.add_mtext("{\\H2x;Big}\\Psmall", dxfattribs={"insert": (148, 12), "char_height": 3, "attachment_point": 9,
                                                      "style": "SANS", "line_spacing_factor": 1.5})
    # Box (160,10): turned 90 degrees, top left.
    m = msp.add_mtext("Upwards", dxfattribs={"insert": (190, 12), "char_height": 4, "attachment_point": 1,
                                             "style": "SANS"})
    m.dxf.rotation = 90
    # Box (210,10): an old-style polyline, closed, with a bulge.
    msp.add_polyline2d([(212, 12, 0, 0, 0), (245, 12, 0, 0, 0.6), (245, 40, 0, 0, 0), (212, 40, 0, 0, 0)],
                       format="xyseb", close=True)
    # Box (10,60): a lightweight polyline of constant width 2.
    lw = msp.add_lwpolyline([(12, 65), (45, 65), (45, 95)])
    lw.dxf.const_width = 2.0
    # Box (60,60): a lightweight polyline tapering from 0 to 5, then a bulge of width 2.
    msp.add_lwpolyline([(62, 70, 0, 5, 0), (85, 70, 2, 2, 0.8), (95, 90, 0, 0, 0)], format="xyseb")
    # Box (110,60): an old-style polyline with per-vertex widths and a bulge.
    msp.add_polyline2d([(112, 65, 3, 3, 0), (140, 65, 3, 0.5, 0.5), (140, 95, 0, 0, 0)], format="xyseb")
    # Box (160,60): a spline through fit points only (no control points).
    msp.add_spline([(162, 65), (172, 90), (185, 70), (198, 95)])
    # Box (210,60): dashes 4 on 2 off, by $LTSCALE 2 (8 on, 4 off), and at an entity scale of 0.5 (4 on, 2 off).
    msp.add_line((212, 70), (256, 70), dxfattribs={"linetype": "ZSHORT"})
    msp.add_line((212, 85), (256, 85), dxfattribs={"linetype": "ZSHORT", "ltscale": 0.5})


def table(doc):
    """The drawn block of a table AutoCAD wrote (tests/data/dxf/table/SOURCES.md:
    its MTEXT and LINE entities where AutoCAD put them) as the anonymous block
    *T1, placed by an INSERT where that table stands; prints the handles of
    model space's block record and of *T1's record, which the tests need to
    put the table itself in the INSERT's place (the drawing has no table
    style: the table takes the default one)."""
    msp = doc.modelspace()
    block = doc.blocks.new_anonymous_block("T")
    rows = [0.0, -0.4533333333333334, -0.8133333333333332, -1.173333333333333]
    for y in rows:
        block.add_line((0, y), (12.5, y))
    for x in (0.0, 12.5):
        block.add_line((x, 0), (x, rows[-1]))
    for x in (2.5, 5.0, 7.5, 10.0):
        block.add_line((x, rows[1]), (x, rows[-1]))
    block.add_mtext("Hello this is a title", dxfattribs={
        "insert": (6.25, -0.2266666666666666), "char_height": 0.25, "attachment_point": 5})
    block.add_mtext("A2 cell", dxfattribs={
        "insert": (1.25, -0.6333333333333333), "char_height": 0.18, "attachment_point": 5})
    block.add_mtext("A3 cell", dxfattribs={
        "insert": (1.25, -0.8733333333333334), "char_height": 0.18, "attachment_point": 2})
    msp.add_blockref(block.name, (0.526295567410898, 1.656159789800675))
    print(msp.block_record_handle, block.block_record_handle)


def sheet(doc):
    """A paper-space layout with one viewport showing model space at 1:2, with
    layer HIDE frozen in it, and a frame on the sheet."""
    msp = doc.modelspace()
    doc.layers.add("HIDE", color=1)
    msp.add_lwpolyline([(0, 0), (100, 0), (100, 60), (0, 60)], close=True)
    msp.add_circle((50, 30), 20)
    msp.add_circle((50, 30), 10, dxfattribs={"layer": "HIDE"})
    msp.add_line((200, 0), (300, 60))  # outside the viewport's view: clipped away
    layout = doc.layouts.new("Plan")
    layout.page_setup(size=(297, 210), margins=(0, 0, 0, 0), units="mm", offset=(0, 0), rotation=0, scale=1,
                      name="ISO_A4_(297.00_x_210.00_MM)", device="DWG To PDF.pc3")
    layout.add_lwpolyline([(10, 10), (287, 10), (287, 200), (10, 200)], close=True)
    vp = layout.add_viewport(center=(100, 100), size=(100, 60), view_center_point=(50, 30), view_height=120)
    vp.frozen_layers = ["HIDE"]
    layout.add_text("SHEET", dxfattribs={"height": 6}).set_placement((200, 30))


def sheet_active(doc):
    """The sheet drawing saved with its paper-space layout current."""
    sheet(doc)
    doc.layouts.set_active_layout("Plan")
    doc.header["$TILEMODE"] = 0


def main():
    kind, out = sys.argv[1], sys.argv[2]
    doc = ezdxf.new("R2010", setup=True)
    {"entities": entities, "kinds": kinds, "table": table, "sheet": sheet, "sheet_active": sheet_active}[kind](doc)
    doc.saveas(out)


if __name__ == "__main__":
    main()
