#include "host/ui/MessageBox.h"

#include "host/ed/acutPrintf.h"

namespace {

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
    if (presenter()) return presenter()(t, c, type);
    return printMessageBox(t, c, type);
}

MessageBoxPresenter setMessageBoxPresenter(MessageBoxPresenter next)
{
    MessageBoxPresenter previous = std::move(presenter());
    presenter() = std::move(next);
    return previous;
}
