#pragma once
// Runs the tests' own tools (Debian's python3 with ezdxf, the oracles under
// tests/) from a test: shell quoting, what a command prints and its exit
// status. Never used to run the product itself (see ZelkaProcess.h).

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace zelkatest {

inline std::string shellQuote(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

struct CommandOutput {
    int status = -1;  // the exit status, -1 when the command could not run or was killed
    std::string out;
};

// Standard output and exit status of a shell command (add "2>&1" for errors too).
inline CommandOutput runCommand(const std::string& command)
{
    CommandOutput result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return result;
    char buffer[65536];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
    const int raw = ::pclose(pipe);
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return result;
}

inline std::string captureOutput(const std::string& command) { return runCommand(command).out; }

// The command line running a Python script of tests/ with the arguments, quoted.
inline std::string pythonCommand(const std::filesystem::path& script, const std::vector<std::string>& arguments = {})
{
    std::string command = std::string(ZELKA_PYTHON) + " " + shellQuote(script.string());
    for (const std::string& argument : arguments) command += " " + shellQuote(argument);
    return command;
}

// Runs a Python program text with the arguments; standard output and errors together.
inline std::string runPython(const std::string& program, const std::vector<std::string>& arguments = {})
{
    std::string command = std::string(ZELKA_PYTHON) + " -c " + shellQuote(program);
    for (const std::string& argument : arguments) command += " " + shellQuote(argument);
    return captureOutput(command + " 2>&1");
}

}  // namespace zelkatest
