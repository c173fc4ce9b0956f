#pragma once
// Runs the built zelka program as a user would, with its own temporary
// application-data folder, and captures the transcript, the error output and
// the exit status.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace zelkatest {

struct RunResult {
    int exitCode = -1;
    bool timedOut = false;
    std::string out;
    std::string err;
};

inline std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

inline void writeFile(const std::filesystem::path& path, const std::string& text)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << text;
}

// A fresh folder under the system's temporary folder, removed with the object.
class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "zelka-test-XXXXXX").string();
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        path_ = mkdtemp(buffer.data());
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline std::filesystem::path zelkaProgram()
{
    return std::filesystem::path(ZELKA_BINARY_DIR) / "bin" / "zelka";
}

inline const std::string kClosed = "<closed>";

// How runZelkaWith starts the program.
struct RunOptions {
    std::string stdinPath = "/dev/null";  // standard input (never a terminal)
    std::string stdoutPath;               // where the transcript goes; empty: captured into out;
                                          // kClosed: standard output is not open at all
    std::filesystem::path folder;         // the working folder; empty: the test's
    int timeoutSeconds = 120;             // a run still going then is killed (exitCode -1, timedOut)
};

// Waits for the process; kills it when it runs longer than the timeout or
// its captured transcript passes 64 MB (a prompt asked for ever), so a hang
// fails the test instead of stopping the suite.
inline int waitForZelka(pid_t pid, int timeoutSeconds, const std::string& capturedOut, bool& timedOut)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    for (;;) {
        int status = 0;
        pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        if (done < 0) return -1;
        std::error_code ignored;
        bool tooMuch = !capturedOut.empty() && std::filesystem::file_size(capturedOut, ignored) > (64u << 20);
        if (std::chrono::steady_clock::now() > deadline || tooMuch) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            timedOut = true;
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

inline RunResult runZelkaWith(const std::vector<std::string>& arguments, const RunOptions& options)
{
    TempFolder outputs;
    std::string outPath = options.stdoutPath.empty() ? (outputs.path() / "out").string() : options.stdoutPath;
    std::string errPath = (outputs.path() / "err").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, options.stdinPath.c_str(), O_RDONLY, 0);
    if (options.stdoutPath == kClosed)
        posix_spawn_file_actions_addclose(&actions, STDOUT_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (!options.folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, options.folder.c_str());
    std::string program = zelkaProgram().string();
    std::vector<char*> argv;
    argv.push_back(program.data());
    std::vector<std::string> copies = arguments;
    for (std::string& argument : copies) argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    RunResult result;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0) {
        result.exitCode =
            waitForZelka(pid, options.timeoutSeconds, options.stdoutPath.empty() ? outPath : "", result.timedOut);
    }
    posix_spawn_file_actions_destroy(&actions);
    if (options.stdoutPath.empty()) result.out = readFile(outPath);
    result.err = readFile(errPath);
    return result;
}

// Runs zelka with the arguments; stdin is /dev/null (not a terminal).
inline RunResult runZelka(const std::vector<std::string>& arguments)
{
    return runZelkaWith(arguments, RunOptions{});
}

// Runs zelka with its transcript going into a pipe whose reader takes the
// first line and then closes its end, as "zelka ... | head -1" does; out
// holds that first line.
inline RunResult runZelkaIntoPipeClosedAfterFirstLine(const std::vector<std::string>& arguments)
{
    RunResult result;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return result;
    TempFolder outputs;
    std::string errPath = (outputs.path() / "err").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::string program = zelkaProgram().string();
    std::vector<std::string> copies = arguments;
    std::vector<char*> argv{program.data()};
    for (std::string& argument : copies) argv.push_back(argument.data());
    argv.push_back(nullptr);
    // A shell starts programs with SIGPIPE at its default (end the process),
    // whatever this test process inherited.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    pid_t pid = 0;
    bool started = posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), environ) == 0;
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    char byte = 0;
    while (started && read(fds[0], &byte, 1) == 1) {
        result.out.push_back(byte);
        if (byte == '\n') break;
    }
    close(fds[0]);
    if (started) result.exitCode = waitForZelka(pid, 120, "", result.timedOut);
    result.err = readFile(errPath);
    return result;
}

// zelka on a pseudo-terminal, as a person at the keyboard runs it: the test
// waits for what appears on the screen and types keys.
class TerminalRun {
public:
    explicit TerminalRun(const std::vector<std::string>& arguments)
    {
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
        std::string terminal = ptsname(master_);
        errPath_ = (outputs_.path() / "err").string();
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, terminal.c_str(), O_RDWR | O_NOCTTY, 0);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, terminal.c_str(), O_RDWR | O_NOCTTY, 0);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        std::string program = zelkaProgram().string();
        std::vector<std::string> copies = arguments;
        std::vector<char*> argv{program.data()};
        for (std::string& argument : copies) argv.push_back(argument.data());
        argv.push_back(nullptr);
        started_ = posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ) == 0;
        posix_spawn_file_actions_destroy(&actions);
    }
    TerminalRun(const TerminalRun&) = delete;
    TerminalRun& operator=(const TerminalRun&) = delete;
    ~TerminalRun()
    {
        if (started_ && !finished_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (master_ >= 0) close(master_);
    }

    // Reads the screen until text appears after the last text waited for;
    // false when it does not within the time.
    bool waitFor(const std::string& text, int seconds = 60)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        for (;;) {
            size_t at = screen_.find(text, seen_);
            if (at != std::string::npos) {
                seen_ = at + text.size();
                return true;
            }
            if (std::chrono::steady_clock::now() > deadline || !readSome(50)) return false;
        }
    }
    // Types keys (a line editor sees them as typed).
    void type(const std::string& keys) { (void)!write(master_, keys.data(), keys.size()); }
    // Waits for the end of the run; the screen so far is in out.
    RunResult finish(int seconds = 60)
    {
        RunResult result;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (started_ && !finished_) {
            readSome(20);
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                finished_ = true;
                result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            } else if (std::chrono::steady_clock::now() > deadline) {
                kill(pid_, SIGKILL);
                waitpid(pid_, nullptr, 0);
                finished_ = true;
                result.timedOut = true;
            }
        }
        while (readSome(0)) {}
        result.out = screen_;
        result.err = readFile(errPath_);
        return result;
    }

private:
    // Reads what is there within waitMs; false when nothing came or the terminal closed.
    bool readSome(int waitMs)
    {
        pollfd ready{master_, POLLIN, 0};
        if (poll(&ready, 1, waitMs) <= 0) return waitMs > 0 && !finished_;
        char buffer[4096];
        ssize_t got = read(master_, buffer, sizeof buffer);
        if (got <= 0) return false;
        screen_.append(buffer, static_cast<size_t>(got));
        return true;
    }

    TempFolder outputs_;
    std::string errPath_;
    int master_ = -1;
    pid_t pid_ = 0;
    bool started_ = false;
    bool finished_ = false;
    std::string screen_;
    size_t seen_ = 0;
};

}  // namespace zelkatest
