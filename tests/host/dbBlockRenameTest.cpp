// Renaming a block definition keeps every reference to it: references
// opened before and after the rename, references never opened, and a
// reference nested in another definition all follow the definition, in
// memory, in selection filters and in the saved file, even when a new block
// takes the old name.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbBlockTableRecordIterator.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbOpen.h"
#include "host/db/AcDbPeek.h"
#include "host/db/AcDbStub.h"
#include "host/db/resbuf.h"
#include "host/ed/AcApDocManager.h"
#include "host/ed/acedSelection.h"
#include "tests/host/dxfTestSupport.h"
#include "tests/common/TestRequirements.h"

namespace {

class BlockRename : public ::testing::Test {
protected:
    void SetUp() override
    {
        ZELKA_REQUIRE_EZDXF();
        dir = dxftest::tempDir("block-rename");
        const std::string file = (dir / "plan.dxf").string();
        // Inserts A, B, C of ROOM and D of OTHER in model space, N of ROOM in OTHER.
        handles = dxftest::ezdxfFixture("renamed_blocks", file).get<std::map<std::string, std::string>>();
        ASSERT_EQ(handles.size(), 5u);
        ASSERT_EQ(acDocManagerPtr()->appContextOpenDocument(file.c_str()), Acad::eOk)
            << acDocManagerPtr()->lastOpenError();
        db = acDocManagerPtr()->curDocument()->database();
    }
    void TearDown() override
    {
        while (AcApDocument* open = acDocManagerPtr()->curDocument())
            acDocManagerPtr()->closeDocument(open);
    }
    AcDbObjectId idOf(const std::string& label)
    {
        AcDbObjectId id;
        EXPECT_EQ(db->getAcDbObjectId(id, false, AcDbHandle(handles[label].c_str())), Acad::eOk) << label;
        return id;
    }
    AcDbObjectId definition(const char* name)
    {
        AcDbObjectPointer<AcDbBlockTable> table(db->blockTableId(), AcDb::kForRead);
        AcDbObjectId id;
        if (table)
            table->getAt(name, id);
        return id;
    }
    static bool built(AcDbObjectId id) { return id.stub() && id.stub()->object; }

    std::filesystem::path dir;
    std::map<std::string, std::string> handles;
    AcDbDatabase* db = nullptr;
};

}  // namespace

TEST_F(BlockRename, ReferencesFollowTheRenamedDefinitionAndANewBlockOfTheOldNameGetsNone)
{
    const AcDbObjectId a = idOf("A"), b = idOf("B"), c = idOf("C"), d = idOf("D"), n = idOf("N");
    const AcDbObjectId room = definition("ROOM");
    ASSERT_FALSE(room.isNull());
    {
        AcDbObjectPointer<AcDbBlockReference> opened(a, AcDb::kForRead);
        ASSERT_TRUE(opened);
        EXPECT_EQ(opened->blockTableRecord(), room);
    }
    {
        AcDbObjectPointer<AcDbBlockTableRecord> record(room, AcDb::kForWrite);
        ASSERT_TRUE(record);
        ASSERT_EQ(record->setName("SPACE_1"), Acad::eOk);
    }
    AcDbObjectId newRoom;
    {
        AcDbObjectPointer<AcDbBlockTable> table(db->blockTableId(), AcDb::kForWrite);
        ASSERT_TRUE(table);
        auto* record = new AcDbBlockTableRecord();
        ASSERT_EQ(record->setName("ROOM"), Acad::eOk);
        ASSERT_EQ(table->add(newRoom, record), Acad::eOk);
        record->close();
    }
    ASSERT_NE(newRoom, room);

    // In memory: the reference opened before, one opened only now.
    {
        AcDbObjectPointer<AcDbBlockReference> moved(a, AcDb::kForWrite);
        ASSERT_TRUE(moved);
        EXPECT_EQ(moved->blockTableRecord(), room);
        EXPECT_STREQ(moved->blockName(), "SPACE_1");
        ASSERT_EQ(moved->setPosition(AcGePoint3d(5, 5, 0)), Acad::eOk);
    }
    ASSERT_FALSE(built(b));
    {
        AcDbObjectPointer<AcDbBlockReference> later(b, AcDb::kForRead);
        ASSERT_TRUE(later);
        EXPECT_EQ(later->blockTableRecord(), room);
        EXPECT_STREQ(later->blockName(), "SPACE_1");
    }
    // The file record of C still says ROOM: the peek must not answer with it.
    std::string_view peeked;
    EXPECT_FALSE(acdbPeekBlockName(c, peeked));
    ASSERT_FALSE(built(c));
    ASSERT_FALSE(built(n));

    // In the file: C and the nested N are written from their records.
    const auto out = dir / "renamed.dxf";
    ASSERT_EQ(db->saveAs(out.string().c_str()), Acad::eOk) << db->lastError();
    EXPECT_FALSE(built(c));
    const nlohmann::json seen = zelkatest::dxfDump(out);
    std::map<std::string, nlohmann::json> insertOf;  // every insert of the file by handle, with its owner
    int roomInserts = 0;
    auto collect = [&](const std::string& owner, const nlohmann::json& entities) {
        for (nlohmann::json e : entities)
            if (e.at("type") == "INSERT") {
                roomInserts += e.at("name") == "ROOM";
                e["owner"] = owner;
                insertOf[e.at("handle")] = e;
            }
    };
    collect("MODEL", seen.at("modelspace"));
    for (const auto& [name, block] : seen.at("blocks").items())
        collect(name, block.at("entities"));
    for (const char* label : {"A", "B", "C", "N"})
        EXPECT_EQ(insertOf[handles[label]].at("name"), "SPACE_1") << label;
    EXPECT_EQ(insertOf[handles["D"]].at("name"), "OTHER");
    EXPECT_EQ(insertOf[handles["N"]].at("owner"), "OTHER");
    EXPECT_EQ(insertOf[handles["A"]].at("insert"), nlohmann::json({5.0, 5.0, 0.0}));
    EXPECT_EQ(insertOf[handles["C"]].at("insert"), nlohmann::json({20.0, 0.0, 0.0}));
    EXPECT_EQ(seen.at("blocks").at("SPACE_1").at("entities").size(), 1u) << "the renamed definition keeps its line";
    EXPECT_EQ(seen.at("blocks").at("ROOM").at("entities").size(), 0u);
    EXPECT_EQ(roomInserts, 0) << "no reference may move to the new block of the old name";

    // Selection filters see the current name, from records and objects alike.
    EXPECT_EQ(dxftest::selectInserts("ROOM"), std::vector<AcDbObjectId>{});
    EXPECT_EQ(dxftest::selectInserts("SPACE_*"), (std::vector<AcDbObjectId>{a, b, c}));
    EXPECT_EQ(dxftest::selectInserts("OTHER"), std::vector<AcDbObjectId>{d});
    EXPECT_FALSE(built(d)) << "a reference its record shows passing a type and name filter is not built";

    // The saved drawing reads back with the same bindings.
    AcDbDatabase again(false);
    ASSERT_EQ(again.readDxfFile(out.string().c_str()), Acad::eOk) << again.lastError();
    AcDbObjectId nested;
    ASSERT_EQ(again.getAcDbObjectId(nested, false, AcDbHandle(handles["N"].c_str())), Acad::eOk);
    AcDbObjectPointer<AcDbBlockReference> reread(nested, AcDb::kForRead);
    ASSERT_TRUE(reread);
    AcDbObjectPointer<AcDbBlockTableRecord> target(reread->blockTableRecord(), AcDb::kForRead);
    ASSERT_TRUE(target);
    EXPECT_EQ(target->name(), "SPACE_1");
}

TEST_F(BlockRename, RenamingBackWritesTheRecordsAsTheyWereRead)
{
    const AcDbObjectId room = definition("ROOM");
    for (const char* name : {"SPACE_1", "ROOM"}) {
        AcDbObjectPointer<AcDbBlockTableRecord> record(room, AcDb::kForWrite);
        ASSERT_TRUE(record);
        ASSERT_EQ(record->setName(name), Acad::eOk);
    }
    std::string_view peeked;
    EXPECT_FALSE(acdbPeekBlockName(idOf("C"), peeked)) << "a renamed-from name is never answered from the record";
    EXPECT_EQ(dxftest::selectInserts("ROOM").size(), 3u);

    // The references' records are written unchanged; the definition's own
    // record is the only one the renames touched.
    const auto out = dir / "back.dxf";
    ASSERT_EQ(db->saveAs(out.string().c_str()), Acad::eOk) << db->lastError();
    const auto before = dxftest::tagStream(dxftest::readFile(dir / "plan.dxf"));
    const auto after = dxftest::tagStream(dxftest::readFile(out));
    auto insertNames = [](const std::vector<std::pair<int, std::string>>& tags) {
        std::vector<std::string> names;
        std::string type;
        for (const auto& [code, value] : tags) {
            if (code == 0)
                type = value;
            else if (type == "INSERT" && code == 2)
                names.push_back(value);
        }
        return names;
    };
    EXPECT_EQ(insertNames(after), insertNames(before));
    EXPECT_EQ(insertNames(after), (std::vector<std::string>{"ROOM", "ROOM", "ROOM", "ROOM", "OTHER"}));
}

// A damaged file's BLOCK without a record is kept as read; no record may take
// its name, or reading the saved file would hand the orphan's contents (and
// handles) to that record.
TEST_F(BlockRename, NoRecordTakesTheNameOfABlockReadWithoutOne)
{
    std::string text = dxftest::readFile(dir / "plan.dxf");
    const size_t blocks = text.find("\nBLOCKS\n");
    ASSERT_NE(blocks, std::string::npos);
    const size_t end = text.find("\n  0\nENDSEC", blocks);
    ASSERT_NE(end, std::string::npos);
    for (const char* orphan : {"LOOSE", "*U1"})
        text.insert(end + 1, std::string("  0\nBLOCK\n  5\n") + (orphan[0] == '*' ? "FFE0" : "FFF0") +
                                 "\n  8\n0\n  2\n" + orphan + "\n 70\n0\n 10\n0.0\n 20\n0.0\n 30\n0.0\n  3\n" +
                                 orphan + "\n  1\n\n  0\nLINE\n  5\n" + (orphan[0] == '*' ? "FFE2" : "FFF2") +
                                 "\n  8\n0\n 10\n0.0\n 20\n0.0\n 30\n0.0\n 11\n9.0\n 21\n9.0\n 31\n0.0\n"
                                 "  0\nENDBLK\n  5\n" + (orphan[0] == '*' ? "FFE1" : "FFF1") + "\n  8\n0\n");
    // The record's owner handle as written, and damaged: naming no object,
    // or the model space record (not a table). The record is held by the
    // table it was read in all the same, and its name checked there.
    const std::string marker = "100\nAcDbBlockTableRecord\n  2\nROOM\n";
    const size_t at = text.find(marker);
    ASSERT_NE(at, std::string::npos);
    const size_t ownerLine = text.rfind("\n330\n", at);
    ASSERT_NE(ownerLine, std::string::npos);
    const size_t ownerValue = ownerLine + 5, ownerEnd = text.find('\n', ownerValue);
    const std::string modelSpaceHandle = [&] {
        const size_t ms = text.find("\n  2\n*Model_Space\n");
        const size_t handle = text.rfind("\n  5\n", ms);
        return text.substr(handle + 6, text.find('\n', handle + 6) - (handle + 6));
    }();
    const std::string asWritten = text.substr(ownerValue, ownerEnd - ownerValue);
    for (const std::string& owner : {asWritten, std::string("FFFFF"), modelSpaceHandle}) {
        SCOPED_TRACE("record owner " + owner);
        std::string variant = text;
        variant.replace(ownerValue, ownerEnd - ownerValue, owner);
        AcDbDatabase damaged(false);
        ASSERT_EQ(damaged.readDxfText(variant, "damaged.dxf"), Acad::eOk) << damaged.lastError();
        AcDbObjectId room;
        {
            AcDbObjectPointer<AcDbBlockTable> table(damaged.blockTableId(), AcDb::kForRead);
            ASSERT_TRUE(table);
            ASSERT_EQ(table->getAt("ROOM", room), Acad::eOk);
            EXPECT_FALSE(table->has("LOOSE"));
        }
        {
            AcDbObjectPointer<AcDbBlockTableRecord> record(room, AcDb::kForWrite);
            ASSERT_TRUE(record);
            EXPECT_EQ(record->setName("loose"), Acad::eDuplicateRecordName);
            EXPECT_EQ(record->name(), "ROOM");
            EXPECT_EQ(record->setName("Room"), Acad::eOk) << "a record's own name in another case stays free";
        }
        {
            AcDbObjectPointer<AcDbBlockTable> table(damaged.blockTableId(), AcDb::kForWrite);
            auto* record = new AcDbBlockTableRecord();
            ASSERT_EQ(record->setName("LOOSE"), Acad::eOk);
            EXPECT_EQ(table->add(record), Acad::eDuplicateRecordName);
            delete record;
            // An anonymous block numbered by the table passes over the orphan's number.
            auto* anonymous = new AcDbBlockTableRecord();
            ASSERT_EQ(anonymous->setName("*U"), Acad::eOk);
            ASSERT_EQ(table->add(anonymous), Acad::eOk);
            EXPECT_EQ(anonymous->name(), "*U2");
            anonymous->close();
        }
        std::string saved;
        ASSERT_EQ(damaged.writeDxfText(saved), Acad::eOk);
        AcDbDatabase again(false);
        ASSERT_EQ(again.readDxfText(saved, "saved.dxf"), Acad::eOk) << again.lastError();
        EXPECT_NE(saved.find("\nLOOSE\n"), std::string::npos) << "the orphan is written as it was read";
    }
}

// A record whose own subclass marker is damaged keeps the name other readers
// see (its first group 2): its BLOCK and references stay with it, a rename
// reaches the record's name in the saved file, and a BLOCK without any name
// is never bound to a record.
TEST_F(BlockRename, ARecordWithADamagedMarkerKeepsItsNameThroughARename)
{
    std::string text = dxftest::readFile(dir / "plan.dxf");
    const std::string marker = "100\nAcDbBlockTableRecord\n  2\nROOM\n";
    const size_t at = text.find(marker);
    ASSERT_NE(at, std::string::npos);
    text.replace(at, 3, "200");
    AcDbDatabase damaged(false);
    ASSERT_EQ(damaged.readDxfText(text, "damaged.dxf"), Acad::eOk) << damaged.lastError();
    AcDbObjectId room;
    {
        AcDbObjectPointer<AcDbBlockTable> table(damaged.blockTableId(), AcDb::kForRead);
        ASSERT_TRUE(table);
        ASSERT_EQ(table->getAt("ROOM", room), Acad::eOk);
        EXPECT_FALSE(table->has(""));
    }
    {
        AcDbObjectPointer<AcDbBlockTableRecord> record(room, AcDb::kForWrite);
        ASSERT_TRUE(record);
        ASSERT_EQ(record->setName("SUITE"), Acad::eOk);
    }
    std::string saved;
    ASSERT_EQ(damaged.writeDxfText(saved), Acad::eOk);
    EXPECT_NE(saved.find("200\nAcDbBlockTableRecord\n  2\nSUITE\n"), std::string::npos)
        << "the new name replaces the old one where it was read";
    AcDbDatabase again(false);
    ASSERT_EQ(again.readDxfText(saved, "saved.dxf"), Acad::eOk) << again.lastError();
    AcDbObjectPointer<AcDbBlockTable> table(again.blockTableId(), AcDb::kForRead);
    ASSERT_TRUE(table);
    AcDbObjectId suite;
    ASSERT_EQ(table->getAt("SUITE", suite), Acad::eOk);
    EXPECT_FALSE(table->has("ROOM"));
    AcDbObjectPointer<AcDbBlockTableRecord> record(suite, AcDb::kForRead);
    ASSERT_TRUE(record);
    AcDbBlockTableRecordIterator* it = nullptr;
    record->newIterator(it);
    int entities = 0;
    for (; !it->done(); it->step())
        ++entities;
    delete it;
    EXPECT_EQ(entities, 1) << "the renamed record keeps its BLOCK's line";

    // The same file with its BLOCK's name removed: the BLOCK is kept as read
    // and the record is left without contents, not given the nameless block.
    std::string nameless = text;
    const size_t blockName = nameless.find("AcDbBlockBegin\n  2\nROOM\n");
    ASSERT_NE(blockName, std::string::npos);
    nameless.erase(blockName + 15, 9);
    AcDbDatabase third(false);
    ASSERT_EQ(third.readDxfText(nameless, "nameless.dxf"), Acad::eOk) << third.lastError();
    std::string written;
    ASSERT_EQ(third.writeDxfText(written), Acad::eOk);
    AcDbDatabase fourth(false);
    EXPECT_EQ(fourth.readDxfText(written, "written.dxf"), Acad::eOk) << fourth.lastError();
}
