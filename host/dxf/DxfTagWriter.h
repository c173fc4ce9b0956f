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
    // Writes n tags. A tag whose value is a view into source, and whose two
    // lines stand there exactly as this writer would write them, goes out by
    // copying those bytes, together with its neighbours that do the same:
    // the output is the same, without formatting each tag again. source is
    // the lines the tags were split from (empty when there are none); tags
    // made since, or standing otherwise in source, are written as write does.
    void write(const DxfTag* tags, size_t n, std::string_view source);
    // Writes bytes that already are tags in this writer's layout and line end.
    void writeRaw(std::string_view bytes);
    bool crlf() const { return crlf_; }
    // Pushes buffered bytes to the file; false when a write to the file failed.
    bool flush();
    // False once a write to the file has failed.
    bool good() const { return good_; }

private:
    // The group-code line of code as this writer writes it, line end
    // included, into line (at least 16 bytes); its length.
    size_t codeLine(int code, char* line) const;
    std::string& out() { return target_ ? *target_ : buffer_; }
    // Whether t's value, lying in lines that begin at from and going on at
    // least to its line end, stands there with its code line before it and
    // its line end after it as this writer writes them; start is then where
    // its code line begins.
    bool standsAsWritten(const DxfTag& t, const char* from, const char*& start) const;

    std::string* target_ = nullptr;
    int fd_ = -1;
    bool crlf_;
    bool good_ = true;
    std::string buffer_;
};
