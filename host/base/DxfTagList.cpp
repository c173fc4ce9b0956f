#include "host/base/DxfTagList.h"

#include <algorithm>
#include <cstring>

#include "host/base/DxfLineFeed.h"

void DxfTagList::clear()
{
    blocks_.clear();
    longs_.clear();
    size_ = 0;
    released_ = 0;
}

void DxfTagList::pushOther(int code, std::string_view value)
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

void DxfTagList::release(size_t before)
{
    const size_t whole = std::min(before, size_) >> kBlockBits;
    for (size_t b = released_; b < whole; ++b)
        blocks_[b].reset();
    released_ = std::max(released_, whole);
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

namespace {

// Splits range into tags, at most `most` of them when Bounded (the count is
// kept only then: splitting whole objects is the hot path of reading).
template <bool Bounded>
size_t splitTags(std::string_view range, std::vector<DxfTag>& tags, size_t most)
{
    const char* p = range.data();
    const char* const e = p + range.size();
    // The end of the line from on (before a CR LF or LF) and the start of
    // the next.
    DxfLineFeeds feeds(e);
    auto lineEnd = [e, &feeds](const char* from, const char*& next) {
        const char* nl = feeds.next(from);
        next = nl < e ? nl + 1 : e;
        return nl > from && nl[-1] == '\r' ? nl - 1 : nl;
    };
    size_t taken = 0;
    while (p < e && (!Bounded || taken++ < most)) {
        // The group-code line as nearly every file writes it: three columns
        // ("  0", " 10", "330") or, for extended data, four ("1000" to
        // "1099", a space block's record is sixteen of them), then the line
        // end. Any other form of it takes the general way below.
        bool asWritten = false;
        int quick = -1;
        ptrdiff_t width = 0;
        if (e - p > 4 && (p[3] == '\n' || (p[3] == '\r' && p[4] == '\n'))) {
            quick = dxfThreeColumnCode(p, asWritten);
            width = 3;
        } else if (e - p > 5 && (p[4] == '\n' || (p[4] == '\r' && p[5] == '\n'))) {
            quick = dxfFourColumnExtendedCode(p);
            width = 4;
        }
        if (quick >= 0) {
            p += width + (p[width] == '\n' ? 1 : 2);
            if (p >= e)
                return range.size();  // a code line without a value, as below
            const char* next = nullptr;
            const char* end = lineEnd(p, next);
            tags.push_back(DxfTag(quick, std::string_view(p, static_cast<size_t>(end - p))));
            p = next;
            continue;
        }
        const char* q = p;
        while (q < e && *q == ' ')
            ++q;
        const char* digits = q;
        int code = 0;
        while (q < e && static_cast<unsigned>(*q - '0') < 10)
            code = code * 10 + (*q++ - '0');
        const char* next = nullptr;
        const char* end = nullptr;
        if (q > digits && q < e && *q == '\n') {
            p = q + 1;
        } else if (q > digits && q + 1 < e && *q == '\r' && q[1] == '\n') {
            p = q + 2;
        } else {
            // Any other: blanks, an optional sign, digits, blanks.
            end = lineEnd(p, next);
            while (p < end && (*p == ' ' || *p == '\t'))
                ++p;
            const bool negative = p < end && *p == '-';
            if (p < end && (*p == '-' || *p == '+'))
                ++p;
            code = 0;
            while (p < end && static_cast<unsigned>(*p - '0') < 10)
                code = code * 10 + (*p++ - '0');
            code = negative ? -code : code;
            p = next;
        }
        if (p >= e)
            return range.size();  // a code line without a value: not a tag (never in an accepted range)
        end = lineEnd(p, next);
        tags.push_back(DxfTag(code, std::string_view(p, static_cast<size_t>(end - p))));
        p = next;
    }
    return static_cast<size_t>(p - range.data());
}

}  // namespace

void dxfSplitTags(std::string_view range, std::vector<DxfTag>& tags) { splitTags<false>(range, tags, 0); }

size_t dxfSplitSomeTags(std::string_view range, std::vector<DxfTag>& tags, size_t most)
{
    return splitTags<true>(range, tags, most);
}
