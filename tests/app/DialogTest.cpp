// Dialog templates and the dialog runtime: parsing with errors that name the
// line, control access by ID, handlers fired by user actions, data exchange.

#include <gtest/gtest.h>

#include <memory>

#include "host/ui/CDialog.h"
#include "host/ui/ConsoleDialogFrontEnd.h"
#include "host/ui/DialogTemplate.h"
#include "host/ui/MessageBox.h"
#include "tests/common/ScriptedCommandLine.h"
#include "tests/common/ZelkaProcess.h"

namespace {

struct BadTemplate {
    const char* text;
    const char* error;
};

const char* const kListDialog =
    "dialog IDD_TEST \"Pick \\\"one\\\"\"\n"
    "menu IDM_INFO \"Info\"\n"
    "group IDC_STATIC \"Kind\"\n"
    "radio IDC_ROOM \"Room\"\n"
    "radio IDC_FLOOR \"Floor\"\n"
    "radio IDC_SITE \"Site\" disabled\n"
    "group IDC_STATIC \"Blocks\"\n"
    "list IDC_BLOCKS \"Blocks\" items \"ROOM-1\" \"ROOM-2\" \"ROOM-3\"\n"
    "edit IDC_COUNT \"Count\"\n"
    "edit IDC_SECRET \"Secret\" hidden\n"
    "check IDC_ALL \"All\"\n"
    "defbutton IDOK \"OK\"\n"
    "button IDCANCEL \"Cancel\"\n";

class ListDialog : public CDialog {
public:
    explicit ListDialog(const std::string& path) : CDialog(path)
    {
        onSelChange("IDC_BLOCKS", [this] { log += "sel" + std::to_string(ListGetCurSel("IDC_BLOCKS")) + ";"; });
        onDoubleClick("IDC_BLOCKS", [this] {
            log += "dbl:" + GetDlgItemText("IDC_BLOCKS") + ";";
            EndDialog(7);
        });
        onChange("IDC_COUNT", [this] { log += "count=" + GetDlgItemText("IDC_COUNT") + ";"; });
        onMenu("IDM_INFO", [this] { log += "info;"; });
    }
    bool OnInitDialog() override
    {
        CheckRadioButton("IDC_ROOM", "IDC_SITE", "IDC_FLOOR");
        ListAddString("IDC_BLOCKS", "ROOM-4");
        int32_t count = 3;
        DDX_Int("IDC_COUNT", count, false);
        return true;
    }
    void OnOK() override
    {
        int32_t count = 0;
        if (!DDX_IntRange("IDC_COUNT", count, true, 1, 5)) return;
        okCount = count;
        EndDialog(1);
    }
    void PostNcDestroy() override { ++destroyed; }
    std::string log;
    int32_t okCount = -1;
    int destroyed = 0;
};

class Dialogs : public ScriptedCommandLine {
protected:
    void SetUp() override
    {
        ScriptedCommandLine::SetUp();
        previousBox_ = setMessageBoxPresenter([this](const std::string& text, const std::string&, unsigned) {
            boxes += text + "|";
            return IDOK;
        });
        path = (folder.path() / "test.dlg").string();
        zelkatest::writeFile(path, kListDialog);
        consoleDialogFrontEnd().takeFailure();
    }
    void TearDown() override
    {
        ScriptedCommandLine::TearDown();
        setMessageBoxPresenter(previousBox_);
    }
    zelkatest::TempFolder folder;
    std::string path;
    std::string boxes;

private:
    MessageBoxPresenter previousBox_;
};

}  // namespace

TEST(DialogTemplates, BadStatementsNameTheLine)
{
    const BadTemplate cases[] = {
        {"dialog IDD_A \"A\"\nwidget IDC_X \"x\"\n", "t.dlg:2: unknown statement 'widget'"},
        {"dialog IDD_A \"A\nedit IDC_X \"x\"\n", "t.dlg:1: caption not closed by a double quote"},
        {"edit IDC_X \"x\"\n", "t.dlg:1: controls before the dialog statement"},
        {"dialog IDD_A \"A\"\nedit IDC_X \"x\"\n\nedit IDC_X \"y\"\n", "t.dlg:4: duplicate ID IDC_X"},
        {"dialog IDD_A \"A\"\nedit IDC_X \"x\" items \"a\"\n", "t.dlg:2: only list and combo controls have items"},
        {"dialog IDD_A \"A\"\nedit IDC_X \"x\" shiny\n", "t.dlg:2: unknown flag 'shiny'"},
        {"dialog IDD_A \"A\"\nlist IDC_X \"x\" items a\n", "t.dlg:2: list items must be quoted"},
        {"dialog IDD_A \"A \\q\"\n", "t.dlg:1: unknown escape \\q"},
        {"# nothing\n", "t.dlg:1: no dialog statement"},
        {"dialog IDD_A\n", "t.dlg:1: dialog needs an ID and a quoted caption"},
    };
    for (const BadTemplate& bad : cases) {
        DialogTemplate dialog;
        EXPECT_FALSE(dialog.parse(bad.text, "t.dlg")) << bad.text;
        EXPECT_EQ(dialog.error(), bad.error) << bad.text;
    }
    DialogTemplate missing;
    EXPECT_FALSE(missing.load("/nonexistent/x.dlg"));
    EXPECT_EQ(missing.error(), "/nonexistent/x.dlg: cannot open the dialog template");
}

TEST_F(Dialogs, ModalDialogRunsScriptedActionsThroughItsHandlers)
{
    feed("dlg:choose IDC_BLOCKS 2\n"
         "set IDC_COUNT 9\n"
         "dlg:menu IDM_INFO\n"
         "dlg:check IDC_ROOM\n"
         "dlg:check IDC_ALL\n"
         "dlg:click IDOK\n"
         "dlg:set IDC_COUNT 4\n"
         "dlg:click IDOK\n");
    ListDialog dialog(path);
    EXPECT_EQ(dialog.DoModal(), 1);
    EXPECT_EQ(dialog.okCount, 4);
    EXPECT_EQ(dialog.log, "sel1;count=9;info;count=4;");
    EXPECT_EQ(boxes, "Please enter an integer between 1 and 5.|");
    EXPECT_EQ(dialog.GetCheckedRadioButton("IDC_ROOM", "IDC_SITE"), "IDC_ROOM");
    EXPECT_EQ(dialog.IsDlgButtonChecked("IDC_ALL"), 1u);
    EXPECT_EQ(dialog.ListGetCount("IDC_BLOCKS"), 4);
    EXPECT_EQ(dialog.destroyed, 1);
    EXPECT_FALSE(consoleDialogFrontEnd().takeFailure());
    // The form as printed when the dialog opened.
    EXPECT_NE(transcript.find("--- Pick \"one\" ---\n  menu: Info  {IDM_INFO}\n  [Kind]\n    ( ) Room  {IDC_ROOM}\n"
                              "    (*) Floor  {IDC_FLOOR}\n    ( ) Site (disabled)  {IDC_SITE}\n"),
              std::string::npos)
        << transcript;
    EXPECT_NE(transcript.find("    Blocks:  {IDC_BLOCKS}\n        1. ROOM-1\n"), std::string::npos);
    EXPECT_EQ(transcript.find("IDC_SECRET"), std::string::npos);  // hidden
}

TEST_F(Dialogs, DisabledHiddenAndUnknownControlsRefuseActions)
{
    feed("dlg:check IDC_SITE\ndlg:set IDC_SECRET x\ndlg:click IDC_NONE\ndlg:choose IDC_BLOCKS 9\n"
         "dlg:uncheck IDC_ROOM\ndlg:dance\ndlg:click IDCANCEL\n");
    ListDialog dialog(path);
    EXPECT_EQ(dialog.DoModal(), 2);
    EXPECT_TRUE(consoleDialogFrontEnd().takeFailure());
    for (const char* reason : {"control IDC_SITE is disabled", "control IDC_SECRET is hidden",
                               "the dialog has no control IDC_NONE", "list IDC_BLOCKS has no line 9",
                               "a radio button is cleared by checking another one", "unknown dialog action 'dance'"}) {
        EXPECT_NE(transcript.find(std::string("Dialog action failed: ") + reason), std::string::npos) << reason;
    }
    EXPECT_EQ(dialog.GetCheckedRadioButton("IDC_ROOM", "IDC_SITE"), "IDC_FLOOR");
}

TEST_F(Dialogs, DoubleClickHandlerEndsTheDialogWithItsCode)
{
    feed("dlg:dblclick IDC_BLOCKS 4\n");
    ListDialog dialog(path);
    EXPECT_EQ(dialog.DoModal(), 7);
    EXPECT_EQ(dialog.log, "sel3;dbl:ROOM-4;");
}

TEST_F(Dialogs, ModelessDialogStaysOpenUntilClosedFromTheCommandLine)
{
    ListDialog dialog(path);
    ASSERT_TRUE(dialog.Create());
    EXPECT_TRUE(dialog.isOpen());
    ASSERT_EQ(consoleDialogFrontEnd().modelessDialogs().size(), 1u);
    EXPECT_TRUE(consoleDialogFrontEnd().performOnModeless("dlg:choose IDC_BLOCKS 1"));
    EXPECT_EQ(dialog.log, "sel0;");
    EXPECT_TRUE(consoleDialogFrontEnd().performOnModeless("dlg:close"));
    EXPECT_FALSE(dialog.isOpen());
    EXPECT_EQ(dialog.destroyed, 1);
    EXPECT_TRUE(consoleDialogFrontEnd().modelessDialogs().empty());
    EXPECT_FALSE(consoleDialogFrontEnd().performOnModeless("dlg:close"));
    EXPECT_NE(transcript.find("No dialog is open."), std::string::npos);
}

TEST_F(Dialogs, MissingTemplateIsReportedAndTheDialogDoesNotOpen)
{
    ListDialog dialog((folder.path() / "absent.dlg").string());
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_NE(boxes.find("absent.dlg: cannot open the dialog template"), std::string::npos);
    EXPECT_FALSE(dialog.Create());
}
