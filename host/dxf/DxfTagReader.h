#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "host/base/DxfTagList.h"
#include "host/dxf/DxfReadResult.h"
#include "host/dxf/DxfTag.h"

// Splits the text of an ASCII DXF file into tags without copying: every tag
// points into the given buffer, which must outlive the tags. Accepts LF and
// CRLF line ends, padded group codes and a leading byte-order mark; stops at
// "0 EOF" and ignores whatever follows it.
//
// A read can also go in steps (start, then more), so that a caller walking
// the tags can drop those it has passed instead of holding the whole file's.
class DxfTagReader {
public:
    // fileName is used only in messages.
    explicit DxfTagReader(std::string fileName) : fileName_(std::move(fileName)) {}

    // Appends the tags of text to tags. On a binary DXF, a DWG, a bad group
    // code, a missing value line or a missing EOF returns the status, the line
    // and a message; tags then holds the tags read before the fault.
    // When unusual is given, the byte offsets (of the group-code line) of the tags whose lines
    // are not exactly what DxfTagWriter writes for them are appended to it in
    // order: a group code padded otherwise than to three columns, a line end
    // other than the file's (see usesCrlf), a last line without its end.
    // Every other tag's two lines can be copied to a saved file as they are.
    DxfReadResult read(std::string_view text, std::vector<DxfTag>& tags, std::vector<size_t>* unusual = nullptr) const;
    // The same into a compact list, which then refers to text.
    DxfReadResult read(std::string_view text, DxfTagList& tags, std::vector<size_t>* unusual = nullptr) const;

    // Where a read in steps stands.
    struct Progress {
        size_t pos = 0;       // the byte the next group-code line starts at
        size_t line = 1;      // its line
        size_t count = 0;     // tags read so far
        size_t versionTags = 0;  // tags "9 $ACADVER" read so far
        bool crlf = false;
        bool done = false;    // EOF read, or result holds the fault
        DxfReadResult result;
    };
    // Starts a read of text into tags (which then refers to text).
    Progress start(std::string_view text, DxfTagList& tags) const;
    // Reads up to about limit more tags into tags, as read does; sets done at
    // "0 EOF" or at a fault (then in result).
    void more(std::string_view text, Progress& at, DxfTagList& tags, std::vector<size_t>* unusual, size_t limit) const;

    // The byte offset of the group-code line of the tag whose value starts at
    // valueOffset (the line after the previous line end).
    static size_t tagStart(std::string_view text, size_t valueOffset);

    // Whether the text's lines end in CR LF (judged on its first 400 bytes),
    // the line end a save of it writes.
    static bool usesCrlf(std::string_view text) { return text.substr(0, 400).find("\r\n") != std::string_view::npos; }

    // The 1-based line of the file on which the byte at offset starts.
    static size_t lineOfOffset(std::string_view text, size_t offset);

    // A result that names the file and line: "<file>: line <n>: <what>".
    DxfReadResult failure(Acad::ErrorStatus status, size_t line, const std::string& what) const;

private:
    template <class Tags>
    DxfReadResult readInto(std::string_view text, Tags& tags, std::vector<size_t>* unusual) const;
    // The read's steps: a fault before the first tag, then up to limit tags.
    DxfReadResult startFault(std::string_view text, size_t& pos) const;
    template <class Tags>
    void readSome(std::string_view text, Progress& at, Tags& tags, std::vector<size_t>* unusual, size_t limit) const;

    std::string fileName_;
};
