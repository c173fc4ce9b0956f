// UNDO, U and REDO through zelka: after every module command that changes
// the drawing, UNDO gives back the drawing that saving the untouched plan
// writes, byte for byte; REDO gives back the command's drawing; a count
// undoes that many commands, and a new change empties the redo list.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/commands/CommandTestSupport.h"

namespace zelkatest {
namespace {

// Saves the plan after the script lines; returns the saved bytes.
std::string savedAfter(const std::string& fixture, const std::vector<std::string>& lines, RunResult* result = nullptr)
{
    PlanRun run(fixture);
    RunResult r = run.run(lines);
    if (result) *result = r;
    EXPECT_TRUE(std::filesystem::exists(run.saved())) << r.out << r.err;
    return readFile(run.saved());
}

struct Changing {
    const char* fixture;
    std::vector<std::string> lines;
};

TEST(UndoCommands, UndoAfterEachChangingCommandGivesBackTheSavedPlanByteForByte)
{
    const std::vector<Changing> cases = {
        {"spaces.dxf", {"mus"}},
        {"spaces.dxf", {"msxta", "", "", "y", "y"}},
        {"spaces.dxf", {"mbta"}},
        {"spaces.dxf", {"mut", "0.5", "0.8", "30"}},
        {"spaces.dxf", {"maux"}},
        {"spaces.dxf", {"mrt"}},
        {"spaces.dxf", {"mfrs", "RM-", "ROOM-"}},
        {"spaces.dxf", {"mfrs", "", "X-"}},
        {"spaces.dxf", {"mdb", "3D"}},
        {"spaces.dxf", {"msc_cal"}},
        {"ferrow.dxf", {"msc_isc"}},
    };
    for (const Changing& c : cases) {
        SCOPED_TRACE(c.fixture + std::string(": ") + c.lines.front());
        const std::string untouched = savedAfter(c.fixture, {});
        const std::string changed = savedAfter(c.fixture, c.lines);
        ASSERT_NE(changed, untouched) << "the command must change the plan for this case to mean anything";

        std::vector<std::string> undone = c.lines;
        undone.insert(undone.end(), {"UNDO", ""});
        RunResult r;
        EXPECT_TRUE(savedAfter(c.fixture, undone, &r) == untouched) << r.out;
        EXPECT_NE(r.out.find("Undone: " + c.lines.front()), std::string::npos) << r.out;

        std::vector<std::string> redone = c.lines;
        redone.insert(redone.end(), {"U", "REDO"});
        EXPECT_TRUE(savedAfter(c.fixture, redone, &r) == changed) << r.out;
        EXPECT_NE(r.out.find("Redone: " + c.lines.front()), std::string::npos) << r.out;
    }
}

TEST(UndoCommands, CountsUAndRedoWalkThroughTheCommandsInOrder)
{
    const std::vector<std::string> first = {"mfrs", "RM-", "ROOM-"};
    const std::vector<std::string> second = {"mbta"};
    auto join = [](std::vector<std::string> a, const std::vector<std::string>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    const std::string untouched = savedAfter("spaces.dxf", {});
    const std::string afterFirst = savedAfter("spaces.dxf", first);
    const std::string afterBoth = savedAfter("spaces.dxf", join(first, second));
    ASSERT_NE(afterFirst, untouched);
    ASSERT_NE(afterBoth, afterFirst);

    struct Case {
        const char* what;
        std::vector<std::string> tail;
        const std::string& expected;
        std::vector<std::string> said;
    };
    const std::vector<Case> cases = {
        {"UNDO 2 takes back both", {"UNDO", "2"}, untouched, {"Undone: mbta", "Undone: mfrs", "Everything has been undone."}},
        {"UNDO more than there is", {"UNDO", "9"}, untouched, {"Everything has been undone."}},
        {"U takes back the last", {"U"}, afterFirst, {"Undone: mbta"}},
        {"U twice, then REDO brings back only the last U", {"U", "U", "REDO"}, afterFirst, {"Redone: mfrs"}},
        {"UNDO 2 then REDO brings back both", {"UNDO", "2", "REDO"}, afterBoth, {"Redone: mbta", "Redone: mfrs"}},
        {"a listing between U and REDO changes nothing", {"U", "m?", "REDO"}, afterBoth, {"Redone: mbta"}},
        {"a change after U drops the redo list", {"U", "mfrs", "ROOM-", "RM-", "REDO", "U"}, afterFirst, {"Nothing to redo."}},
        {"U with nothing left", {"U", "U", "U"}, untouched, {"Nothing to undo."}},
        {"UNDO refuses a bad count and asks again", {"UNDO", "0", "x", "1"}, afterFirst, {"Value must be nonzero.", "Requires an integer value."}},
        {"UNDO cancelled at its prompt", {"UNDO", "^C"}, afterBoth, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RunResult r;
        EXPECT_TRUE(savedAfter("spaces.dxf", join(join(first, second), c.tail), &r) == c.expected) << r.out;
        for (const std::string& text : c.said) EXPECT_NE(r.out.find(text), std::string::npos) << text << "\n" << r.out;
    }
}

}  // namespace
}  // namespace zelkatest
