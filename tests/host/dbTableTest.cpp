// Tables through the database: a legend-like table (merged title row,
// heading row, data rows inserted one by one, a block cell showing a hatched
// swatch) saved as R2000 and R2013, read by ezdxf from its raw ACAD_TABLE
// tags and its *T block, read back by our reader, edited and saved again.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>

#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDictionary.h"
#include "host/db/AcDbHatch.h"
#include "host/db/AcDbLine.h"
#include "host/db/AcDbOpen.h"
#include "host/db/AcDbPolyline.h"
#include "host/db/AcDbTable.h"
#include "host/db/AcDbTableStyle.h"
#include "host/db/AcDbText.h"
#include "tests/host/dbTableTestSupport.h"
#include "tests/host/dxfTestSupport.h"
#include "tests/common/TestRequirements.h"

namespace {

using namespace tabletest;

AcDbObjectId newBlock(AcDbDatabase& db, const char* name)
{
    AcDbBlockTable* bt = nullptr;
    EXPECT_EQ(db.getBlockTable(bt, AcDb::kForWrite), Acad::eOk);
    auto* rec = new AcDbBlockTableRecord();
    EXPECT_EQ(rec->setName(name), Acad::eOk);
    AcDbObjectId id;
    EXPECT_EQ(bt->add(id, rec), Acad::eOk);
    rec->close();
    bt->close();
    return id;
}

// The swatch a legend shows for a category: a 3h x 2h outline and a solid
// hatch inside it.
AcDbObjectId swatchBlock(AcDbDatabase& db, const char* name, double h)
{
    AcDbObjectId id = newBlock(db, name);
    AcDbBlockTableRecord* rec = nullptr;
    EXPECT_EQ(acdbOpenObject(rec, id, AcDb::kForWrite), Acad::eOk);
    AcGePoint2dArray pts;
    pts.append({0, 0}).append({0, 2 * h}).append({3 * h, 2 * h}).append({3 * h, 0});
    auto* pl = new AcDbPolyline();
    for (unsigned i = 0; i < pts.size(); ++i)
        pl->addVertexAt(i, pts[i]);
    pl->setClosed(true);
    EXPECT_EQ(rec->appendAcDbEntity(pl), Acad::eOk);
    pl->close();
    auto* hatch = new AcDbHatch();
    hatch->setPattern(AcDbHatch::kPreDefined, "SOLID");
    EXPECT_EQ(hatch->appendLoop(AcDbHatch::kOutermost, pts, AcGeDoubleArray(pts.size(), 0.0)), Acad::eOk);
    EXPECT_EQ(hatch->evaluateHatch(), Acad::eOk);
    EXPECT_EQ(rec->appendAcDbEntity(hatch), Acad::eOk);
    hatch->close();
    rec->close();
    return id;
}

struct Category {
    std::string title;
    std::string area;
};

// What the legend should look like, worked out here from its inputs.
struct Legend {
    double h = 0;
    std::string title;
    std::vector<Category> rows;
    std::vector<std::string> cellText;  // row-major, 3 columns, as stored (backslashes doubled)
    std::vector<double> widths;
    std::vector<double> heights;
    AcDbObjectId table, swatch, legendBlock;
};

std::string doubled(const std::string& s)
{
    std::string out;
    for (char c : s)
        out += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return out;
}

// Builds a legend table the way the legend code does and appends it to a
// block definition of its own.
Legend buildLegend(AcDbDatabase& db, double h, const std::string& title, const std::vector<Category>& cats)
{
    Legend L;
    L.h = h;
    L.title = title;
    L.rows = cats;
    L.swatch = swatchBlock(db, "[ZELKA_LEGEND_HATCH]_swatch", h);
    L.legendBlock = newBlock(db, "[ZELKA_LEGEND]_Plan");

    AcDbDictionary* styles = nullptr;
    EXPECT_EQ(acdbOpenObject(styles, db.tableStyleDictionaryId(), AcDb::kForRead), Acad::eOk);
    AcDbObjectId standard;
    EXPECT_EQ(styles->getAt("Standard", standard), Acad::eOk);
    styles->close();

    auto* t = new AcDbTable();
    EXPECT_EQ(t->setTableStyle(standard), Acad::eOk);
    EXPECT_EQ(t->setNumColumns(3), Acad::eOk);
    EXPECT_EQ(t->setNumRows(2), Acad::eOk);
    EXPECT_EQ(t->mergeCells(0, 0, 0, 2), Acad::eOk);
    EXPECT_EQ(t->setPosition(AcGePoint3d(0, 0, 0)), Acad::eOk);
    const std::string heading2 = "Area sq.m.";
    t->setTextString(0, 0, title.c_str());
    t->setTextString(1, 0, "Description");
    t->setTextString(1, 1, "Hatch");
    t->setTextString(1, 2, heading2.c_str());
    size_t counter[3] = {std::string("Description").size() + 1, std::string("Hatch").size() + 1, heading2.size() + 1};
    int row = 2;
    for (const Category& c : cats) {
        EXPECT_EQ(t->insertRows(row, 1.5 * h, 1), Acad::eOk);
        t->setTextString(row, 2, c.area.c_str());
        t->setTextString(row, 0, doubled(c.title).c_str());
        counter[0] = std::max(counter[0], doubled(c.title).size() + 1);
        counter[2] = std::max(counter[2], c.area.size() + 1);
        EXPECT_EQ(t->setBlockTableRecordId(row, 1, L.swatch, false), Acad::eOk);
        ++row;
    }
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(t->setColumnWidth(c, static_cast<double>(counter[c]) * h), Acad::eOk);
    EXPECT_EQ(t->setRowHeight(1.5 * h), Acad::eOk);
    EXPECT_EQ(t->setTextHeight(h, AcDb::kDataRow | AcDb::kTitleRow | AcDb::kHeaderRow), Acad::eOk);
    EXPECT_EQ(t->setAlignment(AcDb::kMiddleCenter, AcDb::kDataRow | AcDb::kTitleRow | AcDb::kHeaderRow), Acad::eOk);

    AcDbBlockTableRecord* rec = nullptr;
    EXPECT_EQ(acdbOpenObject(rec, L.legendBlock, AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(rec->appendAcDbEntity(L.table, t), Acad::eOk);
    rec->close();
    EXPECT_EQ(t->close(), Acad::eOk);

    L.cellText = {title, "", "", "Description", "Hatch", heading2};
    for (const Category& c : cats)
        L.cellText.insert(L.cellText.end(), {doubled(c.title), "", c.area});
    for (size_t c : counter)
        L.widths.push_back(static_cast<double>(c) * h);
    L.heights.assign(cats.size() + 2, 1.5 * h);
    return L;
}

// The text a single-line TEXT shows for the stored cell text.
std::string shown(const std::string& stored)
{
    std::string out;
    for (size_t i = 0; i < stored.size(); ++i) {
        if (stored[i] == '\\' && i + 1 < stored.size() && stored[i + 1] == '\\')
            ++i;
        out += stored[i];
    }
    return out;
}

// Checks everything ezdxf sees of a saved legend against the expectations.
void checkWithEzdxf(const std::filesystem::path& file, const Legend& L, const std::string& format)
{
    const Seen f = query(file);
    ASSERT_EQ(f.errors, json::array());
    EXPECT_THAT(f.info.at("classes").get<std::vector<std::string>>(),
                testing::IsSupersetOf({"ACAD_TABLE", "TABLESTYLE"}));

    const json& t = f.table();
    EXPECT_EQ(t.at("handle"), hex(L.table));
    EXPECT_EQ(t.at("owner"), hex(L.legendBlock));  // the table lives in the legend block
    const std::string tblock = t.at("block_name");
    EXPECT_EQ(tblock.rfind("*T", 0), 0u);
    EXPECT_EQ(t.at("block_record"), f.blocks.at(tblock).at("handle"));  // 343 names the *T block's record
    EXPECT_EQ(f.blocks.at(tblock).at("flags"), 1);                       // anonymous
    EXPECT_EQ(t.at("style"), f.info.at("styles").at("Standard"));
    // The style names the table among its reactors (and its dictionary).
    EXPECT_THAT(f.info.at("style_reactors").at("Standard").get<std::vector<std::string>>(),
                testing::Contains(t.at("handle").get<std::string>()));
    const size_t rows = L.heights.size();
    EXPECT_EQ(t.at("rows"), rows);
    EXPECT_EQ(t.at("columns"), 3);
    EXPECT_EQ(t.at("row_heights").get<std::vector<double>>(), L.heights);
    EXPECT_EQ(t.at("column_widths").get<std::vector<double>>(), L.widths);

    const json& swatchHandle = f.blocks.at("[ZELKA_LEGEND_HATCH]_swatch").at("handle");
    for (size_t r = 0; r < rows; ++r)
        for (size_t c = 0; c < 3; ++c) {
            SCOPED_TRACE(std::to_string(r) + "." + std::to_string(c));
            const json& cell = f.cell(r, c);
            const bool block = r >= 2 && c == 1;
            EXPECT_EQ(cell.at("type"), block ? 2 : 1);
            // The title's top-left cell spans the three columns, the two it covers are flagged.
            EXPECT_EQ(cell.at("merged"), r == 0 && c != 0 ? 1 : 0);
            EXPECT_EQ(cell.at("colspan"), r == 0 && c == 0 ? 3 : 1);
            EXPECT_EQ(cell.at("rowspan"), 1);
            EXPECT_EQ(cell.value("block", json()), block ? swatchHandle : json());
            EXPECT_EQ(cell.at("format"), format);
            EXPECT_EQ(cell.at("height"), L.h);
            EXPECT_EQ(cell.at("alignment"), 5);
            EXPECT_EQ(cell.at("autofit"), 0);     // swatches keep their size
            EXPECT_EQ(cell.at("overrides"), 33);  // alignment and text height overridden
            const std::string& text = L.cellText[r * 3 + c];
            // An empty cell has no text pieces (null) or empty ones.
            EXPECT_EQ(cell.at("text").is_null() ? json("") : cell["text"], text);
        }

    // The *T block: grid lines (every row boundary across, the two outer
    // columns full height, the two inner ones below the title), a TEXT at the
    // centre of each text cell, the swatch centred in its cell.
    EXPECT_EQ(f.tblock("LINE").size(), rows + 1 + 4);
    double total = 0;
    std::vector<double> x0{0}, y0{0};
    for (double w : L.widths)
        x0.push_back(x0.back() + w);
    for (double hh : L.heights)
        y0.push_back(y0.back() - hh);
    total = x0.back();
    std::multimap<std::string, std::vector<double>> texts;
    for (const json& e : f.tblock("TEXT"))
        texts.emplace(e.at("text"), placement(e));
    size_t expectedTexts = 0;
    for (size_t r = 0; r < rows; ++r)
        for (size_t c = 0; c < 3; ++c) {
            const std::string& text = L.cellText[r * 3 + c];
            if (text.empty())
                continue;
            ++expectedTexts;
            const double cx = r == 0 ? total / 2 : (x0[c] + x0[c + 1]) / 2;
            const double cy = (y0[r] + y0[r + 1]) / 2;
            auto it = texts.find(shown(text));
            ASSERT_NE(it, texts.end()) << shown(text);
            ASSERT_EQ(it->second.size(), 5u);
            EXPECT_NEAR(it->second[0], cx, 1e-9) << text;
            EXPECT_NEAR(it->second[1], cy, 1e-9) << text;
            EXPECT_EQ(it->second[2], L.h) << text;
            EXPECT_EQ(it->second[3], 1) << text;  // centre
            EXPECT_EQ(it->second[4], 2) << text;  // middle
        }
    EXPECT_EQ(texts.size(), expectedTexts);
    const auto inserts = f.tblock("INSERT");
    ASSERT_EQ(inserts.size(), L.rows.size());
    for (size_t k = 0; k < inserts.size(); ++k) {
        EXPECT_EQ(inserts[k].at("name"), "[ZELKA_LEGEND_HATCH]_swatch");
        const size_t r = k + 2;
        // The swatch box (0,0)-(3h,2h) has its centre on the cell centre.
        EXPECT_NEAR(inserts[k].at("insert").at(0).get<double>(), (x0[1] + x0[2]) / 2 - 1.5 * L.h, 1e-9);
        EXPECT_NEAR(inserts[k].at("insert").at(1).get<double>(), (y0[r] + y0[r + 1]) / 2 - L.h, 1e-9);
        EXPECT_EQ(inserts[k].at("scale").at(0), 1.0);
        EXPECT_EQ(inserts[k].at("scale").at(1), 1.0);
    }
    // Nothing else in the *T block.
    EXPECT_EQ(f.blocks.at(tblock).at("entities").size(), rows + 1 + 4 + expectedTexts + inserts.size());
}

// Checks what our reader makes of a saved legend.
void checkReadBack(const std::filesystem::path& file, const Legend& L)
{
    AcDbDatabase db(false);
    ASSERT_EQ(db.readDxfFile(file.c_str()), Acad::eOk) << db.lastError();
    AcDbObjectId id;
    ASSERT_EQ(db.getAcDbObjectId(id, false, L.table.handle()), Acad::eOk);
    AcDbTable* t = nullptr;
    ASSERT_EQ(acdbOpenObject(t, id, AcDb::kForRead), Acad::eOk);
    EXPECT_STREQ(t->isA()->name(), "AcDbTable");
    EXPECT_TRUE(t->isKindOf(AcDbBlockReference::desc()));
    ASSERT_EQ(t->numRows(), static_cast<int>(L.heights.size()));
    ASSERT_EQ(t->numColumns(), 3);
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(t->columnWidth(c), L.widths[static_cast<size_t>(c)]);
    for (int r = 0; r < t->numRows(); ++r) {
        EXPECT_EQ(t->rowHeight(r), L.heights[static_cast<size_t>(r)]);
        for (int c = 0; c < 3; ++c) {
            const bool block = r >= 2 && c == 1;
            EXPECT_EQ(t->cellType(r, c), block ? AcDb::kBlockCell : AcDb::kTextCell);
            EXPECT_EQ(t->textString(r, c), L.cellText[static_cast<size_t>(r * 3 + c)]);
            EXPECT_EQ(t->textHeight(r, c), L.h);
            EXPECT_EQ(t->alignment(r, c), AcDb::kMiddleCenter);
            EXPECT_EQ(t->blockTableRecordId(r, c).handle(), block ? L.swatch.handle() : AcDbHandle());
            if (block) {
                EXPECT_FALSE(t->isAutoScale(r, c));
            }
            int r0 = -1, r1 = -1, c0 = -1, c1 = -1;
            EXPECT_EQ(t->isMergedCell(r, c, &r0, &r1, &c0, &c1), r == 0);
            if (r == 0) {
                EXPECT_TRUE(r0 == 0 && r1 == 0 && c0 == 0 && c1 == 2);
            }
        }
    }
    EXPECT_EQ(t->rowType(0), AcDb::kTitleRow);
    EXPECT_EQ(t->rowType(1), AcDb::kHeaderRow);
    EXPECT_EQ(t->rowType(2), AcDb::kDataRow);
    EXPECT_FALSE(t->needsRecompute());
    AcDbObjectId styles = db.tableStyleDictionaryId();
    AcDbDictionary* dict = nullptr;
    ASSERT_EQ(acdbOpenObject(dict, styles, AcDb::kForRead), Acad::eOk);
    AcDbObjectId standard;
    EXPECT_EQ(dict->getAt("Standard", standard), Acad::eOk);
    dict->close();
    EXPECT_EQ(t->tableStyle(), standard);
    t->close();

    // Opened and saved without a change: the same tags.
    std::string again;
    ASSERT_EQ(db.writeDxfText(again), Acad::eOk);
    EXPECT_EQ(dxftest::tagStream(again), dxftest::tagStream(dxftest::readFile(file)));
}

const std::vector<Category> kCategories = {{"Office", "125.50"}, {"Plant A\\B", "7.25"}, {"Circulation and stairs", "1310.00"}};

TEST(TableTest, LegendSavedAsR2013IsSeenByEzdxfAndReadBack)
{
    ZELKA_REQUIRE_EZDXF();
    auto dir = dxftest::tempDir("table-r2013");
    AcDbDatabase db(true);
    ASSERT_STREQ(db.acadver(), "AC1027");
    Legend L = buildLegend(db, 500.0, "Floor 2: use", kCategories);
    ASSERT_EQ(db.saveAs((dir / "legend.dxf").c_str()), Acad::eOk);
    checkWithEzdxf(dir / "legend.dxf", L, "r2007");
    checkReadBack(dir / "legend.dxf", L);
}

TEST(TableTest, LegendSavedAsR2000GetsLegacyCellsAndANewTableStyle)
{
    ZELKA_REQUIRE_EZDXF();
    auto dir = dxftest::tempDir("table-r2000");
    AcDbDatabase db(false);
    auto src = dxftest::sourceDir() / "tests/data/dxf/ezdxf/ezdxf_plan_R2000_AC1015.dxf";
    ASSERT_EQ(db.readDxfFile(src.c_str()), Acad::eOk) << db.lastError();
    ASSERT_STREQ(db.acadver(), "AC1015");
    Legend L = buildLegend(db, 0.25, "Plan", kCategories);
    ASSERT_EQ(db.saveAs((dir / "legend.dxf").c_str()), Acad::eOk);
    checkWithEzdxf(dir / "legend.dxf", L, "legacy");
    checkReadBack(dir / "legend.dxf", L);
}

// The entities of a table's *T block by kind, and the TEXT strings.
struct BlockContent {
    int lines = 0, texts = 0, inserts = 0;
    std::vector<std::string> strings;
    std::vector<AcGePoint3d> insertPoints;
    std::vector<double> insertScales;
};

BlockContent contentOf(const AcDbTable* t)
{
    BlockContent out;
    AcDbBlockTableRecord* rec = nullptr;
    if (acdbOpenObject(rec, t->blockTableRecord(), AcDb::kForRead) != Acad::eOk)
        return out;
    for (const AcDbObjectId& id : rec->entityIds()) {
        AcDbEntity* e = nullptr;
        if (acdbOpenObject(e, id, AcDb::kForRead) != Acad::eOk)
            continue;
        if (auto* text = dynamic_cast<AcDbText*>(e)) {
            ++out.texts;
            out.strings.push_back(text->textString());
        } else if (auto* ref = dynamic_cast<AcDbBlockReference*>(e)) {
            ++out.inserts;
            out.insertPoints.push_back(ref->position());
            out.insertScales.push_back(ref->scaleFactors().sx);
        } else if (dynamic_cast<AcDbLine*>(e)) {
            ++out.lines;
        }
        e->close();
    }
    rec->close();
    return out;
}

TEST(TableTest, GridEditsKeepMergesAndRefuseBadInput)
{
    AcDbDatabase db(true);
    AcDbTable t;
    EXPECT_EQ(t.setNumRows(0), Acad::eInvalidInput);
    EXPECT_EQ(t.setNumColumns(0), Acad::eInvalidInput);
    ASSERT_EQ(t.setNumColumns(3), Acad::eOk);
    ASSERT_EQ(t.setNumRows(4), Acad::eOk);
    EXPECT_EQ(t.numRows(), 4);
    EXPECT_EQ(t.insertRows(5, 1.0), Acad::eInvalidIndex);
    EXPECT_EQ(t.insertRows(-1, 1.0), Acad::eInvalidIndex);
    EXPECT_EQ(t.insertRows(1, 0.0), Acad::eInvalidInput);
    EXPECT_EQ(t.insertRows(1, 1.0, 0), Acad::eInvalidInput);
    EXPECT_EQ(t.setTextString(4, 0, "x"), Acad::eInvalidIndex);
    EXPECT_EQ(t.setTextString(0, 3, "x"), Acad::eInvalidIndex);
    EXPECT_EQ(t.setColumnWidth(0, -1.0), Acad::eInvalidInput);
    EXPECT_EQ(t.setAlignment(0, 0, static_cast<AcDb::CellAlignment>(10)), Acad::eInvalidInput);
    EXPECT_EQ(t.textString(9, 9), "");
    EXPECT_EQ(t.cellType(9, 9), AcDb::kUnknownCell);
    EXPECT_EQ(t.mergeCells(0, 0, 0, 0), Acad::eInvalidInput);  // one cell is no merge
    EXPECT_EQ(t.mergeCells(0, 0, 0, 3), Acad::eInvalidIndex);

    ASSERT_EQ(t.mergeCells(2, 3, 0, 1), Acad::eOk);
    EXPECT_EQ(t.mergeCells(3, 3, 1, 2), Acad::eInvalidInput);  // overlaps
    t.setTextString(1, 2, "above");
    t.setTextHeight(1, 2, 2.5);
    // Rows inserted above a merge move it; rows inserted inside it widen it.
    ASSERT_EQ(t.insertRows(1, 2.0, 2), Acad::eOk);
    EXPECT_EQ(t.numRows(), 6);
    EXPECT_EQ(t.textString(3, 2), "above");
    EXPECT_EQ(t.textString(1, 2), "");
    EXPECT_EQ(t.textHeight(2, 2), 0.18);  // the row above (row 0) sets no height: the style's for data
    EXPECT_EQ(t.rowHeight(1), 2.0);
    EXPECT_EQ(t.rowHeight(2), 2.0);
    int r0 = 0, r1 = 0, c0 = 0, c1 = 0;
    ASSERT_TRUE(t.isMergedCell(5, 1, &r0, &r1, &c0, &c1));
    EXPECT_EQ(std::vector<int>({r0, r1, c0, c1}), std::vector<int>({4, 5, 0, 1}));
    EXPECT_FALSE(t.isMergedCell(3, 0));
    ASSERT_EQ(t.insertRows(5, 1.0), Acad::eOk);
    ASSERT_TRUE(t.isMergedCell(4, 0, &r0, &r1, &c0, &c1));
    EXPECT_EQ(std::vector<int>({r0, r1, c0, c1}), std::vector<int>({4, 6, 0, 1}));
    // Deleting the rows of a merge drops it.
    ASSERT_EQ(t.deleteRows(4, 3), Acad::eOk);
    EXPECT_EQ(t.numRows(), 4);
    EXPECT_FALSE(t.isMergedCell(3, 0));

    // Table-level text heights and alignments reach rows added later.
    ASSERT_EQ(t.setTextHeight(0.75, AcDb::kDataRow), Acad::eOk);
    ASSERT_EQ(t.setAlignment(AcDb::kBottomRight, AcDb::kDataRow), Acad::eOk);
    ASSERT_EQ(t.insertRows(4, 1.0), Acad::eOk);
    EXPECT_EQ(t.textHeight(4, 0), 0.75);
    EXPECT_EQ(t.alignment(4, 1), AcDb::kBottomRight);
    EXPECT_EQ(t.rowType(0), AcDb::kTitleRow);
    EXPECT_EQ(t.rowType(1), AcDb::kHeaderRow);
    EXPECT_EQ(t.rowType(4), AcDb::kDataRow);
    // Heights fall back to the style (the default one: title 0.25, header and data 0.18).
    EXPECT_EQ(t.textHeight(0, 0), 0.25);
    EXPECT_EQ(t.recomputeTableBlock(), Acad::eNotInDatabase);
    // New rows take the formatting of the row above them.
    AcDbTable u;
    u.setNumColumns(1);
    u.setNumRows(3);
    u.setTextHeight(1, 0, 2.5);
    u.setAlignment(1, 0, AcDb::kTopRight);
    ASSERT_EQ(u.insertRows(2, 1.0), Acad::eOk);
    EXPECT_EQ(u.textHeight(2, 0), 2.5);
    EXPECT_EQ(u.alignment(2, 0), AcDb::kTopRight);
    EXPECT_EQ(u.textHeight(3, 0), 0.18);
    EXPECT_EQ(t.setTableStyle(db.modelSpaceId()), Acad::eInvalidInput);
}

TEST(TableTest, BlockIsRedrawnOnCloseAndBlocksFitTheirCellWhenAsked)
{
    AcDbDatabase db(true);
    const double h = 2.0;
    AcDbObjectId swatch = swatchBlock(db, "SW", h);
    auto* t = new AcDbTable();
    t->setNumColumns(2);
    t->setNumRows(1);
    t->setColumnWidth(0, 10.0);
    t->setColumnWidth(1, 20.0);
    t->setRowHeight(0, 3.0);
    t->setTextString(0, 0, "a");
    ASSERT_EQ(t->setBlockTableRecordId(0, 1, swatch, true), Acad::eOk);
    EXPECT_EQ(t->setBlockTableRecordId(0, 1, db.layerTableId(), true), Acad::eInvalidInput);
    AcDbBlockTableRecord* ms = nullptr;
    ASSERT_EQ(acdbOpenObject(ms, db.modelSpaceId(), AcDb::kForWrite), Acad::eOk);
    AcDbObjectId id;
    ASSERT_EQ(ms->appendAcDbEntity(id, t), Acad::eOk);
    ms->close();
    EXPECT_TRUE(t->needsRecompute());
    ASSERT_EQ(t->close(), Acad::eOk);

    ASSERT_EQ(acdbOpenObject(t, id, AcDb::kForRead), Acad::eOk);
    EXPECT_FALSE(t->needsRecompute());
    EXPECT_EQ(std::string(t->blockName()).rfind("*T", 0), 0u);
    BlockContent b = contentOf(t);
    EXPECT_EQ(b.lines, 2 + 3);
    EXPECT_EQ(b.strings, std::vector<std::string>{"a"});
    ASSERT_EQ(b.inserts, 1);
    // Fitted inside the margins of the style (0.06): the 6 x 4 swatch in a 20 x 3 cell.
    const double scale = std::min((20.0 - 0.12) / 6.0, (3.0 - 0.12) / 4.0);
    EXPECT_DOUBLE_EQ(b.insertScales[0], scale);
    EXPECT_NEAR(b.insertPoints[0].x, 20.0 - 3.0 * scale, 1e-12);
    EXPECT_NEAR(b.insertPoints[0].y, -1.5 - 2.0 * scale, 1e-12);
    const std::string block = t->blockName();
    t->close();

    // An edit redraws the same block when the table is closed.
    ASSERT_EQ(acdbOpenObject(t, id, AcDb::kForWrite), Acad::eOk);
    t->setTextString(0, 0, "{A\\\\B}");
    t->setBlockTableRecordId(0, 1, swatch, false);
    t->close();
    ASSERT_EQ(acdbOpenObject(t, id, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(t->blockName(), block);
    b = contentOf(t);
    EXPECT_EQ(b.lines, 5);
    EXPECT_EQ(b.strings, std::vector<std::string>{"A\\B"});
    ASSERT_EQ(b.inserts, 1);
    EXPECT_EQ(b.insertScales[0], 1.0);
    t->close();
}

TEST(TableTest, LongTextIsSplitIntoChunksAndReadBackWhole)
{
    ZELKA_REQUIRE_EZDXF();
    auto dir = dxftest::tempDir("table-long");
    // 80 x "Ab\\Ω": ASCII, a doubled backslash and a character outside code page 1252.
    std::string text;
    for (int i = 0; i < 80; ++i)
        text += "Ab\\\\" "\xCE\xA9 ";
    for (const char* version : {"r2013", "r2000"}) {
        SCOPED_TRACE(version);
        AcDbDatabase db(std::string(version) == "r2013");
        if (std::string(version) == "r2000") {
            auto src = dxftest::sourceDir() / "tests/data/dxf/ezdxf/ezdxf_plan_R2000_AC1015.dxf";
            ASSERT_EQ(db.readDxfFile(src.c_str()), Acad::eOk);
        }
        auto* t = new AcDbTable();
        t->setNumColumns(1);
        t->setNumRows(1);
        t->setTextString(0, 0, text.c_str());
        AcDbBlockTableRecord* ms = nullptr;
        ASSERT_EQ(acdbOpenObject(ms, db.modelSpaceId(), AcDb::kForWrite), Acad::eOk);
        AcDbObjectId id;
        ASSERT_EQ(ms->appendAcDbEntity(id, t), Acad::eOk);
        ms->close();
        t->close();
        auto file = dir / (std::string(version) + ".dxf");
        ASSERT_EQ(db.saveAs(file.c_str()), Acad::eOk);

        const Seen f = query(file);
        ASSERT_EQ(f.errors, json::array());
        const json& cell = f.cell(0, 0);
        // In the file: R2013 keeps UTF-8 (2 bytes for the omega), R2000 writes \U+03A9.
        std::string encoded;
        for (int i = 0; i < 80; ++i)
            encoded += std::string(version) == "r2013" ? "Ab\\\\" "\xCE\xA9 " : "Ab\\\\\\U+03A9 ";
        EXPECT_EQ(cell.at("text"), encoded);
        const bool r2013 = std::string(version) == "r2013";
        const auto pieces = cell.at("pieces").get<std::vector<int>>();
        const auto sizes = cell.at("piece_bytes").get<std::vector<size_t>>();
        ASSERT_GE(pieces.size(), 2u);
        ASSERT_EQ(sizes.size(), pieces.size());
        size_t total = 0;
        for (size_t k = 0; k < pieces.size(); ++k) {
            EXPECT_EQ(pieces[k], k + 1 < pieces.size() ? (r2013 ? 303 : 2) : (r2013 ? 302 : 1));
            EXPECT_LE(sizes[k], 250u);
            total += sizes[k];
        }
        EXPECT_EQ(total, encoded.size());
        // The style the table got on saving is the drawing's "Standard".
        EXPECT_EQ(f.table().at("style"), f.info.at("styles").at("Standard"));

        AcDbDatabase back(false);
        ASSERT_EQ(back.readDxfFile(file.c_str()), Acad::eOk);
        AcDbObjectId again;
        ASSERT_EQ(back.getAcDbObjectId(again, false, id.handle()), Acad::eOk);
        AcDbTable* read = nullptr;
        ASSERT_EQ(acdbOpenObject(read, again, AcDb::kForRead), Acad::eOk);
        EXPECT_EQ(read->textString(0, 0), text);
        read->close();
    }
}

TEST(TableTest, EditingAReadTableRewritesOnlyTheChangedCellAndKeepsForeignTags)
{
    ZELKA_REQUIRE_EZDXF();
    auto dir = dxftest::tempDir("table-edit");
    Legend L;
    AcDbHandle tableHandle;  // the ids die with their database
    {
        AcDbDatabase db(true);
        L = buildLegend(db, 1.0, "Edit", kCategories);
        tableHandle = L.table.handle();
        ASSERT_EQ(db.saveAs((dir / "first.dxf").c_str()), Acad::eOk);
    }
    // Another program's cell data: a text style override (7) in cell 2.0,
    // which the model does not own.
    std::string text = dxftest::readFile(dir / "first.dxf");
    const std::string office = "302\nOffice\n304\nACVALUE_END\n";
    size_t at = text.find(office);
    ASSERT_NE(at, std::string::npos);
    size_t cellStart = text.rfind("171\n", at);
    size_t afterRotation = text.find("145\n", cellStart);
    afterRotation = text.find('\n', text.find('\n', afterRotation) + 1) + 1;
    text.insert(afterRotation, "  7\nLegendText\n");
    dxftest::writeFile(dir / "foreign.dxf", text);
    const Seen before = query(dir / "foreign.dxf");
    ASSERT_EQ(before.errors, json::array());

    AcDbDatabase db(false);
    ASSERT_EQ(db.readDxfFile((dir / "foreign.dxf").c_str()), Acad::eOk) << db.lastError();
    AcDbObjectId id;
    ASSERT_EQ(db.getAcDbObjectId(id, false, tableHandle), Acad::eOk);
    AcDbTable* t = nullptr;
    ASSERT_EQ(acdbOpenObject(t, id, AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(t->textString(2, 0), "Office");
    ASSERT_EQ(t->setTextString(2, 0, "Offices"), Acad::eOk);
    ASSERT_EQ(t->close(), Acad::eOk);
    ASSERT_EQ(db.saveAs((dir / "edited.dxf").c_str()), Acad::eOk);

    const Seen after = query(dir / "edited.dxf");
    ASSERT_EQ(after.errors, json::array());
    EXPECT_EQ(after.cell(2, 0).at("text"), "Offices");
    EXPECT_THAT(after.cell(2, 0).at("codes").get<std::vector<int>>(), testing::Contains(7));
    for (size_t r = 0; r < L.heights.size(); ++r)
        for (size_t c = 0; c < 3; ++c)
            if (r != 2 || c != 0) {
                EXPECT_EQ(after.cell(r, c), before.cell(r, c)) << r << "." << c;
            }
    json table = after.table(), tableBefore = before.table();
    for (json* t : {&table, &tableBefore})
        t->erase("cells");
    EXPECT_EQ(table, tableBefore);
    // The *T block was redrawn: the new text where the old one was.
    const auto texts = after.tblock("TEXT"), textsBefore = before.tblock("TEXT");
    std::vector<double> officeAt, officesAt;
    for (const json& e : textsBefore)
        if (e.at("text") == "Office")
            officeAt = placement(e);
    for (const json& e : texts)
        if (e.at("text") == "Offices")
            officesAt = placement(e);
    EXPECT_FALSE(officeAt.empty());
    EXPECT_EQ(officesAt, officeAt);
    EXPECT_EQ(after.tblock("LINE").size(), before.tblock("LINE").size());
    EXPECT_EQ(texts.size(), textsBefore.size());
}

}  // namespace
