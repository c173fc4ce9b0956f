#include "editing/BulkBlockCreation.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <set>
#include <unordered_map>

#include "config/Preferences.h"
#include "editing/SpaceBlockFactory.h"
#include "host/db/AcDbAttribute.h"
#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbLayerTableRecord.h"
#include "host/db/AcDbObjectIterator.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbPolyline.h"
#include "host/db/AcDbMText.h"
#include "host/db/AcDbText.h"
#include "host/db/resbuf.h"
#include "host/ed/acedSelection.h"
#include "host/ge/PolylineGeometry.h"
#include "infra/Utilities.h"
#include "infra/ZelkaExceptions.h"
#include "module/AcadDrawing.h"
#include "spaces/AcadUtilities.h"
#include "spaces/BlockDWG.h"
#include "spaces/BlockDWGRoom.h"
#include "spaces/Blocks.h"
#include "spaces/OutlineGeometry.h"

namespace {

// A text that could name a space: its words and where it stands.
struct NameText {
    std::string text;
    AcGePoint2d at;
};

std::string trimmed(const std::string& text)
{
    const size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos) return {};
    return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

// Where a text stands as the user sees it: its insertion point when left
// and baseline aligned, between its two points when aligned or fitted,
// else its alignment point.
AcGePoint2d textAnchor(const AcDbText* text)
{
    const AcGePoint3d p = text->position();
    const AcGePoint3d a = text->alignmentPoint();
    if (text->horizontalMode() == AcDb::kTextLeft && text->verticalMode() == AcDb::kTextBase) return {p.x, p.y};
    if (text->horizontalMode() == AcDb::kTextAlign || text->horizontalMode() == AcDb::kTextFit)
        return {(p.x + a.x) / 2, (p.y + a.y) / 2};
    return {a.x, a.y};
}

bool isClass(AcDbObjectId id, const char* name)
{
    const AcRxClass* cls = id.objectClass();
    return cls && std::string(cls->name()) == name;
}

// The texts of model space and the attributes of its references that are
// not space or marker blocks, in a grid of square cells for finding those
// inside an outline.
class TextGrid {
public:
    explicit TextGrid(std::vector<NameText> texts) : texts_(std::move(texts))
    {
        if (texts_.empty()) return;
        AcGePoint2d lo = texts_[0].at;
        AcGePoint2d hi = lo;
        for (const NameText& t : texts_) {
            lo.x = std::min(lo.x, t.at.x);
            lo.y = std::min(lo.y, t.at.y);
            hi.x = std::max(hi.x, t.at.x);
            hi.y = std::max(hi.y, t.at.y);
        }
        // About one text per cell.
        const double extent = std::max({hi.x - lo.x, hi.y - lo.y, 1.0});
        cell_ = std::max(extent / std::sqrt(static_cast<double>(texts_.size())), 1e-6);
        for (size_t i = 0; i < texts_.size(); ++i) cells_[key(cellOf(texts_[i].at.x), cellOf(texts_[i].at.y))].push_back(i);
    }

    // The texts whose anchor lies inside the polygon (with the extents lo-hi).
    std::vector<const NameText*> inside(std::span<const AcGePoint2d> polygon, const AcGePoint2d& lo,
                                        const AcGePoint2d& hi) const
    {
        std::vector<const NameText*> found;
        if (texts_.empty()) return found;
        const int64_t x0 = cellOf(lo.x), x1 = cellOf(hi.x), y0 = cellOf(lo.y), y1 = cellOf(hi.y);
        // An outline covering far more cells than there are texts is checked text by text.
        if ((x1 - x0 + 1) * (y1 - y0 + 1) > static_cast<int64_t>(texts_.size())) {
            for (const NameText& t : texts_)
                if (within(t.at, lo, hi) && COutlineGeometry::contains(polygon, t.at)) found.push_back(&t);
            return found;
        }
        for (int64_t x = x0; x <= x1; ++x)
            for (int64_t y = y0; y <= y1; ++y) {
                auto it = cells_.find(key(x, y));
                if (it == cells_.end()) continue;
                for (size_t i : it->second)
                    if (within(texts_[i].at, lo, hi) && COutlineGeometry::contains(polygon, texts_[i].at))
                        found.push_back(&texts_[i]);
            }
        return found;
    }

private:
    static bool within(const AcGePoint2d& p, const AcGePoint2d& lo, const AcGePoint2d& hi)
    {
        return p.x >= lo.x && p.x <= hi.x && p.y >= lo.y && p.y <= hi.y;
    }
    int64_t cellOf(double v) const { return static_cast<int64_t>(std::floor(v / cell_)); }
    static uint64_t key(int64_t x, int64_t y) { return (static_cast<uint64_t>(x) << 32) ^ static_cast<uint32_t>(y); }

    std::vector<NameText> texts_;
    double cell_ = 1.0;
    std::unordered_map<uint64_t, std::vector<size_t>> cells_;
};

std::vector<NameText> collectNameTexts(AcDbDatabase* db)
{
    std::vector<NameText> texts;
    AcDbObjectPointer<AcDbBlockTableRecord> modelSpace(db->modelSpaceId(), AcDb::kForRead);
    if (!modelSpace) return texts;
    const std::vector<AcDbObjectId> ids = modelSpace->entityIds();
    modelSpace.close();
    for (AcDbObjectId id : ids) {
        if (isClass(id, "AcDbText")) {
            AcDbObjectPointer<AcDbText> text(id, AcDb::kForRead);
            if (!text) continue;
            const std::string words = trimmed(text->textString());
            if (!words.empty()) texts.push_back({words, textAnchor(text.object())});
        } else if (isClass(id, "AcDbMText")) {
            // A multiline text names its room by its first line (a room
            // number above a description, say); formatting codes are read
            // away first. It stands where its attachment point is.
            AcDbObjectPointer<AcDbMText> text(id, AcDb::kForRead);
            if (!text) continue;
            const std::string plain = text->text();
            std::string words;
            for (size_t start = 0; start <= plain.size() && words.empty();) {
                const size_t end = std::min(plain.find('\n', start), plain.size());
                words = trimmed(plain.substr(start, end - start));
                start = end + 1;
            }
            if (!words.empty()) texts.push_back({words, {text->location().x, text->location().y}});
        } else if (isClass(id, "AcDbBlockReference")) {
            AcDbObjectPointer<AcDbBlockReference> reference(id, AcDb::kForRead);
            if (!reference) continue;
            std::string name;
            {
                AcDbObjectPointer<AcDbBlockTableRecord> definition(reference->blockTableRecord(), AcDb::kForRead);
                if (definition) name = definition->name();
            }
            std::string upper = name;
            std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
            // A space's or a marker's own labels name nothing new.
            if (upper.rfind("ROOM-", 0) == 0 || upper.rfind("MARKER-", 0) == 0) continue;
            std::unique_ptr<AcDbObjectIterator> it(reference->attributeIterator());
            for (it->start(); !it->done(); it->step()) {
                AcDbObjectPointer<AcDbAttribute> attribute(it->objectId(), AcDb::kForRead);
                if (!attribute || attribute->isInvisible()) continue;
                const std::string words = trimmed(attribute->textString());
                if (!words.empty()) texts.push_back({words, textAnchor(attribute.object())});
            }
        }
    }
    return texts;
}

// The handles every space block of the drawing lists as added or subtracted.
std::set<uint64_t> spaceContentHandles(CAcadDrawing& drawing)
{
    std::set<uint64_t> handles;
    CBlocks blocks;
    for (AcDbObjectId id : CBlocks::getZelkaBlockSS(drawing, "ROOM-*")) {
        AcDbObjectPointer<AcDbBlockReference> reference(id, AcDb::kForRead);
        if (!reference) continue;
        CBlockDWG block(reference.object(), drawing);
        for (const AcDbHandle& h : block.getHandlesToAdd()) handles.insert(h.value());
        for (const AcDbHandle& h : block.getHandlesToMinus()) handles.insert(h.value());
    }
    return handles;
}

bool isIdentity(const AcGeMatrix3d& m)
{
    return m == AcGeMatrix3d::kIdentity;
}

}  // namespace

CBulkBlockCreation::CBulkBlockCreation(CAcadDrawing& drawing, const CPreferences& preferences)
    : drawing_(drawing), preferences_(preferences)
{
}

std::vector<AcDbObjectId> CBulkBlockCreation::findOutlines(const std::string& layerPattern) const
{
    return zelkaOperation(__FILE__, "CBulkBlockCreation::findOutlines", [&] {
        std::vector<AcDbObjectId> found;
        AcDbDatabase* db = drawing_.getDatabase();
        if (!db) return found;
        resbuf layer{};
        layer.restype = 8;
        layer.resval.rstring = const_cast<char*>(layerPattern.c_str());
        resbuf type{};
        type.restype = RTDXF0;
        type.resval.rstring = const_cast<char*>("LWPOLYLINE");
        type.rbnext = &layer;
        ads_name set;
        if (acedSSGet("X", nullptr, nullptr, &type, set) != RTNORM) return found;
        int32_t length = 0;
        acedSSLength(set, &length);
        const AcDbObjectId modelSpace = db->modelSpaceId();
        found.reserve(static_cast<size_t>(length));
        for (int32_t i = 0; i < length; ++i) {
            ads_name entity;
            AcDbObjectId id;
            if (acedSSName(set, i, entity) != RTNORM || acdbGetObjectId(id, entity) != Acad::eOk) continue;
            // Outlines of paper space layouts are not plans.
            AcDbObjectPointer<AcDbEntity> outline(id, AcDb::kForRead);
            if (outline && outline->ownerId() == modelSpace) found.push_back(id);
        }
        acedSSFree(set);
        return found;
    });
}

int CBulkBlockCreation::run(const std::vector<AcDbObjectId>& outlines, const std::function<void(int)>& step)
{
    return zelkaOperation(__FILE__, "CBulkBlockCreation::run", [&] {
        AcDbDatabase* db = drawing_.getDatabase();
        if (!db) return 0;
        skipped_.clear();
        const int32_t units = preferences_.getUnits();
        const int32_t precision = preferences_.getPrecision();
        double textHeight = preferences_.getTextSize();
        if (textHeight <= 0.0) textHeight = 1.0;
        const AcGeMatrix3d ucs = CBlockDWG::currentUcsMatrix(drawing_);
        const AcGeMatrix3d toUcs = ucs.inverse();
        const bool turned = !isIdentity(ucs);

        const TextGrid texts(collectNameTexts(db));
        const std::set<uint64_t> content = spaceContentHandles(drawing_);
        std::vector<std::string> existingNames;
        std::string lastName = CBlocks::getHighestExistingBlockName(drawing_, existingNames);
        int32_t nextNumber = CBlocks::calcNextBlockIdentifier(db);
        CSpaceBlockFactory factory(drawing_, true);
        CUtilities u;
        int made = 0;

        for (size_t index = 0; index < outlines.size(); ++index) {
            if (step) step(static_cast<int>(index));
            const AcDbObjectId id = outlines[index];
            std::string layer;
            std::string reason;
            std::vector<AcGePoint2d> polygon;
            AcGePoint2d lo, hi;
            double area = 0.0;
            double perimeter = 0.0;
            {
                AcDbObjectPointer<AcDbPolyline> outline(id, AcDb::kForRead);
                if (!outline) continue;
                layer = outline->layer();
                std::vector<AcGeBulgeVertex> vertices;
                vertices.reserve(outline->numVerts());
                for (const AcDbPolyline::Vertex& v : outline->vertices()) vertices.push_back({v.point, v.bulge});
                if (content.count(id.handle().value())) {
                    reason = "it is an added or subtracted area of a space block";
                } else if (!outline->isClosed()) {
                    reason = "it is not closed";
                } else {
                    // Crossing first: a figure-of-eight also has a net area of zero.
                    acgePolylineExtents(vertices, true, lo, hi);
                    const double span = std::max(hi.x - lo.x, hi.y - lo.y);
                    polygon = COutlineGeometry::flatten(vertices);
                    const bool noArea = !(acgePolylineArea(vertices, true) > 1e-12 * span * span);
                    if (noArea && COutlineGeometry::isCollinear(polygon))
                        reason = "its area is zero";
                    else if (COutlineGeometry::isSelfIntersecting(polygon))
                        reason = "it crosses itself";
                    else if (noArea)
                        reason = "its area is zero";
                }
                if (reason.empty()) {
                    AcDbObjectPointer<AcDbLayerTableRecord> layerRecord(outline->layerId(), AcDb::kForRead);
                    if (layerRecord && layerRecord->isLocked()) reason = "its layer is locked";
                }
                if (reason.empty()) {
                    area = u.roundDouble(CAcadUtilities::calculatePolylineArea(outline.object(), db->lunits(), units),
                                         precision);
                    perimeter = CAcadUtilities::calculatePolylinePerimeter(outline.object(), db->lunits(), units);
                }
            }
            if (!reason.empty()) {
                skipped_.push_back({id.handle().toString(), layer, reason});
                continue;
            }

            // The name: the one text inside, else the next in the sequence.
            std::string name;
            const std::vector<const NameText*> inside = texts.inside(polygon, lo, hi);
            if (inside.size() == 1) {
                name = inside.front()->text;
            } else {
                name = CBlocks::calcNextBlockName(lastName, preferences_.getIncrement());
                lastName = name;
            }
            const AcGePoint2d pole = COutlineGeometry::poleOfInaccessibility(polygon);
            AcGePoint3d label(pole.x, pole.y, 0.0);
            if (turned) {
                label.transformBy(toUcs);
                AcDbObjectPointer<AcDbEntity> outline(id, AcDb::kForWrite);
                if (outline) outline->transformBy(toUcs);
            }
            CBlockDWGRoom room;
            CSpaceBlockFactory::setUpRoom(room, name, area, perimeter, units, precision,
                                          "ROOM-" + std::to_string(nextNumber), textHeight,
                                          preferences_.getTextScale(), preferences_.getTextRotation());
            const Acad::ErrorStatus status = factory.makeSpaceBlock(id, label, ucs, room);
            if (status != Acad::eOk) {
                if (turned) {
                    AcDbObjectPointer<AcDbEntity> outline(id, AcDb::kForWrite);
                    if (outline) outline->transformBy(ucs);
                }
                skipped_.push_back({id.handle().toString(), layer,
                                    std::string("the block could not be made (") + acadErrorStatusText(status) + ")"});
                if (status == Acad::eDuplicateRecordName) ++nextNumber;
                continue;
            }
            ++nextNumber;
            ++made;
        }
        factory.finish();
        return made;
    });
}
