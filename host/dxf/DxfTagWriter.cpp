#include "host/dxf/DxfTagWriter.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <type_traits>

namespace {

constexpr size_t kBufferSize = 1 << 20;

// The code lines of codes 0 to 1071 as the writer writes them with a line
// feed: right-aligned in three columns, and the four digits of extended
// data (1000 on) unpadded.
struct CodeLines {
    static constexpr int kCount = 1072;
    char line[kCount][5];
    constexpr CodeLines() : line{}
    {
        for (int code = 0; code < kCount; ++code) {
            int k = 0;
            if (code >= 1000)
                line[code][k++] = static_cast<char>('0' + code / 1000);
            line[code][k++] = code >= 100 ? static_cast<char>('0' + code / 100 % 10) : ' ';
            line[code][k++] = code >= 10 ? static_cast<char>('0' + code / 10 % 10) : ' ';
            line[code][k++] = static_cast<char>('0' + code % 10);
            line[code][k] = '\n';
        }
    }
};
constexpr CodeLines kCodeLines;

}  // namespace

DxfTagWriter::DxfTagWriter(std::string* target, bool crlf) : target_(target), crlf_(crlf) {}

DxfTagWriter::DxfTagWriter(int fd, bool crlf) : fd_(fd), crlf_(crlf) { buffer_.reserve(kBufferSize + 4096); }

DxfTagWriter::~DxfTagWriter() { flush(); }

size_t DxfTagWriter::codeLine(int code, char* line) const
{
    size_t n = 0;
    if (code >= 0 && code < CodeLines::kCount) {
        // Right-aligned in three columns (nearly every code), or the four
        // digits of extended data.
        n = code < 1000 ? 3 : 4;
        std::memcpy(line, kCodeLines.line[code], n);
    } else {
        // Any other code (not one a file holds): its digits, padded to three.
        char digits[12];
        int d = 0;
        int64_t c = code < 0 ? -static_cast<int64_t>(code) : code;
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
    }
    if (crlf_)
        line[n++] = '\r';
    line[n++] = '\n';
    return n;
}

void DxfTagWriter::write(int code, std::string_view value)
{
    // The code line, and the value line when it is short (nearly all are),
    // go out in one append.
    char line[80];
    size_t n = codeLine(code, line);
    std::string& to = out();
    if (value.size() + n + 2 <= sizeof line) {
        if (!value.empty())
            std::memcpy(line + n, value.data(), value.size());
        n += value.size();
        if (crlf_)
            line[n++] = '\r';
        line[n++] = '\n';
        to.append(line, n);
    } else {
        to.append(line, n);
        to.append(value);
        to.append(crlf_ ? "\r\n" : "\n");
    }
    if (!target_ && buffer_.size() >= kBufferSize)
        flush();
}


[[gnu::always_inline]] inline bool DxfTagWriter::standsAsWritten(const DxfTag& t, const char* from,
                                                                 const char*& start) const
{
    const size_t endLength = crlf_ ? 2 : 1;
    const size_t after = static_cast<size_t>(t.text - from);
    const char* end = t.text + t.size;
    // The code line from the table and the line ends, compared a fixed
    // number of bytes at a time.
    auto tabled = [&](auto digits) {
        constexpr size_t kDigits = decltype(digits)::value;
        const size_t codeLength = kDigits + endLength;
        if (after < codeLength)
            return false;
        start = t.text - codeLength;
        const char* line = kCodeLines.line[t.code];
        // Three bytes and the line feed, or four and the line feed: four
        // compared as one word, the fifth alone.
        const bool digitsSame = kDigits == 3 ? std::memcmp(start, line, 3) == 0
                                             : std::memcmp(start, line, 4) == 0;
        if (crlf_)
            return digitsSame && start[kDigits] == '\r' && start[kDigits + 1] == '\n' && end[0] == '\r' &&
                   end[1] == '\n';
        return (kDigits == 3 ? std::memcmp(start, line, 4) == 0 : digitsSame && start[4] == '\n') && end[0] == '\n';
    };
    if (t.code >= 0 && t.code < 1000)
        return tabled(std::integral_constant<size_t, 3>{});
    if (t.code >= 1000 && t.code < CodeLines::kCount)
        return tabled(std::integral_constant<size_t, 4>{});
    char line[16];
    const size_t codeLength = codeLine(t.code, line);
    if (after < codeLength)
        return false;
    start = t.text - codeLength;
    return std::memcmp(start, line, codeLength) == 0 && std::memcmp(end, crlf_ ? "\r\n" : "\n", endLength) == 0;
}

void DxfTagWriter::write(const DxfTag* tags, size_t n, std::string_view source)
{
    const char* const from = source.data();
    const char* const to = from + source.size();
    const size_t endLength = crlf_ ? 2 : 1;
    // The bytes of source that go out next, as one copy.
    const char* runStart = nullptr;
    const char* runEnd = nullptr;
    for (size_t i = 0; i < n; ++i) {
        const DxfTag& t = tags[i];
        // Only a value lying in source, its line end included, is looked
        // at, so that every byte compared before and after it is source's.
        const char* start = nullptr;
        const auto at = reinterpret_cast<uintptr_t>(t.text);
        if (at >= reinterpret_cast<uintptr_t>(from) && at < reinterpret_cast<uintptr_t>(to) &&
            static_cast<size_t>(to - t.text) >= t.size + endLength && standsAsWritten(t, from, start)) {
            if (start != runEnd) {
                if (runStart != runEnd)
                    writeRaw(std::string_view(runStart, static_cast<size_t>(runEnd - runStart)));
                runStart = start;
            }
            runEnd = t.text + t.size + endLength;
            continue;
        }
        if (runStart != runEnd)
            writeRaw(std::string_view(runStart, static_cast<size_t>(runEnd - runStart)));
        runStart = runEnd = nullptr;
        write(t);
    }
    if (runStart != runEnd)
        writeRaw(std::string_view(runStart, static_cast<size_t>(runEnd - runStart)));
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
