#pragma once
// Runs zelka scripts on copies of the creation plans (tests/data/creation,
// made by tests/commands/make_fixtures.py) and reads the saved drawing back
// through ezdxf (readDrawingFacts of the command tests).

#include <filesystem>
#include <string>

#include "tests/commands/CommandTestSupport.h"

namespace creationtest {

using namespace zelkatest;

inline const std::filesystem::path kCreationDir = kSourceDir / "tests/data/creation";

// A run of zelka on a copy of a creation plan, with its own preferences.
class CreationRun : public PlanRun {
public:
    explicit CreationRun(const std::string& fixture) : PlanRun(fixture, 0, 2, "NONE", kCreationDir) {}
};

// The handle of the plan's model-space outline whose first vertex is (x, y).
inline std::string handleStartingAt(const DrawingFacts& facts, double x, double y)
{
    for (const PolylineFact& p : facts.polys)
        if (p.block == "*Model_Space" && !p.vertices.empty() && p.vertices[0].x == x && p.vertices[0].y == y)
            return p.handle;
    return "<none at " + fixed(x, 0) + "," + fixed(y, 0) + ">";
}

}  // namespace creationtest
