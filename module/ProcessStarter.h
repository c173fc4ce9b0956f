#pragma once
// Starts another program as a separate process without a shell (the CSV
// opener): the program and its arguments go to it as an argument vector, so
// blanks, quotes and shell characters in paths are passed on unchanged. The
// caller does not wait; finished processes are collected on the next start so
// none is left behind as a zombie for long.

#include <sys/types.h>

#include <string>
#include <vector>

class CProcessStarter {
public:
    // Starts program with the arguments in workingFolder ("" keeps the
    // current one). A program without "/" is looked up on PATH. Returns the
    // process id, or -1 when the process could not be started (nothing thrown).
    static pid_t start(const std::string& program, const std::vector<std::string>& arguments,
                       const std::string& workingFolder);

    // The folder of the running host program, ending with "/"; "" when the
    // system does not tell.
    static std::string hostProgramFolder();

    // Collects processes started here that have finished. Returns how many
    // are still running.
    static int reapFinished();
};
