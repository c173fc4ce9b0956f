#include "app/batch/BatchWorker.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "app/batch/BatchDatabase.h"
#include "config/PreferencesDocMon.h"
#include "database/StoredProcedure.h"
#include "host/ed/AcDbHostApplicationServices.h"
#include "host/ed/acutPrintf.h"
#include "host/plot/ExportCommand.h"
#include "infra/Log.h"
#include "infra/ZelkaExceptions.h"
#include "reports/GraphicReport.h"

namespace {

std::string workerName(int index)
{
    char host[256] = "";
    gethostname(host, sizeof host - 1);
    return std::string(host) + ":" + std::to_string(getpid()) + "/" + std::to_string(index);
}

// The first line of an error chain's innermost description.
std::string reason(const CEXZelka& e)
{
    std::string text = e.innermost().getDescription();
    if (text.empty()) text = e.innermost().getProcSig();
    return text.substr(0, text.find('\n'));
}

}  // namespace

int BatchWorker::run(const CServerPreferenceDocMon& server)
{
    acdbHostApplicationServices()->setProduct(options_.hostProduct);
    acedRegisterExportCommands();
    const std::string me = workerName(index_);
    const std::string tag = "worker " + std::to_string(index_) + ": ";
    // What preparing a report prints goes to the terminal only when asked;
    // error lines always do, so a user sees that the error log has news.
    setCommandLineSink([this, tag](const std::string& text) {
        if (options_.verbose || text.find("rror") != std::string::npos) std::fprintf(stderr, "%s%s", tag.c_str(), text.c_str());
    });

    std::unique_ptr<BatchDatabase> db;
    int failuresInARow = 0;
    while (!stop_) {
        try {
            if (!db) db = std::make_unique<BatchDatabase>(server);
            BatchDatabase::Claim claim =
                db->claim(options_.waitingStatus, me, options_.leaseSeconds, options_.maxAttempts);
            failuresInARow = 0;
            if (claim.reportID == 0) {
                bool busy = false;
                for (const auto& s : db->summary())
                    if (s.claimed > 0 || s.status == options_.waitingStatus) busy = true;
                // Nothing to claim: wait while other workers hold claims (one
                // may die and leave its report), else stop unless following.
                if (!busy && !options_.follow) break;
                std::this_thread::sleep_for(std::chrono::duration<double>(options_.pollSeconds));
                continue;
            }
            std::string error;
            try {
                CGraphicReport report;
                if (!report.getGraphicReport(db->procedure(), server, claim.reportID, db->timeout()))
                    error = "the report does not exist";
                else {
                    report.setRetried(claim.attempt > 1);
                    report.prepareReport(db->procedure(), db->timeout());
                }
            } catch (const CEXZelka& e) {
                error = reason(e);
                try {
                    CLog::logAndReport(e, CPreferencesDocMon::moduleSettings().errorLogPaths());
                } catch (const CEXZelka&) {
                    // The reason is recorded with the report below.
                }
            }
            int32_t status = db->finish(claim.reportID, me, error, options_.maxAttempts, options_.waitingStatus);
            if (options_.verbose)
                std::fprintf(stdout, "%sreport %d (attempt %d): status %d%s%s\n", tag.c_str(), claim.reportID,
                             claim.attempt, status, error.empty() ? "" : ": ", error.c_str());
            std::fflush(stdout);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%sthe property database failed: %s\n", tag.c_str(), e.what());
            db.reset();
        } catch (const CEXZelka& e) {
            std::fprintf(stderr, "%sthe property database failed: %s\n", tag.c_str(), reason(e).c_str());
            db.reset();
        }
        if (!db) {
            // Try again a few times (the server may be restarting), then give up.
            if (++failuresInARow >= 5) return 1;
            std::this_thread::sleep_for(std::chrono::duration<double>(options_.pollSeconds));
        }
    }
    return 0;
}
