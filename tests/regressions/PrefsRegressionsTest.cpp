// Every prefs.cfg under tests/regressions/prefs/ once broke loading or
// saving. Each must load, save, and load again to the same values with
// nothing left to correct.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

#include "config/Preferences.h"
#include "infra/FileUtilities.h"

namespace fs = std::filesystem;

TEST(PrefsRegressions, EachFileSavesToOneThatReloadsClean)
{
    const fs::path appData = fs::path(ZELKA_BINARY_DIR) / "test-tmp" / "prefs-regressions";
    fs::remove_all(appData);
    setenv("ZELKA_APPDATA", appData.c_str(), 1);
    const fs::path prefsFile = CFileUtilities().preferencesFolder() + "prefs.cfg";
    fs::create_directories(prefsFile.parent_path());
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(fs::path(ZELKA_SOURCE_DIR) / "tests/regressions/prefs"))
        files.push_back(e.path());
    std::sort(files.begin(), files.end());
    ASSERT_FALSE(files.empty());
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.filename().string());
        fs::copy_file(file, prefsFile, fs::copy_options::overwrite_existing);
        CPreferences prefs;
        ASSERT_TRUE(prefs.loadPreferences());
        ASSERT_TRUE(prefs.savePreferences());
        CPreferences again;
        ASSERT_TRUE(again.loadPreferences());
        EXPECT_TRUE(again.getLoadNotes().empty()) << again.getLoadNotes().front();
        EXPECT_EQ(again.getTextSize(), prefs.getTextSize());
        EXPECT_EQ(again.getUnits(), prefs.getUnits());
        EXPECT_EQ(again.getPrecision(), prefs.getPrecision());
        EXPECT_EQ(again.getCSVOpener(), prefs.getCSVOpener());
        EXPECT_EQ(again.getIncrement(), prefs.getIncrement());
    }
    unsetenv("ZELKA_APPDATA");
}
