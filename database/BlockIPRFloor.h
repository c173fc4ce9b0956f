#pragma once
// A floor as the database knows it: writing it updates the measures of the
// existing location ("__to_setFloorBlockInIPR").

#include "database/BlockIPR.h"

class CBlockIPRFloor : public CBlockIPR {
public:
    CBlockIPRFloor() { setBlockKind(BlockKind::IprFloor); }
    void applyToIPR(CStoredProcedure& sp, int32_t drawingID, uint32_t timeout) override;
};
