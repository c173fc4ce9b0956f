// The shared text rules: ASCII-only case folding and trimming.

#include <gtest/gtest.h>

#include "infra/AsciiText.h"

TEST(AsciiText, UpperFoldsOnlyAsciiLetters)
{
    EXPECT_EQ(asciiUpper("room-1 Att-Aux_z"), "ROOM-1 ATT-AUX_Z");
    // UTF-8 bytes pass unchanged ("é" is C3 A9), whatever the locale.
    EXPECT_EQ(asciiUpper("caf\xC3\xA9"), "CAF\xC3\xA9");
    std::string text = "model";
    asciiUpperInPlace(text);
    EXPECT_EQ(text, "MODEL");
}

TEST(AsciiText, TrimTakesTheBlanksAtBothEndsOnly)
{
    struct Case {
        std::string text, blanks, expected;
    };
    const Case cases[] = {{" \t a b \r\n", std::string(kTrimmedBlanks), "a b"},
                          {" \t\r\n", std::string(kTrimmedBlanks), ""},
                          {"", std::string(kTrimmedBlanks), ""},
                          {"x", std::string(kTrimmedBlanks), "x"},
                          {" link\r\n", " \t", "link\r\n"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(trim(c.text, c.blanks), c.expected);
    }
    EXPECT_EQ(trim("  value\t"), "value");
}
