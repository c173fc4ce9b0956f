// The XML helpers: prefixed names, the framed document, loading with line
// numbers, strict booleans, atomic saving.

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/wait.h>
#include <unistd.h>

#include "XmlTestSupport.h"
#include "infra/XMLUtilities.h"
#include "infra/ZelkaExceptions.h"

TEST(XMLUtilities, PrefixedNamesAreReadByLocalNameAndPrefixNamespace)
{
    pugi::xml_document document;
    ASSERT_TRUE(CXMLUtilities()
                    .loadXMLText(document, "<g:graphicReport xmlns:g=\"urn:x\"><g:grTitle> Plan </g:grTitle>"
                                           "</g:graphicReport>")
                    .ok);
    pugi::xml_node root = CXMLUtilities::rootElement(document);
    EXPECT_EQ(CXMLUtilities::localName(root), "graphicReport");
    EXPECT_EQ(CXMLUtilities::namespaceOf(root.first_child()), "urn:x");
    EXPECT_EQ(CXMLUtilities::getText(root.first_child()), "Plan");
}

TEST(XMLUtilities, FramedDocumentStartsWithTwoInstructionsAndAnEmptyRoot)
{
    xmltest::TempFolder folder;
    const std::string path = folder.path("frame.xml");
    pugi::xml_document document;
    CXMLUtilities().makeFramedDocumentFile(document, path, "errorLog.xsl", "errors", ZELKA_ERRORLOG_NAMESPACE);

    pugi::xml_document reread;
    ASSERT_TRUE(CXMLUtilities().loadXMLDocument(reread, path).ok);
    pugi::xml_node first = reread.first_child();
    pugi::xml_node second = first.next_sibling();
    pugi::xml_node third = second.next_sibling();
    ASSERT_EQ(first.type(), pugi::node_declaration);
    EXPECT_STREQ(first.attribute("version").value(), "1.0");
    EXPECT_STREQ(first.attribute("encoding").value(), "UTF-8");
    ASSERT_EQ(second.type(), pugi::node_pi);
    EXPECT_STREQ(second.name(), "xml-stylesheet");
    EXPECT_STREQ(second.value(), "type=\"text/xsl\" href=\"errorLog.xsl\"");
    ASSERT_EQ(third.type(), pugi::node_element);
    EXPECT_STREQ(third.name(), "errors");
    EXPECT_EQ(CXMLUtilities::namespaceOf(third), ZELKA_ERRORLOG_NAMESPACE);
    EXPECT_FALSE(third.first_child());
    EXPECT_FALSE(third.next_sibling());
    // The file text itself starts with the declaration, then the stylesheet.
    EXPECT_EQ(xmltest::readFile(path).rfind(
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<?xml-stylesheet type=\"text/xsl\" "
                  "href=\"errorLog.xsl\"?>\n",
                  0),
              0u);
}

TEST(XMLUtilities, MalformedTextsFailWithTheirLine)
{
    struct Case {
        const char* text;
        int line;
        int column;
        const char* messagePart;
    };
    // Lines and columns counted by hand: the column is the byte where the
    // parser stopped (1-based).
    const Case cases[] = {
        {"<a>\n<b>\n</a>", 3, 3, "mismatch"},          // "</a>" closes <b>: stops after "</"
        {"not xml", 1, 8, "No document element"},      // nothing but text
        {"", 1, 1, "No document element"},             // empty file
        {"<a>\n  <b x=1/>\n</a>", 2, 8, "attribute"},  // unquoted attribute value at "1"
        {"<a>text", 1, 7, "mismatch"},                 // never closed: stops on the last character
        {"<a>\n</a>\n  <b/>", 3, 4, "More than one root"},
    };
    for (const Case& c : cases) {
        pugi::xml_document document;
        CXMLLoadResult result = CXMLUtilities().loadXMLText(document, c.text);
        SCOPED_TRACE(c.text);
        EXPECT_FALSE(result.ok);
        EXPECT_FALSE(result.fileMissing);
        EXPECT_EQ(result.line, c.line);
        EXPECT_EQ(result.column, c.column);
        EXPECT_NE(result.message.find(c.messagePart), std::string::npos) << result.message;
        EXPECT_EQ(result.describe().rfind("line " + std::to_string(c.line) + ", column ", 0), 0u);
    }
}

TEST(XMLUtilities, MissingFileIsReportedNotThrown)
{
    xmltest::TempFolder folder;
    pugi::xml_document document;
    CXMLLoadResult result = CXMLUtilities().loadXMLDocument(document, folder.path("absent.xml"));
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.fileMissing);
    EXPECT_EQ(result.line, 0);
    EXPECT_NE(result.message.find("No such file"), std::string::npos) << result.message;

    CXMLLoadResult folderResult = CXMLUtilities().loadXMLDocument(document, folder.root());
    EXPECT_FALSE(folderResult.ok);
    EXPECT_TRUE(folderResult.fileMissing);
    EXPECT_NE(folderResult.message.find("Is a directory"), std::string::npos) << folderResult.message;
}

TEST(XMLUtilities, BooleansAreOneAndTrueOnly)
{
    EXPECT_TRUE(CXMLUtilities::readBoolean("1"));
    EXPECT_TRUE(CXMLUtilities::readBoolean("true"));
    for (const char* text : {"yes", "TRUE", "True", "0", "", "2", "t", "y"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(CXMLUtilities::readBoolean(text));
    }
}

TEST(XMLUtilities, SaveIntoMissingFolderThrowsAChainNamingThePath)
{
    xmltest::TempFolder folder;
    const std::string path = folder.path("no-such-folder/out.xml");
    pugi::xml_document document;
    document.append_child("root");
    try {
        CXMLUtilities().saveXMLDocument(document, path);
        FAIL() << "saving into a missing folder must fail";
    } catch (const CEXZelka& e) {
        EXPECT_EQ(e.getProcSig(), "CXMLUtilities::saveXMLDocument");
        EXPECT_EQ(e.getClass(), "XMLUtilities");
        EXPECT_NE(e.innermost().getDescription().find(path), std::string::npos) << e.innermost().getDescription();
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder.root()));
}

TEST(XMLUtilities, SaveReplacesTheFileWholeAndLeavesNoTemporary)
{
    xmltest::TempFolder folder;
    const std::string path = folder.path("doc.xml");
    xmltest::writeFile(path, std::string(10000, 'x'));
    pugi::xml_document document;
    document.append_child("root").append_child(pugi::node_pcdata).set_value("short");
    CXMLUtilities().saveXMLDocument(document, path);
    EXPECT_EQ(xmltest::readFile(path), "<root>short</root>\n");
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.root())) ++files;
    EXPECT_EQ(files, 1);
}

// A save killed between its temporary and the rename leaves "PATH.tmp-PID";
// the clean-up before the file is written again removes those of processes
// that are gone, and leaves those of running processes and other files alone.
TEST(XMLUtilities, StaleTemporariesOfProcessesThatAreGoneAreRemoved)
{
    xmltest::TempFolder folder;
    const std::string path = folder.path("r107.xml");
    const pid_t gone = fork();
    ASSERT_GE(gone, 0);
    if (gone == 0)
        _exit(0);
    ASSERT_EQ(waitpid(gone, nullptr, 0), gone);
    const std::string stale = path + ".tmp-" + std::to_string(gone);
    const std::string running = path + ".tmp-" + std::to_string(getppid());
    const std::string otherFile = folder.path("r108.xml.tmp-" + std::to_string(gone));
    const std::string notAPid = path + ".tmp-old";
    for (const std::string& f : {stale, running, otherFile, notAPid})
        xmltest::writeFile(f, "<half");
    CXMLUtilities::removeStaleTemporaries(path);
    pugi::xml_document document;
    document.append_child("root");
    CXMLUtilities().saveXMLDocument(document, path);
    EXPECT_EQ(xmltest::readFile(path), "<root />\n");
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_TRUE(std::filesystem::exists(running));
    EXPECT_TRUE(std::filesystem::exists(otherFile));
    EXPECT_TRUE(std::filesystem::exists(notAPid));
}
