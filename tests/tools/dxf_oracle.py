#!/usr/bin/python3
"""Independent DXF checker built on ezdxf (Debian python3-ezdxf, 0.18).

Tests call it to compare what Zelka reads and writes with what another DXF
library sees in the same file.  Run it with /usr/bin/python3.

    dxf_oracle.py audit FILE          {"errors": [...], "fixes": [...]}; exit 1 on errors
                                      (an exception inside ezdxf's audit is one error, code null)
    dxf_oracle.py dump FILE           header variables, layers (on, frozen, locked, lineweight)
                                      and the modelled fields of every entity in model
                                      space and in every block
    dxf_oracle.py tags FILE           the raw tag stream, one JSON [code, value] a line
    dxf_oracle.py area FILE HANDLE... area and perimeter of an LWPOLYLINE, or of the
                                      first LWPOLYLINE of the block an INSERT references,
                                      transformed by that INSERT; one JSON line a handle
    dxf_oracle.py table FILE          every ACAD_TABLE read from its raw AcDbTable tags
                                      (grid, cells, cell record format) and the table
                                      styles of the ACAD_TABLESTYLE dictionary
    dxf_oracle.py hatches FILE        audit errors and every model-space HATCH as dump gives
                                      it, with the line segments ezdxf's hatching renderer
                                      draws ("lines": count, "length": their total length)
    dxf_oracle.py eval FILE EXPR...   one JSON line per Python expression over the file, with
                                      the document as `doc`, its audit error messages as
                                      `audit` and the helpers of cmd_eval
    dxf_oracle.py compare ORIGINAL SAVED
                                      {"differences": [...]} between an R12 drawing and the
                                      same drawing saved by Zelka: the saved one audits clean,
                                      is R2000 or later and holds the same entities (type,
                                      layer, colour, linetype, geometry, attributes) in model
                                      space, paper space and every block, the same block base
                                      points, layers and linetypes; exit 1 on differences
    dxf_oracle.py render FILE OUT.png X0 Y0 X1 Y1 DPI
                                      model space drawn by ezdxf's drawing add-on on
                                      matplotlib, an independent renderer: the window
                                      (drawing units) fills the image, one drawing unit one
                                      millimetre of paper, as a 1:1 plot of that window
    dxf_oracle.py patterns DEG SCALE NAME...
                                      ezdxf's ISO hatch patterns rotated and scaled, each line
                                      [angle, base x, base y, offset x, offset y, dashes...]

Output is JSON on stdout.  A file that cannot be read gives exit status 2 and
{"error": "..."} on stdout, so callers can tell a bad file from a bad call (64).
"""

import json
import math
import sys

import ezdxf
from ezdxf.lldxf.const import DXFError
from ezdxf.math import Matrix44, Vec2, Vec3, area as polygon_area

HEADER_VARS = ("$ACADVER", "$HANDSEED", "$INSUNITS", "$LUNITS")

EXIT_OK, EXIT_FINDINGS, EXIT_UNREADABLE, EXIT_USAGE = 0, 1, 2, 64


# ---------------------------------------------------------------- value helpers

def plain(value):
    """Turns ezdxf values (vectors, tuples, bytes) into JSON-ready values."""
    if isinstance(value, (Vec2, Vec3)):
        return list(value)
    if isinstance(value, (tuple, list)):
        return [plain(v) for v in value]
    if isinstance(value, (bytes, bytearray)):
        return value.hex().upper()
    return value


def emit(obj):
    sys.stdout.write(json.dumps(obj, ensure_ascii=False))
    sys.stdout.write("\n")


def read_document(path):
    try:
        return ezdxf.readfile(path)
    except (IOError, OSError, DXFError, UnicodeDecodeError, ValueError) as exc:
        emit({"error": f"{type(exc).__name__}: {exc}", "file": path})
        sys.exit(EXIT_UNREADABLE)


# ---------------------------------------------------------------- audit

def cmd_audit(path):
    doc = read_document(path)
    try:
        auditor = doc.audit()
    except Exception as exc:  # an ezdxf defect, e.g. its layout audit of some R12 files
        emit({"errors": [{"code": None, "message": f"ezdxf audit raised {type(exc).__name__}: {exc}",
                          "handle": None}], "fixes": []})
        return EXIT_FINDINGS

    def entries(items):
        return [
            {
                "code": int(e.code),
                "message": e.message,
                "handle": e.entity.dxf.get("handle") if e.entity is not None else None,
            }
            for e in items
        ]

    emit({"errors": entries(auditor.errors), "fixes": entries(auditor.fixes)})
    return EXIT_FINDINGS if auditor.errors else EXIT_OK


# ---------------------------------------------------------------- dump

def xdata_of(entity):
    if entity.xdata is None:
        return {}
    return {
        appid: [[tag.code, plain(tag.value)] for tag in tags]
        for appid, tags in entity.xdata.data.items()
    }


def text_fields(e):
    return {
        "text": e.dxf.text,
        "insert": plain(e.dxf.insert),
        "height": e.dxf.height,
        "rotation": e.dxf.get("rotation", 0.0),
        "style": e.dxf.get("style", "Standard"),
        "halign": e.dxf.get("halign", 0),
        "valign": e.dxf.get("valign", 0),
        "align_point": plain(e.dxf.get("align_point")),
    }


def attrib_fields(a):
    fields = {"handle": a.dxf.handle, "tag": a.dxf.tag, "layer": a.dxf.layer}
    fields.update(text_fields(a))
    fields["flags"] = a.dxf.get("flags", 0)
    return fields


def lwpolyline_points(e):
    # (x, y, bulge) for every vertex; widths are left out on purpose.
    return [[x, y, b] for x, y, b in e.get_points("xyb")]


def hatch_edge(edge):
    kind = edge.type.name.lower()
    if kind == "line":
        return {"type": kind, "start": plain(edge.start), "end": plain(edge.end)}
    if kind == "arc":
        return {"type": kind, "center": plain(edge.center), "radius": edge.radius,
                "start_angle": edge.start_angle, "end_angle": edge.end_angle, "ccw": bool(edge.ccw)}
    if kind == "ellipse":
        return {"type": kind, "center": plain(edge.center), "major_axis": plain(edge.major_axis),
                "ratio": edge.ratio, "start_angle": edge.start_angle,
                "end_angle": edge.end_angle, "ccw": bool(edge.ccw)}
    return {"type": kind, "degree": edge.degree, "control_points": plain(edge.control_points),
            "knots": list(edge.knot_values), "fit_points": plain(edge.fit_points)}


def hatch_path(path):
    if path.type.name in ("POLYLINE_PATH", "POLYLINE"):
        return {"type": "polyline", "flags": path.path_type_flags,
                "closed": bool(path.is_closed), "vertices": [list(v) for v in path.vertices]}
    return {"type": "edge", "flags": path.path_type_flags,
            "edges": [hatch_edge(edge) for edge in path.edges]}


def entity_record(e):
    kind = e.dxftype()
    def attr(name, default):
        # Entities ezdxf keeps as raw tags (ACAD_TABLE) have no layer or colour attributes.
        return e.dxf.get(name, default) if e.dxf.is_supported(name) else default

    rec = {"type": kind, "handle": e.dxf.get("handle"), "layer": attr("layer", "0"),
           "color": attr("color", 256)}
    if e.dxf.hasattr("true_color"):
        rec["true_color"] = e.dxf.true_color
    if kind == "INSERT":
        rec.update({
            "name": e.dxf.name,
            "insert": plain(e.dxf.insert),
            "scale": [e.dxf.get("xscale", 1.0), e.dxf.get("yscale", 1.0), e.dxf.get("zscale", 1.0)],
            "rotation": e.dxf.get("rotation", 0.0),
            "attribs": [attrib_fields(a) for a in e.attribs],
        })
    elif kind == "LWPOLYLINE":
        rec.update({"closed": bool(e.closed), "points": lwpolyline_points(e),
                    "const_width": e.dxf.get("const_width", 0.0),
                    "elevation": e.dxf.get("elevation", 0.0)})
    elif kind in ("TEXT", "ATTRIB"):
        rec.update(text_fields(e))
    elif kind == "ATTDEF":
        rec.update(attrib_fields(e))
        rec["prompt"] = e.dxf.get("prompt", "")
    elif kind == "MTEXT":
        rec.update({"text": e.text, "insert": plain(e.dxf.insert),
                    "char_height": e.dxf.get("char_height", 1.0)})
    elif kind == "CIRCLE":
        rec.update({"center": plain(e.dxf.center), "radius": e.dxf.radius})
    elif kind == "ARC":
        rec.update({"center": plain(e.dxf.center), "radius": e.dxf.radius,
                    "start_angle": e.dxf.start_angle, "end_angle": e.dxf.end_angle})
    elif kind == "LINE":
        rec.update({"start": plain(e.dxf.start), "end": plain(e.dxf.end)})
    elif kind == "HATCH":
        rec.update({
            "pattern": e.dxf.pattern_name,
            "solid_fill": bool(e.dxf.solid_fill),
            "angle": e.dxf.get("pattern_angle", 0.0),
            "scale": e.dxf.get("pattern_scale", 1.0),
            "style": e.dxf.get("hatch_style", 0),
            "associative": e.dxf.get("associative", 0),
            "pattern_type": e.dxf.get("pattern_type", 1),
            "pattern_lines": [[l.angle, *l.base_point, *l.offset, *l.dash_length_items]
                              for l in (e.pattern.lines if e.pattern else [])],
            "seeds": len(e.seeds),
            "paths": [hatch_path(p) for p in e.paths],
        })
    rec["xdata"] = xdata_of(e)
    return rec


def header_values(doc):
    return {name: plain(doc.header.get(name)) for name in HEADER_VARS}


def cmd_dump(path):
    doc = read_document(path)
    blocks = {}
    for block in doc.blocks:
        if block.name.lower() == "*model_space":
            continue
        blocks[block.name] = {
            "handle": block.block_record_handle,
            "base_point": plain(block.block.dxf.base_point),
            "flags": block.block.dxf.get("flags", 0),
            "entities": [entity_record(e) for e in block],
        }
    layers = {
        layer.dxf.name: {"on": layer.is_on(), "frozen": layer.is_frozen(), "locked": layer.is_locked(),
                         "lineweight": layer.dxf.get("lineweight", -3)}
        for layer in doc.layers
    }
    emit({
        "file": path,
        "dxfversion": doc.dxfversion,
        "encoding": doc.encoding,
        "header": header_values(doc),
        "layers": layers,
        "modelspace": [entity_record(e) for e in doc.modelspace()],
        "blocks": blocks,
    })
    return EXIT_OK


# ---------------------------------------------------------------- tags

def cmd_tags(path):
    """Raw tags as ezdxf's low-level tagger yields them: comments (999) and
    anything after 0/EOF are left out, values are the text of the value line
    without its line ending (CRLF and LF read alike), numbers are not parsed."""
    from ezdxf.filemanagement import dxf_file_info
    from ezdxf.lldxf.tagger import ascii_tags_loader, binary_tags_loader
    from ezdxf.lldxf.validator import is_binary_dxf_file

    out = sys.stdout
    try:
        if is_binary_dxf_file(path):
            with open(path, "rb") as fp:
                tags = list(binary_tags_loader(fp.read()))
        else:
            encoding = dxf_file_info(path).encoding
            with open(path, "rt", encoding=encoding, errors="surrogateescape") as fp:
                tags = list(ascii_tags_loader(fp))
    except (IOError, OSError, DXFError) as exc:
        emit({"error": f"{type(exc).__name__}: {exc}", "file": path})
        return EXIT_UNREADABLE
    for tag in tags:
        out.write(json.dumps([tag.code, plain(tag.value)], ensure_ascii=False))
        out.write("\n")
    return EXIT_OK


# ---------------------------------------------------------------- area

def lwpolyline_measure(points, closed):
    """Exact area and length of a polyline with bulged segments.

    The straight polygon area comes from ezdxf.math.area; each bulged segment
    adds (or, for a bulge against the winding, removes) its circular segment
    r^2/2 (theta - sin theta), theta = 4 atan(bulge), r from ezdxf.math.bulge_radius.
    """
    from ezdxf.math import bulge_radius

    count = len(points)
    segments = count if closed else count - 1
    vertices = [Vec2(x, y) for x, y, _ in points]
    signed_area = 0.0
    length = 0.0
    for i in range(segments):
        start, end, bulge = vertices[i], vertices[(i + 1) % count], points[i][2]
        chord = start.distance(end)
        if bulge == 0.0 or chord == 0.0:
            length += chord
            continue
        theta = 4.0 * math.atan(abs(bulge))
        radius = bulge_radius(start, end, bulge)
        length += radius * theta
        segment = radius * radius / 2.0 * (theta - math.sin(theta))
        signed_area += math.copysign(segment, bulge)
    if closed and count >= 3:
        shoelace = 0.0
        for i in range(count):
            a, b = vertices[i], vertices[(i + 1) % count]
            shoelace += a.x * b.y - b.x * a.y
        winding = math.copysign(1.0, shoelace) if shoelace else 1.0
        # ezdxf.math.area gives the unsigned polygon area; the winding orients it.
        signed_area += winding * polygon_area(vertices)
        area = abs(signed_area)
    else:
        area = 0.0
    return area, length


def first_outline(block):
    for e in block:
        if e.dxftype() == "LWPOLYLINE":
            return e
    return None


def cmd_area(path, *handles):
    doc = read_document(path)
    status = EXIT_OK
    for handle in handles:
        status = max(status, measure_entity(doc, handle))
    return status


def measure_entity(doc, handle):
    entity = doc.entitydb.get(handle.upper())
    if entity is None:
        emit({"error": f"no entity with handle {handle}", "handle": handle, "file": doc.filename})
        return EXIT_FINDINGS
    kind = entity.dxftype()
    if kind == "LWPOLYLINE":
        area, perimeter = lwpolyline_measure(list(entity.get_points("xyb")), entity.closed)
        emit({"handle": entity.dxf.handle, "type": kind, "closed": bool(entity.closed),
              "area": area, "perimeter": perimeter})
        return EXIT_OK
    if kind != "INSERT":
        emit({"error": f"entity {handle} is a {kind}, not an LWPOLYLINE or INSERT", "handle": handle})
        return EXIT_FINDINGS
    block = doc.blocks.get(entity.dxf.name)
    outline = first_outline(block) if block is not None else None
    if outline is None:
        emit({"handle": entity.dxf.handle, "type": kind, "block": entity.dxf.name,
              "outline": None, "area": 0.0, "perimeter": 0.0})
        return EXIT_OK
    outline_area, outline_length = lwpolyline_measure(list(outline.get_points("xyb")), outline.closed)
    m = entity.matrix44()
    ux, uy = m.transform_direction((1, 0, 0)), m.transform_direction((0, 1, 0))
    det = abs(ux.x * uy.y - ux.y * uy.x)   # area factor of the block transform in the plane
    sx, sy = ux.magnitude, uy.magnitude
    if math.isclose(sx, sy, rel_tol=1e-12):
        perimeter, method = outline_length * sx, "exact"
    else:
        perimeter, method = transformed_length(outline, m), "flattened"
    emit({"handle": entity.dxf.handle, "type": kind, "block": entity.dxf.name,
          "outline": outline.dxf.handle, "closed": bool(outline.closed),
          "outline_area": outline_area, "outline_perimeter": outline_length,
          "scale": [entity.dxf.get("xscale", 1.0), entity.dxf.get("yscale", 1.0)],
          "area": outline_area * det, "perimeter": perimeter, "perimeter_method": method})
    return EXIT_OK


def transformed_length(outline, m: Matrix44):
    """Length of the outline after a non-uniform transform (arcs become
    ellipses), measured on a flattening with 1e-9 drawing units of sagitta."""
    from ezdxf import path as ezpath

    p = ezpath.make_path(outline).transform(m)
    pts = list(p.flattening(distance=1e-9))
    return sum(a.distance(b) for a, b in zip(pts, pts[1:]))


# ---------------------------------------------------------------- table

def table_cell(tags):
    """One cell record (from its 171 tag): the values as written, the text
    joined from its pieces (legacy: 2/3 chunks then 1; from R2007: 303
    chunks then 302 inside CELL_VALUE ... ACVALUE_END)."""
    cell = {"format": "legacy", "extra": []}
    legacy, value, full = [], [], []
    in_value = False
    first = {}
    for tag in tags:
        code, v = tag.code, tag.value
        if code == 301 and v == "CELL_VALUE":
            in_value, cell["format"] = True, "r2007"
            continue
        if code == 304 and v == "ACVALUE_END":
            in_value = False
            continue
        if in_value:
            if code in (1, 2, 3):
                value.append((code, v))
            elif code in (302, 303):
                full.append((code, v))
            elif code == 90:
                cell["value_type"] = v
            continue
        if code in (1, 2, 3):
            legacy.append((code, v))
        elif code not in first:
            first[code] = v
    names = {171: "type", 172: "flags", 173: "merged", 174: "autofit", 175: "colspan", 176: "rowspan",
             177: "overrides", 91: "overrides", 178: "virtual_edge", 145: "rotation", 340: "block",
             144: "block_scale", 140: "height", 170: "alignment"}
    for code, name in names.items():
        if code in first:
            cell[name] = first[code]

    def joined(pieces, last_code):
        # Chunks must come before the one closing piece of last_code.
        if not pieces:
            return None
        if pieces[-1][0] != last_code or any(c == last_code for c, _ in pieces[:-1]):
            return {"bad_order": [c for c, _ in pieces]}
        return "".join(v for _, v in pieces)

    cell["text"] = joined(legacy, 1) if cell["format"] == "legacy" else joined(full, 302)
    if cell["format"] == "r2007":
        cell["value_text"] = joined(value, 1)
    pieces = legacy if cell["format"] == "legacy" else full
    cell["pieces"] = [c for c, _ in pieces]
    cell["piece_bytes"] = [len(v.encode("utf-8", errors="surrogateescape")) for _, v in pieces]
    cell["codes"] = [t.code for t in tags if t.code not in (1, 2, 3)][:40]
    return cell


def table_record(e):
    ref = e.xtags.get_subclass("AcDbBlockReference")
    tags = e.xtags.get_subclass("AcDbTable")
    head, heights, widths, cells = {}, [], [], []
    current = None
    for tag in tags[1:]:
        if tag.code == 171:
            current = []
            cells.append(current)
        if current is not None:
            current.append(tag)
        elif tag.code == 141:
            heights.append(tag.value)
        elif tag.code == 142:
            widths.append(tag.value)
        elif tag.code not in head:
            head[tag.code] = plain(tag.value)
    return {
        "handle": e.dxf.handle,
        "owner": e.dxf.owner,
        "block_name": ref.get_first_value(2, None),
        "insert": plain(ref.get_first_value(10, None)),
        "head_codes": [t.code for t in tags[1:] if t.code not in (141, 142)][:20],
        "style": head.get(342),
        "block_record": head.get(343),
        "direction": head.get(11),
        "rows": head.get(91),
        "columns": head.get(92),
        "row_heights": heights,
        "column_widths": widths,
        "cells": [table_cell(c) for c in cells],
    }


def cmd_table(path):
    doc = read_document(path)
    styles, reactors = {}, {}
    root = doc.rootdict
    if "ACAD_TABLESTYLE" in root:
        for name, style in root["ACAD_TABLESTYLE"].items():
            styles[name] = style.dxf.handle if hasattr(style, "dxf") else style
            if hasattr(style, "get_reactors"):
                reactors[name] = sorted(style.get_reactors())
    tables = [table_record(e) for e in doc.entitydb.values() if e.dxftype() == "ACAD_TABLE"]
    classes = [c.dxf.name for c in doc.classes]
    emit({"tables": tables, "styles": styles, "style_reactors": reactors, "classes": classes})
    return EXIT_OK


# ---------------------------------------------------------------- hatches

def cmd_hatches(path):
    from ezdxf.render import hatching

    doc = read_document(path)
    errors = [e.message for e in doc.audit().errors]
    hatches = []
    for e in doc.modelspace().query("HATCH"):
        rec = entity_record(e)
        segments = [] if e.dxf.solid_fill else list(hatching.hatch_entity(e))
        rec["lines"] = len(segments)
        rec["length"] = sum(math.dist((a.x, a.y), (b.x, b.y)) for a, b in segments)
        hatches.append(rec)
    emit({"audit_errors": errors, "hatches": hatches})
    return EXIT_OK


def cmd_patterns(angle, scale, *names):
    from ezdxf.tools import pattern

    emit({name: [[a, b[0], b[1], o[0], o[1], *d] for a, b, o, d in
                 pattern.scale_pattern(pattern.ISO_PATTERN[name], float(scale), float(angle))]
          for name in names})
    return EXIT_OK


# ---------------------------------------------------------------- eval

def cmd_eval(path, *expressions):
    doc = read_document(path)
    audit = [str(e.message) for e in doc.audit().errors]  # noqa: F841 - for the expressions
    helpers = {
        "layout": lambda name: doc.layouts.get(name),
        # The VIEWPORT entities of a layout, in order.
        "viewports": lambda name: [e for e in doc.layouts.get(name) if e.dxftype() == "VIEWPORT"],
        # What a layer record holds, as the database models it.
        "layer": lambda name: (lambda l: {
            "color": l.dxf.color, "frozen": l.is_frozen(), "locked": l.is_locked(), "off": l.is_off(),
            "plot": l.dxf.plot, "lineweight": l.dxf.lineweight, "linetype": l.dxf.linetype})(doc.layers.get(name)),
        # The pattern length and the dash lengths of a linetype.
        "linetype": lambda name: [float(t.value) for t in doc.linetypes.get(name).pattern_tags.tags
                                  if t.code in (40, 49)],
        "xdata": xdata_of,
    }
    for expr in expressions:
        print(json.dumps(eval(expr, {"doc": doc, "audit": audit, **helpers})))  # noqa: S307 - from the tests
    return EXIT_OK


# ---------------------------------------------------------------- compare

def rnd(v):
    """Numbers and points to 6 decimals."""
    try:
        return tuple(round(float(c), 6) for c in v)
    except TypeError:
        return round(float(v), 6)


def r12_fields(e):
    """What the comparison of an R12 drawing with its saved copy compares of an entity."""
    t = e.dxftype()
    d = e.dxf
    out = [t, d.get("layer", "0"), d.get("color", 256), d.get("linetype", "BYLAYER").upper()]
    if t == "LINE":
        out += [rnd(d.start), rnd(d.end)]
    elif t in ("CIRCLE", "ARC"):
        out += [rnd(d.center), rnd(d.radius)]
        if t == "ARC":
            out += [rnd(d.start_angle), rnd(d.end_angle)]
    elif t in ("TEXT", "ATTRIB", "ATTDEF"):
        out += [d.get("text", ""), rnd(d.insert), rnd(d.get("height", 0)), rnd(d.get("rotation", 0)),
                d.get("halign", 0), d.get("valign", 0), rnd(d.get("align_point", (0, 0, 0)))]
        if t != "TEXT":
            out += [d.get("tag", ""), d.get("flags", 0)]
    elif t == "POLYLINE":
        out += [d.get("flags", 0), [(rnd(v.dxf.location), rnd(v.dxf.get("bulge", 0)), v.dxf.get("flags", 0))
                                     for v in e.vertices]]
    elif t == "INSERT":
        out += [d.name, rnd(d.insert), rnd(d.get("xscale", 1)), rnd(d.get("yscale", 1)), rnd(d.get("rotation", 0)),
                [(a.dxf.tag, a.dxf.text, rnd(a.dxf.insert)) for a in e.attribs]]
    return out


def cmd_compare(original_path, saved_path):
    """An R12 drawing against the same drawing after Zelka opened and saved it."""
    import logging
    from ezdxf import recover

    logging.disable(logging.WARNING)  # ezdxf logs what its recovering reader skips
    original = recover.readfile(original_path)[0]  # files with empty handles need the recovering reader
    saved = read_document(saved_path)
    problems = []
    auditor = saved.audit()
    for err in auditor.errors:
        problems.append("audit error: %s" % err.message)
    for fix in auditor.fixes:
        problems.append("audit fix: %s" % fix.message)
    if saved.dxfversion < "AC1015":
        problems.append("saved as %s" % saved.dxfversion)
    pairs = [("model space", original.modelspace(), saved.modelspace()),
             ("paper space", original.layout("Layout1"), saved.layout(saved.layout_names_in_taborder()[1]))]
    for block in original.blocks:
        if block.name.lower().startswith(("$", "*model", "*paper")):
            continue
        other = saved.blocks.get(block.name)
        if other is None:
            problems.append("block %s missing" % block.name)
            continue
        if rnd(block.block.dxf.base_point) != rnd(other.block.dxf.base_point):
            problems.append("block %s base point %s != %s" % (block.name, rnd(block.block.dxf.base_point),
                                                               rnd(other.block.dxf.base_point)))
        pairs.append(("block " + block.name, block, other))
    for name, a, b in pairs:
        ea, eb = [r12_fields(e) for e in a], [r12_fields(e) for e in b]
        if ea != eb:
            problems.append("%s differs:\n  %s\n  %s" % (name, ea, eb))
    la = sorted((l.dxf.name.upper(), l.dxf.color, l.dxf.linetype.upper()) for l in original.layers)
    lb = sorted((l.dxf.name.upper(), l.dxf.color, l.dxf.linetype.upper()) for l in saved.layers)
    missing = [l for l in la if l not in lb]
    if missing:
        problems.append("layers missing or changed: %s" % missing)
    ta = {(t.dxf.name.upper(), tuple(rnd(x.value) for x in t.pattern_tags.tags if x.code in (40, 49))) for t in original.linetypes}
    tb = {(t.dxf.name.upper(), tuple(rnd(x.value) for x in t.pattern_tags.tags if x.code in (40, 49))) for t in saved.linetypes}
    for lt in sorted(ta - tb):
        problems.append("linetype %s missing or changed" % (lt,))
    emit({"differences": problems})
    return EXIT_FINDINGS if problems else EXIT_OK


# ---------------------------------------------------------------- render

def cmd_render(path, out, *window):
    import matplotlib
    matplotlib.use("Agg")
    import matplotlib.pyplot as plt
    from ezdxf.addons.drawing import Frontend, RenderContext
    from ezdxf.addons.drawing.matplotlib import MatplotlibBackend
    from ezdxf.addons.drawing.properties import LayoutProperties

    x0, y0, x1, y1, dpi = map(float, window)
    doc = read_document(path)
    msp = doc.modelspace()
    fig = plt.figure(figsize=((x1 - x0) / 25.4, (y1 - y0) / 25.4), dpi=dpi)
    ax = fig.add_axes([0, 0, 1, 1])
    ax.set_axis_off()
    props = LayoutProperties.from_layout(msp)
    props.set_colors("#ffffff")
    Frontend(RenderContext(doc), MatplotlibBackend(ax)).draw_layout(msp, finalize=False, layout_properties=props)
    ax.set_xlim(x0, x1)
    ax.set_ylim(y0, y1)
    ax.set_aspect("auto")
    fig.savefig(out, dpi=dpi, facecolor="#ffffff")
    return EXIT_OK


# ---------------------------------------------------------------- main

def main(argv):
    # command: (function, least number of arguments, most number of arguments)
    commands = {"audit": (cmd_audit, 1, 1), "dump": (cmd_dump, 1, 1),
                "tags": (cmd_tags, 1, 1), "area": (cmd_area, 2, 10 ** 6),
                "table": (cmd_table, 1, 1), "hatches": (cmd_hatches, 1, 1),
                "patterns": (cmd_patterns, 3, 10 ** 6), "eval": (cmd_eval, 1, 10 ** 6),
                "compare": (cmd_compare, 2, 2), "render": (cmd_render, 7, 7)}
    if (len(argv) < 2 or argv[1] not in commands
            or not commands[argv[1]][1] <= len(argv) - 2 <= commands[argv[1]][2]):
        sys.stderr.write(__doc__)
        return EXIT_USAGE
    func = commands[argv[1]][0]
    return func(*argv[2:])


if __name__ == "__main__":
    sys.stdout.reconfigure(encoding="utf-8", errors="backslashreplace")
    sys.exit(main(sys.argv))
