#include "host/ui/DialogTemplate.h"

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

namespace {

const std::set<std::string> controlKinds = {"group", "label", "edit", "button", "defbutton",
                                            "check", "radio", "list",  "combo"};

// Splits a statement into words and quoted captions. Returns false with a
// message for an unterminated quote or a bad escape.
bool tokenize(const std::string& line, std::vector<std::string>& words, std::vector<bool>& quoted,
              std::string& message)
{
    size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
            continue;
        }
        if (c == '"') {
            std::string text;
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char d = line[i++];
                if (d == '"') {
                    closed = true;
                    break;
                }
                if (d == '\\') {
                    if (i >= line.size()) break;
                    char e = line[i++];
                    switch (e) {
                    case '"': text += '"'; break;
                    case '\\': text += '\\'; break;
                    case 't': text += '\t'; break;
                    case 'n': text += '\n'; break;
                    default: message = std::string("unknown escape \\") + e; return false;
                    }
                    continue;
                }
                text += d;
            }
            if (!closed) {
                message = "caption not closed by a double quote";
                return false;
            }
            words.push_back(text);
            quoted.push_back(true);
            continue;
        }
        size_t end = line.find_first_of(" \t\r\"", i);
        if (end == std::string::npos) end = line.size();
        words.push_back(line.substr(i, end - i));
        quoted.push_back(false);
        i = end;
    }
    return true;
}

}  // namespace

bool DialogTemplate::fail(const std::string& source, int line, const std::string& message)
{
    error_ = source + ":" + std::to_string(line) + ": " + message;
    return false;
}

bool DialogTemplate::load(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error_ = path + ": cannot open the dialog template";
        return false;
    }
    std::ostringstream content;
    content << in.rdbuf();
    return parse(content.str(), path);
}

bool DialogTemplate::parse(const std::string& text, const std::string& source)
{
    name_.clear();
    title_.clear();
    controls_.clear();
    menu_.clear();
    error_.clear();
    std::set<std::string> ids;
    std::string currentGroup;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        std::vector<std::string> words;
        std::vector<bool> quoted;
        std::string message;
        if (!tokenize(line, words, quoted, message)) return fail(source, number, message);
        if (words.empty() || (!quoted[0] && words[0][0] == '#')) continue;
        if (quoted[0]) return fail(source, number, "a statement begins with a word, not a caption");
        const std::string& keyword = words[0];
        if (keyword == "dialog" || keyword == "menu") {
            if (words.size() != 3 || quoted[1] || !quoted[2]) {
                return fail(source, number, keyword + " needs an ID and a quoted caption");
            }
            if (keyword == "dialog") {
                if (!name_.empty()) return fail(source, number, "a second dialog statement");
                name_ = words[1];
                title_ = words[2];
            } else {
                if (!ids.insert(words[1]).second) return fail(source, number, "duplicate ID " + words[1]);
                menu_.push_back({words[1], words[2]});
            }
            continue;
        }
        if (!controlKinds.count(keyword)) return fail(source, number, "unknown statement '" + keyword + "'");
        if (name_.empty()) return fail(source, number, "controls before the dialog statement");
        if (words.size() < 3 || quoted[1] || !quoted[2]) {
            return fail(source, number, keyword + " needs an ID and a quoted caption");
        }
        DialogControl control;
        control.kind = keyword;
        control.id = words[1];
        control.caption = words[2];
        if (control.id != "IDC_STATIC" && !ids.insert(control.id).second) {
            return fail(source, number, "duplicate ID " + control.id);
        }
        bool inItems = false;
        for (size_t w = 3; w < words.size(); ++w) {
            if (inItems) {
                if (!quoted[w]) return fail(source, number, "list items must be quoted");
                control.items.push_back(words[w]);
                continue;
            }
            if (quoted[w]) return fail(source, number, "unexpected caption \"" + words[w] + "\"");
            if (words[w] == "hidden") {
                control.hidden = true;
            } else if (words[w] == "disabled") {
                control.disabled = true;
            } else if (words[w] == "readonly") {
                control.readOnly = true;
            } else if (words[w] == "items") {
                if (control.kind != "list" && control.kind != "combo") {
                    return fail(source, number, "only list and combo controls have items");
                }
                inItems = true;
            } else {
                return fail(source, number, "unknown flag '" + words[w] + "'");
            }
        }
        if (control.kind == "group") {
            currentGroup = control.caption;
        } else {
            control.group = currentGroup;
        }
        controls_.push_back(std::move(control));
    }
    if (name_.empty()) return fail(source, number, "no dialog statement");
    return true;
}
