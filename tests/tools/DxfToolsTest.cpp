// Tests of the Python tools other tests and the benchmarks rely on:
// tests/tools/dxf_oracle.py (the ezdxf-based checker) and bench/gen_floorplan.py
// (the synthetic floor plan). Expected numbers are worked out by hand from the
// geometry or read off the fixture files' text.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "tests/common/OracleJson.h"
#include "tests/common/ZelkaProcess.h"

namespace fs = std::filesystem;

namespace {

const fs::path kGenerator = fs::path(ZELKA_SOURCE_DIR) / "bench/gen_floorplan.py";

class TempDir : public ::testing::Test {
protected:
    fs::path write(const std::string& name, const std::string& content)
    {
        fs::path file = folder.path() / name;
        std::ofstream(file, std::ios::binary) << content;
        return file;
    }
    zelkatest::TempFolder folder;
    const fs::path& dir = folder.path();
};

// What dxf_oracle.py area prints for the handles of a file, one document a handle.
std::vector<nlohmann::json> areas(const fs::path& file, std::vector<std::string> handles)
{
    handles.insert(handles.begin(), {"area", file.string()});
    return zelkatest::oracleJsonLines(zelkatest::testScript("tools/dxf_oracle.py"), handles);
}

// A 10000 x 5000 outline (a 50 square metre room in a millimetre drawing) in
// four variants and a block "ROOM-1" holding the plain one, inserted three times.
std::string outlineDrawing()
{
    auto lw = [](const std::string& handle, int flags, double topBulge) {
        std::ostringstream s;
        s << "  0\nLWPOLYLINE\n  5\n" << handle << "\n  8\n0\n100\nAcDbEntity\n100\nAcDbPolyline\n"
          << " 90\n4\n 70\n" << flags << "\n"
          << " 10\n0.0\n 20\n0.0\n 10\n10000.0\n 20\n0.0\n"
          << " 10\n10000.0\n 20\n5000.0\n 42\n" << topBulge << "\n 10\n0.0\n 20\n5000.0\n";
        return s.str();
    };
    auto insert = [](const std::string& handle, double sx, double sy, double rotation) {
        std::ostringstream s;
        s << "  0\nINSERT\n  5\n" << handle << "\n  8\n0\n  2\nROOM-1\n 10\n100.0\n 20\n200.0\n 30\n0.0\n"
          << " 41\n" << sx << "\n 42\n" << sy << "\n 50\n" << rotation << "\n";
        return s.str();
    };
    return "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1015\n  0\nENDSEC\n"
           "  0\nSECTION\n  2\nBLOCKS\n  0\nBLOCK\n  5\nB1\n  8\n0\n  2\nROOM-1\n 70\n0\n"
           " 10\n0.0\n 20\n0.0\n 30\n0.0\n  3\nROOM-1\n  1\n\n"
           + lw("B2", 1, 0.0) + "  0\nENDBLK\n  5\nB3\n  8\n0\n  0\nENDSEC\n"
           "  0\nSECTION\n  2\nENTITIES\n"
           + lw("A1", 1, 0.0) + lw("A2", 1, 1.0) + lw("A3", 1, -1.0) + lw("A4", 0, 0.0)
           + insert("C1", 2.0, -2.0, 0.0) + insert("C2", 2.0, 1.0, 0.0) + insert("C3", 3.0, 3.0, 30.0)
           + "  0\nENDSEC\n  0\nEOF\n";
}

}  // namespace

using DxfOracleArea = TempDir;

TEST_F(DxfOracleArea, MeasuresStraightAndBulgedOutlinesExactly)
{
    fs::path file = write("outlines.dxf", outlineDrawing());
    const auto out = areas(file, {"A1", "A2", "A3", "A4"});
    ASSERT_EQ(out.size(), 4u) << out[0];
    const double pi = std::numbers::pi;
    const double halfDisc = pi * 5000.0 * 5000.0 / 2.0;   // semicircle on the 10000 top edge
    // plain rectangle
    EXPECT_DOUBLE_EQ(out[0].at("area").get<double>(), 50'000'000.0);
    EXPECT_DOUBLE_EQ(out[0].at("perimeter").get<double>(), 30'000.0);
    // bulge 1 on the edge from (10000,5000) to (0,5000) of a counter-clockwise
    // outline: a half circle bowing outwards
    EXPECT_NEAR(out[1].at("area").get<double>(), 50'000'000.0 + halfDisc, 1e-6);
    EXPECT_NEAR(out[1].at("perimeter").get<double>(), 20'000.0 + pi * 5000.0, 1e-9);
    // bulge -1: the same half circle cut out of the room
    EXPECT_NEAR(out[2].at("area").get<double>(), 50'000'000.0 - halfDisc, 1e-6);
    EXPECT_NEAR(out[2].at("perimeter").get<double>(), 20'000.0 + pi * 5000.0, 1e-9);
    // an open outline has no area and no closing segment
    EXPECT_EQ(out[3].at("area").get<double>(), 0.0);
    EXPECT_DOUBLE_EQ(out[3].at("perimeter").get<double>(), 25'000.0);
}

TEST_F(DxfOracleArea, AppliesTheBlockReferenceTransform)
{
    fs::path file = write("outlines.dxf", outlineDrawing());
    const auto out = areas(file, {"C1", "C2", "C3"});
    ASSERT_EQ(out.size(), 3u) << out[0];
    for (const nlohmann::json& line : out) {
        EXPECT_EQ(line.at("outline"), "B2");
        EXPECT_DOUBLE_EQ(line.at("outline_area"), 50'000'000.0);
    }
    // X scale 2, Y scale -2: four times the area, twice the length
    EXPECT_DOUBLE_EQ(out[0].at("area").get<double>(), 200'000'000.0);
    EXPECT_NEAR(out[0].at("perimeter").get<double>(), 60'000.0, 1e-9);
    EXPECT_EQ(out[0].at("perimeter_method"), "exact");
    // X scale 2, Y scale 1: a 20000 x 5000 rectangle
    EXPECT_DOUBLE_EQ(out[1].at("area").get<double>(), 100'000'000.0);
    EXPECT_NEAR(out[1].at("perimeter").get<double>(), 50'000.0, 1e-6);
    EXPECT_EQ(out[1].at("perimeter_method"), "flattened");
    // uniform scale 3 and a rotation: nine times the area, three times the length
    EXPECT_NEAR(out[2].at("area").get<double>(), 450'000'000.0, 1e-3);
    EXPECT_NEAR(out[2].at("perimeter").get<double>(), 90'000.0, 1e-8);
}

using GenFloorplan = TempDir;

TEST_F(GenFloorplan, OutputDependsOnlyOnTheArguments)
{
    auto generate = [&](const std::string& name, int seed) {
        fs::path file = dir / name;
        EXPECT_EQ(zelkatest::runCommand(zelkatest::pythonCommand(kGenerator, {"--rooms", "40", "--seed", std::to_string(seed),
                                                                          "--out", file.string()})).status, 0);
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    std::string a = generate("a.dxf", 11), b = generate("b.dxf", 11), c = generate("c.dxf", 12);
    ASSERT_GT(a.size(), 50'000u);
    EXPECT_TRUE(a == b) << "same seed, different bytes";
    EXPECT_FALSE(a == c) << "different seeds, same bytes";
    EXPECT_EQ(zelkatest::runCommand(zelkatest::pythonCommand(kGenerator, {"--rooms", "0", "--out", (dir / "d.dxf").string()})
                                    + " 2>/dev/null").status, 2);
}

