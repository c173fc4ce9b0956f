// The legend and pie chart definitions made on their own (mlbd, mpbd) from a
// report file and the answers to their prompts, read back with ezdxf: the
// units come from the preferences, the areas are sums worked out here, and
// nothing is placed in model space.

#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "ReportTestSupport.h"

namespace {

using reporttest::readReportFacts;
using reporttest::ReportFacts;
using zelkatest::PlanRun;
using zelkatest::RunResult;
using zelkatest::writeFile;

// Offices 12.5 + 20, Labs 5, Stores a record without an area, Empty none.
constexpr double kOffices = 12.5 + 20.0;
constexpr double kLabs = 5.0;

std::string officeReport(const ReportFacts& plan)
{
    return reporttest::reportDocument("Offices Plan", {}, reporttest::fourCategories(plan),
                                      "<grTotalChildAreas>60</grTotalChildAreas>\n");
}

}  // namespace

TEST(ReportBlockDefine, LegendDefinitionTakesTheUnitsOfThePreferencesAndTheAnswers)
{
    struct Case {
        int units;
        const char* ignoreEmpty;  // the answer to the yes/no question ("1" yes, "0" no)
        const char* heading;
        size_t emptyRows;         // rows of Stores and Empty
    };
    for (const Case& c : {Case{0, "1", "Area sq.m.", 0}, Case{1, "0", "Area sq.ft.", 2}}) {
        SCOPED_TRACE(c.heading);
        PlanRun run("spaces.dxf", c.units, 3);
        const ReportFacts plan = readReportFacts(run.drawing());
        const std::filesystem::path report = run.folder() / "offices.xml";
        writeFile(report, officeReport(plan));
        // report, text size, rotation, precision, ignore empty
        RunResult r = run.run({"mlbd", report.string(), "300", "0", "1", c.ignoreEmpty});
        ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
        EXPECT_NE(r.out.find("Zelka Legend Block Define"), std::string::npos) << r.out;
        EXPECT_NE(r.out.find("legend definition successfully created.\n"), std::string::npos) << r.out;
        const reporttest::BlockFacts facts = reporttest::readBlockFacts(run.saved());
        const std::string table = facts.tableBlockOf("[ZELKA_LEGEND]_Offices Plan");
        ASSERT_FALSE(table.empty()) << r.out;
        std::multiset<std::string> texts;
        for (const auto& f : facts.of("TEXT", table)) texts.insert(f.at("text"));
        EXPECT_EQ(texts.count("Offices Plan"), 1u);
        EXPECT_EQ(texts.count(c.heading), 1u);
        EXPECT_EQ(texts.count(zelkatest::fixed(kOffices, 1)), 1u);
        EXPECT_EQ(texts.count(zelkatest::fixed(kLabs, 1)), 1u);
        EXPECT_EQ(texts.count("0.0"), c.emptyRows);
        EXPECT_EQ(texts.count("Empty"), c.emptyRows / 2);
        // A definition only: nothing refers to it in model space.
        for (const auto& i : readReportFacts(run.saved()).inserts) EXPECT_NE(i.name, "[ZELKA_LEGEND]_Offices Plan");
    }
}

TEST(ReportBlockDefine, PieDefinitionHasTheRadiusAskedForAndLabelsInTheUnitsOfThePreferences)
{
    struct Case {
        int units;
        const char* radius;  // the answer; "" takes the default, ten text sizes
        double expected;
        const char* suffix;
    };
    for (const Case& c : {Case{0, "2500", 2500, "sq.m."}, Case{1, "", 10 * 300.0, "sq.ft."}}) {
        SCOPED_TRACE(c.suffix);
        PlanRun run("spaces.dxf", c.units, 3);
        const ReportFacts plan = readReportFacts(run.drawing());
        const std::filesystem::path report = run.folder() / "offices.xml";
        writeFile(report, officeReport(plan));
        // report, text size, radius, rotation, precision, ignore empty
        RunResult r = run.run({"mpbd", report.string(), "300", c.radius, "0", "1", "1"});
        ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
        EXPECT_NE(r.out.find("Zelka Pie Chart Block Define"), std::string::npos) << r.out;
        EXPECT_NE(r.out.find("pie chart definition successfully created.\n"), std::string::npos) << r.out;
        const reporttest::BlockFacts facts = reporttest::readBlockFacts(run.saved());
        const std::string block = "[ZELKA_PIECHART]_Offices Plan";
        std::set<std::string> labels;
        for (const auto& f : facts.of("ATTDEF", block)) labels.insert(f.at("text"));
        double farthest = 0;
        int wedges = 0;
        for (const auto& f : facts.of("LWPOLYLINE", block)) {
            ++wedges;
            for (const auto& v : f.at("points")) farthest = std::max(farthest, std::hypot(v.at(0).get<double>(), v.at(1).get<double>()));
        }
        // Offices and Labs; Stores and Empty have no area and are left out.
        EXPECT_EQ(wedges, 2) << r.out;
        EXPECT_NEAR(farthest, c.expected, 1e-6);
        EXPECT_EQ(labels.count("Labs (" + zelkatest::fixed(kLabs, 1) + " " + c.suffix + ")"), 1u);
        EXPECT_EQ(labels.count("Offices (" + zelkatest::fixed(kOffices, 1) + " " + c.suffix + ")"), 1u);
        for (const auto& i : readReportFacts(run.saved()).inserts) EXPECT_NE(i.name, block);
    }
}

TEST(ReportBlockDefine, NoReportChosenEndsTheCommandWithoutQuestions)
{
    for (const char* command : {"mlbd", "mpbd"}) {
        SCOPED_TRACE(command);
        PlanRun run("spaces.dxf");
        RunResult r = run.run({command, ""});
        ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
        EXPECT_EQ(r.out.find("specify text size"), std::string::npos) << r.out;
        EXPECT_EQ(r.out.find("successfully created"), std::string::npos) << r.out;
        const reporttest::BlockFacts facts = reporttest::readBlockFacts(run.saved());
        EXPECT_EQ(zelkatest::findEntity(facts.dump.at("modelspace"), "type", "ACAD_TABLE"), nullptr);
        for (const auto& [name, block] : facts.dump.at("blocks").items())
            EXPECT_TRUE(facts.of("ACAD_TABLE", name).empty()) << name;
    }
}
