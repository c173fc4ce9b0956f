// Space blocks whose definitions have base points other than 0,0, as other
// programs write them: the generated plan with random base points (content
// shifted so the world drawing is unchanged) and tests/data/commands/
// basepoints.dxf. Where things stand in the world, and which furniture lies
// in which room, comes from ezdxf (tests/commands/world_oracle.py: its
// Insert.virtual_entities()); areas and perimeters from dxf_oracle.py area.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "tests/commands/CommandTestSupport.h"

namespace fs = std::filesystem;
using namespace zelkatest;

namespace {

using Outline = std::vector<std::pair<double, double>>;

struct WorldFacts {
    std::map<std::string, std::string> blockOf;          // room handle -> definition name
    std::map<std::string, Outline> outlines;             // room handle -> world outline
    std::map<std::string, std::pair<double, double>> labels;
    std::map<std::string, std::set<std::string>> assets;
    nlohmann::json bases;                                // definition name -> [x, y, z]
    std::vector<Outline> polylines;                      // model-space LWPOLYLINEs
};

WorldFacts readWorld(const fs::path& drawing)
{
    const nlohmann::json world = oracleJson(testScript("commands/world_oracle.py"), {drawing.string()});
    WorldFacts facts;
    for (const auto& [handle, room] : world.at("rooms").items()) {
        facts.blockOf[handle] = room.at("block");
        facts.outlines[handle] = room.at("outline").get<Outline>();
        if (room.contains("label")) facts.labels[handle] = room["label"].get<std::pair<double, double>>();
        facts.assets[handle] = room.at("assets").get<std::set<std::string>>();
    }
    facts.polylines = world.at("polylines").get<std::vector<Outline>>();
    facts.bases = world.at("bases");
    return facts;
}

bool sameOutline(const Outline& a, const Outline& b, double tolerance = 1e-6)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::fabs(a[i].first - b[i].first) > tolerance || std::fabs(a[i].second - b[i].second) > tolerance)
            return false;
    return true;
}

std::string describe(const Outline& outline)
{
    std::string text;
    for (const auto& [x, y] : outline) text += "(" + fixed(x, 3) + "," + fixed(y, 3) + ") ";
    return text;
}

// The world vertices `test` prints for each space block, by handle:
// EXEC [dbo].[addLocationDrawingVertices] @parentId, 'H', 1, '[ x, y ], [ x, y ]'
std::map<std::string, Outline> testCommandVertices(const std::string& out)
{
    std::map<std::string, Outline> found;
    const std::string marker = "@parentId, '";
    for (size_t at = out.find(marker); at != std::string::npos; at = out.find(marker, at + 1)) {
        const size_t handleEnd = out.find('\'', at + marker.size());
        const std::string handle = out.substr(at + marker.size(), handleEnd - at - marker.size());
        const size_t listStart = out.find(", '", handleEnd) + 3;
        const size_t listEnd = out.find('\'', listStart);
        Outline points;
        std::string list = out.substr(listStart, listEnd - listStart);
        for (size_t open = list.find('['); open != std::string::npos; open = list.find('[', open + 1)) {
            const size_t comma = list.find(',', open);
            const size_t close = list.find(']', comma);
            points.emplace_back(std::stod(list.substr(open + 1, comma - open - 1)),
                                std::stod(list.substr(comma + 1, close - comma - 1)));
        }
        found[handle] = points;
    }
    return found;
}

// The asset handles `mlb` lists under each space block, by block handle.
std::map<std::string, std::set<std::string>> listedAssets(const std::string& out)
{
    std::map<std::string, std::set<std::string>> found;
    std::istringstream lines(out);
    std::string current;
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> f;
        std::istringstream in(line);
        for (std::string part; std::getline(in, part, ',');) f.push_back(part);
        if (f.size() >= 8 && line.rfind(",,,,,,", 0) == 0 && !current.empty()) {
            found[current].insert(f[7]);
        } else if (f.size() == 6 && f[0].rfind("ROOM-", 0) == 0) {
            current = f[3];
            found[current];
        }
    }
    return found;
}

// A generated plan of 30 rooms on three floors whose every block definition
// has a random base point.
class BasePointPlan : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        plan_ = new TempFolder();
        const std::string out = captureOutput(std::string(ZELKA_PYTHON) + " " +
                                              shellQuote((kSourceDir / "bench/gen_floorplan.py").string()) +
                                              " --rooms 30 --rooms-per-floor 10 --seed 5 --base-points --out " +
                                              shellQuote(planFile().string()) + " 2>&1");
        ASSERT_TRUE(fs::exists(planFile())) << out;
        world_ = new WorldFacts(readWorld(planFile()));
    }
    static void TearDownTestSuite()
    {
        delete world_;
        delete plan_;
    }
    static fs::path planFile() { return plan_->path() / "plan.dxf"; }

    void SetUp() override
    {
        ASSERT_EQ(world_->outlines.size(), 33u);  // 30 rooms and three gross-area blocks
        run_ = std::make_unique<PlanRun>("");
        copy_ = run_->folder() / "plan.dxf";
        fs::copy_file(planFile(), copy_);
    }

    RunResult runOnPlan(const std::vector<std::string>& lines)
    {
        std::string script;
        for (const std::string& line : lines) script += line + "\n";
        writeFile(run_->folder() / "run.scr", script);
        return runZelka({"--appdata", run_->appdata().string(), "--script", (run_->folder() / "run.scr").string(),
                         "--save-as", run_->saved().string(), copy_.string()});
    }

    static TempFolder* plan_;
    static WorldFacts* world_;
    std::unique_ptr<PlanRun> run_;
    fs::path copy_;
};

TempFolder* BasePointPlan::plan_ = nullptr;
WorldFacts* BasePointPlan::world_ = nullptr;

}  // namespace

TEST_F(BasePointPlan, TestCommandPrintsTheWorldVerticesEzdxfPlacesTheOutlinesAt)
{
    RunResult r = runOnPlan({"test"});
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    const std::map<std::string, Outline> printed = testCommandVertices(r.out);
    EXPECT_EQ(printed.size(), world_->outlines.size()) << r.out;
    for (const auto& [handle, outline] : world_->outlines) {
        SCOPED_TRACE(world_->blockOf[handle]);
        auto found = printed.find(handle);
        ASSERT_NE(found, printed.end());
        EXPECT_TRUE(sameOutline(found->second, outline, 1e-5)) << describe(found->second) << "\nezdxf: " << describe(outline);
    }
}

TEST_F(BasePointPlan, UpdateSpacesKeepsEveryAreaPerimeterAndBasePoint)
{
    RunResult r = runOnPlan({"mus"});
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    const DrawingFacts before = readDrawingFacts(planFile());
    const DrawingFacts after = readDrawingFacts(run_->saved());
    ASSERT_TRUE(after.error.empty()) << after.error;
    for (const InsertFact& old : before.spaces()) {
        SCOPED_TRACE(old.name);
        const OracleMeasure m = oracleMeasure(planFile(), old.handle);
        ASSERT_GT(m.area, 0);
        const InsertFact* now = nullptr;
        for (const InsertFact& i : after.inserts)
            if (i.handle == old.handle) now = &i;
        ASSERT_NE(now, nullptr);
        EXPECT_EQ(now->item("AREA"), fixed(m.area / 1e6, 2) + "sq.m.");
        EXPECT_EQ(now->item("PERIMETER"), fixed(m.perimeter / 1000.0, 2) + "m.");
        EXPECT_EQ(now->item("AREA"), old.item("AREA"));
    }
    const WorldFacts saved = readWorld(run_->saved());
    EXPECT_EQ(saved.bases, world_->bases);
    for (const auto& [handle, outline] : world_->outlines) {
        SCOPED_TRACE(world_->blockOf[handle]);
        EXPECT_TRUE(sameOutline(saved.outlines.at(handle), outline));
    }
}

TEST_F(BasePointPlan, AssetListsHoldTheFurnitureDrawnInOrAcrossEachOutline)
{
    RunResult r = runOnPlan({"mlb", "", "y"});
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    const auto listed = listedAssets(r.out);
    size_t furnished = 0;
    for (const auto& [handle, expected] : world_->assets) {
        if (world_->blockOf[handle] == "ROOM-GROSS_AREA") continue;
        SCOPED_TRACE(world_->blockOf[handle]);
        auto found = listed.find(handle);
        ASSERT_NE(found, listed.end()) << r.out;
        EXPECT_EQ(found->second, expected);
        furnished += expected.empty() ? 0 : 1;
    }
    EXPECT_GT(furnished, 20u);
}

namespace {

const fs::path kBasePoints = kFixtureDir / "basepoints.dxf";

// The handle of the fixture's reference of a definition.
std::string handleOf(const WorldFacts& world, const std::string& block)
{
    for (const auto& [handle, name] : world.blockOf)
        if (name == block) return handle;
    ADD_FAILURE() << "no reference of " << block;
    return "";
}

// The handle msc_dsd reports for the space block it picked.
std::string reportedHandle(const std::string& out)
{
    const std::string marker = "Handle\t\t\t ";
    const size_t at = out.find(marker);
    if (at == std::string::npos) return "<none>";
    return out.substr(at + marker.size(), out.find('\n', at) - at - marker.size());
}

}  // namespace

// The gross-area block, drawn after the rooms, holds them all (and a nested
// grid block); a pick at a room's name label or on its outline still takes the room.
TEST(BasePointFixture, APickAtANameLabelOrOnAnOutlineTakesThatRoomNotTheGrossAreaAroundIt)
{
    const WorldFacts world = readWorld(kBasePoints);
    ASSERT_EQ(world.labels.size(), 6u);
    struct Pick {
        std::string what, block;
        double x, y;
    };
    std::vector<Pick> picks;
    for (const auto& [handle, label] : world.labels)
        picks.push_back({"name label", world.blockOf.at(handle), label.first, label.second});
    picks.push_back({"bottom edge", "ROOM-1", 5000.0, 3500.0});
    picks.push_back({"grid line of the gross area's nested block", "ROOM-GROSS_AREA", 8000.0, 7000.0});
    for (const Pick& pick : picks) {
        SCOPED_TRACE(pick.block + " " + pick.what);
        PlanRun run("basepoints.dxf");
        RunResult r = run.run({"msc_dsd", fixed(pick.x, 4) + "," + fixed(pick.y, 4)}, false);
        EXPECT_EQ(reportedHandle(r.out), handleOf(world, pick.block)) << r.out << r.err;
    }
}

TEST(BasePointFixture, UpdateSpacesMeasuresScaledTurnedBlocksAsEzdxfDoesAndMovesCentredTextWithItsAlignmentPoint)
{
    const WorldFacts world = readWorld(kBasePoints);
    PlanRun run("basepoints.dxf");
    RunResult r = run.run({"mus"});
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    const DrawingFacts after = readDrawingFacts(run.saved());
    ASSERT_TRUE(after.error.empty()) << after.error;
    struct Case {
        std::string block;
        bool perimeterFollows;  // false: X and Y scales differ, the perimeter is reported as 0
    };
    for (const Case& c : std::vector<Case>{{"ROOM-1", true}, {"ROOM-2", true}, {"ROOM-3", false},
                                           {"ROOM-4", true}, {"ROOM-5", true}, {"ROOM-GROSS_AREA", true}}) {
        SCOPED_TRACE(c.block);
        const OracleMeasure m = oracleMeasure(kBasePoints, handleOf(world, c.block));
        const InsertFact* now = after.insertOf(c.block);
        ASSERT_NE(now, nullptr);
        EXPECT_EQ(now->item("AREA"), fixed(m.area / 1e6, 2) + "sq.m.");
        EXPECT_EQ(now->item("PERIMETER"), (c.perimeterFollows ? fixed(m.perimeter / 1000.0, 2) : "0.00") + "m.");
    }
    // ROOM-3: 2000 x 2500 mm at X scale 2 and Y scale 1.5 (read from group 42) is 15 m2.
    EXPECT_EQ(after.insertOf("ROOM-3")->item("AREA"), "15.00sq.m.");

    // ROOM-5's centred NAME stood 1500 above the area text; it is restacked
    // 1.5 text heights (375) above it, and its alignment point, by which a
    // CAD program places a centred text, goes with it.
    const nlohmann::json dump = dxfDump(run.saved());
    const nlohmann::json* room = findEntity(dump.at("modelspace"), "name", "ROOM-5");
    ASSERT_NE(room, nullptr) << dump;
    const nlohmann::json* name = attribOf(*room, "NAME");
    const nlohmann::json* area = attribOf(*room, "AREA");
    ASSERT_TRUE(name && area) << *room;
    auto at = [](const nlohmann::json* a, const char* point, int i) { return a->at(point).at(i).get<double>(); };
    EXPECT_EQ(name->at("halign"), 1);  // still centred
    EXPECT_NEAR(at(name, "align_point", 0), at(area, "align_point", 0), 1e-6);
    EXPECT_NEAR(at(name, "align_point", 1), at(area, "align_point", 1) + 375.0, 1e-6);
    EXPECT_NEAR(at(name, "insert", 0), at(name, "align_point", 0), 1e-6);
    EXPECT_NEAR(at(name, "insert", 1), at(name, "align_point", 1), 1e-6);
}

// Deleted space blocks leave their outlines where the rooms were drawn:
// ROOM-1 (base point 1000,500), ROOM-2 (turned 30 degrees, a bulged edge)
// and ROOM-4, scaled X = Y = 1, Z = 2.5, as many DXF writers leave it; in
// the plan only X and Y count, so it is deleted like any other.
TEST(BasePointFixture, DeletingABlockScaledEquallyInXAndYButNotZLeavesItsOutline)
{
    const WorldFacts world = readWorld(kBasePoints);
    PlanRun run("basepoints.dxf");
    RunResult r = run.run({"mdb", handleOf(world, "ROOM-4"), "mdb", handleOf(world, "ROOM-1"), "mdb",
                           handleOf(world, "ROOM-2")});
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    const WorldFacts saved = readWorld(run.saved());
    for (const char* block : {"ROOM-4", "ROOM-1", "ROOM-2"}) {
        SCOPED_TRACE(block);
        EXPECT_EQ(saved.outlines.count(handleOf(world, block)), 0u) << "still there";
        const Outline& outline = world.outlines.at(handleOf(world, block));
        size_t matches = 0;
        for (const Outline& left : saved.polylines) matches += sameOutline(left, outline) ? 1 : 0;
        EXPECT_EQ(matches, 1u) << "ezdxf: " << describe(outline);
    }
}
