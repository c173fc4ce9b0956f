#include "host/ui/MessageBox.h"

#include "host/ed/acedCommandStatus.h"
#include "host/ed/acutPrintf.h"

namespace {

// The bits of a message box type that choose its icon.
constexpr unsigned kIconMask = 0xF0;

MessageBoxPresenter& presenter()
{
    static MessageBoxPresenter current;
    return current;
}

int printMessageBox(const std::string& text, const std::string& caption, unsigned type)
{
    acutPrintf("%s\n%s\n", caption.c_str(), text.c_str());
    switch (type & 0xF) {
    case MB_YESNO:
    case MB_YESNOCANCEL: return (type & MB_DEFBUTTON2) ? IDNO : IDYES;
    case MB_OKCANCEL: return (type & MB_DEFBUTTON2) ? IDCANCEL : IDOK;
    default: return IDOK;
    }
}

}  // namespace

int MessageBoxA(HWND, const char* text, const char* caption, unsigned type)
{
    std::string t = text ? text : "";
    std::string c = caption ? caption : "";
    // The one rule for failing a command: whatever shows an error box has
    // failed, so no command can show an error and still succeed.
    if ((type & kIconMask) == MB_ICONERROR)
        acedCommandFailed();
    if (presenter()) return presenter()(t, c, type);
    return printMessageBox(t, c, type);
}

MessageBoxPresenter setMessageBoxPresenter(MessageBoxPresenter next)
{
    MessageBoxPresenter previous = std::move(presenter());
    presenter() = std::move(next);
    return previous;
}
