// The strict number check passes an entity without building it when all its
// numbers are well formed; a malformed one must still fail the read when the
// field is modelled (any entity kind, in the entity part or the typed part)
// and must still be kept when it is not.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/db/AcDbDatabase.h"
#include "tests/host/dxfTestSupport.h"
#include "tests/common/TestRequirements.h"

namespace {

// An R2000 drawing by ezdxf with one entity of each kind the check passes
// unbuilt: text, an insert with an attribute, a line with a lineweight, a
// circle, a bulged lightweight polyline, an arc, an ellipse and a spline.
const char* kMakeDrawing = R"(import sys, ezdxf
doc = ezdxf.new("R2000")
msp = doc.modelspace()
block = doc.blocks.new("ROOM")
block.add_attdef("NAME", (0, 0))
msp.add_text("Office", dxfattribs={"rotation": 30, "height": 2.5})
insert = msp.add_blockref("ROOM", (5, 5), dxfattribs={"rotation": 15})
insert.add_attrib("NAME", "Office 1", (5, 5))
msp.add_line((0, 0), (10, 0), dxfattribs={"lineweight": 50})
msp.add_circle((3, 4), 2)
msp.add_lwpolyline([(0, 0, 0), (4, 0, 0.5), (4, 3, 0)], format="xyb", close=True)
msp.add_arc((1, 1), 2, 30, 120)
msp.add_ellipse((5, 5), (4, 0), 0.5)
msp.add_open_spline([(0, 0), (1, 2), (2, 0), (3, 1)], degree=3)
doc.saveas(sys.argv[1])
)";

struct Spot {
    size_t line = 0;       // 1-based line of the value
    std::string handle;
};

// The value line of the first tag with the code in the first ENTITIES record
// of the type, found by walking the lines.
Spot find(const std::string& text, const std::string& type, int code)
{
    std::vector<std::string> lines;
    for (size_t pos = 0; pos < text.size();) {
        size_t nl = text.find('\n', pos);
        lines.push_back(text.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos));
        pos = nl == std::string::npos ? text.size() : nl + 1;
    }
    bool entities = false;
    std::string current;
    Spot spot;
    for (size_t i = 0; i + 1 < lines.size(); i += 2) {
        int c = std::stoi(lines[i]);
        std::string value = lines[i + 1];
        if (!value.empty() && value.back() == '\r')
            value.pop_back();
        if (c == 2 && value == "ENTITIES")
            entities = true;
        if (!entities)
            continue;
        if (c == 0) {
            current = value;
            spot.handle.clear();
        } else if (current == type && c == 5 && spot.handle.empty()) {
            spot.handle = value;
        } else if (current == type && c == code) {
            spot.line = i + 2;
            return spot;
        }
    }
    return spot;
}

// The text with the value on the 1-based line replaced.
std::string replaced(std::string text, size_t line, const std::string& value)
{
    size_t start = 0;
    for (size_t l = 1; l < line; ++l)
        start = text.find('\n', start) + 1;
    size_t end = text.find('\n', start);
    if (end > start && text[end - 1] == '\r')
        --end;
    return text.replace(start, end - start, value);
}

class NumberCheckKinds : public ::testing::Test {
protected:
    void SetUp() override
    {
        ZELKA_REQUIRE_EZDXF();
        auto dir = dxftest::tempDir("number-check-kinds");
        dxftest::writeFile(dir / "make.py", kMakeDrawing);
        dxftest::capture(std::string(ZELKA_PYTHON) + " '" + (dir / "make.py").string() + "' '" +
                         (dir / "plan.dxf").string() + "'");
        text = dxftest::readFile(dir / "plan.dxf");
        ASSERT_FALSE(text.empty()) << "ezdxf could not write the drawing";
        AcDbDatabase db(false);
        ASSERT_EQ(db.readDxfText(text, "plan.dxf"), Acad::eOk) << db.lastError();
    }
    std::string text;
};

}  // namespace

TEST_F(NumberCheckKinds, AMalformedModelledNumberOfAnyPassedKindFailsTheRead)
{
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
        {"LINE", 31, "-", "a real number"},             // z of the end point
        {"CIRCLE", 40, "inf", "a real number"},
        {"LWPOLYLINE", 42, "half", "a real number"},
        {"LWPOLYLINE", 62, "", "a whole number"},
        {"ARC", 51, "half", "a real number"},           // the arc's own subclass
        {"ELLIPSE", 40, "0.5.", "a real number"},
        {"SPLINE", 71, "three", "a whole number"},
        {"SPLINE", 20, "2 0", "a real number"},         // y of a control point
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " " + std::to_string(c.code));
        Spot spot = find(text, c.type, c.code);
        if (c.code == 62 && spot.line == 0) {
            // No colour written: give the polyline one after its layer.
            size_t at = text.find("\n  8\n", text.find("\nLWPOLYLINE\n"));
            ASSERT_NE(at, std::string::npos);
            text.insert(text.find('\n', at + 5) + 1, " 62\n1\n");
            spot = find(text, c.type, c.code);
        }
        ASSERT_GT(spot.line, 0u) << "ezdxf wrote no such tag";
        AcDbDatabase db(false);
        EXPECT_EQ(db.readDxfText(replaced(text, spot.line, c.bad), "plan.dxf"), Acad::eBadDxfSequence);
        EXPECT_EQ(db.lastErrorLine(), spot.line);
        EXPECT_EQ(db.lastError(), "plan.dxf: line " + std::to_string(spot.line) + ": expected " + c.expected +
                                      " for group code " + std::to_string(c.code) + " of " + c.type + " " +
                                      spot.handle + ", found '" + c.bad + "'");
    }
}

TEST_F(NumberCheckKinds, MalformedNumbersTheReadersLeaveAloneAreKept)
{
    // A circle's unused real 41 is not read by the database: the drawing
    // reads and writes it back as it was. (Whole numbers of modelled kinds,
    // such as a polyline's vertex count, are refused: dxfWholeNumberTest.)
    std::string changed = text;
    size_t radius = changed.find("\n 40\n", changed.find("\nCIRCLE\n"));
    ASSERT_NE(radius, std::string::npos);
    changed.insert(radius + 1, " 41\nwide\n");
    AcDbDatabase db(false);
    ASSERT_EQ(db.readDxfText(changed, "kept.dxf"), Acad::eOk) << db.lastError();
    std::string written;
    ASSERT_EQ(db.writeDxfText(written), Acad::eOk);
    EXPECT_EQ(dxftest::tagStream(written), dxftest::tagStream(changed));
}
