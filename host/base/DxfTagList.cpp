#include "host/base/DxfTagList.h"

#include <algorithm>

void DxfTagList::clear()
{
    blocks_.clear();
    longs_.clear();
    size_ = 0;
}

void DxfTagList::push_back(int code, std::string_view value)
{
    if ((size_ & (kBlockSize - 1)) == 0)
        blocks_.push_back(std::make_unique_for_overwrite<Packed[]>(kBlockSize));
    const size_t offset = static_cast<size_t>(value.data() - text_.data());
    Packed& p = blocks_.back()[size_ & (kBlockSize - 1)];
    p.code = static_cast<uint16_t>(code);
    if (value.size() < kLong && offset <= UINT32_MAX) {
        p.offset = static_cast<uint32_t>(offset);
        p.size = static_cast<uint16_t>(value.size());
    } else {
        p.offset = 0;
        p.size = kLong;
        longs_.push_back({size_, offset, value.size()});
    }
    ++size_;
}

DxfTag DxfTagList::longTag(size_t i, int code) const
{
    auto at = std::lower_bound(longs_.begin(), longs_.end(), i, [](const Long& l, size_t k) { return l.index < k; });
    return DxfTag(code, text_.substr(at->offset, at->size));
}

void DxfTagList::appendTo(size_t first, size_t count, std::vector<DxfTag>& out) const
{
    out.reserve(out.size() + count);
    for (size_t i = first; i < first + count; ++i)
        out.push_back((*this)[i]);
}
