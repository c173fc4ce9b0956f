#pragma once
// A building as the database knows it: writing it adds or updates the
// location under its parent and takes back the id ("__to_setBuildingBlockInIPR").

#include "database/BlockIPR.h"

class CBlockIPRBuilding : public CBlockIPR {
public:
    CBlockIPRBuilding() { setBlockKind(BlockKind::IprBuilding); }
    void applyToIPR(CStoredProcedure& sp, int32_t drawingID, uint32_t timeout) override;
};
