// The bundled example: examples/office.scr on examples/office.dxf, as
// scripts/example.sh runs it. The CSV it writes is checked against ezdxf's
// measuring of every space block of the plan.

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/commands/CommandTestSupport.h"

namespace fs = std::filesystem;
using namespace zelkatest;

TEST(Example, OfficeScriptRecalculatesSynchronisesExportsAndSavesACopy)
{
    TempFolder work;
    const fs::path drawing = work.path() / "office.dxf";
    fs::copy_file(kSourceDir / "examples/office.dxf", drawing);
    fs::copy_file(kSourceDir / "examples/office-report.xml", work.path() / "office-report.xml");
    PlanRun prefs("");
    const fs::path saved = work.path() / "office-updated.dxf";
    // Run from the drawing's folder, as scripts/example.sh does: the script
    // names the report file relative to it.
    RunOptions options;
    options.folder = work.path();
    RunResult r = runZelkaWith({"--appdata", prefs.appdata().string(), "--script",
                                (kSourceDir / "examples/office.scr").string(), "--save-as", saved.string(),
                                drawing.string()},
                               options);
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;

    const DrawingFacts before = readDrawingFacts(drawing);
    const DrawingFacts after = readDrawingFacts(saved);
    ASSERT_TRUE(after.error.empty()) << after.error;
    std::string rooms, gross;
    double totalArea = 0, totalPerimeter = 0;
    for (const InsertFact& old : before.spaces()) {
        const OracleMeasure m = oracleMeasure(drawing, old.handle);
        const std::string area = fixed(m.area / 1e6, 2);
        const std::string perimeter = fixed(m.perimeter / 1000.0, 2);
        const InsertFact* now = after.insertOf(old.name);
        ASSERT_NE(now, nullptr);
        // recalculated, and every area label brought in line, the hand-typed one too
        EXPECT_EQ(now->item("AREA"), area + "sq.m.") << old.name;
        EXPECT_EQ(now->attrib("AREA")->text, area + "sq.m.") << old.name;
        const std::string line = now->attrib("NAME")->text + "," + area + ",m\xC2\xB2," + perimeter + ",m\n";
        if (old.name == "ROOM-GROSS_AREA") {
            gross += line;
        } else {
            rooms += line;
            totalArea += std::stod(area);
            totalPerimeter += std::stod(perimeter);
        }
    }
    // the handles of the example's space blocks rise in the order they were made
    EXPECT_EQ(readFile(work.path() / "office.csv"),
              "\xEF\xBB\xBF"
              "Code,Area,Units,Perimeter,Units\n" + rooms + "Total," + fixed(totalArea, 2) + ",m\xC2\xB2," +
                  fixed(totalPerimeter, 2) + ",m\n\n\n" + gross);
    // the plain outlines, doors and furniture are still there, and the
    // report added its legend and pie chart
    EXPECT_EQ(after.polylines.size(), before.polylines.size());
    EXPECT_EQ(after.inserts.size(), before.inserts.size() + 2);
    EXPECT_NE(after.insertOf("[ZELKA_LEGEND]_Level 1 - Use of Space"), nullptr);
    EXPECT_NE(after.insertOf("[ZELKA_PIECHART]_Level 1 - Use of Space"), nullptr);
    EXPECT_NE(r.out.find("graphic report successfully applied."), std::string::npos) << r.out;
}
