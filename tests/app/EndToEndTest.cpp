// The zelka program run end to end: scripts in, transcript and exit status out.

#include <gtest/gtest.h>

#include "ZelkaVersion.h"

#include "tests/common/Shell.h"
#include "tests/common/ZelkaProcess.h"
#include "tests/common/TestRequirements.h"
#include "tests/common/AppTestSupport.h"

using namespace zelkatest;

namespace {

// The help text of m?, item by item as the command prints it.
std::string expectedHelp()
{
    std::string s;
    s += "  command   fullname                      Description\n\n";
    s += "-\n";
    s += "VKR Suite Commands\n";
    s += "    mbe     zelkaBlockEdit                Edit zelka blocks.\n";
    s += "    mbh     zelkaBlockHyperlink           Multiple hyperlink blocks.\n";
    s += "    mbc     zelkaBlockCreate              Create a zelka block.\n";
    s += "    mgabc   zelkaGrossAreaBlockCreate     Create a zelka gross area block.\n";
    s += "    mdb     zelkaDeleteBlock              Delete zelka block.\n";
    s += "    mcsv    zelkaCommaSeperatedValues     Export drawing details to csv.\n";
    s += "-\n-\n";
    s += "Utilities\n";
    s += "    mus     zelkaUpdateSpaces             Recalculate all areas and perimeters\n";
    s += "                                          in the drawing. Updates attributes if xdata\n";
    s += "                                          and attribute value are linked\n";
    s += "    msxta   zelkaSyncXDataToAttributes\t  Copies xdata values to appropriate attributes.\n";
    s += "                                          Recalculates xdata if specified.\n";
    s += "    mbta" + std::string(5, ' ') + "zelkaBlankThirdAttribute" + std::string(5, ' ') +
         "Set all third attribute (aux) values to \"\" i.e. blank\n";
    s += "    mut     zelkaUpdateText               Resize all attribute text to\n";
    s += "                                          preferences default value.\n";
    s += "    maux    zelkaAuxilarator              Add auxillary tags to zelka blocks\n";
    s += "                                          which do not have an auxillary tag.\n";
    s += "    mlb     zelkaListBlocks               List the block name and identifiers\n";
    s += "                                          in the drawing.\n";
    s += "-\n-\n-\n";
    s += "Administration\n";
    s += "    mprefs  zelkaPreferences              Edit preferences.\n";
    s += "-\n-\n-\n";
    s += "Help\n";
    s += "    m?      mhelp                         Displays details of the zelka.\n";
    s += "                                          commands avaialble in this version of\n";
    s += "                                          the Orvane.\n";
    s += "-\n-\n";
    return s;
}

std::string expectedDiagnosticsHelp()
{
    std::string s;
    s += "  command      fullname                      Description\n\n";
    s += "-\n";
    s += "Zelka Diagnostics\n";
    s += "    mda     zelkaDiagnosticAll            Runs all diagnostic routines.\n";
    s += "    md1     zelkaDiagnosticBasic          Tests output to commandline.\n";
    s += "    md3     zelkaDiagnosticDialog         Test Dialogs.\n";
    s += "    md4     zelkaDiagnosticErrorsA        Throws and handles test error.\n";
    s += "    md5     zelkaDiagnosticErrorsB        Throws and handles test error.\n";
    s += "    md6     zelkaDiagnosticErrorsC        Retrieves Function name.\n";
    s += "    md7     zelkaDiagnosticErrorsD        Retrieves File name.\n";
    s += "    md8     zelkaDiagnosticUserInput      Tests User Input.\n";
    s += "    md9     zelkaDiagnosticXML            Test XML output.\n";
    s += "-\n-\n";
    return s;
}

class ZelkaRun : public ::testing::Test {
protected:
    RunResult run(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), {"--appdata", appData.path().string()});
        return runZelka(arguments);
    }
    TempFolder appData;
};

}  // namespace

TEST_F(ZelkaRun, HelpTextsByteForByteWhateverTheCaseAndByLocalName)
{
    writeDefaultPreferences(appData.path());
    RunResult result = run({"--command", "m?\nMHELP\nMd?"});
    EXPECT_EQ(result.exitCode, 0) << result.out;
    EXPECT_EQ(result.out, "Command: m?\n" + expectedHelp() + "Command: MHELP\n" + expectedHelp() + "Command: Md?\n" +
                              expectedDiagnosticsHelp() + "Command: \n");
}

TEST_F(ZelkaRun, UnknownCommandFailsTheRunButLaterCommandsStillRun)
{
    writeDefaultPreferences(appData.path());
    RunResult result = run({"--command", "nosuchcommand\nmd1"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.out.find("Command: nosuchcommand\nUnknown command \"nosuchcommand\"."), std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("Command: md1\nbasic test - output to commandline\nbasic test successful\n"
                              "basic test completed\n"),
              std::string::npos);
}

TEST_F(ZelkaRun, FailingCommandShowsTheErrorChainAndExitsNonZero)
{
    writeDefaultPreferences(appData.path());
    RunResult result = run({"--command", "md4"});
    EXPECT_EQ(result.exitCode, 1);
    // The command-level wrapper over the thrown test error: two levels, the
    // innermost line followed by a blank line and its description.
    std::string box = "\nError Detected.\n===============\n"
                      "blockEdit::diagnosticErrorsA\n\tblockEdit::diagnosticErrorsA\n\ntest error\n";
    EXPECT_EQ(result.out, "Command: md4\nError Test A - throws test error\n" + box +
                              "error handling test completed\nCommand: \n");
}

TEST_F(ZelkaRun, MarkerCommandsExistOnlyOnFullProducts)
{
    writeDefaultPreferences(appData.path());
    // Each marker command is looked up (by global and local name): on a full
    // product it is known (its body is not built yet), elsewhere it is an
    // unknown command; which products are full: HostProduct.DetectedFromTheProductName.
    auto known = [&](const std::string& product, const std::string& command) {
        RunResult result = run({"--host-product", product, "--command", command});
        return result.out.find("Unknown command") == std::string::npos;
    };
    for (const char* command : {"mlmc", "zelkaPieMarkerCreate"}) {
        EXPECT_TRUE(known("AutoCAD 2024", command)) << command;
        EXPECT_FALSE(known("AutoCAD LT 2024", command)) << command;
    }
    // The other commands stay, also on AutoCAD LT.
    RunResult lt = run({"--host-product", "AutoCAD LT 2024", "--command", "m?\nmd1"});
    EXPECT_EQ(lt.exitCode, 0) << lt.out;
}

TEST_F(ZelkaRun, PreferencesDialogChecksItsFieldsBeforeClosing)
{
    writeDefaultPreferences(appData.path());
    RunResult result = run({"--command",
                            "mprefs\n"
                            "dlg:set IDC_PRECISION 12\n"
                            "dlg:click IDOK\n"
                            "dlg:set IDC_PRECISION 4\n"
                            "dlg:set IDC_ZOOM_BORDER 10001\n"
                            "dlg:click IDOK\n"
                            "dlg:set IDC_ZOOM_BORDER 10000\n"
                            "dlg:set IDC_TEXT_SIZE big\n"
                            "dlg:click IDOK\n"
                            "dlg:set IDC_TEXT_SIZE 0.5\n"
                            "dlg:click IDOK"});
    EXPECT_EQ(result.exitCode, 0) << result.out;
    EXPECT_NE(result.out.find("Zelka Edit Preferences " ZELKA_VERSION "\n"), std::string::npos);
    EXPECT_NE(result.out.find("Please enter an integer between 0 and 9."), std::string::npos);
    EXPECT_NE(result.out.find("Please enter a number between 0 and 10000."), std::string::npos);
    EXPECT_NE(result.out.find("Please enter a number."), std::string::npos);
    // A text size below 1 is saved as 1.
    std::string saved = readFile(prefsIn(appData.path()));
    EXPECT_NE(saved.find("precison\n4\ntextSize\n1.00\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("zoomBorder\n10000\n"), std::string::npos) << saved;
}

TEST_F(ZelkaRun, PreferencesDialogCancelKeepsTheFileAndCloseButtonSaves)
{
    writeDefaultPreferences(appData.path());
    std::string before = readFile(prefsIn(appData.path()));
    RunResult cancelled = run({"--command", "mprefs\ndlg:set IDC_PRECISION 5\ndlg:click IDCANCEL"});
    EXPECT_EQ(cancelled.exitCode, 0);
    EXPECT_EQ(readFile(prefsIn(appData.path())), before);

    RunResult escaped = run({"--command", "mprefs\ndlg:set IDC_PRECISION 5\n^C"});
    EXPECT_EQ(escaped.exitCode, 0) << escaped.out;
    EXPECT_EQ(readFile(prefsIn(appData.path())), before);

    RunResult closed = run({"--command", "mprefs\ndlg:set IDC_PRECISION 6\ndlg:close"});
    EXPECT_EQ(closed.exitCode, 0);
    EXPECT_NE(readFile(prefsIn(appData.path())).find("precison\n6\n"), std::string::npos);

    // The next opening shows what was saved.
    RunResult reopened = run({"--command", "mprefs\ndlg:click IDCANCEL"});
    EXPECT_NE(reopened.out.find("Area precision is to [6]  {IDC_PRECISION}"), std::string::npos) << reopened.out;
}

TEST_F(ZelkaRun, PreferencesDialogShowsTooSmallTextSizeAs250)
{
    writeFile(prefsIn(appData.path()), "//\n//\n//\n//\ntextSize\n0\nprecison\n7\n");
    RunResult result = run({"--command", "mprefs\ndlg:click IDOK"});
    EXPECT_NE(result.out.find("Size [250]  {IDC_TEXT_SIZE}"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("Area precision is to [7]"), std::string::npos);
    EXPECT_NE(readFile(prefsIn(appData.path())).find("textSize\n250.00\n"), std::string::npos);
}

TEST_F(ZelkaRun, AboutDialogOpensFromThePreferencesMenu)
{
    writeDefaultPreferences(appData.path());
    RunResult result = run({"--command", "mprefs\ndlg:menu IDM_ABOUT\ndlg:click IDOK\ndlg:click IDCANCEL"});
    EXPECT_EQ(result.exitCode, 0) << result.out;
    EXPECT_NE(result.out.find("--- About - Orvane ---\n  CAD Version\n  BricsCAD  {IDC_CAD_VERSION}\n"),
              std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find(ZELKA_VERSION "  {IDC_MODULE_VERSION}"), std::string::npos);
    EXPECT_NE(result.out.find("Apr 24 2026  {IDC_COMPILE_DATE}"), std::string::npos);
}

TEST_F(ZelkaRun, BadDialogActionsFailTheRun)
{
    writeDefaultPreferences(appData.path());
    RunResult result = run({"--command", "mprefs\ndlg:set IDC_NOPE 1\ndlg:choose IDC_PRECISION 1\ndlg:click IDCANCEL"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.out.find("Dialog action failed: the dialog has no control IDC_NOPE."), std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("Dialog action failed: control IDC_PRECISION (edit) is not a list."),
              std::string::npos);

    RunResult noDialog = run({"--command", "dlg:click IDOK"});
    EXPECT_EQ(noDialog.exitCode, 1);
    EXPECT_NE(noDialog.out.find("No dialog is open."), std::string::npos);
}

TEST_F(ZelkaRun, CancelledPromptEndsTheCommandWithoutFailure)
{
    writeDefaultPreferences(appData.path());
    RunResult result = run({"--command", "md3\n^C\nmd1"});
    EXPECT_EQ(result.exitCode, 0) << result.out;
    EXPECT_NE(result.out.find("dialog test - opens browse for file dialog\n\nOpen - file name (All Files (*.*)): "
                              "*Cancel*\ndialog test completed\n"),
              std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("basic test completed"), std::string::npos);
}

TEST_F(ZelkaRun, ScriptFilesAndCommandTextsAreReadInTheOrderGiven)
{
    writeDefaultPreferences(appData.path());
    TempFolder scripts;
    writeFile(scripts.path() / "first.scr", "md1\r\nmd6\r\n");
    writeFile(scripts.path() / "second.scr", "md7\n");
    RunResult result = run({"--script", (scripts.path() / "first.scr").string(), "--command", "md?", "--script",
                            (scripts.path() / "second.scr").string()});
    EXPECT_EQ(result.exitCode, 0) << result.out;
    size_t md1 = result.out.find("Command: md1\n");
    size_t md6 = result.out.find("Command: md6\n");
    size_t help = result.out.find("Command: md?\n");
    size_t md7 = result.out.find("Command: md7\n");
    ASSERT_NE(md7, std::string::npos);
    EXPECT_LT(md1, md6);
    EXPECT_LT(md6, help);
    EXPECT_LT(help, md7);
    EXPECT_NE(result.out.find("file /"), std::string::npos);
    EXPECT_NE(result.out.find("blockEdit.cpp\n"), std::string::npos);

    RunResult missing = run({"--script", (scripts.path() / "absent.scr").string()});
    EXPECT_EQ(missing.exitCode, 3);
    EXPECT_NE(missing.err.find("absent.scr"), std::string::npos);
}

TEST(ZelkaOptions, HelpVersionAndBadOptions)
{
    RunResult help = runZelka({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* option : {"--command TEXT", "--script FILE", "--save", "--save-as FILE", "--appdata DIR",
                               "--host-product NAME", "dlg:set ID TEXT", "dlg:dblclick ID N", "^C"}) {
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    }
    RunResult version = runZelka({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "zelka " ZELKA_VERSION "\n");

    RunResult bad = runZelka({"--frobnicate"});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.err.find("unknown option '--frobnicate'"), std::string::npos);
    EXPECT_EQ(runZelka({"--command"}).exitCode, 2);
    EXPECT_EQ(runZelka({"--save", "--save-as", "x.dxf"}).exitCode, 2);
}

TEST_F(ZelkaRun, DrawingsThatCannotBeReadStopTheRun)
{
    writeDefaultPreferences(appData.path());
    // Files of other kinds: DrawingKindsTest.
    TempFolder plans;
    RunResult missing = run({(plans.path() / "absent.dxf").string()});
    EXPECT_EQ(missing.exitCode, 3);
    EXPECT_NE(missing.err.find("absent.dxf"), std::string::npos);

    RunResult noDrawing = run({"--save"});
    EXPECT_EQ(noDrawing.exitCode, 2);
}

namespace {

// The drawing's tag stream as ezdxf's own low-level reader sees it.
std::string tagStream(const std::string& path)
{
    return captureOutput(pythonCommand(std::string(ZELKA_SOURCE_DIR) + "/tests/tools/dxf_oracle.py", {"tags", path}) +
                         " 2>&1");
}

}  // namespace

// Opening another program's drawing and saving it without running a command
// must give back the same content: every tag, handle and value.
TEST_F(ZelkaRun, SavingWithoutACommandChangesNothingInTheFile)
{
    ZELKA_REQUIRE_EZDXF();
    writeDefaultPreferences(appData.path());
    const std::filesystem::path real = std::filesystem::path(ZELKA_SOURCE_DIR) / "tests/data/dxf/real";
    for (const char* name : {"acad_xdata_all_codes_AC1032.dxf", "acad_hatch_ansi1251_crlf_AC1021.dxf",
                             "librecad_architect_blocks_AC1021.dxf", "ezdxf_cp1252_attribs_AC1015.dxf"}) {
        SCOPED_TRACE(name);
        TempFolder plans;
        std::filesystem::path plan = plans.path() / name;
        std::filesystem::copy_file(real / name, plan);
        std::string before = tagStream(plan.string());
        ASSERT_GT(before.size(), 1000u) << before.substr(0, 400);

        RunResult saved = run({"--save", plan.string()});
        EXPECT_EQ(saved.exitCode, 0) << saved.out << saved.err;
        ASSERT_TRUE(std::filesystem::exists(plan.string() + ".bak"));
        EXPECT_TRUE(tagStream(plan.string()) == before) << "the saved drawing's tags differ from the original's";
    }
}
