#pragma once
#include <string>

#include "host/db/AcDbTextStyleTableRecord.h"
#include "host/db/AcDbSymbolTable.h"

// The text style table.
class AcDbTextStyleTable : public AcDbSymbolTable {
public:
    AcDbTextStyleTable() = default;

    static const AcRxClass* desc();
    const AcRxClass* isA() const override { return desc(); }

    using AcDbSymbolTable::getAt;
    // Opens the named record as its class; eKeyNotFound, or the open status.
    Acad::ErrorStatus getAt(const char* name, AcDbTextStyleTableRecord*& record, AcDb::OpenMode mode, bool openErased = false) const;

    // The style a text entity of db names: the record of that name, else
    // "Standard"; null when db has neither.
    static AcDbObjectId styleNamed(AcDbDatabase* db, const std::string& name);
    // The name of the text style record id; false (name unchanged) when id
    // is not a text style.
    static bool nameOf(AcDbObjectId id, std::string& name);

protected:
    bool accepts(const AcDbSymbolTableRecord* record) const override;
};
