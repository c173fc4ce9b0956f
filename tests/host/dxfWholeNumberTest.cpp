// Whole numbers of the objects the database models (counts, flags, colours,
// lineweights, follow flags) are refused when malformed, with the file, the
// line, what was expected and the object, as reals are. An INSERT whose
// attributes or a POLYLINE whose vertices lack their SEQEND gets one, and the
// user is told.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dxfTestSupport.h"
#include "host/db/AcDbDatabase.h"

namespace fs = std::filesystem;

namespace {

struct Lines {
    std::vector<std::string> text;
    explicit Lines(const std::string& s)
    {
        size_t pos = 0;
        while (pos < s.size()) {
            size_t nl = s.find('\n', pos);
            text.push_back(s.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos));
            if (nl == std::string::npos)
                break;
            pos = nl + 1;
        }
    }
    std::string joined() const
    {
        std::string s;
        for (const std::string& l : text)
            s += l + "\n";
        return s;
    }
    // Index of the value line of the first code inside an object of the type,
    // and that object's handle.
    std::pair<size_t, std::string> find(const std::string& type, int code) const
    {
        std::string current, handle;
        for (size_t i = 0; i + 1 < text.size(); i += 2) {
            const int c = std::stoi(text[i]);
            if (c == 0) {
                current = text[i + 1];
                handle.clear();
            } else if (c == 5 && handle.empty())
                handle = text[i + 1];
            else if (current == type && c == code)
                return {i + 1, handle};
        }
        return {0, ""};
    }
};

const fs::path kFixture = fs::path("tests/data/dxf/numbers/ezdxf_whole_numbers_AC1015.dxf");

}  // namespace

TEST(WholeNumbers, EveryModelledKindIsRefusedWithFileLineAndObject)
{
    const fs::path dir = dxftest::tempDir("whole-numbers");
    const std::string base = dxftest::readFile(dxftest::sourceDir() / kFixture);
    ASSERT_FALSE(base.empty());
    struct Case {
        const char* type;
        int code;
    } cases[] = {
        {"LWPOLYLINE", 90}, {"LWPOLYLINE", 70}, {"INSERT", 66}, {"ATTRIB", 70},  {"ATTDEF", 70},
        {"TEXT", 72},       {"CIRCLE", 62},     {"LINE", 370},  {"HATCH", 91},   {"HATCH", 70},
        {"LAYER", 70},      {"LAYER", 62},      {"LTYPE", 73},  {"STYLE", 71},   {"BLOCK", 70},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " " + std::to_string(c.code));
        Lines lines(base);
        auto [at, handle] = lines.find(c.type, c.code);
        ASSERT_GT(at, 0u) << "the fixture has no such tag";
        lines.text[at] = "x";
        const fs::path file = dir / (std::string(c.type) + std::to_string(c.code) + ".dxf");
        dxftest::writeFile(file, lines.joined());
        AcDbDatabase db(false);
        EXPECT_EQ(db.readDxfFile(file.c_str()), Acad::eBadDxfSequence);
        EXPECT_EQ(db.lastErrorLine(), at + 1);
        EXPECT_EQ(db.lastError(), file.string() + ": line " + std::to_string(at + 1) + ": expected a whole number for group code " +
                                      std::to_string(c.code) + " of " + c.type + " " + handle + ", found 'x'");
    }
}

TEST(WholeNumbers, ASequenceWithoutSeqendGetsOneAndTheUserIsTold)
{
    const fs::path dir = dxftest::tempDir("missing-seqend");
    struct Case {
        fs::path source;
        const char* after;  // the entity whose following SEQEND is removed
        bool keepsHandles;  // false: an R12 file, whose objects get new handles
    } cases[] = {
        {dxftest::sourceDir() / kFixture, "ATTRIB", true},
        {dxftest::sourceDir() / "tests/data/dxf/r12/ac1009_with_handles.dxf", "ATTRIB", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source.filename().string());
        Lines lines(dxftest::readFile(c.source));
        // Remove the first SEQEND after an object of the type, up to the next 0 tag.
        size_t k = 0, parentHandleLine = 0;
        std::string current;
        for (size_t i = 0; i + 1 < lines.text.size(); i += 2) {
            if (std::stoi(lines.text[i]) != 0)
                continue;
            if (lines.text[i + 1] == "INSERT")
                parentHandleLine = i + 3;
            if (lines.text[i + 1] == "SEQEND" && current == c.after) {
                k = i;
                break;
            }
            current = lines.text[i + 1];
        }
        ASSERT_GT(k, 0u);
        size_t e = k + 2;
        while (std::stoi(lines.text[e]) != 0)
            e += 2;
        lines.text.erase(lines.text.begin() + static_cast<long>(k), lines.text.begin() + static_cast<long>(e));
        const fs::path file = dir / ("noseqend_" + c.source.filename().string());
        dxftest::writeFile(file, lines.joined());

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
            EXPECT_EQ(handle, lines.text[parentHandleLine]);
        else
            EXPECT_NE(db.readNotices().front().find("is an R12 (AC1009) drawing"), std::string::npos);
        const fs::path saved = dir / ("saved_" + c.source.filename().string());
        ASSERT_EQ(db.dxfOut(saved.c_str()), Acad::eOk);
        // ezdxf finds nothing to repair and the attribute still on its INSERT.
        EXPECT_EQ(dxftest::capture(std::string(ZELKA_PYTHON) + " '" + (dxftest::sourceDir() / "tests/host/r12_compare.py").string() +
                                   "' '" + c.source.string() + "' '" + saved.string() + "' 2>&1"),
                  "OK\n");
    }
}
