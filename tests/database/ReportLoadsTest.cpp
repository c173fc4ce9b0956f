// Loads of a graphic report, its categories, blocks, assets, hyperlinks,
// layers and link lines, and the hierarchy and assets read back after a
// take-off; the rows are written with psql and compared with the text given.

#include <gtest/gtest.h>

#include "database/Assets.h"
#include "database/BlockIPR.h"
#include "database/BlockIPRRoom.h"
#include "database/Hyperlinks.h"
#include "database/ReportLoads.h"
#include "database/StoredProcedure.h"
#include "DatabaseTestSupport.h"
#include "reports/Hatch.h"
#include "spaces/Attribute.h"
#include "spaces/Blocks.h"

namespace {

int makeReport()
{
    int report = std::stoi(dbtest::psqlValue(
        "insert into graphic_reports (status_id, title, drawing_path, drawing_filename, plot_layout, plot_type_id, "
        "plot_area_type_id, plot_media_size_id, plot_scale_type_id, plot_centred, output_path, output_filename, "
        "save_copy_to, xml_output_to, total_child_areas) values (2, 'Use; \"quoted\"', '/plans/', 'a b.dxf', "
        "'Layout1', 3, 1, 4, 2, false, '/out/', 'x.png', '/copy/', '/xml/', 1234.5678901234) returning id;"));
    std::string r = std::to_string(report);
    int c1 = std::stoi(dbtest::psqlValue("insert into report_categories (graphic_report_id, sort_order, title, "
                                         "hatch_pattern, hatch_angle, hatch_colour, hatch_scale, hatch_layer) values (" +
                                         r + ", 2, 'Second', 'ANSI31', 45.5, '#0A0B0C', 0.25, 'H2') returning id;"));
    int c0 = std::stoi(dbtest::psqlValue("insert into report_categories (graphic_report_id, sort_order, title) "
                                         "values (" + r + ", 1, 'First') returning id;"));
    dbtest::psql("insert into category_blocks (category_id, sort_order, handle, name, code, area, swap_name, swap_area, "
                 "swap_aux) values (" + std::to_string(c1) + ", 1, 'A1', 'Room, one', 'R1', 12.3456789012, 'n', "
                 "'a', 'x'), (" + std::to_string(c1) + ", 2, 'B2', 'Two', '', null, '', '', '');"
                 "insert into category_assets (category_id, handle, description, unique_description) values (" +
                 std::to_string(c1) + ", 'F00', 'Desk', 'DESK-1');"
                 "insert into asset_hyperlinks (category_id, handle, sort_order, href, description) values (" +
                 std::to_string(c1) + ", 'F00', 1, 'http://x/desk', 'Desk sheet'), (" + std::to_string(c1) +
                 ", 'F00', 2, 'http://x/desk', 'again');"
                 "insert into block_hyperlinks (category_id, handle, sort_order, href, description) values (" +
                 std::to_string(c1) + ", 'A1', 1, 'http://x/a1?b=1&c=2', 'A one');"
                 "insert into report_layers_on (graphic_report_id, sort_order, name, description) values (" + r +
                 ", 2, 'L2', ''), (" + r + ", 1, 'L1', 'first layer');"
                 "insert into report_link_lines (graphic_report_id, start_handle, end_handle, layer_name, label_text) "
                 "values (" + r + ", 'A1', 'B2', 'LINKS', 'joins');");
    (void)c0;
    return report;
}

TEST(ReportLoads, EveryLoadReadsItsColumnsInOrder)
{
    int report = makeReport();
    auto sp = dbtest::connect();
    CReportLoads loads(*sp, 10);

    auto ids = loads.getGraphicReports(2);
    EXPECT_NE(std::find(ids.begin(), ids.end(), report), ids.end());
    CReportHeaderRecord h;
    ASSERT_TRUE(loads.getGraphicReport(report, h));
    EXPECT_EQ(h.title, "Use; \"quoted\"");
    EXPECT_EQ(h.drawingFilename, "a b.dxf");
    EXPECT_EQ(h.plotLayout, "Layout1");
    EXPECT_EQ(std::vector<int>({h.plotTypeID, h.plotAreaTypeID, h.plotMediaSizeID, h.plotScaleTypeID, h.plotCentred}),
              std::vector<int>({3, 1, 4, 2, 0}));
    EXPECT_EQ(h.saveCopyTo, "/copy/");
    EXPECT_DOUBLE_EQ(h.totalChildAreas, 1234.5678901234);
    EXPECT_FALSE(loads.getGraphicReport(-5, h));

    auto categories = loads.getReportCategories(report);
    ASSERT_EQ(categories.size(), 2u);
    EXPECT_EQ(categories[0].title, "First");
    EXPECT_EQ(categories[0].hatchPattern, "SOLID");
    EXPECT_EQ(categories[1].title, "Second");
    EXPECT_DOUBLE_EQ(categories[1].hatchAngle, 45.5);
    EXPECT_EQ(categories[1].hatchColour, "#0A0B0C");
    EXPECT_DOUBLE_EQ(categories[1].hatchScale, 0.25);
    EXPECT_EQ(categories[1].hatchLayer, "H2");

    auto blocks = loads.getCategoryBlocks(categories[1].id);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0].name, "Room, one");
    EXPECT_DOUBLE_EQ(blocks[0].area, 12.3456789012);
    EXPECT_EQ(blocks[0].swapAux, "x");
    EXPECT_DOUBLE_EQ(blocks[1].area, 0.0);
    EXPECT_TRUE(loads.getCategoryBlocks(categories[0].id).empty());

    auto layers = loads.getReportLayersOn(report);
    ASSERT_EQ(layers.size(), 2u);
    EXPECT_EQ(layers[0].name, "L1");
    EXPECT_EQ(layers[0].description, "first layer");
    auto links = loads.getReportLinkLines(report);
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0].startHandle + ">" + links[0].endHandle + "@" + links[0].layerName + ":" + links[0].labelText,
              "A1>B2@LINKS:joins");

    CHyperlinks blockLinks;
    blockLinks.getBlockHyperlinksFromIPR(*sp, categories[1].id, "A1", 10);
    ASSERT_EQ(blockLinks.getCount(), 1);
    EXPECT_EQ(blockLinks.getAt(0).getHref(), "http://x/a1?b=1&c=2");

    CHatch hatch;
    hatch.setPatternName("ANSI31");
    CAssets assets;
    assets.getCategoryAssets(*sp, categories[1].id, 10, &hatch);
    ASSERT_EQ(assets.getCount(), 1);
    EXPECT_EQ(assets.getAt(0).getUniqueDescription(), "DESK-1");
    ASSERT_NE(assets.getAt(0).getHyperlinks(), nullptr);
    // The repeated address is dropped.
    EXPECT_EQ(assets.getAt(0).getHyperlinks()->getCount(), 1);
    ASSERT_NE(assets.getAt(0).getHatch(), nullptr);
    EXPECT_EQ(assets.getAt(0).getHatch()->getPatternName(), "ANSI31");

    loads.setGraphicReportStatus(report, 3);
    loads.setGraphicReportLayout(report, "Plot A3");
    EXPECT_EQ(dbtest::psqlValue("select status_id || ' / ' || layout from graphic_reports where id = " +
                                std::to_string(report)),
              "3 / Plot A3");
}

TEST(ReportLoads, HierarchyAndAssetsReadBackWithTheirStatus)
{
    int floor = dbtest::newFloor("readback");
    std::string f = std::to_string(floor);
    int room = std::stoi(dbtest::psqlValue(
        "insert into locations (parent_id, kind, name, code, handle, area, perimeter, status_exists, status_duplicate) "
        "values (" + f + ", 'r', 'R', 'r1', '2F', 10.25, 13, false, true) returning id;"));
    dbtest::psql("insert into locations (parent_id, kind, name) values (" + f + ", 's', 'a site');"
                 "insert into assets (drawing_id, handle, location_id, acad_block_identifier, acad_block_description, "
                 "unique_description, point_x, point_y, exists_in_location) values (1, 'RB-" + f + "', " +
                 std::to_string(room) + ", 'DESK', 'Desk', 'D-1', 1.25, -3.5, false);"
                 "insert into asset_attributes (drawing_id, handle, tag, value) values (1, 'RB-" + f +
                 "', 'ASSET_NO', 'A-77');");
    auto sp = dbtest::connect();
    CBlocks blocks;
    CBlockIPR::getIPRBlocks(blocks, *sp, 10, floor, true);
    ASSERT_EQ(blocks.size(), 2);
    CBlockIPR* r = CBlockIPR::getAtIPRBlock(blocks, room);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->getBlockKind(), BlockKind::IprRoom);
    EXPECT_EQ(r->getParentID(), floor);
    EXPECT_EQ(r->getStatusExists(), 0);
    EXPECT_EQ(r->getStatusDuplicate(), 1);
    EXPECT_DOUBLE_EQ(r->getArea(), 10.25);
    EXPECT_EQ(r->getHandle(), "2F");
    ASSERT_NE(r->getAssets(), nullptr);
    ASSERT_EQ(r->getAssets()->getCount(), 1);
    const CAsset& a = r->getAssets()->getAt(0);
    EXPECT_EQ(a.getAcadBlockDescription(), "Desk");
    EXPECT_EQ(a.getUniqueDescription(), "D-1");
    EXPECT_DOUBLE_EQ(a.getPointY(), -3.5);
    EXPECT_EQ(a.getAssetExistsInLocation(), 0);
    ASSERT_NE(a.getAttributes(), nullptr);
    ASSERT_EQ(a.getAttributes()->getCount(), 1);
    EXPECT_EQ(a.getAttributes()->getAt(0).getText(), "A-77");
    // A type other than "r", "f" and "b" reads as a site.
    CBlock& other = blocks.getAt(0).getHandle() == "2F" ? blocks.getAt(1) : blocks.getAt(0);
    EXPECT_EQ(other.getBlockKind(), BlockKind::IprSite);

    CBlocks withoutAssets;
    CBlockIPR::getIPRBlocks(withoutAssets, *sp, 10, floor, false);
    EXPECT_EQ(CBlockIPR::getAtIPRBlock(withoutAssets, room)->getAssets(), nullptr);
    EXPECT_EQ(CBlockIPR::getAtIPRBlock(withoutAssets, -1), nullptr);
}

}  // namespace
