#pragma once
#include <functional>
#include <string>

// Message boxes as the module asks for them. A front end (the console host,
// a test) installs its presenter; until one does, the box is printed to
// standard output under its caption and answers with its default button.

using HWND = void*;

constexpr unsigned MB_OK = 0x0;
constexpr unsigned MB_OKCANCEL = 0x1;
constexpr unsigned MB_YESNOCANCEL = 0x3;
constexpr unsigned MB_YESNO = 0x4;
constexpr unsigned MB_ICONERROR = 0x10;      // also MB_ICONHAND / MB_ICONSTOP
constexpr unsigned MB_ICONQUESTION = 0x20;
constexpr unsigned MB_ICONWARNING = 0x30;
constexpr unsigned MB_ICONINFORMATION = 0x40;
constexpr unsigned MB_DEFBUTTON2 = 0x100;     // the second button is the default

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Shows a message box and returns the button chosen (IDOK, IDYES, IDNO,
// IDCANCEL). A box with the error icon marks the running command (or
// dialog action) as failed (acedCommandFailed).
int MessageBoxA(HWND owner, const char* text, const char* caption, unsigned type);

// What a front end provides to show a message box.
using MessageBoxPresenter = std::function<int(const std::string& text, const std::string& caption, unsigned type)>;

// Installs a presenter; an empty function restores the printing default.
// Returns the presenter that was installed before.
MessageBoxPresenter setMessageBoxPresenter(MessageBoxPresenter presenter);
