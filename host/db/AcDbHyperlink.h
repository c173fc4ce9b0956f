#pragma once
#include <string>

// One hyperlink of an entity: the address (name), its description and a
// named location inside the target (sub-location). Plain value.
class AcDbHyperlink {
public:
    AcDbHyperlink() = default;
    AcDbHyperlink(std::string name, std::string description, std::string subLocation = {})
        : name_(std::move(name)), description_(std::move(description)), subLocation_(std::move(subLocation)) {}

    const char* name() const { return name_.c_str(); }
    void setName(const char* name) { name_ = name ? name : ""; }
    const char* description() const { return description_.c_str(); }
    void setDescription(const char* description) { description_ = description ? description : ""; }
    const char* subLocation() const { return subLocation_.c_str(); }
    void setSubLocation(const char* subLocation) { subLocation_ = subLocation ? subLocation : ""; }
    // The text a user sees: the description, or the address when there is none.
    const char* getDisplayString() const { return description_.empty() ? name_.c_str() : description_.c_str(); }
    // The option flag CAD programs keep with a link (0 for new links).
    int flag() const { return flag_; }
    void setFlag(int flag) { flag_ = flag; }

private:
    std::string name_;
    std::string description_;
    std::string subLocation_;
    int flag_ = 0;
};
