// The block hyperlink dialog (mbh) driven by scripts on an ezdxf-made plan
// with three references of one space block: the links each reference holds
// afterwards are read back with ezdxf from the saved drawing.

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/commands/CommandTestSupport.h"

namespace {

using zelkatest::RunResult;

// The commands' spaces fixture with two more references of ROOM-1 and a
// link on the first one. Prints the handles: first ROOM-1, the two copies,
// then ROOM-2.
const char* kMakePlan = R"(import sys, ezdxf
doc = ezdxf.readfile(sys.argv[1])
msp = doc.modelspace()
first = [e for e in msp.query('INSERT') if e.dxf.name == 'ROOM-1'][0]
other = [e for e in msp.query('INSERT') if e.dxf.name == 'ROOM-2'][0]
first.set_hyperlink('http://old/1', 'Old one')
copies = [msp.add_blockref('ROOM-1', (5000, y)) for y in (20000, 30000)]
doc.saveas(sys.argv[2])
print(first.dxf.handle, copies[0].dxf.handle, copies[1].dxf.handle, other.dxf.handle)
)";

// Every link of each reference as "href|description", in order, from the
// PE_URL record: an address at the top level, its description the first
// text of the group that follows.
const char* kReadLinks = R"(import sys, ezdxf
doc = ezdxf.readfile(sys.argv[1])
for e in doc.modelspace().query('INSERT'):
    links, depth, want = [], 0, False
    if e.has_xdata('PE_URL'):
        for code, value in e.get_xdata('PE_URL'):
            if code == 1002:
                depth += 1 if value == '{' else -1
            elif code == 1000 and depth == 0:
                links.append([value, ''])
                want = True
            elif code == 1000 and depth == 1 and want:
                links[-1][1] = value
                want = False
    print(e.dxf.handle, ';'.join(h + '|' + d for h, d in links))
)";

std::map<std::string, std::string> linksOf(const std::filesystem::path& drawing)
{
    std::map<std::string, std::string> links;
    std::istringstream lines(zelkatest::runPython(kReadLinks, {drawing.string()}));
    std::string line;
    while (std::getline(lines, line)) {
        size_t blank = line.find(' ');
        links[line.substr(0, blank)] = blank == std::string::npos ? "" : line.substr(blank + 1);
    }
    return links;
}

size_t countOf(const std::string& text, const std::string& part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

TEST(BlockHyperlink, RowsBecomeTheLinksOfThePickedBlockOrOfEveryBlockOfItsName)
{
    zelkatest::TempFolder work;
    const std::filesystem::path plan = work.path() / "plan.dxf";
    std::istringstream handles(zelkatest::runPython(
        kMakePlan, {(std::filesystem::path(ZELKA_SOURCE_DIR) / "tests/data/commands/spaces.dxf").string(), plan.string()}));
    std::string first, copy1, copy2, other;
    handles >> first >> copy1 >> copy2 >> other;
    ASSERT_FALSE(other.empty()) << "ezdxf could not make the plan";

    // The rows: an address with a description, one without (it takes the
    // address), a description without an address (ignored) and a repeated
    // address (counted once).
    const std::vector<std::string> rows = {"dlg:set IDC_HREF1 http://a/plan.pdf", "dlg:set IDC_DESC1 Floor plan",
                                           "dlg:set IDC_HREF2 http://b/", "dlg:set IDC_DESC2",
                                           "dlg:set IDC_DESC3 lonely", "dlg:set IDC_HREF4 http://a/plan.pdf",
                                           "dlg:set IDC_DESC4 again"};
    const std::string newLinks = "http://a/plan.pdf|Floor plan;http://b/|http://b/";
    const std::string oldLink = "http://old/1|Old one";
    struct Case {
        const char* label;
        std::vector<std::string> after;  // the lines after the rows
        const char* says;
        std::string firstLinks, copyLinks;
    } cases[] = {
        {"every block of the name", {"dlg:check IDC_ALL_SIMILAR", "dlg:click IDOK"}, "3 block(s) affected.\n",
         newLinks, newLinks},
        {"the picked block", {"dlg:click IDC_APPLY", "dlg:click IDCANCEL"}, "1 block affected.\n", newLinks, ""},
        {"cancel", {"dlg:click IDCANCEL"}, "", oldLink, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        std::vector<std::string> script = {"mbh", "dlg:click IDC_SELECT_BLOCK", first, "dlg:show"};
        script.insert(script.end(), rows.begin(), rows.end());
        script.insert(script.end(), c.after.begin(), c.after.end());
        std::string text;
        for (const std::string& line : script) text += line + "\n";
        zelkatest::writeFile(work.path() / "run.scr", text);
        const std::filesystem::path saved = work.path() / "saved.dxf";
        RunResult r = zelkatest::runZelka({"--appdata", (work.path() / "appdata").string(), "--script",
                                           (work.path() / "run.scr").string(), "--save-as", saved.string(),
                                           plan.string()});
        ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
        EXPECT_NE(r.out.find("Zelka Block Hyperlink "), std::string::npos) << r.out;
        EXPECT_NE(r.out.find("Please select a block to hyperlink\n"), std::string::npos) << r.out;
        EXPECT_NE(r.out.find("Block Selected\n"), std::string::npos) << r.out;
        // The picked block's link fills the first row.
        EXPECT_NE(r.out.find("Hyperlink 1 [http://old/1]"), std::string::npos) << r.out;
        EXPECT_NE(r.out.find("Description 1 [Old one]"), std::string::npos) << r.out;
        if (*c.says) {
            EXPECT_EQ(countOf(r.out, c.says), 1u) << r.out;
        }
        EXPECT_EQ(r.out.find("block(s) affected") != std::string::npos || r.out.find("1 block affected") != std::string::npos,
                  *c.says != '\0')
            << r.out;

        std::map<std::string, std::string> links = linksOf(saved);
        EXPECT_EQ(links[first], c.firstLinks);
        EXPECT_EQ(links[copy1], c.copyLinks);
        EXPECT_EQ(links[copy2], c.copyLinks);
        EXPECT_EQ(links[other], "");
    }
}

TEST(BlockHyperlink, ApplyWithEveryRowEmptyTakesTheLinksOff)
{
    zelkatest::TempFolder work;
    const std::filesystem::path plan = work.path() / "plan.dxf";
    std::istringstream handles(zelkatest::runPython(
        kMakePlan, {(std::filesystem::path(ZELKA_SOURCE_DIR) / "tests/data/commands/spaces.dxf").string(), plan.string()}));
    std::string first;
    handles >> first;
    ASSERT_FALSE(first.empty());
    zelkatest::writeFile(work.path() / "run.scr", "mbh\ndlg:click IDC_SELECT_BLOCK\n" + first +
                                                      "\ndlg:set IDC_HREF1\ndlg:set IDC_DESC1\ndlg:click IDC_APPLY\n"
                                                      "dlg:click IDCANCEL\n");
    const std::filesystem::path saved = work.path() / "saved.dxf";
    RunResult r = zelkatest::runZelka({"--appdata", (work.path() / "appdata").string(), "--script",
                                       (work.path() / "run.scr").string(), "--save-as", saved.string(), plan.string()});
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("1 block affected.\n"), std::string::npos) << r.out;
    EXPECT_EQ(linksOf(plan)[first], "http://old/1|Old one");
    EXPECT_EQ(linksOf(saved)[first], "");
}

TEST(BlockHyperlink, OkAndApplyWaitForAPickAndAMissedPickSaysSo)
{
    zelkatest::TempFolder work;
    zelkatest::writeFile(work.path() / "run.scr", "mbh\ndlg:click IDOK\ndlg:click IDC_SELECT_BLOCK\n\ndlg:click IDCANCEL\n");
    RunResult r = zelkatest::runZelka({"--appdata", (work.path() / "appdata").string(), "--script",
                                       (work.path() / "run.scr").string(),
                                       (std::filesystem::path(ZELKA_SOURCE_DIR) / "tests/data/commands/spaces.dxf").string()});
    EXPECT_EQ(r.out.find("block affected"), std::string::npos) << r.out;
    // OK is disabled until a block is picked: the click is refused.
    EXPECT_NE(r.out.find("Dialog action failed"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("A new block has not been selected\n"), std::string::npos) << r.out;
}

}  // namespace
