#pragma once
// A building in a site plan: every space block there but the gross area one.
// Kind code 9; a new one proposes the definition name "ROOM-".

#include "spaces/BlockDWG.h"

class CBlockDWGBuilding : public CBlockDWG {
public:
    // An empty block of this kind.
    CBlockDWGBuilding();
    // Reads the reference as CBlockDWG does, then takes this kind's code.
    CBlockDWGBuilding(const AcDbBlockReference* reference, CAcadDrawing& drawing);
    // The same with the reference's record already fetched (CBlockDWG::readRecord).
    CBlockDWGBuilding(const AcDbBlockReference* reference, CAcadDrawing& drawing, const Record& record);
};
