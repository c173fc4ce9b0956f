#pragma once
// One worker of the batch driver: claims waiting reports one at a time,
// prepares each (open, apply, plot, copy, XML, status) and ends its claim.
// Stops when nothing is left to claim and no other worker holds a claim
// (unless following), or when asked to stop, after the current report.

#include <csignal>

#include "app/batch/BatchOptions.h"

class CServerPreferenceDocMon;

class BatchWorker {
public:
    BatchWorker(const BatchOptions& options, int index, const volatile sig_atomic_t& stopRequested)
        : options_(options), index_(index), stop_(stopRequested)
    {
    }
    // Runs until done; returns the process exit status (0, or 1 when the
    // database could not be reached).
    int run(const CServerPreferenceDocMon& server);

private:
    const BatchOptions& options_;
    int index_;
    const volatile sig_atomic_t& stop_;
};
