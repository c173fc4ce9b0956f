// Tests of the Python tools other tests and the benchmarks rely on:
// tests/tools/dxf_oracle.py (the ezdxf-based checker) and bench/gen_floorplan.py
// (the synthetic floor plan). Expected numbers are worked out by hand from the
// geometry or read off the fixture files' text.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <numbers>
#include <regex>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kSource = ZELKA_SOURCE_DIR;
const fs::path kOracle = kSource / "tests/tools/dxf_oracle.py";
const fs::path kGenerator = kSource / "bench/gen_floorplan.py";
const fs::path kReal = kSource / "tests/data/dxf/real";

struct Outcome {
    int status = -1;
    std::string out;
};

Outcome run(const std::string& command)
{
    Outcome result;
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe) {
        ADD_FAILURE() << "cannot run " << command;
        return result;
    }
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        result.out.append(buffer, n);
    int raw = ::pclose(pipe);
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return result;
}

Outcome oracle(const std::string& args)
{
    return run(std::string(ZELKA_PYTHON) + " " + kOracle.string() + " " + args);
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

// The number after "key": in one line of compact JSON; NaN when absent.
double number(const std::string& json, const std::string& key)
{
    std::smatch m;
    if (std::regex_search(json, m, std::regex("\"" + key + "\": (-?[0-9.eE+-]+)")))
        return std::stod(m[1]);
    return std::nan("");
}

std::string text(const std::string& json, const std::string& key)
{
    std::smatch m;
    if (std::regex_search(json, m, std::regex("\"" + key + "\": \"([^\"]*)\"")))
        return m[1];
    return "<absent>";
}

struct Tag {
    int code;
    std::string value;
};

// Parses the lines of `dxf_oracle.py tags`: [code, "value"] with JSON string escapes.
std::vector<Tag> parseTags(const std::string& output)
{
    std::vector<Tag> tags;
    for (const std::string& line : lines(output)) {
        Tag tag{};
        size_t comma = line.find(',');
        tag.code = std::stoi(line.substr(1, comma - 1));
        size_t i = line.find('"', comma) + 1;
        for (; i < line.size() && line[i] != '"'; ++i) {
            if (line[i] == '\\') {
                ++i;
                tag.value += line[i] == 'n' ? '\n' : line[i] == 't' ? '\t' : line[i];
            } else {
                tag.value += line[i];
            }
        }
        tags.push_back(tag);
    }
    return tags;
}

std::string format2(double v)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.2f", v);
    return buffer;
}

class TempDir : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("zelka_tools_" + std::to_string(::getpid()) + "_"
                                           + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path write(const std::string& name, const std::string& content)
    {
        fs::path file = dir / name;
        std::ofstream(file, std::ios::binary) << content;
        return file;
    }
    fs::path dir;
};

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
    Outcome r = oracle("area " + file.string() + " A1 A2 A3 A4");
    ASSERT_EQ(r.status, 0) << r.out;
    std::vector<std::string> out = lines(r.out);
    ASSERT_EQ(out.size(), 4u);
    const double pi = std::numbers::pi;
    const double halfDisc = pi * 5000.0 * 5000.0 / 2.0;   // semicircle on the 10000 top edge
    // plain rectangle
    EXPECT_DOUBLE_EQ(number(out[0], "area"), 50'000'000.0);
    EXPECT_DOUBLE_EQ(number(out[0], "perimeter"), 30'000.0);
    // bulge 1 on the edge from (10000,5000) to (0,5000) of a counter-clockwise
    // outline: a half circle bowing outwards
    EXPECT_NEAR(number(out[1], "area"), 50'000'000.0 + halfDisc, 1e-6);
    EXPECT_NEAR(number(out[1], "perimeter"), 20'000.0 + pi * 5000.0, 1e-9);
    // bulge -1: the same half circle cut out of the room
    EXPECT_NEAR(number(out[2], "area"), 50'000'000.0 - halfDisc, 1e-6);
    EXPECT_NEAR(number(out[2], "perimeter"), 20'000.0 + pi * 5000.0, 1e-9);
    // an open outline has no area and no closing segment
    EXPECT_EQ(number(out[3], "area"), 0.0);
    EXPECT_DOUBLE_EQ(number(out[3], "perimeter"), 25'000.0);
}

TEST_F(DxfOracleArea, AppliesTheBlockReferenceTransform)
{
    fs::path file = write("outlines.dxf", outlineDrawing());
    Outcome r = oracle("area " + file.string() + " C1 C2 C3");
    ASSERT_EQ(r.status, 0) << r.out;
    std::vector<std::string> out = lines(r.out);
    ASSERT_EQ(out.size(), 3u);
    for (const std::string& line : out) {
        EXPECT_EQ(text(line, "outline"), "B2");
        EXPECT_DOUBLE_EQ(number(line, "outline_area"), 50'000'000.0);
    }
    // X scale 2, Y scale -2: four times the area, twice the length
    EXPECT_DOUBLE_EQ(number(out[0], "area"), 200'000'000.0);
    EXPECT_NEAR(number(out[0], "perimeter"), 60'000.0, 1e-9);
    EXPECT_EQ(text(out[0], "perimeter_method"), "exact");
    // X scale 2, Y scale 1: a 20000 x 5000 rectangle
    EXPECT_DOUBLE_EQ(number(out[1], "area"), 100'000'000.0);
    EXPECT_NEAR(number(out[1], "perimeter"), 50'000.0, 1e-6);
    EXPECT_EQ(text(out[1], "perimeter_method"), "flattened");
    // uniform scale 3 and a rotation: nine times the area, three times the length
    EXPECT_NEAR(number(out[2], "area"), 450'000'000.0, 1e-3);
    EXPECT_NEAR(number(out[2], "perimeter"), 90'000.0, 1e-8);
}

TEST_F(DxfOracleArea, ReportsUnknownHandlesAndWrongTypes)
{
    fs::path file = write("outlines.dxf", outlineDrawing());
    Outcome r = oracle("area " + file.string() + " FFFF B1");
    EXPECT_EQ(r.status, 1);
    std::vector<std::string> out = lines(r.out);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(text(out[0], "error"), "no entity with handle FFFF");
    EXPECT_NE(text(out[1], "error").find("is a BLOCK"), std::string::npos) << out[1];
    EXPECT_EQ(oracle("area " + file.string()).status, 64);
}

using DxfOracleRead = TempDir;

TEST_F(DxfOracleRead, AuditSeparatesBadFilesFromRepairs)
{
    Outcome missing = oracle("audit " + (dir / "none.dxf").string());
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(text(missing.out, "error").find("FileNotFoundError"), std::string::npos);

    fs::path broken = write("broken.dxf", "  0\nSECTION\n  2\nENTITIES\nxx\nLINE\n  0\nENDSEC\n  0\nEOF\n");
    Outcome bad = oracle("audit " + broken.string());
    EXPECT_EQ(bad.status, 2) << bad.out;

    // dxflib writes objects without owner handles; ezdxf repairs 13 of them
    Outcome dxflib = oracle("audit " + (kReal / "dxflib_antenna_AC1015.dxf").string());
    EXPECT_EQ(dxflib.status, 0) << dxflib.out;
    EXPECT_NE(dxflib.out.find("\"errors\": []"), std::string::npos);
    size_t fixes = 0;
    for (size_t at = 0; (at = dxflib.out.find("\"code\": 202", at)) != std::string::npos; ++at)
        ++fixes;
    EXPECT_EQ(fixes, 13u);
}

TEST_F(DxfOracleRead, TagStreamSkipsCommentsAndLineEndings)
{
    // dxflib file: "999 / dxflib 2.2.0.0" first, then only tags up to 0/EOF
    fs::path dxflib = kReal / "dxflib_antenna_AC1015.dxf";
    std::vector<Tag> tags = parseTags(oracle("tags " + dxflib.string()).out);
    std::ifstream in(dxflib);
    size_t fileLines = 0;
    for (std::string line; std::getline(in, line);)
        ++fileLines;
    ASSERT_FALSE(tags.empty());
    EXPECT_EQ(tags.size(), (fileLines - 2) / 2);
    EXPECT_EQ(tags.front().code, 0);
    EXPECT_EQ(tags.front().value, "SECTION");
    EXPECT_EQ(tags.back().value, "EOF");

    // CRLF file: no carriage return left in any value
    std::vector<Tag> crlf = parseTags(oracle("tags " + (kReal / "librecad_hatch_crlf_AC1021.dxf").string()).out);
    ASSERT_GT(crlf.size(), 100u);
    for (const Tag& tag : crlf)
        ASSERT_EQ(tag.value.find('\r'), std::string::npos) << tag.code;
    EXPECT_EQ(crlf[3].value, "AC1021");
}

TEST_F(DxfOracleRead, DumpGivesHatchBoundaryOfACrlfFile)
{
    // the SOLID hatch 46 is bounded by two arcs around (5, 2.886751), radius 0.68,
    // as its 72/10/20/40/50/51/73 tags in the file say
    Outcome r = oracle("dump " + (kReal / "librecad_hatch_crlf_AC1021.dxf").string());
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(text(r.out, "\\$ACADVER"), "AC1021");
    std::smatch m;
    ASSERT_TRUE(std::regex_search(r.out, m, std::regex(R"(\{"type": "HATCH", "handle": "46".*?"xdata")")));
    std::string hatch = m[0];
    EXPECT_EQ(text(hatch, "pattern"), "SOLID");
    EXPECT_NE(hatch.find("\"solid_fill\": true"), std::string::npos);
    EXPECT_NE(hatch.find(R"({"type": "arc", "center": [5.0, 2.886751], "radius": 0.68, "start_angle": 270.0, "end_angle": 90.0, "ccw": false})"),
              std::string::npos) << hatch;
}

TEST_F(DxfOracleRead, DecodesTheCodePageOfOlderFiles)
{
    // R2000 file in ANSI_1252: u-umlaut is the single byte 0xFC, the en dash 0x96;
    // characters outside the code page stay \\U+ escapes, which ezdxf does not decode
    fs::path file = kReal / "ezdxf_cp1252_attribs_AC1015.dxf";
    std::ifstream in(file, std::ios::binary);
    std::string bytes(std::istreambuf_iterator<char>(in), {});
    ASSERT_NE(bytes.find("B\xFCro 12,5 m\xB2 \x96 Gr\xF6\xDF" "e"), std::string::npos);
    Outcome r = oracle("dump " + file.string());
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(text(r.out, "encoding"), "cp1252");
    EXPECT_NE(r.out.find("\"text\": \"B\u00fcro 12,5 m\u00b2 \u2013 Gr\u00f6\u00dfe\""), std::string::npos);
    EXPECT_NE(r.out.find("\"text\": \"K\u00fcche \u2013 1.02\""), std::string::npos);
    EXPECT_NE(r.out.find("\"text\": \"Fl\u00e4che \\\\U+0394=3 m\u00b2"), std::string::npos) << r.out.substr(0, 400);
}

using GenFloorplan = TempDir;

TEST_F(GenFloorplan, SpaceBlocksCarryAttributesAndTheAdeRecord)
{
    fs::path plan = dir / "plan.dxf";
    ASSERT_EQ(run(std::string(ZELKA_PYTHON) + " " + kGenerator.string() + " --rooms 30 --rooms-per-floor 16 "
                  "--seed 3 --out " + plan.string()).status, 0);
    std::vector<Tag> tags = parseTags(oracle("tags " + plan.string()).out);
    ASSERT_GT(tags.size(), 1000u);

    struct Insert {
        std::string handle, block;
        double x = 0, y = 0, rotation = 0;
        std::vector<Tag> xdata;
        std::map<std::string, std::string> attribs;   // tag -> "layer|text"
        std::map<std::string, std::pair<double, double>> positions;
    };
    std::vector<Insert> inserts;
    std::map<std::string, std::vector<std::string>> attdefs;   // block -> "TAG@LAYER" in order
    std::map<std::string, std::string> firstEntity;            // block -> type of its first entity
    std::string block, entity, attribTag, attribText, attribLayer;
    bool awaitingFirst = false;
    double ax = 0, ay = 0;
    Insert* current = nullptr;
    for (const Tag& t : tags) {
        if (t.code == 0) {
            if (entity == "ATTRIB" && current) {
                current->attribs[attribTag] = attribLayer + "|" + attribText;
                current->positions[attribTag] = {ax, ay};
            }
            if (entity == "ATTDEF")
                attdefs[block].push_back(attribTag + "@" + attribLayer);
            if (awaitingFirst && entity == "BLOCK") {
                firstEntity[block] = t.value;
                awaitingFirst = false;
            }
            entity = t.value;
            if (entity == "INSERT") {
                inserts.emplace_back();
                current = &inserts.back();
            } else if (entity != "ATTRIB" && entity != "SEQEND") {
                current = nullptr;
            }
            attribTag = attribText = attribLayer = "";
            continue;
        }
        if (entity == "BLOCK" && t.code == 2) {
            block = t.value;
            awaitingFirst = true;
        }
        if (entity == "INSERT" && current) {
            if (t.code == 5) current->handle = t.value;
            if (t.code == 2) current->block = t.value;
            if (t.code == 10) current->x = std::stod(t.value);
            if (t.code == 20) current->y = std::stod(t.value);
            if (t.code == 50) current->rotation = std::stod(t.value);
            if (t.code >= 1000) current->xdata.push_back(t);
        }
        if (entity == "ATTRIB" || entity == "ATTDEF") {
            if (t.code == 2) attribTag = t.value;
            if (t.code == 1) attribText = t.value;
            if (t.code == 8) attribLayer = t.value;
            if (t.code == 10) ax = std::stod(t.value);
            if (t.code == 20) ay = std::stod(t.value);
        }
    }

    const std::vector<std::string> keys = {"AREA=", "PERIMETER=", "NAME=", "TAGTYPE=", "AREA_TYPE=",
        "COST_CENTRE=", "DATE=", "DATE_L_MOVE=", "DEPT_CHARGE=", "ROOM_HEIGHT=", "SPECIAL_REQ=",
        "TOT_STAFF=", "TOT_WKSTNS=", "VOLUME=", "HANDLESTOMINUS=", "HANDLESTOADD="};
    const std::vector<std::string> layout = {"AREA@ATT-AREA", "NAME@ATT-NAME", "AUX@ATT-AUX"};
    std::vector<Insert*> rooms, gross;
    for (Insert& ins : inserts) {
        if (ins.block == "ROOM-GROSS_AREA")
            gross.push_back(&ins);
        else if (ins.block.rfind("ROOM-", 0) == 0)
            rooms.push_back(&ins);
    }
    ASSERT_EQ(rooms.size(), 30u);
    ASSERT_EQ(gross.size(), 2u);   // 30 rooms at 16 a floor: two floors

    std::string handles;
    for (size_t n = 0; n < rooms.size(); ++n) {
        Insert& ins = *rooms[n];
        EXPECT_EQ(ins.block, "ROOM-" + std::to_string(n + 1));
        EXPECT_EQ(firstEntity[ins.block], "LWPOLYLINE") << ins.block;
        EXPECT_EQ(attdefs[ins.block], layout) << ins.block;
        ASSERT_EQ(ins.xdata.size(), 19u) << ins.block;
        EXPECT_EQ(ins.xdata[0].code, 1001);
        EXPECT_EQ(ins.xdata[0].value, "ADE");
        EXPECT_EQ(ins.xdata[1].value, "{");
        EXPECT_EQ(ins.xdata[18].value, "}");
        for (size_t k = 0; k < keys.size(); ++k) {
            EXPECT_EQ(ins.xdata[2 + k].code, 1000);
            EXPECT_EQ(ins.xdata[2 + k].value.rfind(keys[k], 0), 0u) << ins.xdata[2 + k].value;
        }
        std::string name = ins.xdata[4].value.substr(5);
        int floor = n < 16 ? 1 : 2;
        char expected[32];
        std::snprintf(expected, sizeof expected, "RM-%d%03zu", floor, n % 16 + 1);
        EXPECT_EQ(name, expected);
        EXPECT_EQ(ins.attribs["NAME"], "ATT-NAME|" + name);
        EXPECT_EQ(ins.attribs["AREA"], "ATT-AREA|" + ins.xdata[2].value.substr(5));
        EXPECT_EQ(ins.attribs["AUX"].rfind("ATT-AUX|", 0), 0u);
        // the name stands 1.5 text heights (375) above the area text, turned with the block
        auto [nx, ny] = ins.positions["NAME"];
        auto [arx, ary] = ins.positions["AREA"];
        double r = ins.rotation * std::numbers::pi / 180.0;
        EXPECT_NEAR(nx - arx, -375.0 * std::sin(r), 1e-6) << ins.block;
        EXPECT_NEAR(ny - ary, 375.0 * std::cos(r), 1e-6) << ins.block;
        EXPECT_NEAR(arx, ins.x, 1e-9);
        EXPECT_NEAR(ary, ins.y, 1e-9);
        handles += " " + ins.handle;
    }

    // area and perimeter in the record: the outline measured by ezdxf, in square metres and metres
    Outcome measured = oracle("area " + plan.string() + handles);
    ASSERT_EQ(measured.status, 0);
    std::vector<std::string> out = lines(measured.out);
    ASSERT_EQ(out.size(), rooms.size());
    for (size_t n = 0; n < rooms.size(); ++n) {
        const std::vector<Tag>& x = rooms[n]->xdata;
        double area = number(out[n], "area") / 1e6;
        double perimeter = number(out[n], "perimeter") / 1000.0;
        EXPECT_EQ(x[2].value, "AREA=" + format2(area) + "sq.m.");
        EXPECT_EQ(x[3].value, "PERIMETER=" + format2(perimeter) + "m.");
        double height = std::stod(x[11].value.substr(12));
        EXPECT_EQ(x[15].value, "VOLUME=" + format2(area * height) + "cu.m.");
    }

    // gross area blocks: a 4 x 4 grid of 9000 mm cells, 36 m square
    for (Insert* g : gross) {
        EXPECT_EQ(g->xdata[2].value, "AREA=1296.00sq.m.");
        EXPECT_EQ(g->xdata[3].value, "PERIMETER=144.00m.");
        EXPECT_EQ(g->xdata[4].value, "NAME=GROSS AREA");
        EXPECT_EQ(g->attribs["NAME"], "ATT-NAME|GROSS AREA");
    }
}

TEST_F(GenFloorplan, OutputDependsOnlyOnTheArguments)
{
    auto generate = [&](const std::string& name, int seed) {
        fs::path file = dir / name;
        EXPECT_EQ(run(std::string(ZELKA_PYTHON) + " " + kGenerator.string() + " --rooms 40 --seed "
                      + std::to_string(seed) + " --out " + file.string()).status, 0);
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    std::string a = generate("a.dxf", 11), b = generate("b.dxf", 11), c = generate("c.dxf", 12);
    ASSERT_GT(a.size(), 50'000u);
    EXPECT_TRUE(a == b) << "same seed, different bytes";
    EXPECT_FALSE(a == c) << "different seeds, same bytes";
    EXPECT_EQ(run(std::string(ZELKA_PYTHON) + " " + kGenerator.string() + " --rooms 0 --out "
                  + (dir / "d.dxf").string()).status, 2);
}

using OpenSaveBenchmark = TempDir;

// The benchmark script on a small plan, with stand-ins for the Zelka tool whose
// behaviour is known: a copy that takes 0.3 s (a perfect round trip), false (a
// failing tool), and a path that does not exist (the tool not built yet).
TEST_F(OpenSaveBenchmark, MeasuresBothSidesAndChecksTheOutputs)
{
    const fs::path script = kSource / "bench/dxf_open_save.py";
    auto bench = [&](const std::string& zelka, const std::string& extra = "") {
        return run(std::string(ZELKA_PYTHON) + " " + script.string() + " --rooms 12 --seed 5 --force --out-dir "
                   + dir.string() + " --zelka " + zelka + " " + extra);
    };

    fs::path slowCopy = write("slow_copy.sh", "#!/bin/sh\nsleep 0.3\nexec cp \"$1\" \"$2\"\n");
    fs::permissions(slowCopy, fs::perms::owner_all);
    Outcome copy = bench(slowCopy.string());
    ASSERT_EQ(copy.status, 0) << copy.out;
    EXPECT_NE(copy.out.find("check : ezdxf output OK"), std::string::npos) << copy.out;
    EXPECT_NE(copy.out.find("check : zelka output OK"), std::string::npos) << copy.out;
    std::smatch m;
    ASSERT_TRUE(std::regex_search(copy.out, m, std::regex(R"(ezdxf : rc=0 wall ([0-9.]+) s peak RSS ([0-9.]+) MiB)")));
    EXPECT_GT(std::stod(m[1]), 0.0);
    EXPECT_GT(std::stod(m[2]), 5.0);   // a Python process with ezdxf loaded
    ASSERT_TRUE(std::regex_search(copy.out, m, std::regex(R"(\| [0-9-]+ \| 12 rooms, R2013, 0 MB \| ([0-9.]+) \| ([0-9.]+) \| ([0-9.]+) \| ([0-9.]+) \| ([0-9.]+)x \| ([0-9.]+)x \|)")))
        << copy.out;
    // the ratios in the row are the quotients of the figures in the same row (rounded to 0.1)
    EXPECT_NEAR(std::stod(m[5]), std::stod(m[1]) / std::stod(m[3]), 0.06 + 0.01 * std::stod(m[5]));
    EXPECT_NEAR(std::stod(m[6]), std::stod(m[2]) / std::stod(m[4]), 0.06 + 0.01 * std::stod(m[6]));
    EXPECT_TRUE(fs::exists(dir / "floorplan_12_s5_R2013.dxf"));

    Outcome missing = bench((dir / "no_such_tool").string(), "--no-verify");
    EXPECT_EQ(missing.status, 0) << missing.out;
    EXPECT_NE(missing.out.find("zelka : SKIPPED"), std::string::npos);
    EXPECT_NE(missing.out.find("| not yet measured | not yet measured | n/a | n/a |"), std::string::npos) << missing.out;

    Outcome failing = bench("/bin/false", "--no-verify");
    EXPECT_EQ(failing.status, 1) << failing.out;
    EXPECT_NE(failing.out.find("zelka : rc=1"), std::string::npos) << failing.out;
}
