// The room-area CSV text and file, and starting the CSV opener without a shell.
// Expected rows are worked out by hand from the room sizes; the quoting is
// checked by reading the written file back with Python's csv module.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <thread>

#include "module/ProcessStarter.h"
#include "module/RoomAreaCSV.h"
#include "tests/commands/CommandTestSupport.h"

namespace fs = std::filesystem;
using namespace zelkatest;

TEST(RoomAreaCSV, UnitsFollowEachBlockAndTheTotalsTakeTheLastRoomBlocksUnits)
{
    CRoomAreaCSV csv(1);
    csv.addBlock("ROOM-7", "Lab", 100.26, 40.0, 1);
    csv.addBlock("ROOM-8", "Store", 3.0, 7.0, 0);
    csv.addBlock("ROOM-GROSS_AREA", "GROSS AREA", 500.0, 90.0, 1);
    const std::string text = csv.getText();
    EXPECT_NE(text.find("Lab,100.3,ft\xC2\xB2,40.0,ft\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Store,3.0,m\xC2\xB2,7.0,m\n"), std::string::npos) << text;
    // 100.26 + 3 = 103.26, 40 + 7 = 47; the gross area block comes last, so feet
    EXPECT_NE(text.find("Total,103.3,ft\xC2\xB2,47.0,ft\n"), std::string::npos) << text;
}

TEST(RoomAreaCSV, WithoutRoomBlocksTheTotalsAreZeroWithEmptyUnits)
{
    CRoomAreaCSV csv(0);
    csv.addBlock("CHAIR", "Chair", 0.25, 2.0, 0);
    EXPECT_EQ(csv.getText(), "Code,Area,Units,Perimeter,Units\nTotal,0,,0,\n\n\n");
}

// Values that are not finite numbers would be written as "inf" or "nan":
// such a block is refused; finite ones that add up to infinity make the
// totals unwritable.
TEST(RoomAreaCSV, BlocksWhoseNumbersAreNotFiniteAreRefusedAndTotalsChecked)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* what;
        double area, perimeter;
        bool added;
    };
    const Case cases[] = {
        {"finite", 4.0, 8.0, true},
        {"infinite area", inf, 8.0, false},
        {"negative infinite area", -inf, 8.0, false},
        {"perimeter not a number", 4.0, nan, false},
        {"largest finite", 1.7e308, 8.0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CRoomAreaCSV csv(2);
        EXPECT_EQ(csv.addBlock("ROOM-1", "Office", c.area, c.perimeter, 0), c.added);
        EXPECT_EQ(csv.getText().find("inf"), std::string::npos);
        EXPECT_EQ(csv.getText().find("nan"), std::string::npos);
        EXPECT_TRUE(csv.totalsFinite());
    }
    CRoomAreaCSV overflowing(2);
    EXPECT_TRUE(overflowing.addBlock("ROOM-1", "A", 1.7e308, 1.0, 0));
    EXPECT_TRUE(overflowing.addBlock("ROOM-2", "B", 1.7e308, 1.0, 0));
    EXPECT_FALSE(overflowing.totalsFinite());
    // gross area blocks do not enter the totals
    CRoomAreaCSV gross(2);
    EXPECT_TRUE(gross.addBlock("ROOM-1", "A", 1.7e308, 1.0, 0));
    EXPECT_TRUE(gross.addBlock("ROOM-GROSS_AREA", "GROSS AREA", 1.7e308, 1.0, 0));
    EXPECT_TRUE(gross.totalsFinite());
}

TEST(RoomAreaCSV, AWrittenFileReadsBackIntoTheSameFieldsWithACsvReader)
{
    TempFolder folder;
    const fs::path path = folder.path() / "plan.csv";
    CRoomAreaCSV csv(2);
    csv.addBlock("ROOM-1", "Store, north", 4.0, 8.0, 0);
    csv.addBlock("ROOM-2", "The \"Hub\"", 12.0, 14.0, 0);
    csv.addBlock("ROOM-3", "two\nlines", 1.0, 4.0, 0);
    ASSERT_TRUE(csv.writeFile(path.string()));
    // the UTF-8 byte-order mark first: spreadsheets take the file as UTF-8 only with it
    EXPECT_EQ(readFile(path), "\xEF\xBB\xBF" + csv.getText());
    const std::string rows = runPython(
        "import csv,sys\n"
        "with open(sys.argv[1], newline='', encoding='utf-8-sig') as f:\n"
        "    for row in csv.reader(f): print('|'.join(row).replace('\\n', '<LF>'))\n",
        {path.string()});
    EXPECT_EQ(rows,
              "Code|Area|Units|Perimeter|Units\n"
              "Store, north|4.00|m\xC2\xB2|8.00|m\n"
              "The \"Hub\"|12.00|m\xC2\xB2|14.00|m\n"
              "two<LF>lines|1.00|m\xC2\xB2|4.00|m\n"
              "Total|17.00|m\xC2\xB2|26.00|m\n"
              "\n\n");
}

TEST(RoomAreaCSV, PathBesideTheDrawingAndFilesThatCannotBeCreated)
{
    EXPECT_EQ(CRoomAreaCSV::csvPathFor("/plans/level 1.dxf"), "/plans/level 1.csv");
    EXPECT_EQ(CRoomAreaCSV::csvPathFor("/plans/a.dwg"), "/plans/a.csv");
    EXPECT_EQ(CRoomAreaCSV::csvPathFor("abc"), "");
    CRoomAreaCSV csv(2);
    EXPECT_FALSE(csv.writeFile("/nonexistent-folder/x/plan.csv"));
    EXPECT_FALSE(csv.writeFile(""));
}

TEST(ProcessStarter, PassesTheFileAsOneArgumentWithoutAShellInTheWorkingFolder)
{
    TempFolder folder;
    const fs::path tools = folder.path() / "opener tools";
    fs::create_directories(tools);
    const fs::path recorder = tools / "record";
    writeFile(recorder, "#!/bin/sh\n{ printf '%s\\n' \"$#\" \"$@\"; pwd; } > \"$0.out.tmp\"\nmv \"$0.out.tmp\" \"$0.out\"\n");
    fs::permissions(recorder, fs::perms::owner_all);
    const std::string tricky = (folder.path() / "it's a \"plan\"; $(touch pwned) `touch pwned2`.csv").string();
    const pid_t pid = CProcessStarter::start(recorder.string(), {tricky}, tools.string());
    ASSERT_GT(pid, 0);
    const fs::path out = recorder.string() + ".out";
    for (int i = 0; i < 200 && !fs::exists(out); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_TRUE(fs::exists(out));
    EXPECT_EQ(readFile(out), "1\n" + tricky + "\n" + tools.string() + "\n");
    EXPECT_FALSE(fs::exists(tools / "pwned"));
    EXPECT_FALSE(fs::exists(folder.path() / "pwned"));
    for (int i = 0; i < 200 && CProcessStarter::reapFinished() > 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(CProcessStarter::reapFinished(), 0);
}

TEST(ProcessStarter, AProgramThatCannotBeStartedGivesMinusOne)
{
    EXPECT_EQ(CProcessStarter::start("/nonexistent/opener", {"x.csv"}, ""), -1);
    EXPECT_EQ(CProcessStarter::start("", {"x.csv"}, ""), -1);
    EXPECT_EQ(CProcessStarter::start("/bin/true", {}, "/nonexistent-folder"), -1);
    const std::string folder = CProcessStarter::hostProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(fs::exists(folder + "test_commands"));
}
