// The handle index against a plain map, under the handle patterns files
// have: consecutive runs, strides that share a slot group or the low bits,
// and handles spread over the whole 64-bit range; with removals and
// re-insertions between growths of the table; a second stub under a held
// handle refused; and the mark each stub carries of being held.
#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <unordered_map>

#include "host/db/AcDbHandleIndex.h"
#include "host/db/AcDbStub.h"

TEST(HandleIndex, AgreesWithAMapUnderEveryHandlePattern)
{
    const struct {
        const char* what;
        uint64_t first, step;
    } patterns[] = {
        {"consecutive", 1, 1}, {"same low bits", 0x20, 16}, {"far apart", 7, uint64_t{1} << 20},
        {"random", 0, 0}, {"top of the range", ~uint64_t{0} - 60000, 1},
    };
    for (const auto& p : patterns) {
        SCOPED_TRACE(p.what);
        std::mt19937_64 random(42);
        std::deque<AcDbStub> stubs;
        std::unordered_map<uint64_t, AcDbStub*> model;
        AcDbHandleIndex index;
        for (uint64_t i = 0; i < 50000; ++i) {
            const uint64_t handle = p.step ? p.first + i * p.step : random() | 1;
            if (model.count(handle))
                continue;
            stubs.emplace_back().handle = handle;
            if (i % 2 == 0) {
                index.insert(&stubs.back());
            } else {
                ASSERT_TRUE(index.insertNew(&stubs.back())) << std::hex << handle;
            }
            model[handle] = &stubs.back();
            if (i % 7 == 3) {  // a second stub under a held handle is refused, and changes nothing
                AcDbStub twin;
                twin.handle = stubs[static_cast<size_t>(random() % stubs.size())].handle;
                const bool held = model.count(twin.handle) != 0;
                ASSERT_EQ(index.insertNew(&twin), !held) << std::hex << twin.handle;
                if (!held)
                    index.erase(twin.handle);
                ASSERT_FALSE(held && twin.indexed);
            }
            if (i % 3 == 2) {  // remove an earlier one, sometimes put it back
                AcDbStub& old = stubs[static_cast<size_t>(random() % stubs.size())];
                index.erase(old.handle);
                model.erase(old.handle);
                if (i % 2 == 0) {
                    index.insert(&old);
                    model[old.handle] = &old;
                }
            }
        }
        ASSERT_EQ(index.size(), model.size());
        for (const AcDbStub& s : stubs) {
            auto it = model.find(s.handle);
            ASSERT_EQ(index.find(s.handle), it == model.end() ? nullptr : it->second) << std::hex << s.handle;
            // The stub's own mark says the same without a search.
            ASSERT_EQ(AcDbHandleIndex::holds(s), it != model.end() && it->second == &s) << std::hex << s.handle;
            ASSERT_EQ(index.find(s.handle + 3 * (p.step ? p.step : 1) * 100000), nullptr);
        }
    }
}

// Room made ahead (as reading a file does from its handle seed) keeps every
// stub held, drops erased slots, never shrinks the table, and the index goes
// on agreeing with the map as it fills past the room made and grows.
TEST(HandleIndex, RoomMadeAheadKeepsEveryStubAndTheIndexGrowsOnPastIt)
{
    std::deque<AcDbStub> stubs;
    std::unordered_map<uint64_t, AcDbStub*> model;
    AcDbHandleIndex index;
    auto add = [&](uint64_t handle) {
        stubs.emplace_back().handle = handle;
        ASSERT_TRUE(index.insertNew(&stubs.back())) << std::hex << handle;
        model[handle] = &stubs.back();
    };
    auto agrees = [&](const char* when) {
        SCOPED_TRACE(when);
        ASSERT_EQ(index.size(), model.size());
        for (const AcDbStub& s : stubs) {
            auto it = model.find(s.handle);
            ASSERT_EQ(index.find(s.handle), it == model.end() ? nullptr : it->second) << std::hex << s.handle;
            ASSERT_EQ(AcDbHandleIndex::holds(s), it != model.end() && it->second == &s) << std::hex << s.handle;
        }
    };
    index.reserve(0);
    index.reserve(3000);  // before the first stub
    for (uint64_t h = 1; h <= 2000; ++h)
        add(h);
    for (uint64_t h = 2; h <= 2000; h += 3) {  // erased slots, which a new table leaves behind
        index.erase(h);
        model.erase(h);
    }
    agrees("after erasing");
    index.reserve(100000);
    agrees("after making room for many more");
    index.reserve(10);  // less room than held: nothing changes
    agrees("after asking for less room");
    for (uint64_t h = 0x10000; h < 0x10000 + 150000; ++h)  // past the room made: the table grows on
        add(h);
    agrees("after filling past the room made");
    for (uint64_t h = 2; h <= 2000; h += 3)  // an erased handle can be held again
        add(h);
    agrees("after re-adding the erased handles");
}
