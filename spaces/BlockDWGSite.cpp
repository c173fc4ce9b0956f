#include "spaces/BlockDWGSite.h"

#include "infra/ZelkaExceptions.h"

CBlockDWGSite::CBlockDWGSite()
{
    zelkaOperation(__FILE__, "CBlockDWGSite::CBlockDWGSite", [&] {
        setBlockKind(10);
        setBlockName("ROOM-GROSS_AREA");
    });
}

CBlockDWGSite::CBlockDWGSite(const AcDbBlockReference* reference, AcApDocument* document) : CBlockDWG(reference, document)
{
    zelkaOperation(__FILE__, "CBlockDWGSite::CBlockDWGSite", [&] { setBlockKind(10); });
}
