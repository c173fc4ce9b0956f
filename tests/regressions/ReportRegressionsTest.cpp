// Graphic report documents that once read or wrote wrongly
// (tests/regressions/reports/), applied on the spaces fixture where it
// matters and read back with ezdxf.

#include <gtest/gtest.h>

#include <cstdlib>

#include "reports/GraphicReport.h"
#include "reports/Hatch.h"
#include "tests/commands/CommandTestSupport.h"

namespace {

const std::filesystem::path kInputs = zelkatest::kSourceDir / "tests/regressions/reports";

}  // namespace

TEST(ReportRegressions, HatchAfterBlocksStillHatchesTheBlocksWhenApplied)
{
    zelkatest::PlanRun run("spaces.dxf");
    zelkatest::RunResult r = run.run({"magr", (kInputs / "hatch-after-blocks.xml").string(), "", "", "", "", "", ""});
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    // The fixture's RM-101 (3D) and 2RM-1 (49): two solid red hatches, as ezdxf reads them.
    const std::string out = zelkatest::runPython(
        "import ezdxf,sys\n"
        "d=ezdxf.readfile(sys.argv[1])\n"
        "print(sorted((h.dxf.pattern_name, h.rgb, h.dxf.layer) for h in d.modelspace().query('HATCH')))\n",
        {run.saved().string()});
    EXPECT_EQ(out, "[('SOLID', (255, 0, 0), 'GR-Offices'), ('SOLID', (255, 0, 0), 'GR-Offices')]\n");
}

TEST(ReportRegressions, FullPrecisionTotalsComeBackAsTheSameNumbers)
{
    CGraphicReport report;
    ASSERT_TRUE(report.deSerialize((kInputs / "full-precision.xml").string()));
    zelkatest::TempFolder folder;
    const std::string written = (folder.path() / "again.xml").string();
    report.serialize(written);
    CGraphicReport again;
    ASSERT_TRUE(again.deSerialize(written));
    EXPECT_EQ(again.getTotalChildAreas(), std::strtod("1234567.89", nullptr));
    EXPECT_EQ(again.getPieXYOffset(), std::strtod("0.30000000000000004", nullptr));
}
