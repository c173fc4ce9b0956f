#include "host/db/AcDbBlockTable.h"

const AcRxClass* AcDbBlockTable::desc()
{
    static const AcRxClass cls("AcDbBlockTable", "TABLE", AcDbSymbolTable::desc());
    return &cls;
}

Acad::ErrorStatus AcDbBlockTable::getAt(const char* name, AcDbBlockTableRecord*& record, AcDb::OpenMode mode, bool openErased) const
{
    record = nullptr;
    AcDbSymbolTableRecord* r = nullptr;
    Acad::ErrorStatus es = AcDbSymbolTable::getAt(name, r, mode, openErased);
    if (es != Acad::eOk)
        return es;
    record = static_cast<AcDbBlockTableRecord*>(r);
    return Acad::eOk;
}

bool AcDbBlockTable::accepts(const AcDbSymbolTableRecord* record) const
{
    return record && record->kind() == AcDbObjectKind::BlockTableRecord;
}
