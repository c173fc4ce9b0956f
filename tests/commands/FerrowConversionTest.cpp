// msc_isc on tests/data/commands/ferrow.dxf: each legacy label becomes a room
// space block made from the outline it names, measured as ezdxf measures
// that outline in the original drawing.

#include <gtest/gtest.h>

#include "tests/commands/CommandTestSupport.h"

using namespace zelkatest;

TEST(FerrowConversion, LabelsBecomeRoomSpaceBlocksOfTheirOutlines)
{
    const std::filesystem::path fixture = kFixtureDir / "ferrow.dxf";
    const DrawingFacts before = readDrawingFacts(fixture);
    ASSERT_EQ(before.polylines.size(), 2u);
    PlanRun run("ferrow.dxf");
    RunResult r = run.run({"msc_isc"});
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    const DrawingFacts after = readDrawingFacts(run.saved());
    ASSERT_TRUE(after.error.empty()) << after.error;

    int converted = 0;
    for (const InsertFact& label : before.inserts) {
        if (label.name != "FERROW_SPACE_LABEL") continue;
        const std::string name = label.attrib("ROOM")->text;
        const std::string outline = label.attrib("PLINE2_ID")->text;
        const OracleMeasure m = oracleMeasure(fixture, outline);
        ASSERT_GT(m.area, 0) << outline;
        const InsertFact* room = after.insertNamed(name);
        ASSERT_NE(room, nullptr) << name << "\n" << r.out;
        ++converted;
        EXPECT_EQ(room->name.rfind("ROOM-", 0), 0u);
        EXPECT_DOUBLE_EQ(room->x, label.x);
        EXPECT_DOUBLE_EQ(room->y, label.y);
        EXPECT_EQ(room->layer, "OUTLINES") << "the space block takes its outline's layer";
        EXPECT_EQ(room->item("AREA"), fixed(m.area / 1e6, 2) + "sq.m.");
        EXPECT_EQ(room->item("PERIMETER"), fixed(m.perimeter / 1000.0, 2) + "m.");
        EXPECT_EQ(room->attrib("AREA")->text, fixed(m.area / 1e6, 2) + "sq.m.");
        EXPECT_EQ(room->attrib("AUX")->text, " ");
        // the label's text height, NAME 1.5 heights above AREA
        const double h = label.attrib("ROOM")->height;
        EXPECT_DOUBLE_EQ(room->attrib("AREA")->height, h);
        EXPECT_NEAR(room->attrib("NAME")->y - room->attrib("AREA")->y, 1.5 * h, 1e-9);
        // the label is kept, on the layer FERROW
        const InsertFact* kept = nullptr;
        for (const InsertFact& i : after.inserts)
            if (i.handle == label.handle) kept = &i;
        ASSERT_NE(kept, nullptr);
        EXPECT_EQ(kept->layer, "FERROW");
    }
    EXPECT_EQ(converted, 2);
    // the outlines moved into the new definitions
    EXPECT_TRUE(after.polylines.empty());
    EXPECT_EQ(after.layers.at("BOMA"), "off unlocked");
    EXPECT_EQ(after.layers.at("FERROW"), "on unlocked");
}

TEST(FerrowConversion, AnErrorShownForALabelFailsTheRun)
{
    // The outlines lie on a locked layer, as in a drawing a user protected:
    // each label's conversion shows "Error Detected." and the run fails.
    const PlanRun run("ferrow-locked.dxf");
    const RunResult r = run.run({"msc_isc"}, false);
    EXPECT_NE(r.out.find("Error Detected."), std::string::npos) << r.out;
    EXPECT_EQ(r.exitCode, 1) << r.out << r.err;
}
