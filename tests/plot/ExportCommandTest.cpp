// The host's EXPORT command run by the zelka program from a script, as a
// user runs it: the name asked on the command line, the format from the
// extension, the current layout with its settings, clear refusals.
#include <gtest/gtest.h>

#include "tests/common/ZelkaProcess.h"
#include "tests/plot/PlotTestSupport.h"

namespace fs = std::filesystem;
using namespace plottest;

TEST(ExportCommand, EveryNameOfTheCommandPlotsTheCurrentLayoutByExtension)
{
    zelkatest::TempFolder folder;
    const fs::path dxf = fixture(folder.path(), "sheet");
    struct Case {
        const char* script;
        const char* file;     // written, in the drawing's folder
        const char* says;
    };
    const Case cases[] = {
        // A name without an extension plots a PDF; Enter takes the proposed name.
        {"EXPORT\nplan\n", "plan.pdf", "Plotted layout \"Model\" to plan.pdf"},
        {"_EXPORT\n\n", "sheet.pdf", "Export file name <"},
        {"-EXPORT\nplan.png\n", "plan.png", "Plotted layout \"Model\" to plan.png"},
        {"export\nplan.JPG\n", "plan.JPG", "Plotted layout \"Model\""},
        {"EXPORT\nplan.svg\n", "plan.svg", "Plotted layout \"Model\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        zelkatest::RunOptions options;
        options.folder = folder.path();
        const auto result = zelkatest::runZelkaWith(
            {"--appdata", (folder.path() / "app").string(), "--command", c.script, dxf.string()}, options);
        EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
        EXPECT_NE(result.out.find(c.says), std::string::npos) << result.out;
        EXPECT_TRUE(fs::exists(folder.path() / c.file)) << result.out;
    }
    // The model layout of ezdxf's drawing names a device this host does not
    // have ("Adobe PDF", at 1:1): not set up here, so its extents (0..300 x
    // 0..60) are scaled to fit and centred on A3 landscape: the whole width.
    EXPECT_EQ(pdfinfo(folder.path() / "plan.pdf", "Page size"), "1190.55 x 841.89 pts (A3)");
    const Image png = readPng(folder.path() / "plan.png");
    ASSERT_EQ(png.width, 2480);
    const InkBox ink = inkBoxIn(png, 0, 0, png.width, png.height);
    EXPECT_LT(ink.x0, 5);
    EXPECT_GT(ink.x1, png.width - 5);
    EXPECT_NEAR((ink.y0 + ink.y1) / 2.0, png.height / 2.0, 3);
}

TEST(ExportCommand, APaperSpaceLayoutMadeCurrentPlotsItsSheet)
{
    zelkatest::TempFolder folder;
    // Saved with "Plan" current: the sheet's own page setup (A4 landscape, 1:1).
    const fs::path dxf = fixture(folder.path(), "sheet_active");
    zelkatest::RunOptions options;
    options.folder = folder.path();
    const auto result = zelkatest::runZelkaWith(
        {"--appdata", (folder.path() / "app").string(), "--command", "EXPORT\nsheet\n", dxf.string()}, options);
    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
    EXPECT_NE(result.out.find("Plotted layout \"Plan\" to sheet.pdf"), std::string::npos) << result.out;
    EXPECT_EQ(pdfinfo(folder.path() / "sheet.pdf", "Page size"), "841.89 x 595.276 pts (A4)");
    EXPECT_NE(dxftest::capture("pdftotext '" + (folder.path() / "sheet.pdf").string() + "' -").find("SHEET"),
              std::string::npos);
}

TEST(ExportCommand, RefusalsNameWhatWorksAndFailTheRun)
{
    zelkatest::TempFolder folder;
    const fs::path dxf = fixture(folder.path(), "sheet");
    struct Case {
        const char* script;
        const char* says;
    };
    const Case cases[] = {
        {"EXPORT\nplan.dwf\n", "DWF files cannot be written here: no program on this machine reads them. Plot to "
                               "PDF (.pdf), PNG (.png), JPG (.jpg) or SVG (.svg) instead."},
        {"EXPORT\nplan.tif\n", "\"plan.tif\" names no plot device."},
        {"EXPORT\nnowhere/plan.pdf\n", "The folder \"nowhere\" does not exist"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        zelkatest::RunOptions options;
        options.folder = folder.path();
        const auto result = zelkatest::runZelkaWith(
            {"--appdata", (folder.path() / "app").string(), "--command", c.script, dxf.string()}, options);
        EXPECT_NE(result.exitCode, 0);
        EXPECT_NE(result.out.find(c.says), std::string::npos) << result.out;
    }
    EXPECT_FALSE(fs::exists(folder.path() / "plan.dwf"));
    EXPECT_FALSE(fs::exists(folder.path() / "plan.tif"));
}
