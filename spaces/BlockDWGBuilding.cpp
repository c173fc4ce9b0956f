#include "spaces/BlockDWGBuilding.h"

#include "infra/ZelkaExceptions.h"

CBlockDWGBuilding::CBlockDWGBuilding()
{
    zelkaOperation(__FILE__, "CBlockDWGBuilding::CBlockDWGBuilding", [&] {
        setBlockKind(BlockKind::DwgBuilding);
        setBlockName("ROOM-");
    });
}

CBlockDWGBuilding::CBlockDWGBuilding(const AcDbBlockReference* reference, CAcadDrawing& drawing) : CBlockDWG(reference, drawing)
{
    zelkaOperation(__FILE__, "CBlockDWGBuilding::CBlockDWGBuilding", [&] { setBlockKind(BlockKind::DwgBuilding); });
}

CBlockDWGBuilding::CBlockDWGBuilding(const AcDbBlockReference* reference, CAcadDrawing& drawing, const Record& record)
    : CBlockDWG(reference, drawing, record)
{
    zelkaOperation(__FILE__, "CBlockDWGBuilding::CBlockDWGBuilding", [&] { setBlockKind(BlockKind::DwgBuilding); });
}
