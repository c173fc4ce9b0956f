#pragma once
// The batch driver's calls to the property database: its connection made
// from a document-monitor settings entry, claiming and finishing reports,
// the status summary, and queuing new reports.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CGraphicReport;
class CServerPreferenceDocMon;
class CStoredProcedure;

class BatchDatabase {
public:
    // Connects with the entry's database values. Throws std::runtime_error
    // (with the driver's message) when the connection fails.
    explicit BatchDatabase(const CServerPreferenceDocMon& server);
    ~BatchDatabase();

    CStoredProcedure& procedure() { return *sp_; }
    uint32_t timeout() const { return timeout_; }

    struct Claim {
        int32_t reportID = 0;  // 0: nothing to claim
        int32_t attempt = 0;
    };
    Claim claim(int32_t waitingStatus, const std::string& worker, int leaseSeconds, int maxAttempts);
    // Ends a claim; error "" when the preparation returned. Returns the status.
    int32_t finish(int32_t reportID, const std::string& worker, const std::string& error, int maxAttempts,
                   int32_t waitingStatus);

    struct StatusCount {
        int32_t status = 0;
        std::string description;
        int reports = 0;
        int claimed = 0;
    };
    std::vector<StatusCount> summary();

    // Adds the report (its settings, categories with their blocks, layers
    // and link lines) in the status; returns its new id.
    int32_t addReport(const CGraphicReport& report, int32_t status);

private:
    std::unique_ptr<CStoredProcedure> sp_;
    uint32_t timeout_ = 30;
};
