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
class DxfTagReader {
public:
    // fileName is used only in messages.
    explicit DxfTagReader(std::string fileName) : fileName_(std::move(fileName)) {}

    // Appends the tags of text to tags. On a binary DXF, a DWG, a bad group
    // code, a missing value line or a missing EOF returns the status, the line
    // and a message; tags then holds the tags read before the fault.
    // When unusual is given, the indices (into tags) of the tags whose lines
    // are not exactly what DxfTagWriter writes for them are appended to it in
    // order: a group code padded otherwise than to three columns, a line end
    // other than the file's (see usesCrlf), a last line without its end.
    // Every other tag's two lines can be copied to a saved file as they are.
    DxfReadResult read(std::string_view text, std::vector<DxfTag>& tags, std::vector<size_t>* unusual = nullptr) const;
    // The same into a compact list, which then refers to text.
    DxfReadResult read(std::string_view text, DxfTagList& tags, std::vector<size_t>* unusual = nullptr) const;

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

    std::string fileName_;
};
