#include "host/db/AcDbHeapReserve.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

namespace {

constexpr uintptr_t kHugePage = uintptr_t{2} << 20;
// Below the allocator's smallest threshold for mapping a request on its own
// (128 KB), so each request of the growth loop is carved from the heap.
constexpr size_t kStep = 64 * 1024;

// Huge pages on request exist when the system's policy is "madvise" or
// "always" (with "always" the hint is harmless).
bool hugePagesOnRequest()
{
    std::ifstream in("/sys/kernel/mm/transparent_hugepage/enabled");
    std::string policy;
    std::getline(in, policy);
    return policy.find("[madvise]") != std::string::npos || policy.find("[always]") != std::string::npos;
}

uintptr_t currentBreak() { return reinterpret_cast<uintptr_t>(::sbrk(0)); }

}  // namespace

bool acdbReserveHeap(size_t bytes)
{
    static std::mutex guard;
    static const bool available = hugePagesOnRequest();
    if (!available || bytes < kHugePage)
        return false;
    // The allocator's top pad is an int: one reservation is at most 2 GB.
    bytes = std::min<size_t>(bytes, INT32_MAX);
    std::lock_guard<std::mutex> lock(guard);
    // Frees must not shrink the heap back below the reservation.
    ::mallopt(M_TRIM_THRESHOLD, static_cast<int>(INT32_MAX));
    const uintptr_t before = currentBreak();
    // With the top pad at `bytes`, the first request the heap's free top
    // cannot serve grows the break by the whole reservation at once.
    ::mallopt(M_TOP_PAD, static_cast<int>(bytes));
    std::vector<void*> taken;
    while (currentBreak() - before < bytes / 2) {
        void* p = std::malloc(kStep);
        if (!p)
            break;
        taken.push_back(p);
        // A block above the break does not come from the heap: the allocator
        // in use (a sanitizer's, or one loaded in place of the system's) has
        // none to grow, and taking the whole size from it would be waste.
        if (reinterpret_cast<uintptr_t>(p) >= currentBreak())
            break;
        if (taken.size() > (bytes / kStep) + 64)
            break;
    }
    const uintptr_t after = currentBreak();
    for (void* p : taken)
        std::free(p);
    ::mallopt(M_TOP_PAD, 128 * 1024);
    const uintptr_t begin = (before + kHugePage - 1) & ~(kHugePage - 1);
    const uintptr_t end = after & ~(kHugePage - 1);
    if (end <= begin)
        return false;
    return ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE) == 0;
}
