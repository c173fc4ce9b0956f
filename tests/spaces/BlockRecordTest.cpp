// The space block's data record: reading the extended data of a reference,
// writing it back, and what another DXF library finds in the saved file.

#include <gtest/gtest.h>

#include "SpacesTestSupport.h"
#include "infra/ZelkaExceptions.h"
#include "spaces/Attributes.h"
#include "spaces/BlockDWG.h"

using namespace spacetest;

namespace {

std::vector<std::pair<short, std::string>> items(std::initializer_list<std::string> texts)
{
    std::vector<std::pair<short, std::string>> list{{1002, "{"}};
    for (const auto& t : texts)
        list.emplace_back(1000, t);
    list.emplace_back(1002, "}");
    return list;
}

}  // namespace

TEST(BlockRecord, WrittenRecordIsReadBackByEzdxfItemForItem)
{
    Drawing d;
    AcDbObjectId def = d.defineSpace("ROOM-1", rectangle(0, 0, 4000, 3000));
    AcDbObjectId ref = d.insert(def, AcGePoint3d(100, 200, 0), {{"NAME", "Office 12"}, {"AREA", "12.00"}});
    AcDbObjectId extra = d.addModelPolyline(rectangle(5000, 0, 1000, 1000));
    AcDbObjectId hole = d.addModelPolyline(rectangle(500, 500, 100, 100));

    auto block = readBlock(d, ref);
    EXPECT_EQ(block->getXdataApplication(), "No X Data");
    EXPECT_EQ(block->getName(), "Office 12");
    EXPECT_EQ(block->getCode(), "Office 12");
    block->setUnits(0);
    block->setPrecision(2);
    block->setArea(12.5);
    block->setPerimeter(14.0);
    block->setRoomHeight(2.75);
    block->setVolume(-3.0);
    block->setCostCentre("CC-7");
    block->setTotalStaff("4");
    block->setHandlesToAdd(AcDbObjectIdArray{extra});
    block->setHandlesToMinus(AcDbObjectIdArray{hole});
    block->applyToDWG(d.drawing, false);

    auto dir = tempDir("record");
    d.save(dir / "room.dxf");
    InsertSeen seen = seeInsert(dir / "room.dxf", ref.handle().toString());
    std::string add = extra.handle().toString() + ",";
    std::string minus = hole.handle().toString() + ",";
    std::vector<std::string> expected = {
        "ADE|1001|ADE",
        "ADE|1002|{",
        "ADE|1000|AREA=12.50sq.m.",
        "ADE|1000|PERIMETER=14.00m.",
        "ADE|1000|NAME=Office 12",
        "ADE|1000|TAGTYPE=<Not Set>",
        "ADE|1000|AREA_TYPE=<Not Set>",
        "ADE|1000|COST_CENTRE=CC-7",
        "ADE|1000|DATE=<Not Set>",
        "ADE|1000|DATE_L_MOVE=<Not Set>",
        "ADE|1000|DEPT_CHARGE=<Not Set>",
        "ADE|1000|ROOM_HEIGHT=2.75m.",
        "ADE|1000|SPECIAL_REQ=<Not Set>",
        "ADE|1000|TOT_STAFF=4",
        "ADE|1000|TOT_WKSTNS=<Not Set>",
        "ADE|1000|VOLUME=-3.00cu.m.",
        "ADE|1000|HANDLESTOMINUS=" + minus,
        "ADE|1000|HANDLESTOADD=" + add,
        "ADE|1002|}",
    };
    EXPECT_EQ(seen.xdata, expected);
    EXPECT_EQ(seen.name, "ROOM-1");

    // Read back by the module from the database it wrote.
    auto again = readBlock(d, ref);
    EXPECT_EQ(again->getXdataApplication(), "ADE");
    EXPECT_DOUBLE_EQ(again->getArea(), 12.5);
    EXPECT_EQ(again->getPrecision(), 2);
    EXPECT_EQ(again->getUnits(), 0);
    EXPECT_DOUBLE_EQ(again->getRoomHeight(), 2.75);
    EXPECT_DOUBLE_EQ(again->getVolume(), -3.0);
    EXPECT_EQ(again->getHandlesToAddAsString(), add);
    EXPECT_EQ(again->getHandlesToMinusAsString(), minus);
}

TEST(BlockRecord, ImperialBlockWithGeneralPrecisionWritesFeetSuffixesAndGeneralNumbers)
{
    Drawing d;
    AcDbObjectId def = d.defineSpace("ROOM-2", rectangle(0, 0, 1000, 1000));
    AcDbObjectId ref = d.insert(def, AcGePoint3d(0, 0, 0));
    auto block = readBlock(d, ref);
    block->setArea(12.5);
    block->setPerimeter(0.1);
    // units still -1: the writer takes the imperial suffixes for anything but 0
    EXPECT_EQ(block->getPrecision(), -1);
    block->applyToDWG(d.drawing, false);
    auto dir = tempDir("imperial");
    d.save(dir / "room.dxf");
    InsertSeen seen = seeInsert(dir / "room.dxf", ref.handle().toString());
    ASSERT_EQ(seen.xdata.size(), 19u);
    EXPECT_EQ(seen.xdata[0], "ADE|1001|ADE");
    EXPECT_EQ(seen.xdata[2], "ADE|1000|AREA=12.5sq.ft.");
    EXPECT_EQ(seen.xdata[3], "ADE|1000|PERIMETER=0.1ft.");
    EXPECT_EQ(seen.xdata[15], "ADE|1000|VOLUME=0cu.ft.");
    EXPECT_EQ(seen.xdata[16], "ADE|1000|HANDLESTOMINUS=");
    // The name item carries the name attribute's text; without a name
    // attribute it is the name field (here the definition name).
    EXPECT_EQ(seen.xdata[4], "ADE|1000|NAME=DEFAULT NAME");
}

TEST(BlockRecord, ApplicationIsReadFromAdeFirstAndKeptForWriting)
{
    Drawing d;
    AcDbObjectId def = d.defineSpace("ROOM-3", rectangle(0, 0, 1000, 1000));
    AcDbObjectId both = d.insert(def, AcGePoint3d(0, 0, 0));
    AcDbObjectId aecOnly = d.insert(def, AcGePoint3d(2000, 0, 0));
    d.setRecord(both, "AECXDATA", items({"AREA=7.0sq.m.", "TAGTYPE=aec"}));
    d.setRecord(both, "ADE", items({"AREA=9.0sq.m.", "TAGTYPE=ade"}));
    d.setRecord(aecOnly, "AECXDATA", items({"AREA=7.0sq.m.", "TAGTYPE=aec"}));

    auto fromBoth = readBlock(d, both);
    EXPECT_EQ(fromBoth->getXdataApplication(), "ADE");
    EXPECT_EQ(fromBoth->getTagType(), "ade");
    EXPECT_DOUBLE_EQ(fromBoth->getArea(), 9.0);
    auto fromAec = readBlock(d, aecOnly);
    EXPECT_EQ(fromAec->getXdataApplication(), "AECXDATA");
    fromAec->applyToDWG(d.drawing, false);

    auto dir = tempDir("apps");
    d.save(dir / "apps.dxf");
    InsertSeen seen = seeInsert(dir / "apps.dxf", aecOnly.handle().toString());
    ASSERT_EQ(seen.xdata.size(), 19u);
    EXPECT_EQ(seen.xdata[2], "AECXDATA|1000|AREA=7.0sq.m.");
    EXPECT_EQ(seen.xdata[5], "AECXDATA|1000|TAGTYPE=aec");
}

TEST(BlockRecord, HandleListsKeepOnlyCommaTerminatedHandlesTheDrawingKnows)
{
    Drawing d;
    AcDbObjectId def = d.defineSpace("ROOM-5", rectangle(0, 0, 1000, 1000));
    AcDbObjectId ref = d.insert(def, AcGePoint3d(0, 0, 0));
    AcDbObjectId a = d.addModelPolyline(rectangle(0, 0, 10, 10));
    AcDbObjectId b = d.addModelPolyline(rectangle(20, 0, 10, 10));
    std::string ha = a.handle().toString(), hb = b.handle().toString();
    auto block = readBlock(d, ref);

    block->setHandlesToAdd(ha + "," + hb, d.database);
    EXPECT_EQ(block->getHandlesToAddAsString(), ha + ",");
    block->setHandlesToAdd(ha + "," + hb + ",", d.database);
    EXPECT_EQ(block->getHandlesToAddAsString(), ha + "," + hb + ",");
    block->setHandlesToMinus("FFFFF0," + hb + ",", d.database);
    EXPECT_EQ(block->getHandlesToMinusAsString(), hb + ",");

    // From ids: only lightweight polylines are kept.
    block->setHandlesToAdd(AcDbObjectIdArray{a, ref, b});
    EXPECT_EQ(block->getHandlesToAddAsString(), ha + "," + hb + ",");
    EXPECT_EQ(CBlockDWG::convertHandlesToObjectIds(block->getHandlesToAdd(), d.database).length(), 2);
}

TEST(BlockRecord, NameAttributeWinsOverTheRecordsNameItem)
{
    Drawing d;
    AcDbObjectId def = d.defineSpace("ROOM-6", rectangle(0, 0, 1000, 1000));
    AcDbObjectId ref = d.insert(def, AcGePoint3d(0, 0, 0), {{"NAME", "Kitchen"}});
    d.setRecord(ref, "ADE", items({"NAME=Pantry", "AREA=1.00sq.m."}));
    auto block = readBlock(d, ref);
    EXPECT_EQ(block->getName(), "Kitchen");
    std::vector<std::string> written = block->buildXDataItems();
    EXPECT_EQ(written[4], "NAME=Kitchen");

    AcDbObjectId bare = d.defineSpace("ROOM-7", rectangle(0, 0, 10, 10), AcGePoint3d(0, 0, 0), 250.0, {});
    AcDbObjectId bareRef = d.insert(bare, AcGePoint3d(0, 0, 0));
    EXPECT_EQ(readBlock(d, bareRef)->getName(), "ROOM-7");
}

TEST(BlockRecord, ApplyingRenamesTheDefinitionAndFailsWithTheHostStatusWhenTheReferenceIsGone)
{
    Drawing d;
    AcDbObjectId def = d.defineSpace("ROOM-8", rectangle(0, 0, 1000, 1000));
    AcDbObjectId ref = d.insert(def, AcGePoint3d(0, 0, 0));
    auto block = readBlock(d, ref);
    block->setBlockName("ROOM-80");
    block->applyToDWG(d.drawing, false);
    {
        AcDbObjectPointer<AcDbBlockTableRecord> record(def, AcDb::kForRead);
        EXPECT_EQ(record->name(), "ROOM-80");
        AcDbObjectPointer<AcDbBlockReference> reference(ref, AcDb::kForRead);
        EXPECT_EQ(reference->blockTableRecord(), def) << "the reference must follow its renamed definition";
    }
    // Applied again, the block finds its definition under the new name.
    block->applyToDWG(d.drawing, false);
    auto dir = tempDir("renamed");
    d.save(dir / "renamed.dxf");
    EXPECT_EQ(seeInsert(dir / "renamed.dxf", ref.handle().toString()).name, "ROOM-80");
    {
        AcDbObjectPointer<AcDbEntity> reference(ref, AcDb::kForWrite);
        reference->erase();
    }
    try {
        block->applyToDWG(d.drawing, false);
        FAIL() << "applying to an erased reference must fail";
    } catch (const CEXZelka& e) {
        EXPECT_EQ(e.getProcSig(), "CBlockDWG::applyToDWG");
        EXPECT_EQ(e.getClass(), "BlockDWG");
        EXPECT_EQ(e.innermost().getCode(), Acad::eWasErased);
    }
}

TEST(BlockRecord, NameOfTheRecordIsTheFirstNameItem)
{
    // The record's group 1000 texts, as AcDbObject::xDataTexts gives them.
    const std::vector<std::string_view> texts = {"NAMES=not this", "NAME=Store 2", "NAME=later"};
    EXPECT_EQ(CBlockDWG::readNameFromRecord(texts), "Store 2");
    EXPECT_EQ(CBlockDWG::readNameFromRecord({texts.begin() + 2, texts.end()}), "later");
    EXPECT_EQ(CBlockDWG::readNameFromRecord({}), "");
    EXPECT_EQ(CBlockDWG::readNameFromRecord({"NAME="}), "");
}

// Records are formatted into buffers kept from block to block: a record of
// fewer items written after one whose long hole list took several items
// holds its own items only, as ezdxf reads them from the saved file.
TEST(BlockRecord, ShortRecordWrittenAfterALongOneHoldsOnlyItsOwnItems)
{
    Drawing d;
    AcDbObjectId longRef = d.insert(d.defineSpace("ROOM-1", rectangle(0, 0, 9000, 9000)), AcGePoint3d(0, 0, 0));
    AcDbObjectId shortRef = d.insert(d.defineSpace("ROOM-2", rectangle(0, 0, 1000, 1000)), AcGePoint3d(0, 0, 0));
    AcDbObjectIdArray holes;
    for (int i = 0; i < 120; ++i) holes.append(d.addModelPolyline(rectangle(100.0 * i, 0, 50, 50)));

    auto first = readBlock(d, longRef);
    first->setHandlesToMinus(holes);
    first->applyToDWG(d.drawing, false);
    auto second = readBlock(d, shortRef);
    second->setUnits(0);
    second->setPrecision(2);
    second->applyToDWG(d.drawing, false);

    auto dir = tempDir("record-reuse");
    d.save(dir / "rooms.dxf");
    const std::vector<std::string> longSeen = seeInsert(dir / "rooms.dxf", longRef.handle().toString()).xdata;
    const std::vector<std::string> shortSeen = seeInsert(dir / "rooms.dxf", shortRef.handle().toString()).xdata;
    // ADE, {, 16 items with one hole list, }: 19; the long list takes more.
    EXPECT_GT(longSeen.size(), 19u);
    ASSERT_EQ(shortSeen.size(), 19u);
    EXPECT_EQ(shortSeen[2], "ADE|1000|AREA=0.00sq.m.");
    EXPECT_EQ(shortSeen[16], "ADE|1000|HANDLESTOMINUS=");
    EXPECT_EQ(shortSeen[17], "ADE|1000|HANDLESTOADD=");
    EXPECT_EQ(shortSeen[18], "ADE|1002|}");
}

// Items whose value is empty, blank or without a recognised unit. The area
// item without a unit is read whole, so it gives 0 and takes its precision
// from the item's first point; an empty handle list leaves the list alone.
TEST(BlockRecord, ItemsWithEmptyOrUnrecognisedValues)
{
    Drawing d;
    AcDbObjectId def = d.defineSpace("ROOM-10", rectangle(0, 0, 1000, 1000));
    AcDbObjectId ref = d.insert(def, AcGePoint3d(0, 0, 0));
    AcDbObjectId outline = d.addModelPolyline(rectangle(0, 0, 10, 10));
    auto block = readBlock(d, ref);
    block->setHandlesToAdd(AcDbObjectIdArray{outline});
    block->setHandlesToMinus(AcDbObjectIdArray{outline});
    block->setUnits(1);

    block->readXData({"AREA=sq.m.", "PERIMETER=ft.", "TAGTYPE=", "DATE= x ", "ROOM_HEIGHT=", "VOLUME=-0.5e1cu.m.",
                      "HANDLESTOADD=", "HANDLESTOMINUS=", "TOT_STAFF=12", "TOT_WKSTNS"},
                     d.drawing);
    EXPECT_EQ(block->getUnits(), 0);
    EXPECT_EQ(block->getPrecision(), 0);
    EXPECT_EQ(block->getArea(), 0.0);
    EXPECT_EQ(block->getPerimeter(), 0.0);
    EXPECT_EQ(block->getTagType(), "");
    EXPECT_EQ(block->getDate(), " x ");
    EXPECT_EQ(block->getRoomHeight(), 0.0);
    EXPECT_DOUBLE_EQ(block->getVolume(), -5.0);
    EXPECT_EQ(block->getTotalStaff(), "12");
    EXPECT_EQ(block->getTotalWorkstations(), "<Not Set>");
    std::string handle = outline.handle().toString() + ",";
    EXPECT_EQ(block->getHandlesToAddAsString(), handle);
    EXPECT_EQ(block->getHandlesToMinusAsString(), handle);

    block->setArea(4.0);
    block->readXData({"AREA=1.5sq.m.   ", "PERIMETER=7.25sq.ft."}, d.drawing);
    // "AREA=1.5sq.m." after trimming: six characters follow its point.
    EXPECT_EQ(block->getPrecision(), 6);
    EXPECT_EQ(block->getArea(), 0.0);
    EXPECT_EQ(block->getUnits(), 0);
    // "ft." is stripped, and the number reader stops at "sq.".
    EXPECT_DOUBLE_EQ(block->getPerimeter(), 7.25);
}

// A category record's replacement texts reach the drawing block's attributes
// of the same index; the block keeps its attribute layers, and an index the
// block lacks is added with the record's text. Applied, the texts are the
// attribute texts another reader sees in the saved file.
TEST(BlockRecord, CopiedFormattingPutsTheReplacementTextsOnTheAttributesOfTheSameIndex)
{
    Drawing d;
    AcDbObjectId def = d.defineSpace("ROOM-12", rectangle(0, 0, 1000, 1000), AcGePoint3d(0, 0, 0), 250.0,
                                     {"AREA", "NAME"});
    AcDbObjectId ref = d.insert(def, AcGePoint3d(0, 0, 0), {{"NAME", "Office"}, {"AREA", "1.00sq.m."}});
    auto block = readBlock(d, ref);
    ASSERT_NE(block->getAttributes(), nullptr);
    const std::string nameLayer = block->getAttributes()->getAtAttribute(0)->getLayer();
    ASSERT_FALSE(nameLayer.empty());

    CBlockDWG category;
    category.setArea(42.5);
    auto swaps = std::make_unique<CAttributes>();
    swaps->add(std::make_unique<CZelkaAttribute>(0, "Meeting"), false);
    swaps->add(std::make_unique<CZelkaAttribute>(2, "Level 3"), false);
    category.setAttributes(std::move(swaps));
    ASSERT_EQ(block->getAttributes()->getCount(), 2);
    category.copyFormatting(*block);

    EXPECT_EQ(block->getArea(), 42.5);
    const CAttributes& mine = *block->getAttributes();
    ASSERT_NE(mine.getAtAttribute(0), nullptr);
    EXPECT_EQ(mine.getAtAttribute(0)->getText(), "Meeting");
    EXPECT_EQ(mine.getAtAttribute(0)->getLayer(), nameLayer);
    ASSERT_NE(mine.getAtAttribute(1), nullptr);
    EXPECT_EQ(mine.getAtAttribute(1)->getText(), "1.00sq.m.") << "an index the record does not carry is left alone";
    ASSERT_NE(mine.getAtAttribute(2), nullptr);
    EXPECT_EQ(mine.getAtAttribute(2)->getText(), "Level 3");
    EXPECT_EQ(mine.getCount(), 3);

    block->applyToDWG(d.drawing, false);
    auto dir = tempDir("swapped");
    d.save(dir / "swapped.dxf");
    InsertSeen seen = seeInsert(dir / "swapped.dxf", ref.handle().toString());
    EXPECT_EQ(seen.attribs["NAME"].text, "Meeting");
    EXPECT_EQ(seen.attribs["NAME"].layer, nameLayer);
}

// Units 0 is metric; 1 and any other value (a hand-edited preferences file)
// are imperial, in the record and in the suffixes the commands write.
TEST(BlockRecord, UnitSuffixesFollowOneRuleInTheRecordAndTheAccessors)
{
    struct Case {
        int32_t units;
        std::string area, length, volume;
    };
    const Case cases[] = {{0, "sq.m.", "m.", "cu.m."},
                          {1, "sq.ft.", "ft.", "cu.ft."},
                          {2, "sq.ft.", "ft.", "cu.ft."},
                          {-1, "sq.ft.", "ft.", "cu.ft."}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.units);
        CBlockDWG block;
        block.setUnits(c.units);
        block.setPrecision(0);
        std::vector<std::string> texts = block.buildXDataItems();
        EXPECT_EQ(texts[2], "AREA=0" + c.area);
        EXPECT_EQ(texts[3], "PERIMETER=0" + c.length);
        EXPECT_EQ(texts[11], "ROOM_HEIGHT=0" + c.length);
        EXPECT_EQ(texts[15], "VOLUME=0" + c.volume);
        EXPECT_EQ(block.getAreaUnits(), c.area);
        EXPECT_EQ(block.getLengthUnits(), c.length);
    }
}
