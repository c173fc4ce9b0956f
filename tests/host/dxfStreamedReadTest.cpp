// A drawing is read with its tags split as the reader walks the file and
// dropped once passed: objects far into a large file must keep their exact
// lines, and a fault of the tags anywhere must still be the one reported.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbLine.h"
#include "host/db/AcDbOpen.h"
#include "tests/host/dxfTestSupport.h"

namespace {

using dxftest::withLines;

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

// The bytes of the process's mapping that starts at start which are in memory
// now, from the kernel's own account; -1 when there is no such mapping.
long residentBytesOfMapping(const void* start)
{
    std::ifstream smaps("/proc/self/smaps");
    char head[32];
    std::snprintf(head, sizeof head, "%lx-", reinterpret_cast<unsigned long>(start));
    bool inside = false;
    for (std::string line; std::getline(smaps, line);) {
        if (line.rfind(head, 0) == 0)
            inside = true;
        else if (inside && line.rfind("Rss:", 0) == 0)
            return std::stol(line.substr(4)) * 1024;
    }
    return -1;
}

TEST(DxfStreamedRead, AMappedFileKeepsOnlyThePartBeingReadInMemoryAndLosesNothing)
{
    // About 30 MB: several times what the database keeps of a mapped file.
    const std::string text = withLines(300000);
    const auto dir = dxftest::tempDir("mapped-resident");
    const auto in = dir / "lines.dxf", out = dir / "saved.dxf";
    std::ofstream(in, std::ios::binary) << text;
    const long window = static_cast<long>(AcDbDatabaseData::kMappedResident);
    ASSERT_GT(static_cast<long>(text.size()), 3 * window);

    AcDbDatabase db(false);
    ASSERT_EQ(db.readDxfFile(in.c_str()), Acad::eOk) << db.lastError();
    const void* mapped = db.data().mapped;
    ASSERT_NE(mapped, nullptr);
    // A batch of tags may run past the limit before the pages are handed back.
    const long slack = 2 << 20;
    EXPECT_LE(residentBytesOfMapping(mapped), window + slack);

    // Objects whose lines were handed back read their values from the file again.
    for (uint64_t i : {uint64_t{0}, uint64_t{150000}, uint64_t{299999}}) {
        SCOPED_TRACE(i);
        AcDbObjectId id;
        ASSERT_EQ(db.getAcDbObjectId(id, false, AcDbHandle(0x10000 + i)), Acad::eOk);
        AcDbLine* line = nullptr;
        ASSERT_EQ(acdbOpenObject(line, id, AcDb::kForRead), Acad::eOk);
        EXPECT_EQ(line->startPoint().x, static_cast<double>(i));
        EXPECT_EQ(line->endPoint().y, 1.5);
        line->close();
    }

    ASSERT_EQ(db.dxfOut(out.c_str()), Acad::eOk) << db.lastError();
    EXPECT_LE(residentBytesOfMapping(mapped), window + slack);
    std::stringstream saved;
    saved << std::ifstream(out, std::ios::binary).rdbuf();
    const std::string s = saved.str();
    const size_t from = text.find("ENTITIES"), savedFrom = s.find("ENTITIES");
    ASSERT_NE(savedFrom, std::string::npos);
    EXPECT_TRUE(s.compare(savedFrom, std::string::npos, text, from) == 0);

    // Text handed in is the database's own memory and is never handed back.
    AcDbDatabase fromText(false);
    ASSERT_EQ(fromText.readDxfText(text, "lines.dxf"), Acad::eOk);
    std::string again;
    ASSERT_EQ(fromText.writeDxfText(again), Acad::eOk);
    EXPECT_EQ(again, s);
}

}  // namespace
