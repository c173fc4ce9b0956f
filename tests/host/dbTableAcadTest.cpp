// A table AutoCAD wrote, in a drawing of ours: read into the API, saved
// unchanged tag for tag, redrawn where AutoCAD drew it, and a damaged row
// count that must not make the reader allocate without bound.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDictionary.h"
#include "host/db/AcDbOpen.h"
#include "host/db/AcDbTable.h"
#include "tests/host/dbTableTestSupport.h"
#include "tests/host/dxfTestSupport.h"
#include "tests/common/TestRequirements.h"

namespace {

using namespace tabletest;

// A table AutoCAD wrote (tests/data/dxf/table/SOURCES.md), put into a new
// drawing's model space.
std::string autocadTableDrawing(AcDbDatabase& db)
{
    std::string entity = dxftest::readFile(dxftest::sourceDir() / "tests/data/dxf/table/acad_table_AC1032.entity");
    AcDbDictionary* styles = nullptr;
    EXPECT_EQ(acdbOpenObject(styles, db.tableStyleDictionaryId(), AcDb::kForRead), Acad::eOk);
    AcDbObjectId standard;
    EXPECT_EQ(styles->getAt("Standard", standard), Acad::eOk);
    styles->close();
    entity.replace(entity.find("@OWNER@"), 7, hex(db.modelSpaceId()));
    entity.replace(entity.find("@STYLE@"), 7, hex(standard));
    // Stand-in proxy graphics where AutoCAD writes them (the real ones are left out).
    entity.insert(entity.find("100\nAcDbBlockReference\n"), "160\n                16\n310\n00112233445566778899AABBCCDDEEFF\n");
    std::string text;
    EXPECT_EQ(db.writeDxfText(text), Acad::eOk);
    const std::string marker = "  2\nENTITIES\n";
    text.insert(text.find(marker) + marker.size(), entity);
    // The drawing had the table's CLASS record and a seed above its handles.
    const std::string classes = "  2\nCLASSES\n";
    text.insert(text.find(classes) + classes.size(),
                "  0\nCLASS\n  1\nACAD_TABLE\n  2\nAcDbTable\n  3\nObjectDBX Classes\n 90\n     1025\n 91\n        1\n"
                "280\n     0\n281\n     1\n");
    const std::string seed = "$HANDSEED\n  5\n";
    const size_t at = text.find(seed) + seed.size();
    text.replace(at, text.find('\n', at) - at, "23B");
    return text;
}

TEST(TableTest, AutocadTableIsReadKeptAndRedrawnWhereAutocadDrewIt)
{
    ZELKA_REQUIRE_EZDXF();
    auto dir = dxftest::tempDir("table-acad");
    std::string source;
    {
        AcDbDatabase fresh(true);
        source = autocadTableDrawing(fresh);
    }
    dxftest::writeFile(dir / "acad.dxf", source);
    AcDbDatabase db(false);
    ASSERT_EQ(db.readDxfFile((dir / "acad.dxf").c_str()), Acad::eOk) << db.lastError();
    AcDbObjectId id;
    ASSERT_EQ(db.getAcDbObjectId(id, false, AcDbHandle("23A")), Acad::eOk);
    AcDbTable* t = nullptr;
    ASSERT_EQ(acdbOpenObject(t, id, AcDb::kForRead), Acad::eOk);
    ASSERT_EQ(t->numRows(), 3);
    ASSERT_EQ(t->numColumns(), 5);
    EXPECT_EQ(t->rowHeight(0), 0.4533333333333334);
    EXPECT_EQ(t->rowHeight(2), 0.36);
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(t->columnWidth(c), 2.5);
    EXPECT_EQ(t->textString(0, 0), "Hello this is a title");
    EXPECT_EQ(t->textString(1, 0), "A2 cell");
    EXPECT_EQ(t->textString(2, 0), "A3 cell");
    EXPECT_EQ(t->textString(2, 1), "");
    int r0 = -1, r1 = -1, c0 = -1, c1 = -1;
    ASSERT_TRUE(t->isMergedCell(0, 3, &r0, &r1, &c0, &c1));
    EXPECT_EQ(std::vector<int>({r0, r1, c0, c1}), std::vector<int>({0, 0, 0, 4}));
    EXPECT_FALSE(t->isMergedCell(1, 0));
    EXPECT_EQ(t->position(), AcGePoint3d(0.526295567410898, 1.656159789800675, 0.0));
    // The style decides what the cells do not: title 0.25, header and data
    // 0.18 high; header middle centre, data top centre.
    EXPECT_EQ(t->textHeight(0, 0), 0.25);
    EXPECT_EQ(t->textHeight(2, 0), 0.18);
    EXPECT_EQ(t->alignment(1, 0), AcDb::kMiddleCenter);
    EXPECT_EQ(t->alignment(2, 0), AcDb::kTopCenter);
    t->close();

    std::string same;
    ASSERT_EQ(db.writeDxfText(same), Acad::eOk);
    EXPECT_EQ(dxftest::tagStream(same), dxftest::tagStream(source));

    // Redrawn (its *T1 is not in this drawing), the block matches AutoCAD's.
    ASSERT_EQ(acdbOpenObject(t, id, AcDb::kForWrite), Acad::eOk);
    ASSERT_EQ(t->recomputeTableBlock(), Acad::eOk);
    t->close();
    ASSERT_EQ(db.saveAs((dir / "redrawn.dxf").c_str()), Acad::eOk);
    // Its proxy graphics showed the old content and are gone.
    auto tags = dxftest::tagStream(dxftest::readFile(dir / "redrawn.dxf"));
    size_t tableAt = 0;
    while (tableAt < tags.size() && !(tags[tableAt].first == 0 && tags[tableAt].second == "ACAD_TABLE"))
        ++tableAt;
    ASSERT_LT(tableAt, tags.size());
    for (size_t k = tableAt + 1; k < tags.size() && tags[k].first != 0; ++k) {
        EXPECT_NE(tags[k].first, 310);
        EXPECT_NE(tags[k].first, 160);
    }
    const Seen f = query(dir / "redrawn.dxf");
    ASSERT_EQ(f.errors, json::array());
    EXPECT_EQ(f.table().at("block_record"), f.blocks.at(f.table().at("block_name").get<std::string>()).at("handle"));
    EXPECT_EQ(f.cell(0, 0).at("text"), "Hello this is a title");
    EXPECT_EQ(f.cell(0, 0).at("type"), 1);
    EXPECT_EQ(f.cell(0, 0).at("merged"), 0);
    EXPECT_EQ(f.cell(0, 0).at("colspan"), 5);
    EXPECT_EQ(f.cell(0, 0).at("rowspan"), 1);
    std::map<std::string, std::vector<double>> texts;
    for (const json& e : f.tblock("TEXT"))
        texts[e.at("text")] = placement(e);
    const std::map<std::string, std::vector<double>> autocad = {
        {"Hello this is a title", {6.25, -0.2266666666666666, 0.25, 1, 2}},
        {"A2 cell", {1.25, -0.6333333333333333, 0.18, 1, 2}},
        {"A3 cell", {1.25, -0.8733333333333334, 0.18, 1, 3}}};
    ASSERT_EQ(texts.size(), autocad.size());
    for (const auto& [text, want] : autocad) {
        ASSERT_EQ(texts[text].size(), 5u) << text;
        for (size_t k = 0; k < 5; ++k)
            EXPECT_NEAR(texts[text][k], want[k], 1e-12) << text << " " << k;
    }
    std::vector<std::vector<double>> lines;
    for (const json& e : f.tblock("LINE"))
        lines.push_back({e.at("start").at(0), e.at("start").at(1), e.at("end").at(0), e.at("end").at(1)});
    const double y1 = -0.4533333333333334, y3 = -1.173333333333333;
    std::vector<std::vector<double>> acadLines = {{0, 0, 12.5, 0}, {0, y1, 12.5, y1}, {0, -0.8133333333333332, 12.5, -0.8133333333333332},
                                                  {0, y3, 12.5, y3}, {0, 0, 0, y3}, {2.5, y1, 2.5, y3}, {5, y1, 5, y3},
                                                  {7.5, y1, 7.5, y3}, {10, y1, 10, y3}, {12.5, 0, 12.5, y3}};
    ASSERT_EQ(lines.size(), acadLines.size());
    for (const auto& want : acadLines) {
        bool found = false;
        for (const auto& got : lines)
            if (got.size() == 4 && std::fabs(got[0] - want[0]) < 1e-12 && std::fabs(got[1] - want[1]) < 1e-12
                && std::fabs(got[2] - want[2]) < 1e-12 && std::fabs(got[3] - want[3]) < 1e-12)
                found = true;
        EXPECT_TRUE(found) << want[0] << "," << want[1] << " - " << want[2] << "," << want[3];
    }
}

TEST(TableTest, ADamagedRowCountReadsAsAnEmptyGridAndKeepsItsTags)
{
    std::string source;
    {
        AcDbDatabase fresh(true);
        source = autocadTableDrawing(fresh);
    }
    const std::string rows = " 91\n        3\n";
    ASSERT_NE(source.find(rows), std::string::npos);
    source.replace(source.find(rows), rows.size(), " 91\n2000000000\n");
    AcDbDatabase db(false);
    ASSERT_EQ(db.readDxfText(source, "damaged.dxf"), Acad::eOk) << db.lastError();
    AcDbObjectId id;
    ASSERT_EQ(db.getAcDbObjectId(id, false, AcDbHandle("23A")), Acad::eOk);
    AcDbTable* t = nullptr;
    ASSERT_EQ(acdbOpenObject(t, id, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(t->numRows(), 0);
    EXPECT_EQ(t->textString(0, 0), "");
    t->close();
    std::string same;
    ASSERT_EQ(db.writeDxfText(same), Acad::eOk);
    EXPECT_EQ(dxftest::tagStream(same), dxftest::tagStream(source));
}

}  // namespace
