// Space blocks whose attributes lie on locked layers (drawings written by
// ezdxf with LAYER group 70 bit 4 set, tests/commands/make_fixtures.py):
// every command that writes space blocks leaves each such block exactly as
// it was, names it and the layer in the same report, and fails the run;
// reading never depends on the lock.

#include <gtest/gtest.h>

#include "tests/commands/CommandTestSupport.h"

namespace fs = std::filesystem;
using namespace zelkatest;

namespace {

// Everything of one space block a command could change, as ezdxf reads
// it: the reference with its record and attributes, and the entities of its
// definition; "gone" when the drawing has no reference of that handle.
nlohmann::json blockSnapshot(const DrawingFacts& facts, const std::string& handle)
{
    const nlohmann::json* insert = findEntity(facts.dump.at("modelspace"), "handle", handle);
    if (!insert) return "gone";
    return {*insert, facts.dump.at("blocks").at(insert->at("name").get<std::string>()).at("entities")};
}

// All space blocks of the drawing, one after another.
nlohmann::json spaceSnapshot(const DrawingFacts& facts)
{
    nlohmann::json out = nlohmann::json::array();
    for (const InsertFact& i : facts.spaces()) out.push_back(blockSnapshot(facts, i.handle));
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
            const PlanRun run(fixture[0]);
            const RunResult r = run.run(withHandle(c.lines, room1->handle));
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
                EXPECT_EQ(blockSnapshot(after, block.handle), blockSnapshot(before, block.handle)) << r.out;
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
    const PlanRun run("locked-att-name.dxf");
    const RunResult r = run.run({"mlb", "", ""});
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    for (const char* line : {"ROOM-1,Room Alpha,", "ROOM-2,Room Beta,", "ROOM-3,Room Gamma,"})
        EXPECT_NE(r.out.find(line), std::string::npos) << line << "\n" << r.out;
    EXPECT_EQ(r.out.find("ROOM-1,ROOM-1,"), std::string::npos) << r.out;
}

TEST(LockedLayers, ABlockReferenceOnALockedLayerIsReportedTheSameWay)
{
    const DrawingFacts before = readDrawingFacts(kFixtureDir / "locked-rooms.dxf");
    ASSERT_TRUE(before.error.empty()) << before.error;
    ASSERT_EQ(before.layers.at("ROOMS"), "on locked");
    const PlanRun mus("locked-rooms.dxf");
    const RunResult r = mus.run({"mus"});
    EXPECT_EQ(r.exitCode, 1) << r.out << r.err;
    const DrawingFacts after = readDrawingFacts(mus.saved());
    EXPECT_EQ(spaceSnapshot(after), spaceSnapshot(before)) << r.out;
    for (const InsertFact& block : before.inserts)
        EXPECT_NE(r.out.find("Block " + block.name + " \"" + block.attrib("NAME")->text + "\" (handle " + block.handle +
                             ") was left unchanged: its block reference is on the locked layer \"ROOMS\"."),
                  std::string::npos)
            << r.out;
}
