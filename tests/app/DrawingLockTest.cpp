// The drawing lock and the check for a drawing changed on disk, through the
// zelka program: a second session opens a locked drawing read-only and is
// told who holds it, a stale lock is taken over, two sessions saving one
// drawing lose nothing, and a drawing another program saved meanwhile is not
// overwritten without an explicit answer.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include "host/db/SafeFileReplace.h"
#include "tests/app/SaveTestSupport.h"

using namespace savetest;

namespace {

// The id of a process that has ended (a child that ran and was reaped).
long deadProcessId()
{
    pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

std::string lockText(const std::string& user, const std::string& host, long pid, const std::string& since)
{
    return "user=" + user + "\nhost=" + host + "\npid=" + std::to_string(pid) + "\nsince=" + since + "\n";
}

}  // namespace

// Whose lock the drawing carries decides whether a save may replace it.
TEST(DrawingLock, ALockOfARunningSessionMakesTheDrawingReadOnly)
{
    const std::string here = SafeFileReplace::hostName();
    struct Case {
        const char* what;
        std::string host;
        long pid;
        bool readOnly;
    };
    const Case cases[] = {
        {"a running process of this host", here, static_cast<long>(::getpid()), true},
        {"another host (no telling whether it runs)", "drafting-pc-7", 1, true},
        {"a process of this host that has ended", here, deadProcessId(), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Work work;
        const fs::path lock = work.drawing().string() + ".zelka-lock";
        const std::string theirs = lockText("mira", c.host, c.pid, "2026-12-06 03:10:00 UTC");
        writeFile(lock, theirs);
        const std::string before = readFile(work.drawing());
        RunResult r = work.run({"--command", kChange, "--save", work.drawing().string()});
        if (c.readOnly) {
            EXPECT_EQ(r.exitCode, 1) << r.out << r.err;
            const std::string who = "mira on host " + c.host + " (process " + std::to_string(c.pid) +
                                    ") since 2026-12-06 03:10:00 UTC";
            EXPECT_NE(r.err.find(work.drawing().string() + " is locked: " + who + " has it open. It is opened "
                                                             "read-only"),
                      std::string::npos)
                << r.err;
            EXPECT_NE(r.err.find("--save-as"), std::string::npos) << r.err;
            EXPECT_EQ(readFile(work.drawing()), before);
            EXPECT_EQ(readFile(lock), theirs);  // their lock stays theirs
        } else {
            EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
            EXPECT_EQ(r.err, "zelka: took over the lock of " + work.drawing().string() + " that mira on host " +
                                 c.host + " (process " + std::to_string(c.pid) +
                                 ") since 2026-12-06 03:10:00 UTC left; that process no longer runs\n");
            EXPECT_NE(readFile(work.drawing()), before);
            EXPECT_FALSE(fs::exists(lock));  // taken over, and released at the end
        }
    }
}

// The lock names the session that holds it, while it runs, and goes with it.
TEST(DrawingLock, TheLockSaysWhoHoldsItAndGoesAtTheEnd)
{
    Work work;
    Session holder(work.withAppData({work.drawing().string()}), {}, true);
    ASSERT_TRUE(holder.waitForOutput("Command: "));
    const std::string text = readFile(work.drawing().string() + ".zelka-lock");
    EXPECT_NE(text.find("\nhost=" + SafeFileReplace::hostName() + "\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\npid=" + std::to_string(holder.pid()) + "\n"), std::string::npos) << text;
    EXPECT_EQ(text.rfind("user=", 0), 0u) << text;
    EXPECT_NE(text.find("\nsince=20"), std::string::npos) << text;
    RunResult end = holder.finish();
    EXPECT_EQ(end.exitCode, 0) << end.err;
    EXPECT_FALSE(fs::exists(work.drawing().string() + ".zelka-lock"));
}

// Two sessions save the same drawing: the second, started while the first
// holds the drawing, is told it is locked and saves nothing; the first
// saves; the .bak holds the original drawing.
TEST(DrawingLock, TwoSessionsSavingOneDrawingLoseNothing)
{
    Work work;
    const std::string original = readFile(work.drawing());
    Session first(work.withAppData({"--command", kChange, "--save", work.drawing().string()}),
                  {"ZELKA_SAVE_STOP_AT=temp-written"}, false);
    ASSERT_TRUE(first.waitUntilStopped()) << first.finish().err;

    RunResult second = work.run({"--command", "mbta", "--save", work.drawing().string()});
    EXPECT_EQ(second.exitCode, 1) << second.out << second.err;
    EXPECT_NE(second.err.find("is locked: "), std::string::npos) << second.err;
    EXPECT_NE(second.err.find("(process " + std::to_string(first.pid()) + ")"), std::string::npos) << second.err;
    EXPECT_NE(second.err.find("is open read-only"), std::string::npos) << second.err;
    EXPECT_EQ(readFile(work.drawing()), original);

    first.resume();
    RunResult done = first.finish();
    EXPECT_EQ(done.exitCode, 0) << done.out << done.err;
    const std::string saved = readFile(work.drawing());
    EXPECT_NE(saved, original);
    EXPECT_EQ(readFile(work.drawing().string() + ".bak"), original);
    EXPECT_EQ(work.names(), (std::vector<std::string>{"office.dxf", "office.dxf.bak"}));
}

// Another program saves the drawing while zelka has it open: --save with no
// answer refuses; SAVE asks, and only Yes replaces the file.
TEST(DrawingLock, ADrawingChangedOnDiskIsNotOverwrittenWithoutAnAnswer)
{
    struct Case {
        const char* what;
        std::string lines;  // typed after the file changed
        bool saveOption;
        int exitCode;
        bool replaced;
        const char* transcript;
    };
    const Case cases[] = {
        {"--save, input ended", "mbta\n", true, 1, false, nullptr},
        {"SAVE answered Yes", "mbta\nSAVE\nYes\n", false, 0, true, "Replace it with this drawing?"},
        {"SAVE answered No", "mbta\nSAVE\nNo\n", false, 1, false, "the drawing was not saved"},
        {"SAVE answered with Enter (No)", "mbta\nSAVE\n\n", false, 1, false, "[Yes/No] <No>: "},
        {"SAVE, input ended at the question", "mbta\nSAVE\n", false, 1, false, "Drawing Changed on Disk"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Work work;
        std::vector<std::string> arguments = {work.drawing().string()};
        if (c.saveOption) arguments.insert(arguments.begin(), "--save");
        Session session(work.withAppData(arguments), {}, true);
        ASSERT_TRUE(session.waitForOutput("Command: "));
        // another program saves the drawing: a new file in its place
        const std::string theirs = readFile(work.drawing()) + "999\nEOF\n";
        writeFile(work.folder() / "theirs.tmp", theirs);
        fs::rename(work.folder() / "theirs.tmp", work.drawing());
        session.type(c.lines);
        RunResult r = session.finish();
        EXPECT_EQ(r.exitCode, c.exitCode) << r.out << r.err;
        if (c.replaced) {
            EXPECT_NE(readFile(work.drawing()), theirs);
            EXPECT_EQ(readFile(work.drawing().string() + ".bak"), theirs);
        } else {
            EXPECT_EQ(readFile(work.drawing()), theirs);
            EXPECT_FALSE(fs::exists(work.drawing().string() + ".bak"));
        }
        if (c.transcript) {
            EXPECT_NE(r.out.find(c.transcript), std::string::npos) << r.out;
        }
        if (c.saveOption) {
            EXPECT_NE(r.err.find("was changed on disk since it was opened"), std::string::npos) << r.err;
            EXPECT_NE(r.err.find("--save-as"), std::string::npos) << r.err;
        }
    }
}
