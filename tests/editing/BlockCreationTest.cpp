// The block creator (mbc) driven by scripts on ezdxf-made plans of bare
// outlines; the saved drawings are read back with ezdxf and every area,
// perimeter and position is compared with arithmetic written here.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/editing/CreationTestSupport.h"

using namespace creationtest;

namespace {

constexpr double kPi = 3.141592653589793;

struct MadeSpace {
    const char* outline;   // which outline of outlines.dxf
    double firstX, firstY; // its first vertex
    const char* pick;      // a point on its edge
    double labelX, labelY; // the label point given
    const char* layer;     // the outline's layer
    double areaM2;         // computed here
    double perimeterM;
};

const std::vector<MadeSpace>& madeSpaces()
{
    static const std::vector<MadeSpace> spaces = {
        {"RECT", 0, 0, "2500,0", 2500, 2550, "ROOMS", 5.0 * 5.1, 2 * (5.0 + 5.1)},
        {"ELL", 10000, 0, "13000,0", 11000, 1000, "WALLS", 6.0 * 2.0 + 2.0 * 4.0, 6 + 2 + 4 + 4 + 2 + 6},
        // 4 x 3 m with a half circle of radius 1.5 m on its right side.
        {"ARC", 20000, 0, "22000,0", 21000, 1500, "ROOMS", 4.0 * 3.0 + kPi * 1.5 * 1.5 / 2, 4 + 3 + 4 + kPi * 1.5},
    };
    return spaces;
}

}  // namespace

TEST(BlockCreation, ASessionTurnsEachPickedOutlineIntoTheNextNumberedRoom)
{
    CreationRun run("outlines.dxf");
    const DrawingFacts before = readDrawingFacts(run.drawing());
    ASSERT_EQ(before.auditErrors, 0) << before.raw;
    std::vector<std::string> lines = {"mbc", "dlg:click IDC_START"};
    for (const MadeSpace& s : madeSpaces()) {
        lines.push_back(s.pick);
        lines.push_back(fixed(s.labelX, 0) + "," + fixed(s.labelY, 0));
    }
    lines.insert(lines.end(), {"^C", "dlg:show", "dlg:close"});
    const RunResult result = run.run(lines);
    ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
    EXPECT_EQ(countOf(result.out, "Block Created Successfully\n"), 3) << result.out;
    EXPECT_EQ(countOf(result.out, "\nBlock Creation Session Started\n"), 1);
    EXPECT_EQ(countOf(result.out, "\nBlock Creation Session Ended\n"), 1);
    // The form shown after the session proposes the fourth room.
    EXPECT_NE(result.out.find("Next Space Name [Room 4]"), std::string::npos) << result.out;

    const DrawingFacts after = readDrawingFacts(run.saved());
    ASSERT_EQ(after.auditErrors, 0) << after.raw;
    ASSERT_EQ(after.spaceCount(), 3) << after.raw;
    for (size_t i = 0; i < madeSpaces().size(); ++i) {
        const MadeSpace& s = madeSpaces()[i];
        SCOPED_TRACE(s.outline);
        const std::string block = "ROOM-" + std::to_string(i + 1);
        const std::string name = "Room " + std::to_string(i + 1);
        const InsertFact* insert = after.insertOf(block);
        ASSERT_NE(insert, nullptr);
        EXPECT_EQ(insert->layer, s.layer);
        EXPECT_DOUBLE_EQ(insert->x, s.labelX);
        EXPECT_DOUBLE_EQ(insert->y, s.labelY);
        EXPECT_DOUBLE_EQ(insert->rotation, 0.0);
        // Labels: the area at the label point, the name 1.5 text heights
        // above it, the aux as far below.
        const AttribFact* area = insert->attrib("AREA");
        const AttribFact* nameAttrib = insert->attrib("NAME");
        const AttribFact* aux = insert->attrib("AUX");
        ASSERT_TRUE(area && nameAttrib && aux);
        EXPECT_EQ(area->text, fixed(s.areaM2, 2) + "sq.m.");
        EXPECT_EQ(nameAttrib->text, name);
        EXPECT_EQ(aux->text, " ");
        EXPECT_EQ(area->layer, "ATT-AREA");
        EXPECT_EQ(nameAttrib->layer, "ATT-NAME");
        EXPECT_EQ(aux->layer, "ATT-AUX");
        EXPECT_NEAR(area->x, s.labelX, 1e-9);
        EXPECT_NEAR(area->y, s.labelY, 1e-9);
        EXPECT_NEAR(nameAttrib->y, s.labelY + 375.0, 1e-9);
        EXPECT_NEAR(aux->y, s.labelY - 375.0, 1e-9);
        EXPECT_DOUBLE_EQ(area->height, 250.0);
        // The record.
        EXPECT_EQ(insert->item("AREA"), fixed(s.areaM2, 2) + "sq.m.");
        EXPECT_EQ(insert->item("PERIMETER"), fixed(s.perimeterM, 2) + "m.");
        EXPECT_EQ(insert->item("NAME"), name);
        EXPECT_EQ(insert->item("HANDLESTOADD"), "");
        // Other programs read the record by position: every item in its place.
        std::vector<std::string> keys;
        for (const std::string& text : insert->xdata) keys.push_back(text.substr(0, text.find('=')));
        EXPECT_EQ(keys, (std::vector<std::string>{"AREA", "PERIMETER", "NAME", "TAGTYPE", "AREA_TYPE", "COST_CENTRE",
                                                  "DATE", "DATE_L_MOVE", "DEPT_CHARGE", "ROOM_HEIGHT", "SPECIAL_REQ",
                                                  "TOT_STAFF", "TOT_WKSTNS", "VOLUME", "HANDLESTOMINUS", "HANDLESTOADD"}));
        // The outline moved into the definition with its handle, its
        // vertices taken relative to the label point, and left model space.
        const PolylineFact* original = before.poly(handleStartingAt(before, s.firstX, s.firstY));
        ASSERT_NE(original, nullptr);
        const PolylineFact* moved = after.poly(original->handle);
        ASSERT_NE(moved, nullptr);
        EXPECT_EQ(moved->block, block);
        EXPECT_EQ(after.msPolys.count(original->handle), 0u);
        ASSERT_EQ(moved->vertices.size(), original->vertices.size());
        for (size_t v = 0; v < moved->vertices.size(); ++v) {
            EXPECT_NEAR(moved->vertices[v].x, original->vertices[v].x - s.labelX, 1e-9);
            EXPECT_NEAR(moved->vertices[v].y, original->vertices[v].y - s.labelY, 1e-9);
            EXPECT_DOUBLE_EQ(moved->vertices[v].bulge, original->vertices[v].bulge);
        }
    }
    // Nothing else moved.
    EXPECT_EQ(after.msPolys.size(), before.msPolys.size() - 3);
}

TEST(BlockCreation, RejectedPicksLeaveTheirOutlinesAndTheSessionGoesOn)
{
    struct Case {
        const char* name;
        std::vector<std::string> lines;  // answers after Start, before the RECT that succeeds
        const char* message;
        double firstX, firstY;  // the outline that must be untouched
    };
    const std::vector<Case> cases = {
        {"open polyline", {"32000,0"}, "\nInvalid Selection - Polyline is not closed\n\n", 30000, 0},
        {"locked layer", {"42000,0", "42000,1500"}, "\nPolyline On Locked Layer - Block Creation Failed\n", 40000, 0},
        {"cancelled label point", {"13000,0", "^C"}, "\nEnter Attribute points: ", 10000, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CreationRun run("outlines.dxf");
        const DrawingFacts before = readDrawingFacts(run.drawing());
        std::vector<std::string> lines = {"mbc", "dlg:click IDC_START"};
        lines.insert(lines.end(), c.lines.begin(), c.lines.end());
        lines.insert(lines.end(), {"2500,0", "2500,2550", "^C", "dlg:close"});
        const RunResult result = run.run(lines);
        ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
        EXPECT_NE(result.out.find(c.message), std::string::npos) << result.out;
        EXPECT_EQ(countOf(result.out, "Block Created Successfully\n"), 1) << result.out;
        const DrawingFacts after = readDrawingFacts(run.saved());
        ASSERT_EQ(after.spaceCount(), 1);
        // The one block made is the first of the drawing, whatever was rejected before it.
        const InsertFact* made = after.insertOf("ROOM-1");
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(made->item("NAME"), "Room 1");
        const PolylineFact* original = before.poly(handleStartingAt(before, c.firstX, c.firstY));
        ASSERT_NE(original, nullptr);
        const PolylineFact* kept = after.poly(original->handle);
        ASSERT_NE(kept, nullptr);
        EXPECT_EQ(kept->block, "*Model_Space");
        ASSERT_EQ(kept->vertices.size(), original->vertices.size());
        for (size_t v = 0; v < kept->vertices.size(); ++v) {
            EXPECT_DOUBLE_EQ(kept->vertices[v].x, original->vertices[v].x);
            EXPECT_DOUBLE_EQ(kept->vertices[v].y, original->vertices[v].y);
        }
    }
}

TEST(BlockCreation, ADuplicateNameIsMadeOnlyAfterYes)
{
    struct Case {
        const char* answer;
        bool made;
    };
    for (const Case& c : {Case{"Yes", true}, Case{"No", false}}) {
        SCOPED_TRACE(c.answer);
        CreationRun run("rooms.dxf");
        const RunResult result = run.run({"mbc", "dlg:set IDC_NEXT_NAME Office 009", "dlg:click IDC_START", "2500,0",
                                          "2500,2550", c.answer, "^C", "dlg:show", "dlg:close"});
        ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
        // Two rooms Office 009 and Office 010 propose Office 011; ROOM-3 and
        // ROOM-12 make the next definition ROOM-13.
        EXPECT_NE(result.out.find("Next Space Name [Office 011]"), std::string::npos) << result.out;
        EXPECT_NE(result.out.find("Duplicate Space Name\n"), std::string::npos);
        EXPECT_NE(result.out.find("Room Name already exists in the drawing.\n\nDo you want another space of the "
                                  "same name creating?"),
                  std::string::npos);
        const DrawingFacts after = readDrawingFacts(run.saved());
        ASSERT_EQ(after.auditErrors, 0) << after.raw;
        const InsertFact* made = after.insertOf("ROOM-13");
        EXPECT_EQ(made != nullptr, c.made) << after.raw;
        EXPECT_EQ(after.spaceCount(), c.made ? 3 : 2);
        if (made) {
            EXPECT_EQ(made->attrib("NAME")->text, "Office 009");
            EXPECT_EQ(made->item("AREA"), "25.50sq.m.");
            // After the block the proposal is computed anew from the drawing.
            EXPECT_NE(result.out.find("Next Space Name [Office 011]", result.out.find("Block Created")),
                      std::string::npos);
        } else {
            // No: the outline stays where it was drawn, and the field keeps the typed name.
            EXPECT_EQ(after.msPolys.size(), 1u);
            for (const PolylineFact& p : after.polys)
                if (p.block == "*Model_Space") {
                    EXPECT_DOUBLE_EQ(p.vertices[2].x, 5000.0);
                    EXPECT_DOUBLE_EQ(p.vertices[2].y, 5100.0);
                }
            EXPECT_NE(result.out.find("Next Space Name [Office 009]", result.out.find("Session Ended")),
                      std::string::npos);
        }
    }
}

TEST(BlockCreation, ATurnedUcsBuildsTheBlockInItAndPlacesItBack)
{
    // UCS: origin (100000, 50000), x along world y. A world point (wx, wy)
    // is typed as (wy - 50000, 100000 - wx).
    auto ucs = [](double wx, double wy) { return fixed(wy - 50000, 0) + "," + fixed(100000 - wx, 0); };
    CreationRun run("outlines-ucs.dxf");
    const DrawingFacts before = readDrawingFacts(run.drawing());
    const RunResult result =
        run.run({"mbc", "dlg:click IDC_START", ucs(2500, 0), ucs(2500, 2550), "^C", "dlg:close"});
    ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
    const DrawingFacts after = readDrawingFacts(run.saved());
    ASSERT_EQ(after.auditErrors, 0) << after.raw;
    const InsertFact* insert = after.insertOf("ROOM-1");
    ASSERT_NE(insert, nullptr) << result.out;
    EXPECT_NEAR(insert->x, 2500.0, 1e-6);
    EXPECT_NEAR(insert->y, 2550.0, 1e-6);
    EXPECT_NEAR(insert->rotation, 90.0, 1e-9);
    EXPECT_EQ(insert->item("AREA"), "25.50sq.m.");
    EXPECT_EQ(insert->item("PERIMETER"), "20.20m.");
    // The name stands 375 above the area in the UCS: world -x.
    const AttribFact* name = insert->attrib("NAME");
    ASSERT_NE(name, nullptr);
    EXPECT_NEAR(name->x, 2500.0 - 375.0, 1e-6);
    EXPECT_NEAR(name->y, 2550.0, 1e-6);
    EXPECT_NEAR(name->rotation, 90.0, 1e-9);
    // The definition's outline, turned by the reference, is the outline as drawn.
    const PolylineFact* original = before.poly(handleStartingAt(before, 0, 0));
    ASSERT_NE(original, nullptr);
    const PolylineFact* moved = after.poly(original->handle);
    ASSERT_NE(moved, nullptr);
    ASSERT_EQ(moved->block, "ROOM-1");
    for (size_t v = 0; v < moved->vertices.size(); ++v) {
        // Rotation by 90 degrees: (x, y) -> (-y, x), then the insertion point.
        EXPECT_NEAR(insert->x - moved->vertices[v].y, original->vertices[v].x, 1e-6);
        EXPECT_NEAR(insert->y + moved->vertices[v].x, original->vertices[v].y, 1e-6);
    }
}

TEST(BlockCreation, TextSettingsAreMadeNumericSavedAtOnceAndZeroBecomesOne)
{
    struct Case {
        const char* typed;
        const char* shown;   // the field after the change
        double height;       // the labels' height
    };
    const std::vector<Case> cases = {{"3a00", "300", 300.0}, {"0", "0", 1.0}, {"125.5", "125.5", 125.5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        CreationRun run("outlines.dxf");
        const RunResult result = run.run({"mbc", std::string("dlg:set IDC_TEXT_SIZE ") + c.typed, "dlg:show",
                                          "dlg:click IDC_START", "2500,0", "2500,2550", "^C", "dlg:close"});
        ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
        EXPECT_NE(result.out.find(std::string("Text Size [") + c.shown + "]"), std::string::npos) << result.out;
        CPreferences saved;
        saved.setFilePath(run.prefsPath().string());
        ASSERT_TRUE(saved.loadPreferences());
        EXPECT_DOUBLE_EQ(saved.getTextSize(), c.height);
        const DrawingFacts after = readDrawingFacts(run.saved());
        const InsertFact* insert = after.insertOf("ROOM-1");
        ASSERT_NE(insert, nullptr);
        EXPECT_DOUBLE_EQ(insert->attrib("AREA")->height, c.height);
        EXPECT_NEAR(insert->attrib("NAME")->y, 2550.0 + 1.5 * c.height, 1e-9);
    }
}

TEST(BlockCreation, SubAreaAndAddAreaReplaceTheListsAndMeasureAgain)
{
    CreationRun run("outlines.dxf");
    const DrawingFacts before = readDrawingFacts(run.drawing());
    const PolylineFact* hole = before.poly(handleStartingAt(before, 500, 500));
    const PolylineFact* extra = before.poly(handleStartingAt(before, 50000, 0));
    ASSERT_TRUE(hole && extra);
    // RECT becomes Room 1; then the hole (1 x 2 m) is subtracted and the
    // extra square (1 x 1 m) added, both picked by point.
    const RunResult result = run.run({"mbc", "dlg:click IDC_START", "2500,0", "2500,2550", "^C",
                                      "dlg:click IDC_SUB_AREA", "L", "1000,500", "", "dlg:click IDC_ADD_AREA", "L",
                                      "50500,0", "", "dlg:close"});
    ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
    EXPECT_NE(result.out.find("Please Select Areas to Subtract (selected room/space blocks will be ignored)"),
              std::string::npos);
    EXPECT_NE(result.out.find("Please Select Areas to Add"), std::string::npos);
    const DrawingFacts after = readDrawingFacts(run.saved());
    ASSERT_EQ(after.auditErrors, 0) << after.raw;
    const InsertFact* insert = after.insertOf("ROOM-1");
    ASSERT_NE(insert, nullptr);
    const double area = 5.0 * 5.1 - 1.0 * 2.0 + 1.0 * 1.0;
    const double perimeter = 2 * (5.0 + 5.1) + 2 * (1.0 + 2.0) + 4 * 1.0;
    EXPECT_EQ(insert->item("AREA"), fixed(area, 2) + "sq.m.");
    EXPECT_EQ(insert->item("PERIMETER"), fixed(perimeter, 2) + "m.");
    EXPECT_EQ(insert->item("HANDLESTOMINUS"), hole->handle + ",");
    EXPECT_EQ(insert->item("HANDLESTOADD"), extra->handle + ",");
    // The area label showed the area, so it follows it.
    EXPECT_EQ(insert->attrib("AREA")->text, fixed(area, 2) + "sq.m.");
    // The outlines stay in model space.
    EXPECT_EQ(after.msPolys.count(hole->handle), 1u);
    EXPECT_EQ(after.msPolys.count(extra->handle), 1u);
}

TEST(BlockCreation, AddAreaKeepsTheRestOfTheRecord)
{
    CreationRun run("rooms.dxf");
    const DrawingFacts before = readDrawingFacts(run.drawing());
    const InsertFact* office = before.insertOf("ROOM-3");
    ASSERT_NE(office, nullptr);
    ASSERT_EQ(office->item("TAGTYPE"), "ROOM");
    const RunResult result =
        run.run({"mbc", "dlg:click IDC_ADD_AREA", office->handle, "2500,0", "", "dlg:close"});
    ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
    const DrawingFacts after = readDrawingFacts(run.saved());
    const InsertFact* changed = after.insertOf("ROOM-3");
    ASSERT_NE(changed, nullptr);
    EXPECT_EQ(changed->item("AREA"), fixed(3.0 * 3.0 + 5.0 * 5.1, 2) + "sq.m.");
    EXPECT_EQ(changed->item("PERIMETER"), fixed(4 * 3.0 + 2 * (5.0 + 5.1), 2) + "m.");
    for (const char* key : {"TAGTYPE", "AREA_TYPE", "NAME", "COST_CENTRE"}) {
        SCOPED_TRACE(key);
        EXPECT_EQ(changed->item(key), office->item(key));
    }
    EXPECT_EQ(changed->attrib("NAME")->text, "Office 009");
}

TEST(BlockCreation, AddAreaWithoutASpaceAborts)
{
    CreationRun run("outlines.dxf");
    const RunResult result = run.run({"mbc", "dlg:click IDC_ADD_AREA", "^C", "dlg:close"});
    EXPECT_NE(result.out.find("\nInvalid Space - Aborting...\n"), std::string::npos) << result.out;
    const DrawingFacts after = readDrawingFacts(run.saved());
    EXPECT_EQ(after.spaceCount(), 0);
}

TEST(BlockCreation, UndoTakesBackTheWholeSession)
{
    CreationRun run("outlines.dxf");
    const DrawingFacts before = readDrawingFacts(run.drawing());
    const RunResult result =
        run.run({"mbc", "dlg:click IDC_START", "2500,0", "2500,2550", "13000,0", "11000,1000", "^C", "dlg:close", "U"});
    ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
    const DrawingFacts after = readDrawingFacts(run.saved());
    ASSERT_EQ(after.auditErrors, 0) << after.raw;
    EXPECT_EQ(after.spaceCount(), 0);
    EXPECT_EQ(after.msPolys, before.msPolys);
    for (const PolylineFact& p : before.polys) {
        const PolylineFact* back = after.poly(p.handle);
        ASSERT_NE(back, nullptr) << p.handle;
        EXPECT_EQ(back->block, p.block);
        EXPECT_DOUBLE_EQ(back->vertices[0].x, p.vertices[0].x);
        EXPECT_DOUBLE_EQ(back->vertices[0].y, p.vertices[0].y);
    }
}

TEST(BlockCreation, OptionsChangeTheUnitsOfTheNextBlock)
{
    CreationRun run("outlines.dxf");
    const RunResult result = run.run({"mbc", "dlg:menu IDM_OPTIONS", "dlg:check IDC_UNITS_FT", "dlg:click IDOK",
                                      "dlg:click IDC_START", "2500,0", "2500,2550", "^C", "dlg:close"});
    ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
    EXPECT_NE(result.out.find("Units set to FT\xc2\xb2\n"), std::string::npos) << result.out;
    const DrawingFacts after = readDrawingFacts(run.saved());
    const InsertFact* insert = after.insertOf("ROOM-1");
    ASSERT_NE(insert, nullptr);
    // 5000 x 5100 mm in square feet (1 ft = 304.8 mm), 20200 mm in feet.
    EXPECT_EQ(insert->item("AREA"), fixed(5000.0 * 5100.0 / (304.8 * 304.8), 2) + "sq.ft.");
    EXPECT_EQ(insert->item("PERIMETER"), fixed(20200.0 / 304.8, 2) + "ft.");
    EXPECT_EQ(insert->attrib("AREA")->text, fixed(5000.0 * 5100.0 / (304.8 * 304.8), 2) + "sq.ft.");
}
