// The outline geometry of the bulk creation: crossing outlines, points
// inside, and the visual centre, against figures worked out by hand.

#include <gtest/gtest.h>

#include <cmath>

#include "spaces/OutlineGeometry.h"

namespace {

using Points = std::vector<AcGePoint2d>;

Points pts(std::initializer_list<std::pair<double, double>> list)
{
    Points out;
    for (auto [x, y] : list) out.emplace_back(x, y);
    return out;
}

}  // namespace

TEST(OutlineGeometry, CrossingOutlinesAreToldFromMerelyConcaveOnes)
{
    struct Case {
        const char* name;
        Points polygon;
        bool crossing;
    };
    const std::vector<Case> cases = {
        {"rectangle", pts({{0, 0}, {4, 0}, {4, 3}, {0, 3}}), false},
        {"L shape", pts({{0, 0}, {6, 0}, {6, 2}, {2, 2}, {2, 6}, {0, 6}}), false},
        {"U shape", pts({{0, 0}, {8, 0}, {8, 6}, {6, 6}, {6, 2}, {2, 2}, {2, 6}, {0, 6}}), false},
        {"repeated vertex", pts({{0, 0}, {4, 0}, {4, 0}, {4, 3}, {0, 3}, {0, 0}}), false},
        {"figure of eight", pts({{0, 0}, {4, 3}, {4, 0}, {0, 3}}), true},
        {"vertex touching a far edge", pts({{0, 0}, {4, 0}, {4, 3}, {2, 0}, {0, 3}}), true},
        {"spike folding back", pts({{0, 0}, {4, 0}, {6, 0}, {5, 0}, {5, 3}, {0, 3}}), true},
        {"two squares sharing a corner", pts({{0, 0}, {2, 0}, {2, 2}, {4, 2}, {4, 4}, {2, 4}, {2, 2}, {0, 2}}), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(COutlineGeometry::isSelfIntersecting(c.polygon), c.crossing);
    }
}

TEST(OutlineGeometry, ThePoleIsTheInsidePointFarthestFromTheEdges)
{
    struct Case {
        const char* name;
        Points polygon;
        double radius;  // the largest circle inside, worked out by hand
    };
    const std::vector<Case> cases = {
        {"square 4 x 4", pts({{0, 0}, {4, 0}, {4, 4}, {0, 4}}), 2.0},
        {"rectangle 10 x 2", pts({{0, 0}, {10, 0}, {10, 2}, {0, 2}}), 1.0},
        // The L of two 2 m wide arms: the widest circle sits in the outer corner, touching both
        // outer walls and the inner corner (2, 2): r = sqrt(2) (2 - r), so r = 4 - 2 sqrt(2).
        {"L shape", pts({{0, 0}, {6, 0}, {6, 2}, {2, 2}, {2, 6}, {0, 6}}), 4.0 - 2.0 * std::sqrt(2.0)},
        // The U has two such corners at the foot of its arms.
        {"U shape", pts({{0, 0}, {8, 0}, {8, 6}, {6, 6}, {6, 2}, {2, 2}, {2, 6}, {0, 6}}), 4.0 - 2.0 * std::sqrt(2.0)},
        // A right triangle with legs 3 and 4: inradius (3 + 4 - 5) / 2.
        {"triangle 3-4-5", pts({{0, 0}, {4, 0}, {0, 3}}), 1.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const AcGePoint2d pole = COutlineGeometry::poleOfInaccessibility(c.polygon, 0.001);
        EXPECT_TRUE(COutlineGeometry::contains(c.polygon, pole));
        EXPECT_NEAR(COutlineGeometry::signedDistance(c.polygon, pole), c.radius, 0.002);
    }
    // The U's vertex centroid is outside it: the label must not go there.
    const Points u = pts({{0, 0}, {8, 0}, {8, 6}, {6, 6}, {6, 2}, {2, 2}, {2, 6}, {0, 6}});
    EXPECT_FALSE(COutlineGeometry::contains(u, AcGePoint2d(4, 3)));
}

TEST(OutlineGeometry, ArcsAreFlattenedWithinTheirSagitta)
{
    // A 4 x 3 rectangle whose right side is a half circle of radius 1.5.
    const std::vector<AcGeBulgeVertex> outline = {
        {AcGePoint2d(0, 0), 0.0}, {AcGePoint2d(4, 0), 1.0}, {AcGePoint2d(4, 3), 0.0}, {AcGePoint2d(0, 3), 0.0}};
    const Points flat = COutlineGeometry::flatten(outline, 0.001);
    ASSERT_GT(flat.size(), 8u);
    for (const AcGePoint2d& p : flat) {
        if (p.x <= 4.0) continue;
        EXPECT_NEAR(std::hypot(p.x - 4.0, p.y - 1.5), 1.5, 1e-9);  // chord ends lie on the arc
    }
    // The arc's far point (5.5, 1.5) is inside the flattened outline only within the sagitta.
    EXPECT_TRUE(COutlineGeometry::contains(flat, AcGePoint2d(5.5 - 0.002, 1.5)));
    EXPECT_FALSE(COutlineGeometry::contains(flat, AcGePoint2d(5.5 + 0.0001, 1.5)));
    EXPECT_FALSE(COutlineGeometry::isSelfIntersecting(flat));
}

TEST(OutlineGeometry, SignedDistanceIsPositiveInsideZeroOnTheEdgesAndNegativeOutside)
{
    // An L: a 4 x 1 foot and a 1 x 3 leg, the reflex corner at (1, 1).
    const Points el = pts({{0, 0}, {4, 0}, {4, 1}, {1, 1}, {1, 3}, {0, 3}});
    struct Case {
        double x, y, expected;
    };
    const Case cases[] = {
        {0.5, 2, 0.5},            // in the leg, halfway between its sides
        {2, 0.5, 0.5},            // in the foot
        {0.25, 0.25, 0.25},       // near the outer corner
        {0.5, 1, 0.5},            // level with the corner vertices (the crossing rule)
        {1, 1, 0},                // the reflex corner itself
        {2, 0, 0},                // on an edge
        {0, 3, 0},                // on a vertex
        {3, 2, -1},               // in the notch of the L
        {3, 3, -2},               // above the notch
        {5, 0.5, -1},             // right of the foot
        {-1, -1, -std::sqrt(2.0)} // beyond the outer corner
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        EXPECT_DOUBLE_EQ(COutlineGeometry::signedDistance(el, AcGePoint2d(c.x, c.y)), c.expected);
        // Containment agrees with the sign; a boundary point counts as inside.
        EXPECT_EQ(COutlineGeometry::contains(el, AcGePoint2d(c.x, c.y)), c.expected >= 0);
    }
}
