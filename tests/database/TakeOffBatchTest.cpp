// The take-off sends its calls in batches (several calls per round trip)
// when the driver takes them: a call the database refuses inside a batch
// must undo everything and be named with the block it was for. (The rows of
// both ways of sending are checked against the drawing in TakeOffTest.)

#include <filesystem>
#include <map>

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

TEST(TakeOffBatch, ACallRefusedInsideABatchUndoesEverythingAndNamesItsBlock)
{
    zelkatest::TempFolder source;
    Registered plan(dbtest::generatedPlan(source, "plan.dxf", "--rooms 24 --rooms-per-floor 24 --seed 13"),
                    "batch-refused");
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
