// The listing and export commands through zelka on spaces.dxf: the CSV file
// beside the drawing (rows worked out from the records ezdxf reads in the
// fixture), the opener started with the file, and the block list.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "ZelkaVersion.h"
#include "tests/commands/CommandTestSupport.h"

namespace fs = std::filesystem;
using namespace zelkatest;

namespace {

const fs::path kSpaces = kFixtureDir / "spaces.dxf";

struct RecordRow {
    std::string handle, block, name, area, perimeter;
    bool metric = true;
};

// The CSV row fields of each space block, from its record as ezdxf reads it,
// in handle order.
std::vector<RecordRow> recordRows()
{
    std::vector<RecordRow> rows;
    for (const InsertFact& i : readDrawingFacts(kSpaces).spaces()) {
        RecordRow row;
        row.handle = i.handle;
        row.block = i.name;
        row.name = i.attrib("NAME")->text;
        std::string area = i.item("AREA");
        row.metric = area.find("sq.m.") != std::string::npos;
        row.area = fixed(std::stod(area), 2);
        row.perimeter = fixed(std::stod(i.item("PERIMETER")), 2);
        rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end(),
              [](const RecordRow& a, const RecordRow& b) { return std::stoll(a.handle, nullptr, 16) < std::stoll(b.handle, nullptr, 16); });
    return rows;
}

std::string csvLine(const std::string& name, const std::string& area, const std::string& perimeter, bool metric)
{
    return name + "," + area + "," + (metric ? "m\xC2\xB2" : "ft\xC2\xB2") + "," + perimeter + "," +
           (metric ? "m" : "ft") + "\n";
}

// Waits up to four seconds for a file to appear.
bool waitFor(const fs::path& path)
{
    for (int i = 0; i < 200 && !fs::exists(path); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return fs::exists(path);
}

}  // namespace

TEST(ListingCommands, McsvWritesRoomsTotalsAndTheGrossAreaBesideTheDrawing)
{
    PlanRun run("spaces.dxf");
    RunResult r = run.run({"mcsv"}, false);
    const fs::path csv = run.folder() / "spaces.csv";
    EXPECT_NE(r.out.find("Zelka Block Details " ZELKA_VERSION "\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("csv data successfully saved to file (" + csv.string() + ")\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;

    std::string rooms, gross;
    double totalArea = 0, totalPerimeter = 0;
    bool lastMetric = true;
    for (const RecordRow& row : recordRows()) {
        lastMetric = row.metric;
        const std::string line = csvLine(row.name, row.area, row.perimeter, row.metric);
        if (row.block == "ROOM-GROSS_AREA") {
            gross += line;
            continue;
        }
        rooms += line;
        totalArea += std::stod(row.area);
        totalPerimeter += std::stod(row.perimeter);
    }
    const std::string expected = "Code,Area,Units,Perimeter,Units\n" + rooms +
                                 csvLine("Total", fixed(totalArea, 2), fixed(totalPerimeter, 2), lastMetric) +
                                 "\n\n" + gross;
    // UTF-8 with its byte-order mark, so that spreadsheets show "m²"
    EXPECT_EQ(readFile(csv), "\xEF\xBB\xBF" + expected);
}

TEST(ListingCommands, McsvAsksForAnOpenerUntilOneIsGivenWhenTheSettingIsEmpty)
{
    TempFolder tools;
    const fs::path recorder = tools.path() / "opener";
    writeFile(recorder, "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.tmp\"\nmv \"$0.tmp\" \"$0.out\"\n");
    fs::permissions(recorder, fs::perms::owner_all);
    PlanRun run("spaces.dxf", 0, 2, "");
    RunResult r = run.run({"mcsv", "", recorder.string()}, false);
    const std::string prompt = "Please enter the path of the application you wish to open csv files with\n:";
    size_t first = r.out.find(prompt);
    ASSERT_NE(first, std::string::npos) << r.out;
    EXPECT_NE(r.out.find(prompt, first + 1), std::string::npos) << "asked again after the empty answer\n" << r.out;
    ASSERT_TRUE(waitFor(recorder.string() + ".out"));
    EXPECT_EQ(readFile(recorder.string() + ".out"), (run.folder() / "spaces.csv").string() + "\n");
}

TEST(ListingCommands, MlbListsBlocksInHandleOrderEitherWay)
{
    const std::vector<RecordRow> rows = recordRows();
    const DrawingFacts fixture = readDrawingFacts(kSpaces);
    auto line = [&](const RecordRow& row) {
        const InsertFact* i = fixture.insertOf(row.block);
        return row.block + "," + row.name + "," + fixed(std::stod(i->item("AREA")), 2) + "," + row.handle + "," +
               std::to_string(std::stoll(row.handle, nullptr, 16)) + ",0\n";
    };
    std::string ascending = "ID,Name,Area,Handle(hex),Handle(dec),Assets\n";
    for (const RecordRow& row : rows) ascending += line(row);
    std::string descending = "ID,Name,Area,Handle(hex),Handle(dec),Assets\n";
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) descending += line(*it);

    PlanRun run("spaces.dxf");
    RunResult up = run.run({"mlb", "", ""}, false);
    EXPECT_NE(up.out.find("\n\n" + ascending), std::string::npos) << up.out;
    RunResult down = run.run({"mlb", "n", "y"}, false);
    EXPECT_NE(down.out.find("\n\n" + descending), std::string::npos) << down.out;
    EXPECT_EQ(down.exitCode, 0);
}
