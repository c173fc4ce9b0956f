// Inputs that once broke, each run through the path that broke
// (tests/regressions/, written by make_record_inputs.py there). Expected
// values are worked out by hand from the way each input was made.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/commands/CommandTestSupport.h"

using namespace zelkatest;

namespace {

const std::filesystem::path kInputs = std::filesystem::path(ZELKA_SOURCE_DIR) / "tests/regressions";

// zelka on a copy of an input with the script lines and preferences in
// their own application-data folder, nothing saved.
RunResult runOn(const std::string& input, const std::vector<std::string>& lines)
{
    return PlanRun(input, 0, 2, "NONE", kInputs).run(lines, false);
}

}  // namespace

// The definition's base point 1000,500 was ignored, so the room was printed
// 1000,500 away from where it is drawn (2000..6000 x 3000..6000).
TEST(BlockGeometryRegressions, BlockBasePointPlacesTheOutline)
{
    RunResult r = runOn("block-base-point.dxf", {"test"});
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
    RunResult r = runOn("label-in-gross-area.dxf", {"msc_dsd", "5100,5500"});
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("Handle\t\t\t 38\n"), std::string::npos) << r.out;
}
