// Inputs that once broke a run, each run through zelka the way it broke:
//   *.scr        scripts that must run clean (exit 0, no unknown command);
//   *.prefs.cfg  preferences with which mut, its input ending at once, must
//                end (status 1) instead of asking for ever.

#include <gtest/gtest.h>

#include "tests/common/AppTestSupport.h"
#include "tests/common/ZelkaProcess.h"

using namespace zelkatest;

namespace {

const std::filesystem::path kInputs = std::filesystem::path(ZELKA_SOURCE_DIR) / "tests/regressions/input";

}  // namespace

TEST(InputRegressions, EachInputRunsThroughThePathThatBroke)
{
    int checked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kInputs)) {
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        TempFolder appData;
        const std::filesystem::path prefs = zelkatest::prefsIn(appData.path());
        if (name.ends_with(".scr")) {
            writeFile(prefs, "//\n//\n//\n//\nunits\n0\n");
            RunResult result = runZelka({"--appdata", appData.path().string(), "--script", entry.path().string()});
            EXPECT_EQ(result.exitCode, 0) << result.out;
            EXPECT_EQ(result.out.find("Unknown command"), std::string::npos) << result.out;
            ++checked;
        } else if (name.ends_with(".prefs.cfg")) {
            writeFile(prefs, readFile(entry.path()));
            RunOptions options;
            options.timeoutSeconds = 60;
            RunResult result = runZelkaWith({"--appdata", appData.path().string(), "--command", "mut"}, options);
            EXPECT_FALSE(result.timedOut);
            EXPECT_EQ(result.exitCode, 1);
            EXPECT_LT(result.out.size(), 10000u);
            ++checked;
        }
    }
    EXPECT_GE(checked, 4);
}
