// Take-off of real drawings into the test server, read back with psql and
// compared with an independent reading of the drawing (ezdxf).

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include <gtest/gtest.h>

#include "database/BlockTP.h"
#include "database/StoredProcedure.h"
#include "database/TakeOff.h"
#include "DatabaseTestSupport.h"
#include "TakeOffTestSupport.h"
#include "infra/ZelkaExceptions.h"
#include "module/AcadDrawing.h"
#include "spaces/Blocks.h"
#include "../common/ZelkaProcess.h"

namespace {

using dbtest::Registered;
using dbtest::generatedPlan;

using dbtest::OraclePlan;
using dbtest::OracleRoom;

int countRows(const std::string& table, const std::string& where)
{
    return std::stoi(dbtest::psqlValue("select count(*) from " + table + " where " + where));
}

// The plan with an attribute SEAT = "S-<handle> O'Neil \ "x"" on every
// CHAIR, added by ezdxf as another program would, so the take-off writes
// asset attributes (quote, backslash and double quote travel as values).
void addChairAttributes(const std::filesystem::path& plan)
{
    std::filesystem::path script = plan.parent_path() / "attributes.py";
    zelkatest::writeFile(script, "import sys, ezdxf\n"
                                 "kSeatSuffix = ' O\\'Neil \\\\ \"x\"'\n"
                                 "doc = ezdxf.readfile(sys.argv[1])\n"
                                 "for e in doc.modelspace().query('INSERT[name==\"CHAIR\"]'):\n"
                                 "    e.add_attrib('SEAT', 'S-' + e.dxf.handle + kSeatSuffix, e.dxf.insert)\n"
                                 "doc.saveas(sys.argv[1])\n");
    std::string command = std::string(ZELKA_PYTHON) + " '" + script.string() + "' '" + plan.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

// Each plan is taken off twice with the calls sent in batches (several per
// round trip, the default), and once, where asked, one call per round trip
// (drivers that cannot batch): every pass lands the rows the drawing holds.
TEST(TakeOff, GeneratedPlansFromOtherProgramsLandWholeAndAgainWithoutDuplicates)
{
    struct Case {
        const char* label;
        const char* options;
        bool attributes;
        bool alsoOneCallPerTrip;
    } cases[] = {
        {"grid-r2013", "--rooms 10 --rooms-per-floor 10 --seed 3 --dxfversion R2013", false, false},
        {"base-points-r2000", "--rooms 8 --rooms-per-floor 8 --seed 5 --dxfversion R2000 --base-points", false, false},
        {"locked-attribute-layers", "--rooms 6 --rooms-per-floor 6 --seed 7 --locked-layers ATT-NAME,ATT-AUX", false,
         false},
        // 37 blocks: batches of 1, 2, 4, 8, 16 and a part-filled last one.
        {"thirty-six-rooms", "--rooms 36 --rooms-per-floor 36 --seed 9", false, true},
        // Attribute calls wait for their asset's output (a third round trip).
        {"chair-attributes", "--rooms 20 --rooms-per-floor 20 --seed 5", true, true},
    };
    for (const Case& c : cases) {
        for (bool batching : {true, false}) {
            if (!batching && !c.alsoOneCallPerTrip) continue;
            SCOPED_TRACE(std::string(c.label) + (batching ? ", batched" : ", one call per round trip"));
            zelkatest::TempFolder source;
            const std::filesystem::path file = generatedPlan(source, "plan.dxf", c.options);
            if (c.attributes) addChairAttributes(file);
            Registered plan(file, c.label);
            OraclePlan expected = dbtest::takeOffOracle(plan.path());
            ASSERT_FALSE(expected.rooms.empty());
            auto sp = dbtest::connect();
            sp->setBatching(batching);
            ASSERT_EQ(sp->canBatch(), batching) << "psqlODBC takes several calls in one execution";
            CAcadDrawing drawing(plan.folder.path().string() + "/", plan.fileName);
            for (int pass = 1; pass <= (batching ? 2 : 1); ++pass) {
                SCOPED_TRACE(pass);
                int progressCalls = 0, lastWritten = 0;
                CTakeOff::Result result =
                    CTakeOff().takeOff(drawing, *sp, plan.drawingID, plan.floor, 30, [&](int written) {
                        ++progressCalls;
                        EXPECT_EQ(written, lastWritten + 1);
                        lastWritten = written;
                    });
                EXPECT_EQ(result.rooms, static_cast<int>(expected.rooms.size()));
                EXPECT_EQ(result.floors, 1);
                EXPECT_EQ(progressCalls, result.rooms + result.floors);
                // The gross-area block's measures go to the floor itself.
                const auto floor = dbtest::psql("select handle, area, perimeter from locations where id = " +
                                                std::to_string(plan.floor))[0];
                EXPECT_EQ(floor[0], expected.floorHandle);
                EXPECT_NEAR(std::stod(floor[1]), expected.floor.area, 1e-9);
                EXPECT_NEAR(std::stod(floor[2]), expected.floor.perimeter, 1e-9);
                auto rows = dbtest::psql("select handle, area, perimeter, id from locations where parent_id = " +
                                         std::to_string(plan.floor) + " and kind = 'r'");
                ASSERT_EQ(rows.size(), expected.rooms.size());
                // A crossing selection gives a room the furniture inside it and
                // may add furniture reaching in from next door: every asset
                // recorded for a room is near it, and every asset standing inside a
                // room is recorded.
                std::set<std::string> inside, recorded;
                std::map<std::string, std::vector<std::string>> assetsByRoom;
                for (const auto& a : dbtest::psql("select location_id, handle from assets where drawing_id = " +
                                                  std::to_string(plan.drawingID)))
                    assetsByRoom[a[0]].push_back(a[1]);
                for (const auto& row : rows) {
                    SCOPED_TRACE(row[0]);
                    ASSERT_TRUE(expected.rooms.count(row[0]));
                    const OracleRoom& room = expected.rooms[row[0]];
                    EXPECT_NEAR(std::stod(row[1]), room.area, 1e-9);
                    EXPECT_NEAR(std::stod(row[2]), room.perimeter, 1e-9);
                    inside.insert(room.assets.begin(), room.assets.end());
                    for (const std::string& a : assetsByRoom[row[3]]) {
                        EXPECT_TRUE(room.near.count(a)) << a;
                        recorded.insert(a);
                    }
                }
                EXPECT_FALSE(inside.empty());
                EXPECT_TRUE(std::includes(recorded.begin(), recorded.end(), inside.begin(), inside.end()));
                EXPECT_GE(result.assets, static_cast<int>(recorded.size()));
            }
            auto attributes = dbtest::psql("select handle, tag, value, present from asset_attributes where "
                                           "drawing_id = " + std::to_string(plan.drawingID));
            EXPECT_EQ(attributes.empty(), !c.attributes);
            for (const auto& row : attributes) {
                SCOPED_TRACE(row[0]);
                EXPECT_EQ(row[1], "SEAT");
                EXPECT_EQ(row[2], "S-" + row[0] + " O'Neil \\ \"x\"");
                EXPECT_EQ(row[3], "t");
            }
        }
    }
}

TEST(TakeOff, AConnectionKilledHalfWayLeavesTheDatabaseAsItWas)
{
    Registered plan(std::filesystem::path(ZELKA_SOURCE_DIR) / "examples/office.dxf", "office-killed");
    std::string before = zelkatest::readFile(plan.path());
    auto sp = dbtest::connect();
    CAcadDrawing drawing(plan.folder.path().string() + "/", plan.fileName);
    auto killAfterThree = [](int written) {
        if (written != 3) return;
        // The take-off's connection is the only one of the run inside a transaction.
        EXPECT_EQ(dbtest::psqlValue("select count(pg_terminate_backend(pid)) from pg_stat_activity "
                                    "where datname = 'ipr' and state = 'idle in transaction' "
                                    "and pid <> pg_backend_pid()"),
                  "1");
    };
    try {
        CTakeOff().takeOff(drawing, *sp, plan.drawingID, plan.floor, 30, killAfterThree);
        FAIL() << "the take-off went on after its connection was killed";
    } catch (const CEXUnhandled& e) {
        EXPECT_EQ(e.getProcSig(), "CTakeOff::takeOff");
        EXPECT_NE(e.errorChainText().find("CStoredProcedure::execSPNoReturnParasReturn"), std::string::npos)
            << e.errorChainText();
    }
    EXPECT_EQ(countRows("locations", "parent_id = " + std::to_string(plan.floor)), 0);
    EXPECT_EQ(countRows("assets", "drawing_id = " + std::to_string(plan.drawingID)), 0);
    EXPECT_EQ(countRows("asset_attributes", "drawing_id = " + std::to_string(plan.drawingID)), 0);
    EXPECT_EQ(dbtest::psqlValue("select coalesce(handle, '') || ':' || coalesce(area::text, 'null') "
                                "from locations where id = " + std::to_string(plan.floor)),
              ":null");
    EXPECT_EQ(zelkatest::readFile(plan.path()), before);
}

TEST(TakeOff, AProcedureRefusingTheLastBlockUndoesTheRoomsBeforeIt)
{
    Registered plan(std::filesystem::path(ZELKA_SOURCE_DIR) / "examples/office.dxf", "office-refused");
    // The drawing is registered under a room, not a floor: the rooms go in,
    // then the gross-area block (last in the drawing) finds no such floor.
    int room = std::stoi(dbtest::psqlValue("insert into locations (parent_id, kind, name) values (" +
                                           std::to_string(plan.floor) + ", 'r', 'not a floor') returning id;"));
    auto sp = dbtest::connect();
    CAcadDrawing drawing(plan.folder.path().string() + "/", plan.fileName);
    int written = 0;
    try {
        CTakeOff().takeOff(drawing, *sp, plan.drawingID, room, 30, [&](int n) { written = n; });
        FAIL() << "no error";
    } catch (const CEXUnhandled& e) {
        EXPECT_NE(e.innermost().getDescription().find("floor location " + std::to_string(room) + " does not exist"),
                  std::string::npos)
            << e.errorChainText();
    }
    EXPECT_EQ(written, 5);
    EXPECT_EQ(countRows("locations", "parent_id = " + std::to_string(room)), 0);
    EXPECT_EQ(countRows("assets", "drawing_id = " + std::to_string(plan.drawingID)), 0);
    // The same connection takes off again once the drawing is registered right.
    CTakeOff::Result result = CTakeOff().takeOff(drawing, *sp, plan.drawingID, plan.floor, 30);
    EXPECT_EQ(result.rooms, 5);
    EXPECT_EQ(countRows("locations", "kind = 'r' and parent_id = " + std::to_string(plan.floor)), 6);
}

}  // namespace

namespace {

// The TP export of the office plan's blocks: one row per room under the
// floor with its name and code, one for the gross area under its own
// location, each with the measures of the block's record as ezdxf reads
// them; then every asset of each room.
TEST(TakeOff, TpExportSendsEachBlockWithItsRecordAndEachRoomsAssets)
{
    Registered plan(std::filesystem::path(ZELKA_SOURCE_DIR) / "examples/office.dxf", "office-tp");
    OraclePlan office = dbtest::takeOffOracle(plan.path());
    ASSERT_EQ(office.rooms.size(), 5u);
    const std::string marker = "tp-" + std::to_string(getpid()) + "-" + std::to_string(plan.floor);

    auto sp = dbtest::connect();
    CAcadDrawing drawing(plan.folder.path().string() + "/", plan.fileName);
    CBlocks blocks;
    blocks.getZelkaDWGBlocks_SS(drawing, true, "f");
    int sent = 0;
    for (int i = 0; i < blocks.size(); ++i)
        if (CBlockTP::exportTP(*sp, blocks.getAt(i), 10, plan.floor, marker)) ++sent;
    EXPECT_EQ(sent, 6);

    auto rows = dbtest::psql("select kind, location_id, handle, area, perimeter, name is not null, area_type from "
                             "tp_space_exports where export_parameters = '" + marker + "' order by kind, handle");
    ASSERT_EQ(rows.size(), 6u);
    std::set<std::string> roomHandles;
    for (const auto& row : rows) {
        SCOPED_TRACE(row[2]);
        EXPECT_EQ(row[1], std::to_string(plan.floor));
        const OracleRoom& expected = row[0] == "g" ? office.floor : office.rooms[row[2]];
        if (row[0] == "g") {
            EXPECT_EQ(row[2], office.floorHandle);
            EXPECT_EQ(row[5], "f") << "a gross area goes without name";
        } else {
            EXPECT_EQ(row[0], "c");
            ASSERT_TRUE(office.rooms.count(row[2]));
            EXPECT_EQ(row[5], "t");
            roomHandles.insert(row[2]);
        }
        EXPECT_NEAR(std::stod(row[3]), expected.area, 1e-9);
        EXPECT_NEAR(std::stod(row[4]), expected.perimeter, 1e-9);
        EXPECT_FALSE(row[6].empty()) << "a field never set goes as its placeholder, not empty";
    }
    EXPECT_EQ(roomHandles.size(), 5u);

    std::set<std::string> exported, inside, near;
    for (const auto& a : dbtest::psql("select handle from tp_asset_exports where export_parameters = '" + marker + "'"))
        exported.insert(a[0]);
    for (const auto& [handle, room] : office.rooms) {
        inside.insert(room.assets.begin(), room.assets.end());
        near.insert(room.near.begin(), room.near.end());
    }
    EXPECT_FALSE(inside.empty());
    EXPECT_TRUE(std::includes(exported.begin(), exported.end(), inside.begin(), inside.end()));
    EXPECT_TRUE(std::includes(near.begin(), near.end(), exported.begin(), exported.end()));
}

}  // namespace
