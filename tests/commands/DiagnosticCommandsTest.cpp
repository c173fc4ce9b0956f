// The diagnostic commands run through zelka: their texts, the test errors
// shown and survived, the prompts with their defaults, and the XML file md9
// writes (read back with Python's own XML parser).

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/commands/CommandTestSupport.h"

namespace fs = std::filesystem;
using namespace zelkatest;

namespace {

// The part of the transcript after the first occurrence of marker.
std::string after(const std::string& text, const std::string& marker)
{
    size_t at = text.find(marker);
    return at == std::string::npos ? std::string() : text.substr(at + marker.size());
}

}  // namespace

TEST(DiagnosticCommands, BasicOutputAndTheTwoTestErrorsShownAndSurvived)
{
    PlanRun run("");
    RunResult r = run.run({"md1", "md4", "md5", "md6"});
    EXPECT_NE(r.out.find("basic test - output to commandline\nbasic test successful\nbasic test completed\n"),
              std::string::npos)
        << r.out;
    // md4: the chain names the command twice (the test error, wrapped at the command top)
    EXPECT_NE(r.out.find("Error Test A - throws test error\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("blockEdit::diagnosticErrorsA\n\tblockEdit::diagnosticErrorsA\n\ntest error"),
              std::string::npos)
        << r.out;
    // md5: raised with "blockEdit.cpp" as its source file, so the class is blockEdit too
    EXPECT_NE(r.out.find("blockEdit::diagnosticErrorsB\n\tblockEdit::diagnosticErrorsB\n\ntest error"),
              std::string::npos)
        << r.out;
    // both complete after their error, and md6 still runs
    EXPECT_EQ(after(r.out, "Error Test A").find("error handling test completed\n") != std::string::npos, true);
    EXPECT_NE(r.out.find("Error Test C - retrieve function name\nfunction diagnosticErrorsC\n"), std::string::npos);
    EXPECT_EQ(r.exitCode, 1);  // an error was shown
}

TEST(DiagnosticCommands, UserInputEchoesEachAnswerAndTheDefaults)
{
    PlanRun run("");
    RunResult typed = run.run({"md8", "1", "2.71828", "42", "hello there"});
    EXPECT_NE(typed.out.find("user input test - tests boolean, double, integer, string input\n"), std::string::npos)
        << typed.out;
    EXPECT_NE(typed.out.find("boolean user input test successful - 1\n"), std::string::npos) << typed.out;
    // 2.71828 with three decimals: 2.718
    EXPECT_NE(typed.out.find("decimal user input test successful - 2.718\n"), std::string::npos) << typed.out;
    EXPECT_NE(typed.out.find("integer user input test successful - 42\n"), std::string::npos) << typed.out;
    EXPECT_NE(typed.out.find("text user input test successful - hello there\n"), std::string::npos) << typed.out;
    EXPECT_NE(typed.out.find("user input test finished\n"), std::string::npos);
    EXPECT_EQ(typed.exitCode, 0) << typed.out;

    RunResult defaults = run.run({"md8", "", "", "", ""});
    EXPECT_NE(defaults.out.find("testing text input. Type some text and then enter <diagnosis>:"), std::string::npos)
        << defaults.out;
    EXPECT_NE(defaults.out.find("text user input test successful - diagnosis\n"), std::string::npos) << defaults.out;
    EXPECT_NE(defaults.out.find("boolean user input test successful - 0\n"), std::string::npos) << defaults.out;
}

TEST(DiagnosticCommands, XmlTestReplacesAnExistingFileWithTheFramedDocument)
{
    PlanRun run("");
    const fs::path target = run.folder() / "diag out" / "zelkaDiagnosis.xml";
    writeFile(target, "not xml at all, and long enough to notice if it were kept\n");
    RunResult r = run.run({"md9", target.string()});
    EXPECT_NE(r.out.find("xml test - outputs xml file to specified location\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("please enter output file path <"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("xml test completed successfully\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.exitCode, 0) << r.out;
    const std::string shape = runPython(
        "import sys, xml.dom.minidom as m\n"
        "d = m.parse(sys.argv[1])\n"
        "pis = [n.target for n in d.childNodes if n.nodeType == n.PROCESSING_INSTRUCTION_NODE]\n"
        "r = d.documentElement\n"
        "kids = [(k.localName, k.namespaceURI, k.firstChild.data) for k in r.childNodes if k.nodeType == k.ELEMENT_NODE]\n"
        "print(open(sys.argv[1]).read().startswith('<?xml '), pis, r.localName, r.namespaceURI, kids)\n",
        {target.string()});
    EXPECT_EQ(shape,
              "True ['xml-stylesheet'] root urn:zelkasystems:orvane:documentMonitor "
              "[('name', 'urn:zelkasystems:orvane:documentMonitor', 'value')]\n");
}

TEST(DiagnosticCommands, AllDiagnosticsRunInTurnWithoutTheDialogTest)
{
    PlanRun run("");
    const fs::path target = run.folder() / "all.xml";
    RunResult r = run.run({"mda", "0", "1.5", "7", "", target.string()});
    const char* order[] = {"basic test completed",       "Error Test A", "Error Test B",
                           "retrieve function name",     "retrieve file name", "user input test finished",
                           "xml test completed successfully"};
    size_t at = 0;
    for (const char* marker : order) {
        size_t next = r.out.find(marker, at);
        ASSERT_NE(next, std::string::npos) << marker << "\n" << r.out;
        at = next;
    }
    EXPECT_EQ(r.out.find("dialog test"), std::string::npos);
    EXPECT_NE(r.out.find("file /"), std::string::npos) << "md7 prints the full path of its source file";
    EXPECT_TRUE(fs::exists(target));
}
