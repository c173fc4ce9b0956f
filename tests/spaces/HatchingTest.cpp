// Hatching a space block for a graphic report, and hyperlinking the block and
// its hatch. Each drawing is saved and read back with ezdxf
// (plan_facts.py links); outline positions are also computed here by hand
// from the insertion point, rotation and scale.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "database/Hyperlinks.h"
#include "host/db/AcDbHatch.h"
#include "host/db/AcDbLayerTable.h"
#include "infra/ZelkaExceptions.h"
#include "reports/Hatch.h"
#include "database/Assets.h"
#include "spaces/BlockDWG.h"
#include "spaces/BlockDWGRoom.h"
#include "tests/spaces/SpacesTestSupport.h"

using spacetest::handleOf;
using spacetest::kPi;
using spacetest::rectangle;
using spacetest::Vertex;

namespace {

std::unique_ptr<CHatch> style(const std::string& pattern, int angle, int scale, const std::string& layer)
{
    auto hatch = std::make_unique<CHatch>();
    hatch->setPatternName(pattern);
    hatch->setAngle(angle);
    hatch->setScale(scale);
    hatch->setLayer(layer);
    AcCmColor colour;
    colour.setRGB(200, 30, 60);
    hatch->setColour(colour);
    return hatch;
}

class HatchingTest : public ::testing::Test {
protected:
    // A space block of the outline inserted at (x, y), turned and scaled uniformly.
    AcDbObjectId space(const std::string& name, const std::vector<Vertex>& outline, double x, double y,
                       double rotation = 0.0, double scale = 1.0)
    {
        AcDbObjectId definition = dwg.host.defineSpace(name, outline);
        return dwg.host.insert(definition, AcGePoint3d(x, y, 0), {{"NAME", name}}, AcGeScale3d(scale, scale, scale),
                               rotation);
    }

    // Reads the reference as a space block, gives it the hatch (and links),
    // and hatches it as applying the block does, with the reference open for write.
    AcDbObjectId hatch(AcDbObjectId referenceId, std::unique_ptr<CHatch> hatchStyle,
                       const AcDbObjectIdArray& added = {}, const AcDbObjectIdArray& subtracted = {})
    {
        AcDbObjectPointer<AcDbBlockReference> reference(referenceId, AcDb::kForWrite);
        EXPECT_TRUE(reference);
        block = std::make_unique<CBlockDWG>(reference.object(), dwg.drawing);
        block->setHatch(std::move(hatchStyle));
        block->setHandlesToAdd(added);
        block->setHandlesToMinus(subtracted);
        return block->hatchBlock(dwg.drawing, reference.object(), errors);
    }

    int hatchesInModelSpace()
    {
        int count = 0;
        AcDbObjectPointer<AcDbBlockTableRecord> model(dwg.host.database->modelSpaceId(), AcDb::kForRead);
        for (AcDbObjectId id : model->entityIds())
            count += id.objectClass() == AcDbHatch::desc();
        return count;
    }

    std::string errorText(size_t i) const { return errors.size() > i ? errors.getAt(i).getDescription() : "<none>"; }

    nlohmann::json saveAndRead(const std::string& name)
    {
        auto file = spacetest::tempDir(name) / "plan.dxf";
        dwg.host.save(file);
        return spacetest::readBack(file);
    }

    spacetest::AdoptedDrawing dwg;
    std::unique_ptr<CBlockDWG> block;
    CZelkaExceptions errors;
};

TEST_F(HatchingTest, PatternHatchLiesOnTheOutlineWhereTheBlockIsDrawn)
{
    const std::vector<Vertex> outline = {{0, 0}, {4000, 0, 0.5}, {4000, 3000}, {0, 3000}};
    AcDbObjectId reference = space("ROOM-1", outline, 5000, 3000, 0.5, 1.5);
    AcDbObjectId hatchId = hatch(reference, style("ANSI31", 1, 20, "ZELKA HATCH"));
    ASSERT_EQ(errors.getCount(), 0) << errorText(0);
    ASSERT_FALSE(hatchId.isNull());

    const nlohmann::json seen = saveAndRead("hatch-pattern");
    EXPECT_EQ(seen.at("audit_errors"), 0) << seen.dump();
    const nlohmann::json& h = seen.at("hatches").at(handleOf(hatchId));
    EXPECT_EQ(h.at("pattern"), "ANSI31");
    EXPECT_EQ(h.at("solid"), 0);
    EXPECT_EQ(h.at("ptype"), 1);  // predefined
    EXPECT_EQ(h.at("assoc"), 0);
    EXPECT_EQ(h.at("style"), 0);  // normal
    // The angle goes to the host unchanged: 1 is one radian.
    EXPECT_NEAR(h.at("angle").get<double>(), 180.0 / kPi, 1e-9);
    EXPECT_DOUBLE_EQ(h.at("scale").get<double>(), 20.0);
    EXPECT_EQ(h.at("true_color"), "200 30 60");
    EXPECT_EQ(h.at("layer"), "ZELKA HATCH");
    EXPECT_EQ(h.at("extrusion").get<std::vector<double>>(), (std::vector<double>{0, 0, 1}));
    EXPECT_DOUBLE_EQ(h.at("elevation").get<double>(), 0.0);
    EXPECT_EQ(seen.at("layers").at("ZELKA HATCH").at("true_color"), "200 30 60");

    ASSERT_EQ(h.at("paths").size(), 1u);
    EXPECT_EQ(h.at("paths").at(0).at("flags"), 18);  // outermost, polyline
    ASSERT_EQ(h.at("paths").at(0).at("vertices").size(), 4u);
    for (size_t k = 0; k < outline.size(); ++k) {
        const auto v = h.at("paths").at(0).at("vertices").at(k).get<std::vector<double>>();
        const auto w = seen.at("inserts").at(handleOf(reference)).at("outline").at(k).get<std::vector<double>>();
        auto hand = spacetest::place(outline[k].x, outline[k].y, 0.5, 1.5, 5000, 3000);
        ASSERT_EQ(v.size(), 3u);
        ASSERT_EQ(w.size(), 2u);
        EXPECT_NEAR(v[0], w[0], 1e-6) << k;
        EXPECT_NEAR(v[1], w[1], 1e-6) << k;
        EXPECT_NEAR(v[0], hand.first, 1e-6) << k;
        EXPECT_NEAR(v[1], hand.second, 1e-6) << k;
        EXPECT_DOUBLE_EQ(v[2], outline[k].bulge) << k;  // turning and uniform scaling keep the arc
    }
    // Drawn beneath everything else.
    ASSERT_FALSE(seen.at("order").empty());
    EXPECT_EQ(seen.at("order").front(), handleOf(hatchId));
}

TEST_F(HatchingTest, SolidHatchAndTheDefinitionOutlineIsLeftWhereItWas)
{
    AcDbObjectId reference = space("ROOM-4", rectangle(0, 0, 3000, 2000), 1000, 1000, 0.3, 2.0);
    AcDbObjectId hatchId = hatch(reference, style("SOLID", 0, 1, "ZELKA HATCH"));
    ASSERT_EQ(errors.getCount(), 0) << errorText(0);
    const nlohmann::json h = saveAndRead("hatch-solid").at("hatches").at(handleOf(hatchId));
    EXPECT_EQ(h.at("pattern"), "SOLID");
    EXPECT_EQ(h.at("solid"), 1);
    EXPECT_EQ(h.at("true_color"), "200 30 60");
    // The outline in the definition keeps its block coordinates exactly.
    AcDbObjectPointer<AcDbBlockReference> ref(reference, AcDb::kForRead);
    AcDbObjectPointer<AcDbBlockTableRecord> definition(ref->blockTableRecord(), AcDb::kForRead);
    AcDbObjectPointer<AcDbPolyline> outline(definition->entityIds().front(), AcDb::kForRead);
    ASSERT_TRUE(outline);
    AcGePoint2d corner;
    outline->getPointAt(2, corner);
    EXPECT_EQ(corner.x, 3000.0);
    EXPECT_EQ(corner.y, 2000.0);
}

TEST_F(HatchingTest, AddedAreasAreExternalLoopsAndSubtractedAreasHoles)
{
    AcDbObjectId reference = space("ROOM-5", rectangle(0, 0, 6000, 4000), 0, 0);
    AcDbObjectId added = dwg.host.addModelPolyline(rectangle(6000, 0, 2000, 1500));
    AcDbObjectId hole = dwg.host.addModelPolyline(rectangle(1000, 1000, 500, 700));
    AcDbObjectId hatchId = hatch(reference, style("ANSI37", 0, 50, "ZELKA HATCH"), {added}, {hole});
    ASSERT_EQ(errors.getCount(), 0) << errorText(0);

    const nlohmann::json paths = saveAndRead("hatch-loops").at("hatches").at(handleOf(hatchId)).at("paths");
    ASSERT_EQ(paths.size(), 3u);
    EXPECT_EQ(paths[0].at("flags"), 18);
    EXPECT_EQ(paths[1].at("flags"), 3);  // external, polyline
    EXPECT_EQ(paths[2].at("flags"), 2);  // default, polyline
    EXPECT_EQ(paths[1].at("vertices").at(2).get<std::vector<double>>(), (std::vector<double>{8000, 1500, 0}));
    EXPECT_EQ(paths[2].at("vertices").at(2).get<std::vector<double>>(), (std::vector<double>{1500, 1700, 0}));
}

TEST_F(HatchingTest, LoopsThatCannotBeAppendedAreReportedAndTheHatchIsStillDrawn)
{
    AcDbObjectId reference = space("ROOM-6", rectangle(0, 0, 6000, 4000), 0, 0);
    auto open = [&](AcDbObjectId id) {
        AcDbObjectPointer<AcDbPolyline> polyline(id, AcDb::kForWrite);
        polyline->setClosed(false);
    };
    AcDbObjectId added = dwg.host.addModelPolyline(rectangle(6000, 0, 2000, 1500));
    AcDbObjectId hole = dwg.host.addModelPolyline(rectangle(1000, 1000, 500, 700));
    AcDbObjectId goodHole = dwg.host.addModelPolyline(rectangle(3000, 1000, 500, 700));
    open(added);
    open(hole);
    AcDbObjectId hatchId = hatch(reference, style("ANSI31", 0, 40, "ZELKA HATCH"), {added}, {hole, goodHole});

    ASSERT_EQ(errors.getCount(), 2);
    EXPECT_EQ(errorText(0), "Unable to apply additional hatch areas to Zelka Block: ROOM-6");
    EXPECT_EQ(errorText(1), "Unable to apply no hatch areas to Zelka Block: ROOM-6");
    EXPECT_EQ(errors.getAt(0).getProcSig(), "CBlockDWG::hatchObject");
    EXPECT_EQ(errors.getAt(0).getClass(), "BlockDWG");
    ASSERT_FALSE(hatchId.isNull());
    AcDbObjectPointer<AcDbHatch> drawn(hatchId, AcDb::kForRead);
    EXPECT_EQ(drawn->numLoops(), 2);
}

// A pattern the host will not draw over the room is reported, and the hatch is kept.
TEST_F(HatchingTest, TooDenseOrNotDenseEnoughPatternIsReportedAndTheHatchKept)
{
    struct Case {
        const char* name;
        double side, x;
        int scale;
        const char* message;
    };
    const Case cases[] = {
        // ANSI31 at scale 1 puts lines 3.175 apart: over ten million units
        // square that is far more lines than the host draws.
        {"ROOM-2", 1.0e7, 0, 1, "Unable to hatch zelka block ROOM-2. ANSI31 set at scale 1.00 is too dense to be displayed."},
        // At scale 1000 the lines run 3,175 apart along y = x + k * 4490.2;
        // the 100 x 100 room at (5000, 0) lies between two of them.
        {"ROOM-8", 100, 5000, 1000,
         "Unable to hatch zelka block ROOM-8. ANSI31 set at scale 1000.00 is not dense enough to be displayed."},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.name);
        AcDbObjectId reference = space(c.name, rectangle(0, 0, c.side, c.side), c.x, 0);
        EXPECT_FALSE(hatch(reference, style("ANSI31", 0, c.scale, "ZELKA HATCH")).isNull());
        ASSERT_EQ(errors.getCount(), static_cast<int>(i + 1));
        EXPECT_EQ(errorText(i), c.message);
    }
    EXPECT_EQ(hatchesInModelSpace(), 2);
}

TEST_F(HatchingTest, BlockWithoutAClosedOutlineGetsNoHatchAndAnErrorNamingIt)
{
    AcDbObjectId empty = dwg.host.defineSpace("ROOM-9", {});
    AcDbObjectId withoutOutline = dwg.host.insert(empty, AcGePoint3d(0, 0, 0));
    AcDbObjectId openOne = space("ROOM-10", rectangle(0, 0, 100, 100), 500, 0);
    {
        AcDbObjectPointer<AcDbBlockReference> ref(openOne, AcDb::kForRead);
        AcDbObjectPointer<AcDbBlockTableRecord> definition(ref->blockTableRecord(), AcDb::kForRead);
        AcDbObjectPointer<AcDbPolyline> outline(definition->entityIds().front(), AcDb::kForWrite);
        outline->setClosed(false);
    }
    EXPECT_TRUE(hatch(withoutOutline, style("ANSI31", 0, 10, "ZELKA HATCH")).isNull());
    EXPECT_TRUE(hatch(openOne, style("ANSI31", 0, 10, "ZELKA HATCH")).isNull());
    ASSERT_EQ(errors.getCount(), 2);
    EXPECT_EQ(errorText(0), "Unable to hatch Zelka Block: ROOM-9. Handle: " + handleOf(withoutOutline) +
                                ". Please check the polyline is closed.");
    EXPECT_EQ(errorText(1), "Unable to hatch Zelka Block: ROOM-10. Handle: " + handleOf(openOne) +
                                ". Please check the polyline is closed.");
    EXPECT_EQ(hatchesInModelSpace(), 0);
}

TEST_F(HatchingTest, PatternTheHostDoesNotShipIsAHostErrorAndNoHatch)
{
    AcDbObjectId reference = space("ROOM-11", rectangle(0, 0, 100, 100), 0, 0);
    EXPECT_TRUE(hatch(reference, style("NOSUCHPATTERN", 0, 10, "ZELKA HATCH")).isNull());
    ASSERT_EQ(errors.getCount(), 1);
    EXPECT_EQ(errors.getAt(0).getCode(), Acad::eInvalidInput);
    EXPECT_NE(errorText(0).find("/tmp/zelka-hatching-test.dxf"), std::string::npos) << errorText(0);
    EXPECT_EQ(hatchesInModelSpace(), 0);
}

TEST_F(HatchingTest, BlockWithoutHatchSettingsIsNotHatched)
{
    AcDbObjectId reference = space("ROOM-12", rectangle(0, 0, 100, 100), 0, 0);
    EXPECT_TRUE(hatch(reference, nullptr).isNull());
    EXPECT_EQ(errors.getCount(), 0);
    EXPECT_EQ(hatchesInModelSpace(), 0);
}

TEST_F(HatchingTest, HyperlinksGoToTheReferenceAndTheHatchNotOntoTheDefinition)
{
    AcDbObjectId reference = space("ROOM-14", rectangle(0, 0, 3000, 3000), 0, 0);
    AcDbObjectId hatchId = hatch(reference, style("SOLID", 0, 1, "ZELKA HATCH"));
    ASSERT_FALSE(hatchId.isNull());
    auto links = std::make_unique<CHyperlinks>();
    links->add(std::make_unique<CHyperlink>("http://plans.example/room?id=14", "Room 14"));
    block->setHyperlinks(std::move(links));
    block->hyperlinkHatch(dwg.drawing, hatchId);
    {
        AcDbObjectPointer<AcDbBlockReference> ref(reference, AcDb::kForWrite);
        block->hyperlinkBlock(dwg.drawing, ref.object());
    }

    const nlohmann::json seen = saveAndRead("hatch-links");
    EXPECT_EQ(seen.at("audit_errors"), 0) << seen.dump();
    const nlohmann::json& entities = seen.at("entities");
    const std::string link = "http://plans.example/room?id=14|Room 14|";
    EXPECT_EQ(entities.at(handleOf(hatchId)).at("link"), link);
    EXPECT_EQ(entities.at(handleOf(reference)).at("link"), link);
    AcDbObjectPointer<AcDbBlockReference> ref(reference, AcDb::kForRead);
    AcDbObjectPointer<AcDbBlockTableRecord> definition(ref->blockTableRecord(), AcDb::kForRead);
    std::vector<AcDbObjectId> parts = definition->entityIds();
    ASSERT_EQ(parts.size(), 4u);  // the outline and three attribute definitions
    // The definition's entities had no links and are not given the block's.
    for (AcDbObjectId part : parts)
        EXPECT_EQ(entities.at(handleOf(part)).at("pe_url"), "") << entities.at(handleOf(part)).at("type");
    // The attributes of the reference carry none.
    for (const nlohmann::json& attrib : seen.at("inserts").at(handleOf(reference)).at("attribs"))
        EXPECT_EQ(entities.at(attrib.get<std::string>()).at("link"), "||");
    // Reading the block's links gives the one link once.
    CHyperlinks back(ref.object());
    ASSERT_EQ(back.getCount(), 1);
    EXPECT_EQ(back.getAt(0).getDescription(), "Room 14");
}

// A room read with its assets and applied for a graphic report: the room is
// hatched and linked, and so is the asset standing in it; the one outside
// the room is left alone.
TEST_F(HatchingTest, ApplyingARoomHatchesAndLinksItAndItsAssets)
{
    const double turn = kPi / 2;
    AcDbObjectId roomReference = space("ROOM-20", rectangle(0, 0, 5000, 4000), 20000, 10000, turn);
    AcDbObjectId desk = dwg.host.defineSpace("DESK", rectangle(0, 0, 1600, 800), AcGePoint3d(0, 0, 0), 20.0, {});
    // The room covers x 16000..20000, y 10000..15000 once turned.
    AcDbObjectId inside = dwg.host.insert(desk, AcGePoint3d(17000, 12000, 0));
    AcDbObjectId outside = dwg.host.insert(desk, AcGePoint3d(30000, 12000, 0));

    std::unique_ptr<CBlockDWGRoom> room;
    {
        AcDbObjectPointer<AcDbBlockReference> reference(roomReference, AcDb::kForRead);
        room = std::make_unique<CBlockDWGRoom>(reference.object(), dwg.drawing, true);
    }
    ASSERT_NE(room->getAssets(), nullptr);
    ASSERT_EQ(room->getAssets()->getCount(), 1);
    CAsset& asset = room->getAssets()->getAt(0);
    EXPECT_EQ(asset.getHandle(), handleOf(inside));
    asset.setHatch(style("ANSI31", 0, 10, "ASSET HATCH"));
    auto assetLinks = std::make_unique<CHyperlinks>();
    assetLinks->add(std::make_unique<CHyperlink>("http://assets.example/17", "Desk"));
    asset.setHyperlinks(std::move(assetLinks));
    room->setHatch(style("SOLID", 0, 1, "ZELKA HATCH"));
    auto links = std::make_unique<CHyperlinks>();
    links->add(std::make_unique<CHyperlink>("http://plans.example/room?id=20", "Room 20"));
    room->setHyperlinks(std::move(links));

    room->applyToDWG(dwg.drawing, errors);
    ASSERT_EQ(errors.getCount(), 0) << errorText(0);

    const nlohmann::json seen = saveAndRead("apply-room");
    EXPECT_EQ(seen.at("audit_errors"), 0) << seen.dump();
    std::vector<std::string> hatches;
    for (const nlohmann::json& handle : seen.at("order"))
        if (seen.at("hatches").contains(handle.get<std::string>()))
            hatches.push_back(handle);
    const nlohmann::json& entities = seen.at("entities");
    ASSERT_EQ(hatches.size(), 2u);
    // The room's hatch is drawn beneath everything; the asset's follows the
    // desk. (Where each hatch lies is checked for a room by
    // PatternHatchLiesOnTheOutlineWhereTheBlockIsDrawn, for an asset by
    // AssetIsHatchedOverItsBlockBoxAndHyperlinkedEverywhere.)
    EXPECT_EQ(seen.at("order").front(), hatches[0]);
    EXPECT_EQ(seen.at("hatches").at(hatches[0]).at("layer"), "ZELKA HATCH");
    EXPECT_EQ(seen.at("hatches").at(hatches[1]).at("layer"), "ASSET HATCH");
    EXPECT_EQ(entities.at(hatches[0]).at("link"), "http://plans.example/room?id=20|Room 20|");
    EXPECT_EQ(entities.at(handleOf(roomReference)).at("link"), "http://plans.example/room?id=20|Room 20|");
    EXPECT_EQ(entities.at(hatches[1]).at("link"), "http://assets.example/17|Desk|");
    EXPECT_EQ(entities.at(handleOf(inside)).at("link"), "http://assets.example/17|Desk|");
    EXPECT_EQ(entities.at(handleOf(outside)).at("link"), "||");  // only the definition is shared
}

}  // namespace

// A hatch layer named with characters a layer name cannot hold is made with
// them taken out; the hatch goes on that layer, so the file passes ezdxf's audit.
TEST_F(HatchingTest, HatchGoesOnTheLayerMadeFromANameWithForbiddenCharacters)
{
    AcDbObjectId reference = space("ROOM-30", rectangle(0, 0, 4000, 3000), 0, 0);
    AcDbObjectId hatchId = hatch(reference, style("SOLID", 0, 1, "GR/Offices"));
    ASSERT_EQ(errors.getCount(), 0) << errorText(0);
    ASSERT_FALSE(hatchId.isNull());

    const nlohmann::json seen = saveAndRead("hatch-forbidden-layer");
    EXPECT_EQ(seen.at("audit_errors"), 0) << seen.dump();
    EXPECT_EQ(seen.at("hatches").at(handleOf(hatchId)).at("layer"), "GROffices");
    EXPECT_EQ(seen.at("layers").at("GROffices").at("true_color"), "200 30 60");
    EXPECT_FALSE(seen.at("layers").contains("GR/Offices"));
}

// Changing a block's links with mbh: the reference takes the new list, each
// link whole with its sub-location and flag; an entity of the definition
// keeps its own links (sub-locations too) and loses only those taken off.
TEST_F(HatchingTest, ChangedLinksKeepSubLocationsAndTheDefinitionsOwnLinks)
{
    AcDbObjectId reference = space("ROOM-40", rectangle(0, 0, 3000, 3000), 0, 0);
    AcDbObjectId outline;
    {
        AcDbObjectPointer<AcDbBlockReference> ref(reference, AcDb::kForRead);
        AcDbObjectPointer<AcDbBlockTableRecord> definition(ref->blockTableRecord(), AcDb::kForRead);
        outline = definition->entityIds().front();
    }
    auto put = [](AcDbObjectId id, std::vector<CHyperlink> list) {
        CHyperlinks links;
        for (const CHyperlink& l : list) links.add(l.copyTo());
        AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForWrite);
        ASSERT_EQ(links.setEntityHyperlinks(entity.object()), Acad::eOk);
    };
    put(reference, {CHyperlink("a.pdf", "A", "Sheet 1", 1), CHyperlink("b.pdf", "B")});
    put(outline, {CHyperlink("c.docx", "C", "Section 3"), CHyperlink("b.pdf", "B")});

    {
        AcDbObjectPointer<AcDbBlockReference> ref(reference, AcDb::kForRead);
        block = std::make_unique<CBlockDWG>(ref.object(), dwg.drawing);
    }
    ASSERT_EQ(block->getHyperlinks()->getCount(), 3);  // a, b, c
    auto edited = std::make_unique<CHyperlinks>();
    edited->add(block->getHyperlinks()->getAt(0).copyTo());  // a, as read
    edited->add(block->getHyperlinks()->getAt(2).copyTo());  // c, as read
    edited->add(std::make_unique<CHyperlink>("d.html", "D"));
    block->setHyperlinks(std::move(edited));
    block->applyToDWG(dwg.drawing, errors);
    ASSERT_EQ(errors.getCount(), 0) << errorText(0);

    const nlohmann::json seen = saveAndRead("changed-links");
    EXPECT_EQ(seen.at("audit_errors"), 0) << seen.dump();
    const nlohmann::json& entities = seen.at("entities");
    EXPECT_EQ(entities.at(handleOf(reference)).at("pe_url"),
              "1000:a.pdf;1002:{;1000:A;1000:Sheet 1;1002:{;1071:1;1002:};1002:};"
              "1000:c.docx;1002:{;1000:C;1000:Section 3;1002:{;1071:0;1002:};1002:};"
              "1000:d.html;1002:{;1000:D;1002:{;1071:0;1002:};1002:}");
    EXPECT_EQ(entities.at(handleOf(reference)).at("link"), "a.pdf|A|Sheet 1");
    EXPECT_EQ(entities.at(handleOf(outline)).at("pe_url"),
              "1000:c.docx;1002:{;1000:C;1000:Section 3;1002:{;1071:0;1002:};1002:}");
}
