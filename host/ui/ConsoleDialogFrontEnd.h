#pragma once
// Dialogs at the command line. A dialog is printed as a form (its title,
// menu commands and controls, each with its ID); the user or a script then
// acts on it with lines of the command-line input:
//
//   dlg:set ID TEXT        type TEXT into a field (the rest of the line)
//   dlg:check ID           tick a check box or pick a radio button
//   dlg:uncheck ID         clear a check box
//   dlg:click ID           click a button (IDOK, IDCANCEL, ...)
//   dlg:choose ID N        select line N (from 1) of a list or combo box
//   dlg:dblclick ID N      double-click line N of a list
//   dlg:menu ID            run a menu command of the dialog
//   dlg:close              the window's close button
//   dlg:show               print the form again
//
// While a modal dialog is open every line is an action (the "dlg:" prefix
// may be left out) and a cancel (Escape, Ctrl-C, "^C") presses Cancel; the
// end of input cancels the dialog. A modeless dialog stays open while
// commands run: "dlg:" lines at the Command: prompt go to the newest one.

#include <string>
#include <vector>

#include "host/ui/DialogFrontEnd.h"

class ConsoleDialogFrontEnd : public DialogFrontEnd {
public:
    void opened(CDialog& dialog) override;
    int runModal(CDialog& dialog) override;
    void closed(CDialog& dialog) override;

    // Carries out one action line on a dialog. Returns false, after printing
    // why, for a line that is not a valid action for it.
    bool perform(CDialog& dialog, const std::string& line);
    // Carries out an action on the newest open modeless dialog. Returns
    // false, after printing why, when none is open or the action fails.
    bool performOnModeless(const std::string& line);
    // The open modeless dialogs, oldest first.
    const std::vector<CDialog*>& modelessDialogs() const { return modeless_; }

    // Prints a dialog's form on the command line.
    static void print(const CDialog& dialog);
    // True for a line meant for a dialog ("dlg:" prefix).
    static bool isAction(const std::string& line);

    // Whether any action failed since the last call (then clears the mark).
    bool takeFailure();

private:
    std::vector<CDialog*> modeless_;
    bool failed_ = false;
};

// The console front end the runtime uses unless another is installed.
ConsoleDialogFrontEnd& consoleDialogFrontEnd();
