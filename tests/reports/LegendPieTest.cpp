// The legend table and the pie chart a report places at the marker blocks
// of an ezdxf-made drawing, read back with ezdxf: the table's own block with
// its texts and swatches, area totals against sums computed here, wedge
// angles against area shares, labels, title and footer, and the placement.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <set>

#include "ReportTestSupport.h"

namespace {

using reporttest::BlockFacts;
using reporttest::fourCategories;
using reporttest::handleOf;
using reporttest::readBlockFacts;
using reporttest::readReportFacts;
using reporttest::reportDocument;
using reporttest::ReportFacts;
using zelkatest::PlanRun;
using zelkatest::RunResult;
using zelkatest::writeFile;

// The report of these tests, with its total child area.
std::string occupancyReport(const ReportFacts& plan, const std::string& total)
{
    return reportDocument("Occupancy", {}, fourCategories(plan, "ANSI31", 20),
                          "<grTotalChildAreas>" + total + "</grTotalChildAreas>\n");
}

// The area of the record item "AREA=3.00sq.m." as a number.
double recordArea(const ReportFacts& facts, const std::string& spaceName)
{
    return std::stod(facts.insertNamed(spaceName)->record.at("AREA"));
}

}  // namespace

TEST(LegendAndPie, ReportPlacesItsLegendTableAndPieChartAtTheMarkers)
{
    PlanRun run("report-markers.dxf");
    const ReportFacts plan = readReportFacts(run.drawing());
    ASSERT_EQ(plan.error, "");
    const std::filesystem::path report = run.folder() / "occupancy.xml";
    writeFile(report, occupancyReport(plan, "60"));
    RunResult r = run.run({"magr", report.string()});
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    const BlockFacts blocks = readBlockFacts(run.saved());
    const ReportFacts after = readReportFacts(run.saved());
    ASSERT_EQ(after.error, "");

    // Areas per category: the report's own areas, and for the store (which
    // the report gives none) the area its record holds in the drawing.
    const std::map<std::string, double> areas = {
        {"Offices", 12.5 + 20}, {"Labs", 5}, {"Stores", recordArea(plan, "Store")}, {"Empty", 0}};

    // The legend: a table in "[ZELKA_LEGEND]_Occupancy", whose own block
    // holds the title, headings, one row per category (areas at the legend
    // marker's precision 1) and a swatch per row.
    const std::string legend = "[ZELKA_LEGEND]_Occupancy";
    const std::string tableBlock = blocks.tableBlockOf(legend);
    ASSERT_FALSE(tableBlock.empty()) << r.out;
    std::multiset<std::string> texts;
    for (const auto& f : blocks.of("TEXT", tableBlock)) texts.insert(f.at("text"));
    for (const char* text : {"Occupancy", "Description", "Hatch", "Area sq.m.", "Offices", "Labs", "Stores", "Empty"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(texts.count(text), 1u);
    }
    for (const auto& [title, area] : areas) {
        SCOPED_TRACE(title);
        EXPECT_EQ(texts.count(zelkatest::fixed(area, 1)), 1u) << zelkatest::fixed(area, 1);
    }
    std::set<std::string> swatches;
    for (const auto& f : blocks.of("INSERT", tableBlock)) swatches.insert(f.at("name"));
    EXPECT_EQ(swatches, (std::set<std::string>{"[ZELKA_LEGEND_HATCH]_Occupancy_Offices",
                                               "[ZELKA_LEGEND_HATCH]_Occupancy_Labs",
                                               "[ZELKA_LEGEND_HATCH]_Occupancy_Stores",
                                               "[ZELKA_LEGEND_HATCH]_Occupancy_Empty"}));
    struct Swatch {
        const char* block;
        const char* pattern;
        int r, g, b;
    };
    for (const Swatch& s : {Swatch{"[ZELKA_LEGEND_HATCH]_Occupancy_Offices", "SOLID", 255, 0, 0},
                            Swatch{"[ZELKA_LEGEND_HATCH]_Occupancy_Labs", "ANSI31", 0, 0, 255}}) {
        SCOPED_TRACE(s.block);
        auto hatches = blocks.of("HATCH", s.block);
        ASSERT_EQ(hatches.size(), 1u);
        EXPECT_EQ(hatches[0].at("pattern"), s.pattern);
        EXPECT_EQ(hatches[0].at("true_color"), s.r << 16 | s.g << 8 | s.b);
    }
    // Placed at the first vertex of the marker's outline, (100, 200) turned
    // a quarter by the marker at (30000, 12000), with the marker's rotation.
    const reporttest::InsertFact* placedLegend = nullptr;
    for (const auto& i : after.inserts)
        if (i.name == legend) placedLegend = &i;
    ASSERT_NE(placedLegend, nullptr);

    // The pie: wedges whose angles are the categories' shares of 60 (the
    // empty one left out), clockwise from twelve o'clock in category order.
    const std::string pie = "[ZELKA_PIECHART]_Occupancy";
    auto wedges = blocks.of("LWPOLYLINE", pie);
    ASSERT_EQ(wedges.size(), 3u) << r.out;
    const double pi = std::acos(-1.0);
    const std::vector<std::pair<std::string, double>> order = {
        {"Offices", areas.at("Offices")}, {"Labs", areas.at("Labs")}, {"Stores", areas.at("Stores")}};
    double start = 0.0;
    for (size_t i = 0; i < wedges.size(); ++i) {
        SCOPED_TRACE(order[i].first);
        const auto vertices = wedges[i].at("points").get<std::vector<std::array<double, 3>>>();
        ASSERT_EQ(vertices.size(), 4u);
        // Compass bearings (clockwise from +Y) of the wedge's two radii.
        auto bearing = [&](const std::array<double, 3>& p) {
            double b = std::atan2(p[0] - vertices[0][0], p[1] - vertices[0][1]);
            return b < -1e-12 ? b + 2 * pi : b;
        };
        const double from = bearing(vertices[1]);
        double sweep = bearing(vertices[2]) - from;
        if (sweep < 0) sweep += 2 * pi;
        EXPECT_NEAR(from, start / 60.0 * 2 * pi, 1e-9);
        EXPECT_NEAR(sweep, order[i].second / 60.0 * 2 * pi, 1e-9);
        // The arc's bulge draws the same sweep, clockwise.
        EXPECT_NEAR(vertices[1][2], -std::tan(sweep / 4), 1e-9);
        start += order[i].second;
    }
    auto hatches = blocks.of("HATCH", pie);
    EXPECT_EQ(hatches.size(), 3u);
    std::map<std::string, nlohmann::json> attdefs;
    for (const auto& f : blocks.of("ATTDEF", pie)) attdefs[f.at("text")] = f;
    for (const auto& [title, area] : order) {
        const std::string label = title + " (" + zelkatest::fixed(area, 2) + " sq.m.)";
        SCOPED_TRACE(label);
        EXPECT_EQ(attdefs.count(label), 1u);
    }
    EXPECT_EQ(attdefs.count("Occupancy"), 1u);
    ASSERT_EQ(attdefs.count("Total: 60.00sq.m."), 1u);
    EXPECT_EQ(blocks.of("LINE", pie).size(), 3u);
    const reporttest::InsertFact* placedPie = nullptr;
    for (const auto& i : after.inserts)
        if (i.name == pie) placedPie = &i;
    ASSERT_NE(placedPie, nullptr);
}

TEST(LegendAndPie, PieThatCannotBeDrawnLeavesNoBlockAndTheRestStillApplies)
{
    struct Case {
        const char* total;
        bool said;  // the failure is said on the command line
    };
    // 40.5 m2 of wedges against a total of 30 cannot be drawn; a total of 0 draws no pie at all.
    for (const Case& c : {Case{"30", true}, Case{"0", false}}) {
        SCOPED_TRACE(c.total);
        PlanRun run("report-markers.dxf");
        const ReportFacts plan = readReportFacts(run.drawing());
        const std::filesystem::path report = run.folder() / "occupancy.xml";
        writeFile(report, occupancyReport(plan, c.total));
        RunResult r = run.run({"magr", report.string()});
        EXPECT_EQ(r.out.find("the pie chart could not be made") != std::string::npos, c.said) << r.out;
        if (c.said) {
            EXPECT_NE(r.out.find("Unable to calculate pie chart percentages the total segment area (40.50) is "
                                 "greater than the specified total area (30.00)."),
                      std::string::npos)
                << r.out;
        }
        EXPECT_NE(r.out.find("graphic report successfully applied."), std::string::npos) << r.out;
        const BlockFacts blocks = readBlockFacts(run.saved());
        EXPECT_TRUE(blocks.of("LWPOLYLINE", "[ZELKA_PIECHART]_Occupancy").empty());
        EXPECT_FALSE(blocks.tableBlockOf("[ZELKA_LEGEND]_Occupancy").empty());
        const ReportFacts after = readReportFacts(run.saved());
        EXPECT_EQ(after.hatches.size(), 4u);  // the four spaces of the report are hatched
    }
}

TEST(LegendAndPie, WithoutMarkersOrOnLesserHostsOnlyTheDefinitionsAreMadeFromTheAnswers)
{
    struct Case {
        const char* fixture;
        const char* host;  // "" = the default host
    };
    // A drawing without markers on a full product, and a drawing with
    // markers on AutoCAD LT, where markers are not used.
    for (const Case& c : {Case{"spaces.dxf", ""}, Case{"report-markers.dxf", "AutoCAD LT 2024"}}) {
        SCOPED_TRACE(c.fixture);
        PlanRun run(c.fixture);
        const ReportFacts plan = readReportFacts(run.drawing());
        const std::filesystem::path report = run.folder() / "occupancy.xml";
        writeFile(report, occupancyReport(plan, "60"));
        const std::filesystem::path script = run.folder() / "legacy.scr";
        // text size, pie radius, rotation, ignore empty, units, precision
        writeFile(script, "magr\n" + report.string() + "\n300\n3000\n90\n1\nm2\n1\n");
        std::vector<std::string> arguments = {"--appdata", run.appdata().string(), "--script", script.string(),
                                              "--save-as", run.saved().string()};
        if (*c.host) {
            arguments.push_back("--host-product");
            arguments.push_back(c.host);
        }
        arguments.push_back(run.drawing().string());
        RunResult r = zelkatest::runZelka(arguments);
        ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
        EXPECT_NE(r.out.find("legend definition successfully created.\n"), std::string::npos) << r.out;
        EXPECT_NE(r.out.find("pie chart definition successfully created.\n"), std::string::npos) << r.out;
        const BlockFacts blocks = readBlockFacts(run.saved());
        const ReportFacts after = readReportFacts(run.saved());
        // The definitions exist, none is placed.
        const std::string tableBlock = blocks.tableBlockOf("[ZELKA_LEGEND]_Occupancy");
        ASSERT_FALSE(tableBlock.empty());
        for (const auto& i : after.inserts) {
            EXPECT_NE(i.name, "[ZELKA_LEGEND]_Occupancy");
            EXPECT_NE(i.name, "[ZELKA_PIECHART]_Occupancy");
        }
        // The answers: units "m2", precision 1, empty categories left out.
        std::multiset<std::string> texts;
        for (const auto& f : blocks.of("TEXT", tableBlock)) texts.insert(f.at("text"));
        EXPECT_EQ(texts.count("Area m2"), 1u);
        EXPECT_EQ(texts.count("32.5"), 1u);
        EXPECT_EQ(texts.count("Empty"), 0u);
        EXPECT_EQ(blocks.of("LWPOLYLINE", "[ZELKA_PIECHART]_Occupancy").size(), 3u);
        std::set<std::string> labels;
        for (const auto& f : blocks.of("ATTDEF", "[ZELKA_PIECHART]_Occupancy")) labels.insert(f.at("text"));
        EXPECT_EQ(labels.count("Labs (5.0 m2)"), 1u);
        EXPECT_EQ(labels.count("Total: 60.0m2"), 1u);
    }
}

TEST(LegendAndPie, NamesAreCleanedAndTwinCategoriesGetSwatchesOfTheirOwn)
{
    PlanRun run("report-markers.dxf");
    const ReportFacts plan = readReportFacts(run.drawing());
    const std::filesystem::path report = run.folder() / "names.xml";
    writeFile(report, reportDocument("Floor 1/2: \"East\"", {},
                                     {{"Same", "SOLID", "#FF0000", "GR", 1, 0, {{handleOf(plan, "RM-101"), "10"}}},
                                      {"Same", "SOLID", "#0000FF", "GR", 1, 0, {{handleOf(plan, "2RM-1"), "20"}}},
                                      {"A\\B", "SOLID", "#00FF00", "GR", 1, 0, {{handleOf(plan, "Lab 7"), "5"}}}},
                                     "<grTotalChildAreas>100</grTotalChildAreas>\n"));
    RunResult r = run.run({"magr", report.string()});
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    const BlockFacts blocks = readBlockFacts(run.saved());
    // / : and " are not allowed in block names and become "_".
    const std::string legend = "[ZELKA_LEGEND]_Floor 1_2_ _East_";
    const std::string tableBlock = blocks.tableBlockOf(legend);
    ASSERT_FALSE(tableBlock.empty()) << r.out;
    std::multiset<std::string> swatches;
    for (const auto& f : blocks.of("INSERT", tableBlock)) swatches.insert(f.at("name"));
    const std::string same = "[ZELKA_LEGEND_HATCH]_Floor 1_2_ _East__Same";
    EXPECT_EQ(swatches, (std::multiset<std::string>{same, same + "_2", "[ZELKA_LEGEND_HATCH]_Floor 1_2_ _East__A_B"}));
    // Each twin shows its own colour.
    EXPECT_EQ(blocks.of("HATCH", same).at(0).at("true_color"), 0xFF0000);
    EXPECT_EQ(blocks.of("HATCH", same + "_2").at(0).at("true_color"), 0x0000FF);
    // The backslash is doubled in the cell's text, so the table shows one.
    std::multiset<std::string> texts;
    for (const auto& f : blocks.of("TEXT", tableBlock)) texts.insert(f.at("text"));
    EXPECT_EQ(texts.count("A\\B"), 1u);
    const nlohmann::json& table = blocks.tables().at(0);
    EXPECT_EQ(table.at("cells").at(4 * table.at("columns").get<int>()).at("text"), "A\\\\B");  // row 4, column 0
    EXPECT_FALSE(blocks.of("LWPOLYLINE", "[ZELKA_PIECHART]_Floor 1_2_ _East_").empty());
}
