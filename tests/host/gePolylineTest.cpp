#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "host/ge/PolylineGeometry.h"

// Expected values here come from textbook formulas written out independently
// of the bulge algebra in the host: circle πr² and 2πr, circular segment
// r²/2·(θ − sin θ) with r from the chord and θ.

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
    // Minor arcs are compared with ezdxf in GePolylineOracle; its bulges stay
    // below 0.3, so the half circles and the major arc are checked here.
    AcGePoint2d lo, hi;
    ASSERT_TRUE(acgePolylineExtents(circle(3, 4, 2), true, lo, hi));
    EXPECT_NEAR(lo.x, 1, 1e-14);
    EXPECT_NEAR(lo.y, 2, 1e-14);
    EXPECT_NEAR(hi.x, 5, 1e-14);
    EXPECT_NEAR(hi.y, 6, 1e-14);
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
