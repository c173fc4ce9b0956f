#!/usr/bin/python3
"""Makes the drawings of other programs the tests read, with ezdxf (Debian
python3-ezdxf 0.18):

    ezdxf_fixtures.py KIND OUT.dxf

writes the drawing of the kind and prints one JSON document of what the test
needs to know about it (handles, points ezdxf computes on it), {} when nothing.
"""
import json
import sys

import ezdxf
from ezdxf.enums import TextEntityAlignment
from ezdxf.math import Vec3


# ---------------------------------------------------------------- plots
# Every plot drawing keeps its features apart in boxes of 40 x 40 drawing
# units on a 297 x 210 sheet, so each box can be compared on its own.

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
    *T1, placed by an INSERT where that table stands; tells the handles of
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
    return {"model_space": msp.block_record_handle, "table_block": block.block_record_handle}


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


def square(doc):
    """A 100 x 100 square in model space, whose page setup has no margins."""
    doc.modelspace().add_lwpolyline([(0, 0), (100, 0), (100, 100), (0, 100)], close=True)
    m = doc.layouts.get("Model").dxf_layout.dxf
    m.left_margin = m.bottom_margin = m.right_margin = m.top_margin = 0


def pie_labels(doc):
    """A pie chart's block: a circle, two constant attribute definitions (one
    invisible), a template definition and a reference giving its attribute."""
    b = doc.blocks.new("PIE")
    b.add_circle((0, 0), 50)
    b.add_attdef("T1", (0, 60), text="Offices 45pc", dxfattribs={"flags": 2, "height": 8})
    b.add_attdef("T2", (0, -60), text="Hidden 5pc", dxfattribs={"flags": 3, "height": 8})
    b.add_attdef("NAME", (0, 0), text="TemplateText", dxfattribs={"height": 8})
    r = doc.modelspace().add_blockref("PIE", (100, 100))
    r.add_attrib("NAME", "GivenName", (100, 100), dxfattribs={"height": 8})



# ---------------------------------------------------------------- host

def curves(doc):
    """An ARC, an ELLIPSE (half, tilted major axis) and two SPLINEs (a NURBS by
    control points and weights, one by fit points only); tells points ezdxf
    computes on each curve and points off it: {"points": [[on, handle, x, y]...]}."""
    msp = doc.modelspace()
    arc = msp.add_arc(center=(10, 10), radius=5, start_angle=20, end_angle=160)
    ellipse = msp.add_ellipse(center=(50, 0), major_axis=(6, 8), ratio=0.4, start_param=0.3, end_param=3.4)
    nurbs = msp.add_rational_spline(
        control_points=[(100, 0), (110, 20), (130, -10), (140, 15), (150, 0)],
        weights=[1, 2, 0.5, 3, 1],
        degree=3,
    )
    fit = msp.add_spline(fit_points=[(200, 0), (210, 5), (220, 0), (230, 5)])
    fit.control_points = []
    fit.knots = []
    points = []
    tool = arc.construction_tool()
    for a in (25, 90, 155):
        points.append((True, arc, tool.center + Vec3.from_deg_angle(a, tool.radius)))
    points.append((False, arc, Vec3(10, 10 - 5)))  # the missing lower half
    e = ellipse.construction_tool()
    for p in e.vertices([0.4, 1.5, 3.3]):
        points.append((True, ellipse, p))
    for p in e.vertices([5.0]):  # outside the parameter range
        points.append((False, ellipse, p))
    curve = nurbs.construction_tool()
    for t in (0.1, 0.37, 0.5, 0.81):
        points.append((True, nurbs, curve.point(t * curve.max_t)))
    points.append((False, nurbs, Vec3(130, -10)))  # a control point the curve does not reach
    for p in [(200, 0), (210, 5), (230, 5)]:
        points.append((True, fit, Vec3(p)))
    points.append((False, fit, Vec3(215, 10)))
    return {"points": [[on, e.dxf.handle, p.x, p.y] for on, e, p in points]}


def layouts(doc):
    """Layers A, B, C; a circle in model space; "Layout1" (the active paper
    space) with an A3 page setup for "DWF6 ePlot.pc3" at 1:50, a circle and one
    viewport; "Sheet B" with the default page setup, a line on layer B and two
    viewports, the first with layer C frozen; "Sheet C" empty. Inserts of
    block "ROOM": two carry extended data of application "ADE", one does not."""
    for name, color in (("A", 1), ("B", 2), ("C", 3)):
        doc.layers.add(name, color=color)
    doc.appids.add("ADE")
    room = doc.blocks.new("ROOM")
    room.add_lwpolyline([(0, 0), (4, 0), (4, 3), (0, 3)], close=True)
    msp = doc.modelspace()
    msp.add_circle((5, 5), 2, dxfattribs={"layer": "A"})
    for i, tagged in enumerate((True, False, True)):
        ref = msp.add_blockref("ROOM", (10 * i, 0))
        if tagged:
            ref.set_xdata("ADE", [(1000, "room %d" % i), (1040, 12.5 + i)])

    layout1 = doc.layouts.get("Layout1")
    layout1.page_setup(size=(420, 297), margins=(10, 15, 10, 15), device="DWF6 ePlot.pc3", scale=(1, 50))
    layout1.add_circle((100, 100), 20, dxfattribs={"layer": "A"})
    layout1.add_viewport(center=(200, 150), size=(150, 100), view_center_point=(5, 5), view_height=20)

    sheet = doc.layouts.new("Sheet B")
    sheet.page_setup()
    sheet.add_line((0, 0), (100, 50), dxfattribs={"layer": "B"})
    vp = sheet.add_viewport(center=(80, 80), size=(100, 80), view_center_point=(5, 5), view_height=30)
    vp.frozen_layers = ["C"]
    sheet.add_viewport(center=(220, 80), size=(100, 80), view_center_point=(0, 0), view_height=60)
    doc.layouts.new("Sheet C")


LONG = " ".join("Word%03d" % i for i in range(80)) + " end"


def mtexts(doc):
    """Multiline texts (contents in 3 and 1 chunks, rotation in degrees, a
    direction that is no unit vector); tells what ezdxf reads back from each,
    in model-space order: its plain text, location, height, reference width,
    attachment, rotation (degrees) and line spacing factor."""
    doc.styles.add("SANS", font="DejaVuSans.ttf")
    msp = doc.modelspace()
    msp.add_mtext("Plain line", dxfattribs={"insert": (10, 20), "char_height": 2.5})
    msp.add_mtext("{\\H2x;Big} and \\C1;red\\Psecond paragraph",
                  dxfattribs={"insert": (30, 40, 0), "char_height": 3, "width": 50, "attachment_point": 5,
                              "style": "SANS"})
    m = msp.add_mtext("Turned by rotation", dxfattribs={"insert": (5, 5), "char_height": 1.5, "attachment_point": 9})
    m.dxf.rotation = 30
    d = msp.add_mtext("Turned by direction", dxfattribs={"insert": (7, 8), "char_height": 2})
    d.dxf.text_direction = (0, 2, 0)  # not a unit vector: only its direction counts
    msp.add_mtext(LONG, dxfattribs={"insert": (0, 100), "char_height": 2, "width": 80, "line_spacing_factor": 1.5})
    msp.add_mtext("\\fArial|b1|i0|c0|p34;Bold \\LUnder\\l \\S1/2; a^Jb",
                  dxfattribs={"insert": (50, 50), "char_height": 2})
    return lambda saved: {"mtexts": [
        {"text": e.plain_text(), "insert": list(e.dxf.insert), "height": e.dxf.char_height,
         "width": e.dxf.get("width", 0.0), "attachment": e.dxf.attachment_point, "rotation": e.get_rotation(),
         "line_spacing": e.dxf.get("line_spacing_factor", 1.0)} for e in saved.modelspace().query("MTEXT")]}


def r12(doc):
    """An R12 drawing as another CAD program writes it: layers with colours
    and linetypes, a dashed linetype, lines, 2D polylines with bulges, a closed
    3D polyline, circles, arcs, texts, blocks with base points and attribute
    definitions, and inserts with attributes (one in paper space)."""
    doc.linetypes.add("DASHED2", pattern=[0.75, 0.5, -0.25], description="Dashed __ __ __")
    doc.layers.add("WALLS", color=1, linetype="DASHED2")
    doc.layers.add("ROOMS", color=3)
    doc.layers.add("TEXT", color=5)
    doc.layers.add("OFF", color=6).off()
    msp = doc.modelspace()
    msp.add_line((0, 0), (10, 0), dxfattribs={"layer": "WALLS"})
    msp.add_line((0, 0, 1.5), (0, 7.25, 1.5), dxfattribs={"layer": "WALLS", "color": 4})
    msp.add_polyline2d([(0, 0, 0, 0, 0), (8, 0, 0, 0, 0.5), (8, 6, 0, 0, -0.25), (0, 6, 0, 0, 0)],
                       format="xyseb", close=True, dxfattribs={"layer": "ROOMS"})
    msp.add_polyline2d([(20, 0), (25, 3), (30, 0)], dxfattribs={"layer": "ROOMS"})
    msp.add_polyline3d([(0, 0, 0), (1, 2, 3), (4, 5, 6)], close=True)
    msp.add_circle((5, 5), 2.5, dxfattribs={"layer": "ROOMS"})
    msp.add_arc((12, 3), 1.75, 30, 210, dxfattribs={"layer": "WALLS"})
    msp.add_text("Office 1", dxfattribs={"layer": "TEXT", "height": 0.5, "insert": (1, 1), "rotation": 15})
    t = msp.add_text("Centered", dxfattribs={"height": 0.35})
    t.set_placement((4, 3), align=TextEntityAlignment.MIDDLE_CENTER)

    room = doc.blocks.new("ROOM_TAG", base_point=(2, 1))
    room.add_circle((2, 1), 0.5)
    room.add_line((0, 0), (4, 2))
    room.add_attdef("NAME", (2, 1.5), dxfattribs={"height": 0.25, "prompt": "Room name"})
    room.add_attdef("AREA", (2, 0.5), dxfattribs={"height": 0.2})
    door = doc.blocks.new("DOOR", base_point=(0.5, 0))
    door.add_arc((0, 0), 0.9, 0, 90)
    door.add_line((0, 0), (0.9, 0))

    ref = msp.add_blockref("ROOM_TAG", (10, 10), dxfattribs={"xscale": 2, "yscale": 2, "rotation": 30,
                                                              "layer": "ROOMS"})
    ref.add_auto_attribs({"NAME": "Office 1", "AREA": "48.00 sq.m."})
    ref2 = msp.add_blockref("ROOM_TAG", (30, 10))
    ref2.add_auto_attribs({"NAME": "Hall", "AREA": "12.5"})
    msp.add_blockref("DOOR", (8, 3), dxfattribs={"rotation": 90})
    psp = doc.layout("Layout1")
    psp.add_line((0, 0), (100, 50))
    psp.add_text("Sheet text", dxfattribs={"height": 2.5, "insert": (10, 10)})


def renamed_blocks(doc):
    """Three inserts of ROOM in model space (A, B, C), one of OTHER (D), and
    OTHER holding a nested insert of ROOM (N); tells {label: handle}."""
    msp = doc.modelspace()
    doc.blocks.new("ROOM").add_line((0, 0), (4, 0))
    other = doc.blocks.new("OTHER")
    handles = {"N": other.add_blockref("ROOM", (1, 1)).dxf.handle}
    for label, x in (("A", 0), ("B", 10), ("C", 20)):
        handles[label] = msp.add_blockref("ROOM", (x, 0)).dxf.handle
    handles["D"] = msp.add_blockref("OTHER", (30, 0)).dxf.handle
    return handles


def xdata_lines(doc):
    """A line carrying extended data of PE_URL and a line with none; tells
    {"url": handle, "none": handle}."""
    for app in ("PE_URL", "ADE"):
        doc.appids.new(app)
    msp = doc.modelspace()
    url, none = msp.add_line((0, 0), (0, 1)), msp.add_line((1, 0), (1, 1))
    url.set_xdata("PE_URL", [(1000, "http://example.com/a")])
    return {"url": url.dxf.handle, "none": none.dxf.handle}


def crowded_inserts(doc):
    """Inserts whose block name comes late in their records: reactors, an
    extension dictionary and extended data around it, a MINSERT, and a
    plain insert; tells [[handle, block name], ...] in drawing order."""
    doc.appids.new("ADE")
    msp = doc.modelspace()
    for name in ("ROOM-A", "ROOM-B", "DOOR"):
        doc.blocks.new(name).add_line((0, 0), (1, 0))
    lines = [msp.add_line((i, 5), (i, 6)) for i in range(20)]
    crowded = msp.add_blockref("ROOM-A", (0, 0))
    crowded.set_reactors([line.dxf.handle for line in lines])
    crowded.new_extension_dict()
    crowded.set_xdata("ADE", [(1000, "AREA=1"), (1000, "NAME=2")])
    grid = msp.add_blockref("ROOM-B", (10, 0), dxfattribs={"column_count": 2, "row_count": 3,
                                                          "column_spacing": 2.0, "row_spacing": 2.0})
    grid.set_reactors([line.dxf.handle for line in lines[:15]])
    plain = msp.add_blockref("DOOR", (20, 0))
    return [[e.dxf.handle, e.dxf.name] for e in (crowded, grid, plain)]


def many_names(doc):
    """Far more distinct block names than a selection remembers verdicts
    for, inserted in a mixed order with a few names repeated often between
    them (as furniture is between rooms); tells [[handle, block name], ...]
    in drawing order."""
    names = [f"ROOM-{i}" for i in range(700)] + ["DESK", "room-x", "ROOMS", "CHAIR"]
    for name in names:
        doc.blocks.new(name).add_line((0, 0), (1, 0))
    msp = doc.modelspace()
    told = []
    for i in range(2100):
        name = names[(i * 337) % 700] if i % 3 == 0 else names[700 + (i // 3) % 4]
        told.append([msp.add_blockref(name, (i, 0)).dxf.handle, name])
    return told


def paper_layouts(doc):
    """A line on Layout1, a circle on a second layout and a line in model space."""
    doc.layouts.get("Layout1").add_line((0, 0), (1, 1))
    doc.layouts.new("Second").add_circle((5, 5), 2)
    doc.modelspace().add_line((0, 0), (9, 9))


def codepage_blocks(doc):
    """Saved in code page 1252: inserts of ROOM-1, CHAIR and R\u00c4UM-2 (the
    \u00c4 one 1252 byte) and a line; tells {block name: insert handle}."""
    doc.header["$DWGCODEPAGE"] = "ANSI_1252"
    msp = doc.modelspace()
    names = ("ROOM-1", "CHAIR", "R\u00c4UM-2")
    for name in names:
        doc.blocks.new(name).add_line((0, 0), (1, 0))
    handles = {name: msp.add_blockref(name, (i * 10, 0)).dxf.handle for i, name in enumerate(names)}
    msp.add_line((0, 0), (5, 5))
    return handles


def number_kinds(doc):
    """One entity of each kind the number check passes unbuilt: text, an
    insert with an attribute, a line with a lineweight, a circle, a bulged
    lightweight polyline, an arc, an ellipse and a spline."""
    msp = doc.modelspace()
    block = doc.blocks.new("ROOM")
    block.add_attdef("NAME", (0, 0))
    msp.add_text("Office", dxfattribs={"rotation": 30, "height": 2.5})
    insert = msp.add_blockref("ROOM", (5, 5), dxfattribs={"rotation": 15})
    insert.add_attrib("NAME", "Office 1", (5, 5))
    msp.add_line((0, 0), (10, 0), dxfattribs={"lineweight": 50, "color": 1})
    msp.add_circle((3, 4), 2)
    msp.add_lwpolyline([(0, 0, 0), (4, 0, 0.5), (4, 3, 0)], format="xyb", close=True, dxfattribs={"color": 3})
    msp.add_arc((1, 1), 2, 30, 120)
    msp.add_ellipse((5, 5), (4, 0), 0.5)
    msp.add_open_spline([(0, 0), (1, 2), (2, 0), (3, 1)], degree=3)


def pick_plan(doc):
    """A LINE (0,0)-(10,0) on layer 0, an LWPOLYLINE square (20,0)-(30,10) on
    ROOMS with extended data of ADE, a CIRCLE centre (50,5) radius 5 on ROOMS
    and a TEXT "R1" at (22,2) height 1 on TEXT; tells {type: handle}."""
    doc.layers.add("ROOMS")
    doc.layers.add("TEXT")
    doc.appids.add("ADE")
    msp = doc.modelspace()
    line = msp.add_line((0, 0), (10, 0))
    square = msp.add_lwpolyline([(20, 0), (30, 0), (30, 10), (20, 10)], close=True, dxfattribs={"layer": "ROOMS"})
    square.set_xdata("ADE", [(1000, "room"), (1040, 100.0)])
    circle = msp.add_circle((50, 5), 5, dxfattribs={"layer": "ROOMS"})
    text = msp.add_text("R1", dxfattribs={"layer": "TEXT", "height": 1.0, "insert": (22, 2)})
    return {e.dxftype(): e.dxf.handle for e in (line, square, circle, text)}


# ---------------------------------------------------------------- main

# kind: (DXF version, ezdxf's standard resources, build, encoding to save in)
KINDS = {
    "entities": ("R2010", True, entities, None),
    "kinds": ("R2010", True, kinds, None),
    "table": ("R2010", True, table, None),
    "sheet": ("R2010", True, sheet, None),
    "sheet_active": ("R2010", True, sheet_active, None),
    "square": ("R2010", False, square, None),
    "pie_labels": ("R2010", False, pie_labels, None),
    "curves": ("R2013", False, curves, None),
    "layouts": ("R2013", False, layouts, None),
    "mtexts": ("R2010", True, mtexts, None),
    "r12": ("R12", False, r12, None),
    "renamed_blocks": ("R2000", False, renamed_blocks, None),
    "xdata_lines": ("R2000", False, xdata_lines, None),
    "crowded_inserts": ("R2013", False, crowded_inserts, None),
    "many_names": ("R2013", False, many_names, None),
    "paper_layouts": ("R2010", False, paper_layouts, None),
    "codepage_blocks": ("R2000", False, codepage_blocks, "cp1252"),
    "number_kinds": ("R2000", False, number_kinds, None),
    "pick_plan": ("R2013", False, pick_plan, None),
}


def main(kind, out):
    version, setup, build, encoding = KINDS[kind]
    doc = ezdxf.new(version, setup=setup)
    told = build(doc)
    doc.saveas(out, encoding=encoding) if encoding else doc.saveas(out)
    if callable(told):  # what ezdxf reads back from the file
        told = told(ezdxf.readfile(out))
    print(json.dumps(told or {}))


if __name__ == "__main__":
    main(*sys.argv[1:])
