#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "host/ge/PolylineGeometry.h"
#include "tests/host/geOracle.h"

// Random star-shaped outlines with bulged edges, measured here and by ezdxf:
// arcs from ezdxf.math.bulge_to_arc (centre, angles, radius), areas from the
// shoelace sum plus r²/2·(θ − sin θ) per arc, lengths r·θ, extents from
// ConstructionArc.bounding_box.

using georacle::num;

namespace {

struct Outline {
    std::vector<AcGeBulgeVertex> vertices;
    bool closed;
};

std::vector<Outline> randomOutlines(unsigned seed, int count)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<Outline> outlines;
    for (int k = 0; k < count; ++k) {
        Outline o;
        o.closed = k % 5 != 0;
        int n = 3 + static_cast<int>(unit(rng) * 9);
        double cx = (unit(rng) - 0.5) * 2e5, cy = (unit(rng) - 0.5) * 2e5;
        double scale = 100 + unit(rng) * 10000;
        for (int i = 0; i < n; ++i) {
            double a = 2 * std::numbers::pi * (i + 0.2 + 0.6 * unit(rng)) / n;
            double r = scale * (0.5 + unit(rng));
            // Small bulges keep the outline simple; some edges stay straight.
            double bulge = unit(rng) < 0.3 ? 0.0 : (unit(rng) - 0.5) * 0.6;
            o.vertices.push_back({{cx + r * std::cos(a), cy + r * std::sin(a)}, bulge});
        }
        outlines.push_back(o);
    }
    return outlines;
}

std::string pythonVertexList(const Outline& o)
{
    std::string s = "[";
    for (const auto& v : o.vertices)
        s += "(" + num(v.point.x) + "," + num(v.point.y) + "," + num(v.bulge) + "),";
    return s + "]";
}

const char* kPythonHelpers = R"PY(
import math, ezdxf
from ezdxf.math import bulge_to_arc, ConstructionArc, Vec2

def segments(vs, closed):
    n = len(vs)
    count = n if closed else n - 1
    for i in range(count):
        x0, y0, b = vs[i]
        x1, y1, _ = vs[(i + 1) % n]
        yield (x0, y0), (x1, y1), b

def measure(vs, closed):
    ox, oy = vs[0][0], vs[0][1]
    area = 0.0
    n = len(vs)
    for i in range(n):
        ax, ay = vs[i][0] - ox, vs[i][1] - oy
        bx, by = vs[(i + 1) % n][0] - ox, vs[(i + 1) % n][1] - oy
        area += (ax * by - ay * bx) / 2
    length = 0.0
    lo = [vs[0][0], vs[0][1]]
    hi = [vs[0][0], vs[0][1]]
    def grow(x, y):
        lo[0] = min(lo[0], x); lo[1] = min(lo[1], y)
        hi[0] = max(hi[0], x); hi[1] = max(hi[1], y)
    for s, e, b in segments(vs, closed):
        grow(*s); grow(*e)
        if b == 0:
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

)PY";

}  // namespace

TEST(GePolylineOracle, AreaLengthAndExtentsMatchEzdxf)
{
    std::vector<Outline> outlines = randomOutlines(424242, 80);
    std::string script = kPythonHelpers;
    for (const Outline& o : outlines)
        script += "a, l, lo, hi = measure(" + pythonVertexList(o) + ", " + (o.closed ? "True" : "False")
                + ")\nvalues += [a, l, lo[0], lo[1], hi[0], hi[1]]\n";
    std::vector<double> expected = georacle::runPython(script);
    ASSERT_EQ(expected.size(), outlines.size() * 6);
    for (size_t i = 0; i < outlines.size(); ++i) {
        const Outline& o = outlines[i];
        const double* e = &expected[6 * i];
        double area = acgePolylineSignedArea(o.vertices, o.closed);
        double length = acgePolylineLength(o.vertices, o.closed);
        EXPECT_NEAR(area, e[0], 1e-12 * std::abs(e[0])) << "outline " << i;
        EXPECT_NEAR(length, e[1], 1e-12 * e[1]) << "outline " << i;
        AcGePoint2d lo, hi;
        ASSERT_TRUE(acgePolylineExtents(o.vertices, o.closed, lo, hi));
        EXPECT_NEAR(lo.x, e[2], 1e-8) << "outline " << i;
        EXPECT_NEAR(lo.y, e[3], 1e-8) << "outline " << i;
        EXPECT_NEAR(hi.x, e[4], 1e-8) << "outline " << i;
        EXPECT_NEAR(hi.y, e[5], 1e-8) << "outline " << i;
    }
}
