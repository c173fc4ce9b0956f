// Inputs that once broke, each run through the path that broke
// (tests/regressions/, written by tests/commands/make_fixtures.py). Expected
// values are worked out by hand from the way each input was made.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/commands/CommandTestSupport.h"

using namespace zelkatest;

// The definition's base point 1000,500 was ignored, so the room was printed
// 1000,500 away from where it is drawn (2000..6000 x 3000..6000).
TEST(BlockGeometryRegressions, BlockBasePointPlacesTheOutline)
{
    RunResult r = RegressionRun("block-base-point.dxf").run({"test"}, false);
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("'38', 1, '[ 3000.00000000, 3500.00000000 ], [ 7000.00000000, 3500.00000000 ], "
                         "[ 7000.00000000, 6500.00000000 ], [ 3000.00000000, 6500.00000000 ]'"),
              std::string::npos)
        << r.out;
}

// A pick at the room's name label (NAME text at 5000,5375, 250 high) took the
// gross-area block drawn after the room, whose extents box held the point.
TEST(BlockGeometryRegressions, APickAtARoomLabelTakesTheRoomNotTheGrossAreaAroundIt)
{
    RunResult r = RegressionRun("label-in-gross-area.dxf").run({"msc_dsd", "5100,5500"}, false);
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("Handle\t\t\t 38\n"), std::string::npos) << r.out;
}
