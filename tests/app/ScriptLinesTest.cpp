// How script bytes are cut into lines: every line end of the common systems,
// a byte-order mark only at the very start, no empty line from a final end.

#include <gtest/gtest.h>

#include "host/ed/ScriptInput.h"

TEST(ScriptLines, LineEndsAndByteOrderMark)
{
    using Lines = std::vector<std::string>;
    const struct {
        const char* name;
        std::string bytes;
        Lines lines;
    } cases[] = {
        {"nothing", "", {}},
        {"one empty line", "\n", {""}},
        {"lone CR is an empty line", "\r", {""}},
        {"CR LF is one end", "\r\n", {""}},
        {"no final end", "md1", {"md1"}},
        {"LF", "md1\nmd6\n", {"md1", "md6"}},
        {"CR LF", "md1\r\nmd6\r\n", {"md1", "md6"}},
        {"CR", "md1\rmd6\r", {"md1", "md6"}},
        {"CR then CR LF", "a\r\r\nb", {"a", "", "b"}},
        {"LF then CR", "a\n\rb", {"a", "", "b"}},
        {"blanks kept", " a b \n", {" a b "}},
        {"byte-order mark", "\xEF\xBB\xBFmd1\n", {"md1"}},
        {"byte-order mark alone", "\xEF\xBB\xBF", {}},
        {"byte-order mark later is text", "a\n\xEF\xBB\xBF" "b", {"a", "\xEF\xBB\xBF" "b"}},
        {"half a byte-order mark is text", "\xEF\xBBx", {"\xEF\xBBx"}},
        {"zero byte is text", std::string("a\0b\n", 4), {std::string("a\0b", 3)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ScriptInput::splitLines(c.bytes), c.lines);
    }
}

TEST(ScriptLines, CancelLineAndEndOfInput)
{
    ScriptInput input;
    input.addText("^C\r^C \rx");
    EXPECT_EQ(input.readLine().kind, InputSource::Kind::Cancel);
    InputSource::Result blank = input.readLine();
    EXPECT_EQ(blank.kind, InputSource::Kind::Line);
    EXPECT_EQ(blank.text, "^C ");
    EXPECT_EQ(input.readLine().text, "x");
    EXPECT_EQ(input.readLine().kind, InputSource::Kind::End);
    EXPECT_EQ(input.readLine().kind, InputSource::Kind::End);
}
