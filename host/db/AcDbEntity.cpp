#include "host/db/AcDbEntity.h"

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbGeometrySink.h"
#include "host/db/AcDbLayerTable.h"
#include "host/db/AcDbOpen.h"

const AcRxClass* AcDbEntity::desc()
{
    static const AcRxClass cls("AcDbEntity", "", AcDbObject::desc());
    return &cls;
}

const AcRxClass* AcDbEntity::isA() const { return fileClass_ ? fileClass_ : desc(); }

AcDbObjectId AcDbEntity::layerId() const
{
    AcDbDatabase* db = database();
    if (!db || !db->data().layerTable)
        return {};
    auto* table = static_cast<AcDbLayerTable*>(db->objectOf(db->data().layerTable));
    AcDbObjectId id;
    table->getAt(layer_.c_str(), id);
    return id;
}

Acad::ErrorStatus AcDbEntity::setLayer(const char* name, bool)
{
    if (!name || !*name)
        return Acad::eInvalidInput;
    if (AcDbDatabase* db = database(); db && db->data().layerTable) {
        auto* table = static_cast<AcDbLayerTable*>(db->objectOf(db->data().layerTable));
        if (!table->has(name))
            return Acad::eKeyNotFound;
    }
    layer_ = name;
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbEntity::setLayer(AcDbObjectId id, bool)
{
    AcDbStub* s = id.stub();
    if (!s || s->kind != static_cast<uint8_t>(AcDbObjectKind::LayerTableRecord))
        return Acad::eInvalidInput;
    auto* rec = static_cast<AcDbSymbolTableRecord*>(s->database->objectOf(s));
    layer_ = rec->name();
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbEntity::setColor(const AcCmColor& color, bool)
{
    color_ = color;
    return assertWriteEnabled();
}

uint16_t AcDbEntity::colorIndex() const
{
    if (color_.isByLayer())
        return 256;
    if (color_.isByBlock())
        return 0;
    return static_cast<uint16_t>(color_.colorIndex());
}

Acad::ErrorStatus AcDbEntity::setColorIndex(uint16_t index, bool)
{
    if (index > 256)
        return Acad::eInvalidInput;
    if (index == 256)
        color_.setByLayer();
    else if (index == 0)
        color_.setByBlock();
    else
        color_.setColorIndex(static_cast<int16_t>(index));
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbEntity::setLinetype(const char* name, bool)
{
    if (!name || !*name)
        return Acad::eInvalidInput;
    linetype_ = name;
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbEntity::setLineWeight(AcDb::LineWeight weight, bool)
{
    lineWeight_ = weight;
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbEntity::setVisibility(AcDb::Visibility v, bool)
{
    invisible_ = v == AcDb::kInvisible;
    return assertWriteEnabled();
}

void AcDbEntity::copyEntityPropertiesTo(AcDbEntity& other) const
{
    other.layer_ = layer_;
    other.color_ = color_;
    other.linetype_ = linetype_;
    other.linetypeScale_ = linetypeScale_;
    other.lineWeight_ = lineWeight_;
    other.invisible_ = invisible_;
}

Acad::ErrorStatus AcDbEntity::transformBy(const AcGeMatrix3d&) { return Acad::eNotApplicable; }

Acad::ErrorStatus AcDbEntity::getGeomExtents(AcDbExtents&) const { return Acad::eNotApplicable; }

Acad::ErrorStatus AcDbEntity::setDatabaseDefaults(AcDbDatabase* db)
{
    if (!db)
        db = database() ? database() : acdbWorkingDatabase();
    if (!db)
        return Acad::eNotInDatabase;
    const AcDbObjectId layer = db->clayer();
    if (!layer.isNull())
        setLayer(layer);
    linetypeScale_ = db->celtscale();
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbEntity::checkWriteOpen() const { return acdbCheckLayerWritable(database(), layer_.c_str()); }

Acad::ErrorStatus acdbCheckLayerWritable(AcDbDatabase* db, const char* layerName)
{
    if (!db || !db->data().layerTable)
        return Acad::eOk;
    auto* table = static_cast<AcDbLayerTable*>(db->objectOf(db->data().layerTable));
    AcDbObjectId id;
    if (table->getAt(layerName, id) != Acad::eOk)
        return Acad::eOk;
    auto* layer = static_cast<AcDbLayerTableRecord*>(db->objectOf(id.stub()));
    return layer && layer->isLocked() ? Acad::eOnLockedLayer : Acad::eOk;
}

void AcDbEntity::drawGeometry(AcDbGeometrySink& sink) const
{
    if (invisible_ || !sink.beginEntity(*this))
        return;
    subDrawGeometry(sink);
    sink.endEntity(*this);
}

void AcDbEntity::subDrawGeometry(AcDbGeometrySink& sink) const
{
    AcDbExtents extents;
    if (getGeomExtents(extents) != Acad::eOk || !extents.isValid())
        return;
    const AcGePoint3d a = extents.minPoint();
    const AcGePoint3d b = extents.maxPoint();
    sink.polygon({a, AcGePoint3d(b.x, a.y, a.z), AcGePoint3d(b.x, b.y, a.z), AcGePoint3d(a.x, b.y, a.z)});
}
