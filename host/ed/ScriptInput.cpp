#include "host/ed/ScriptInput.h"

#include <fstream>
#include <sstream>

void ScriptInput::addText(const std::string& text)
{
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines_.push_back(std::move(line));
        start = end + 1;
    }
}

bool ScriptInput::addFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) return false;
    addText(content.str());
    return true;
}

InputSource::Result ScriptInput::readLine()
{
    if (lines_.empty()) return {Kind::End, {}};
    std::string line = std::move(lines_.front());
    lines_.pop_front();
    if (line == "^C") return {Kind::Cancel, {}};
    return {Kind::Line, std::move(line)};
}
