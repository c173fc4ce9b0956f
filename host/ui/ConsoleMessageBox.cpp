#include "host/ui/ConsoleMessageBox.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "host/ed/Editor.h"
#include "host/ed/acutPrintf.h"
#include "host/ui/MessageBox.h"

namespace {

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    size_t begin = text.find_first_not_of(' ');
    size_t end = text.find_last_not_of(' ');
    return begin == std::string::npos ? std::string() : text.substr(begin, end - begin + 1);
}

struct Button {
    const char* name;
    int code;
};

}  // namespace

int consoleMessageBox(const std::string& text, const std::string& caption, unsigned type)
{
    std::string rule(std::max<size_t>(caption.size(), 3), '=');
    std::string box = "\n" + caption + "\n" + rule + "\n" + text + "\n";
    if (box.back() != '\n' || text.empty()) box += "\n";
    acutPrintf("%s", box.c_str());

    std::vector<Button> buttons;
    switch (type & 0xF) {
    case MB_YESNO: buttons = {{"Yes", IDYES}, {"No", IDNO}}; break;
    case MB_YESNOCANCEL: buttons = {{"Yes", IDYES}, {"No", IDNO}, {"Cancel", IDCANCEL}}; break;
    case MB_OKCANCEL: buttons = {{"OK", IDOK}, {"Cancel", IDCANCEL}}; break;
    default: return IDOK;
    }
    int fallback = buttons.back().code == IDCANCEL ? IDCANCEL : IDNO;
    const Button& preset = (type & MB_DEFBUTTON2) ? buttons[1] : buttons.front();
    std::string prompt = "[";
    for (size_t i = 0; i < buttons.size(); ++i) prompt += (i ? "/" : "") + std::string(buttons[i].name);
    prompt += "] <" + std::string(preset.name) + ">: ";
    for (;;) {
        InputSource::Result answer = Editor::instance().prompt(prompt);
        if (answer.kind != InputSource::Kind::Line) return fallback;
        std::string given = lower(answer.text);
        if (given.empty()) return preset.code;
        for (const Button& button : buttons) {
            std::string name = lower(button.name);
            if (name.rfind(given, 0) == 0) return button.code;
        }
        acutPrintf("Please answer %s.\n", prompt.substr(0, prompt.find(']') + 1).c_str());
    }
}

void installConsoleMessageBox()
{
    setMessageBoxPresenter(consoleMessageBox);
}
