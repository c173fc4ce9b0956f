// The preferences file "prefs.cfg": its exact text, and loading hand-written
// files, in a temporary application-data folder (ZELKA_APPDATA).

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "config/Preferences.h"
#include "host/ui/MessageBox.h"
#include "tests/common/AppTestSupport.h"

namespace fs = std::filesystem;

namespace {

using zelkatest::readFile;
using zelkatest::writeFile;

// A temporary application-data folder, set as ZELKA_APPDATA for the test;
// message boxes and the command line are caught.
class PreferencesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previousBox_ = setMessageBoxPresenter([this](const std::string& text, const std::string& caption, unsigned type) {
            boxes_.push_back(caption + "|" + text + "|" + std::to_string(type));
            return IDOK;
        });
    }
    void TearDown() override { setMessageBoxPresenter(previousBox_); }

    zelkatest::TempFolder folder_;
    const std::string appData_ = folder_.path().string();
    zelkatest::ScopedEnv env_{"ZELKA_APPDATA", appData_};
    const std::string prefsFile_ = zelkatest::prefsIn(appData_).string();
    std::vector<std::string> boxes_;
    zelkatest::CommandLineCapture printed_;

private:
    MessageBoxPresenter previousBox_;
};

const char* const kHeader = "//\tsomeone else's header\n//\n//\tConfiguration file for Orvane\n//\n";

}  // namespace

TEST_F(PreferencesTest, SavingReplacesTheOldFileAndRoundTrips)
{
    writeFile(prefsFile_, "old contents that must go\n");
    CPreferences prefs;
    prefs.setUnits(1);
    prefs.setPrecision(3);
    prefs.setTextSize(12.345);      // 12.3450000000000006394...: 12.35
    prefs.setTextScale(0.755);      // 0.75500000000000000444...: 0.76
    prefs.setTextRotation(-33.335); // -33.3350000000000008526...: -33.34
    prefs.setCSVOpener("/usr/bin/libreoffice --calc");
    prefs.setZoomBorder(1234.5);    // exact half, away from zero: 1235
    prefs.setIncrement(10);
    ASSERT_TRUE(prefs.savePreferences());
    EXPECT_EQ(readFile(prefsFile_),
              "//\tZelka Systems - Orvane\n//\n//\tConfiguration file for Orvane\n//\n"
              "units\n1\nprecison\n3\ntextSize\n12.35\ntextScale\n0.76\ntextRotation\n-33.34\n"
              "csvOpener\n/usr/bin/libreoffice --calc\nzoomBorder\n1235\ninc\n10\n");

    CPreferences loaded;
    ASSERT_TRUE(loaded.loadPreferences());
    EXPECT_EQ(loaded.getUnits(), 1);
    EXPECT_EQ(loaded.getPrecision(), 3);
    EXPECT_DOUBLE_EQ(loaded.getTextSize(), 12.35);
    EXPECT_DOUBLE_EQ(loaded.getTextScale(), 0.76);
    EXPECT_DOUBLE_EQ(loaded.getTextRotation(), -33.34);
    EXPECT_EQ(loaded.getCSVOpener(), "/usr/bin/libreoffice --calc");
    EXPECT_DOUBLE_EQ(loaded.getZoomBorder(), 1235.0);
    EXPECT_EQ(loaded.getIncrement(), 10);
    EXPECT_TRUE(loaded.getLoadNotes().empty());
}

// Every value as loaded, in file order, for the table below.
std::string loaded(const CPreferences& p)
{
    std::ostringstream out;
    out << "units " << p.getUnits() << " precison " << p.getPrecision() << " textSize " << p.getTextSize()
        << " textScale " << p.getTextScale() << " textRotation " << p.getTextRotation() << " csvOpener '"
        << p.getCSVOpener() << "' zoomBorder " << p.getZoomBorder() << " inc " << p.getIncrement();
    return out.str();
}

// Hand-written files (after kHeader unless they bring their own), the values
// loaded over the defaults (units 0, precison 2, textSize 250, textScale 1,
// textRotation 0, csvOpener NONE, zoomBorder 1000, inc 1) and the notes.
TEST_F(PreferencesTest, LoadingCorrectsReadsAndSkipsAsTheRulesSay)
{
    const std::string rest = " csvOpener 'NONE' zoomBorder 1000 inc 1";
    struct Case {
        const char* what;
        std::string file;
        std::string values;
        std::vector<std::string> notes;
    } cases[] = {
        {"out of range", std::string(kHeader) +
             "units\n 1 \nprecison\n\t4\ntextSize\n0\ntextScale\n-2\ntextRotation\n270\ncsvOpener\n  /opt/calc  \n"
             "zoomBorder\n500.5\ninc\n0\n",
         "units 1 precison 4 textSize 0.1 textScale 0.1 textRotation 180 csvOpener '/opt/calc' zoomBorder 500.5 inc 1",
         {"prefs.cfg line 10: textSize 0 is 0 or less, 0.1 used",
          "prefs.cfg line 12: textScale -2 is 0 or less, 0.1 used",
          "prefs.cfg line 14: textRotation 270 is outside -180 to 180, 180 used",
          "prefs.cfg line 20: inc 0 is outside 1 to 100, ignored"}},
        {"below the ranges", std::string(kHeader) + "textRotation\n-400\ninc\n101\n",
         "units 0 precison 2 textSize 250 textScale 1 textRotation -180" + rest,
         {"prefs.cfg line 6: textRotation -400 is outside -180 to 180, -180 used",
          "prefs.cfg line 8: inc 101 is outside 1 to 100, ignored"}},
        {"range ends", std::string(kHeader) + "textRotation\n-180\ninc\n100\nzoomBorder\n10000\n",
         "units 0 precison 2 textSize 250 textScale 1 textRotation -180 csvOpener 'NONE' zoomBorder 10000 inc 100", {}},
        // A blank line stops reading; directly after the comments nothing is read.
        {"blank line", std::string(kHeader) + "units\n1\n\nprecison\n5\ntextSize\n99\n",
         "units 1 precison 2 textSize 250 textScale 1 textRotation 0" + rest, {}},
        {"blank first", std::string(kHeader) + "\nunits\n1\n",
         "units 0 precison 2 textSize 250 textScale 1 textRotation 0" + rest, {}},
        // "unitsOfArea" begins with the key "units": its next line is the value.
        {"unknown keys", std::string(kHeader) + "colour\nred\nunitsOfArea\n1\ninc\n5\nprecison\nabc\n",
         "units 1 precison 0 textSize 250 textScale 1 textRotation 0 csvOpener 'NONE' zoomBorder 1000 inc 5",
         {"prefs.cfg line 5: 'colour' is not a setting, skipped", "prefs.cfg line 6: 'red' is not a setting, skipped"}},
        {"CRLF, no last value", "//\tx\r\n//\r\nunits\r\n1\r\ntextScale\r\n2.5\r\ncsvOpener",
         "units 1 precison 2 textSize 250 textScale 2.5 textRotation 0 csvOpener '' zoomBorder 1000 inc 1", {}},
        {"rotation nan", std::string(kHeader) + "textRotation\nnan\n",
         "units 0 precison 2 textSize 250 textScale 1 textRotation 0" + rest,
         {"prefs.cfg line 6: textRotation nan is not a number, 0 used"}},
        {"rotation inf", std::string(kHeader) + "textRotation\ninf\n",
         "units 0 precison 2 textSize 250 textScale 1 textRotation 180" + rest,
         {"prefs.cfg line 6: textRotation inf is outside -180 to 180, 180 used"}},
        {"zoom border inf", std::string(kHeader) + "zoomBorder\ninf\n",
         "units 0 precison 2 textSize 250 textScale 1 textRotation 0" + rest,
         {"prefs.cfg line 6: zoomBorder inf is outside 0 to 10000, ignored"}},
        {"zoom border nan", std::string(kHeader) + "zoomBorder\nnan\n",
         "units 0 precison 2 textSize 250 textScale 1 textRotation 0" + rest,
         {"prefs.cfg line 6: zoomBorder nan is outside 0 to 10000, ignored"}},
        {"zoom border -1", std::string(kHeader) + "zoomBorder\n-1\n",
         "units 0 precison 2 textSize 250 textScale 1 textRotation 0" + rest,
         {"prefs.cfg line 6: zoomBorder -1 is outside 0 to 10000, ignored"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeFile(prefsFile_, c.file);
        CPreferences prefs;
        ASSERT_TRUE(prefs.loadPreferences());
        EXPECT_EQ(loaded(prefs), c.values);
        EXPECT_EQ(prefs.getLoadNotes(), c.notes);
    }
}

// Found by the prefs.cfg fuzz target: 2E-50 was kept, saved as 0.00 and
// corrected only on the next load.
TEST_F(PreferencesTest, SizesTooSmallForTheFileAreCorrectedSoTheyReloadUnchanged)
{
    struct Case {
        const char* value;
        double expected;
        const char* note;
    } cases[] = {
        {"2E-50", 0.1, "prefs.cfg line 6: textSize 2E-50 is below 0.005, 0.1 used"},
        {"0.004", 0.1, "prefs.cfg line 6: textSize 0.004 is below 0.005, 0.1 used"},
        {"nan", 0.1, "prefs.cfg line 6: textSize nan is below 0.005, 0.1 used"},
        {"0.005", 0.005, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        writeFile(prefsFile_, std::string(kHeader) + "textSize\n" + c.value + "\n");
        CPreferences prefs;
        ASSERT_TRUE(prefs.loadPreferences());
        EXPECT_EQ(prefs.getTextSize(), c.expected);
        EXPECT_EQ(prefs.getLoadNotes(), c.note ? std::vector<std::string>{c.note} : std::vector<std::string>{});
        ASSERT_TRUE(prefs.savePreferences());
        CPreferences again;
        ASSERT_TRUE(again.loadPreferences());
        EXPECT_TRUE(again.getLoadNotes().empty()) << again.getLoadNotes().front();
    }
}

TEST_F(PreferencesTest, AMissingFileKeepsTheValues)
{
    CPreferences prefs;
    prefs.setUnits(1);
    EXPECT_FALSE(prefs.loadPreferences());
    EXPECT_EQ(prefs.getUnits(), 1);
    EXPECT_EQ(prefs.getTextSize(), 250.0);
}

TEST_F(PreferencesTest, AFileThatCannotBeWrittenIsReportedInAMessageBox)
{
    // A folder where the file should be: it can be neither deleted nor opened.
    fs::create_directories(prefsFile_);
    CPreferences prefs;
    prefs.setUnits(1);
    EXPECT_FALSE(prefs.savePreferences());
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0], "Error - Configuration Not Saved|Unable to Write Configuration File - Is a directory|16");
    EXPECT_EQ(prefs.getUnits(), 1);
    EXPECT_FALSE(prefs.loadPreferences());
    EXPECT_EQ(prefs.getUnits(), 1);
}

TEST_F(PreferencesTest, AFolderThatCannotBeMadeFailsQuietly)
{
    // A file where the ZelkaSystems folder should be.
    writeFile(appData_ + "/ZelkaSystems", "not a folder");
    CPreferences prefs;
    EXPECT_FALSE(prefs.savePreferences());
    EXPECT_TRUE(boxes_.empty());
    EXPECT_EQ(printed_.text(), "Cannot create " + appData_ + "/ZelkaSystems/Orvane\n");
}
