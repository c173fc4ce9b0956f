#include "spaces/Blocks.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbOpen.h"
#include "host/db/resbuf.h"
#include "host/ed/AcApDocManager.h"
#include "host/ed/AcEdSelectionIndexScope.h"
#include "host/ed/acedSelection.h"
#include "host/ed/acutWcMatch.h"
#include "infra/AsciiText.h"
#include "infra/Utilities.h"
#include "infra/XMLUtilities.h"
#include "editing/MarkerBlockLegend.h"
#include "editing/MarkerBlockPie.h"
#include "infra/ZelkaExceptions.h"
#include "module/AcadDrawing.h"
#include "module/AcadDrawingLock.h"
#include "spaces/AcadUtilities.h"
#include "spaces/BlockDWGBuilding.h"
#include "spaces/BlockDWGFloor.h"
#include "spaces/BlockDWGRoom.h"
#include "spaces/BlockDWGSite.h"

void CBlocks::addBlock(std::unique_ptr<CBlock> block)
{
    zelkaOperation(__FILE__, "CBlocks::addBlock", [&] {
        if (!block) return;
        items_.push_back(std::move(block));
        ++count_;
    });
}

CBlock& CBlocks::getAt(int index) const
{
    return zelkaOperation(__FILE__, "CBlocks::getAt",
                          [&]() -> CBlock& { return *items_.at(static_cast<size_t>(index)); });
}

CBlock* CBlocks::getAt(const std::string& handle) const
{
    return zelkaOperation(__FILE__, "CBlocks::getAt", [&]() -> CBlock* {
        for (const auto& block : items_)
            if (block->getHandle() == handle) return block.get();
        return nullptr;
    });
}

CBlock* CBlocks::getByCode(const std::string& code) const
{
    return zelkaOperation(__FILE__, "CBlocks::getByCode", [&]() -> CBlock* {
        for (const auto& block : items_)
            if (block->getCode() == code) return block.get();
        return nullptr;
    });
}

void CBlocks::replaceAt(int index, std::unique_ptr<CBlock> block)
{
    zelkaOperation(__FILE__, "CBlocks::replaceAt", [&] { items_.at(static_cast<size_t>(index)) = std::move(block); });
}

void CBlocks::deleteObjects()
{
    items_.clear();
    count_ = 0;
}

pugi::xml_node CBlocks::serialize(pugi::xml_node parent, const std::string& namespaceURI) const
{
    return zelkaOperation(__FILE__, "CBlocks::serialize", [&] {
        pugi::xml_node element = CXMLUtilities().createNode(parent, "zelkaBlocks", namespaceURI);
        for (const auto& block : items_) block->serialize(element, namespaceURI);
        return element;
    });
}

void CBlocks::deSerialize(pugi::xml_node element)
{
    zelkaOperation(__FILE__, "CBlocks::deSerialize", [&] {
        for (pugi::xml_node child : element.children()) {
            if (child.type() != pugi::node_element || CXMLUtilities::localName(child) != "zelkaBlock") continue;
            // A report's block record is a space block record of the drawing
            // side, so applying the report can format and hatch with it.
            auto block = std::make_unique<CBlockDWG>();
            block->deSerialize(child);
            block->setHandle(block->getHandle());
            addBlock(std::move(block));
        }
    });
}

bool CBlocks::deleteObject(const CBlock* block)
{
    return zelkaOperation(__FILE__, "CBlocks::deleteObject", [&] {
        auto it = std::find_if(items_.begin(), items_.end(), [&](const auto& item) { return item.get() == block; });
        if (it == items_.end()) return false;
        items_.erase(it);
        return true;
    });
}

namespace {

bool isBlockReference(AcDbObjectId id)
{
    const AcRxClass* cls = id.objectClass();
    return cls && std::strcmp(cls->name(), "AcDbBlockReference") == 0;
}

std::vector<AcDbObjectId> modelSpaceIds(CAcadDrawing& drawing)
{
    AcDbDatabase* db = drawing.getDatabase();
    if (!db) return {};
    AcDbObjectPointer<AcDbBlockTableRecord> modelSpace(db->modelSpaceId(), AcDb::kForRead);
    if (!modelSpace) return {};
    return modelSpace->entityIds();
}

// The entities of the whole drawing in the order of the "X" selection:
// model space, then the paper space of every layout.
std::vector<AcDbObjectId> drawingIds(CAcadDrawing& drawing)
{
    AcDbDatabase* db = drawing.getDatabase();
    if (!db) return {};
    std::vector<AcDbObjectId> ids;
    for (AcDbObjectId spaceId : db->spaceIds()) {
        AcDbObjectPointer<AcDbBlockTableRecord> space(spaceId, AcDb::kForRead);
        if (!space) continue;
        std::vector<AcDbObjectId> entities = space->entityIds();
        ids.insert(ids.end(), entities.begin(), entities.end());
    }
    return ids;
}

}  // namespace

std::vector<AcDbObjectId> CBlocks::getZelkaBlockSS(CAcadDrawing& drawing, const std::string& namePattern)
{
    return zelkaOperation(__FILE__, "CBlocks::getZelkaBlockSS", [&] {
        std::vector<AcDbObjectId> found;
        AcApDocument* current = acDocManagerPtr()->curDocument();
        if (current && current == drawing.getDocument()) {
            // The host's selection answers a reference's block name from its
            // file record where it can, so the furniture and other blocks of
            // a large plan are not built only to be passed over.
            resbuf name{};
            name.restype = 2;
            name.resval.rstring = const_cast<char*>(namePattern.c_str());
            resbuf type{};
            type.restype = RTDXF0;
            type.resval.rstring = const_cast<char*>("INSERT");
            type.rbnext = &name;
            ads_name set;
            if (acedSSGet("X", nullptr, nullptr, &type, set) != RTNORM) return found;
            int32_t length = 0;
            acedSSLength(set, &length);
            for (int32_t i = 0; i < length; ++i) {
                ads_name entity;
                AcDbObjectId id;
                if (acedSSName(set, i, entity) == RTNORM && acdbGetObjectId(id, entity) == Acad::eOk) found.push_back(id);
            }
            acedSSFree(set);
            return found;
        }
        // A drawing that is not the current document (the selection works
        // on that one only): each reference is opened and its name matched.
        for (AcDbObjectId id : drawingIds(drawing)) {
            if (!isBlockReference(id)) continue;
            AcDbObjectPointer<AcDbBlockReference> reference(id, AcDb::kForRead);
            if (reference && acutWcMatch(asciiUpper(reference->blockName()).c_str(), namePattern.c_str()) == 1)
                found.push_back(id);
        }
        return found;
    });
}

std::string CBlocks::readNameFromXData(const AcDbBlockReference* reference)
{
    return zelkaOperation(__FILE__, "CBlocks::readNameFromXData", [&] {
        CBlockDWG::Record record = CBlockDWG::readRecord(reference);
        return std::string(CBlockDWG::readNameFromRecord(record.texts));
    });
}

std::unique_ptr<CBlockDWG> CBlocks::classifyBlockReference(const AcDbBlockReference* reference,
                                                           CAcadDrawing& drawing, bool withAssets,
                                                           const std::string& level)
{
    return zelkaOperation(__FILE__, "CBlocks::classifyBlockReference", [&]() -> std::unique_ptr<CBlockDWG> {
        std::string name;
        {
            AcDbObjectPointer<AcDbBlockTableRecord> definition(reference->blockTableRecord(), AcDb::kForRead);
            if (!definition) return nullptr;
            name = definition->name();
        }
        if (name == "MARKER-LEGEND" || name == "MARKER-PIECHART") return nullptr;
        bool floorPlan = level == "f";
        if (name == "ROOM-GROSS_AREA") {
            if (floorPlan) return std::make_unique<CBlockDWGFloor>(reference, drawing);
            return std::make_unique<CBlockDWGSite>(reference, drawing);
        }
        // The record is fetched once: it tells a gross area record on an
        // ordinary definition (not a space) and is then read by the block.
        CBlockDWG::Record record = CBlockDWG::readRecord(reference);
        if (CBlockDWG::readNameFromRecord(record.texts) == "GROSS AREA") return nullptr;
        if (floorPlan) return std::make_unique<CBlockDWGRoom>(reference, drawing, withAssets, record);
        return std::make_unique<CBlockDWGBuilding>(reference, drawing, record);
    });
}

namespace {

// Appends the classified block of each reference, skipping those that cannot be opened.
// Each room's assets are a crossing selection of its outline over an
// unchanged drawing, so the selections share one spatial index.
void appendClassified(CBlocks& blocks, const std::vector<AcDbObjectId>& ids, CAcadDrawing& drawing,
                      bool withAssets, const std::string& level, bool skipNonSpaces)
{
    AcEdSelectionIndexScope nearbyOnly;
    for (AcDbObjectId id : ids)
        if (std::unique_ptr<CBlockDWG> block = CBlocks::readSpaceBlock(id, drawing, withAssets, level, skipNonSpaces))
            blocks.addBlock(std::move(block));
}

// Runs search with the whole drawing shown; the user's view comes back
// afterwards, whatever the search found or raised.
template <class Search>
void withDrawingExtentsShown(CAcadDrawing& drawing, Search&& search)
{
    drawing.zoomExtents();
    try {
        search();
    } catch (...) {
        drawing.zoomPrevious();
        throw;
    }
    drawing.zoomPrevious();
}

}  // namespace

std::unique_ptr<CBlockDWG> CBlocks::readSpaceBlock(AcDbObjectId id, CAcadDrawing& drawing, bool withAssets,
                                                   const std::string& level, bool skipNonSpaces)
{
    if (!isBlockReference(id)) return nullptr;
    AcDbObjectPointer<AcDbBlockReference> reference(id, AcDb::kForRead);
    if (!reference) return nullptr;
    if (skipNonSpaces && reference->blockTableRecord().isNull()) return nullptr;
    return classifyBlockReference(reference.object(), drawing, withAssets, level);
}

std::vector<AcDbObjectId> CBlocks::getZelkaBlockIds_SS(CAcadDrawing& drawing)
{
    return zelkaOperation(__FILE__, "CBlocks::getZelkaBlockIds_SS", [&] {
        std::vector<AcDbObjectId> ids;
        CAcadDrawingLock lock(drawing);
        if (!lock.isLocked()) return ids;
        withDrawingExtentsShown(drawing, [&] { ids = getZelkaBlockSS(drawing, "ROOM-*"); });
        return ids;
    });
}

void CBlocks::getZelkaDWGBlocks_SS(CAcadDrawing& drawing, bool withAssets, const std::string& level)
{
    zelkaOperation(__FILE__, "CBlocks::getZelkaDWGBlocks_SS", [&] {
        CAcadDrawingLock lock(drawing);
        if (!lock.isLocked()) return;
        withDrawingExtentsShown(drawing, [&] {
            appendClassified(*this, getZelkaBlockSS(drawing, "ROOM-*"), drawing, withAssets, level, true);
        });
    });
}

void CBlocks::getZelkaDWGBlocks_I(CAcadDrawing& drawing, bool withAssets, const std::string& level)
{
    zelkaOperation(__FILE__, "CBlocks::getZelkaDWGBlocks_I", [&] {
        CAcadDrawingLock lock(drawing);
        if (!lock.isLocked()) return;
        appendClassified(*this, modelSpaceIds(drawing), drawing, withAssets, level, false);
    });
}

void CBlocks::getAcadBlocks(CAcadDrawing& drawing)
{
    zelkaOperation(__FILE__, "CBlocks::getAcadBlocks", [&] {
        CAcadDrawingLock lock(drawing);
        if (!lock.isLocked()) return;
        for (AcDbObjectId id : drawingIds(drawing)) {
            if (!isBlockReference(id)) continue;
            AcDbObjectPointer<AcDbBlockReference> reference(id, AcDb::kForRead);
            if (reference) addBlock(std::make_unique<CBlockDWG>(reference.object(), drawing));
        }
    });
}

namespace {

// Appends one marker object per reference of the definition name in the drawing.
template <class Marker>
void appendMarkers(CBlocks& blocks, CAcadDrawing& drawing, const char* definitionName)
{
    for (AcDbObjectId id : CBlocks::getZelkaBlockSS(drawing, definitionName)) {
        AcDbObjectPointer<AcDbBlockReference> reference(id, AcDb::kForRead);
        if (reference) blocks.addBlock(std::make_unique<Marker>(reference.object(), drawing));
    }
}

}  // namespace

void CBlocks::getLegendBlock_SS(CAcadDrawing& drawing)
{
    zelkaOperation(__FILE__, "CBlocks::getLegendBlock_SS", [&] {
        CAcadDrawingLock lock(drawing);
        if (!lock.isLocked()) return;
        appendMarkers<CMarkerBlockLegend>(*this, drawing, "MARKER-LEGEND");
    });
}

void CBlocks::getPieBlock_SS(CAcadDrawing& drawing)
{
    zelkaOperation(__FILE__, "CBlocks::getPieBlock_SS", [&] {
        CAcadDrawingLock lock(drawing);
        if (!lock.isLocked()) return;
        appendMarkers<CMarkerBlockPie>(*this, drawing, "MARKER-PIECHART");
    });
}

void CBlocks::sortBlocksByHandle(bool ascending)
{
    zelkaOperation(__FILE__, "CBlocks::sortBlocksByHandle", [&] {
        CUtilities utilities;
        std::stable_sort(items_.begin(), items_.end(), [&](const auto& a, const auto& b) {
            int64_t ha = utilities.hexToInt(a->getHandle());
            int64_t hb = utilities.hexToInt(b->getHandle());
            return ascending ? ha < hb : ha > hb;
        });
    });
}

bool CBlocks::zoomToBlocks(CAcadDrawing& drawing, double margin, AcGePoint3d& lower, AcGePoint3d& upper) const
{
    return zelkaOperation(__FILE__, "CBlocks::zoomToBlocks", [&] {
        CAcadDrawingLock lock(drawing);
        if (!lock.isLocked()) return false;
        bool any = false;
        AcGePoint3d low, high;
        for (const auto& item : items_) {
            if (!isDrawingKind(item->getBlockKind())) continue;
            const auto* block = static_cast<const CBlockDWG*>(item.get());
            AcDbObjectPointer<AcDbBlockReference> reference(block->getBlockReferenceId(), AcDb::kForRead);
            if (!reference) continue;
            AcGePoint3d a, b;
            if (!CAcadUtilities::getBlockExtents(reference.object(), a, b, margin)) continue;
            // The corners of a rotated or mirrored block are not sorted.
            double minX = std::min(a.x, b.x), maxX = std::max(a.x, b.x);
            double minY = std::min(a.y, b.y), maxY = std::max(a.y, b.y);
            if (!any) {
                low = AcGePoint3d(minX, minY, 0.0);
                high = AcGePoint3d(maxX, maxY, 0.0);
                any = true;
            } else {
                low = AcGePoint3d(std::min(low.x, minX), std::min(low.y, minY), 0.0);
                high = AcGePoint3d(std::max(high.x, maxX), std::max(high.y, maxY), 0.0);
            }
        }
        if (!any) return false;
        drawing.zoomWindow(low, high);
        lower = low;
        upper = high;
        return true;
    });
}

bool CBlocks::zoomToBlocks(CAcadDrawing& drawing, double margin) const
{
    AcGePoint3d lower;
    AcGePoint3d upper;
    return zoomToBlocks(drawing, margin, lower, upper);
}

int32_t CBlocks::calcNextBlockIdentifier(AcDbDatabase* database)
{
    return zelkaOperation(__FILE__, "CBlocks::calcNextBlockIdentifier", [&] {
        if (!database) return 0;
        AcDbObjectPointer<AcDbBlockTable> table(database->blockTableId(), AcDb::kForRead);
        if (!table) return 0;
        int64_t largest = 0;
        for (AcDbObjectId id : table->recordIds()) {
            AcDbObjectPointer<AcDbBlockTableRecord> record(id, AcDb::kForRead);
            if (!record || record->name().size() < 5 || asciiUpper(record->name().substr(0, 5)) != "ROOM-") continue;
            int64_t number = 0;
            for (char c : record->name().substr(5)) {
                if (c < '0' || c > '9') break;
                number = number * 10 + (c - '0');
                if (number > INT32_MAX) break;
            }
            largest = std::max(largest, number);
        }
        return static_cast<int32_t>(std::min<int64_t>(largest + 1, INT32_MAX));
    });
}

void CBlocks::splitTrailingNumber(const std::string& name, std::string& leading, std::string& number)
{
    zelkaOperation(__FILE__, "CBlocks::splitTrailingNumber", [&] {
        size_t start = name.size();
        while (start > 0 && name[start - 1] >= '0' && name[start - 1] <= '9') --start;
        leading = name.substr(0, start);
        number = name.substr(start);
    });
}

std::string CBlocks::calcNextBlockName(const std::string& highest, int32_t increment)
{
    return zelkaOperation(__FILE__, "CBlocks::calcNextBlockName", [&] {
        std::string leading, number;
        splitTrailingNumber(highest.empty() ? std::string("Room ") : highest, leading, number);
        int64_t next = 1;
        if (!number.empty()) next = CUtilities().CStringToInt64(number) + increment;
        std::string text = std::to_string(next);
        if (text.size() < number.size()) text.insert(0, number.size() - text.size(), '0');
        return leading + text;
    });
}

std::string CBlocks::getHighestExistingBlockName(CAcadDrawing& drawing, std::vector<std::string>& existingNames)
{
    return zelkaOperation(__FILE__, "CBlocks::getHighestExistingBlockName", [&] {
        CBlocks rooms;
        rooms.getZelkaDWGBlocks_SS(drawing, false, "f");
        std::string highest;
        int64_t highestNumber = -1;
        for (int i = 0; i < rooms.size(); ++i) {
            const CBlock& block = rooms.getAt(i);
            if (block.getBlockKind() != BlockKind::DwgRoom) continue;
            existingNames.push_back(block.getName());
            std::string leading, number;
            splitTrailingNumber(block.getName(), leading, number);
            int64_t value = number.empty() ? 0 : CUtilities().CStringToInt64(number);
            if (value >= highestNumber) {
                highestNumber = value;
                highest = block.getName();
            }
        }
        return highest;
    });
}
