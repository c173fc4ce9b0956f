#include "host/db/AcDbLayerTable.h"

const AcRxClass* AcDbLayerTable::desc()
{
    static const AcRxClass cls("AcDbLayerTable", "TABLE", AcDbSymbolTable::desc());
    return &cls;
}

Acad::ErrorStatus AcDbLayerTable::getAt(const char* name, AcDbLayerTableRecord*& record, AcDb::OpenMode mode, bool openErased) const
{
    record = nullptr;
    AcDbSymbolTableRecord* r = nullptr;
    Acad::ErrorStatus es = AcDbSymbolTable::getAt(name, r, mode, openErased);
    if (es != Acad::eOk)
        return es;
    record = static_cast<AcDbLayerTableRecord*>(r);
    return Acad::eOk;
}

bool AcDbLayerTable::accepts(const AcDbSymbolTableRecord* record) const
{
    return record && record->kind() == AcDbObjectKind::LayerTableRecord;
}
