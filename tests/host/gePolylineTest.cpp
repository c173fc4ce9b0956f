#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "host/ge/AcGeMatrix3d.h"
#include "host/ge/BlockTransform.h"
#include "host/ge/PolylineGeometry.h"

// Expected values here come from textbook formulas written out independently
// of the bulge algebra in the host: circle πr² and 2πr, circular segment
// r²/2·(θ − sin θ) with r from the chord and θ, ellipse area π·a·b, and the
// ellipse perimeter from the arithmetic–geometric mean (Gauss / Legendre).

namespace {

constexpr double kPi = std::numbers::pi;
using Vertices = std::vector<AcGeBulgeVertex>;

Vertices circle(double cx, double cy, double r, double bulge = 1.0)
{
    return {{{cx + r, cy}, bulge}, {{cx - r, cy}, bulge}};
}

// 10 x 10 counter-clockwise square with the bottom edge bulged by b.
Vertices bulgedSquare(double b)
{
    return {{{0, 0}, b}, {{10, 0}, 0}, {{10, 10}, 0}, {{0, 10}, 0}};
}

// Perimeter of an ellipse with semi-axes a ≥ b via the AGM: 4a·E(e) with
// E = K·(1 − Σ 2^(n−1)·c_n²), K = π / (2·AGM).
long double ellipsePerimeter(long double a, long double b)
{
    if (a < b)
        std::swap(a, b);
    long double an = 1.0L, bn = b / a, cn = std::sqrt(1.0L - (b / a) * (b / a));
    long double sum = 0.5L * cn * cn, power = 0.5L;
    for (int i = 0; i < 40 && cn > 1e-30L; ++i) {
        long double next = (an + bn) / 2;
        cn = (an - bn) / 2;
        bn = std::sqrt(an * bn);
        an = next;
        power *= 2;
        sum += power * cn * cn;
    }
    long double k = std::numbers::pi_v<long double> / (2 * an);
    return 4 * a * k * (1 - sum);
}

// Arc length of a transformed arc by composite Simpson with many panels: a
// different method from the host's adaptive Gauss–Kronrod.
double simpsonArcLength(double r, double a0, double sweep, const AcGeMatrix2d& m)
{
    const int n = 200000;
    auto speed = [&](long double t) {
        long double dx = -r * std::sin(t), dy = r * std::cos(t);
        return std::hypot(m.entry[0][0] * dx + m.entry[0][1] * dy, m.entry[1][0] * dx + m.entry[1][1] * dy);
    };
    long double h = static_cast<long double>(sweep) / n, sum = speed(a0) + speed(a0 + sweep);
    for (int i = 1; i < n; ++i)
        sum += (i % 2 ? 4 : 2) * speed(a0 + i * h);
    return static_cast<double>(std::fabs(sum * h / 3));
}

}  // namespace

TEST(GeBulgeSegment, ArcParametersByHand)
{
    // Chord (0,0)-(10,0), bulge 0.5: θ = 4·atan(0.5), r = 6.25, centre (5, 3.75), sagitta 2.5 below.
    AcGeBulgeSegment s(AcGePoint2d(0, 0), AcGePoint2d(10, 0), 0.5);
    EXPECT_TRUE(s.isArc());
    EXPECT_NEAR(s.sweepAngle(), 4 * std::atan(0.5), 1e-15);
    EXPECT_NEAR(s.radius(), 6.25, 1e-14);
    EXPECT_NEAR(s.center().x, 5.0, 1e-14);
    EXPECT_NEAR(s.center().y, 3.75, 1e-14);
    AcGePoint2d mid = s.pointAt(0.5);
    EXPECT_NEAR(mid.x, 5.0, 1e-13);
    EXPECT_NEAR(mid.y, -2.5, 1e-13);
    // A major arc (bulge 2) has its centre on the other side of the chord.
    AcGeBulgeSegment major(AcGePoint2d(0, 0), AcGePoint2d(10, 0), 2.0);
    EXPECT_LT(major.center().y, 0.0);
    EXPECT_NEAR(major.pointAt(0.5).y, -10.0, 1e-12);  // sagitta b·c/2
    // Zero chord: a point, whatever the bulge.
    AcGeBulgeSegment dot(AcGePoint2d(1, 1), AcGePoint2d(1, 1), 1.0);
    EXPECT_FALSE(dot.isArc());
    EXPECT_EQ(dot.length(), 0.0L);
    EXPECT_EQ(dot.segmentArea(), 0.0L);
}

TEST(GePolylineArea, CircleOfTwoHalfArcs)
{
    // Far from the origin with radii whose end points are exact in binary; small at the origin.
    for (auto [cx, r] : {std::pair{1e6, 1.0}, std::pair{1e6, 1234.5}, std::pair{0.0, 0.001}}) {
        Vertices c = circle(cx, 2 * cx, r);
        EXPECT_NEAR(acgePolylineSignedArea(c, true), kPi * r * r, 4e-16 * kPi * r * r) << r;
        EXPECT_NEAR(acgePolylineLength(c, true), 2 * kPi * r, 4e-16 * 2 * kPi * r) << r;
        // Clockwise: negative signed area, same absolute area and length.
        Vertices cw = circle(cx, 2 * cx, r, -1.0);
        EXPECT_NEAR(acgePolylineSignedArea(cw, true), -kPi * r * r, 4e-16 * kPi * r * r);
        EXPECT_NEAR(acgePolylineArea(cw, true), kPi * r * r, 4e-16 * kPi * r * r);
    }
    // Open, the second half arc is not part of the curve: a half disc, half the length.
    Vertices c = circle(0, 0, 2);
    EXPECT_NEAR(acgePolylineArea(c, false), kPi * 2, 1e-14);
    EXPECT_NEAR(acgePolylineLength(c, false), kPi * 2, 1e-14);
}

TEST(GePolylineArea, SquareWithOneBulgedEdge)
{
    // Bottom edge bulged outward by 0.5: chord 10, θ = 4·atan(0.5), r = c / (2 sin(θ/2)).
    double theta = 4 * std::atan(0.5);
    double r = 10 / (2 * std::sin(theta / 2));
    double segment = r * r / 2 * (theta - std::sin(theta));
    EXPECT_NEAR(acgePolylineSignedArea(bulgedSquare(0.5), true), 100 + segment, 1e-13);
    EXPECT_NEAR(acgePolylineLength(bulgedSquare(0.5), true), 30 + r * theta, 1e-13);
    // Bulged inward (negative bulge on a counter-clockwise outline) the segment is cut away.
    EXPECT_NEAR(acgePolylineSignedArea(bulgedSquare(-0.5), true), 100 - segment, 1e-13);
    // Tiny bulge: the segment area r²/2·(θ − sin θ) tends to c²·θ/12 (next term
    // relative θ²/40); computed naively it would cancel to nothing.
    double b = 1e-9, t = 4 * std::atan(b);
    EXPECT_NEAR(static_cast<double>(AcGeBulgeSegment(AcGePoint2d(0, 0), AcGePoint2d(10, 0), b).segmentArea()),
                100 * t / 12, 1e-15 * 100 * t / 12);
    EXPECT_NEAR(acgePolylineSignedArea(bulgedSquare(b), true), 100 + 100 * t / 12, 2e-14);
    // Open, the closing edge still bounds the area (straight), but is not counted in the length.
    EXPECT_NEAR(acgePolylineArea(bulgedSquare(0.5), false), 100 + segment, 1e-13);
    EXPECT_NEAR(acgePolylineLength(bulgedSquare(0.5), false), 20 + r * theta, 1e-13);
}

TEST(GePolylineArea, FloorPlanFarFromOriginKeepsEveryDigit)
{
    // A 10000 x 5000 mm room placed 1e8 mm from the origin: exactly 5e7 mm².
    Vertices room = {{{1e8, 1e8}, 0}, {{1e8 + 10000, 1e8}, 0}, {{1e8 + 10000, 1e8 + 5000}, 0}, {{1e8, 1e8 + 5000}, 0}};
    EXPECT_EQ(acgePolylineArea(room, true), 5e7);
    EXPECT_EQ(acgePolylineLength(room, true), 30000.0);
    // Many slivers: a staircase of 20000 steps of 0.125 (exact in binary) at 1e6,
    // closed by the diagonal. Each step leaves a triangle of 0.125²/2 between
    // stairs and diagonal: 20000 · 0.0078125 = 156.25 exactly, while the naive
    // cross products reach 1e12 and would lose the last digits.
    Vertices stairs;
    const int steps = 20000;
    for (int i = 0; i < steps; ++i) {
        stairs.push_back({{1e6 + 0.125 * i, 1e6 + 0.125 * i}, 0});
        stairs.push_back({{1e6 + 0.125 * (i + 1), 1e6 + 0.125 * i}, 0});
    }
    stairs.push_back({{1e6 + 0.125 * steps, 1e6 + 0.125 * steps}, 0});
    EXPECT_EQ(acgePolylineArea(stairs, true), 156.25);
}

TEST(GePolylineExtents, ArcsContributeTheirExtremePoints)
{
    AcGePoint2d lo, hi;
    ASSERT_TRUE(acgePolylineExtents(circle(3, 4, 2), true, lo, hi));
    EXPECT_NEAR(lo.x, 1, 1e-14);
    EXPECT_NEAR(lo.y, 2, 1e-14);
    EXPECT_NEAR(hi.x, 5, 1e-14);
    EXPECT_NEAR(hi.y, 6, 1e-14);
    // Bulged bottom edge: reaches 2.5 below the square; the circle's leftmost point is not on the arc.
    ASSERT_TRUE(acgePolylineExtents(bulgedSquare(0.5), true, lo, hi));
    EXPECT_NEAR(lo.x, 0, 1e-14);
    EXPECT_NEAR(lo.y, -2.5, 1e-14);
    EXPECT_NEAR(hi.x, 10, 1e-14);
    EXPECT_NEAR(hi.y, 10, 1e-14);
    // Major arc (bulge 2, 10 wide): r = 10·5/8 = 6.25, centre 3.75 below, bottom at -10, sides at 5 ± 6.25.
    Vertices major = {{{0, 0}, 2.0}, {{10, 0}, 0}};
    ASSERT_TRUE(acgePolylineExtents(major, false, lo, hi));
    EXPECT_NEAR(lo.x, -1.25, 1e-13);
    EXPECT_NEAR(hi.x, 11.25, 1e-13);
    EXPECT_NEAR(lo.y, -10, 1e-13);
    EXPECT_NEAR(hi.y, 0, 1e-13);
    // The last bulge of an open polyline is ignored.
    Vertices open = {{{0, 0}, 0}, {{10, 0}, 1.0}};
    ASSERT_TRUE(acgePolylineExtents(open, false, lo, hi));
    EXPECT_EQ(lo.y, 0.0);
    EXPECT_EQ(hi.y, 0.0);
    Vertices none;
    AcGePoint2d untouched(7, 7);
    EXPECT_FALSE(acgePolylineExtents(none, true, untouched, untouched));
    EXPECT_EQ(untouched.x, 7.0);
}

TEST(GePolylineContainment, InsideOutsideAndOnBoundaryWithArcs)
{
    Vertices out = bulgedSquare(0.5);
    EXPECT_EQ(acgePolylineContainment(out, true, {5, 5}), AcGePointContainment::kInside);
    EXPECT_EQ(acgePolylineContainment(out, true, {5, -2}), AcGePointContainment::kInside);  // in the bulge
    EXPECT_EQ(acgePolylineContainment(out, true, {5, -2.6}), AcGePointContainment::kOutside);
    EXPECT_EQ(acgePolylineContainment(out, true, {5, -2.5}), AcGePointContainment::kOnBoundary);
    EXPECT_EQ(acgePolylineContainment(out, true, {5, 0}), AcGePointContainment::kInside);  // the chord is not boundary
    EXPECT_EQ(acgePolylineContainment(out, true, {-1.2, 3.75}), AcGePointContainment::kOutside);
    EXPECT_EQ(acgePolylineContainment(out, true, {0, 10}), AcGePointContainment::kOnBoundary);
    Vertices bite = bulgedSquare(-0.5);
    EXPECT_EQ(acgePolylineContainment(bite, true, {5, 2}), AcGePointContainment::kOutside);  // in the bite
    EXPECT_EQ(acgePolylineContainment(bite, true, {5, 3}), AcGePointContainment::kInside);
    EXPECT_EQ(acgePolylineContainment(bite, true, {5, -0.5}), AcGePointContainment::kOutside);
    Vertices c = circle(0, 0, 1);
    EXPECT_EQ(acgePolylineContainment(c, true, {0, 0}), AcGePointContainment::kInside);
    EXPECT_EQ(acgePolylineContainment(c, true, {0, 0.999}), AcGePointContainment::kInside);
    EXPECT_EQ(acgePolylineContainment(c, true, {0, 1.001}), AcGePointContainment::kOutside);
    EXPECT_EQ(acgePolylineContainment(c, true, {0, 1.001}, 0.01), AcGePointContainment::kOnBoundary);
    // A clockwise outline encloses the same points.
    EXPECT_EQ(acgePolylineContainment(circle(0, 0, 1, -1), true, {0.5, 0.5}), AcGePointContainment::kInside);
    Vertices none;
    EXPECT_EQ(acgePolylineContainment(none, true, {0, 0}), AcGePointContainment::kOutside);
}

TEST(GePolylineCrossing, CrossingPolygonSelection)
{
    std::vector<AcGePoint2d> window = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    Vertices inside = {{{2, 2}, 0}, {{4, 2}, 0}, {{4, 4}, 0}};
    Vertices crossing = {{{5, 5}, 0}, {{15, 5}, 0}};
    Vertices outside = {{{12, 0}, 0}, {{20, 0}, 0}, {{20, 20}, 0}};
    Vertices surrounding = {{{-5, -5}, 0}, {{15, -5}, 0}, {{15, 15}, 0}, {{-5, 15}, 0}};
    EXPECT_TRUE(acgePolylineCrossesPolygon(inside, true, window));
    EXPECT_TRUE(acgePolylineCrossesPolygon(crossing, false, window));
    EXPECT_FALSE(acgePolylineCrossesPolygon(outside, false, window));
    // The polygon lies inside the outline, but no part of the curve is in the polygon.
    EXPECT_FALSE(acgePolylineCrossesPolygon(surrounding, true, window));
    // Only the closing segment of a closed outline crosses.
    Vertices lShape = {{{12, 5}, 0}, {{12, 20}, 0}, {{5, 20}, 0}};
    EXPECT_FALSE(acgePolylineCrossesPolygon(lShape, false, window));
    EXPECT_TRUE(acgePolylineCrossesPolygon(lShape, true, window));
    // An arc whose ends and chord are outside but which bulges into the polygon.
    // Going up, a negative bulge turns clockwise and bulges to the left (-X).
    Vertices arcIn = {{{12, 2}, -1.0}, {{12, 8}, 0}};  // half circle r = 3 reaching x = 9
    EXPECT_TRUE(acgePolylineCrossesPolygon(arcIn, false, window));
    Vertices arcOut = {{{12, 2}, 1.0}, {{12, 8}, 0}};  // bulging away, to x = 15
    EXPECT_FALSE(acgePolylineCrossesPolygon(arcOut, false, window));
    // Tangent to the edge x = 10 (half circle of radius 3 from (13, 2) reaches exactly 10).
    Vertices tangent = {{{13, 2}, -1.0}, {{13, 8}, 0}};
    EXPECT_TRUE(acgePolylineCrossesPolygon(tangent, false, window));
    Vertices nearMiss = {{{13.001, 2}, -1.0}, {{13.001, 8}, 0}};
    EXPECT_FALSE(acgePolylineCrossesPolygon(nearMiss, false, window));
    EXPECT_TRUE(acgePolylineCrossesPolygon(nearMiss, false, window, 0.01));
    // A big arc passing through the polygon, ends far away on both sides.
    Vertices sweep = {{{-20, 5}, -0.2}, {{30, 5}, 0}};
    EXPECT_TRUE(acgePolylineCrossesPolygon(sweep, false, window));
    // A crossing polygon that is not convex: the notch leaves (5, 8) outside.
    std::vector<AcGePoint2d> notched = {{0, 0}, {10, 0}, {10, 10}, {6, 10}, {5, 5}, {4, 10}, {0, 10}};
    Vertices inNotch = {{{5, 8}, 0}, {{5, 9}, 0}};
    EXPECT_FALSE(acgePolylineCrossesPolygon(inNotch, false, notched));
    std::vector<AcGePoint2d> degenerate = {{0, 0}, {10, 10}};
    EXPECT_FALSE(acgePolylineCrossesPolygon(inside, true, degenerate));
}

TEST(GePolylineCrossing, WindowSelectionNeedsTheWholeCurveInside)
{
    std::vector<AcGePoint2d> window = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    EXPECT_TRUE(acgePolylineInsidePolygon(circle(5, 5, 4), true, window));
    EXPECT_FALSE(acgePolylineInsidePolygon(circle(5, 5, 6), true, window));
    // The vertices are inside but the arc leaves the window.
    Vertices bulging = {{{1, 1}, 2.0}, {{9, 1}, 0}};
    EXPECT_FALSE(acgePolylineInsidePolygon(bulging, false, window));
    EXPECT_TRUE(acgePolylineInsidePolygon(bulging, false, std::vector<AcGePoint2d>{{-5, -20}, {15, -20}, {15, 10}, {-5, 10}}));
}

TEST(GePolylineTransformed, UniformRotatedAndMirroredScale)
{
    Vertices c = circle(10, 20, 3);
    AcGeMatrix2d m = AcGeMatrix2d::rotation(0.7, AcGePoint2d(5, 5)) * AcGeMatrix2d::scaling(2.5);
    EXPECT_NEAR(acgePolylineTransformedArea(c, true, m), kPi * 7.5 * 7.5, 1e-12);
    EXPECT_NEAR(acgePolylineTransformedLength(c, true, m), 2 * kPi * 7.5, 1e-12);
    AcGeMatrix2d mirror = AcGeMatrix2d::mirroring(AcGePoint2d(0, 0), AcGeVector2d(1, 1));
    EXPECT_NEAR(acgePolylineTransformedSignedArea(bulgedSquare(0.5), true, mirror),
                -acgePolylineSignedArea(bulgedSquare(0.5), true), 1e-12);
    EXPECT_NEAR(acgePolylineTransformedLength(bulgedSquare(0.5), true, mirror),
                acgePolylineLength(bulgedSquare(0.5), true), 1e-12);
}

TEST(GePolylineTransformed, NonUniformScaleGivesEllipses)
{
    const double r = 1000;
    Vertices c = circle(0, 0, r);
    for (auto [sx, sy] : {std::pair{2.0, 1.0}, std::pair{2.0, -2.0}, std::pair{-0.3, 5.0}, std::pair{1.0, 1e-3}}) {
        AcGeMatrix2d m = AcGeMatrix2d::scaling(sx, sy);
        double a = r * std::abs(sx), b = r * std::abs(sy);
        EXPECT_NEAR(acgePolylineTransformedArea(c, true, m), kPi * a * b, 1e-15 * kPi * a * b) << sx << "," << sy;
        double perimeter = static_cast<double>(ellipsePerimeter(a, b));
        EXPECT_NEAR(acgePolylineTransformedLength(c, true, m), perimeter, 1e-12 * perimeter) << sx << "," << sy;
    }
    // A quarter arc from the X axis to the Y axis becomes a quarter ellipse.
    Vertices quarter = {{{r, 0}, std::tan(kPi / 8)}, {{0, r}, 0}};
    AcGeMatrix2d stretch = AcGeMatrix2d::scaling(3.0, 0.5);
    EXPECT_NEAR(acgePolylineTransformedLength(quarter, false, stretch),
                static_cast<double>(ellipsePerimeter(3 * r, 0.5 * r)) / 4, 1e-12 * r);
    // Collapsed to a line (singular map), the circle's image is run over twice: 4r.
    EXPECT_NEAR(acgePolylineTransformedLength(c, true, AcGeMatrix2d::scaling(1.0, 0.0)), 4 * r, 1e-9);
    EXPECT_EQ(acgePolylineTransformedArea(c, true, AcGeMatrix2d::scaling(1.0, 0.0)), 0.0);
}

TEST(GePolylineTransformed, GeneralArcUnderShearAndRotationMatchesSimpson)
{
    // Arc from 30° to 100° on a circle of radius 7 about (2, -1), then a
    // rotation of a non-uniform scale (the image of a rotated reference with X scale 2, Y scale -0.75).
    double r = 7, a0 = 30 * kPi / 180, a1 = 100 * kPi / 180;
    AcGePoint2d s(2 + r * std::cos(a0), -1 + r * std::sin(a0)), e(2 + r * std::cos(a1), -1 + r * std::sin(a1));
    Vertices arc = {{s, std::tan((a1 - a0) / 4)}, {e, 0}};
    AcGeMatrix2d m = AcGeMatrix2d::rotation(0.4) * AcGeMatrix2d::scaling(2.0, -0.75);
    m.entry[0][1] += 0.3;  // and a shear
    double expected = simpsonArcLength(r, a0, a1 - a0, m);
    EXPECT_NEAR(acgePolylineTransformedLength(arc, false, m), expected, 1e-12 * expected);
    // The same arc clockwise (from end to start with the negated bulge) has the same length.
    Vertices back = {{e, -std::tan((a1 - a0) / 4)}, {s, 0}};
    EXPECT_NEAR(acgePolylineTransformedLength(back, false, m), expected, 1e-12 * expected);
}

TEST(GePolylineTransformed, BlockReferenceAtScale2AndMinus2HasFourTimesTheArea)
{
    // A reference at X scale 2, Y scale -2 has four times the outline area and twice its length.
    Vertices outline = bulgedSquare(0.5);
    AcGeMatrix2d m = AcGeMatrix2d::fromXYOf(
        acgeBlockTransform(AcGePoint3d(100, 200, 0), AcGeScale3d(2, -2, 1), 0.3, AcGeVector3d::kZAxis));
    EXPECT_NEAR(acgePolylineTransformedArea(outline, true, m), 4 * acgePolylineArea(outline, true), 1e-11);
    EXPECT_NEAR(acgePolylineTransformedLength(outline, true, m), 2 * acgePolylineLength(outline, true), 1e-11);
}
