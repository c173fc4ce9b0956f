// Every entity codec, one case each: a record written the way other programs
// write it is read into the object's fields (checked against the numbers in
// the record), saved unchanged it is written back byte for byte, and after
// one edit through the public interface it is written back with only that
// value changed, in place.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "host/db/AcDbArc.h"
#include "host/db/AcDbCircle.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbEllipse.h"
#include "host/db/AcDbLine.h"
#include "host/db/AcDbMText.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbPolyline.h"
#include "host/db/AcDbSpline.h"
#include "host/db/AcDbText.h"
#include "host/dxf/DxfDefaultDrawing.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

struct CodecCase {
    const char* name;
    const char* record;         // the entity's tags, handle 1F0, in model space (17)
    std::function<void(AcDbEntity*)> check;  // the fields read
    std::function<void(AcDbEntity*)> edit;   // one change through the public interface
    const char* before;         // a run of lines of the record the edit changes ...
    const char* after;          // ... and what it must become
};

const CodecCase kCases[] = {
    {"LINE",
     "  0\nLINE\n  5\n1F0\n330\n17\n100\nAcDbEntity\n  8\nWalls\n100\nAcDbLine\n 10\n1.5\n 20\n2.0\n 30\n0.0\n"
     " 11\n4.25\n 21\n-3.0\n 31\n0.0\n",
     [](AcDbEntity* e) {
         auto* l = dynamic_cast<AcDbLine*>(e);
         ASSERT_NE(l, nullptr);
         EXPECT_EQ(l->startPoint(), AcGePoint3d(1.5, 2.0, 0.0));
         EXPECT_EQ(l->endPoint(), AcGePoint3d(4.25, -3.0, 0.0));
         EXPECT_STREQ(e->layer(), "Walls");
     },
     [](AcDbEntity* e) { dynamic_cast<AcDbLine*>(e)->setEndPoint(AcGePoint3d(5, -3, 0)); },
     " 11\n4.25\n 21\n-3.0\n", " 11\n5.0\n 21\n-3.0\n"},
    {"CIRCLE",
     "  0\nCIRCLE\n  5\n1F0\n330\n17\n100\nAcDbEntity\n  8\n0\n100\nAcDbCircle\n 10\n10.0\n 20\n20.0\n 30\n0.0\n"
     " 40\n2.5\n",
     [](AcDbEntity* e) {
         auto* c = dynamic_cast<AcDbCircle*>(e);
         ASSERT_NE(c, nullptr);
         EXPECT_EQ(c->center(), AcGePoint3d(10, 20, 0));
         EXPECT_DOUBLE_EQ(c->radius(), 2.5);
     },
     [](AcDbEntity* e) { dynamic_cast<AcDbCircle*>(e)->setRadius(3.75); }, " 40\n2.5\n", " 40\n3.75\n"},
    {"ARC",
     "  0\nARC\n  5\n1F0\n330\n17\n100\nAcDbEntity\n  8\n0\n100\nAcDbCircle\n 10\n1.0\n 20\n1.0\n 30\n0.0\n"
     " 40\n2.0\n100\nAcDbArc\n 50\n30.0\n 51\n120.0\n",
     [](AcDbEntity* e) {
         auto* a = dynamic_cast<AcDbArc*>(e);
         ASSERT_NE(a, nullptr);
         EXPECT_EQ(a->center(), AcGePoint3d(1, 1, 0));
         EXPECT_DOUBLE_EQ(a->radius(), 2.0);
         EXPECT_NEAR(a->startAngle(), kPi / 6, 1e-15);
         EXPECT_NEAR(a->endAngle(), 2 * kPi / 3, 1e-15);
     },
     [](AcDbEntity* e) { dynamic_cast<AcDbArc*>(e)->setEndAngle(kPi); }, " 51\n120.0\n", " 51\n180.0\n"},
    {"ELLIPSE",
     "  0\nELLIPSE\n  5\n1F0\n330\n17\n100\nAcDbEntity\n  8\n0\n100\nAcDbEllipse\n 10\n5.0\n 20\n5.0\n 30\n0.0\n"
     " 11\n4.0\n 21\n0.0\n 31\n0.0\n210\n0.0\n220\n0.0\n230\n1.0\n 40\n0.5\n 41\n0.0\n 42\n6.283185307179586\n",
     [](AcDbEntity* e) {
         auto* el = dynamic_cast<AcDbEllipse*>(e);
         ASSERT_NE(el, nullptr);
         EXPECT_EQ(el->center(), AcGePoint3d(5, 5, 0));
         EXPECT_EQ(el->majorAxis(), AcGeVector3d(4, 0, 0));
         EXPECT_DOUBLE_EQ(el->radiusRatio(), 0.5);
         EXPECT_DOUBLE_EQ(el->endParam(), 2 * kPi);
         // Quarter way round: the end of the minor axis, 0.5 * 4 above the centre.
         const AcGePoint3d top = el->pointAtParam(kPi / 2);
         EXPECT_NEAR(top.x, 5.0, 1e-12);
         EXPECT_NEAR(top.y, 7.0, 1e-12);
     },
     [](AcDbEntity* e) { dynamic_cast<AcDbEllipse*>(e)->setRadiusRatio(0.25); }, " 40\n0.5\n", " 40\n0.25\n"},
    {"SPLINE",
     "  0\nSPLINE\n  5\n1F0\n330\n17\n100\nAcDbEntity\n  8\n0\n100\nAcDbSpline\n210\n0.0\n220\n0.0\n230\n1.0\n"
     " 70\n8\n 71\n2\n 72\n6\n 73\n3\n 74\n0\n 42\n1e-10\n 43\n1e-10\n"
     " 40\n0.0\n 40\n0.0\n 40\n0.0\n 40\n1.0\n 40\n1.0\n 40\n1.0\n"
     " 10\n0.0\n 20\n0.0\n 30\n0.0\n 10\n1.0\n 20\n2.0\n 30\n0.0\n 10\n2.0\n 20\n0.0\n 30\n0.0\n",
     [](AcDbEntity* e) {
         auto* s = dynamic_cast<AcDbSpline*>(e);
         ASSERT_NE(s, nullptr);
         EXPECT_EQ(s->degree(), 2);
         ASSERT_EQ(s->numControlPoints(), 3);
         EXPECT_EQ(s->controlPointAt(1), AcGePoint3d(1, 2, 0));
         ASSERT_TRUE(s->hasValidControlData());
         // A quadratic Bezier: at u = 0.5 it is (P0 + 2 P1 + P2) / 4 = (1, 1).
         const AcGePoint3d mid = s->evaluate(0.5);
         EXPECT_NEAR(mid.x, 1.0, 1e-12);
         EXPECT_NEAR(mid.y, 1.0, 1e-12);
     },
     [](AcDbEntity* e) { dynamic_cast<AcDbSpline*>(e)->setControlPointAt(1, AcGePoint3d(1, 3, 0)); },
     " 10\n1.0\n 20\n2.0\n", " 10\n1.0\n 20\n3.0\n"},
    {"LWPOLYLINE",
     "  0\nLWPOLYLINE\n  5\n1F0\n330\n17\n100\nAcDbEntity\n  8\n0\n100\nAcDbPolyline\n 90\n3\n 70\n1\n 43\n0.0\n"
     " 10\n0.0\n 20\n0.0\n 10\n4.0\n 20\n0.0\n 42\n0.5\n 10\n4.0\n 20\n3.0\n",
     [](AcDbEntity* e) {
         auto* p = dynamic_cast<AcDbPolyline*>(e);
         ASSERT_NE(p, nullptr);
         EXPECT_EQ(p->numVerts(), 3u);
         EXPECT_TRUE(p->isClosed());
         double bulge = 0;
         p->getBulgeAt(1, bulge);
         EXPECT_DOUBLE_EQ(bulge, 0.5);
     },
     [](AcDbEntity* e) { dynamic_cast<AcDbPolyline*>(e)->setPointAt(2, AcGePoint2d(4, 3.5)); }, " 20\n3.0\n",
     " 20\n3.5\n"},
    {"MTEXT",
     "  0\nMTEXT\n  5\n1F0\n330\n17\n100\nAcDbEntity\n  8\n0\n100\nAcDbMText\n 10\n4.0\n 20\n5.0\n 30\n0.0\n"
     " 40\n2.0\n 41\n20.0\n 71\n5\n 72\n1\n  1\nRoom\\P{\\H0.5x;101}\n  7\nStandard\n 50\n45.0\n 44\n1.5\n",
     [](AcDbEntity* e) {
         auto* m = dynamic_cast<AcDbMText*>(e);
         ASSERT_NE(m, nullptr);
         EXPECT_EQ(m->location(), AcGePoint3d(4, 5, 0));
         EXPECT_DOUBLE_EQ(m->textHeight(), 2.0);
         EXPECT_DOUBLE_EQ(m->width(), 20.0);
         EXPECT_EQ(m->attachment(), AcDbMText::kMiddleCenter);
         EXPECT_NEAR(m->rotation(), kPi / 4, 1e-15);
         EXPECT_DOUBLE_EQ(m->lineSpacingFactor(), 1.5);
         EXPECT_STREQ(m->contents(), "Room\\P{\\H0.5x;101}");
         EXPECT_EQ(m->text(), "Room\n101");
     },
     [](AcDbEntity* e) { dynamic_cast<AcDbMText*>(e)->setRotation(kPi / 2); }, " 50\n45.0\n", " 50\n90.0\n"},
    {"TEXT",
     "  0\nTEXT\n  5\n1F0\n330\n17\n100\nAcDbEntity\n  8\n0\n100\nAcDbText\n 10\n1.0\n 20\n2.0\n 30\n0.0\n"
     " 40\n0.35\n  1\nRoom 101\n 50\n90.0\n100\nAcDbText\n",
     [](AcDbEntity* e) {
         auto* t = dynamic_cast<AcDbText*>(e);
         ASSERT_NE(t, nullptr);
         EXPECT_STREQ(t->textString(), "Room 101");
         EXPECT_DOUBLE_EQ(t->height(), 0.35);
         EXPECT_NEAR(t->rotation(), kPi / 2, 1e-15);
     },
     [](AcDbEntity* e) { dynamic_cast<AcDbText*>(e)->setTextString("Room 102"); }, "  1\nRoom 101\n", "  1\nRoom 102\n"},
};

// The drawing of a new database with the record added to its entities.
std::string drawingWith(const std::string& record)
{
    std::string text = DxfDefaultDrawing::text();
    const std::string entities = "  2\nENTITIES\n";
    const size_t at = text.find(entities);
    EXPECT_NE(at, std::string::npos);
    text.insert(at + entities.size(), record);
    return text;
}

// The record of handle 1F0 in a written drawing: from its 0 tag to the next.
std::string recordIn(const std::string& text, const char* type)
{
    const size_t start = text.find(std::string("  0\n") + type + "\n  5\n1F0\n");
    if (start == std::string::npos)
        return "";
    const size_t end = text.find("\n  0\n", start + 1);
    return text.substr(start, end + 1 - start);
}

AcDbObjectId entityOf(AcDbDatabase& db)
{
    AcDbObjectId id;
    EXPECT_EQ(db.getAcDbObjectId(id, false, AcDbHandle(0x1F0)), Acad::eOk);
    return id;
}

}  // namespace

TEST(DxfCodec, EachEntityReadsSavesUnchangedAndWritesOneEditInPlace)
{
    for (const CodecCase& c : kCases) {
        SCOPED_TRACE(c.name);
        AcDbDatabase db(false);
        ASSERT_EQ(db.readDxfText(drawingWith(c.record), c.name), Acad::eOk) << db.lastError();
        const AcDbObjectId id = entityOf(db);
        {
            AcDbObjectPointer<AcDbEntity> e(id, AcDb::kForRead);
            ASSERT_EQ(e.openStatus(), Acad::eOk);
            c.check(e.object());
        }
        std::string out;
        ASSERT_EQ(db.writeDxfText(out), Acad::eOk);
        EXPECT_EQ(recordIn(out, c.name), c.record);
        {
            AcDbObjectPointer<AcDbEntity> e(id, AcDb::kForWrite);
            ASSERT_EQ(e.openStatus(), Acad::eOk);
            c.edit(e.object());
        }
        ASSERT_EQ(db.writeDxfText(out), Acad::eOk);
        std::string expected = c.record;
        const size_t at = expected.find(c.before);
        ASSERT_NE(at, std::string::npos);
        expected.replace(at, std::string(c.before).size(), c.after);
        EXPECT_EQ(recordIn(out, c.name), expected);
    }
}

// The vertex count a polyline's record gives is only a hint for the list:
// the vertices are those the record holds, whatever it says, and a count
// far above them (one a careless writer or a damaged file gives) reads the
// same and is saved as it stands.
TEST(DxfCodec, PolylineVerticesAreThoseReadWhateverTheCountSays)
{
    const std::string vertices = " 10\n0.0\n 20\n0.0\n 10\n4.0\n 20\n0.0\n 10\n4.0\n 20\n3.0\n";
    for (const char* count : {"3", "1", "0", "2000000000", "-5", "9223372036854775807"}) {
        SCOPED_TRACE(count);
        const std::string record = std::string("  0\nLWPOLYLINE\n  5\n1F0\n330\n17\n100\nAcDbEntity\n  8\n0\n") +
                                   "100\nAcDbPolyline\n 90\n" + count + "\n 70\n1\n" + vertices;
        AcDbDatabase db(false);
        ASSERT_EQ(db.readDxfText(drawingWith(record), "count.dxf"), Acad::eOk) << db.lastError();
        AcDbObjectPointer<AcDbPolyline> p(entityOf(db), AcDb::kForRead);
        ASSERT_EQ(p.openStatus(), Acad::eOk);
        ASSERT_EQ(p->numVerts(), 3u);
        AcGePoint2d last;
        ASSERT_EQ(p->getPointAt(2, last), Acad::eOk);
        EXPECT_EQ(last, AcGePoint2d(4, 3));
        p.close();
        std::string out;
        ASSERT_EQ(db.writeDxfText(out), Acad::eOk);
        EXPECT_EQ(recordIn(out, "LWPOLYLINE"), record);
    }
}
