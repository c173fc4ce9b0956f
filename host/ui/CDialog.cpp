#include "host/ui/CDialog.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "host/ui/DialogFrontEnd.h"
#include "host/ui/MessageBox.h"

namespace {

constexpr const char* VALIDATION_CAPTION = "Zelka";

std::string trimmed(const std::string& text)
{
    size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos) return {};
    size_t end = text.find_last_not_of(" \t");
    return text.substr(begin, end - begin + 1);
}

bool parseInt(const std::string& raw, int32_t& value)
{
    std::string text = trimmed(raw);
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    long parsed = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || errno == ERANGE || parsed < INT32_MIN || parsed > INT32_MAX) return false;
    value = static_cast<int32_t>(parsed);
    return true;
}

bool parseDouble(const std::string& raw, double& value)
{
    std::string text = trimmed(raw);
    if (text.empty()) return false;
    for (char c : text) {
        if (!std::strchr("0123456789+-.eE", c)) return false;
    }
    char* end = nullptr;
    errno = 0;
    double parsed = std::strtod(text.c_str(), &end);
    if (*end != '\0' || errno == ERANGE || !std::isfinite(parsed)) return false;
    value = parsed;
    return true;
}

// A number as dialog data exchange shows it: 15 significant digits, general form.
std::string numberText(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return buffer;
}

void validationMessage(const std::string& text)
{
    MessageBoxA(nullptr, text.c_str(), VALIDATION_CAPTION, MB_OK | MB_ICONWARNING);
}

}  // namespace

CDialog::CDialog(std::string templatePath) : templatePath_(std::move(templatePath)) {}

CDialog::~CDialog() = default;

bool CDialog::open(bool modeless)
{
    if (open_) return false;
    if (!template_.load(templatePath_)) {
        MessageBoxA(nullptr, ("Unable to create the dialog: " + template_.error()).c_str(), "Dialog", MB_ICONERROR);
        return false;
    }
    title_ = template_.title();
    controls_.clear();
    for (const DialogControl& definition : template_.controls()) {
        ControlState state;
        state.definition = definition;
        state.items = definition.items;
        state.hidden = definition.hidden;
        state.disabled = definition.disabled;
        controls_.push_back(std::move(state));
    }
    open_ = true;
    modeless_ = modeless;
    result_ = 0;
    OnInitDialog();
    if (open_) dialogFrontEnd().opened(*this);
    return true;
}

int CDialog::DoModal()
{
    if (!open(false)) return -1;
    if (open_) dialogFrontEnd().runModal(*this);
    return result_;
}

bool CDialog::Create()
{
    return open(true);
}

bool CDialog::DestroyWindow()
{
    if (!open_) return false;
    close(2);
    return true;
}

void CDialog::EndDialog(int result)
{
    if (open_) close(result);
}

void CDialog::close(int result)
{
    result_ = result;
    open_ = false;
    dialogFrontEnd().closed(*this);
    // Last: a modeless dialog may delete itself here.
    PostNcDestroy();
}

CDialog::ControlState* CDialog::find(const std::string& id)
{
    for (ControlState& control : controls_) {
        if (control.definition.id == id) return &control;
    }
    return nullptr;
}

const CDialog::ControlState* CDialog::find(const std::string& id) const
{
    for (const ControlState& control : controls_) {
        if (control.definition.id == id) return &control;
    }
    return nullptr;
}

bool CDialog::hasControl(const std::string& id) const
{
    return find(id) != nullptr;
}

std::string CDialog::GetDlgItemText(const std::string& id) const
{
    const ControlState* control = find(id);
    if (!control) return {};
    const std::string& kind = control->definition.kind;
    if (kind == "edit" || kind == "combo") return control->text;
    if (kind == "list") return control->selection >= 0 ? control->items[static_cast<size_t>(control->selection)] : "";
    return control->text.empty() ? control->definition.caption : control->text;
}

void CDialog::SetDlgItemText(const std::string& id, const std::string& text)
{
    if (ControlState* control = find(id)) control->text = text;
}

void CDialog::CheckDlgButton(const std::string& id, int check)
{
    if (ControlState* control = find(id)) control->checked = check != 0;
}

unsigned CDialog::IsDlgButtonChecked(const std::string& id) const
{
    const ControlState* control = find(id);
    return control && control->checked ? 1u : 0u;
}

void CDialog::CheckRadioButton(const std::string& first, const std::string& last, const std::string& check)
{
    bool inRange = false;
    for (ControlState& control : controls_) {
        if (control.definition.id == first) inRange = true;
        if (inRange && control.definition.kind == "radio") control.checked = control.definition.id == check;
        if (control.definition.id == last) break;
    }
}

std::string CDialog::GetCheckedRadioButton(const std::string& first, const std::string& last) const
{
    bool inRange = false;
    for (const ControlState& control : controls_) {
        if (control.definition.id == first) inRange = true;
        if (inRange && control.definition.kind == "radio" && control.checked) return control.definition.id;
        if (control.definition.id == last) break;
    }
    return {};
}

void CDialog::EnableDlgItem(const std::string& id, bool enable)
{
    if (ControlState* control = find(id)) control->disabled = !enable;
}

void CDialog::ShowDlgItem(const std::string& id, bool show)
{
    if (ControlState* control = find(id)) control->hidden = !show;
}



int CDialog::ListAddString(const std::string& id, const std::string& text)
{
    ControlState* control = find(id);
    if (!control) return -1;
    control->items.push_back(text);
    return static_cast<int>(control->items.size()) - 1;
}

void CDialog::ListResetContent(const std::string& id)
{
    if (ControlState* control = find(id)) {
        control->items.clear();
        control->selection = -1;
    }
}

int CDialog::ListGetCount(const std::string& id) const
{
    const ControlState* control = find(id);
    return control ? static_cast<int>(control->items.size()) : 0;
}

std::string CDialog::ListGetText(const std::string& id, int index) const
{
    const ControlState* control = find(id);
    if (!control || index < 0 || index >= static_cast<int>(control->items.size())) return {};
    return control->items[static_cast<size_t>(index)];
}

int CDialog::ListGetCurSel(const std::string& id) const
{
    const ControlState* control = find(id);
    return control ? control->selection : -1;
}

bool CDialog::ListSetCurSel(const std::string& id, int index)
{
    ControlState* control = find(id);
    if (!control) return false;
    if (index < 0 || index >= static_cast<int>(control->items.size())) {
        control->selection = -1;
        return false;
    }
    control->selection = index;
    if (control->definition.kind == "combo") control->text = control->items[static_cast<size_t>(index)];
    return true;
}

CDialog::ControlState* CDialog::usable(const std::string& id, std::string& error)
{
    ControlState* control = find(id);
    if (!control || id == "IDC_STATIC") {
        error = "the dialog has no control " + id;
        return nullptr;
    }
    if (control->hidden) {
        error = "control " + id + " is hidden";
        return nullptr;
    }
    if (control->disabled) {
        error = "control " + id + " is disabled";
        return nullptr;
    }
    return control;
}

bool CDialog::performSet(const std::string& id, const std::string& text, std::string& error)
{
    ControlState* control = usable(id, error);
    if (!control) return false;
    if (control->definition.kind != "edit" && control->definition.kind != "combo") {
        error = "control " + id + " (" + control->definition.kind + ") is not a field";
        return false;
    }
    if (control->definition.readOnly) {
        error = "control " + id + " is read-only";
        return false;
    }
    control->text = text;
    if (auto handler = changes_.find(id); handler != changes_.end()) handler->second();
    return true;
}

bool CDialog::performCheck(const std::string& id, bool check, std::string& error)
{
    ControlState* control = usable(id, error);
    if (!control) return false;
    const std::string& kind = control->definition.kind;
    if (kind == "check") {
        control->checked = check;
    } else if (kind == "radio" && check) {
        // A radio button clears the others of its run of radio buttons.
        size_t index = static_cast<size_t>(control - controls_.data());
        size_t first = index;
        while (first > 0 && controls_[first - 1].definition.kind == "radio") --first;
        for (size_t i = first; i < controls_.size() && controls_[i].definition.kind == "radio"; ++i) {
            controls_[i].checked = i == index;
        }
    } else {
        error = kind == "radio" ? "a radio button is cleared by checking another one"
                                : "control " + id + " (" + kind + ") is not a check box";
        return false;
    }
    if (auto handler = clicks_.find(id); handler != clicks_.end()) handler->second();
    return true;
}

bool CDialog::performClick(const std::string& id, std::string& error)
{
    ControlState* control = usable(id, error);
    if (!control) return false;
    const std::string& kind = control->definition.kind;
    if (kind == "check") return performCheck(id, !control->checked, error);
    if (kind == "radio") return performCheck(id, true, error);
    if (kind != "button" && kind != "defbutton") {
        error = "control " + id + " (" + kind + ") is not a button";
        return false;
    }
    if (auto handler = clicks_.find(id); handler != clicks_.end()) {
        handler->second();
    } else if (id == "IDOK") {
        OnOK();
    } else if (id == "IDCANCEL") {
        OnCancel();
    }
    return true;
}

bool CDialog::performChoose(const std::string& id, int index, std::string& error)
{
    ControlState* control = usable(id, error);
    if (!control) return false;
    if (control->definition.kind != "list" && control->definition.kind != "combo") {
        error = "control " + id + " (" + control->definition.kind + ") is not a list";
        return false;
    }
    if (index < 0 || index >= static_cast<int>(control->items.size())) {
        error = "list " + id + " has no line " + std::to_string(index + 1);
        return false;
    }
    ListSetCurSel(id, index);
    if (auto handler = selChanges_.find(id); handler != selChanges_.end()) handler->second();
    return true;
}

bool CDialog::performDoubleClick(const std::string& id, int index, std::string& error)
{
    if (!performChoose(id, index, error)) return false;
    if (!open_) return true;
    if (auto handler = doubleClicks_.find(id); handler != doubleClicks_.end()) handler->second();
    return true;
}

bool CDialog::performMenu(const std::string& id, std::string& error)
{
    auto handler = menus_.find(id);
    bool inTemplate = false;
    for (const DialogMenuItem& item : template_.menu()) inTemplate = inTemplate || item.id == id;
    if (!inTemplate) {
        error = "the dialog has no menu command " + id;
        return false;
    }
    if (handler != menus_.end()) handler->second();
    return true;
}

void CDialog::performClose()
{
    OnClose();
}

bool CDialog::DDX_Int(const std::string& id, int32_t& value, bool save)
{
    if (!save) {
        SetDlgItemText(id, std::to_string(value));
        return true;
    }
    int32_t parsed = 0;
    if (!parseInt(GetDlgItemText(id), parsed)) {
        validationMessage("Please enter an integer.");
        return false;
    }
    value = parsed;
    return true;
}

bool CDialog::DDX_IntRange(const std::string& id, int32_t& value, bool save, int32_t min, int32_t max)
{
    int32_t parsed = value;
    if (!DDX_Int(id, parsed, save)) return false;
    if (save && (parsed < min || parsed > max)) {
        validationMessage("Please enter an integer between " + std::to_string(min) + " and " + std::to_string(max) +
                          ".");
        return false;
    }
    value = parsed;
    return true;
}

bool CDialog::DDX_Double(const std::string& id, double& value, bool save)
{
    if (!save) {
        SetDlgItemText(id, numberText(value));
        return true;
    }
    double parsed = 0.0;
    if (!parseDouble(GetDlgItemText(id), parsed)) {
        validationMessage("Please enter a number.");
        return false;
    }
    value = parsed;
    return true;
}

bool CDialog::DDX_DoubleRange(const std::string& id, double& value, bool save, double min, double max)
{
    double parsed = value;
    if (!DDX_Double(id, parsed, save)) return false;
    if (save && (parsed < min || parsed > max)) {
        validationMessage("Please enter a number between " + numberText(min) + " and " + numberText(max) + ".");
        return false;
    }
    value = parsed;
    return true;
}

void CDialog::DDX_Text(const std::string& id, std::string& value, bool save)
{
    if (save) {
        value = GetDlgItemText(id);
    } else {
        SetDlgItemText(id, value);
    }
}
