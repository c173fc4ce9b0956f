#include "host/db/AcDbTextStyleTable.h"

const AcRxClass* AcDbTextStyleTable::desc()
{
    static const AcRxClass cls("AcDbTextStyleTable", "TABLE", AcDbSymbolTable::desc());
    return &cls;
}

Acad::ErrorStatus AcDbTextStyleTable::getAt(const char* name, AcDbTextStyleTableRecord*& record, AcDb::OpenMode mode, bool openErased) const
{
    record = nullptr;
    AcDbSymbolTableRecord* r = nullptr;
    Acad::ErrorStatus es = AcDbSymbolTable::getAt(name, r, mode, openErased);
    if (es != Acad::eOk)
        return es;
    record = static_cast<AcDbTextStyleTableRecord*>(r);
    return Acad::eOk;
}

bool AcDbTextStyleTable::accepts(const AcDbSymbolTableRecord* record) const
{
    return record && record->kind() == AcDbObjectKind::TextStyleTableRecord;
}
