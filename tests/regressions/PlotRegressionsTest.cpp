// Plot inputs that were reported as drawn wrongly, each plotted through the
// plot engine (tests/regressions/, written by tests/commands/make_fixtures.py).

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbBlockTableRecordIterator.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbGeometrySink.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbOpen.h"
#include "host/plot/PlotEngine.h"
#include "tests/plot/PlotTestSupport.h"

using namespace plottest;

// The Board Room of the bundled example was reported with its ANSI31 hatch
// ending at the chord of its bay (the boundary's bulge of 0.25). Pattern
// lines are evenly spread, so the bay (a circular segment) holds its share
// of the ink by area: worked out here from the chord and the bulge.
TEST(PlotRegressions, PatternHatchFillsTheBayOfABulgedBoundary)
{
    const auto dir = dxftest::tempDir("plot-regression-bay");
    AcDbDatabase db(false);
    const auto input = std::filesystem::path(ZELKA_SOURCE_DIR) / "tests/regressions/board-room-bay.dxf";
    ASSERT_EQ(db.readDxfFile(input.c_str()), Acad::eOk) << db.lastError();
    acdbSetWorkingDatabase(&db);
    PlotEngine engine;
    const auto png = dir / "bay.png";
    ASSERT_TRUE(engine.plot(db, "Model", png.string())) << engine.message();
    acdbSetWorkingDatabase(nullptr);
    const Image image = readPng(png);
    ASSERT_GT(image.width, 0);

    // The room: 7100 wide (x 21650..28750), 7400 high above the chord (y 50..7450).
    const double chord = 7100.0, depth = 7400.0, bulge = 0.25;
    const double sweep = 4.0 * std::atan(bulge);
    const double radius = chord / (2.0 * std::sin(sweep / 2.0));
    const double bay = radius * radius / 2.0 * (sweep - std::sin(sweep));
    const double sagitta = bulge * chord / 2.0;

    // The pattern lines reach the sides and the top: they give the pixels per unit and the chord's row.
    const InkBox all = inkBoxIn(image, 0, 0, image.width, image.height);
    ASSERT_GT(all.count, 100);
    const double perUnit = (all.x1 - all.x0 + 1) / chord;
    const int chordRow = all.y0 + static_cast<int>(std::lround(depth * perUnit));
    // The bay reaches down to the sagitta, within a line spacing (3.175 x 40 across 45-degree lines).
    EXPECT_NEAR(all.y1, chordRow + sagitta * perUnit, 3.175 * 40 * std::sqrt(2.0) * perUnit + 2);

    const double above = inkIn(image, 0, 0, image.width, chordRow).count;
    const double below = inkIn(image, 0, chordRow, image.width, image.height).count;
    ASSERT_GT(above, 0.0);
    const double expected = bay / (chord * depth);
    EXPECT_NEAR(below / above, expected, 0.3 * expected);
}

namespace {

// Counts what a drawing tells; after `limit` entities it skips the rest, so a
// drawing that would never end fails the count instead of hanging the test.
class CountingSink : public AcDbGeometrySink {
public:
    size_t entities = 0, polylines = 0, limit = 10000;
    bool beginEntity(const AcDbEntity&) override { return ++entities <= limit; }
    void polyline(const std::vector<AcGePoint3d>&, const std::vector<double>&, const AcGeVector3d&, bool) override
    {
        ++polylines;
    }
    void circularArc(const AcGePoint3d&, double, const AcGeVector3d&, double, double) override {}
    void polygon(const std::vector<AcGePoint3d>&) override {}
};

}  // namespace

// Two block definitions that each refer to the other twice made a drawing of
// the one reference in model space tell 2^32 copies before the depth limit
// stopped it. Each definition is now told once on a path: RING-A's line, then
// the two RING-B references with their lines; their references back to
// RING-A are not entered again.
TEST(PlotRegressions, BlocksReferringToEachOtherAreToldOnceRound)
{
    AcDbDatabase db(false);
    const auto input = std::filesystem::path(ZELKA_SOURCE_DIR) / "tests/regressions/block-ring-doubled.dxf";
    ASSERT_EQ(db.readDxfFile(input.c_str()), Acad::eOk) << db.lastError();
    AcDbObjectPointer<AcDbBlockTableRecord> space(db.modelSpaceId(), AcDb::kForRead);
    ASSERT_TRUE(space);
    AcDbBlockTableRecordIterator* it = nullptr;
    ASSERT_EQ(space->newIterator(it), Acad::eOk);
    CountingSink sink;
    int references = 0;
    for (; !it->done(); it->step()) {
        AcDbEntity* entity = nullptr;
        ASSERT_EQ(it->getEntity(entity, AcDb::kForRead), Acad::eOk);
        references += entity->isKindOf(AcDbBlockReference::desc());
        entity->drawGeometry(sink);
        entity->close();
    }
    delete it;
    EXPECT_EQ(references, 1);
    // Entities told: the RING-A reference and its line, two RING-B references
    // with a line each, and the four references back to RING-A (told, not entered).
    EXPECT_EQ(sink.entities, 1u + 1u + 2u * (1u + 1u + 2u));
    EXPECT_EQ(sink.polylines, 3u);
    EXPECT_EQ(sink.depth(), 0u);
}
