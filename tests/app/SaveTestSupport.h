#pragma once
// Runs of zelka on a copy of the example office plan for the tests of
// saving: a run that can be stopped at a named step of a save (the
// ZELKA_SAVE_STOP_AT hook) and killed there, and a run whose standard input
// stays open so the test can change the drawing on disk while it works.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "tests/common/AppTestSupport.h"

namespace savetest {

namespace fs = std::filesystem;
using zelkatest::readFile;
using zelkatest::RunResult;
using zelkatest::writeFile;

// A folder with a copy of the example plan (office.dxf) and an
// application-data folder holding preferences, so no first-start dialog asks.
class Work {
public:
    Work()
    {
        fs::copy_file(fs::path(ZELKA_SOURCE_DIR) / "examples/office.dxf", drawing());
        zelkatest::writeDefaultPreferences(appData());
    }
    const fs::path& folder() const { return folder_.path(); }
    fs::path drawing() const { return folder() / "office.dxf"; }
    fs::path appData() const { return folder() / "appdata"; }
    std::vector<std::string> withAppData(std::vector<std::string> arguments) const
    {
        arguments.insert(arguments.begin(), {"--appdata", appData().string()});
        return arguments;
    }
    RunResult run(const std::vector<std::string>& arguments) const { return zelkatest::runZelka(withAppData(arguments)); }
    // The names in the folder besides the application data, sorted.
    std::vector<std::string> names() const { return namesIn(folder()); }
    static std::vector<std::string> namesIn(const fs::path& where)
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(where)) {
            if (entry.path().filename() != "appdata") names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    zelkatest::TempFolder folder_;
};

// The command that changes the plan in every test: every space block's
// auxiliary attribute is blanked, so the saved file differs from the example.
inline const char* kChange = "mbta";

inline int modeOf(const fs::path& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? static_cast<int>(st.st_mode & 07777) : -1;
}

// A zelka process the test controls: started with extra environment and,
// optionally, a standard input it writes to.
class Session {
public:
    Session(const std::vector<std::string>& arguments, const std::vector<std::string>& environment, bool feedInput)
    {
        std::string outPath = (outputs_.path() / "out").string();
        std::string errPath = (outputs_.path() / "err").string();
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        int pipeEnds[2] = {-1, -1};
        if (feedInput && ::pipe(pipeEnds) == 0) {
            posix_spawn_file_actions_adddup2(&actions, pipeEnds[0], STDIN_FILENO);
            posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
            input_ = pipeEnds[1];
        } else {
            posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        }
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        std::string program = zelkatest::zelkaProgram().string();
        std::vector<std::string> args = arguments;
        std::vector<char*> argv{program.data()};
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        std::vector<std::string> env = environment;
        for (char** e = environ; *e; ++e) env.push_back(*e);
        std::vector<char*> envp;
        for (std::string& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);
        if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        if (pipeEnds[0] >= 0) ::close(pipeEnds[0]);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    ~Session()
    {
        if (input_ >= 0) ::close(input_);
        if (pid_ > 0 && !reaped_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    pid_t pid() const { return pid_; }

    // Waits until the process stops itself (the save hook); false when it
    // ended instead or took longer than a minute.
    bool waitUntilStopped()
    {
        for (int i = 0; i < 6000; ++i) {
            int status = 0;
            pid_t got = ::waitpid(pid_, &status, WUNTRACED | WNOHANG);
            if (got == pid_) {
                if (WIFSTOPPED(status)) return true;
                reaped_ = true;
                exit_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }
    // Kills the process at once (SIGKILL) and reaps it.
    void kill()
    {
        ::kill(pid_, SIGKILL);
        finish();
    }
    // Lets a stopped process go on.
    void resume() { ::kill(pid_, SIGCONT); }
    // Writes lines to its standard input.
    void type(const std::string& text)
    {
        if (::write(input_, text.data(), text.size()) != static_cast<ssize_t>(text.size())) ADD_FAILURE() << "write";
    }
    void endInput()
    {
        if (input_ >= 0) ::close(input_);
        input_ = -1;
    }
    // Waits until the transcript holds text (false after a minute).
    bool waitForOutput(const std::string& text)
    {
        for (int i = 0; i < 6000; ++i) {
            if (out().find(text) != std::string::npos) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }
    // Waits for the end and returns the outcome.
    RunResult finish()
    {
        endInput();
        if (!reaped_) {
            int status = 0;
            while (::waitpid(pid_, &status, 0) == pid_ && WIFSTOPPED(status)) {}
            reaped_ = true;
            exit_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        return RunResult{exit_, false, out(), readFile(outputs_.path() / "err")};
    }
    std::string out() const { return readFile(outputs_.path() / "out"); }

private:
    zelkatest::TempFolder outputs_;
    pid_t pid_ = -1;
    int input_ = -1;
    bool reaped_ = false;
    int exit_ = -1;
};

}  // namespace savetest
