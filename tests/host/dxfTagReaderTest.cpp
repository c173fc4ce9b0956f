// The tag layer: splitting DXF text into tags, and the statuses, lines and
// messages for input that is not a text DXF.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <regex>
#include <string>
#include <vector>

#include "host/base/DxfTagList.h"
#include "host/dxf/DxfTagReader.h"

namespace {

struct Bad {
    const char* name;
    std::string text;
    Acad::ErrorStatus status;
    size_t line;
    const char* says;
};

class DxfTagReaderBadInput : public ::testing::TestWithParam<Bad> {};

TEST_P(DxfTagReaderBadInput, GivesStatusLineAndMessage)
{
    const Bad& b = GetParam();
    std::vector<DxfTag> tags;
    DxfReadResult r = DxfTagReader("plan.dxf").read(b.text, tags);
    EXPECT_EQ(r.status, b.status) << r.message;
    EXPECT_EQ(r.line, b.line) << r.message;
    EXPECT_NE(r.message.find("plan.dxf: line " + std::to_string(b.line) + ": "), std::string::npos) << r.message;
    EXPECT_NE(r.message.find(b.says), std::string::npos) << r.message;
}

INSTANTIATE_TEST_SUITE_P(
    Table, DxfTagReaderBadInput,
    ::testing::Values(
        Bad{"empty", "", Acad::eBadDxfSequence, 1, "empty"},
        Bad{"binary", std::string("AutoCAD Binary DXF\r\n\x1a\0", 22) + "junk", Acad::eDwgNotSupported, 1, "binary DXF"},
        Bad{"dwg", "AC1027\0\0\0\0junk", Acad::eDwgNotSupported, 1, "DWG"},
        Bad{"letters as code", "  0\nSECTION\nabc\nHEADER\n", Acad::eInvalidDxfCode, 3, "found 'abc'"},
        Bad{"code with trailing junk", "  0\nSECTION\n  2x\nHEADER\n", Acad::eInvalidDxfCode, 3, "expected a group code"},
        Bad{"code out of range", "  0\nSECTION\n2000\nX\n", Acad::eInvalidDxfCode, 3, "found '2000'"},
        Bad{"negative code", "-1\nX\n", Acad::eInvalidDxfCode, 1, "found '-1'"},
        Bad{"value missing", "  0\nSECTION\n  2", Acad::eBadDxfSequence, 4, "value of group code 2"},
        Bad{"no EOF", "  0\nSECTION\n  2\nHEADER\n  0\nENDSEC\n", Acad::eBadDxfSequence, 7, "'EOF'"},
        Bad{"blank code line", "  0\nSECTION\n\nHEADER\n", Acad::eInvalidDxfCode, 3, "found ''"}),
    [](const ::testing::TestParamInfo<Bad>& info) {
        std::string n = info.param.name;
        for (char& c : n)
            if (!isalnum(static_cast<unsigned char>(c)))
                c = '_';
        return n;
    });

TEST(DxfTagReader, SplitsPaddedCodesCrlfAndKeepsValuesVerbatim)
{
    std::string text = "\xEF\xBB\xBF  0\r\nSECTION\r\n  2\r\nHEADER\r\n 70\r\n     5\r\n  1\r\n  two blanks  \r\n"
                       "999\r\n\r\n0\r\nEOF\r\ngarbage after the end\n";
    std::vector<DxfTag> tags;
    ASSERT_TRUE(DxfTagReader("f.dxf").read(text, tags).ok());
    ASSERT_EQ(tags.size(), 6u);
    EXPECT_EQ(tags[0].code, 0);
    EXPECT_EQ(tags[0].value(), "SECTION");
    EXPECT_EQ(tags[2].code, 70);
    EXPECT_EQ(tags[2].value(), "     5");
    EXPECT_EQ(tags[3].value(), "  two blanks  ");
    EXPECT_EQ(tags[4].code, 999);
    EXPECT_EQ(tags[4].value(), "");
    EXPECT_TRUE(tags[5].is(0, "EOF"));
}

TEST(DxfTagReader, ValueLinesEndingOtherwiseAreNotedAndReadWithoutTheirLineEnds)
{
    // Past the first 400 bytes (where the file's line end is judged), a
    // value line ending the other way, in LF and in CR LF files, after codes
    // of three columns and of four digits; the last line without its end.
    for (const std::string eol : {"\n", "\r\n"}) {
        const std::string other = eol == "\n" ? "\r\n" : "\n";
        std::string text = "  0" + eol + "SECTION" + eol;
        for (int i = 0; i < 40; ++i)
            text += "999" + eol + "padding line" + eol;
        const size_t odd3 = text.size();
        text += "  2" + eol + "HEADER" + other;
        const size_t odd4 = text.size();
        text += "1000" + eol + "AREA=1" + other;
        text += "1071" + eol + "7" + eol + "  0" + eol + "EOF";
        std::vector<DxfTag> tags;
        std::vector<size_t> unusual;
        const DxfReadResult r = DxfTagReader("f.dxf").read(text, tags, &unusual);
        ASSERT_TRUE(r.ok()) << r.message;
        ASSERT_EQ(tags.size(), 45u);
        EXPECT_TRUE(tags[41].is(2, "HEADER")) << tags[41].value();
        EXPECT_TRUE(tags[42].is(1000, "AREA=1")) << tags[42].value();
        EXPECT_TRUE(tags[43].is(1071, "7"));
        EXPECT_TRUE(tags[44].is(0, "EOF"));
        // The two odd tags and the last, whose line has no end.
        const size_t last = text.size() - std::string("  0" + eol + "EOF").size();
        EXPECT_EQ(unusual, (std::vector<size_t>{odd3, odd4, last})) << eol.size();
    }
}

TEST(DxfTagReader, LineOfOffsetCountsFromOne)
{
    std::string_view text = "a\nb\r\nc";
    EXPECT_EQ(DxfTagReader::lineOfOffset(text, 0), 1u);
    EXPECT_EQ(DxfTagReader::lineOfOffset(text, 2), 2u);
    EXPECT_EQ(DxfTagReader::lineOfOffset(text, 5), 3u);
}

}  // namespace

// Every three- and four-byte group-code line made of blanks, tabs, signs,
// digits and a letter, in LF and in CR LF files: read (and split again from
// the read text) exactly as the grammar of a code line says: blanks, an
// optional sign, one to six digits, blanks, a value from 0 to 1071. A line
// that is not exactly as the writer writes it (three columns, right-aligned,
// no leading zero; four digits from 1000 on) is reported as unusual, so that
// saving rewrites it.
TEST(DxfTagReader, EveryThreeAndFourByteCodeLineReadsAsTheGrammarSays)
{
    const std::string alphabet = " \t+-0179x";
    const std::regex grammar("[ \t]*([+-]?)([0-9]{1,6})[ \t]*");
    std::vector<std::string> lines;
    for (char a : alphabet)
        for (char b : alphabet)
            for (char c : alphabet) {
                lines.push_back({a, b, c});
                for (char d : alphabet)
                    lines.push_back({a, b, c, d});
            }
    for (const std::string eol : {"\n", "\r\n"}) {
        for (const std::string& line : lines) {
            const std::string text =
                "  0" + eol + "SECTION" + eol + line + eol + "VALUE" + eol + "  0" + eol + "EOF" + eol;
            std::smatch m;
            long value = -1;
            if (std::regex_match(line, m, grammar)) {
                value = std::stol(m[2].str());
                if (m[1] == "-" && value != 0)
                    value = -1;
            }
            const bool accepted = value >= 0 && value <= 1071;
            std::vector<DxfTag> tags;
            std::vector<size_t> unusual;
            const DxfReadResult r = DxfTagReader("f.dxf").read(text, tags, &unusual);
            ASSERT_EQ(r.ok(), accepted) << "'" << line << "' " << eol.size() << ": " << r.message;
            if (!accepted) {
                EXPECT_EQ(r.status, Acad::eInvalidDxfCode) << line;
                EXPECT_EQ(r.line, 3u) << line;
                continue;
            }
            ASSERT_EQ(tags.size(), 3u) << line;
            EXPECT_EQ(tags[1].code, value) << "'" << line << "'";
            EXPECT_EQ(tags[1].value(), "VALUE") << line;
            char written[8];
            std::snprintf(written, sizeof written, "%3ld", value);
            const size_t at = 3 + eol.size() + 7 + eol.size();
            const bool listed = std::find(unusual.begin(), unusual.end(), at) != unusual.end();
            EXPECT_EQ(listed, line != written) << "'" << line << "' " << eol.size();
            // Splitting the accepted text again gives the same tags.
            std::vector<DxfTag> split;
            dxfSplitTags(text, split);
            ASSERT_GE(split.size(), 3u) << line;
            for (size_t i = 0; i < 3; ++i)
                EXPECT_TRUE(split[i].code == tags[i].code && split[i].value() == tags[i].value())
                    << "'" << line << "' tag " << i;
        }
    }
}
