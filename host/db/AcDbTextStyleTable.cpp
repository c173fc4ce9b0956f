#include "host/db/AcDbTextStyleTable.h"

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbObjectKind.h"
#include "host/db/AcDbStub.h"

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

AcDbObjectId AcDbTextStyleTable::styleNamed(AcDbDatabase* db, const std::string& name)
{
    if (!db || !db->data().textStyleTable)
        return {};
    auto* table = static_cast<AcDbTextStyleTable*>(db->objectOf(db->data().textStyleTable));
    AcDbObjectId id;
    if (table->getAt(name.c_str(), id) != Acad::eOk)
        table->getAt("Standard", id);
    return id;
}

bool AcDbTextStyleTable::nameOf(AcDbObjectId id, std::string& name)
{
    AcDbStub* s = id.stub();
    if (!s || s->kind != static_cast<uint8_t>(AcDbObjectKind::TextStyleTableRecord))
        return false;
    name = static_cast<AcDbSymbolTableRecord*>(s->database->objectOf(s))->name();
    return true;
}
