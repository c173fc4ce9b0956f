#include "host/db/AcDbSymbolTableRecord.h"

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbSymbolTable.h"

const AcRxClass* AcDbSymbolTableRecord::desc()
{
    static const AcRxClass cls("AcDbSymbolTableRecord", "", AcDbObject::desc());
    return &cls;
}

const AcRxClass* AcDbSymbolTableRecord::isA() const { return desc(); }

bool AcDbSymbolTableRecord::isValidName(const std::string& name)
{
    if (name.empty() || name.size() > 2049)
        return false;
    for (char c : name)
        if (std::string_view("<>/\\\":;?*=`").find(c) != std::string_view::npos || c == '\n' || c == '\r')
            return false;
    return true;
}

// Block definitions may be anonymous: "*" and a valid name ("*T", "*U12").
static bool isAnonymousBlockName(const AcDbSymbolTableRecord& record, const std::string& name)
{
    return record.kind() == AcDbObjectKind::BlockTableRecord && name.size() > 1 && name[0] == '*'
           && AcDbSymbolTableRecord::isValidName(name.substr(1));
}

Acad::ErrorStatus AcDbSymbolTableRecord::setName(const char* name)
{
    if (!name || !(isValidName(name) || isAnonymousBlockName(*this, name)))
        return Acad::eInvalidInput;
    if (name_ == name)
        return Acad::eOk;
    if (AcDbDatabase* db = database(); db && ownerId().stub()) {
        auto* table = dynamic_cast<AcDbSymbolTable*>(db->objectOf(ownerId().stub()));
        if (table) {
            Acad::ErrorStatus es = table->rename(objectId().stub(), name_, name);
            if (es != Acad::eOk)
                return es;
        }
    }
    name_ = name;
    return assertWriteEnabled();
}
