// The XML helpers: namespaced elements, dates as element trees, the framed
// document, loading with line numbers, atomic saving.

#include <gtest/gtest.h>

#include <filesystem>

#include "XmlTestSupport.h"
#include "infra/XMLUtilities.h"
#include "infra/ZelkaExceptions.h"

namespace {

std::tm makeTime(int year, int month, int day, int hour, int minute, int second)
{
    std::tm when{};
    when.tm_year = year - 1900;
    when.tm_mon = month - 1;
    when.tm_mday = day;
    when.tm_hour = hour;
    when.tm_min = minute;
    when.tm_sec = second;
    return when;
}

}  // namespace

TEST(XMLUtilities, DateNodeHoldsSixPartsInOrderWithoutLeadingZeros)
{
    pugi::xml_document document;
    pugi::xml_node root = document.append_child("root");
    pugi::xml_node date =
        CXMLUtilities().createUniversalTimeNode(root, ZELKA_ERRORLOG_NAMESPACE, makeTime(2026, 3, 5, 9, 7, 3));

    EXPECT_STREQ(date.name(), "date");
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"year", "2026"}, {"month", "3"}, {"day", "5"}, {"hour", "9"}, {"minute", "7"}, {"second", "3"}};
    std::vector<std::pair<std::string, std::string>> actual;
    for (pugi::xml_node part : date.children()) actual.emplace_back(part.name(), part.text().get());
    EXPECT_EQ(actual, expected);
    // The date is in the namespace it was given; its parts inherit it.
    EXPECT_EQ(CXMLUtilities::namespaceOf(date), ZELKA_ERRORLOG_NAMESPACE);
    EXPECT_EQ(CXMLUtilities::namespaceOf(date.first_child()), ZELKA_ERRORLOG_NAMESPACE);
    EXPECT_FALSE(date.first_child().attribute("xmlns"));
}

TEST(XMLUtilities, EmptyTextMakesNoTextChild)
{
    pugi::xml_document document;
    pugi::xml_node root = document.append_child("root");
    pugi::xml_node empty = CXMLUtilities().createNode(root, "empty", "urn:a", "");
    pugi::xml_node full = CXMLUtilities().createNode(root, "full", "urn:a", "x");
    EXPECT_FALSE(empty.first_child());
    ASSERT_TRUE(full.first_child());
    EXPECT_EQ(full.first_child().type(), pugi::node_pcdata);
}

TEST(XMLUtilities, NamespaceIsDeclaredOnlyWhereItChanges)
{
    pugi::xml_document document;
    CXMLUtilities xml;
    pugi::xml_node root = xml.makeFramedDocument(document, "", "outer", "urn:outer");
    pugi::xml_node same = xml.createNode(root, "same", "urn:outer");
    pugi::xml_node other = xml.createNode(same, "other", "urn:inner");
    pugi::xml_node inside = xml.createNode(other, "inside", "urn:inner");

    EXPECT_FALSE(same.attribute("xmlns"));
    EXPECT_STREQ(other.attribute("xmlns").value(), "urn:inner");
    EXPECT_FALSE(inside.attribute("xmlns"));
    EXPECT_EQ(CXMLUtilities::namespaceOf(same), "urn:outer");
    EXPECT_EQ(CXMLUtilities::namespaceOf(inside), "urn:inner");

    // Read back by a parser: each element is in the namespace it was made in.
    pugi::xml_document reread;
    ASSERT_TRUE(xml.loadXMLText(reread, xml.toText(document)).ok);
    pugi::xml_node readInside = reread.document_element().child("same").child("other").child("inside");
    EXPECT_EQ(CXMLUtilities::namespaceOf(readInside), "urn:inner");
}

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

TEST(XMLUtilities, OffsetsBecomeLinesAndColumns)
{
    // "ab\ncd\n\nef": offsets 0..1 on line 1, 3..4 on line 2, 6 on line 3, 7.. on line 4.
    const std::string text = "ab\ncd\n\nef";
    int line = 0;
    int column = 0;
    CXMLUtilities::offsetToLine(text, 0, line, column);
    EXPECT_EQ(std::make_pair(line, column), std::make_pair(1, 1));
    CXMLUtilities::offsetToLine(text, 4, line, column);
    EXPECT_EQ(std::make_pair(line, column), std::make_pair(2, 2));
    CXMLUtilities::offsetToLine(text, 6, line, column);
    EXPECT_EQ(std::make_pair(line, column), std::make_pair(3, 1));
    CXMLUtilities::offsetToLine(text, 8, line, column);
    EXPECT_EQ(std::make_pair(line, column), std::make_pair(4, 2));
    CXMLUtilities::offsetToLine(text, 100, line, column);  // past the end: the last position
    EXPECT_EQ(std::make_pair(line, column), std::make_pair(4, 3));
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
