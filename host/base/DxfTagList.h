#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "host/base/RawTag.h"

// The tags of a whole file, kept compactly. Every value lies in the one text
// the list was read from (the file image), so a tag is kept as its value's
// offset in that text, its length and its group code: 8 bytes instead of a
// DxfTag's 16. Tags are handed out as DxfTag values pointing into the text.
//
// The list grows in blocks of 64K tags that never move, so reading a large
// file neither reserves room up front nor copies the list as it grows. A
// value of 65,535 bytes or more, or one starting 4 GiB or more into the text,
// keeps its offset and length in a side table instead.
class DxfTagList {
public:
    DxfTagList() = default;
    DxfTagList(const DxfTagList&) = delete;
    DxfTagList& operator=(const DxfTagList&) = delete;

    // The text the values lie in; set before the first tag is added.
    void setText(std::string_view text) { text_ = text; }
    // The text every value of the list stands in.
    std::string_view text() const { return text_; }

    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    void clear();

    // Adds a tag whose value is a part of the text. Inline for the usual
    // tag (a block with room, a short value): the reader adds every tag of
    // the file here.
    void push_back(int code, std::string_view value)
    {
        const size_t offset = static_cast<size_t>(value.data() - text_.data());
        if ((size_ & (kBlockSize - 1)) != 0 && packs(offset, value.size())) {
            blocks_.back()[size_ & (kBlockSize - 1)] = packed(offset, code, value.size());
            ++size_;
            return;
        }
        pushOther(code, value);
    }
    void push_back(const DxfTag& tag) { push_back(tag.code, tag.value()); }

    // Adds a run of tags as push_back does, faster (see below).
    class Appender;

    int code(size_t i) const { return slot(i).code; }
    DxfTag operator[](size_t i) const
    {
        const Packed& p = slot(i);
        if (p.size != kLong)
            return DxfTag(p.code, text_.substr(p.offset, p.size));
        return longTag(i, p.code);
    }

    // Frees the blocks holding only tags before index before: a caller that
    // walks the list once keeps only the part it has not passed. Those tags
    // may no longer be asked for; size() and the later indices stay.
    void release(size_t before);

    // Copies count tags from first on to the end of out.
    void appendTo(size_t first, size_t count, std::vector<DxfTag>& out) const;

private:
    struct Packed {
        uint32_t offset;
        uint16_t code;
        uint16_t size;  // kLong: offset and size are in longs_
    };
    struct Long {
        size_t index;
        size_t offset;
        size_t size;
    };
    static constexpr unsigned kBlockBits = 16;
    static constexpr size_t kBlockSize = size_t{1} << kBlockBits;
    static constexpr uint16_t kLong = 0xFFFF;

    // Whether a value at offset of size bytes is kept in its tag (else aside,
    // in longs_), and the tag that keeps it.
    static bool packs(size_t offset, size_t size) { return size < kLong && offset <= UINT32_MAX; }
    static Packed packed(size_t offset, int code, size_t size)
    {
        return {static_cast<uint32_t>(offset), static_cast<uint16_t>(code), static_cast<uint16_t>(size)};
    }
    // push_back for a tag that starts a block or keeps its value aside.
    void pushOther(int code, std::string_view value);
    const Packed& slot(size_t i) const { return blocks_[i >> kBlockBits][i & (kBlockSize - 1)]; }
    DxfTag longTag(size_t i, int code) const;

    std::string_view text_;
    std::vector<std::unique_ptr<Packed[]>> blocks_;
    size_t size_ = 0;
    size_t released_ = 0;  // blocks before this one are freed
    std::vector<Long> longs_;  // ascending by index
};

// Adds a run of tags as push_back does, keeping where the next one goes
// in itself (so a loop holds it in registers) and telling the list its
// new size when destroyed. The list is not to be used otherwise while
// an appender for it lives.
class DxfTagList::Appender {
public:
    explicit Appender(DxfTagList& list) : list_(list) { resume(); }
    Appender(const Appender&) = delete;
    Appender& operator=(const Appender&) = delete;
    ~Appender() { commit(); }

    void push_back(const DxfTag& tag)
    {
        const size_t offset = static_cast<size_t>(tag.text - base_);
        if (at_ != end_ && packs(offset, tag.size)) {
            *at_++ = packed(offset, tag.code, tag.size);
            return;
        }
        commit();
        list_.pushOther(tag.code, tag.value());
        resume();
    }

private:
    // Takes the room left in the list's last block (none when it is full).
    void resume()
    {
        base_ = list_.text_.data();
        const size_t used = list_.size_ & (kBlockSize - 1);
        if (used == 0) {
            start_ = at_ = end_ = nullptr;
            return;
        }
        start_ = at_ = list_.blocks_.back().get() + used;
        end_ = list_.blocks_.back().get() + kBlockSize;
    }
    void commit()
    {
        list_.size_ += static_cast<size_t>(at_ - start_);
        start_ = at_;
    }

    DxfTagList& list_;
    const char* base_ = nullptr;
    Packed* start_ = nullptr;
    Packed* at_ = nullptr;
    Packed* end_ = nullptr;
};

// Splits a part of a DXF text that a read has accepted (whole tags, from a
// group-code line on) into tags exactly as the read did: codes padded with
// blanks or signed, CRLF or LF line ends, the last line with or without its
// end. The tags point into range.
void dxfSplitTags(std::string_view range, std::vector<DxfTag>& tags);

// Splits the first tags of range as dxfSplitTags does, at most `most` of
// them, and returns the offset in range of the next tag's code line (the
// size of range once every tag is split).
size_t dxfSplitSomeTags(std::string_view range, std::vector<DxfTag>& tags, size_t most);
