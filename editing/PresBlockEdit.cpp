#include "editing/PresBlockEdit.h"

#include "config/PresAbout.h"
#include "config/PresPreferences.h"
#include "editing/DialogFailures.h"
#include "editing/PresBlock.h"
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/ed/acutPrintf.h"
#include "infra/ZelkaExceptions.h"
#include "module/AcadDrawing.h"
#include "module/ModuleResources.h"
#include "spaces/AcadUtilities.h"
#include "spaces/Attributes.h"
#include "spaces/BlockDWG.h"
#include "spaces/Blocks.h"
#include "spaces/ZelkaAttribute.h"

namespace {

constexpr const char* kDrawingName = "IDC_DRAWING_NAME";
constexpr const char* kFilter = "IDC_FILTER";
constexpr const char* kList = "IDC_BLOCK_LIST";
constexpr const char* kCount = "IDC_COUNT";
constexpr const char* kSelect = "IDC_SELECT";
constexpr const char* kClose = "IDC_CLOSE";
// The blanks between a space's name and its handle on a list line: the
// handle sits out of sight, and is read back after the last blank.
const std::string kHandleGap(200, ' ');

}  // namespace

CPresBlockEdit::CPresBlockEdit() : CDialog(zelkaResourceFile("PresBlockEdit.dlg"))
{
    onSelChange(kFilter, [this] { zelkaDialogHandler(__FILE__, "CPresBlockEdit::OnCbnSelchangeFilter", [&] { fillList(); }); });
    onDoubleClick(kList, [this] { OnLbnDblclkBlockList(); });
    onClick(kSelect, [this] { OnCmdSelect(); });
    onClick(kClose, [this] { onClose(); });
    onMenu("IDM_EXIT", [this] { onClose(); });
    onMenu("IDM_OPTIONS", [this] { onOptions(); });
    onMenu("IDM_ABOUT", [] {
        CPresAbout about;
        about.DoModal();
    });
}

CPresBlockEdit::~CPresBlockEdit()
{
    // The front end must not keep a property dialog that is gone.
    if (propertyDialog_ && propertyDialog_->isOpen()) propertyDialog_->DestroyWindow();
}

bool CPresBlockEdit::OnInitDialog()
{
    zelkaDialogHandler(__FILE__, "CPresBlockEdit::OnInitDialog", [&] {
        preferences_.loadPreferences();
        drawing_ = std::make_unique<CAcadDrawing>();
        drawing_->adoptActiveDocument();
        SetWindowText("Zelka Block Editor");
        SetDlgItemText(kDrawingName, drawing_->getFileName());
        ListSetCurSel(kFilter, 0);
        fillList();
    });
    return true;
}

void CPresBlockEdit::fillList()
{
    zelkaOperation(__FILE__, "CPresBlockEdit::fillList", [&] {
        ListResetContent(kList);
        blocks_ = std::make_unique<CBlocks>();
        if (drawing_) blocks_->getZelkaDWGBlocks_SS(*drawing_, false, "f");
        const bool rooms = ListGetCurSel(kFilter) != 1;
        for (int i = 0; i < blocks_->size(); ++i) {
            const auto* block = dynamic_cast<const CBlockDWG*>(&blocks_->getAt(i));
            if (!block || block->getBlockName().rfind("ROOM-", 0) != 0) continue;
            if ((block->getBlockKind() == BlockKind::DwgRoom) != rooms) continue;
            const CZelkaAttribute* name =
                block->getAttributes() ? block->getAttributes()->getAtAttribute(0) : nullptr;
            ListAddString(kList, (name ? name->getText() : std::string()) + kHandleGap + block->getHandle());
        }
        SetDlgItemText(kCount, std::to_string(ListGetCount(kList)) + " item(s) found.");
    });
}

void CPresBlockEdit::OnLbnDblclkBlockList()
{
    zelkaDialogHandler(__FILE__, "CPresBlockEdit::OnLbnDblclkBlockList", [&] {
        const std::string line = ListGetText(kList, ListGetCurSel(kList));
        const size_t blank = line.find_last_of(' ');
        showBlock(blank == std::string::npos ? line : line.substr(blank + 1));
    });
}

void CPresBlockEdit::showBlock(const std::string& handle)
{
    zelkaOperation(__FILE__, "CPresBlockEdit::showBlock", [&] {
        auto* block = blocks_ ? dynamic_cast<CBlockDWG*>(blocks_->getAt(handle)) : nullptr;
        if (!block)
            throw CEXInvalidHandle("PresBlockEdit", drawing_ ? drawing_->getFullPath() : std::string(),
                                   "CPresBlockEdit::showBlock", handle);
        block->setUnits(preferences_.getUnits());
        block->setPrecision(preferences_.getPrecision());
        // The dialog closed before is deleted now, outside its own handlers.
        propertyDialog_.reset();
        propertyDialog_ = std::make_unique<CPresBlock>(*drawing_, *block, *this);
        if (!propertyDialog_->Create()) {
            propertyDialog_.reset();
            return;
        }
        showList(false);
    });
}

void CPresBlockEdit::propertyDialogClosed()
{
    zelkaDialogHandler(__FILE__, "CPresBlockEdit::propertyDialogClosed", [&] {
        fillList();
        showList(true);
    });
}

void CPresBlockEdit::showList(bool show)
{
    // The console has no windows to hide; the user is told where the
    // dialog actions go.
    if (!show) acutPrintf("The Zelka Block Editor is hidden while the RoomBlock dialog is open.\n");
}

void CPresBlockEdit::OnCmdSelect()
{
    zelkaDialogHandler(__FILE__, "CPresBlockEdit::OnCmdSelect", [&] {
        AcDbObjectId id;
        if (CAcadUtilities::selectObjectId(id, "\nPlease select a space\n", "AcDbBlockReference") != 0) return;
        std::string handle;
        {
            AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForRead);
            if (!entity) raiseHostStatus(entity.openStatus(), __LINE__, drawing_->getFullPath());
            handle = entity->handle().toString();
        }
        if (!blocks_ || !blocks_->getAt(handle)) {
            acutPrintf("The specified AcDbBlockReference cannot be found in the list of Zelka blocks.  The selected "
                       "object may not be a Zelka block.\n");
            return;
        }
        showBlock(handle);
    });
}

void CPresBlockEdit::onOptions()
{
    zelkaDialogHandler(__FILE__, "CPresBlockEdit::onOptions", [&] {
        CPresPreferences dialog;
        dialog.DoModal();
        preferences_.loadPreferences();
        fillList();
    });
}

void CPresBlockEdit::onClose()
{
    zelkaDialogHandler(__FILE__, "CPresBlockEdit::OnBnClickedClose", [&] {
        if (propertyDialog_ && propertyDialog_->isOpen()) propertyDialog_->DestroyWindow();
        preferences_.savePreferences();
        blocks_.reset();
    });
    EndDialog(2);
}

void CPresBlockEdit::OnCancel()
{
    onClose();
}
