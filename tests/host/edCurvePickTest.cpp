// Arcs, ellipses and splines drawn by another program are seen by picks:
// the points ezdxf computes on each curve are hit, points off it (the rest
// of the circle, a parameter outside the elliptical arc, a control point
// the spline does not pass) are not.
#include <gtest/gtest.h>

#include <sstream>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/ed/EntityShape.h"
#include "tests/host/dxfTestSupport.h"

TEST(EntityShape, PicksFollowArcsEllipsesAndSplinesOfAnotherProgram)
{
    const auto dir = dxftest::tempDir("curve-pick");
    const auto file = dir / "curves.dxf";
    const std::string oracle = dxftest::capture(std::string(ZELKA_PYTHON) + " '" +
                                                (dxftest::sourceDir() / "tests/host/curve_fixture.py").string() +
                                                "' '" + file.string() + "'");
    ASSERT_FALSE(oracle.empty()) << "tests/host/curve_fixture.py (ezdxf) gave no points";
    AcDbDatabase db(false);
    ASSERT_EQ(db.readDxfFile(file.c_str()), Acad::eOk) << db.lastError();
    std::istringstream lines(oracle);
    std::string kind, handle;
    double x = 0, y = 0;
    int checked = 0;
    while (lines >> kind >> handle >> x >> y) {
        SCOPED_TRACE(kind + " " + handle + " " + std::to_string(x) + " " + std::to_string(y));
        AcDbObjectId id;
        ASSERT_EQ(db.getAcDbObjectId(id, false, AcDbHandle(std::stoull(handle, nullptr, 16))), Acad::eOk);
        AcDbObjectPointer<AcDbEntity> e(id, AcDb::kForRead);
        ASSERT_EQ(e.openStatus(), Acad::eOk);
        const EntityShape shape = EntityShape::of(*e.object(), 1e-4);
        ASSERT_FALSE(shape.isEmpty()) << e->isA()->name();
        const double d = shape.distanceTo({x, y});
        if (kind == "on")
            EXPECT_LT(d, 1e-3);
        else
            EXPECT_GT(d, 0.5);
        ++checked;
    }
    EXPECT_EQ(checked, 17);
}
