// Take-off of real drawings into the test server, read back with psql and
// compared with an independent reading of the drawing (ezdxf).

#include <filesystem>
#include <map>
#include <set>

#include <gtest/gtest.h>

#include "database/StoredProcedure.h"
#include "database/TakeOff.h"
#include "DatabaseTestSupport.h"
#include "infra/ZelkaExceptions.h"
#include "module/AcadDrawing.h"
#include "../common/ZelkaProcess.h"

namespace {

struct OracleRoom {
    double area = 0, perimeter = 0;
    std::set<std::string> assets;
};

struct OraclePlan {
    std::map<std::string, OracleRoom> rooms;
    std::string floorHandle;
    OracleRoom floor;
};

OraclePlan oracle(const std::filesystem::path& dxf)
{
    std::string command = std::string(ZELKA_PYTHON) + " " + ZELKA_SOURCE_DIR + "/tests/database/takeoff_oracle.py '" +
                          dxf.string() + "'";
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    EXPECT_EQ(pclose(pipe), 0) << command;
    OraclePlan plan;
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        std::vector<std::string> f;
        size_t start = 0;
        while (true) {
            size_t bar = line.find('|', start);
            f.push_back(line.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
            if (bar == std::string::npos) break;
            start = bar + 1;
        }
        OracleRoom r;
        r.area = std::stod(f[2]);
        r.perimeter = std::stod(f[3]);
        std::istringstream handles(f[4]);
        std::string h;
        while (std::getline(handles, h, ',')) r.assets.insert(h);
        if (f[0] == "F") {
            plan.floorHandle = f[1];
            plan.floor = r;
        } else {
            plan.rooms[f[1]] = r;
        }
    }
    return plan;
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
        floor = dbtest::newFloor(label);
        drawingID = std::stoi(dbtest::psqlValue("insert into drawings (location_id, file_path, file_name) values (" +
                                                std::to_string(floor) + ", 'tests', '" + fileName +
                                                "') returning id;"));
    }
    std::filesystem::path path() const { return folder.path() / fileName; }
};

TEST(TakeOff, OfficePlanRoomsAndAssetsLandUnderTheirFloor)
{
    Registered plan(std::filesystem::path(ZELKA_SOURCE_DIR) / "examples/office.dxf", "office-takeoff");
    OraclePlan office = oracle(plan.path());
    auto& expected = office.rooms;
    ASSERT_EQ(expected.size(), 5u);
    std::string before = zelkatest::readFile(plan.path());

    auto sp = dbtest::connect();
    int32_t drawingID = 0, floorID = 0;
    CTakeOff::findDrawing(*sp, plan.fileName, 30, drawingID, floorID);
    EXPECT_EQ(drawingID, plan.drawingID);
    EXPECT_EQ(floorID, plan.floor);

    CAcadDrawing drawing(plan.folder.path().string() + "/", plan.fileName);
    CTakeOff::Result result = CTakeOff().takeOff(drawing, *sp, drawingID, floorID, 30);
    EXPECT_EQ(result.rooms, 5);
    EXPECT_EQ(result.floors, 1);
    EXPECT_EQ(dbtest::psql("select handle, area, perimeter, decimal_places from locations where id = " +
                           std::to_string(plan.floor))[0],
              (std::vector<std::string>{office.floorHandle, "612.0000000000", "106.0000000000", "2"}));

    auto rows = dbtest::psql("select id, handle, kind, area, perimeter, name from locations where parent_id = " +
                             std::to_string(plan.floor) + " order by handle");
    ASSERT_EQ(rows.size(), expected.size());
    for (const auto& row : rows) {
        SCOPED_TRACE(row[1]);
        ASSERT_TRUE(expected.count(row[1]));
        const OracleRoom& room = expected[row[1]];
        EXPECT_EQ(row[2], "r");
        EXPECT_NEAR(std::stod(row[3]), room.area, 1e-6);
        EXPECT_NEAR(std::stod(row[4]), room.perimeter, 1e-6);
        auto assetRows = dbtest::psql("select handle from assets where drawing_id = " + std::to_string(drawingID) +
                                      " and location_id = " + row[0] + " order by handle");
        std::set<std::string> got;
        for (const auto& a : assetRows) got.insert(a[0]);
        EXPECT_EQ(got, room.assets);
    }
    // The drawing was only read.
    EXPECT_EQ(zelkatest::readFile(plan.path()), before);
}

}  // namespace
