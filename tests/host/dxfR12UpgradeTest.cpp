// R12 drawings (AC1009, or no version at all) are upgraded in memory and
// saved as a current DXF: ezdxf must audit the saved file clean and find the
// same entities, geometry, layers, linetypes, blocks and attribute texts as
// in the original. Files that cannot be read say what they are.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/db/AcDbDatabase.h"
#include "tests/host/dxfTestSupport.h"

namespace fs = std::filesystem;

namespace {

// What differs, as ezdxf sees them, between an R12 drawing and its saved copy.
nlohmann::json r12Compare(const fs::path& original, const fs::path& saved)
{
    return zelkatest::oracleJson(zelkatest::testScript("tools/dxf_oracle.py"), {"compare", original, saved}).at("differences");
}

fs::path ezdxfFixture(const fs::path& dir)
{
    dxftest::ezdxfFixture("r12", dir / "ezdxf_r12.dxf");
    return dir / "ezdxf_r12.dxf";
}

}  // namespace

TEST(DxfR12Upgrade, OpensAndSavesWithEveryEntityKeptAsEzdxfSeesIt)
{
    const fs::path dir = dxftest::tempDir("r12-upgrade");
    const fs::path data = dxftest::sourceDir() / "tests/data/dxf";
    struct Case {
        fs::path file;
        const char* notice;
    } cases[] = {
        {ezdxfFixture(dir), "ezdxf_r12.dxf is an R12 (AC1009) drawing; it will be saved as AutoCAD 2013 DXF"},
        {data / "r12/entities_only_no_header.dxf",
         "entities_only_no_header.dxf is an R12-style drawing without a version; it will be saved as AutoCAD 2013 DXF"},
        {data / "r12/ac1009_with_handles.dxf",
         "ac1009_with_handles.dxf is an R12 (AC1009) drawing; it will be saved as AutoCAD 2013 DXF"},
        {data / "r12/cadman_empty_handles.dxf",
         "cadman_empty_handles.dxf is an R12-style drawing without a version; it will be saved as AutoCAD 2013 DXF"},
        {data / "real/cloudcompare_dxflib_polyline_AC1009.dxf",
         "cloudcompare_dxflib_polyline_AC1009.dxf is an R12 (AC1009) drawing; it will be saved as AutoCAD 2013 DXF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.filename().string());
        AcDbDatabase db(false);
        ASSERT_EQ(db.readDxfFile(c.file.c_str()), Acad::eOk) << db.lastError();
        ASSERT_FALSE(db.readNotices().empty());
        EXPECT_EQ(db.readNotices().front(), c.notice);
        const fs::path saved = dir / ("saved_" + c.file.filename().string());
        ASSERT_EQ(db.dxfOut(saved.c_str()), Acad::eOk) << db.lastError();
        EXPECT_EQ(r12Compare(c.file, saved), nlohmann::json::array());
        // The saved drawing is a current one: read again, nothing to upgrade.
        AcDbDatabase again(false);
        ASSERT_EQ(again.readDxfFile(saved.c_str()), Acad::eOk) << again.lastError();
        EXPECT_TRUE(again.readNotices().empty());
    }
}

TEST(DxfR12Upgrade, FaultsInAnR12FileNameItsOwnLines)
{
    // Line 12 holds the malformed y of the circle's centre.
    const std::string text = "  0\nSECTION\n  2\nENTITIES\n  0\nCIRCLE\n  8\n0\n 10\n1.0\n 20\nX.5\n 40\n1.0\n  0\nENDSEC\n  0\nEOF\n";
    AcDbDatabase db(false);
    EXPECT_EQ(db.readDxfText(text, "old.dxf"), Acad::eBadDxfSequence);
    EXPECT_EQ(db.lastErrorLine(), 12u) << db.lastError();
    EXPECT_NE(db.lastError().find("old.dxf: line 12: expected a real number for group code 20 of CIRCLE"), std::string::npos)
        << db.lastError();
}

TEST(DxfFileKinds, RefusalsNameWhatTheFileIs)
{
    struct Case {
        const char* name;
        std::string text;
        Acad::ErrorStatus status;
        const char* message;
    } cases[] = {
        // Binary DXF and DWG files: DrawingKinds.UnreadableFilesGetOneLineThatNamesWhatTheyAre.
        {"R14", "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1014\n  0\nENDSEC\n  0\nEOF\n", Acad::eDwgNotSupported,
         "f.dxf: line 8: this is an R14 (AC1014) DXF file, which cannot be read; R12 and R2000 to R2018 DXF can - open it "
         "in a CAD program and save it as R2000 or later DXF"},
        {"newer", "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1035\n  0\nENDSEC\n  0\nEOF\n", Acad::eDwgNotSupported,
         "f.dxf: line 8: this is a DXF file newer than R2018 (AC1035), which cannot be read; R12 and R2000 to R2018 DXF "
         "can - open it in a CAD program and save it as R2000 or later DXF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AcDbDatabase db(false);
        EXPECT_EQ(db.readDxfText(c.text, "f.dxf"), c.status);
        EXPECT_EQ(db.lastError(), c.message);
    }
}

TEST(DxfR12Upgrade, AnEscapedLineBreakStaysOneTag)
{
    // Decoded, "\U+000A" would split the text's tag in two.
    const std::string text = "  0\nSECTION\n  2\nENTITIES\n  0\nTEXT\n  8\n0\n 10\n1.0\n 20\n2.0\n 40\n0.5\n  1\n"
                             "A\\U+000AB\n  0\nLINE\n  8\n0\n 10\n0.0\n 20\n0.0\n 11\n1.0\n 21\n1.0\n  0\nENDSEC\n  0\nEOF\n";
    AcDbDatabase db(false);
    ASSERT_EQ(db.readDxfText(text, "old.dxf"), Acad::eOk) << db.lastError();
    std::string out;
    db.writeDxfText(out);
    EXPECT_NE(out.find("\n  1\nA\\U+000AB\n"), std::string::npos);
    EXPECT_NE(out.find("\nLINE\n"), std::string::npos);
}
