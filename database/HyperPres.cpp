#include "database/HyperPres.h"

#include <string>

#include "database/Hyperlinks.h"
#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbOpen.h"
#include "host/ed/acedSelection.h"
#include "host/ed/adscodes.h"
#include "host/ed/acutPrintf.h"
#include "infra/ZelkaExceptions.h"
#include "module/AcadDrawing.h"
#include "module/AcadDrawingLock.h"
#include "module/ModuleResources.h"
#include "spaces/BlockDWG.h"
#include "spaces/Blocks.h"

namespace {

constexpr int kRows = 5;
constexpr const char* kNotSelected = "Block not Selected";

std::string hrefField(int row) { return "IDC_HREF" + std::to_string(row); }
std::string descriptionField(int row) { return "IDC_DESC" + std::to_string(row); }

// Runs a handler's body; a failure is shown with its chain and the dialog stays usable.
template <class Body>
void showFailures(const char* procSig, Body&& body)
{
    try {
        zelkaOperation("HyperPres.cpp", procSig, std::forward<Body>(body));
    } catch (const CEXZelka& e) {
        e.displayErrorChain();
    }
}

}  // namespace

CHyperPres::CHyperPres() : CDialog(zelkaResourceFile("HyperPres.dlg"))
{
    onClick("IDC_SELECT_BLOCK", [this] { onSelectBlock(); });
    onClick("IDC_APPLY", [this] { apply(); });
}

CHyperPres::~CHyperPres() = default;

bool CHyperPres::OnInitDialog()
{
    acutPrintf("Please select a block to hyperlink\n");
    EnableDlgItem("IDOK", false);
    EnableDlgItem("IDC_APPLY", false);
    return true;
}

void CHyperPres::OnOK()
{
    if (apply()) EndDialog(1);
}

void CHyperPres::clearFields()
{
    for (int row = 1; row <= kRows; ++row) {
        SetDlgItemText(hrefField(row), "");
        SetDlgItemText(descriptionField(row), "");
    }
    CheckDlgButton("IDC_ALL_SIMILAR", 0);
    SetDlgItemText("IDC_BLOCK_NAME", kNotSelected);
    SetDlgItemText("IDC_BLOCK_HANDLE", kNotSelected);
}

void CHyperPres::onSelectBlock()
{
    showFailures("CHyperPres::OnBnClickedSelectBlock", [&] {
        ads_name entity;
        ads_point point;
        if (acedEntSel("\nSelect a Block: ", entity, point) != RTNORM) {
            acutPrintf("A new block has not been selected\n");
            return;
        }
        acutPrintf(" \n \n");
        AcDbObjectId id;
        if (acdbGetObjectId(id, entity) != Acad::eOk) return;
        const AcRxClass* cls = id.objectClass();
        if (!cls || std::string(cls->name()) != "AcDbBlockReference") {
            acutPrintf("The object picked is not a block; pick a space block.\n");
            return;
        }
        setCurrentAcadBlock(id);
        if (!block_) return;
        EnableDlgItem("IDOK", true);
        EnableDlgItem("IDC_APPLY", true);
        acutPrintf("Block Selected\n");
    });
}

void CHyperPres::setCurrentAcadBlock(AcDbObjectId id)
{
    showFailures("CHyperPres::setCurrentAcadBlock", [&] {
        block_.reset();
        drawing_ = std::make_unique<CAcadDrawing>();
        if (drawing_->adoptActiveDocument()) {
            CAcadDrawingLock lock(*drawing_);
            AcDbObjectPointer<AcDbBlockReference> reference(id, AcDb::kForRead);
            if (lock.isLocked() && reference) block_ = std::make_unique<CBlockDWG>(reference.object(), *drawing_);
        }
        clearFields();
        if (!block_) {
            acutPrintf("Unable to hyperlink block(s).\n");
            return;
        }
        SetDlgItemText("IDC_BLOCK_NAME", block_->getBlockName());
        SetDlgItemText("IDC_BLOCK_HANDLE", block_->getHandle());
        const CHyperlinks* links = block_->getHyperlinks();
        for (int i = 0; links && i < links->getCount() && i < kRows; ++i) {
            SetDlgItemText(hrefField(i + 1), links->getAt(i).getHref());
            SetDlgItemText(descriptionField(i + 1), links->getAt(i).getDescription());
        }
    });
}

std::unique_ptr<CHyperlinks> CHyperPres::linksFromRows() const
{
    auto links = std::make_unique<CHyperlinks>();
    for (int row = 1; row <= kRows; ++row) {
        const std::string href = GetDlgItemText(hrefField(row));
        if (href.empty()) continue;
        std::string description = GetDlgItemText(descriptionField(row));
        if (description.empty()) description = href;
        links->add(std::make_unique<CHyperlink>(href, description));
    }
    return links;
}

bool CHyperPres::apply()
{
    bool written = false;
    showFailures("CHyperPres::OnBnClickedApply", [&] {
        if (!block_ || !drawing_) {
            acutPrintf("Please select a block to hyperlink\n");
            return;
        }
        std::unique_ptr<CHyperlinks> links = linksFromRows();
        if (IsDlgButtonChecked("IDC_ALL_SIMILAR")) {
            acutPrintf("%s block(s) affected.\n", std::to_string(hyperlinkAllBlocks(*links)).c_str());
        } else {
            hyperlinkBlock(*links);
            acutPrintf("1 block affected.\n");
        }
        written = true;
    });
    return written;
}

int CHyperPres::hyperlinkBlock(const CHyperlinks& list)
{
    return zelkaOperation("HyperPres.cpp", "CHyperPres::hyperlinkBlock", [&] {
        if (!block_ || !drawing_) return 0;
        auto links = std::make_unique<CHyperlinks>();
        list.copyTo(*links);
        block_->setHyperlinks(std::move(links));
        CAcadDrawingLock lock(*drawing_);
        if (!lock.isLocked())
            raiseHostStatus(static_cast<Acad::ErrorStatus>(lock.status()), __LINE__, drawing_->getFullPath());
        block_->applyToDWG(*drawing_, false);
        return 1;
    });
}

int CHyperPres::hyperlinkAllBlocks(const CHyperlinks& list)
{
    return zelkaOperation("HyperPres.cpp", "CHyperPres::hyperlinkAllBlocks", [&] {
        if (!block_ || !drawing_) return 0;
        const std::string name = block_->getBlockName();
        CAcadDrawingLock lock(*drawing_);
        if (!lock.isLocked())
            raiseHostStatus(static_cast<Acad::ErrorStatus>(lock.status()), __LINE__, drawing_->getFullPath());
        CBlocks blocks;
        blocks.getAcadBlocks(*drawing_);
        int written = 0;
        for (int i = 0; i < blocks.size(); ++i) {
            auto* block = dynamic_cast<CBlockDWG*>(&blocks.getAt(i));
            if (!block || block->getBlockName() != name) continue;
            auto links = std::make_unique<CHyperlinks>();
            list.copyTo(*links);
            block->setHyperlinks(std::move(links));
            block->applyToDWG(*drawing_, false);
            ++written;
        }
        // The current block holds the new list as well.
        auto links = std::make_unique<CHyperlinks>();
        list.copyTo(*links);
        block_->setHyperlinks(std::move(links));
        return written;
    });
}
