// Regression inputs (tests/regressions/*.dxf, written by
// tests/commands/make_fixtures.py), each run through the command that
// once broke on it and read back with ezdxf.

#include <gtest/gtest.h>

#include "tests/commands/CommandTestSupport.h"

using namespace zelkatest;

namespace {

int countTag(const std::vector<AttribFact>& items, const std::string& tag)
{
    int n = 0;
    for (const AttribFact& a : items) n += a.tag == tag;
    return n;
}

}  // namespace

// maux with ATT-AUX locked added another AUX attribute and definition on every run.
TEST(Regressions, MauxWithTheAuxLayerLockedAddsNoSecondAux)
{
    const RegressionRun run("maux-locked-aux.dxf");
    const RunResult r = run.run({"maux", "maux"});
    EXPECT_EQ(r.exitCode, 1) << r.out << r.err;
    const DrawingFacts after = readDrawingFacts(run.saved());
    ASSERT_TRUE(after.error.empty()) << after.error;
    const InsertFact* room = after.insertOf("ROOM-7");
    ASSERT_NE(room, nullptr);
    EXPECT_EQ(countTag(room->attribs, "AUX"), 1);
    EXPECT_EQ(countTag(after.attdefs.at("ROOM-7"), "AUX"), 1);
}

// mus with ATT-NAME locked did not read the name and wrote NAME=ROOM-7.
TEST(Regressions, MusWithTheNameLayerLockedKeepsTheName)
{
    const RegressionRun run("mus-locked-name.dxf");
    const RunResult r = run.run({"mus"});
    EXPECT_EQ(r.exitCode, 1) << r.out << r.err;
    const DrawingFacts after = readDrawingFacts(run.saved());
    ASSERT_TRUE(after.error.empty()) << after.error;
    const InsertFact* room = after.insertOf("ROOM-7");
    ASSERT_NE(room, nullptr);
    EXPECT_EQ(room->item("NAME"), "Real Name");
    EXPECT_EQ(room->item("AREA"), "11.00sq.m.") << "the block is left as it was";
    ASSERT_NE(room->attrib("NAME"), nullptr);
    EXPECT_EQ(room->attrib("NAME")->text, "Real Name");
}

// mus rewrote every link and dropped its sub-location.
TEST(Regressions, MusKeepsALinksSubLocation)
{
    const RegressionRun run("mus-links.dxf");
    const RunResult r = run.run({"mus"});
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    const std::string link = runPython(
        "import sys, ezdxf\n"
        "doc = ezdxf.readfile(sys.argv[1])\n"
        "ref = [e for e in doc.modelspace().query('INSERT') if e.dxf.name == 'ROOM-7'][0]\n"
        "print('|'.join(ref.get_hyperlink()))\n"
        "print(' '.join(f'{t.code}={t.value}' for t in ref.get_xdata('PE_URL')))\n",
        {run.saved().string()});
    EXPECT_EQ(link,
              "plans/level1.pdf|Level 1 plan|Sheet A-101\n"
              "1000=plans/level1.pdf 1002={ 1000=Level 1 plan 1000=Sheet A-101 1002={ 1071=1 1002=} 1002=}\n");
}
