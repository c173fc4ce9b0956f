#pragma once
// The dialog runtime: a dialog made from a template in resources/, whose
// controls are read and written by ID the way dialog code does it
// (GetDlgItemText, SetDlgItemText, CheckRadioButton ...), with handlers bound
// to control IDs. Modal dialogs (DoModal) run until closed; modeless ones
// (Create) stay open while other commands run, and are closed by their own
// handlers or by the user.
//
// User actions (from a front end) arrive through the perform... operations,
// which behave as the matching mouse and keyboard actions: setting a field
// fires its change handler, clicking IDOK calls OnOK, and so on.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "host/ui/DialogTemplate.h"

class CDialog {
public:
    // templatePath: the dialog's template file.
    explicit CDialog(std::string templatePath);
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;
    virtual ~CDialog();

    // Shows the dialog modally. Returns the code passed to EndDialog (IDOK,
    // IDCANCEL ...), or -1 when the template cannot be read (the reason is
    // shown in a message box).
    int DoModal();
    // Opens the dialog modelessly and returns at once. False when the
    // template cannot be read (the reason is shown in a message box).
    bool Create();
    // Closes the dialog (modal: as EndDialog(IDCANCEL)). False when not open.
    bool DestroyWindow();
    // Ends the dialog with a result code; a modeless dialog is destroyed.
    void EndDialog(int result);

    bool isOpen() const { return open_; }
    bool isModeless() const { return modeless_; }
    const std::string& title() const { return title_; }
    void SetWindowText(const std::string& title) { title_ = title; }
    const DialogTemplate& dialogTemplate() const { return template_; }

    // Control access by ID. Unknown IDs read as empty and ignore writes.
    bool hasControl(const std::string& id) const;
    std::string GetDlgItemText(const std::string& id) const;
    void GetDlgItemText(const std::string& id, std::string& text) const { text = GetDlgItemText(id); }
    void SetDlgItemText(const std::string& id, const std::string& text);
    void CheckDlgButton(const std::string& id, int check);
    unsigned IsDlgButtonChecked(const std::string& id) const;
    // Checks one radio button and clears the others from first to last (template order).
    void CheckRadioButton(const std::string& first, const std::string& last, const std::string& check);
    // The checked radio button from first to last, or "" when none is.
    std::string GetCheckedRadioButton(const std::string& first, const std::string& last) const;
    void EnableDlgItem(const std::string& id, bool enable);
    void ShowDlgItem(const std::string& id, bool show);

    // List and combo boxes. Indexes count from 0; -1 means no selection.
    int ListAddString(const std::string& id, const std::string& text);
    void ListResetContent(const std::string& id);
    int ListGetCount(const std::string& id) const;
    std::string ListGetText(const std::string& id, int index) const;
    int ListGetCurSel(const std::string& id) const;
    // Returns false for an index outside the list (the selection is then cleared).
    bool ListSetCurSel(const std::string& id, int index);

    // The controls as they stand, for a front end to show.
    struct ControlState {
        DialogControl definition;
        std::string text;
        bool checked = false;
        std::vector<std::string> items;
        int selection = -1;
        bool hidden = false;
        bool disabled = false;
    };
    const std::vector<ControlState>& controlStates() const { return controls_; }

    // User actions; each returns false with a reason for an unknown,
    // hidden, disabled or unsuitable control.
    bool performSet(const std::string& id, const std::string& text, std::string& error);
    bool performCheck(const std::string& id, bool check, std::string& error);
    bool performClick(const std::string& id, std::string& error);
    bool performChoose(const std::string& id, int index, std::string& error);
    bool performDoubleClick(const std::string& id, int index, std::string& error);
    bool performMenu(const std::string& id, std::string& error);
    // The window's close button.
    void performClose();

protected:
    // Called once the controls exist; returns true (focus handling is the front end's).
    virtual bool OnInitDialog() { return true; }
    // IDOK: ends the dialog with IDOK.
    virtual void OnOK() { EndDialog(1); }
    // IDCANCEL or Escape: ends the dialog with IDCANCEL.
    virtual void OnCancel() { EndDialog(2); }
    // The close button: as Cancel.
    virtual void OnClose() { OnCancel(); }
    // Called last when the dialog has closed; a modeless dialog created with
    // new may delete itself here.
    virtual void PostNcDestroy() {}

    // Handlers by control ID, as a message map binds them.
    void onClick(const std::string& id, std::function<void()> handler) { clicks_[id] = std::move(handler); }
    void onDoubleClick(const std::string& id, std::function<void()> handler) { doubleClicks_[id] = std::move(handler); }
    void onSelChange(const std::string& id, std::function<void()> handler) { selChanges_[id] = std::move(handler); }
    void onChange(const std::string& id, std::function<void()> handler) { changes_[id] = std::move(handler); }
    void onMenu(const std::string& id, std::function<void()> handler) { menus_[id] = std::move(handler); }

    // Data exchange with checks, as dialog data exchange does it: save=true
    // reads the control into the value and, when the text is not a valid
    // number in range, shows the standard validation message and returns
    // false; save=false writes the value into the control.
    bool DDX_Int(const std::string& id, int32_t& value, bool save);
    bool DDX_IntRange(const std::string& id, int32_t& value, bool save, int32_t min, int32_t max);
    bool DDX_Double(const std::string& id, double& value, bool save);
    bool DDX_DoubleRange(const std::string& id, double& value, bool save, double min, double max);
    void DDX_Text(const std::string& id, std::string& value, bool save);

private:
    bool open(bool modeless);
    void close(int result);
    ControlState* find(const std::string& id);
    const ControlState* find(const std::string& id) const;
    ControlState* usable(const std::string& id, std::string& error);

    std::string templatePath_;
    DialogTemplate template_;
    std::string title_;
    std::vector<ControlState> controls_;
    std::map<std::string, std::function<void()>> clicks_, doubleClicks_, selChanges_, changes_, menus_;
    bool open_ = false;
    bool modeless_ = false;
    int result_ = 0;
};
