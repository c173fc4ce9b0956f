#pragma once
#include <bit>
#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The line feeds of one text, found a 64-byte block at a time: the block's
// line feeds are kept as the bits of a word, so that the next line end after
// a point in it is a shift and a count of trailing zeros. Reading a file or
// an object's lines asks for every line end in turn; lines are mostly a few
// bytes long, so one block serves about ten of them, and the branch a byte
// search takes on the length of each line is not taken at all.
class DxfLineFeeds {
public:
    explicit DxfLineFeeds(const char* end) : end_(end) {}

    // The first line feed in [p, end), or end when there is none. Any p
    // before end may be asked for, in any order; asking for points in order
    // reuses the block looked at.
    const char* next(const char* p)
    {
        const uintptr_t at = reinterpret_cast<uintptr_t>(p);
        if (at - block_ < 64) {
            if (const uint64_t later = feeds_ >> (at - block_))
                return p + std::countr_zero(later);
            p = reinterpret_cast<const char*>(block_ + 64);
        }
        while (p < end_) {
            block_ = reinterpret_cast<uintptr_t>(p);
            feeds_ = end_ - p >= 64 ? feedsIn64(p) : feedsInTail(p);
            if (feeds_)
                return p + std::countr_zero(feeds_);
            p += 64;
        }
        return end_;
    }

private:
    // The line feeds of the 64 bytes at p, as bits.
    static uint64_t feedsIn64(const char* p)
    {
#if defined(__SSE2__)
        const __m128i feed = _mm_set1_epi8('\n');
        uint64_t bits = 0;
        for (int i = 0; i < 4; ++i) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
            bits |= static_cast<uint64_t>(static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, feed))))
                    << (16 * i);
        }
        return bits;
#else
        uint64_t bits = 0;
        for (int i = 0; i < 64; ++i)
            bits |= static_cast<uint64_t>(p[i] == '\n') << i;
        return bits;
#endif
    }
    // The same for the last bytes of the text, fewer than 64: the bytes past
    // its end are never read.
    uint64_t feedsInTail(const char* p) const
    {
        char tail[64] = {};
        std::memcpy(tail, p, static_cast<size_t>(end_ - p));
        return feedsIn64(tail);
    }

    const char* end_;
    uintptr_t block_ = ~uintptr_t{0} - 64;  // the block whose line feeds feeds_ holds (none yet)
    uint64_t feeds_ = 0;
};

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

// The group code of an extended-data code line written in four columns,
// "1000" to "1099": the four bytes at p (the line end after them is the
// caller's to check). -1 when they are anything else.
inline int dxfFourColumnExtendedCode(const char* p)
{
    if (p[0] != '1' || p[1] != '0')
        return -1;
    const unsigned tens = static_cast<unsigned>(p[2] - '0'), ones = static_cast<unsigned>(p[3] - '0');
    return tens < 10 && ones < 10 ? static_cast<int>(1000 + tens * 10 + ones) : -1;
}
