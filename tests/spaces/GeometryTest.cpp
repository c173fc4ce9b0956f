// Area and perimeter of space blocks in the drawing's units, checked against
// hand computation and against ezdxf's own measure of the saved file.

#include <gtest/gtest.h>

#include <cmath>

#include "spaces/AcadUtilities.h"
#include "spaces/BlockDWG.h"

#include "SpacesTestSupport.h"

using namespace spacetest;

namespace {

std::unique_ptr<CBlockDWG> readBlock(Drawing& d, AcDbObjectId id, int units, int precision = 6)
{
    auto block = spacetest::readBlock(d, id);
    block->setUnits(units);
    block->setPrecision(precision);
    return block;
}

// Recalculates both measures in one step and again in two; the two ways must
// agree to the last bit (the checks below then hold for both).
void recalculate(CBlockDWG& block, Drawing& d)
{
    block.recalculateAreaAndPerimeter(d.drawing);
    const double area = block.getArea();
    const double perimeter = block.getPerimeter();
    block.recalculateArea(d.drawing);
    block.recalculatePerimeter(d.drawing);
    EXPECT_EQ(area, block.getArea());
    EXPECT_EQ(perimeter, block.getPerimeter());
}

}  // namespace

TEST(Geometry, InchDrawingInFeetAndMetres)
{
    Drawing d(true);
    AcDbObjectId def = d.defineSpace("ROOM-1", rectangle(0, 0, 10000, 5000));
    AcDbObjectId ref = d.insert(def, AcGePoint3d(0, 0, 0));
    auto imperial = readBlock(d, ref, 1);
    recalculate(*imperial, d);
    EXPECT_NEAR(imperial->getArea(), 50000000.0 / 144.0, 1e-6);
    EXPECT_NEAR(imperial->getPerimeter(), 30000.0 / 12.0, 1e-12);
    auto metric = readBlock(d, ref, 0);
    recalculate(*metric, d);
    // one square inch is 6.4516 square centimetres
    EXPECT_NEAR(metric->getArea(), 50000000.0 * 0.00064516, 1e-6);
    EXPECT_NEAR(metric->getPerimeter(), 30000.0 * 0.0254, 1e-9);
}

TEST(Geometry, ScaledRotatedAndMirroredReferencesAgreeWithEzdxf)
{
    Drawing d;
    std::vector<Vertex> outline = rectangle(0, 0, 4000, 3000);
    outline[1].bulge = 0.5;   // one arched wall
    outline[3].bulge = 0.25;  // and the closing wall arched too
    AcDbObjectId arched = d.defineSpace("ROOM-1", outline, AcGePoint3d(500, 250, 0));
    // Non-uniformly scaled arcs become ellipses, which ezdxf measures only by
    // fine flattening; those cases use a straight-walled outline.
    std::vector<Vertex> straight = {{0, 0}, {4000, 0}, {4500, 3000}, {0, 3000}};
    AcDbObjectId plain = d.defineSpace("ROOM-2", straight, AcGePoint3d(500, 250, 0));
    struct Case {
        AcGeScale3d scale;
        double rotation;
        bool uniform;
    } cases[] = {
        {AcGeScale3d(1, 1, 1), 0.0, true},    {AcGeScale3d(2, -2, 1), 0.0, true},
        {AcGeScale3d(2, 1, 1), 0.0, false},   {AcGeScale3d(1, 1, 1), kPi / 6, true},
        {AcGeScale3d(-1, 1, 1), 1.0, true},   {AcGeScale3d(0.5, 3, 1), 2.0, false},
        {AcGeScale3d(-1.5, -1.5, 1), 4.0, true},
    };
    std::vector<AcDbObjectId> refs;
    for (const Case& c : cases)
        refs.push_back(d.insert(c.uniform ? arched : plain, AcGePoint3d(1000.0 * static_cast<double>(refs.size()), 77, 0),
                                {}, c.scale, c.rotation));
    auto dir = tempDir("scales");
    d.save(dir / "scales.dxf");

    auto [plainArea, plainLength] = oracleMeasure(dir / "scales.dxf", refs[0].handle().toString());
    double straightArea = (4000.0 * 3000.0 + 500.0 * 3000.0 / 2.0);
    for (size_t i = 0; i < refs.size(); ++i) {
        auto [area, perimeter] = oracleMeasure(dir / "scales.dxf", refs[i].handle().toString());
        auto block = readBlock(d, refs[i], 0, 9);
        recalculate(*block, d);
        EXPECT_NEAR(block->getArea(), area / 1e6, 1e-9) << i;
        const Case& c = cases[i];
        double unscaled = c.uniform ? plainArea : straightArea;
        EXPECT_NEAR(block->getArea(), unscaled / 1e6 * std::fabs(c.scale.sx * c.scale.sy), 1e-9) << i;
        if (c.uniform) {
            EXPECT_NEAR(block->getPerimeter(), perimeter / 1000.0, 1e-9) << i;
            EXPECT_NEAR(block->getPerimeter(), plainLength / 1000.0 * std::fabs(c.scale.sx), 1e-9) << i;
        } else {
            EXPECT_EQ(block->getPerimeter(), 0.0) << i;
        }
    }
}

TEST(Geometry, ErasedOutlineIsPassedOverAndKeptAndTheNextOneStillCounts)
{
    Drawing d;
    AcDbObjectId def = d.defineSpace("ROOM-1", rectangle(0, 0, 1000, 1000));
    AcDbObjectId ref = d.insert(def, AcGePoint3d(0, 0, 0));
    AcDbObjectId a = d.addModelPolyline(rectangle(0, 0, 1000, 2000));
    AcDbObjectId b = d.addModelPolyline(rectangle(0, 0, 1000, 3000));
    AcDbObjectId c = d.addModelPolyline(rectangle(0, 0, 1000, 4000));
    auto block = readBlock(d, ref, 0);
    block->setHandlesToAdd(AcDbObjectIdArray{a, b, c});
    {
        AcDbObjectPointer<AcDbEntity> gone(b, AcDb::kForWrite);
        gone->erase();
    }
    EXPECT_DOUBLE_EQ(block->calcAddArea(d.drawing), 2.0 + 4.0);
    const std::string all = a.handle().toString() + "," + b.handle().toString() + "," + c.handle().toString() + ",";
    EXPECT_EQ(block->getHandlesToAddAsString(), all);
    block->recalculateArea(d.drawing);
    EXPECT_DOUBLE_EQ(block->getArea(), 1.0 + 2.0 + 4.0);
    // Brought back, the outline counts again.
    {
        AcDbObjectPointer<AcDbEntity> back(b, AcDb::kForWrite, true);
        ASSERT_TRUE(back);
        ASSERT_EQ(back->erase(false), Acad::eOk);
    }
    EXPECT_DOUBLE_EQ(block->calcAddArea(d.drawing), 2.0 + 3.0 + 4.0);

    // A handle the drawing never knew is passed over and kept.
    block->setHandlesToMinus(AcDbObjectIdArray{a});
    block->setHandlesToMinus(block->getHandlesToMinusAsString() + "FFFF0,", d.database);
    EXPECT_DOUBLE_EQ(block->calcSubArea(d.drawing), 2.0);
}

TEST(Geometry, DefinitionWithoutOutlineCountsOnlyTheLists)
{
    Drawing d;
    AcDbObjectId def = d.defineSpace("ROOM-1", {});
    AcDbObjectId ref = d.insert(def, AcGePoint3d(0, 0, 0));
    AcDbObjectId add = d.addModelPolyline(rectangle(0, 0, 3000, 1000));
    AcDbObjectId sub = d.addModelPolyline(rectangle(0, 0, 1000, 1000));
    auto block = readBlock(d, ref, 0);
    block->setHandlesToAdd(AcDbObjectIdArray{add});
    block->setHandlesToMinus(AcDbObjectIdArray{sub});
    recalculate(*block, d);
    EXPECT_DOUBLE_EQ(block->getArea(), -1.0 + 3.0);
    EXPECT_DOUBLE_EQ(block->getPerimeter(), 4.0 + 8.0);
}

// Lists naming the space's own outline and its reference: the one-step
// recalculation holds both open for read while it sums the lists, and must
// still read them there as the two steps do.
TEST(Geometry, ListsNamingTheOwnOutlineAndTheReference)
{
    Drawing d;
    AcDbObjectId def = d.defineSpace("ROOM-1", rectangle(0, 0, 1000, 2000));
    AcDbObjectId ref = d.insert(def, AcGePoint3d(0, 0, 0));
    const AcDbObjectId outline = CAcadUtilities::getBlockOutlineId(def);
    ASSERT_FALSE(outline.isNull());
    auto block = readBlock(d, ref, 0);
    block->setHandlesToAdd(AcDbObjectIdArray{outline});
    block->setHandlesToMinus(AcDbObjectIdArray{ref});
    recalculate(*block, d);
    EXPECT_DOUBLE_EQ(block->getArea(), 2.0 + 2.0);
    EXPECT_DOUBLE_EQ(block->getPerimeter(), 6.0 + 6.0);
}
