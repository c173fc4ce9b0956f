#include "app/batch/BatchDriver.h"

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <thread>

#include <pugixml.hpp>

#include "app/batch/BatchDatabase.h"
#include "app/batch/BatchWorker.h"
#include "app/batch/ReportQueue.h"
#include "config/PreferencesDocMon.h"
#include "infra/Log.h"

namespace {

volatile sig_atomic_t stopRequested = 0;

void onStop(int) { stopRequested = 1; }

void catchStopSignals()
{
    struct sigaction action {};
    action.sa_handler = onStop;
    // Calls under way (the database, file writes) go on; the flag is read between reports.
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

// Reports plotted (3), failed (the other statuses a preparation or the
// driver ends with), waiting and claimed. Reports in statuses of no batch
// (0 new, others' waiting statuses) are not counted.
struct Counts {
    int plotted = 0, failed = 0, waiting = 0, claimed = 0;
};

Counts countsOf(const std::vector<BatchDatabase::StatusCount>& summary, int32_t waitingStatus)
{
    Counts c;
    for (const auto& s : summary) {
        c.claimed += s.claimed;
        if (s.status == waitingStatus) c.waiting += s.reports - s.claimed;
        else if (s.status == 3) c.plotted += s.reports;
        else if (s.status == 4 || s.status == 8 || (s.status >= 10 && s.status <= 13) || s.status == 20)
            c.failed += s.reports;
    }
    return c;
}

}  // namespace

bool BatchDriver::loadSettings(int worker)
{
    std::string file = options_.settingsFile;
    if (file.empty()) file = CPreferencesDocMon::preferencesFolderPath() + "/" + CPreferencesDocMon::FILE_NAME;
    pugi::xml_document document;
    pugi::xml_parse_result parsed = document.load_file(file.c_str());
    if (!parsed) {
        std::fprintf(stderr, "zelka-batch: cannot read the document-monitor settings %s: %s\n", file.c_str(),
                     parsed.description());
        return false;
    }
    // Each worker saves its copies through a temporary folder of its own, so
    // workers preparing reports of the same drawing never share a file.
    if (worker >= 0) {
        int index = 0;
        for (pugi::xml_node entry : document.document_element().children()) {
            if (entry.type() != pugi::node_element || !entry.first_child()) continue;
            if (index++ != options_.server) continue;
            pugi::xml_node temp = entry.child("acadTempDirectory");
            if (!temp) temp = entry.append_child("acadTempDirectory");
            std::string base = temp.text().get();
            if (base.empty()) base = std::filesystem::temp_directory_path().string();
            if (base.back() != '/') base += '/';
            std::string own = base + "zelka-batch-" + std::to_string(getpid()) + "/";
            std::filesystem::create_directories(own);
            temp.text().set(own.c_str());
        }
    }
    CPreferencesDocMon& settings = CPreferencesDocMon::moduleSettings();
    settings.loadPreferences(document);
    if (settings.getCount() <= options_.server) {
        std::fprintf(stderr, "zelka-batch: the settings %s have no entry %d (they have %d)\n", file.c_str(),
                     options_.server, settings.getCount());
        return false;
    }
    CLog::setDebugLogPath(settings.getAt(options_.server).getAcadDebugLogFilePath());
    return true;
}

int BatchDriver::execute()
{
    if (options_.action == "run") return run();
    if (!loadSettings(-1)) return 2;
    return options_.action == "queue" ? queue() : status();
}

int BatchDriver::run()
{
    if (!loadSettings(-1)) return 2;
    const CServerPreferenceDocMon& server = CPreferencesDocMon::moduleSettings().getAt(options_.server);
    // The figures before the workers start; the connection is closed before
    // they are forked, so no worker shares it.
    int plottedAtStart = 0, failedAtStart = 0;
    try {
        BatchDatabase first(server);
        Counts c = countsOf(first.summary(), options_.waitingStatus);
        plottedAtStart = c.plotted;
        failedAtStart = c.failed;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zelka-batch: cannot reach the property database: %s\n", e.what());
        return 1;
    }
    catchStopSignals();
    std::map<pid_t, int> workers;
    for (int i = 1; i <= options_.workers; ++i) {
        std::fflush(nullptr);
        pid_t pid = fork();
        if (pid < 0) {
            std::perror("zelka-batch: fork");
            break;
        }
        if (pid == 0) {
            int rc = 2;
            if (loadSettings(i)) {
                BatchWorker worker(options_, i, stopRequested);
                rc = worker.run(CPreferencesDocMon::moduleSettings().getAt(options_.server));
            }
            std::fflush(nullptr);
            std::error_code ec;
            std::filesystem::remove_all(CPreferencesDocMon::moduleSettings().getAt(options_.server).getAcadTempDirectory(), ec);
            _exit(rc);
        }
        workers[pid] = i;
        std::printf("zelka-batch: worker %d started (pid %d)\n", i, static_cast<int>(pid));
    }
    std::fflush(stdout);

    std::unique_ptr<BatchDatabase> db;
    auto started = std::chrono::steady_clock::now();
    auto lastProgress = started;
    bool forwarded = false;
    int failedWorkers = 0;
    auto progress = [&](const char* label) {
        try {
            if (!db) db = std::make_unique<BatchDatabase>(server);
            Counts c = countsOf(db->summary(), options_.waitingStatus);
            // Done and failed count this run's reports only.
            const int done = c.plotted - plottedAtStart, failed = c.failed - failedAtStart;
            double minutes =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count() / 60.0;
            double rate = minutes > 0 ? (done + failed) / minutes : 0.0;
            std::printf("zelka-batch: %sdone %d, failed %d, waiting %d, in progress %d, %.1f reports/min\n", label,
                        done, failed, c.waiting, c.claimed, rate);
        } catch (const std::exception& e) {
            std::printf("zelka-batch: no progress figures: %s\n", e.what());
            db.reset();
        }
        std::fflush(stdout);
    };
    progress("");
    while (!workers.empty()) {
        if (stopRequested && !forwarded) {
            std::printf("zelka-batch: stopping: each worker finishes its current report\n");
            std::fflush(stdout);
            for (const auto& [pid, index] : workers) kill(pid, SIGTERM);
            forwarded = true;
        }
        int wstatus = 0;
        pid_t pid = waitpid(-1, &wstatus, WNOHANG);
        if (pid > 0 && workers.count(pid)) {
            int index = workers[pid];
            workers.erase(pid);
            if (WIFSIGNALED(wstatus)) {
                ++failedWorkers;
                std::printf("zelka-batch: worker %d (pid %d) was killed by signal %d; its claim is taken over when "
                            "its lease runs out\n", index, static_cast<int>(pid), WTERMSIG(wstatus));
            } else if (WEXITSTATUS(wstatus) != 0) {
                ++failedWorkers;
                std::printf("zelka-batch: worker %d (pid %d) stopped with status %d\n", index,
                            static_cast<int>(pid), WEXITSTATUS(wstatus));
            }
            std::fflush(stdout);
            continue;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        auto now = std::chrono::steady_clock::now();
        if (std::chrono::duration<double>(now - lastProgress).count() >= options_.progressSeconds) {
            progress("");
            lastProgress = now;
        }
    }
    progress("finished: ");
    return failedWorkers == options_.workers ? 1 : 0;
}

int BatchDriver::queue()
{
    try {
        BatchDatabase db(CPreferencesDocMon::moduleSettings().getAt(options_.server));
        ReportQueue queue(db, options_);
        int queued = 0, refused = 0;
        for (const std::string& path : options_.paths) queue.add(path, queued, refused);
        std::printf("zelka-batch: queued %d report(s) in status %d%s\n", queued, options_.waitingStatus,
                    refused ? (", " + std::to_string(refused) + " refused (see above)").c_str() : "");
        status();
        return refused ? 1 : 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zelka-batch: %s\n", e.what());
        return 1;
    }
}

int BatchDriver::status()
{
    try {
        BatchDatabase db(CPreferencesDocMon::moduleSettings().getAt(options_.server));
        std::printf("%6s  %-45s %8s %8s\n", "status", "meaning", "reports", "claimed");
        int total = 0;
        for (const auto& s : db.summary()) {
            std::printf("%6d  %-45s %8d %8d\n", s.status, s.description.c_str(), s.reports, s.claimed);
            total += s.reports;
        }
        std::printf("%6s  %-45s %8d\n", "", "total", total);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zelka-batch: %s\n", e.what());
        return 1;
    }
}
