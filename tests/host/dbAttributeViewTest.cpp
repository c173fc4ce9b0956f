// AcDbAttributeView reads an attribute's fields from its record without
// building it, and writes it back unchanged on its lines. Attributes are
// written here as other programs write them; whichever way the view takes
// (the one walk over the usual shape, the attribute's own reader, or the
// attribute opened), the fields are those of the built attribute, and the
// write gives the drawing an open for write and a close give it.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "host/db/AcDbAttribute.h"
#include "host/db/AcDbAttributeView.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbStub.h"
#include "host/dxf/DxfObjectIO.h"
#include "tests/host/dxfTestSupport.h"

namespace {

// The small room drawing: INSERT 30 of ROOM-1 with ATTRIB 31 (its NAME,
// owned by the INSERT), then SEQEND 32; layer LOCKED is locked.
const char* const kAttribute =
    "  0\nATTRIB\n  5\n31\n330\n30\n100\nAcDbEntity\n  8\n0\n100\nAcDbText\n 10\n100.0\n 20\n200.0\n 30\n0.0\n"
    " 40\n250.0\n  1\nOffice\n100\nAcDbAttribute\n  2\nNAME\n 70\n0\n";

struct Form {
    const char* what;
    std::string record;  // the attribute's lines
    bool fromRecord;     // whether the view can read it without building it
};

std::string roomWith(const std::string& attribute)
{
    std::string text = dxftest::readFile(dxftest::sourceDir() / "fuzz/corpus/tiny_room_AC1015.dxf");
    const size_t at = text.find(kAttribute);
    EXPECT_NE(at, std::string::npos);
    if (at != std::string::npos)
        text.replace(at, std::strlen(kAttribute), attribute);
    return text;
}

std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

std::vector<Form> forms()
{
    const std::string a = kAttribute;
    std::string crlf;
    for (char c : a)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return {
        {"as written", a, true},
        {"naming model space as owner", replaced(a, "330\n30\n", "330\n1F\n"), true},
        {"turned, narrowed, styled, with a version and a field length",
         replaced(replaced(a, "  1\nOffice\n", "  1\nOffice\n 50\n30.0\n 41\n0.8\n  7\nStandard\n"), " 70\n0\n",
                  " 70\n0\n 73\n12\n280\n0\n"),
         true},
        {"centred on its alignment point",
         replaced(replaced(a, "  1\nOffice\n", "  1\nOffice\n 72\n1\n 11\n120.0\n 21\n200.0\n 31\n0.0\n"), " 70\n0\n",
                  " 70\n0\n 74\n2\n"),
         true},
        {"a real in exponent form", replaced(a, " 40\n250.0\n", " 40\n2.5E+02\n"), true},
        {"with a colour", replaced(a, "  8\n0\n", "  8\n0\n 62\n3\n"), true},
        {"with reactors", replaced(a, "330\n30\n", "102\n{ACAD_REACTORS\n330\n30\n102\n}\n330\n30\n"), true},
        {"with extended data", a + "1001\nADE\n1000\nx\n", true},
        {"on the locked layer", replaced(a, "  8\n0\n", "  8\nLOCKED\n"), true},
        {"its text escaped", replaced(a, "  1\nOffice\n", "  1\nB\\U+00FCro\n"), false},
        {"its height twice", replaced(a, " 40\n250.0\n", " 40\n250.0\n 40\n125.0\n"), false},
        {"a code line of two columns", replaced(a, " 10\n100.0\n", "10\n100.0\n"), false},
        {"line ends CR LF in a file of LF", crlf, false},
    };
}

AcDbObjectId attributeOf(AcDbDatabase& db)
{
    AcDbObjectId id;
    EXPECT_EQ(db.getAcDbObjectId(id, false, AcDbHandle("31")), Acad::eOk);
    return id;
}

AcDbAttributeFields builtFields(const std::string& text)
{
    AcDbDatabase db(false);
    EXPECT_EQ(db.readDxfText(text, "room.dxf"), Acad::eOk) << db.lastError();
    AcDbObjectPointer<AcDbAttribute> a(attributeOf(db), AcDb::kForRead);
    AcDbAttributeFields f;
    if (!a)
        return f;
    f.tag = a->tag();
    f.text = a->textString();
    f.layer = a->layer();
    f.height = a->height();
    f.widthFactor = a->widthFactor();
    f.rotation = a->rotation();
    f.position = a->position();
    f.alignment = a->alignmentPoint();
    f.defaultAlignment = a->isDefaultAlignment();
    return f;
}

void expectSame(const AcDbAttributeFields& got, const AcDbAttributeFields& want, const std::string& what)
{
    EXPECT_EQ(got.tag, want.tag) << what;
    EXPECT_EQ(got.text, want.text) << what;
    EXPECT_EQ(got.layer, want.layer) << what;
    // The very same numbers, bit for bit.
    const double gotNumbers[] = {got.height, got.widthFactor, got.rotation, got.position.x, got.position.y,
                                 got.position.z, got.alignment.x, got.alignment.y, got.alignment.z};
    const double wantNumbers[] = {want.height, want.widthFactor, want.rotation, want.position.x, want.position.y,
                                  want.position.z, want.alignment.x, want.alignment.y, want.alignment.z};
    EXPECT_EQ(std::memcmp(gotNumbers, wantNumbers, sizeof gotNumbers), 0) << what;
    EXPECT_EQ(got.defaultAlignment, want.defaultAlignment) << what;
}

std::string written(AcDbDatabase& db)
{
    std::string out;
    EXPECT_EQ(db.writeDxfText(out), Acad::eOk) << db.lastError();
    return out;
}

}  // namespace

TEST(AttributeView, ReadsEveryFormAsTheBuiltAttributeAndBothWaysAgree)
{
    for (const Form& form : forms()) {
        const std::string text = roomWith(form.record);
        AcDbDatabase db(false);
        ASSERT_EQ(db.readDxfText(text, "room.dxf"), Acad::eOk) << form.what << ": " << db.lastError();
        const AcDbObjectId id = attributeOf(db);
        AcDbAttributeView view;
        ASSERT_EQ(view.read(id), Acad::eOk) << form.what;
        EXPECT_EQ(view.fromRecord(), form.fromRecord) << form.what;
        EXPECT_EQ(id.stub()->object != nullptr, !form.fromRecord) << form.what;
        expectSame(view.fields(), builtFields(text), form.what);
        // The one walk over the usual shape and the general way agree.
        if (!form.fromRecord)
            continue;
        AcDbAttributeRecordRead common, general;
        ASSERT_TRUE(DxfObjectIO::readAttribute(db, *id.stub(), common)) << form.what;
        ASSERT_TRUE(DxfObjectIO::readAttribute(db, *id.stub(), general, DxfObjectIO::AttributeReading::kGeneral))
            << form.what;
        expectSame(common.fields, general.fields, form.what);
        EXPECT_EQ(common.ownerAt, general.ownerAt) << form.what;
        EXPECT_EQ(common.owner, general.owner) << form.what;
    }
}

TEST(AttributeView, WritingBackUnchangedGivesWhatAnOpenForWriteGivesAndUndoes)
{
    for (const Form& form : forms()) {
        if (!form.fromRecord)
            continue;
        const std::string text = roomWith(form.record);
        const bool locked = form.record.find("LOCKED") != std::string::npos;
        // The drawing an open for write that sets a field to its value gives.
        AcDbDatabase opened(false);
        ASSERT_EQ(opened.readDxfText(text, "room.dxf"), Acad::eOk) << form.what;
        const std::string asRead = written(opened);
        {
            AcDbObjectPointer<AcDbAttribute> a(attributeOf(opened), AcDb::kForWrite);
            EXPECT_EQ(a.openStatus(), locked ? Acad::eOnLockedLayer : Acad::eOk) << form.what;
            if (a)
                a->setHeight(a->height());
        }
        const std::string expected = written(opened);

        AcDbDatabase db(false);
        ASSERT_EQ(db.readDxfText(text, "room.dxf"), Acad::eOk) << form.what;
        const AcDbObjectId id = attributeOf(db);
        const uint64_t changes = db.changeCount();
        db.beginUndoRecord("unchanged");
        AcDbAttributeView view;
        ASSERT_EQ(view.read(id), Acad::eOk) << form.what;
        ASSERT_TRUE(view.fromRecord()) << form.what;
        EXPECT_EQ(view.writeUnchanged(), locked ? Acad::eOnLockedLayer : Acad::eOk) << form.what;
        db.endUndoRecord();
        EXPECT_EQ(id.stub()->object, nullptr) << form.what << ": built to write it";
        EXPECT_EQ(db.changeCount() != changes, !locked) << form.what;
        EXPECT_TRUE(written(db) == expected) << form.what;
        const bool ownerMoved = form.record.find("330\n1F\n") != std::string::npos;
        EXPECT_EQ(expected != asRead, ownerMoved) << form.what << ": only the owner moves, and only when named wrong";
        if (!locked) {
            db.undo(1);
            EXPECT_TRUE(written(db) == asRead) << form.what << ": undo";
        }
    }
}

TEST(AttributeView, WritesNothingOnceTheAttributeIsBuiltOrErasedSinceItWasRead)
{
    const std::string text = roomWith(replaced(kAttribute, "330\n30\n", "330\n1F\n"));
    AcDbDatabase db(false);
    ASSERT_EQ(db.readDxfText(text, "room.dxf"), Acad::eOk);
    const std::string asRead = written(db);
    const AcDbObjectId id = attributeOf(db);
    AcDbAttributeView view;
    ASSERT_EQ(view.read(id), Acad::eOk);
    {
        AcDbObjectPointer<AcDbAttribute> a(id, AcDb::kForRead);  // built now
        ASSERT_TRUE(a);
    }
    EXPECT_EQ(view.writeUnchanged(), Acad::eNotApplicable);
    EXPECT_TRUE(written(db) == asRead);

    AcDbDatabase other(false);
    ASSERT_EQ(other.readDxfText(text, "room.dxf"), Acad::eOk);
    AcDbAttributeView late;
    ASSERT_EQ(late.read(attributeOf(other)), Acad::eOk);
    ASSERT_TRUE(late.fromRecord());
    {
        AcDbObjectPointer<AcDbAttribute> a(attributeOf(other), AcDb::kForWrite);
        ASSERT_TRUE(a);
        ASSERT_EQ(a->erase(), Acad::eOk);
    }
    EXPECT_EQ(late.writeUnchanged(), Acad::eNotApplicable) << "its lines no longer stand for it";
    AcDbAttributeView gone;
    EXPECT_EQ(gone.read(attributeOf(other)), Acad::eWasErased);
}

// A view points at the database's remembered record instead of copying it,
// and no record a view points at is replaced: more views alive at once than
// records remembered each keep their own fields, and each writes back what
// it read.
TEST(AttributeView, ManyViewsAliveAtOnceEachKeepTheirOwnAttribute)
{
    constexpr int kCount = 12;  // more than the database remembers
    std::string attributes;
    for (int i = 0; i < kCount; ++i)
        attributes += replaced(replaced(replaced(kAttribute, "  5\n31\n", "  5\nA0" + std::to_string(i) + "\n"),
                                        "  1\nOffice\n", "  1\nRoom " + std::to_string(i) + "\n"),
                               "  2\nNAME\n", "  2\nT" + std::to_string(i) + "\n");
    const std::string text = roomWith(attributes);
    AcDbDatabase db(false);
    ASSERT_EQ(db.readDxfText(text, "rooms.dxf"), Acad::eOk) << db.lastError();
    const std::string asRead = written(db);
    auto idOf = [&](int i) {
        AcDbObjectId id;
        EXPECT_EQ(db.getAcDbObjectId(id, false, AcDbHandle(("A0" + std::to_string(i)).c_str())), Acad::eOk);
        return id;
    };
    auto pins = [&] {
        uint32_t n = 0;
        for (uint32_t p : db.data().attributeReadPins)
            n += p;
        return n;
    };
    {
        std::vector<std::unique_ptr<AcDbAttributeView>> views;
        for (int i = 0; i < kCount; ++i) {
            views.push_back(std::make_unique<AcDbAttributeView>());
            ASSERT_EQ(views.back()->read(idOf(i)), Acad::eOk);
            ASSERT_TRUE(views.back()->fromRecord()) << i;
        }
        EXPECT_EQ(pins(), 8u);  // every remembered record pointed at; the rest are copies
        // Reading them all again, in another order, replaces nothing pointed at.
        for (int i = kCount - 1; i >= 0; --i) {
            AcDbAttributeView again;
            ASSERT_EQ(again.read(idOf(i)), Acad::eOk);
            EXPECT_EQ(again.fields().text, "Room " + std::to_string(i));
        }
        for (int i = 0; i < kCount; ++i) {
            EXPECT_EQ(views[i]->fields().text, "Room " + std::to_string(i));
            EXPECT_EQ(views[i]->fields().tag, "T" + std::to_string(i));
            EXPECT_EQ(views[i]->writeUnchanged(), Acad::eOk) << i;
        }
        // A view read again lets go of the record it pointed at.
        ASSERT_EQ(views[0]->read(idOf(kCount - 1)), Acad::eOk);
        EXPECT_EQ(views[0]->fields().text, "Room " + std::to_string(kCount - 1));
        EXPECT_LE(pins(), 8u);
        ASSERT_EQ(views[1]->read(AcDbObjectId()), Acad::eNullObjectId);
        EXPECT_LE(pins(), 7u);
    }
    EXPECT_EQ(pins(), 0u);
    EXPECT_TRUE(written(db) == asRead);
}

TEST(AttributeView, AnOwnerNamedWrongIsPutRightInEveryWayTheAttributeIsWrittenOut)
{
    // The attribute's lines name model space, not its block reference:
    // writing it back unchanged keeps the lines and has saving put the
    // reference in. Whatever happens to it after (read again, built, changed,
    // undone), what is saved is what the same steps on opened attributes give.
    const std::string lf = roomWith(replaced(kAttribute, "330\n30\n", "330\n1F\n"));
    std::string crlf;
    for (char c : lf)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const std::string* const texts[] = {&lf, &crlf};
    for (const std::string* text : texts) {
        const char* what = text == &lf ? "LF" : "CR LF";
        AcDbDatabase opened(false);
        ASSERT_EQ(opened.readDxfText(*text, "room.dxf"), Acad::eOk) << what;
        const std::string asRead = written(opened);
        {
            AcDbObjectPointer<AcDbAttribute> a(attributeOf(opened), AcDb::kForWrite);
            ASSERT_TRUE(a) << what;
            a->setHeight(a->height());
        }
        const std::string unchanged = written(opened);
        ASSERT_NE(unchanged, asRead) << what;
        EXPECT_NE(unchanged.find(text == &lf ? "330\n30\n100\nAcDbEntity\n  8\n0\n100\nAcDbText"
                                             : "330\r\n30\r\n100\r\nAcDbEntity\r\n  8\r\n0\r\n100\r\nAcDbText"),
                  std::string::npos)
            << what << ": the reference as owner";
        {
            AcDbObjectPointer<AcDbAttribute> a(attributeOf(opened), AcDb::kForWrite);
            ASSERT_TRUE(a) << what;
            a->setTextString("Lab");
        }
        const std::string changed = written(opened);

        AcDbDatabase db(false);
        ASSERT_EQ(db.readDxfText(*text, "room.dxf"), Acad::eOk) << what;
        const AcDbObjectId id = attributeOf(db);
        AcDbStub* stub = id.stub();
        const uint64_t linesAt = stub->textOffset;
        db.beginUndoRecord("layout");
        for (int pass = 0; pass < 2; ++pass) {  // the second finds the lines as the first left them
            AcDbAttributeView view;
            ASSERT_EQ(view.read(id), Acad::eOk) << what;
            ASSERT_TRUE(view.fromRecord()) << what;
            EXPECT_EQ(view.writeUnchanged(), Acad::eOk) << what;
        }
        EXPECT_FALSE(stub->textWritten) << what << ": the lines stay the file's";
        EXPECT_EQ(stub->textOffset, linesAt) << what;
        EXPECT_TRUE(written(db) == unchanged) << what;
        // The tags the writer falls back on carry the reference too.
        std::vector<DxfTag> scratch;
        size_t count = 0;
        const DxfTag* tags = DxfObjectIO::tagsFor(db, stub, scratch, count);
        bool ownerSeen = false;
        for (size_t i = 0; i < count && tags[i].code != 100; ++i)
            if (tags[i].code == 330) {
                EXPECT_EQ(tags[i].value(), "30") << what;
                ownerSeen = true;
            }
        EXPECT_TRUE(ownerSeen) << what;
        {
            AcDbObjectPointer<AcDbAttribute> a(id, AcDb::kForRead);  // built, closed unchanged
            ASSERT_TRUE(a) << what;
        }
        EXPECT_TRUE(written(db) == unchanged) << what << ": built and closed";
        db.endUndoRecord();
        db.beginUndoRecord("text");
        {
            AcDbObjectPointer<AcDbAttribute> a(id, AcDb::kForWrite);
            ASSERT_TRUE(a) << what;
            a->setTextString("Lab");
        }
        db.endUndoRecord();
        EXPECT_TRUE(written(db) == changed) << what << ": changed after";
        db.undo(1);
        EXPECT_TRUE(written(db) == unchanged) << what << ": the change undone";
        db.undo(1);
        EXPECT_TRUE(written(db) == asRead) << what << ": the layout undone";
        EXPECT_EQ(stub->ownerValueAt, 0) << what;
        db.redo();
        EXPECT_TRUE(written(db) == unchanged) << what << ": the layout redone";
    }
}
