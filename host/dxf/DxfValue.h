#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "host/dxf/DxfTag.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Numbers and handles as DXF writes them. Reading trims blanks and accepts
// a leading '+', exponents and whole numbers in real fields; writing uses
// the shortest text that reads back to the same double, always with '.', and
// whole reals as "1.0" - never the user's locale.
namespace DxfValue {

// Reads a real; false when the text is not a number.
bool toDouble(std::string_view text, double& out);
// Reads a whole number (a real with no fraction is accepted); false otherwise.
bool toInt(std::string_view text, int64_t& out);
// Reads a hexadecimal handle; false when empty or not hexadecimal.
bool toHandle(std::string_view text, uint64_t& out);

// Real as DXF text: shortest round-trip form, "1.0" for whole numbers.
std::string fromDouble(double value);
// Whole number as text.
std::string fromInt(int64_t value);
// Handle as upper-case hexadecimal, "0" for the null handle.
std::string fromHandle(uint64_t handle);

// Values of modelled fields of an object being built from its tags: the
// number, or the fallback when the text is not one - a malformed value is
// then reported to the DxfNumberCheck alive on this thread, if any, which
// makes reading the file fail (see DxfNumberCheck).
double fieldReal(const DxfTag& tag, double fallback = 0.0);
int64_t fieldInt(const DxfTag& tag, int64_t fallback = 0);
// A handle field; 0 for a malformed one (reported as above).
uint64_t fieldHandle(const DxfTag& tag);

// The value with leading and trailing blanks removed.
std::string_view trimmed(std::string_view text);

// Past an optional minus and one to `most` digits from p; null when there
// are no digits there or more than `most`.
inline const char* pastSignedDigits(const char* p, const char* end, std::ptrdiff_t most)
{
    if (p != end && *p == '-')
        ++p;
    const char* digits = p;
    while (p != end && static_cast<unsigned>(*p - '0') < 10)
        ++p;
    return p == digits || p - digits > most ? nullptr : p;
}

// True for a real as nearly every file writes it: an optional minus, one to
// sixteen digits, and optionally a point and one to sixteen digits, nothing
// else. Every such text reads as a finite real (DxfValue::toDouble), so the
// check at load and the check for a save that keeps its text need not convert
// it; any other text is converted to decide.
inline bool isPlainReal(std::string_view t)
{
    const char* const end = t.data() + t.size();
    const char* p = pastSignedDigits(t.data(), end, 16);
    if (!p || p == end)
        return p != nullptr;
    if (*p++ != '.')
        return false;
    const char* decimals = p;
    while (p != end && static_cast<unsigned>(*p - '0') < 10)
        ++p;
    return p == end && p != decimals && p - decimals <= 16;
}

// True for a whole number as nearly every file writes it: blanks, an
// optional minus, one to eighteen digits, blanks, nothing else. Every such
// text reads as a whole number (DxfValue::toInt), so the check at load need
// not convert it; any other text is converted to decide.
inline bool isPlainWhole(std::string_view t)
{
    const char* p = t.data();
    const char* const end = p + t.size();
    while (p != end && *p == ' ')
        ++p;
    p = pastSignedDigits(p, end, 18);
    if (!p)
        return false;
    while (p != end && *p == ' ')
        ++p;
    return p == end;
}

// The same decisions for a value that stands in a longer text (a file's
// lines), where the 16 bytes from its start can be read whatever its own
// length: readable is how many can. Reading a file checks every number of
// every object, and a byte loop there mispredicts a branch at the end of
// nearly every value; these take all of a short value's bytes at once and
// decide on the masks of digits, points, minus signs and blanks. Values
// longer than 16 bytes, or without 16 readable bytes, are left to the loops.
#if defined(__SSE2__)
namespace plain16 {

struct Masks {
    uint32_t digits, points, minus, blanks, all;
};

inline Masks masksOf(const char* p, size_t size)
{
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const auto is = [&](char c) {
        return static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(c))));
    };
    // A digit is a byte whose distance above '0' is at most 9, unsigned.
    const __m128i above = _mm_sub_epi8(bytes, _mm_set1_epi8('0'));
    const __m128i digit = _mm_cmpeq_epi8(_mm_min_epu8(above, _mm_set1_epi8(9)), above);
    const uint32_t all = (uint32_t{1} << size) - 1;
    return {static_cast<uint32_t>(_mm_movemask_epi8(digit)) & all, is('.') & all, is('-') & all, is(' ') & all, all};
}

}  // namespace plain16
#endif

inline bool isPlainReal(std::string_view t, size_t readable)
{
#if defined(__SSE2__)
    if (t.size() <= 16 && readable >= 16) {
        const plain16::Masks m = plain16::masksOf(t.data(), t.size());
        // Digits and points throughout, a minus only first.
        if ((m.digits | m.points | (m.minus & 1)) != m.all)
            return false;
        if (m.points == 0)
            return m.digits != 0;
        if (m.points & (m.points - 1))
            return false;
        // A digit before the point and one after it.
        const uint32_t before = m.points - 1;
        return (m.digits & before) != 0 && (m.digits & ~(before | m.points)) != 0;
    }
#endif
    (void)readable;
    return isPlainReal(t);
}

inline bool isPlainWhole(std::string_view t, size_t readable)
{
#if defined(__SSE2__)
    if (t.size() <= 16 && readable >= 16) {
        const plain16::Masks m = plain16::masksOf(t.data(), t.size());
        if ((m.digits | m.minus | m.blanks) != m.all || m.digits == 0)
            return false;
        // One run of digits, a minus at most right before it, blanks only
        // before the number and after it.
        const int first = __builtin_ctz(m.digits);
        const int last = 31 - __builtin_clz(m.digits);
        const uint32_t upToLast = (uint32_t{2} << last) - 1;
        const uint32_t run = upToLast & ~((uint32_t{1} << first) - 1);
        if ((m.digits & run) != run)
            return false;
        const uint32_t sign = first > 0 ? uint32_t{1} << (first - 1) : 0;
        if (m.minus & ~sign)
            return false;
        const int numberStart = m.minus ? first - 1 : first;
        const uint32_t blanksAllowed = ((uint32_t{1} << numberStart) - 1) | (m.all & ~upToLast);
        return (m.blanks & ~blanksAllowed) == 0;
    }
#endif
    (void)readable;
    return isPlainWhole(t);
}

// True for one to sixteen hexadecimal digits and nothing else, a handle as
// files write it; false leaves the text to toHandle, which also takes one
// with blanks around it.
inline bool isPlainHandle(std::string_view t, size_t readable)
{
#if defined(__SSE2__)
    if (t.size() <= 16 && readable >= 16) {
        const plain16::Masks m = plain16::masksOf(t.data(), t.size());
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t.data()));
        // a-f and A-F alike: the byte with its case bit set, at most 5 above 'a'.
        const __m128i above = _mm_sub_epi8(_mm_or_si128(bytes, _mm_set1_epi8(0x20)), _mm_set1_epi8('a'));
        const __m128i letter = _mm_cmpeq_epi8(_mm_min_epu8(above, _mm_set1_epi8(5)), above);
        const uint32_t letters = static_cast<uint32_t>(_mm_movemask_epi8(letter)) & m.all;
        return m.all != 0 && (m.digits | letters) == m.all;
    }
#endif
    (void)readable;
    return false;
}

// The value of a plain whole number (see isPlainWhole), the one toInt
// reads from it; false, with value untouched, for any other text.
inline bool plainWhole(std::string_view t, int64_t& value)
{
    const char* p = t.data();
    const char* const end = p + t.size();
    while (p != end && *p == ' ')
        ++p;
    const bool negative = p != end && *p == '-';
    if (negative)
        ++p;
    const char* digits = p;
    int64_t whole = 0;
    while (p != end && static_cast<unsigned>(*p - '0') < 10)
        whole = whole * 10 + (*p++ - '0');
    if (p == digits || p - digits > 18)
        return false;
    while (p != end && *p == ' ')
        ++p;
    if (p != end)
        return false;
    value = negative ? -whole : whole;
    return true;
}

}  // namespace DxfValue
