// The document-monitor settings: every field read from its element, the
// defaults of missing ones, the strict booleans, and the start-up load from
// the preferences folder that switches the logs on.

#include <gtest/gtest.h>

#include <filesystem>

#include "XmlTestSupport.h"
#include "config/PreferencesDocMon.h"
#include "infra/Log.h"

// The fields this module uses, and the reading rules on the others (the
// rest of the record is the document monitor's own, carried unused here).
TEST(PreferencesDocMon, EveryFieldIsReadFromItsElement)
{
    CPreferencesDocMon settings;
    ASSERT_TRUE(settings.loadPreferences(xmltest::fixture("docmon.xml")));
    ASSERT_EQ(settings.getCount(), 2);  // the element without children is no entry
    const CServerPreferenceDocMon& s = settings.getAt(0);
    EXPECT_EQ(s.getAcadErrorLogFilePath(), "/var/log/zelka/cad-errors.xml");
    EXPECT_EQ(s.getAcadDebugLogFilePath(), "/var/log/zelka/cad-debug.xml");
    EXPECT_EQ(s.getAcadTempDirectory(), "/srv/temp/");
    EXPECT_EQ(s.getGraphRepOutPath(), "/srv/reports/");
    EXPECT_EQ(s.getDbTimeout(), 30);
    EXPECT_EQ(s.getDbDatasource(), "db.example.org");
    EXPECT_EQ(s.getDbUserID(), "zelka");
    EXPECT_EQ(s.getDbPassword(), "s3cret & more");
    EXPECT_EQ(s.getAsbestosBatchSize(), 50);
    EXPECT_TRUE(s.getRunAcadService());
    EXPECT_FALSE(s.getCachePlotCentred());
    EXPECT_FALSE(s.getRunAcadOnlyWhenRequired());  // "true" is not "1"
    EXPECT_EQ(s.getDebugDocMon(), "quiet");
}

TEST(PreferencesDocMon, MissingElementsKeepTheirDefaults)
{
    CPreferencesDocMon settings;
    ASSERT_TRUE(settings.loadPreferences(xmltest::fixture("docmon.xml")));
    const CServerPreferenceDocMon& s = settings.getAt(1);
    EXPECT_EQ(s.getAcadErrorLogFilePath(), "/var/log/zelka/second.xml");
    EXPECT_EQ(s.getDbTimeout(), 0);         // "12a" is not numeric
    EXPECT_EQ(s.getIprBatchSize(), 1);      // "1,000" counts as numeric; the number stops at the comma
    EXPECT_TRUE(s.getCachePlotCentred());   // missing: true
    EXPECT_EQ(s.getAsbestosBatchSize(), 25);
    EXPECT_EQ(s.getAcadDebugLogFilePath(), "");
    EXPECT_EQ(s.getDbInitialCatalog(), "ipr");
    EXPECT_EQ(s.getDbDriver(), "PostgreSQL Unicode");
}

TEST(PreferencesDocMon, OtherRootsAndUnreadableFilesGiveAnEmptyList)
{
    xmltest::TempFolder folder;
    const std::string wrongRoot = folder.path("wrong.xml");
    xmltest::writeFile(wrongRoot, "<preferences><server><dbTimeout>5</dbTimeout></server></preferences>");
    const std::string broken = folder.path("broken.xml");
    xmltest::writeFile(broken, "<documentMonitorPreferences>\n<server>\n</documentMonitorPreferences>\n");

    CPreferencesDocMon settings;
    ASSERT_TRUE(settings.loadPreferences(xmltest::fixture("docmon.xml")));
    {
        xmltest::CommandLineCapture commandLine;
        EXPECT_TRUE(settings.loadPreferences(wrongRoot));
        EXPECT_EQ(settings.getCount(), 0);
        EXPECT_EQ(commandLine.text(), "");
    }
    {
        xmltest::CommandLineCapture commandLine;
        EXPECT_FALSE(settings.loadPreferences(broken));
        EXPECT_EQ(settings.getCount(), 0);
        // "</documentMonitorPreferences>" closes <server> on line 3.
        EXPECT_EQ(commandLine.text().rfind("Unable to read the document-monitor settings " + broken + ": line 3, ", 0),
                  0u)
            << commandLine.text();
    }
    {
        xmltest::CommandLineCapture commandLine;
        EXPECT_FALSE(settings.loadPreferences(folder.path("absent.xml")));
        EXPECT_EQ(commandLine.text(), "");  // no settings file is the normal case
    }
}

TEST(PreferencesDocMon, StartUpLoadsTheFileInThePreferencesFolderAndSetsTheDebugLog)
{
    xmltest::TempFolder folder;
    zelkatest::ScopedEnv appData("ZELKA_APPDATA", folder.root());
    EXPECT_EQ(CPreferencesDocMon::preferencesFolderPath(), folder.root() + "/ZelkaSystems/Orvane/prefs/");

    // No file yet: an empty list and no debug log.
    CLog::setDebugLogPath("left over");
    EXPECT_EQ(CPreferencesDocMon::loadFromPreferencesFolder(), 0);
    EXPECT_EQ(CLog::getDebugLogPath(), "");

    std::filesystem::create_directories(CPreferencesDocMon::preferencesFolderPath());
    std::filesystem::copy_file(xmltest::fixture("docmon.xml"),
                               CPreferencesDocMon::preferencesFolderPath() + CPreferencesDocMon::FILE_NAME);
    EXPECT_EQ(CPreferencesDocMon::loadFromPreferencesFolder(), 2);
    EXPECT_EQ(CPreferencesDocMon::moduleSettings().getAt(1).getAcadErrorLogFilePath(), "/var/log/zelka/second.xml");
    EXPECT_EQ(CLog::getDebugLogPath(), "/var/log/zelka/cad-debug.xml");

    CPreferencesDocMon::moduleSettings().deleteObjects();
    CLog::setDebugLogPath("");
}
