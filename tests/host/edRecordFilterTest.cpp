// Selection filters on block names, which are answered from the file record
// where they can be: the answer is always the built object's (names in the
// file's code page, references changed since reading).

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbOpen.h"
#include "host/db/resbuf.h"
#include "host/ed/AcApDocManager.h"
#include "host/ed/acedSelection.h"
#include "tests/host/dxfTestSupport.h"
#include "tests/common/TestRequirements.h"

namespace {

class RecordFilter : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = dxftest::tempDir("record-filter");
        ZELKA_REQUIRE_EZDXF();
        const std::string file = (dir / "plan.dxf").string();
        // An R2000 drawing in code page 1252 by ezdxf: inserts of ROOM-1, CHAIR and
        // RÄUM-2 (the Ä stored as one 1252 byte), and a line.
        handles = dxftest::ezdxfFixture("codepage_blocks", file).get<std::map<std::string, std::string>>();
        ASSERT_EQ(handles.size(), 3u);
        ASSERT_EQ(acDocManagerPtr()->appContextOpenDocument(file.c_str()), Acad::eOk)
            << acDocManagerPtr()->lastOpenError();
        db = acDocManagerPtr()->curDocument()->database();
    }
    void TearDown() override
    {
        while (AcApDocument* open = acDocManagerPtr()->curDocument()) acDocManagerPtr()->closeDocument(open);
    }
    AcDbObjectId idOf(const std::string& name)
    {
        AcDbObjectId id;
        AcDbHandle handle(handles[name].c_str());
        EXPECT_EQ(db->getAcDbObjectId(id, false, handle), Acad::eOk) << name;
        return id;
    }

    std::filesystem::path dir;
    std::map<std::string, std::string> handles;
    AcDbDatabase* db = nullptr;
};

const std::string kRaeum = "R\xC3\x84UM-2";  // RÄUM-2 in UTF-8

TEST_F(RecordFilter, NamesMatchTheBuiltObjectsIncludingCodePageNames)
{
    AcDbObjectId room = idOf("ROOM-1"), chair = idOf("CHAIR"), raeum = idOf(kRaeum);
    {
        // The definition named in the code page keeps its line.
        AcDbObjectPointer<AcDbBlockReference> reference(raeum, AcDb::kForRead);
        ASSERT_TRUE(reference);
        EXPECT_STREQ(reference->blockName(), kRaeum.c_str());
        AcDbObjectPointer<AcDbBlockTableRecord> definition(reference->blockTableRecord(), AcDb::kForRead);
        ASSERT_TRUE(definition);
        EXPECT_EQ(definition->entityIds().size(), 1u);
    }

    // "R*" takes both room blocks, the decoded non-ASCII one included, in
    // drawing order.
    EXPECT_EQ(dxftest::selectInserts("R*"), (std::vector<AcDbObjectId>{room, raeum}));
    EXPECT_EQ(dxftest::selectInserts("R?UM-*"), (std::vector<AcDbObjectId>{raeum}));
    EXPECT_EQ(dxftest::selectInserts("chair"), (std::vector<AcDbObjectId>{chair}));
}

TEST_F(RecordFilter, AReferenceChangedSinceReadingAnswersWithItsNewName)
{
    AcDbObjectId room = idOf("ROOM-1"), chair = idOf("CHAIR");
    AcDbObjectId chairDefinition;
    {
        AcDbObjectPointer<AcDbBlockTable> table(db->blockTableId(), AcDb::kForRead);
        ASSERT_TRUE(table);
        ASSERT_EQ(table->getAt("CHAIR", chairDefinition), Acad::eOk);
    }
    {
        AcDbObjectPointer<AcDbBlockReference> reference(room, AcDb::kForWrite);
        ASSERT_TRUE(reference);
        ASSERT_EQ(reference->setBlockTableRecord(chairDefinition), Acad::eOk);
    }
    EXPECT_EQ(dxftest::selectInserts("CHAIR"), (std::vector<AcDbObjectId>{room, chair}));
    EXPECT_TRUE(dxftest::selectInserts("ROOM-*").empty());
}

TEST(RecordFilterNames, VerdictsStayRightForManyNamesAndTwoPatterns)
{
    ZELKA_REQUIRE_EZDXF();
    const std::string file = (dxftest::tempDir("record-filter-names") / "names.dxf").string();
    const auto told = dxftest::ezdxfFixture("many_names", file).get<std::vector<std::vector<std::string>>>();
    ASSERT_EQ(told.size(), 2100u);
    ASSERT_EQ(acDocManagerPtr()->appContextOpenDocument(file.c_str()), Acad::eOk) << acDocManagerPtr()->lastOpenError();
    AcDbDatabase* db = acDocManagerPtr()->curDocument()->database();
    // Expected sets worked out here with plain string tests, in drawing order.
    std::vector<AcDbObjectId> rooms, roomsEndingIn7, desks;
    for (const auto& insert : told) {
        AcDbObjectId id;
        ASSERT_EQ(db->getAcDbObjectId(id, false, AcDbHandle(insert[0].c_str())), Acad::eOk) << insert[0];
        const std::string& name = insert[1];
        // Wildcards match without regard to case: "room-x" is a room, "ROOMS" is not.
        const bool room = name.size() > 5 && (name.starts_with("ROOM-") || name.starts_with("room-"));
        if (room) rooms.push_back(id);
        if (room && name.back() == '7') roomsEndingIn7.push_back(id);
        if (name == "DESK") desks.push_back(id);
    }
    EXPECT_EQ(dxftest::selectInserts("ROOM-*"), rooms);
    EXPECT_EQ(dxftest::selectInserts("DESK"), desks);

    // Two name conditions in one filter: each keeps verdicts of its own.
    const std::vector<AcDbObjectId> both = dxftest::selectAll(acutBuildList(RTDXF0, "INSERT", 2, "ROOM-*", 2, "*7", 0));
    EXPECT_EQ(both, roomsEndingIn7);
    acDocManagerPtr()->closeDocument(acDocManagerPtr()->curDocument());
}

}  // namespace
