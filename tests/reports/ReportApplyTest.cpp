// Graphic reports applied to ezdxf-made drawings with magr and mgr, and the
// test hatch commands: the saved drawing is read back with ezdxf and every
// hatch, layer state and record is checked against what ezdxf measures in
// the drawing itself.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <regex>

#include <pugixml.hpp>

#include "ReportTestSupport.h"

namespace {

using reporttest::CategoryText;
using reporttest::HatchFact;
using reporttest::handleOf;
using reporttest::InsertFact;
using reporttest::ReportFacts;
using reporttest::readReportFacts;
using reporttest::reportDocument;
using zelkatest::PlanRun;
using zelkatest::RunResult;
using zelkatest::writeFile;

// magr on a drawing without marker blocks goes on to ask for the legend
// and pie chart definitions: these lines take every default.
std::vector<std::string> magr(const std::filesystem::path& report)
{
    return {"magr", report.string(), "", "", "", "", "", ""};
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Writes the docmon.xml that sends errors to the log in the run's folder.
std::filesystem::path configureErrorLog(const PlanRun& run)
{
    const std::filesystem::path log = run.folder() / "errors.xml";
    writeFile(run.appdata() / "ZelkaSystems/Orvane/prefs/docmon.xml",
              "<?xml version=\"1.0\"?>\n<documentMonitorPreferences xmlns=\"urn:zelkasystems:orvane:documentMonitor\">"
              "<server><acadErrorLogFilePath>" + log.string() + "</acadErrorLogFilePath></server>"
              "</documentMonitorPreferences>\n");
    return log;
}

}  // namespace

TEST(ApplyGraphicReport, MagrHatchesTheBlocksOfEachCategoryBeneathEverythingAndShowsOnlyItsLayers)
{
    PlanRun run("spaces.dxf");
    const ReportFacts before = readReportFacts(run.drawing());
    ASSERT_EQ(before.error, "");
    const std::filesystem::path report = run.folder() / "occupancy.xml";
    writeFile(report, reportDocument("Occupancy", {"ROOMS", "ATT-NAME"},
                                     {{"Offices", "SOLID", "#FF0000", "GR-Offices", 1, 0,
                                       {{handleOf(before, "RM-101"), "12.5"}, {handleOf(before, "2RM-1"), "20"}}},
                                      {"Labs", "ANSI31", "#0000ff", "GR-Labs", 20, 45,
                                       {{handleOf(before, "Lab 7"), "5"}}}}));
    RunResult r = run.run(magr(report));
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    for (const char* line : {"applying graphic report Occupancy.\n", "\tgraphic report contains 2 categories.\n",
                             "\tapplying category Offices.\n", "\tcategory contains 2 blocks.\n",
                             "\tapplying category Labs.\n", "\tcategory contains 1 blocks.\n",
                             "graphic report successfully applied.\n"}) {
        SCOPED_TRACE(line);
        EXPECT_TRUE(contains(r.out, line)) << r.out;
    }

    const ReportFacts after = readReportFacts(run.saved());
    ASSERT_EQ(after.error, "");
    expectSpacesAfterReport(after, {{"RM-101", "SOLID", 255, 0, 0, "GR-Offices", "12.50sq.m."},
                                    {"2RM-1", "SOLID", 255, 0, 0, "GR-Offices", "20.00sq.m."},
                                    {"Lab 7", "ANSI31", 0, 0, 255, "GR-Labs", "5.00sq.m."},
                                    {"Store", "", 0, 0, 0, "", "3.00sq.m."},
                                    {"Ft Room", "", 0, 0, 0, "", "100.00sq.ft."},
                                    {"GROSS AREA", "", 0, 0, 0, "", "200.00sq.m."}});
    ASSERT_EQ(after.hatches.size(), 3u);
    // Every hatch is drawn before everything else of model space.
    for (const HatchFact& h : after.hatches) EXPECT_LT(h.rank, 3) << h.handle;

    // The report's layers are on, every other layer the drawing had is off,
    // unlocked and thawed, and every layer it had has line weight 0.
    struct LayerCase {
        const char* name;
        bool on;
    };
    const LayerCase layers[] = {{"ROOMS", true},       {"ATT-NAME", true}, {"ATT-AREA", false}, {"ATT-AUX", false},
                                {"FURNITURE", false},  {"MISC", false},    {"0", false},        {"GR-Offices", true},
                                {"GR-Labs", true}};
    for (const LayerCase& l : layers) {
        SCOPED_TRACE(l.name);
        ASSERT_EQ(after.layers.count(l.name), 1u);
        EXPECT_EQ(after.layers.at(l.name).on, l.on);
        EXPECT_FALSE(after.layers.at(l.name).locked);
        EXPECT_FALSE(after.layers.at(l.name).frozen);
    }
    for (const auto& [name, fact] : before.layers) {
        SCOPED_TRACE(name);
        EXPECT_EQ(after.layers.at(name).lineweight, 0);
    }
}

TEST(ApplyGraphicReport, StarRecordFormatsAndHatchesEverySpaceButTheGrossArea)
{
    PlanRun run("spaces.dxf");
    const std::filesystem::path report = run.folder() / "all.xml";
    writeFile(report, reportDocument("All spaces", {}, {{"All", "SOLID", "#00FF00", "GR-All", 1, 0, {{"*", "7.25"}}}}));
    RunResult r = run.run(magr(report));
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    const ReportFacts after = readReportFacts(run.saved());
    ASSERT_EQ(after.error, "");
    expectSpacesAfterReport(after, {{"RM-101", "SOLID", 0, 255, 0, "GR-All", "7.25sq.m."},
                                    {"2RM-1", "SOLID", 0, 255, 0, "GR-All", "7.25sq.m."},
                                    {"Lab 7", "SOLID", 0, 255, 0, "GR-All", "7.25sq.m."},
                                    {"Store", "SOLID", 0, 255, 0, "GR-All", "7.25sq.m."},
                                    {"Ft Room", "SOLID", 0, 255, 0, "GR-All", "7.25sq.ft."},
                                    {"GROSS AREA", "", 0, 0, 0, "", "200.00sq.m."}});
    EXPECT_EQ(after.hatches.size(), 5u);
    // The spaces' own layer was switched on for them.
    EXPECT_TRUE(after.layers.at("ROOMS").on);
    // The legend (made from the default answers) totals the five spaces,
    // 5 x 7.25, without the gross area.
    const reporttest::BlockFacts blocks = reporttest::readBlockFacts(run.saved());
    bool found = false;
    for (const auto& [name, entities] : blocks.dump.at("blocks").items())
        for (const nlohmann::json& f : blocks.of("TEXT", name))
            found = found || (name.rfind("*T", 0) == 0 && f.at("text") == "36.25");
    EXPECT_TRUE(found) << blocks.dump.at("blocks").dump();
}

TEST(ApplyGraphicReport, WrongReportsApplyWhatCanBeAppliedAndSayWhatCouldNot)
{
    PlanRun run("spaces.dxf");
    const ReportFacts before = readReportFacts(run.drawing());
    ASSERT_EQ(before.error, "");
    const nlohmann::json plan = zelkatest::dxfDump(run.drawing());
    const nlohmann::json* outline = zelkatest::findEntity(plan.at("modelspace"), "type", "LWPOLYLINE");
    ASSERT_NE(outline, nullptr);
    const std::string polyline = outline->at("handle");

    const std::filesystem::path report = run.folder() / "wrong.xml";
    writeFile(report, reportDocument("Wrong: in/every*way", {},
                                     {{"Known", "SOLID", "#FF0000", "GR-Known", 1, 0,
                                       {{"FFFFF", "1"}, {handleOf(before, "RM-101"), "1"}, {polyline, "1"}}},
                                      {"Odd pattern", "NO_SUCH_PATTERN", "#00FF00", "GR-Odd", 1, 0,
                                       {{handleOf(before, "2RM-1"), "4"}}},
                                      {"Empty", "SOLID", "#0000FF", "GR-Empty", 1, 0, {}}}));
    RunResult r = run.run(magr(report));
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    for (std::string line : {std::string("\t\tzelka block FFFFF is not in the drawing; it is left out.\n"),
                             "\t\tobject " + polyline + " is not a block reference; it is left out.\n",
                             std::string("\tcategory Odd pattern: the hatch pattern \"NO_SUCH_PATTERN\" is not known "
                                         "to the host; its blocks are not hatched.\n"),
                             std::string("\tapplying category Empty.\n\tcategory contains 0 blocks.\n"),
                             std::string("graphic report successfully applied.\n")}) {
        SCOPED_TRACE(line);
        EXPECT_TRUE(contains(r.out, line)) << r.out;
    }
    const ReportFacts after = readReportFacts(run.saved());
    ASSERT_EQ(after.error, "");
    // What could be applied was: the known block is hatched, the block of
    // the unknown pattern takes its area but no hatch, and nothing else is hatched.
    ASSERT_NE(after.insertNamed("RM-101"), nullptr);
    EXPECT_EQ(after.hatchesOn(*after.insertNamed("RM-101")).size(), 1u);
    EXPECT_EQ(after.insertNamed("2RM-1")->record.at("AREA"), "4.00sq.m.");
    EXPECT_EQ(after.hatches.size(), 1u);
}

TEST(ApplyGraphicReport, BlocksThatCannotBeWrittenAreReportedAndLoggedAndTheOthersStillApply)
{
    // Every name attribute of this drawing stands on a locked layer, and a
    // report without a layer list leaves the layers as they are.
    PlanRun run("locked-att-name.dxf");
    const std::filesystem::path log = configureErrorLog(run);
    const ReportFacts before = readReportFacts(run.drawing());
    ASSERT_EQ(before.error, "");
    const std::filesystem::path report = run.folder() / "locked.xml";
    writeFile(report, reportDocument("Locked", {},
                                     {{"Rooms", "SOLID", "#FF0000", "GR-Rooms", 1, 0,
                                       {{handleOf(before, "Room Alpha"), "1"}, {handleOf(before, "Room Beta"), "2"}}}}));
    RunResult r = run.run(magr(report));
    for (const char* space : {"Room Alpha", "Room Beta"}) {
        SCOPED_TRACE(space);
        EXPECT_TRUE(contains(r.out, "error(s) occurred whilst applying zelka block ")) << r.out;
        EXPECT_TRUE(contains(r.out, " - " + handleOf(before, space) + ".\n")) << r.out;
    }
    EXPECT_TRUE(contains(r.out, "graphic report successfully applied.\n")) << r.out;
    // Nothing was half-written: no hatch, records as they were.
    const ReportFacts after = readReportFacts(run.saved());
    ASSERT_EQ(after.error, "");
    EXPECT_EQ(after.hatches.size(), 0u);
    EXPECT_EQ(after.insertNamed("Room Alpha")->record, before.insertNamed("Room Alpha")->record);
    // Each failing block is one entry of the error log.
    pugi::xml_document document;
    ASSERT_TRUE(document.load_file(log.c_str())) << log;
    int entries = 0;
    for (pugi::xml_node e : document.document_element().children())
        if (std::string(e.name()).find("error") != std::string::npos) ++entries;
    EXPECT_EQ(entries, 2) << zelkatest::readFile(log);
}

TEST(ApplyGraphicReport, UnreadableReportOrNoAnswerChangesNothing)
{
    struct Case {
        const char* name;
        std::string content;  // "" = no file at all
        const char* said;
    };
    const Case cases[] = {{"no answer", "", ""},
                          {"not xml", "this is not a report", "Unable to read graphic report"},
                          {"other root", "<?xml version=\"1.0\"?><other/>", "not \"graphicReport\""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlanRun run("spaces.dxf");
        std::vector<std::string> lines = {"magr"};
        if (!c.content.empty()) {
            writeFile(run.folder() / "r.xml", c.content);
            lines.push_back((run.folder() / "r.xml").string());
        } else {
            lines.push_back("");
        }
        RunResult r = run.run(lines);
        EXPECT_TRUE(contains(r.out, c.said)) << r.out;
        EXPECT_FALSE(contains(r.out, "applying graphic report")) << r.out;
        const ReportFacts after = readReportFacts(run.saved());
        EXPECT_EQ(after.hatches.size(), 0u);
        EXPECT_TRUE(after.layers.at("ROOMS").on);
    }
}

TEST(ApplyGraphicReport, MgrOpensTheReportsDrawingAndSaysWhenItIsMissing)
{
    PlanRun run("");
    const std::filesystem::path plan = run.folder() / "plans" / "spaces.dxf";
    std::filesystem::create_directories(plan.parent_path());
    std::filesystem::copy_file(zelkatest::kFixtureDir / "spaces.dxf", plan);
    const ReportFacts before = readReportFacts(plan);
    const std::string folder = plan.parent_path().string() + "/";
    const std::vector<reporttest::CategoryText> category = {
        {"Offices", "SOLID", "#FF00FF", "GR", 1, 0, {{handleOf(before, "Store"), ""}}}};
    const std::filesystem::path good = run.folder() / "good.xml";
    writeFile(good, reportDocument("Stores", {}, category, "<grDrawingPath>" + folder + "</grDrawingPath>"
                                                           "<grDrawingFilename>spaces.dxf</grDrawingFilename>"));
    const std::filesystem::path missing = run.folder() / "missing.xml";
    writeFile(missing, reportDocument("Lost", {}, category, "<grDrawingPath>" + folder + "</grDrawingPath>"
                                                            "<grDrawingFilename>gone.dxf</grDrawingFilename>"));
    const std::filesystem::path saved = run.folder() / "after.dxf";
    RunResult r = run.run({"mgr", missing.string(), "mgr", good.string(), "", "", "", "", "", "", "SAVEAS", saved.string()});
    EXPECT_TRUE(contains(r.out, "The drawing of graphic report Lost (\"" + folder + "gone.dxf\") does not exist"))
        << r.out;
    EXPECT_TRUE(contains(r.out, "applying graphic report Stores.")) << r.out;
    const ReportFacts after = readReportFacts(saved);
    ASSERT_EQ(after.error, "") << r.out << r.err;
    expectSpacesAfterReport(after, {{"Store", "SOLID", 255, 0, 255, "GR", "3.00sq.m."}});
}

TEST(TestHatchCommands, MscHasHatchesEverySpaceButTheGrossAreaInTheTestStyleAndTimesIt)
{
    PlanRun run("spaces.dxf");
    RunResult r = run.run({"msc_has"});
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_TRUE(std::regex_search(r.out, std::regex("\\d\\d:\\d\\d:\\d\\d\n(.*\n)*\\d\\d:\\d\\d:\\d\\d\n"
                                                    "5 block\\(s\\) hatched in \\d+ seconds \\(\\d+\\.\\d\\d s/b\\)\n")))
        << r.out;
    const ReportFacts after = readReportFacts(run.saved());
    ASSERT_EQ(after.error, "");
    // Solid yellow on the test layer; the records keep their areas.
    expectSpacesAfterReport(after, {{"RM-101", "SOLID", 255, 255, 0, "#Hatch", "10.50sq.m."},
                                    {"2RM-1", "SOLID", 255, 255, 0, "#Hatch", "19.00sq.m."},
                                    {"Lab 7", "SOLID", 255, 255, 0, "#Hatch", "4.00sq.m."},
                                    {"Store", "SOLID", 255, 255, 0, "#Hatch", "3.00sq.m."},
                                    {"Ft Room", "SOLID", 255, 255, 0, "#Hatch", "100.00sq.ft."},
                                    {"GROSS AREA", "", 0, 0, 0, "", "200.00sq.m."}});
    ASSERT_EQ(after.hatches.size(), 5u);
    // Each hatch went beneath everything drawn before it: the last made
    // (highest handle) is drawn first, then the one before, and so on.
    std::vector<HatchFact> byHandle = after.hatches;
    std::sort(byHandle.begin(), byHandle.end(), [](const HatchFact& a, const HatchFact& b) {
        return std::stoull(a.handle, nullptr, 16) > std::stoull(b.handle, nullptr, 16);
    });
    for (size_t i = 0; i < byHandle.size(); ++i) EXPECT_EQ(byHandle[i].rank, static_cast<int>(i)) << byHandle[i].handle;
}

TEST(TestHatchCommands, MscHsHatchesThePickedSpaceOnly)
{
    PlanRun run("spaces.dxf");
    const ReportFacts before = readReportFacts(run.drawing());
    RunResult r = run.run({"msc_hs", handleOf(before, "Lab 7")});
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    const ReportFacts after = readReportFacts(run.saved());
    ASSERT_EQ(after.hatches.size(), 1u);
    EXPECT_EQ(after.hatchesOn(*after.insertNamed("Lab 7")).size(), 1u);
    // A pick of something that is no space says so and hatches nothing.
    PlanRun other("spaces.dxf");
    std::string desk;
    for (const InsertFact& i : before.inserts)
        if (i.name == "DESK") desk = i.handle;
    r = other.run({"msc_hs", desk});
    EXPECT_TRUE(contains(r.out, "is not a Zelka space; nothing was hatched")) << r.out;
    EXPECT_EQ(readReportFacts(other.saved()).hatches.size(), 0u);
}
