#pragma once
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

protected:
    bool accepts(const AcDbSymbolTableRecord* record) const override;
};
