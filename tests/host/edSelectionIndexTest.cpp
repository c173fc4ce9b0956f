// Window and polygon selections through the spatial index: a crossing
// selection finds the same entities in the same order with and without the
// index (each inside the box worked out here from the coordinates ezdxf
// wrote), and an entity moved while the index is kept is found where it now is.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbLine.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbOpen.h"
#include "host/db/resbuf.h"
#include "host/ed/AcApDocManager.h"
#include "host/ed/AcEdSelectionIndexScope.h"
#include "host/ed/SelectionIndex.h"
#include "host/ed/acedSelection.h"
#include "host/ge/AcGeMatrix3d.h"
#include "tests/common/TestRequirements.h"
#include "tests/host/dxfTestSupport.h"

namespace {

// 600 lines written by ezdxf: most short, some across much of the drawing
// (more cells than the grid keeps them in), a few vertical or horizontal
// (boxes of no width), clustered and spread. Prints "handle x0 y0 x1 y1".
const char* kMakeLines = R"(import sys, random, ezdxf
random.seed(11)
doc = ezdxf.new("R2013")
msp = doc.modelspace()
for i in range(600):
    x, y = random.uniform(-5000, 5000), random.uniform(-3000, 3000)
    kind = i % 10
    if kind == 0:
        dx, dy = random.uniform(-9000, 9000), random.uniform(-5000, 5000)
    elif kind == 1:
        dx, dy = 0.0, random.uniform(-300, 300)
    elif kind == 2:
        dx, dy = random.uniform(-300, 300), 0.0
    else:
        dx, dy = random.uniform(-60, 60), random.uniform(-60, 60)
    line = msp.add_line((x, y), (x + dx, y + dy))
    print(line.dxf.handle, repr(x), repr(y), repr(x + dx), repr(y + dy))
doc.saveas(sys.argv[1])
)";

struct Line {
    AcDbObjectId id;
    double x0, y0, x1, y1;
};

class SelectionIndexTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ZELKA_REQUIRE_EZDXF();
        dir = dxftest::tempDir("selection-index");
        dxftest::writeFile(dir / "make.py", kMakeLines);
        const std::string file = (dir / "lines.dxf").string();
        std::string listing =
            dxftest::capture(std::string(ZELKA_PYTHON) + " '" + (dir / "make.py").string() + "' '" + file + "'");
        ASSERT_EQ(acDocManagerPtr()->appContextOpenDocument(file.c_str()), Acad::eOk)
            << acDocManagerPtr()->lastOpenError();
        db = acDocManagerPtr()->curDocument()->database();
        std::istringstream rows(listing);
        std::string handle;
        Line line;
        while (rows >> handle >> line.x0 >> line.y0 >> line.x1 >> line.y1) {
            ASSERT_EQ(db->getAcDbObjectId(line.id, false, AcDbHandle(handle.c_str())), Acad::eOk) << handle;
            lines.push_back(line);
        }
        ASSERT_EQ(lines.size(), 600u) << "ezdxf could not write the lines: " << listing;
    }
    void TearDown() override
    {
        while (AcApDocument* open = acDocManagerPtr()->curDocument()) acDocManagerPtr()->closeDocument(open);
    }

    // The lines whose box meets the box, in drawing order, from the coordinates alone.
    std::vector<AcDbObjectId> meeting(const SelectionIndex::Box& b) const
    {
        std::vector<AcDbObjectId> ids;
        for (const Line& l : lines)
            if (std::min(l.x0, l.x1) <= b.x1 && b.x0 <= std::max(l.x0, l.x1) && std::min(l.y0, l.y1) <= b.y1 &&
                b.y0 <= std::max(l.y0, l.y1))
                ids.push_back(l.id);
        return ids;
    }

    // A crossing-polygon selection of every entity type.
    std::vector<AcDbObjectId> crossing(const std::vector<std::pair<double, double>>& polygon) const
    {
        resbuf* chain = nullptr;
        resbuf* tail = nullptr;
        for (const auto& [x, y] : polygon) {
            resbuf* rb = acutNewRb(RT3DPOINT);
            rb->resval.rpoint[0] = x;
            rb->resval.rpoint[1] = y;
            rb->resval.rpoint[2] = 0.0;
            (tail ? tail->rbnext : chain) = rb;
            tail = rb;
        }
        ads_name set;
        std::vector<AcDbObjectId> ids;
        int status = acedSSGet("CP", chain, nullptr, nullptr, set);
        acutRelRb(chain);
        if (status != RTNORM) return ids;
        int32_t length = 0;
        acedSSLength(set, &length);
        for (int32_t i = 0; i < length; ++i) {
            ads_name entity;
            AcDbObjectId id;
            acedSSName(set, i, entity);
            acdbGetObjectId(id, entity);
            ids.push_back(id);
        }
        acedSSFree(set);
        return ids;
    }

    std::vector<AcDbObjectId> modelSpace() const
    {
        AcDbObjectPointer<AcDbBlockTableRecord> space(db->modelSpaceId(), AcDb::kForRead);
        return space ? space->entityIds() : std::vector<AcDbObjectId>();
    }

    std::filesystem::path dir;
    AcDbDatabase* db = nullptr;
    std::vector<Line> lines;
};

TEST_F(SelectionIndexTest, CrossingSelectionsFindTheSameEntitiesWithAndWithoutTheIndex)
{
    struct Case {
        const char* label;
        std::vector<std::pair<double, double>> polygon;
    } cases[] = {
        {"small square", {{0, 0}, {200, 0}, {200, 200}, {0, 200}}},
        {"thin sliver", {{-4000, -10}, {4000, -10}, {4000, -9}, {-4000, -9}}},
        {"triangle over the edge", {{4500, 2500}, {9000, 2500}, {4500, 6000}}},
        {"concave L", {{-3000, -2000}, {-1000, -2000}, {-1000, -1500}, {-2500, -1500}, {-2500, 0}, {-3000, 0}}},
        {"outside everything", {{50000, 50000}, {50100, 50000}, {50100, 50100}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        std::vector<AcDbObjectId> plain = crossing(c.polygon);
        std::vector<AcDbObjectId> indexed;
        {
            AcEdSelectionIndexScope scope;
            indexed = crossing(c.polygon);
        }
        EXPECT_EQ(indexed, plain);
        // Every line found has its box meeting the polygon's box.
        double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
        for (const auto& [x, y] : c.polygon) {
            x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
        }
        std::vector<AcDbObjectId> near = meeting({x0, y0, x1, y1});
        for (const AcDbObjectId& id : indexed)
            EXPECT_NE(std::find(near.begin(), near.end(), id), near.end());
    }
    // The small square has lines in it: the comparison is not between two empty sets.
    EXPECT_FALSE(crossing(cases[0].polygon).empty());
}

TEST_F(SelectionIndexTest, AnEntityMovedWhileTheIndexIsKeptIsFoundWhereItNowIs)
{
    const std::vector<std::pair<double, double>> farCorner = {{80000, 80000}, {80100, 80000}, {80100, 80100}, {80000, 80100}};
    AcEdSelectionIndexScope scope;
    ASSERT_TRUE(crossing(farCorner).empty());
    {
        AcDbObjectPointer<AcDbLine> line(lines[3].id, AcDb::kForWrite);
        ASSERT_TRUE(line);
        ASSERT_EQ(line->transformBy(AcGeMatrix3d::translation(AcGePoint3d(80050, 80050, 0) - line->startPoint())),
                  Acad::eOk);
        ASSERT_EQ(line->setEndPoint(AcGePoint3d(80060, 80060, 0)), Acad::eOk);
    }
    EXPECT_EQ(crossing(farCorner), std::vector<AcDbObjectId>{lines[3].id});
    // And no longer where it was.
    const Line& old = lines[3];
    const double mx = (old.x0 + old.x1) / 2, my = (old.y0 + old.y1) / 2;
    std::vector<AcDbObjectId> atOldPlace = crossing({{mx - 0.5, my - 0.5}, {mx + 0.5, my - 0.5}, {mx + 0.5, my + 0.5}, {mx - 0.5, my + 0.5}});
    EXPECT_EQ(std::find(atOldPlace.begin(), atOldPlace.end(), old.id), atOldPlace.end());
}

}  // namespace
