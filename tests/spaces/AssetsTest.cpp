// Assets in the drawing: which block references a room outline collects, how
// their attributes are hidden, and how a report's asset is hatched and
// hyperlinked. Saved drawings are read back with ezdxf
// (plan_facts.py links), and every position is computed here by hand.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <set>
#include <string>

#include "database/Assets.h"
#include "database/Hyperlinks.h"
#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbHatch.h"
#include "host/db/AcDbRegAppTable.h"
#include "infra/ZelkaExceptions.h"
#include "reports/Hatch.h"
#include "spaces/Attributes.h"
#include "tests/spaces/SpacesTestSupport.h"

using spacetest::handleOf;
using spacetest::kPi;
using spacetest::rectangle;

namespace {

class AssetsTest : public ::testing::Test {
protected:
    void TearDown() override { CAssets::setExcludedIdentifiers(""); }

    // An asset block: a rectangle of w x h from (x0, y0) and the given
    // attribute definitions at its corner.
    AcDbObjectId defineAsset(const std::string& name, double x0, double y0, double w, double h,
                             const std::vector<std::string>& tags = {}, AcGePoint3d base = AcGePoint3d(0, 0, 0))
    {
        return dwg.host.defineSpace(name, rectangle(x0, y0, w, h), base, 20.0, tags);
    }

    // A model space outline of the room: (0,0)-(10000,8000).
    AcDbObjectId roomOutline() { return dwg.host.addModelPolyline(rectangle(0, 0, 10000, 8000)); }

    std::vector<std::string> collectedHandles(const CAssets& assets)
    {
        std::vector<std::string> handles;
        for (int i = 0; i < assets.getCount(); ++i)
            handles.push_back(assets.getAt(i).getHandle());
        std::sort(handles.begin(), handles.end());
        return handles;
    }

    spacetest::AdoptedDrawing dwg;
};

std::vector<std::string> sorted(std::vector<std::string> items)
{
    std::sort(items.begin(), items.end());
    return items;
}

TEST_F(AssetsTest, RoomOutlineCollectsAssetsInsideOrCrossingButNotSpacesOrOutsiders)
{
    AcDbObjectId desk = defineAsset("DESK", 0, 0, 1600, 800, {"ASSETNO", "OWNER"});
    AcDbObjectId cabinet = defineAsset("CABINET", 0, 0, 500, 500);
    AcDbObjectId room = dwg.host.defineSpace("ROOM-7", rectangle(0, 0, 3000, 3000));
    AcDbObjectId inside = dwg.host.insert(desk, AcGePoint3d(2000, 1500, 0), {{"ASSETNO", "A-17"}, {"OWNER", "Lab"}});
    AcDbObjectId crossing = dwg.host.insert(cabinet, AcGePoint3d(9800, 4000, 0));
    dwg.host.insert(cabinet, AcGePoint3d(12000, 4000, 0));  // outside
    dwg.host.insert(room, AcGePoint3d(1000, 1000, 0));       // a space block, never an asset
    dwg.host.addModelPolyline(rectangle(100, 100, 50, 50));  // not a block reference
    AcDbObjectId outlineId = roomOutline();

    CAssets assets;
    AcDbObjectPointer<AcDbPolyline> outline(outlineId, AcDb::kForRead);
    assets.getPolylineAssets(dwg.drawing, outline.object());
    outline.close();

    ASSERT_EQ(collectedHandles(assets), sorted({handleOf(inside), handleOf(crossing)}));
    const CAsset* asset = assets.getAtAsset(handleOf(inside));
    ASSERT_NE(asset, nullptr);
    EXPECT_EQ(asset->getAcadBlockIdentifier(), "DESK");
    EXPECT_EQ(asset->getObjectId(), inside);
    EXPECT_EQ(asset->getLocationID(), 0);
    EXPECT_EQ(asset->getAssetExistsInLocation(), 1);
    EXPECT_EQ(asset->getAcadBlockDescription(), "");
    EXPECT_EQ(asset->getUniqueDescription(), "");
    EXPECT_DOUBLE_EQ(asset->getPointX(), 2000.0);
    EXPECT_DOUBLE_EQ(asset->getPointY(), 1500.0);
    ASSERT_NE(asset->getAttributes(), nullptr);
    ASSERT_EQ(asset->getAttributes()->getCount(), 2);
    EXPECT_EQ(asset->getAttributes()->getAtAttribute(std::string("ASSETNO"))->getText(), "A-17");
    EXPECT_EQ(asset->getAttributes()->getAtAttribute(std::string("OWNER"))->getText(), "Lab");
    EXPECT_EQ(assets.getAtAsset(handleOf(crossing))->getAcadBlockIdentifier(), "CABINET");
}

TEST_F(AssetsTest, InsertionPointIsGivenInTheCurrentUcsAndRepeatedVerticesDoNotMatter)
{
    AcDbObjectId desk = defineAsset("DESK", 0, 0, 100, 100);
    AcDbObjectId inside = dwg.host.insert(desk, AcGePoint3d(2000, 1500, 0));
    // A UCS moved to (500, 200): world (x, y) is UCS (x - 500, y - 200).
    // (The outline is handed to the selection in UCS coordinates, as the
    // host's selection functions take them.)
    dwg.host.database->setUcs(AcGePoint3d(500, 200, 0), AcGeVector3d(1, 0, 0), AcGeVector3d(0, 1, 0));
    AcDbObjectId outlineId = dwg.host.addModelPolyline(
        {{0, 0}, {10000, 0}, {10000, 0}, {10000, 8000}, {0, 8000}, {0, 8000}, {0, 8000}});

    CAssets assets;
    AcDbObjectPointer<AcDbPolyline> outline(outlineId, AcDb::kForRead);
    assets.getPolylineAssets(dwg.drawing, outline.object());
    outline.close();

    ASSERT_EQ(assets.getCount(), 1);
    EXPECT_EQ(assets.getAt(0).getHandle(), handleOf(inside));
    EXPECT_NEAR(assets.getAt(0).getPointX(), 2000.0 - 500.0, 1e-9);
    EXPECT_NEAR(assets.getAt(0).getPointY(), 1500.0 - 200.0, 1e-9);
}

TEST_F(AssetsTest, ExcludedIdentifiersAreNotCollected)
{
    AcDbObjectId desk = defineAsset("DESK", 0, 0, 100, 100);
    AcDbObjectId chair = defineAsset("CHAIR", 0, 0, 50, 50);
    AcDbObjectId kept = dwg.host.insert(desk, AcGePoint3d(2000, 1500, 0));
    dwg.host.insert(chair, AcGePoint3d(2500, 1500, 0));
    AcDbObjectId outlineId = roomOutline();
    CAssets::setExcludedIdentifiers(",LAMP,CHAIR,");
    EXPECT_TRUE(CAssets::isExcludedIdentifier("CHAIR"));
    EXPECT_FALSE(CAssets::isExcludedIdentifier("CHAI"));

    CAssets assets;
    AcDbObjectPointer<AcDbPolyline> outline(outlineId, AcDb::kForRead);
    assets.getPolylineAssets(dwg.drawing, outline.object());

    ASSERT_EQ(collectedHandles(assets), std::vector<std::string>{handleOf(kept)});
}

TEST_F(AssetsTest, DynamicBlockVariantIsRecordedUnderItsDynamicDefinitionName)
{
    AcDbObjectId dynamic = defineAsset("TABLE_DYN", 0, 0, 1200, 600);
    AcDbObjectId variant = defineAsset("*U5", 0, 0, 1400, 600);
    AcDbObjectId plainAnonymous = defineAsset("*U6", 0, 0, 300, 300);
    {
        acdbRegApp("AcDbBlockRepBTag", dwg.host.database);
        resbuf* record = acutBuildList(1001, "AcDbBlockRepBTag", 1070, 1, 1005, handleOf(dynamic).c_str(), 0);
        AcDbObjectPointer<AcDbBlockTableRecord> definition(variant, AcDb::kForWrite);
        ASSERT_EQ(definition->setXData(record), Acad::eOk);
        acutRelRb(record);
    }
    AcDbObjectId variantReference = dwg.host.insert(variant, AcGePoint3d(3000, 3000, 0));
    AcDbObjectId anonymousReference = dwg.host.insert(plainAnonymous, AcGePoint3d(6000, 3000, 0));
    AcDbObjectId outlineId = roomOutline();

    CAssets assets;
    AcDbObjectPointer<AcDbPolyline> outline(outlineId, AcDb::kForRead);
    assets.getPolylineAssets(dwg.drawing, outline.object());

    ASSERT_EQ(assets.getCount(), 2);
    EXPECT_EQ(assets.getAtAsset(handleOf(variantReference))->getAcadBlockIdentifier(), "TABLE_DYN");
    // Without the record the variant keeps its own name.
    EXPECT_EQ(assets.getAtAsset(handleOf(anonymousReference))->getAcadBlockIdentifier(), "*U6");
}

TEST_F(AssetsTest, AttributesOfAssetsInTheRoomAreHiddenAndTheDrawingRegenerated)
{
    AcDbObjectId desk = defineAsset("DESK", 0, 0, 1600, 800, {"ASSETNO", "OWNER"});
    AcDbObjectId inside = dwg.host.insert(desk, AcGePoint3d(2000, 1500, 0), {{"ASSETNO", "A-1"}});
    AcDbObjectId outside = dwg.host.insert(desk, AcGePoint3d(20000, 1500, 0), {{"ASSETNO", "A-2"}});
    AcDbObjectId room = dwg.host.defineSpace("ROOM-1", rectangle(0, 0, 3000, 3000));
    AcDbObjectId space = dwg.host.insert(room, AcGePoint3d(4000, 4000, 0));
    AcDbObjectId outlineId = roomOutline();
    int regensBefore = dwg.host.document->regenCount();

    CAssets assets;
    AcDbObjectPointer<AcDbPolyline> outline(outlineId, AcDb::kForRead);
    assets.setPolylineAssetAttributesInvisible(dwg.drawing, outline.object());
    outline.close();
    EXPECT_EQ(dwg.host.document->regenCount(), regensBefore + 1);

    auto file = spacetest::tempDir("assets-invisible") / "plan.dxf";
    dwg.host.save(file);
    const nlohmann::json seen = spacetest::readBack(file);
    auto expectFlags = [&](AcDbObjectId reference, int flag) {
        const nlohmann::json& attribs = seen.at("inserts").at(handleOf(reference)).at("attribs");
        ASSERT_FALSE(attribs.empty());
        for (const nlohmann::json& handle : attribs)
            EXPECT_EQ(seen.at("entities").at(handle.get<std::string>()).at("invisible"), flag) << handle;
    };
    expectFlags(inside, 1);
    expectFlags(outside, 0);
    expectFlags(space, 0);  // the space block's own attributes stay
}

// A report's asset: a DESK (rectangle (10,20)-(1610,820) around base point
// (50, 40)) inserted at (3000, 2000), turned 30 degrees and scaled by 2.
class AssetApplyTest : public AssetsTest {
protected:
    void SetUp() override
    {
        AcDbObjectId desk = defineAsset("DESK", 10, 20, 1600, 800, {"ASSETNO"}, AcGePoint3d(50, 40, 0));
        // The attribute definition sits inside the rectangle, so it does not widen the box.
        reference = dwg.host.insert(desk, AcGePoint3d(3000, 2000, 0), {{"ASSETNO", "old"}},
                                    AcGeScale3d(2, 2, 2), kPi / 6);
    }

    std::unique_ptr<CAsset> reportAsset(bool byId)
    {
        auto asset = std::make_unique<CAsset>();
        asset->setHandle(handleOf(reference));
        if (byId)
            asset->setObjectId(reference);
        auto hatch = std::make_unique<CHatch>();
        hatch->setPatternName("ANSI31");
        hatch->setScale(10);
        AcCmColor colour;
        colour.setColorIndex(3);
        hatch->setColour(colour);
        hatch->setLayer("ASSET HATCH");
        asset->setHatch(std::move(hatch));
        auto links = std::make_unique<CHyperlinks>();
        links->add(std::make_unique<CHyperlink>("http://assets.example/desk?id=17", "Desk 17"));
        asset->setHyperlinks(std::move(links));
        auto attributes = std::make_unique<CAttributes>();
        attributes->add(std::make_unique<CAttribute>("ASSETNO", "A-17"), true);
        asset->setAttributes(std::move(attributes));
        return asset;
    }

    AcDbObjectId reference;
};

TEST_F(AssetApplyTest, AssetIsHatchedOverItsBlockBoxAndHyperlinkedEverywhere)
{
    CAssets assets;
    assets.add(reportAsset(false));  // found through its handle
    CZelkaExceptions errors;
    assets.applyToDWG(dwg.drawing, errors);
    ASSERT_EQ(errors.getCount(), 0) << (errors.size() ? errors.getAt(0).errorChainText() : "");

    auto file = spacetest::tempDir("asset-apply") / "plan.dxf";
    dwg.host.save(file);
    const nlohmann::json seen = spacetest::readBack(file);
    EXPECT_EQ(seen.at("audit_errors"), 0) << seen.dump();
    ASSERT_FALSE(seen.at("order").empty());
    const std::string hatch = seen.at("order").back();  // the last entity posted
    ASSERT_TRUE(seen.at("hatches").contains(hatch)) << "no hatch was posted";
    const nlohmann::json& h = seen.at("hatches").at(hatch);
    EXPECT_EQ(h.at("pattern"), "ANSI31");
    EXPECT_EQ(h.at("solid"), 0);
    EXPECT_EQ(h.at("ptype"), 1);
    EXPECT_EQ(h.at("assoc"), 0);
    EXPECT_EQ(h.at("style"), 0);
    EXPECT_DOUBLE_EQ(h.at("scale").get<double>(), 10.0);
    EXPECT_EQ(h.at("color"), 3);  // by palette index, not a true colour
    EXPECT_EQ(h.at("true_color"), "-1");
    EXPECT_EQ(h.at("layer"), "ASSET HATCH");
    EXPECT_EQ(seen.at("layers").at("ASSET HATCH").at("color"), 3);

    // One outermost polyline loop on the block's box as the reference shows
    // it: ezdxf's box of the block taken through the INSERT, and by hand.
    ASSERT_EQ(h.at("paths").size(), 1u);
    EXPECT_EQ(h.at("paths").at(0).at("flags"), 18);
    ASSERT_EQ(h.at("paths").at(0).at("vertices").size(), 4u);
    const nlohmann::json& insert = seen.at("inserts").at(handleOf(reference));
    const double corners[4][2] = {{10, 20}, {1610, 20}, {1610, 820}, {10, 820}};
    for (int k = 0; k < 4; ++k) {
        const auto v = h.at("paths").at(0).at("vertices").at(k).get<std::vector<double>>();
        const auto c = insert.at("corners").at(k).get<std::vector<double>>();
        auto hand = spacetest::place(corners[k][0] - 50, corners[k][1] - 40, kPi / 6, 2.0, 3000, 2000);
        ASSERT_EQ(v.size(), 3u);
        ASSERT_EQ(c.size(), 2u);
        EXPECT_NEAR(v[0], c[0], 1e-6);
        EXPECT_NEAR(v[1], c[1], 1e-6);
        EXPECT_NEAR(v[0], hand.first, 1e-6);
        EXPECT_NEAR(v[1], hand.second, 1e-6);
    }

    // The link on the hatch, the reference, the block's entities and the attribute.
    const nlohmann::json& entities = seen.at("entities");
    const std::string link = "http://assets.example/desk?id=17|Desk 17|";
    EXPECT_EQ(entities.at(hatch).at("link"), link);
    EXPECT_EQ(entities.at(handleOf(reference)).at("link"), link);
    AcDbObjectPointer<AcDbBlockReference> ref(reference, AcDb::kForRead);
    AcDbObjectPointer<AcDbBlockTableRecord> definition(ref->blockTableRecord(), AcDb::kForRead);
    std::vector<AcDbObjectId> parts = definition->entityIds();
    ASSERT_EQ(parts.size(), 2u);
    for (AcDbObjectId part : parts)
        EXPECT_EQ(entities.at(handleOf(part)).at("link"), link) << entities.at(handleOf(part)).at("type");
    ASSERT_EQ(insert.at("attribs").size(), 1u);
    EXPECT_EQ(entities.at(insert.at("attribs").at(0).get<std::string>()).at("link"), link);
    // The attribute text of the report.
    std::unique_ptr<AcDbObjectIterator> it(ref->attributeIterator());
    AcDbObjectPointer<AcDbAttribute> attribute(it->objectId(), AcDb::kForRead);
    EXPECT_STREQ(attribute->textString(), "A-17");
}

TEST_F(AssetApplyTest, TooSparsePatternIsReportedNamingTheAssetAndTheHatchIsKept)
{
    auto asset = reportAsset(true);
    // ANSI31 lines run at 45 degrees through the origin, 317,500 apart at
    // this scale: moved below the line y = x, the 3,200 x 1,600 box meets none.
    {
        AcDbObjectPointer<AcDbBlockReference> moved(reference, AcDb::kForWrite);
        moved->setPosition(AcGePoint3d(3000, -2000, 0));
    }
    asset->getHatch()->setScale(100000);
    asset->setHyperlinks(nullptr);
    CZelkaExceptions errors;
    asset->applyToDWG(dwg.drawing, errors);

    ASSERT_EQ(errors.getCount(), 1);
    EXPECT_EQ(errors.getAt(0).getDescription(), "Unable to hatch asset - " + handleOf(reference) +
                                                    ". ANSI31 set at scale 100000.00 is not dense enough to be displayed.");
    EXPECT_EQ(errors.getAt(0).getProcSig(), "CAsset::hatchAssetArea");
    EXPECT_EQ(errors.getAt(0).getClass(), "Assets");
    int hatches = 0;
    AcDbObjectPointer<AcDbBlockTableRecord> model(dwg.host.database->modelSpaceId(), AcDb::kForRead);
    for (AcDbObjectId id : model->entityIds())
        hatches += id.objectClass() == AcDbHatch::desc();
    EXPECT_EQ(hatches, 1);
}

TEST_F(AssetApplyTest, AssetWhoseHandleIsNotInTheDrawingIsPassedOver)
{
    auto asset = reportAsset(false);
    asset->setHandle("FFFFF");
    CZelkaExceptions errors;
    asset->applyToDWG(dwg.drawing, errors);
    EXPECT_EQ(errors.getCount(), 0);
    AcDbObjectPointer<AcDbBlockTableRecord> model(dwg.host.database->modelSpaceId(), AcDb::kForRead);
    for (AcDbObjectId id : model->entityIds())
        EXPECT_NE(id.objectClass(), AcDbHatch::desc());
    EXPECT_FALSE(dwg.drawing.isLocked());
}

}  // namespace
