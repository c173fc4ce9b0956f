// The terminal line editor driven by key bytes through a pipe.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "host/ed/TerminalInput.h"

namespace {

// Keys written into a pipe that the editor reads; what it draws goes to a
// second pipe that is drained and ignored.
class Keys : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(pipe(keys_), 0);
        ASSERT_EQ(pipe(screen_), 0);
        fcntl(screen_[0], F_SETFL, O_NONBLOCK);
        fcntl(screen_[1], F_SETFL, O_NONBLOCK);
    }
    void TearDown() override
    {
        for (int fd : {keys_[0], keys_[1], screen_[0], screen_[1]}) {
            if (fd >= 0) close(fd);
        }
    }
    void type(const std::string& bytes) { ASSERT_EQ(write(keys_[1], bytes.data(), bytes.size()), (ssize_t)bytes.size()); }
    void endOfKeys()
    {
        close(keys_[1]);
        keys_[1] = -1;
    }
    std::string screen()
    {
        std::string drawn;
        char buffer[4096];
        ssize_t got;
        while ((got = read(screen_[0], buffer, sizeof buffer)) > 0) drawn.append(buffer, static_cast<size_t>(got));
        return drawn;
    }
    TerminalInput editor() { return TerminalInput(keys_[0], screen_[1]); }
    int keys_[2] = {-1, -1};
    int screen_[2] = {-1, -1};
};

}  // namespace

TEST_F(Keys, EditingKeysChangeTheLineAtTheCursor)
{
    TerminalInput input = editor();
    input.forceTerminal();
    // "ab", left, "c" -> "acb"; Home, Delete -> "cb"; End, Backspace -> "c";
    // "x", Ctrl-A, "y" -> "ycx".
    type("ab\x1b[Dc\x1b[H\x1b[3~\x1b[F\x7fx\x01y\r");
    InputSource::Result result = input.readLine();
    EXPECT_EQ(result.kind, InputSource::Kind::Line);
    EXPECT_EQ(result.text, "ycx");
    EXPECT_NE(screen().find("\r\n"), std::string::npos);
}

TEST_F(Keys, EscapeAndCtrlCCancelCtrlDEndsOnAnEmptyLine)
{
    TerminalInput input = editor();
    input.forceTerminal();
    type("abc\x1b");
    EXPECT_EQ(input.readLine().kind, InputSource::Kind::Cancel);
    type("abc\x03");
    EXPECT_EQ(input.readLine().kind, InputSource::Kind::Cancel);
    type("\r");
    InputSource::Result empty = input.readLine();
    EXPECT_EQ(empty.kind, InputSource::Kind::Line);
    EXPECT_EQ(empty.text, "");
    type("\x04");
    EXPECT_EQ(input.readLine().kind, InputSource::Kind::End);
}

TEST_F(Keys, HistoryRecallsEarlierAnswersAndKeepsTheDraft)
{
    TerminalInput input = editor();
    input.forceTerminal();
    type("mprefs\r");
    input.readLine();
    type("md1\r");
    input.readLine();
    type("\x1b[A\x1b[A\r");  // two up: the older answer
    EXPECT_EQ(input.readLine().text, "mprefs");
    type("dr\x1b[A\x1b[B\r");  // up then down returns to the draft
    EXPECT_EQ(input.readLine().text, "dr");
    EXPECT_EQ(input.history(), (std::vector<std::string>{"mprefs", "md1", "mprefs", "dr"}));
}

TEST_F(Keys, MultibyteCharactersMoveAsOne)
{
    TerminalInput input = editor();
    input.forceTerminal();
    type("a\xc3\xa9\x7f\x7f" "b\xc3\xa9\x1b[Dx\r");  // "aé", two backspaces, "bé", left, "x"
    EXPECT_EQ(input.readLine().text, "bx\xc3\xa9");
}

TEST_F(Keys, PlainInputReadsLinesAndEchoes)
{
    TerminalInput input = editor();
    EXPECT_FALSE(input.isInteractive());
    EXPECT_TRUE(input.needsEcho());
    type("md1\r\n^C\nlast");
    endOfKeys();
    EXPECT_EQ(input.readLine().text, "md1");
    EXPECT_EQ(input.readLine().kind, InputSource::Kind::Cancel);
    EXPECT_EQ(input.readLine().text, "last");
    EXPECT_EQ(input.readLine().kind, InputSource::Kind::End);
}
