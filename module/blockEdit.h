#pragma once
// The module's entry point, its module-wide state and the command bodies of
// the module itself (help, preferences, diagnostics). The command table
// (CommandTable.cpp) binds these bodies to command names.

#include <string>

#include "module/HostProduct.h"

// The module-wide state, built when the module file is loaded.
// The preferences folder ("" until initialisation found the application-data folder).
const std::string& zelkaPreferencesFolder();
// The temporary folder ("" until initialisation).
const std::string& zelkaTempFolder();
// The CAD program the module runs in, detected at load.
const CHostProduct& zelkaHostProduct();

// Makes the preferences and temporary folders under the application-data
// folder and, when "prefs.cfg" is missing, shows the preferences dialog with
// the defaults. Failures are shown as an error chain; never throws.
void checkPreferencesExist();

// Command bodies.
void zelkaHelp();                 // m?
void zelkaDiagnosticsHelp();      // md?
void zelkaPreferences();          // mprefs
void zelkaDiagnosticAll();        // mda
void zelkaDiagnosticBasic();      // md1
void zelkaDiagnosticDialog();     // md3
void zelkaDiagnosticErrorsA();    // md4
void zelkaDiagnosticErrorsB();    // md5
void zelkaDiagnosticErrorsC();    // md6
void zelkaDiagnosticErrorsD();    // md7
void zelkaDiagnosticUserInput();  // md8
void zelkaDiagnosticXML();        // md9
void zelkaTest();                 // test

// Space maintenance (blockEditSpaces.cpp, blockEditLayout.cpp, blockEditInspect.cpp).
void zelkaUpdateSpaces();          // mus
void zelkaSyncXDataToAttributes(); // msxta
void zelkaBlankThirdAttribute();   // mbta
void zelkaUpdateText();            // mut
void zelkaAuxilarator();           // maux
void zelkaRefreshTags();           // mrt
void zelkaFindReplace();           // mfrs
void zelkaDeleteBlock();           // mdb

// Listing, export and inspection (blockEditListing.cpp, blockEditInspect.cpp,
// blockEditLayout.cpp, blockEditFerrow.cpp).
void zelkaCommaSeperatedValues();  // mcsv
void zelkaListBlocks();            // mlb
void zelkaDisplaySpaceDetails();   // msc_dsd
void zelkaCheckAttributeLayers();  // msc_cal
void zelkaFerrowConversion();      // msc_isc

// Graphic reports and the test hatches (blockEditReports.cpp).
void zelkaApplyGraphicReport();    // magr
void zelkaGraphicReport();         // mgr
void zelkaHatchAllSpaces();        // msc_has
void zelkaHatchSpace();            // msc_hs
void zelkaLegendBlockDefine();     // mlbd
void zelkaPieBlockDefine();        // mpbd
// Interactive creation (blockEditCreation.cpp).
void zelkaBlockCreate();           // mbc
void zelkaBlockEdit();             // mbe
void zelkaGrossAreaBlockCreate();  // mgabc
void zelkaLegendMarkerCreate();    // mlmc
void zelkaPieMarkerCreate();       // mpmc
void zelkaBulkBlockCreate();       // mbulk
void zelkaExtraHelp();             // mx?
// Closes the creation and editing dialogs still open (at unload).
void zelkaCloseCreationDialogs();

// Prints that a command's work is not part of this build, and reports the
// command as failed so a script run does not pass silently.
void zelkaCommandNotAvailable(const char* commandName);

extern "C" int acrxEntryPoint(int message, void* appId);
