#pragma once
// Message boxes at the command line: the box is printed under its caption;
// a box with Yes/No (or OK/Cancel) buttons asks for the answer on the
// command-line input. Enter takes the first button (the second with
// MB_DEFBUTTON2), a cancel or the end of input takes Cancel (or No when
// there is no Cancel button).

#include <string>

// Shows a box and returns the button chosen (IDOK, IDYES, IDNO, IDCANCEL).
int consoleMessageBox(const std::string& text, const std::string& caption, unsigned type);
// Installs consoleMessageBox as the message box presenter.
void installConsoleMessageBox();
