#pragma once
#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbSymbolTable.h"

// The block table: model space, the paper-space layouts and the block definitions.
class AcDbBlockTable : public AcDbSymbolTable {
public:
    AcDbBlockTable() = default;

    static const AcRxClass* desc();
    const AcRxClass* isA() const override { return desc(); }

    using AcDbSymbolTable::getAt;
    // Opens the named record as its class; eKeyNotFound, or the open status.
    Acad::ErrorStatus getAt(const char* name, AcDbBlockTableRecord*& record, AcDb::OpenMode mode, bool openErased = false) const;

protected:
    bool accepts(const AcDbSymbolTableRecord* record) const override;
};
