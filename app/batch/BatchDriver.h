#pragma once
// The batch driver's three actions: run (fork the workers, print progress,
// stop them cleanly on SIGTERM or SIGINT), queue and status.

#include "app/batch/BatchOptions.h"

class BatchDriver {
public:
    explicit BatchDriver(const BatchOptions& options) : options_(options) {}
    // Returns the process exit status.
    int execute();

private:
    // Loads the settings into the module; for a worker, its own temporary
    // folder (saved copies pass through it). False (reason printed) when
    // the settings have no such entry.
    bool loadSettings(int worker);
    int run();
    int queue();
    int status();

    const BatchOptions& options_;
};
