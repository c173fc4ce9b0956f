// Finding the legend and pie chart marker blocks of a drawing and reading
// their settings: none, one and two markers; the insertion point of a turned
// and scaled marker worked out here by hand; the rotation measured in the
// current UCS; space blocks and other blocks are never taken for markers.

#include <gtest/gtest.h>

#include <cmath>

#include "editing/MarkerBlockLegend.h"
#include "editing/MarkerBlockPie.h"
#include "host/db/AcDbCircle.h"
#include "spaces/Blocks.h"

#include "SpacesTestSupport.h"

using namespace spacetest;

namespace {

const std::vector<std::string> kLegendTags = {"LEGENDTITLE", "LEGENDTEXTSIZE", "LEGENDPRECISION", "LEGENDROTATION",
                                              "LEGENDUNITS"};
const std::vector<std::string> kPieTags = {"PIETITLE", "PIETEXTSIZE", "PIEPRECISION", "PIERADIUS",
                                           "PIEXYOFFSETVALUE"};

// The legend marker definition: an outline whose first vertex is (10, 20).
AcDbObjectId defineLegend(Drawing& d)
{
    return d.defineSpace("MARKER-LEGEND", {{10, 20}, {4010, 20}, {4010, 3020}, {10, 3020}}, AcGePoint3d(0, 0, 0),
                         250.0, kLegendTags);
}

// The pie marker definition: a circle of radius 1500 about (5, -5).
AcDbObjectId definePie(Drawing& d)
{
    AcDbObjectId def = d.defineSpace("MARKER-PIECHART", {}, AcGePoint3d(0, 0, 0), 300.0, kPieTags);
    AcDbObjectPointer<AcDbBlockTableRecord> record(def, AcDb::kForWrite);
    auto* circle = new AcDbCircle(AcGePoint3d(5, -5, 0), AcGeVector3d(0, 0, 1), 1500.0);
    EXPECT_EQ(record->appendAcDbEntity(circle), Acad::eOk);
    circle->close();
    return def;
}

}  // namespace

TEST(MarkerLookup, ADrawingWithoutMarkersGivesEmptyCollections)
{
    Drawing d;
    AcDbObjectId room = d.defineSpace("ROOM-1", rectangle(0, 0, 1000, 1000));
    d.insert(room, AcGePoint3d(0, 0, 0));
    // A definition of the marker's name with no reference is not a marker in the drawing.
    defineLegend(d);
    CBlocks legends;
    legends.getLegendBlock_SS(d.drawing);
    CBlocks pies;
    pies.getPieBlock_SS(d.drawing);
    EXPECT_EQ(legends.size(), 0);
    EXPECT_EQ(pies.size(), 0);
}

TEST(MarkerLookup, OneLegendMarkerIsReadWithItsSettings)
{
    Drawing d;
    AcDbObjectId def = defineLegend(d);
    const AcGePoint3d at(1000, 2000, 0);
    const double turn = kPi / 6;
    AcDbObjectId ref = d.insert(def, at,
                                {{"LEGENDTITLE", "LEGEND BLOCK"}, {"LEGENDTEXTSIZE", "250"}, {"LEGENDPRECISION", "2"},
                                 {"LEGENDROTATION", "30"}, {"LEGENDUNITS", "1"}},
                                AcGeScale3d(2, 2, 2), turn);
    AcDbObjectId room = d.defineSpace("ROOM-1", rectangle(0, 0, 1000, 1000));
    d.insert(room, AcGePoint3d(0, 0, 0));

    CBlocks legends;
    legends.getLegendBlock_SS(d.drawing);
    ASSERT_EQ(legends.size(), 1);
    auto* legend = dynamic_cast<CMarkerBlockLegend*>(&legends.getAt(0));
    ASSERT_NE(legend, nullptr);
    EXPECT_EQ(legend->getBlockName(), "MARKER-LEGEND");
    EXPECT_EQ(legend->getHandle(), ref.handle().toString());
    EXPECT_EQ(legend->getBlockKind(), BlockKind::Dwg);
    EXPECT_DOUBLE_EQ(legend->getTextSize(), 250.0);
    EXPECT_EQ(legend->getMarkerPrecision(), 2);
    EXPECT_EQ(legend->getMarkerUnits(), 1);
    EXPECT_NEAR(legend->getRotation(), turn, 1e-12);
    const auto [x, y] = place(10, 20, turn, 2.0, at.x, at.y);
    EXPECT_NEAR(legend->getInsertionPoint().x, x, 1e-9);
    EXPECT_NEAR(legend->getInsertionPoint().y, y, 1e-9);

    // The pie look-up does not take the legend marker, nor the room.
    CBlocks pies;
    pies.getPieBlock_SS(d.drawing);
    EXPECT_EQ(pies.size(), 0);
    // And the space search does not take the marker.
    CBlocks spaces;
    spaces.getZelkaDWGBlocks_SS(d.drawing, false, "f");
    ASSERT_EQ(spaces.size(), 1);
    EXPECT_EQ(static_cast<CBlockDWG&>(spaces.getAt(0)).getBlockName(), "ROOM-1");
}

TEST(MarkerLookup, TwoPieMarkersComeInDrawingOrder)
{
    Drawing d;
    AcDbObjectId def = definePie(d);
    const AcGePoint3d first(-3000, 500, 0);
    const AcGePoint3d second(8000, 9000, 0);
    d.insert(def, first, {{"PIETEXTSIZE", "300"}, {"PIEPRECISION", "0"}, {"PIERADIUS", "1500"}});
    d.insert(def, second, {{"PIETEXTSIZE", "125.5"}, {"PIEPRECISION", "3"}, {"PIERADIUS", "3000"}},
             AcGeScale3d(2, 2, 2), kPi / 2);

    CBlocks pies;
    pies.getPieBlock_SS(d.drawing);
    ASSERT_EQ(pies.size(), 2);
    auto* a = dynamic_cast<CMarkerBlockPie*>(&pies.getAt(0));
    auto* b = dynamic_cast<CMarkerBlockPie*>(&pies.getAt(1));
    ASSERT_TRUE(a && b);
    EXPECT_DOUBLE_EQ(a->getTextSize(), 300.0);
    EXPECT_EQ(a->getMarkerPrecision(), 0);
    EXPECT_DOUBLE_EQ(a->getRadius(), 1500.0);
    EXPECT_NEAR(a->getInsertionPoint().x, first.x + 5, 1e-9);
    EXPECT_NEAR(a->getInsertionPoint().y, first.y - 5, 1e-9);
    EXPECT_DOUBLE_EQ(b->getTextSize(), 125.5);
    EXPECT_EQ(b->getMarkerPrecision(), 3);
    EXPECT_DOUBLE_EQ(b->getRadius(), 3000.0);
    const auto [x, y] = place(5, -5, kPi / 2, 2.0, second.x, second.y);
    EXPECT_NEAR(b->getInsertionPoint().x, x, 1e-9);
    EXPECT_NEAR(b->getInsertionPoint().y, y, 1e-9);
    EXPECT_NEAR(b->getRotation(), kPi / 2, 1e-12);

    // Filling appends: a second look-up doubles the collection.
    pies.getPieBlock_SS(d.drawing);
    EXPECT_EQ(pies.size(), 4);
}

TEST(MarkerLookup, RotationIsMeasuredInTheCurrentUcs)
{
    Drawing d;
    AcDbObjectId def = defineLegend(d);
    d.insert(def, AcGePoint3d(0, 0, 0), {{"LEGENDTEXTSIZE", "100"}}, AcGeScale3d(1, 1, 1), kPi / 2);
    // A UCS whose X axis is the world's Y axis: the marker turned 90 degrees
    // in the world is not turned at all in that UCS.
    ASSERT_EQ(d.database->setUcs(AcGePoint3d(0, 0, 0), AcGeVector3d(0, 1, 0), AcGeVector3d(-1, 0, 0)), Acad::eOk);
    CBlocks legends;
    legends.getLegendBlock_SS(d.drawing);
    ASSERT_EQ(legends.size(), 1);
    auto& legend = dynamic_cast<CMarkerBlockLegend&>(legends.getAt(0));
    EXPECT_NEAR(std::remainder(legend.getRotation(), 2 * kPi), 0.0, 1e-12);
}
