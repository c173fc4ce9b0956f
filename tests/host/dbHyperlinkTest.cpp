// Entity hyperlinks through the protocol extension: the PE_URL extended data
// as CAD programs write it, read and written, checked with ezdxf.
#include <gtest/gtest.h>

#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbBlockTableRecordIterator.h"
#include "host/db/AcDbCircle.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbEntityHyperlinkPE.h"
#include "host/db/AcDbOpen.h"
#include "host/db/resbuf.h"
#include "tests/host/dxfTestSupport.h"
#include "tests/common/TestRequirements.h"

namespace {

AcDbObjectId appendCircle(AcDbDatabase& db, AcDbCircle*& circle)
{
    AcDbBlockTableRecord* rec = nullptr;
    EXPECT_EQ(acdbOpenObject(rec, db.modelSpaceId(), AcDb::kForWrite), Acad::eOk);
    circle = new AcDbCircle(AcGePoint3d(1, 2, 0), AcGeVector3d(0, 0, 1), 3);
    AcDbObjectId id;
    EXPECT_EQ(rec->appendAcDbEntity(id, circle), Acad::eOk);
    rec->close();
    return id;
}

std::vector<std::string> links(const AcDbObject* o)
{
    AcDbHyperlinkCollection* c = nullptr;
    EXPECT_EQ(AcDbEntityHyperlinkPE::cast(o)->getHyperlinkCollection(o, c), Acad::eOk);
    std::vector<std::string> out;
    for (int i = 0; i < c->count(); ++i)
        out.push_back(std::string(c->item(i)->name()) + "|" + c->item(i)->description() + "|" + c->item(i)->subLocation() + "|" +
                      std::to_string(c->item(i)->flag()));
    delete c;
    return out;
}

}  // namespace

TEST(Hyperlink, WrittenAsPeUrlAndReadBack)
{
    auto dir = dxftest::tempDir("hyperlink");
    const auto path = (dir / "links.dxf").string();
    {
        AcDbDatabase db(true);
        AcDbCircle* circle = nullptr;
        appendCircle(db, circle);
        EXPECT_EQ(AcDbEntityHyperlinkPE::cast(nullptr), nullptr);
        AcDbEntityHyperlinkPE* pe = AcDbEntityHyperlinkPE::cast(circle);
        ASSERT_NE(pe, nullptr);
        // Another application's data stays as it is.
        acdbRegApp("ADE", &db);
        resbuf* ade = acutBuildList(1001, "ADE", 1000, "AREA=12", 0);
        ASSERT_EQ(circle->setXData(ade), Acad::eOk);
        acutRelRb(ade);
        AcDbHyperlinkCollection c;
        c.addTail("http://example.com/plan?id=42", "Floor plan", "Level 2");
        c.addTail("docs/room.pdf", "");
        ASSERT_EQ(pe->setHyperlinkCollection(circle, &c), Acad::eOk);
        EXPECT_EQ(links(circle), (std::vector<std::string>{"http://example.com/plan?id=42|Floor plan|Level 2|0", "docs/room.pdf|||0"}));
        AcDbHyperlinkCollection* first = nullptr;
        pe->getHyperlinkCollection(circle, first, true);
        EXPECT_EQ(first->count(), 1);
        delete first;
        circle->close();
        ASSERT_EQ(db.saveAs(path.c_str()), Acad::eOk);
    }
    ZELKA_REQUIRE_EZDXF();
    auto r = dxftest::ezdxf(path, {"len(audit)", "doc.appids.has_entry('PE_URL')",
                                   "[xdata(e) for e in doc.modelspace() if e.dxftype() == 'CIRCLE']"});
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[0], "0");
    EXPECT_EQ(r[1], "true");
    EXPECT_EQ(r[2], "[{\"ADE\": [[1001, \"ADE\"], [1000, \"AREA=12\"]], \"PE_URL\": [[1001, \"PE_URL\"], [1000, \"http://example.com/plan?id=42\"], [1002, \"{\"], "
                    "[1000, \"Floor plan\"], [1000, \"Level 2\"], [1002, \"{\"], [1071, 0], [1002, \"}\"], [1002, \"}\"], "
                    "[1000, \"docs/room.pdf\"]]}]");
    AcDbDatabase back(false);
    ASSERT_EQ(back.readDxfFile(path.c_str()), Acad::eOk);
    AcDbBlockTableRecord* ms = nullptr;
    ASSERT_EQ(acdbOpenObject(ms, back.modelSpaceId(), AcDb::kForRead), Acad::eOk);
    AcDbBlockTableRecordIterator* it = nullptr;
    ms->newIterator(it);
    AcDbEntity* e = nullptr;
    ASSERT_EQ(it->getEntity(e, AcDb::kForWrite), Acad::eOk);
    delete it;
    ms->close();
    EXPECT_EQ(links(e).size(), 2u);
    EXPECT_EQ(links(e)[0], "http://example.com/plan?id=42|Floor plan|Level 2|0");
    // Removing every link removes the application's data, not the other one.
    AcDbHyperlinkCollection none;
    ASSERT_EQ(AcDbEntityHyperlinkPE::cast(e)->setHyperlinkCollection(e, &none), Acad::eOk);
    EXPECT_TRUE(links(e).empty());
    resbuf* rest = e->xData();
    ASSERT_NE(rest, nullptr);
    EXPECT_STREQ(rest->resval.rstring, "ADE");
    EXPECT_EQ(rest->rbnext->rbnext, nullptr);
    acutRelRb(rest);
    e->close();
}
