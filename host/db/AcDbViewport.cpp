#include "host/db/AcDbViewport.h"

#include <vector>

#include "host/db/AcDbDatabase.h"

const AcRxClass* AcDbViewport::desc()
{
    static const AcRxClass cls("AcDbViewport", "VIEWPORT", AcDbEntity::desc());
    return &cls;
}

Acad::ErrorStatus AcDbViewport::getGeomExtents(AcDbExtents& ext) const
{
    ext = AcDbExtents();
    ext.addPoint(AcGePoint3d(center_.x - width_ / 2, center_.y - height_ / 2, center_.z));
    ext.addPoint(AcGePoint3d(center_.x + width_ / 2, center_.y + height_ / 2, center_.z));
    return Acad::eOk;
}

Acad::ErrorStatus AcDbViewport::checkLayers(const AcDbObjectIdArray& layerIds) const
{
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    AcDbDatabase* db = database();
    if (!db)
        return Acad::eNotInDatabase;
    for (const AcDbObjectId& id : layerIds)
        if (id.isNull() || id.database() != db
            || id.stub()->kind != static_cast<uint8_t>(AcDbObjectKind::LayerTableRecord))
            return Acad::eInvalidInput;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbViewport::freezeLayersInViewport(const AcDbObjectIdArray& layerIds)
{
    if (Acad::ErrorStatus es = checkLayers(layerIds); es != Acad::eOk)
        return es;
    bool changed = false;
    for (const AcDbObjectId& id : layerIds)
        if (!frozen_.contains(id)) {
            frozen_.append(id);
            changed = true;
        }
    if (changed) {
        frozenModified_ = true;
        assertWriteEnabled();
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbViewport::thawLayersInViewport(const AcDbObjectIdArray& layerIds)
{
    if (Acad::ErrorStatus es = checkLayers(layerIds); es != Acad::eOk)
        return es;
    size_t before = frozen_.size();
    std::erase_if(frozen_, [&](const AcDbObjectId& id) { return layerIds.contains(id); });
    if (frozen_.size() != before) {
        frozenModified_ = true;
        assertWriteEnabled();
    }
    return Acad::eOk;
}

bool AcDbViewport::isLayerFrozenInViewport(const AcDbObjectId& layerId) const
{
    return !layerId.isNull() && frozen_.contains(layerId);
}

Acad::ErrorStatus AcDbViewport::getFrozenLayerList(AcDbObjectIdArray& layerIds) const
{
    layerIds = frozen_;
    return Acad::eOk;
}
