#pragma once
// A floor's gross area block in a floor plan: the outline of the whole floor.
// Kind code 8; a new one proposes the definition name "ROOM-GROSS_AREA".

#include "spaces/BlockDWG.h"

class CBlockDWGFloor : public CBlockDWG {
public:
    // An empty block of this kind.
    CBlockDWGFloor();
    // Reads the reference as CBlockDWG does, then takes this kind's code.
    CBlockDWGFloor(const AcDbBlockReference* reference, CAcadDrawing& drawing);
};
