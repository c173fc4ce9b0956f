#include "host/ui/FileDialog.h"

#include "host/ed/Editor.h"
#include "host/ui/MessageBox.h"

namespace {

// "All Files (*.*)|*.*|Text (*.txt)|*.txt" -> "All Files (*.*), Text (*.txt)".
std::string describeFilter(const std::string& filter)
{
    std::string described;
    size_t start = 0;
    bool description = true;
    while (start <= filter.size()) {
        size_t bar = filter.find('|', start);
        if (bar == std::string::npos) bar = filter.size();
        std::string part = filter.substr(start, bar - start);
        if (description && !part.empty()) described += (described.empty() ? "" : ", ") + part;
        description = !description;
        start = bar + 1;
    }
    return described;
}

}  // namespace

int promptForOpenFile(const std::string& title, const std::string& filter, std::string& path)
{
    std::string prompt = "\n" + title + " - file name";
    std::string described = describeFilter(filter);
    if (!described.empty()) prompt += " (" + described + ")";
    prompt += ": ";
    InputSource::Result answer = Editor::instance().prompt(prompt);
    if (answer.kind != InputSource::Kind::Line || answer.text.empty()) {
        path.clear();
        return IDCANCEL;
    }
    path = answer.text;
    return IDOK;
}
