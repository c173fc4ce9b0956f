#pragma once
#include <cstdio>
#include <string>
#include <string_view>

#include "host/dxf/DxfTag.h"

// Writes tags as ASCII DXF through a large buffer: group codes right-aligned
// in three columns as CAD programs write them, values verbatim, with LF or
// CRLF line ends. Output goes to a string or to an open file descriptor.
class DxfTagWriter {
public:
    // Collects the output in *target.
    explicit DxfTagWriter(std::string* target, bool crlf = false);
    // Writes to the file descriptor fd (not closed by the writer).
    explicit DxfTagWriter(int fd, bool crlf = false);
    ~DxfTagWriter();
    DxfTagWriter(const DxfTagWriter&) = delete;
    DxfTagWriter& operator=(const DxfTagWriter&) = delete;

    void write(int code, std::string_view value);
    void write(const DxfTag& tag) { write(tag.code, tag.value()); }
    // Writes bytes that already are tags in this writer's layout and line end.
    void writeRaw(std::string_view bytes);
    bool crlf() const { return crlf_; }
    // Pushes buffered bytes to the file; false when a write to the file failed.
    bool flush();
    // False once a write to the file has failed.
    bool good() const { return good_; }

private:
    std::string* target_ = nullptr;
    int fd_ = -1;
    bool crlf_;
    bool good_ = true;
    std::string buffer_;
};
