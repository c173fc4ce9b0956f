// acdbPeekBlockName answers from where reading found the block name in a
// reference's lines when it could note the place, and by splitting the
// lines otherwise: either way with the name the built reference gives, and
// never from lines that no longer stand for the reference.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbLine.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbPeek.h"
#include "host/db/AcDbStub.h"
#include "tests/host/dxfTestSupport.h"

namespace {

// The small room drawing: one INSERT of ROOM-1, handle 30, in ENTITIES.
std::string tinyRoom() { return dxftest::readFile(dxftest::sourceDir() / "fuzz/corpus/tiny_room_AC1015.dxf"); }

void replaceOnce(std::string& text, const std::string& from, const std::string& to)
{
    const size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
}

AcDbObjectId idOf(AcDbDatabase& db, const char* handle)
{
    AcDbObjectId id;
    EXPECT_EQ(db.getAcDbObjectId(id, false, AcDbHandle(handle)), Acad::eOk) << handle;
    return id;
}

std::string builtName(AcDbObjectId id)
{
    AcDbObjectPointer<AcDbBlockReference> reference(id, AcDb::kForRead);
    return reference ? reference->blockName() : "(not opened)";
}

}  // namespace

TEST(PeekBlockName, FromWhereReadingFoundItOrBySplittingAsTheReferenceGivesIt)
{
    const std::string room = tinyRoom();
    const std::string reference = "  0\nINSERT\n  5\n30\n330\n1F\n100\nAcDbEntity\n  8\n0\n";
    struct Form {
        const char* what;
        std::string text;
        bool noted;  // whether reading can note where the name stands
    };
    std::string crlf;
    for (char c : room)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    std::string farLayer = room;
    replaceOnce(farLayer, reference, "  0\nINSERT\n  5\n30\n330\n1F\n100\nAcDbEntity\n  8\n" + std::string(240, 'L') + "\n");
    std::string nearLayer = room;
    replaceOnce(nearLayer, reference, "  0\nINSERT\n  5\n30\n330\n1F\n100\nAcDbEntity\n  8\n" + std::string(150, 'L') + "\n");
    std::string oddCode = room;
    replaceOnce(oddCode, "  2\nROOM-1\n 10\n100.0", "2\nROOM-1\n 10\n100.0");
    std::string blanks = room;
    replaceOnce(blanks, "  2\nROOM-1\n 10\n100.0", "  2\nROOM-1  \n 10\n100.0");
    const Form forms[] = {
        {"as written", room, true},
        {"with CR LF line ends", crlf, true},
        {"the name 200 bytes in", nearLayer, true},
        {"the name past byte 255", farLayer, false},
        {"a code line of one column", oddCode, false},
        {"blanks after the name", blanks, true},
    };
    for (const Form& form : forms) {
        AcDbDatabase db(false);
        ASSERT_EQ(db.readDxfText(form.text, "room.dxf"), Acad::eOk) << form.what << ": " << db.lastError();
        const AcDbObjectId id = idOf(db, "30");
        EXPECT_EQ(id.stub()->insertNameAt != 0, form.noted) << form.what;
        std::string_view peeked;
        ASSERT_TRUE(acdbPeekBlockName(id, peeked)) << form.what;
        const std::string name(peeked);
        EXPECT_EQ(id.stub()->object, nullptr) << form.what << ": built to answer";
        EXPECT_EQ(name, builtName(id)) << form.what;
        EXPECT_EQ(name.substr(0, 6), "ROOM-1") << form.what;
    }
}

TEST(PeekBlockName, LinesWrittenOutForAChangeAnswerAndUndoBringsTheReadNameBack)
{
    // The room with enough lines before it that the reference, changed and
    // closed, is freed and stands as the lines written out for it.
    std::string text = tinyRoom();
    std::string lines;
    for (int i = 0; i < 600; ++i)
        lines += "  0\nLINE\n  5\n" + std::to_string(10000 + i) + "\n330\n1F\n100\nAcDbEntity\n  8\n0\n100\nAcDbLine\n 10\n" +
                 std::to_string(i) + ".0\n 20\n0.0\n 11\n" + std::to_string(i + 1) + ".0\n 21\n0.0\n";
    replaceOnce(text, "  0\nINSERT\n  5\n30\n", lines + "  0\nINSERT\n  5\n30\n");
    AcDbDatabase db(false);
    ASSERT_EQ(db.readDxfText(text, "room.dxf"), Acad::eOk) << db.lastError();
    const AcDbObjectId id = idOf(db, "30");
    ASSERT_NE(id.stub()->insertNameAt, 0);

    db.beginUndoRecord("move to paper");
    {
        AcDbBlockTable* table = nullptr;
        ASSERT_EQ(db.getBlockTable(table, AcDb::kForRead), Acad::eOk);
        AcDbObjectId paper;
        ASSERT_EQ(table->getAt("*Paper_Space", paper), Acad::eOk);
        table->close();
        AcDbObjectPointer<AcDbBlockReference> reference(id, AcDb::kForWrite);
        ASSERT_TRUE(reference);
        ASSERT_EQ(reference->setBlockTableRecord(paper), Acad::eOk);
        // On a layer of a longer name, so the name moves in the lines.
        ASSERT_EQ(reference->setLayer("LOCKED"), Acad::eOk);
    }
    db.endUndoRecord();
    for (int i = 0; i < 600; ++i) {
        AcDbObjectPointer<AcDbLine> line(idOf(db, std::to_string(10000 + i).c_str()), AcDb::kForRead);
        ASSERT_TRUE(line);
    }
    ASSERT_EQ(id.stub()->object, nullptr) << "the reference was not freed";
    ASSERT_TRUE(id.stub()->textWritten);
    std::string_view peeked;
    ASSERT_TRUE(acdbPeekBlockName(id, peeked));
    EXPECT_EQ(peeked, "*Paper_Space");

    ASSERT_FALSE(db.undo(1).empty());
    ASSERT_FALSE(id.stub()->textWritten);
    ASSERT_TRUE(acdbPeekBlockName(id, peeked));
    EXPECT_EQ(peeked, "ROOM-1");
    EXPECT_EQ(builtName(id), "ROOM-1");
}
