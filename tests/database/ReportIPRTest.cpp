// A graphic report loaded from the test server into the report's own
// objects, and applied to a drawing by the command `mlgr` as a user runs it:
// the saved drawing is read back with ezdxf and every hatch, layer state,
// link line and hyperlink is compared with the rows written here with psql.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "database/Assets.h"
#include "database/Hyperlinks.h"
#include "database/ReportIPR.h"
#include "database/StoredProcedure.h"
#include "DatabaseTestSupport.h"
#include "reports/Category.h"
#include "reports/GraphicReport.h"
#include "reports/Hatch.h"
#include "reports/Layers.h"
#include "reports/Layouts.h"
#include "reports/LinkLine.h"
#include "spaces/Attributes.h"
#include "spaces/BlockDWG.h"
#include "spaces/Blocks.h"
#include "spaces/ZelkaAttribute.h"
#include "../reports/ReportTestSupport.h"

namespace {

using reporttest::InsertFact;
using reporttest::ReportFacts;
using reporttest::readReportFacts;

std::string insertReport(const std::string& title, const std::string& outputPath)
{
    return dbtest::psqlValue("insert into graphic_reports (status_id, title, drawing_path, drawing_filename, "
                             "plot_type_id, plot_scale_type_id, output_path, output_filename, total_child_areas) "
                             "values (1, '" + title + "', '/plans/', 'p.dxf', 2, 25, " + outputPath +
                             ", 'o.pdf', 99.5) returning id;");
}

std::string insertCategory(const std::string& report, int order, const std::string& columns, const std::string& values)
{
    return dbtest::psqlValue("insert into report_categories (graphic_report_id, sort_order, title" + columns +
                             ") values (" + report + ", " + std::to_string(order) + values + ") returning id;");
}

TEST(ReportIPR, AReportLoadsWithItsCategoriesBlocksAssetsLayersAndLinkLinesAndNullsLeaveDefaults)
{
    const std::string report = insertReport("Loaded", "''");
    // A category without a pattern has no hatch; one without a layer
    // hatches on "_Zelka"; a category with nothing in it is still listed.
    const std::string plain = insertCategory(report, 1, ", hatch_pattern", ", 'Plain', ''");
    const std::string hatched = insertCategory(report, 2, ", hatch_pattern, hatch_angle, hatch_colour, hatch_scale",
                                               ", 'Hatched', 'ANSI31', 44.6, '#102030', 2.4");
    dbtest::psql("insert into category_blocks (category_id, sort_order, handle, name, code, area, swap_name, "
                 "swap_area, swap_aux) values (" + hatched + ", 1, 'A1', 'One', 'C1', 12.3456789012, 'Swap', '', 'aux'),"
                 " (" + hatched + ", 2, 'B2', default, default, null, default, default, default);"
                 "insert into block_hyperlinks (category_id, handle, sort_order, href, description) values (" +
                 hatched + ", 'A1', 1, 'http://x/a1', 'A one');"
                 "insert into category_assets (category_id, handle, description, unique_description) values (" +
                 hatched + ", 'F0', 'Desk', 'DESK-9');"
                 "insert into report_layers_on (graphic_report_id, sort_order, name, description) values (" + report +
                 ", 1, 'ROOMS', 'outlines');"
                 "insert into report_link_lines (graphic_report_id, start_handle, end_handle, layer_name, label_text) "
                 "values (" + report + ", 'A1', 'F0', 'LINKS', 'joins');");
    (void)plain;

    auto sp = dbtest::connect();
    CReportIPR loads(*sp, 10);
    CGraphicReport loaded;
    ASSERT_TRUE(loads.getGraphicReport(std::stoi(report), "/default/out/", loaded));
    EXPECT_EQ(loaded.getID(), std::stoi(report));
    EXPECT_EQ(loaded.getTitle(), "Loaded");
    EXPECT_EQ(loaded.getOutputPath(), "/default/out/") << "an empty output path takes the settings' folder";
    EXPECT_EQ(loaded.getPlotDevice(), 2);
    EXPECT_EQ(loaded.getPlotScaleType(), 26) << "scale ids 19-33 become the host's 20-34";
    EXPECT_DOUBLE_EQ(loaded.getTotalChildAreas(), 99.5);

    ASSERT_NE(loaded.getCategories(), nullptr);
    ASSERT_EQ(loaded.getCategories()->getCount(), 2);
    const CCategory& first = loaded.getCategories()->getAt(0);
    EXPECT_EQ(first.getTitle(), "Plain");
    EXPECT_EQ(first.getHatch(), nullptr);
    EXPECT_EQ(first.getBlocks(), nullptr);
    EXPECT_EQ(first.getAssets(), nullptr);

    const CCategory& second = loaded.getCategories()->getAt(1);
    ASSERT_NE(second.getHatch(), nullptr);
    EXPECT_EQ(second.getHatch()->getPatternName(), "ANSI31");
    EXPECT_EQ(second.getHatch()->getAngle(), 45);
    EXPECT_EQ(second.getHatch()->getScale(), 2);
    EXPECT_EQ(second.getHatch()->getLayer(), "_Zelka");
    EXPECT_EQ(second.getHatch()->getColour().red(), 0x10);
    EXPECT_EQ(second.getHatch()->getColour().green(), 0x20);
    EXPECT_EQ(second.getHatch()->getColour().blue(), 0x30);

    ASSERT_NE(second.getBlocks(), nullptr);
    ASSERT_EQ(second.getBlocks()->size(), 2);
    const CBlock& a1 = second.getBlocks()->getAt(0);
    EXPECT_EQ(a1.getHandle() + "|" + a1.getName() + "|" + a1.getCode(), "A1|One|C1");
    EXPECT_DOUBLE_EQ(a1.getArea(), 12.3456789012);
    ASSERT_NE(a1.getAttributes(), nullptr);
    // The swap texts that are there, by attribute index: name 0, aux 2.
    ASSERT_EQ(a1.getAttributes()->getCount(), 2);
    ASSERT_NE(a1.getAttributes()->getAtAttribute(0), nullptr);
    EXPECT_EQ(a1.getAttributes()->getAtAttribute(0)->getText(), "Swap");
    EXPECT_EQ(a1.getAttributes()->getAtAttribute(1), nullptr);
    ASSERT_NE(a1.getAttributes()->getAtAttribute(2), nullptr);
    EXPECT_EQ(a1.getAttributes()->getAtAttribute(2)->getText(), "aux");
    ASSERT_NE(a1.getHyperlinks(), nullptr);
    ASSERT_EQ(a1.getHyperlinks()->getCount(), 1);
    EXPECT_EQ(a1.getHyperlinks()->getAt(0).getHref(), "http://x/a1");
    ASSERT_NE(a1.getHatch(), nullptr);
    EXPECT_EQ(a1.getHatch()->getPatternName(), "ANSI31");
    // A null area leaves the field as a new record has it; no swap texts,
    // no links.
    const CBlock& empty = second.getBlocks()->getAt(1);
    const CBlockDWG fresh;
    EXPECT_EQ(empty.getHandle(), "B2");
    EXPECT_EQ(empty.getName(), "");
    EXPECT_EQ(empty.getArea(), fresh.getArea());
    EXPECT_EQ(empty.getHyperlinks(), nullptr);
    EXPECT_EQ(empty.getAttributes()->getCount(), 0);

    ASSERT_NE(second.getAssets(), nullptr);
    ASSERT_EQ(second.getAssets()->getCount(), 1);
    EXPECT_EQ(second.getAssets()->getAt(0).getUniqueDescription(), "DESK-9");

    ASSERT_NE(loaded.getLayersOn(), nullptr);
    ASSERT_EQ(loaded.getLayersOn()->getCount(), 1);
    EXPECT_EQ(loaded.getLayersOn()->getAt(0).getName(), "ROOMS");
    EXPECT_EQ(loaded.getLayersOn()->getAt(0).getDescription(), "outlines");
    ASSERT_NE(loaded.getLinkLines(), nullptr);
    ASSERT_EQ(loaded.getLinkLines()->getCount(), 1);
    EXPECT_EQ(loaded.getLinkLines()->getAt(0).getLabelText(), "joins");

    // No such report: nothing changes.
    CGraphicReport untouched;
    EXPECT_FALSE(loads.getGraphicReport(-7, "/x/", untouched));
    EXPECT_EQ(untouched.getTitle(), "");
    EXPECT_EQ(untouched.getCategories(), nullptr);
}

TEST(ReportIPR, LayersAndLayoutsOfADrawingAreRecordedUnderItsAttachment)
{
    const std::string attach = std::to_string(5000 + getpid() % 1000);
    CLayers layers;
    struct Layer {
        const char* name;
        int16_t colour;
    } rows[] = {{"ROOMS", 3}, {"Walls 'outer' & more", 250}};
    for (const Layer& l : rows) {
        auto layer = std::make_unique<CLayer>();
        layer->setName(l.name);
        layer->setColourIndex(l.colour);
        layers.add(std::move(layer));
    }
    CLayouts layouts;
    layouts.add(std::make_unique<CLayout>("Layout1"));
    layouts.add(std::make_unique<CLayout>("Plan A3"));

    auto sp = dbtest::connect();
    CReportIPR ipr(*sp, 10);
    ipr.addLayersToIPR(layers, std::stoi(attach));
    ipr.addLayoutsToIPR(layouts, std::stoi(attach));
    EXPECT_EQ(dbtest::psql("select name, description, colour from drawing_layers where attach_id = " + attach +
                           " order by name"),
              (std::vector<std::vector<std::string>>{{"ROOMS", "", "3"}, {"Walls 'outer' & more", "", "250"}}));
    EXPECT_EQ(dbtest::psqlValue("select string_agg(name, ',' order by name) from drawing_layouts where attach_id = " +
                                attach),
              "Layout1,Plan A3");
    ipr.deleteDrawingLayouts(std::stoi(attach));
    EXPECT_EQ(dbtest::psqlValue("select count(*) from drawing_layouts where attach_id = " + attach), "0");
    EXPECT_EQ(dbtest::psqlValue("select count(*) from drawing_layers where attach_id = " + attach), "2");
}

// Applies a report of the database with `mlgr` to the commands' spaces
// fixture, as a user does: id typed at the prompt, settings in docmon.xml.
TEST(ReportIPR, MlgrAppliesTheReportOfTheDatabaseToTheActiveDrawing)
{
    zelkatest::PlanRun run("spaces.dxf");
    const ReportFacts before = readReportFacts(run.drawing());
    ASSERT_EQ(before.error, "");
    auto handleOf = [&](const char* space) {
        const InsertFact* insert = before.insertNamed(space);
        return insert ? insert->handle : std::string("<none>");
    };
    const std::string report = insertReport("From the database", "'/out/'");
    const std::string offices = insertCategory(report, 1, ", hatch_pattern, hatch_angle, hatch_colour, hatch_scale, hatch_layer",
                                               ", 'Offices', 'SOLID', 0, '#FF0000', 1, 'GR-DB-Offices'");
    const std::string labs = insertCategory(report, 2, ", hatch_pattern, hatch_angle, hatch_colour, hatch_scale, hatch_layer",
                                            ", 'Labs', 'ANSI31', 45, '#0000FF', 20, 'GR-DB-Labs'");
    dbtest::psql("insert into category_blocks (category_id, sort_order, handle, name, code, area) values (" + offices +
                 ", 1, '" + handleOf("RM-101") + "', 'RM-101', '', 12.5), (" + offices + ", 2, '" + handleOf("2RM-1") +
                 "', '2RM-1', '', 20), (" + labs + ", 1, '" + handleOf("Lab 7") + "', 'Lab 7', '', 5);"
                 "insert into block_hyperlinks (category_id, handle, sort_order, href, description) values (" + labs +
                 ", '" + handleOf("Lab 7") + "', 1, 'https://example.org/lab7', 'Lab 7 sheet');"
                 "insert into report_layers_on (graphic_report_id, sort_order, name) values (" + report +
                 ", 1, 'ROOMS'), (" + report + ", 2, 'ATT-NAME');"
                 "insert into report_link_lines (graphic_report_id, start_handle, end_handle, layer_name, label_text) "
                 "values (" + report + ", '" + handleOf("RM-101") + "', '" + handleOf("Lab 7") + "', 'LINKS', 'joins');");
    zelkatest::writeFile(run.appdata() / "ZelkaSystems/Orvane/prefs/docmon.xml",
                         "<?xml version=\"1.0\"?>\n<documentMonitorPreferences "
                         "xmlns=\"urn:zelkasystems:orvane:documentMonitor\"><server>"
                         "<acadErrorLogFilePath>" + (run.folder() / "errors.xml").string() + "</acadErrorLogFilePath>"
                         "<dbDatasource>" + dbtest::server().dataSource() + "</dbDatasource>"
                         "<dbUserID>" + dbtest::server().user() + "</dbUserID>"
                         "<dbPassword>" + dbtest::server().password() + "</dbPassword>"
                         "<dbTimeout>10</dbTimeout></server></documentMonitorPreferences>\n");

    zelkatest::RunResult r = run.run({"mlgr", report});
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("Graphic report " + report + " \"From the database\" applied from ipr: 2 categories, "
                         "2 layer(s) on, 1 link line(s).\n"),
              std::string::npos)
        << r.out;

    const ReportFacts after = readReportFacts(run.saved());
    ASSERT_EQ(after.error, "");
    // The AREA item after the report is the database's area.
    reporttest::expectSpacesAfterReport(after, {{"RM-101", "SOLID", 255, 0, 0, "GR-DB-Offices", "12.50sq.m."},
                                                {"2RM-1", "SOLID", 255, 0, 0, "GR-DB-Offices", "20.00sq.m."},
                                                {"Lab 7", "ANSI31", 0, 0, 255, "GR-DB-Labs", "5.00sq.m."},
                                                {"Store", "", 0, 0, 0, "", "3.00sq.m."}});
    EXPECT_EQ(after.hatches.size(), 3u);
    for (const char* on : {"ROOMS", "ATT-NAME", "GR-DB-Offices", "GR-DB-Labs"}) {
        SCOPED_TRACE(on);
        ASSERT_EQ(after.layers.count(on), 1u);
        EXPECT_TRUE(after.layers.at(on).on);
    }
    for (const char* off : {"ATT-AREA", "FURNITURE"}) {
        SCOPED_TRACE(off);
        ASSERT_EQ(after.layers.count(off), 1u);
        EXPECT_FALSE(after.layers.at(off).on);
    }
    // The link line joins the two blocks' insertion points (the fixture's
    // outline centres) on its layer.
    const InsertFact* from = before.insertNamed("RM-101");
    const InsertFact* to = before.insertNamed("Lab 7");
    ASSERT_TRUE(from && to);
    int joining = 0;
    for (const reporttest::LineFact& l : after.lines)
        if (l.layer == "LINKS" && std::abs(l.x1 - from->cx) < 1e-9 && std::abs(l.y1 - from->cy) < 1e-9 &&
            std::abs(l.x2 - to->cx) < 1e-9 && std::abs(l.y2 - to->cy) < 1e-9)
            ++joining;
    EXPECT_EQ(joining, 1);
    // The database's hyperlink is on Lab 7's block reference (ezdxf reads it).
    const nlohmann::json seen =
        zelkatest::oracleJson(zelkatest::testScript("spaces/plan_facts.py"), {"links", run.saved().string()});
    EXPECT_EQ(seen.at("entities").at(handleOf("Lab 7")).at("link"), "https://example.org/lab7|Lab 7 sheet|");
}

TEST(ReportIPR, MlgrSaysWhenTheDatabaseHasNoSuchReport)
{
    zelkatest::PlanRun run("spaces.dxf");
    zelkatest::writeFile(run.appdata() / "ZelkaSystems/Orvane/prefs/docmon.xml",
                         "<?xml version=\"1.0\"?>\n<documentMonitorPreferences "
                         "xmlns=\"urn:zelkasystems:orvane:documentMonitor\"><server>"
                         "<dbDatasource>" + dbtest::server().dataSource() + "</dbDatasource>"
                         "<dbUserID>" + dbtest::server().user() + "</dbUserID>"
                         "<dbPassword>" + dbtest::server().password() + "</dbPassword>"
                         "<dbTimeout>10</dbTimeout></server></documentMonitorPreferences>\n");
    zelkatest::RunResult r = run.run({"mlgr", "-3"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("The property database ipr has no graphic report -3; nothing was applied.\n"),
              std::string::npos)
        << r.out;
    EXPECT_TRUE(readReportFacts(run.saved()).hatches.empty());
}

}  // namespace
