#pragma once
#include <string>
#include <string_view>
#include <vector>

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
    DxfReadResult read(std::string_view text, std::vector<DxfTag>& tags) const;

    // The 1-based line of the file on which the byte at offset starts.
    static size_t lineOfOffset(std::string_view text, size_t offset);

    // A result that names the file and line: "<file>: line <n>: <what>".
    DxfReadResult failure(Acad::ErrorStatus status, size_t line, const std::string& what) const;

private:
    std::string fileName_;
};
