// Files, folders and path rules of CFileUtilities, on real temporary folders.

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "infra/FileUtilities.h"
#include "tests/common/AppTestSupport.h"

namespace fs = std::filesystem;

namespace {

using zelkatest::CommandLineCapture;
using zelkatest::ScopedEnv;

// A fresh temporary folder, named by strings.
class TempFolder {
public:
    std::string path() const { return folder_.path().string(); }
    std::string operator/(const std::string& name) const { return path() + "/" + name; }

private:
    zelkatest::TempFolder folder_;
};

void writeFile(const std::string& path, const std::string& text = "x") { zelkatest::writeFile(path, text); }

const CFileUtilities files;

}  // namespace

TEST(FileUtilities, ExistenceOfFilesAndFolders)
{
    TempFolder dir;
    writeFile(dir / "plan.dxf");
    EXPECT_TRUE(files.fileExists(dir / "plan.dxf"));
    EXPECT_TRUE(files.fileExists(dir.path()));
    EXPECT_FALSE(files.fileExists(dir / "missing.dxf"));
    EXPECT_FALSE(files.fileExists(""));

    EXPECT_TRUE(files.directoryExists(dir.path()));
    EXPECT_TRUE(files.directoryExists(dir.path() + "/"));
    EXPECT_TRUE(files.directoryExists("/"));
    EXPECT_FALSE(files.directoryExists(dir / "missing/"));
    // Any entry counts, as the attribute test it stands for does.
    EXPECT_TRUE(files.directoryExists(dir / "plan.dxf"));
}

TEST(FileUtilities, EnsureDirectoryCreatesMissingLevelsParentFirst)
{
    TempFolder dir;
    CommandLineCapture out;
    std::string deepest = dir / "one/two/three/";
    EXPECT_TRUE(files.ensureDirectoryExists(deepest));
    EXPECT_TRUE(fs::is_directory(dir / "one"));
    EXPECT_TRUE(fs::is_directory(dir / "one/two"));
    EXPECT_TRUE(fs::is_directory(dir / "one/two/three"));
    // Already there: nothing to do, nothing printed.
    EXPECT_TRUE(files.ensureDirectoryExists(dir / "one/two"));
    EXPECT_EQ(out.text(), "");
}

TEST(FileUtilities, EnsureDirectoryReportsWhatCannotBeMade)
{
    TempFolder dir;
    writeFile(dir / "plan.dxf");
    CommandLineCapture out;
    EXPECT_FALSE(files.ensureDirectoryExists(dir / "plan.dxf/sub/deeper"));
    EXPECT_EQ(out.text(), "Cannot create " + (dir / "plan.dxf/sub") + "\n");
}

// A folder without write permission: run as an unprivileged user when the
// tests run as root, since root may write anywhere.
TEST(FileUtilities, EnsureDirectoryReportsAccessDenied)
{
    TempFolder dir;
    std::string locked = dir / "locked";
    fs::create_directory(locked);
    ::chmod(dir.path().c_str(), 0755);
    ::chmod(locked.c_str(), 0555);
    std::string target = locked + "/sub";
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(pipeEnds[0]);
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(3);
        std::string printed;
        setCommandLineSink([&](const std::string& t) { printed += t; });
        bool made = CFileUtilities().ensureDirectoryExists(target);
        ssize_t written = ::write(pipeEnds[1], printed.data(), printed.size());
        ::_exit(made ? 1 : (written < 0 ? 4 : 0));
    }
    ::close(pipeEnds[1]);
    std::string printed;
    char buffer[256];
    ssize_t n;
    while ((n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0) printed.append(buffer, static_cast<size_t>(n));
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0) << "1: created anyway, 3: could not drop privileges";
    EXPECT_EQ(printed, "Cannot create " + target + " - Access denied\n");
    EXPECT_FALSE(fs::exists(target));
    ::chmod(locked.c_str(), 0755);
}

TEST(FileUtilities, DeleteFileReportsOnlyByItsResult)
{
    TempFolder dir;
    writeFile(dir / "old.tmp");
    fs::create_directory(dir / "folder");
    CommandLineCapture out;
    EXPECT_TRUE(files.deleteFile(dir / "old.tmp"));
    EXPECT_FALSE(fs::exists(dir / "old.tmp"));
    EXPECT_FALSE(files.deleteFile(dir / "old.tmp"));
    EXPECT_FALSE(files.deleteFile(dir / "folder"));
    EXPECT_TRUE(fs::is_directory(dir / "folder"));
    EXPECT_EQ(out.text(), "");
}

TEST(FileUtilities, DirectoryString)
{
    EXPECT_EQ(files.getDirectoryString("/data/plans/level1.dxf"), "/data/plans/");
    EXPECT_EQ(files.getDirectoryString("/data/plans/"), "/data/");
    EXPECT_EQ(files.getDirectoryString("/data/plans"), "/data/");
    EXPECT_EQ(files.getDirectoryString("/data"), "/");
    EXPECT_EQ(files.getDirectoryString("level1.dxf"), "");
    EXPECT_EQ(files.getDirectoryString(""), "");
    EXPECT_EQ(files.getDirectoryString("/"), "");
}

TEST(FileUtilities, FileNameRules)
{
    struct Case {
        const char* name;
        bool validAsIs;
        bool validRepaired;
        const char* repaired;
    };
    const Case cases[] = {
        {"plan.dxf", true, true, "plan.dxf"},
        {"", true, true, ""},
        {"a:b.dxf", true, true, "a:b.dxf"},
        {"a:b:c.dxf", false, true, "a:bc.dxf"},
        {"/plan.dxf", false, true, "plan.dxf"},
        {"//plan.dxf", false, true, "/plan.dxf"},
        {"pl*an?.dxf", false, true, "plan.dxf"},
        {"\"<a>|b\".dxf", false, true, "ab.dxf"},
        {"back\\slash.dxf", false, true, "backslash.dxf"},
        {"\\plan.dxf", false, true, "plan.dxf"},
        // With two colons only the colons are repaired; the leading "/" stays.
        {"/a:b:c", false, true, "/a:bc"},
        // A never-allowed character is removed and nothing else is checked.
        {"/a*", false, true, "/a"},
    };
    for (const Case& c : cases) {
        std::string asIs = c.name;
        EXPECT_EQ(files.checkFilenameSyntax(asIs, false), c.validAsIs) << c.name;
        EXPECT_EQ(asIs, c.name) << "checking alone must not change the name";
        std::string repaired = c.name;
        EXPECT_EQ(files.checkFilenameSyntax(repaired, true), c.validRepaired) << c.name;
        EXPECT_EQ(repaired, c.repaired) << c.name;
    }
}

TEST(FileUtilities, PathRules)
{
    struct Case {
        const char* path;
        bool validAsIs;
        const char* repaired;
    };
    const Case cases[] = {
        {"/data/plans/level1.dxf", true, "/data/plans/level1.dxf"},
        {"/data/plans/", true, "/data/plans/"},
        {"relative/plan.dxf", true, "relative/plan.dxf"},
        {"/", true, "/"},
        {"/srv/a:b/plan.dxf", true, "/srv/a:b/plan.dxf"},
        {"/srv/a:b:c/plan.dxf", false, "/srv/a:bc/plan.dxf"},
        {"/data//plans/", false, "/data/plans/"},
        {"/da*ta/pl?ans/x.dxf", false, "/data/plans/x.dxf"},
        {"/data\\plans/x.dxf", false, "/dataplans/x.dxf"},
        {"//", false, "/"},
    };
    for (const Case& c : cases) {
        std::string asIs = c.path;
        EXPECT_EQ(files.checkPathSyntax(asIs, false), c.validAsIs) << c.path;
        EXPECT_EQ(asIs, c.path);
        std::string repaired = c.path;
        EXPECT_TRUE(files.checkPathSyntax(repaired, true)) << c.path;
        EXPECT_EQ(repaired, c.repaired) << c.path;
    }
}

TEST(FileUtilities, PathTypes)
{
    EXPECT_EQ(files.getPathType("plan.dxf"), 0);
    EXPECT_EQ(files.getPathType("a:b.dxf"), 0);
    EXPECT_EQ(files.getPathType("plan"), 3);
    EXPECT_EQ(files.getPathType("a:b:c.dxf"), 3);
    EXPECT_EQ(files.getPathType("pl*an.dxf"), 3);
    EXPECT_EQ(files.getPathType("/data/plans/"), 1);
    EXPECT_EQ(files.getPathType("/data/plans"), 1);
    EXPECT_EQ(files.getPathType("/"), 1);
    EXPECT_EQ(files.getPathType("/data/plans/level1.dxf"), 2);
    EXPECT_EQ(files.getPathType("/home/u/.local/share"), 2);
    EXPECT_EQ(files.getPathType("data/plans/level1.dxf"), 3);
    EXPECT_EQ(files.getPathType("data/plans"), 3);
    EXPECT_EQ(files.getPathType(""), 3);
    EXPECT_EQ(files.getPathType("/data\\plans/"), 3);
    EXPECT_EQ(files.getPathType("plan\\a.dxf"), 3);
}

TEST(FileUtilities, SwapFileExtension)
{
    EXPECT_EQ(files.swapFileExtension("  /plans/level1.dxf \t", ".dxf", ".pdf"), "/plans/level1.pdf");
    EXPECT_EQ(files.swapFileExtension("/plans/level1.DXF", ".dxf", ".pdf"), "/plans/level1.DXF.pdf");
    EXPECT_EQ(files.swapFileExtension("/plans/level1", ".dxf", ".pdf"), "/plans/level1.pdf");
    EXPECT_EQ(files.swapFileExtension("report.xml.dxf", ".dxf", ".xml"), "report.xml.xml");
    EXPECT_EQ(files.swapFileExtension("", ".dxf", ".pdf"), ".pdf");
}

TEST(FileUtilities, ApplicationDataFolders)
{
    {
        ScopedEnv zelka("ZELKA_APPDATA", "/srv/zelka-data/");
        ScopedEnv xdg("XDG_DATA_HOME", "/home/u/xdg");
        EXPECT_EQ(files.commonAppDataFolder(), "/srv/zelka-data");
        EXPECT_EQ(files.preferencesFolder(), "/srv/zelka-data/ZelkaSystems/Orvane/prefs/");
        EXPECT_EQ(files.tempFolder(), "/srv/zelka-data/ZelkaSystems/Orvane/temp/");
    }
    {
        ScopedEnv zelka("ZELKA_APPDATA", std::nullopt);
        ScopedEnv xdg("XDG_DATA_HOME", "/home/u/xdg");
        EXPECT_EQ(files.commonAppDataFolder(), "/home/u/xdg");
    }
    {
        ScopedEnv zelka("ZELKA_APPDATA", "");
        ScopedEnv xdg("XDG_DATA_HOME", std::nullopt);
        ScopedEnv home("HOME", "/home/someone");
        EXPECT_EQ(files.commonAppDataFolder(), "/home/someone/.local/share");
        EXPECT_EQ(files.preferencesFolder(), "/home/someone/.local/share/ZelkaSystems/Orvane/prefs/");
    }
}
