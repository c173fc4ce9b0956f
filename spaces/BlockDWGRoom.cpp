#include "spaces/BlockDWGRoom.h"

#include <memory>

#include "database/Assets.h"
#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbPolyline.h"
#include "infra/ZelkaExceptions.h"
#include "spaces/AcadUtilities.h"

CBlockDWGRoom::CBlockDWGRoom()
{
    zelkaOperation(__FILE__, "CBlockDWGRoom::CBlockDWGRoom", [&] {
        setBlockKind(BlockKind::DwgRoom);
        setBlockName("ROOM-");
    });
}

CBlockDWGRoom::CBlockDWGRoom(const AcDbBlockReference* reference, CAcadDrawing& drawing, bool withAssets)
    : CBlockDWG(reference, drawing)
{
    zelkaOperation(__FILE__, "CBlockDWGRoom::CBlockDWGRoom", [&] { readRoom(reference, drawing, withAssets); });
}

CBlockDWGRoom::CBlockDWGRoom(const AcDbBlockReference* reference, CAcadDrawing& drawing, bool withAssets,
                             const Record& record)
    : CBlockDWG(reference, drawing, record)
{
    zelkaOperation(__FILE__, "CBlockDWGRoom::CBlockDWGRoom", [&] { readRoom(reference, drawing, withAssets); });
}

void CBlockDWGRoom::readRoom(const AcDbBlockReference* reference, CAcadDrawing& drawing, bool withAssets)
{
    setBlockKind(BlockKind::DwgRoom);
    outlineId_ = CAcadUtilities::getBlockOutlineId(reference->blockTableRecord());
    if (!withAssets)
        return;
    setAssets(std::make_unique<CAssets>());
    // The assets are found in the drawing, so the outline is placed where
    // the reference draws it (a copy: the definition stays as it is).
    AcDbObjectPointer<AcDbPolyline> outline(outlineId_, AcDb::kForRead);
    if (!outline)
        return;
    std::unique_ptr<AcDbEntity> placed(outline->clone());
    if (placed && placed->transformBy(reference->blockTransform()) == Acad::eOk)
        getAssets()->getPolylineAssets(drawing, static_cast<const AcDbPolyline*>(placed.get()));
}
