// A drawing is read with its tags split as the reader walks the file and
// dropped once passed: objects far into a large file must keep their exact
// lines, and a fault of the tags anywhere must still be the one reported.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/dxf/DxfDefaultDrawing.h"

namespace {

// The default drawing with count LINE entities (handles from 10000 hex on,
// 9 tags each, as the writer lays them out) at the start of ENTITIES.
std::string withLines(size_t count)
{
    std::string text = DxfDefaultDrawing::text();
    const std::string section = "  2\nENTITIES\n";
    std::string lines;
    char handle[32];
    for (size_t i = 0; i < count; ++i) {
        std::snprintf(handle, sizeof handle, "%zX", 0x10000 + i);
        lines += std::string("  0\nLINE\n  5\n") + handle + "\n330\n1F\n100\nAcDbEntity\n  8\n0\n100\nAcDbLine\n 10\n" +
                 std::to_string(i) + "\n 20\n0.0\n 11\n" + std::to_string(i + 1) + "\n 21\n1.5\n";
    }
    text.insert(text.find(section) + section.size(), lines);
    return text;
}

TEST(DxfStreamedRead, ObjectsAcrossManyTagBlocksAreSavedLineForLine)
{
    const std::string text = withLines(30000);  // 270,000 tags: several blocks of the tag list
    ASSERT_EQ(text.find("\r"), std::string::npos);
    AcDbDatabase db(false);
    ASSERT_EQ(db.readDxfText(text, "lines.dxf"), Acad::eOk) << db.lastError();
    std::string saved;
    ASSERT_EQ(db.writeDxfText(saved), Acad::eOk);
    // The header's $HANDSEED follows the new handles; from ENTITIES on the
    // text comes back as it was.
    const size_t from = text.find("ENTITIES"), savedFrom = saved.find("ENTITIES");
    ASSERT_NE(savedFrom, std::string::npos);
    EXPECT_TRUE(saved.compare(savedFrom, std::string::npos, text, from) == 0);
}

TEST(DxfStreamedRead, ATagFaultLaterInTheFileWinsOverAStructuralFaultBefore)
{
    const std::string good = withLines(20000);
    // A stray section item early in TABLES (structure), and a bad group code
    // far later, in ENTITIES; lines are counted here from the text.
    std::string text = good;
    const size_t tables = text.find("TABLES\n") + 7;
    text.insert(tables, "999\nx\n");
    const size_t bad = text.rfind("\n 21\n1.5\n") + 1;
    text.replace(bad, 3, "x21");
    const size_t badLine = 1 + static_cast<size_t>(std::count(text.begin(), text.begin() + static_cast<long>(bad), '\n'));
    AcDbDatabase db(false);
    EXPECT_EQ(db.readDxfText(text, "both.dxf"), Acad::eInvalidDxfCode);
    EXPECT_NE(db.lastError().find("both.dxf: line " + std::to_string(badLine) + ": expected a group code"), std::string::npos)
        << db.lastError();
    // Without the bad code, the structural fault is the one reported.
    text.replace(bad, 3, " 21");
    EXPECT_EQ(db.readDxfText(text, "both.dxf"), Acad::eBadDxfSequence);
    EXPECT_EQ(db.lastError().find("expected a group code"), std::string::npos) << db.lastError();
}

TEST(DxfStreamedRead, AnR12VersionFoundOnlyLaterInTheFileStillUpgradesTheDrawing)
{
    // The version is settled by the last $ACADVER of any HEADER section; a
    // later one is only met once the drawing was read as current, which is
    // then read again from the start as R12.
    struct Case {
        const char* what;
        std::string insert;
        bool atEnd;
        bool upgraded;
    };
    const std::vector<Case> cases = {
        {"a second HEADER section before EOF", "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n  0\nENDSEC\n", true, true},
        {"a section start inside ENTITIES", "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n", false, true},
        {"the variable in an entity outside any HEADER", "  0\nFOO\n  5\nABCD\n  9\n$ACADVER\n  1\nAC1009\n", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string text = withLines(20000);
        text.insert(c.atEnd ? text.rfind("  0\nEOF") : text.find("ENTITIES\n") + 9, c.insert);
        AcDbDatabase db(false);
        ASSERT_EQ(db.readDxfText(text, "late.dxf"), Acad::eOk) << db.lastError();
        const auto& notices = db.data().notices;
        const bool upgraded = !notices.empty() && notices[0] == "late.dxf is an R12 (AC1009) drawing; it will be saved as AutoCAD 2013 DXF";
        EXPECT_EQ(upgraded, c.upgraded);
    }
}

}  // namespace
