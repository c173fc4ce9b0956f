#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

// The raw tag record the drawing database keeps for lossless writing and the
// file code reads and writes. It sits below both, so the database never
// includes the file code.

// One DXF tag: a group code and its value text exactly as it stands in the
// file (numbers keep their padding, strings their file encoding). The text
// lives in a buffer owned elsewhere (the file image or the database's string
// store), so a tag is a small value and copying one never allocates.
struct DxfTag {
    const char* text = "";
    uint32_t size = 0;
    int32_t code = 0;

    DxfTag() = default;
    DxfTag(int32_t groupCode, std::string_view value)
        : text(value.data()), size(static_cast<uint32_t>(value.size())), code(groupCode) {}

    std::string_view value() const { return {text, size}; }
    bool is(int32_t groupCode, std::string_view v) const { return code == groupCode && value() == v; }
};

// True when the code is the x of a point whose y follows with code + 10.
inline bool dxfIsPointCode(int code)
{
    return (code >= 10 && code <= 18) || (code >= 110 && code <= 112) || (code >= 1010 && code <= 1013);
}

// Follows the record of a block reference tag by tag, from the tag after
// its type, to the tag holding the block name: group 2 of its
// AcDbBlockReference or AcDbMInsertBlock subclass, before any embedded
// object or extended data.
class DxfInsertBlockNameScan {
public:
    enum Seen { kGoOn, kName, kNoName };
    Seen see(const DxfTag& tag)
    {
        if (tag.code == 101 || tag.code == 1001)
            return kNoName;
        if (tag.code == 100)
            inReference_ = tag.value() == "AcDbBlockReference" || tag.value() == "AcDbMInsertBlock";
        else if (inReference_ && tag.code == 2)
            return kName;
        return kGoOn;
    }

private:
    bool inReference_ = false;
};

// The tag holding the block name in a block reference's record; null when
// there is none.
inline const DxfTag* dxfInsertBlockNameTag(const DxfTag* tags, size_t count)
{
    DxfInsertBlockNameScan scan;
    for (size_t i = 1; i < count; ++i) {
        const DxfInsertBlockNameScan::Seen seen = scan.see(tags[i]);
        if (seen == DxfInsertBlockNameScan::kName)
            return &tags[i];
        if (seen == DxfInsertBlockNameScan::kNoName)
            break;
    }
    return nullptr;
}
