#include "database/BlockIPR.h"

#include <memory>

#include "database/Assets.h"
#include "database/BlockIPRBuilding.h"
#include "database/BlockIPRFloor.h"
#include "database/BlockIPRRoom.h"
#include "database/BlockIPRSite.h"
#include "database/CallParameters.h"
#include "database/Recordset.h"
#include "database/StoredProcedure.h"
#include "infra/ZelkaExceptions.h"
#include "spaces/Blocks.h"

using namespace callparameters;

std::unique_ptr<CParameters> CBlockIPR::grossAreaCall(const CBlockIPR& block)
{
    auto list = std::make_unique<CParameters>();
    addInt(*list, "@locationID", block.getLocationID());
    addDecimal(*list, "@area", block.getArea());
    addVarChar(*list, "@handle", block.getHandle());
    addDecimal(*list, "@perimeter", block.getPerimeter());
    addInt(*list, "@precision", block.getPrecision());
    return list;
}

std::unique_ptr<CParameters> CBlockIPR::childCall(const CBlockIPR& block)
{
    auto list = std::make_unique<CParameters>();
    addInt(*list, "@locationID", block.getLocationID(), PARAMETER_INPUT_OUTPUT);
    addInt(*list, "@parentID", block.getParentID());
    addVarChar(*list, "@name", block.getName());
    addVarChar(*list, "@code", block.getCode());
    addBoolean(*list, "@statusExists", block.getStatusExists());
    addBoolean(*list, "@statusDuplicate", block.getStatusDuplicate());
    addDecimal(*list, "@area", block.getArea());
    addVarChar(*list, "@handle", block.getHandle());
    addDecimal(*list, "@perimeter", block.getPerimeter());
    addInt(*list, "@precision", block.getPrecision());
    return list;
}

namespace {

// Site and floor: the five parameters of an existing location's measures.
void applyGrossArea(const CBlockIPR& block, CStoredProcedure& sp, uint32_t timeout, const char* procedure)
{
    std::unique_ptr<CParameters> list = CBlockIPR::grossAreaCall(block);
    sp.setCommandTimeout(timeout);
    sp.setName(procedure);
    sp.setParameters(list.get());
    sp.execSPNoReturnParas();
    sp.setParameters(nullptr);
}

// Building and room: the ten parameters; the location id goes in and out.
void applyChild(CBlockIPR& block, CStoredProcedure& sp, uint32_t timeout, const char* procedure)
{
    std::unique_ptr<CParameters> list = CBlockIPR::childCall(block);
    sp.setCommandTimeout(timeout);
    sp.setName(procedure);
    sp.setParameters(list.get());
    sp.execSPNoReturnParasReturn();
    sp.setParameters(nullptr);
    block.setLocationID(static_cast<CParameterInt*>(list->getParameter("@locationID"))->getValue());
}

}  // namespace

void CBlockIPRSite::applyToIPR(CStoredProcedure& sp, int32_t, uint32_t timeout)
{
    zelkaOperation(__FILE__, "CBlockIPRSite::applyToIPR",
                   [&] { applyGrossArea(*this, sp, timeout, "__to_setSiteBlockInIPR"); });
}

void CBlockIPRFloor::applyToIPR(CStoredProcedure& sp, int32_t, uint32_t timeout)
{
    zelkaOperation(__FILE__, "CBlockIPRFloor::applyToIPR",
                   [&] { applyGrossArea(*this, sp, timeout, "__to_setFloorBlockInIPR"); });
}

void CBlockIPRBuilding::applyToIPR(CStoredProcedure& sp, int32_t, uint32_t timeout)
{
    zelkaOperation(__FILE__, "CBlockIPRBuilding::applyToIPR",
                   [&] { applyChild(*this, sp, timeout, "__to_setBuildingBlockInIPR"); });
}

void CBlockIPRRoom::applyToIPR(CStoredProcedure& sp, int32_t drawingID, uint32_t timeout)
{
    zelkaOperation(__FILE__, "CBlockIPRRoom::applyToIPR", [&] {
        applyChild(*this, sp, timeout, "__to_setRoomBlockInIPR");
        if (getAssets()) getAssets()->applyToIPR(sp, drawingID, getLocationID(), timeout);
    });
}

void CBlockIPR::getIPRBlocks(CBlocks& blocks, CStoredProcedure& sp, uint32_t timeout, int32_t parentID,
                             bool withAssets)
{
    zelkaOperation(__FILE__, "CBlocks::getIPRBlocks", [&] {
        CParameters list;
        addInt(list, "@parentID", parentID);
        sp.setName("__to_getBlocksFromIPR");
        sp.setParameters(&list);
        std::unique_ptr<CRecordset> rows = sp.execSPReturnParas();
        sp.setParameters(nullptr);
        if (!rows) throw std::runtime_error("the property database gave no result (not connected)");
        for (; !rows->isEOF(); rows->moveNext()) {
            std::string type = rows->getString("type");
            int32_t id = rows->getInt("id");
            std::unique_ptr<CBlockIPR> block;
            if (type == "r") {
                block = std::make_unique<CBlockIPRRoom>();
                if (withAssets) {
                    auto assets = std::make_unique<CAssets>();
                    assets->getLocationAssets(sp, id, timeout);
                    block->setAssets(std::move(assets));
                }
            } else if (type == "f") {
                block = std::make_unique<CBlockIPRFloor>();
            } else if (type == "b") {
                block = std::make_unique<CBlockIPRBuilding>();
            } else {
                block = std::make_unique<CBlockIPRSite>();
            }
            block->setLocationID(id);
            block->setParentID(rows->getInt("parentid"));
            block->setName(rows->getString("name"));
            block->setCode(rows->getString("code"));
            std::string status = rows->getString("status");
            if (status.size() >= 1 && status[0] == '0') block->setStatusExists(1);
            if (status.size() >= 2 && status[1] == '1') block->setStatusDuplicate(1);
            block->setArea(rows->getDouble("area"));
            block->setHandle(rows->getString("handle"));
            block->setPerimeter(rows->getDouble("perimeter"));
            blocks.addBlock(std::move(block));
        }
    });
}

CBlockIPR* CBlockIPR::getAtIPRBlock(const CBlocks& blocks, int32_t locationID)
{
    return zelkaOperation(__FILE__, "CBlocks::getAtIPRBlock", [&]() -> CBlockIPR* {
        for (int i = 0; i < blocks.size(); ++i) {
            CBlock& block = blocks.getAt(i);
            BlockKind kind = block.getBlockKind();
            if (kind < BlockKind::Ipr || kind > BlockKind::IprSite) continue;
            auto& ipr = static_cast<CBlockIPR&>(block);
            if (ipr.getLocationID() == locationID) return &ipr;
        }
        return nullptr;
    });
}
