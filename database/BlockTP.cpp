#include "database/BlockTP.h"

#include "database/Assets.h"
#include "database/CallParameters.h"
#include "database/ProcedureCalls.h"
#include "infra/ZelkaExceptions.h"
#include "spaces/Block.h"

using namespace callparameters;

namespace {

// The measures and record fields that follow the id (and name and code).
void addRecord(CParameters& list, const CBlock& b, const std::string& exportParameters)
{
    addDecimal(list, "@area", b.getArea());
    addVarChar(list, "@areaType", b.getAreaType());
    addVarChar(list, "@costCentre", b.getCostCentre());
    addVarChar(list, "@date", b.getDate());
    addVarChar(list, "@dateLastMove", b.getDateLastMove());
    addVarChar(list, "@deptCharge", b.getDeptCharge());
    addVarChar(list, "@handle", b.getHandle());
    addDecimal(list, "@perimeter", b.getPerimeter());
    addDecimal(list, "@roomHeight", b.getRoomHeight());
    addVarChar(list, "@specialReq", b.getSpecialReq());
    addVarChar(list, "@tagType", b.getTagType());
    addVarChar(list, "@totStaff", b.getTotalStaff());
    addVarChar(list, "@totWkStns", b.getTotalWorkstations());
    addDecimal(list, "@volume", b.getVolume());
    addVarChar(list, "@exportParameters", exportParameters);
}

// The failure names of the drawing-side classes, with their source files.
struct Kind {
    const char* source;
    const char* procSig;
    bool withName;
};

bool kindOf(BlockKind kind, Kind& k)
{
    switch (kind) {
    case BlockKind::DwgRoom: k = {"BlockDWGRoom.cpp", "CBlockDWGRoom::exportTP", true}; return true;
    case BlockKind::DwgBuilding: k = {"BlockDWGBuilding.cpp", "CBlockDWGBuilding::exportTP", true}; return true;
    case BlockKind::DwgFloor: k = {"BlockDWGFloor.cpp", "CBlockDWGFloor::exportTP", false}; return true;
    case BlockKind::DwgSite: k = {"BlockDWGSite.cpp", "CBlockDWGSite::exportTP", false}; return true;
    default: return false;
    }
}

}  // namespace

bool CBlockTP::exportTP(CStoredProcedure& sp, const CBlock& block, uint32_t timeout, int32_t locationID,
                        const std::string& exportParameters)
{
    Kind k{};
    if (!kindOf(block.getBlockKind(), k)) return false;
    zelkaOperation(k.source, k.procSig, [&] {
        CParameters list;
        if (k.withName) {
            addInt(list, "@parentID", locationID);
            addVarChar(list, "@name", block.getName());
            addVarChar(list, "@code", block.getCode());
            addRecord(list, block, exportParameters);
            procedurecalls::run(sp, list, "__to_exportSpaceBlockToTP", timeout);
        } else {
            addInt(list, "@locationID", locationID);
            addRecord(list, block, exportParameters);
            procedurecalls::run(sp, list, "__to_exportGrossAreaBlocktoTP", timeout);
        }
        if (block.getBlockKind() == BlockKind::DwgRoom && block.getAssets())
            block.getAssets()->exportTP(sp, timeout, exportParameters);
    });
    return true;
}
