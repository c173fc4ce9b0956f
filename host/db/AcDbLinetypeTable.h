#pragma once
#include "host/db/AcDbLinetypeTableRecord.h"
#include "host/db/AcDbSymbolTable.h"

// The linetype table.
class AcDbLinetypeTable : public AcDbSymbolTable {
public:
    AcDbLinetypeTable() = default;

    static const AcRxClass* desc();
    const AcRxClass* isA() const override { return desc(); }

    using AcDbSymbolTable::getAt;
    // Opens the named record as its class; eKeyNotFound, or the open status.
    Acad::ErrorStatus getAt(const char* name, AcDbLinetypeTableRecord*& record, AcDb::OpenMode mode, bool openErased = false) const;

protected:
    bool accepts(const AcDbSymbolTableRecord* record) const override;
};
