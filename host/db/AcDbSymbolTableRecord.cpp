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

Acad::ErrorStatus AcDbSymbolTableRecord::setName(const char* name)
{
    if (!name || !isValidName(name))
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
