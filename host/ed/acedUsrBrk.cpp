#include "host/ed/acedUsrBrk.h"

#include <atomic>

namespace {

// Lock-free, so the signal handler may set it.
std::atomic<bool> breakRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

}  // namespace

bool acedUsrBrk() { return breakRequested.exchange(false); }

void acedRequestUserBreak() noexcept { breakRequested.store(true); }

void acedClearUserBreak() { breakRequested.store(false); }
