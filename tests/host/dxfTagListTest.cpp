// The compact tag list a drawing keeps of its file: every tag handed back
// must be the tag the plain reader finds, whatever its length or place.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "host/base/DxfLineFeed.h"
#include "host/base/DxfTagList.h"
#include "host/dxf/DxfTagReader.h"

namespace {

// A text of count tags "999 / value" whose values have the given sizes in
// turn, then EOF; the tags are written out here, independently of the reader.
std::string tagText(const std::vector<size_t>& sizes, size_t count, std::vector<std::pair<int, std::string>>& expected)
{
    std::string text;
    for (size_t i = 0; i < count; ++i) {
        const size_t size = sizes[i % sizes.size()];
        std::string value(size, static_cast<char>('a' + i % 26));
        if (size > 0)
            value[0] = static_cast<char>('0' + i % 10);
        const int code = i % 2 ? 999 : 1000 + static_cast<int>(i % 72);
        text += (code >= 1000 ? std::to_string(code) : "999") + "\n" + value + "\n";
        expected.emplace_back(code, value);
    }
    text += "  0\nEOF\n";
    expected.emplace_back(0, "EOF");
    return text;
}

TEST(DxfTagList, HandsBackEveryTagAsReadWhateverItsSizeOrPlace)
{
    struct Case {
        const char* what;
        std::vector<size_t> sizes;
        size_t count;
    };
    const std::vector<Case> cases = {
        {"short values, more tags than one block holds", {0, 1, 7, 16}, 65536 * 2 + 5},
        {"the longest value kept in the tag itself", {65534}, 3},
        {"values too long for the tag: kept aside", {65535, 3, 65536, 200000}, 9},
        {"long values among many short ones across blocks", {5, 5, 5, 70000, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5}, 65536 + 40},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::pair<int, std::string>> expected;
        const std::string text = tagText(c.sizes, c.count, expected);
        DxfTagList list;
        ASSERT_TRUE(DxfTagReader("f.dxf").read(text, list).ok());
        ASSERT_EQ(list.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            const DxfTag t = list[i];
            if (t.code != expected[i].first || t.value() != expected[i].second) {
                ADD_FAILURE() << "tag " << i << ": " << t.code << " of " << t.size << " bytes, expected "
                              << expected[i].first << " of " << expected[i].second.size();
                break;
            }
            // The value is a view of the text, not a copy.
            ASSERT_TRUE(t.text >= text.data() && t.text + t.size <= text.data() + text.size()) << "tag " << i;
            ASSERT_EQ(list.code(i), expected[i].first) << "tag " << i;
        }
        // A run of tags copied out is the same run.
        const size_t from = expected.size() > 70000 ? 65530 : 0;
        const size_t count = std::min<size_t>(12, expected.size() - from);
        std::vector<DxfTag> run;
        list.appendTo(from, count, run);
        ASSERT_EQ(run.size(), count);
        for (size_t k = 0; k < count; ++k)
            EXPECT_EQ(run[k].value(), expected[from + k].second) << "tag " << from + k;
    }
}

TEST(DxfTagList, ARangeSplitAgainGivesTheTagsOfTheWholeRead)
{
    // Objects are split again from their lines when opened; every way of
    // writing a tag the read accepts must come out as the read found it.
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::pair<int, std::string>> tags;
    };
    const std::vector<Case> cases = {
        {"LF, codes as written", "  0\nLINE\n  8\nL1\n 10\n1.5\n", {{0, "LINE"}, {8, "L1"}, {10, "1.5"}}},
        {"CRLF", "  0\r\nLINE\r\n  8\r\n\r\n1001\r\nAPP\r\n", {{0, "LINE"}, {8, ""}, {1001, "APP"}}},
        {"codes padded otherwise, signed, tabbed", "0\nA\n  008  \nB\n\t+10\t\nC\n", {{0, "A"}, {8, "B"}, {10, "C"}}},
        {"a value with a CR inside and a long value", "  1\na\rb\n  3\n" + std::string(40, 'x') + "\n",
         {{1, "a\rb"}, {3, std::string(40, 'x')}}},
        {"the last line without its end", "  0\nEOF", {{0, "EOF"}}},
        {"the last line ending in a lone CR", "  0\r\nEOF\r", {{0, "EOF"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<DxfTag> split;
        dxfSplitTags(c.text, split);
        ASSERT_EQ(split.size(), c.tags.size());
        for (size_t i = 0; i < split.size(); ++i) {
            EXPECT_EQ(split[i].code, c.tags[i].first) << "tag " << i;
            EXPECT_EQ(split[i].value(), c.tags[i].second) << "tag " << i;
        }
        // Split a few tags at a time, from where the last piece ended: the same tags.
        for (size_t most : {1, 2, 5}) {
            std::vector<DxfTag> pieces;
            for (size_t from = 0; from < c.text.size();) {
                const size_t before = pieces.size();
                from += dxfSplitSomeTags(std::string_view(c.text).substr(from), pieces, most);
                ASSERT_LE(pieces.size() - before, most);
                if (pieces.size() == before)
                    break;
            }
            ASSERT_EQ(pieces.size(), split.size()) << most << " at a time";
            for (size_t i = 0; i < split.size(); ++i)
                EXPECT_TRUE(pieces[i].code == split[i].code && pieces[i].value() == split[i].value())
                    << most << " at a time, tag " << i;
        }
        // The whole-file read of the same text (ended by EOF) agrees.
        const std::string file = c.text.find("EOF") == std::string::npos ? c.text + "  0\nEOF\n" : c.text;
        std::vector<DxfTag> read;
        ASSERT_TRUE(DxfTagReader("f.dxf").read(file, read).ok());
        for (size_t i = 0; i < split.size(); ++i)
            EXPECT_EQ(read[i].value(), split[i].value()) << "tag " << i;
    }
}

TEST(DxfLineFeed, FindsTheFirstLineFeedAsAByteSearchDoes)
{
    // The word-at-a-time test must neither miss a line feed nor take a byte
    // next to one for it: the bytes around are those closest to '\n' in
    // the test's arithmetic (0x0B, 0x09, 0x8A, 0x00, 0xFF), at every start
    // alignment, for lines shorter and longer than the words looked at.
    const char near[] = {'\x0B', '\x09', '\x8A', '\0', '\xFF', 'a', '\r', '\x01'};
    std::mt19937 random(7);
    std::string buffer(128, ' ');
    for (size_t start = 0; start < 8; ++start)
        for (size_t length = 0; length <= 72; ++length)
            for (int feed = -1; feed < static_cast<int>(length); ++feed)
                for (int round = 0; round < 2; ++round) {
                    for (char& b : buffer)
                        b = near[random() % sizeof near];
                    if (feed >= 0)
                        buffer[start + static_cast<size_t>(feed)] = '\n';
                    const char* p = buffer.data() + start;
                    const void* expected = std::memchr(p, '\n', length);
                    const char* found = dxfLineFeed(p, p + length);
                    ASSERT_EQ(found, expected ? static_cast<const char*>(expected) : p + length)
                        << "start " << start << ", length " << length << ", feed at " << feed;
                }
}

TEST(DxfTagList, ReleasedBlocksLeaveTheLaterTagsAndTheCount)
{
    std::vector<std::pair<int, std::string>> expected;
    const std::string text = tagText({3, 4}, 65536 * 3 + 10, expected);
    DxfTagList list;
    ASSERT_TRUE(DxfTagReader("f.dxf").read(text, list).ok());
    // Blocks wholly before tag 65536 * 2 + 7 go; the one holding it stays.
    list.release(65536 * 2 + 7);
    list.release(10);  // never takes back what is gone, nor frees anything more
    ASSERT_EQ(list.size(), expected.size());
    for (size_t i = 65536 * 2; i < expected.size(); ++i)
        ASSERT_EQ(list[i].value(), expected[i].second) << "tag " << i;
}

}  // namespace
