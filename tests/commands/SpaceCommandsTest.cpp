// The space maintenance commands run through zelka on tests/data/commands/
// spaces.dxf, the saved drawing read back with ezdxf. Expected areas and
// perimeters come from ezdxf's own measuring of the fixture (dxf_oracle.py
// area), the expected attribute places from the text height and rotation.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "ZelkaVersion.h"
#include "tests/commands/CommandTestSupport.h"

namespace fs = std::filesystem;
using namespace zelkatest;

namespace {

const fs::path kSpaces = kFixtureDir / "spaces.dxf";

class SpaceCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        before_ = readDrawingFacts(kSpaces);
        ASSERT_TRUE(before_.error.empty()) << before_.error;
        ASSERT_EQ(before_.spaces().size(), 6u);
    }

    // Runs the script on a fresh copy and reads the saved drawing.
    DrawingFacts runAndRead(const std::vector<std::string>& lines, RunResult& result, int units = 0,
                            int precision = 2)
    {
        run_ = std::make_unique<PlanRun>("spaces.dxf", units, precision);
        result = run_->run(lines);
        DrawingFacts facts = readDrawingFacts(run_->saved());
        EXPECT_TRUE(facts.error.empty()) << facts.error << "\n" << result.out << result.err;
        return facts;
    }

    DrawingFacts before_;
    std::unique_ptr<PlanRun> run_;
};

std::string attribText(const InsertFact& insert, const std::string& tag)
{
    const AttribFact* a = insert.attrib(tag);
    return a ? a->text : "<none>";
}

}  // namespace

TEST_F(SpaceCommands, MusRecalculatesRecordsAndTheLabelsThatShowedThemLeavingHandTypedLabels)
{
    RunResult r;
    DrawingFacts after = runAndRead({"mus"}, r);
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("Zelka Update Spaces " ZELKA_VERSION "\n"), std::string::npos) << r.out;
    for (const InsertFact& old : before_.spaces()) {
        const std::string name = attribText(old, "NAME");
        const OracleMeasure m = oracleMeasure(kSpaces, old.handle);
        ASSERT_GT(m.area, 0) << name;
        // millimetre drawing, metric preferences: mm2 / 1e6 and mm / 1000
        const std::string area = fixed(m.area / 1e6, 2);
        const std::string perimeter = fixed(m.perimeter / 1000.0, 2);
        const InsertFact* now = after.insertOf(old.name);
        ASSERT_NE(now, nullptr) << old.name;
        EXPECT_EQ(now->item("AREA"), area + "sq.m.") << name;
        EXPECT_EQ(now->item("PERIMETER"), perimeter + "m.") << name;
        EXPECT_EQ(now->item("NAME"), name);
        EXPECT_EQ(now->item("COST_CENTRE"), old.item("COST_CENTRE"));
    }
    // labels that showed the old record follow it: 2RM-1 said 19.00 / 17.00
    EXPECT_EQ(attribText(spaceNamed(after, "2RM-1"), "AREA"), "20.00sq.m.");
    EXPECT_EQ(attribText(spaceNamed(after, "2RM-1"), "AUX"), "18.00m.");
    EXPECT_EQ(attribText(spaceNamed(after, "RM-101"), "AUX"), "13.00m.");
    // the hand-typed label is left alone, and so is an aux value that is not the perimeter
    EXPECT_EQ(attribText(spaceNamed(after, "Lab 7"), "AREA"), "about 5 m2");
    EXPECT_EQ(attribText(spaceNamed(after, "Lab 7"), "AUX"), "Science");
    // a block read in feet, recalculated in metres, keeps the suffix it was read with
    const OracleMeasure feet = oracleMeasure(kSpaces, spaceNamed(before_, "Ft Room").handle);
    EXPECT_EQ(attribText(spaceNamed(after, "Ft Room"), "AREA"), fixed(feet.area / 1e6, 2) + "sq.ft.");
    EXPECT_EQ(spaceNamed(after, "Ft Room").item("AREA"), fixed(feet.area / 1e6, 2) + "sq.m.");
}

TEST_F(SpaceCommands, MsxtaWithDefaultAnswersWritesNamesAndAreasOnly)
{
    RunResult r;
    DrawingFacts after = runAndRead({"msxta", "", "", "", ""}, r);
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("Sync XData name to name attribute? <1>:"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Recalculate values before sync? <0>:"), std::string::npos) << r.out;
    // not recalculated: the records stay, the labels show them
    EXPECT_EQ(spaceNamed(after, "2RM-1").item("AREA"), "19.00sq.m.");
    EXPECT_EQ(attribText(spaceNamed(after, "2RM-1"), "AREA"), "19.00sq.m.");
    EXPECT_EQ(attribText(spaceNamed(after, "Lab 7"), "AREA"), "4.00sq.m.");
    // the area label takes the preferences' units: metres here
    EXPECT_EQ(attribText(spaceNamed(after, "Ft Room"), "AREA"), "100.00sq.m.");
    EXPECT_EQ(attribText(spaceNamed(after, "2RM-1"), "AUX"), "17.00m.");
    EXPECT_EQ(attribText(spaceNamed(after, "Lab 7"), "AUX"), "Science");
}

TEST_F(SpaceCommands, MsxtaRecalculatingAndSyncingAllThreeWithThreeDecimals)
{
    RunResult r;
    DrawingFacts after = runAndRead({"msxta", "y", "y", "y", "y"}, r, 0, 3);
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    for (const char* name : {"RM-101", "2RM-1", "Lab 7", "Store"}) {
        const OracleMeasure m = oracleMeasure(kSpaces, spaceNamed(before_, name).handle);
        EXPECT_EQ(attribText(spaceNamed(after, name), "AREA"), fixed(m.area / 1e6, 3) + "sq.m.") << name;
        EXPECT_EQ(spaceNamed(after, name).item("AREA"), fixed(m.area / 1e6, 3) + "sq.m.") << name;
        if (std::string(name) != "Store") {
            EXPECT_EQ(attribText(spaceNamed(after, name), "AUX"), fixed(m.perimeter / 1000.0, 3) + "m.") << name;
        }
    }
    EXPECT_EQ(spaceNamed(after, "Store").attrib("AUX"), nullptr);
}

TEST_F(SpaceCommands, MbtaBlanksEveryThirdAttributeAndCountsOnlyBlocksThatHaveOne)
{
    size_t withAux = 0;
    for (const InsertFact& i : before_.spaces())
        if (i.attrib("AUX")) ++withAux;
    RunResult r;
    DrawingFacts after = runAndRead({"mbta"}, r);
    EXPECT_NE(r.out.find(std::to_string(withAux) + " block(s) altered\n"), std::string::npos) << r.out;
    for (const InsertFact& i : after.spaces()) {
        if (const AttribFact* aux = i.attrib("AUX")) {
            EXPECT_EQ(aux->text, " ") << i.name;
        }
        EXPECT_EQ(attribText(i, "NAME"), attribText(*before_.insertOf(i.name), "NAME"));
    }
}

TEST_F(SpaceCommands, MutIgnoredThreeTimesChangesNoAttribute)
{
    RunResult r;
    DrawingFacts after = runAndRead({"mut", "i", "i", "i"}, r);
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("Enter new Text Size or (i)gnore <250.00>:"), std::string::npos) << r.out;
    for (const InsertFact& old : before_.spaces()) {
        const InsertFact* now = after.insertOf(old.name);
        ASSERT_NE(now, nullptr);
        for (const AttribFact& a : old.attribs) {
            const AttribFact* b = now->attrib(a.tag);
            ASSERT_NE(b, nullptr) << old.name << " " << a.tag;
            EXPECT_NEAR(b->x, a.x, 1e-9) << old.name << " " << a.tag;
            EXPECT_NEAR(b->y, a.y, 1e-9) << old.name << " " << a.tag;
            EXPECT_EQ(b->height, a.height);
            EXPECT_EQ(b->text, a.text);
        }
    }
}

TEST_F(SpaceCommands, MutRejectsBadAnswersThenSetsSizeScaleAndRotation)
{
    RunResult r;
    DrawingFacts after = runAndRead({"mut", "big", "-5", "500", "0", "0.8", "x", "90"}, r);
    EXPECT_NE(r.out.find("Invalid Input. Enter new Text Siz or (i)gnore"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Text Size must be greater than 0\nEnter new Text Size or (i)gnore"), std::string::npos);
    EXPECT_NE(r.out.find("Text Scale must be greater than 0\nEnter new Text Scale or (i)gnore"), std::string::npos);
    EXPECT_NE(r.out.find("Invalid Input. Enter new Text Rotation or (i)gnore"), std::string::npos);
    // height 500 at 90 degrees: the name stands 1.5 x 500 to the left of the area text
    const InsertFact& room = spaceNamed(after, "RM-101");
    const AttribFact* area = room.attrib("AREA");
    const AttribFact* name = room.attrib("NAME");
    const AttribFact* aux = room.attrib("AUX");
    ASSERT_TRUE(area && name && aux);
    EXPECT_DOUBLE_EQ(area->height, 500.0);
    EXPECT_NEAR(area->rotation, 90.0, 1e-9);
    EXPECT_NEAR(name->x, area->x - 750.0, 1e-6);
    EXPECT_NEAR(name->y, area->y, 1e-6);
    EXPECT_NEAR(aux->x, area->x + 750.0, 1e-6);
}

TEST_F(SpaceCommands, MauxAddsTheMissingAuxOnceAndTurnsTheAttributeLayersOn)
{
    RunResult once;
    DrawingFacts first = runAndRead({"maux"}, once);
    EXPECT_EQ(once.exitCode, 0) << once.out << once.err;
    const InsertFact& store = spaceNamed(first, "Store");
    const AttribFact* area = store.attrib("AREA");
    const AttribFact* aux = store.attrib("AUX");
    ASSERT_TRUE(area && aux);
    EXPECT_EQ(aux->text, " ");
    EXPECT_EQ(aux->layer, "ATT-AUX");
    EXPECT_NEAR(aux->x, area->x, 1e-9);
    EXPECT_NEAR(aux->y, area->y - 1.5 * area->height, 1e-9);
    const std::vector<AttribFact>& defs = first.attdefs.at("ROOM-4");
    int auxDefs = 0;
    for (const AttribFact& d : defs)
        if (d.tag == "AUX") {
            ++auxDefs;
            EXPECT_EQ(d.text, "default aux");
            EXPECT_EQ(d.layer, "ATT-AUX");
            EXPECT_NEAR(d.y, -375.0, 1e-9);
        }
    EXPECT_EQ(auxDefs, 1);
    EXPECT_EQ(first.layers.at("ATT-AUX"), "on unlocked");

    // a second run on the result changes nothing
    PlanRun again("", 0, 2);
    fs::copy_file(run_->saved(), again.folder() / "once.dxf");
    RunResult twice = zelkatest::runZelka({"--appdata", again.appdata().string(), "--command", "maux", "--save-as",
                                           (again.folder() / "twice.dxf").string(),
                                           (again.folder() / "once.dxf").string()});
    EXPECT_EQ(twice.exitCode, 0) << twice.out << twice.err;
    DrawingFacts second = readDrawingFacts(again.folder() / "twice.dxf");
    ASSERT_EQ(second.inserts.size(), first.inserts.size());
    for (size_t i = 0; i < first.inserts.size(); ++i) {
        ASSERT_EQ(second.inserts[i].attribs.size(), first.inserts[i].attribs.size()) << first.inserts[i].name;
        for (size_t k = 0; k < first.inserts[i].attribs.size(); ++k) {
            EXPECT_EQ(second.inserts[i].attribs[k].tag, first.inserts[i].attribs[k].tag);
            EXPECT_NEAR(second.inserts[i].attribs[k].x, first.inserts[i].attribs[k].x, 1e-9);
            EXPECT_NEAR(second.inserts[i].attribs[k].y, first.inserts[i].attribs[k].y, 1e-9);
        }
    }
    EXPECT_EQ(second.attdefs.at("ROOM-4").size(), defs.size());
}

TEST_F(SpaceCommands, MfrsReplacesOnlyAPrefix)
{
    RunResult r;
    DrawingFacts after = runAndRead({"mfrs", "RM-", "ROOM-"}, r);
    EXPECT_NE(r.out.find("RM-101 changed to ROOM-101\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(std::to_string(before_.spaces().size()) + " blocks processed - 1 changes made"),
              std::string::npos)
        << r.out;
    EXPECT_EQ(r.out.find("2RM-1 changed"), std::string::npos);
    EXPECT_NE(after.insertNamed("ROOM-101"), nullptr);
    EXPECT_EQ(after.insertNamed("ROOM-101")->item("NAME"), "ROOM-101");
    EXPECT_NE(after.insertNamed("2RM-1"), nullptr);
    EXPECT_EQ(after.insertNamed("RM-101"), nullptr);
}

TEST_F(SpaceCommands, MrtRewritesAttributesFromTheRecordWithoutTouchingIt)
{
    RunResult r;
    DrawingFacts after = runAndRead({"mrt"}, r);
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    for (const InsertFact& old : before_.spaces()) {
        const InsertFact* now = after.insertOf(old.name);
        ASSERT_NE(now, nullptr);
        EXPECT_EQ(now->xdata, old.xdata) << old.name;
        EXPECT_EQ(attribText(*now, "NAME"), attribText(old, "NAME"));
        EXPECT_EQ(attribText(*now, "AREA"), attribText(old, "AREA"));
        const AttribFact* area = now->attrib("AREA");
        const AttribFact* name = now->attrib("NAME");
        ASSERT_TRUE(area && name);
        EXPECT_NEAR(name->y - area->y, 1.5 * area->height, 1e-9) << old.name;
    }
}

TEST_F(SpaceCommands, MscCalMovesAttributesToTheirLayersAndRestoresTheLayerState)
{
    RunResult r;
    DrawingFacts after = runAndRead({"msc_cal"}, r);
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_EQ(spaceNamed(after, "Lab 7").attrib("NAME")->layer, "ATT-NAME");
    EXPECT_EQ(spaceNamed(after, "RM-101").attrib("AREA")->layer, "ATT-AREA");
    // the take-off state (everything on and unlocked) is undone at the end
    EXPECT_EQ(after.layers.at("FURNITURE"), "on locked");
    EXPECT_EQ(after.layers.at("ATT-AUX"), "off unlocked");
}

TEST_F(SpaceCommands, MdbRefusesOtherEntitiesThenLeavesTheOutlineWhereTheBlockShowedIt)
{
    ASSERT_EQ(before_.polylines.size(), 1u);
    const InsertFact& room = spaceNamed(before_, "RM-101");
    RunResult r;
    DrawingFacts after = runAndRead({"mdb", before_.polylines[0], room.handle}, r);
    EXPECT_NE(r.out.find("Zelka Block Delete " ZELKA_VERSION "\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Invalid selection - AcDbPolyline.\n"), std::string::npos) << r.out;
    EXPECT_EQ(after.insertNamed("RM-101"), nullptr);
    EXPECT_EQ(after.attdefs.count("ROOM-1"), 0u) << "the definition nothing inserts any more is erased";
    ASSERT_EQ(after.polylines.size(), 2u);
    // the new outline has the block's area and stands where the block showed it
    const std::string handle = after.polylines[0] == before_.polylines[0] ? after.polylines[1] : after.polylines[0];
    const std::string corners = runPython(
        "import sys, ezdxf\n"
        "e = ezdxf.readfile(sys.argv[1]).entitydb[sys.argv[2]]\n"
        "print(sorted((round(x, 6), round(y, 6)) for x, y in e.get_points('xy')))\n",
        {run_->saved().string(), handle});
    EXPECT_EQ(corners, "[(3500.0, 3250.0), (3500.0, 6750.0), (6500.0, 3250.0), (6500.0, 6750.0)]\n");
}

TEST_F(SpaceCommands, MdbCancelledDoesNothing)
{
    RunResult r;
    DrawingFacts after = runAndRead({"mdb", "^C"}, r);
    EXPECT_NE(r.out.find("Cancelled by User.\n"), std::string::npos) << r.out;
    EXPECT_EQ(after.inserts.size(), before_.inserts.size());
}

TEST_F(SpaceCommands, MscDsdPrintsThePickedBlocksAttributesAndRecord)
{
    const InsertFact& lab = spaceNamed(before_, "Lab 7");
    PlanRun run("spaces.dxf");
    RunResult r = run.run({"msc_dsd", lab.handle}, false);
    const std::string expected = std::string("\nBlock Identifier ROOM-3\n") + "Handle\t\t\t " + lab.handle + "\n" +
                                 "Attributes\n\tName 'Lab 7'\n\tArea 'about 5 m2'\n\t Aux 'Science'\n\n" +
                                 "XDATA\n"
                                 "\t Area           4.000000\n"
                                 "\t Perimeter      9.000000\n"
                                 "\t Tag Type       ROOM\n"
                                 "\t Area Type      NET\n"
                                 "\t Cost Centre    CC-1\n"
                                 "\t Date           2024-01-15\n"
                                 "\t Date Last Move <Not Set>\n"
                                 "\t Dept Charge    D01\n"
                                 "\t Room Height    2.700000\n"
                                 "\t Special Req    <Not Set>\n"
                                 "\t Tot Staff      2\n"
                                 "\t Tot Wk Stns    3\n"
                                 "\t Vloume         0.000000\n\n\n";
    EXPECT_NE(r.out.find(expected), std::string::npos) << r.out;
    RunResult cancelled = run.run({"msc_dsd", "^C"}, false);
    EXPECT_EQ(cancelled.out.find("Block Identifier"), std::string::npos);
}
