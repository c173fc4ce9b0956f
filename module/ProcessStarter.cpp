#include "module/ProcessStarter.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

extern char** environ;

namespace {

// Processes started and not yet collected.
std::vector<pid_t>& startedProcesses()
{
    static std::vector<pid_t> started;
    return started;
}

class SpawnActions {
public:
    SpawnActions() { posix_spawn_file_actions_init(&actions_); }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;
    ~SpawnActions() { posix_spawn_file_actions_destroy(&actions_); }
    posix_spawn_file_actions_t* get() { return &actions_; }

private:
    posix_spawn_file_actions_t actions_;
};

}  // namespace

pid_t CProcessStarter::start(const std::string& program, const std::vector<std::string>& arguments,
                             const std::string& workingFolder)
{
    reapFinished();
    if (program.empty()) return -1;
    SpawnActions actions;
    if (!workingFolder.empty() && posix_spawn_file_actions_addchdir_np(actions.get(), workingFolder.c_str()) != 0)
        return -1;
    std::vector<std::string> strings;
    strings.reserve(arguments.size() + 1);
    strings.push_back(program);
    strings.insert(strings.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& text : strings) argv.push_back(text.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    const bool searchPath = program.find('/') == std::string::npos;
    const int status = searchPath ? posix_spawnp(&pid, program.c_str(), actions.get(), nullptr, argv.data(), environ)
                                  : posix_spawn(&pid, program.c_str(), actions.get(), nullptr, argv.data(), environ);
    if (status != 0) return -1;
    startedProcesses().push_back(pid);
    return pid;
}

std::string CProcessStarter::hostProgramFolder()
{
    std::error_code error;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || program.empty()) return {};
    std::string folder = program.parent_path().string();
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

int CProcessStarter::reapFinished()
{
    std::vector<pid_t>& started = startedProcesses();
    started.erase(std::remove_if(started.begin(), started.end(),
                                 [](pid_t pid) {
                                     int status = 0;
                                     pid_t result = waitpid(pid, &status, WNOHANG);
                                     return result == pid || result == -1;
                                 }),
                  started.end());
    return static_cast<int>(started.size());
}
