#pragma once
// A queue of stored-procedure calls without result sets, sent to the
// database in as few round trips as the driver allows
// (CStoredProcedure::execBatch). Each call owns its parameter list until it
// went through; then its completion runs with the list, outputs read back.
// A completion may queue further calls (those that need its outputs): they
// go with the next flush.
//
// A flush sends at most kMaxCalls calls or kMaxInputs bound values per
// round trip, so one execution stays a bounded text; callers flush where a
// later call needs an earlier call's output, and before commit.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "database/Parameters.h"

class CStoredProcedure;

class CCallBatch {
public:
    static constexpr size_t kMaxCalls = 1000;
    static constexpr size_t kMaxInputs = 8000;

    using Done = std::function<void(CParameters& list)>;

    CCallBatch(CStoredProcedure& sp, uint32_t timeout) : sp_(sp), timeout_(timeout) {}
    CCallBatch(const CCallBatch&) = delete;
    CCallBatch& operator=(const CCallBatch&) = delete;

    // Queues procedure with its list; target says what the call is for
    // ("room block 'A-101' (handle 2F)"), as a failure names it. With
    // readOutputs the list's outputs hold the returned values when done runs.
    void add(const std::string& procedure, std::unique_ptr<CParameters> list, std::string target, bool readOutputs,
             Done done = {});
    // Sends every queued call; throws the procedure's failure chain
    // ("CCallBatch::flush"). Calls queued by completions wait for the next flush.
    void flush();
    size_t size() const { return calls_.size(); }

private:
    struct Queued {
        std::string procedure;
        std::unique_ptr<CParameters> list;
        std::string target;
        bool readOutputs = false;
        Done done;
    };

    CStoredProcedure& sp_;
    uint32_t timeout_;
    std::vector<Queued> calls_;
};
