// The block hyperlink dialog (mbh) driven by scripts on an ezdxf-made plan
// with three references of one space block: the links each reference holds
// afterwards are read back with ezdxf from the saved drawing.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/commands/CommandTestSupport.h"

namespace {

using zelkatest::RunResult;

const std::filesystem::path kPlan = zelkatest::kFixtureDir / "spaces-copies.dxf";

// The handles of the plan's three references of ROOM-1 (the linked one first) and of ROOM-2.
std::vector<std::string> planHandles()
{
    const zelkatest::DrawingFacts plan = zelkatest::readDrawingFacts(kPlan);
    std::vector<std::string> handles;
    for (const zelkatest::InsertFact& i : plan.inserts)
        if (i.name == "ROOM-1") handles.push_back(i.handle);
    if (plan.insertOf("ROOM-2")) handles.push_back(plan.insertOf("ROOM-2")->handle);
    return handles;
}

// Every link of each reference as "href|description", in order, from its
// PE_URL record as ezdxf reads it: an address at the top level, its
// description the first text of the group that follows.
std::map<std::string, std::string> linksOf(const std::filesystem::path& drawing)
{
    std::map<std::string, std::string> links;
    const nlohmann::json dump = zelkatest::dxfDump(drawing);
    for (const nlohmann::json& e : dump.at("modelspace")) {
        if (e.at("type") != "INSERT") continue;
        std::string& text = links[e.at("handle").get<std::string>()];
        int depth = 0;
        bool want = false;
        for (const nlohmann::json& item : e.at("xdata").value("PE_URL", nlohmann::json::array())) {
            const std::string value = item.at(1).is_string() ? item.at(1).get<std::string>() : "";
            if (item.at(0) == 1002) {
                depth += value == "{" ? 1 : -1;
            } else if (item.at(0) == 1000 && depth == 0) {
                text += (text.empty() ? "" : ";") + value + "|";
                want = true;
            } else if (item.at(0) == 1000 && depth == 1 && want) {
                text += value;
                want = false;
            }
        }
    }
    return links;
}

TEST(BlockHyperlink, RowsBecomeTheLinksOfThePickedBlockOrOfEveryBlockOfItsName)
{
    zelkatest::TempFolder work;
    const std::filesystem::path plan = work.path() / "plan.dxf";
    std::filesystem::copy_file(kPlan, plan);
    const std::vector<std::string> handles = planHandles();
    ASSERT_EQ(handles.size(), 4u);
    const std::string &first = handles[0], &copy1 = handles[1], &copy2 = handles[2], &other = handles[3];

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
            EXPECT_EQ(zelkatest::countOf(r.out, c.says), 1) << r.out;
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
    std::filesystem::copy_file(kPlan, plan);
    const std::string first = planHandles().at(0);
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
