// The input running out while a command waits for an answer: whatever the
// prompt and whatever its default, the command stops without changing the
// drawing, the run ends with status 1, and the transcript stays small.

#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>
#include <memory>

#include "host/ed/AcApDocManager.h"
#include "host/ed/Editor.h"
#include "host/ed/ScriptInput.h"
#include "host/ed/TerminalInput.h"
#include "host/ed/acedInput.h"
#include "host/ed/acedSelection.h"
#include "host/ed/acutPrintf.h"
#include "host/ui/ConsoleMessageBox.h"
#include "host/ui/FileDialog.h"
#include "host/ui/MessageBox.h"
#include "tests/common/AppTestSupport.h"
#include "tests/commands/CommandTestSupport.h"
#include "tests/common/ScriptedCommandLine.h"

using namespace zelkatest;

namespace {

const char* const kEndedInPrompt = "the input ended while a prompt was waiting for an answer";

// A preferences file with the given settings lines after the comment header.
void writePreferencesLines(const std::filesystem::path& appData, const std::string& settings)
{
    writeFile(zelkatest::prefsIn(appData), "//\n//\n//\n//\n" + settings);
}

struct EndCase {
    const char* name;
    std::vector<std::string> lines;  // the whole input: it ends after the last line
    std::string preferences;         // settings lines; empty: the defaults
    std::string notPrinted;          // what the command prints only after its prompts
};

}  // namespace

TEST(InputEnd, EveryCommandPromptStopsTheCommandWithoutChangingTheDrawing)
{
    const EndCase cases[] = {
        // Text prompts whose offered default fails the command's own check.
        {"mut, scale 0.4 shown as 0", {"mut"}, "precison\n0\ntextScale\n0.4\n", "Error Detected"},
        {"mut, scale 0.4 shown as 0, size given", {"mut", "300"}, "precison\n0\ntextScale\n0.4\n", "Error Detected"},
        {"mut, size read as infinity", {"mut"}, "textSize\ninf\n", "Error Detected"},
        {"mut, end at the rotation", {"mut", "300", "0.5"}, "", "Error Detected"},
        // Yes/no prompts of the sync and the listing.
        {"msxta", {"msxta", "0"}, "", "Sync XData perimeter to aux attribute? <False>: False"},
        {"mlb", {"mlb", "1"}, "", "ID,Name,Area"},
        // Text prompts without default.
        {"mfrs, end at the replace text", {"mfrs", "R"}, "", "blocks processed"},
        {"mcsv, no csv opener", {"mcsv"}, "csvOpener\n\n", "Invalid input!"},
        {"md9, end at the output path", {"md9"}, "", "xml test completed"},
        // The number, boolean and text prompts of the diagnostic.
        {"md8, boolean", {"md8"}, "", "boolean user input test successful"},
        {"md8, real", {"md8", "1"}, "", "decimal user input test successful"},
        {"md8, integer", {"md8", "1", "2.5"}, "", "integer user input test successful"},
        {"md8, text", {"md8", "1", "2.5", "3"}, "", "text user input test successful"},
        // Entity picks and a modal dialog.
        {"mdb, pick of a class", {"mdb"}, "", "deleted"},
        {"msc_dsd, pick of anything", {"msc_dsd"}, "", "Block Identifier"},
        {"mprefs, modal dialog", {"mprefs", "dlg:set IDC_PRECISION 5"}, "", "Configuration Not Saved"},
    };
    // What saving with no command writes: a stopped command must leave the same.
    PlanRun baselineRun("spaces.dxf");
    RunResult baselineResult = baselineRun.run({});
    ASSERT_EQ(baselineResult.exitCode, 0) << baselineResult.err;
    const std::string baseline = readFile(baselineRun.saved());
    ASSERT_FALSE(baseline.empty());

    for (const EndCase& c : cases) {
        SCOPED_TRACE(c.name);
        PlanRun plan("spaces.dxf");
        if (!c.preferences.empty()) writePreferencesLines(plan.appdata(), c.preferences);
        const std::string prefsBefore = readFile(zelkatest::prefsIn(plan.appdata()));
        RunResult result = plan.run(c.lines);
        EXPECT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, 1) << result.out.substr(0, 4000);
        EXPECT_LT(result.out.size(), 100000u);
        EXPECT_NE(result.err.find(kEndedInPrompt), std::string::npos) << result.err;
        EXPECT_EQ(result.out.find(c.notPrinted), std::string::npos) << result.out.substr(0, 4000);
        EXPECT_TRUE(readFile(plan.saved()) == baseline) << "the drawing was changed";
        EXPECT_EQ(readFile(zelkatest::prefsIn(plan.appdata())), prefsBefore);
        EXPECT_FALSE(std::filesystem::exists(plan.appdata() / "ZelkaSystems/Orvane/temp/zelkaDiagnosis.xml"));
    }
}

namespace {

// The host's prompts, fed from a source that has ended.
class EndedPrompts : public ScriptedCommandLine {
protected:
    void SetUp() override
    {
        ScriptedCommandLine::SetUp();
        installConsoleMessageBox();
        // The picks need a drawing to pick from.
        ASSERT_EQ(acDocManagerPtr()->appContextNewDocument(), Acad::eOk);
    }
    void TearDown() override
    {
        acDocManagerPtr()->closeActiveDocumentWithoutSaving();
        ScriptedCommandLine::TearDown();
    }
};

}  // namespace

TEST_F(EndedPrompts, EveryPromptKindReturnsCancelAtOnceOnceTheInputHasEnded)
{
    // Each prompt refuses the empty answer or has nothing to fall back on,
    // so only the end of input can end it.
    struct Kind {
        const char* name;
        std::function<int()> ask;
        int ended;  // what the prompt returns at the end of input
    };
    const Kind kinds[] = {
        {"acedGetString", [] { std::string s; return acedGetString(1, "s: ", s); }, RTCAN},
        {"acedGetInt", [] { acedInitGet(RSG_NONULL | RSG_NOZERO, nullptr); int v = 0; return acedGetInt("i: ", &v); },
         RTCAN},
        {"acedGetReal", [] { acedInitGet(RSG_NONULL, nullptr); ads_real v = 0; return acedGetReal("r: ", &v); },
         RTCAN},
        {"acedGetPoint", [] { acedInitGet(RSG_NONULL, nullptr); ads_point p; return acedGetPoint(nullptr, "p: ", p); },
         RTCAN},
        {"acedEntSel", [] { ads_name e; ads_point p; return acedEntSel("pick: ", e, p); }, RTCAN},
        {"acedSSGet", [] { ads_name set; return acedSSGet(nullptr, nullptr, nullptr, nullptr, set); }, RTCAN},
        {"Yes/No message box", [] { return MessageBoxA(nullptr, "Go on?", "Question", MB_YESNO); }, IDNO},
        {"Yes/No/Cancel message box",
         [] { return MessageBoxA(nullptr, "Save?", "Question", MB_YESNOCANCEL); }, IDCANCEL},
        {"open-file prompt", [] { std::string path; return promptForOpenFile("Open", "All|*", path); }, 2},
    };
    for (const Kind& kind : kinds) {
        SCOPED_TRACE(kind.name);
        // A terminal where Ctrl-D was pressed, with more typed after it.
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        const std::string typed = std::string("\x04") + "5\r";
        ASSERT_EQ(write(fds[1], typed.data(), typed.size()), static_cast<ssize_t>(typed.size()));
        close(fds[1]);
        auto terminal = std::make_unique<TerminalInput>(fds[0], -1);
        terminal->forceTerminal();
        Editor::instance().setInput(std::move(terminal));
        EXPECT_EQ(kind.ask(), kind.ended);
        // The input stays ended: the next ask ends at once, printing nothing,
        // and does not read what was typed after Ctrl-D.
        transcript.clear();
        EXPECT_EQ(kind.ask(), kind.ended);
        EXPECT_EQ(transcript.find(':'), std::string::npos) << transcript;
        EXPECT_TRUE(Editor::instance().inputEndedInPrompt());
        Editor::instance().setInput(nullptr);
        close(fds[0]);
    }
}
