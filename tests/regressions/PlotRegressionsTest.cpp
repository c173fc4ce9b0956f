// Plot inputs that were reported as drawn wrongly, each plotted through the
// plot engine (tests/regressions/, written by make_plot_inputs.py there).

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "host/db/AcDbDatabase.h"
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
