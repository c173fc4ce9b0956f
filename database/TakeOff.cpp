#include "database/TakeOff.h"

#include <memory>

#include "database/Assets.h"
#include "database/BlockIPRFloor.h"
#include "database/BlockIPRRoom.h"
#include "database/CallParameters.h"
#include "database/Recordset.h"
#include "database/StoredProcedure.h"
#include "infra/ZelkaExceptions.h"
#include "module/AcadDrawing.h"
#include "spaces/Blocks.h"

void CTakeOff::findDrawing(CStoredProcedure& sp, const std::string& fileName, uint32_t timeout, int32_t& drawingID,
                           int32_t& floorID)
{
    zelkaOperation(__FILE__, "CTakeOff::findDrawing", [&] {
        drawingID = 0;
        floorID = 0;
        CParameters list;
        callparameters::addVarChar(list, "@fileName", fileName);
        sp.setCommandTimeout(timeout);
        sp.setName("__to_getDrawing");
        sp.setParameters(&list);
        auto rows = sp.execSPReturnParas();
        sp.setParameters(nullptr);
        if (!rows || rows->isEOF()) return;
        drawingID = rows->getInt("drawingID");
        floorID = rows->getInt("locationID");
    });
}

namespace {

void copyMeasures(const CBlock& from, CBlock& to)
{
    to.setHandle(from.getHandle());
    to.setName(from.getName());
    to.setCode(from.getCode());
    to.setArea(from.getArea());
    to.setPerimeter(from.getPerimeter());
    to.setPrecision(from.getPrecision());
}

}  // namespace

CTakeOff::Result CTakeOff::takeOff(CAcadDrawing& drawing, CStoredProcedure& sp, int32_t drawingID, int32_t floorID,
                                   uint32_t timeout, const Progress& progress)
{
    return zelkaOperation(__FILE__, "CTakeOff::takeOff", [&]() -> Result {
        if (!sp.isConnected()) throw std::runtime_error("the property database is not connected");
        // Read everything first: the drawing is not touched while the database is written.
        CBlocks blocks;
        blocks.getZelkaDWGBlocks_SS(drawing, true, "f");
        Result result;
        sp.beginTransaction();
        try {
            int written = 0;
            for (int i = 0; i < blocks.size(); ++i) {
                const CBlock& block = blocks.getAt(i);
                if (block.getBlockKind() == BlockKind::DwgFloor) {
                    CBlockIPRFloor floor;
                    copyMeasures(block, floor);
                    floor.setLocationID(floorID);
                    floor.applyToIPR(sp, drawingID, timeout);
                    ++result.floors;
                } else if (block.getBlockKind() == BlockKind::DwgRoom) {
                    CBlockIPRRoom room;
                    copyMeasures(block, room);
                    room.setParentID(floorID);
                    room.setStatusExists(1);
                    if (block.getAssets()) {
                        auto assets = std::make_unique<CAssets>();
                        block.getAssets()->copyTo(*assets);
                        for (int a = 0; a < assets->getCount(); ++a)
                            if (!CAssets::isExcludedIdentifier(assets->getAt(a).getAcadBlockIdentifier()))
                                ++result.assets;
                        room.setAssets(std::move(assets));
                    }
                    room.applyToIPR(sp, drawingID, timeout);
                    ++result.rooms;
                } else {
                    continue;
                }
                if (progress) progress(++written);
            }
            sp.commitTransaction();
        } catch (...) {
            // A lost connection cannot roll back; the server then drops the
            // transaction itself. Either way the original failure is the one to report.
            try {
                sp.rollbackTransaction();
            } catch (...) {
            }
            throw;
        }
        return result;
    });
}
