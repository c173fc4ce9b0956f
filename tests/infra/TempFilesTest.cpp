// Temporary-file clean-up.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "infra/TempFiles.h"

namespace fs = std::filesystem;

TEST(TempFiles, DeleteRemovesEachListedFileAndResets)
{
    auto dir = fs::temp_directory_path() / ("zelka-temp-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "a.tmp") << "a";
    std::ofstream(dir / "c.tmp") << "c";
    fs::create_directory(dir / "keep");

    CTempFiles temp;
    temp.add((dir / "a.tmp").string());
    temp.add((dir / "b-missing.tmp").string());
    temp.add((dir / "c.tmp").string());
    temp.add((dir / "keep").string());
    EXPECT_EQ(temp.getCount(), 4);
    ASSERT_EQ(temp.getList().size(), 4u);
    EXPECT_EQ(temp.getList()[1], (dir / "b-missing.tmp").string());

    temp.deleteTempFiles();
    EXPECT_FALSE(fs::exists(dir / "a.tmp"));
    EXPECT_FALSE(fs::exists(dir / "c.tmp"));
    EXPECT_TRUE(fs::is_directory(dir / "keep"));
    EXPECT_EQ(temp.getCount(), 0);
    EXPECT_TRUE(temp.getList().empty());

    temp.add((dir / "d.tmp").string());
    EXPECT_EQ(temp.getCount(), 1);
    fs::remove_all(dir);
}
