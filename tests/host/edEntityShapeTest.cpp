// The hit-test view of entities (EntityShape over AcDbEntity::drawGeometry):
// arcs of bulged segments and circles follow the curve, a text is its box
// placed by its justification. Expected distances are worked out by hand.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "host/db/AcDbCircle.h"
#include "host/db/AcDbPolyline.h"
#include "host/db/AcDbText.h"
#include "host/ed/EntityShape.h"

namespace {

std::unique_ptr<AcDbText> text(const char* s, AcGePoint3d at, double height, double rotation,
                               AcDb::TextHorzMode horz = AcDb::kTextLeft, AcDb::TextVertMode vert = AcDb::kTextBase)
{
    auto t = std::make_unique<AcDbText>(at, s, AcDbObjectId::kNull, height, rotation);
    t->setHorizontalMode(horz);
    t->setVerticalMode(vert);
    if (horz != AcDb::kTextLeft || vert != AcDb::kTextBase)
        t->setAlignmentPoint(at);
    return t;
}

}  // namespace

TEST(EntityShape, DistancesFollowArcsCirclesAndTextBoxes)
{
    // An open half circle from (0,0) to (10,0), bulge 1: counter-clockwise, so it dips to (5,-5).
    AcDbPolyline half;
    half.addVertexAt(0, AcGePoint2d(0, 0), 1.0);
    half.addVertexAt(1, AcGePoint2d(10, 0));
    AcDbCircle circle(AcGePoint3d(100, 0, 0), AcGeVector3d::kZAxis, 10.0);
    auto left = text("ABCD", AcGePoint3d(0, 100, 0), 2.0, 0.0);                      // box 0..8 x 100..102
    auto centred = text("ABCD", AcGePoint3d(100, 100, 0), 2.0, 0.0, AcDb::kTextCenter);  // box 96..104 x 100..102
    auto middle = text("AB", AcGePoint3d(200, 100, 0), 2.0, 0.0, AcDb::kTextMid);       // box 198..202 x 99..101
    auto turned = text("AB", AcGePoint3d(0, 200, 0), 1.0, M_PI / 2);                    // box -1..0 x 200..202
    struct Case {
        const char* what;
        const AcDbEntity* entity;
        double x, y, distance;
    };
    const Case cases[] = {
        {"arc apex", &half, 5, -5, 0.0},
        {"centre of the arc", &half, 5, 0, 5.0},
        {"outside the arc at 45 degrees", &half, 5 + 10 * std::cos(-M_PI / 4), 10 * std::sin(-M_PI / 4), 5.0},
        {"on the circle", &circle, 100 + 10 * std::cos(1.0), 10 * std::sin(1.0), 0.0},
        {"circle centre", &circle, 100, 0, 10.0},
        {"left text, last letter", &*left, 7.5, 101, 0.0},
        {"left text, before it", &*left, -1, 101, 1.0},
        {"centred text, first letter", &*centred, 96.5, 101, 0.0},
        {"centred text, right of the box", &*centred, 105, 101, 1.0},
        {"middle text, below the baseline", &*middle, 199, 99.5, 0.0},
        {"middle text, under the box", &*middle, 200, 98, 1.0},
        {"turned text", &*turned, -0.5, 201.5, 0.0},
        {"right of turned text", &*turned, 1, 201, 1.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_NEAR(EntityShape::of(*c.entity, 1e-4).distanceTo({c.x, c.y}), c.distance, 2e-4);
    }
}

TEST(EntityShape, AnInvisibleEntityDrawsNothing)
{
    AcDbCircle circle(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, 1.0);
    circle.setVisibility(AcDb::kInvisible);
    EXPECT_TRUE(EntityShape::of(circle, 0.01).isEmpty());
    EXPECT_TRUE(std::isinf(EntityShape::of(circle, 0.01).distanceTo({1, 0})));
}
