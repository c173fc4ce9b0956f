#pragma once
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "host/base/DxfCodepage.h"
#include "host/dxf/DxfTag.h"

struct AcDbDatabaseData;

// Edits the tag list of one object in place, so that changing a property
// touches only its own tags: every other tag keeps its text and position.
// A subclass is the run of tags after a "100 <marker>" up to the next 100,
// 101 or 1001 tag; the base part runs from the type tag to the first 100.
// A value that reads back equal to the new one keeps its original text.
class DxfTagEditor {
public:
    struct Range {
        size_t begin = 0;  // first tag after the marker
        size_t end = 0;
        bool found = false;
    };

    DxfTagEditor(std::vector<DxfTag>& tags, AcDbDatabaseData& data, const DxfCodepage& codepage)
        : tags_(tags), data_(data), codepage_(codepage) {}

    // The nth subclass with the marker; found is false when there is none.
    Range subclass(std::string_view marker, int nth = 0) const;
    // The base part (after the type tag, before the first subclass).
    Range base() const;
    // Index of the xdata (first 1001), or the size when there is none.
    size_t xdataStart() const;

    // Sets the first tag with code in the range, or inserts one after the
    // last tag whose code comes earlier in order (at the range start when
    // none does). Returns the tag index.
    size_t setRaw(const Range& r, int code, std::string_view value, std::initializer_list<int> order);
    size_t setString(const Range& r, int code, const std::string& utf8, std::initializer_list<int> order);
    size_t setReal(const Range& r, int code, double value, std::initializer_list<int> order);
    size_t setInt(const Range& r, int code, int64_t value, std::initializer_list<int> order);
    size_t setHandle(const Range& r, int code, uint64_t handle, std::initializer_list<int> order);
    // Sets x, y and z of a point at codes code, code+10, code+20; z is left out when omitZ.
    void setPoint(const Range& r, int code, double x, double y, double z, std::initializer_list<int> order, bool omitZ = false);
    // Removes every tag with the code in the range; the number removed.
    size_t remove(const Range& r, int code);
    // True when the range has a tag with the code.
    bool has(const Range& r, int code) const;
    // Inserts tags at index.
    void insert(size_t index, const std::vector<DxfTag>& tags);
    // A tag whose text is kept by the database.
    DxfTag make(int code, std::string_view text) const;

    std::vector<DxfTag>& tags() { return tags_; }
    const DxfCodepage& codepage() const { return codepage_; }

private:
    size_t find(const Range& r, int code) const;
    Range find(std::string_view marker, int nth) const;
    size_t insertAt(const Range& r, int code, std::initializer_list<int> order) const;

    std::vector<DxfTag>& tags_;
    AcDbDatabaseData& data_;
    const DxfCodepage& codepage_;
    // The last subclasses found: a save looks the same one up for every
    // field it sets. An entry serves while the tag count is the same and its
    // marker and end are still where they were.
    struct Found {
        size_t tagCount = 0;
        Range range;
    };
    mutable Found found_[4];
    mutable size_t nextFound_ = 0;
};
