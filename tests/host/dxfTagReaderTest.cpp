// The tag layer: splitting DXF text into tags, and the statuses, lines and
// messages for input that is not a text DXF.
#include <gtest/gtest.h>

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

TEST(DxfTagReader, LineOfOffsetCountsFromOne)
{
    std::string_view text = "a\nb\r\nc";
    EXPECT_EQ(DxfTagReader::lineOfOffset(text, 0), 1u);
    EXPECT_EQ(DxfTagReader::lineOfOffset(text, 2), 2u);
    EXPECT_EQ(DxfTagReader::lineOfOffset(text, 5), 3u);
}

}  // namespace
