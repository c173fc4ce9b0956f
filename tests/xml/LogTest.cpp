// The error and debug logs: the frame, entries and their nesting, repeated
// writes, damaged files, the debug log switch, reporting to every configured
// log, and the stylesheets that show a log as a report.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "XmlTestSupport.h"
#include "config/PreferencesDocMon.h"
#include "infra/Log.h"
#include "infra/XMLUtilities.h"
#include "infra/ZelkaExceptions.h"
#include "tests/common/Shell.h"
#include "tests/common/TestRequirements.h"

namespace {

// A chain of three as operations build it: the innermost failure wrapped
// twice on its way out.
CEXUnhandled threeLevelChain()
{
    auto innermost = std::make_unique<CEXInvalidHandle>(ZELKA_MODULE_TITLE, "/src/spaces/BlockDWG.cpp",
                                                        "CBlockDWG::setHandle", "ZZ9");
    auto middle = std::make_unique<CEXUnhandled>(ZELKA_MODULE_TITLE, "/src/spaces/Blocks.cpp",
                                                 "CBlocks::getZelkaDWGBlocks_SS", 0, std::move(innermost));
    return CEXUnhandled(ZELKA_MODULE_TITLE, "/src/reports/GraphicReport.cpp", "CGraphicReport::applyToDrawing", 0,
                        std::move(middle));
}

std::vector<std::string> elementNames(pugi::xml_node node)
{
    std::vector<std::string> names;
    for (pugi::xml_node child : node.children())
        if (child.type() == pugi::node_element) names.push_back(CXMLUtilities::localName(child));
    return names;
}

std::vector<pugi::xml_node> elements(pugi::xml_node node, const char* name)
{
    std::vector<pugi::xml_node> found;
    for (pugi::xml_node child : node.children(name)) found.push_back(child);
    return found;
}

pugi::xml_node loadRoot(pugi::xml_document& document, const std::string& path)
{
    CXMLLoadResult loaded = CXMLUtilities().loadXMLDocument(document, path);
    EXPECT_TRUE(loaded.ok) << path << ": " << loaded.describe();
    return CXMLUtilities::rootElement(document);
}

using zelkatest::captureOutput;

class Logs : public ::testing::Test {
protected:
    xmltest::TempFolder folder;
};

}  // namespace

TEST_F(Logs, ThreeWritesHoldThreeNestedEntriesAndStayValid)
{
    const std::string path = folder.path("errors.xml");
    const CEXUnhandled chain = threeLevelChain();
    for (int write = 1; write <= 3; ++write) {
        std::tm before = CXMLUtilities::currentLocalTime();
        CLog().writeToXMLErrorLog(path, chain);
        std::tm after = CXMLUtilities::currentLocalTime();

        pugi::xml_document document;
        pugi::xml_node root = loadRoot(document, path);  // valid XML after every write
        ASSERT_EQ(static_cast<int>(elements(root, "error").size()), write);

        // The newest entry is the last child; its date is the time of the write.
        pugi::xml_node entry = root.last_child();
        pugi::xml_node date = entry.child("date");
        // Each part a plain number, without leading zeros.
        EXPECT_EQ(std::string(date.child("month").text().get()), std::to_string(after.tm_mon + 1));
        const int year = date.child("year").text().as_int();
        EXPECT_TRUE(year == before.tm_year + 1900 || year == after.tm_year + 1900);
        const int minuteOfDay = date.child("hour").text().as_int() * 60 + date.child("minute").text().as_int();
        EXPECT_GE(minuteOfDay, before.tm_hour * 60 + before.tm_min - (after.tm_mday != before.tm_mday ? 1440 : 0));
        EXPECT_LE(minuteOfDay, after.tm_hour * 60 + after.tm_min);
    }

    // The frame: the error-log stylesheet, then the root in its namespace.
    pugi::xml_document document;
    pugi::xml_node root = loadRoot(document, path);
    ASSERT_EQ(document.first_child().next_sibling().type(), pugi::node_pi);
    EXPECT_STREQ(document.first_child().next_sibling().value(), "type=\"text/xsl\" href=\"errorLog.xsl\"");
    EXPECT_STREQ(root.name(), "errors");
    EXPECT_EQ(CXMLUtilities::namespaceOf(root), ZELKA_ERRORLOG_NAMESPACE);
    for (pugi::xml_node entry : elements(root, "error")) {
        const std::vector<std::string> withInner = {"date",        "class",    "procSig",       "source",
                                                    "description", "severity", "innerException"};
        const std::vector<std::string> innermostNames = {"date", "class", "procSig", "source", "description",
                                                         "severity"};
        // Outermost: wraps the middle one.
        EXPECT_EQ(elementNames(entry), withInner);
        EXPECT_STREQ(entry.child("class").text().get(), "GraphicReport");
        EXPECT_STREQ(entry.child("procSig").text().get(), "CGraphicReport::applyToDrawing");
        EXPECT_STREQ(entry.child("source").text().get(), ZELKA_MODULE_TITLE);
        EXPECT_STREQ(entry.child("description").text().get(), "unhandled error");
        EXPECT_STREQ(entry.child("severity").text().get(), "high");
        EXPECT_EQ(elementNames(entry.child("date")),
                  (std::vector<std::string>{"year", "month", "day", "hour", "minute", "second"}));
        // Middle.
        ASSERT_EQ(elementNames(entry.child("innerException")), std::vector<std::string>{"error"});
        pugi::xml_node middle = entry.child("innerException").child("error");
        EXPECT_EQ(elementNames(middle), withInner);
        EXPECT_STREQ(middle.child("class").text().get(), "Blocks");
        EXPECT_STREQ(middle.child("procSig").text().get(), "CBlocks::getZelkaDWGBlocks_SS");
        // Innermost: no inner exception; carries the real description.
        ASSERT_EQ(elementNames(middle.child("innerException")), std::vector<std::string>{"error"});
        pugi::xml_node innermost = middle.child("innerException").child("error");
        EXPECT_EQ(elementNames(innermost), innermostNames);
        EXPECT_STREQ(innermost.child("class").text().get(), "BlockDWG");
        EXPECT_STREQ(innermost.child("description").text().get(), "Invalid Handle - ZZ9");
        // Every element of an entry is in the error-log namespace.
        EXPECT_EQ(CXMLUtilities::namespaceOf(innermost.child("severity")), ZELKA_ERRORLOG_NAMESPACE);
        EXPECT_EQ(CXMLUtilities::namespaceOf(entry.child("date").child("year")), ZELKA_ERRORLOG_NAMESPACE);
    }
}

TEST_F(Logs, DamagedErrorLogIsKeptAsideAndANewLogStarted)
{
    const std::string path = folder.path("errors.xml");
    const std::string damaged = "<?xml version=\"1.0\"?>\n<errors xmlns=\"urn:zelkasystems:orvane:errorLog\">\n"
                                "  <error><class>x</class>\n";  // cut off mid-write: the parser stops on the last byte
    xmltest::writeFile(path, damaged);

    xmltest::CommandLineCapture commandLine;
    CLog().writeToXMLErrorLog(path, threeLevelChain());

    // The old text survives unchanged beside the log, under a name that says what happened.
    std::vector<std::string> kept;
    for (const auto& entry : std::filesystem::directory_iterator(folder.root()))
        if (entry.path().filename().string().rfind("errors.xml.damaged-", 0) == 0) kept.push_back(entry.path());
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(xmltest::readFile(kept[0]), damaged);
    EXPECT_NE(commandLine.text().find("The error log " + path + " could not be read (line 3, column 26: "),
              std::string::npos)
        << commandLine.text();
    EXPECT_NE(commandLine.text().find("kept as " + kept[0]), std::string::npos) << commandLine.text();

    // The new log holds the error being reported.
    pugi::xml_document document;
    pugi::xml_node root = loadRoot(document, path);
    EXPECT_EQ(elementNames(root), std::vector<std::string>{"error"});

    // A second damage on the same second does not overwrite the first one kept.
    xmltest::writeFile(path, "garbage");
    CLog().writeToXMLErrorLog(path, threeLevelChain());
    int keptCount = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.root()))
        if (entry.path().filename().string().rfind("errors.xml.damaged-", 0) == 0) ++keptCount;
    EXPECT_EQ(keptCount, 2);
}

TEST_F(Logs, AFileOfAnotherKindIsNotAppendedTo)
{
    const std::string path = folder.path("errors.xml");
    const std::string report = "<graphicReport xmlns=\"urn:zelkasystems:orvane:documentMonitor\"/>";
    xmltest::writeFile(path, report);
    xmltest::CommandLineCapture commandLine;
    CLog().writeToXMLErrorLog(path, threeLevelChain());
    EXPECT_NE(commandLine.text().find("the root element is \"graphicReport\", not \"errors\""), std::string::npos)
        << commandLine.text();
    pugi::xml_document document;
    EXPECT_STREQ(loadRoot(document, path).name(), "errors");
}

TEST_F(Logs, DebugEntriesHoldDescriptionAndTheGivenNode)
{
    const std::string path = folder.path("debug.xml");
    pugi::xml_document call;
    ASSERT_TRUE(CXMLUtilities()
                    .loadXMLText(call, "<storedProcedure xmlns=\"urn:zelkasystems:orvane:errorLog\">"
                                       "<name>__gr_getReportCategories</name><parameter><pName>@graphicReportID"
                                       "</pName><pValue>42</pValue></parameter></storedProcedure>")
                    .ok);
    CLog().writeToXMLDebugLog(path, "execSPReturnParas", call.document_element());
    CLog().writeToXMLDebugLog(path, "execSPNoReturnNoParas", pugi::xml_node());

    pugi::xml_document document;
    pugi::xml_node root = loadRoot(document, path);
    EXPECT_STREQ(document.first_child().next_sibling().value(), "type=\"text/xsl\" href=\"debugLog.xsl\"");
    EXPECT_STREQ(root.name(), "debugging");
    EXPECT_EQ(CXMLUtilities::namespaceOf(root), ZELKA_DEBUGLOG_NAMESPACE);
    std::vector<pugi::xml_node> entries = elements(root, "error");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(CXMLUtilities::namespaceOf(entries[0]), ZELKA_ERRORLOG_NAMESPACE);
    EXPECT_EQ(elementNames(entries[0]), (std::vector<std::string>{"date", "description", "storedProcedure"}));
    EXPECT_STREQ(entries[0].child("description").text().get(), "execSPReturnParas");
    EXPECT_STREQ(entries[0].child("storedProcedure").child("parameter").child("pValue").text().get(), "42");
    EXPECT_EQ(elementNames(entries[1]), (std::vector<std::string>{"date", "description"}));
}

TEST_F(Logs, DebugLogPathEmptyTouchesNoFile)
{
    CLog::setDebugLogPath("");
    CLog().writeToXMLDebugLog(CLog::getDebugLogPath(), "execSPNoReturnNoParas", pugi::xml_node());
    EXPECT_TRUE(std::filesystem::is_empty(folder.root()));
}

TEST_F(Logs, DamagedDebugLogIsLeftUntouchedAndReported)
{
    const std::string path = folder.path("debug.xml");
    xmltest::writeFile(path, "<debugging>");
    try {
        CLog().writeToXMLDebugLog(path, "execSPNoReturnNoParas", pugi::xml_node());
        FAIL() << "a damaged debug log must be reported";
    } catch (const CEXZelka& e) {
        EXPECT_EQ(e.getProcSig(), "CLog::writeToXMLDebugLog");
        EXPECT_EQ(e.innermost().getDescription(), "Invalid XML file - " + path);
    }
    EXPECT_EQ(xmltest::readFile(path), "<debugging>");
}

TEST_F(Logs, LogAndReportWritesToEveryConfiguredLog)
{
    const std::string settingsPath = folder.path("docmon.xml");
    xmltest::writeFile(settingsPath,
                       "<documentMonitorPreferences>"
                       "<server><acadErrorLogFilePath>" + folder.path("one.xml") + "</acadErrorLogFilePath></server>"
                       "<server><acadErrorLogFilePath>" + folder.path("two.xml") + "</acadErrorLogFilePath></server>"
                       "<server><dbTimeout>5</dbTimeout></server>"
                       "</documentMonitorPreferences>");
    CPreferencesDocMon& settings = CPreferencesDocMon::moduleSettings();
    ASSERT_TRUE(settings.loadPreferences(settingsPath));
    ASSERT_EQ(settings.getCount(), 3);

    xmltest::CommandLineCapture commandLine;
    CLog::logAndReport(threeLevelChain(), settings.errorLogPaths());
    settings.deleteObjects();

    const std::string detected = "An error has been detected in CGraphicReport::applyToDrawing. Please consult the "
                                 "error log\n";
    EXPECT_EQ(commandLine.text(), "An error has been detected please consult the error log\n" + detected + detected);
    for (const char* name : {"one.xml", "two.xml"}) {
        pugi::xml_document document;
        EXPECT_EQ(elements(loadRoot(document, folder.path(name)), "error").size(), 1u) << name;
    }
}

TEST_F(Logs, LogAndReportWithoutSettingsOnlyPrintsTheNotice)
{
    CPreferencesDocMon::moduleSettings().deleteObjects();
    xmltest::CommandLineCapture commandLine;
    CLog::logAndReport(threeLevelChain(), CPreferencesDocMon::moduleSettings().errorLogPaths());
    EXPECT_EQ(commandLine.text(), "An error has been detected please consult the error log\n");
    EXPECT_TRUE(std::filesystem::is_empty(folder.root()));
}

TEST_F(Logs, StylesheetsShowLogsAsReadableReports)
{
    ZELKA_REQUIRE(std::system("command -v xsltproc > /dev/null 2>&1") == 0, "xsltproc");
    const std::string errorLog = folder.path("errors.xml");
    CLog().writeToXMLErrorLog(errorLog, threeLevelChain());
    CLog().writeToXMLErrorLog(errorLog, CEXUnhandled(ZELKA_MODULE_TITLE, "/src/config/Preferences.cpp",
                                                     "CPreferences::loadPreferences", "Bad <value> & more", 0));
    const std::string resources = std::string(ZELKA_SOURCE_DIR) + "/resources/";
    const std::string html = captureOutput("xsltproc '" + resources + "errorLog.xsl' '" + errorLog + "'");
    EXPECT_NE(html.find("2 error(s) recorded."), std::string::npos) << html;
    // The chain in order, outermost first, and the innermost description.
    const size_t outer = html.find("GraphicReport::CGraphicReport::applyToDrawing");
    const size_t middle = html.find("Blocks::CBlocks::getZelkaDWGBlocks_SS");
    const size_t inner = html.find("BlockDWG::CBlockDWG::setHandle");
    ASSERT_NE(outer, std::string::npos) << html;
    EXPECT_LT(outer, middle);
    EXPECT_LT(middle, inner);
    EXPECT_NE(html.find("Invalid Handle - ZZ9"), std::string::npos);
    EXPECT_NE(html.find("Bad &lt;value&gt; &amp; more"), std::string::npos);
    EXPECT_EQ(html.find("unhandled error"), std::string::npos);  // only the innermost description is shown

    const std::string debugLog = folder.path("debug.xml");
    pugi::xml_document call;
    ASSERT_TRUE(CXMLUtilities().loadXMLText(call, "<storedProcedure><name>__gr_getReportLayersOn</name>"
                                                  "</storedProcedure>").ok);
    CLog().writeToXMLDebugLog(debugLog, "execSPReturnParas", call.document_element());
    const std::string debugHtml = captureOutput("xsltproc '" + resources + "debugLog.xsl' '" + debugLog + "'");
    EXPECT_NE(debugHtml.find("1 call(s) recorded."), std::string::npos) << debugHtml;
    EXPECT_NE(debugHtml.find("execSPReturnParas"), std::string::npos);
    EXPECT_NE(debugHtml.find("__gr_getReportLayersOn"), std::string::npos);
}
