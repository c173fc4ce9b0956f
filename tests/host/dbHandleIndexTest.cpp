// The database's index of stubs by handle, against a plain map kept beside
// it through inserts, removals and the growth of the table.
#include <gtest/gtest.h>

#include <deque>
#include <map>

#include "host/db/AcDbHandleIndex.h"
#include "host/db/AcDbStub.h"

namespace {

TEST(AcDbHandleIndex, FindsWhatAMapFindsThroughInsertsRemovalsAndGrowth)
{
    struct Case {
        const char* what;
        uint64_t first, step;
        size_t count;
        size_t eraseEvery;  // every n-th handle removed again, then put back
    };
    const std::vector<Case> cases = {
        {"consecutive handles, as a file numbers them", 1, 1, 5000, 3},
        {"handles far apart, colliding in the low bits", 0x10000, 0x100000, 3000, 2},
        {"the highest handles", UINT64_MAX - 4000, 1, 4000, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::deque<AcDbStub> stubs;
        std::map<uint64_t, AcDbStub*> model;
        AcDbHandleIndex index;
        for (size_t i = 0; i < c.count; ++i) {
            AcDbStub& s = stubs.emplace_back();
            s.handle = c.first + i * c.step;
            index.insert(&s);
            model[s.handle] = &s;
        }
        for (size_t i = 0; i < c.count; i += c.eraseEvery) {
            index.erase(c.first + i * c.step);
            model.erase(c.first + i * c.step);
        }
        // Removed slots are passed over by searches for the handles after them.
        ASSERT_EQ(index.size(), model.size());
        for (size_t i = 0; i < c.count; ++i) {
            const uint64_t h = c.first + i * c.step;
            auto it = model.find(h);
            ASSERT_EQ(index.find(h), it == model.end() ? nullptr : it->second) << "handle " << h;
        }
        // Handles never added are not found, and removing them changes nothing.
        for (uint64_t h : {c.first - 1, c.first + c.count * c.step + 7, uint64_t{0}}) {
            if (model.count(h))
                continue;
            EXPECT_EQ(index.find(h), nullptr) << "handle " << h;
            index.erase(h);
        }
        EXPECT_EQ(index.size(), model.size());
        // Put back, the removed stubs are found again; the others still are.
        for (size_t i = 0; i < c.count; i += c.eraseEvery)
            index.insert(&stubs[i]);
        for (size_t i = 0; i < c.count; ++i)
            ASSERT_EQ(index.find(stubs[i].handle), &stubs[i]) << "handle " << stubs[i].handle;
        EXPECT_EQ(index.size(), c.count);
    }
}

}  // namespace
