#pragma once
// A dialog template: the title, menu commands and controls of a dialog, read
// from a text file in resources/. The format, one statement per line:
//
//   # a comment
//   dialog IDD_NAME "Title"
//   menu IDM_ID "Caption"
//   KIND ID "Caption" [hidden] [disabled] [readonly] [items "one" "two" ...]
//
// KIND is one of: group, label, edit, button, defbutton, check, radio, list,
// combo. IDs are symbolic names (IDC_..., IDOK, IDCANCEL); "IDC_STATIC" may
// repeat, every other ID is unique. Captions are double-quoted; inside them
// \" is a quote, \\ a backslash, \t a tab and \n a line break. A control
// belongs to the group box above it until the next group box.

#include <string>
#include <vector>

struct DialogControl {
    std::string kind;
    std::string id;
    std::string caption;
    bool hidden = false;
    bool disabled = false;
    bool readOnly = false;
    std::vector<std::string> items;
    std::string group;  // caption of the group box the control sits in
};

struct DialogMenuItem {
    std::string id;
    std::string caption;
};

class DialogTemplate {
public:
    // Reads a template file. Returns false, with error() naming the file and
    // line and what was wrong, for a missing file or a bad statement.
    bool load(const std::string& path);
    // Reads a template from text; source names it in error messages.
    bool parse(const std::string& text, const std::string& source);

    const std::string& name() const { return name_; }
    const std::string& title() const { return title_; }
    const std::vector<DialogControl>& controls() const { return controls_; }
    const std::vector<DialogMenuItem>& menu() const { return menu_; }
    const std::string& error() const { return error_; }

private:
    bool fail(const std::string& source, int line, const std::string& message);

    std::string name_;
    std::string title_;
    std::vector<DialogControl> controls_;
    std::vector<DialogMenuItem> menu_;
    std::string error_;
};
