#pragma once
// What shows dialogs to the user. The console front end prints a dialog as
// a form and takes actions from the command-line input; a graphical front
// end would show windows. The runtime talks to the installed one.

class CDialog;

class DialogFrontEnd {
public:
    virtual ~DialogFrontEnd() = default;
    // A dialog was opened (modal or modeless) and initialised: show it.
    virtual void opened(CDialog& dialog) = 0;
    // Lets the user work in a modal dialog until it is closed; returns the
    // code it was ended with.
    virtual int runModal(CDialog& dialog) = 0;
    // A dialog was closed; it must not be used after this returns.
    virtual void closed(CDialog& dialog) = 0;
};

// The installed front end; the console front end unless another was set.
DialogFrontEnd& dialogFrontEnd();
// Installs a front end (null restores the console one); returns the previous one.
DialogFrontEnd* setDialogFrontEnd(DialogFrontEnd* frontEnd);
