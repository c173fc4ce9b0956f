// Hatches through the database: pattern tables against ezdxf's, loops,
// evaluation (line sets against ezdxf's hatching renderer, too dense, not
// dense enough), areas by hand, files written and read back by ezdxf and by
// our reader, and a hatch of another program edited and saved.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>

#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbBlockTableRecordIterator.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbHatch.h"
#include "host/db/AcDbOpen.h"
#include "host/db/AcDbPolyline.h"
#include "tests/host/dxfTestSupport.h"
#include "tests/common/TestRequirements.h"

namespace {

constexpr double kPi = 3.141592653589793;

using Facts = std::map<std::string, std::string>;

// Runs tests/host/dbHatchOracle.py with the arguments; its key=value lines.
Facts oracle(const std::string& args)
{
    std::string cmd = std::string(ZELKA_PYTHON) + " '" + (dxftest::sourceDir() / "tests/host/dbHatchOracle.py").string() +
                      "' " + args + " 2>&1";
    Facts facts;
    std::string out = dxftest::capture(cmd);
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
        size_t eq = line.find('=');
        if (eq != std::string::npos)
            facts[line.substr(0, eq)] += (facts.count(line.substr(0, eq)) ? "|" : "") + line.substr(eq + 1);
        else
            facts["_raw"] += line + "\n";
    }
    return facts;
}

std::vector<double> numbers(const std::string& text)
{
    std::istringstream in(text);
    std::vector<double> v;
    for (double x; in >> x;)
        v.push_back(x);
    return v;
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
    std::string args = "--pattern 30 2.5";
    for (const std::string& name : HatchPatterns::names())
        args += " '" + name + "'";
    Facts f = oracle(args);
    for (const std::string& name : HatchPatterns::names()) {
        auto mine = HatchPatterns::transformed(name, 30 * kPi / 180, 2.5);
        ASSERT_EQ(std::to_string(mine.size()), f[name + ".defs"]) << name << f["_raw"];
        for (size_t k = 0; k < mine.size(); ++k) {
            std::vector<double> theirs = numbers(f[name + ".def" + std::to_string(k)]);
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
    Facts f = oracle("'" + path + "'");
    ASSERT_EQ(f["audit_errors"], "0") << f["_raw"] << f["audit_error"];
    ASSERT_EQ(f["hatches"], "2");
    EXPECT_EQ(f["h0.pattern"], "ANSI31");
    EXPECT_EQ(f["h0.solid"], "0");
    EXPECT_EQ(f["h0.assoc"], "0");
    EXPECT_EQ(f["h0.ptype"], "1");
    EXPECT_EQ(f["h0.true_color"], std::to_string(0x123456));
    EXPECT_EQ(f["h0.paths"], "3");
    EXPECT_EQ(f["h0.path0.flags"], std::to_string(0x10 | 2));
    EXPECT_EQ(f["h0.path1.flags"], "3");
    EXPECT_EQ(f["h0.path2.flags"], "2");
    EXPECT_EQ(f["h0.path0.n"], "4");
    EXPECT_EQ(numbers(f["h0.path0.v2"]), (std::vector<double>{100, 60, 0}));
    EXPECT_EQ(f["h0.defs"], "1");
    EXPECT_EQ(numbers(f["h0.def0"]), (std::vector<double>{45, 0, 0, -2.2450640303, 2.2450640303}));
    EXPECT_EQ(f["h0.seeds"], "1");
    // The line set against ezdxf's renderer of the file we wrote.
    EXPECT_EQ(f["h0.lines"], std::to_string(ourLines[0]));
    EXPECT_NEAR(std::stod(f["h0.length"]), ourLength[0], 1e-6 * ourLength[0]);
    // Area by hand 6000 + 900 - 400 over spacing 3.175 is about the total length.
    EXPECT_NEAR(ourLength[0], 6500 / 3.175, 6500 / 3.175 * 0.01);

    EXPECT_EQ(f["h1.pattern"], "ANSI33");
    EXPECT_EQ(f["h1.color"], "3");
    EXPECT_NEAR(std::stod(f["h1.angle"]), 30.0, 1e-9);
    EXPECT_NEAR(std::stod(f["h1.scale"]), 2.0, 1e-12);
    EXPECT_EQ(f["h1.defs"], "2");
    EXPECT_NEAR(numbers(f["h1.path0.v1"])[2], 0.5, 1e-12);
    // Arc flattening differs between the two; counts within a few, length within 0.5 %.
    EXPECT_NEAR(std::stod(f["h1.lines"]), ourLines[1], 4);
    EXPECT_NEAR(std::stod(f["h1.length"]), ourLength[1], 0.005 * ourLength[1]);

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
    Facts before = oracle("'" + src.string() + "'");
    ASSERT_EQ(before["h0.path0.kind"], "edge");
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
    Facts f = oracle("'" + path + "'");
    ASSERT_EQ(f["audit_errors"], "0") << f["audit_error"];
    EXPECT_EQ(f["h0.pattern"], "ANSI31");
    EXPECT_EQ(f["h0.solid"], "0");
    EXPECT_EQ(f["h0.path0.kind"], "edge");
    EXPECT_EQ(f["h0.path0.n"], before["h0.path0.n"]);
    EXPECT_EQ(f["h0.path0.e0"], before["h0.path0.e0"]);
    EXPECT_NEAR(std::stod(f["h0.lines"]), ours, 2);
    EXPECT_NEAR(std::stod(f["h0.length"]), length, 0.005 * length);
    // Total line length times the spacing 3.175 · 0.02 is about the area.
    EXPECT_NEAR(area, length * 0.0635, area * 0.02);
}
