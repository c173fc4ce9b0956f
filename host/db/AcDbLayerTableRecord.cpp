#include "host/db/AcDbLayerTableRecord.h"

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbLinetypeTable.h"

const AcRxClass* AcDbLayerTableRecord::desc()
{
    static const AcRxClass cls("AcDbLayerTableRecord", "LAYER", AcDbSymbolTableRecord::desc());
    return &cls;
}

AcDbLayerTableRecord::AcDbLayerTableRecord() { color_.setColorIndex(7); }

int AcDbLayerTableRecord::flags() const { return layerFlags_; }

void AcDbLayerTableRecord::setFlag(int bit, bool on)
{
    layerFlags_ = on ? (layerFlags_ | bit) : (layerFlags_ & ~bit);
    assertWriteEnabled();
}

Acad::ErrorStatus AcDbLayerTableRecord::setIsFrozen(bool frozen)
{
    setFlag(1, frozen);
    return Acad::eOk;
}

void AcDbLayerTableRecord::setIsLocked(bool locked) { setFlag(4, locked); }

void AcDbLayerTableRecord::setIsOff(bool off)
{
    off_ = off;
    assertWriteEnabled();
}

Acad::ErrorStatus AcDbLayerTableRecord::setIsPlottable(bool plottable)
{
    plottable_ = plottable;
    return assertWriteEnabled();
}

void AcDbLayerTableRecord::setColor(const AcCmColor& color)
{
    color_ = color;
    assertWriteEnabled();
}

Acad::ErrorStatus AcDbLayerTableRecord::setLineWeight(AcDb::LineWeight weight)
{
    if (weight == AcDb::kLnWtByLayer || weight == AcDb::kLnWtByBlock)
        return Acad::eInvalidInput;
    lineWeight_ = weight;
    return assertWriteEnabled();
}

void AcDbLayerTableRecord::setLinetypeObjectId(AcDbObjectId id)
{
    AcDbStub* s = id.stub();
    if (!s || s->kind != static_cast<uint8_t>(AcDbObjectKind::LinetypeTableRecord))
        return;
    linetype_ = static_cast<AcDbSymbolTableRecord*>(s->database->objectOf(s))->name();
    assertWriteEnabled();
}
