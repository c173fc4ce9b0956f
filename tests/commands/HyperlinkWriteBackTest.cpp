// Space blocks with hyperlinks as CAD programs store them ("PE_URL" extended
// data with descriptions, sub-locations and the option flag, on the
// reference and on an entity of the definition; tests/data/commands/links.dxf
// from make_fixtures.py): writing the blocks back leaves links that did
// not change exactly as they were, read back by ezdxf.

#include <gtest/gtest.h>

#include "tests/commands/CommandTestSupport.h"

using namespace zelkatest;

namespace {

// Every entity's "PE_URL" extended data, model space and block definitions,
// one "handle type: code=value ..." line each, as ezdxf reads it.
const char* const kLinksProgram =
    "import sys, ezdxf\n"
    "doc = ezdxf.readfile(sys.argv[1])\n"
    "lines = []\n"
    "for e in doc.entitydb.values():\n"
    "    if e.dxf.handle is None or not hasattr(e, 'has_xdata') or not e.has_xdata('PE_URL'): continue\n"
    "    tags = ' '.join(f'{t.code}={t.value}' for t in e.get_xdata('PE_URL'))\n"
    "    lines.append(f'{e.dxf.handle} {e.dxftype()}: {tags}')\n"
    "print('\\n'.join(sorted(lines)))\n";

}  // namespace

TEST(HyperlinkWriteBack, MusLeavesLinksWithSubLocationsExactlyAsStored)
{
    const std::filesystem::path fixture = kFixtureDir / "links.dxf";
    const std::string before = runPython(kLinksProgram, {fixture.string()});
    // the fixture as written: the reference's two links and the outline's one
    ASSERT_NE(before.find("INSERT: 1000=plans/level1.pdf 1002={ 1000=Level 1 plan 1000=Sheet A-101 1002={ 1071=1 "
                          "1002=} 1002=} 1000=https://example.org/rooms/alpha\n"),
              std::string::npos)
        << before;
    ASSERT_NE(before.find("LWPOLYLINE: 1000=specs/alpha.docx 1002={ 1000=Fit-out 1000=Section 3 1002={ 1071=0 "
                          "1002=} 1002=}"),
              std::string::npos)
        << before;

    const std::vector<std::vector<std::string>> scripts = {{"mus"}, {"mut", "i", "i", "i"}, {"msxta", "y", "y", "n", "n"}};
    for (const std::vector<std::string>& script : scripts) {
        SCOPED_TRACE(script[0]);
        PlanRun run("links.dxf");
        const RunResult r = run.run(script);
        ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
        EXPECT_EQ(runPython(kLinksProgram, {run.saved().string()}), before);
        // ezdxf's own reading of the reference's first link keeps its sub-location
        const std::string link = runPython(
            "import sys, ezdxf\n"
            "doc = ezdxf.readfile(sys.argv[1])\n"
            "ref = [e for e in doc.modelspace().query('INSERT') if e.dxf.name == 'ROOM-1'][0]\n"
            "print('|'.join(ref.get_hyperlink()))\n",
            {run.saved().string()});
        EXPECT_EQ(link, "plans/level1.pdf|Level 1 plan|Sheet A-101\n");
    }
}
