#include "module/CommandTable.h"

#include "host/ed/AcEdCommandStack.h"
#include "module/DatabaseCommands.h"
#include "module/HostProduct.h"
#include "module/blockEdit.h"

namespace {

constexpr int32_t MODAL = ACRX_CMD_MODAL;
constexpr int32_t SESSION = ACRX_CMD_SESSION;
// The group of the commands beyond the eight help groups.
constexpr const char* kExtraCommandGroup = "ZELKA_EXTRA";

}  // namespace

const std::vector<CCommandEntry>& zelkaCommandTable()
{
    static const std::vector<CCommandEntry> table = {
        {"ZELKA_COMMANDS", "mbe", "zelkaBlockEdit", MODAL, zelkaBlockEdit, false},
        {"ZELKA_COMMANDS", "mbh", "zelkaBlockHyperlink", MODAL, zelkaBlockHyperlink, false},
        {"ZELKA_COMMANDS", "mbc", "zelkaBlockCreate", MODAL, zelkaBlockCreate, false},
        {"ZELKA_COMMANDS", "mgabc", "zelkaGrossAreaBlockCreate", SESSION, zelkaGrossAreaBlockCreate, false},
        {"ZELKA_COMMANDS", "mdb", "zelkaDeleteBlock", SESSION, zelkaDeleteBlock, false},
        {"ZELKA_COMMANDS", "mcsv", "zelkaCommaSeperatedValues", SESSION, zelkaCommaSeperatedValues, false},
        {"ZELKA_COMMANDS", "mlbd", "zelkaLegendBlockDefine", SESSION, zelkaLegendBlockDefine, false},
        {"ZELKA_COMMANDS", "mpbd", "zelkaPieBlockDefine", SESSION, zelkaPieBlockDefine, false},
        {"ZELKA_COMMANDS", "mgr", "zelkaGraphicReport", SESSION, zelkaGraphicReport, false},
        {"ZELKA_COMMANDS", "magr", "zelkaApplyGraphicReport", SESSION, zelkaApplyGraphicReport, false},
        {"ZELKA_COMMANDS", "mfrs", "mfrs", SESSION, zelkaFindReplace, false},
        {"ZELKA_COMMANDS", "mlmc", "zelkaLegendMarkerCreate", MODAL, zelkaLegendMarkerCreate, true},
        {"ZELKA_COMMANDS", "mpmc", "zelkaPieMarkerCreate", MODAL, zelkaPieMarkerCreate, true},
        {"ZELKA_UTIL", "mus", "zelkaUpdateSpaces", SESSION, zelkaUpdateSpaces, false},
        {"ZELKA_UTIL", "msxta", "zelkaSyncXDataToAttributes", SESSION, zelkaSyncXDataToAttributes, false},
        {"ZELKA_UTIL", "mut", "zelkaUpdateText", SESSION, zelkaUpdateText, false},
        {"ZELKA_UTIL", "maux", "zelkaAuxilarator", SESSION, zelkaAuxilarator, false},
        {"ZELKA_UTIL", "mrt", "zelkaRefreshTags", SESSION, zelkaRefreshTags, false},
        {"ZELKA_UTIL", "mbta", "zelkaBlankThirdAttribute", SESSION, zelkaBlankThirdAttribute, false},
        {"ZELKA_DIAG", "mlb", "zelkaListBlocks", SESSION, zelkaListBlocks, false},
        {"ZELKA_ADMIN", "mprefs", "zelkaPreferences", MODAL, zelkaPreferences, false},
        {"ZELKA_HELP", "m?", "mhelp", SESSION, zelkaHelp, false},
        {"ZELKA_HELP", "md?", "mdiagnosticshelp", SESSION, zelkaDiagnosticsHelp, false},
        {"ZELKA_SECRET", "msc_has", "msc_has", SESSION, zelkaHatchAllSpaces, false},
        {"ZELKA_SECRET", "msc_hs", "msc_hs", SESSION, zelkaHatchSpace, false},
        {"ZELKA_SECRET", "msc_isc", "msc_isc", SESSION, zelkaFerrowConversion, false},
        {"ZELKA_SECRET", "msc_cal", "msc_cal", SESSION, zelkaCheckAttributeLayers, false},
        {"ZELKA_SECRET", "msc_dsd", "msc_dsd", SESSION, zelkaDisplaySpaceDetails, false},
        {"ZELKA_TEST", "test", "test", SESSION, zelkaTest, false},
        {"ZELKA_DIAGNOSTICS", "mda", "zelkaDiagnosticAll", SESSION, zelkaDiagnosticAll, false},
        {"ZELKA_DIAGNOSTICS", "md1", "zelkaDiagnosticBasic", SESSION, zelkaDiagnosticBasic, false},
        {"ZELKA_DIAGNOSTICS", "md3", "zelkaDiagnosticDialog", SESSION, zelkaDiagnosticDialog, false},
        {"ZELKA_DIAGNOSTICS", "md4", "zelkaDiagnosticErrorsA", SESSION, zelkaDiagnosticErrorsA, false},
        {"ZELKA_DIAGNOSTICS", "md5", "zelkaDiagnosticErrorsB", SESSION, zelkaDiagnosticErrorsB, false},
        {"ZELKA_DIAGNOSTICS", "md6", "zelkaDiagnosticErrorsC", SESSION, zelkaDiagnosticErrorsC, false},
        {"ZELKA_DIAGNOSTICS", "md7", "zelkaDiagnosticErrorsD", SESSION, zelkaDiagnosticErrorsD, false},
        {"ZELKA_DIAGNOSTICS", "md8", "zelkaDiagnosticUserInput", SESSION, zelkaDiagnosticUserInput, false},
        {"ZELKA_DIAGNOSTICS", "md9", "zelkaDiagnosticXML", SESSION, zelkaDiagnosticXML, false},
        // Beyond the eight help groups, so that the help texts stay as they are.
        {"ZELKA_EXTRA", "mbulk", "zelkaBulkBlockCreate", SESSION, zelkaBulkBlockCreate, false},
        {"ZELKA_EXTRA", "mx?", "mextrahelp", SESSION, zelkaExtraHelp, false},
    };
    return table;
}

const std::vector<const char*>& zelkaCommandGroups()
{
    static const std::vector<const char*> groups = {"ZELKA_COMMANDS", "ZELKA_UTIL",   "ZELKA_DIAG", "ZELKA_ADMIN",
                                                    "ZELKA_HELP",     "ZELKA_SECRET", "ZELKA_TEST", "ZELKA_DIAGNOSTICS"};
    return groups;
}

int addZelkaCommands(AcEdCommandStack& stack, const CHostProduct& product)
{
    int added = 0;
    for (const CCommandEntry& entry : zelkaCommandTable()) {
        if (entry.fullProductOnly && !product.isFullProduct()) continue;
        if (stack.addCommand(entry.group, entry.globalName, entry.localName, entry.flags, entry.body, nullptr, -1,
                             nullptr, nullptr) == Acad::eOk) {
            ++added;
        }
    }
    return added;
}

void removeZelkaCommands(AcEdCommandStack& stack)
{
    for (const char* group : zelkaCommandGroups()) stack.removeGroup(group);
    stack.removeGroup(kExtraCommandGroup);
}
