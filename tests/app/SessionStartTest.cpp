// How a session starts: without preferences (a batch run writes the
// defaults, a person at a terminal gets the dialog), with a relative
// application-data folder, and with scripts written on other systems.

#include <gtest/gtest.h>

#include "tests/common/AppTestSupport.h"

using namespace zelkatest;

TEST(SessionStart, BatchRunWithoutPreferencesWritesTheDefaultsSaysWhereAndRunsItsFirstCommand)
{
    enum class Feed { Command, Script, StandardInput };
    const struct {
        const char* name;
        Feed feed;
    } cases[] = {{"--command", Feed::Command}, {"--script", Feed::Script}, {"piped standard input", Feed::StandardInput}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder work;
        const std::filesystem::path appData = work.path() / "appdata";
        const std::filesystem::path script = work.path() / "run.scr";
        writeFile(script, "md1\n");
        std::vector<std::string> arguments = {"--appdata", appData.string()};
        RunOptions options;
        if (c.feed == Feed::Command) arguments.insert(arguments.end(), {"--command", "md1"});
        if (c.feed == Feed::Script) arguments.insert(arguments.end(), {"--script", script.string()});
        if (c.feed == Feed::StandardInput) options.stdinPath = script.string();
        RunResult result = runZelkaWith(arguments, options);
        EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
        EXPECT_EQ(readFile(prefsIn(appData)), kDefaultPreferences);
        EXPECT_NE(result.out.find("No preferences were found: the defaults were written to " +
                                  prefsIn(appData).string() + " (change them with mprefs)."),
                  std::string::npos)
            << result.out;
        EXPECT_EQ(result.out.find("Preferences ---"), std::string::npos);
        EXPECT_NE(result.out.find("Command: md1\nbasic test - output to commandline"), std::string::npos)
            << result.out;

        // The next run finds the file and says nothing about it.
        RunResult later = runZelkaWith(arguments, options);
        EXPECT_EQ(later.exitCode, 0);
        EXPECT_EQ(later.out.find("No preferences were found"), std::string::npos);
    }
}

TEST(SessionStart, FirstStartAtATerminalShowsThePreferencesDialogWithTheDefaults)
{
    TempFolder appData;
    TerminalRun terminal({"--appdata", appData.path().string()});
    const std::string dialogPrompt = "Block Editing Suite - Preferences> \0337";
    ASSERT_TRUE(terminal.waitFor("--- Block Editing Suite - Preferences ---"));
    // The form shows the defaults before the user changes them.
    ASSERT_TRUE(terminal.waitFor("(*) m  {IDC_UNITS_M}"));
    ASSERT_TRUE(terminal.waitFor("Size [250]  {IDC_TEXT_SIZE}"));
    ASSERT_TRUE(terminal.waitFor("Zoom  Border [1000]  {IDC_ZOOM_BORDER}"));
    for (const char* action : {"dlg:check IDC_UNITS_FT", "dlg:set IDC_PRECISION 3", "dlg:set IDC_TEXT_SIZE 300",
                               "dlg:set IDC_TEXT_SCALE 0.8", "dlg:set IDC_TEXT_ROTATION -45.5",
                               "dlg:set IDC_ZOOM_BORDER 2500", "dlg:set IDC_CSV_OPENER /usr/bin/libreoffice --calc",
                               "dlg:click IDOK"}) {
        ASSERT_TRUE(terminal.waitFor(dialogPrompt)) << action;
        terminal.type(std::string(action) + "\r");
    }
    ASSERT_TRUE(terminal.waitFor("Command: \0337"));
    terminal.type("\x04");
    RunResult result = terminal.finish();
    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
    EXPECT_EQ(readFile(prefsIn(appData.path())),
              "//\tZelka Systems - Orvane\n//\n//\tConfiguration file for Orvane\n//\n"
              "units\n1\nprecison\n3\ntextSize\n300.00\ntextScale\n0.80\ntextRotation\n-45.50\n"
              "csvOpener\n/usr/bin/libreoffice --calc\nzoomBorder\n2500\ninc\n1\n");
}

TEST(SessionStart, RelativeAppDataFolderIsMadeAndUsedFromTheFolderOfTheRun)
{
    for (const char* relative : {"data", "rel/data", "./deeper/data/"}) {
        SCOPED_TRACE(relative);
        TempFolder work;
        RunOptions options;
        options.folder = work.path();
        RunResult result = runZelkaWith({"--appdata", relative, "--command", "md1"}, options);
        EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
        const std::filesystem::path appData = work.path() / relative;
        EXPECT_EQ(readFile(prefsIn(appData)), kDefaultPreferences);
        EXPECT_TRUE(std::filesystem::is_directory(appData / "ZelkaSystems/Orvane/temp"));
        // The folder is named by its absolute path.
        EXPECT_NE(result.out.find("written to " + work.path().string() + "/"), std::string::npos) << result.out;
    }
}

// Piped into standard input (scripts given with --script are cut into
// lines as ScriptLines.LineEndsAndByteOrderMark checks).
TEST(SessionStart, PipedScriptsWithByteOrderMarkAndAnyLineEndsRunAsWritten)
{
    const struct {
        const char* name;
        std::string bytes;
    } scripts[] = {
        {"byte-order mark", "\xEF\xBB\xBFmd1\nmd6\n"},
        {"byte-order mark and CR LF", "\xEF\xBB\xBFmd1\r\nmd6\r\n"},
        {"CR only", "md1\rmd6\r"},
        {"CR only, no final line end", "md1\rmd6"},
        {"mixed", "md1\r\nmd6\rmd1\n"},
    };
    for (const auto& s : scripts) {
        SCOPED_TRACE(s.name);
        TempFolder work;
        const std::filesystem::path script = work.path() / "run.scr";
        writeFile(script, s.bytes);
        writeDefaultPreferences(work.path());
        RunOptions options;
        options.stdinPath = script.string();
        RunResult result = runZelkaWith({"--appdata", work.path().string()}, options);
        EXPECT_EQ(result.exitCode, 0) << result.out;
        EXPECT_EQ(result.out.find("Unknown command"), std::string::npos) << result.out;
        EXPECT_NE(result.out.find("Command: md1\nbasic test"), std::string::npos) << result.out;
        EXPECT_NE(result.out.find("Command: md6\n"), std::string::npos) << result.out;
    }
}

TEST(SessionStart, UnusableScriptsAndEmptyFileNamesAreRefused)
{
    TempFolder work;
    const std::string folder = work.path().string();
    const std::string missing = (work.path() / "missing.scr").string();
    const struct {
        std::vector<std::string> arguments;
        int status;
        std::string message;
    } cases[] = {
        {{"--script", folder}, 3, "zelka: cannot read the script '" + folder + "': it is a folder"},
        {{"--script", missing}, 3, "zelka: cannot read the script '" + missing + "': No such file or directory"},
        {{"--command", "md1", "--save-as", ""}, 2, "zelka: option --save-as needs a non-empty value"},
        {{"--script", ""}, 2, "zelka: option --script needs a non-empty value"},
        {{"--appdata", "", "--command", "md1"}, 2, "zelka: option --appdata needs a non-empty value"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        RunResult result = runZelka(c.arguments);
        EXPECT_EQ(result.exitCode, c.status) << result.out << result.err;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_EQ(result.out.find("Command:"), std::string::npos) << result.out;
    }
}
