// Entities read from a file are freed some hundreds of closes after their
// last close; a changed one is first written out as the lines saving
// writes. Nothing of a change may be lost on the way: not in the object
// built again, not in the saved file, not for undo and redo.
#include <gtest/gtest.h>

#include <string>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbLine.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/resbuf.h"
#include "tests/host/dxfTestSupport.h"

namespace {

constexpr size_t kLines = 10000;  // more closes than the database keeps objects built for

AcDbStub* stubOf(AcDbDatabase& db, uint64_t handle)
{
    AcDbObjectId id;
    EXPECT_EQ(db.getAcDbObjectId(id, false, AcDbHandle(handle)), Acad::eOk);
    return id.stub();
}

double endX(AcDbDatabase& db, uint64_t handle)
{
    AcDbObjectPointer<AcDbLine> line(AcDbObjectId(stubOf(db, handle)), AcDb::kForRead);
    return line ? line->endPoint().x : -1.0;
}

// Opens every line from the first on once, for write when its index is a
// multiple of 3 (then its end moves to x + 0.25), and closes it again.
void editEveryThirdLine(AcDbDatabase& db, size_t first = 0)
{
    for (size_t i = first; i < kLines; ++i) {
        const AcDb::OpenMode mode = i % 3 == 0 ? AcDb::kForWrite : AcDb::kForRead;
        AcDbObjectPointer<AcDbLine> line(AcDbObjectId(stubOf(db, 0x10000 + i)), mode);
        ASSERT_TRUE(line);
        if (i % 3 == 0)
            line->setEndPoint(AcGePoint3d(static_cast<double>(i + 1) + 0.25, 1.5, 0.0));
    }
}

std::string fromEntities(const std::string& text) { return text.substr(text.find("ENTITIES")); }

TEST(ClosedObjects, ChangedEntitiesFreedAfterCloseKeepTheirChangeInTheFileAndForUndo)
{
    const std::string text = dxftest::withLines(kLines);
    AcDbDatabase db(false);
    ASSERT_EQ(db.readDxfText(text, "lines.dxf"), Acad::eOk) << db.lastError();
    db.beginUndoRecord("edit");
    editEveryThirdLine(db);
    db.endUndoRecord();

    // The first lines were freed; the changed one stands as written lines.
    AcDbStub* changed = stubOf(db, 0x10000);
    AcDbStub* unchanged = stubOf(db, 0x10001);
    EXPECT_EQ(changed->object, nullptr);
    EXPECT_TRUE(changed->textWritten);
    EXPECT_EQ(unchanged->object, nullptr);
    EXPECT_FALSE(unchanged->textWritten);
    EXPECT_EQ(endX(db, 0x10000), 1.25);
    EXPECT_EQ(endX(db, 0x10001), 2.0);

    // ezdxf reads every change, and only those, from the saved file.
    const auto dir = dxftest::tempDir("closed-objects");
    const auto file = dir / "edited.dxf";
    std::string saved;
    ASSERT_EQ(db.writeDxfText(saved), Acad::eOk);
    dxftest::writeFile(file, saved);
    // The lines whose end lies 1.25 past their start: every third, from the first.
    EXPECT_EQ(dxftest::ezdxf1(file, "[int(e.dxf.handle, 16) - 0x10000 for e in doc.modelspace().query('LINE')"
                                    " if e.dxf.end.x - e.dxf.start.x == 1.25] == list(range(0, 10000, 3))"),
              "true");
    EXPECT_EQ(dxftest::ezdxf1(file, "len(doc.modelspace().query('LINE'))"), std::to_string(kLines));

    // Undo puts back the lines as read, byte for byte; redo the written ones.
    ASSERT_EQ(db.undo(1), std::vector<std::string>{"edit"});
    EXPECT_EQ(endX(db, 0x10000), 1.0);
    std::string undone;
    ASSERT_EQ(db.writeDxfText(undone), Acad::eOk);
    EXPECT_TRUE(fromEntities(undone) == fromEntities(text));
    ASSERT_EQ(db.redo(), std::vector<std::string>{"edit"});
    EXPECT_EQ(endX(db, 0x10000), 1.25);
    std::string redone;
    ASSERT_EQ(db.writeDxfText(redone), Acad::eOk);
    EXPECT_TRUE(fromEntities(redone) == fromEntities(saved));
}

TEST(ClosedObjects, AnObjectHandedOutAgainOrNotWritableAsLinesStaysBuilt)
{
    // A line given extended data whose text holds a line end: written out,
    // it would be read back as two lines, so it must stay built.
    AcDbDatabase db(false);
    ASSERT_EQ(db.readDxfText(dxftest::withLines(kLines), "lines.dxf"), Acad::eOk) << db.lastError();
    AcDbStub* odd = stubOf(db, 0x10001);
    {
        AcDbObjectPointer<AcDbLine> line(AcDbObjectId(odd), AcDb::kForWrite);
        ASSERT_TRUE(line);
        resbuf* data = acutBuildList(1001, "ACAD", 1000, "two\nlines", 0);
        ASSERT_EQ(line->setXData(data), Acad::eOk);
        acutRelRb(data);
    }
    // The host's own code holds a line it reached after the line's close.
    AcDbStub* held = stubOf(db, 0x10000);
    {
        AcDbObjectPointer<AcDbLine> line(AcDbObjectId(held), AcDb::kForRead);
        ASSERT_TRUE(line);
    }
    AcDbObject* pointer = db.objectOf(held);
    editEveryThirdLine(db, 2);

    EXPECT_NE(odd->object, nullptr);
    EXPECT_FALSE(odd->textWritten);
    EXPECT_EQ(held->object, pointer);
    // Lines not reached since their close are freed all the same.
    EXPECT_EQ(stubOf(db, 0x10002)->object, nullptr);
}

}  // namespace
