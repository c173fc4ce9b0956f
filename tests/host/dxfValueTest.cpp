// Numbers, handles and code pages at the file boundary.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/base/DxfCodepage.h"
#include "host/dxf/DxfValue.h"
#include "host/dxf/codecs/DxfCodecSupport.h"

TEST(DxfValue, ReadsIntegersIncludingWholeReals)
{
    int64_t v = 0;
    EXPECT_TRUE(DxfValue::toInt("     5", v));
    EXPECT_EQ(v, 5);
    EXPECT_TRUE(DxfValue::toInt("-7", v));
    EXPECT_EQ(v, -7);
    EXPECT_TRUE(DxfValue::toInt("3.0", v));
    EXPECT_EQ(v, 3);
    EXPECT_FALSE(DxfValue::toInt("3.5", v));
    EXPECT_FALSE(DxfValue::toInt("x", v));
}

TEST(DxfValue, WritesShortestRoundTripRealsWithPointZero)
{
    EXPECT_EQ(DxfValue::fromDouble(1.0), "1.0");
    EXPECT_EQ(DxfValue::fromDouble(0.0), "0.0");
    EXPECT_EQ(DxfValue::fromDouble(-250.0), "-250.0");
    EXPECT_EQ(DxfValue::fromDouble(0.1), "0.1");
    EXPECT_EQ(DxfValue::fromDouble(14.999999999999998), "14.999999999999998");
    for (double x : {M_PI, 1e-17, 123456789.123456789, -2.5e300}) {
        double back = 0;
        ASSERT_TRUE(DxfValue::toDouble(DxfValue::fromDouble(x), back));
        EXPECT_EQ(back, x);
    }
}

TEST(DxfValue, HandlesAreWrittenInUpperCaseHex)
{
    EXPECT_EQ(DxfValue::fromHandle(0xABCDEF), "ABCDEF");
    EXPECT_EQ(DxfValue::fromHandle(0), "0");
}

TEST(DxfCodepage, Ansi1252EncodesWhatItHasAndEscapesTheRest)
{
    DxfCodepage cp(false, "ANSI_1252");
    EXPECT_EQ(cp.encode("Küche €"), "K\xFC" "che \x80");
    EXPECT_EQ(cp.encode("Δ北"), "\\U+0394\\U+5317");
    EXPECT_EQ(cp.encode("plain"), "plain");
    for (const char* s : {"Küche", "Δ and ü", "ß²–€"})
        EXPECT_EQ(cp.decode(cp.encode(s)), s);
}

TEST(DxfCodepage, OtherCodePages)
{
    DxfCodepage cyrillic(false, "ANSI_1251");
    EXPECT_EQ(cyrillic.charset(), "CP1251");
    EXPECT_EQ(cyrillic.decode("\xCF\xF0\xE8\xE2\xE5\xF2"), "Привет");
    EXPECT_EQ(cyrillic.encode("Привет"), "\xCF\xF0\xE8\xE2\xE5\xF2");
    DxfCodepage central(false, "ansi_1250");
    EXPECT_EQ(central.decode("\x8A"), "Š");
    DxfCodepage missing(false, "");
    EXPECT_EQ(missing.charset(), "CP1252");
}

TEST(DxfCodepage, Utf8FilesPassTextThrough)
{
    DxfCodepage cp(true, "ANSI_1252");
    EXPECT_EQ(cp.encode("Küche Δ"), "Küche Δ");
    EXPECT_EQ(cp.decode("Küche \\U+0394"), "Küche Δ");
}

namespace {

// Calls visit with every text of up to longest characters of the alphabet,
// the empty one first.
void forEachText(const std::string& alphabet, size_t longest, const std::function<void(const std::string&)>& visit)
{
    std::string text;
    std::function<void(size_t)> each = [&](size_t left) {
        visit(text);
        if (left == 0)
            return;
        for (char c : alphabet) {
            text.push_back(c);
            each(left - 1);
            text.pop_back();
        }
    };
    each(longest);
}

}  // namespace

// Every text of up to five characters from an alphabet of the bytes that
// matter to number parsing: the inline decisions for plain numbers must
// agree with the full converters, which decide every other text.
TEST(DxfValue, PlainNumberShortcutsAgreeWithTheFullConverters)
{
    using namespace DxfCodecSupport;
    size_t plainWholes = 0;
    forEachText(" -+019.x\t", 5, [&](const std::string& text) {
        int64_t shortcut = 0, full = 0;
        if (DxfValue::plainWhole(text, shortcut)) {
            ++plainWholes;
            ASSERT_TRUE(DxfValue::toInt(text, full)) << '"' << text << '"';
            EXPECT_EQ(shortcut, full) << '"' << text << '"';
        }
        EXPECT_EQ(DxfValue::plainWhole(text, shortcut), DxfValue::isPlainWhole(text)) << '"' << text << '"';
        const DxfTag tag(70, text);
        for (const auto [least, most] : {std::pair<int64_t, int64_t>{0, 15}, {-1, 1}, {INT32_MIN, INT32_MAX}}) {
            int64_t inlineValue = -99, slowValue = -99;
            EXPECT_EQ(readsAsItself(tag, kReadsWhole, least, most, &inlineValue),
                      readsAsItselfSlowly(tag, kReadsWhole, least, most, &slowValue))
                << '"' << text << "\" in " << least << ".." << most;
            EXPECT_EQ(inlineValue, slowValue) << '"' << text << '"';
        }
        EXPECT_EQ(readsAsItself(tag, kReadsReal), readsAsItselfSlowly(tag, kReadsReal, 0, 0, nullptr))
            << '"' << text << '"';
    });
    EXPECT_GT(plainWholes, 1000u);  // the shortcut was taken, not only refused

    // At the edges of the digit count: eighteen digits are plain, nineteen
    // are left to the converter, which still reads them.
    int64_t value = 0;
    EXPECT_TRUE(DxfValue::plainWhole("-999999999999999999", value));
    EXPECT_EQ(value, -999999999999999999);
    EXPECT_FALSE(DxfValue::plainWhole("1000000000000000000", value));
    EXPECT_TRUE(readsAsItself(DxfTag(90, "1000000000000000000"), kReadsWhole, 0, INT64_MAX, &value));
    EXPECT_EQ(value, 1000000000000000000);
}

// The sixteen-byte decisions read past a value's end into the text after
// it: whatever follows (digits, points, signs, blanks, a line end), they
// must answer as the byte loops do on the value alone.
TEST(DxfValue, SixteenByteDecisionsAgreeWithTheByteLoops)
{
    const std::vector<std::string> followers = {"\n", "0000000000000000", "................", "----------------",
                                                "                ", "ffffffffffffffff"};
    size_t values = 0;
    const auto check = [&](const std::string& value) {
        for (const std::string& after : followers) {
            const std::string line = value + after + std::string(16, '\n');
            const std::string_view v(line.data(), value.size());
            const size_t readable = line.size();
            ++values;
            EXPECT_EQ(DxfValue::isPlainReal(v, readable), DxfValue::isPlainReal(v)) << '"' << value << '"';
            EXPECT_EQ(DxfValue::isPlainWhole(v, readable), DxfValue::isPlainWhole(v)) << '"' << value << '"';
            // A plain handle is one toHandle reads; toHandle also reads
            // some that are not plain (blanks around the digits).
            uint64_t handle = 0;
            const bool isHex = !value.empty() && value.size() <= 16 &&
                               value.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
            EXPECT_EQ(DxfValue::isPlainHandle(v, readable), isHex) << '"' << value << '"';
            if (isHex)
                EXPECT_TRUE(DxfValue::toHandle(v, handle)) << '"' << value << '"';
        }
    };
    forEachText(" -019.aFx", 4, check);
    // Around the sixteen bytes one load takes: the longest values it
    // decides, and the first ones it leaves to the loops.
    for (const char* value : {"1234567890123456", "-123456789012345", "123456789012345.", "12345678901234.5",
                              "12345678901234567", "1234567890.1234567", "   -12345678901  ", "    -123456789012",
                              "0123456789abcdef", "0123456789abcdef0", " 1A", "1A "})
        check(value);
    EXPECT_GT(values, 30000u);
}

// Whether a text needs no decoding, and whether it is printable ASCII
// without a backslash, against a byte loop: every length around the blocks
// of four, eight and sixteen bytes the checks read, with an odd byte (a
// backslash, a NUL, a control byte, DEL, a byte above ASCII) or an
// ordinary one at each place, in a code-page file and in a UTF-8 file.
TEST(DxfCodepage, PlainTextDecisionsAgreeWithAByteLoop)
{
    const DxfCodepage ansi(false, "ANSI_1252");
    const DxfCodepage utf8(true, "ANSI_1252");
    size_t texts = 0;
    for (size_t length = 0; length <= 40; ++length) {
        for (size_t at = 0; at <= length; ++at) {
            for (const char odd : {'a', ' ', '~', '\\', '\0', '\x01', '\x1F', '\x7F', '\x80', '\xE9', '\xFF'}) {
                // The text inside a longer buffer of odd bytes, so a check
                // reading past either end of the text would be caught.
                std::string buffer(length + 32, '\\');
                std::string_view text(buffer.data() + 16, length);
                std::fill(buffer.begin() + 16, buffer.begin() + 16 + static_cast<ptrdiff_t>(length), 'x');
                if (at < length)
                    buffer[16 + at] = odd;
                ++texts;
                bool printable = true;
                for (const char c : text) {
                    const auto b = static_cast<unsigned char>(c);
                    if (b < 0x20 || b > 0x7E || c == '\\')
                        printable = false;
                }
                EXPECT_EQ(DxfCodepage::isPrintableAscii(text), printable) << length << " " << at << " " << int(odd);
                for (const DxfCodepage* cp : {&ansi, &utf8}) {
                    bool plain = true, withoutNul = true;
                    for (const char c : text) {
                        const bool high = static_cast<unsigned char>(c) >= 0x80;
                        if (c == '\\' || (high && !cp->isUtf8()))
                            plain = withoutNul = false;
                        if (c == '\0')
                            withoutNul = false;
                    }
                    EXPECT_EQ(cp->isPlain(text), plain) << length << " " << at << " " << int(odd);
                    EXPECT_EQ(cp->isPlainWithoutNul(text), withoutNul) << length << " " << at << " " << int(odd);
                    if (plain) {
                        EXPECT_EQ(cp->decode(text), text);
                    }
                }
            }
        }
    }
    EXPECT_GT(texts, 9000u);
}
