#!/usr/bin/python3
"""What ezdxf (Debian python3-ezdxf 0.18) sees in the hatches of a DXF file,
as "key=value" lines, for the hatch tests to compare with the drawing database.

    dbHatchOracle.py FILE                 audit counts and every model-space HATCH
    dbHatchOracle.py --pattern DEG SCALE NAME...
                                          ezdxf's ISO patterns rotated and scaled

Per hatch i: hI.pattern, .solid, .assoc, .ptype, .angle, .scale, .color,
.true_color, .paths, .pathJ.flags,
.pathJ.kind, .pathJ.n (vertices or edges), .pathJ.vK ("x y bulge"), .defs,
.defK ("angle bx by ox oy d1 d2 ..."), .seeds, .lines (segments ezdxf's
hatching renderer draws), .length (their total length).
"""
import math
import sys

import ezdxf
from ezdxf.render import hatching
from ezdxf.tools import pattern as patterns


def fmt(v):
    return repr(float(v))


def main(argv):
    if argv[1] == "--pattern":
        for name in argv[4:]:
            lines = patterns.scale_pattern(patterns.ISO_PATTERN[name], float(argv[3]), float(argv[2]))
            print(f"{name}.defs={len(lines)}")
            for k, (a, b, o, d) in enumerate(lines):
                print(f"{name}.def{k}=" + " ".join(fmt(x) for x in [a, b[0], b[1], o[0], o[1], *d]))
        return 0
    doc = ezdxf.readfile(argv[1])
    auditor = doc.audit()
    print(f"audit_errors={len(auditor.errors)}")
    for e in auditor.errors:
        print(f"audit_error={e.message}")
    hatches = [e for e in doc.modelspace() if e.dxftype() == "HATCH"]
    print(f"hatches={len(hatches)}")
    for i, h in enumerate(hatches):
        p = f"h{i}."
        print(p + f"pattern={h.dxf.pattern_name}")
        print(p + f"solid={h.dxf.solid_fill}")
        print(p + f"assoc={h.dxf.associative}")
        print(p + f"ptype={h.dxf.pattern_type}")
        print(p + f"angle={fmt(h.dxf.get('pattern_angle', 0.0))}")
        print(p + f"scale={fmt(h.dxf.get('pattern_scale', 1.0))}")
        print(p + f"color={h.dxf.get('color', 256)}")
        print(p + f"true_color={h.dxf.get('true_color', -1)}")
        print(p + f"paths={len(h.paths)}")
        for j, path in enumerate(h.paths):
            q = p + f"path{j}."
            print(q + f"flags={path.path_type_flags}")
            if hasattr(path, "vertices"):
                print(q + "kind=polyline")
                print(q + f"n={len(path.vertices)}")
                for k, v in enumerate(path.vertices):
                    print(q + f"v{k}={fmt(v[0])} {fmt(v[1])} {fmt(v[2])}")
            else:
                print(q + "kind=edge")
                print(q + f"n={len(path.edges)}")
                for k, edge in enumerate(path.edges):
                    print(q + f"e{k}={edge.type.name.lower()}")
        lines = h.pattern.lines if h.pattern else []
        print(p + f"defs={len(lines)}")
        for k, l in enumerate(lines):
            vals = [l.angle, l.base_point.x, l.base_point.y, l.offset.x, l.offset.y, *l.dash_length_items]
            print(p + f"def{k}=" + " ".join(fmt(x) for x in vals))
        print(p + f"seeds={len(h.seeds)}")
        count, length = 0, 0.0
        if not h.dxf.solid_fill:
            for s, e in hatching.hatch_entity(h):
                count += 1
                length += math.dist((s.x, s.y), (e.x, e.y))
        print(p + f"lines={count}")
        print(p + f"length={fmt(length)}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
