// Gathering the space blocks of a plan with their assets: each room gets the
// same assets, in the same order, as a crossing selection of its outline that
// scans the whole drawing; the assets agree with an independent reading of
// the plan (ezdxf: furniture whose insertion point lies inside the room is
// taken, nothing whose extents miss the room's is); and the pass tests only
// entities near each room instead of every entity once per room.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "database/Assets.h"
#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbPolyline.h"
#include "host/ed/SelectionIndex.h"
#include "module/AcadDrawing.h"
#include "spaces/BlockDWGRoom.h"
#include "spaces/Blocks.h"
#include "tests/common/TestRequirements.h"
#include "tests/database/TakeOffTestSupport.h"
#include "tests/host/dxfTestSupport.h"

namespace {

std::vector<std::string> handlesOf(const CAssets& assets)
{
    std::vector<std::string> handles;
    for (int i = 0; i < assets.getCount(); ++i) handles.push_back(assets.getAt(i).getHandle());
    return handles;
}

// The room's assets by a selection outside any gathering pass: every entity
// of the drawing tested against the outline.
std::vector<std::string> scannedAssets(CAcadDrawing& drawing, const CBlockDWGRoom& room)
{
    AcDbDatabase* db = drawing.getDatabase();
    AcDbObjectId referenceId;
    EXPECT_EQ(db->getAcDbObjectId(referenceId, false, AcDbHandle(room.getHandle().c_str())), Acad::eOk);
    AcDbObjectPointer<AcDbBlockReference> reference(referenceId, AcDb::kForRead);
    AcDbObjectPointer<AcDbPolyline> outline(room.getOutlineId(), AcDb::kForRead);
    if (!reference || !outline) {
        ADD_FAILURE() << "room " << room.getHandle() << " has no outline";
        return {};
    }
    std::unique_ptr<AcDbEntity> placed(outline->clone());
    EXPECT_EQ(placed->transformBy(reference->blockTransform()), Acad::eOk);
    reference.close();
    outline.close();
    CAssets assets;
    assets.getPolylineAssets(drawing, static_cast<const AcDbPolyline*>(placed.get()));
    return handlesOf(assets);
}

TEST(AssetGathering, RoomsGetTheAssetsAWholeDrawingScanGivesAndTheIndependentReadingAllows)
{
    ZELKA_REQUIRE_EZDXF();
    const std::filesystem::path dir = dxftest::tempDir("asset-gathering");
    std::filesystem::copy_file(dxftest::sourceDir() / "examples/office.dxf", dir / "office.dxf",
                               std::filesystem::copy_options::overwrite_existing);
    const std::string generate = std::string(ZELKA_PYTHON) + " " + ZELKA_SOURCE_DIR + "/bench/gen_floorplan.py --out '" +
                                 (dir / "generated.dxf").string() +
                                 "' --rooms 150 --rooms-per-floor 50 --seed 4 --base-points > /dev/null";
    ASSERT_EQ(std::system(generate.c_str()), 0) << generate;

    struct Case {
        const char* file;
        int minRooms;
    } cases[] = {{"office.dxf", 5}, {"generated.dxf", 150}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::map<std::string, dbtest::OracleRoom> expected = dbtest::takeOffOracle(dir / c.file).rooms;
        ASSERT_GE(static_cast<int>(expected.size()), c.minRooms);
        CAcadDrawing drawing(dir.string() + "/", c.file);
        ASSERT_NE(drawing.getDatabase(), nullptr);

        const uint64_t testsBefore = SelectionIndex::windowShapeTests();
        CBlocks blocks;
        blocks.getZelkaDWGBlocks_SS(drawing, true, "f");
        const uint64_t gatheringTests = SelectionIndex::windowShapeTests() - testsBefore;

        int rooms = 0, withAssets = 0;
        for (int i = 0; i < blocks.size(); ++i) {
            const auto* room = dynamic_cast<const CBlockDWGRoom*>(&blocks.getAt(i));
            if (!room) continue;
            SCOPED_TRACE(room->getHandle());
            ++rooms;
            ASSERT_NE(room->getAssets(), nullptr);
            const std::vector<std::string> gathered = handlesOf(*room->getAssets());
            EXPECT_EQ(gathered, scannedAssets(drawing, *room));
            ASSERT_TRUE(expected.count(room->getHandle()));
            const dbtest::OracleRoom& truth = expected.at(room->getHandle());
            std::set<std::string> got(gathered.begin(), gathered.end());
            for (const std::string& h : truth.assets) EXPECT_TRUE(got.count(h)) << "missing asset " << h;
            for (const std::string& h : got) EXPECT_TRUE(truth.near.count(h)) << "asset " << h << " is nowhere near";
            if (!gathered.empty()) ++withAssets;
        }
        EXPECT_EQ(rooms, static_cast<int>(expected.size()));
        EXPECT_GT(withAssets, rooms / 2) << "the plan should furnish most rooms";

        // Scanning tests every model-space entity once per room; the pass
        // tests only those near each room.
        AcDbObjectPointer<AcDbBlockTableRecord> space(drawing.getDatabase()->modelSpaceId(), AcDb::kForRead);
        const uint64_t entities = space->entityIds().size();
        space.close();
        if (rooms >= 100) {
            EXPECT_LT(gatheringTests, entities * rooms / 10)
                << gatheringTests << " shape tests for " << rooms << " rooms among " << entities << " entities";
        }
    }
}

}  // namespace
