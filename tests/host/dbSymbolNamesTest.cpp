// The symbol tables' name index against a plain map of lower-cased names,
// under the operations tables make: names read from a file (the first
// record keeps a repeated name), names added and renamed (given to another
// record, removed only from the record holding them), in any case, short
// and long, many of them; and the names with their records for undo.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <deque>
#include <map>
#include <random>
#include <string>

#include "host/db/AcDbStub.h"
#include "host/db/AcDbSymbolNames.h"

namespace {

std::string lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

TEST(SymbolNames, AgreesWithAMapOfFoldedNames)
{
    std::mt19937 random(11);
    std::deque<AcDbStub> records(64);
    std::map<std::string, AcDbStub*> model;  // by lower-case name
    AcDbSymbolNames names;
    auto nameOf = [&](size_t k) {
        // Short names, names past the inline string length, and their case
        // variants: ROOM-7, room-7, Room-7 ...; plus bytes above ASCII,
        // which are compared as they are.
        std::string name = (k % 5 == 0 ? "A-LONG-LAYER-NAME-FOR-THE-" : "ROOM-") + std::to_string(k % 3000);
        if (k % 7 == 0)
            name += "\xC3\x84";
        if (random() % 2)
            name = lower(name);
        else if (random() % 3 == 0)
            name[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(name[0])));
        return name;
    };
    for (int step = 0; step < 40000; ++step) {
        const std::string name = nameOf(random() % 4000);
        AcDbStub* record = &records[random() % records.size()];
        const std::string key = lower(name);
        switch (random() % 4) {
        case 0:
            names.insertIfAbsent(name, record);
            model.emplace(key, record);
            break;
        case 1:
            names.assign(name, record);
            model[key] = record;
            break;
        case 2: {
            names.eraseIfHeldBy(name, record);
            auto it = model.find(key);
            if (it != model.end() && it->second == record)
                model.erase(it);
            break;
        }
        default: {
            auto it = model.find(key);
            ASSERT_EQ(names.find(name), it == model.end() ? nullptr : it->second) << name;
        }
        }
        if (step == 5000)
            names.reserve(6000);  // room made with names held and erased
        if (step == 20000)
            names.reserve(3);  // fewer than held: nothing changes
        if (step == 30000) {
            // What undo keeps and puts back.
            const auto kept = names.entries();
            ASSERT_EQ(kept.size(), model.size());
            names.clear();
            ASSERT_TRUE(names.empty());
            ASSERT_EQ(names.find(kept.front().first), nullptr);
            for (const auto& [n, r] : kept)
                names.insertIfAbsent(n, r);
        }
    }
    const auto all = names.entries();
    ASSERT_EQ(all.size(), model.size());
    for (const auto& [name, record] : all) {
        auto it = model.find(lower(name));
        ASSERT_TRUE(it != model.end()) << name;
        EXPECT_EQ(it->second, record) << name;
        EXPECT_EQ(names.find(lower(name)), record) << name;
    }
}

TEST(SymbolNames, ARenameInCaseOnlyKeepsTheNewSpelling)
{
    AcDbStub room;
    AcDbSymbolNames names;
    names.insertIfAbsent("Room", &room);
    names.eraseIfHeldBy("Room", &room);
    names.assign("ROOM", &room);
    ASSERT_EQ(names.entries().size(), 1u);
    EXPECT_EQ(names.entries().front().first, "ROOM");
    EXPECT_EQ(names.find("room"), &room);
    // The same name given again keeps its first record.
    AcDbStub other;
    names.insertIfAbsent("rOOm", &other);
    EXPECT_EQ(names.find("ROOM"), &room);
}

// A name asked for again and again (a layer, once for each block written)
// is answered from where it was last found; every change to the table
// between two questions shows in the second answer. ATT-AREA and ROOMAREA
// are remembered in the same place (same length and last byte).
TEST(SymbolNames, NamesAskedForAgainFollowEveryChange)
{
    AcDbStub first, second, third, other;
    AcDbSymbolNames names;
    names.insertIfAbsent("ATT-AREA", &first);
    EXPECT_EQ(names.find("ATT-AREA"), &first);
    EXPECT_EQ(names.find("ATT-AREA"), &first);
    names.eraseIfHeldBy("ATT-AREA", &first);
    EXPECT_EQ(names.find("ATT-AREA"), nullptr);
    // Added again in another case, in the slot it left or another.
    names.insertIfAbsent("att-area", &second);
    EXPECT_EQ(names.find("ATT-AREA"), &second);
    EXPECT_EQ(names.find("att-area"), &second);
    EXPECT_EQ(names.find("ATT-AREA"), &second);
    names.assign("ATT-AREA", &third);
    EXPECT_EQ(names.find("att-area"), &third);
    EXPECT_EQ(names.find("ATT-AREA"), &third);
    // Two names remembered in one place, asked for in turn.
    names.insertIfAbsent("ROOMAREA", &other);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(names.find("ROOMAREA"), &other);
        EXPECT_EQ(names.find("ATT-AREA"), &third);
    }
    // A name erased and another added after it (into the erased slot when
    // its probe passes there): the erased name stays unfound.
    names.eraseIfHeldBy("ROOMAREA", &other);
    names.insertIfAbsent("ROOMAREB", &other);
    EXPECT_EQ(names.find("ROOMAREA"), nullptr);
    EXPECT_EQ(names.find("ROOMAREB"), &other);
    // The table grown (every slot moved) and then emptied.
    std::deque<AcDbStub> many(2000);
    for (size_t k = 0; k < many.size(); ++k)
        names.insertIfAbsent("ROOM-" + std::to_string(k), &many[k]);
    EXPECT_EQ(names.find("ATT-AREA"), &third);
    EXPECT_EQ(names.find("ROOM-1999"), &many[1999]);
    names.clear();
    EXPECT_EQ(names.find("ATT-AREA"), nullptr);
    EXPECT_EQ(names.find("ROOM-1999"), nullptr);
    names.insertIfAbsent("ROOM-1999", &first);
    EXPECT_EQ(names.find("ROOM-1999"), &first);
}
