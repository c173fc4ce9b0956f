#include "infra/Utilities.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <locale.h>

#include "host/db/AcCmColor.h"
#include "infra/AsciiText.h"
#include "infra/ZelkaExceptions.h"

namespace {

// The "C" locale, so that reading numbers never depends on the process
// locale's decimal point.
locale_t classicLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

// The powers of ten a double holds exactly.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// A plain decimal at the start of the text, as records write their numbers
// ("250.00", "-12.5" before its unit): an optional minus, digits, and a point
// with digits after it, followed by the end or by a byte that cannot go on
// a number. At most 19 digits make a whole number up to 2^53, and there are
// at most 22 decimals: that whole number and the power of ten are exact
// doubles, so one division rounds the decimal value correctly, which is what
// strtod gives too. False, with nothing read, for anything else (blanks,
// '+', a point without digits on either side, exponents, hexadecimal, more
// digits), which strtod reads instead.
bool plainDecimalPrefix(std::string_view text, double& out)
{
    const char* p = text.data();
    const char* const end = p + text.size();
    const bool negative = p != end && *p == '-';
    if (negative)
        ++p;
    const char* const digits = p;
    uint64_t whole = 0;
    while (p != end && p - digits < 20 && static_cast<unsigned>(*p - '0') < 10)
        whole = whole * 10 + static_cast<uint64_t>(*p++ - '0');
    if (p == digits)
        return false;
    size_t decimals = 0;
    if (p != end && *p == '.') {
        const char* const fraction = ++p;
        while (p != end && p - digits < 21 && static_cast<unsigned>(*p - '0') < 10)
            whole = whole * 10 + static_cast<uint64_t>(*p++ - '0');
        decimals = static_cast<size_t>(p - fraction);
        if (decimals == 0)
            return false;
    }
    if (p != end) {
        const char next = *p;
        if (static_cast<unsigned>(next - '0') < 10 || next == '.' || next == 'e' || next == 'E' || next == 'x' ||
            next == 'X' || next == 'p' || next == 'P')
            return false;
    }
    if (static_cast<size_t>(p - digits) - (decimals > 0) > 19 || whole > (uint64_t{1} << 53) || decimals > 22)
        return false;
    const double value = static_cast<double>(whole) / kExactPowersOfTen[decimals];
    out = negative ? -value : value;
    return true;
}

// The digit string of the classic fixed-point conversion (_fcvt): the
// significant digits of the value rounded to `decimals` places after the
// point, the position of the point relative to the first digit, and the
// sign.
constexpr long kMaxDigits = 347;

struct FixedDigits {
    std::string digits;
    int decimalPoint = 0;
    bool negative = false;
};

// The exact decimal expansion of a finite, non-negative double: a binary
// fraction M * 2^E (M odd) has exactly -E digits after the point, so asking
// for that many prints the value without any rounding.
std::string exactDecimalText(double magnitude)
{
    int fractionDigits = 0;
    if (magnitude != 0.0) {
        int exponent = 0;
        double mantissa = std::frexp(magnitude, &exponent);
        auto bits = static_cast<uint64_t>(std::ldexp(mantissa, 53));
        int scale = exponent - 53;
        while ((bits & 1U) == 0) {
            bits >>= 1;
            ++scale;
        }
        fractionDigits = scale < 0 ? -scale : 0;
    }
    char buffer[1500];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::fixed, fractionDigits);
    return std::string(buffer, result.ptr);
}

// Follows the fixed-point digit conversion of the Windows runtime this
// module was designed against (its _fcvt):
//  - the digits are those of the exact binary value, not of the shortest
//    text that reads back the same double (2.675 is 2.67499999999999982..., so
//    2 decimals give 267);
//  - rounding looks only at the first dropped digit and rounds up at 5 or
//    more, so an exact half rounds away from zero (0.125 -> 13, 2.5 -> 3);
//  - every digit of a large value is exact (1e23 gives 99999999999999991611392),
//    as the runtime has done since its 2015 rewrite;
//  - a value that rounds away entirely leaves no digits, and the point
//    position stays that of the value's first significant digit (0.0001 with
//    1 decimal: no digits, point -3);
//  - the sign is the sign bit, so -0.0 and -0.001 with 2 decimals are
//    negative with all-zero digits;
//  - at most kMaxDigits digits are produced, as the runtime's conversion
//    buffer allows, so a wild count of decimals (from a damaged settings
//    file) cannot ask for gigabytes.
FixedDigits fixedPointDigits(double value, int decimals)
{
    FixedDigits result;
    result.negative = std::signbit(value);
    std::string text = exactDecimalText(std::fabs(value));
    size_t point = text.find('.');
    std::string integerPart = text.substr(0, point);
    std::string fractionPart = point == std::string::npos ? std::string() : text.substr(point + 1);

    std::string all = integerPart + fractionPart;
    size_t firstSignificant = all.find_first_not_of('0');
    std::string mantissa;
    int decimalPoint = 0;
    if (firstSignificant != std::string::npos) {
        mantissa = all.substr(firstSignificant);
        decimalPoint = static_cast<int>(integerPart.size()) - static_cast<int>(firstSignificant);
    }

    long count = std::min(static_cast<long>(decimalPoint) + decimals, kMaxDigits);
    if (count < 0) {
        result.decimalPoint = decimalPoint;
        return result;
    }
    std::string buffer = "0";
    for (long i = 0; i < count; ++i)
        buffer += static_cast<size_t>(i) < mantissa.size() ? mantissa[static_cast<size_t>(i)] : '0';
    if (static_cast<size_t>(count) < mantissa.size() && mantissa[static_cast<size_t>(count)] >= '5') {
        size_t i = buffer.size() - 1;
        while (buffer[i] == '9') buffer[i--] = '0';
        ++buffer[i];
    }
    if (buffer[0] == '1') {
        ++decimalPoint;
        result.digits = buffer;
    } else {
        result.digits = buffer.substr(1);
    }
    result.decimalPoint = decimalPoint;
    return result;
}

// The largest count of decimals the direct conversion below takes: with the
// 309 integer digits of the largest double it stays within kMaxDigits, so the
// digit buffer's cut never applies to it.
constexpr int kDirectDecimals = 30;

// A finite non-negative double as mantissa * 2^exponent (the mantissa with
// its hidden bit; subnormals keep the smallest exponent).
void splitDouble(double magnitude, uint64_t& mantissa, int& exponent)
{
    auto bits = std::bit_cast<uint64_t>(magnitude);
    mantissa = bits & ((uint64_t{1} << 52) - 1);
    auto biased = static_cast<int>((bits >> 52) & 0x7FF);
    exponent = -1074;
    if (biased != 0) {
        mantissa |= uint64_t{1} << 52;
        exponent = biased - 1075;
    }
}

// Whether the value lies exactly halfway between two neighbours with
// `decimals` decimals. A finite positive double is N / 2^k with N odd (or a
// whole number); times 10^decimals its fractional part is exactly one half
// only when k is decimals + 1.
bool isExactHalf(double magnitude, int decimals)
{
    uint64_t mantissa = 0;
    int exponent = 0;
    splitDouble(magnitude, mantissa, exponent);
    if (mantissa == 0) return false;
    exponent += std::countr_zero(mantissa);
    return exponent == -(decimals + 1);
}

// Room for a sign, the 309 integer digits of the largest double, the point
// and kDirectDecimals decimals.
constexpr size_t kDirectBuffer = 16 + 309 + kDirectDecimals;

// The fixed-point text of a value of moderate size with few decimals, worked
// out exactly in integers: the double is M * 2^E, so value * 10^decimals is
// M * 10^decimals * 2^E, a 128-bit product shifted by E; the dropped bits
// round up when they are half or more, which is the digit conversion's rule
// (its first dropped digit is 5 or more exactly then). Returns the end of
// the text, or null when the value is out of this range (the caller then
// takes to_chars).
char* scaledFixed(char* start, char* end, double magnitude, int decimals)
{
    static constexpr uint64_t kPowers[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};
    if (decimals > 8) return nullptr;
    uint64_t mantissa = 0;
    int exponent = 0;
    splitDouble(magnitude, mantissa, exponent);
    // mantissa < 2^53 and 10^8 < 2^27: the product stays below 2^80.
    unsigned __int128 scaled = static_cast<unsigned __int128>(mantissa) * kPowers[decimals];
    if (mantissa == 0) {
        scaled = 0;
    } else if (exponent < 0) {
        if (exponent < -120) return nullptr;
        unsigned shift = static_cast<unsigned>(-exponent);
        unsigned __int128 dropped = scaled & ((static_cast<unsigned __int128>(1) << shift) - 1);
        scaled >>= shift;
        if (dropped >= (static_cast<unsigned __int128>(1) << (shift - 1))) ++scaled;
    } else {
        if (exponent > 40) return nullptr;
        scaled <<= static_cast<unsigned>(exponent);
    }
    if (scaled > UINT64_MAX) return nullptr;
    char digits[24];
    char* digitsEnd = std::to_chars(digits, digits + sizeof digits, static_cast<uint64_t>(scaled)).ptr;
    auto count = static_cast<int>(digitsEnd - digits);
    // At least one digit before the point.
    int leadingZeros = count <= decimals ? decimals + 1 - count : 0;
    int length = leadingZeros + count + (decimals > 0 ? 1 : 0);
    if (end - start < length) return nullptr;
    char* out = start;
    int integerDigits = leadingZeros + count - decimals;
    for (int i = 0; i < leadingZeros + count; ++i) {
        if (i == integerDigits) *out++ = '.';
        *out++ = i < leadingZeros ? '0' : digits[i - leadingZeros];
    }
    return out;
}

// Writes the fixed-point text of the usual case without the digit-by-digit
// path: in integers (scaledFixed) when the value and the count of decimals
// are small enough, else through std::to_chars, which prints the exact
// binary value correctly rounded: that is the digit conversion's rounding
// except at an exact half, where to_chars rounds to even and the conversion
// away from zero. Returns the end of the text, or null for what neither
// covers (exact halves outside scaledFixed's range, counts of decimals that
// are negative or over kDirectDecimals, infinities and NaN).
char* directFixed(char (&buffer)[kDirectBuffer], double value, int decimals)
{
    if (decimals < 0 || decimals > kDirectDecimals || !std::isfinite(value)) return nullptr;
    char* start = buffer;
    if (std::signbit(value)) *start++ = '-';
    const double magnitude = std::fabs(value);
    // scaledFixed writes nothing when it declines.
    if (char* end = scaledFixed(start, buffer + kDirectBuffer, magnitude, decimals)) return end;
    if (isExactHalf(magnitude, decimals)) return nullptr;
    return std::to_chars(start, buffer + kDirectBuffer, magnitude, std::chars_format::fixed, decimals).ptr;
}

std::string generalForm(double value)
{
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    return std::string(buffer, result.ptr);
}

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

int hexDigitValue(char c)
{
    return c <= '9' ? c - '0' : c - 'A' + 10;
}

std::string twoHexDigits(unsigned value)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    text += digits[(value >> 4) & 0xF];
    text += digits[value & 0xF];
    return text;
}

}  // namespace

std::string CUtilities::BoolToCString(bool value) const
{
    return zelkaOperation(__FILE__, "CUtilities::BoolToCString", [&] { return std::string(value ? "1" : "0"); });
}

bool CUtilities::CStringToBOOL(const std::string& text) const
{
    return zelkaOperation(__FILE__, "CUtilities::CStringToBOOL", [&] {
        static const char* const yes[] = {"1", "t", "tr", "tru", "true", "y", "ye", "yes"};
        return std::any_of(std::begin(yes), std::end(yes), [&](const char* word) { return text == word; });
    });
}

bool CUtilities::isNumeric(const std::string& text) const
{
    return zelkaOperation(__FILE__, "CUtilities::isNumeric", [&] {
        if (text.empty() || text == "-" || text == "." || text == "-.") return false;
        int points = 0;
        for (size_t i = 0; i < text.size(); ++i) {
            char c = text[i];
            if (c >= '0' && c <= '9') continue;
            if (c == ',') continue;
            if (c == '-' && i == 0) continue;
            if (c == '.' && ++points == 1) continue;
            return false;
        }
        return true;
    });
}

void CUtilities::makeNumeric(std::string& text) const
{
    zelkaOperation(__FILE__, "CUtilities::makeNumeric", [&] {
        if (text.empty()) {
            text = "0";
            return;
        }
        std::string kept;
        bool pointSeen = false;
        for (size_t i = 0; i < text.size(); ++i) {
            char c = text[i];
            if ((c >= '0' && c <= '9') || c == ',' || (c == '-' && i == 0)) {
                kept += c;
            } else if (c == '.' && !pointSeen) {
                kept += c;
                pointSeen = true;
            }
        }
        text = kept;
    });
}

// The integer conversions read as the C runtime's strtol family does: the
// leading digits after an optional sign, stopping at the first character that
// does not fit ("1,000" reads 1), clamped to the type's range on overflow.
int32_t CUtilities::CStringToInt(const std::string& text) const
{
    return zelkaOperation(__FILE__, "CUtilities::CStringToInt", [&] {
        if (!isNumeric(text)) return int32_t{0};
        long long value = std::strtoll(text.c_str(), nullptr, 10);
        return static_cast<int32_t>(std::clamp<long long>(value, INT32_MIN, INT32_MAX));
    });
}

int32_t CUtilities::CStringToLong(const std::string& text) const
{
    return zelkaOperation(__FILE__, "CUtilities::CStringToLong", [&] {
        if (!isNumeric(text)) return int32_t{0};
        long long value = std::strtoll(text.c_str(), nullptr, 10);
        return static_cast<int32_t>(std::clamp<long long>(value, INT32_MIN, INT32_MAX));
    });
}

int64_t CUtilities::CStringToInt64(const std::string& text) const
{
    return zelkaOperation(__FILE__, "CUtilities::CStringToInt64", [&] {
        if (!isNumeric(text)) return int64_t{0};
        return static_cast<int64_t>(std::strtoll(text.c_str(), nullptr, 10));
    });
}

// strtod in the "C" locale: leading blanks skipped, the longest prefix that
// forms a number (decimal, exponent, hexadecimal, "inf", "nan") read, 0.0 when
// none.
double CUtilities::CStringToDouble(std::string_view text) const
{
    return zelkaOperation(__FILE__, "CUtilities::CStringToDouble", [&] {
        text = text.substr(0, text.find('\0'));
        // The usual record value, read by the small exact reader above
        // rather than the general conversion (five numbers a space block).
        if (double value = 0.0; plainDecimalPrefix(text, value)) return value;
        // Other decimal numbers read through from_chars: both it and strtod
        // round the decimal value correctly, so they agree. Blanks, '+',
        // hexadecimal, infinities, NaN and values out of range are left to
        // strtod.
        const char* first = text.data();
        const char* last = first + text.size();
        const char* digits = first + (first != last && *first == '-' ? 1 : 0);
        bool hexadecimal = last - digits > 1 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X');
        if (digits != last && ((*digits >= '0' && *digits <= '9') || *digits == '.') && !hexadecimal) {
            double value = 0.0;
            auto result = std::from_chars(first, last, value);
            if (result.ec == std::errc()) return value;
        }
        // strtod needs the text NUL-terminated; a short one is copied to the stack.
        char local[64];
        if (text.size() < sizeof local) {
            std::memcpy(local, text.data(), text.size());
            local[text.size()] = '\0';
            return strtod_l(local, nullptr, classicLocale());
        }
        return strtod_l(std::string(text).c_str(), nullptr, classicLocale());
    });
}

std::string CUtilities::IntToCString(int32_t value) const
{
    return zelkaOperation(__FILE__, "CUtilities::IntToCString", [&] { return std::to_string(value); });
}

std::string CUtilities::LongToCString(int32_t value) const
{
    return zelkaOperation(__FILE__, "CUtilities::LongToCString", [&] { return std::to_string(value); });
}

// The usual case goes straight through std::to_chars (directFixed); exact
// halves and wild counts of decimals take the digit-by-digit path.
//
// A value that rounds away entirely (1e-10 with 2 decimals) is written with
// exactly the requested number of decimals, "0.00": the raw digit conversion
// reports the point at the value's first significant digit there, which
// would otherwise spell out nine zeros. Infinities and NaN, which have no
// fixed-point digits, take the general form.
std::string CUtilities::DoubleToCString(double value, int decimals) const
{
    return zelkaOperation(__FILE__, "CUtilities::DoubleToCString", [&] {
        char buffer[kDirectBuffer];
        if (const char* end = directFixed(buffer, value, decimals)) return std::string(buffer, static_cast<size_t>(end - buffer));
        if (decimals < 0 || !std::isfinite(value)) return generalForm(value);
        FixedDigits fixed = fixedPointDigits(value, decimals);
        std::string text = fixed.negative ? "-" : "";
        if (fixed.decimalPoint <= 0) {
            int zeros = -fixed.decimalPoint;
            if (fixed.digits.empty()) zeros = std::min(zeros, decimals);
            text += "0.";
            text.append(static_cast<size_t>(zeros), '0');
            text += fixed.digits;
        } else {
            auto point = static_cast<size_t>(fixed.decimalPoint);
            text += fixed.digits.substr(0, point) + "." + fixed.digits.substr(point);
        }
        if (!text.empty() && text.back() == '.') text.pop_back();
        if (!text.empty() && text.front() == '.') text.insert(0, "0");
        return text;
    });
}

void CUtilities::appendDoubleText(std::string& text, double value, int decimals) const
{
    zelkaOperation(__FILE__, "CUtilities::appendDoubleText", [&] {
        char buffer[kDirectBuffer];
        if (const char* end = directFixed(buffer, value, decimals))
            text.append(buffer, static_cast<size_t>(end - buffer));
        else
            text += DoubleToCString(value, decimals);
    });
}

int32_t CUtilities::DoubleToInt(double value) const
{
    return zelkaOperation(__FILE__, "CUtilities::DoubleToInt", [&] { return CStringToInt(DoubleToCString(value, 0)); });
}

double CUtilities::roundDouble(double value, int decimals) const
{
    return zelkaOperation(__FILE__, "CUtilities::roundDouble",
                          [&] { return CStringToDouble(DoubleToCString(value, decimals)); });
}

std::string CUtilities::padding(const std::string& text, int count, const std::string& pad) const
{
    return zelkaOperation(__FILE__, "CUtilities::padding", [&] {
        std::string result = text;
        for (int i = 0; i < count; ++i) result += pad;
        return result;
    });
}

std::string CUtilities::acadColourToHash(const AcCmColor& colour) const
{
    return zelkaOperation(__FILE__, "CUtilities::acadColourToHash", [&] {
        return "#" + twoHexDigits(colour.red()) + twoHexDigits(colour.green()) + twoHexDigits(colour.blue());
    });
}

void CUtilities::parseHashString(const std::string& text, std::string& red, std::string& green,
                                 std::string& blue) const
{
    zelkaOperation(__FILE__, "CUtilities::parseHashString", [&] {
        if (text.empty()) throw CEXInvalidHexColour("CUtilities", __FILE__, "CUtilities::parseHashString", text);
        std::string hex = asciiUpper(text);
        if (hex.front() == '#') hex.erase(0, 1);
        validteHexString(hex);
        if (hex.size() != 6) throw CEXInvalidHexColour("CUtilities", __FILE__, "CUtilities::parseHashString", text);
        red = hex.substr(0, 2);
        green = hex.substr(2, 2);
        blue = hex.substr(4, 2);
    });
}

void CUtilities::validteHexString(const std::string& text) const
{
    zelkaOperation(__FILE__, "CUtilities::validteHexString", [&] {
        if (!std::all_of(text.begin(), text.end(), isHexDigit))
            throw CEXInvalidHexColour("CUtilities", __FILE__, "CUtilities::validteHexString", text);
    });
}

void CUtilities::hashToAcadColour(const std::string& text, AcCmColor& colour) const
{
    zelkaOperation(__FILE__, "CUtilities::hashToAcadColour", [&] {
        std::string red, green, blue;
        parseHashString(text, red, green, blue);
        colour.setRGB(static_cast<uint8_t>(hexToInt(red)), static_cast<uint8_t>(hexToInt(green)),
                      static_cast<uint8_t>(hexToInt(blue)));
    });
}

// Reads the leading upper-case hexadecimal digits and stops at the first
// other character; an empty or non-hexadecimal text reads 0. Digits past 16
// wrap around, as unsigned arithmetic does.
int64_t CUtilities::hexToInt(const std::string& text) const
{
    return zelkaOperation(__FILE__, "CUtilities::hexToInt", [&] {
        uint64_t value = 0;
        for (char c : text) {
            if (!isHexDigit(c)) break;
            value = value * 16 + static_cast<uint64_t>(hexDigitValue(c));
        }
        return static_cast<int64_t>(value);
    });
}

std::string CUtilities::replaceInvalidCharacters(const std::string& text, const std::string& replacement) const
{
    return zelkaOperation(__FILE__, "CUtilities::replaceInvalidCharacters", [&] {
        static const std::string invalid = "\\/:*?\"<>|=';(),";
        std::string result;
        for (char c : text) {
            if (invalid.find(c) != std::string::npos)
                result += replacement;
            else
                result += c;
        }
        return result;
    });
}
