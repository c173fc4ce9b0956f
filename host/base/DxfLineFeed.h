#pragma once
#include <bit>
#include <cstdint>
#include <cstring>

// The first line feed in [p, e), or e when there is none.
//
// Most lines of a DXF file are a few bytes long (group codes, handles,
// coordinates), too short for the library search to pay for its set-up, so
// the first 32 bytes are looked at eight at a time: a byte equal to '\n'
// becomes zero after the exclusive or, and the classic zero-byte test marks
// it. The test can also mark bytes after a true zero (a borrow runs up),
// never before one, so the lowest mark is the first line feed. Longer lines
// go to memchr.
inline const char* dxfLineFeed(const char* p, const char* e)
{
    static_assert(std::endian::native == std::endian::little, "the byte order of the word test");
    constexpr uint64_t kOnes = 0x0101010101010101ULL;
    constexpr uint64_t kHighs = 0x8080808080808080ULL;
    constexpr uint64_t kFeeds = kOnes * '\n';
    for (int word = 0; word < 4 && e - p >= 8; ++word, p += 8) {
        uint64_t w;
        std::memcpy(&w, p, 8);
        const uint64_t x = w ^ kFeeds;
        const uint64_t marks = (x - kOnes) & ~x & kHighs;
        if (marks)
            return p + (std::countr_zero(marks) >> 3);
    }
    if (e - p >= 8) {
        const void* found = std::memchr(p, '\n', static_cast<size_t>(e - p));
        return found ? static_cast<const char*>(found) : e;
    }
    while (p < e && *p != '\n')
        ++p;
    return p;
}

// The group code of a code line written in three columns, right-aligned, as
// DxfTagWriter and most programs write it ("  0", " 10", "330"): the three
// bytes at p (the line end after them is the caller's to check). -1 when
// they are anything else. asWritten is false for a code with a leading zero
// (" 07", "010"), which the writer would not write.
inline int dxfThreeColumnCode(const char* p, bool& asWritten)
{
    const unsigned last = static_cast<unsigned>(p[2] - '0');
    if (last >= 10)
        return -1;
    if (p[0] == ' ') {
        if (p[1] == ' ') {
            asWritten = true;
            return static_cast<int>(last);
        }
        const unsigned tens = static_cast<unsigned>(p[1] - '0');
        asWritten = tens != 0;
        return tens < 10 ? static_cast<int>(tens * 10 + last) : -1;
    }
    const unsigned hundreds = static_cast<unsigned>(p[0] - '0');
    const unsigned tens = static_cast<unsigned>(p[1] - '0');
    asWritten = hundreds != 0;
    return hundreds < 10 && tens < 10 ? static_cast<int>(hundreds * 100 + tens * 10 + last) : -1;
}
