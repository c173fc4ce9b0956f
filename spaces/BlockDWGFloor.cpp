#include "spaces/BlockDWGFloor.h"

#include "infra/ZelkaExceptions.h"

CBlockDWGFloor::CBlockDWGFloor()
{
    zelkaOperation(__FILE__, "CBlockDWGFloor::CBlockDWGFloor", [&] {
        setBlockKind(BlockKind::DwgFloor);
        setBlockName("ROOM-GROSS_AREA");
    });
}

CBlockDWGFloor::CBlockDWGFloor(const AcDbBlockReference* reference, CAcadDrawing& drawing) : CBlockDWG(reference, drawing)
{
    zelkaOperation(__FILE__, "CBlockDWGFloor::CBlockDWGFloor", [&] { setBlockKind(BlockKind::DwgFloor); });
}
