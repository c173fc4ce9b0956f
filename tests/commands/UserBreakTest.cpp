// Ctrl-C while a command works: SIGINT sent to zelka during mus on a large
// generated plan breaks mus off (*Cancel*), puts back everything it changed
// (the saved plan is the untouched plan's save, byte for byte), leaves no
// undo record, and the script goes on with its next line.

#include <gtest/gtest.h>

#include <poll.h>
#include <pty.h>
#include <signal.h>

#include <chrono>
#include <thread>

#include "tests/commands/CommandTestSupport.h"

namespace zelkatest {
namespace {

// Starts zelka with the arguments and stdout into outPath; returns its pid.
pid_t startZelka(const std::vector<std::string>& arguments, const std::string& outPath)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::string program = zelkaProgram().string();
    std::vector<std::string> copies = arguments;
    std::vector<char*> argv{program.data()};
    for (std::string& argument : copies) argv.push_back(argument.data());
    argv.push_back(nullptr);
    // Each step of the progress meter waits, so the break lands in the loop.
    std::vector<std::string> env{"ZELKA_TEST_PROGRESS_DELAY_MS=5"};
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

TEST(UserBreak, CtrlCDuringMusPutsThePlanBackAndTheScriptGoesOn)
{
    PlanRun run("");
    const std::filesystem::path plan = run.folder() / "plan.dxf";
    const std::string made = captureOutput(std::string(ZELKA_PYTHON) + " " +
                                           shellQuote((kSourceDir / "bench/gen_floorplan.py").string()) +
                                           " --rooms 2000 --out " + shellQuote(plan.string()) + " 2>&1");
    ASSERT_TRUE(std::filesystem::exists(plan)) << made;
    const std::filesystem::path untouched = run.folder() / "untouched.dxf";
    RunResult base = runZelka({"--appdata", run.appdata().string(), "--save-as", untouched.string(), plan.string()});
    ASSERT_EQ(base.exitCode, 0) << base.err;

    const std::filesystem::path script = run.folder() / "break.scr";
    writeFile(script, "mus\nU\n");
    const std::filesystem::path saved = run.folder() / "saved.dxf";
    const std::string outPath = (run.folder() / "out.txt").string();
    pid_t pid = startZelka({"--appdata", run.appdata().string(), "--script", script.string(), "--save-as",
                            saved.string(), plan.string()},
                           outPath);
    ASSERT_GT(pid, 0);
    // Wait until mus has started, then press Ctrl-C.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (readFile(outPath).find("Command: mus") == std::string::npos && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ASSERT_EQ(kill(pid, SIGINT), 0);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    const std::string out = readFile(outPath);

    ASSERT_TRUE(WIFEXITED(status)) << "zelka was killed by signal " << WTERMSIG(status) << "\n" << out;
    EXPECT_EQ(WEXITSTATUS(status), 1) << out;  // the broken-off command did not do its work
    const size_t cancel = out.find("*Cancel*");
    ASSERT_NE(cancel, std::string::npos) << out;
    EXPECT_NE(out.find("Command: U", cancel), std::string::npos) << out;
    EXPECT_NE(out.find("Nothing to undo.", cancel), std::string::npos) << out;
    EXPECT_TRUE(readFile(saved) == readFile(untouched)) << "the broken-off mus left changes in the drawing";
}

// Reads the terminal's output into out until it holds text after from;
// false when the time runs out or the terminal closes first.
bool readUntil(int master, std::string& out, const std::string& text, size_t from, int seconds)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (out.find(text, from) == std::string::npos) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        pollfd request{master, POLLIN, 0};
        if (poll(&request, 1, 100) <= 0) continue;
        char buffer[4096];
        ssize_t got = ::read(master, buffer, sizeof buffer);
        if (got <= 0) return false;
        out.append(buffer, static_cast<size_t>(got));
    }
    return true;
}

TEST(UserBreak, EscapeOrCtrlCTypedAtTheTerminalBreaksOffTheWorkingCommand)
{
    struct Key {
        const char* what;
        const char* bytes;
    };
    for (const Key& key : {Key{"Escape", "\x1b"}, Key{"Ctrl-C", "\x03"}}) {
        SCOPED_TRACE(key.what);
        PlanRun run("spaces.dxf");
        const std::filesystem::path untouched = run.folder() / "untouched.dxf";
        ASSERT_EQ(runZelka({"--appdata", run.appdata().string(), "--save-as", untouched.string(), run.drawing().string()})
                      .exitCode,
                  0);
        const std::string program = zelkaProgram().string();
        const std::vector<std::string> arguments = {program, "--appdata", run.appdata().string(), "--save-as",
                                                    run.saved().string(), run.drawing().string()};
        int master = -1;
        pid_t pid = forkpty(&master, nullptr, nullptr, nullptr);
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            // Each of the six space blocks takes 1.5 s: the key lands in the loop.
            setenv("ZELKA_TEST_PROGRESS_DELAY_MS", "1500", 1);
            std::vector<char*> argv;
            for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execv(program.c_str(), argv.data());
            _exit(127);
        }
        // The line editor saves the cursor ("ESC 7") once the terminal is in
        // its mode; keys typed before that would be flushed.
        const std::string prompt = "Command: \0337";
        std::string out;
        ASSERT_TRUE(readUntil(master, out, prompt, 0, 30)) << ::testing::PrintToString(out);
        ASSERT_EQ(::write(master, "mus\r", 4), 4);
        ASSERT_TRUE(readUntil(master, out, "Zelka Update Spaces", 0, 30)) << ::testing::PrintToString(out);
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        const auto pressed = std::chrono::steady_clock::now();
        ASSERT_EQ(::write(master, key.bytes, 1), 1);
        EXPECT_TRUE(readUntil(master, out, "*Cancel*", 0, 30)) << out;
        // Well before the six blocks' nine seconds were up.
        EXPECT_LT(std::chrono::steady_clock::now() - pressed, std::chrono::seconds(5));
        const size_t cancel = out.find("*Cancel*");
        EXPECT_TRUE(readUntil(master, out, prompt, cancel == std::string::npos ? 0 : cancel, 30)) << out;
        ASSERT_EQ(::write(master, "\x04", 1), 1);  // Ctrl-D on the empty line ends the session
        int status = 0;
        std::string rest;
        readUntil(master, rest, "never printed", 0, 5);
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ::close(master);
        EXPECT_TRUE(WIFEXITED(status)) << out;
        EXPECT_TRUE(readFile(run.saved()) == readFile(untouched)) << out;
    }
}

}  // namespace
}  // namespace zelkatest
