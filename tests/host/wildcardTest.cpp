#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "host/ed/acutWcMatch.h"
#include "tests/host/geOracle.h"

namespace {

struct Case {
    const char* pattern;
    const char* string;
    int expected;
};

void runTable(const std::vector<Case>& table, bool ignoreCase)
{
    for (const Case& c : table)
        EXPECT_EQ(acutWcMatchEx(c.string, c.pattern, ignoreCase), c.expected)
            << "pattern \"" << c.pattern << "\" string \"" << c.string << "\"";
}

}  // namespace

// Patterns of plain letters, *, ? and single ranges are compared with an
// ordinary glob in GlobCoreAgreesWithPythonFnmatch; this table holds what a
// glob does not have: sets, the single-character classes, negation,
// alternatives, escapes and the documented examples.
TEST(Wildcard, CaseTable)
{
    runTable({
                 // The examples CAD documentation gives for its wild-card characters.
                 {"???,~*m*,N*", "Name", 1},  // the last alternative matches
                 {"*`,*", "Name", 0},
                 {"*`,*", "Na,me", 1},
                 {"~*AB*", "XXABXX", 0},
                 {"~*AB*", "XXAXBX", 1},
                 {"[AB]C", "AC", 1},
                 {"[AB]C", "BC", 1},
                 {"[AB]C", "CC", 0},
                 {"[~AB]C", "XC", 1},
                 {"[~AB]C", "AC", 0},
                 {"[A-G]C", "GC", 1},
                 {"[A-G]C", "HC", 0},
                 {"`~AB", "~AB", 1},
                 {"`~AB", "XY", 0},
                 {"*test[4-69]*", "this is a string - test1 test2 the end", 0},
                 {"*test[4-61]*", "this is a string - test1 test2 the end", 1},
                 {"ABC,XYZ*,*end", "this is a string - test1 test2 the end", 1},
                 {"STR[1-38]", "STR8", 1},
                 {"STR[1-38]", "STR5", 0},
                 // Single-character classes: digit, letter, non-alphanumeric, any.
                 {"ROOM-#*", "ROOM-1", 1},
                 {"ROOM-#*", "ROOM-12A", 1},
                 {"ROOM-#*", "ROOM-A1", 0},
                 {"ROOM-#*", "ROOM-", 0},
                 {"@@#", "AB1", 1},
                 {"@@#", "A11", 0},
                 {"@", "ä", 1},
                 {"@", "Ж", 1},
                 {"@", "_", 0},
                 {".", "-", 1},
                 {".", " ", 1},
                 {".", "a", 0},
                 {".", "7", 0},
                 {"?", "", 0},
                 {"?", "é", 1},  // one character, two bytes
                 {"??", "é", 0},
                 // Stars and negation.
                 {"~*.dwg", "plan.dxf", 1},
                 {"~*.dwg", "plan.dwg", 0},
                 {"~*.dwg", "plan-dwg", 0},  // . is any non-alphanumeric character
                 {"*.dwg", "plandwg", 0},
                 {"*a*a*a*a*b", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", 0},
                 {"~", "", 0},  // negated empty pattern: any non-empty string
                 {"~", "x", 1},
                 {"a~b", "a~b", 1},  // a tilde that does not lead is literal
                 // A leading ~ negates every alternative together ...
                 {"~A*,B*", "Apple", 0},
                 {"~A*,B*", "Banana", 0},
                 {"~A*,B*", "Cherry", 1},
                 {"~,x", "", 0},
                 {"~,x", "x", 0},
                 {"~,x", "y", 1},
                 // ... and a ~ leading a later alternative is an ordinary character.
                 {"x,~y*", "x", 1},
                 {"x,~y*", "yes", 0},
                 {"x,~y*", "no", 0},
                 {"x,~y*", "~yes", 1},
                 // Escapes, commas and empty patterns.
                 {"`*", "*", 1},
                 {"`*", "a", 0},
                 {"`#", "#", 1},
                 {"`#", "1", 0},
                 {"a``b", "a`b", 1},
                 {"a`", "a`", 1},  // a trailing reverse quote stands for itself
                 {"", "", 1},
                 {"", "a", 0},
                 {",", "", 1},
                 {",", ",", 0},
                 {"`,", ",", 1},
                 {"A,,B", "", 1},
                 {"A,B", "B", 1},
                 {"A,B", "AB", 0},
                 // Bracket details.
                 {"[~A-C]*", "Door", 1},
                 {"[~A-C]*", "Bath", 0},
                 {"[~A-C]*", "", 0},
                 {"[-AB]", "-", 1},  // a dash first is literal
                 {"[AB-]", "-", 1},  // and last
                 {"[~-AB]", "-", 0},  // and right after the negation
                 {"[~-AB]", "C", 1},
                 {"[A~B]", "~", 1},  // a tilde not first is literal
                 {"[]A]", "]", 1},   // a closing bracket first is literal
                 {"[~]A]", "]", 0},
                 {"[~]A]", "B", 1},
                 {"[*?,]", ",", 1},  // inside brackets everything is literal
                 {"[*?,]", "x", 0},
                 {"[C-A]", "B", 1},  // a reversed range still spans its ends
                 {"[ab", "[ab", 1},  // an unclosed bracket is literal
                 {"[ab", "a", 0},
                 {"[а-я]", "ж", 1},  // ranges over code points (Cyrillic)
             },
             false);
}

TEST(Wildcard, CaseFoldingAndUtf8)
{
    // acutWcMatch ignores case; acutWcMatchEx can be asked not to.
    EXPECT_EQ(acutWcMatch("room-12", "ROOM-#*"), 1);
    EXPECT_EQ(acutWcMatch("LWPOLYLINE", "*polyline"), 1);
    EXPECT_EQ(acutWcMatch("bath", "[A-C]*"), 1);
    EXPECT_EQ(acutWcMatch("Door", "[~a-c]*"), 1);
    EXPECT_EQ(acutWcMatch("bath", "[~a-c]*"), 0);
    EXPECT_EQ(acutWcMatch("KÜCHE", "küche"), 1);
    EXPECT_EQ(acutWcMatch("ŁAZIENKA", "łazienka"), 1);
    EXPECT_EQ(acutWcMatch("ΚΟΥΖΙΝΑ", "κουζινα"), 1);
    EXPECT_EQ(acutWcMatch("КУХНЯ", "кухня"), 1);
    EXPECT_EQ(acutWcMatchEx("room", "ROOM", false), 0);
    EXPECT_EQ(acutWcMatchEx("ROOM", "ROOM", false), 1);
    EXPECT_EQ(acutWcMatchEx("küche", "KÜCHE", false), 0);
    // Multi-byte characters are single characters for ? and sets.
    EXPECT_EQ(acutWcMatch("日本", "??"), 1);
    EXPECT_EQ(acutWcMatch("日本", "[日月]本"), 1);
    EXPECT_EQ(acutWcMatch("€5", ".#"), 1);
    // Bytes that are not UTF-8 match only themselves.
    EXPECT_EQ(acutWcMatch("a\xff" "b", "a?b"), 1);
    EXPECT_EQ(acutWcMatch("a\xff" "b", "a\xff" "b"), 1);
    EXPECT_EQ(acutWcMatch("a\xfe" "b", "a\xff" "b"), 0);
    EXPECT_EQ(acutWcMatch("\xc3", "?"), 1);  // a truncated sequence is one stand-in character
    EXPECT_EQ(acutWcMatch(nullptr, "*"), 0);
    EXPECT_EQ(acutWcMatch("x", nullptr), 0);
}

// Literals then a star ("ROOM-*") are compared with a name in place; a
// bracket set of one letter is the same pattern taken the general way. Both
// must answer alike for names that are shorter, of other case, non-ASCII
// where the literals stand or after them, or not UTF-8.
TEST(Wildcard, LiteralsThenStarAgreeWithTheGeneralWay)
{
    const std::vector<std::string> names = {
        "ROOM-1", "room-1", "Room-", "ROOM", "ROOM-", "ROOM-\xc3\xa9t\xc3\xa9", "R\xc3\x96OM-1", "\xc4\xb0", "ROO",
        "", "ROOM_1", "XROOM-1", "ROOM-*", "ROOM-\xff", "\xffROOM-", "room-GROSS_AREA", "\xc4\xb0TEM-1", "item-1",
        std::string("ROOM-1\0x", 8)};
    const std::vector<std::pair<std::string, std::string>> patterns = {
        {"ROOM-*", "[R]OOM-*"}, {"room-**", "[r]oom-*"}, {"*", "*,x"}, {"i*", "[i]*"}, {"`#R*", "[#]R*"}};
    for (const bool ignoreCase : {true, false})
        for (const auto& [fast, general] : patterns)
            for (const std::string& name : names)
                EXPECT_EQ(acutWcMatchEx(name.c_str(), fast.c_str(), ignoreCase),
                          acutWcMatchEx(name.c_str(), general.c_str(), ignoreCase))
                    << "pattern " << fast << " name " << name << " ignoring case " << ignoreCase;
    // Random names and patterns: the first literal bracketed is the general
    // way (not an I, whose bracketed form does not fold the Turkish capital).
    std::mt19937 rng(20261208);
    const std::vector<std::string> pieces = {"R", "r", "O", "o", "M", "-", "1", "_", "Z", "\xc3\x96", "\xc4\xb0", "\xff"};
    const std::string literals = "RrOoMm-1_Zz";
    int matched = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string pattern, name;
        const int literalCount = 1 + static_cast<int>(rng() % 4);
        for (int i = 0; i < literalCount; ++i)
            pattern += literals[rng() % literals.size()];
        for (int i = static_cast<int>(rng() % 7); i > 0; --i)
            name += pieces[rng() % pieces.size()];
        const std::string fast = pattern + "*";
        const std::string general = "[" + pattern.substr(0, 1) + "]" + pattern.substr(1) + "*";
        const bool ignoreCase = rng() % 2 == 0;
        const int got = acutWcMatchEx(name.c_str(), fast.c_str(), ignoreCase);
        EXPECT_EQ(got, acutWcMatchEx(name.c_str(), general.c_str(), ignoreCase))
            << "pattern " << fast << " name " << name << " ignoring case " << ignoreCase;
        matched += got;
    }
    EXPECT_GT(matched, 50);  // both answers occur
    EXPECT_EQ(acutWcMatch("room-12", "ROOM-*"), 1);
    EXPECT_EQ(acutWcMatch("ROO", "ROOM-*"), 0);
    EXPECT_EQ(acutWcMatchEx("room-12", "ROOM-*", false), 0);
    // The Turkish capital dotted I folds to i, outside ASCII: the general way.
    EXPECT_EQ(acutWcMatch("\xc4\xb0tem-1", "ITEM-*"), 1);
}

TEST(Wildcard, GlobCoreAgreesWithPythonFnmatch)
{
    // For patterns of letters, *, ?, [..] and [~..] the matcher is an ordinary
    // glob: compare with Python's fnmatchcase on random pairs ([~ becomes [!).
    std::mt19937 rng(31337);
    const std::string letters = "abc";
    std::vector<std::pair<std::string, std::string>> pairs;
    std::string script = "import fnmatch\npairs = [\n";
    for (int k = 0; k < 3000; ++k) {
        std::string pattern, glob, text;
        int len = rng() % 7;
        for (int i = 0; i < len; ++i) {
            int r = rng() % 10;
            if (r < 2) {
                pattern += '*';
                glob += '*';
            } else if (r < 4) {
                pattern += '?';
                glob += '?';
            } else if (r < 5) {
                bool negate = rng() % 2;
                char a = letters[rng() % 3], b = letters[rng() % 3];
                if (a > b)
                    std::swap(a, b);
                std::string body = std::string(1, a) + "-" + std::string(1, b);
                pattern += std::string("[") + (negate ? "~" : "") + body + "]";
                glob += std::string("[") + (negate ? "!" : "") + body + "]";
            } else {
                char c = letters[rng() % 3];
                pattern += c;
                glob += c;
            }
        }
        int tlen = rng() % 7;
        for (int i = 0; i < tlen; ++i)
            text += letters[rng() % 3];
        pairs.push_back({pattern, text});
        script += "  ('" + glob + "', '" + text + "'),\n";
    }
    script += "]\nvalues = [1 if fnmatch.fnmatchcase(t, g) else 0 for g, t in pairs]\n";
    std::vector<double> expected = georacle::runPython(script);
    ASSERT_EQ(expected.size(), pairs.size());
    int matches = 0;
    for (size_t k = 0; k < pairs.size(); ++k) {
        int got = acutWcMatchEx(pairs[k].second.c_str(), pairs[k].first.c_str(), false);
        EXPECT_EQ(got, static_cast<int>(expected[k])) << "pattern " << pairs[k].first << " text " << pairs[k].second;
        matches += got;
    }
    EXPECT_GT(matches, 300);  // both answers occur
}
