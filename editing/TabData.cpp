#include "editing/TabData.h"

#include <memory>

#include "database/Assets.h"
#include "editing/DialogFailures.h"
#include "editing/PresBlock.h"
#include "host/db/AcDbObjectIdArray.h"
#include "infra/Utilities.h"
#include "module/AcadDrawing.h"
#include "spaces/AcadUtilities.h"
#include "spaces/Attributes.h"
#include "spaces/BlockDWG.h"
#include "spaces/ZelkaAttribute.h"

namespace {

constexpr const char* kName = "IDC_NAME";
constexpr const char* kAreaText = "IDC_AREA_TEXT";
constexpr const char* kAux = "IDC_AUX";
constexpr const char* kAreaValue = "IDC_AREA_VALUE";
constexpr const char* kAreaUnits = "IDC_AREA_UNITS";
constexpr const char* kPerimeter = "IDC_PERIMETER";
constexpr const char* kPerimeterUnits = "IDC_PERIMETER_UNITS";
constexpr const char* kHandle = "IDC_HANDLE";
constexpr const char* kAssets = "IDC_ASSETS";

// The text of the attribute at a position of the name-area-aux set, "" when
// the block has none there.
std::string attributeText(const CBlockDWG& block, int32_t position)
{
    const CZelkaAttribute* attribute = block.getAttributes() ? block.getAttributes()->getAtAttribute(position) : nullptr;
    return attribute ? attribute->getText() : std::string();
}

void setAttributeText(CBlockDWG& block, int32_t position, const std::string& text)
{
    if (!block.getAttributes()) block.setAttributes(std::make_unique<CAttributes>());
    if (CZelkaAttribute* attribute = block.getAttributes()->getAtAttribute(position)) {
        attribute->setText(text);
        return;
    }
    block.getAttributes()->add(std::make_unique<CZelkaAttribute>(position, text), false);
}

}  // namespace

CTabData::CTabData(CPresBlock& dialog, CAcadDrawing& drawing) : dialog_(dialog), drawing_(drawing) {}

std::vector<std::string> CTabData::controlIds()
{
    return {kName,           kAreaText,       kAux,        kAreaValue,          kAreaUnits,
            "IDC_AREA_RECALC", "IDC_AREA_COPY", kPerimeter,  kPerimeterUnits,     "IDC_PERIMETER_RECALC",
            "IDC_PERIMETER_COPY", kHandle,    kAssets,     "IDC_ADD_SET",       "IDC_ADD_HIGHLIGHT",
            "IDC_ADD_DELETE", "IDC_SUB_SET",  "IDC_SUB_HIGHLIGHT", "IDC_SUB_DELETE"};
}

void CTabData::initialiseData()
{
    zelkaDialogHandler(__FILE__, "CTabData::initialiseData", [&] {
        const CBlockDWG& block = dialog_.workingCopy();
        dialog_.SetDlgItemText(kName, attributeText(block, 0));
        dialog_.SetDlgItemText(kAreaText, attributeText(block, 1));
        dialog_.SetDlgItemText(kAux, attributeText(block, 2));
        dialog_.SetDlgItemText(kHandle, block.getHandle());
        dialog_.SetDlgItemText(kAssets, std::to_string(block.getAssets() ? block.getAssets()->getCount() : 0));
        const bool metric = block.getUnits() == 0;
        dialog_.SetDlgItemText(kAreaUnits, metric ? "m\xc2\xb2" : "ft\xc2\xb2");
        dialog_.SetDlgItemText(kPerimeterUnits, metric ? "m" : "ft");
        showMeasures();
    });
}

void CTabData::showMeasures()
{
    const CBlockDWG& block = dialog_.workingCopy();
    CUtilities u;
    dialog_.SetDlgItemText(kAreaValue, u.DoubleToCString(block.getArea(), block.getPrecision()));
    dialog_.SetDlgItemText(kPerimeter, u.DoubleToCString(block.getPerimeter(), block.getPrecision()));
}

void CTabData::applyChanges()
{
    zelkaOperation(__FILE__, "CTabData::applyChanges", [&] {
        CBlockDWG& block = dialog_.workingCopy();
        CUtilities u;
        const std::string name = dialog_.GetDlgItemText(kName);
        block.setName(name);
        setAttributeText(block, 0, name);
        setAttributeText(block, 1, dialog_.GetDlgItemText(kAreaText));
        block.setArea(u.CStringToDouble(dialog_.GetDlgItemText(kAreaValue)));
        setAttributeText(block, 2, dialog_.GetDlgItemText(kAux));
        block.setPerimeter(u.CStringToDouble(dialog_.GetDlgItemText(kPerimeter)));
    });
}

void CTabData::OnBnClickedCmdAreacopy()
{
    zelkaDialogHandler(__FILE__, "CTabData::OnBnClickedCmdAreacopy", [&] {
        const bool feet = dialog_.workingCopy().getUnits() == 1;
        dialog_.SetDlgItemText(kAreaText, dialog_.GetDlgItemText(kAreaValue) + (feet ? "sq.ft." : "sq.m."));
    });
}

void CTabData::OnBnClickedCmdPerimetercopy()
{
    zelkaDialogHandler(__FILE__, "CTabData::OnBnClickedCmdPerimetercopy", [&] {
        const bool feet = dialog_.workingCopy().getUnits() == 1;
        dialog_.SetDlgItemText(kAux, dialog_.GetDlgItemText(kPerimeter) + (feet ? "ft." : "m."));
    });
}

void CTabData::OnCmdAreaRecalc()
{
    zelkaDialogHandler(__FILE__, "CTabData::OnCmdAreaRecalc", [&] {
        CBlockDWG& block = dialog_.workingCopy();
        block.recalculateArea(drawing_);
        dialog_.SetDlgItemText(kAreaValue, CUtilities().DoubleToCString(block.getArea(), block.getPrecision()));
    });
}

void CTabData::OnCmdPerimeterRecalc()
{
    zelkaDialogHandler(__FILE__, "CTabData::OnCmdPerimeterRecalc", [&] {
        CBlockDWG& block = dialog_.workingCopy();
        block.recalculatePerimeter(drawing_);
        dialog_.SetDlgItemText(kPerimeter, CUtilities().DoubleToCString(block.getPerimeter(), block.getPrecision()));
    });
}

void CTabData::pickAreas(bool add)
{
    CBlockDWG& block = dialog_.workingCopy();
    bool& highlighted = add ? addedHighlighted_ : subtractedHighlighted_;
    if (highlighted) {
        if (add)
            block.highlightAreasAdded(drawing_, false, false);
        else
            block.highlightAreasSubtracted(drawing_, false, false);
    }
    highlighted = false;
    AcDbObjectIdArray ids;
    const char* prompt = add ? "Please Select Areas to Add (selected room/space blocks will be ignored)"
                             : "Please Select Areas to Subtract (selected room/space blocks will be ignored)";
    if (!CAcadUtilities::selectObjectIds(prompt, ids)) return;
    if (add)
        block.setHandlesToAdd(ids);
    else
        block.setHandlesToMinus(ids);
    block.recalculateAreaAndPerimeter(drawing_);
    showMeasures();
}

void CTabData::OnBnClickedCmdAddArea()
{
    zelkaDialogHandler(__FILE__, "CTabData::OnBnClickedCmdAddArea", [&] { pickAreas(true); });
}

void CTabData::OnCmdSubArea()
{
    zelkaDialogHandler(__FILE__, "CTabData::OnCmdSubArea", [&] { pickAreas(false); });
}

void CTabData::OnBnClickedCmdAddHighlight()
{
    zelkaDialogHandler(__FILE__, "CTabData::OnBnClickedCmdAddHighlight", [&] {
        addedHighlighted_ = !addedHighlighted_;
        dialog_.workingCopy().highlightAreasAdded(drawing_, addedHighlighted_, addedHighlighted_);
    });
}

void CTabData::OnCmdHighlight()
{
    zelkaDialogHandler(__FILE__, "CTabData::OnCmdHighlight", [&] {
        subtractedHighlighted_ = !subtractedHighlighted_;
        dialog_.workingCopy().highlightAreasSubtracted(drawing_, subtractedHighlighted_, subtractedHighlighted_);
    });
}

void CTabData::OnBnClickedCmdDeleteAddAreas()
{
    zelkaDialogHandler(__FILE__, "CTabData::OnBnClickedCmdDeleteAddAreas", [&] {
        CBlockDWG& block = dialog_.workingCopy();
        if (addedHighlighted_) block.highlightAreasAdded(drawing_, false, false);
        addedHighlighted_ = false;
        block.setHandlesToAdd(AcDbObjectIdArray());
        block.recalculateAreaAndPerimeter(drawing_);
        showMeasures();
    });
}

void CTabData::OnBnClickedCmdDeleteSubAreas()
{
    zelkaDialogHandler(__FILE__, "CTabData::OnBnClickedCmdDeleteSubAreas", [&] {
        CBlockDWG& block = dialog_.workingCopy();
        if (subtractedHighlighted_) block.highlightAreasSubtracted(drawing_, false, false);
        subtractedHighlighted_ = false;
        block.setHandlesToMinus(AcDbObjectIdArray());
        block.recalculateAreaAndPerimeter(drawing_);
        showMeasures();
    });
}

void CTabData::switchOffHighlighting()
{
    CBlockDWG& block = dialog_.workingCopy();
    if (addedHighlighted_) block.highlightAreasAdded(drawing_, false, false);
    if (subtractedHighlighted_) block.highlightAreasSubtracted(drawing_, false, false);
    addedHighlighted_ = subtractedHighlighted_ = false;
}
