#pragma once
#include <string>

#include "host/db/AcDbObjectIdArray.h"
#include "host/db/AcDbPlotSettings.h"

// A layout (the "Model" tab or a paper-space sheet): its plot settings, its
// name, tab order and the block table record holding its entities. Which
// layout is current is decided by AcDbLayoutManager.
class AcDbLayout : public AcDbPlotSettings {
public:
    AcDbLayout() = default;

    static const AcRxClass* desc();
    const AcRxClass* isA() const override { return desc(); }
    AcDbObjectKind kind() const override { return AcDbObjectKind::Layout; }

    Acad::ErrorStatus getLayoutName(const char*& name) const { name = name_.c_str(); return Acad::eOk; }
    const std::string& layoutName() const { return name_; }
    int getTabOrder() const { return tabOrder_; }
    AcDbObjectId getBlockTableRecordId() const { return block_; }
    // True for the "Model" layout (tab order 0).
    bool modelType() const { return tabOrder_ == 0; }
    // The VIEWPORT entities of the layout's block in drawing order, erased
    // ones left out. For a paper-space layout the first is usually the sheet's
    // own view (AcDbViewport::number() 1); the model layout has none here.
    // Empty when the layout is not in a drawing or its block is missing.
    AcDbObjectIdArray getViewportArray() const;

private:
    friend class DxfLayoutIO;

    std::string name_;
    int tabOrder_ = 1;
    AcDbObjectId block_;
};
