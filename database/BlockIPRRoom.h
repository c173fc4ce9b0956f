#pragma once
// A room as the database knows it: writing it adds or updates the location
// under its parent, takes back the id, then writes the room's assets under
// it ("__to_setRoomBlockInIPR").

#include "database/BlockIPR.h"

class CBlockIPRRoom : public CBlockIPR {
public:
    CBlockIPRRoom() { setBlockKind(BlockKind::IprRoom); }
    void applyToIPR(CStoredProcedure& sp, int32_t drawingID, uint32_t timeout) override;
};
