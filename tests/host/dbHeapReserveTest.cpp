// The heap reservation for large drawings: the advised range must really be
// heap above what is in use, marked for huge pages in the process's own
// memory map, and it must survive frees (the allocator keeps its top).

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/db/AcDbHeapReserve.h"

namespace {

struct Mapping {
    uintptr_t begin = 0, end = 0;
    bool hugeAdvised = false;
};

// The process's mappings as the kernel reports them; "hg" in VmFlags is
// MADV_HUGEPAGE.
std::vector<Mapping> mappings()
{
    std::vector<Mapping> out;
    std::ifstream in("/proc/self/smaps");
    std::string line;
    while (std::getline(in, line)) {
        unsigned long long b = 0, e = 0;
        if (std::sscanf(line.c_str(), "%llx-%llx", &b, &e) == 2 && line.find("VmFlags") == std::string::npos) {
            out.push_back({static_cast<uintptr_t>(b), static_cast<uintptr_t>(e), false});
        } else if (line.rfind("VmFlags:", 0) == 0 && !out.empty()) {
            std::istringstream flags(line.substr(8));
            std::string f;
            while (flags >> f)
                if (f == "hg")
                    out.back().hugeAdvised = true;
        }
    }
    return out;
}

bool hugePagesOnRequest()
{
    std::ifstream in("/sys/kernel/mm/transparent_hugepage/enabled");
    std::string policy;
    std::getline(in, policy);
    return policy.find("[madvise]") != std::string::npos || policy.find("[always]") != std::string::npos;
}

// True when a mid-sized block comes from below the program break, as the
// system allocator carves it; false under a sanitizer's own allocator.
bool allocatorUsesTheBreak()
{
    void* p = std::malloc(64 * 1024);
    const bool below = reinterpret_cast<uintptr_t>(p) < reinterpret_cast<uintptr_t>(::sbrk(0));
    std::free(p);
    return below;
}

}  // namespace

TEST(HeapReserve, AdvisesFreshHeapAboveTheBreakAndKeepsIt)
{
    if (!hugePagesOnRequest())
        GTEST_SKIP() << "transparent huge pages are off on this system";
    const auto before = reinterpret_cast<uintptr_t>(::sbrk(0));
    constexpr size_t kBytes = size_t{64} << 20;
    if (!allocatorUsesTheBreak()) {
        // A sanitizer's allocator: nothing to reserve, and the break stays.
        EXPECT_FALSE(acdbReserveHeap(kBytes));
        EXPECT_EQ(reinterpret_cast<uintptr_t>(::sbrk(0)), before);
        return;
    }
    ASSERT_TRUE(acdbReserveHeap(kBytes));
    const auto after = reinterpret_cast<uintptr_t>(::sbrk(0));
    EXPECT_GE(after - before, kBytes / 2);

    // The advised range lies in the heap's new part and covers most of it.
    size_t advised = 0;
    for (const Mapping& m : mappings())
        if (m.hugeAdvised && m.begin >= before && m.end <= after)
            advised += m.end - m.begin;
    EXPECT_GE(advised, kBytes / 2 - (size_t{4} << 20));

    // Small allocations are carved from the reservation and freeing them
    // does not hand it back.
    std::vector<void*> blocks;
    for (int i = 0; i < 20000; ++i) {
        void* p = std::malloc(200);
        ASSERT_NE(p, nullptr);
        std::memset(p, i & 0xff, 200);
        blocks.push_back(p);
    }
    EXPECT_EQ(reinterpret_cast<uintptr_t>(::sbrk(0)), after);
    for (void* p : blocks)
        std::free(p);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(::sbrk(0)), after);
}

TEST(HeapReserve, RefusesRequestsBelowOneHugePage)
{
    const auto before = reinterpret_cast<uintptr_t>(::sbrk(0));
    EXPECT_FALSE(acdbReserveHeap(1 << 20));
    EXPECT_EQ(reinterpret_cast<uintptr_t>(::sbrk(0)), before);
}
