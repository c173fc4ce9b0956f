// The block editor (mbe) driven by scripts on the ezdxf-made spaces.dxf: the
// list and its filter, picking a space, and the RoomBlock dialog's edits of
// names, texts, added and subtracted outlines and text layout, read back
// from the saved drawing with ezdxf; areas against sizes worked out here.

#include <gtest/gtest.h>

#include <functional>

#include "CommandTestSupport.h"

namespace {

using zelkatest::DrawingFacts;
using zelkatest::fixed;
using zelkatest::InsertFact;
using zelkatest::PlanRun;
using zelkatest::readDrawingFacts;
using zelkatest::RunResult;

// The rooms of spaces.dxf in list order; 2RM-1 (4000 x 5000 mm) is line 2.
constexpr double kRoomWidth = 4.0, kRoomDepth = 5.0;  // metres
// The loose outline of the drawing: 2000 x 2000 mm.
constexpr double kLooseSide = 2.0;

// Opens 2RM-1 in the RoomBlock dialog, runs the lines, closes the editor.
std::vector<std::string> editSecondRoom(std::vector<std::string> lines)
{
    std::vector<std::string> script = {"mbe", "dlg:dblclick IDC_BLOCK_LIST 2"};
    script.insert(script.end(), lines.begin(), lines.end());
    script.push_back("dlg:click IDC_CLOSE");
    return script;
}

}  // namespace

TEST(BlockEditor, EditsOfTheRoomBlockDialogAreWrittenToTheSpace)
{
    PlanRun probe("spaces.dxf");
    const DrawingFacts plan = readDrawingFacts(probe.drawing());
    ASSERT_EQ(plan.polylines.size(), 1u) << plan.error;
    const std::string loose = plan.polylines[0];
    const double area = kRoomWidth * kRoomDepth;
    const double perimeter = 2 * (kRoomWidth + kRoomDepth);
    const double hole = kLooseSide * kLooseSide;

    struct Case {
        const char* what;
        std::vector<std::string> lines;
        std::function<void(const InsertFact&, const DrawingFacts&)> check;
    };
    const std::vector<Case> cases = {
        {"name, area text and aux typed, then OK",
         {"dlg:set IDC_NAME Room 2.01", "dlg:set IDC_AREA_TEXT twenty", "dlg:set IDC_AUX Main office",
          "dlg:click IDOK"},
         [&](const InsertFact& room, const DrawingFacts&) {
             EXPECT_EQ(room.attrib("NAME")->text, "Room 2.01");
             EXPECT_EQ(room.attrib("AREA")->text, "twenty");
             EXPECT_EQ(room.attrib("AUX")->text, "Main office");
             EXPECT_EQ(room.item("NAME"), "Room 2.01");
             // The rest of the record stays as it was.
             EXPECT_EQ(room.item("COST_CENTRE"), "CC-1");
             EXPECT_EQ(room.item("TOT_WKSTNS"), "3");
         }},
        {"recalc and ^ on area and perimeter, then Apply and Cancel",
         {"dlg:click IDC_AREA_RECALC", "dlg:click IDC_AREA_COPY", "dlg:click IDC_PERIMETER_RECALC",
          "dlg:click IDC_PERIMETER_COPY", "dlg:click IDC_APPLY", "dlg:click IDCANCEL"},
         [&](const InsertFact& room, const DrawingFacts&) {
             EXPECT_EQ(room.attrib("AREA")->text, fixed(area, 2) + "sq.m.");
             EXPECT_EQ(room.attrib("AUX")->text, fixed(perimeter, 2) + "m.");
             EXPECT_EQ(room.item("AREA"), fixed(area, 2) + "sq.m.");
             EXPECT_EQ(room.item("PERIMETER"), fixed(perimeter, 2) + "m.");
         }},
        {"subtracted outline set, area copied up, OK",
         {"dlg:click IDC_SUB_SET", loose, "", "dlg:click IDC_AREA_COPY", "dlg:click IDOK"},
         [&](const InsertFact& room, const DrawingFacts& after) {
             EXPECT_EQ(room.item("HANDLESTOMINUS"), loose + ",");
             EXPECT_EQ(room.item("AREA"), fixed(area - hole, 2) + "sq.m.");
             EXPECT_EQ(room.item("PERIMETER"), fixed(perimeter + 4 * kLooseSide, 2) + "m.");
             EXPECT_EQ(room.attrib("AREA")->text, fixed(area - hole, 2) + "sq.m.");
             // The outline stays in model space.
             EXPECT_EQ(after.polylines.size(), 1u);
         }},
        {"added outline set, then deleted again before OK",
         {"dlg:click IDC_ADD_SET", loose, "", "dlg:click IDC_ADD_DELETE", "dlg:click IDOK"},
         [&](const InsertFact& room, const DrawingFacts&) {
             EXPECT_EQ(room.item("HANDLESTOADD"), "");
             EXPECT_EQ(room.item("AREA"), fixed(area, 2) + "sq.m.");
         }},
        {"added outline set, OK",
         {"dlg:click IDC_ADD_SET", loose, "", "dlg:click IDOK"},
         [&](const InsertFact& room, const DrawingFacts&) {
             EXPECT_EQ(room.item("HANDLESTOADD"), loose + ",");
             EXPECT_EQ(room.item("AREA"), fixed(area + hole, 2) + "sq.m.");
         }},
        {"format page: height, width and rotation",
         {"dlg:choose IDC_TAB 2", "dlg:set IDC_FORMAT_HEIGHT 400", "dlg:set IDC_FORMAT_WIDTH 0.8",
          "dlg:set IDC_FORMAT_ROTATION 90", "dlg:click IDOK"},
         [&](const InsertFact& room, const DrawingFacts&) {
             for (const char* tag : {"NAME", "AREA", "AUX"}) {
                 SCOPED_TRACE(tag);
                 EXPECT_DOUBLE_EQ(room.attrib(tag)->height, 400.0);
                 EXPECT_NEAR(room.attrib(tag)->rotation, 90.0, 1e-9);
             }
             // The texts themselves are left alone.
             EXPECT_EQ(room.attrib("NAME")->text, "2RM-1");
             EXPECT_EQ(room.attrib("AREA")->text, "19.00sq.m.");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PlanRun run("spaces.dxf");
        const RunResult r = run.run(editSecondRoom(c.lines));
        ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
        const DrawingFacts after = readDrawingFacts(run.saved());
        ASSERT_TRUE(after.error.empty()) << after.error;
        const InsertFact* room = after.insertOf("ROOM-2");
        ASSERT_NE(room, nullptr);
        ASSERT_TRUE(room->attrib("NAME") && room->attrib("AREA") && room->attrib("AUX"));
        c.check(*room, after);
        // The other spaces are untouched.
        EXPECT_EQ(after.insertOf("ROOM-1")->attrib("NAME")->text, "RM-101");
        EXPECT_EQ(after.insertOf("ROOM-1")->item("AREA"), "10.50sq.m.");
    }
}

TEST(BlockEditor, CancelAndRefusedValuesLeaveTheDrawingByteIdentical)
{
    PlanRun probe("spaces.dxf");
    const DrawingFacts plan = readDrawingFacts(probe.drawing());
    ASSERT_EQ(plan.polylines.size(), 1u) << plan.error;
    // The same drawing opened and saved without the editor.
    const RunResult plain = probe.run({});
    ASSERT_EQ(plain.exitCode, 0) << plain.out << plain.err;
    const std::string expected = zelkatest::readFile(probe.saved());
    ASSERT_FALSE(expected.empty());

    struct Case {
        const char* what;
        std::vector<std::string> lines;
        const char* message;  // said in the transcript
    };
    const std::vector<Case> cases = {
        {"texts typed and outlines changed, then Cancel",
         {"dlg:set IDC_NAME Renamed", "dlg:set IDC_AUX gone", "dlg:click IDC_SUB_SET", plan.polylines[0], "",
          "dlg:click IDC_SUB_HIGHLIGHT", "dlg:click IDC_AREA_COPY", "dlg:click IDCANCEL"},
         "Renamed"},
        {"rotation 360 refused on Apply, then Cancel",
         {"dlg:set IDC_NAME Renamed", "dlg:choose IDC_TAB 2", "dlg:set IDC_FORMAT_ROTATION 360", "dlg:click IDC_APPLY",
          "dlg:click IDOK", "dlg:click IDCANCEL"},
         "359"},
        {"the window closed", {"dlg:set IDC_NAME Renamed", "dlg:close"}, "RoomBlock"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PlanRun run("spaces.dxf");
        const RunResult r = run.run(editSecondRoom(c.lines));
        ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
        EXPECT_NE(r.out.find(c.message), std::string::npos) << r.out;
        EXPECT_TRUE(zelkatest::readFile(run.saved()) == expected) << "the saved drawing differs\n" << r.out;
    }
}

TEST(BlockEditor, ListFiltersAndPickingFindTheSpaces)
{
    PlanRun run("spaces.dxf");
    const DrawingFacts plan = readDrawingFacts(run.drawing());
    const InsertFact* desk = plan.insertOf("DESK");
    const InsertFact* lab = plan.insertNamed("Lab 7");
    ASSERT_TRUE(desk && lab) << plan.error;
    // Rooms first (five), then the gross area block alone; each opens from
    // the list; a pick of the desk is refused, a pick of Lab 7 opens it,
    // and its name is changed.
    const RunResult r = run.run({"mbe", "dlg:choose IDC_FILTER 2", "dlg:show", "dlg:dblclick IDC_BLOCK_LIST 1",
                                 "dlg:click IDCANCEL", "dlg:choose IDC_FILTER 1", "dlg:dblclick IDC_BLOCK_LIST 3",
                                 "dlg:click IDCANCEL", "dlg:click IDC_SELECT", desk->handle, "dlg:click IDC_SELECT",
                                 lab->handle,
                                 "dlg:set IDC_NAME Lab 7B", "dlg:click IDOK", "dlg:click IDC_CLOSE"});
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("Zelka Block Editor"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("5 item(s) found."), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("1 item(s) found."), std::string::npos) << r.out;
    // The gross area block opens from its list, and a name with a blank
    // opens its own space: the handle is read after the last blank.
    EXPECT_NE(r.out.find("Name [GROSS AREA]"), std::string::npos) << r.out;
    size_t labForms = 0;  // once from the list, once from the pick
    for (size_t at = r.out.find("Name [Lab 7]"); at != std::string::npos; at = r.out.find("Name [Lab 7]", at + 1))
        ++labForms;
    EXPECT_EQ(labForms, 2u) << r.out;
    EXPECT_NE(r.out.find("The specified AcDbBlockReference cannot be found in the list of Zelka blocks.  The "
                         "selected object may not be a Zelka block."),
              std::string::npos)
        << r.out;
    const DrawingFacts after = readDrawingFacts(run.saved());
    const InsertFact* renamed = after.insertOf("ROOM-3");
    ASSERT_NE(renamed, nullptr);
    EXPECT_EQ(renamed->attrib("NAME")->text, "Lab 7B");
    EXPECT_EQ(renamed->item("NAME"), "Lab 7B");
    // The name attribute keeps its own layer.
    EXPECT_EQ(renamed->attrib("NAME")->layer, "MISC");
}

TEST(BlockEditor, MoveAttributesLaysTheTextsOutAroundThePointAtOnce)
{
    PlanRun run("spaces.dxf");
    // The texts are moved, then Cancel: the move stays.
    const RunResult r = run.run(editSecondRoom(
        {"dlg:choose IDC_TAB 2", "dlg:click IDC_MOVE_ATTRIBUTES", "11000,3000", "dlg:click IDCANCEL"}));
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("Please select a position for the Attributes"), std::string::npos) << r.out;
    const DrawingFacts after = readDrawingFacts(run.saved());
    const InsertFact* room = after.insertOf("ROOM-2");
    ASSERT_NE(room, nullptr);
    // Text height 250: the name 375 above the area, the aux 375 below.
    const double height = 250.0;
    EXPECT_NEAR(room->attrib("AREA")->y, 3000.0, 1e-6);
    EXPECT_NEAR(room->attrib("NAME")->y, 3000.0 + 1.5 * height, 1e-6);
    EXPECT_NEAR(room->attrib("AUX")->y, 3000.0 - 1.5 * height, 1e-6);
    EXPECT_EQ(room->attrib("NAME")->text, "2RM-1");
}

TEST(BlockEditor, DialogsStillOpenWhenTheRunEndsWriteNothing)
{
    PlanRun plain("spaces.dxf");
    ASSERT_EQ(plain.run({}).exitCode, 0);
    PlanRun run("spaces.dxf");
    // The RoomBlock dialog and the hidden list are open when the module goes.
    const RunResult r = run.run({"mbe", "dlg:dblclick IDC_BLOCK_LIST 2", "dlg:set IDC_NAME Renamed"});
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_TRUE(zelkatest::readFile(run.saved()) == zelkatest::readFile(plain.saved())) << r.out;
}
