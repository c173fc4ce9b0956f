// Creation inputs that once broke (tests/regressions/, written by
// tests/commands/make_fixtures.py), each run through the command that broke.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/commands/CommandTestSupport.h"

using namespace zelkatest;

// A symmetric figure of eight has a net area of 0 and was reported as
// enclosing no area; it crosses itself. Three points on a line enclose no area.
TEST(CreationRegressions, AFigureOfEightIsReportedAsCrossingItself)
{
    const RegressionRun run("bulk-figure-eight.dxf");
    const RunResult r = run.run({"mbulk", "ROOMS"}, false);
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("Outline 30 on layer ROOMS was skipped: it crosses itself.\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Outline 31 on layer ROOMS was skipped: its area is zero.\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("0 space block(s) made from 2 outline(s)"), std::string::npos) << r.out;
}
