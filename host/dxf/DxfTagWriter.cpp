#include "host/dxf/DxfTagWriter.h"

#include <unistd.h>

#include <cerrno>

namespace {
constexpr size_t kBufferSize = 1 << 20;
}

DxfTagWriter::DxfTagWriter(std::string* target, bool crlf) : target_(target), crlf_(crlf) {}

DxfTagWriter::DxfTagWriter(int fd, bool crlf) : fd_(fd), crlf_(crlf) { buffer_.reserve(kBufferSize + 4096); }

DxfTagWriter::~DxfTagWriter() { flush(); }

void DxfTagWriter::write(int code, std::string_view value)
{
    char head[16];
    int n = 0;
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
        head[n++] = ' ';
    while (d > 0)
        head[n++] = digits[--d];
    if (crlf_)
        head[n++] = '\r';
    head[n++] = '\n';
    std::string_view eol = crlf_ ? "\r\n" : "\n";
    if (target_) {
        target_->append(head, static_cast<size_t>(n));
        target_->append(value);
        target_->append(eol);
        return;
    }
    buffer_.append(head, static_cast<size_t>(n));
    buffer_.append(value);
    buffer_.append(eol);
    if (buffer_.size() >= kBufferSize)
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
