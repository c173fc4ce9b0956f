#include "host/dxf/DxfValue.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "host/dxf/DxfNumberCheck.h"

namespace DxfValue {

namespace {

// The value without leading blanks and trailing blanks or carriage return;
// here so the readers below have it inline.
inline std::string_view trim(std::string_view t)
{
    size_t b = 0, e = t.size();
    while (b < e && (t[b] == ' ' || t[b] == '\t'))
        ++b;
    while (e > b && (t[e - 1] == ' ' || t[e - 1] == '\t' || t[e - 1] == '\r'))
        --e;
    return t.substr(b, e - b);
}

}  // namespace

std::string_view trimmed(std::string_view t) { return trim(t); }

namespace {

// The powers of ten a double holds exactly.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Plain decimals as DXF files write them ("-12.5", "0.0", "3"): at most 19
// digits in all making a whole number up to 2^53. That whole number and the
// power of ten of its at most 19 decimals are then exact doubles, so one
// division rounds correctly and gives the same bits as the full parser.
// False, with nothing read, for any other text.
[[gnu::always_inline]] inline bool plainDecimal(std::string_view t, double& out)
{
    const char* p = t.data();
    const char* end = p + t.size();
    const bool negative = p != end && *p == '-';
    if (negative)
        ++p;
    // Nineteen digits cannot overflow the whole number; more are left to
    // the full parser (the number may wrap meanwhile, and is not used).
    uint64_t mantissa = 0;
    const char* digits = p;
    while (p != end && static_cast<unsigned>(*p - '0') < 10)
        mantissa = mantissa * 10 + static_cast<uint64_t>(*p++ - '0');
    if (p == digits)
        return false;
    size_t decimals = 0;
    if (p != end) {
        if (*p != '.')
            return false;
        const char* fraction = ++p;
        while (p != end && static_cast<unsigned>(*p - '0') < 10)
            mantissa = mantissa * 10 + static_cast<uint64_t>(*p++ - '0');
        decimals = static_cast<size_t>(p - fraction);
        if (p != end || decimals == 0)
            return false;
    }
    if (static_cast<size_t>(p - digits) - (decimals > 0) > 19 || mantissa > (uint64_t{1} << 53))
        return false;
    const double value = static_cast<double>(mantissa) / kExactPowersOfTen[decimals];
    out = negative ? -value : value;
    return true;
}

}  // namespace

bool toDouble(std::string_view text, double& out)
{
    // A plain decimal has no blanks, no '+' and no line end to remove.
    if (plainDecimal(text, out))
        return true;
    std::string_view t = trim(text);
    if (!t.empty() && t.front() == '+')
        t.remove_prefix(1);
    if (t.empty())
        return false;
    if (plainDecimal(t, out))
        return true;
    auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), out);
    return ec == std::errc() && p == t.data() + t.size() && std::isfinite(out);
}

bool toInt(std::string_view text, int64_t& out)
{
    std::string_view t = trim(text);
    if (!t.empty() && t.front() == '+')
        t.remove_prefix(1);
    if (t.empty())
        return false;
    auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), out);
    if (ec == std::errc() && p == t.data() + t.size())
        return true;
    double d = 0;
    if (!toDouble(t, d) || d != std::floor(d) || std::fabs(d) > 9.2e18)
        return false;
    out = static_cast<int64_t>(d);
    return true;
}

bool toHandle(std::string_view text, uint64_t& out)
{
    // Each byte's value as a hexadecimal digit; 16 for any other byte.
    static constexpr std::array<uint8_t, 256> kDigit = [] {
        std::array<uint8_t, 256> table{};
        table.fill(16);
        for (int c = 0; c < 10; ++c)
            table[static_cast<size_t>('0' + c)] = static_cast<uint8_t>(c);
        for (int c = 0; c < 6; ++c) {
            table[static_cast<size_t>('a' + c)] = static_cast<uint8_t>(10 + c);
            table[static_cast<size_t>('A' + c)] = static_cast<uint8_t>(10 + c);
        }
        return table;
    }();
    auto digit = [](char c) { return kDigit[static_cast<unsigned char>(c)]; };
    // Every handle of the object being read passes here: blanks are looked
    // for only when the text does not start and end with a digit.
    std::string_view t = text;
    if (!t.empty() && (digit(t.front()) > 15 || digit(t.back()) > 15))
        t = trim(t);
    if (t.empty() || t.size() > 16)
        return false;
    // Up to 16 hexadecimal digits cannot overflow: every digit or nothing.
    uint64_t value = 0;
    for (char c : t) {
        const unsigned d = digit(c);
        if (d > 15)
            return false;
        value = value << 4 | d;
    }
    out = value;
    return true;
}

double fieldReal(const DxfTag& tag, double fallback)
{
    double v = 0;
    if (plainDecimal(tag.value(), v) || toDouble(tag.value(), v))
        return v;
    DxfNumberCheck::report(tag, "a real number");
    return fallback;
}

int64_t fieldInt(const DxfTag& tag, int64_t fallback)
{
    int64_t v = 0;
    if (toInt(tag.value(), v))
        return v;
    DxfNumberCheck::report(tag, "a whole number");
    return fallback;
}

uint64_t fieldHandle(const DxfTag& tag)
{
    uint64_t h = 0;
    if (toHandle(tag.value(), h))
        return h;
    DxfNumberCheck::report(tag, "a hexadecimal handle");
    return 0;
}

std::string fromDouble(double value)
{
    if (!std::isfinite(value))
        value = 0.0;
    if (value == 0.0)
        return "0.0";
    char buf[64];
    auto [p, ec] = std::to_chars(buf, buf + sizeof buf, value);
    std::string s(buf, p);
    if (s.find_first_of(".en") == std::string::npos)
        s += ".0";
    return s;
}

std::string fromInt(int64_t value)
{
    char buf[32];
    auto [p, ec] = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, p);
}

std::string fromHandle(uint64_t handle)
{
    char buf[32];
    auto [p, ec] = std::to_chars(buf, buf + sizeof buf, handle, 16);
    std::string s(buf, p);
    for (char& c : s)
        if (c >= 'a' && c <= 'f')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

}  // namespace DxfValue
