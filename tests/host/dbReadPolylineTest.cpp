// acdbReadPolyline copies a polyline into one of the caller's as opening it
// for read gives it. One nobody has opened is read from its record: however
// a program wrote the record, the copy has the geometry opening gives and
// measures the same, and the polyline stays unbuilt. A built one is copied
// from the object, never from lines that no longer stand for it; one that
// cannot be opened gives the error opening it gives.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbPolyline.h"
#include "host/db/AcDbStub.h"
#include "tests/host/dxfTestSupport.h"

namespace {

// The small room drawing: ROOM-1's definition holds the LWPOLYLINE of
// handle 27, the drawing a LINE of handle 35.
std::string tinyRoom() { return dxftest::readFile(dxftest::sourceDir() / "fuzz/corpus/tiny_room_AC1015.dxf"); }

const std::string kOutline =
    "  0\nLWPOLYLINE\n  5\n27\n330\n20\n100\nAcDbEntity\n  8\n0\n100\nAcDbPolyline\n 90\n4\n 70\n1\n"
    " 10\n0.0\n 20\n0.0\n 10\n4000.0\n 20\n0.0\n 42\n0.5\n 10\n4000.0\n 20\n3000.0\n 10\n0.0\n 20\n3000.0\n";

std::string withOutline(const std::string& record)
{
    std::string text = tinyRoom();
    const size_t at = text.find(kOutline);
    EXPECT_NE(at, std::string::npos);
    if (at != std::string::npos)
        text.replace(at, kOutline.size(), record);
    return text;
}

AcDbObjectId idOf(AcDbDatabase& db, const char* handle)
{
    AcDbObjectId id;
    EXPECT_EQ(db.getAcDbObjectId(id, false, AcDbHandle(handle)), Acad::eOk) << handle;
    return id;
}

double lengthOf(const AcDbPolyline& p)
{
    double end = 0.0, length = -1.0;
    EXPECT_EQ(p.getEndParam(end), Acad::eOk);
    EXPECT_EQ(p.getDistAtParam(end, length), Acad::eOk);
    return length;
}

// Field for field, and the measures, exactly as the opened polyline has them.
void expectSameAsOpened(const AcDbPolyline& peeked, AcDbObjectId id, const std::string& what)
{
    AcDbObjectPointer<AcDbPolyline> opened(id, AcDb::kForRead);
    ASSERT_TRUE(opened) << what;
    ASSERT_EQ(peeked.numVerts(), opened->numVerts()) << what;
    for (unsigned i = 0; i < peeked.numVerts(); ++i) {
        const AcDbPolyline::Vertex& a = peeked.vertices()[i];
        const AcDbPolyline::Vertex& b = opened->vertices()[i];
        EXPECT_EQ(a.point.x, b.point.x) << what << " vertex " << i;
        EXPECT_EQ(a.point.y, b.point.y) << what << " vertex " << i;
        EXPECT_EQ(a.bulge, b.bulge) << what << " vertex " << i;
        EXPECT_EQ(a.startWidth, b.startWidth) << what << " vertex " << i;
        EXPECT_EQ(a.endWidth, b.endWidth) << what << " vertex " << i;
    }
    EXPECT_EQ(peeked.isClosed(), opened->isClosed()) << what;
    EXPECT_EQ(peeked.elevation(), opened->elevation()) << what;
    EXPECT_EQ(peeked.thickness(), opened->thickness()) << what;
    EXPECT_TRUE(peeked.normal() == opened->normal()) << what;
    double w1 = -1.0, w2 = -2.0;
    peeked.getConstantWidth(w1);
    opened->getConstantWidth(w2);
    EXPECT_EQ(w1, w2) << what;
    double a1 = -1.0, a2 = -2.0;
    peeked.getArea(a1);
    opened->getArea(a2);
    EXPECT_EQ(a1, a2) << what;
    EXPECT_EQ(lengthOf(peeked), lengthOf(*opened)) << what;
}

}  // namespace

TEST(ReadPolyline, GivesWhatOpeningGivesHoweverTheRecordIsWritten)
{
    std::string crlf;
    for (char c : tinyRoom())
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const std::string head = "  0\nLWPOLYLINE\n  5\n27\n330\n20\n100\nAcDbEntity\n  8\n0\n100\nAcDbPolyline\n";
    struct Form {
        const char* what;
        std::string text;
        unsigned vertices;
    };
    const Form forms[] = {
        {"as written", tinyRoom(), 4},
        {"with CR LF line ends", crlf, 4},
        {"widths, constant width, elevation, thickness, a downward normal",
         withOutline(head + " 90\n3\n 70\n0\n 43\n5.0\n 38\n12.5\n 39\n2.0\n 10\n0.0\n 20\n0.0\n 40\n1.0\n 41\n2.0\n"
                            " 10\n10.0\n 20\n0.0\n 42\n-1.0\n 10\n10.0\n 20\n10.0\n210\n0.0\n220\n0.0\n230\n-1.0\n"),
         3},
        {"vertex identifiers, as newer versions write them",
         withOutline(head + " 90\n3\n 70\n129\n 10\n0.0\n 20\n0.0\n 91\n1\n 10\n6.0\n 20\n0.0\n 91\n2\n"
                            " 10\n0.0\n 20\n8.0\n 91\n3\n"),
         3},
        {"codes of one column and with leading zeros, padded and signed values",
         withOutline(head + "90\n3\n70\n1\n10\n  0.0\n020\n+0.0\n  10\n 1.5E+01\n 20\n0.0\n10\n-0.0\n20\n2.0e1  \n"),
         3},
        {"no vertex count, and points in the extended data after it",
         withOutline(head + " 70\n1\n 10\n0.0\n 20\n0.0\n 10\n3.0\n 20\n0.0\n 10\n3.0\n 20\n4.0\n"
                            "1001\nACAD\n1010\n99.0\n1020\n99.0\n1030\n0.0\n"),
         3},
        {"a vertex count larger than the vertices given",
         withOutline(head + " 90\n1000000\n 70\n1\n 10\n1.0\n 20\n1.0\n 10\n2.0\n 20\n1.0\n"), 2},
    };
    for (const Form& form : forms) {
        AcDbDatabase db(false);
        ASSERT_EQ(db.readDxfText(form.text, "room.dxf"), Acad::eOk) << form.what << ": " << db.lastError();
        const AcDbObjectId id = idOf(db, "27");
        AcDbPolyline peeked;
        ASSERT_EQ(acdbReadPolyline(id, peeked), Acad::eOk) << form.what;
        EXPECT_EQ(peeked.numVerts(), form.vertices) << form.what;
        EXPECT_EQ(id.stub()->object, nullptr) << form.what << ": read from its record, not built";
        expectSameAsOpened(peeked, id, form.what);
    }
}

TEST(ReadPolyline, MeasuresTheRecordOfTheFile)
{
    // The room's outline: 4000 by 3000, its right edge an arc of bulge 0.5
    // bowing outwards. An arc of bulge b on a chord c has the radius
    // c (1 + b^2) / (4 b) and takes in 4 atan(b); the segment beyond the chord
    // has the area r^2 (t - sin t) / 2 and the arc the length r t.
    AcDbDatabase db(false);
    ASSERT_EQ(db.readDxfText(tinyRoom(), "room.dxf"), Acad::eOk) << db.lastError();
    AcDbPolyline peeked;
    ASSERT_EQ(acdbReadPolyline(idOf(db, "27"), peeked), Acad::eOk);
    const double b = 0.5, c = 3000.0;
    const double r = c * (1 + b * b) / (4 * b), t = 4 * std::atan(b);
    double area = 0.0;
    peeked.getArea(area);
    EXPECT_NEAR(area, 4000.0 * 3000.0 + r * r * (t - std::sin(t)) / 2, 1e-6);
    EXPECT_NEAR(lengthOf(peeked), 4000.0 + 4000.0 + 3000.0 + r * t, 1e-9);
}

TEST(ReadPolyline, CopiesABuiltOneAndFailsAsOpeningDoes)
{
    AcDbDatabase db(false);
    ASSERT_EQ(db.readDxfText(tinyRoom(), "room.dxf"), Acad::eOk) << db.lastError();
    const AcDbObjectId id = idOf(db, "27");

    AcDbPolyline out;
    EXPECT_EQ(acdbReadPolyline(AcDbObjectId::kNull, out), Acad::eNullObjectId);
    EXPECT_EQ(acdbReadPolyline(idOf(db, "35"), out), Acad::eNotThatKindOfClass) << "a LINE";
    EXPECT_EQ(out.numVerts(), 0u) << "left untouched";
    {
        AcDbPolyline used;
        ASSERT_EQ(acdbReadPolyline(id, used), Acad::eOk);
        EXPECT_EQ(acdbReadPolyline(id, used), Acad::eInvalidInput) << "a polyline with vertices";
        EXPECT_EQ(used.numVerts(), 4u);
    }
    {
        // Open for write, it may be changing: reading fails as opening it
        // for read does.
        AcDbObjectPointer<AcDbPolyline> open(id, AcDb::kForWrite);
        ASSERT_TRUE(open);
        ASSERT_EQ(open->setPointAt(0, AcGePoint2d(-100.0, -50.0)), Acad::eOk);
        AcDbObjectPointer<AcDbPolyline> again(id, AcDb::kForRead);
        EXPECT_NE(again.openStatus(), Acad::eOk);
        EXPECT_EQ(acdbReadPolyline(id, out), again.openStatus());
        EXPECT_EQ(out.numVerts(), 0u);
    }
    // Closed but still built, the copy is the changed object's.
    ASSERT_NE(id.stub()->object, nullptr);
    {
        AcDbPolyline changed;
        ASSERT_EQ(acdbReadPolyline(id, changed), Acad::eOk);
        EXPECT_EQ(changed.vertices()[0].point.x, -100.0);
        expectSameAsOpened(changed, id, "changed, built");
    }
    // Freed some hundreds of closes later, its lines are those of the change.
    for (int i = 0; i < 1000 && id.stub()->object; ++i)
        AcDbObjectPointer<AcDbEntity> other(idOf(db, "35"), AcDb::kForRead);
    ASSERT_EQ(id.stub()->object, nullptr);
    {
        AcDbPolyline changed;
        ASSERT_EQ(acdbReadPolyline(id, changed), Acad::eOk);
        EXPECT_EQ(id.stub()->object, nullptr);
        ASSERT_EQ(changed.numVerts(), 4u);
        EXPECT_EQ(changed.vertices()[0].point.x, -100.0);
        EXPECT_EQ(changed.vertices()[0].point.y, -50.0);
        expectSameAsOpened(changed, id, "changed, freed");
    }
    {
        AcDbObjectPointer<AcDbPolyline> open(id, AcDb::kForWrite);
        ASSERT_TRUE(open);
        ASSERT_EQ(open->erase(), Acad::eOk);
    }
    AcDbPolyline erased;
    EXPECT_EQ(acdbReadPolyline(id, erased), Acad::eWasErased);
    EXPECT_EQ(erased.numVerts(), 0u);
}
