// Saving through the zelka program never loses or damages a drawing: file
// modes, owners and links are kept, a read-only drawing or a .bak that cannot
// be made stops the save, and a save killed at any moment leaves the old or
// the new drawing (never half of one), the earlier .bak, and a temporary file
// that the next run removes.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "host/db/SafeFileReplace.h"
#include "tests/app/SaveTestSupport.h"

using namespace savetest;

namespace {

// The drawing as a finished save with the test's change writes it.
std::string changedDrawing(const Work& work)
{
    const fs::path copy = work.folder() / "reference-copy.dxf";
    RunResult made = work.run({"--command", kChange, "--save-as", copy.string(), work.drawing().string()});
    EXPECT_EQ(made.exitCode, 0) << made.out << made.err;
    std::string text = readFile(copy);
    fs::remove(copy);
    return text;
}

}  // namespace

// The mode a drawing had is the mode it keeps; a new file follows the umask.
TEST(SaveSafety, ModesAreKeptAndNewFilesFollowTheUmask)
{
    struct Case {
        const char* what;
        int mode;        // of the existing drawing; -1 for a new file
        mode_t umask;
        int expected;
    };
    const Case cases[] = {
        {"private plan", 0600, 022, 0600},
        {"group-writable plan", 0664, 022, 0664},
        {"group-readable plan", 0640, 002, 0640},
        {"new file, umask 022", -1, 022, 0644},
        {"new file, umask 027", -1, 027, 0640},
        {"new file, umask 002", -1, 002, 0664},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Work work;
        fs::path target = work.drawing();
        std::vector<std::string> arguments = {"--command", kChange, "--save", work.drawing().string()};
        if (c.mode >= 0) {
            ASSERT_EQ(::chmod(target.c_str(), static_cast<mode_t>(c.mode)), 0);
        } else {
            target = work.folder() / "new.dxf";
            arguments = {"--command", kChange, "--save-as", target.string(), work.drawing().string()};
        }
        mode_t before = ::umask(c.umask);
        RunResult r = work.run(arguments);
        ::umask(before);
        EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
        EXPECT_EQ(modeOf(target), c.expected) << std::oct << modeOf(target);
        if (c.mode >= 0) {
            EXPECT_EQ(modeOf(target.string() + ".bak"), c.mode);
        }
    }
}

TEST(SaveSafety, OwnerAndGroupAreKept)
{
    Work work;
    // Only the administrator can give a file away; others keep their own ids.
    const uid_t owner = ::geteuid() == 0 ? 1234 : ::geteuid();
    const gid_t group = ::geteuid() == 0 ? 2345 : ::getegid();
    ASSERT_EQ(::chown(work.drawing().c_str(), owner, group), 0);
    RunResult r = work.run({"--command", kChange, "--save", work.drawing().string()});
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    struct stat st {};
    ASSERT_EQ(::stat(work.drawing().c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, owner);
    EXPECT_EQ(st.st_gid, group);
}

// A drawing without write permission is refused, whoever runs zelka.
TEST(SaveSafety, AReadOnlyDrawingIsRefusedAndLeftAsItWas)
{
    struct Case {
        const char* what;
        bool saveAs;
    };
    for (const Case& c : {Case{"--save", false}, Case{"--save-as the read-only file", true}}) {
        SCOPED_TRACE(c.what);
        Work work;
        fs::path target = work.drawing();
        std::vector<std::string> arguments = {"--command", kChange, "--save", work.drawing().string()};
        if (c.saveAs) {
            target = work.folder() / "published.dxf";
            fs::copy_file(work.drawing(), target);
            arguments = {"--command", kChange, "--save-as", target.string(), work.drawing().string()};
        }
        ASSERT_EQ(::chmod(target.c_str(), 0444), 0);
        const std::string before = readFile(target);
        RunResult r = work.run(arguments);
        EXPECT_EQ(r.exitCode, 1) << r.out << r.err;
        EXPECT_NE(r.err.find("read-only"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(target.string()), std::string::npos) << r.err;
        EXPECT_EQ(readFile(target), before);
        EXPECT_EQ(modeOf(target), 0444);
        EXPECT_FALSE(fs::exists(target.string() + ".bak"));
        const std::vector<std::string> expected =
            c.saveAs ? std::vector<std::string>{"office.dxf", "published.dxf"} : std::vector<std::string>{"office.dxf"};
        EXPECT_EQ(work.names(), expected);
    }
}

// A link is followed: the drawing it names is saved, the link stays a link,
// and the .bak and temporary file go next to the real drawing.
TEST(SaveSafety, ASymbolicLinkIsFollowed)
{
    Work work;
    const fs::path real = work.folder() / "plans" / "office.dxf";
    fs::create_directories(real.parent_path());
    fs::rename(work.drawing(), real);
    const fs::path link = work.folder() / "current.dxf";
    fs::create_symlink("plans/office.dxf", link);
    const std::string original = readFile(real);

    RunResult r = work.run({"--command", kChange, "--save", link.string()});
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::read_symlink(link), "plans/office.dxf");
    EXPECT_NE(readFile(real), original);
    EXPECT_EQ(readFile(real.string() + ".bak"), original);
    EXPECT_EQ(Work::namesIn(real.parent_path()), (std::vector<std::string>{"office.dxf", "office.dxf.bak"}));
    EXPECT_EQ(work.names(), (std::vector<std::string>{"current.dxf", "plans"}));
}

// A .bak that cannot be made stops the save before anything changes.
TEST(SaveSafety, ABackupThatIsAFolderStopsTheSave)
{
    for (bool empty : {true, false}) {
        SCOPED_TRACE(empty ? "empty folder" : "folder with a file");
        Work work;
        const fs::path bak = work.drawing().string() + ".bak";
        fs::create_directory(bak);
        if (!empty) writeFile(bak / "notes.txt", "keep me");
        const std::string before = readFile(work.drawing());
        RunResult r = work.run({"--command", kChange, "--save", work.drawing().string()});
        EXPECT_EQ(r.exitCode, 1) << r.out << r.err;
        EXPECT_NE(r.err.find(bak.string() + ": that is a folder"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("nothing was saved"), std::string::npos) << r.err;
        EXPECT_EQ(readFile(work.drawing()), before);
        EXPECT_TRUE(fs::is_directory(bak));
        if (!empty) {
            EXPECT_EQ(readFile(bak / "notes.txt"), "keep me");
        }
        EXPECT_EQ(work.names(), (std::vector<std::string>{"office.dxf", "office.dxf.bak"}));
    }
}

// A save killed at each of its steps: the drawing is the old or the new one,
// the .bak is the earlier .bak or the old drawing, and the next run removes
// the temporary files and takes over the lock the killed run left.
TEST(SaveSafety, ASaveKilledAtAnyStepLosesNothing)
{
    struct Case {
        const char* step;
        bool drawingIsNew;
        bool bakIsOriginal;  // else the .bak from before the save
        bool temporaryLeft;
    };
    const Case cases[] = {
        {"temp-written", false, false, true},
        {"bak-made", false, true, true},
        {"replaced", true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        Work work;
        const std::string original = readFile(work.drawing());
        const std::string changed = changedDrawing(work);
        writeFile(work.drawing().string() + ".bak", "the backup from before\n");

        Session killed(work.withAppData({"--command", kChange, "--save", work.drawing().string()}),
                       {std::string("ZELKA_SAVE_STOP_AT=") + c.step}, false);
        ASSERT_TRUE(killed.waitUntilStopped()) << killed.finish().err;
        const std::string temporary =
            (work.folder() / (".office.dxf.zelka-save-" + SafeFileReplace::hostName() + "-" +
                              std::to_string(killed.pid()) + ".tmp"))
                .string();
        killed.kill();

        EXPECT_EQ(readFile(work.drawing()), c.drawingIsNew ? changed : original);
        EXPECT_EQ(readFile(work.drawing().string() + ".bak"), c.bakIsOriginal ? original : "the backup from before\n");
        EXPECT_EQ(fs::exists(temporary), c.temporaryLeft);
        if (c.temporaryLeft) {
            EXPECT_EQ(readFile(temporary), changed);
        }
        EXPECT_TRUE(fs::exists(work.drawing().string() + ".zelka-lock"));

        RunResult next = work.run({"--command", kChange, "--save", work.drawing().string()});
        EXPECT_EQ(next.exitCode, 0) << next.out << next.err;
        if (c.temporaryLeft) {
            EXPECT_NE(next.err.find("removed " + temporary + ", left by a save that was interrupted"),
                      std::string::npos)
                << next.err;
        }
        EXPECT_EQ(next.err.find("locked"), std::string::npos) << next.err;
        EXPECT_NE(next.err.find("took over the lock of " + work.drawing().string()), std::string::npos) << next.err;
        EXPECT_EQ(readFile(work.drawing()), changed);
        EXPECT_EQ(work.names(), (std::vector<std::string>{"office.dxf", "office.dxf.bak"}));
    }
}

// Only the temporary files of processes of this host that no longer run are
// removed; a running save's file and another host's are left alone.
TEST(SaveSafety, OnlyTemporaryFilesOfEndedProcessesAreRemoved)
{
    Work work;
    pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    const std::string here = SafeFileReplace::hostName();
    struct Case {
        std::string name;
        bool removed;
    };
    const std::vector<Case> cases = {
        {".office.dxf.zelka-save-" + here + "-" + std::to_string(child) + ".tmp", true},
        {".office.dxf.zelka-bak-" + here + "-" + std::to_string(child) + ".tmp", true},
        {".office.dxf.zelka-save-" + here + "-" + std::to_string(::getpid()) + ".tmp", false},
        {".office.dxf.zelka-save-drafting-pc-7-" + std::to_string(child) + ".tmp", false},
        {".office.dxf.zelka-save-" + here + "-12x.tmp", false},
        {".plan.dxf.zelka-save-" + here + "-" + std::to_string(child) + ".tmp", false},
    };
    for (const Case& c : cases) writeFile(work.folder() / c.name, "partial drawing");
    RunResult r = work.run({"--command", kChange, "--save", work.drawing().string()});
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(fs::exists(work.folder() / c.name), !c.removed);
        EXPECT_EQ(r.err.find("removed " + (work.folder() / c.name).string()) != std::string::npos, c.removed) << r.err;
    }
}
