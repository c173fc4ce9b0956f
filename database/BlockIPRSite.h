#pragma once
// A site as the database knows it: writing it updates the measures of the
// existing location ("__to_setSiteBlockInIPR").

#include "database/BlockIPR.h"

class CBlockIPRSite : public CBlockIPR {
public:
    CBlockIPRSite() { setBlockKind(BlockKind::IprSite); }
    void applyToIPR(CStoredProcedure& sp, int32_t drawingID, uint32_t timeout) override;
};
