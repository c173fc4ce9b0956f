// Arcs, ellipses and splines drawn by another program are seen by picks:
// the points ezdxf computes on each curve are hit, points off it (the rest
// of the circle, a parameter outside the elliptical arc, a control point
// the spline does not pass) are not.
#include <gtest/gtest.h>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/ed/EntityShape.h"
#include "tests/host/dxfTestSupport.h"

TEST(EntityShape, PicksFollowArcsEllipsesAndSplinesOfAnotherProgram)
{
    const auto dir = dxftest::tempDir("curve-pick");
    const auto file = dir / "curves.dxf";
    const nlohmann::json points = dxftest::ezdxfFixture("curves", file).at("points");
    AcDbDatabase db(false);
    ASSERT_EQ(db.readDxfFile(file.c_str()), Acad::eOk) << db.lastError();
    for (const nlohmann::json& point : points) {
        SCOPED_TRACE(point.dump());
        const bool on = point.at(0);
        const std::string handle = point.at(1);
        const double x = point.at(2), y = point.at(3);
        AcDbObjectId id;
        ASSERT_EQ(db.getAcDbObjectId(id, false, AcDbHandle(std::stoull(handle, nullptr, 16))), Acad::eOk);
        AcDbObjectPointer<AcDbEntity> e(id, AcDb::kForRead);
        ASSERT_EQ(e.openStatus(), Acad::eOk);
        const EntityShape shape = EntityShape::of(*e.object(), 1e-4);
        ASSERT_FALSE(shape.isEmpty()) << e->isA()->name();
        const double d = shape.distanceTo({x, y});
        if (on)
            EXPECT_LT(d, 1e-3);
        else
            EXPECT_GT(d, 0.5);
    }
    EXPECT_EQ(points.size(), 17u);
}
