// Opening and saving without changes gives back the same tags and handles,
// for files written by other programs and for the ezdxf-made fixtures; files
// that cannot be read get a message naming the file and the line.
#include <gtest/gtest.h>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbObjectPointer.h"
#include "tests/host/dxfTestSupport.h"

namespace fs = std::filesystem;

namespace {

// The $ACADVER of a file, from its tags.
std::string versionOf(const std::vector<std::pair<int, std::string>>& tags)
{
    for (size_t i = 0; i + 1 < tags.size(); ++i)
        if (tags[i].first == 9 && tags[i].second == "$ACADVER")
            return tags[i + 1].second;
    return "";
}

std::vector<fs::path> dxfFiles(const std::vector<std::string>& folders)
{
    std::vector<fs::path> files;
    for (const std::string& f : folders) {
        fs::path dir = dxftest::sourceDir() / f;
        if (!fs::exists(dir))
            continue;
        for (auto& e : fs::directory_iterator(dir))
            if (e.path().extension() == ".dxf" || e.path().extension() == ".DXF")
                files.push_back(e.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

void expectSameTags(const fs::path& file)
{
    std::string original = dxftest::readFile(file);
    auto before = dxftest::tagStream(original);
    std::string version = versionOf(before);
    AcDbDatabase db(false);
    Acad::ErrorStatus es = db.readDxfFile(file.c_str());
    if (version.empty() || version <= "AC1009") {
        // R12 drawings are upgraded in memory (dxfR12UpgradeTest checks what
        // they become); a later file without $ACADVER is refused naming it.
        if (es == Acad::eOk) {
            ASSERT_FALSE(db.readNotices().empty()) << file;
            EXPECT_NE(db.readNotices().front().find(" is an R12"), std::string::npos) << db.readNotices().front();
        } else {
            EXPECT_NE(db.lastError().find("$ACADVER"), std::string::npos) << db.lastError();
        }
        return;
    }
    if (version < "AC1015" || version > "AC1032") {
        // Older files are refused with a message naming the file and the version.
        EXPECT_NE(es, Acad::eOk) << file;
        EXPECT_NE(db.lastError().find(file.string()), std::string::npos) << db.lastError();
        EXPECT_NE(db.lastError().find(version.empty() ? "ACADVER" : version), std::string::npos) << db.lastError();
        return;
    }
    ASSERT_EQ(es, Acad::eOk) << db.lastError();
    // Open every entity of model space once, as a command would, without changing any.
    AcDbObjectPointer<AcDbBlockTableRecord> ms(db.modelSpaceId(), AcDb::kForRead);
    ASSERT_EQ(ms.openStatus(), Acad::eOk);
    for (const AcDbObjectId& id : ms->entityIds()) {
        AcDbObjectPointer<AcDbEntity> e(id, AcDb::kForWrite);
        if (e.openStatus() == Acad::eOk)
            acutRelRb(e->xData());
    }
    ms.close();
    std::string out;
    ASSERT_EQ(db.writeDxfText(out), Acad::eOk);
    auto after = dxftest::tagStream(out);
    ASSERT_EQ(before.size(), after.size()) << file;
    for (size_t i = 0; i < before.size(); ++i)
        ASSERT_EQ(before[i], after[i]) << file << " tag " << i;
}

TEST(DxfRoundTrip, RealFilesFromOtherProgramsComeBackUnchanged)
{
    auto files = dxfFiles({"tests/data/dxf/real"});
    ASSERT_FALSE(files.empty()) << "tests/data/dxf/real holds no drawings";
    for (const fs::path& f : files) {
        SCOPED_TRACE(f.filename().string());
        expectSameTags(f);
    }
}

TEST(DxfRoundTrip, EzdxfFixturesForEveryVersionComeBackUnchanged)
{
    auto files = dxfFiles({"tests/data/dxf/ezdxf", "fuzz/corpus"});
    ASSERT_GE(files.size(), 6u);
    for (const fs::path& f : files) {
        // Damaged inputs the fuzzer found are checked in tests/regressions.
        if (f.filename().string().rfind("dxf-readback-", 0) == 0 || f.filename().string().rfind("orphan_block_", 0) == 0)
            continue;
        SCOPED_TRACE(f.filename().string());
        expectSameTags(f);
    }
}

TEST(DxfRoundTrip, DamagedFilesGetTheFileAndLine)
{
    const auto files = dxfFiles({"tests/data/dxf/damaged"});
    ASSERT_FALSE(files.empty()) << "tests/data/dxf/damaged holds no drawings";
    for (const fs::path& f : files) {
        AcDbDatabase db(false);
        EXPECT_NE(db.readDxfFile(f.c_str()), Acad::eOk) << f;
        EXPECT_EQ(db.lastError().rfind(f.string() + ": line ", 0), 0u) << db.lastError();
        EXPECT_GT(db.lastErrorLine(), 0u) << db.lastError();
    }
}

struct Broken {
    const char* name;
    std::string text;
    size_t line;
    const char* says;
};

TEST(DxfRoundTrip, StructuralFaultsNameTheLineAndWhatWasExpected)
{
    const std::string head = "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1015\n  0\nENDSEC\n";
    const std::vector<Broken> cases = {
        // Without HEADER or $ACADVER but with the CLASSES or OBJECTS of later
        // versions (an R12 drawing has neither and is upgraded instead).
        {"no header", "  0\nSECTION\n  2\nCLASSES\n  0\nENDSEC\n  0\nEOF\n", 1, "HEADER section first"},
        {"no ACADVER", "  0\nSECTION\n  2\nHEADER\n  9\n$INSUNITS\n 70\n4\n  0\nENDSEC\n  0\nSECTION\n  2\nOBJECTS\n  0\nENDSEC\n  0\nEOF\n", 9, "$ACADVER"},
        {"R14", "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1014\n  0\nENDSEC\n  0\nEOF\n", 8, "R14 (AC1014)"},
        {"decimal comma", head.substr(0, head.size() - 10) + "  9\n$EXTMIN\n 10\n-6,5\n  0\nENDSEC\n  0\nEOF\n", 12, "expected a number"},
        {"section without name", head + "  0\nSECTION\n  0\nENDSEC\n  0\nEOF\n", 13, "section name"},
        {"missing ENDSEC", head + "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n  5\n10\n  0\nEOF\n", 19, "ENDSEC"},
        {"table without ENDTAB", head + "  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nLAYER\n  5\n2\n  0\nENDSEC\n  0\nEOF\n", 21, "ENDTAB"},
        {"wrong record in table", head + "  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nLAYER\n  5\n2\n  0\nAPPID\n  5\n3\n  0\nENDTAB\n  0\nENDSEC\n  0\nEOF\n", 21, "LAYER entry"},
        {"duplicate handle", head + "  0\nSECTION\n  2\nOBJECTS\n  0\nDICTIONARY\n  5\nC\n  0\nDICTIONARY\n  5\nc\n  0\nENDSEC\n  0\nEOF\n", 19, "handle C"},
        {"bad handle", head + "  0\nSECTION\n  2\nOBJECTS\n  0\nDICTIONARY\n  5\nXYZ\n  0\nENDSEC\n  0\nEOF\n", 18, "hexadecimal handle"},
        {"no model space", head + "  0\nEOF\n", 11, "*Model_Space"},
        {"section twice", head + "  0\nSECTION\n  2\nBLOCKS\n  0\nENDSEC\n  0\nSECTION\n  2\nBLOCKS\n  0\nENDSEC\n  0\nEOF\n", 19, "second time"},
    };
    for (const Broken& c : cases) {
        AcDbDatabase db(false);
        EXPECT_NE(db.readDxfText(c.text, "broken.dxf"), Acad::eOk) << c.name;
        EXPECT_EQ(db.lastErrorLine(), c.line) << c.name << ": " << db.lastError();
        EXPECT_NE(db.lastError().find("broken.dxf: line " + std::to_string(c.line) + ": "), std::string::npos)
            << c.name << ": " << db.lastError();
        EXPECT_NE(db.lastError().find(c.says), std::string::npos) << c.name << ": " << db.lastError();
        // A failed read leaves an empty database that is safe to query.
        EXPECT_TRUE(db.modelSpaceId().isNull());
    }
}

}  // namespace

namespace {

// Reads the text, saves it, counts the records of the type in the output,
// and reads the output again.
void expectWrittenOnceAndReadable(const std::string& text, const std::string& type, const std::string& what)
{
    AcDbDatabase db(false);
    ASSERT_EQ(db.readDxfText(text, "stray.dxf"), Acad::eOk) << what << ": " << db.lastError();
    std::string out;
    ASSERT_EQ(db.writeDxfText(out), Acad::eOk) << what;
    size_t written = 0;
    for (const auto& [code, value] : dxftest::tagStream(out))
        if (code == 0 && value == type) ++written;
    size_t read = 0;
    for (const auto& [code, value] : dxftest::tagStream(text))
        if (code == 0 && value == type) ++read;
    EXPECT_EQ(written, read) << what;
    AcDbDatabase again(false);
    EXPECT_EQ(again.readDxfText(out, "stray-out.dxf"), Acad::eOk) << what << ": " << again.lastError();
}

}  // namespace

TEST(DxfRoundTrip, AnEntityOfTheEntitiesSectionOwnedElsewhereIsWrittenOnce)
{
    // The room insert renamed to a type nobody knows leaves its ATTRIB
    // standing alone among the entities, with its owner (330) changed to the
    // ROOM-1 definition (handle 20).
    std::string room = dxftest::readFile(dxftest::sourceDir() / "fuzz/corpus/tiny_room_AC1015.dxf");
    size_t insert = room.find("\nINSERT\n");
    ASSERT_NE(insert, std::string::npos);
    room.replace(insert, 8, "\nINSEZT\n");
    const std::string owner = "\nATTRIB\n  5\n31\n330\n30\n";
    size_t attrib = room.find(owner);
    ASSERT_NE(attrib, std::string::npos);
    room.replace(attrib, owner.size(), "\nATTRIB\n  5\n31\n330\n20\n");
    expectWrittenOnceAndReadable(room, "ATTRIB", "ATTRIB owned by a block definition");

    // A line of the ENTITIES section owned by the sheet that is not active
    // (*Paper_Space0, handle 23), whose entities are kept in BLOCKS.
    std::string antenna = dxftest::readFile(dxftest::sourceDir() / "fuzz/corpus/dxflib_antenna_AC1015.dxf");
    const std::string line = "\nLINE\n  5\n43\n";
    size_t at = antenna.find(line);
    ASSERT_NE(at, std::string::npos);
    antenna.insert(at + line.size(), "330\n23\n");
    expectWrittenOnceAndReadable(antenna, "LINE", "LINE owned by a sheet that is not active");
}
