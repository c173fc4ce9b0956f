// The take-off sends its calls in batches (several calls per round trip)
// when the driver takes them: the rows must be those of one call per round
// trip, compared with an independent reading of the drawing (ezdxf), and a
// call the database refuses inside a batch must undo everything and be named
// with the block it was for.

#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include <gtest/gtest.h>

#include "database/StoredProcedure.h"
#include "database/TakeOff.h"
#include "DatabaseTestSupport.h"
#include "TakeOffTestSupport.h"
#include "infra/ZelkaExceptions.h"
#include "module/AcadDrawing.h"
#include "../common/ZelkaProcess.h"

namespace {

using dbtest::Registered;

struct Measures {
    double area = 0, perimeter = 0;
    std::set<std::string> inside;  // assets whose insertion point is inside the outline
};

// Rooms by handle, as tests/database/takeoff_oracle.py reads them with ezdxf.
std::map<std::string, Measures> oracleRooms(const std::filesystem::path& dxf)
{
    const std::string out = dbtest::takeOffOracle(dxf);
    std::map<std::string, Measures> rooms;
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        std::vector<std::string> f;
        std::istringstream fields(line);
        std::string field;
        while (std::getline(fields, field, '|')) f.push_back(field);
        if (f.size() < 4 || f[0] != "R") continue;
        Measures m;
        m.area = std::stod(f[2]);
        m.perimeter = std::stod(f[3]);
        if (f.size() > 4) {
            std::istringstream handles(f[4]);
            while (std::getline(handles, field, ',')) m.inside.insert(field);
        }
        rooms[f[1]] = m;
    }
    return rooms;
}


std::filesystem::path generatedPlan(const zelkatest::TempFolder& folder, int rooms, int seed)
{
    const std::string n = std::to_string(rooms);
    return dbtest::generatedPlan(folder, "plan.dxf",
                                 "--rooms " + n + " --rooms-per-floor " + n + " --seed " + std::to_string(seed));
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

// Everything a take-off wrote for one registration, without the ids the
// database gave (rooms and assets are keyed by their handles).
std::vector<std::vector<std::string>> landed(const Registered& r)
{
    std::string floor = std::to_string(r.floor), drawing = std::to_string(r.drawingID);
    // The floor's own name is the test's label; its measures come from the drawing.
    auto rows = dbtest::psql("select 'L', kind, handle, case when kind = 'f' then '' else name end, code, area, perimeter, decimal_places, status_exists, "
                             "status_duplicate from locations where parent_id = " + floor + " or id = " + floor +
                             " order by kind, handle");
    for (auto& a : dbtest::psql("select 'A', l.handle, a.handle, a.acad_block_identifier, a.acad_block_description, "
                                "a.unique_description, a.point_x, a.point_y, a.exists_in_location from assets a "
                                "join locations l on l.id = a.location_id where a.drawing_id = " + drawing +
                                " order by a.handle"))
        rows.push_back(a);
    for (auto& a : dbtest::psql("select 'T', handle, tag, value, present from asset_attributes where drawing_id = " +
                                drawing + " order by handle, tag"))
        rows.push_back(a);
    return rows;
}

TEST(TakeOffBatch, BatchedCallsWriteTheRowsOfOneCallPerRoundTrip)
{
    struct Case {
        const char* label;
        int rooms, seed;
        bool attributes;
    } cases[] = {
        {"batch-one-room", 1, 4, false},
        // 37 blocks: windows of 1, 2, 4, 8, 16 and a part-filled last one.
        {"batch-37-rooms", 36, 9, false},
        // Attribute calls wait for their asset's output (a third round trip).
        {"batch-chair-attributes", 20, 5, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        zelkatest::TempFolder source;
        std::filesystem::path plan = generatedPlan(source, c.rooms, c.seed);
        if (c.attributes) addChairAttributes(plan);
        std::map<std::string, Measures> expected = oracleRooms(plan);
        ASSERT_EQ(expected.size(), static_cast<size_t>(c.rooms));

        Registered single(plan, std::string(c.label) + "-single");
        auto one = dbtest::connect();
        one->setBatching(false);
        CAcadDrawing drawingA(single.folder.path().string() + "/", single.fileName);
        uint64_t before = one->executionCount();
        CTakeOff::Result a = CTakeOff().takeOff(drawingA, *one, single.drawingID, single.floor, 30);
        uint64_t singleTrips = one->executionCount() - before;

        Registered batched(plan, std::string(c.label) + "-batched");
        auto many = dbtest::connect();
        ASSERT_TRUE(many->canBatch()) << "psqlODBC takes several calls in one execution";
        CAcadDrawing drawingB(batched.folder.path().string() + "/", batched.fileName);
        int progressCalls = 0, lastWritten = 0;
        before = many->executionCount();
        CTakeOff::Result b = CTakeOff().takeOff(drawingB, *many, batched.drawingID, batched.floor, 30, [&](int w) {
            ++progressCalls;
            EXPECT_EQ(w, lastWritten + 1);
            lastWritten = w;
        });
        uint64_t batchedTrips = many->executionCount() - before;

        EXPECT_EQ(a.rooms, c.rooms);
        EXPECT_EQ(b.rooms, a.rooms);
        EXPECT_EQ(b.floors, a.floors);
        EXPECT_EQ(b.assets, a.assets);
        EXPECT_EQ(progressCalls, b.rooms + b.floors);
        // One call per room, asset and floor against three round trips per window.
        auto rowsA = landed(single), rowsB = landed(batched);
        size_t attributeRows = 0;
        for (const auto& row : rowsB)
            if (row[0] == "T") {
                ++attributeRows;
                SCOPED_TRACE(row[1]);
                EXPECT_EQ(row[2], "SEAT");
                EXPECT_EQ(row[3], "S-" + row[1] + " O'Neil \\ \"x\"");
                EXPECT_EQ(row[4], "t");
            }
        EXPECT_EQ(attributeRows > 0, c.attributes);
        // One round trip per call (an asset reaching into two rooms goes twice, with its attributes).
        if (c.attributes)
            EXPECT_GE(singleTrips, static_cast<uint64_t>(a.rooms + a.assets + a.floors) + attributeRows);
        else
            EXPECT_EQ(singleTrips, static_cast<uint64_t>(a.rooms + a.assets + a.floors));
        EXPECT_LE(batchedTrips, c.rooms == 1 ? 3u : 18u) << "single: " << singleTrips;

        EXPECT_EQ(rowsB, rowsA);
        // And both against the drawing: every room with its measures, every
        // asset standing inside a room recorded under that room.
        std::set<std::string> seen;
        for (const auto& row : rowsB) {
            if (row[0] != "L" || row[1] != "r") continue;
            SCOPED_TRACE(row[2]);
            ASSERT_TRUE(expected.count(row[2]));
            seen.insert(row[2]);
            EXPECT_NEAR(std::stod(row[5]), expected[row[2]].area, 1e-9);
            EXPECT_NEAR(std::stod(row[6]), expected[row[2]].perimeter, 1e-9);
        }
        EXPECT_EQ(seen.size(), expected.size());
        std::map<std::string, std::string> roomOfAsset;
        for (const auto& row : rowsB)
            if (row[0] == "A") roomOfAsset[row[2]] = row[1];
        size_t inside = 0;
        for (const auto& [room, m] : expected)
            for (const std::string& asset : m.inside) {
                ++inside;
                EXPECT_EQ(roomOfAsset[asset], room) << asset;
            }
        EXPECT_GT(inside, 0u);
    }
}

TEST(TakeOffBatch, ACallRefusedInsideABatchUndoesEverythingAndNamesItsBlock)
{
    zelkatest::TempFolder source;
    Registered plan(generatedPlan(source, 24, 13), "batch-refused");
    // The database refuses the sixtieth asset of this drawing: it goes in
    // the last window's asset round trip, after other assets of that trip.
    const std::string drawing = std::to_string(plan.drawingID);
    const std::string trigger = "refuse_asset_" + drawing;
    dbtest::psql("create function " + trigger + "() returns trigger language plpgsql as $$ begin "
                 "if (select count(*) from assets where drawing_id = " + drawing + ") = 59 then "
                 "raise exception 'asset % refused by the test', new.handle; end if; return new; end $$; "
                 "create trigger " + trigger + " before insert on assets for each row when (new.drawing_id = " +
                 drawing + ") execute function " + trigger + "();");
    struct DropTrigger {
        std::string name;
        ~DropTrigger() { dbtest::psql("drop trigger " + name + " on assets; drop function " + name + "();"); }
    } drop{trigger};

    // Batched, and for comparison one call per round trip: both refuse the
    // same asset, name it with its room and leave nothing behind.
    std::map<bool, uint64_t> trips;
    for (bool batching : {true, false}) {
        SCOPED_TRACE(batching ? "batched" : "one call per round trip");
        auto sp = dbtest::connect();
        sp->setBatching(batching);
        ASSERT_EQ(sp->canBatch(), batching);
        CAcadDrawing dwg(plan.folder.path().string() + "/", plan.fileName);
        int written = 0;
        const uint64_t before = sp->executionCount();
        try {
            CTakeOff().takeOff(dwg, *sp, plan.drawingID, plan.floor, 30, [&](int w) { written = w; });
            ADD_FAILURE() << "the refused asset did not stop the take-off";
        } catch (const CEXUnhandled& e) {
            const std::string chain = e.errorChainText();
            const std::string description = e.innermost().getDescription();
            EXPECT_NE(chain.find("CStoredProcedure::execBatch"), std::string::npos) << chain;
            EXPECT_NE(chain.find("CStoredProcedure::execSPNoReturnParasReturn"), std::string::npos) << chain;
            // "__to_applyAssetToIPR (asset 1A2 of room block 'RM-1012' (handle 1F0)): [P0001] ERROR: asset 1A2 refused ..."
            size_t refused = description.find(" refused by the test");
            ASSERT_NE(refused, std::string::npos) << description;
            size_t start = description.rfind("asset ", refused);
            ASSERT_NE(start, std::string::npos) << description;
            const std::string handle = description.substr(start + 6, refused - start - 6);
            EXPECT_EQ(description.find("__to_applyAssetToIPR (asset " + handle + " of room block '"), 0u)
                << description;
            EXPECT_EQ(description.find(" with "), std::string::npos) << "the refused call itself is named: " << description;
        }
        trips[batching] = sp->executionCount() - before;
        EXPECT_GT(written, 10) << "blocks of earlier round trips were written before the refusal";
        EXPECT_LT(written, 24);
        EXPECT_EQ(dbtest::psqlValue("select count(*) from locations where parent_id = " + std::to_string(plan.floor)),
                  "0");
        EXPECT_EQ(dbtest::psqlValue("select count(*) from assets where drawing_id = " + drawing), "0");
        EXPECT_EQ(dbtest::psqlValue("select coalesce(handle, '') || ':' || coalesce(area::text, 'null') from "
                                    "locations where id = " + std::to_string(plan.floor)),
                  ":null");
    }
    // The refusal came inside a batch: far fewer round trips led up to it
    // (the batch, its undoing and the calls run again to find the refused one).
    EXPECT_LT(trips[true] * 2, trips[false]) << trips[true] << " batched, " << trips[false] << " single";
}

}  // namespace
