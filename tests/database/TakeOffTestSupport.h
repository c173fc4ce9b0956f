#pragma once
// Drawings for take-off tests: generated plans, copies registered as a
// drawing of a floor of their own in the test server, and ezdxf's reading
// of their space blocks.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "DatabaseTestSupport.h"
#include "../common/OracleJson.h"
#include "../common/Shell.h"
#include "../common/ZelkaProcess.h"

namespace dbtest {

// bench/gen_floorplan.py with options, written to folder/name.
inline std::filesystem::path generatedPlan(const zelkatest::TempFolder& folder, const std::string& name,
                                           const std::string& options)
{
    std::filesystem::path file = folder.path() / name;
    std::string command = std::string(ZELKA_PYTHON) + " " + ZELKA_SOURCE_DIR + "/bench/gen_floorplan.py --out '" +
                          file.string() + "' " + options + " > /dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return file;
}

// One space block as tests/spaces/plan_facts.py takeoff reads it with ezdxf.
struct OracleRoom {
    double area = 0, perimeter = 0;
    std::set<std::string> assets;  // insertion point inside the outline
    std::set<std::string> near;    // extents overlapping the outline's extents
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(OracleRoom, area, perimeter, assets, near)

struct OraclePlan {
    std::map<std::string, OracleRoom> rooms;  // by handle
    std::string floorHandle;                  // the gross area block
    OracleRoom floor;
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(OraclePlan, rooms, floorHandle, floor)

inline OraclePlan takeOffOracle(const std::filesystem::path& dxf)
{
    return zelkatest::oracleJson(zelkatest::testScript("spaces/plan_facts.py"), {"takeoff", dxf.string()})
        .get<OraclePlan>();
}

// A copy of a drawing with a drawing row of its own under a new floor.
struct Registered {
    zelkatest::TempFolder folder;
    std::string fileName;
    int floor = 0;
    int drawingID = 0;

    Registered(const std::filesystem::path& source, const std::string& label)
    {
        // Unique in the server, which lives for the whole test run.
        static int serial = 0;
        fileName = label + "-" + std::to_string(getpid()) + "-" + std::to_string(++serial) + ".dxf";
        std::filesystem::copy_file(source, folder.path() / fileName);
        floor = newFloor(label);
        drawingID = std::stoi(psqlValue("insert into drawings (location_id, file_path, file_name) values (" +
                                        std::to_string(floor) + ", 'tests', '" + fileName + "') returning id;"));
    }
    std::filesystem::path path() const { return folder.path() / fileName; }
};

}  // namespace dbtest
