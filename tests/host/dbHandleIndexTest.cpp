// The handle index against a plain map, under the handle patterns files
// have: consecutive runs, strides that share a slot group or the low bits,
// and handles spread over the whole 64-bit range; with removals and
// re-insertions between growths of the table and around a reservation of
// room; a second stub under a held handle refused; and the mark each stub
// carries of being held.
#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <string>
#include <unordered_map>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbHandleIndex.h"
#include "host/db/AcDbLine.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbStub.h"
#include "host/dxf/DxfDefaultDrawing.h"
#include "host/dxf/DxfValue.h"

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
        index.reserve(0);  // nothing to make room for
        for (uint64_t i = 0; i < 50000; ++i) {
            if (i == 1000)
                index.reserve(70000);  // room for all that follow, made with stubs held and erased
            if (i == 30000)
                index.reserve(5);  // less than held: nothing changes
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

// Opening sizes the index from the header's next handle ($HANDSEED). A seed
// far above the objects (or made up), one below them and none at all must
// all read the same drawing: every object found by its handle.
TEST(HandleIndex, FilesOpenAlikeWhateverTheirHandleSeedSays)
{
    constexpr int kLines = 5000;
    std::string lines;
    for (int k = 0; k < kLines; ++k)
        lines += "  0\nLINE\n  5\n" + DxfValue::fromHandle(0x1000 + static_cast<uint64_t>(k)) +
                 "\n330\n1F\n100\nAcDbEntity\n  8\n0\n100\nAcDbLine\n 10\n0.0\n 20\n0.0\n 30\n0.0\n 11\n1.0\n 21\n" +
                 std::to_string(k) + ".0\n 31\n0.0\n";
    for (const char* seed : {"FFFFFFFFFFFFFFFF", "7FFFFFFF", "2", "", "not a handle"}) {
        SCOPED_TRACE(seed);
        std::string text = DxfDefaultDrawing::text();
        const std::string header = "  2\nHEADER\n", entities = "  2\nENTITIES\n";
        if (*seed)
            text.insert(text.find(header) + header.size(), std::string("  9\n$HANDSEED\n  5\n") + seed + "\n");
        text.insert(text.find(entities) + entities.size(), lines);
        AcDbDatabase db(false);
        ASSERT_EQ(db.readDxfText(text, "seed.dxf"), Acad::eOk) << db.lastError();
        for (int k = 0; k < kLines; k += 7) {
            AcDbObjectId id;
            ASSERT_EQ(db.getAcDbObjectId(id, false, AcDbHandle(0x1000 + static_cast<uint64_t>(k))), Acad::eOk) << k;
            AcDbObjectPointer<AcDbLine> line(id, AcDb::kForRead);
            ASSERT_EQ(line.openStatus(), Acad::eOk) << k;
            EXPECT_EQ(line->endPoint().y, k);
        }
    }
}
