#pragma once
// The tab control of a dialog whose pages share its window: a list control
// naming the pages, and per page the controls it shows. Choosing a page shows
// its controls and hides those of the others, so only the chosen page can
// be acted on.

#include <string>
#include <vector>

class CDialog;

class CMyTabCtrl {
public:
    CMyTabCtrl(CDialog& dialog, std::string listId);

    void addPage(const std::string& caption, std::vector<std::string> controlIds);
    // Shows page index (from 0); an index outside the pages does nothing.
    void showPage(int index);
    // Shows the page chosen in the list control.
    void selectionChanged();
    int currentPage() const { return current_; }

private:
    struct Page {
        std::string caption;
        std::vector<std::string> controls;
    };
    CDialog& dialog_;
    std::string listId_;
    std::vector<Page> pages_;
    int current_ = -1;
};
