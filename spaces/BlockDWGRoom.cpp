#include "spaces/BlockDWGRoom.h"

#include "host/db/AcDbBlockReference.h"
#include "infra/ZelkaExceptions.h"
#include "spaces/AcadUtilities.h"

CBlockDWGRoom::CBlockDWGRoom()
{
    zelkaOperation(__FILE__, "CBlockDWGRoom::CBlockDWGRoom", [&] {
        setBlockKind(7);
        setBlockName("ROOM-");
    });
}

CBlockDWGRoom::CBlockDWGRoom(const AcDbBlockReference* reference, CAcadDrawing& drawing, bool withAssets)
    : CBlockDWG(reference, drawing)
{
    zelkaOperation(__FILE__, "CBlockDWGRoom::CBlockDWGRoom", [&] {
        setBlockKind(7);
        outlineId_ = CAcadUtilities::getBlockOutlineId(reference->blockTableRecord());
        if (withAssets)
            setAssets(std::make_unique<CAssets>());
    });
}
