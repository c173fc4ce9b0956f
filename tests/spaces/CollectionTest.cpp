// The drawing's space blocks as a collection: classification by definition
// name, record and drawing level; look-ups and sorting; naming of new
// spaces; a non-uniformly scaled space block is not deleted.

#include <gtest/gtest.h>

#include "infra/ZelkaExceptions.h"
#include "spaces/BlockDWG.h"
#include "spaces/Blocks.h"

#include "SpacesTestSupport.h"

using namespace spacetest;

namespace {

// A floor plan: a gross area block, two rooms, a ROOM- block whose record
// names it GROSS AREA, a legend marker and a chair.
struct FloorPlan {
    Drawing d;
    AcDbObjectId gross, room1, room2, fakeGross, marker, chair;
    FloorPlan()
    {
        AcDbObjectId grossDef = d.defineSpace("ROOM-GROSS_AREA", rectangle(0, 0, 20000, 10000));
        AcDbObjectId def1 = d.defineSpace("ROOM-1", rectangle(0, 0, 5000, 5000));
        AcDbObjectId def2 = d.defineSpace("ROOM-2", rectangle(0, 0, 5000, 5000));
        AcDbObjectId def3 = d.defineSpace("ROOM-3", rectangle(0, 0, 100, 100));
        AcDbObjectId markerDef = d.defineSpace("MARKER-LEGEND", {}, AcGePoint3d(0, 0, 0), 10.0, {});
        AcDbObjectId chairDef = d.defineSpace("CHAIR", rectangle(0, 0, 500, 500), AcGePoint3d(0, 0, 0), 10.0, {});
        gross = d.insert(grossDef, AcGePoint3d(0, 0, 0), {{"NAME", "Floor 1"}});
        room1 = d.insert(def1, AcGePoint3d(0, 0, 0), {{"NAME", "Room 1"}});
        chair = d.insert(chairDef, AcGePoint3d(100, 100, 0));
        room2 = d.insert(def2, AcGePoint3d(5000, 0, 0), {{"NAME", "Room 2"}});
        fakeGross = d.insert(def3, AcGePoint3d(9000, 0, 0));
        d.setRecord(fakeGross, "ADE", {{1002, "{"}, {1000, "NAME=GROSS AREA"}, {1002, "}"}});
        marker = d.insert(markerDef, AcGePoint3d(0, 0, 0));
    }
};

std::vector<int> kinds(const CBlocks& blocks)
{
    std::vector<int> list;
    for (int i = 0; i < blocks.size(); ++i)
        list.push_back(static_cast<int>(blocks.getAt(i).getBlockKind()));
    return list;
}

}  // namespace

TEST(Collection, FloorAndSitePlansClassifyTheSameDrawingDifferently)
{
    FloorPlan plan;
    CBlocks floor;
    floor.getZelkaDWGBlocks_SS(plan.d.drawing, false, "f");
    EXPECT_EQ(kinds(floor), (std::vector<int>{8, 7, 7}));
    EXPECT_EQ(floor.getCount(), 3);
    EXPECT_EQ(floor.getAt(0).getName(), "Floor 1");
    EXPECT_EQ(floor.getAt(2).getName(), "Room 2");
    EXPECT_EQ(floor.getAt(plan.fakeGross.handle().toString()), nullptr);

    CBlocks site;
    site.getZelkaDWGBlocks_SS(plan.d.drawing, false, "s");
    EXPECT_EQ(kinds(site), (std::vector<int>{10, 9, 9}));

    // Walking model space takes any block but the markers: the chair is a room.
    CBlocks walked;
    walked.getZelkaDWGBlocks_I(plan.d.drawing, false, "f");
    EXPECT_EQ(kinds(walked), (std::vector<int>{8, 7, 7, 7}));
    EXPECT_NE(walked.getAt(plan.chair.handle().toString()), nullptr);
    EXPECT_EQ(floor.getAt(plan.chair.handle().toString()), nullptr);

    CBlocks all;
    all.getAcadBlocks(plan.d.drawing);
    EXPECT_EQ(all.size(), 6);
    EXPECT_EQ(kinds(all), (std::vector<int>(6, 6)));

    // Filling appends.
    floor.getZelkaDWGBlocks_SS(plan.d.drawing, false, "f");
    EXPECT_EQ(floor.size(), 6);
}

// The record that marks a gross area is looked for under "ADE" first, then
// under "AECXDATA", as the block itself reads it; whichever way it is
// found, the collected rooms carry the fields of the same record.
TEST(Collection, GrossAreaRecordIsFoundWhereTheBlockReadsItsRecord)
{
    Drawing d;
    AcDbObjectId def = d.defineSpace("ROOM-1", rectangle(0, 0, 1000, 1000));
    AcDbObjectId aecGross = d.insert(def, AcGePoint3d(0, 0, 0));
    AcDbObjectId adeRoom = d.insert(def, AcGePoint3d(2000, 0, 0), {{"NAME", "Hall"}});
    AcDbObjectId aecRoom = d.insert(def, AcGePoint3d(4000, 0, 0), {{"NAME", "Porch"}});
    d.setRecord(aecGross, "AECXDATA", {{1002, "{"}, {1000, "NAME=GROSS AREA"}, {1002, "}"}});
    // The "ADE" record names a room: the "AECXDATA" one is not looked at.
    d.setRecord(adeRoom, "AECXDATA", {{1002, "{"}, {1000, "NAME=GROSS AREA"}, {1002, "}"}});
    d.setRecord(adeRoom, "ADE", {{1002, "{"}, {1000, "AREA=3.25sq.m."}, {1000, "NAME=Hall"}, {1002, "}"}});
    d.setRecord(aecRoom, "AECXDATA",
                {{1002, "{"}, {1000, "NAME=gross area"}, {1000, "TAGTYPE=t1"}, {1000, "AREA=8sq.ft."}, {1002, "}"}});

    CBlocks rooms;
    rooms.getZelkaDWGBlocks_SS(d.drawing, false, "f");
    ASSERT_EQ(rooms.size(), 2);
    EXPECT_EQ(rooms.getAt(aecGross.handle().toString()), nullptr);
    auto* hall = static_cast<CBlockDWG*>(rooms.getAt(adeRoom.handle().toString()));
    auto* porch = static_cast<CBlockDWG*>(rooms.getAt(aecRoom.handle().toString()));
    ASSERT_NE(hall, nullptr);
    ASSERT_NE(porch, nullptr);
    EXPECT_EQ(hall->getXdataApplication(), "ADE");
    EXPECT_DOUBLE_EQ(hall->getArea(), 3.25);
    EXPECT_EQ(hall->getPrecision(), 2);
    EXPECT_EQ(porch->getXdataApplication(), "AECXDATA");
    EXPECT_EQ(porch->getTagType(), "t1");
    EXPECT_EQ(porch->getUnits(), 1);
    EXPECT_DOUBLE_EQ(porch->getArea(), 8.0);

    AcDbObjectPointer<AcDbBlockReference> reference(adeRoom, AcDb::kForRead);
    EXPECT_EQ(CBlocks::readNameFromXData(reference.object()), "Hall");

    CBlocks buildings;
    buildings.getZelkaDWGBlocks_SS(d.drawing, false, "s");
    EXPECT_EQ(buildings.size(), 2);
    EXPECT_EQ(buildings.getAt(aecGross.handle().toString()), nullptr);
}

// The searches cover the whole drawing as the "X" selection does: model
// space, the active paper space, then another layout's paper space; the walk
// of model space alone does not.
TEST(Collection, SearchesCoverEveryLayoutAndTheModelSpaceWalkDoesNot)
{
    Drawing d;
    AcDbObjectId otherLayout;
    {
        AcDbObjectPointer<AcDbBlockTable> table(d.database->blockTableId(), AcDb::kForWrite);
        auto* record = new AcDbBlockTableRecord();
        ASSERT_EQ(record->setName("*Paper_Space0"), Acad::eOk);
        ASSERT_EQ(table->add(otherLayout, record), Acad::eOk);
        record->close();
    }
    ASSERT_FALSE(d.database->paperSpaceId().isNull());
    AcDbObjectId def1 = d.defineSpace("ROOM-1", rectangle(0, 0, 1000, 1000));
    AcDbObjectId def2 = d.defineSpace("ROOM-2", rectangle(0, 0, 1000, 1000));
    AcDbObjectId def3 = d.defineSpace("ROOM-3", rectangle(0, 0, 1000, 1000));
    AcDbObjectId markerDef = d.defineSpace("MARKER-LEGEND", {}, AcGePoint3d(0, 0, 0), 10.0, {});
    const AcGeScale3d one(1, 1, 1);
    AcDbObjectId onSheet = d.insert(def3, AcGePoint3d(0, 0, 0), {}, one, 0.0, otherLayout);
    AcDbObjectId marker = d.insert(markerDef, AcGePoint3d(0, 0, 0), {}, one, 0.0, otherLayout);
    AcDbObjectId paper = d.insert(def2, AcGePoint3d(0, 0, 0), {}, one, 0.0, d.database->paperSpaceId());
    AcDbObjectId model = d.insert(def1, AcGePoint3d(0, 0, 0));

    CBlocks found;
    found.getZelkaDWGBlocks_SS(d.drawing, false, "f");
    ASSERT_EQ(found.getCount(), 3);
    EXPECT_EQ(found.getAt(0).getHandle(), model.handle().toString());
    EXPECT_EQ(found.getAt(1).getHandle(), paper.handle().toString());
    EXPECT_EQ(found.getAt(2).getHandle(), onSheet.handle().toString());

    CBlocks walked;
    walked.getZelkaDWGBlocks_I(d.drawing, false, "f");
    ASSERT_EQ(walked.getCount(), 1);
    EXPECT_EQ(walked.getAt(0).getHandle(), model.handle().toString());

    CBlocks every;
    every.getAcadBlocks(d.drawing);
    EXPECT_EQ(every.getCount(), 4);
    CBlocks legend;
    legend.getLegendBlock_SS(d.drawing);
    ASSERT_EQ(legend.getCount(), 1);
    EXPECT_EQ(legend.getAt(0).getHandle(), marker.handle().toString());

    // The host's own "X" selection takes the same references in the same order.
    EXPECT_EQ(dxftest::selectInserts(), (std::vector<AcDbObjectId>{model, paper, onSheet, marker}));
}

TEST(Collection, NameSearchTakesTheDrawingAskedForWhetherCurrentOrNot)
{
    // Names are matched ignoring case, in drawing order, over the drawing
    // given: the current document through the host's selection, another
    // one by opening its references.
    Drawing back;
    AcDbObjectId lower = back.defineSpace("room-7", rectangle(0, 0, 100, 100));
    AcDbObjectId chairDef = back.defineSpace("CHAIR", rectangle(0, 0, 10, 10), AcGePoint3d(0, 0, 0), 10.0, {});
    AcDbObjectId first = back.insert(lower, AcGePoint3d(0, 0, 0));
    back.insert(chairDef, AcGePoint3d(5, 5, 0));
    AcDbObjectId second = back.insert(lower, AcGePoint3d(200, 0, 0));
    Drawing front;
    AcDbObjectId frontRoom = front.insert(front.defineSpace("ROOM-1", rectangle(0, 0, 100, 100)), AcGePoint3d(0, 0, 0));
    ASSERT_EQ(acDocManagerPtr()->curDocument(), front.document);

    const struct {
        const char* label;
        Drawing& drawing;
        const char* pattern;
        std::vector<AcDbObjectId> expected;
    } cases[] = {
        {"not current", back, "ROOM-*", {first, second}},
        {"not current, no match", back, "MARKER-LEGEND", {}},
        {"current", front, "ROOM-*", {frontRoom}},
        {"current, lower-case pattern", front, "room-1", {frontRoom}},
        {"current, no match", front, "CHAIR", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(CBlocks::getZelkaBlockSS(c.drawing.drawing, c.pattern), c.expected);
    }
}

TEST(Collection, LookUpsSortingAndRemoval)
{
    FloorPlan plan;
    CBlocks blocks;
    blocks.getZelkaDWGBlocks_SS(plan.d.drawing, false, "f");
    std::string handle = plan.room2.handle().toString();
    ASSERT_NE(blocks.getAt(handle), nullptr);
    std::string lower = handle;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower != handle) {
        EXPECT_EQ(blocks.getAt(lower), nullptr);
    }
    EXPECT_EQ(blocks.getByCode("Room 1")->getHandle(), plan.room1.handle().toString());
    EXPECT_THROW(blocks.getAt(3), CEXZelka);

    CBlocks handles;
    for (const char* h : {"2A", "100", "1F"}) {
        auto block = std::make_unique<CBlock>();
        block->setHandle(h);
        handles.addBlock(std::move(block));
    }
    handles.sortBlocksByHandle(true);
    EXPECT_EQ(handles.getAt(0).getHandle(), "1F");
    EXPECT_EQ(handles.getAt(1).getHandle(), "2A");
    EXPECT_EQ(handles.getAt(2).getHandle(), "100");
    handles.sortBlocksByHandle(false);
    EXPECT_EQ(handles.getAt(0).getHandle(), "100");

    EXPECT_TRUE(blocks.deleteObject(&blocks.getAt(1)));
    EXPECT_EQ(blocks.size(), 2);
    EXPECT_FALSE(blocks.deleteObject(nullptr));
}

TEST(Naming, NextDefinitionNumber)
{
    Drawing empty;
    EXPECT_EQ(CBlocks::calcNextBlockIdentifier(empty.database), 1);
    EXPECT_EQ(CBlocks::calcNextBlockIdentifier(nullptr), 0);
    Drawing d;
    for (const char* name : {"ROOM-3", "ROOM-12", "room-40", "ROOM-GROSS_AREA", "ROOMS-99", "ROOM-7b"})
        d.defineSpace(name, {}, AcGePoint3d(0, 0, 0), 10.0, {});
    EXPECT_EQ(CBlocks::calcNextBlockIdentifier(d.database), 41);
}

TEST(Naming, NextSpaceName)
{
    EXPECT_EQ(CBlocks::calcNextBlockName("", 1), "Room 1");
    EXPECT_EQ(CBlocks::calcNextBlockName("Office 010", 1), "Office 011");
    EXPECT_EQ(CBlocks::calcNextBlockName("Office 099", 1), "Office 100");
    EXPECT_EQ(CBlocks::calcNextBlockName("Lab 10", 5), "Lab 15");
    EXPECT_EQ(CBlocks::calcNextBlockName("Store", 1), "Store1");
    EXPECT_EQ(CBlocks::calcNextBlockName("Room 1.5", 1), "Room 1.6");
    std::string leading, number;
    CBlocks::splitTrailingNumber("Lobby", leading, number);
    EXPECT_EQ(number, "");
    CBlocks::splitTrailingNumber("12", leading, number);
    EXPECT_EQ(leading, "");
    EXPECT_EQ(number, "12");
    // The highest name of a drawing is checked through the creation form by
    // BlockCreation.ADuplicateNameIsMadeOnlyAfterYes.
}

TEST(Deleting, NonUniformlyScaledReferenceIsKept)
{
    Drawing d;
    AcDbObjectId def = d.defineSpace("ROOM-9", rectangle(0, 0, 10, 10));
    AcDbObjectId ref = d.insert(def, AcGePoint3d(0, 0, 0), {}, AcGeScale3d(2, 1, 1));
    AcDbObjectId other = d.insert(def, AcGePoint3d(50, 0, 0));
    {
        AcDbObjectPointer<AcDbBlockReference> reference(ref, AcDb::kForRead);
        CBlockDWG block(reference.object(), d.drawing);
        reference.close();
        EXPECT_FALSE(block.deleteBlock(d.drawing));
    }
    EXPECT_FALSE(ref.isErased());
    // The second reference still inserts the definition, so it stays.
    AcDbObjectPointer<AcDbBlockReference> reference(other, AcDb::kForRead);
    CBlockDWG block(reference.object(), d.drawing);
    reference.close();
    EXPECT_TRUE(block.deleteBlock(d.drawing));
    EXPECT_FALSE(def.isErased());
}
