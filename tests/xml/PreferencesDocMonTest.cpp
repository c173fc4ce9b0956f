// The document-monitor settings: every field read from its element, the
// defaults of missing ones, the strict booleans, the file's location and the
// start-up load that switches the logs on.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "XmlTestSupport.h"
#include "config/PreferencesDocMon.h"
#include "infra/Log.h"

namespace {

// Sets an environment variable for the life of the object.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name)) previous_ = old, hadValue_ = true;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnvironment()
    {
        if (hadValue_)
            setenv(name_.c_str(), previous_.c_str(), 1);
        else
            unsetenv(name_.c_str());
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string name_;
    std::string previous_;
    bool hadValue_ = false;
};

}  // namespace

TEST(PreferencesDocMon, EveryFieldIsReadFromItsElement)
{
    CPreferencesDocMon settings;
    ASSERT_TRUE(settings.loadPreferences(xmltest::fixture("docmon.xml")));
    ASSERT_EQ(settings.getCount(), 2);  // the element without children is no entry
    const CServerPreferenceDocMon& s = settings.getAt(0);
    EXPECT_EQ(s.getDocMonErrorLogFilePath(), "/var/log/zelka/docmon-errors.xml");
    EXPECT_EQ(s.getAcadErrorLogFilePath(), "/var/log/zelka/cad-errors.xml");
    EXPECT_EQ(s.getAcadDebugLogFilePath(), "/var/log/zelka/cad-debug.xml");
    EXPECT_EQ(s.getDeletePeriodSecs(), 3600);
    EXPECT_EQ(s.getCacheOutPath(), "/srv/cache/");
    EXPECT_EQ(s.getCachePlotTypeID(), 3);
    EXPECT_TRUE(s.getApplyCachePlotSettings());
    EXPECT_FALSE(s.getCachePlotCentred());
    EXPECT_EQ(s.getCachePlotScaleTypeID(), 12);
    EXPECT_EQ(s.getCachePlotAreaTypeID(), 5);
    EXPECT_EQ(s.getCachePlotMediaNameID(), 7);
    EXPECT_EQ(s.getGraphRepOutPath(), "/srv/reports/");
    EXPECT_EQ(s.getDbTimeout(), 30);
    EXPECT_EQ(s.getDbDatasource(), "db.example.org");
    EXPECT_EQ(s.getDbUserID(), "zelka");
    EXPECT_EQ(s.getDbPassword(), "s3cret & more");
    EXPECT_TRUE(s.getRunAcadService());
    EXPECT_FALSE(s.getRunAcadOnlyWhenRequired());  // "true" is not "1"
    EXPECT_EQ(s.getAcadCheckPeriod(), 15);
    EXPECT_EQ(s.getAcadPath(), "/opt/cad/bin/cad");
    EXPECT_EQ(s.getAcadArguments(), "-nologo -b batch.scr");
    EXPECT_EQ(s.getAcadWorkingDirectory(), "/srv/work/");
    EXPECT_EQ(s.getAcadTempDirectory(), "/srv/temp/");
    EXPECT_EQ(s.getAcadMaxSessionSecs(), 900);
    EXPECT_TRUE(s.getMonitorAsbestos());
    EXPECT_EQ(s.getAsbestosWaitPeriodSecs(), 20);
    EXPECT_EQ(s.getAsbestosBatchSize(), 50);
    EXPECT_FALSE(s.getMonitorCondition());
    EXPECT_EQ(s.getConditionWaitPeriodSecs(), 11);
    EXPECT_EQ(s.getConditionBatchSize(), 26);
    EXPECT_TRUE(s.getMonitorIPC());
    EXPECT_EQ(s.getIpcWaitPeriodSecs(), 12);
    EXPECT_EQ(s.getIpcBatchSize(), 27);
    EXPECT_FALSE(s.getMonitorIPR());  // "true" is not "1"
    EXPECT_EQ(s.getIprWaitPeriodSecs(), 13);
    EXPECT_EQ(s.getIprBatchSize(), 28);
    EXPECT_TRUE(s.getMonitorLLT());
    EXPECT_EQ(s.getLltWaitPeriodSecs(), 14);
    EXPECT_EQ(s.getLltBatchSize(), 29);
    EXPECT_TRUE(s.getMonitorSVG());
    EXPECT_EQ(s.getSvgWaitPeriodSecs(), 15);
    EXPECT_EQ(s.getSvgBatchSize(), 30);
    EXPECT_EQ(s.getDebugAcad(), "verbose");
    EXPECT_EQ(s.getDebugDocMon(), "quiet");
}

TEST(PreferencesDocMon, MissingElementsKeepTheirDefaults)
{
    CPreferencesDocMon settings;
    ASSERT_TRUE(settings.loadPreferences(xmltest::fixture("docmon.xml")));
    const CServerPreferenceDocMon& s = settings.getAt(1);
    const CServerPreferenceDocMon fresh;
    EXPECT_EQ(s.getAcadErrorLogFilePath(), "/var/log/zelka/second.xml");
    EXPECT_EQ(s.getDbTimeout(), 0);         // "12a" is not numeric
    EXPECT_EQ(s.getIprBatchSize(), 1);      // "1,000" counts as numeric; the number stops at the comma
    EXPECT_TRUE(s.getCachePlotCentred());   // missing: true
    EXPECT_EQ(s.getAsbestosBatchSize(), 25);
    EXPECT_EQ(s.getAsbestosWaitPeriodSecs(), 10);
    EXPECT_EQ(s.getCachePlotAreaTypeID(), 1);
    EXPECT_EQ(s.getAcadDebugLogFilePath(), "");
    // A new entry carries the same defaults.
    EXPECT_TRUE(fresh.getCachePlotCentred());
    EXPECT_FALSE(fresh.getApplyCachePlotSettings());
    EXPECT_EQ(fresh.getSvgBatchSize(), 25);
    EXPECT_EQ(fresh.getLltWaitPeriodSecs(), 10);
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
    ScopedEnvironment appData("ZELKA_APPDATA", folder.root().c_str());
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

TEST(PreferencesDocMon, PreferencesFolderFollowsTheDataHomeWhenNoOverride)
{
    ScopedEnvironment appData("ZELKA_APPDATA", nullptr);
    {
        ScopedEnvironment dataHome("XDG_DATA_HOME", "/data/home/");
        EXPECT_EQ(CPreferencesDocMon::preferencesFolderPath(), "/data/home/ZelkaSystems/Orvane/prefs/");
    }
    ScopedEnvironment dataHome("XDG_DATA_HOME", nullptr);
    ScopedEnvironment home("HOME", "/home/someone");
    EXPECT_EQ(CPreferencesDocMon::preferencesFolderPath(), "/home/someone/.local/share/ZelkaSystems/Orvane/prefs/");
}
