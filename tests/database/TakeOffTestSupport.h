#pragma once
// Drawings for take-off tests: generated plans, and copies registered as a
// drawing of a floor of their own in the test server.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "DatabaseTestSupport.h"
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

// What tests/database/takeoff_oracle.py prints for the drawing (its rooms
// and floor as ezdxf reads them, a line each).
inline std::string takeOffOracle(const std::filesystem::path& dxf)
{
    const std::string command = zelkatest::pythonCommand(
        std::filesystem::path(ZELKA_SOURCE_DIR) / "tests/database/takeoff_oracle.py", {dxf.string()});
    zelkatest::CommandOutput run = zelkatest::runCommand(command);
    EXPECT_EQ(run.status, 0) << command;
    return run.out;
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
