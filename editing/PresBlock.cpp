#include "editing/PresBlock.h"

#include "editing/DialogFailures.h"
#include "editing/MyTabCtrl.h"
#include "editing/PresBlockEdit.h"
#include "editing/TabData.h"
#include "editing/TabFormat.h"
#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbObjectPointer.h"
#include "module/AcadDrawing.h"
#include "module/ModuleResources.h"
#include "spaces/BlockDWG.h"
#include "spaces/Blocks.h"

namespace {

constexpr const char* kTab = "IDC_TAB";

// The block read whole again from its reference, so that writing it back
// keeps every item of its record and every attribute.
std::unique_ptr<CBlockDWG> readWorkingCopy(CAcadDrawing& drawing, const CBlockDWG& block)
{
    AcDbObjectPointer<AcDbBlockReference> reference(block.getBlockReferenceId(), AcDb::kForRead);
    if (!reference) raiseHostStatus(reference.openStatus(), __LINE__, drawing.getFullPath());
    std::unique_ptr<CBlockDWG> copy = CBlocks::classifyBlockReference(reference.object(), drawing, false, "f");
    if (!copy) copy = std::make_unique<CBlockDWG>(reference.object(), drawing);
    copy->setUnits(block.getUnits());
    copy->setPrecision(block.getPrecision());
    return copy;
}

}  // namespace

CPresBlock::CPresBlock(CAcadDrawing& drawing, const CBlockDWG& block, CPresBlockEdit& list)
    : CDialog(zelkaResourceFile("PresBlock.dlg")),
      drawing_(drawing),
      list_(list),
      block_(readWorkingCopy(drawing, block)),
      tabs_(std::make_unique<CMyTabCtrl>(*this, kTab)),
      data_(std::make_unique<CTabData>(*this, drawing)),
      format_(std::make_unique<CTabFormat>(*this, drawing))
{
    onSelChange(kTab, [this] { tabs_->selectionChanged(); });
    onClick("IDC_APPLY", [this] { apply(); });
    onClick("IDC_RESET", [this] { reset(); });
    onClick("IDC_AREA_COPY", [this] { data_->OnBnClickedCmdAreacopy(); });
    onClick("IDC_PERIMETER_COPY", [this] { data_->OnBnClickedCmdPerimetercopy(); });
    onClick("IDC_AREA_RECALC", [this] { data_->OnCmdAreaRecalc(); });
    onClick("IDC_PERIMETER_RECALC", [this] { data_->OnCmdPerimeterRecalc(); });
    onClick("IDC_ADD_SET", [this] { data_->OnBnClickedCmdAddArea(); });
    onClick("IDC_SUB_SET", [this] { data_->OnCmdSubArea(); });
    onClick("IDC_ADD_HIGHLIGHT", [this] { data_->OnBnClickedCmdAddHighlight(); });
    onClick("IDC_SUB_HIGHLIGHT", [this] { data_->OnCmdHighlight(); });
    onClick("IDC_ADD_DELETE", [this] { data_->OnBnClickedCmdDeleteAddAreas(); });
    onClick("IDC_SUB_DELETE", [this] { data_->OnBnClickedCmdDeleteSubAreas(); });
    onClick("IDC_MOVE_ATTRIBUTES", [this] { format_->OnBnClickedMoveAttributes(); });
}

CPresBlock::~CPresBlock() = default;

bool CPresBlock::OnInitDialog()
{
    tabs_->addPage("Space Data", CTabData::controlIds());
    tabs_->addPage("Format", CTabFormat::controlIds());
    tabs_->showPage(0);
    reset();
    return true;
}

void CPresBlock::reset()
{
    data_->initialiseData();
    format_->initialise();
}

bool CPresBlock::apply()
{
    bool applied = false;
    zelkaDialogHandler(__FILE__, "CPresBlock::apply", [&] {
        // The format fields are checked first, so a refused value leaves
        // the working copy as it was.
        if (!format_->applyChanges()) return;
        data_->applyChanges();
        block_->applyToDWG(drawing_, false);
        drawing_.regenDrawing();
        applied = true;
    });
    list_.fillList();
    return applied;
}

void CPresBlock::OnOK()
{
    if (apply()) OnCancel();
}

void CPresBlock::OnCancel()
{
    data_->switchOffHighlighting();
    EndDialog(2);
    list_.propertyDialogClosed();
}
