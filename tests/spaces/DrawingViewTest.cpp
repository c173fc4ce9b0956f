// Space-block operations through the drawing object: the lock they take is
// one level of the drawing's nested lock and is given back on every path;
// the searches leave the user's view as it was; zooming to blocks and to one
// block shows the blocks' extents with their margin; highlighting
// regenerates. Expected windows are worked out here from the outline, the
// insertion point, scale and rotation, not through the code under test.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "host/ed/acutPrintf.h"
#include "infra/ZelkaExceptions.h"
#include "module/AcadDrawingLock.h"
#include "spaces/BlockDWG.h"
#include "spaces/Blocks.h"

#include "SpacesTestSupport.h"

using namespace spacetest;

namespace {

void expectView(const AcApView& view, double x0, double y0, double x1, double y1)
{
    EXPECT_NEAR(view.lowerLeft.x, x0, 1e-9);
    EXPECT_NEAR(view.lowerLeft.y, y0, 1e-9);
    EXPECT_NEAR(view.upperRight.x, x1, 1e-9);
    EXPECT_NEAR(view.upperRight.y, y1, 1e-9);
}

}  // namespace

TEST(DrawingLock, OperationsNestInsideTheCallersLockAndGiveTheirLevelBack)
{
    Drawing d;
    AcDbObjectId def = d.defineSpace("ROOM-1", rectangle(0, 0, 1000, 500));
    AcDbObjectId ref = d.insert(def, AcGePoint3d(0, 0, 0));
    auto block = readBlock(d, ref);
    {
        CAcadDrawingLock outer(d.drawing);
        ASSERT_TRUE(outer.isLocked());
        block->applyToDWG(d.drawing, false);
        CBlocks blocks;
        blocks.getZelkaDWGBlocks_SS(d.drawing, false, "f");
        EXPECT_EQ(blocks.size(), 1);
        // Inner levels were given back; the document stayed locked once.
        EXPECT_EQ(d.drawing.getLockCount(), 1);
        EXPECT_EQ(d.document->lockCount(), 1);
    }
    EXPECT_FALSE(d.drawing.isLocked());
    EXPECT_EQ(d.document->lockCount(), 0);

    // A failing write-back (its reference is gone) still unlocks.
    {
        AcDbObjectPointer<AcDbEntity> reference(ref, AcDb::kForWrite);
        ASSERT_EQ(reference->erase(), Acad::eOk);
    }
    EXPECT_THROW(block->applyToDWG(d.drawing, false), CEXZelka);
    EXPECT_FALSE(d.drawing.isLocked());
    EXPECT_EQ(d.drawing.getLockCount(), 0);
    EXPECT_EQ(d.document->lockCount(), 0);
}

TEST(DrawingLock, WithoutADocumentNothingIsGatheredAndWritingFails)
{
    CAcadDrawing none;
    CBlocks blocks;
    blocks.getZelkaDWGBlocks_SS(none, false, "f");
    blocks.getLegendBlock_SS(none);
    EXPECT_EQ(blocks.size(), 0);
    CBlockDWG block;
    EXPECT_THROW(block.applyToDWG(none, false), CEXZelka);
    EXPECT_EQ(none.getLockCount(), 0);
}

TEST(DrawingView, SpaceBlockSearchComesBackToTheUsersView)
{
    Drawing d;
    AcDbObjectId def = d.defineSpace("ROOM-1", rectangle(0, 0, 1000, 500));
    d.insert(def, AcGePoint3d(-8000, 3000, 0));
    d.insert(def, AcGePoint3d(9000, -2000, 0));
    d.drawing.zoomWindow(AcGePoint3d(10, 20, 0), AcGePoint3d(110, 70, 0));
    const AcApView before = d.document->view();
    const size_t history = d.document->previousViews().size();

    CBlocks blocks;
    blocks.getZelkaDWGBlocks_SS(d.drawing, false, "f");
    EXPECT_EQ(blocks.size(), 2);
    expectView(d.document->view(), before.lowerLeft.x, before.lowerLeft.y, before.upperRight.x, before.upperRight.y);
    EXPECT_EQ(d.document->previousViews().size(), history);
}

TEST(DrawingView, SearchFindingNothingAlsoComesBack)
{
    Drawing d;
    AcDbObjectId chair = d.defineSpace("CHAIR", rectangle(0, 0, 50, 50));
    d.insert(chair, AcGePoint3d(500, 500, 0));
    d.drawing.zoomWindow(AcGePoint3d(-1, -2, 0), AcGePoint3d(3, 4, 0));
    CBlocks blocks;
    blocks.getZelkaDWGBlocks_SS(d.drawing, false, "f");
    EXPECT_EQ(blocks.size(), 0);
    expectView(d.document->view(), -1, -2, 3, 4);
}

TEST(DrawingView, ZoomToBlocksShowsTheirExtentsWithTheMargin)
{
    Drawing d;
    // Outline 1000 x 500 from the definition's origin.
    AcDbObjectId def = d.defineSpace("ROOM-1", rectangle(0, 0, 1000, 500));
    d.insert(def, AcGePoint3d(-5000, -4000, 0), {}, AcGeScale3d(2, 2, 1));
    d.insert(def, AcGePoint3d(-3000, -2000, 0), {}, AcGeScale3d(1, 1, 1), kPi / 2);
    CBlocks blocks;
    blocks.getZelkaDWGBlocks_SS(d.drawing, false, "f");
    const double m = 100.0;
    ASSERT_TRUE(blocks.zoomToBlocks(d.drawing, m));
    // First block, scale 2: x -5000 + 2(-m) .. -5000 + 2(1000 + m), y -4000 - 2m .. -4000 + 2(500 + m).
    // Second, turned 90 degrees (x, y) -> (-y, x): x -3000 - (500 + m) .. -3000 + m, y -2000 - m .. -2000 + 1000 + m.
    const double x0 = std::min(-5000 - 2 * m, -3000 - (500 + m));
    const double y0 = std::min(-4000 - 2 * m, -2000 - m);
    const double x1 = std::max(-5000 + 2 * (1000 + m), -3000 + m);
    const double y1 = std::max(-4000 + 2 * (500 + m), -2000 + 1000 + m);
    expectView(d.document->view(), x0, y0, x1, y1);
}

TEST(DrawingView, NoBlocksLeavesTheView)
{
    Drawing d;
    d.drawing.zoomWindow(AcGePoint3d(0, 0, 0), AcGePoint3d(5, 5, 0));
    CBlocks blocks;
    EXPECT_FALSE(blocks.zoomToBlocks(d.drawing, 10.0));
    expectView(d.document->view(), 0, 0, 5, 5);
}

TEST(DrawingView, ApplyingWithZoomShowsTheBlockAndItsZoomMargin)
{
    Drawing d;
    AcDbObjectId def = d.defineSpace("ROOM-4", rectangle(0, 0, 3000, 2000));
    AcDbObjectId ref = d.insert(def, AcGePoint3d(7000, 1000, 0), {{"NAME", "Lab"}});
    d.drawing.zoomWindow(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0));
    auto block = readBlock(d, ref);
    block->applyToDWG(d.drawing, false);
    expectView(d.document->view(), 0, 0, 1, 1);  // zoomOnApply is off by default

    block->setZoomOnApply(1);
    block->setZoomMargin(250.0);
    block->applyToDWG(d.drawing, false);
    expectView(d.document->view(), 7000 - 250, 1000 - 250, 7000 + 3000 + 250, 1000 + 2000 + 250);
}

TEST(DrawingView, HighlightingReportsTheListsAndRegenerates)
{
    Drawing d;
    AcDbObjectId def = d.defineSpace("ROOM-1", rectangle(0, 0, 1000, 1000));
    AcDbObjectId ref = d.insert(def, AcGePoint3d(0, 0, 0));
    AcDbObjectId added = d.addModelPolyline(rectangle(2000, 0, 100, 100));
    AcDbObjectId gone = d.addModelPolyline(rectangle(3000, 0, 100, 100));
    auto block = readBlock(d, ref);
    block->setHandlesToAdd(AcDbObjectIdArray{added, gone});
    {
        AcDbObjectPointer<AcDbEntity> entity(gone, AcDb::kForWrite);
        ASSERT_EQ(entity->erase(), Acad::eOk);
    }
    std::string transcript;
    CommandLineSink previous = setCommandLineSink([&](const std::string& text) { transcript += text; });
    const int regens = d.document->regenCount();
    block->highlightAreasAdded(d.drawing, true, true);
    block->highlightAreasSubtracted(d.drawing, true, true);
    setCommandLineSink(previous);
    EXPECT_EQ(transcript,
              "\nThere are 2 area(s) added to this block\n\nThere are 0 area(s) subtracted from this block\n");
    EXPECT_EQ(d.document->regenCount(), regens + 2);
    EXPECT_FALSE(d.drawing.isLocked());
}
