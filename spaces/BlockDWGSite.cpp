#include "spaces/BlockDWGSite.h"

#include "infra/ZelkaExceptions.h"

CBlockDWGSite::CBlockDWGSite()
{
    zelkaOperation(__FILE__, "CBlockDWGSite::CBlockDWGSite", [&] {
        setBlockKind(BlockKind::DwgSite);
        setBlockName("ROOM-GROSS_AREA");
    });
}

CBlockDWGSite::CBlockDWGSite(const AcDbBlockReference* reference, CAcadDrawing& drawing) : CBlockDWG(reference, drawing)
{
    zelkaOperation(__FILE__, "CBlockDWGSite::CBlockDWGSite", [&] { setBlockKind(BlockKind::DwgSite); });
}
