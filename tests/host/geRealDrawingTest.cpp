#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "host/ge/BlockTransform.h"
#include "host/ge/PolylineGeometry.h"
#include "tests/host/geOracle.h"

// Outlines and block references from the project's real DXF files (written by
// ezdxf, FreeCAD, LibreCAD and the bundled example), read by ezdxf: every
// LWPOLYLINE is measured here and by the oracle's own arc formulas, and every
// INSERT's placement is compared with ezdxf's Insert.matrix44().

namespace {

const char* kFiles[] = {
    "examples/office.dxf",
    "tests/data/dxf/ezdxf/ezdxf_plan_R2000_AC1015.dxf",
    "tests/data/dxf/ezdxf/ezdxf_plan_R2018_AC1032.dxf",
    "tests/data/dxf/real/freecad_square_AC1014.dxf",
    "tests/data/dxf/real/librecad_hatch_crlf_AC1021.dxf",
    "tests/data/dxf/real/acad_hatch_ansi1251_crlf_AC1021.dxf",
    "tests/data/dxf/real/librecad_architect_blocks_AC1021.dxf",
    "tests/data/dxf/real/ezdxf_cp1252_attribs_AC1015.dxf",
};

std::string sourceDir()
{
#ifdef ZELKA_SOURCE_DIR
    return ZELKA_SOURCE_DIR;
#else
    return ".";
#endif
}

const char* kScript = R"PY(
import math, sys, ezdxf
from ezdxf.math import bulge_to_arc, ConstructionArc, Vec3

def measure(vs, closed):
    ox, oy = vs[0][0], vs[0][1]
    n = len(vs)
    area = sum(((vs[i][0] - ox) * (vs[(i + 1) % n][1] - oy) - (vs[i][1] - oy) * (vs[(i + 1) % n][0] - ox)) / 2
               for i in range(n))
    length = 0.0
    lo = [ox, oy]; hi = [ox, oy]
    def grow(x, y):
        lo[0] = min(lo[0], x); lo[1] = min(lo[1], y); hi[0] = max(hi[0], x); hi[1] = max(hi[1], y)
    for i in range(n if closed else n - 1):
        s = vs[i][:2]; e = vs[(i + 1) % n][:2]; b = vs[i][2]
        grow(*s); grow(*e)
        if b == 0 or s == e:
            length += math.dist(s, e)
            continue
        c, sa, ea, r = bulge_to_arc(s, e, b)
        theta = (ea - sa) % (2 * math.pi)
        length += r * theta
        seg = r * r / 2 * (theta - math.sin(theta))
        area += seg if b > 0 else -seg
        box = ConstructionArc(c, r, math.degrees(sa), math.degrees(ea)).bounding_box
        grow(box.extmin.x, box.extmin.y); grow(box.extmax.x, box.extmax.y)
    return area, length, lo, hi

polylines = []
inserts = []
for name in sys.argv[2:]:
    doc = ezdxf.readfile(sys.argv[1] + '/' + name)
    for layout in doc.blocks:
        for pl in layout.query('LWPOLYLINE'):
            vs = [(p[0], p[1], p[4]) for p in pl.get_points('xyseb')]
            if len(vs) >= 2:
                polylines.append((vs, pl.closed))
        for ins in layout.query('INSERT'):
            blk = doc.blocks.get(ins.dxf.name)
            if blk is not None:
                inserts.append((ins, blk.block.dxf.base_point))
print(len(polylines))
for vs, closed in polylines:
    area, length, lo, hi = measure(vs, closed)
    print(1 if closed else 0, len(vs), ' '.join('%r %r %r' % v for v in vs), repr(area), repr(length),
          repr(lo[0]), repr(lo[1]), repr(hi[0]), repr(hi[1]))
print(len(inserts))
for ins, base in inserts:
    d = ins.dxf
    probe = Vec3(base) + Vec3(1000, 500, 250)
    p = ins.matrix44().transform(probe)
    print(' '.join(repr(v) for v in (*d.insert, d.xscale, d.yscale, d.zscale, d.rotation, *d.extrusion, *base,
                                     *probe, *p)))
)PY";

}  // namespace

TEST(GeRealDrawings, OutlinesAndReferencePlacementsMatchEzdxf)
{
    std::string script = std::string("import sys\nsys.argv = ['x', '") + sourceDir() + "'";
    for (const char* f : kFiles)
        script += std::string(", '") + f + "'";
    script += "]\n" + std::string(kScript);
    std::vector<double> out = georacle::runPython(script);
    ASSERT_FALSE(out.empty());
    size_t pos = 0;
    auto next = [&]() { return pos < out.size() ? out[pos++] : std::nan(""); };
    int polylineCount = static_cast<int>(next());
    EXPECT_GE(polylineCount, 50);
    int bulged = 0;
    for (int k = 0; k < polylineCount; ++k) {
        bool closed = next() != 0.0;
        int n = static_cast<int>(next());
        std::vector<AcGeBulgeVertex> vs;
        for (int i = 0; i < n; ++i) {
            double x = next(), y = next(), b = next();
            vs.push_back({{x, y}, b});
            bulged += b != 0.0;
        }
        double area = next(), length = next(), lox = next(), loy = next(), hix = next(), hiy = next();
        double scale = std::max({1.0, std::abs(lox), std::abs(loy), std::abs(hix), std::abs(hiy)});
        EXPECT_NEAR(acgePolylineSignedArea(vs, closed), area, 1e-12 * std::max(1.0, std::abs(area)) + 1e-15 * scale * scale)
            << "polyline " << k;
        EXPECT_NEAR(acgePolylineLength(vs, closed), length, 1e-12 * std::max(1.0, length)) << "polyline " << k;
        AcGePoint2d lo, hi;
        ASSERT_TRUE(acgePolylineExtents(vs, closed, lo, hi));
        EXPECT_NEAR(lo.x, lox, 1e-9 * scale) << "polyline " << k;
        EXPECT_NEAR(lo.y, loy, 1e-9 * scale) << "polyline " << k;
        EXPECT_NEAR(hi.x, hix, 1e-9 * scale) << "polyline " << k;
        EXPECT_NEAR(hi.y, hiy, 1e-9 * scale) << "polyline " << k;
    }
    EXPECT_GE(bulged, 5);
    int insertCount = static_cast<int>(next());
    EXPECT_GE(insertCount, 60);
    // Arguments of one call are evaluated in no fixed order: read each triple in sequence.
    auto nextPoint = [&]() {
        double x = next(), y = next(), z = next();
        return AcGePoint3d(x, y, z);
    };
    for (int k = 0; k < insertCount; ++k) {
        AcGePoint3d insertion = nextPoint();
        AcGePoint3d s = nextPoint();
        AcGeScale3d scale(s.x, s.y, s.z);
        double rotation = next() * std::numbers::pi / 180.0;
        AcGeVector3d normal = nextPoint().asVector();
        AcGePoint3d base = nextPoint();
        AcGePoint3d probe = nextPoint();
        AcGePoint3d expected = nextPoint();
        AcGePoint3d got = acgeBlockTransform(insertion, scale, rotation, normal, base) * probe;
        double tol = 1e-12 * std::max(1.0, expected.asVector().length() + probe.asVector().length());
        EXPECT_NEAR(got.x, expected.x, tol) << "insert " << k;
        EXPECT_NEAR(got.y, expected.y, tol) << "insert " << k;
        EXPECT_NEAR(got.z, expected.z, tol) << "insert " << k;
    }
    EXPECT_EQ(pos, out.size());
}
