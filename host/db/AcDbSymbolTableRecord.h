#pragma once
#include <string>

#include "host/db/AcDbObject.h"

// A named record of a symbol table (block, layer, linetype, text style,
// registered application, ...). Names are compared without regard to case.
class AcDbSymbolTableRecord : public AcDbObject {
public:
    AcDbSymbolTableRecord() = default;

    static const AcRxClass* desc();
    const AcRxClass* isA() const override;
    AcDbObjectKind kind() const override { return AcDbObjectKind::OtherTableRecord; }

    // The name, valid while the record is open. eOk.
    Acad::ErrorStatus getName(const char*& name) const { name = name_.c_str(); return Acad::eOk; }
    Acad::ErrorStatus getName(std::string& name) const { name = name_; return Acad::eOk; }
    const std::string& name() const { return name_; }
    // eInvalidInput for an empty name or one with < > / \ " : ; ? * = `;
    // eDuplicateRecordName when another record of its table has the name.
    Acad::ErrorStatus setName(const char* name);
    // True when the record comes from an external reference (a '|' in its name).
    bool isDependent() const { return name_.find('|') != std::string::npos; }

    // True when name is a valid record name.
    static bool isValidName(const std::string& name);

private:
    friend class DxfSymbolTableRecordCodec;
    friend class AcDbSymbolTable;
    friend class AcDbLayoutManager;  // swaps the *Paper_Space block names

    std::string name_;
    int flags_ = 0;
};
