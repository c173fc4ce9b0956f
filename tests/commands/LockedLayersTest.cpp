// Space blocks whose attributes lie on locked layers (drawings written by
// ezdxf with LAYER group 70 bit 4 set, tests/commands/make_fixtures.py):
// every command that writes space blocks leaves each such block exactly as
// it was, names it and the layer in the same report, and fails the run;
// reading never depends on the lock.

#include <gtest/gtest.h>

#include <sstream>

#include "tests/commands/CommandTestSupport.h"

namespace fs = std::filesystem;
using namespace zelkatest;

namespace {

// Everything of one space block a command could change, as text: its
// handle, block, record items and attributes (tag, layer, text, place,
// height), and its definition's attribute definitions.
std::string blockSnapshot(const DrawingFacts& facts, const InsertFact& insert)
{
    std::ostringstream out;
    out.precision(12);
    auto attrib = [&](const AttribFact& a) {
        out << "  " << a.tag << "|" << a.layer << "|" << a.text << "|" << a.x << "|" << a.y << "|" << a.height
            << "\n";
    };
    out << "INSERT " << insert.handle << " " << insert.name << "\n";
    for (const std::string& item : insert.xdata) out << "  " << item << "\n";
    for (const AttribFact& a : insert.attribs) attrib(a);
    out << "BLOCK\n";
    auto defs = facts.attdefs.find(insert.name);
    if (defs != facts.attdefs.end())
        for (const AttribFact& a : defs->second) attrib(a);
    return out.str();
}

// The block of that handle in the drawing, as blockSnapshot gives it ("gone" when there is none).
std::string blockSnapshot(const DrawingFacts& facts, const std::string& handle)
{
    for (const InsertFact& i : facts.inserts)
        if (i.handle == handle) return blockSnapshot(facts, i);
    return "gone";
}

// All space blocks of the drawing, one after another.
std::string spaceSnapshot(const DrawingFacts& facts)
{
    std::string out;
    for (const InsertFact& i : facts.inserts)
        if (i.name.rfind("ROOM-", 0) == 0) out += blockSnapshot(facts, i);
    return out;
}

// Whether the block has an attribute on the layer.
bool hasAttributeOn(const InsertFact& insert, const std::string& layer)
{
    for (const AttribFact& a : insert.attribs)
        if (a.layer == layer) return true;
    return false;
}

struct CommandCase {
    const char* name;
    std::vector<std::string> lines;  // "<ROOM-1>" stands for ROOM-1's handle
};

const std::vector<CommandCase>& commandCases()
{
    static const std::vector<CommandCase> cases = {
        {"mus", {"mus"}},
        {"msxta", {"msxta", "y", "y", "y", "y"}},
        {"mbta", {"mbta"}},
        {"mut", {"mut", "300", "1", "0"}},
        {"maux", {"maux"}},
        {"mrt", {"mrt"}},
        {"mfrs", {"mfrs", "Room", "Space"}},
        {"mdb", {"mdb", "<ROOM-1>"}},
    };
    return cases;
}

std::vector<std::string> withHandle(const std::vector<std::string>& lines, const std::string& handle)
{
    std::vector<std::string> out;
    for (const std::string& line : lines) out.push_back(line == "<ROOM-1>" ? handle : line);
    return out;
}

// Runs the script on a copy of the drawing (saved to saved.dxf beside it).
RunResult runOn(const fs::path& drawing, const std::vector<std::string>& lines, const PlanRun& run)
{
    const fs::path copy = run.folder() / "in.dxf";
    fs::copy_file(drawing, copy, fs::copy_options::overwrite_existing);
    std::string script;
    for (const std::string& line : lines) script += line + "\n";
    writeFile(run.folder() / "run.scr", script);
    return runZelka({"--appdata", run.appdata().string(), "--script", (run.folder() / "run.scr").string(),
                     "--save-as", run.saved().string(), copy.string()});
}

const char* const kLockedFixtures[][2] = {
    {"locked-att-name.dxf", "ATT-NAME"},
    {"locked-att-area.dxf", "ATT-AREA"},
    {"locked-att-aux.dxf", "ATT-AUX"},
};

}  // namespace

TEST(LockedLayers, EveryWritingCommandLeavesLockedBlocksAsTheyWereReportsThemAndFails)
{
    for (const auto& fixture : kLockedFixtures) {
        const fs::path drawing = kFixtureDir / fixture[0];
        const std::string layer = fixture[1];
        const DrawingFacts before = readDrawingFacts(drawing);
        ASSERT_TRUE(before.error.empty()) << before.error;
        ASSERT_EQ(before.layers.at(layer), "on locked") << fixture[0];
        const InsertFact* room1 = before.insertOf("ROOM-1");
        ASSERT_NE(room1, nullptr);
        for (const CommandCase& c : commandCases()) {
            const std::string command = c.name;
            SCOPED_TRACE(command + " with " + layer + " locked");
            PlanRun run("");
            const RunResult r = runOn(drawing, withHandle(c.lines, room1->handle), run);
            EXPECT_EQ(r.exitCode, 1) << r.out << r.err;
            const DrawingFacts after = readDrawingFacts(run.saved());
            ASSERT_TRUE(after.error.empty()) << after.error << r.out << r.err;
            int refused = 0;
            for (const InsertFact& block : before.inserts) {
                // maux would add the missing aux attribute on ATT-AUX itself
                const bool locked = hasAttributeOn(block, layer) || (command == "maux" && layer == "ATT-AUX");
                // mdb writes only the block picked, mbta only blocks with an aux attribute
                const bool picked = (command != "mdb" || block.handle == room1->handle) &&
                                    (command != "mbta" || block.attrib("AUX"));
                if (!locked || !picked) continue;
                ++refused;
                SCOPED_TRACE(block.name);
                // left exactly as it was, and reported the same way by every command
                EXPECT_EQ(blockSnapshot(after, block.handle), blockSnapshot(before, block)) << r.out;
                const std::string report = "Block " + block.name + " \"" + block.attrib("NAME")->text +
                                           "\" (handle " + block.handle + ") was left unchanged: ";
                const size_t at = r.out.find(report);
                ASSERT_NE(at, std::string::npos) << r.out;
                EXPECT_NE(r.out.find(" is on the locked layer \"" + layer +
                                         "\". Unlock the layer and run the command again.\n",
                                     at),
                          std::string::npos)
                    << r.out;
            }
            EXPECT_GT(refused, 0);
            const int writable = static_cast<int>(before.inserts.size()) - refused;
            if (command == "mbta") {
                // ROOM-3 has no aux attribute to blank; the others are refused
                EXPECT_NE(r.out.find("0 block(s) altered\n"), std::string::npos) << r.out;
            }
            if (command == "mfrs") {
                EXPECT_NE(r.out.find("3 blocks processed - " + std::to_string(writable) + " changes made"),
                          std::string::npos)
                    << r.out;
                EXPECT_EQ(r.out.find("Room Alpha changed to"), std::string::npos) << r.out;
            }
        }
    }
}

TEST(LockedLayers, AttributesOnALockedLayerAreReadAsTheyAre)
{
    // mlb lists each block's name from its name attribute: with ATT-NAME
    // locked the names are still read, never replaced by the block's name.
    PlanRun run("");
    const RunResult r = runOn(kFixtureDir / "locked-att-name.dxf", {"mlb", "", ""}, run);
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    for (const char* line : {"ROOM-1,Room Alpha,", "ROOM-2,Room Beta,", "ROOM-3,Room Gamma,"})
        EXPECT_NE(r.out.find(line), std::string::npos) << line << "\n" << r.out;
    EXPECT_EQ(r.out.find("ROOM-1,ROOM-1,"), std::string::npos) << r.out;
}

TEST(LockedLayers, ABlockReferenceOnALockedLayerIsReportedTheSameWay)
{
    PlanRun run("");
    const fs::path locked = run.folder() / "rooms-locked.dxf";
    const std::string made = runPython(
        "import sys, ezdxf\n"
        "d = ezdxf.readfile(sys.argv[1])\n"
        "d.layers.get('ATT-AUX').unlock()\n"
        "d.layers.get('ROOMS').lock()\n"
        "d.saveas(sys.argv[2])\n"
        "print('ok')\n",
        {(kFixtureDir / "locked-att-aux.dxf").string(), locked.string()});
    ASSERT_EQ(made, "ok\n");
    const DrawingFacts before = readDrawingFacts(locked);
    ASSERT_TRUE(before.error.empty()) << before.error;
    PlanRun mus("");
    const RunResult r = runOn(locked, {"mus"}, mus);
    EXPECT_EQ(r.exitCode, 1) << r.out << r.err;
    const DrawingFacts after = readDrawingFacts(mus.saved());
    EXPECT_EQ(spaceSnapshot(after), spaceSnapshot(before)) << r.out;
    for (const InsertFact& block : before.inserts)
        EXPECT_NE(r.out.find("Block " + block.name + " \"" + block.attrib("NAME")->text + "\" (handle " + block.handle +
                             ") was left unchanged: its block reference is on the locked layer \"ROOMS\"."),
                  std::string::npos)
            << r.out;
}
