// Saving copies the lines of an unchanged object as they stand when they are
// exactly what the writer would write; any line laid out otherwise (a group
// code not padded to three columns, a stray line end) must come out as the
// writer writes it, whichever section the object is in.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/db/AcDbDatabase.h"
#include "tests/host/dxfTestSupport.h"

namespace {

std::string fixture()
{
    return dxftest::readFile(dxftest::sourceDir() / "tests/data/dxf/ezdxf/ezdxf_plan_R2013_AC1027.dxf");
}

// The text with LF line ends turned into CR LF.
std::string withCrlf(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

std::string saved(const std::string& text)
{
    AcDbDatabase db(false);
    EXPECT_EQ(db.readDxfText(text, "plan.dxf"), Acad::eOk) << db.lastError();
    std::string out;
    EXPECT_EQ(db.writeDxfText(out), Acad::eOk);
    return out;
}

// Where a line is changed: the first group-code line `code` after the
// object line `object` (e.g. "\nLAYER\n" in TABLES, "\nINSERT\n" in
// ENTITIES), counted from the section named.
struct Place {
    const char* section;
    const char* object;
    const char* codeLine;  // as the fixture writes it, e.g. "  8"
};

struct Change {
    const char* what;
    const char* codeLine;   // replaces the code line ("" keeps it)
    const char* lineEnd;    // replaces the code line's end ("" keeps it)
};

size_t codeLineAt(const std::string& text, const Place& p, const std::string& eol)
{
    size_t at = text.find("\n" + std::string(p.section) + eol);
    at = at == std::string::npos ? at : text.find(eol + p.object + eol, at);
    at = at == std::string::npos ? at : text.find(eol + p.codeLine + eol, at + 1);
    return at == std::string::npos ? at : at + eol.size();
}

const std::vector<Place> kPlaces = {
    {"TABLES", "LAYER", "  2"},
    {"BLOCKS", "LWPOLYLINE", "  8"},
    {"ENTITIES", "INSERT", " 10"},
    {"ENTITIES", "ATTRIB", "  1"},
    {"OBJECTS", "DICTIONARY", "  3"},
};

const std::vector<Change> kChanges = {
    {"code not padded", "*", ""},
    {"code padded with zeros", "0*", ""},
    {"code padded with a tab", "\t*", ""},
    {"blank after the code", "* ", ""},
    {"code line with the other line end", "", "other"},
};

// The code line for a change: '*' stands for the code's digits.
std::string changedCodeLine(const Change& c, const std::string& padded)
{
    std::string digits = padded.substr(padded.find_first_not_of(' '));
    std::string line = c.codeLine;
    if (line.empty())
        return padded;
    if (size_t star = line.find('*'); star != std::string::npos)
        line.replace(star, 1, digits);
    if (line.rfind("0", 0) == 0 && digits.size() < 3)
        line = std::string(3 - digits.size(), '0') + digits;
    return line;
}

}  // namespace

TEST(DxfSaveAsRead, TheFixtureComesBackByteForByte)
{
    const std::string text = fixture();
    ASSERT_GT(text.size(), 10000u);
    EXPECT_EQ(saved(text), text);
    EXPECT_EQ(saved(withCrlf(text)), withCrlf(text));
}

TEST(DxfSaveAsRead, ALineLaidOutOtherwiseIsWrittenAsTheWriterWritesIt)
{
    for (bool crlf : {false, true}) {
        const std::string expected = crlf ? withCrlf(fixture()) : fixture();
        const std::string eol = crlf ? "\r\n" : "\n";
        for (const Place& place : kPlaces)
            for (const Change& change : kChanges) {
                SCOPED_TRACE(std::string(crlf ? "CR LF file, " : "LF file, ") + place.section + " " + place.object +
                             " group code '" + place.codeLine + "': " + change.what);
                const size_t at = codeLineAt(expected, place, eol);
                ASSERT_NE(at, std::string::npos);
                std::string text = expected;
                text.replace(at, std::string(place.codeLine).size() + eol.size(),
                             changedCodeLine(change, place.codeLine) +
                                 (std::string(change.lineEnd) == "other" ? (crlf ? "\n" : "\r\n") : eol));
                ASSERT_NE(text, expected);
                EXPECT_EQ(saved(text), expected);
            }
    }
}

TEST(DxfSaveAsRead, AValueLineWithTheOtherLineEndIsWrittenWithTheFilesEnd)
{
    for (bool crlf : {false, true}) {
        SCOPED_TRACE(crlf ? "CR LF file" : "LF file");
        const std::string expected = crlf ? withCrlf(fixture()) : fixture();
        const std::string eol = crlf ? "\r\n" : "\n";
        const size_t at = codeLineAt(expected, {"ENTITIES", "INSERT", "  8"}, eol);
        ASSERT_NE(at, std::string::npos);
        const size_t valueEnd = expected.find(eol, at + 3 + eol.size());
        std::string text = expected;
        text.replace(valueEnd, eol.size(), crlf ? "\n" : "\r\n");
        EXPECT_EQ(saved(text), expected);
    }
}
