// A malformed number in a field the drawing database models makes reading
// fail with the file, the line of the value, what was expected and the
// object, whatever the kind of object and whether it is built at once or
// later; malformed numbers the database does not model are kept as text. An
// INSERT whose attributes lack their SEQEND gets one, and the user is told.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/db/AcDbDatabase.h"
#include "tests/common/TestRequirements.h"
#include "tests/host/dxfTestSupport.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    for (size_t pos = 0; pos < text.size();) {
        size_t nl = text.find('\n', pos);
        std::string line = text.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        pos = nl == std::string::npos ? text.size() : nl + 1;
    }
    return lines;
}

std::string joined(const std::vector<std::string>& lines)
{
    std::string s;
    for (const std::string& l : lines)
        s += l + "\n";
    return s;
}

struct Spot {
    size_t line = 0;  // 1-based line of the value; 0 when there is none
    std::string handle;
};

// The value line of the first tag with the code inside an object of the type
// (with the value, when one is given; in the ENTITIES section only, when
// asked) and that object's handle - found by walking the lines.
Spot locate(const std::string& text, const std::string& type, int code, const char* value = nullptr,
            bool entitiesOnly = false)
{
    const std::vector<std::string> lines = linesOf(text);
    bool entities = false;
    std::string current;
    Spot spot;
    for (size_t i = 0; i + 1 < lines.size(); i += 2) {
        const int c = std::stoi(lines[i]);
        const std::string& v = lines[i + 1];
        if (c == 2 && v == "ENTITIES")
            entities = true;
        if (entitiesOnly && !entities)
            continue;
        if (c == 0) {
            current = v;
            spot.handle.clear();
        } else if (c == 5 && spot.handle.empty()) {
            spot.handle = v;
        } else if (current == type && c == code && (!value || v == value)) {
            spot.line = i + 2;
            return spot;
        }
    }
    return {};
}

// The text with the value on the 1-based line replaced.
std::string replaced(const std::string& text, size_t line, const std::string& value)
{
    std::vector<std::string> lines = linesOf(text);
    lines.at(line - 1) = value;
    return joined(lines);
}

std::string message(const std::string& file, const Spot& spot, const std::string& expected, int code,
                    const std::string& type, const std::string& bad)
{
    return file + ": line " + std::to_string(spot.line) + ": expected " + expected + " for group code " +
           std::to_string(code) + " of " + type + " " + spot.handle + ", found '" + bad + "'";
}

const fs::path kDamaged = fs::path("tests/data/dxf/damaged");
const fs::path kWholeNumbers = fs::path("tests/data/dxf/numbers/ezdxf_whole_numbers_AC1015.dxf");

}  // namespace

// The fixtures of tests/data/dxf/damaged (make_ezdxf_fixtures.py damaged) read from
// their files; each differs from a readable drawing only in its fault.
TEST(MalformedNumbers, DamagedFixturesNameFileLineAndObjectAndReadOnceRepaired)
{
    struct Case {
        const char* file;
        const char* type;
        int code;
        const char* bad;
        const char* expected;
        const char* good;
    };
    const Case cases[] = {
        {"zelka_lwpolyline_decimal_comma_AC1015.dxf", "LWPOLYLINE", 10, "4,125", "a real number", "4.125"},
        {"zelka_insert_scale_unit_AC1015.dxf", "INSERT", 41, "2.375mm", "a real number", "2.375"},
        {"zelka_layer_color_blank_AC1015.dxf", "LAYER", 62, "", "a whole number", "5"},
        {"zelka_xdata_real_word_AC1015.dxf", "INSERT", 1040, "twelve", "a real number", "12.625"},
        {"zelka_circle_radius_nan_AC1015.dxf", "CIRCLE", 40, "nan", "a real number", "3.875"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const fs::path path = dxftest::sourceDir() / kDamaged / c.file;
        const std::string text = dxftest::readFile(path);
        const Spot spot = locate(text, c.type, c.code, c.bad);
        ASSERT_GT(spot.line, 0u) << "the fixture lost its fault";
        AcDbDatabase db(false);
        EXPECT_EQ(db.readDxfFile(path.c_str()), Acad::eBadDxfSequence);
        EXPECT_EQ(db.lastErrorLine(), spot.line) << db.lastError();
        EXPECT_EQ(db.lastError(), message(path.string(), spot, c.expected, c.code, c.type, c.bad));
        EXPECT_EQ(db.modelSpaceId(), AcDbObjectId()) << "a failed read leaves the database empty";
        AcDbDatabase repaired(false);
        EXPECT_EQ(repaired.readDxfText(replaced(text, spot.line, c.good), c.file), Acad::eOk) << repaired.lastError();
    }
}

// Entities whose numbers are all well formed are passed without being built;
// a malformed modelled number must still fail the read, in the entity part
// or in the typed part, of any kind passed that way.
TEST(MalformedNumbers, AnyKindPassedUnbuiltStillFailsTheRead)
{
    ZELKA_REQUIRE_EZDXF();
    const fs::path dir = dxftest::tempDir("number-check-kinds");
    // An R2000 drawing by ezdxf with one entity of each kind the number check
    // passes unbuilt: text, an insert with an attribute, a line with a
    // lineweight, a circle, a bulged lightweight polyline, an arc, an ellipse and a spline.
    dxftest::ezdxfFixture("number_kinds", dir / "plan.dxf");
    const std::string text = dxftest::readFile(dir / "plan.dxf");
    ASSERT_FALSE(text.empty()) << "ezdxf could not write the drawing";
    {
        AcDbDatabase db(false);
        ASSERT_EQ(db.readDxfText(text, "plan.dxf"), Acad::eOk) << db.lastError();
    }
    struct Case {
        const char* type;
        int code;
        const char* bad;
        const char* expected;
    };
    const Case cases[] = {
        {"TEXT", 50, "ninety", "a real number"},        // typed part
        {"TEXT", 40, "2,5", "a real number"},
        {"INSERT", 50, ".", "a real number"},
        {"INSERT", 20, "5 5", "a real number"},         // y of the insertion point
        {"ATTRIB", 70, "1.5", "a whole number"},        // the attribute's own subclass
        {"ATTRIB", 10, "0x1", "a real number"},
        {"LINE", 370, "thick", "a whole number"},       // entity part
        {"LINE", 62, "red", "a whole number"},
        {"LINE", 31, "-", "a real number"},             // z of the end point
        {"CIRCLE", 40, "inf", "a real number"},
        {"LWPOLYLINE", 42, "half", "a real number"},
        {"LWPOLYLINE", 62, "", "a whole number"},
        {"ARC", 51, "half", "a real number"},           // the arc's own subclass
        {"ELLIPSE", 40, "0.5.", "a real number"},
        {"SPLINE", 71, "three", "a whole number"},
        {"SPLINE", 20, "2 0", "a real number"},         // y of a control point
        {"TEXT", 10, "1..5", "a real number"},          // nearly plain decimals
        {"CIRCLE", 10, "--2", "a real number"},
        {"ARC", 40, "3.5-", "a real number"},
        {"LINE", 11, "12-3", "a real number"},
        {"ATTRIB", 70, "1 2", "a whole number"},        // nearly plain whole numbers
        {"LINE", 370, "-1-", "a whole number"},
        {"SPLINE", 71, "- 3", "a whole number"},
        {"LWPOLYLINE", 62, "12345678901234567890", "a whole number"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " " + std::to_string(c.code));
        const Spot spot = locate(text, c.type, c.code, nullptr, true);
        ASSERT_GT(spot.line, 0u) << "ezdxf wrote no such tag";
        AcDbDatabase db(false);
        EXPECT_EQ(db.readDxfText(replaced(text, spot.line, c.bad), "plan.dxf"), Acad::eBadDxfSequence);
        EXPECT_EQ(db.lastErrorLine(), spot.line);
        EXPECT_EQ(db.lastError(), message("plan.dxf", spot, c.expected, c.code, c.type, c.bad));
    }
    // Whole numbers of the other objects the database models (counts, flags,
    // colours, follow flags), in the tables and blocks too, are refused alike.
    const std::string whole = dxftest::readFile(dxftest::sourceDir() / kWholeNumbers);
    ASSERT_FALSE(whole.empty());
    const std::pair<const char*, int> wholeCases[] = {
        {"LWPOLYLINE", 90}, {"LWPOLYLINE", 70}, {"INSERT", 66}, {"ATTDEF", 70}, {"TEXT", 72},  {"HATCH", 91},
        {"HATCH", 70},      {"LAYER", 70},      {"LAYER", 62},  {"LTYPE", 73},  {"STYLE", 71}, {"BLOCK", 70},
    };
    for (const auto& [type, code] : wholeCases) {
        SCOPED_TRACE(std::string(type) + " " + std::to_string(code));
        const Spot spot = locate(whole, type, code);
        ASSERT_GT(spot.line, 0u) << "the fixture has no such tag";
        AcDbDatabase db(false);
        EXPECT_EQ(db.readDxfText(replaced(whole, spot.line, "x"), "whole.dxf"), Acad::eBadDxfSequence);
        EXPECT_EQ(db.lastErrorLine(), spot.line);
        EXPECT_EQ(db.lastError(), message("whole.dxf", spot, "a whole number", code, type, "x"));
    }
}

TEST(MalformedNumbers, MalformedNumbersTheDatabaseDoesNotModelAreKept)
{
    // The circle fixture repaired, then: a circle's unused real 41, an INSERT
    // column spacing (44, not modelled) with a unit, and an XLINE (kept as
    // read) with a word for its direction's x.
    std::string text = dxftest::readFile(dxftest::sourceDir() / kDamaged / "zelka_circle_radius_nan_AC1015.dxf");
    size_t nan = text.find("\nnan\n");
    ASSERT_NE(nan, std::string::npos);
    text.replace(nan + 1, 3, "3.875");
    size_t radius = text.find("\n 40\n", text.find("\nCIRCLE\n"));
    ASSERT_NE(radius, std::string::npos);
    text.insert(radius + 1, " 41\nwide\n");
    size_t scale = text.find("\n 41\n2.375\n");
    ASSERT_NE(scale, std::string::npos);
    text.insert(scale + 11, " 44\n1.5m\n");
    size_t entitiesEnd = text.find("  0\nENDSEC", text.find("ENTITIES"));
    ASSERT_NE(entitiesEnd, std::string::npos);
    text.insert(entitiesEnd, "  0\nXLINE\n  5\nFFF0\n330\n1F\n100\nAcDbEntity\n  8\n0\n100\nAcDbXline\n 10\n0.0\n 20\n0.0\n"
                             " 30\n0.0\n 11\nwest\n 21\n0.0\n 31\n0.0\n");
    // The XLINE's handle is the highest, so the handle seed moves above it.
    size_t seed = text.find("$HANDSEED\n  5\n");
    ASSERT_NE(seed, std::string::npos);
    seed += 14;
    text.replace(seed, text.find('\n', seed) - seed, "FFF1");
    AcDbDatabase db(false);
    ASSERT_EQ(db.readDxfText(text, "kept.dxf"), Acad::eOk) << db.lastError();
    std::string written;
    ASSERT_EQ(db.writeDxfText(written), Acad::eOk);
    EXPECT_EQ(dxftest::tagStream(written), dxftest::tagStream(text));
}

TEST(MalformedNumbers, ASequenceWithoutSeqendGetsOneAndTheUserIsTold)
{
    const fs::path dir = dxftest::tempDir("missing-seqend");
    struct Case {
        fs::path source;
        bool keepsHandles;  // false: an R12 file, whose objects get new handles
    } cases[] = {
        {dxftest::sourceDir() / kWholeNumbers, true},
        {dxftest::sourceDir() / "tests/data/dxf/r12/ac1009_with_handles.dxf", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source.filename().string());
        std::vector<std::string> lines = linesOf(dxftest::readFile(c.source));
        // Remove the first SEQEND after an ATTRIB, up to the next 0 tag.
        size_t k = 0, parentHandleLine = 0;
        std::string current;
        for (size_t i = 0; i + 1 < lines.size(); i += 2) {
            if (std::stoi(lines[i]) != 0)
                continue;
            if (lines[i + 1] == "INSERT")
                parentHandleLine = i + 3;
            if (lines[i + 1] == "SEQEND" && current == "ATTRIB") {
                k = i;
                break;
            }
            current = lines[i + 1];
        }
        ASSERT_GT(k, 0u);
        size_t e = k + 2;
        while (std::stoi(lines[e]) != 0)
            e += 2;
        lines.erase(lines.begin() + static_cast<long>(k), lines.begin() + static_cast<long>(e));
        const fs::path file = dir / ("noseqend_" + c.source.filename().string());
        dxftest::writeFile(file, joined(lines));

        AcDbDatabase db(false);
        ASSERT_EQ(db.readDxfFile(file.c_str()), Acad::eOk) << db.lastError();
        // The INSERT's handle as the drawing has it (an R12 one gets a new one).
        std::string notice;
        for (const std::string& n : db.readNotices())
            if (n.rfind("INSERT ", 0) == 0)
                notice = n;
        ASSERT_FALSE(notice.empty());
        const std::string handle = notice.substr(7, notice.find(' ', 7) - 7);
        EXPECT_EQ(notice, "INSERT " + handle + " had no SEQEND; one was added");
        if (c.keepsHandles)
            EXPECT_EQ(handle, lines[parentHandleLine]);
        else
            EXPECT_NE(db.readNotices().front().find("is an R12 (AC1009) drawing"), std::string::npos);
        const fs::path saved = dir / ("saved_" + c.source.filename().string());
        ASSERT_EQ(db.dxfOut(saved.c_str()), Acad::eOk);
        // ezdxf finds nothing to repair and the attribute still on its INSERT.
        EXPECT_EQ(zelkatest::oracleJson(zelkatest::testScript("tools/dxf_oracle.py"), {"compare", c.source, saved})
                      .at("differences"),
                  nlohmann::json::array());
    }
}
