// Space records written wrong once, run again through zelka on the inputs
// that showed it (tests/regressions/*.dxf, made by tests/commands/make_fixtures.py with
// ezdxf): handle lists longer than one extended-data string holds, blocks
// without units, labels written with another precision than the
// preferences', and outlines or scales whose measures are not finite. Every
// expected number is worked out from the room sizes in the input's
// description; the saved drawings are read with ezdxf.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "tests/commands/CommandTestSupport.h"

namespace fs = std::filesystem;
using namespace zelkatest;

namespace {

// Every value of the items under one key, in order.
std::vector<std::string> itemsOf(const InsertFact& insert, const std::string& key)
{
    std::vector<std::string> values;
    for (const std::string& text : insert.xdata)
        if (text.rfind(key + "=", 0) == 0) values.push_back(text.substr(key.size() + 1));
    return values;
}

bool mentionsNonFinite(const std::string& text)
{
    std::string lower;
    for (char c : text) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower.find("inf") != std::string::npos || lower.find("nan") != std::string::npos;
}

}  // namespace

// 90 holes in one HANDLESTOMINUS item of 375 bytes: the list is written in
// items of at most 255 bytes, each whole handles with their commas, joined
// they are the list; read again they give the same area.
TEST(SpaceRecordRegressions, LongHandleListsAreSplitIntoItemsOtherProgramsAcceptAndReadBackWhole)
{
    RegressionRun run("long-handle-list.dxf");
    const DrawingFacts before = readDrawingFacts(run.drawing());
    const std::string list = spaceNamed(before, "Hall").item("HANDLESTOMINUS");
    ASSERT_GT(std::string("HANDLESTOMINUS=" + list).size(), 255u);

    RunResult r = run.run({"mus"});
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    const DrawingFacts after = readDrawingFacts(run.saved());
    const InsertFact& hall = spaceNamed(after, "Hall");
    for (const std::string& text : hall.xdata) EXPECT_LE(text.size(), 255u) << text;
    const std::vector<std::string> parts = itemsOf(hall, "HANDLESTOMINUS");
    EXPECT_GE(parts.size(), 2u);
    std::string joined;
    for (const std::string& part : parts) {
        EXPECT_EQ(part.back(), ',') << part;
        joined += part;
    }
    EXPECT_EQ(joined, list);
    // 20 x 10 m less 90 holes of 0.1 x 0.1 m; the holes' edges count as boundary.
    EXPECT_EQ(hall.item("AREA"), fixed(20.0 * 10.0 - 90 * 0.1 * 0.1, 2) + "sq.m.");
    EXPECT_EQ(hall.item("PERIMETER"), fixed(2 * (20.0 + 10.0) + 90 * 0.4, 2) + "m.");
    EXPECT_EQ(hall.attrib("AREA")->text, fixed(199.1, 2) + "sq.m.");

    // Read again: the split list gives the same record.
    fs::copy_file(run.saved(), run.folder() / "again.dxf");
    const PlanRun again("again.dxf", 0, 2, "NONE", run.folder());
    RunResult second = again.run({"mus"});
    ASSERT_EQ(second.exitCode, 0) << second.out << second.err;
    EXPECT_EQ(spaceNamed(readDrawingFacts(again.saved()), "Hall").xdata, hall.xdata);
}

// Blocks without units are written in the preferences' units, and the room
// height and volume keep the decimals they were read with, whatever the
// area's precision; mbta writes every record without measuring anything.
TEST(SpaceRecordRegressions, BlocksWithoutUnitsTakeThePreferencesUnitsAndEachNumberKeepsItsDecimals)
{
    RegressionRun run("units-missing.dxf", 0, 2);
    RunResult r = run.run({"mbta"});
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    const DrawingFacts after = readDrawingFacts(run.saved());
    ASSERT_TRUE(after.error.empty()) << after.error;
    struct Case {
        std::string name, area, perimeter, height, volume;
    };
    const std::vector<Case> cases = {
        // no record: preferences' units and precision
        {"No Record", "0.00sq.m.", "0.00m.", "0.00m.", "0.00cu.m."},
        // "AREA=12" has no unit: read as 0 with no decimals; the unitless
        // perimeter reads as 0 with the block's precision
        {"Bare Area", "0sq.m.", "0m.", "2.70m.", "32.400cu.m."},
        {"Own Digits", "12.5sq.m.", "14.25m.", "2.705m.", "33.8125cu.m."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const InsertFact& insert = spaceNamed(after, c.name);
        EXPECT_EQ(insert.item("AREA"), c.area);
        EXPECT_EQ(insert.item("PERIMETER"), c.perimeter);
        EXPECT_EQ(insert.item("ROOM_HEIGHT"), c.height);
        EXPECT_EQ(insert.item("VOLUME"), c.volume);
    }
}

// mus measures the block without units in the preferences' units; the room
// height and volume it does not measure keep their own decimals.
TEST(SpaceRecordRegressions, MusMeasuresBlocksWithoutUnitsInThePreferencesUnits)
{
    struct Case {
        int units, precision;
        std::string area, perimeter, height;
    };
    const double squareFeet = 3.0 * 4.0 / (0.3048 * 0.3048);
    const double feet = 2 * (3.0 + 4.0) / 0.3048;
    const std::vector<Case> cases = {
        {0, 2, fixed(12.0, 2) + "sq.m.", fixed(14.0, 2) + "m.", "2.70m."},
        {1, 1, fixed(squareFeet, 1) + "sq.ft.", fixed(feet, 1) + "ft.", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.units);
        RegressionRun run("units-missing.dxf", c.units, c.precision);
        RunResult r = run.run({"mus"});
        ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
        const DrawingFacts after = readDrawingFacts(run.saved());
        for (const std::string name : {"No Record", "Bare Area"}) {
            SCOPED_TRACE(name);
            const InsertFact& insert = spaceNamed(after, name);
            EXPECT_EQ(insert.item("AREA"), c.area);
            EXPECT_EQ(insert.item("PERIMETER"), c.perimeter);
        }
        if (c.units == 0) {
            EXPECT_EQ(spaceNamed(after, "Bare Area").item("ROOM_HEIGHT"), c.height);
        }
    }
}

// A label shows the record when it reads as the record written with the
// block's own precision; after a precision change mus brings it to the new
// precision. Blocks written with 3 and with 1 decimals, preferences of 2 and 4.
TEST(SpaceRecordRegressions, MusTellsLinkedLabelsByTheBlocksOwnPrecisionNotThePreferences)
{
    struct Room {
        std::string name;
        double area, perimeter;
    };
    // 3 x 3.5 m and 4 x 5 m
    const std::vector<Room> rooms = {{"Lab A", 3.0 * 3.5, 2 * (3.0 + 3.5)}, {"Lab B", 4.0 * 5.0, 2 * (4.0 + 5.0)}};
    for (int precision : {2, 4}) {
        SCOPED_TRACE(precision);
        RegressionRun run("precision-changed.dxf", 0, precision);
        RunResult r = run.run({"mus"});
        ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
        const DrawingFacts after = readDrawingFacts(run.saved());
        for (const Room& room : rooms) {
            SCOPED_TRACE(room.name);
            const InsertFact& insert = spaceNamed(after, room.name);
            EXPECT_EQ(insert.item("AREA"), fixed(room.area, precision) + "sq.m.");
            EXPECT_EQ(insert.attrib("AREA")->text, fixed(room.area, precision) + "sq.m.");
            EXPECT_EQ(insert.attrib("AUX")->text, fixed(room.perimeter, precision) + "m.");
        }
        // typed over by hand: left alone, the record measured (2 x 2.5 m)
        const InsertFact& lab = spaceNamed(after, "Lab C");
        EXPECT_EQ(lab.attrib("AREA")->text, "about 5");
        EXPECT_EQ(lab.attrib("AUX")->text, "Science");
        EXPECT_EQ(lab.item("AREA"), fixed(5.0, precision) + "sq.m.");
    }
}

// An outline reaching 1e308 and a reference scaled by 1e200 give areas that
// are not finite, and attributes 1.5e308 high would be restacked to
// infinity: those blocks are reported and left exactly as they were, the
// others are written, and the run fails. Nothing says "inf" anywhere.
TEST(SpaceRecordRegressions, MusLeavesBlocksWhoseMeasuresAreNotFiniteAndReportsThem)
{
    RegressionRun run("huge-values.dxf");
    const DrawingFacts before = readDrawingFacts(run.drawing());
    RunResult r = run.run({"mus"});
    EXPECT_EQ(r.exitCode, 1) << r.out << r.err;
    EXPECT_NE(r.out.find("Error Detected."), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Space block Far (ROOM-1, handle"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Space block Blown Up (ROOM-2, handle"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("its area and perimeter would not be finite"), std::string::npos) << r.out;
    const DrawingFacts after = readDrawingFacts(run.saved());
    ASSERT_TRUE(after.error.empty()) << after.error;
    EXPECT_NE(r.out.find("Space block Tall Text (ROOM-5, handle"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("its text height would not be finite"), std::string::npos) << r.out;
    for (const std::string name : {"Far", "Blown Up", "Tall Text"}) {
        SCOPED_TRACE(name);
        const InsertFact& was = spaceNamed(before, name);
        const InsertFact& now = spaceNamed(after, name);
        EXPECT_EQ(now.xdata, was.xdata);
        ASSERT_EQ(now.attribs.size(), was.attribs.size());
        for (size_t i = 0; i < was.attribs.size(); ++i) {
            EXPECT_EQ(now.attribs[i].text, was.attribs[i].text);
            EXPECT_EQ(now.attribs[i].height, was.attribs[i].height);
        }
    }
    // 2 x 3 m, both fine; the record that read as infinity is measured anew
    for (const std::string name : {"Plain", "Stale"}) {
        SCOPED_TRACE(name);
        const InsertFact& now = spaceNamed(after, name);
        EXPECT_EQ(now.item("AREA"), fixed(6.0, 2) + "sq.m.");
        EXPECT_EQ(now.item("PERIMETER"), fixed(10.0, 2) + "m.");
    }
    EXPECT_EQ(spaceNamed(after, "Plain").attrib("AREA")->text, "6.00sq.m.");
    for (const InsertFact& insert : after.inserts) {
        for (const std::string& text : insert.xdata) EXPECT_FALSE(mentionsNonFinite(text)) << text;
        for (const AttribFact& a : insert.attribs) EXPECT_FALSE(mentionsNonFinite(a.text)) << a.text;
    }
}

// The CSV of a drawing with a record that reads as infinity: that block is
// reported and left out, the rest is written, the run fails.
TEST(SpaceRecordRegressions, McsvLeavesOutAndReportsABlockWhoseAreaIsNotFinite)
{
    RegressionRun run("huge-values.dxf");
    RunResult r = run.run({"mcsv"});
    EXPECT_EQ(r.exitCode, 1) << r.out << r.err;
    EXPECT_NE(r.out.find("Space block Stale (ROOM-4, handle"), std::string::npos) << r.out;
    const std::string csv = readFile(run.folder() / "huge-values.csv");
    EXPECT_FALSE(mentionsNonFinite(csv)) << csv;
    // the records say 1, 6, 5 and 6 square metres, 4, 10, 9 and 10 metres
    EXPECT_NE(csv.find("Total," + fixed(18.0, 2) + ",m\xC2\xB2," + fixed(33.0, 2) + ",m\n"), std::string::npos) << csv;
}

// The CSV is named with its full path when the drawing was opened by a
// relative one, starts with the UTF-8 byte-order mark, and keeps a name
// with a comma in one field; mlb quotes it the same way.
TEST(SpaceRecordRegressions, McsvNamesTheFullPathWritesTheByteOrderMarkAndQuotesNames)
{
    RegressionRun run("units-missing.dxf", 0, 2);
    writeFile(run.folder() / "run.scr", "mcsv\nmlb\n\n\n");
    const std::string out = captureOutput("cd " + shellQuote(run.folder().string()) + " && " +
                                          shellQuote(zelkaProgram().string()) + " --appdata appdata --script run.scr " +
                                          "units-missing.dxf 2>&1; echo \"status $?\"");
    const fs::path csvPath = run.folder() / "units-missing.csv";
    EXPECT_NE(out.find("csv data successfully saved to file (" + csvPath.string() + ")\n"), std::string::npos)
        << out;
    EXPECT_NE(out.find("status 0"), std::string::npos) << out;
    const std::string csv = readFile(csvPath);
    ASSERT_GE(csv.size(), 3u);
    EXPECT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
    // no record: 0 in the preferences' units, not feet
    EXPECT_NE(csv.find("\nNo Record,0.00,m\xC2\xB2,0.00,m\n"), std::string::npos) << csv;
    EXPECT_NE(csv.find("\n\"Store, north\",2.00,m\xC2\xB2,6.00,m\n"), std::string::npos) << csv;

    const DrawingFacts facts = readDrawingFacts(run.drawing());
    const std::string handle = spaceNamed(facts, "Store, north").handle;
    EXPECT_NE(out.find("\nROOM-4,\"Store, north\",2.00," + handle + "," +
                       std::to_string(std::stoll(handle, nullptr, 16)) + ",0\n"),
              std::string::npos)
        << out;
}

// A new drawing has no file name: mcsv says why nothing was written and fails.
TEST(SpaceRecordRegressions, McsvOnANewDrawingSaysWhyNoFileWasWritten)
{
    RegressionRun run("units-missing.dxf");
    fs::remove(run.drawing());
    const std::string out = captureOutput("cd " + shellQuote(run.folder().string()) + " && " +
                                          shellQuote(zelkaProgram().string()) +
                                          " --appdata appdata --command mcsv 2>&1; echo \"status $?\"");
    EXPECT_NE(out.find("No CSV file was written: the drawing has never been saved"), std::string::npos) << out;
    EXPECT_NE(out.find("status 1"), std::string::npos) << out;
    for (const fs::directory_entry& entry : fs::directory_iterator(run.folder()))
        EXPECT_NE(entry.path().extension(), ".csv") << entry.path();
}

// A legacy label naming an outline whose area is not finite is reported and
// not converted: the outline stays where it was and no space block is made.
TEST(SpaceRecordRegressions, MscIscLeavesALabelWhoseOutlineIsNotFinite)
{
    RegressionRun run("ferrow-huge.dxf");
    const DrawingFacts before = readDrawingFacts(run.drawing());
    RunResult r = run.run({"msc_isc"});
    EXPECT_NE(r.out.find("The label of Far Seminar (outline "), std::string::npos) << r.out;
    const DrawingFacts after = readDrawingFacts(run.saved());
    ASSERT_TRUE(after.error.empty()) << after.error;
    EXPECT_EQ(after.polylines, before.polylines);
    EXPECT_EQ(after.inserts.size(), before.inserts.size());
    for (const InsertFact& insert : after.inserts) {
        EXPECT_EQ(insert.name, "FERROW_SPACE_LABEL");
        for (const AttribFact& a : insert.attribs) EXPECT_FALSE(mentionsNonFinite(a.text)) << a.text;
    }
}
