#include "host/db/AcDbRegAppTable.h"

const AcRxClass* AcDbRegAppTable::desc()
{
    static const AcRxClass cls("AcDbRegAppTable", "TABLE", AcDbSymbolTable::desc());
    return &cls;
}

Acad::ErrorStatus AcDbRegAppTable::getAt(const char* name, AcDbRegAppTableRecord*& record, AcDb::OpenMode mode, bool openErased) const
{
    record = nullptr;
    AcDbSymbolTableRecord* r = nullptr;
    Acad::ErrorStatus es = AcDbSymbolTable::getAt(name, r, mode, openErased);
    if (es != Acad::eOk)
        return es;
    record = static_cast<AcDbRegAppTableRecord*>(r);
    return Acad::eOk;
}

bool AcDbRegAppTable::accepts(const AcDbSymbolTableRecord* record) const
{
    return record && record->kind() == AcDbObjectKind::RegAppTableRecord;
}
