// Bulk creation (mbulk) on ezdxf-made plans: which outlines become space
// blocks, their names, labels, areas and numbers, and which are skipped with
// what reason; read back with ezdxf, areas computed here.

#include <gtest/gtest.h>

#include <cmath>

#include "tests/editing/CreationTestSupport.h"

using namespace creationtest;

namespace {

// Even-odd ray casting, written here for the check (the product has its own).
bool insidePolygon(const std::vector<VertexFact>& polygon, double x, double y)
{
    bool inside = false;
    for (size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const VertexFact& a = polygon[i];
        const VertexFact& b = polygon[j];
        if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) inside = !inside;
    }
    return inside;
}

}  // namespace

TEST(BulkCreation, EveryClosedOutlineOnTheLayersBecomesARoomNamedFromItsText)
{
    CreationRun run("bulk.dxf");
    const DrawingFacts before = readDrawingFacts(run.drawing());
    ASSERT_EQ(before.auditErrors, 0) << before.raw;
    const RunResult result = run.run({"mbulk", "ROOM*"});
    ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
    EXPECT_NE(result.out.find("7 space block(s) made from 12 outline(s) on layers \"ROOM*\"; 5 skipped.\n"),
              std::string::npos)
        << result.out;
    const DrawingFacts after = readDrawingFacts(run.saved());
    ASSERT_EQ(after.auditErrors, 0) << after.raw;

    struct Made {
        const char* what;
        double firstX, firstY;
        const char* block;  // numbered on from ROOM-12
        const char* name;   // from the text inside, else on from Office 010
        const char* layer;
        double areaM2, perimeterM;
    };
    const std::vector<Made> made = {
        {"RECT with a left text", 0, 0, "ROOM-13", "101", "ROOMS", 5.0 * 5.1, 2 * (5.0 + 5.1)},
        {"L with a centred text", 10000, 0, "ROOM-14", "L-Room", "ROOMS-2", 6.0 * 2.0 + 2.0 * 4.0, 24.0},
        {"U with an aligned text", 60000, 0, "ROOM-15", "U 7", "ROOMS", 8.0 * 6.0 - 4.0 * 4.0,
         8 + 6 + 2 + 4 + 4 + 4 + 2 + 6},
        {"two texts inside", 70000, 0, "ROOM-16", "Office 011", "ROOMS", 4.0 * 3.0, 14.0},
        {"an attribute inside", 80000, 0, "ROOM-17", "R-204", "ROOMS", 4.0 * 3.0, 14.0},
        {"nothing inside", 90000, 0, "ROOM-18", "Office 012", "ROOMS", 3.0 * 3.0, 12.0},
        {"a formatted two-line MTEXT inside", 130000, 0, "ROOM-19", "R-305", "ROOMS", 4.0 * 3.0, 14.0},
    };
    for (const Made& m : made) {
        SCOPED_TRACE(m.what);
        const std::string handle = handleStartingAt(before, m.firstX, m.firstY);
        const PolylineFact* original = before.poly(handle);
        ASSERT_NE(original, nullptr) << handle;
        const InsertFact* insert = after.insertOf(m.block);
        ASSERT_NE(insert, nullptr);
        EXPECT_EQ(insert->attrib("NAME")->text, m.name);
        EXPECT_EQ(insert->item("NAME"), m.name);
        EXPECT_EQ(insert->layer, m.layer);
        EXPECT_EQ(insert->attrib("AREA")->text, fixed(m.areaM2, 2) + "sq.m.");
        EXPECT_EQ(insert->item("PERIMETER"), fixed(m.perimeterM, 2) + "m.");
        // The outline moved into the block, and the label is inside it.
        const PolylineFact* moved = after.poly(handle);
        ASSERT_NE(moved, nullptr);
        EXPECT_EQ(moved->block, m.block);
        EXPECT_TRUE(insidePolygon(original->vertices, insert->x, insert->y)) << insert->x << "," << insert->y;
        // The label keeps a text height and more from every edge of these rooms.
        for (size_t i = 0; i < original->vertices.size(); ++i) {
            const VertexFact& a = original->vertices[i];
            const VertexFact& b = original->vertices[(i + 1) % original->vertices.size()];
            const double dx = b.x - a.x, dy = b.y - a.y;
            const double t = std::clamp(((insert->x - a.x) * dx + (insert->y - a.y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
            EXPECT_GE(std::hypot(insert->x - (a.x + t * dx), insert->y - (a.y + t * dy)), 250.0);
        }
    }

    struct Skip {
        const char* what;
        double firstX, firstY;
        const char* reason;
    };
    const std::vector<Skip> skips = {
        {"open", 30000, 0, "it is not closed"},
        {"figure of eight", 100000, 0, "it crosses itself"},
        {"three points on a line", 110000, 0, "its area is zero"},
        {"locked layer", 40000, 0, "its layer is locked"},
        {"added to Office 009", 50000, 0, "it is an added or subtracted area of a space block"},
    };
    for (const Skip& s : skips) {
        SCOPED_TRACE(s.what);
        const std::string handle = handleStartingAt(before, s.firstX, s.firstY);
        const std::string layer = before.msPolys.count(handle) ? before.msPolys.at(handle) : "?";
        EXPECT_NE(result.out.find("Outline " + handle + " on layer " + layer + " was skipped: " + s.reason + ".\n"),
                  std::string::npos)
            << result.out;
        EXPECT_EQ(after.msPolys.count(handle), 1u);
    }
    // A layer the pattern leaves out, and paper space, are not looked at.
    const std::string wall = handleStartingAt(before, 120000, 0);
    EXPECT_EQ(after.msPolys.count(wall), 1u);
    EXPECT_EQ(result.out.find("Outline " + wall), std::string::npos);
    EXPECT_EQ(after.spaceCount(), 2 + 7);
}

TEST(BulkCreation, APatternThatMatchesNothingMakesNothing)
{
    CreationRun run("bulk.dxf");
    const RunResult result = run.run({"mbulk", "NO-SUCH-LAYER"});
    ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
    EXPECT_NE(result.out.find("0 space block(s) made from 0 outline(s) on layers \"NO-SUCH-LAYER\"; 0 skipped.\n"),
              std::string::npos)
        << result.out;
    EXPECT_EQ(readDrawingFacts(run.saved()).spaceCount(), 2);
}

TEST(BulkCreation, InATurnedUcsTheBlocksAreBuiltInIt)
{
    // UCS x runs along world y: labels turn a quarter, as mbc makes them there.
    CreationRun run("outlines-ucs.dxf");
    const DrawingFacts before = readDrawingFacts(run.drawing());
    const RunResult result = run.run({"mbulk", "ROOMS"});
    ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
    const DrawingFacts after = readDrawingFacts(run.saved());
    ASSERT_EQ(after.auditErrors, 0) << after.raw;
    const std::string rect = handleStartingAt(before, 0, 0);
    const PolylineFact* moved = after.poly(rect);
    ASSERT_NE(moved, nullptr);
    const InsertFact* insert = after.insertOf(moved->block);
    ASSERT_NE(insert, nullptr) << moved->block;
    EXPECT_NEAR(insert->rotation, 90.0, 1e-9);
    EXPECT_EQ(insert->item("AREA"), fixed(5.0 * 5.1, 2) + "sq.m.");
    EXPECT_TRUE(insidePolygon(before.poly(rect)->vertices, insert->x, insert->y));
    // The name 375 above the area along the UCS y axis, which is world -x.
    EXPECT_NEAR(insert->attrib("NAME")->x, insert->x - 375.0, 1e-6);
    EXPECT_NEAR(insert->attrib("NAME")->y, insert->y, 1e-6);
    // The definition's outline, turned by the reference, is the outline as drawn.
    for (size_t v = 0; v < moved->vertices.size(); ++v) {
        EXPECT_NEAR(insert->x - moved->vertices[v].y, before.poly(rect)->vertices[v].x, 1e-6);
        EXPECT_NEAR(insert->y + moved->vertices[v].x, before.poly(rect)->vertices[v].y, 1e-6);
    }
}
