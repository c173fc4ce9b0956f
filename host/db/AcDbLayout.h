#pragma once
#include <string>

#include "host/db/AcDbObject.h"

// A layout (the "Model" tab or a paper-space sheet): its name, tab order and
// the block table record holding its entities. Plot settings are kept as read.
class AcDbLayout : public AcDbObject {
public:
    AcDbLayout() = default;

    static const AcRxClass* desc();
    const AcRxClass* isA() const override { return desc(); }
    AcDbObjectKind kind() const override { return AcDbObjectKind::Layout; }

    Acad::ErrorStatus getLayoutName(const char*& name) const { name = name_.c_str(); return Acad::eOk; }
    const std::string& layoutName() const { return name_; }
    // eInvalidInput for an empty name.
    Acad::ErrorStatus setLayoutName(const char* name);
    int getTabOrder() const { return tabOrder_; }
    void setTabOrder(int order);
    AcDbObjectId getBlockTableRecordId() const { return block_; }
    bool modelType() const { return tabOrder_ == 0; }

private:
    friend class DxfObjectIO;

    std::string name_;
    int tabOrder_ = 1;
    AcDbObjectId block_;
};
