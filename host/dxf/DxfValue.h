#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "host/dxf/DxfTag.h"

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
