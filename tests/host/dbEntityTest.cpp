// Entities through the database: polylines with bulges, a text edited in a
// code-page file, references erased with their attributes, transforms;
// numbers against hand computations.
#include <gtest/gtest.h>

#include <cmath>

#include "host/db/AcDbAttribute.h"
#include "host/db/AcDbAttributeDefinition.h"
#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbBlockTableRecordIterator.h"
#include "host/db/AcDbCircle.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbOpen.h"
#include "host/db/AcDbPolyline.h"
#include "host/db/AcDbText.h"
#include "tests/host/dxfTestSupport.h"
#include "tests/common/TestRequirements.h"

namespace {

constexpr double kPi = 3.141592653589793;

AcDbObjectId append(AcDbDatabase& db, AcDbObjectId space, AcDbEntity* e)
{
    AcDbBlockTableRecord* rec = nullptr;
    EXPECT_EQ(acdbOpenObject(rec, space, AcDb::kForWrite), Acad::eOk);
    AcDbObjectId id;
    EXPECT_EQ(rec->appendAcDbEntity(id, e), Acad::eOk);
    e->close();
    rec->close();
    return id;
}

// A ROOM block: a 4000 x 3000 outline with a semicircular bulge on its
// right side, and NAME/AREA attribute definitions.
AcDbObjectId makeRoomBlock(AcDbDatabase& db)
{
    AcDbBlockTable* bt = nullptr;
    EXPECT_EQ(db.getBlockTable(bt, AcDb::kForWrite), Acad::eOk);
    auto* rec = new AcDbBlockTableRecord();
    rec->setName("ROOM-1");
    AcDbObjectId id;
    EXPECT_EQ(bt->add(id, rec), Acad::eOk);
    bt->close();
    rec->close();
    auto* pl = new AcDbPolyline();
    pl->addVertexAt(0, AcGePoint2d(0, 0));
    pl->addVertexAt(1, AcGePoint2d(4000, 0), 1.0);  // semicircle out to x = 5500
    pl->addVertexAt(2, AcGePoint2d(4000, 3000));
    pl->addVertexAt(3, AcGePoint2d(0, 3000));
    pl->setClosed(true);
    append(db, id, pl);
    auto* name = new AcDbAttributeDefinition(AcGePoint3d(0, 375, 0), "DEFAULT NAME", "NAME", "Enter Name");
    name->setHeight(250);
    append(db, id, name);
    auto* area = new AcDbAttributeDefinition(AcGePoint3d(0, 0, 0), "DEFAULT AREA", "AREA", "Enter Area");
    area->setHeight(250);
    append(db, id, area);
    return id;
}

// Inserts the block with one attribute per definition, as a space block is made.
AcDbObjectId insertRoom(AcDbDatabase& db, AcDbObjectId block, const AcGePoint3d& at, double rotation)
{
    auto* ref = new AcDbBlockReference(at, block);
    ref->setRotation(rotation);
    AcDbObjectId refId = append(db, db.modelSpaceId(), ref);
    AcDbObjectPointer<AcDbBlockReference> r(refId, AcDb::kForWrite);
    AcDbObjectPointer<AcDbBlockTableRecord> def(block, AcDb::kForRead);
    for (const AcDbObjectId& id : def->entityIds()) {
        AcDbObjectPointer<AcDbAttributeDefinition> ad(id, AcDb::kForRead);
        if (ad.openStatus() != Acad::eOk)
            continue;
        auto* att = new AcDbAttribute();
        EXPECT_EQ(att->setAttributeFromBlock(ad.object(), r->blockTransform()), Acad::eOk);
        att->setTextString(std::string(ad->tag()) == "NAME" ? "Office 1" : "12.00sq.m.");
        AcDbObjectId attId;
        EXPECT_EQ(r->appendAttribute(attId, att), Acad::eOk);
        att->close();
    }
    return refId;
}

TEST(DbEntity, PolylineMeasuresArcsAndClosingSegment)
{
    AcDbDatabase db;
    AcDbObjectId block = makeRoomBlock(db);
    AcDbObjectPointer<AcDbBlockTableRecord> def(block, AcDb::kForRead);
    AcDbObjectPointer<AcDbPolyline> pl(def->entityIds().front(), AcDb::kForRead);
    ASSERT_EQ(pl.openStatus(), Acad::eOk);
    double area = 0;
    ASSERT_EQ(pl->getArea(area), Acad::eOk);
    // Rectangle 4000 x 3000 plus a half disc of radius 1500.
    EXPECT_NEAR(area, 4000.0 * 3000.0 + kPi * 1500.0 * 1500.0 / 2.0, 1e-6);
    double end = 0, length = 0;
    ASSERT_EQ(pl->getEndParam(end), Acad::eOk);
    EXPECT_EQ(end, 4.0);
    ASSERT_EQ(pl->getDistAtParam(end, length), Acad::eOk);
    EXPECT_NEAR(length, 4000.0 + kPi * 1500.0 + 4000.0 + 3000.0, 1e-6);
    double half = 0;
    ASSERT_EQ(pl->getDistAtParam(1.5, half), Acad::eOk);
    EXPECT_NEAR(half, 4000.0 + kPi * 1500.0 / 2.0, 1e-6);
    EXPECT_EQ(pl->getDistAtParam(4.5, half), Acad::eInvalidInput);
    AcDbExtents ext;
    ASSERT_EQ(pl->getGeomExtents(ext), Acad::eOk);
    EXPECT_NEAR(ext.maxPoint().x, 5500.0, 1e-6);
    EXPECT_NEAR(ext.maxPoint().y, 3000.0, 1e-6);
    double b = 0;
    EXPECT_EQ(pl->getBulgeAt(1, b), Acad::eOk);
    EXPECT_EQ(b, 1.0);
    EXPECT_EQ(pl->getBulgeAt(9, b), Acad::eInvalidIndex);
}

TEST(DbEntity, PolylineMeasuresManyVerticesAsFew)
{
    // Regular polygons on a circle of radius 10, with fewer, as many and more
    // vertices than the measures convert in place: n triangles of area
    // r^2 sin(2 pi / n) / 2 and n sides of 2 r sin(pi / n).
    const double r = 10.0;
    for (const unsigned n : {3u, 31u, 32u, 33u, 200u}) {
        AcDbPolyline pl;
        for (unsigned i = 0; i < n; ++i) {
            const double t = 2 * kPi * i / n;
            ASSERT_EQ(pl.addVertexAt(i, AcGePoint2d(r * std::cos(t), r * std::sin(t))), Acad::eOk);
        }
        pl.setClosed(true);
        double area = 0, end = 0, length = 0;
        ASSERT_EQ(pl.getArea(area), Acad::eOk);
        EXPECT_NEAR(area, n * r * r * std::sin(2 * kPi / n) / 2, 1e-9) << n << " vertices";
        ASSERT_EQ(pl.getEndParam(end), Acad::eOk);
        ASSERT_EQ(pl.getDistAtParam(end, length), Acad::eOk);
        EXPECT_NEAR(length, n * 2 * r * std::sin(kPi / n), 1e-9) << n << " vertices";
        EXPECT_NEAR(pl.length(), length, 1e-9) << n << " vertices";
        AcDbExtents ext;
        ASSERT_EQ(pl.getGeomExtents(ext), Acad::eOk);
        EXPECT_NEAR(ext.maxPoint().x, r, 1e-9) << n << " vertices";
    }
}

TEST(DbEntity, ChangingOneValueChangesOnlyItsTag)
{
    auto src = dxftest::sourceDir() / "tests/data/dxf/real/ezdxf_cp1252_attribs_AC1015.dxf";
    ASSERT_TRUE(std::filesystem::exists(src)) << src << " is missing from the source tree";
    AcDbDatabase db(false);
    ASSERT_EQ(db.readDxfFile(src.c_str()), Acad::eOk) << db.lastError();
    AcDbObjectId textId;
    AcDbObjectPointer<AcDbBlockTableRecord> ms(db.modelSpaceId(), AcDb::kForRead);
    for (const AcDbObjectId& id : ms->entityIds())
        if (std::string(id.objectClass()->name()) == "AcDbText")
            textId = id;
    ms.close();
    ASSERT_FALSE(textId.isNull());
    std::string before;
    {
        AcDbObjectPointer<AcDbText> t(textId, AcDb::kForWrite);
        before = t->textString();
        EXPECT_NE(before.find("ü"), std::string::npos);  // decoded from cp1252
        t->setTextString("Büro Δ");
    }
    std::string out;
    ASSERT_EQ(db.writeDxfText(out), Acad::eOk);
    auto a = dxftest::tagStream(dxftest::readFile(src));
    auto b = dxftest::tagStream(out);
    ASSERT_EQ(a.size(), b.size());
    std::vector<size_t> diffs;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i])
            diffs.push_back(i);
    ASSERT_EQ(diffs.size(), 1u);
    EXPECT_EQ(b[diffs[0]].first, 1);
    EXPECT_EQ(b[diffs[0]].second, "B\xFCro \\U+0394");  // cp1252 byte and an escape
}

TEST(DbEntity, ErasedEntitiesAndTheirAttributesAreNotWritten)
{
    AcDbDatabase db;
    AcDbObjectId block = makeRoomBlock(db);
    AcDbObjectId keep = insertRoom(db, block, AcGePoint3d(0, 0, 0), 0);
    AcDbObjectId gone = insertRoom(db, block, AcGePoint3d(9000, 0, 0), 0);
    {
        AcDbObjectPointer<AcDbBlockReference> r(gone, AcDb::kForWrite);
        ASSERT_EQ(r->erase(), Acad::eOk);
    }
    std::string out;
    db.writeDxfText(out);
    auto tags = dxftest::tagStream(out);
    int inserts = 0, attribs = 0, seqends = 0;
    for (auto& [c, v] : tags) {
        inserts += c == 0 && v == "INSERT";
        attribs += c == 0 && v == "ATTRIB";
        seqends += c == 0 && v == "SEQEND";
    }
    EXPECT_EQ(inserts, 1);
    EXPECT_EQ(attribs, 2);
    EXPECT_EQ(seqends, 1);
    EXPECT_FALSE(keep.isErased());
}

TEST(DbEntity, TransformsFollowTheMatrix)
{
    AcDbPolyline pl;
    pl.addVertexAt(0, AcGePoint2d(0, 0), 0.5);
    pl.addVertexAt(1, AcGePoint2d(10, 0));
    pl.addVertexAt(2, AcGePoint2d(10, 5));
    double before = 0, after = 0;
    pl.getArea(before);
    ASSERT_EQ(pl.transformBy(AcGeMatrix3d::scaling(2.0)), Acad::eOk);
    pl.getArea(after);
    EXPECT_NEAR(after, 4.0 * before, 1e-9);
    // A mirror keeps the +Z normal and turns the bulges.
    ASSERT_EQ(pl.transformBy(AcGeMatrix3d::mirroring(AcGePoint3d(0, 0, 0), AcGeVector3d(1, 0, 0))), Acad::eOk);
    double b = 0;
    pl.getBulgeAt(0, b);
    EXPECT_EQ(b, -0.5);
    EXPECT_EQ(pl.normal().z, 1.0);
    AcGePoint2d p;
    pl.getPointAt(1, p);
    EXPECT_NEAR(p.x, -20.0, 1e-12);
    pl.getArea(after);
    EXPECT_NEAR(after, 4.0 * before, 1e-9);

    AcDbCircle c(AcGePoint3d(1, 1, 0), AcGeVector3d(0, 0, 1), 2.0);
    ASSERT_EQ(c.transformBy(AcGeMatrix3d::scaling(3.0, AcGePoint3d(0, 0, 0))), Acad::eOk);
    EXPECT_NEAR(c.radius(), 6.0, 1e-12);
    EXPECT_NEAR(c.center().x, 3.0, 1e-12);
    EXPECT_EQ(c.transformBy(AcGeMatrix3d::scaling(AcGeScale3d(1, 2, 1))), Acad::eCannotScaleNonUniformly);
}

}  // namespace
