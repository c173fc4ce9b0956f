// Number and text conversions of CUtilities. Expected texts come from the
// exact binary values of the doubles involved (worked out by hand from
// Python's decimal.Decimal(x), which prints a double's exact value), and a
// randomized cross-check against an independent Python formatter.

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <filesystem>
#include <limits>
#include <random>
#include <sstream>
#include <string_view>
#include <vector>
#include <unistd.h>

#include "host/db/AcCmColor.h"
#include "infra/Utilities.h"
#include "infra/ZelkaExceptions.h"
#include "tests/common/TestRequirements.h"

namespace {

const CUtilities util;

}  // namespace

// Each text worked out by hand from the value's exact binary expansion:
// 2.675 is 2.67499999999999982236..., so it rounds down; 0.125 is an exact
// half and rounds away from zero; 99.99 is 99.98999999999999488... and
// carries into a new leading digit; the sign comes from the value, the digits
// from its rounded magnitude ("-0.00").
TEST(DoubleToCString, FixedDecimalsCases)
{
    struct Case {
        double value;
        int decimals;
        const char* text;
        const char* rule;
    };
    const Case cases[] = {
        {-0.5, 2, "-0.50", "examples"},
        {12, 0, "12", "examples"},
        {2.675, 2, "2.67", "binary value"},
        {1.005, 2, "1.00", "binary value"},
        {0.1, 20, "0.10000000000000000555", "binary value"},
        {0.125, 2, "0.13", "exact half"},
        {-2.5, 0, "-3", "exact half"},
        {1e15 + 0.25, 1, "1000000000000000.3", "exact half"},
        {99.99, 1, "100.0", "carry"},
        {0.96, 1, "1.0", "carry"},
        {0.00636, 2, "0.01", "below one"},
        {0.0, 5, "0.00000", "below one"},
        {-0.001, 2, "-0.00", "sign"},
        {-0.0, 2, "-0.00", "sign"},
        {-0.4, 0, "-0", "sign"},
        {std::numeric_limits<double>::denorm_min(), 3, "0.000", "tiny"},
        {0.0001, 6, "0.000100", "tiny"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.rule) + ": " + std::to_string(c.value) + " with " + std::to_string(c.decimals));
        EXPECT_EQ(util.DoubleToCString(c.value, c.decimals), c.text);
    }
}

TEST(DoubleToCString, LargeValuesPrintEveryExactDigit)
{
    EXPECT_EQ(util.DoubleToCString(1e20, 2), "100000000000000000000.00");
    EXPECT_EQ(util.DoubleToCString(-1e20, 1), "-100000000000000000000.0");
    EXPECT_EQ(util.DoubleToCString(1e23, 0), "99999999999999991611392");
    EXPECT_EQ(util.DoubleToCString(std::ldexp(1.0, 80), 0), "1208925819614629174706176");
    std::string max = util.DoubleToCString(std::numeric_limits<double>::max(), 2);
    EXPECT_EQ(max.size(), 309u + 3u);
    EXPECT_EQ(max.substr(0, 17), "17976931348623157");
    EXPECT_EQ(max.substr(max.size() - 3), ".00");
    // The digit buffer holds 347 digits: a wild count of decimals is cut there.
    std::string wild = util.DoubleToCString(1.5, 1000000000);
    EXPECT_EQ(wild.size(), 348u);
    EXPECT_EQ(wild.substr(0, 6), "1.5000");
}

TEST(DoubleToCString, NegativeDecimalsUseTheGeneralForm)
{
    EXPECT_EQ(util.DoubleToCString(1.5, -1), "1.5");
    EXPECT_EQ(util.DoubleToCString(-2.5, -3), "-2.5");
    EXPECT_EQ(util.DoubleToCString(0, -1), "0");
    EXPECT_EQ(util.DoubleToCString(123456789.0, -1), "1.23457e+08");
    EXPECT_EQ(util.DoubleToCString(100000.0, -1), "100000");
    EXPECT_EQ(util.DoubleToCString(1000000.0, -1), "1e+06");
    EXPECT_EQ(util.DoubleToCString(0.0001, -1), "0.0001");
    EXPECT_EQ(util.DoubleToCString(0.00001, -1), "1e-05");
    EXPECT_EQ(util.DoubleToCString(1234.5678, -1), "1234.57");
    EXPECT_EQ(util.DoubleToCString(std::numeric_limits<double>::infinity(), 2), "inf");
}

namespace {

// Python's decimal module rounds the exact value of each double half-up; its
// texts must agree with ours digit for digit. Returns the mismatch count
// (each of the first ten reported).
int mismatchesWithExactFormatter(const std::vector<std::pair<double, int>>& cases)
{
    auto dir = std::filesystem::temp_directory_path() / ("zelka-fcvt-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    {
        FILE* in = std::fopen((dir / "in.txt").c_str(), "w");
        EXPECT_NE(in, nullptr);
        if (!in) return -1;
        for (auto& [value, decimals] : cases) std::fprintf(in, "%a %d\n", value, decimals);
        std::fclose(in);
    }
    const char* script =
        "import math,sys\n"
        "from decimal import Decimal, ROUND_HALF_UP, getcontext\n"
        "getcontext().prec = 2000\n"
        "for line in open(sys.argv[1]):\n"
        "    h, d = line.split(); x = float.fromhex(h); d = int(d)\n"
        "    q = abs(Decimal(x)).quantize(Decimal(1).scaleb(-d), rounding=ROUND_HALF_UP)\n"
        "    print(('-' if math.copysign(1.0, x) < 0 else '') + format(q, 'f'))\n";
    {
        FILE* py = std::fopen((dir / "fmt.py").c_str(), "w");
        EXPECT_NE(py, nullptr);
        if (!py) return -1;
        std::fputs(script, py);
        std::fclose(py);
    }
    std::string command = std::string(ZELKA_PYTHON) + " " + (dir / "fmt.py").string() + " " +
                          (dir / "in.txt").string() + " > " + (dir / "out.txt").string();
    EXPECT_EQ(std::system(command.c_str()), 0);
    FILE* out = std::fopen((dir / "out.txt").c_str(), "r");
    EXPECT_NE(out, nullptr);
    if (!out) return -1;
    std::vector<char> line(4096);
    size_t i = 0;
    int mismatches = 0;
    while (std::fgets(line.data(), static_cast<int>(line.size()), out) && i < cases.size()) {
        std::string expected(line.data());
        expected.erase(expected.find_last_not_of("\r\n") + 1);
        std::string actual = util.DoubleToCString(cases[i].first, cases[i].second);
        if (actual != expected && ++mismatches <= 10)
            ADD_FAILURE() << std::hexfloat << cases[i].first << " with " << cases[i].second << ": " << actual
                          << " vs " << expected;
        ++i;
    }
    std::fclose(out);
    std::filesystem::remove_all(dir);
    EXPECT_EQ(i, cases.size());
    return mismatches;
}

}  // namespace

// Random values and decimal counts; exact halves, whose neighbours one step
// either side round to the nearer text; halves of large and tiny magnitude,
// the longest decimal counts and values whose digits all carry; and the
// limits of the integer conversion (binary exponents -120 and 40, results
// near 2^64, 8 and 9 decimals), on both sides, with halves.
TEST(DoubleToCString, AgreesWithAnIndependentExactFormatter)
{
    std::mt19937_64 random(20261205);
    std::uniform_int_distribution<int> exponent(-12, 22);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> places(0, 7);
    std::uniform_int_distribution<int> halves(-4000, 4000);
    std::vector<std::pair<double, int>> cases;
    for (int i = 0; i < 1500; ++i) cases.emplace_back(mantissa(random) * std::pow(10.0, exponent(random)), places(random));
    for (int i = 0; i < 500; ++i) cases.emplace_back(halves(random) / 8.0, places(random) % 3);

    std::uniform_int_distribution<int> longPlaces(0, 34);
    std::uniform_int_distribution<int64_t> numerators(-(int64_t{1} << 40), int64_t{1} << 40);
    for (int i = 0; i < 1500; ++i) {
        int d = longPlaces(random);
        // An odd numerator over 2^(d + 1): exactly half way at d decimals.
        double half = std::ldexp(static_cast<double>(numerators(random) | 1), -(d + 1));
        cases.emplace_back(half, d);
        cases.emplace_back(std::nextafter(half, 0.0), d);
        cases.emplace_back(std::nextafter(half, half * 4), d);
        cases.emplace_back(half, d + 1);
        cases.emplace_back(half, d > 0 ? d - 1 : 0);
    }
    for (int d = 0; d <= 34; ++d) {
        cases.emplace_back(std::pow(10.0, -d) * 0.5, d);
        cases.emplace_back(1.0 - std::pow(10.0, -d) * 0.5, d);
        cases.emplace_back(-std::numeric_limits<double>::denorm_min(), d);
        cases.emplace_back(std::numeric_limits<double>::max(), d);
        cases.emplace_back(std::ldexp(1.0, -1074 + d), d);
        cases.emplace_back(9.5, d);
        cases.emplace_back(-999999.9999999, d);
    }

    std::uniform_int_distribution<uint64_t> mantissas(uint64_t{1} << 52, (uint64_t{1} << 53) - 1);
    for (int d = 0; d <= 10; ++d) {
        for (int e = -125; e <= -115; ++e) {
            cases.emplace_back(std::ldexp(static_cast<double>(mantissas(random)), e), d);
            cases.emplace_back(-std::ldexp(static_cast<double>(mantissas(random) | 1), e), d);
        }
        for (int e = 35; e <= 45; ++e) cases.emplace_back(std::ldexp(static_cast<double>(mantissas(random)), e), d);
        double limit = 18446744073709551615.0 / std::pow(10.0, d);
        for (double f : {0.9999, 0.99999999, 1.0, 1.0000001, 1.01})
            cases.emplace_back(limit * f, d);
        cases.emplace_back(std::ldexp(1.0, -d - 1) * 3, d);
        cases.emplace_back(std::ldexp(1.0, -9) * 5, d);
        cases.emplace_back(99999999.99999999, d);
        cases.emplace_back(0.0049999999999999, d);
    }
    EXPECT_EQ(mismatchesWithExactFormatter(cases), 0);
}

// Appending gives the text DoubleToCString gives, after what is there, on
// every path: direct, exact halves, long decimal counts, general form.
TEST(DoubleToCString, AppendingGivesTheSameTextAfterWhatIsThere)
{
    struct Case {
        double value;
        int decimals;
        const char* text;
    } cases[] = {
        {12.5, 2, "12.50"},     {0.125, 2, "0.13"},     {-2.5, 0, "-3"},         {2.675, 2, "2.67"},
        {-0.001, 2, "-0.00"},   {1.5, 31, "1.5000000000000000000000000000000"}, {1234.5678, -1, "1234.57"},
        {std::numeric_limits<double>::infinity(), 2, "inf"}, {-0.0, 0, "-0"},    {1e20, 1, "100000000000000000000.0"},
    };
    for (const Case& c : cases) {
        std::string text = "AREA=";
        util.appendDoubleText(text, c.value, c.decimals);
        EXPECT_EQ(text, std::string("AREA=") + c.text) << c.value << " with " << c.decimals;
        EXPECT_EQ(util.DoubleToCString(c.value, c.decimals), c.text);
    }
    std::string empty;
    util.appendDoubleText(empty, 0.0, 3);
    EXPECT_EQ(empty, "0.000");
}

TEST(NumberConversions, DoubleToIntRoundsHalvesAwayFromZero)
{
    EXPECT_EQ(util.DoubleToInt(2.5), 3);
    EXPECT_EQ(util.DoubleToInt(-2.5), -3);
    EXPECT_EQ(util.DoubleToInt(2.4999), 2);
    EXPECT_EQ(util.DoubleToInt(-0.4), 0);
    EXPECT_EQ(util.DoubleToInt(1e20), 2147483647);
    EXPECT_EQ(util.DoubleToInt(-1e20), -2147483647 - 1);
}

TEST(NumberConversions, RoundDoubleGoesThroughTheText)
{
    EXPECT_DOUBLE_EQ(util.roundDouble(2.675, 2), 2.67);
    EXPECT_DOUBLE_EQ(util.roundDouble(0.125, 2), 0.13);
    EXPECT_DOUBLE_EQ(util.roundDouble(-1.25, 1), -1.3);
    EXPECT_DOUBLE_EQ(util.roundDouble(1234.5678, -1), 1234.57);
    EXPECT_DOUBLE_EQ(util.roundDouble(1234.5678, 0), 1235.0);
}

TEST(NumberConversions, IsNumeric)
{
    for (const char* yes : {"12", "-1.5", "0.5", "1,000", ",", "-,5", "0", "-0", "5.", ".5", "1,2,3.4"})
        EXPECT_TRUE(util.isNumeric(yes)) << yes;
    for (const char* no : {"", "-", ".", "-.", "1-2", "1.2.3", "12a", " 12", "12 ", "+1", "--1", "1e5", "0x1F"})
        EXPECT_FALSE(util.isNumeric(no)) << no;
}

TEST(NumberConversions, MakeNumeric)
{
    auto made = [](std::string text) {
        util.makeNumeric(text);
        return text;
    };
    EXPECT_EQ(made("ab-1.2.3"), "1.23");
    EXPECT_EQ(made("-1.2.3"), "-1.23");
    EXPECT_EQ(made(""), "0");
    EXPECT_EQ(made("1,000.50 sq.m."), "1,000.50");
    EXPECT_EQ(made("12-3"), "123");
    EXPECT_EQ(made("abc"), "");
    EXPECT_EQ(made("-.-."), "-.");
    EXPECT_TRUE(util.isNumeric(made("x1y2.z3")));
}

TEST(NumberConversions, TextToIntegerNeedsANumericText)
{
    EXPECT_EQ(util.CStringToInt("12"), 12);
    EXPECT_EQ(util.CStringToInt("-7"), -7);
    EXPECT_EQ(util.CStringToInt("1,000"), 1);
    EXPECT_EQ(util.CStringToInt("3.9"), 3);
    EXPECT_EQ(util.CStringToInt("-.5"), 0);
    EXPECT_EQ(util.CStringToInt("12a"), 0);
    EXPECT_EQ(util.CStringToInt(""), 0);
    EXPECT_EQ(util.CStringToInt(" 12"), 0);
    EXPECT_EQ(util.CStringToInt("99999999999"), 2147483647);
    EXPECT_EQ(util.CStringToInt("-99999999999"), -2147483647 - 1);
    EXPECT_EQ(util.CStringToLong("2147483647"), 2147483647);
    EXPECT_EQ(util.CStringToLong("2147483648"), 2147483647);
    EXPECT_EQ(util.CStringToInt64("9007199254740993"), 9007199254740993LL);
    EXPECT_EQ(util.CStringToInt64("-9223372036854775808"), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(util.CStringToInt64("99999999999999999999"), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(util.CStringToInt64("12a"), 0);
}

// The text read is the one given, not what follows it in memory: a part of a
// longer text stops at its own end, and a NUL inside ends it as before.
TEST(NumberConversions, TextToDoubleReadsOnlyTheGivenText)
{
    std::string record = "12.5e3sq.m.";
    EXPECT_DOUBLE_EQ(util.CStringToDouble(std::string_view(record).substr(0, 4)), 12.5);
    EXPECT_DOUBLE_EQ(util.CStringToDouble(std::string_view(record).substr(0, 6)), 12500.0);
    EXPECT_DOUBLE_EQ(util.CStringToDouble(std::string_view(record).substr(0, 0)), 0.0);
    EXPECT_DOUBLE_EQ(util.CStringToDouble(std::string("1.5\0" "7", 5)), 1.5);
    // Longer than the conversion's stack copy: 70 characters.
    std::string longText = std::string(60, ' ') + "-2.0625e1x";
    EXPECT_DOUBLE_EQ(util.CStringToDouble(longText), -20.625);
    EXPECT_DOUBLE_EQ(util.CStringToDouble(std::string_view(longText).substr(0, 67)), -2.0625);
    std::string digits = "0." + std::string(80, '0') + "15";
    EXPECT_DOUBLE_EQ(util.CStringToDouble(digits), 1.5e-81);
    EXPECT_DOUBLE_EQ(util.CStringToDouble(std::string_view(digits).substr(0, 63)), 0.0);
}

// Whatever the text, the value is the one the C library's strtod reads from
// it (bit for bit, signed zeros included): plain decimals, exponents, texts
// followed by units, and the forms only strtod takes (blanks, '+',
// hexadecimal, infinities, NaN, values out of range).
TEST(NumberConversions, TextToDoubleAgreesWithTheCLibrary)
{
    std::vector<std::string> texts = {
        "0", "-0", "-0.0", "12.50sq.m.", "12a", "  3.5e2xyz", "abc", "", "250.00", "-.5", ".5e2", "5.", "-", ".", "-.", "e5", ".e5", "1e", "1e+", "1.5e-",
        "1e400", "-1e400", "1e-400", "4.9e-324", "2.4e-324", "2.5e-324", "1.7976931348623157e308",
        "1.7976931348623159e308", "0x1p3", "-0X1.8P1", "0x", "00x5", " 12", "\t-3", "+3", "+.5", "inf", "-Infinity",
        "nan", "NAN(12)", "1,5", "9007199254740993", "0.30000000000000004441", "123456789012345678901234567890",
        std::string(70, '9') + ".5e-60",
        // Plain decimals where reading them exactly gets harder: 19 and 20
        // digits, whole numbers at and past 2^53, a point without digits
        // after it, and a unit or exponent straight after.
        "1234567890123456789", "12345678901234567890", "1234567890.123456789sq.m.", "123456789.0123456789",
        "9007199254740992", "9007199254740993sq.m.", "-9007199254740992.0", "0.0000000000000000001", "5.sq.m.",
        "5.e2", "7.5E1", "12.5.5", "-0.00m.", "0012.500", "3.25-", "1.5sq.m.e3", "9007199254740992.5",
        "900719925474099.25", "0.0000000000000000000001", "0.00000000000000000000001", "12E5", "1p3", "7x",
        "-0.5.", "10000000000000000000", "9999999999999999999.sq.m."};
    std::mt19937_64 random(31122026);
    std::uniform_int_distribution<int> exponent(-330, 310);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> style(0, 4);
    const char* suffixes[] = {"", "sq.m.", "m.", "cu.ft.", " ", "e", "x"};
    for (int i = 0; i < 4000; ++i) {
        double value = mantissa(random) * std::pow(10.0, exponent(random) / 10);
        char buffer[128];
        switch (style(random)) {
        case 0: std::snprintf(buffer, sizeof buffer, "%.17g", value); break;
        case 1: std::snprintf(buffer, sizeof buffer, "%.3f", value); break;
        case 2: std::snprintf(buffer, sizeof buffer, "%.25e", value); break;
        case 3: std::snprintf(buffer, sizeof buffer, "%a", value); break;
        default: std::snprintf(buffer, sizeof buffer, "%.2f", std::fabs(value) < 1 ? value : std::fmod(value, 1e6)); break;
        }
        texts.push_back(std::string(buffer) + suffixes[static_cast<size_t>(i) % std::size(suffixes)]);
    }
    // Plain decimals of every length around the exact reading's limits (up
    // to 21 digits, up to 23 decimals), each followed by the end, a unit, or
    // a byte that would go on a number in strtod's reading.
    const char* after[] = {"", "sq.m.", "m", " ", "-", ".", "..5", "e", "e2", "E-3", "x", "x1", "p2", "5", "\x7f"};
    std::uniform_int_distribution<int> digitCount(1, 21);
    std::uniform_int_distribution<int> decimalCount(-1, 23);
    std::uniform_int_distribution<int> digit(0, 9);
    for (int i = 0; i < 3000; ++i) {
        std::string text = i % 3 == 0 ? "-" : "";
        const int whole = digitCount(random), decimals = decimalCount(random);
        for (int k = 0; k < whole; ++k) text += static_cast<char>('0' + (k == 0 && i % 5 == 0 ? 9 : digit(random)));
        if (decimals >= 0) text += '.';
        for (int k = 0; k < decimals; ++k) text += static_cast<char>('0' + digit(random));
        // Every sign with every ending: the sign follows i % 3, the ending i / 3.
        texts.push_back(text + after[static_cast<size_t>(i / 3) % std::size(after)]);
    }
    locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    int mismatches = 0;
    for (const std::string& text : texts) {
        double expected = strtod_l(text.c_str(), nullptr, c);
        double actual = util.CStringToDouble(text);
        if (std::memcmp(&expected, &actual, sizeof expected) != 0 && ++mismatches <= 10)
            ADD_FAILURE() << "\"" << text << "\": " << actual << " vs " << expected;
    }
    freelocale(c);
    EXPECT_EQ(mismatches, 0);
}

// A process locale whose decimal point is a comma must not change how numbers
// are read or written. The locale is compiled into a temporary folder.
TEST(NumberConversions, IndependentOfTheProcessLocale)
{
    auto dir = std::filesystem::temp_directory_path() / ("zelka-locale-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::string command = "localedef -i de_DE -f UTF-8 " + (dir / "de_DE.UTF-8").string() + " > /dev/null 2>&1";
    const bool built = std::system(command.c_str()) == 0 && std::filesystem::exists(dir / "de_DE.UTF-8");
    if (!built) std::filesystem::remove_all(dir);
    ZELKA_REQUIRE(built, "localedef with the de_DE source locale (Debian package locales)");
    ::setenv("LOCPATH", dir.c_str(), 1);
    const char* set = std::setlocale(LC_ALL, "de_DE.UTF-8");
    ASSERT_NE(set, nullptr);
    ASSERT_EQ(std::string(std::localeconv()->decimal_point), ",");
    EXPECT_DOUBLE_EQ(util.CStringToDouble("2.5"), 2.5);
    EXPECT_EQ(util.DoubleToCString(2.5, 2), "2.50");
    EXPECT_EQ(util.DoubleToCString(2.5, -1), "2.5");
    std::setlocale(LC_ALL, "C");
    ::unsetenv("LOCPATH");
    std::filesystem::remove_all(dir);
}

TEST(TextHelpers, BooleanTexts)
{
    EXPECT_EQ(util.BoolToCString(true), "1");
    EXPECT_EQ(util.BoolToCString(false), "0");
    for (const char* yes : {"1", "t", "tr", "tru", "true", "y", "ye", "yes"}) EXPECT_TRUE(util.CStringToBOOL(yes)) << yes;
    for (const char* no : {"", "0", "T", "True", "YES", "yes ", "truth", "no", "on", "2"})
        EXPECT_FALSE(util.CStringToBOOL(no)) << no;
}

TEST(TextHelpers, PaddingAndInvalidCharacters)
{
    EXPECT_EQ(util.padding("ab", 3, "-"), "ab---");
    EXPECT_EQ(util.padding("ab", 2, "xy"), "abxyxy");
    EXPECT_EQ(util.padding("ab", 0, "-"), "ab");
    EXPECT_EQ(util.padding("ab", -2, "-"), "ab");
    EXPECT_EQ(util.replaceInvalidCharacters("a\\b/c:d*e?f\"g<h>i|j=k'l;m(n)o,p", "_"),
              "a_b_c_d_e_f_g_h_i_j_k_l_m_n_o_p");
    EXPECT_EQ(util.replaceInvalidCharacters("Level 1 (North)", ""), "Level 1 North");
    EXPECT_EQ(util.replaceInvalidCharacters("A-B_C.D", "#"), "A-B_C.D");
}

TEST(HexAndColours, HexadecimalTextToInteger)
{
    EXPECT_EQ(util.hexToInt("FF"), 255);
    EXPECT_EQ(util.hexToInt("1A2B"), 0x1A2B);
    EXPECT_EQ(util.hexToInt("0"), 0);
    EXPECT_EQ(util.hexToInt(""), 0);
    EXPECT_EQ(util.hexToInt("7FFFFFFFFFFFFFFF"), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(util.hexToInt("2AG"), 0x2A);
    EXPECT_EQ(util.hexToInt("ff"), 0);
}

TEST(HexAndColours, ColourToHash)
{
    AcCmColor colour;
    colour.setRGB(10, 0, 255);
    EXPECT_EQ(util.acadColourToHash(colour), "#0A00FF");
    colour.setRGB(255, 128, 0);
    EXPECT_EQ(util.acadColourToHash(colour), "#FF8000");
    colour.setRGB(0, 0, 0);
    EXPECT_EQ(util.acadColourToHash(colour), "#000000");
    // Index colours take their palette entry: 1 red, 8 dark grey, 9 light grey.
    colour.setColorIndex(1);
    EXPECT_EQ(util.acadColourToHash(colour), "#FF0000");
    colour.setColorIndex(8);
    EXPECT_EQ(util.acadColourToHash(colour), "#808080");
    colour.setColorIndex(9);
    EXPECT_EQ(util.acadColourToHash(colour), "#C0C0C0");
}

TEST(HexAndColours, ParseHashString)
{
    std::string r, g, b;
    util.parseHashString("#ff8000", r, g, b);
    EXPECT_EQ(r + "," + g + "," + b, "FF,80,00");
    util.parseHashString("0a00FF", r, g, b);
    EXPECT_EQ(r + "," + g + "," + b, "0A,00,FF");
    for (const char* bad : {"FF80", "#GG0000", "", "#", "##FF0000", "#FF00001", " #FF0000", "#FF 000"})
        EXPECT_THROW(util.parseHashString(bad, r, g, b), CEXZelka) << bad;
}

TEST(HexAndColours, InvalidColourChainNamesWhereItFailed)
{
    std::string r, g, b;
    try {
        util.parseHashString("#GG0000", r, g, b);
        FAIL() << "no exception";
    } catch (const CEXZelka& e) {
        EXPECT_EQ(e.errorChainText(),
                  "Utilities::CUtilities::parseHashString\n"
                  "\tUtilities::CUtilities::validteHexString\n"
                  "\t\tUtilities::CUtilities::validteHexString\n\n"
                  "Invalid Hex Colour - GG0000");
        EXPECT_EQ(e.innermost().getSource(), "CUtilities");
        EXPECT_NE(dynamic_cast<const CEXInvalidHexColour*>(&e.innermost()), nullptr);
    }
    try {
        util.parseHashString("", r, g, b);
        FAIL() << "no exception";
    } catch (const CEXZelka& e) {
        EXPECT_EQ(e.printChainText(), "CUtilities::parseHashString\n\tCUtilities::parseHashString\n\nInvalid Hex Colour - ");
        EXPECT_EQ(e.getSource(), ZELKA_MODULE_TITLE);
    }
}

TEST(HexAndColours, HashToColourSetsATrueColour)
{
    AcCmColor colour;
    util.hashToAcadColour("#0A00FF", colour);
    EXPECT_TRUE(colour.isByColor());
    EXPECT_EQ(colour.red(), 10);
    EXPECT_EQ(colour.green(), 0);
    EXPECT_EQ(colour.blue(), 255);
    EXPECT_EQ(util.acadColourToHash(colour), "#0A00FF");
    AcCmColor untouched;
    untouched.setColorIndex(3);
    EXPECT_THROW(util.hashToAcadColour("#12345", untouched), CEXZelka);
    EXPECT_EQ(untouched.colorIndex(), 3);
    EXPECT_TRUE(untouched.isByACI());
}
