#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

// Plain decimals as drawings and records write them ("-12.5", "0.0", "3"): a
// sign, at most 19 digits in all with or without a point between them, and
// nothing else. When those digits make a whole number up to 2^53, that
// number and the power of ten of its decimals are exact doubles, so one
// division rounds correctly and gives the same bits as any correctly
// rounding parser (strtod, from_chars). False, with nothing read, for any
// other text: the caller's full parser then decides.
[[gnu::always_inline]] inline bool readPlainDecimal(std::string_view t, double& out)
{
    // The powers of ten a double holds exactly.
    static constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
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
