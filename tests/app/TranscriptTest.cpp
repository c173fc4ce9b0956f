// The transcript on standard output cannot always be written: a reader that
// stops early (zelka ... | head -1), a full disk, no standard output at all.
// None of that stops the commands or the save; it is reported at the end.

#include <gtest/gtest.h>

#include "tests/common/ZelkaProcess.h"

using namespace zelkatest;

namespace {

std::string repeated(const std::string& line, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i) text += line + "\n";
    return text;
}

}  // namespace

TEST(Transcript, WriteErrorsNeitherStopTheCommandsNorTheSaveAndAreReportedAtTheEnd)
{
    struct Case {
        const char* name;
        std::string stdoutPath;  // "" for the pipe closed after one line
        std::string commands;
        int status;
        const char* reason;
    };
    // m? prints some 2 KB: a hundred of them overflow any pipe buffer after
    // the reader has gone.
    const Case cases[] = {
        {"pipe closed after the first line", "", repeated("m?", 100) + "md1", 4, "Broken pipe"},
        {"full disk", "/dev/full", repeated("m?", 3) + "md1", 4, "No space left on device"},
        {"full disk and a failing command", "/dev/full", "md4\nmd1", 1, "No space left on device"},
        {"no standard output", kClosed, "m?\nmd1", 4, "Bad file descriptor"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder work;
        const std::filesystem::path saved = work.path() / "new.dxf";
        std::vector<std::string> arguments = {"--appdata", (work.path() / "appdata").string(), "--command",
                                              c.commands,  "--save-as", saved.string()};
        RunResult result;
        if (c.stdoutPath.empty()) {
            result = runZelkaIntoPipeClosedAfterFirstLine(arguments);
            EXPECT_FALSE(result.out.empty());
        } else {
            RunOptions options;
            options.stdoutPath = c.stdoutPath;
            result = runZelkaWith(arguments, options);
        }
        EXPECT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, c.status) << result.err;
        EXPECT_NE(result.err.find(std::string("zelka: the transcript could not be written: ") + c.reason),
                  std::string::npos)
            << result.err;
        // The save still happened, and no transcript text went into it.
        const std::string drawing = readFile(saved);
        EXPECT_EQ(drawing.rfind("  0\nSECTION\n", 0), 0u) << drawing.substr(0, 200);
        EXPECT_EQ(drawing.find("Command:"), std::string::npos);
        EXPECT_NE(drawing.find("EOF"), std::string::npos);
    }
}
