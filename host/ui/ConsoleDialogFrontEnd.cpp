#include "host/ui/ConsoleDialogFrontEnd.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "host/ed/Editor.h"
#include "host/ed/acutPrintf.h"
#include "host/ui/CDialog.h"

namespace {

constexpr const char* ACTION_PREFIX = "dlg:";

std::string idSuffix(const std::string& id)
{
    return id == "IDC_STATIC" ? "" : "  {" + id + "}";
}

bool parseLineNumber(const std::string& text, int& index)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 9) return false;
    index = std::atoi(text.c_str()) - 1;
    return index >= 0;
}

}  // namespace

bool ConsoleDialogFrontEnd::isAction(const std::string& line)
{
    return line.rfind(ACTION_PREFIX, 0) == 0;
}

void ConsoleDialogFrontEnd::print(const CDialog& dialog)
{
    std::string text = "--- " + dialog.title() + " ---\n";
    for (const DialogMenuItem& item : dialog.dialogTemplate().menu()) {
        text += "  menu: " + item.caption + idSuffix(item.id) + "\n";
    }
    for (const CDialog::ControlState& control : dialog.controlStates()) {
        if (control.hidden) continue;
        const DialogControl& d = control.definition;
        // A group box without a caption only ends the group above it.
        if (d.kind == "group" && d.caption.empty()) continue;
        std::string indent = d.kind == "group" || d.group.empty() ? "  " : "    ";
        std::string line;
        if (d.kind == "group") {
            line = "[" + d.caption + "]";
        } else if (d.kind == "label") {
            line = control.text.empty() ? d.caption : control.text;
        } else if (d.kind == "edit") {
            line = (d.caption.empty() ? "" : d.caption + " ") + "[" + control.text + "]";
        } else if (d.kind == "button" || d.kind == "defbutton") {
            line = "<" + (control.text.empty() ? d.caption : control.text) + ">";
        } else if (d.kind == "check") {
            line = std::string(control.checked ? "[x] " : "[ ] ") + d.caption;
        } else if (d.kind == "radio") {
            line = std::string(control.checked ? "(*) " : "( ) ") + d.caption;
        } else if (d.kind == "list" || d.kind == "combo") {
            line = (d.caption.empty() ? d.kind : d.caption) + (d.kind == "combo" ? " [" + control.text + "]" : "") + ":";
        }
        if (control.disabled) line += " (disabled)";
        text += indent + line + idSuffix(d.id) + "\n";
        if (d.kind == "list" || d.kind == "combo") {
            for (size_t i = 0; i < control.items.size(); ++i) {
                bool selected = static_cast<int>(i) == control.selection;
                text += indent + (selected ? "  > " : "    ") + std::to_string(i + 1) + ". " + control.items[i] + "\n";
            }
        }
    }
    text += "---\n";
    acutPrintf("%s", text.c_str());
}

void ConsoleDialogFrontEnd::opened(CDialog& dialog)
{
    if (dialog.isModeless()) modeless_.push_back(&dialog);
    print(dialog);
}

int ConsoleDialogFrontEnd::runModal(CDialog& dialog)
{
    while (dialog.isOpen()) {
        InputSource::Result answer = Editor::instance().prompt(dialog.title() + "> ");
        if (answer.kind == InputSource::Kind::End) {
            acutPrintf("The input ended while the dialog was open: it is cancelled.\n");
            failed_ = true;
            dialog.EndDialog(2);
            break;
        }
        if (answer.kind == InputSource::Kind::Cancel) {
            std::string error;
            if (dialog.hasControl("IDCANCEL")) {
                if (!dialog.performClick("IDCANCEL", error)) dialog.performClose();
            } else {
                dialog.performClose();
            }
            continue;
        }
        std::string line = answer.text;
        if (isAction(line)) line = line.substr(std::string(ACTION_PREFIX).size());
        perform(dialog, line);
    }
    return 0;
}

void ConsoleDialogFrontEnd::closed(CDialog& dialog)
{
    modeless_.erase(std::remove(modeless_.begin(), modeless_.end(), &dialog), modeless_.end());
}

bool ConsoleDialogFrontEnd::perform(CDialog& dialog, const std::string& rawLine)
{
    std::string line = isAction(rawLine) ? rawLine.substr(std::string(ACTION_PREFIX).size()) : rawLine;
    std::istringstream words(line);
    std::string verb, id;
    words >> verb >> id;
    std::string error;
    bool done = false;
    if (verb == "set") {
        // The text is the rest of the line after one blank, blanks kept.
        size_t at = line.find_first_not_of(' ');
        at = line.find_first_not_of(' ', at + verb.size());
        std::string text;
        if (at != std::string::npos) {
            at += id.size();
            if (at < line.size()) text = line.substr(at + 1);
        }
        if (id.empty()) {
            error = "dlg:set needs a control ID and a text";
        } else {
            done = dialog.performSet(id, text, error);
        }
    } else if (verb == "check" || verb == "uncheck") {
        done = dialog.performCheck(id, verb == "check", error);
    } else if (verb == "click") {
        done = dialog.performClick(id, error);
    } else if (verb == "choose" || verb == "dblclick") {
        std::string number;
        words >> number;
        int index = -1;
        if (!parseLineNumber(number, index)) {
            error = "dlg:" + verb + " needs a control ID and a line number from 1";
        } else {
            done = verb == "choose" ? dialog.performChoose(id, index, error)
                                    : dialog.performDoubleClick(id, index, error);
        }
    } else if (verb == "menu") {
        done = dialog.performMenu(id, error);
    } else if (verb == "close") {
        dialog.performClose();
        done = true;
    } else if (verb == "show") {
        print(dialog);
        done = true;
    } else {
        error = "unknown dialog action '" + verb + "' (set, check, uncheck, click, choose, dblclick, menu, close, show)";
    }
    if (!done) {
        acutPrintf("Dialog action failed: %s.\n", error.c_str());
        failed_ = true;
    }
    return done;
}

bool ConsoleDialogFrontEnd::performOnModeless(const std::string& line)
{
    if (modeless_.empty()) {
        acutPrintf("No dialog is open.\n");
        failed_ = true;
        return false;
    }
    return perform(*modeless_.back(), line);
}

bool ConsoleDialogFrontEnd::takeFailure()
{
    bool failed = failed_;
    failed_ = false;
    return failed;
}

ConsoleDialogFrontEnd& consoleDialogFrontEnd()
{
    static ConsoleDialogFrontEnd frontEnd;
    return frontEnd;
}

namespace {

DialogFrontEnd*& installedFrontEnd()
{
    static DialogFrontEnd* installed = nullptr;
    return installed;
}

}  // namespace

DialogFrontEnd& dialogFrontEnd()
{
    DialogFrontEnd* installed = installedFrontEnd();
    return installed ? *installed : consoleDialogFrontEnd();
}

DialogFrontEnd* setDialogFrontEnd(DialogFrontEnd* frontEnd)
{
    DialogFrontEnd* previous = installedFrontEnd();
    installedFrontEnd() = frontEnd;
    return previous;
}
