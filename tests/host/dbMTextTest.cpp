// Multiline text: the inline format codes read into plain text and runs,
// MTEXT records written by ezdxf read as ezdxf reads them, new texts written
// in chunks that ezdxf reads back, and what the database does not model kept
// through an edit.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbMText.h"
#include "host/db/AcDbMTextFormat.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbOpen.h"
#include "host/dxf/DxfDefaultDrawing.h"
#include "tests/host/dxfTestSupport.h"

namespace fs = std::filesystem;

namespace {

constexpr double kPi = 3.14159265358979323846;

std::vector<AcDbObjectId> modelSpaceEntities(AcDbDatabase& db)
{
    std::vector<AcDbObjectId> ids;
    AcDbBlockTableRecord* space = nullptr;
    EXPECT_EQ(acdbOpenObject(space, db.modelSpaceId(), AcDb::kForRead), Acad::eOk);
    for (AcDbStub* s : space->entities)
        ids.emplace_back(s);
    space->close();
    return ids;
}

}  // namespace

TEST(MText, InlineCodesResolveToThePlainText)
{
    struct Case {
        const char* contents;
        const char* plain;
    } cases[] = {
        {"Plain", "Plain"},
        {"one\\Ptwo\\Pthree", "one\ntwo\nthree"},
        {"no\\~break", "no\xC2\xA0" "break"},
        {"back\\\\slash \\{braces\\}", "back\\slash {braces}"},
        {"{\\H2x;Big} {\\C1;red} {\\c255;blue}", "Big red blue"},
        {"\\fArial|b1|i0|c0|p34;Bold \\FromanS.shx;Shape", "Bold Shape"},
        {"\\LUnder\\l \\OOver\\o \\KStrike\\k", "Under Over Strike"},
        {"\\W0.8;narrow \\Q15;slanted \\T1.2;tracked", "narrow slanted tracked"},
        {"\\S1/2; \\S3^4; \\S5#6;", "1/2 3/4 5/6"},
        {"\\A1;\\pxi-3,l3,t4;para", "para"},
        {"caret^Jbreak ^Itab ^ c", "caret\nbreak     tab ^c"},
        {"Cyrillic \\U+0416 escape", "Cyrillic \xD0\x96 escape"},
        {"unbalanced { brace", "unbalanced  brace"},
        {"cut \\H2", "cut "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.contents);
        EXPECT_EQ(AcDbMTextFormat::plainText(c.contents), c.plain);
    }
}

TEST(MText, InlineCodesSetTheFormatOfEachRun)
{
    const auto paragraphs = AcDbMTextFormat::parse(
        "a{\\H2x;\\C1;b\\H0.5;c}d\\P{\\c16711680;\\fDejaVu Serif|b0|i1;e\\L\\Q30;f}", 3.0);
    ASSERT_EQ(paragraphs.size(), 2u);
    const auto& first = paragraphs[0].runs;
    ASSERT_EQ(first.size(), 4u);
    EXPECT_EQ(first[0].text, "a");
    EXPECT_DOUBLE_EQ(first[0].height, 3.0);
    EXPECT_FALSE(first[0].hasColour);
    EXPECT_EQ(first[1].text, "b");
    EXPECT_DOUBLE_EQ(first[1].height, 6.0);  // twice the text's height
    ASSERT_TRUE(first[1].hasColour);
    EXPECT_EQ(first[1].colour.colorIndex(), 1);
    EXPECT_EQ(first[2].text, "c");
    EXPECT_DOUBLE_EQ(first[2].height, 0.5);  // absolute
    EXPECT_EQ(first[3].text, "d");           // the group's end restores the format
    EXPECT_DOUBLE_EQ(first[3].height, 3.0);
    EXPECT_FALSE(first[3].hasColour);

    const auto& second = paragraphs[1].runs;
    ASSERT_EQ(second.size(), 2u);
    // \c is blue, green, red from the high byte: 0xFF0000 is pure blue.
    ASSERT_TRUE(second[0].hasColour);
    EXPECT_EQ(second[0].colour.red(), 0);
    EXPECT_EQ(second[0].colour.blue(), 255);
    EXPECT_EQ(second[0].fontFamily, "DejaVu Serif");
    EXPECT_TRUE(second[0].italic);
    EXPECT_FALSE(second[0].bold);
    EXPECT_FALSE(second[0].underline);
    EXPECT_TRUE(second[1].underline);
    EXPECT_NEAR(second[1].oblique, kPi / 6, 1e-15);
}

// Texts ezdxf wrote (contents in 3 and 1 chunks, rotation in degrees, a
// direction that is no unit vector) read as ezdxf reads them.
TEST(MText, TextsEzdxfWroteReadAsEzdxfReadsThem)
{
    const fs::path dir = dxftest::tempDir("mtext-ezdxf");
    const fs::path dxf = dir / "mtext.dxf";
    const nlohmann::json expected = dxftest::ezdxfFixture("mtexts", dxf).at("mtexts");
    ASSERT_EQ(expected.size(), 6u);
    AcDbDatabase db(false);
    ASSERT_EQ(db.readDxfFile(dxf.c_str()), Acad::eOk) << db.lastError();
    const std::vector<AcDbObjectId> ids = modelSpaceEntities(db);
    ASSERT_EQ(ids.size(), expected.size());
    for (size_t i = 0; i < ids.size(); ++i) {
        const nlohmann::json& f = expected[i];
        SCOPED_TRACE(f.at("text").get<std::string>().substr(0, 40));
        AcDbObjectPointer<AcDbMText> m(ids[i], AcDb::kForRead);
        ASSERT_EQ(m.openStatus(), Acad::eOk);
        EXPECT_EQ(m->text(), f.at("text"));
        EXPECT_DOUBLE_EQ(m->location().x, f.at("insert").at(0));
        EXPECT_DOUBLE_EQ(m->location().y, f.at("insert").at(1));
        EXPECT_DOUBLE_EQ(m->textHeight(), f.at("height"));
        EXPECT_DOUBLE_EQ(m->width(), f.at("width"));
        EXPECT_EQ(static_cast<int>(m->attachment()), f.at("attachment"));
        EXPECT_NEAR(m->rotation() * 180.0 / kPi, f.at("rotation").get<double>(), 1e-9);
        EXPECT_DOUBLE_EQ(m->lineSpacingFactor(), f.at("line_spacing"));
    }
}

// A new text of 700 bytes with Cyrillic letters is written as chunks of at
// most 250 bytes that ezdxf joins back into the same contents.
TEST(MText, NewLongTextIsWrittenInChunksEzdxfReadsBack)
{
    std::string contents;
    for (int i = 0; i < 70; ++i)
        contents += i % 7 == 3 ? "\xD0\x96\xD0\xB8\xD0\xBB\xD0\xB0\\P" : "Room part ";
    const fs::path dir = dxftest::tempDir("mtext-new");
    const fs::path dxf = dir / "new.dxf";
    {
        AcDbDatabase db;
        auto* m = new AcDbMText();
        ASSERT_EQ(m->setContents(contents.c_str()), Acad::eOk);
        ASSERT_EQ(m->setLocation(AcGePoint3d(12.5, -4, 0)), Acad::eOk);
        ASSERT_EQ(m->setTextHeight(3.5), Acad::eOk);
        ASSERT_EQ(m->setWidth(40), Acad::eOk);
        ASSERT_EQ(m->setAttachment(AcDbMText::kMiddleCenter), Acad::eOk);
        ASSERT_EQ(m->setRotation(kPi / 2), Acad::eOk);
        AcDbBlockTableRecord* space = nullptr;
        ASSERT_EQ(acdbOpenObject(space, db.modelSpaceId(), AcDb::kForWrite), Acad::eOk);
        ASSERT_EQ(space->appendAcDbEntity(m), Acad::eOk);
        m->close();
        space->close();
        ASSERT_EQ(db.saveAs(dxf.c_str()), Acad::eOk) << db.lastError();
    }
    // Every chunk within 250 bytes, the last one a 1.
    const auto tags = dxftest::tagStream(dxftest::readFile(dxf));
    size_t chunks = 0;
    bool inMText = false;
    for (const auto& [code, value] : tags) {
        if (code == 0)
            inMText = value == "MTEXT";
        if (inMText && (code == 3 || code == 1)) {
            ++chunks;
            EXPECT_LE(value.size(), 250u);
        }
    }
    EXPECT_EQ(chunks, (contents.size() + 249) / 250);
    const auto seen = dxftest::capture(
        std::string(ZELKA_PYTHON) + " -c \"import ezdxf,sys; m=ezdxf.readfile(sys.argv[1]).modelspace().query('MTEXT')[0]; "
        "sys.stdout.write('%s|%r|%r|%r|%d|%r' % (m.text, tuple(m.dxf.insert), m.dxf.char_height, m.dxf.width, "
        "m.dxf.attachment_point, round(m.get_rotation(), 9)))\" '" + dxf.string() + "'");
    EXPECT_EQ(seen, contents + "|(12.5, -4.0, 0.0)|3.5|40.0|5|90.0");
}

// A record with what the database does not model (background fill, the
// measured size, an embedded object, extended data) keeps it all through an
// edit of the location and the contents; only those tags change.
TEST(MText, UnmodelledGroupsSurviveAnEdit)
{
    const std::string before =
        "  0\nMTEXT\n  5\n1F0\n330\n17\n100\nAcDbEntity\n  8\n0\n100\nAcDbMText\n 10\n1.0\n 20\n2.0\n 30\n0.0\n"
        " 40\n2.5\n 41\n30.0\n 46\n0.0\n 71\n1\n 72\n5\n  3\nfirst chunk \n  1\nlast chunk\n 73\n1\n 44\n1.0\n"
        " 90\n1\n 63\n2\n 45\n1.5\n 63\n2\n441\n0\n101\nEmbedded Object\n 70\n1\n 10\n1.0\n 20\n0.0\n 30\n0.0\n"
        "1001\nACAD\n1000\nkept\n";
    std::string text = DxfDefaultDrawing::text();
    const std::string entities = "  2\nENTITIES\n";
    text.insert(text.find(entities) + entities.size(), before);
    AcDbDatabase db(false);
    ASSERT_EQ(db.readDxfText(text, "mtext"), Acad::eOk) << db.lastError();
    AcDbObjectId id;
    ASSERT_EQ(db.getAcDbObjectId(id, false, AcDbHandle(0x1F0)), Acad::eOk);
    {
        AcDbObjectPointer<AcDbMText> m(id, AcDb::kForWrite);
        ASSERT_EQ(m.openStatus(), Acad::eOk);
        EXPECT_EQ(std::string(m->contents()), "first chunk last chunk");
        ASSERT_EQ(m->setLocation(AcGePoint3d(1, 7.5, 0)), Acad::eOk);
        ASSERT_EQ(m->setContents("changed\\Ptext"), Acad::eOk);
    }
    std::string out;
    ASSERT_EQ(db.writeDxfText(out), Acad::eOk);
    std::string after = before;
    after.replace(after.find(" 20\n2.0\n"), 8, " 20\n7.5\n");
    after.replace(after.find("  3\nfirst chunk \n  1\nlast chunk\n"), 32, "  1\nchanged\\Ptext\n");
    const size_t start = out.find("  0\nMTEXT\n");
    ASSERT_NE(start, std::string::npos);
    EXPECT_EQ(out.substr(start, out.find("\n  0\n", start + 1) + 1 - start), after);
}
