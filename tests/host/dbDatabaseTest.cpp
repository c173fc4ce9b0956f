// The drawing database: ids and handles, the open/close discipline and its
// statuses, symbol tables, extended data, header variables, saving.
#include <gtest/gtest.h>

#include <cstring>

#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbCircle.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDictionary.h"
#include "host/db/AcDbLayerTable.h"
#include "host/db/AcDbLine.h"
#include "host/db/AcDbLinetypeTable.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbOpen.h"
#include "host/db/AcDbRegAppTable.h"
#include "host/db/AcDbSymbolTableIterator.h"
#include "host/db/AcDbTextStyleTable.h"
#include "tests/host/dxfTestSupport.h"
#include "tests/common/TestRequirements.h"

namespace {

// Appends an entity to model space and closes it; returns its id.
AcDbObjectId addToModelSpace(AcDbDatabase& db, AcDbEntity* e)
{
    AcDbBlockTableRecord* ms = nullptr;
    EXPECT_EQ(acdbOpenObject(ms, db.modelSpaceId(), AcDb::kForWrite), Acad::eOk);
    AcDbObjectId id;
    EXPECT_EQ(ms->appendAcDbEntity(id, e), Acad::eOk);
    e->close();
    ms->close();
    return id;
}

AcDbObjectId addLayer(AcDbDatabase& db, const char* name, bool locked = false)
{
    AcDbLayerTable* layers = nullptr;
    EXPECT_EQ(db.getLayerTable(layers, AcDb::kForWrite), Acad::eOk);
    auto* rec = new AcDbLayerTableRecord();
    rec->setName(name);
    rec->setIsLocked(locked);
    AcDbObjectId id;
    EXPECT_EQ(layers->add(id, rec), Acad::eOk);
    rec->close();
    layers->close();
    return id;
}

TEST(DbDatabase, NewDrawingHasTablesSpacesAndDictionaries)
{
    AcDbDatabase db;
    EXPECT_STREQ(db.acadver(), "AC1027");
    EXPECT_FALSE(db.blockTableId().isNull());
    EXPECT_FALSE(db.modelSpaceId().isNull());
    EXPECT_FALSE(db.paperSpaceId().isNull());
    EXPECT_FALSE(db.layoutDictionaryId().isNull());
    AcDbLayerTable* layers = nullptr;
    ASSERT_EQ(db.getLayerTable(layers), Acad::eOk);
    EXPECT_TRUE(layers->has("0"));
    EXPECT_TRUE(layers->has("defpoints"));  // names ignore case
    layers->close();
    AcDbLinetypeTable* lt = nullptr;
    ASSERT_EQ(db.getLinetypeTable(lt), Acad::eOk);
    EXPECT_TRUE(lt->has("Continuous"));
    lt->close();
    AcDbTextStyleTable* st = nullptr;
    ASSERT_EQ(db.getTextStyleTable(st), Acad::eOk);
    EXPECT_TRUE(st->has("Standard"));
    st->close();
    AcDbBlockTableRecord* ms = nullptr;
    ASSERT_EQ(acdbOpenObject(ms, db.modelSpaceId(), AcDb::kForRead), Acad::eOk);
    EXPECT_TRUE(ms->isLayout());
    EXPECT_FALSE(ms->getLayoutId().isNull());
    EXPECT_STREQ(ms->isA()->name(), "AcDbBlockTableRecord");
    ms->close();
    // Every handle in use lies below the seed.
    EXPECT_GT(db.handseed().value(), db.modelSpaceId().handle().value());
}

TEST(DbDatabase, HandlesResolveAndUnknownHandlesGiveThirteen)
{
    AcDbDatabase db;
    AcDbObjectId id = addToModelSpace(db, new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0)));
    AcDbObjectId found;
    EXPECT_EQ(db.getAcDbObjectId(found, false, id.handle()), Acad::eOk);
    EXPECT_EQ(found, id);
    EXPECT_EQ(db.getAcDbObjectId(found, false, AcDbHandle("FFFFFF")), Acad::eUnknownHandle);
    EXPECT_TRUE(found.isNull());
    EXPECT_EQ(db.getAcDbObjectId(found, true, AcDbHandle("FFFFFF")), Acad::eOk);
    EXPECT_FALSE(found.isNull());
    // acdbHandEnt works on the working database.
    acdbSetWorkingDatabase(&db);
    int64_t name[2] = {0, 0};
    EXPECT_EQ(acdbHandEnt(id.handle().toString().c_str(), name), RTNORM);
    AcDbObjectId back;
    EXPECT_EQ(acdbGetObjectId(back, name), Acad::eOk);
    EXPECT_EQ(back, id);
    EXPECT_EQ(acdbHandEnt("ABCDEF0", name), RTERROR);
    acdbSetWorkingDatabase(nullptr);
}

TEST(DbDatabase, OpenCloseDiscipline)
{
    AcDbDatabase db;
    AcDbObjectId id = addToModelSpace(db, new AcDbCircle(AcGePoint3d(0, 0, 0), AcGeVector3d(0, 0, 1), 2.0));
    AcDbObject* a = nullptr;
    AcDbObject* b = nullptr;
    ASSERT_EQ(acdbOpenObject(a, id, AcDb::kForRead), Acad::eOk);
    ASSERT_EQ(acdbOpenObject(b, id, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(a, b);
    AcDbObject* w = nullptr;
    EXPECT_EQ(acdbOpenObject(w, id, AcDb::kForWrite), Acad::eWasOpenForRead);
    EXPECT_EQ(w, nullptr);
    EXPECT_EQ(a->upgradeOpen(), Acad::eWasOpenForRead);  // two readers
    EXPECT_EQ(b->close(), Acad::eOk);
    EXPECT_EQ(a->upgradeOpen(), Acad::eOk);
    EXPECT_EQ(acdbOpenObject(b, id, AcDb::kForRead), Acad::eWasOpenForWrite);
    EXPECT_EQ(acdbOpenObject(b, id, AcDb::kForWrite), Acad::eWasOpenForWrite);
    EXPECT_EQ(a->downgradeOpen(), Acad::eOk);
    EXPECT_EQ(a->close(), Acad::eOk);
    EXPECT_EQ(a->close(), Acad::eNotOpenForRead);

    ASSERT_EQ(acdbOpenObject(w, id, AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(w->erase(), Acad::eOk);
    EXPECT_EQ(w->close(), Acad::eOk);
    EXPECT_TRUE(id.isErased());
    EXPECT_EQ(acdbOpenObject(a, id, AcDb::kForRead), Acad::eWasErased);
    EXPECT_EQ(acdbOpenObject(a, id, AcDb::kForRead, true), Acad::eOk);
    a->close();
    EXPECT_EQ(acdbOpenObject(a, AcDbObjectId(), AcDb::kForRead), Acad::eNullObjectId);

    // Erasing needs a write open.
    AcDbObjectId other = addToModelSpace(db, new AcDbLine());
    ASSERT_EQ(acdbOpenObject(a, other, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(a->erase(), Acad::eNotOpenForWrite);
    a->close();
}

TEST(DbDatabase, EntitiesOnLockedLayersRefuseWriteOpens)
{
    AcDbDatabase db;
    addLayer(db, "FROZEN-ROOMS", true);
    auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(5, 0, 0));
    line->setLayer("FROZEN-ROOMS");
    AcDbObjectId id = addToModelSpace(db, line);  // appending is allowed
    AcDbEntity* e = nullptr;
    EXPECT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForWrite), Acad::eOnLockedLayer);
    ASSERT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(e->upgradeOpen(), Acad::eOnLockedLayer);
    e->close();
    // Unlock: now it opens.
    AcDbLayerTable* layers = nullptr;
    ASSERT_EQ(db.getLayerTable(layers), Acad::eOk);
    AcDbLayerTableRecord* rec = nullptr;
    ASSERT_EQ(layers->getAt("frozen-rooms", rec, AcDb::kForWrite), Acad::eOk);
    layers->close();
    rec->setIsLocked(false);
    rec->close();
    EXPECT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForWrite), Acad::eOk);
    e->close();
    // A non-entity refuses acdbOpenAcDbEntity.
    EXPECT_EQ(acdbOpenAcDbEntity(e, db.layerTableId(), AcDb::kForRead), Acad::eNotAnEntity);
}

TEST(DbDatabase, SymbolTableNamesAreUniqueIgnoringCase)
{
    AcDbDatabase db;
    addLayer(db, "ATT-NAME");
    AcDbLayerTable* layers = nullptr;
    ASSERT_EQ(db.getLayerTable(layers, AcDb::kForWrite), Acad::eOk);
    auto* dup = new AcDbLayerTableRecord();
    dup->setName("att-name");
    AcDbObjectId id;
    EXPECT_EQ(layers->add(id, dup), Acad::eDuplicateRecordName);
    EXPECT_TRUE(id.isNull());
    auto* bad = new AcDbLayerTableRecord();
    EXPECT_EQ(bad->setName("a<b"), Acad::eInvalidInput);
    EXPECT_EQ(layers->add(id, bad), Acad::eInvalidInput);  // no name
    delete bad;
    dup->setName("ATT-AREA");
    ASSERT_EQ(layers->add(id, dup), Acad::eOk);
    // Renaming onto a taken name is refused too.
    EXPECT_EQ(dup->setName("Att-Name"), Acad::eDuplicateRecordName);
    EXPECT_STREQ(dup->name().c_str(), "ATT-AREA");
    dup->close();
    // Wrong record kind for the table.
    auto* app = new AcDbRegAppTableRecord();
    app->setName("XYZ");
    EXPECT_EQ(layers->add(id, app), Acad::eInvalidInput);
    delete app;
    layers->close();
    // A table opened for read cannot add.
    ASSERT_EQ(db.getLayerTable(layers, AcDb::kForRead), Acad::eOk);
    auto* more = new AcDbLayerTableRecord();
    more->setName("MORE");
    EXPECT_EQ(layers->add(id, more), Acad::eNotOpenForWrite);
    delete more;
    // Iteration in order; the new layers come last.
    AcDbSymbolTableIterator* it = nullptr;
    ASSERT_EQ(layers->newIterator(it), Acad::eOk);
    std::vector<std::string> names;
    for (; !it->done(); it->step()) {
        AcDbSymbolTableRecord* r = nullptr;
        ASSERT_EQ(it->getRecord(r), Acad::eOk);
        names.push_back(r->name());
        r->close();
    }
    delete it;
    layers->close();
    ASSERT_GE(names.size(), 4u);
    EXPECT_EQ(names[names.size() - 2], "ATT-NAME");
    EXPECT_EQ(names.back(), "ATT-AREA");
}

TEST(DbDatabase, ExtendedDataPerApplication)
{
    AcDbDatabase db;
    AcDbObjectId id = addToModelSpace(db, new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)));
    AcDbObjectPointer<AcDbEntity> e(id, AcDb::kForWrite);
    ASSERT_EQ(e.openStatus(), Acad::eOk);
    double pt[3] = {1.5, 2.5, 3.5};
    resbuf* rb = acutBuildList(1001, "ADE", 1002, "{", 1000, "AREA=12.50sq.m.", 1040, 2.25, 1070, 7, 1071, 70000,
                               1010, pt, 1002, "}", 0);
    ASSERT_NE(rb, nullptr);
    EXPECT_EQ(e->setXData(rb), Acad::eRegappIdNotFound);
    EXPECT_EQ(acdbRegApp("ADE", &db), RTNORM);
    EXPECT_EQ(acdbRegApp("ade", &db), RTERROR);  // already there
    EXPECT_EQ(e->setXData(rb), Acad::eOk);
    acutRelRb(rb);
    acdbRegApp("OTHER", &db);
    resbuf* other = acutBuildList(1001, "OTHER", 1000, "keep me", 0);
    ASSERT_EQ(e->setXData(other), Acad::eOk);
    acutRelRb(other);

    resbuf* got = e->xData("ade");
    ASSERT_NE(got, nullptr);
    std::vector<int> codes;
    for (resbuf* p = got; p; p = p->rbnext)
        codes.push_back(p->restype);
    EXPECT_EQ(codes, (std::vector<int>{1001, 1002, 1000, 1040, 1070, 1071, 1010, 1002}));
    EXPECT_STREQ(got->resval.rstring, "ADE");
    EXPECT_STREQ(got->rbnext->rbnext->resval.rstring, "AREA=12.50sq.m.");
    EXPECT_EQ(got->rbnext->rbnext->rbnext->resval.rreal, 2.25);
    EXPECT_EQ(got->rbnext->rbnext->rbnext->rbnext->resval.rint, 7);
    EXPECT_EQ(got->rbnext->rbnext->rbnext->rbnext->rbnext->resval.rlong, 70000);
    EXPECT_EQ(got->rbnext->rbnext->rbnext->rbnext->rbnext->rbnext->resval.rpoint[2], 3.5);
    acutRelRb(got);

    // Replacing one application leaves the other alone; an empty one removes it.
    resbuf* replace = acutBuildList(1001, "ADE", 1000, "NAME=x", 0);
    ASSERT_EQ(e->setXData(replace), Acad::eOk);
    acutRelRb(replace);
    resbuf* all = e->xData();
    int apps = 0;
    for (resbuf* p = all; p; p = p->rbnext)
        apps += p->restype == 1001;
    EXPECT_EQ(apps, 2);
    acutRelRb(all);
    resbuf* remove = acutBuildList(1001, "ADE", 0);
    ASSERT_EQ(e->setXData(remove), Acad::eOk);
    acutRelRb(remove);
    EXPECT_EQ(e->xData("ADE"), nullptr);
    resbuf* kept = e->xData("OTHER");
    ASSERT_NE(kept, nullptr);
    EXPECT_STREQ(kept->rbnext->resval.rstring, "keep me");
    acutRelRb(kept);
    EXPECT_EQ(e->setXData(nullptr), Acad::eInvalidInput);
}

TEST(DbDatabase, ObjectPointerClosesOnEveryPath)
{
    AcDbDatabase db;
    AcDbObjectId id = addToModelSpace(db, new AcDbLine());
    {
        AcDbObjectPointer<AcDbLine> line(id, AcDb::kForWrite);
        ASSERT_EQ(line.openStatus(), Acad::eOk);
        line->setEndPoint(AcGePoint3d(3, 4, 0));
    }
    AcDbObjectPointer<AcDbLine> again(id, AcDb::kForWrite);
    EXPECT_EQ(again.openStatus(), Acad::eOk);
    EXPECT_DOUBLE_EQ(again->endPoint().y, 4.0);
    AcDbObjectPointer<AcDbCircle> wrongType(id, AcDb::kForRead);
    EXPECT_EQ(wrongType.openStatus(), Acad::eWasOpenForWrite);
    again.close();
    AcDbObjectPointer<AcDbCircle> wrongClass(id, AcDb::kForRead);
    EXPECT_EQ(wrongClass.openStatus(), Acad::eNotThatKindOfClass);
}

TEST(DbDatabase, ObjectsNeverAddedAreTheCallersToDelete)
{
    auto* line = new AcDbLine();
    EXPECT_EQ(line->close(), Acad::eNotInDatabase);
    EXPECT_TRUE(line->objectId().isNull());
    delete line;
    AcDbDatabase db;
    auto* circle = new AcDbCircle();
    addToModelSpace(db, circle);
    AcDbBlockTableRecord* ms = nullptr;
    ASSERT_EQ(acdbOpenObject(ms, db.modelSpaceId(), AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(ms->appendAcDbEntity(circle), Acad::eAlreadyInDb);
    EXPECT_EQ(ms->appendAcDbEntity(nullptr), Acad::eInvalidInput);
    ms->close();
}

TEST(DbDatabase, HeaderVariablesRoundTripThroughTheFile)
{
    auto dir = dxftest::tempDir("db-header");
    AcDbDatabase db;
    EXPECT_EQ(db.setInsunits(AcDb::kUnitsMillimeters), Acad::eOk);
    EXPECT_EQ(db.setLunits(4), Acad::eOk);
    EXPECT_EQ(db.setLunits(9), Acad::eInvalidInput);
    EXPECT_EQ(db.setSortEnts(127), Acad::eOk);
    EXPECT_EQ(db.setUcs(AcGePoint3d(10, 20, 0), AcGeVector3d(0, 1, 0), AcGeVector3d(-1, 0, 0)), Acad::eOk);
    EXPECT_EQ(db.setUcs(AcGePoint3d(), AcGeVector3d(1, 0, 0), AcGeVector3d(2, 0, 0)), Acad::eInvalidInput);
    AcDbObjectId layer = addLayer(db, "ROOMS");
    EXPECT_EQ(db.setClayer(layer), Acad::eOk);
    EXPECT_EQ(db.setClayer(db.modelSpaceId()), Acad::eInvalidInput);
    auto path = dir / "header.dxf";
    ASSERT_EQ(db.saveAs(path.c_str()), Acad::eOk) << db.lastError();

    AcDbDatabase back(false);
    ASSERT_EQ(back.readDxfFile(path.c_str()), Acad::eOk) << back.lastError();
    EXPECT_EQ(back.insunits(), AcDb::kUnitsMillimeters);
    EXPECT_EQ(back.lunits(), 4);
    EXPECT_EQ(back.ucsorg().x, 10.0);
    EXPECT_EQ(back.ucsxdir().y, 1.0);
    EXPECT_EQ(back.ucsydir().x, -1.0);
    EXPECT_EQ(back.clayer(), [&] {
        AcDbLayerTable* t = nullptr;
        back.getLayerTable(t);
        AcDbObjectId id;
        t->getAt("ROOMS", id);
        t->close();
        return id;
    }());
    // The seed is above every handle, including the new layer's.
    EXPECT_GT(back.handseed().value(), layer.handle().value());
    ZELKA_REQUIRE_EZDXF();
    auto r = dxftest::ezdxf(path, {"doc.header['$INSUNITS']", "doc.header['$LUNITS']", "doc.header['$CLAYER']",
                                   "int(doc.header['$HANDSEED'], 16) > " + std::to_string(layer.handle().value())});
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[0], "4");
    EXPECT_EQ(r[1], "4");
    EXPECT_EQ(r[2], "\"ROOMS\"");
    EXPECT_EQ(r[3], "true");
}

// The backup and the atomic replacement are checked through the program in
// SaveSafety and DrawingLock (tests/app); here the refusal of a missing folder.
TEST(DbDatabase, SavingIntoAMissingFolderNamesTheFile)
{
    auto dir = dxftest::tempDir("db-save");
    AcDbDatabase db;
    auto bad = dir / "missing" / "x.dxf";
    EXPECT_EQ(db.saveAs(bad.c_str()), Acad::eFileAccessErr);
    EXPECT_NE(db.lastError().find(bad.string()), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(bad.parent_path()));
}

TEST(DbDatabase, DictionariesAndExtensionDictionaries)
{
    AcDbDatabase db;
    AcDbDictionary* nod = nullptr;
    ASSERT_EQ(db.getNamedObjectsDictionary(nod, AcDb::kForWrite), Acad::eOk);
    EXPECT_TRUE(nod->has("ACAD_GROUP"));
    EXPECT_TRUE(nod->has("acad_layout"));
    auto* mine = new AcDbDictionary();
    AcDbObjectId id;
    ASSERT_EQ(nod->setAt("ZELKA_DATA", mine, id), Acad::eOk);
    mine->close();
    AcDbObjectId got;
    EXPECT_EQ(nod->getAt("zelka_data", got), Acad::eOk);
    EXPECT_EQ(got, id);
    EXPECT_EQ(nod->getAt("NOPE", got), Acad::eKeyNotFound);
    nod->close();

    AcDbObjectId line = addToModelSpace(db, new AcDbLine());
    AcDbObjectPointer<AcDbEntity> e(line, AcDb::kForWrite);
    EXPECT_TRUE(e->extensionDictionary().isNull());
    EXPECT_EQ(e->createExtensionDictionary(), Acad::eOk);
    EXPECT_EQ(e->createExtensionDictionary(), Acad::eAlreadyInDb);
    AcDbObjectPointer<AcDbDictionary> xd(e->extensionDictionary(), AcDb::kForRead);
    ASSERT_EQ(xd.openStatus(), Acad::eOk);
    EXPECT_TRUE(xd->isHardOwner());
    EXPECT_EQ(xd->ownerId(), line);
}

}  // namespace
