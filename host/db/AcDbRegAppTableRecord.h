#pragma once
#include "host/db/AcDbSymbolTableRecord.h"

// A registered application, under whose name objects carry extended data.
class AcDbRegAppTableRecord : public AcDbSymbolTableRecord {
public:
    AcDbRegAppTableRecord() = default;

    static const AcRxClass* desc();
    const AcRxClass* isA() const override { return desc(); }
    AcDbObjectKind kind() const override { return AcDbObjectKind::RegAppTableRecord; }
};
