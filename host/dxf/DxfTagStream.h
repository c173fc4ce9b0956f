#pragma once
#include <functional>
#include <string_view>
#include <vector>

#include "host/base/DxfTagList.h"
#include "host/dxf/DxfTagReader.h"

// The tags of a file as a reader walking it asks for them: the text is split
// a batch at a time as later tags are asked for, and the blocks of tags the
// walker has passed (see release) are freed, so a large file never has all
// its tags held at once. Indices are those of the whole file.
class DxfTagStream {
public:
    // unusual receives the byte offsets DxfTagReader::read gives; read, when
    // set, is told how many bytes of the text each batch split.
    DxfTagStream(const DxfTagReader& reader, std::string_view text, std::vector<size_t>* unusual,
                 std::function<void(size_t)> read = {})
        : reader_(reader), text_(text), unusual_(unusual), read_(std::move(read)), at_(reader.start(text, tags_)) {}

    // Whether tag i exists (splitting on to it); false past "0 EOF" or a fault.
    bool has(size_t i)
    {
        while (i >= tags_.size() && !at_.done)
            more();
        return i < tags_.size();
    }
    DxfTag operator[](size_t i) const { return tags_[i]; }
    // The tags read so far (all of them once done()).
    const DxfTagList& list() const { return tags_; }
    size_t size() const { return tags_.size(); }

    // Tags before index before will not be asked for again (but for a few
    // just before it, which messages about it may name).
    void release(size_t before) { tags_.release(before > kMargin ? before - kMargin : 0); }
    // Splits the rest of the text, keeping the tags when keep, and returns
    // the outcome of the whole split: eOk, or the first fault.
    const DxfReadResult& finish(bool keep)
    {
        while (!at_.done) {
            more();
            if (!keep)
                tags_.release(tags_.size());
        }
        return at_.result;
    }
    bool done() const { return at_.done; }
    // How many tags "9 $ACADVER" were read so far.
    size_t versionTags() const { return at_.versionTags; }

    // The byte offset in the text of tag i's group-code line; i must be held.
    size_t startOf(size_t i) const
    {
        return DxfTagReader::tagStart(text_, static_cast<size_t>(tags_[i].text - text_.data()));
    }

private:
    void more()
    {
        const size_t from = at_.pos;
        reader_.more(text_, at_, tags_, unusual_, kBatch);
        if (read_)
            read_(at_.pos - from);
    }

    static constexpr size_t kBatch = 64 * 1024;
    static constexpr size_t kMargin = 16;
    const DxfTagReader& reader_;
    std::string_view text_;
    std::vector<size_t>* unusual_;
    std::function<void(size_t)> read_;
    DxfTagList tags_;
    DxfTagReader::Progress at_;
};
