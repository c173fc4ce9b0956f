#include "host/dxf/DxfTagWriter.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {
constexpr size_t kBufferSize = 1 << 20;
}

DxfTagWriter::DxfTagWriter(std::string* target, bool crlf) : target_(target), crlf_(crlf) {}

DxfTagWriter::DxfTagWriter(int fd, bool crlf) : fd_(fd), crlf_(crlf) { buffer_.reserve(kBufferSize + 4096); }

DxfTagWriter::~DxfTagWriter() { flush(); }

void DxfTagWriter::write(int code, std::string_view value)
{
    // The code line, and the value line when it is short (nearly all are),
    // go out in one append.
    char line[80];
    size_t n = 0;
    char digits[8];
    int d = 0;
    int c = code < 0 ? -code : code;
    do {
        digits[d++] = static_cast<char>('0' + c % 10);
        c /= 10;
    } while (c > 0);
    if (code < 0)
        digits[d++] = '-';
    for (int pad = 3 - d; pad > 0; --pad)
        line[n++] = ' ';
    while (d > 0)
        line[n++] = digits[--d];
    if (crlf_)
        line[n++] = '\r';
    line[n++] = '\n';
    std::string& out = target_ ? *target_ : buffer_;
    if (value.size() + n + 2 <= sizeof line) {
        if (!value.empty())
            std::memcpy(line + n, value.data(), value.size());
        n += value.size();
        if (crlf_)
            line[n++] = '\r';
        line[n++] = '\n';
        out.append(line, n);
    } else {
        out.append(line, n);
        out.append(value);
        out.append(crlf_ ? "\r\n" : "\n");
    }
    if (!target_ && buffer_.size() >= kBufferSize)
        flush();
}

void DxfTagWriter::writeRaw(std::string_view bytes)
{
    if (target_) {
        target_->append(bytes);
        return;
    }
    buffer_.append(bytes);
    if (buffer_.size() >= kBufferSize)
        flush();
}

bool DxfTagWriter::flush()
{
    if (fd_ < 0 || buffer_.empty())
        return good_;
    const char* p = buffer_.data();
    size_t left = buffer_.size();
    while (left > 0 && good_) {
        ssize_t w = ::write(fd_, p, left);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            good_ = false;
            break;
        }
        p += w;
        left -= static_cast<size_t>(w);
    }
    buffer_.clear();
    return good_;
}
