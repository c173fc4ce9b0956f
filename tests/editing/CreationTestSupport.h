#pragma once
// Runs zelka scripts on copies of the creation plans (tests/data/creation,
// made by make_creation_fixtures.py) and reads the saved drawing back
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

// How often text occurs in the transcript.
inline int countOf(const std::string& transcript, const std::string& text)
{
    int n = 0;
    for (size_t at = transcript.find(text); at != std::string::npos; at = transcript.find(text, at + 1)) ++n;
    return n;
}

}  // namespace creationtest
