#pragma once
// The site's gross area block in a site plan: the outline of the whole site.
// Kind code 10; a new one proposes the definition name "ROOM-GROSS_AREA".

#include "spaces/BlockDWG.h"

class CBlockDWGSite : public CBlockDWG {
public:
    // An empty block of this kind.
    CBlockDWGSite();
    // Reads the reference as CBlockDWG does, then takes this kind's code.
    CBlockDWGSite(const AcDbBlockReference* reference, CAcadDrawing& drawing);
};
