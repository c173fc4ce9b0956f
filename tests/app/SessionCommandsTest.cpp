// The host's session commands SAVE, QSAVE, SAVEAS, QUIT and EXIT, driven by
// scripts through the zelka program.

#include <gtest/gtest.h>

#include "tests/app/SaveTestSupport.h"

using namespace savetest;

namespace {

RunResult runScript(const Work& work, const std::string& lines, std::vector<std::string> extra = {})
{
    const fs::path script = work.folder() / "session.scr";
    writeFile(script, lines);
    std::vector<std::string> arguments = {"--script", script.string()};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    arguments.push_back(work.drawing().string());
    RunResult r = work.run(arguments);
    fs::remove(script);
    return r;
}

size_t count(const std::string& text, const std::string& part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

}  // namespace

TEST(SessionCommands, SaveAsAsksForTheNameAndTheDrawingMovesThere)
{
    struct Case {
        const char* what;
        const char* name;   // typed at the prompt, in the work folder ("" cancels)
        const char* more;   // answers after it
        const char* file;   // where the drawing should be saved ("" none)
        bool existedBefore;
        int exitCode;
    };
    const Case cases[] = {
        {"a new name", "copy.dxf", "", "copy.dxf", false, 0},
        {"a name without extension gets .dxf", "plain", "", "plain.dxf", false, 0},
        {"an existing file, replaced", "other.dxf", "Yes\n", "other.dxf", true, 0},
        {"an existing file, kept (Enter is No)", "other.dxf", "\n", "", true, 0},
        {"a DWG name", "plan.dwg", "", "", false, 1},
        {"cancelled", "", "", "", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Work work;
        const fs::path other = work.folder() / "other.dxf";
        if (c.existedBefore) writeFile(other, "someone else's drawing\n");
        const std::string original = readFile(work.drawing());
        const std::string answers = *c.name ? (work.folder() / c.name).string() + "\n" + c.more : "^C\n";
        RunResult r = runScript(work, std::string(kChange) + "\nSAVEAS\n" + answers + (*c.file ? "SAVE\n" : ""));
        EXPECT_EQ(r.exitCode, c.exitCode) << r.out << r.err;
        EXPECT_NE(r.out.find("Save drawing as <" + work.drawing().string() + ">: "), std::string::npos) << r.out;
        if (*c.file) {
            const fs::path saved = work.folder() / c.file;
            EXPECT_NE(readFile(saved), original);
            // the drawing now is that file: the later SAVE writes there, not to office.dxf
            EXPECT_EQ(readFile(work.drawing()), original);
            EXPECT_NE(r.out.find("Saved " + saved.string() + "\n"), std::string::npos) << r.out;
            EXPECT_EQ(count(r.out, "Saved " + saved.string() + "\n"), 2u) << r.out;
        } else {
            if (c.existedBefore) {
                EXPECT_EQ(readFile(other), "someone else's drawing\n");
            }
            EXPECT_FALSE(fs::exists(work.folder() / "plan.dwg"));
        }
    }
}

// QUIT and EXIT ask about unsaved changes only when there are some; the
// answer decides, Cancel goes back to the Command: prompt.
TEST(SessionCommands, QuitAsksAboutUnsavedChanges)
{
    struct Case {
        const char* what;
        std::string script;
        int exitCode;
        bool asked;
        bool saved;
        bool sessionWentOn;  // the command after QUIT ran
    };
    const Case cases[] = {
        {"no changes: no question", "mlb\n\n\nQUIT\nmd1\n", 0, false, false, false},
        {"changes saved first: no question", "mbta\nQSAVE\nEXIT\nmd1\n", 0, false, true, false},
        {"undone after the save: asked again", "mbta\nQSAVE\nU\nQUIT\nNo\nmd1\n", 0, true, true, false},
        {"Yes saves and ends", "mbta\nQUIT\nYes\nmd1\n", 0, true, true, false},
        {"No discards and ends", "mbta\nquit\nn\nmd1\n", 0, true, false, false},
        {"Enter takes Yes", "mbta\nEXIT\n\nmd1\n", 0, true, true, false},
        {"Cancel goes on", "mbta\nQUIT\nCancel\nmd1\n", 0, true, false, true},
        {"^C goes on", "mbta\nEXIT\n^C\nmd1\n", 0, true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Work work;
        const std::string original = readFile(work.drawing());
        RunResult r = runScript(work, c.script);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.out << r.err;
        EXPECT_EQ(r.out.find("Save changes to " + work.drawing().string() + "?") != std::string::npos, c.asked)
            << r.out;
        if (c.asked) {
            EXPECT_NE(r.out.find("[Yes/No/Cancel] <Yes>: "), std::string::npos) << r.out;
        }
        EXPECT_EQ(readFile(work.drawing()) != original, c.saved);
        EXPECT_EQ(fs::exists(work.drawing().string() + ".bak"), c.saved);
        EXPECT_EQ(r.out.find("Command: md1") != std::string::npos, c.sessionWentOn) << r.out;
    }
}

// After QUIT the --save option does not save again what the answer discarded.
TEST(SessionCommands, QuitTakesPrecedenceOverTheSaveOption)
{
    Work work;
    const std::string original = readFile(work.drawing());
    RunResult r = runScript(work, "mbta\nQUIT\nNo\n", {"--save"});
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_EQ(readFile(work.drawing()), original);
    EXPECT_FALSE(fs::exists(work.drawing().string() + ".bak"));
}

// A read-only drawing (locked by another session) is not saved by SAVE;
// the message names SAVEAS, which still works.
TEST(SessionCommands, SaveOfAReadOnlyDrawingNamesSaveAs)
{
    Work work;
    writeFile(work.drawing().string() + ".zelka-lock",
              "user=mira\nhost=drafting-pc-7\npid=1\nsince=2026-12-06 03:10:00 UTC\n");
    const std::string original = readFile(work.drawing());
    const fs::path copy = work.folder() / "mine.dxf";
    RunResult r = runScript(work, "mbta\nSAVE\nSAVEAS\n" + copy.string() + "\n");
    EXPECT_EQ(r.exitCode, 1) << r.out << r.err;
    EXPECT_NE(r.out.find(work.drawing().string() + " is open read-only: mira on host drafting-pc-7 (process 1) "
                                                   "since 2026-12-06 03:10:00 UTC has it open. Save the drawing "
                                                   "under another name (--save-as FILE, or SAVEAS)"),
              std::string::npos)
        << r.out;
    EXPECT_EQ(readFile(work.drawing()), original);
    EXPECT_NE(readFile(copy), original);
    EXPECT_FALSE(fs::exists(copy.string() + ".zelka-lock"));
}
