#pragma once
// The layout names of a drawing (model and paper-space sheets), as the
// take-off records them: CLayout holds one name, CLayouts an ordered list
// that owns its layouts. Every operation wraps failures in a CEXUnhandled
// chain naming it ("CLayouts::...", class "Layouts").

#include <memory>
#include <string>
#include <vector>

class CAcadDrawing;

class CLayout {
public:
    CLayout() = default;
    explicit CLayout(std::string name) : name_(std::move(name)) {}
    virtual ~CLayout() = default;

    const std::string& getName() const { return name_; }
    void setName(const std::string& name) { name_ = name; }

private:
    std::string name_;
};

class CLayouts {
public:
    CLayouts() = default;
    CLayouts(const CLayouts&) = delete;
    CLayouts& operator=(const CLayouts&) = delete;
    virtual ~CLayouts() = default;

    // Appends the layout and takes ownership.
    void add(std::unique_ptr<CLayout> layout);
    int getCount() const { return static_cast<int>(items_.size()); }
    // The layout at index; throws a CEXUnhandled chain for an index out of range.
    CLayout& getAt(int index) const;
    // Frees every layout and empties the list.
    void deleteObjects() { items_.clear(); }
    // Appends one layout per block table record that is a layout, in block
    // table order. Does nothing when the document cannot be locked.
    void getDWGLayouts(CAcadDrawing& drawing);

private:
    std::vector<std::unique_ptr<CLayout>> items_;
};
