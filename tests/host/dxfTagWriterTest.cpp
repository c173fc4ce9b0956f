#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "host/dxf/DxfTagWriter.h"

namespace {

std::string written(const std::vector<DxfTag>& tags, bool crlf)
{
    std::string out;
    DxfTagWriter w(&out, crlf);
    for (const DxfTag& t : tags)
        w.write(t);
    return out;
}

std::string writtenFrom(const std::vector<DxfTag>& tags, std::string_view source, bool crlf)
{
    std::string out;
    DxfTagWriter w(&out, crlf);
    w.write(tags.data(), tags.size(), source);
    return out;
}

}  // namespace

TEST(DxfTagWriter, WritesCodeLinesRightAlignedInThreeColumns)
{
    const std::vector<std::pair<int, std::string>> cases = {
        {0, "  0\nA\n"},       {9, "  9\nA\n"},       {10, " 10\nA\n"},     {99, " 99\nA\n"},
        {100, "100\nA\n"},     {999, "999\nA\n"},     {1000, "1000\nA\n"},  {1071, "1071\nA\n"},
        {-5, " -5\nA\n"},      {-100, "-100\nA\n"},   {123456, "123456\nA\n"},
    };
    for (const auto& [code, text] : cases) {
        EXPECT_EQ(written({DxfTag(code, "A")}, false), text) << code;
        std::string crlf = text;
        for (size_t at = crlf.find('\n'); at != std::string::npos; at = crlf.find('\n', at + 2))
            crlf.insert(at, "\r");
        EXPECT_EQ(written({DxfTag(code, "A")}, true), crlf) << code;
    }
    const std::string longValue(200, 'x');
    EXPECT_EQ(written({DxfTag(1, longValue)}, false), "  1\n" + longValue + "\n");
}

// Copying the lines of tags that stand in their source as the writer writes
// them must give exactly the bytes of writing every tag again, whatever the
// source looks like and however the tags were edited since they were split.
TEST(DxfTagWriter, CopyingLinesFromTheSourceGivesTheBytesOfWritingEachTag)
{
    std::mt19937 random(20261207);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const std::vector<int> codes = {0, 1, 5, 8, 10, 20, 30, 40, 62, 70, 100, 102, 330, 999, 1000, 1001, 1071, -3};
    const std::vector<std::string> values = {"", "0", "AcDbEntity", "25.97sq.m.", "{ACAD_REACTORS", " padded ", "x\r"};
    const std::string made = "MADE-ELSEWHERE";
    for (int round = 0; round < 400; ++round) {
        // A source of lines in the ways files write them: code lines padded
        // to three columns or not at all or with zeros, line ends LF or CRLF.
        std::string source;
        struct Line {
            int code;
            size_t value;
            size_t size;
        };
        std::vector<Line> lines;
        const int count = 1 + pick(30);
        for (int i = 0; i < count; ++i) {
            const int code = codes[static_cast<size_t>(pick(static_cast<int>(codes.size())))];
            const std::string& value = values[static_cast<size_t>(pick(static_cast<int>(values.size())))];
            std::string codeText = std::to_string(code);
            switch (pick(6)) {
            case 0: break;
            case 1: codeText = "0" + codeText; break;
            default: codeText = std::string(codeText.size() < 3 ? 3 - codeText.size() : 0, ' ') + codeText; break;
            }
            const char* end = pick(5) == 0 ? "\r\n" : "\n";
            source += codeText + end;
            lines.push_back({code, source.size(), value.size()});
            source += value + (pick(5) == 0 ? "\r\n" : "\n");
        }
        // The tags of an edited record: as split, with a changed code, a
        // shorter view, a value made elsewhere, repeated, dropped.
        std::vector<DxfTag> tags;
        for (const Line& line : lines) {
            const DxfTag split(line.code, std::string_view(source).substr(line.value, line.size));
            switch (pick(10)) {
            case 0: break;
            case 1: tags.emplace_back(line.code == 8 ? 62 : 8, split.value()); break;
            case 2: tags.emplace_back(line.code, split.value().substr(0, split.size / 2)); break;
            case 3: tags.emplace_back(line.code, made); break;
            case 4: tags.push_back(split); tags.push_back(split); break;
            default: tags.push_back(split); break;
            }
        }
        for (bool crlf : {false, true}) {
            ASSERT_EQ(writtenFrom(tags, source, crlf), written(tags, crlf)) << "round " << round << "\n" << source;
            // The source ending right after a value: its line end is not there.
            const std::string_view cut = std::string_view(source).substr(0, source.size() - 1);
            ASSERT_EQ(writtenFrom(tags, cut, crlf), written(tags, crlf)) << "round " << round;
        }
    }
}

TEST(DxfTagWriter, KeepsTheSourcesLinesAndWritesAMadeTagBetweenThem)
{
    // Lines as written: every tag taken from them goes out as it stands, and
    // a tag made since is written between them.
    const std::string source = "  0\nATTRIB\n  5\n22F\n330\n17\n100\nAcDbEntity\n";
    std::vector<DxfTag> tags = {DxfTag(0, std::string_view(source).substr(4, 6)),
                                DxfTag(5, std::string_view(source).substr(15, 3)), DxfTag(330, "22D"),
                                DxfTag(100, std::string_view(source).substr(30, 10))};
    EXPECT_EQ(writtenFrom(tags, source, false), "  0\nATTRIB\n  5\n22F\n330\n22D\n100\nAcDbEntity\n");
    EXPECT_EQ(writtenFrom(tags, source, true), written(tags, true));
    EXPECT_EQ(writtenFrom(tags, {}, false), written(tags, false));
}
