#include "editing/MyTabCtrl.h"

#include "host/ui/CDialog.h"

CMyTabCtrl::CMyTabCtrl(CDialog& dialog, std::string listId) : dialog_(dialog), listId_(std::move(listId)) {}

void CMyTabCtrl::addPage(const std::string& caption, std::vector<std::string> controlIds)
{
    pages_.push_back({caption, std::move(controlIds)});
}

void CMyTabCtrl::showPage(int index)
{
    if (index < 0 || index >= static_cast<int>(pages_.size())) return;
    for (int i = 0; i < static_cast<int>(pages_.size()); ++i)
        if (i != index)
            for (const std::string& id : pages_[i].controls) dialog_.ShowDlgItem(id, false);
    for (const std::string& id : pages_[index].controls) dialog_.ShowDlgItem(id, true);
    dialog_.ListSetCurSel(listId_, index);
    current_ = index;
}

void CMyTabCtrl::selectionChanged()
{
    showPage(dialog_.ListGetCurSel(listId_));
}
