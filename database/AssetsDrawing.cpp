// The drawing side of assets: finding the block references that stand in a
// room outline, and showing a graphic report's assets in the drawing,
// hatched over the box of their block and hyperlinked. Failures carry the
// class "Assets" like the rest of the two classes' operations.

#include <memory>
#include <string>
#include <vector>

#include "database/Assets.h"
#include "database/Hyperlinks.h"
#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbExtents.h"
#include "host/db/AcDbHatch.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbOpen.h"
#include "host/db/AcDbPolyline.h"
#include "host/db/resbuf.h"
#include "host/ed/acedSelection.h"
#include "host/ge/UcsTransform.h"
#include "infra/ZelkaExceptions.h"
#include "module/AcadDrawing.h"
#include "module/AcadDrawingLock.h"
#include "reports/Hatch.h"
#include "reports/Layers.h"
#include "spaces/Attributes.h"

namespace {

constexpr const char* kSource = "Assets.cpp";

// The drawing's current UCS as the matrix from world to UCS coordinates.
AcGeMatrix3d worldToUcs(const CAcadDrawing& drawing)
{
    AcDbDatabase* db = drawing.getDatabase();
    if (!db)
        return AcGeMatrix3d::kIdentity;
    return acgeWorldToUcs(db->ucsorg(), db->ucsxdir(), db->ucsydir());
}

// The current UCS Z axis in world coordinates: the normal of new hatches.
AcGeVector3d ucsNormal(const CAcadDrawing& drawing)
{
    AcDbDatabase* db = drawing.getDatabase();
    if (!db)
        return AcGeVector3d(0, 0, 1);
    AcGeMatrix3d toWorld = acgeUcsToWorld(db->ucsorg(), db->ucsxdir(), db->ucsydir());
    return (toWorld * AcGeVector3d(0, 0, 1)).normal();
}

// A selection set freed when it goes out of scope.
class SelectionSet {
public:
    SelectionSet() = default;
    SelectionSet(const SelectionSet&) = delete;
    SelectionSet& operator=(const SelectionSet&) = delete;
    ~SelectionSet()
    {
        if (made)
            acedSSFree(name);
    }
    ads_name name = {0, 0};
    bool made = false;
};

// A resbuf chain freed when it goes out of scope.
struct ChainDeleter {
    void operator()(resbuf* chain) const { acutRelRb(chain); }
};
using Chain = std::unique_ptr<resbuf, ChainDeleter>;

// The block references of model space that cross or lie inside the outline,
// except the space blocks: a crossing-polygon selection through the outline's
// vertices in UCS coordinates (a vertex equal to the one before it dropped),
// filtered to inserts whose block name does not begin with "ROOM-".
std::vector<AcDbObjectId> selectAssetsInOutline(const CAcadDrawing& drawing, const AcDbPolyline* polyline)
{
    std::vector<AcDbObjectId> ids;
    if (!polyline)
        return ids;
    const AcGeMatrix3d toUcs = worldToUcs(drawing);
    Chain polygon;
    resbuf* tail = nullptr;
    AcGePoint3d previous;
    for (unsigned i = 0; i < polyline->numVerts(); ++i) {
        AcGePoint3d world;
        if (polyline->getPointAt(i, world) != Acad::eOk)
            continue;
        AcGePoint3d point = toUcs * world;
        if (tail && point == previous)
            continue;
        previous = point;
        resbuf* rb = acutNewRb(RT3DPOINT);
        rb->resval.rpoint[0] = point.x;
        rb->resval.rpoint[1] = point.y;
        rb->resval.rpoint[2] = point.z;
        if (tail)
            tail->rbnext = rb;
        else
            polygon.reset(rb);
        tail = rb;
    }
    Chain filter(acutBuildList(RTDXF0, "INSERT", 2, "~ROOM-*", 0));
    SelectionSet set;
    set.made = acedSSGet("CP", polygon.get(), nullptr, filter.get(), set.name) == RTNORM;
    if (!set.made)
        return ids;
    int32_t length = 0;
    acedSSLength(set.name, &length);
    for (int32_t i = 0; i < length; ++i) {
        ads_name entity;
        AcDbObjectId id;
        if (acedSSName(set.name, i, entity) == RTNORM && acdbGetObjectId(id, entity) == Acad::eOk)
            ids.push_back(id);
    }
    return ids;
}

// The name of a block definition; for the anonymous "*U" variant of a
// dynamic block, the name of the dynamic block's own definition, which CAD
// programs record in the variant's "AcDbBlockRepBTag" extended data (group
// 1005). The variant's name stands when that record is missing.
std::string assetBlockName(const AcDbBlockReference* reference)
{
    AcDbObjectPointer<AcDbBlockTableRecord> definition(reference->blockTableRecord(), AcDb::kForRead);
    if (!definition)
        return reference->blockName();
    std::string name = definition->name();
    if (name.compare(0, 2, "*U") != 0 && name.compare(0, 2, "*u") != 0)
        return name;
    Chain record(definition->xData("AcDbBlockRepBTag"));
    AcDbDatabase* db = definition->database();
    for (const resbuf* rb = record.get(); rb && db; rb = rb->rbnext) {
        if (rb->restype != 1005 || !rb->resval.rstring)
            continue;
        AcDbObjectId dynamicId;
        if (db->getAcDbObjectId(dynamicId, false, AcDbHandle(rb->resval.rstring)) != Acad::eOk)
            break;
        AcDbObjectPointer<AcDbBlockTableRecord> dynamic(dynamicId, AcDb::kForRead);
        if (dynamic)
            return dynamic->name();
        break;
    }
    return name;
}

std::string& excludedIdentifiers()
{
    static std::string list;
    return list;
}

}  // namespace

AcDbObjectId CAsset::resolveObjectId(CAcadDrawing& drawing) const
{
    if (!objectId_.isNull() || handle_.empty())
        return objectId_;
    AcDbDatabase* db = drawing.getDatabase();
    AcDbObjectId id;
    if (!db || handle_.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos ||
        db->getAcDbObjectId(id, false, AcDbHandle(handle_)) != Acad::eOk)
        return AcDbObjectId::kNull;
    return id;
}

void CAsset::applyToDWG(CAcadDrawing& drawing, CZelkaExceptions& errors)
{
    zelkaOperation(kSource, "CAsset::applyToDWG", [&] {
        CAcadDrawingLock lock(drawing);
        if (!lock.isLocked())
            raiseHostStatus(static_cast<Acad::ErrorStatus>(lock.status()), __LINE__, drawing.getFullPath());
        AcDbObjectId id = resolveObjectId(drawing);
        if (id.isNull())
            return;
        AcDbObjectPointer<AcDbBlockReference> reference(id, AcDb::kForWrite);
        if (!reference)
            return;
        CLayer layer;
        layer.setName(reference->layer());
        layer.ensureLayerExists(drawing);
        AcDbObjectId hatchId;
        if (hatch_)
            hatchId = hatchAsset(drawing, reference.object(), errors);
        if (hyperlinks_ && hyperlinks_->getCount() > 0) {
            hyperlinkAsset(reference.object());
            if (!hatchId.isNull())
                hyperlinkHatch(drawing, hatchId);
        }
        if (attributes_)
            attributes_->applyToDWG(reference.object());
    });
}

AcDbObjectId CAsset::hatchAsset(CAcadDrawing& drawing, const AcDbBlockReference* reference, CZelkaExceptions& errors)
{
    return zelkaOperation(kSource, "CAsset::hatchAsset", [&] {
        if (!hatch_ || !reference)
            return AcDbObjectId::kNull;
        AcDbObjectPointer<AcDbBlockTableRecord> definition(reference->blockTableRecord(), AcDb::kForRead);
        if (!definition)
            return AcDbObjectId::kNull;
        // The box in block coordinates; the block transform (which takes the
        // definition's base point to the insertion point) places it.
        AcDbExtents box;
        for (AcDbObjectId partId : definition->entityIds()) {
            AcDbObjectPointer<AcDbEntity> part(partId, AcDb::kForRead);
            AcDbExtents extents;
            if (part && part->getGeomExtents(extents) == Acad::eOk)
                box.addExt(extents);
        }
        definition.close();
        if (!box.isValid())
            return AcDbObjectId::kNull;
        return hatchAssetArea(drawing, reference, box.minPoint(), box.maxPoint(), errors);
    });
}

AcDbObjectId CAsset::hatchAssetArea(CAcadDrawing& drawing, const AcDbBlockReference* reference,
                                    const AcGePoint3d& lower, const AcGePoint3d& upper, CZelkaExceptions& errors)
{
    return zelkaOperation(kSource, "CAsset::hatchAssetArea", [&] {
        if (!hatch_ || !reference)
            return AcDbObjectId::kNull;
        const std::string subject = "asset - " + handle_;
        // The rectangle as a closed polyline that never enters the drawing.
        AcDbPolyline outline;
        outline.addVertexAt(0, AcGePoint2d(lower.x, lower.y));
        outline.addVertexAt(1, AcGePoint2d(upper.x, lower.y));
        outline.addVertexAt(2, AcGePoint2d(upper.x, upper.y));
        outline.addVertexAt(3, AcGePoint2d(lower.x, upper.y));
        outline.setClosed(true);
        outline.setElevation(lower.z);
        Acad::ErrorStatus es = outline.transformBy(reference->blockTransform());

        Acad::ErrorStatus patternStatus = Acad::eOk;
        std::unique_ptr<AcDbHatch> hatch = hatch_->makeHatchEntity(ucsNormal(drawing), false, patternStatus);
        if (patternStatus != Acad::eOk) {
            errors.add(CEXUnhandled(ZELKA_MODULE_TITLE, kSource, "CAsset::hatchAssetArea", patternStatus, __LINE__,
                                    drawing.getFullPath(), nullptr));
            return AcDbObjectId::kNull;
        }
        // On the layer actually made: the name cleaned of forbidden characters.
        CLayers::ensureLayerExists(drawing, hatch_->getLayer(), hatch_->getColour());
        hatch->setLayer(CLayer::validateLayerName(hatch_->getLayer()).c_str());
        if (es == Acad::eOk)
            es = CHatch::appendPolylineLoop(*hatch, AcDbHatch::kOutermost, outline);
        if (es != Acad::eOk) {
            errors.add(CEXUnhandled(ZELKA_MODULE_TITLE, kSource, "CAsset::hatchAssetArea", es, __LINE__,
                                    drawing.getFullPath(), nullptr));
            return AcDbObjectId::kNull;
        }
        es = hatch->evaluateHatch();
        std::string density = hatch_->densityMessage(subject, es);
        if (!density.empty())
            errors.add(CEXCustom(ZELKA_MODULE_TITLE, kSource, "CAsset::hatchAssetArea", density, 0, nullptr));
        else if (es != Acad::eOk)
            errors.add(CEXUnhandled(ZELKA_MODULE_TITLE, kSource, "CAsset::hatchAssetArea", es, __LINE__,
                                    drawing.getFullPath(), nullptr));
        AcDbHatch* posted = hatch.release();
        try {
            drawing.postToDrawing(posted);
        } catch (const CEXZelka& e) {
            errors.add(e);
            return AcDbObjectId::kNull;
        }
        return posted->objectId();
    });
}

void CAsset::hyperlinkAsset(AcDbBlockReference* reference)
{
    zelkaOperation(kSource, "CAsset::hyperlinkAsset", [&] {
        if (!reference)
            return;
        hyperlinkEntity(reference);
        {
            AcDbObjectPointer<AcDbBlockTableRecord> definition(reference->blockTableRecord(), AcDb::kForRead);
            std::vector<AcDbObjectId> parts = definition ? definition->entityIds() : std::vector<AcDbObjectId>();
            definition.close();
            for (AcDbObjectId partId : parts) {
                AcDbObjectPointer<AcDbEntity> part(partId, AcDb::kForWrite);
                if (part)
                    hyperlinkEntity(part.object());
            }
        }
        std::unique_ptr<AcDbObjectIterator> attributes(reference->attributeIterator());
        for (attributes->start(); !attributes->done(); attributes->step()) {
            AcDbObjectPointer<AcDbEntity> attribute(attributes->objectId(), AcDb::kForWrite);
            if (attribute)
                hyperlinkEntity(attribute.object());
        }
    });
}

void CAsset::hyperlinkEntity(AcDbEntity* entity)
{
    zelkaOperation(kSource, "CAsset::hyperlinkEntity", [&] {
        CHyperlinks none;
        const CHyperlinks& links = hyperlinks_ ? *hyperlinks_ : none;
        Acad::ErrorStatus es = links.setEntityHyperlinks(entity);
        if (es != Acad::eOk)
            raiseHostStatus(es, __LINE__);
    });
}

void CAsset::hyperlinkHatch(CAcadDrawing& drawing, AcDbObjectId hatchId)
{
    zelkaOperation(kSource, "CAsset::hyperlinkHatch", [&] {
        if (hatchId.isNull())
            return;
        AcDbObjectPointer<AcDbHatch> hatch(hatchId, AcDb::kForWrite);
        if (!hatch)
            raiseHostStatus(hatch.openStatus(), __LINE__, drawing.getFullPath());
        hyperlinkEntity(hatch.object());
    });
}

void CAssets::applyToDWG(CAcadDrawing& drawing, CZelkaExceptions& errors)
{
    zelkaOperation(kSource, "CAssets::applyToDWG", [&] {
        for (const auto& asset : items_)
            asset->applyToDWG(drawing, errors);
    });
}

void CAssets::getPolylineAssets(CAcadDrawing& drawing, const AcDbPolyline* polyline)
{
    zelkaOperation(kSource, "CAssets::getPolylineAssets", [&] {
        const AcGeMatrix3d toUcs = worldToUcs(drawing);
        for (AcDbObjectId id : selectAssetsInOutline(drawing, polyline)) {
            AcDbObjectPointer<AcDbBlockReference> reference(id, AcDb::kForRead);
            if (!reference)
                continue;
            auto asset = std::make_unique<CAsset>();
            asset->setLocationID(0);
            asset->setHandle(reference->handle().toString());
            asset->setAcadBlockIdentifier(assetBlockName(reference.object()));
            asset->setAcadBlockDescription("");
            asset->setUniqueDescription("");
            AcGePoint3d point = toUcs * reference->position();
            asset->setPointX(point.x);
            asset->setPointY(point.y);
            asset->setAssetExistsInLocation(1);
            asset->setObjectId(id);
            auto attributes = std::make_unique<CAttributes>();
            attributes->extractAttributeValues(reference.object());
            asset->setAttributes(std::move(attributes));
            if (!isExcludedIdentifier(asset->getAcadBlockIdentifier()))
                add(std::move(asset));
        }
    });
}

void CAssets::setPolylineAssetAttributesInvisible(CAcadDrawing& drawing, const AcDbPolyline* polyline)
{
    zelkaOperation(kSource, "CAssets::setPolylineAssetAttributesInvisible", [&] {
        for (AcDbObjectId id : selectAssetsInOutline(drawing, polyline)) {
            AcDbObjectPointer<AcDbBlockReference> reference(id, AcDb::kForRead);
            if (!reference)
                continue;
            CAttributes hidden;
            hidden.setAttributesIDsInvisible(reference.object());
        }
        drawing.regenDrawing();
    });
}

const std::string& CAssets::getExcludedIdentifiers()
{
    return excludedIdentifiers();
}

void CAssets::setExcludedIdentifiers(const std::string& list)
{
    excludedIdentifiers() = list;
}

bool CAssets::isExcludedIdentifier(const std::string& identifier)
{
    return excludedIdentifiers().find("," + identifier + ",") != std::string::npos;
}
