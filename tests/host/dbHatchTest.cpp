// Hatches through the database: pattern tables against ezdxf's, loops,
// evaluation (line sets against ezdxf's hatching renderer, too dense, not
// dense enough), areas by hand, files written and read back by ezdxf and by
// our reader, and a hatch of another program edited and saved.
#include <gtest/gtest.h>

#include <cmath>

#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbBlockTableRecordIterator.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbHatch.h"
#include "host/db/AcDbOpen.h"
#include "host/db/AcDbPolyline.h"
#include "tests/common/OracleJson.h"
#include "tests/host/dxfTestSupport.h"
#include "tests/common/TestRequirements.h"

namespace {

constexpr double kPi = 3.141592653589793;

using nlohmann::json;

// What ezdxf sees of a file's model-space hatches (tests/tools/dxf_oracle.py hatches).
json hatchesOf(const std::string& path)
{
    return zelkatest::oracleJson(zelkatest::testScript("tools/dxf_oracle.py"), {"hatches", path});
}

AcDbObjectId append(AcDbDatabase& db, AcDbEntity* e)
{
    AcDbBlockTableRecord* rec = nullptr;
    EXPECT_EQ(acdbOpenObject(rec, db.modelSpaceId(), AcDb::kForWrite), Acad::eOk);
    AcDbObjectId id;
    EXPECT_EQ(rec->appendAcDbEntity(id, e), Acad::eOk);
    e->close();
    rec->close();
    return id;
}

AcDbPolyline* rectangle(double x0, double y0, double x1, double y1, bool closed = true)
{
    auto* pl = new AcDbPolyline();
    pl->addVertexAt(0, AcGePoint2d(x0, y0));
    pl->addVertexAt(1, AcGePoint2d(x1, y0));
    pl->addVertexAt(2, AcGePoint2d(x1, y1));
    pl->addVertexAt(3, AcGePoint2d(x0, y1));
    pl->setClosed(closed);
    return pl;
}

AcGePoint2dArray square(double x0, double y0, double side)
{
    AcGePoint2dArray v;
    v.append({x0, y0}).append({x0 + side, y0}).append({x0 + side, y0 + side}).append({x0, y0 + side});
    return v;
}

double segmentLengths(const AcDbHatch& h)
{
    double sum = 0;
    for (int i = 0; i < h.numHatchLines(); ++i) {
        AcGePoint2d a, b;
        h.getHatchLineDataAt(i, a, b);
        sum += a.distanceTo(b);
    }
    return sum;
}

}  // namespace

TEST(HatchPatterns, EveryShippedPatternTransformsAsEzdxfDoes)
{
    ZELKA_REQUIRE_EZDXF();
    std::vector<std::string> args = {"patterns", "30", "2.5"};
    for (const std::string& name : HatchPatterns::names())
        args.push_back(name);
    const json f = zelkatest::oracleJson(zelkatest::testScript("tools/dxf_oracle.py"), args);
    for (const std::string& name : HatchPatterns::names()) {
        auto mine = HatchPatterns::transformed(name, 30 * kPi / 180, 2.5);
        ASSERT_EQ(mine.size(), f.at(name).size()) << name << f;
        for (size_t k = 0; k < mine.size(); ++k) {
            const auto theirs = f.at(name).at(k).get<std::vector<double>>();
            std::vector<double> ours = {mine[k].angle, mine[k].baseX, mine[k].baseY, mine[k].offsetX, mine[k].offsetY};
            ours.insert(ours.end(), mine[k].dashes.begin(), mine[k].dashes.end());
            ASSERT_EQ(ours.size(), theirs.size()) << name << " line " << k;
            for (size_t q = 0; q < ours.size(); ++q)
                EXPECT_NEAR(ours[q], theirs[q], 1e-9) << name << " line " << k << " value " << q;
        }
    }
    EXPECT_EQ(HatchPatterns::find("ansi31"), HatchPatterns::find("ANSI31"));
    EXPECT_EQ(HatchPatterns::find("NO-SUCH-PATTERN"), nullptr);
}

TEST(HatchEdit, PatternLoopsAndArea)
{
    AcDbHatch h;
    EXPECT_EQ(h.setPattern(AcDbHatch::kPreDefined, "NOPE"), Acad::eInvalidInput);
    EXPECT_EQ(h.setPattern(AcDbHatch::kPreDefined, ""), Acad::eInvalidInput);
    EXPECT_EQ(h.setPatternScale(0), Acad::eInvalidInput);
    EXPECT_EQ(h.evaluateHatch(), Acad::eInvalidInput);  // no loops
    ASSERT_EQ(h.setPatternAngle(kPi / 4), Acad::eOk);
    ASSERT_EQ(h.setPatternScale(0.1), Acad::eOk);
    ASSERT_EQ(h.setPattern(AcDbHatch::kPreDefined, "ansi31"), Acad::eOk);
    EXPECT_STREQ(h.patternName(), "ANSI31");
    EXPECT_FALSE(h.isSolidFill());
    // The stored lines are those of HatchPatterns::transformed, compared with
    // ezdxf's in EveryShippedPatternTransformsAsEzdxfDoes: ANSI31 turned by
    // 45° and scaled by 0.1 is one vertical family 0.3175 apart.
    ASSERT_EQ(h.numPatternDefinitions(), 1);

    // Outer 100 x 60 with a 20 x 20 hole: 6000 - 400 by hand.
    ASSERT_EQ(h.appendLoop(AcDbHatch::kOuterMost, AcGePoint2dArray{{0, 0}, {100, 0}, {100, 60}, {0, 60}}, AcGeDoubleArray{}),
              Acad::eOk);
    ASSERT_EQ(h.appendLoop(AcDbHatch::kDefault, square(10, 10, 20), AcGeDoubleArray{}), Acad::eOk);
    EXPECT_EQ(h.appendLoop(AcDbHatch::kDefault, AcGePoint2dArray{{0, 0}}, AcGeDoubleArray{}), Acad::eInvalidInput);
    EXPECT_EQ(h.appendLoop(AcDbHatch::kDefault, square(0, 0, 1), AcGeDoubleArray{0.0}), Acad::eInvalidInput);
    EXPECT_EQ(h.numLoops(), 2);
    int type = -1;
    AcGePoint2dArray v;
    AcGeDoubleArray b;
    ASSERT_EQ(h.getLoopAt(1, type, v, b), Acad::eOk);
    EXPECT_EQ(type, AcDbHatch::kDefault | AcDbHatch::kPolyline);
    EXPECT_EQ(v.length(), 4);
    EXPECT_EQ(h.getLoopAt(2, type, v, b), Acad::eInvalidIndex);
    double area = 0;
    ASSERT_EQ(h.getArea(area), Acad::eOk);
    EXPECT_NEAR(area, 5600.0, 1e-9);
    // Style "outer" ignores the default (hole) loop.
    h.setHatchStyle(AcDbHatch::kOuter);
    h.getArea(area);
    EXPECT_NEAR(area, 6000.0, 1e-9);
    h.setHatchStyle(AcDbHatch::kNormal);

    // Vertical lines 0.3175 apart over x in [0, 100]: every line is a full
    // 60 high except those crossing the hole (two pieces, 40 long in all).
    ASSERT_EQ(h.evaluateHatch(), Acad::eOk);
    const int full = static_cast<int>(std::floor(100 / 0.3175));  // x = k * 0.3175, k = 1..314 (x = 0 touches the edge)
    const int holed = static_cast<int>(std::floor(30 / 0.3175)) - static_cast<int>(std::floor(10 / 0.3175));
    EXPECT_NEAR(segmentLengths(h), (full - holed) * 60.0 + holed * 40.0, 60.0 + 1e-6);
    EXPECT_NEAR(h.numHatchLines(), full + holed, 1);
    AcGePoint2d s, e;
    EXPECT_EQ(h.getHatchLineDataAt(h.numHatchLines(), s, e), Acad::eInvalidIndex);

    // A semicircular bulge on the right side of a 40 x 30 box: 1200 + π·15²/2.
    AcDbHatch arc;
    arc.setPattern(AcDbHatch::kPreDefined, "SOLID");
    EXPECT_TRUE(arc.isSolidFill());
    ASSERT_EQ(arc.appendLoop(AcDbHatch::kExternal, AcGePoint2dArray{{0, 0}, {40, 0}, {40, 30}, {0, 30}},
                             AcGeDoubleArray{0, 1, 0, 0}),
              Acad::eOk);
    arc.getArea(area);
    EXPECT_NEAR(area, 1200 + kPi * 225 / 2, 0.2);
    EXPECT_EQ(arc.evaluateHatch(), Acad::eOk);
    EXPECT_EQ(arc.numHatchLines(), 0);
    AcDbExtents ext;
    ASSERT_EQ(arc.getGeomExtents(ext), Acad::eOk);
    EXPECT_NEAR(ext.maxPoint().x, 55.0, 1e-3);
}

// Too dense and not dense enough for plain line families are checked through
// the hatching of space blocks (HatchingTest); these are the cases it does not make.
TEST(HatchEdit, DashesCountTowardsTooDenseAndAFamilyTouchingTheLoopHatches)
{
    // Dashed pattern: few lines but many dashes is also too dense.
    AcDbHatch dashed;
    dashed.setPatternScale(0.002);
    dashed.setPattern(AcDbHatch::kPreDefined, "DOTS");
    dashed.appendLoop(AcDbHatch::kOuterMost, square(0, 0, 100), AcGeDoubleArray{});
    EXPECT_EQ(dashed.evaluateHatch(), Acad::eHatchTooDense);

    // ANSI31 at scale 1000 (lines x - y = k·4490): a unit square on the line x = y hatches.
    AcDbHatch crossing;
    crossing.setPatternScale(1000);
    crossing.setPattern(AcDbHatch::kPreDefined, "ANSI31");
    crossing.appendLoop(AcDbHatch::kOuterMost, square(10.25, 10, 1), AcGeDoubleArray{});
    EXPECT_EQ(crossing.evaluateHatch(), Acad::eOk);
    EXPECT_EQ(crossing.numHatchLines(), 1);
}

TEST(HatchFile, NewHatchesReadByEzdxfAndBack)
{
    ZELKA_REQUIRE_EZDXF();
    auto dir = dxftest::tempDir("hatch-new");
    const auto path = (dir / "hatches.dxf").string();
    int ourLines[2] = {0, 0};
    double ourLength[2] = {0, 0};
    {
        AcDbDatabase db(true);
        AcDbObjectId boundary = append(db, rectangle(0, 0, 100, 60));
        AcDbObjectId open = append(db, rectangle(200, 0, 260, 40, false));
        auto* h = new AcDbHatch();
        h->setPatternAngle(0);
        h->setPatternScale(1.0);
        ASSERT_EQ(h->setPattern(AcDbHatch::kPreDefined, "ANSI31"), Acad::eOk);
        h->setAssociative(false);
        AcCmColor c;
        c.setRGB(0x12, 0x34, 0x56);
        h->setColor(c);
        EXPECT_EQ(h->appendLoop(AcDbHatch::kOuterMost, AcDbObjectIdArray{open}), Acad::eInvalidInput);
        ASSERT_EQ(h->appendLoop(AcDbHatch::kOuterMost, AcDbObjectIdArray{boundary}), Acad::eOk);
        ASSERT_EQ(h->appendLoop(AcDbHatch::kExternal, square(120, 0, 30), AcGeDoubleArray{}), Acad::eOk);
        ASSERT_EQ(h->appendLoop(AcDbHatch::kDefault, square(10.1, 10.1, 20), AcGeDoubleArray{}), Acad::eOk);
        ASSERT_EQ(h->evaluateHatch(), Acad::eOk);
        ourLines[0] = h->numHatchLines();
        ourLength[0] = segmentLengths(*h);
        append(db, h);

        auto* d = new AcDbHatch();
        d->setPatternAngle(kPi / 6);
        d->setPatternScale(2.0);
        ASSERT_EQ(d->setPattern(AcDbHatch::kPreDefined, "ANSI33"), Acad::eOk);
        ASSERT_EQ(d->appendLoop(AcDbHatch::kExternal, AcGePoint2dArray{{0, 100}, {80, 100}, {80, 150}, {0, 150}},
                                AcGeDoubleArray{0, 0.5, 0, 0}),
                  Acad::eOk);
        ASSERT_EQ(d->evaluateHatch(), Acad::eOk);
        ourLines[1] = d->numHatchLines();
        ourLength[1] = segmentLengths(*d);
        d->setColorIndex(3);
        append(db, d);
        ASSERT_EQ(db.saveAs(path.c_str()), Acad::eOk);
    }
    const json f = hatchesOf(path);
    ASSERT_EQ(f.at("audit_errors"), json::array()) << f;
    ASSERT_EQ(f.at("hatches").size(), 2u);
    const json& h0 = f["hatches"][0];
    EXPECT_EQ(h0.at("pattern"), "ANSI31");
    EXPECT_EQ(h0.at("solid_fill"), false);
    EXPECT_EQ(h0.at("associative"), 0);
    EXPECT_EQ(h0.at("pattern_type"), 1);
    EXPECT_EQ(h0.at("true_color"), 0x123456);
    ASSERT_EQ(h0.at("paths").size(), 3u);
    EXPECT_EQ(h0["paths"][0].at("flags"), 0x10 | 2);
    EXPECT_EQ(h0["paths"][1].at("flags"), 3);
    EXPECT_EQ(h0["paths"][2].at("flags"), 2);
    ASSERT_EQ(h0["paths"][0].at("vertices").size(), 4u);
    EXPECT_EQ(h0["paths"][0]["vertices"][2].get<std::vector<double>>(), (std::vector<double>{100, 60, 0}));
    ASSERT_EQ(h0.at("pattern_lines").size(), 1u);
    EXPECT_EQ(h0["pattern_lines"][0].get<std::vector<double>>(),
              (std::vector<double>{45, 0, 0, -2.2450640303, 2.2450640303}));
    EXPECT_EQ(h0.at("seeds"), 1);
    // The line set against ezdxf's renderer of the file we wrote.
    EXPECT_EQ(h0.at("lines"), ourLines[0]);
    EXPECT_NEAR(h0.at("length").get<double>(), ourLength[0], 1e-6 * ourLength[0]);
    // Area by hand 6000 + 900 - 400 over spacing 3.175 is about the total length.
    EXPECT_NEAR(ourLength[0], 6500 / 3.175, 6500 / 3.175 * 0.01);

    const json& h1 = f["hatches"][1];
    EXPECT_EQ(h1.at("pattern"), "ANSI33");
    EXPECT_EQ(h1.at("color"), 3);
    EXPECT_NEAR(h1.at("angle").get<double>(), 30.0, 1e-9);
    EXPECT_NEAR(h1.at("scale").get<double>(), 2.0, 1e-12);
    EXPECT_EQ(h1.at("pattern_lines").size(), 2u);
    EXPECT_NEAR(h1.at("paths").at(0).at("vertices").at(1).at(2).get<double>(), 0.5, 1e-12);
    // Arc flattening differs between the two; counts within a few, length within 0.5 %.
    EXPECT_NEAR(h1.at("lines").get<double>(), ourLines[1], 4);
    EXPECT_NEAR(h1.at("length").get<double>(), ourLength[1], 0.005 * ourLength[1]);

    // Our reader gives back what was written.
    AcDbDatabase back(false);
    ASSERT_EQ(back.readDxfFile(path.c_str()), Acad::eOk);
    AcDbBlockTableRecord* ms = nullptr;
    ASSERT_EQ(acdbOpenObject(ms, back.modelSpaceId(), AcDb::kForRead), Acad::eOk);
    AcDbBlockTableRecordIterator* it = nullptr;
    ms->newIterator(it);
    std::vector<AcDbObjectId> hatches;
    for (; !it->done(); it->step()) {
        AcDbObjectId id;
        it->getEntityId(id);
        AcDbEntity* e = nullptr;
        acdbOpenObject(e, id, AcDb::kForRead);
        if (std::string(e->isA()->name()) == "AcDbHatch")
            hatches.push_back(id);
        e->close();
    }
    delete it;
    ms->close();
    ASSERT_EQ(hatches.size(), 2u);
    AcDbHatch* h = nullptr;
    ASSERT_EQ(acdbOpenObject(h, hatches[1], AcDb::kForRead), Acad::eOk);
    EXPECT_STREQ(h->patternName(), "ANSI33");
    EXPECT_NEAR(h->patternAngle(), kPi / 6, 1e-12);
    EXPECT_EQ(h->numLoops(), 1);
    int type = 0;
    AcGePoint2dArray v;
    AcGeDoubleArray b;
    h->getLoopAt(0, type, v, b);
    EXPECT_EQ(type, AcDbHatch::kExternal | AcDbHatch::kPolyline);
    EXPECT_EQ(b, (AcGeDoubleArray{0, 0.5, 0, 0}));
    ASSERT_EQ(h->evaluateHatch(), Acad::eOk);
    EXPECT_EQ(h->numHatchLines(), ourLines[1]);
    h->close();
}

TEST(HatchFile, EditedHatchOfAnotherProgramKeepsItsEdgeLoop)
{
    ZELKA_REQUIRE_EZDXF();
    const auto src = dxftest::sourceDir() / "tests/data/dxf/real/librecad_hatch_crlf_AC1021.dxf";
    const json before = hatchesOf(src.string()).at("hatches").at(0).at("paths").at(0);
    ASSERT_EQ(before.at("type"), "edge");
    auto dir = dxftest::tempDir("hatch-edit");
    const auto path = (dir / "edited.dxf").string();
    AcDbDatabase db(false);
    ASSERT_EQ(db.readDxfFile(src.string().c_str()), Acad::eOk);
    AcDbObjectId id;
    ASSERT_EQ(db.getAcDbObjectId(id, false, AcDbHandle(0x46)), Acad::eOk);
    AcDbHatch* h = nullptr;
    ASSERT_EQ(acdbOpenObject(h, id, AcDb::kForWrite), Acad::eOk);
    EXPECT_TRUE(h->isSolidFill());
    ASSERT_EQ(h->numLoops(), 1);
    double area = 0;
    h->getArea(area);
    h->setPatternScale(0.02);
    ASSERT_EQ(h->setPattern(AcDbHatch::kPreDefined, "ANSI31"), Acad::eOk);
    ASSERT_EQ(h->evaluateHatch(), Acad::eOk);
    int ours = h->numHatchLines();
    double length = segmentLengths(*h);
    h->close();
    ASSERT_EQ(db.saveAs(path.c_str()), Acad::eOk);
    const json f = hatchesOf(path);
    ASSERT_EQ(f.at("audit_errors"), json::array()) << f;
    const json& h0 = f.at("hatches").at(0);
    EXPECT_EQ(h0.at("pattern"), "ANSI31");
    EXPECT_EQ(h0.at("solid_fill"), false);
    // The edge loop is kept edge for edge.
    EXPECT_EQ(h0.at("paths").at(0).at("edges"), before.at("edges"));
    EXPECT_NEAR(h0.at("lines").get<double>(), ours, 2);
    EXPECT_NEAR(h0.at("length").get<double>(), length, 0.005 * length);
    // Total line length times the spacing 3.175 · 0.02 is about the area.
    EXPECT_NEAR(area, length * 0.0635, area * 0.02);
}
