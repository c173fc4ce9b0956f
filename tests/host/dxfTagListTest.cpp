// The compact tag list a drawing keeps of its file: every tag handed back
// must be the tag the plain reader finds, whatever its length or place.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <numeric>
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

TEST(DxfLineFeeds, FindsTheNextLineFeedAsAByteSearchDoes)
{
    // Texts of every length around the 64-byte blocks, each in a buffer of
    // exactly its size (a read past its end is the sanitizer run's to
    // catch), with line feeds sparse and dense; the line ends are asked for
    // as a reader asks (each from just past the last), and then from points
    // in a shuffled order, which must not be answered from a stale block.
    std::mt19937 random(7);
    for (size_t length = 0; length <= 200; ++length)
        for (int density : {0, 1, 8, 64})
            for (size_t start = 0; start < 3; ++start) {
                std::vector<char> text(length);
                for (char& b : text)
                    b = density > 0 && static_cast<int>(random() % 64) < density ? '\n'
                                                                               : "\r\x0B\x8A\0a"[random() % 5];
                const char* begin = text.data();
                const char* end = begin + length;
                auto expected = [&](const char* p) {
                    const void* found = std::memchr(p, '\n', static_cast<size_t>(end - p));
                    return found ? static_cast<const char*>(found) : end;
                };
                DxfLineFeeds feeds(end);
                for (const char* p = begin + std::min(start, length); p < end;) {
                    const char* found = feeds.next(p);
                    ASSERT_EQ(found, expected(p)) << "length " << length << ", from " << (p - begin);
                    p = found + 1;
                }
                std::vector<size_t> points(length);
                std::iota(points.begin(), points.end(), size_t{0});
                std::shuffle(points.begin(), points.end(), random);
                for (size_t at : points)
                    ASSERT_EQ(feeds.next(begin + at), expected(begin + at)) << "length " << length << ", at " << at;
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
