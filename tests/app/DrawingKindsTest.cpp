// What zelka says about the kind of drawing it is given: one line naming what
// a file it cannot read really is, and a notice, once, when it upgrades an
// R12 drawing or repairs one.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/common/AppTestSupport.h"

using namespace zelkatest;

namespace {

size_t count(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

}  // namespace

TEST(DrawingKinds, UnreadableFilesGetOneLineThatNamesWhatTheyAre)
{
    TempFolder appData, plans;
    writeDefaultPreferences(appData.path());
    struct Case {
        const char* file;
        std::string content;
        const char* says;
    } cases[] = {
        {"binary.dxf", std::string("AutoCAD Binary DXF\r\n\x1a\0", 22) + std::string(40, '\x01'),
         "this is a binary DXF file; only ASCII DXF can be read - save it as ASCII DXF"},
        {"plan.dwg", std::string("AC1032") + std::string(100, '\0'), "this is a DWG drawing, not a DXF file"},
        {"r14.dxf", "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1014\n  0\nENDSEC\n  0\nEOF\n",
         "this is an R14 (AC1014) DXF file, which cannot be read"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const auto path = plans.path() / c.file;
        writeFile(path, c.content);
        RunResult r = runZelka({"--appdata", appData.path().string(), "--command", "md1", path.string()});
        EXPECT_EQ(r.exitCode, 3);
        EXPECT_EQ(r.out.find("Command:"), std::string::npos) << "no command runs without the drawing";
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("DWG") != std::string::npos, std::string(c.file) == "plan.dwg") << r.err;
    }
}

TEST(DrawingKinds, AnR12DrawingIsUpgradedWithOneNoticeAndSavedCurrent)
{
    TempFolder appData, plans;
    writeDefaultPreferences(appData.path());
    const auto source = std::filesystem::path(ZELKA_SOURCE_DIR) / "tests/data/dxf/r12/ac1009_with_handles.dxf";
    const auto plan = plans.path() / "office.dxf";
    std::filesystem::copy_file(source, plan);
    RunResult r = runZelka({"--appdata", appData.path().string(), "--command", "md1", "--save", plan.string()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const std::string notice = "office.dxf is an R12 (AC1009) drawing; it will be saved as AutoCAD 2013 DXF\n";
    EXPECT_EQ(count(r.out, notice), 1u) << r.out;
    const std::string saved = readFile(plan);
    EXPECT_NE(saved.find("$ACADVER\n  1\nAC1027\n"), std::string::npos);
    EXPECT_EQ(readFile(plan.string() + ".bak"), readFile(source));
    // Opened again, the saved drawing needs no upgrade: no notice.
    RunResult again = runZelka({"--appdata", appData.path().string(), "--command", "md1", plan.string()});
    EXPECT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(again.out.find("R12"), std::string::npos) << again.out;
}
