#include "host/db/AcDbLinetypeTable.h"

const AcRxClass* AcDbLinetypeTable::desc()
{
    static const AcRxClass cls("AcDbLinetypeTable", "TABLE", AcDbSymbolTable::desc());
    return &cls;
}

Acad::ErrorStatus AcDbLinetypeTable::getAt(const char* name, AcDbLinetypeTableRecord*& record, AcDb::OpenMode mode, bool openErased) const
{
    record = nullptr;
    AcDbSymbolTableRecord* r = nullptr;
    Acad::ErrorStatus es = AcDbSymbolTable::getAt(name, r, mode, openErased);
    if (es != Acad::eOk)
        return es;
    record = static_cast<AcDbLinetypeTableRecord*>(r);
    return Acad::eOk;
}

bool AcDbLinetypeTable::accepts(const AcDbSymbolTableRecord* record) const
{
    return record && record->kind() == AcDbObjectKind::LinetypeTableRecord;
}
