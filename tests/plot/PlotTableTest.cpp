// A table AutoCAD wrote (tests/data/dxf/table/acad_table_AC1032.entity) is
// plotted through its drawn block *T1 (MTEXT cells and grid LINEs where
// AutoCAD put them), and compared with ezdxf's drawing add-on drawing the
// same block through an INSERT in the table's place: ezdxf does not draw
// tables itself. The window 0,0 - 29.7,21 at 10:1 fills an A4 sheet; 59
// pixels per drawing unit at 150 dpi.
#include <gtest/gtest.h>

#include <sstream>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbOpen.h"
#include "host/db/AcDbTable.h"
#include "host/plot/PlotEngine.h"
#include "tests/plot/PlotTestSupport.h"

namespace fs = std::filesystem;
using namespace plottest;

namespace {

constexpr double kSheetW = 29.7, kSheetH = 21.0;

void replaceAll(std::string& s, const std::string& from, const std::string& to)
{
    for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
        s.replace(at, from.size(), to);
}

}  // namespace

TEST(PlotTable, TableIsDrawnThroughItsBlockWhereEzdxfDrawsTheBlock)
{
    const fs::path dir = dxftest::tempDir("plot-table");
    const fs::path blockDxf = dir / "block.dxf";
    const nlohmann::json handles = dxftest::ezdxfFixture("table", blockDxf);
    const std::string modelSpace = handles.at("model_space"), tableBlock = handles.at("table_block");

    // The INSERT of *T1 replaced by AutoCAD's table entity, which names the same block.
    std::string text = dxftest::readFile(blockDxf);
    const size_t insert = text.find("  0\nINSERT\n");
    ASSERT_NE(insert, std::string::npos);
    const size_t insertEnd = text.find("\n  0\n", insert + 1) + 1;
    std::string table = dxftest::readFile(dxftest::sourceDir() / "tests/data/dxf/table/acad_table_AC1032.entity");
    replaceAll(table, "@OWNER@", modelSpace);
    replaceAll(table, "@STYLE@", "0");
    replaceAll(table, "343\n23C\n", "343\n" + tableBlock + "\n");
    text.replace(insert, insertEnd - insert, table);
    const std::string classes = "  2\nCLASSES\n";
    text.insert(text.find(classes) + classes.size(),
                "  0\nCLASS\n  1\nACAD_TABLE\n  2\nAcDbTable\n  3\nObjectDBX Classes\n 90\n     1025\n 91\n        1\n"
                "280\n     0\n281\n     1\n");
    const std::string seed = "$HANDSEED\n  5\n";
    const size_t at = text.find(seed) + seed.size();
    text.replace(at, text.find('\n', at) - at, "1000");
    const fs::path tableDxf = dir / "table.dxf";
    dxftest::writeFile(tableDxf, text);

    AcDbDatabase db(false);
    ASSERT_EQ(db.readDxfFile(tableDxf.c_str()), Acad::eOk) << db.lastError();
    {
        AcDbObjectId id;
        ASSERT_EQ(db.getAcDbObjectId(id, false, AcDbHandle("23A")), Acad::eOk);
        AcDbEntity* e = nullptr;
        ASSERT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForRead), Acad::eOk);
        EXPECT_NE(dynamic_cast<AcDbTable*>(e), nullptr);  // drawn as a table, not as an insert
        e->close();
    }
    acdbSetWorkingDatabase(&db);
    setUpLayout("Model", "PublishToWeb PNG.pc3", "ISO_A4_(297.00_x_210.00_MM)", AcDbPlotSettings::kWindow,
                AcDbPlotSettings::k10_1, true, 0, 0, kSheetW, kSheetH);
    PlotEngine engine;
    const fs::path png = dir / "ours.png";
    ASSERT_TRUE(engine.plot(db, "Model", png.string())) << engine.message();
    acdbSetWorkingDatabase(nullptr);
    const Image ours = readPng(png);
    const fs::path refPng = dir / "ezdxf.png";
    ezdxfRender(blockDxf, refPng, 0, 0, kSheetW, kSheetH, 1500);
    const Image ref = readPng(refPng);
    ASSERT_GT(ours.width, 0);
    ASSERT_GT(ref.width, 0);

    struct Region {
        const char* what;
        double x0, y0, x1, y1;
        bool text;
        bool topCut;  // the box stops short of the text's top (ezdxf draws the grid lines thick)
    } regions[] = {
        {"the whole grid", 0.3, 0.3, 13.3, 1.9, false, false},
        {"the title, middle centre", 2.0, 1.32, 11.0, 1.6, true, false},
        {"cell A2, middle centre", 0.6, 0.92, 2.9, 1.12, true, false},
        {"cell A3, top centre", 0.7, 0.56, 2.8, 0.78, true, true},
    };
    for (const Region& r : regions) {
        SCOPED_TRACE(r.what);
        const PixelBox a = toPixels(ours, kSheetW, kSheetH, r.x0, r.y0, r.x1, r.y1);
        const PixelBox b = toPixels(ref, kSheetW, kSheetH, r.x0, r.y0, r.x1, r.y1);
        const InkBox mine = inkBoxIn(ours, a.x0, a.y0, a.x1, a.y1);
        const InkBox theirs = inkBoxIn(ref, b.x0, b.y0, b.x1, b.y1);
        ASSERT_GT(theirs.count, 20);
        ASSERT_GT(mine.count, 20);
        if (!r.text) {
            EXPECT_NEAR(mine.x0, theirs.x0, 2);
            EXPECT_NEAR(mine.x1, theirs.x1, 2);
            EXPECT_NEAR(mine.y0, theirs.y0, 2);
            EXPECT_NEAR(mine.y1, theirs.y1, 2);
            continue;
        }
        // A centred text: its middle and its height; its length within a tenth.
        EXPECT_NEAR((mine.x0 + mine.x1) / 2.0, (theirs.x0 + theirs.x1) / 2.0, 2);
        if (!r.topCut) {
            EXPECT_NEAR(mine.y0, theirs.y0, 2);
        }
        EXPECT_NEAR(mine.y1, theirs.y1, 2);
        EXPECT_NEAR(mine.x1 - mine.x0, theirs.x1 - theirs.x0, 0.1 * (theirs.x1 - theirs.x0));
    }
}
