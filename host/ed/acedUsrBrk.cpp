#include "host/ed/acedUsrBrk.h"

#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>

namespace {

// Lock-free, so the signal handler may set it.
std::atomic<bool> breakRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

int watchedKeys = -1;

// Reads what was typed so far, without waiting; true when Escape was among it.
bool escapeTyped()
{
    bool escape = false;
    pollfd request{watchedKeys, POLLIN, 0};
    unsigned char keys[64];
    while (poll(&request, 1, 0) > 0 && (request.revents & POLLIN)) {
        ssize_t got = ::read(watchedKeys, keys, sizeof keys);
        if (got <= 0) break;
        for (ssize_t i = 0; i < got; ++i) escape = escape || keys[i] == 0x1b;
    }
    return escape;
}

}  // namespace

bool acedUsrBrk()
{
    if (watchedKeys >= 0 && escapeTyped()) breakRequested.store(true);
    return breakRequested.exchange(false);
}

void acedWatchKeys(int fd) { watchedKeys = fd; }

void acedRequestUserBreak() noexcept { breakRequested.store(true); }

void acedInstallInterruptHandler()
{
    struct sigaction interrupt {};
    interrupt.sa_handler = [](int) { acedRequestUserBreak(); };
    sigemptyset(&interrupt.sa_mask);
    interrupt.sa_flags = SA_RESTART;  // reads of the next answer go on
    sigaction(SIGINT, &interrupt, nullptr);
}

void acedClearUserBreak() { breakRequested.store(false); }
