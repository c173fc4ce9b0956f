// A malformed number in a field the drawing database models makes reading
// fail with the file, the line of the value, what was expected and the
// object; malformed numbers the database does not model are kept as text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dxfTestSupport.h"
#include "host/db/AcDbDatabase.h"

namespace fs = std::filesystem;

namespace {

struct Fault {
    const char* file;
    const char* entity;
    int code;
    const char* bad;
    const char* expected;
};

// The fixtures of tests/data/dxf/damaged written by make_number_faults.py.
const std::vector<Fault> kFaults = {
    {"zelka_lwpolyline_decimal_comma_AC1015.dxf", "LWPOLYLINE", 10, "4,125", "a real number"},
    {"zelka_insert_scale_unit_AC1015.dxf", "INSERT", 41, "2.375mm", "a real number"},
    {"zelka_layer_color_blank_AC1015.dxf", "LAYER", 62, "", "a whole number"},
    {"zelka_xdata_real_word_AC1015.dxf", "INSERT", 1040, "twelve", "a real number"},
    {"zelka_circle_radius_nan_AC1015.dxf", "CIRCLE", 40, "nan", "a real number"},
};

// The 1-based line of the value of the first (code, value) tag inside an
// object of the type, and that object's handle - found by walking the lines.
std::pair<size_t, std::string> locate(const std::string& text, const std::string& type, int code, const std::string& value)
{
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t nl = text.find('\n', pos);
        lines.push_back(text.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos));
        if (nl == std::string::npos)
            break;
        pos = nl + 1;
    }
    std::string current, handle;
    for (size_t i = 0; i + 1 < lines.size(); i += 2) {
        int c = std::stoi(lines[i]);
        if (c == 0) {
            current = lines[i + 1];
            handle.clear();
        } else if (c == 5 && handle.empty()) {
            handle = lines[i + 1];
        } else if (current == type && c == code && lines[i + 1] == value) {
            return {i + 2, handle};
        }
    }
    return {0, ""};
}

}  // namespace

TEST(StrictNumbers, MalformedModelledNumbersNameFileLineAndObject)
{
    for (const Fault& f : kFaults) {
        SCOPED_TRACE(f.file);
        fs::path path = dxftest::sourceDir() / "tests/data/dxf/damaged" / f.file;
        std::string text = dxftest::readFile(path);
        ASSERT_FALSE(text.empty());
        auto [line, handle] = locate(text, f.entity, f.code, f.bad);
        ASSERT_GT(line, 0u) << "the fixture lost its fault";
        AcDbDatabase db(false);
        EXPECT_EQ(db.readDxfFile(path.c_str()), Acad::eBadDxfSequence);
        EXPECT_EQ(db.lastErrorLine(), line) << db.lastError();
        const std::string expected = path.string() + ": line " + std::to_string(line) + ": expected " + f.expected +
                                     " for group code " + std::to_string(f.code) + " of " + f.entity + " " + handle +
                                     ", found '" + f.bad + "'";
        EXPECT_EQ(db.lastError(), expected);
        EXPECT_EQ(db.modelSpaceId(), AcDbObjectId()) << "a failed read leaves the database empty";
    }
}

TEST(StrictNumbers, TheSameDrawingWithTheNumberRepairedReads)
{
    // Guards the test above: each fixture differs from a readable drawing only in its fault.
    const char* good[] = {"4.125", "2.375", "5", "12.625", "3.875"};
    for (size_t k = 0; k < kFaults.size(); ++k) {
        const Fault& f = kFaults[k];
        SCOPED_TRACE(f.file);
        std::string text = dxftest::readFile(dxftest::sourceDir() / "tests/data/dxf/damaged" / f.file);
        auto [line, handle] = locate(text, f.entity, f.code, f.bad);
        ASSERT_GT(line, 0u);
        // Replace the value line (line is 1-based).
        size_t start = 0;
        for (size_t l = 1; l < line; ++l)
            start = text.find('\n', start) + 1;
        text.replace(start, std::string(f.bad).size(), good[k]);
        AcDbDatabase db(false);
        EXPECT_EQ(db.readDxfText(text, f.file), Acad::eOk) << db.lastError();
    }
}

TEST(StrictNumbers, MalformedNumbersTheDatabaseDoesNotModelAreKept)
{
    // The circle fixture repaired, then: an INSERT column spacing (44, not
    // modelled) with a unit, and an XLINE (kept as read) with a word for its direction's x.
    std::string text = dxftest::readFile(dxftest::sourceDir() / "tests/data/dxf/damaged/zelka_circle_radius_nan_AC1015.dxf");
    size_t nan = text.find("\nnan\n");
    ASSERT_NE(nan, std::string::npos);
    text.replace(nan + 1, 3, "3.875");
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
