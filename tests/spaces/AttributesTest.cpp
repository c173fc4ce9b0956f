// Space block attributes: reading tags, text layout around the area point
// under rotation and UCS, and what ezdxf finds in the saved drawing.

#include <gtest/gtest.h>

#include <cmath>

#include "spaces/Attributes.h"
#include "spaces/BlockDWG.h"

#include "SpacesTestSupport.h"

using namespace spacetest;

TEST(Attributes, RotationIsMeasuredInTheCurrentUcs)
{
    Drawing d;
    AcDbObjectId def = d.defineSpace("ROOM-1", rectangle(0, 0, 4000, 3000), AcGePoint3d(0, 0, 0), 200.0);
    AcDbObjectId ref = d.insert(def, AcGePoint3d(0, 0, 0), {{"NAME", "N"}});
    // A UCS turned 90 degrees: its X axis is the world Y axis.
    ASSERT_EQ(d.database->setUcs(AcGePoint3d(50, 60, 0), AcGeVector3d(0, 1, 0), AcGeVector3d(-1, 0, 0)), Acad::eOk);
    auto block = readBlock(d, ref);
    // World-horizontal text reads as -90 degrees (270) in that UCS.
    EXPECT_NEAR(block->getAttributes()->getRotation(), 270.0, 1e-9);

    // Horizontal in the UCS is world-vertical: the name goes 1.5 h to the world left.
    block->getAttributes()->setRotation(0.0);
    AcGePoint3d anchor(1000, 1000, 0);
    block->updateAttributes(CBlockDWG::currentUcsMatrix(d.drawing), &anchor);
    auto dir = tempDir("ucs");
    d.save(dir / "ucs.dxf");
    InsertSeen seen = seeInsert(dir / "ucs.dxf", ref.handle().toString());
    EXPECT_NEAR(seen.attribs["AREA"].rotation, 90.0, 1e-9);
    EXPECT_NEAR(seen.attribs["NAME"].x, 1000.0 - 300.0, 1e-9);
    EXPECT_NEAR(seen.attribs["NAME"].y, 1000.0, 1e-9);
    EXPECT_NEAR(seen.attribs["AUX"].x, 1000.0 + 300.0, 1e-9);
    EXPECT_NEAR(seen.attribs["AREA"].x, 1000.0, 1e-9);

    // A 30 degree text in world coordinates, no UCS.
    ASSERT_EQ(d.database->setUcs(AcGePoint3d(0, 0, 0), AcGeVector3d(1, 0, 0), AcGeVector3d(0, 1, 0)), Acad::eOk);
    block->getAttributes()->setRotation(30.0);
    block->updateAttributes(CBlockDWG::currentUcsMatrix(d.drawing), &anchor);
    d.save(dir / "ucs30.dxf");
    seen = seeInsert(dir / "ucs30.dxf", ref.handle().toString());
    EXPECT_NEAR(seen.attribs["NAME"].rotation, 30.0, 1e-9);
    EXPECT_NEAR(seen.attribs["NAME"].x, 1000.0 - 300.0 * std::sin(kPi / 6), 1e-9);
    EXPECT_NEAR(seen.attribs["NAME"].y, 1000.0 + 300.0 * std::cos(kPi / 6), 1e-9);
}

TEST(Attributes, LowerCaseTagsAreReadButNotWritten)
{
    Drawing d;
    AcDbObjectId def = d.defineSpace("ROOM-1", rectangle(0, 0, 100, 100), AcGePoint3d(0, 0, 0), 10.0,
                                     {"area", "name", "aux"});
    AcDbObjectId ref = d.insert(def, AcGePoint3d(0, 0, 0), {{"name", "Hall"}});
    auto block = readBlock(d, ref);
    EXPECT_EQ(block->getName(), "Hall");
    ASSERT_NE(block->getAttributes()->getAtAttribute(0), nullptr);
    block->getAttributes()->getAtAttribute(0)->setText("Changed");
    block->applyToDWG(d.drawing, false);
    auto again = readBlock(d, ref);
    EXPECT_EQ(again->getName(), "Hall");
}

TEST(Attributes, FirstOfTwoNameAttributesIsKept)
{
    Drawing d;
    AcDbObjectId def = d.defineSpace("ROOM-1", rectangle(0, 0, 100, 100), AcGePoint3d(0, 0, 0), 10.0,
                                     {"NAME", "AREA", "NAME"});
    AcDbObjectId ref = d.insert(def, AcGePoint3d(0, 0, 0));
    {
        AcDbObjectPointer<AcDbBlockReference> reference(ref, AcDb::kForRead);
        std::unique_ptr<AcDbObjectIterator> it(reference->attributeIterator());
        int n = 0;
        for (it->start(); !it->done(); it->step(), ++n) {
            AcDbObjectPointer<AcDbAttribute> attribute(it->objectId(), AcDb::kForWrite);
            attribute->setTextString(n == 0 ? "First" : "Second");
        }
    }
    auto block = readBlock(d, ref);
    EXPECT_EQ(block->getAttributes()->getCount(), 2);
    EXPECT_EQ(block->getName(), "First");
}

TEST(Attributes, HidingRecordsOnlyVisibleAttributesAndShowsExactlyThose)
{
    Drawing d;
    AcDbObjectId def = d.defineSpace("ROOM-1", rectangle(0, 0, 100, 100));
    AcDbObjectId ref = d.insert(def, AcGePoint3d(0, 0, 0));
    AcDbObjectId hiddenBefore;
    {
        AcDbObjectPointer<AcDbBlockReference> reference(ref, AcDb::kForRead);
        std::unique_ptr<AcDbObjectIterator> it(reference->attributeIterator());
        it->start();
        hiddenBefore = it->objectId();
        AcDbObjectPointer<AcDbAttribute> attribute(hiddenBefore, AcDb::kForWrite);
        attribute->setInvisible(true);
    }
    CAttributes hidden;
    {
        AcDbObjectPointer<AcDbBlockReference> reference(ref, AcDb::kForRead);
        hidden.setAttributesIDsInvisible(reference.object());
    }
    EXPECT_EQ(hidden.getCount(), 2);
    hidden.setAttributesIDsVisible();
    AcDbObjectPointer<AcDbBlockReference> reference(ref, AcDb::kForRead);
    std::unique_ptr<AcDbObjectIterator> it(reference->attributeIterator());
    for (it->start(); !it->done(); it->step()) {
        AcDbObjectPointer<AcDbAttribute> attribute(it->objectId(), AcDb::kForRead);
        EXPECT_EQ(attribute->isInvisible(), it->objectId() == hiddenBefore);
    }
}

TEST(Attributes, TagsAreMatchedWholeIgnoringCase)
{
    Drawing d;
    AcDbObjectId def = d.defineSpace("ROOM-1", rectangle(0, 0, 100, 100), AcGePoint3d(0, 0, 0), 10.0,
                                     {"NAM", "AUXX", "aReA", "Name", "AU", "aux", "NAMES"});
    AcDbObjectId ref = d.insert(def, AcGePoint3d(0, 0, 0), {{"Name", "Hall"}, {"aReA", "12.00"}, {"aux", "x"}});
    auto block = readBlock(d, ref);
    const CAttributes* attributes = block->getAttributes();
    ASSERT_EQ(attributes->getCount(), 3);
    EXPECT_EQ(attributes->getAt(0).getKey(), "AREA");
    EXPECT_EQ(attributes->getAt(0).getText(), "12.00");
    EXPECT_EQ(attributes->getAt(1).getKey(), "NAME");
    EXPECT_EQ(attributes->getAt(1).getText(), "Hall");
    EXPECT_EQ(attributes->getAt(2).getKey(), "AUX");
    EXPECT_EQ(attributes->getAt(2).getText(), "x");
    EXPECT_EQ(block->getName(), "Hall");
}
