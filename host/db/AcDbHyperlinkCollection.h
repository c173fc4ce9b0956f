#pragma once
#include <vector>

#include "host/db/AcDbHyperlink.h"

// An ordered list of hyperlinks, owned by value.
class AcDbHyperlinkCollection {
public:
    void addTail(const char* name, const char* description, const char* subLocation = nullptr);
    // An index out of range is ignored.
    void removeAt(int index);
    int count() const { return static_cast<int>(links_.size()); }
    // The link at index; null out of range. Valid until the collection changes.
    AcDbHyperlink* item(int index);
    const AcDbHyperlink* item(int index) const;

private:
    std::vector<AcDbHyperlink> links_;
};
