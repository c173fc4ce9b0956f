// The module loaded into the host the way zelka loads it: command
// registration exactly as the command table says, unloading.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "host/ed/AcEdCommandStack.h"
#include "host/ed/AcRxDictionary.h"
#include "host/ed/AcRxDynamicLinker.h"
#include "host/ed/Editor.h"
#include "host/ed/acutPrintf.h"
#include "host/ui/MessageBox.h"
#include "infra/ZelkaExceptions.h"
#include "module/HostProduct.h"
#include "module/blockEdit.h"
#include "tests/common/AppTestSupport.h"
#include "tests/common/ZelkaProcess.h"

namespace {

struct ExpectedCommand {
    const char* group;
    const char* globalName;
    const char* localName;
    int32_t flags;
};

// The command table: group, global and local name, flags (0 modal, 0x200000 session).
const ExpectedCommand kTable[] = {
    {"ZELKA_COMMANDS", "mbe", "zelkaBlockEdit", 0},
    {"ZELKA_COMMANDS", "mbh", "zelkaBlockHyperlink", 0},
    {"ZELKA_COMMANDS", "mbc", "zelkaBlockCreate", 0},
    {"ZELKA_COMMANDS", "mgabc", "zelkaGrossAreaBlockCreate", 0x200000},
    {"ZELKA_COMMANDS", "mdb", "zelkaDeleteBlock", 0x200000},
    {"ZELKA_COMMANDS", "mcsv", "zelkaCommaSeperatedValues", 0x200000},
    {"ZELKA_COMMANDS", "mlbd", "zelkaLegendBlockDefine", 0x200000},
    {"ZELKA_COMMANDS", "mpbd", "zelkaPieBlockDefine", 0x200000},
    {"ZELKA_COMMANDS", "mgr", "zelkaGraphicReport", 0x200000},
    {"ZELKA_COMMANDS", "magr", "zelkaApplyGraphicReport", 0x200000},
    {"ZELKA_COMMANDS", "mfrs", "mfrs", 0x200000},
    {"ZELKA_COMMANDS", "mlmc", "zelkaLegendMarkerCreate", 0},
    {"ZELKA_COMMANDS", "mpmc", "zelkaPieMarkerCreate", 0},
    {"ZELKA_UTIL", "mus", "zelkaUpdateSpaces", 0x200000},
    {"ZELKA_UTIL", "msxta", "zelkaSyncXDataToAttributes", 0x200000},
    {"ZELKA_UTIL", "mut", "zelkaUpdateText", 0x200000},
    {"ZELKA_UTIL", "maux", "zelkaAuxilarator", 0x200000},
    {"ZELKA_UTIL", "mrt", "zelkaRefreshTags", 0x200000},
    {"ZELKA_UTIL", "mbta", "zelkaBlankThirdAttribute", 0x200000},
    {"ZELKA_DIAG", "mlb", "zelkaListBlocks", 0x200000},
    {"ZELKA_ADMIN", "mprefs", "zelkaPreferences", 0},
    {"ZELKA_HELP", "m?", "mhelp", 0x200000},
    {"ZELKA_HELP", "md?", "mdiagnosticshelp", 0x200000},
    {"ZELKA_SECRET", "msc_has", "msc_has", 0x200000},
    {"ZELKA_SECRET", "msc_hs", "msc_hs", 0x200000},
    {"ZELKA_SECRET", "msc_isc", "msc_isc", 0x200000},
    {"ZELKA_SECRET", "msc_cal", "msc_cal", 0x200000},
    {"ZELKA_SECRET", "msc_dsd", "msc_dsd", 0x200000},
    {"ZELKA_TEST", "test", "test", 0x200000},
    {"ZELKA_DIAGNOSTICS", "mda", "zelkaDiagnosticAll", 0x200000},
    {"ZELKA_DIAGNOSTICS", "md1", "zelkaDiagnosticBasic", 0x200000},
    {"ZELKA_DIAGNOSTICS", "md3", "zelkaDiagnosticDialog", 0x200000},
    {"ZELKA_DIAGNOSTICS", "md4", "zelkaDiagnosticErrorsA", 0x200000},
    {"ZELKA_DIAGNOSTICS", "md5", "zelkaDiagnosticErrorsB", 0x200000},
    {"ZELKA_DIAGNOSTICS", "md6", "zelkaDiagnosticErrorsC", 0x200000},
    {"ZELKA_DIAGNOSTICS", "md7", "zelkaDiagnosticErrorsD", 0x200000},
    {"ZELKA_DIAGNOSTICS", "md8", "zelkaDiagnosticUserInput", 0x200000},
    {"ZELKA_DIAGNOSTICS", "md9", "zelkaDiagnosticXML", 0x200000},
};

std::string modulePath()
{
    return (std::filesystem::path(ZELKA_BINARY_DIR) / "lib" / "libzelka.so").string();
}

// Loads the module with a temporary application-data folder holding a
// preferences file, so no first-start dialog appears; unloads at the end.
class LoadedModule : public ::testing::Test {
protected:
    void SetUp() override
    {
        zelkatest::writeFile(zelkatest::prefsIn(appData.path()), "//\n//\n//\n//\nunits\n0\n");
        setenv("ZELKA_APPDATA", appData.path().c_str(), 1);
        previousSink_ = setCommandLineSink([this](const std::string& text) { transcript += text; });
        ASSERT_TRUE(acrxDynamicLinker()->loadModule(modulePath())) << acrxDynamicLinker()->lastError();
    }
    void TearDown() override
    {
        acrxDynamicLinker()->unloadAll();
        setCommandLineSink(previousSink_);
        unsetenv("ZELKA_APPDATA");
    }
    zelkatest::TempFolder appData;
    std::string transcript;

private:
    CommandLineSink previousSink_;
};

}  // namespace

TEST_F(LoadedModule, RegistersEveryCommandOfTheTableInOrder)
{
    AcEdCommandStack* stack = AcEdCommandStack::cast(acrxSysRegistry()->at("ACAD_REGISTERED_COMMANDS"));
    ASSERT_NE(stack, nullptr);
    // The eight groups of the table, then the commands beyond them: bulk
    // creation in its own group and the property-database commands in another.
    const std::vector<std::string> eight = {"ZELKA_COMMANDS", "ZELKA_UTIL",   "ZELKA_DIAG", "ZELKA_ADMIN",
                                            "ZELKA_HELP",     "ZELKA_SECRET", "ZELKA_TEST", "ZELKA_DIAGNOSTICS"};
    std::vector<std::string> all = eight;
    all.push_back("ZELKA_EXTRA");
    all.push_back("ZELKA_DATABASE");
    EXPECT_EQ(stack->groupNames(), all);
    auto database = stack->commandsOf("ZELKA_DATABASE");
    ASSERT_EQ(database.size(), 2u);
    EXPECT_EQ(database[0]->globalName(), "mto");
    EXPECT_EQ(database[0]->localName(), "zelkaTakeOff");
    EXPECT_EQ(database[1]->globalName(), "mlgr");
    EXPECT_EQ(database[1]->localName(), "zelkaLoadGraphicReport");
    size_t index = 0;
    for (const std::string& group : eight) {
        for (const AcEdCommand* command : stack->commandsOf(group)) {
            ASSERT_LT(index, std::size(kTable));
            const ExpectedCommand& expected = kTable[index++];
            EXPECT_EQ(command->groupName(), expected.group);
            EXPECT_EQ(command->globalName(), expected.globalName);
            EXPECT_EQ(command->localName(), expected.localName);
            EXPECT_EQ(command->commandFlags(), expected.flags) << expected.globalName;
            EXPECT_EQ(command->functionCode(), -1);
        }
    }
    // The default host reports itself as BricsCAD, a full product: all 38.
    EXPECT_EQ(index, std::size(kTable));
    EXPECT_EQ(index, 38u);
    // Beyond the help groups: the bulk creation and the list that names it.
    std::vector<std::string> extra;
    for (const AcEdCommand* command : stack->commandsOf("ZELKA_EXTRA"))
        extra.push_back(command->globalName() + " " + command->localName());
    EXPECT_EQ(extra, (std::vector<std::string>{"mbulk zelkaBulkBlockCreate", "mx? mextrahelp"}));
}

TEST_F(LoadedModule, UnloadRemovesEveryCommand)
{
    acrxDynamicLinker()->unloadAll();
    for (const ExpectedCommand& command : kTable) {
        EXPECT_EQ(acedRegCmds()->lookupCmd(command.globalName), nullptr) << command.globalName;
        EXPECT_EQ(acedRegCmds()->lookupCmd(command.localName), nullptr) << command.localName;
    }
    EXPECT_TRUE(acedRegCmds()->groupNames().empty());
    // Loading again brings them back.
    ASSERT_TRUE(acrxDynamicLinker()->loadModule(modulePath()));
    EXPECT_NE(acedRegCmds()->lookupCmd("MPREFS"), nullptr);
}

TEST(ModuleLoader, RefusesFilesThatAreNotModules)
{
    zelkatest::TempFolder folder;
    zelkatest::writeFile(folder.path() / "bogus.so", "not a shared object");
    EXPECT_FALSE(acrxDynamicLinker()->loadModule((folder.path() / "bogus.so").string()));
    EXPECT_FALSE(acrxDynamicLinker()->lastError().empty());
    // The host library is a shared object without the module entry points.
    std::string host = (std::filesystem::path(ZELKA_BINARY_DIR) / "lib" / "libzelkahost.so").string();
    EXPECT_FALSE(acrxDynamicLinker()->loadModule(host));
    EXPECT_NE(acrxDynamicLinker()->lastError().find("not a module"), std::string::npos);
    EXPECT_TRUE(acrxDynamicLinker()->loadedModules().empty());
}

TEST(HostProduct, DetectedFromTheProductName)
{
    struct Case {
        const char* product;
        int kind;
        const char* name;
        bool full;
    };
    const Case cases[] = {
        {"BricsCAD", 3, "BricsCAD", true},
        {"BricsCAD V24 Pro", 3, "BricsCAD", true},
        {"AutoCAD 2024", 2, "AutoCAD", true},
        {"AutoCAD LT 2024", 1, "AutoCADLT", false},
        {"autocad lt", 1, "AutoCADLT", false},
        {"AutoCADLT", 2, "AutoCAD", true},  // "tocad lt" needs the blank
        {"QCAD Community", 0, "unknown <qcad community>", false},
        {"", 0, "unknown <>", false},
    };
    for (const Case& c : cases) {
        CHostProduct product(c.product);
        EXPECT_EQ(product.getKind(), c.kind) << c.product;
        EXPECT_EQ(product.getName(), c.name) << c.product;
        EXPECT_EQ(product.isFullProduct(), c.full) << c.product;
    }
}

TEST(CommandStack, LooksUpGlobalThenLocalNamesNewestGroupFirst)
{
    AcEdCommandStack stack;
    AcRxFunctionPtr one = [] {};
    AcRxFunctionPtr two = [] {};
    EXPECT_EQ(stack.addCommand("G1", "draw", "zeichnen", ACRX_CMD_MODAL, one), Acad::eOk);
    EXPECT_EQ(stack.addCommand("G1", "DRAW", "x", ACRX_CMD_MODAL, two), Acad::eDuplicateKey);
    EXPECT_EQ(stack.addCommand("G1", "", "x", ACRX_CMD_MODAL, two), Acad::eInvalidInput);
    EXPECT_EQ(stack.addCommand("G1", "y", "x", ACRX_CMD_MODAL, nullptr), Acad::eInvalidInput);
    AcEdCommand* returned = nullptr;
    EXPECT_EQ(stack.addCommand("G2", "draw", "zeichnen2", ACRX_CMD_SESSION, two, nullptr, 7, nullptr, &returned),
              Acad::eOk);
    ASSERT_NE(returned, nullptr);
    EXPECT_EQ(returned->functionCode(), 7);
    EXPECT_TRUE(returned->isSession());
    EXPECT_EQ(stack.lookupCmd("Draw")->functionAddr(), two);
    EXPECT_EQ(stack.lookupCmd("ZEICHNEN")->functionAddr(), one);
    EXPECT_EQ(stack.lookupCmd("G1", "draw")->functionAddr(), one);
    EXPECT_EQ(stack.removeGroup("G2"), Acad::eOk);
    EXPECT_EQ(stack.lookupCmd("draw")->functionAddr(), one);
    EXPECT_EQ(stack.removeGroup("G2"), Acad::eKeyNotFound);
}

TEST(CommandFrame, CommandsNotInThisBuildSaySoAndFail)
{
    std::string transcript;
    {
        zelkatest::CommandLineCapture capture;
        Editor::instance().clearCommandFailed();
        zelkaCommandNotAvailable("MGR");
        transcript = capture.text();
    }
    EXPECT_EQ(transcript, "Command MGR is not available in this build.\n");
    EXPECT_TRUE(Editor::instance().commandFailed());
    Editor::instance().clearCommandFailed();
}

// The one rule by which a command fails: showing an error box. Other boxes
// (questions, warnings, information) leave the command's outcome alone.
TEST(CommandFrame, AnErrorBoxFailsTheCommandAndNoOtherBoxDoes)
{
    struct Case {
        unsigned type;
        bool fails;
    };
    const Case cases[] = {
        {MB_OK | MB_ICONERROR, true},        {MB_ICONERROR, true},
        {MB_OK | MB_ICONWARNING, false},     {MB_OK | MB_ICONINFORMATION, false},
        {MB_YESNO | MB_ICONQUESTION, false}, {MB_OK, false},
    };
    MessageBoxPresenter previous = setMessageBoxPresenter([](const std::string&, const std::string&, unsigned) {
        return IDOK;
    });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        Editor::instance().clearCommandFailed();
        MessageBoxA(nullptr, "text", "caption", c.type);
        EXPECT_EQ(Editor::instance().commandFailed(), c.fails);
    }
    // a command's per-item error list shown and then carried on from
    Editor::instance().clearCommandFailed();
    CZelkaExceptions errors;
    errors.add(CEXCustom(ZELKA_MODULE_TITLE, "BlockDWG.cpp", "CBlockDWG::applyToDWG", "refused", 0, nullptr));
    errors.displayAll();
    EXPECT_TRUE(Editor::instance().commandFailed());
    Editor::instance().clearCommandFailed();
    setMessageBoxPresenter(previous);
}
