// The gross area block (mgabc) and the legend and pie chart markers (mlmc,
// mpmc) made by scripts on an ezdxf-made plan and read back with ezdxf.

#include <gtest/gtest.h>

#include "tests/editing/CreationTestSupport.h"

using namespace creationtest;

TEST(MarkerCreation, TheGrossAreaBlockIsMadeOnce)
{
    CreationRun run("markers.dxf");
    // The 10 x 5 m rectangle; a second mgabc picks nothing.
    const RunResult result = run.run({"mgabc", "65000,0", "65000,2500", "mgabc"});
    ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
    EXPECT_EQ(countOf(result.out, "Zelka Create Gross Area Block "), 2);
    EXPECT_EQ(countOf(result.out, "\n\nGross Area Block Already Exists\n"), 1) << result.out;
    EXPECT_EQ(countOf(result.out, "Please select a polyline:"), 1);
    const DrawingFacts after = readDrawingFacts(run.saved());
    ASSERT_EQ(after.auditErrors, 0) << after.raw;
    const InsertFact* gross = after.insertOf("ROOM-GROSS_AREA");
    ASSERT_NE(gross, nullptr);
    EXPECT_EQ(gross->attrib("NAME")->text, "GROSS AREA");
    EXPECT_EQ(gross->attrib("AREA")->text, fixed(10.0 * 5.0, 2) + "sq.m.");
    EXPECT_EQ(gross->attrib("AUX")->text, " ");
    EXPECT_EQ(gross->item("NAME"), "GROSS AREA");
    EXPECT_EQ(gross->item("PERIMETER"), fixed(2 * (10.0 + 5.0), 2) + "m.");
    EXPECT_DOUBLE_EQ(gross->x, 65000.0);
    EXPECT_DOUBLE_EQ(gross->y, 2500.0);
}

TEST(MarkerCreation, MarkersStackTheirAttributesOneTextSizeApart)
{
    struct Case {
        const char* command;
        std::vector<std::string> answers;
        const char* block;
        const char* layer;
        double baseX, baseY;
        double textSize;
        std::vector<std::pair<const char*, const char*>> texts;  // tag, text, from the top down
        const char* again;
    };
    const std::vector<Case> cases = {
        {"mlmc", {"13000,0", "2", "250", "0"}, "MARKER-LEGEND", "ZELKA_LEGEND_MARKER", 10000, 0, 250,
         {{"LEGENDTITLE", "LEGEND BLOCK"}, {"LEGENDTEXTSIZE", "250.00"}, {"LEGENDPRECISION", "2"},
          {"LEGENDROTATION", "0.00"}, {"LEGENDUNITS", "0"}},
         "\n\nLegend Marker Block Already Exists\n"},
        {"mpmc", {"81500,0", "0", "300", ""}, "MARKER-PIECHART", "ZELKA_PIECHART_MARKER", 80000, 0, 300,
         {{"PIETITLE", "PIE BLOCK"}, {"PIETEXTSIZE", "300"}, {"PIEPRECISION", "0"}, {"PIERADIUS", "1500"},
          {"PIEXYOFFSETVALUE", "500"}},
         "\n\n Pie Chart Marker Block Already Exists\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        CreationRun run("markers.dxf");
        std::vector<std::string> lines = {c.command};
        lines.insert(lines.end(), c.answers.begin(), c.answers.end());
        lines.push_back(c.command);
        const RunResult result = run.run(lines);
        ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
        EXPECT_EQ(countOf(result.out, "Block Created Successfully\n"), 1) << result.out;
        EXPECT_EQ(countOf(result.out, c.again), 1) << result.out;
        const DrawingFacts after = readDrawingFacts(run.saved());
        ASSERT_EQ(after.auditErrors, 0) << after.raw;
        const InsertFact* marker = after.insertOf(c.block);
        ASSERT_NE(marker, nullptr) << after.raw;
        EXPECT_EQ(marker->layer, c.layer);
        EXPECT_DOUBLE_EQ(marker->x, c.baseX);
        EXPECT_DOUBLE_EQ(marker->y, c.baseY);
        ASSERT_EQ(marker->attribs.size(), c.texts.size());
        for (size_t n = 0; n < c.texts.size(); ++n) {
            SCOPED_TRACE(c.texts[n].first);
            EXPECT_EQ(marker->attribs[n].tag, c.texts[n].first);
            EXPECT_EQ(marker->attribs[n].text, c.texts[n].second);
            EXPECT_DOUBLE_EQ(marker->attribs[n].x, c.baseX);
            EXPECT_DOUBLE_EQ(marker->attribs[n].y, c.baseY - (n + 1) * c.textSize);
            EXPECT_DOUBLE_EQ(marker->attribs[n].height, c.textSize);
        }
    }
}

TEST(MarkerCreation, MarkerCommandsDoNotExistOnAutoCadLt)
{
    CreationRun run("markers.dxf");
    const std::filesystem::path script = run.folder() / "lt.scr";
    writeFile(script, "mlmc\nmpmc\n");
    const RunResult result = runZelka({"--appdata", run.appdata().string(), "--host-product", "AutoCAD LT 2024",
                                       "--script", script.string(), run.drawing().string()});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.out.find("Unknown command \"mlmc\""), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("Unknown command \"mpmc\""), std::string::npos) << result.out;
}
