// The take-off command, run as a user runs it: zelka with a script on a
// drawing, the database named in the document-monitor settings.

#include <filesystem>

#include <gtest/gtest.h>

#include "config/Preferences.h"
#include "DatabaseTestSupport.h"
#include "../common/ZelkaProcess.h"
#include "tests/common/AppTestSupport.h"

namespace {

struct CommandRun {
    zelkatest::TempFolder work;
    std::string fileName;
    int floor = 0;

    CommandRun(const std::string& label, bool registered)
    {
        static int serial = 0;
        fileName = label + "-" + std::to_string(getpid()) + "-" + std::to_string(++serial) + ".dxf";
        std::filesystem::copy_file(std::filesystem::path(ZELKA_SOURCE_DIR) / "examples/office.dxf",
                                   work.path() / fileName);
        CPreferences prefs;
        prefs.setFilePath(zelkatest::prefsIn(appdata()).string());
        prefs.savePreferences();
        if (registered) {
            floor = dbtest::newFloor(label);
            dbtest::psql("insert into drawings (location_id, file_name) values (" + std::to_string(floor) + ", '" +
                         fileName + "');");
        }
    }
    std::filesystem::path appdata() const { return work.path() / "appdata"; }
    std::filesystem::path errorLog() const { return work.path() / "errors.xml"; }

    void writeSettings(const std::string& dataSource, const std::string& password, const std::string& catalog = "ipr")
    {
        // The password is XML text: '&', '<' would need escaping, ';' and braces do not.
        zelkatest::writeFile(appdata() / "ZelkaSystems/Orvane/prefs/docmon.xml",
                             "<?xml version=\"1.0\"?>\n<documentMonitorPreferences "
                             "xmlns=\"urn:zelkasystems:orvane:documentMonitor\"><server>"
                             "<acadErrorLogFilePath>" + errorLog().string() + "</acadErrorLogFilePath>"
                             "<dbDatasource>" + dataSource + "</dbDatasource>"
                             "<dbUserID>" + dbtest::server().user() + "</dbUserID>"
                             "<dbPassword>" + password + "</dbPassword>"
                             "<dbInitialCatalog>" + catalog + "</dbInitialCatalog>"
                             "<dbTimeout>10</dbTimeout></server></documentMonitorPreferences>\n");
    }

    zelkatest::RunResult run()
    {
        zelkatest::writeFile(work.path() / "run.scr", "mto\n");
        return zelkatest::runZelka({"--appdata", appdata().string(), "--script", (work.path() / "run.scr").string(),
                                    (work.path() / fileName).string()});
    }
};

TEST(TakeOffCommand, TakesTheActiveDrawingOffAndSaysWhatLanded)
{
    CommandRun c("mto", true);
    c.writeSettings(dbtest::server().dataSource(), dbtest::server().password());
    std::string before = zelkatest::readFile(c.work.path() / c.fileName);
    auto r = c.run();
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    std::string rooms = dbtest::psqlValue("select count(*) from locations where kind = 'r' and parent_id = " +
                                          std::to_string(c.floor));
    EXPECT_EQ(rooms, "5");
    // The office plan's rooms hold 17 assets by their insertion points; the
    // gross-area block is its floor's.
    EXPECT_NE(r.out.find("Taken off " + c.fileName + " into ipr: 5 room(s), "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(", 1 gross area(s) under floor " + std::to_string(c.floor)), std::string::npos) << r.out;
    EXPECT_EQ(zelkatest::readFile(c.work.path() / c.fileName), before);
}

TEST(TakeOffCommand, FailuresSayWhatToDoAndLogTheChainWithoutThePassword)
{
    struct Case {
        const char* label;
        bool registered;
        bool rightPassword;
        const char* says;
        bool logged;
    } cases[] = {
        {"unregistered", false, true, "is not registered in the property database ipr", false},
        {"wrong-password", true, false, "password authentication failed for user \"zelka\"", true},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.label);
        CommandRun c(k.label, k.registered);
        std::string password = k.rightPassword ? dbtest::server().password() : "bad;pw}" + std::string(k.label);
        c.writeSettings(dbtest::server().dataSource(), password);
        auto r = c.run();
        EXPECT_NE(r.out.find(k.says), std::string::npos) << r.out;
        EXPECT_EQ(r.out.find(password), std::string::npos);
        EXPECT_EQ(r.err.find(password), std::string::npos);
        if (k.logged) {
            std::string log = zelkatest::readFile(c.errorLog());
            EXPECT_NE(log.find("password authentication failed"), std::string::npos) << log;
            EXPECT_NE(log.find("An error occurred whilst connecting to ipr on " + dbtest::server().dataSource()),
                      std::string::npos)
                << log;
            EXPECT_EQ(log.find(password), std::string::npos);
        }
        if (k.registered) {
            EXPECT_EQ(dbtest::psqlValue("select count(*) from locations where parent_id = " + std::to_string(c.floor)),
                      "0");
        }
    }
}

TEST(TakeOffCommand, WithoutDatabaseSettingsItSaysWhereToPutThem)
{
    CommandRun c("no-settings", false);
    auto r = c.run();
    EXPECT_NE(r.out.find("No property database is set up: give dbDatasource, dbUserID and dbPassword in"),
              std::string::npos)
        << r.out;
}

}  // namespace
