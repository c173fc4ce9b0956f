// acdbPeekHasXData answers from the object once it is built, not from the
// file record it was read from: an entity whose extended data changed since
// reading answers with its data as it now is. acdbPeekBlockName finds the
// block name however far into its record it stands.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbOpen.h"
#include "host/db/AcDbPeek.h"
#include "host/db/AcDbStub.h"
#include "host/db/resbuf.h"
#include "host/ed/AcApDocManager.h"
#include "tests/host/dxfTestSupport.h"
#include "tests/common/TestRequirements.h"

namespace {

class PeekXData : public ::testing::Test {
protected:
    void SetUp() override
    {
        ZELKA_REQUIRE_EZDXF();
        auto dir = dxftest::tempDir("peek-xdata");
        const std::string file = (dir / "lines.dxf").string();
        // A line with extended data of PE_URL ("url") and one with none ("none"), by ezdxf.
        handles = dxftest::ezdxfFixture("xdata_lines", file).get<std::map<std::string, std::string>>();
        ASSERT_EQ(handles.size(), 2u);
        ASSERT_EQ(db.readDxfFile(file.c_str()), Acad::eOk) << db.lastError();
    }
    AcDbObjectId idOf(const std::string& label)
    {
        AcDbObjectId id;
        EXPECT_EQ(db.getAcDbObjectId(id, false, AcDbHandle(handles[label].c_str())), Acad::eOk) << label;
        return id;
    }
    AcDbDatabase db{false};
    std::map<std::string, std::string> handles;
};

}  // namespace

TEST_F(PeekXData, BuiltObjectAnswersWithItsChangedData)
{
    AcDbObjectId url = idOf("url"), none = idOf("none");
    {
        AcDbObjectPointer<AcDbEntity> entity(url, AcDb::kForWrite);
        ASSERT_TRUE(entity);
        resbuf* drop = acutBuildList(1001, "PE_URL", 0);  // no items: removes the application
        ASSERT_EQ(entity->setXData(drop), Acad::eOk);
        acutRelRb(drop);
    }
    {
        AcDbObjectPointer<AcDbEntity> entity(none, AcDb::kForWrite);
        ASSERT_TRUE(entity);
        resbuf* add = acutBuildList(1001, "ade", 1000, "AREA=3", 0);
        ASSERT_EQ(entity->setXData(add), Acad::eOk);
        acutRelRb(add);
    }
    bool has = true;
    ASSERT_TRUE(acdbPeekHasXData(url, "PE_URL", has));
    EXPECT_FALSE(has) << "the record still holds PE_URL, the object no longer";
    ASSERT_TRUE(acdbPeekHasXData(none, "ADE", has));
    EXPECT_TRUE(has);
}

TEST(PeekBlockName, FindsTheNameBehindReactorsDictionariesAndInGridsWithoutBuilding)
{
    ZELKA_REQUIRE_EZDXF();
    const std::string file = (dxftest::tempDir("peek-block-name") / "crowded.dxf").string();
    // [handle, block name] of each insert, as ezdxf wrote them.
    const auto told = dxftest::ezdxfFixture("crowded_inserts", file).get<std::vector<std::vector<std::string>>>();
    ASSERT_EQ(told.size(), 3u);
    ASSERT_EQ(acDocManagerPtr()->appContextOpenDocument(file.c_str()), Acad::eOk) << acDocManagerPtr()->lastOpenError();
    AcDbDatabase* db = acDocManagerPtr()->curDocument()->database();
    std::vector<AcDbObjectId> rooms;
    for (const auto& insert : told) {
        AcDbObjectId id;
        ASSERT_EQ(db->getAcDbObjectId(id, false, AcDbHandle(insert[0].c_str())), Acad::eOk) << insert[0];
        std::string_view name;
        EXPECT_TRUE(acdbPeekBlockName(id, name)) << insert[1];
        EXPECT_EQ(name, insert[1]);
        EXPECT_FALSE(id.stub()->object) << insert[1] << " was built to find its name";
        if (insert[1].starts_with("ROOM-"))
            rooms.push_back(id);
    }
    EXPECT_EQ(dxftest::selectInserts("ROOM-*"), rooms);
    acDocManagerPtr()->closeDocument(acDocManagerPtr()->curDocument());
}

// Extended data as other programs write it: the code line of 1001 padded,
// signed or with leading zeros, and records holding the digits 1001 only in
// values. The peek answers as the built object does: on the lines as read,
// on the lines written for a changed object, and on the lines undo puts
// back.
TEST(PeekXDataAsWritten, AnswersAsTheBuiltObjectHoweverCode1001IsWritten)
{
    std::string text = DxfDefaultDrawing::text();
    const std::string section = "  2\nENTITIES\n";
    struct Case {
        const char* handle;
        const char* layer;
        const char* xdata;  // the lines after the line's points
        bool has;
    };
    const std::vector<Case> cases = {
        {"A001", "0", "1001\nPE_URL\n1000\nhttp://x\n", true},
        {"A002", "0", "01001\nPE_URL\n1000\nhttp://x\n", true},
        {"A003", "0", "+1001\npe_url\n1000\nhttp://x\n", true},
        {"A004", "0", " 1001\r\nPE_URL\r\n1000\r\nhttp://x\r\n", true},
        {"A005", "0", "1001\nADE\n1000\nPE_URL\n", false},
        {"A006", "0", "", false},
        {"A007", "0", "999\n1001 PE_URL\n", false},
        {"A008", "11001.0", "", false},
    };
    std::string lines;
    for (const Case& c : cases)
        lines += std::string("  0\nLINE\n  5\n") + c.handle + "\n330\n1F\n100\nAcDbEntity\n  8\n" + c.layer +
                 "\n100\nAcDbLine\n 10\n1.0\n 20\n0.0\n 11\n1.0\n 21\n1.5\n" + c.xdata;
    // One more line, opened again and again below to free the others.
    lines += "  0\nLINE\n  5\nA0FF\n330\n1F\n100\nAcDbEntity\n  8\n0\n100\nAcDbLine\n 10\n0.0\n 20\n0.0\n 11\n1.0\n 21\n0.0\n";
    text.insert(text.find(section) + section.size(), lines);
    AcDbDatabase db(false);
    ASSERT_EQ(db.readDxfText(text, "written-elsewhere.dxf"), Acad::eOk) << db.lastError();
    for (const Case& c : cases) {
        AcDbObjectId id;
        ASSERT_EQ(db.getAcDbObjectId(id, false, AcDbHandle(c.handle)), Acad::eOk) << c.handle;
        ASSERT_EQ(id.stub()->object, nullptr) << c.handle;
        bool has = !c.has;
        ASSERT_TRUE(acdbPeekHasXData(id, "PE_URL", has)) << c.handle;
        EXPECT_EQ(has, c.has) << c.handle;
        EXPECT_EQ(id.stub()->object, nullptr) << c.handle << " was built to answer";
        AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForRead);
        ASSERT_TRUE(entity) << c.handle;
        EXPECT_EQ(entity->hasXData("PE_URL"), c.has) << c.handle;
    }

    // Each line's PE_URL data turned round (added where there was none,
    // dropped where there was), in one command; enough closes after it that
    // every changed line is freed and stands as the lines written for it.
    // The peek answers the change, without building; after undo, the lines
    // as read again.
    auto idOf = [&](const char* handle) {
        AcDbObjectId id;
        EXPECT_EQ(db.getAcDbObjectId(id, false, AcDbHandle(handle)), Acad::eOk) << handle;
        return id;
    };
    acdbRegApp("PE_URL", &db);
    db.beginUndoRecord("turn");
    for (const Case& c : cases) {
        AcDbObjectPointer<AcDbEntity> entity(idOf(c.handle), AcDb::kForWrite);
        ASSERT_TRUE(entity) << c.handle;
        resbuf* data = c.has ? acutBuildList(1001, "PE_URL", 0) : acutBuildList(1001, "PE_URL", 1000, "http://y", 0);
        ASSERT_EQ(entity->setXData(data), Acad::eOk) << c.handle;
        acutRelRb(data);
    }
    db.endUndoRecord();
    for (int i = 0; i < 5000; ++i)
        AcDbObjectPointer<AcDbEntity>(idOf("A0FF"), AcDb::kForRead).close();
    for (const bool undone : {false, true}) {
        for (const Case& c : cases) {
            const AcDbObjectId id = idOf(c.handle);
            ASSERT_EQ(id.stub()->object, nullptr) << c.handle;
            EXPECT_EQ(id.stub()->textWritten, !undone) << c.handle;
            bool has = false;
            ASSERT_TRUE(acdbPeekHasXData(id, "PE_URL", has)) << c.handle;
            EXPECT_EQ(has, undone ? c.has : !c.has) << c.handle << (undone ? " after undo" : " written out");
        }
        if (!undone) {
            ASSERT_EQ(db.undo(1), std::vector<std::string>{"turn"});
        }
    }
}
