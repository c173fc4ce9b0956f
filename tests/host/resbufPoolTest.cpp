// Result buffers come from blocks of nodes and a per-thread list of released
// ones: a reused node must look new, strings set by the caller are still
// freed, nodes may be released on another thread, and live nodes never
// share memory.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <thread>
#include <utility>
#include <vector>

#include "host/db/resbuf.h"

namespace {

// True when every byte of the value and the link is zero.
bool blank(const resbuf* rb)
{
    resbuf zero;
    std::memset(static_cast<void*>(&zero), 0, sizeof zero);
    return rb->rbnext == nullptr && std::memcmp(&rb->resval, &zero.resval, sizeof zero.resval) == 0;
}

}  // namespace

TEST(ResbufPool, ReusedNodesStartZeroedWithTheirNewType)
{
    // A chain whose nodes carry every kind of value, released, then taken again.
    const double p[3] = {1.5, -2.5, 3.25};
    resbuf* chain = acutBuildList(1001, "APP", 1000, "text", 1010, p, 1040, 2.5, 1070, 7, 1071, 123456, 0);
    ASSERT_NE(chain, nullptr);
    std::set<const resbuf*> released;
    for (const resbuf* rb = chain; rb; rb = rb->rbnext)
        released.insert(rb);
    acutRelRb(chain);
    std::vector<resbuf*> again;
    size_t reused = 0;
    for (int i = 0; i < 6; ++i) {
        resbuf* rb = acutNewRb(1000 + i);
        ASSERT_NE(rb, nullptr);
        EXPECT_EQ(rb->restype, 1000 + i);
        EXPECT_TRUE(blank(rb)) << "node " << i << " keeps old contents";
        reused += released.count(rb);
        again.push_back(rb);
    }
    EXPECT_EQ(reused, 6u) << "released nodes are handed out again";
    for (resbuf* rb : again) {
        rb->resval.rstring = strdup("set by the caller");  // acutRelRb frees it
        acutRelRb(rb);
    }
}

TEST(ResbufPool, NodesCrossThreadsAndLiveOnesNeverOverlap)
{
    std::vector<resbuf*> made;
    std::thread maker([&] {
        for (int i = 0; i < 1000; ++i)
            made.push_back(acutBuildList(1000, "from the other thread", 1070, i, 0));
    });
    maker.join();
    for (size_t i = 0; i < made.size(); ++i) {
        ASSERT_STREQ(made[i]->resval.rstring, "from the other thread");
        ASSERT_EQ(made[i]->rbnext->resval.rint, static_cast<short>(i));
        acutRelRb(made[i]);  // joins this thread's list
    }
    // Many more nodes than one block holds, all alive at once: each keeps
    // its own value, so no two share memory.
    std::vector<resbuf*> many;
    std::set<const resbuf*> distinct;
    for (int i = 0; i < 5000; ++i) {
        resbuf* rb = acutNewRb(1071);
        ASSERT_NE(rb, nullptr);
        EXPECT_TRUE(blank(rb));
        rb->resval.rlong = i;
        many.push_back(rb);
        distinct.insert(rb);
    }
    EXPECT_EQ(distinct.size(), many.size());
    for (size_t i = 0; i < many.size(); ++i)
        ASSERT_EQ(many[i]->resval.rlong, static_cast<int32_t>(i));
    // Released as one chain, then taken again.
    for (size_t i = 0; i + 1 < many.size(); ++i)
        many[i]->rbnext = many[i + 1];
    acutRelRb(many.front());
    resbuf* again = acutNewRb(1040);
    EXPECT_TRUE(distinct.count(again)) << "a released node is reused";
    EXPECT_TRUE(blank(again));
    acutRelRb(again);
}

TEST(ResbufPool, ExtendedDataCodesHaveTheirValueKinds)
{
    // The extended-data group codes the DXF reference defines, by hand.
    const std::pair<int, AcRbValueKind> codes[] = {
        {1000, AcRbValueKind::String}, {1001, AcRbValueKind::String}, {1002, AcRbValueKind::String},
        {1003, AcRbValueKind::String}, {1004, AcRbValueKind::String}, {1005, AcRbValueKind::String},
        {1010, AcRbValueKind::Point},  {1011, AcRbValueKind::Point},  {1012, AcRbValueKind::Point},
        {1013, AcRbValueKind::Point},  {1040, AcRbValueKind::Real},   {1041, AcRbValueKind::Real},
        {1042, AcRbValueKind::Real},   {1070, AcRbValueKind::Short},  {1071, AcRbValueKind::Long},
        {999, AcRbValueKind::String},  {1072, AcRbValueKind::None},   {RTSTR, AcRbValueKind::String},
        {RTSHORT, AcRbValueKind::Short}, {62, AcRbValueKind::Short},  {10, AcRbValueKind::Point}};
    for (const auto& [code, kind] : codes)
        EXPECT_EQ(acutRbValueKind(code), kind) << code;
}
