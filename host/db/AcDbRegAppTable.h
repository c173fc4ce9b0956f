#pragma once
#include "host/db/AcDbRegAppTableRecord.h"
#include "host/db/AcDbSymbolTable.h"

// The registered-application table: every application whose extended data a drawing holds.
class AcDbRegAppTable : public AcDbSymbolTable {
public:
    AcDbRegAppTable() = default;

    static const AcRxClass* desc();
    const AcRxClass* isA() const override { return desc(); }

    using AcDbSymbolTable::getAt;
    // Opens the named record as its class; eKeyNotFound, or the open status.
    Acad::ErrorStatus getAt(const char* name, AcDbRegAppTableRecord*& record, AcDb::OpenMode mode, bool openErased = false) const;

protected:
    bool accepts(const AcDbSymbolTableRecord* record) const override;
};
