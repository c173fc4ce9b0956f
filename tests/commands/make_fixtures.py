#!/usr/bin/python3
"""Writes the drawings the command and creation tests run on
(tests/data/commands/, tests/data/creation/) and the regression inputs of
tests/regressions/.

    /usr/bin/python3 tests/commands/make_fixtures.py

spaces.dxf, a millimetre drawing ($LUNITS 2) with six space blocks whose true
sizes are round numbers, and whose records are partly out of date on purpose:

  ROOM-1  RM-101      3000 x 3500 mm = 10.50 m2, 13 m   record and labels up to date, AUX shows the perimeter
  ROOM-2  2RM-1       4000 x 5000 mm = 20.00 m2, 18 m   record and labels say 19.00 m2 / 17.00 m
  ROOM-3  Lab 7       2000 x 2500 mm =  5.00 m2,  9 m   record says 4.00; area label typed over by hand
  ROOM-4  Store       1500 x 2000 mm =  3.00 m2,  7 m   NAME and AREA only (no AUX attribute)
  ROOM-5  Ft Room     3048 x 3048 mm = 100 ft2, 40 ft   record and label in square feet
  ROOM-GROSS_AREA     20000 x 10000 mm = 200 m2, 60 m   the floor's gross area block

plus a DESK block reference (not a space) and one loose LWPOLYLINE outline.
Lab 7's name attribute stands on layer MISC instead of ATT-NAME; layer ATT-AUX
is off and layer FURNITURE locked.
Attribute text height is 250; NAME stands 375 above AREA and AUX 375 below.
spaces-copies.dxf: the same with a link on ROOM-1 ("http://old/1", "Old one")
and two more references of ROOM-1 at 5000,20000 and 5000,30000.

locked-att-name.dxf, locked-att-area.dxf, locked-att-aux.dxf, locked-rooms.dxf:
one millimetre drawing in four copies, each with one layer locked (LAYER group
70 bit 4, as CAD programs store it): an attribute layer or that of the references. Three space blocks whose records are
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

sheet.dxf: layers WALLS, FURN, NOTES and HIDDEN (HIDDEN frozen), a line on
each of the first three in model space, model space current ($TILEMODE 1);
the paper layout "SHEET 1" with two viewports on the model, the first of
which has NOTES frozen in it alone; the paper layout "SHEET 2" empty.



tests/regressions/: inputs that once showed a fault, written with the same
helpers (all millimetre drawings, $LUNITS 2, $INSUNITS 4, R2013 unless said):

maux-locked-aux.dxf    (R2000) one room whose AUX attribute and definition
                       lie on the locked ATT-AUX
mus-locked-name.dxf    (R2000) one room whose NAME attribute "Real Name" lies
                       on the locked ATT-NAME
mus-links.dxf          (R2000) one room whose reference carries a link with
                       a sub-location
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
block-base-point.dxf   one space block ROOM-1, a 4000 x 3000 mm rectangle in a
                       definition whose base point is 1000,500 (content shifted
                       to match), inserted at 5000,5000: the room stands on
                       3000..7000 x 3500..6500. Base points used to be ignored.
label-in-gross-area.dxf  a room ROOM-1 (4000 x 3000 at 5000,5000) and, drawn after
                       it, the gross-area block around it (0..20000 x 0..10000). A
                       pick at the room's name label used to take the gross-area block.
board-room-bay.dxf     the Board Room hatch of the bundled office example as
                       the graphic report writes it (ANSI31 at scale 40, one
                       polyline loop whose south edge, 21650,50 to 28750,50,
                       bows out with bulge 0.25), alone in model space, so a
                       plot shows only its pattern lines.
block-ring-doubled.dxf blocks RING-A and RING-B each hold a line and two
                       references to the other, and model space places RING-A
                       once: a ring other programs save without complaint, whose
                       nesting a drawing must not follow round and round (two
                       references a level would mean 2^32 copies at the depth limit).
"""

import os
import sys

import ezdxf

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "data", "commands")
REGRESSIONS = os.path.join(HERE, "..", "regressions")
CREATION = os.path.join(HERE, "..", "data", "creation")
H = 250.0
LOCK_H = 200.0  # the text height of the locked-layer and hyperlink drawings


def millimetre_drawing(layers=("ROOMS", "ATT-NAME", "ATT-AREA", "ATT-AUX"), version="R2013", appids=("ADE",)):
    """A new drawing in millimetres ($LUNITS 2) with the layers and applications."""
    doc = ezdxf.new(version)
    doc.header["$INSUNITS"] = 4
    doc.header["$LUNITS"] = 2
    for name in layers:
        doc.layers.add(name)
    for app in appids:
        doc.appids.add(app)
    return doc


def record(area, perimeter, name, height="2.70m.", volume="0.00cu.m.", minus="",
           others=("CC-1", "2024-01-15", "D01", "2", "3")):
    """A space record, measures with their units; others: cost centre, date, department, staff, workstations."""
    cost, date, dept, staff, stations = others
    items = [f"AREA={area}", f"PERIMETER={perimeter}", f"NAME={name}", "TAGTYPE=ROOM", "AREA_TYPE=NET",
             f"COST_CENTRE={cost}", f"DATE={date}", "DATE_L_MOVE=<Not Set>", f"DEPT_CHARGE={dept}",
             f"ROOM_HEIGHT={height}", "SPECIAL_REQ=<Not Set>", f"TOT_STAFF={staff}", f"TOT_WKSTNS={stations}",
             f"VOLUME={volume}", f"HANDLESTOMINUS={minus}", "HANDLESTOADD="]
    return [(1002, "{")] + [(1000, i) for i in items] + [(1002, "}")]


def box(w, d):
    return [(-w / 2, -d / 2), (w / 2, -d / 2), (w / 2, d / 2), (-w / 2, d / 2)]


LONG_PROMPTS = {"AREA": "Enter Area", "NAME": "Enter Name", "AUX": "Enter Auxillary Value"}


def space(doc, number, outline, at, attribs, xdata=None, tags=("AREA", "NAME", "AUX"), height=H, field_length=25,
          prompts={}, scale=1.0):
    """A space block on layer ROOMS: the closed outline, the attribute
    definitions of tags (AREA at 0,0, NAME 1.5 heights above, AUX 1.5 below,
    prompts "Enter TAG" unless given), the reference's attributes and record."""
    name = number if isinstance(number, str) else f"ROOM-{number}"
    block = doc.blocks.new(name)
    block.add_lwpolyline(outline, close=True)
    common = {"height": height, "rotation": 0.0, "width": 1.0}
    if field_length:
        common["field_length"] = field_length
    for tag, dy in (("AREA", 0.0), ("NAME", 1.5), ("AUX", -1.5)):
        if tag in tags:
            block.add_attdef(tag, (0.0, dy * height), "DEFAULT " + tag,
                             dxfattribs=dict(common, prompt=prompts.get(tag, "Enter " + tag), layer="ATT-" + tag))
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


def command_space(doc, number, w, d, at, attribs, xdata, tags=("AREA", "NAME", "AUX")):
    """A space block of spaces.dxf: text height 250, the long prompts."""
    return space(doc, number, box(w, d), at, attribs, xdata, tags, prompts=LONG_PROMPTS)


def spaces(copies=False):
    doc = millimetre_drawing(("ROOMS", "ATT-NAME", "ATT-AREA", "ATT-AUX", "FURNITURE", "MISC"))
    doc.layers.get("ATT-AUX").off()
    doc.layers.get("FURNITURE").lock()
    msp = doc.modelspace()
    command_space(doc, 1, 3000, 3500, (5000, 5000), {"NAME": "RM-101", "AREA": "10.50sq.m.", "AUX": "13.00m."},
                  record("10.50sq.m.", "13.00m.", "RM-101"))
    command_space(doc, 2, 4000, 5000, (10000, 5000), {"NAME": "2RM-1", "AREA": "19.00sq.m.", "AUX": "17.00m."},
                  record("19.00sq.m.", "17.00m.", "2RM-1"))
    lab = command_space(doc, 3, 2000, 2500, (15000, 5000),
                        {"NAME": "Lab 7", "AREA": "about 5 m2", "AUX": "Science"},
                        record("4.00sq.m.", "9.00m.", "Lab 7"))
    lab.get_attrib("NAME").dxf.layer = "MISC"
    command_space(doc, 4, 1500, 2000, (5000, 9000), {"NAME": "Store", "AREA": "3.00sq.m."},
                  record("3.00sq.m.", "7.00m.", "Store"), tags=("AREA", "NAME"))
    command_space(doc, 5, 3048, 3048, (10000, 9000),
                  {"NAME": "Ft Room", "AREA": "100.00sq.ft.", "AUX": "Imperial"},
                  record("100.00sq.ft.", "40.00ft.", "Ft Room", height="2.70ft.", volume="0.00cu.ft."))
    command_space(doc, "ROOM-GROSS_AREA", 20000, 10000, (10000, 6000),
                  {"NAME": "GROSS AREA", "AREA": "200.00sq.m.", "AUX": "Level 1"},
                  record("200.00sq.m.", "60.00m.", "GROSS AREA"))
    desk = doc.blocks.new("DESK")
    desk.add_lwpolyline([(0, 0), (1600, 0), (1600, 800), (0, 800)], close=True)
    msp.add_blockref("DESK", (14000, 8000), dxfattribs={"layer": "FURNITURE"})
    msp.add_lwpolyline([(17000, 8000), (19000, 8000), (19000, 10000), (17000, 10000)], close=True)
    if copies:
        msp.query('INSERT[name=="ROOM-1"]')[0].set_hyperlink("http://old/1", "Old one")
        for y in (20000, 30000):
            msp.add_blockref("ROOM-1", (5000, y))
    return doc


def ferrow_label(doc):
    """The legacy FERROW_SPACE_LABEL block: attributes ROOM and PLINE2_ID (the outline's handle)."""
    label = doc.blocks.new("FERROW_SPACE_LABEL")
    label.add_attdef("ROOM", (0, 0), "", dxfattribs={"height": 200.0, "prompt": "Room"})
    label.add_attdef("PLINE2_ID", (0, -300), "", dxfattribs={"height": 100.0, "prompt": "Outline", "flags": 1})
    label.block.dxf.flags = 2


def ferrow(locked=False):
    """ferrow.dxf: two legacy FERROW_SPACE_LABEL labels (text height 200)
    naming the closed outlines of two rooms: a 5000 x 4000 mm rectangle
    (20 m2, 18 m) and an L shape of 6000 x 5000 mm less 2000 x 2000
    (26 m2, 22 m); a layer BOMA that is on. ferrow-locked.dxf: the same with
    the outlines' layer locked, as in a drawing a user protected."""
    doc = millimetre_drawing(("OUTLINES", "LABELS", "BOMA"), appids=())
    msp = doc.modelspace()
    ferrow_label(doc)
    rect = msp.add_lwpolyline([(0, 0), (5000, 0), (5000, 4000), (0, 4000)], close=True,
                              dxfattribs={"layer": "OUTLINES"})
    ell = msp.add_lwpolyline([(8000, 0), (14000, 0), (14000, 3000), (12000, 3000), (12000, 5000), (8000, 5000)],
                             close=True, dxfattribs={"layer": "OUTLINES"})
    for name, outline, at in (("Seminar A", rect, (2500, 2000)), ("Studio B", ell, (10000, 2500))):
        ref = msp.add_blockref("FERROW_SPACE_LABEL", at, dxfattribs={"layer": "LABELS"})
        ref.add_auto_attribs({"ROOM": name, "PLINE2_ID": outline.dxf.handle})
    if locked:
        doc.layers.get("OUTLINES").lock()
    return doc


def based_space(doc, msp, name, outline, base, at, attribs, xdata, rotation=0.0, scale=(1.0, 1.0, 1.0),
                centred=False):
    """A space block whose definition has a base point other than 0,0: the
    outline (given around 0,0, bulges as a third value) and the attribute
    definitions are shifted by base, so the room stands at `at` in the world."""
    bx, by = base
    block = doc.blocks.new(name, base_point=(bx, by))
    block.add_lwpolyline([(x + bx, y + by, b) for x, y, b in outline], format="xyb", close=True)
    common = {"height": H, "rotation": 0.0, "width": 1.0, "field_length": 25}
    if centred:
        common["halign"] = 1
    for tag, layer, dy in (("AREA", "ATT-AREA", 0.0), ("NAME", "ATT-NAME", 1.5 * H), ("AUX", "ATT-AUX", -1.5 * H)):
        point = (bx, by + dy)
        extra = {"align_point": point} if centred else {}
        block.add_attdef(tag, point, "", dxfattribs=dict(common, prompt=tag, layer=layer, **extra))
    block.block.dxf.flags = 2
    ref = msp.add_blockref(name, at, dxfattribs={"layer": "ROOMS", "rotation": rotation, "xscale": scale[0],
                                                 "yscale": scale[1], "zscale": scale[2]})
    ref.add_auto_attribs(attribs)
    ref.set_xdata("ADE", xdata)
    return ref


def basepoints():
    """basepoints.dxf: space blocks whose definitions have base points other
    than 0,0, as other programs write them (millimetres, $LUNITS 2):

      ROOM-1  4000 x 3000 rectangle, base 1000,500, at 5000,5000               12.00 m2, 14 m
      ROOM-2  L shape with a bulged edge, base -300,200, at 13000,5000 turned 30 degrees
      ROOM-3  2000 x 2500 rectangle, base 250,-750, at 5000,11000 scaled X 2, Y 1.5, turned 90 degrees
      ROOM-4  3000 x 3000 rectangle, base 100,100, at 13000,11000 scaled X = Y = 1, Z = 2.5
      ROOM-5  2500 x 2000 rectangle, base 400,300, at 19000,5000, attributes centred
              (the NAME attribute stands 1500 above the area text instead of 375)
      ROOM-GROSS_AREA  26000 x 14000 around them all, base 2000,1000, drawn after the
              rooms; its definition holds a reference to GRID (lines across the floor)

    CHAIR (a 500 x 500 square, base 250,250, so a chair is centred on its
    insertion point): two inside ROOM-1, one just outside it, one inside ROOM-2.
    Records are up to date except ROOM-5's name placement."""
    doc = millimetre_drawing(("ROOMS", "ATT-NAME", "ATT-AREA", "ATT-AUX", "FURNITURE", "GROSS"))
    msp = doc.modelspace()
    rect = lambda w, d: [(-w / 2, -d / 2, 0.0), (w / 2, -d / 2, 0.0), (w / 2, d / 2, 0.0), (-w / 2, d / 2, 0.0)]
    based_space(doc, msp, "ROOM-1", rect(4000, 3000), (1000, 500), (5000, 5000),
                {"NAME": "Base One", "AREA": "12.00sq.m.", "AUX": "14.00m."}, record("12.00sq.m.", "14.00m.", "Base One"))
    ell = [(-2000, -1500, 0.0), (2000, -1500, 0.0), (2000, 0, 0.0), (0, 0, 0.0), (0, 1500, 0.4), (-2000, 1500, 0.0)]
    based_space(doc, msp, "ROOM-2", ell, (-300, 200), (13000, 5000),
                {"NAME": "Base Two", "AREA": "0.00sq.m.", "AUX": ""}, record("0.00sq.m.", "0.00m.", "Base Two"),
                rotation=30.0)
    based_space(doc, msp, "ROOM-3", rect(2000, 2500), (250, -750), (5000, 11000),
                {"NAME": "Base Three", "AREA": "15.00sq.m.", "AUX": ""}, record("15.00sq.m.", "0.00m.", "Base Three"),
                rotation=90.0, scale=(2.0, 1.5, 1.0))
    based_space(doc, msp, "ROOM-4", rect(3000, 3000), (100, 100), (13000, 11000),
                {"NAME": "Base Four", "AREA": "9.00sq.m.", "AUX": ""}, record("9.00sq.m.", "12.00m.", "Base Four"),
                scale=(1.0, 1.0, 2.5))
    centred = based_space(doc, msp, "ROOM-5", rect(2500, 2000), (400, 300), (19000, 5000),
                          {"NAME": "Base Five", "AREA": "5.00sq.m.", "AUX": ""},
                          record("5.00sq.m.", "9.00m.", "Base Five"), centred=True)
    name = centred.get_attrib("NAME")
    name.dxf.insert = (19000, 6500)
    name.dxf.align_point = (19000, 6500)
    grid = doc.blocks.new("GRID", base_point=(500, 500))
    for k in range(4):
        grid.add_line((500 + k * 8000, 500), (500 + k * 8000, 14500))
    gross = [(0, 0, 0.0), (26000, 0, 0.0), (26000, 14000, 0.0), (0, 14000, 0.0)]
    ref = based_space(doc, msp, "ROOM-GROSS_AREA", gross, (2000, 1000),
                      (0, 0), {"NAME": "GROSS AREA", "AREA": "364.00sq.m.", "AUX": "Level 1"},
                      record("364.00sq.m.", "80.00m.", "GROSS AREA"))
    doc.blocks.get("ROOM-GROSS_AREA").add_blockref("GRID", (2000, 1000))
    ref.dxf.layer = "GROSS"
    chair = doc.blocks.new("CHAIR", base_point=(250, 250))
    chair.add_lwpolyline([(0, 0), (500, 0), (500, 500), (0, 500)], close=True)
    for at in ((5000, 5000), (3400, 3900), (7400, 5000), (13500, 4800)):
        msp.add_blockref("CHAIR", at, dxfattribs={"layer": "FURNITURE"})
    return doc


def lock_record(area, perimeter, name):
    return record(area + "sq.m.", perimeter + "m.", name, others=("CC-9", "2024-03-01", "D07", "4", "5"))


def lock_space(doc, number, w, d, at, attribs, xdata):
    """A space block of the locked-layer drawings: text height 200, attribute
    definitions only for the attributes given."""
    return space(doc, number, box(w, d), at, attribs, xdata, tags=attribs.keys(), height=LOCK_H, field_length=0)


def locked(layer):
    doc = millimetre_drawing()
    doc.layers.get(layer).lock()
    lock_space(doc, 1, 3000, 4000, (5000, 5000), {"NAME": "Room Alpha", "AREA": "11.00sq.m.", "AUX": "13.00m."},
               lock_record("11.00", "13.00", "Room Alpha"))
    lock_space(doc, 2, 2000, 3000, (10000, 5000), {"NAME": "Room Beta", "AREA": "5.00sq.m.", "AUX": "9.00m."},
               lock_record("5.00", "9.00", "Room Beta"))
    lock_space(doc, 3, 2500, 2000, (15000, 5000), {"NAME": "Room Gamma", "AREA": "5.00sq.m."},
               lock_record("5.00", "9.00", "Room Gamma"))
    return doc


def links():
    doc = millimetre_drawing(appids=("ADE", "PE_URL"))
    ref = lock_space(doc, 1, 3000, 4000, (5000, 5000), {"NAME": "Room Alpha", "AREA": "12.00sq.m.", "AUX": "14.00m."},
                     lock_record("12.00", "14.00", "Room Alpha"))
    ref.set_xdata("PE_URL", [(1000, "plans/level1.pdf"), (1002, "{"), (1000, "Level 1 plan"),
                             (1000, "Sheet A-101"), (1002, "{"), (1071, 1), (1002, "}"), (1002, "}"),
                             (1000, "https://example.org/rooms/alpha")])
    doc.blocks.get("ROOM-1").query("LWPOLYLINE")[0].set_xdata(
        "PE_URL", [(1000, "specs/alpha.docx"), (1002, "{"), (1000, "Fit-out"), (1000, "Section 3"), (1002, "{"),
                   (1071, 0), (1002, "}"), (1002, "}")])
    lock_space(doc, 2, 2000, 3000, (10000, 5000), {"NAME": "Room Beta", "AREA": "6.00sq.m.", "AUX": "10.00m."},
               lock_record("6.00", "10.00", "Room Beta"))
    return doc


def regression(version, lock=None, link=False):
    doc = millimetre_drawing(version=version)
    if lock:
        doc.layers.get(lock).lock()
    ref = lock_space(doc, 7, 3000, 4000, (5000, 5000), {"NAME": "Real Name", "AREA": "11.00sq.m.", "AUX": "13.00m."},
                     lock_record("11.00", "13.00", "Real Name"))
    if link:
        doc.appids.add("PE_URL")
        ref.set_xdata("PE_URL", [(1000, "plans/level1.pdf"), (1002, "{"), (1000, "Level 1 plan"),
                                 (1000, "Sheet A-101"), (1002, "{"), (1071, 1), (1002, "}"), (1002, "}")])
    return doc


def sheet():
    doc = ezdxf.new("R2013")
    for name, colour in (("WALLS", 1), ("FURN", 2), ("NOTES", 3), ("HIDDEN", 4)):
        doc.layers.add(name, color=colour)
    doc.layers.get("HIDDEN").freeze()
    msp = doc.modelspace()
    for i, layer in enumerate(("WALLS", "FURN", "NOTES")):
        msp.add_line((0, 1000 * i), (5000, 1000 * i), dxfattribs={"layer": layer})
    layout = doc.layouts.rename("Layout1", "SHEET 1") or doc.layouts.get("SHEET 1")
    layout.page_setup(size=(420, 297), margins=(10, 10, 10, 10))
    first = layout.add_viewport(center=(110, 150), size=(180, 250), view_center_point=(2500, 1000), view_height=3000)
    first.frozen_layers = ["NOTES"]
    layout.add_viewport(center=(310, 150), size=(180, 250), view_center_point=(2500, 0), view_height=1500)
    doc.layouts.new("SHEET 2")
    doc.header["$TILEMODE"] = 1
    return doc


def long_handle_list():
    doc = millimetre_drawing()
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
    doc = millimetre_drawing()
    space(doc, 1, box(3000, 4000), (5000, 5000), {"NAME": "No Record", "AREA": "", "AUX": ""})
    space(doc, 2, box(3000, 4000), (10000, 5000), {"NAME": "Bare Area", "AREA": "12", "AUX": "14"},
          record("12", "14", "Bare Area", height="2.70m.", volume="32.400cu.m."))
    space(doc, 3, box(3000, 4000), (15000, 5000), {"NAME": "Own Digits", "AREA": "12.5sq.m.", "AUX": "14.25m."},
          record("12.5sq.m.", "14.25m.", "Own Digits", height="2.705m.", volume="33.8125cu.m."))
    space(doc, 4, box(1000, 2000), (20000, 5000), {"NAME": "Store, north", "AREA": "2.00sq.m.", "AUX": "6.00m."},
          record("2.00sq.m.", "6.00m.", "Store, north"))
    return doc


def precision_changed():
    doc = millimetre_drawing()
    space(doc, 1, box(3000, 3500), (5000, 5000), {"NAME": "Lab A", "AREA": "10.000sq.m.", "AUX": "12.000m."},
          record("10.000sq.m.", "12.000m.", "Lab A"))
    space(doc, 2, box(4000, 5000), (10000, 5000), {"NAME": "Lab B", "AREA": "19.0sq.m.", "AUX": "17.0m."},
          record("19.0sq.m.", "17.0m.", "Lab B"))
    space(doc, 3, box(2000, 2500), (15000, 5000), {"NAME": "Lab C", "AREA": "about 5", "AUX": "Science"},
          record("4.000sq.m.", "9.000m.", "Lab C"))
    return doc


def huge_values():
    doc = millimetre_drawing()
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
    doc = millimetre_drawing()
    msp = doc.modelspace()
    ferrow_label(doc)
    far = msp.add_lwpolyline([(0, 0), (1e308, 0), (1e308, 4000), (0, 4000)], close=True)
    ref = msp.add_blockref("FERROW_SPACE_LABEL", (2500, 2000))
    ref.add_auto_attribs({"ROOM": "Far Seminar", "PLINE2_ID": far.dxf.handle})
    return doc


def plain_based_space(doc, name, w, d, base, at, label):
    """A w x d space block whose definition has the base point given (its
    content shifted to match), AREA and NAME only, a short record."""
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


def block_base_point():
    doc = millimetre_drawing(("ATT-AREA", "ATT-NAME"))
    plain_based_space(doc, "ROOM-1", 4000, 3000, (1000, 500), (5000, 5000), "Base")
    return doc


def label_in_gross_area():
    doc = millimetre_drawing(("ATT-AREA", "ATT-NAME"))
    plain_based_space(doc, "ROOM-1", 4000, 3000, (0, 0), (5000, 5000), "Inner")
    plain_based_space(doc, "ROOM-GROSS_AREA", 20000, 10000, (0, 0), (10000, 5000), "GROSS AREA")
    return doc


def board_room_bay():
    doc = ezdxf.new("R2013")
    hatch = doc.modelspace().add_hatch(color=30)
    hatch.set_pattern_fill("ANSI31", scale=40.0)
    hatch.paths.add_polyline_path(
        [(21650, 50, 0.25), (28750, 50, 0.0), (28750, 7450, 0.0), (21650, 7450, 0.0)], is_closed=True)
    return doc


def block_ring_doubled():
    doc = ezdxf.new("R2013")
    a = doc.blocks.new("RING-A")
    b = doc.blocks.new("RING-B")
    a.add_line((0, 0), (100, 0))
    b.add_line((0, 0), (0, 100))
    for block, other in ((a, "RING-B"), (b, "RING-A")):
        block.add_blockref(other, (200, 0))
        block.add_blockref(other, (0, 200))
    doc.modelspace().add_blockref("RING-A", (1000, 1000))
    return doc


RECT = [(0, 0), (5000, 0), (5000, 5100), (0, 5100)]
ELL = [(10000, 0), (16000, 0), (16000, 2000), (12000, 2000), (12000, 6000), (10000, 6000)]
ARC = [(20000, 0, 0), (24000, 0, 1.0), (24000, 3000, 0), (20000, 3000, 0)]
OPEN = [(30000, 0), (34000, 0), (34000, 3000), (30000, 3000)]
LOCKED = [(40000, 0), (44000, 0), (44000, 3000), (40000, 3000)]
HOLE = [(500, 500), (1500, 500), (1500, 2500), (500, 2500)]
EXTRA = [(50000, 0), (51000, 0), (51000, 1000), (50000, 1000)]


def layers(doc):
    doc.layers.add("ROOMS", color=3)
    doc.layers.add("WALLS", color=1)
    locked = doc.layers.add("LOCKED", color=5)
    locked.lock()


def outlines(doc, which=("RECT", "ELL", "ARC", "OPEN", "LOCKED", "HOLE", "EXTRA")):
    msp = doc.modelspace()
    shapes = {"RECT": (RECT, "ROOMS", True), "ELL": (ELL, "WALLS", True), "ARC": (ARC, "ROOMS", True),
            "OPEN": (OPEN, "ROOMS", False), "LOCKED": (LOCKED, "LOCKED", True), "HOLE": (HOLE, "ROOMS", True),
            "EXTRA": (EXTRA, "ROOMS", True)}
    for name in which:
        points, layer, closed = shapes[name]
        fmt = "xyb" if len(points[0]) == 3 else "xy"
        msp.add_lwpolyline(points, format=fmt, close=closed, dxfattribs={"layer": layer})


def new_doc(version="R2013"):
    doc = ezdxf.new(version)
    doc.header["$INSUNITS"] = 4
    doc.header["$LUNITS"] = 2
    layers(doc)
    return doc


def room(doc, number, name, at, w=3000, d=3000):
    block = doc.blocks.new(f"ROOM-{number}")
    block.add_lwpolyline([(-w / 2, -d / 2), (w / 2, -d / 2), (w / 2, d / 2), (-w / 2, d / 2)], close=True)
    common = {"height": 250.0, "rotation": 0.0, "width": 1.0}
    block.add_attdef("AREA", (0, 0), "DEFAULT AREA", dxfattribs=dict(common, prompt="Enter Area", layer="ATT-AREA"))
    block.add_attdef("NAME", (0, 375), "DEFAULT NAME", dxfattribs=dict(common, prompt="Enter Name", layer="ATT-NAME"))
    block.add_attdef("AUX", (0, -375), "DEFAULT AUX",
                     dxfattribs=dict(common, prompt="Enter Auxillary Value", layer="ATT-AUX"))
    ref = doc.modelspace().add_blockref(f"ROOM-{number}", at, dxfattribs={"layer": "ROOMS"})
    area = w * d / 1e6
    ref.add_auto_attribs({"NAME": name, "AREA": f"{area:.2f}sq.m.", "AUX": " "})
    if "ADE" not in doc.appids:
        doc.appids.new("ADE")
    items = [f"AREA={area:.2f}sq.m.", f"PERIMETER={2 * (w + d) / 1000:.2f}m.", f"NAME={name}", "TAGTYPE=ROOM",
             "AREA_TYPE=NET", "COST_CENTRE=<Not Set>", "DATE=<Not Set>", "DATE_L_MOVE=<Not Set>",
             "DEPT_CHARGE=<Not Set>", "ROOM_HEIGHT=0.00m.", "SPECIAL_REQ=<Not Set>", "TOT_STAFF=<Not Set>",
             "TOT_WKSTNS=<Not Set>", "VOLUME=0.00cu.m.", "HANDLESTOMINUS=", "HANDLESTOADD="]
    ref.set_xdata("ADE", [(1002, "{")] + [(1000, i) for i in items] + [(1002, "}")])


def bulk(doc):
    msp = doc.modelspace()
    doc.layers.add("ROOMS-2")
    doc.layers.add("ROOMS-LOCKED").lock()
    doc.layers.add("TEXT")
    add = lambda pts, layer, closed=True: msp.add_lwpolyline(pts, close=closed, dxfattribs={"layer": layer})
    add(RECT, "ROOMS")
    msp.add_text("101", dxfattribs={"insert": (1000, 4000), "height": 200, "layer": "TEXT"})
    add(ELL, "ROOMS-2")
    text = msp.add_text("L-Room", dxfattribs={"height": 200, "layer": "TEXT"})
    text.set_placement((11000, 3000), align=ezdxf.enums.TextEntityAlignment.MIDDLE_CENTER)
    add([(60000, 0), (68000, 0), (68000, 6000), (66000, 6000), (66000, 2000), (62000, 2000), (62000, 6000),
         (60000, 6000)], "ROOMS")
    text = msp.add_text("U 7", dxfattribs={"height": 200, "layer": "TEXT"})
    text.set_placement((60500, 1000), (63500, 1000), align=ezdxf.enums.TextEntityAlignment.ALIGNED)
    add([(70000, 0), (74000, 0), (74000, 3000), (70000, 3000)], "ROOMS")
    msp.add_text("A", dxfattribs={"insert": (71000, 1000), "height": 200})
    msp.add_text("B", dxfattribs={"insert": (72000, 1000), "height": 200})
    add([(80000, 0), (84000, 0), (84000, 3000), (80000, 3000)], "ROOMS")
    tag = doc.blocks.new("TAG")
    tag.add_circle((0, 0), 300)
    tag.add_attdef("NUMBER", (0, 0), "", dxfattribs={"height": 200})
    ref = msp.add_blockref("TAG", (82000, 1500), dxfattribs={"layer": "TEXT"})
    ref.add_auto_attribs({"NUMBER": "R-204"})
    add([(90000, 0), (93000, 0), (93000, 3000), (90000, 3000)], "ROOMS")
    add(OPEN, "ROOMS", closed=False)
    add([(100000, 0), (104000, 3000), (104000, 0), (100000, 2000)], "ROOMS")
    add([(110000, 0), (112000, 0), (114000, 0)], "ROOMS")
    add([(40000, 0), (44000, 0), (44000, 3000), (40000, 3000)], "ROOMS-LOCKED")
    extra = add(EXTRA, "ROOMS")
    add([(120000, 0), (123000, 0), (123000, 3000), (120000, 3000)], "WALLS")
    add([(130000, 0), (134000, 0), (134000, 3000), (130000, 3000)], "ROOMS")
    msp.add_mtext("{\\fArial|b1;R-305}\\PMeeting room", dxfattribs={"insert": (130500, 2500), "char_height": 200,
                                                                   "layer": "TEXT", "attachment_point": 1})
    doc.layout("Layout1").add_lwpolyline([(0, 0), (100, 0), (100, 100), (0, 100)], close=True,
                                         dxfattribs={"layer": "ROOMS"})
    office = next(e for e in msp.query("INSERT") if e.dxf.name == "ROOM-3")
    items = [(code, value if not str(value).startswith("HANDLESTOADD=") else f"HANDLESTOADD={extra.dxf.handle},")
             for code, value in office.get_xdata("ADE")]
    office.set_xdata("ADE", items)


def creation():
    os.makedirs(CREATION, exist_ok=True)
    doc = new_doc()
    outlines(doc)
    doc.saveas(os.path.join(CREATION, "outlines.dxf"))

    doc = new_doc()
    outlines(doc)
    doc.header["$UCSORG"] = (100000.0, 50000.0, 0.0)
    doc.header["$UCSXDIR"] = (0.0, 1.0, 0.0)
    doc.header["$UCSYDIR"] = (-1.0, 0.0, 0.0)
    doc.saveas(os.path.join(CREATION, "outlines-ucs.dxf"))

    doc = new_doc()
    room(doc, 3, "Office 009", (-20000, 0))
    room(doc, 12, "Office 010", (-10000, 0))
    outlines(doc, ("RECT",))
    doc.saveas(os.path.join(CREATION, "rooms.dxf"))

    doc = new_doc()
    outlines(doc)
    doc.modelspace().add_lwpolyline([(60000, 0), (70000, 0), (70000, 5000), (60000, 5000)], close=True,
                                    dxfattribs={"layer": "ROOMS"})
    doc.modelspace().add_circle((80000, 0), 1500, dxfattribs={"layer": "ROOMS"})
    doc.saveas(os.path.join(CREATION, "markers.dxf"))

    doc = new_doc()
    room(doc, 3, "Office 009", (-20000, 0))
    room(doc, 12, "Office 010", (-10000, 0))
    bulk(doc)
    doc.saveas(os.path.join(CREATION, "bulk.dxf"))


def bulk_figure_eight():
    doc = ezdxf.new("R2013")
    doc.layers.add("ROOMS")
    msp = doc.modelspace()
    msp.add_lwpolyline([(0, 0), (4000, 3000), (4000, 0), (0, 3000)], close=True, dxfattribs={"layer": "ROOMS"})
    msp.add_lwpolyline([(10000, 0), (12000, 0), (14000, 0)], close=True, dxfattribs={"layer": "ROOMS"})
    return doc


def main():
    if os.environ.get("PYTHONHASHSEED") != "0":
        os.execve(sys.executable, [sys.executable] + sys.argv, dict(os.environ, PYTHONHASHSEED="0"))
    ezdxf.options.write_fixed_meta_data_for_testing = True
    os.makedirs(OUT, exist_ok=True)
    spaces().saveas(os.path.join(OUT, "spaces.dxf"))
    spaces(copies=True).saveas(os.path.join(OUT, "spaces-copies.dxf"))
    ferrow().saveas(os.path.join(OUT, "ferrow.dxf"))
    ferrow(locked=True).saveas(os.path.join(OUT, "ferrow-locked.dxf"))
    basepoints().saveas(os.path.join(OUT, "basepoints.dxf"))
    for layer in ("ATT-NAME", "ATT-AREA", "ATT-AUX", "ROOMS"):
        locked(layer).saveas(os.path.join(OUT, "locked-" + layer.lower() + ".dxf"))
    links().saveas(os.path.join(OUT, "links.dxf"))
    sheet().saveas(os.path.join(OUT, "sheet.dxf"))
    regressions = {"maux-locked-aux": lambda: regression("R2000", lock="ATT-AUX"),
                   "mus-locked-name": lambda: regression("R2000", lock="ATT-NAME"),
                   "mus-links": lambda: regression("R2000", link=True),
                   "long-handle-list": long_handle_list, "units-missing": units_missing,
                   "precision-changed": precision_changed, "huge-values": huge_values, "ferrow-huge": ferrow_huge,
                   "block-base-point": block_base_point, "label-in-gross-area": label_in_gross_area,
                   "board-room-bay": board_room_bay, "block-ring-doubled": block_ring_doubled,
                   "bulk-figure-eight": bulk_figure_eight}
    for name, make in regressions.items():
        make().saveas(os.path.join(REGRESSIONS, name + ".dxf"))
    creation()
    return 0


if __name__ == "__main__":
    sys.exit(main())
