// Decoding file text against Python's codecs as the oracle (random mixes of
// ASCII, backslashes, \U+ escapes and code-page bytes), and the drawing's
// code page following its header values when they change.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/base/DxfCodepage.h"
#include "tests/host/dxfTestSupport.h"
#include "tests/common/TestRequirements.h"

namespace {

std::string hex(const std::string& bytes)
{
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out.empty() ? "-" : out;
}

// Python's reading of each text (hex in, hex out): the bytes decoded from
// cp1252 unless utf8, then \U+XXXX (or \U+XXXXXXXX above U+FFFF) replaced.
const char* kOracle = R"(import re, sys
utf8 = sys.argv[1] == "1"
esc = re.compile(rb'\\[Uu]\+([0-9A-Fa-f]{4})([0-9A-Fa-f]{4})?')
def one(m):
    if m.group(2) and 0xFFFF < int(m.group(1) + m.group(2), 16) <= 0x10FFFF:
        return chr(int(m.group(1) + m.group(2), 16)).encode('utf-8')
    return chr(int(m.group(1), 16)).encode('utf-8', 'surrogatepass') + (m.group(2) or b'')
for line in sys.stdin.read().split():
    raw = b'' if line == '-' else bytes.fromhex(line)
    text = raw if utf8 else raw.decode('cp1252').encode('utf-8')
    print(esc.sub(one, text).hex() or '-')
)";

std::vector<std::string> oracle(const std::vector<std::string>& texts, bool utf8)
{
    auto dir = dxftest::tempDir(utf8 ? "codepage-oracle-utf8" : "codepage-oracle-1252");
    dxftest::writeFile(dir / "oracle.py", kOracle);
    std::string input;
    for (const std::string& t : texts)
        input += hex(t) + "\n";
    dxftest::writeFile(dir / "in.txt", input);
    std::istringstream out(dxftest::capture(std::string(ZELKA_PYTHON) + " '" + (dir / "oracle.py").string() + "' " +
                                            (utf8 ? "1" : "0") + " < '" + (dir / "in.txt").string() + "'"));
    std::vector<std::string> lines;
    std::string line;
    while (out >> line)
        lines.push_back(line);
    return lines;
}

// Random texts from the pieces values are made of; no byte that cp1252 leaves undefined.
std::vector<std::string> randomTexts(unsigned seed)
{
    const std::vector<std::string> pieces = {"a", "Z", "0", " ", "\\", "\\U+", "\\u+", "00E4", "0394", "d83d",
                                             "0001F600", "0010FFFF", "00110000", "+", "U", "\xC4", "\xE9", "\x80",
                                             "\xFF", "\xC3\x84", "\\P", "1F6"};
    std::mt19937 rng(seed);
    std::vector<std::string> texts = {"", "plain", "\\", "\\U+00E4", "\\U+0001F600x", "x\\U+00E"};
    for (int i = 0; i < 3000; ++i) {
        std::string t;
        for (int k = static_cast<int>(rng() % 8); k > 0; --k)
            t += pieces[rng() % pieces.size()];
        texts.push_back(t);
    }
    return texts;
}

}  // namespace

TEST(DxfCodepageDecode, AgreesWithPythonForCodePageAndUtf8Files)
{
    ZELKA_REQUIRE_EZDXF();
    for (bool utf8 : {false, true}) {
        const std::vector<std::string> texts = randomTexts(utf8 ? 11 : 12);
        const std::vector<std::string> want = oracle(texts, utf8);
        ASSERT_EQ(want.size(), texts.size());
        DxfCodepage cp(utf8, "ANSI_1252");
        for (size_t i = 0; i < texts.size(); ++i) {
            const std::string got = cp.decode(texts[i]);
            ASSERT_EQ(hex(got), want[i]) << "text " << hex(texts[i]) << (utf8 ? " utf8" : " cp1252");
            char* copy = cp.decodeToMalloc(texts[i]);
            ASSERT_NE(copy, nullptr);
            EXPECT_STREQ(copy, got.c_str());
            std::free(copy);
        }
    }
}

TEST(DxfCodepageDecode, DrawingCodePageFollowsItsHeader)
{
    AcDbDatabase db;
    AcDbDatabaseData& d = db.data();
    d.header.acadver = "AC1015";
    d.header.codepage = "ANSI_1252";
    EXPECT_EQ(d.codepage().charset(), "CP1252");
    EXPECT_FALSE(d.codepage().isUtf8());
    EXPECT_EQ(d.codepage().decode("\xC4"), "\xC3\x84");  // Ä

    d.header.codepage = "ANSI_1251";
    EXPECT_EQ(d.codepage().charset(), "CP1251");
    EXPECT_EQ(d.codepage().decode("\xC4"), "\xD0\x94");  // Д, the same byte in 1251

    d.header.acadver = "AC1032";
    EXPECT_TRUE(d.codepage().isUtf8());
    EXPECT_EQ(d.codepage().decode("\xC3\x84"), "\xC3\x84");
}
