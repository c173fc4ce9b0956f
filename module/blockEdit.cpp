#include "module/blockEdit.h"

#include <fstream>

#include "config/PreferencesDocMon.h"
#include "config/PresPreferences.h"
#include "config/Preferences.h"
#include "host/ed/AcDbHostApplicationServices.h"
#include "host/ed/AcEdCommandStack.h"
#include "host/ed/AcRxDictionary.h"
#include "host/ed/AcRxDynamicLinker.h"
#include "host/ed/Editor.h"
#include "host/ed/acedCommandStatus.h"
#include "host/ed/acutPrintf.h"
#include "host/ui/FileDialog.h"
#include "infra/FileUtilities.h"
#include "infra/ZelkaExceptions.h"
#include "module/CommandFrame.h"
#include "module/CommandTable.h"
#include "module/DatabaseCommands.h"

namespace {

// The module-wide state, constructed when the module file is loaded.
std::string preferencesFolder;
std::string tempFolder;
const CHostProduct hostProduct(acdbHostApplicationServices()->product());

void printHelpLine(const char* text)
{
    acutPrintf("%s", text);
}

void printSeparator(int count)
{
    for (int i = 0; i < count; ++i) acutPrintf("-\n");
}

// The initialise message: register with the dynamic linker, check the
// preferences, add the commands.
void initApplication(void* appId)
{
    AcRxDynamicLinker* linker = AcRxDynamicLinker::cast(acrxSysRegistry()->at("DynamicLinker"));
    if (linker) {
        linker->unlockApplication(appId);
        linker->registerAppMDIAware(appId);
    }
    checkPreferencesExist();
    // The document-monitor settings live beside prefs.cfg; a missing file
    // leaves them empty.
    CPreferencesDocMon::loadFromPreferencesFolder();
    AcEdCommandStack* stack = AcEdCommandStack::cast(acrxSysRegistry()->at("ACAD_REGISTERED_COMMANDS"));
    if (stack) {
        addZelkaCommands(*stack, hostProduct);
        addZelkaDatabaseCommands(*stack);
    }
}

void unloadApplication()
{
    AcEdCommandStack* stack = AcEdCommandStack::cast(acrxSysRegistry()->at("ACAD_REGISTERED_COMMANDS"));
    if (stack) {
        removeZelkaCommands(*stack);
        removeZelkaDatabaseCommands(*stack);
    }
    zelkaCloseCreationDialogs();
}

}  // namespace

const std::string& zelkaPreferencesFolder()
{
    return preferencesFolder;
}

const std::string& zelkaTempFolder()
{
    return tempFolder;
}

const CHostProduct& zelkaHostProduct()
{
    return hostProduct;
}

void checkPreferencesExist()
{
    CModuleResourceScope resources;
    try {
        zelkaOperation(__FILE__, "checkPreferencesExist", [&] {
            CFileUtilities files;
            if (files.commonAppDataFolder().empty()) return;
            preferencesFolder = files.preferencesFolder();
            files.ensureDirectoryExists(preferencesFolder);
            tempFolder = files.tempFolder();
            files.ensureDirectoryExists(tempFolder);
            std::ifstream existing(preferencesFolder + "prefs.cfg");
            if (existing) return;
            CPreferences defaults;
            // A run without a person at the keyboard (a script, --command,
            // piped input) cannot answer the dialog, and its first line is
            // meant for the Command: prompt: the defaults are written instead.
            const InputSource* input = Editor::instance().input();
            if (!input || !input->isInteractive()) {
                if (defaults.savePreferences())
                    acutPrintf("No preferences were found: the defaults were written to %s (change them with "
                               "mprefs).\n",
                               defaults.getFilePath().c_str());
                return;
            }
            int32_t units = defaults.getUnits();
            int32_t precision = defaults.getPrecision();
            double textSize = defaults.getTextSize();
            double textScale = defaults.getTextScale();
            double textRotation = defaults.getTextRotation();
            std::string csvOpener = defaults.getCSVOpener();
            double zoomBorder = defaults.getZoomBorder();
            CPresPreferences dialog;
            dialog.setValues(units, precision, textSize, textScale, textRotation, csvOpener, zoomBorder);
            dialog.DoModal();
        });
    } catch (const CEXZelka& e) {
        e.displayErrorChain();
    }
}

void zelkaHelp()
{
    CModuleResourceScope resources;
    printHelpLine("  command   fullname                      Description\n\n");
    printSeparator(1);
    acutPrintf("%s\n", "VKR Suite Commands");
    printHelpLine("    mbe     zelkaBlockEdit                Edit zelka blocks.\n");
    printHelpLine("    mbh     zelkaBlockHyperlink           Multiple hyperlink blocks.\n");
    printHelpLine("    mbc     zelkaBlockCreate              Create a zelka block.\n");
    printHelpLine("    mgabc   zelkaGrossAreaBlockCreate     Create a zelka gross area block.\n");
    printHelpLine("    mdb     zelkaDeleteBlock              Delete zelka block.\n");
    printHelpLine("    mcsv    zelkaCommaSeperatedValues     Export drawing details to csv.\n");
    printSeparator(2);
    acutPrintf("%s\n", "Utilities");
    printHelpLine("    mus     zelkaUpdateSpaces             Recalculate all areas and perimeters\n");
    printHelpLine("                                          in the drawing. Updates attributes if xdata\n");
    printHelpLine("                                          and attribute value are linked\n");
    printHelpLine("    msxta   zelkaSyncXDataToAttributes\t  Copies xdata values to appropriate attributes.\n");
    printHelpLine("                                          Recalculates xdata if specified.\n");
    printHelpLine("    mbta     zelkaBlankThirdAttribute     Set all third attribute (aux) values to \"\" i.e. blank\n");
    printHelpLine("    mut     zelkaUpdateText               Resize all attribute text to\n");
    printHelpLine("                                          preferences default value.\n");
    printHelpLine("    maux    zelkaAuxilarator              Add auxillary tags to zelka blocks\n");
    printHelpLine("                                          which do not have an auxillary tag.\n");
    printHelpLine("    mlb     zelkaListBlocks               List the block name and identifiers\n");
    printHelpLine("                                          in the drawing.\n");
    printSeparator(3);
    acutPrintf("%s\n", "Administration");
    printHelpLine("    mprefs  zelkaPreferences              Edit preferences.\n");
    printSeparator(3);
    acutPrintf("%s\n", "Help");
    printHelpLine("    m?      mhelp                         Displays details of the zelka.\n");
    printHelpLine("                                          commands avaialble in this version of\n");
    printHelpLine("                                          the Orvane.\n");
    printSeparator(2);
}

void zelkaDiagnosticsHelp()
{
    CModuleResourceScope resources;
    printHelpLine("  command      fullname                      Description\n\n");
    printSeparator(1);
    acutPrintf("%s\n", "Zelka Diagnostics");
    printHelpLine("    mda     zelkaDiagnosticAll            Runs all diagnostic routines.\n");
    printHelpLine("    md1     zelkaDiagnosticBasic          Tests output to commandline.\n");
    printHelpLine("    md3     zelkaDiagnosticDialog         Test Dialogs.\n");
    printHelpLine("    md4     zelkaDiagnosticErrorsA        Throws and handles test error.\n");
    printHelpLine("    md5     zelkaDiagnosticErrorsB        Throws and handles test error.\n");
    printHelpLine("    md6     zelkaDiagnosticErrorsC        Retrieves Function name.\n");
    printHelpLine("    md7     zelkaDiagnosticErrorsD        Retrieves File name.\n");
    printHelpLine("    md8     zelkaDiagnosticUserInput      Tests User Input.\n");
    printHelpLine("    md9     zelkaDiagnosticXML            Test XML output.\n");
    printSeparator(2);
}

void zelkaPreferences()
{
    zelkaCommandFrame("Zelka Edit Preferences", "zelkaPreferences", [] {
        CPresPreferences dialog;
        dialog.DoModal();
    });
}

void zelkaDiagnosticBasic()
{
    zelkaCommandFrame(nullptr, "zelkaDiagnosticBasic", [] {
        acutPrintf("basic test - output to commandline\n");
        acutPrintf("basic test successful\n");
        acutPrintf("basic test completed\n");
    });
}

void zelkaDiagnosticDialog()
{
    zelkaCommandFrame(nullptr, "diagnosticDialog", [] {
        acutPrintf("dialog test - opens browse for file dialog\n");
        std::string chosen;
        promptForOpenFile("Open", "All Files (*.*)|*.*", chosen);
        acutPrintf("dialog test completed\n");
    });
}

void zelkaDiagnosticErrorsA()
{
    zelkaCommandFrame(nullptr, "diagnosticErrorsA", [] {
        acutPrintf("Error Test A - throws test error\n");
        throw CEXUnhandled(ZELKA_MODULE_TITLE, __FILE__, "diagnosticErrorsA", "test error", 0);
    });
    acutPrintf("error handling test completed\n");
}

void zelkaDiagnosticErrorsB()
{
    zelkaCommandFrame(nullptr, "diagnosticErrorsB", [] {
        acutPrintf("Error Test B - throws test error\n");
        throw CEXUnhandled("diagnostics", "blockEdit.cpp", "diagnosticErrorsB", "test error", 0);
    });
    acutPrintf("error handling test completed\n");
}

void zelkaDiagnosticErrorsC()
{
    zelkaCommandFrame(nullptr, "diagnosticErrorsC", [] {
        acutPrintf("Error Test C - retrieve function name\n");
        acutPrintf("function %s\n", "diagnosticErrorsC");
    });
}

void zelkaDiagnosticErrorsD()
{
    zelkaCommandFrame(nullptr, "zelkaDiagnosticErrorsD", [] {
        acutPrintf("Error Test C - retrieve file name\n");
        acutPrintf("file %s\n", __FILE__);
    });
}

void zelkaDiagnosticAll()
{
    // Every diagnostic but the dialog test, each in its own command frame, so
    // the test errors of md4 and md5 are shown and the run goes on.
    zelkaDiagnosticBasic();
    zelkaDiagnosticErrorsA();
    zelkaDiagnosticErrorsB();
    zelkaDiagnosticErrorsC();
    zelkaDiagnosticErrorsD();
    zelkaDiagnosticUserInput();
    zelkaDiagnosticXML();
}

void zelkaCommandNotAvailable(const char* commandName)
{
    acutPrintf("Command %s is not available in this build.\n", commandName);
    acedCommandFailed();
}

extern "C" __attribute__((visibility("default"))) int acrxEntryPoint(int message, void* appId)
{
    switch (message) {
    case AcRx::kInitAppMsg: initApplication(appId); break;
    case AcRx::kUnloadAppMsg: unloadApplication(); break;
    default: break;
    }
    return 0;
}
