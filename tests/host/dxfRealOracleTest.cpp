// Reals read from DXF text against the C library's strtod as the oracle:
// the same bits for every decimal (the plain ones DXF writes take a short
// path, the rest the full parser), and the same texts refused as before.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "host/dxf/DxfValue.h"

namespace {

// The value strtod gives for a decimal text it reads completely.
bool oracle(const std::string& text, double& out)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    out = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size();
}

uint64_t bits(double d)
{
    uint64_t b = 0;
    std::memcpy(&b, &d, sizeof b);
    return b;
}

// The rule reals were read by before the short path (blanks trimmed, one
// '+' dropped, the whole text one finite number), for the refusal cases.
bool acceptedBefore(std::string_view t)
{
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t'))
        t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t' || t.back() == '\r'))
        t.remove_suffix(1);
    if (!t.empty() && t.front() == '+')
        t.remove_prefix(1);
    double d = 0;
    auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), d);
    return !t.empty() && ec == std::errc() && p == t.data() + t.size() && std::isfinite(d);
}

void expectSameAsOracle(const std::string& text)
{
    double want = 0, got = 0;
    ASSERT_TRUE(oracle(text, want)) << text;
    ASSERT_TRUE(DxfValue::toDouble(text, got)) << text;
    EXPECT_EQ(bits(got), bits(want)) << text << ": " << got << " vs " << want;
}

}  // namespace

TEST(DxfRealOracle, BoundaryDecimalsGiveTheOraclesBits)
{
    for (const char* text : {"0.1", "0.2", "0.3", "-0.1", "1.0", "0", "-0", "-0.0", "0.000",
                             "9007199254740992", "9007199254740993", "9007199254740994", "-9007199254740993",
                             "900719925474099.3", "0.9007199254740993", "9007199254740991.0",
                             "1000000000000000000000", "10000000000000000000000", "100000000000000000000000",
                             "0.0000000000000000000001", "0.00000000000000000000001", "0.0000000000000000000000001",
                             "1.0000000000000000000000", "1234567890123456789", "12345678901234567890",
                             "1234567890.123456789", "1234567890.1234567890123", "4503599627370496.5",
                             "4503599627370497.5", "0.30000000000000004", "2.2250738585072014",
                             "179769313486231570000000000", "123.4560000000000000000", "00000000000000000000001.5",
                             "-00.00000000000000000000000"})
        expectSameAsOracle(text);
    double v = 1;
    ASSERT_TRUE(DxfValue::toDouble("-0.0", v));
    EXPECT_TRUE(std::signbit(v)) << "-0.0 keeps its sign";
    ASSERT_TRUE(DxfValue::toDouble("0.0", v));
    EXPECT_FALSE(std::signbit(v));
}

TEST(DxfRealOracle, RandomDecimalsGiveTheOraclesBits)
{
    std::mt19937_64 rng(20261205);
    auto digits = [&](int count, bool leadingNonZero) {
        std::string s;
        for (int i = 0; i < count; ++i)
            s += static_cast<char>('0' + (i == 0 && leadingNonZero ? 1 + rng() % 9 : rng() % 10));
        return s;
    };
    for (int i = 0; i < 200000; ++i) {
        // Whole and decimal parts from none to 24 digits, so the cases below
        // and above 19 significant digits, 2^53 and 22 decimals all occur.
        std::string text = rng() % 3 == 0 ? "-" : "";
        const int whole = static_cast<int>(rng() % 25);
        const int fraction = static_cast<int>(rng() % 25);
        text += whole == 0 ? "0" : digits(whole, rng() % 4 != 0);
        if (fraction > 0 || rng() % 2 == 0)
            text += "." + (fraction == 0 ? std::string("0") : digits(fraction, false));
        expectSameAsOracle(text);
        if (HasFatalFailure() || HasFailure())
            return;
    }
}

TEST(DxfRealOracle, RefusesAndAcceptsExactlyWhatItDidBefore)
{
    // Hand-picked edges, then random mixes of the characters numbers are made of.
    std::vector<std::string> texts = {"", "-", "+", "+-1", "--1", "1.", "1..2", "1.2.3", " 1.5\r", "\t-3 ", "1 2",
                                      "0x10", "inf", "-inf", "nan", "1e999", "1e", "1e+", "12a", "a12", "-.",
                                      ".", "+.5", "1,5", "٣", "99999999999999999999.5", "1e-400",
                                      // exponents, a leading point, long mantissas: the full parser's forms
                                      "1e22", "1E23", "-2.5E-300", ".5", "-.25", "5.", "1.7976931348623157e308",
                                      "4.9e-324", "0.12345678901234567890123456789", "123456789012345678901234567890"};
    std::mt19937 rng(7);
    const std::string alphabet = "0123456789.-+eE x";
    for (int i = 0; i < 100000; ++i) {
        std::string s;
        const int n = 1 + static_cast<int>(rng() % 12);
        for (int k = 0; k < n; ++k)
            s += alphabet[rng() % alphabet.size()];
        texts.push_back(s);
    }
    for (const std::string& text : texts) {
        double got = 0;
        const bool accepted = DxfValue::toDouble(text, got);
        ASSERT_EQ(accepted, acceptedBefore(text)) << "'" << text << "'";
        if (accepted) {
            std::string plain(DxfValue::trimmed(text));
            if (plain.front() == '+')
                plain.erase(0, 1);
            double want = 0;
            ASSERT_TRUE(oracle(plain, want)) << text;
            ASSERT_EQ(bits(got), bits(want)) << text;
        }
    }
}

TEST(DxfHandleOracle, HandlesReadAsStrtoullReadsThemAndNothingElse)
{
    // Random texts of hex digits, near-misses and blanks; the oracle is
    // strtoull in base 16 on texts of only hex digits (1 to 16 after trimming).
    std::mt19937 rng(16);
    const std::string alphabet = "0123456789abcdefABCDEFgG x-+\t\r";
    std::vector<std::string> texts = {"0", "1F", "ffffffffffffffff", "10000000000000000", "  2A\r", "0x1F", "-1", "+1"};
    for (const char* more : {"", "\t7\t", "7\r\r", " \r", "\r7", "00000000000000001", " 0000000000000001 "})
        texts.emplace_back(more);
    // Every byte alone, and between digits: only the hex digits are digits.
    for (int c = 0; c < 256; ++c) {
        texts.emplace_back(1, static_cast<char>(c));
        texts.push_back("1" + std::string(1, static_cast<char>(c)) + "F");
    }
    for (int i = 0; i < 50000; ++i) {
        std::string s;
        const int n = 1 + static_cast<int>(rng() % 18);
        for (int k = 0; k < n; ++k)
            s += alphabet[rng() % (k == 0 || rng() % 8 ? 22 : alphabet.size())];
        texts.push_back(s);
    }
    for (const std::string& text : texts) {
        std::string t(DxfValue::trimmed(text));
        const bool hexOnly = !t.empty() && t.size() <= 16 && t.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
        uint64_t got = 0;
        ASSERT_EQ(DxfValue::toHandle(text, got), hexOnly) << "'" << text << "'";
        if (hexOnly) {
            ASSERT_EQ(got, std::strtoull(t.c_str(), nullptr, 16)) << text;
        }
    }
}
