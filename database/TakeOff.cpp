#include "database/TakeOff.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "database/Assets.h"
#include "database/BlockIPRFloor.h"
#include "database/BlockIPRRoom.h"
#include "database/CallBatch.h"
#include "database/CallParameters.h"
#include "database/Recordset.h"
#include "database/StoredProcedure.h"
#include "infra/ZelkaExceptions.h"
#include "module/AcadDrawing.h"
#include "spaces/Attributes.h"
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

// The most blocks whose calls share round trips. The first windows are
// smaller (1, 2, 4, ...), so the first blocks are written, and a refusal
// there reported, after a round trip or two.
constexpr size_t kMaxWindow = 256;

// A block of the window being written: its database-side copy and the
// number of its calls still to go through.
struct Pending {
    const CBlock* source = nullptr;
    std::unique_ptr<CBlockIPR> block;
    int outstanding = 0;
};

std::string describe(const CBlock& block)
{
    std::string kind = block.getBlockKind() == BlockKind::DwgFloor ? "floor block" : "room block";
    if (!block.getName().empty()) kind += " '" + block.getName() + "'";
    return kind + " (handle " + block.getHandle() + ")";
}

using Finish = std::function<void(Pending&)>;

// Queues the room's assets (all but the excluded identifiers) under its id;
// an asset the database records (not excluded, present in the room) queues
// its attributes in turn.
void queueAssets(CCallBatch& batch, Pending& room, int32_t drawingID, const Finish& finishOne)
{
    CAssets* assets = room.block->getAssets();
    if (!assets) return;
    for (int a = 0; a < assets->getCount(); ++a) {
        CAsset& asset = assets->getAt(a);
        if (CAssets::isExcludedIdentifier(asset.getAcadBlockIdentifier())) continue;
        ++room.outstanding;
        std::string target = "asset " + asset.getHandle() + " of " + describe(*room.source);
        // The completion runs at a later flush: it holds the batch, the room's
        // entry and the asset by address (they outlive the window).
        batch.add("__to_applyAssetToIPR", asset.applyCall(drawingID, room.block->getLocationID()), target, true,
                  [batchAt = &batch, roomAt = &room, assetAt = &asset, drawingID, finishOne,
                   target](CParameters& list) {
                      auto* excluded = static_cast<CParameterBoolean*>(list.getParameter("@excludedFromTakeoff"));
                      const CAttributes* attributes = assetAt->getAttributes();
                      if (excluded->getValue() == 0 && assetAt->getAssetExistsInLocation() != 0 && attributes) {
                          for (int i = 0; i < attributes->getCount(); ++i) {
                              ++roomAt->outstanding;
                              batchAt->add("__to_applyAssetAttributeToIPR",
                                           assetAt->attributeCall(drawingID, attributes->getAt(i)),
                                           "attribute " + attributes->getAt(i).getKey() + " of " + target, false,
                                           [roomAt, finishOne](CParameters&) { finishOne(*roomAt); });
                          }
                      }
                      finishOne(*roomAt);
                  });
    }
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
        std::vector<const CBlock*> toWrite;
        for (int i = 0; i < blocks.size(); ++i) {
            BlockKind kind = blocks.getAt(i).getBlockKind();
            if (kind == BlockKind::DwgFloor || kind == BlockKind::DwgRoom) toWrite.push_back(&blocks.getAt(i));
        }
        Result result;
        sp.beginTransaction();
        try {
            // Each window of blocks goes in three rounds, each one flush of
            // the batch (one round trip when the driver batches):
            //  1. the rooms; each room's id, once back, queues its assets;
            //  2. the assets; an asset the database records (not excluded)
            //     queues its attributes;
            //  3. the attributes, then the floors' measures.
            // A block counts as written once its last call went through.
            CCallBatch batch(sp, timeout);
            int written = 0;
            const Finish finishOne = [&](Pending& p) {
                if (--p.outstanding == 0 && progress) progress(++written);
            };
            size_t window = 1;
            for (size_t first = 0; first < toWrite.size(); first += window, window = std::min(window * 2, kMaxWindow)) {
                const size_t end = std::min(toWrite.size(), first + window);
                std::vector<std::unique_ptr<Pending>> pending;
                for (size_t b = first; b < end; ++b) {
                    const CBlock& source = *toWrite[b];
                    auto p = std::make_unique<Pending>();
                    p->source = &source;
                    if (source.getBlockKind() == BlockKind::DwgFloor) {
                        p->block = std::make_unique<CBlockIPRFloor>();
                        copyMeasures(source, *p->block);
                        p->block->setLocationID(floorID);
                        ++result.floors;
                    } else {
                        p->block = std::make_unique<CBlockIPRRoom>();
                        copyMeasures(source, *p->block);
                        p->block->setParentID(floorID);
                        p->block->setStatusExists(1);
                        if (source.getAssets()) {
                            auto assets = std::make_unique<CAssets>();
                            source.getAssets()->copyTo(*assets);
                            for (int a = 0; a < assets->getCount(); ++a)
                                if (!CAssets::isExcludedIdentifier(assets->getAt(a).getAcadBlockIdentifier()))
                                    ++result.assets;
                            p->block->setAssets(std::move(assets));
                        }
                        ++result.rooms;
                        // The completions run at a later flush: they hold the
                        // block's entry of `pending`, which lives for the window.
                        Pending* room = p.get();
                        ++room->outstanding;
                        batch.add("__to_setRoomBlockInIPR", CBlockIPR::childCall(*room->block), describe(source), true,
                                  [&batch, &finishOne, room, drawingID](CParameters& list) {
                                      room->block->setLocationID(
                                          static_cast<CParameterInt*>(list.getParameter("@locationID"))->getValue());
                                      queueAssets(batch, *room, drawingID, finishOne);
                                      finishOne(*room);
                                  });
                    }
                    pending.push_back(std::move(p));
                }
                batch.flush();
                batch.flush();
                for (auto& p : pending) {
                    if (p->source->getBlockKind() != BlockKind::DwgFloor) continue;
                    Pending* floor = p.get();
                    ++floor->outstanding;
                    batch.add("__to_setFloorBlockInIPR", CBlockIPR::grossAreaCall(*floor->block),
                              describe(*floor->source), false, [&finishOne, floor](CParameters&) { finishOne(*floor); });
                }
                batch.flush();
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
