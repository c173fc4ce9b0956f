// Undo records of the drawing database: whatever a command changes (objects
// edited, erased, added, renamed, sub-entities attached, header values), an
// undo brings back the drawing that saving would have written before, byte
// for byte, and a redo the drawing after; a cancelled record puts everything
// back at once.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "host/db/AcDbAttribute.h"
#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbDictionary.h"
#include "host/db/AcDbLayerTable.h"
#include "host/db/AcDbLayoutManager.h"
#include "host/db/AcDbLine.h"
#include "host/db/AcDbObjectIterator.h"
#include "host/db/AcDbOpen.h"
#include "host/db/AcDbPolyline.h"
#include "host/db/resbuf.h"
#include "tests/host/dxfTestSupport.h"

namespace {

const std::filesystem::path kPlan = dxftest::sourceDir() / "tests/data/dxf/ezdxf/ezdxf_plan_R2000_AC1015.dxf";

std::string text(AcDbDatabase& db)
{
    std::string out;
    db.writeDxfText(out);
    return out;
}

// The model-space entities of a class, in order.
std::vector<AcDbObjectId> modelSpace(AcDbDatabase& db, const AcRxClass* cls)
{
    std::vector<AcDbObjectId> found;
    AcDbBlockTableRecord* ms = nullptr;
    if (acdbOpenObject(ms, db.modelSpaceId(), AcDb::kForRead) != Acad::eOk)
        return found;
    for (const AcDbObjectId& id : ms->entityIds())
        if (id.objectClass() && id.objectClass()->isDerivedFrom(cls))
            found.push_back(id);
    ms->close();
    return found;
}

// The first attribute of the first model-space reference that has one.
AcDbObjectId firstAttribute(AcDbDatabase& db)
{
    for (const AcDbObjectId& id : modelSpace(db, AcDbBlockReference::desc())) {
        AcDbBlockReference* ref = nullptr;
        if (acdbOpenObject(ref, id, AcDb::kForRead) != Acad::eOk)
            continue;
        AcDbObjectIterator* it = ref->attributeIterator();
        AcDbObjectId attribute = it && !it->done() ? it->objectId() : AcDbObjectId::kNull;
        delete it;
        ref->close();
        if (!attribute.isNull())
            return attribute;
    }
    return AcDbObjectId::kNull;
}

void appendLine(AcDbDatabase& db)
{
    AcDbBlockTableRecord* ms = nullptr;
    ASSERT_EQ(acdbOpenObject(ms, db.modelSpaceId(), AcDb::kForWrite), Acad::eOk);
    auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(5, 5, 0));
    ASSERT_EQ(ms->appendAcDbEntity(line), Acad::eOk);
    line->close();
    ms->close();
}

// The names the block and layer tables find.
std::string tableNames(AcDbDatabase& db)
{
    std::string names;
    for (const char* name : {"RENAMED-BY-TEST", "UNDO-BLOCK", "UNDO-NEW"}) {
        AcDbBlockTable* blocks = nullptr;
        AcDbLayerTable* layers = nullptr;
        if (db.getBlockTable(blocks) == Acad::eOk) {
            names += blocks->has(name) ? std::string(name) + " " : "";
            blocks->close();
        }
        if (db.getLayerTable(layers) == Acad::eOk) {
            names += layers->has(name) ? std::string(name) + " " : "";
            layers->close();
        }
    }
    return names;
}

// What the database holds besides the saved text: the entity and object
// lists, and the names its tables find.
std::string inMemory(AcDbDatabase& db)
{
    return std::to_string(db.data().entities.size()) + "/" + std::to_string(db.data().objects.size()) + "/" +
           std::to_string(db.data().blocks.size()) + " " + tableNames(db);
}

struct Edit {
    const char* what;
    std::function<void(AcDbDatabase&)> apply;
};

// Edits the module's commands make (attribute texts, references erased with
// their attributes, outlines left in model space, attributes added) are undone
// byte for byte through UNDO in UndoCommands; these are the others, and a
// rename, whose undo must also put the name look-up back.
const std::vector<Edit> kEdits = {
    {"a polyline's vertex moved (opened for read, then upgraded)",
     [](AcDbDatabase& db) {
         std::vector<AcDbObjectId> polylines = modelSpace(db, AcDbPolyline::desc());
         ASSERT_FALSE(polylines.empty());
         AcDbPolyline* p = nullptr;
         ASSERT_EQ(acdbOpenObject(p, polylines[0], AcDb::kForRead), Acad::eOk);
         ASSERT_EQ(p->upgradeOpen(), Acad::eOk);
         p->setPointAt(0, AcGePoint2d(-123.5, 77.25));
         p->close();
     }},
    {"a layer added",
     [](AcDbDatabase& db) {
         AcDbLayerTable* t = nullptr;
         ASSERT_EQ(db.getLayerTable(t, AcDb::kForWrite), Acad::eOk);
         auto* layer = new AcDbLayerTableRecord();
         layer->setName("UNDO-NEW");
         ASSERT_EQ(t->add(layer), Acad::eOk);
         layer->close();
         t->close();
     }},
    {"a block definition renamed",
     [](AcDbDatabase& db) {
         AcDbBlockReference* ref = nullptr;
         ASSERT_EQ(acdbOpenObject(ref, modelSpace(db, AcDbBlockReference::desc()).at(0), AcDb::kForRead), Acad::eOk);
         AcDbObjectId block = ref->blockTableRecord();
         ref->close();
         AcDbBlockTableRecord* rec = nullptr;
         ASSERT_EQ(acdbOpenObject(rec, block, AcDb::kForWrite), Acad::eOk);
         ASSERT_EQ(rec->setName("RENAMED-BY-TEST"), Acad::eOk);
         rec->close();
     }},
    {"a block definition added with an entity",
     [](AcDbDatabase& db) {
         AcDbBlockTable* t = nullptr;
         ASSERT_EQ(db.getBlockTable(t, AcDb::kForWrite), Acad::eOk);
         auto* rec = new AcDbBlockTableRecord();
         rec->setName("UNDO-BLOCK");
         ASSERT_EQ(t->add(rec), Acad::eOk);
         auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
         ASSERT_EQ(rec->appendAcDbEntity(line), Acad::eOk);
         line->close();
         rec->close();
         t->close();
     }},
    {"extended data of a new application",
     [](AcDbDatabase& db) {
         ASSERT_EQ(acdbRegApp("UNDO_APP", &db), RTNORM);
         AcDbEntity* e = nullptr;
         ASSERT_EQ(acdbOpenAcDbEntity(e, modelSpace(db, AcDbPolyline::desc()).at(0), AcDb::kForWrite), Acad::eOk);
         resbuf* rb = acutBuildList(1001, "UNDO_APP", 1000, "value", 0);
         ASSERT_EQ(e->setXData(rb), Acad::eOk);
         acutRelRb(rb);
         e->close();
     }},
    {"an object added to the named-objects dictionary",
     [](AcDbDatabase& db) {
         AcDbDictionary* nod = nullptr;
         ASSERT_EQ(db.getNamedObjectsDictionary(nod, AcDb::kForWrite), Acad::eOk);
         AcDbObjectId id;
         auto* dict = new AcDbDictionary();
         ASSERT_EQ(nod->setAt("UNDO_DICT", dict, id), Acad::eOk);
         dict->close();
         nod->close();
     }},
    {"header values", [](AcDbDatabase& db) { ASSERT_EQ(db.setInsunits(AcDb::kUnitsInches), Acad::eOk); }},
};

TEST(DbUndo, EachEditUndoesAndRedoesToTheSameBytes)
{
    // Plans as ezdxf writes them, before and after drawings became UTF-8.
    const std::filesystem::path later = dxftest::sourceDir() / "tests/data/dxf/ezdxf/ezdxf_plan_R2018_AC1032.dxf";
    for (const std::filesystem::path& plan : {kPlan, later}) {
        for (const Edit& edit : kEdits) {
            SCOPED_TRACE(plan.filename().string() + ": " + edit.what);
            AcDbDatabase db(false);
            ASSERT_EQ(db.readDxfFile(plan.c_str()), Acad::eOk) << db.lastError();
            const std::string before = text(db);
            const std::string memoryBefore = inMemory(db);
            db.beginUndoRecord("edit");
            edit.apply(db);
            EXPECT_TRUE(db.endUndoRecord());
            const std::string after = text(db);
            const std::string memoryAfter = inMemory(db);
            ASSERT_NE(after, before);
            ASSERT_EQ(db.undo(1), std::vector<std::string>{"edit"});
            EXPECT_EQ(text(db), before);
            EXPECT_EQ(inMemory(db), memoryBefore);
            ASSERT_EQ(db.redo(), std::vector<std::string>{"edit"});
            EXPECT_EQ(text(db), after);
            EXPECT_EQ(inMemory(db), memoryAfter);
            db.undo(1);
            EXPECT_EQ(text(db), before);
            // The drawing goes on working after the undo: the handles the undone
            // objects took are free again, and the redo list is dropped.
            db.beginUndoRecord("line");
            appendLine(db);
            EXPECT_TRUE(db.endUndoRecord());
            EXPECT_EQ(db.redoDepth(), 0u);
            db.undo(1);
            EXPECT_EQ(text(db), before);
        }
    }
}

// A command keeps an object's state from before its first write only: a
// second write in the same command must not replace it, and the next command
// must keep its own.
TEST(DbUndo, AnObjectWrittenTwiceInEachOfTwoCommandsComesBackStepByStep)
{
    AcDbDatabase db(false);
    ASSERT_EQ(db.readDxfFile(kPlan.c_str()), Acad::eOk);
    const AcDbObjectId id = firstAttribute(db);
    auto setText = [&](const char* value) {
        AcDbAttribute* a = nullptr;
        ASSERT_EQ(acdbOpenObject(a, id, AcDb::kForWrite), Acad::eOk);
        a->setTextString(value);
        a->close();
    };
    const std::string original = text(db);
    db.beginUndoRecord("first");
    setText("one");
    setText("two");
    ASSERT_TRUE(db.endUndoRecord());
    const std::string afterFirst = text(db);
    db.beginUndoRecord("second");
    setText("three");
    setText("four");
    ASSERT_TRUE(db.endUndoRecord());
    const std::string afterSecond = text(db);
    ASSERT_NE(afterFirst, original);
    ASSERT_NE(afterSecond, afterFirst);
    ASSERT_EQ(db.undo(1), std::vector<std::string>{"second"});
    EXPECT_EQ(text(db), afterFirst);
    ASSERT_EQ(db.undo(1), std::vector<std::string>{"first"});
    EXPECT_EQ(text(db), original);
    ASSERT_EQ(db.redo(), std::vector<std::string>{"first"});
    EXPECT_EQ(text(db), afterFirst);
    ASSERT_EQ(db.redo(), std::vector<std::string>{"second"});
    EXPECT_EQ(text(db), afterSecond);
}

TEST(DbUndo, CancelPutsBackAtOnceAndClosesWhatWasLeftOpen)
{
    AcDbDatabase db(false);
    ASSERT_EQ(db.readDxfFile(kPlan.c_str()), Acad::eOk);
    const std::string before = text(db);
    db.beginUndoRecord("broken off");
    appendLine(db);
    AcDbAttribute* a = nullptr;
    ASSERT_EQ(acdbOpenObject(a, firstAttribute(db), AcDb::kForWrite), Acad::eOk);
    a->setTextString("half done");  // left open, as an unwound command leaves it
    AcDbObject* reader = nullptr;
    ASSERT_EQ(acdbOpenObject(reader, db.layerTableId(), AcDb::kForRead), Acad::eOk);
    db.cancelUndoRecord();
    EXPECT_EQ(text(db), before);
    EXPECT_EQ(db.undoDepth(), 0u);
    EXPECT_EQ(db.redoDepth(), 0u);
    AcDbObject* again = nullptr;
    ASSERT_EQ(acdbOpenObject(again, db.layerTableId(), AcDb::kForWrite), Acad::eOk);
    again->close();
}

}  // namespace

namespace {

// Two paper-space layouts with an entity each, the first one active.
TEST(DbUndo, SwitchingThePaperSpaceLayoutComesBack)
{
    const std::filesystem::path dir = dxftest::tempDir("undo-layouts");
    const std::string file = (dir / "layouts.dxf").string();
    dxftest::ezdxfFixture("paper_layouts", file);
    AcDbDatabase db(false);
    ASSERT_EQ(db.readDxfFile(file.c_str()), Acad::eOk) << db.lastError();
    const std::string before = text(db);
    const AcDbStub* paperBefore = db.data().paperSpace;
    db.beginUndoRecord("layout");
    ASSERT_EQ(acdbLayoutManager()->setCurrentLayout("Second", &db), Acad::eOk);
    ASSERT_TRUE(db.endUndoRecord());
    const std::string after = text(db);
    ASSERT_NE(after, before);
    ASSERT_NE(db.data().paperSpace, paperBefore);
    db.undo(1);
    EXPECT_EQ(text(db), before);
    EXPECT_EQ(db.data().paperSpace, paperBefore);
    db.redo();
    EXPECT_EQ(text(db), after);
}

}  // namespace
