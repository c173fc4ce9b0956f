#pragma once
// A space block as the property database sees it: the block's values plus
// its location id, its parent's id and two status flags. The four kinds
// (CBlockIPRSite, CBlockIPRBuilding, CBlockIPRFloor, CBlockIPRRoom) each
// write themselves with their own procedure (applyToIPR); the loads read
// the hierarchy back (getIPRBlocks). The implementation of every kind is
// BlockIPR.cpp, so failures name the class "BlockIPR".

#include <cstdint>
#include <memory>
#include <string>

#include "spaces/Block.h"

class CBlocks;
class CParameters;
class CStoredProcedure;

class CBlockIPR : public CBlock {
public:
    CBlockIPR() { setBlockKind(BlockKind::Ipr); }

    int32_t getLocationID() const { return locationID_; }
    void setLocationID(int32_t id) { locationID_ = id; }
    int32_t getParentID() const { return parentID_; }
    void setParentID(int32_t id) { parentID_ = id; }
    int32_t getStatusDuplicate() const { return statusDuplicate_; }
    void setStatusDuplicate(int32_t flag) { statusDuplicate_ = flag; }
    int32_t getStatusExists() const { return statusExists_; }
    void setStatusExists(int32_t flag) { statusExists_ = flag; }

    // Writes this block to the database on sp; the base writes nothing.
    virtual void applyToIPR(CStoredProcedure& sp, int32_t drawingID, uint32_t timeout) {}

    // The parameter lists of the write calls: a site's or floor's five
    // (its measures), a building's or room's ten (the location id in and out).
    static std::unique_ptr<CParameters> grossAreaCall(const CBlockIPR& block);
    static std::unique_ptr<CParameters> childCall(const CBlockIPR& block);

    // Appends to blocks the locations whose parent is parentID
    // ("__to_getBlocksFromIPR"), each as its kind by the "type" column ("r",
    // "f", "b", anything else a site); rooms get their assets loaded when
    // withAssets. No result (sp not connected) throws the chain of
    // "CBlocks::getIPRBlocks"; blocks then keeps what it held.
    static void getIPRBlocks(CBlocks& blocks, CStoredProcedure& sp, uint32_t timeout, int32_t parentID,
                             bool withAssets);
    // The first database-side block of blocks with that location id, or null.
    static CBlockIPR* getAtIPRBlock(const CBlocks& blocks, int32_t locationID);

private:
    int32_t locationID_ = 0;
    int32_t parentID_ = 0;
    int32_t statusDuplicate_ = 0;
    int32_t statusExists_ = 0;
};
