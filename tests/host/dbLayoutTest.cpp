// The current layout and per-viewport layer freezing, on a drawing written by
// ezdxf (tests/tools/ezdxf_fixtures.py); what is saved is read back with ezdxf. Layers
// frozen and thawed in viewports and saved are checked end to end by
// DrawingState (tests/commands); here what is refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dxfTestSupport.h"
#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbLayerTable.h"
#include "host/db/AcDbLayout.h"
#include "host/db/AcDbLayoutManager.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbOpen.h"
#include "host/db/AcDbViewport.h"
#include "host/dxf/DxfValue.h"
#include "tests/common/TestRequirements.h"

namespace fs = std::filesystem;
using dxftest::ezdxf1;

namespace {

std::string json(const std::string& s) { return "\"" + s + "\""; }

class LayoutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ZELKA_REQUIRE_EZDXF();
        dir_ = dxftest::tempDir("layout");
        file_ = dir_ / "layouts.dxf";
        dxftest::ezdxfFixture("layouts", file_);  // layouts, viewports, inserts (tests/tools/ezdxf_fixtures.py)
        ASSERT_EQ(db_.readDxfFile(file_.c_str()), Acad::eOk) << db_.lastError();
    }

    AcDbObjectId layer(const char* name)
    {
        AcDbLayerTable* table = nullptr;
        EXPECT_EQ(db_.getLayerTable(table), Acad::eOk);
        AcDbObjectId id;
        EXPECT_EQ(table->getAt(name, id), Acad::eOk) << name;
        table->close();
        return id;
    }

    AcDbObjectIdArray viewportsOf(const char* layoutName)
    {
        AcDbObjectId id = acdbLayoutManager()->findLayoutNamed(layoutName, &db_);
        EXPECT_FALSE(id.isNull()) << layoutName;
        AcDbObjectPointer<AcDbLayout> layout(id, AcDb::kForRead);
        EXPECT_EQ(layout.openStatus(), Acad::eOk);
        return layout.openStatus() == Acad::eOk ? layout->getViewportArray() : AcDbObjectIdArray();
    }

    fs::path save(const char* name)
    {
        fs::path out = dir_ / name;
        EXPECT_EQ(db_.saveAs(out.c_str()), Acad::eOk) << db_.lastError();
        return out;
    }

    std::string active(bool allowModel)
    {
        std::string name;
        EXPECT_EQ(acdbLayoutManager()->getActiveLayoutName(name, allowModel, &db_), Acad::eOk);
        return name;
    }

    fs::path dir_, file_;
    AcDbDatabase db_{false};
};

// The handles of the entities written between "0 SECTION / 2 name" and ENDSEC.
std::vector<std::string> handlesInSection(const std::string& text, const std::string& section)
{
    auto tags = dxftest::tagStream(text);
    std::vector<std::string> out;
    bool in = false, afterZero = false;
    for (size_t i = 0; i < tags.size(); ++i) {
        if (tags[i].first == 2 && i > 0 && tags[i - 1] == std::make_pair(0, std::string("SECTION")))
            in = tags[i].second == section;
        if (tags[i] == std::make_pair(0, std::string("ENDSEC")))
            in = false;
        if (in && afterZero && tags[i].first == 5)
            out.push_back(tags[i].second);
        afterZero = tags[i].first == 0;
    }
    return out;
}

// The tag streams of two DXF texts are equal; the first difference is named.
void expectSameTags(const std::string& written, const std::string& read)
{
    auto a = dxftest::tagStream(written), b = dxftest::tagStream(read);
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        if (a[i] != b[i]) {
            ADD_FAILURE() << "tag " << i << ": written (" << a[i].first << ", '" << a[i].second << "'), read ("
                          << b[i].first << ", '" << b[i].second << "')";
            return;
        }
    EXPECT_EQ(a.size(), b.size());
}

}  // namespace

TEST_F(LayoutTest, AnotherPaperLayoutBecomesThePaperSpaceBlockWithItsEntities)
{
    const std::string sheetBlock = ezdxf1(file_, "layout('Sheet B').block_record_name");
    const std::string lineHandle = ezdxf1(file_, "layout('Sheet B').query('LINE')[0].dxf.handle");
    const std::string circleHandle = ezdxf1(file_, "layout('Layout1').query('CIRCLE')[0].dxf.handle");
    ASSERT_NE(sheetBlock, json("*Paper_Space"));

    ASSERT_EQ(acdbLayoutManager()->setCurrentLayout("sheet b", &db_), Acad::eOk);
    EXPECT_EQ(active(true), "Sheet B");
    EXPECT_FALSE(db_.tilemode());
    fs::path out = save("sheet-b.dxf");

    auto seen = dxftest::ezdxf(out, {"audit", "doc.layouts.active_layout().name", "doc.header['$TILEMODE']",
                                        "layout('Sheet B').block_record_name", "layout('Layout1').block_record_name",
                                        "[e.dxf.handle for e in layout('Sheet B').query('LINE')]",
                                        "[e.dxf.handle for e in layout('Layout1').query('CIRCLE')]",
                                        "len(viewports('Sheet B'))"});
    ASSERT_EQ(seen.size(), 8u) << (seen.empty() ? "" : seen[0]);
    EXPECT_EQ(seen[0], "[]");
    EXPECT_EQ(seen[1], json("Sheet B"));
    EXPECT_EQ(seen[2], "0");
    EXPECT_EQ(seen[3], json("*Paper_Space"));
    EXPECT_EQ(seen[4], sheetBlock);
    EXPECT_EQ(seen[5], "[" + lineHandle + "]");
    EXPECT_EQ(seen[6], "[" + circleHandle + "]");
    EXPECT_EQ(seen[7], "3");

    // The active sheet's entities are in ENTITIES, the other sheet's in its BLOCK.
    std::string text = dxftest::readFile(out);
    auto strip = [](std::string s) { return s.substr(1, s.size() - 2); };
    auto entities = handlesInSection(text, "ENTITIES");
    auto blocks = handlesInSection(text, "BLOCKS");
    auto has = [](const std::vector<std::string>& v, const std::string& h) { return std::find(v.begin(), v.end(), h) != v.end(); };
    EXPECT_TRUE(has(entities, strip(lineHandle)));
    EXPECT_FALSE(has(blocks, strip(lineHandle)));
    EXPECT_TRUE(has(blocks, strip(circleHandle)));
    EXPECT_FALSE(has(entities, strip(circleHandle)));

    AcDbDatabase again(false);
    ASSERT_EQ(again.readDxfFile(out.c_str()), Acad::eOk) << again.lastError();
    std::string name;
    EXPECT_EQ(acdbLayoutManager()->getActiveLayoutName(name, true, &again), Acad::eOk);
    EXPECT_EQ(name, "Sheet B");
}

TEST_F(LayoutTest, SwitchingAwayAndBackGivesTheFileAsReadAndThreeSheetsRotate)
{
    ASSERT_EQ(acdbLayoutManager()->setCurrentLayout("Sheet B", &db_), Acad::eOk);
    ASSERT_EQ(acdbLayoutManager()->setCurrentLayout("Layout1", &db_), Acad::eOk);
    ASSERT_EQ(acdbLayoutManager()->setCurrentLayout("Model", &db_), Acad::eOk);
    std::string text;
    ASSERT_EQ(db_.writeDxfText(text), Acad::eOk);
    expectSameTags(text, dxftest::readFile(file_));

    // Through a third sheet the names rotate, and every sheet keeps its entities.
    const std::string contents = "[(l.name, sorted(e.dxftype() for e in l)) for l in doc.layouts]";
    ASSERT_EQ(acdbLayoutManager()->setCurrentLayout("Sheet B", &db_), Acad::eOk);
    ASSERT_EQ(acdbLayoutManager()->setCurrentLayout("Sheet C", &db_), Acad::eOk);
    ASSERT_EQ(acdbLayoutManager()->setCurrentLayout("Layout1", &db_), Acad::eOk);
    fs::path out = save("rotated.dxf");
    EXPECT_EQ(ezdxf1(out, "audit"), "[]");
    EXPECT_EQ(ezdxf1(out, "doc.layouts.active_layout().name"), json("Layout1"));
    EXPECT_EQ(ezdxf1(out, "sorted(l.block_record_name for l in doc.layouts)"),
              ezdxf1(file_, "sorted(l.block_record_name for l in doc.layouts)"));
    EXPECT_EQ(ezdxf1(out, contents), ezdxf1(file_, contents));
}

TEST_F(LayoutTest, UnknownLayoutIsRefusedAndNothingChanges)
{
    EXPECT_EQ(acdbLayoutManager()->setCurrentLayout("Sheet D", &db_), Acad::eKeyNotFound);
    EXPECT_EQ(acdbLayoutManager()->setCurrentLayout("", &db_), Acad::eInvalidInput);
    EXPECT_EQ(acdbLayoutManager()->setCurrentLayout(nullptr, &db_), Acad::eInvalidInput);
    std::string text;
    ASSERT_EQ(db_.writeDxfText(text), Acad::eOk);
    EXPECT_EQ(text, dxftest::readFile(file_));
    EXPECT_EQ(active(true), "Model");
}

TEST(LayoutManager, UsesTheWorkingDrawingAndFailsWithoutOne)
{
    AcDbDatabase* before = acdbWorkingDatabase();
    acdbSetWorkingDatabase(nullptr);
    std::string name = "x";
    EXPECT_EQ(acdbLayoutManager()->getActiveLayoutName(name, true), Acad::eNullObjectPointer);
    EXPECT_EQ(name, "");
    EXPECT_EQ(acdbLayoutManager()->setCurrentLayout("Model"), Acad::eNullObjectPointer);
    EXPECT_EQ(acdbLayoutManager()->countLayouts(), 0);

    AcDbDatabase db;
    acdbSetWorkingDatabase(&db);
    EXPECT_EQ(acdbLayoutManager()->setCurrentLayout("Layout1"), Acad::eOk);
    EXPECT_EQ(acdbLayoutManager()->getActiveLayoutName(name, true), Acad::eOk);
    EXPECT_EQ(name, "Layout1");
    acdbSetWorkingDatabase(before);
    ZELKA_REQUIRE_EZDXF();
    fs::path out = dxftest::tempDir("layout-new-drawing") / "new.dxf";
    ASSERT_EQ(db.saveAs(out.c_str()), Acad::eOk);
    EXPECT_EQ(ezdxf1(out, "[doc.header['$TILEMODE'], doc.layouts.active_layout().name, audit]"), "[0, \"Layout1\", []]");
}

TEST_F(LayoutTest, ViewportsOfALayoutInDrawingOrder)
{
    AcDbObjectIdArray ids = viewportsOf("Sheet B");
    nlohmann::json seen;  // handle and number of each viewport
    for (const AcDbObjectId& id : ids) {
        AcDbObjectPointer<AcDbViewport> vp(id, AcDb::kForRead);
        ASSERT_EQ(vp.openStatus(), Acad::eOk);
        seen.push_back({DxfValue::fromHandle(id.handle().value()), vp->number()});
    }
    EXPECT_EQ(seen, nlohmann::json::parse(ezdxf1(file_, "[[v.dxf.handle, v.dxf.id] for v in viewports('Sheet B')]")));
    EXPECT_EQ(std::to_string(viewportsOf("Sheet C").length()), ezdxf1(file_, "len(viewports('Sheet C'))"));
    EXPECT_TRUE(viewportsOf("Model").isEmpty());
}

TEST_F(LayoutTest, FreezingRefusesWhatIsNotALayerOfTheDrawing)
{
    const AcDbObjectId a = layer("A");
    AcDbObjectIdArray ids = viewportsOf("Sheet B");
    ASSERT_EQ(ids.length(), 3);
    AcDbDatabase other;
    AcDbObjectId foreignLayer = other.clayer();
    {
        AcDbObjectPointer<AcDbViewport> vp(ids.at(2), AcDb::kForRead);
        ASSERT_EQ(vp.openStatus(), Acad::eOk);
        EXPECT_EQ(vp->freezeLayersInViewport(AcDbObjectIdArray{a}), Acad::eNotOpenForWrite);
    }
    AcDbObjectPointer<AcDbViewport> vp(ids.at(2), AcDb::kForWrite);
    ASSERT_EQ(vp.openStatus(), Acad::eOk);
    EXPECT_EQ(vp->freezeLayersInViewport(AcDbObjectIdArray{a, AcDbObjectId()}), Acad::eInvalidInput);
    EXPECT_EQ(vp->freezeLayersInViewport(AcDbObjectIdArray{a, ids.at(0)}), Acad::eInvalidInput);
    EXPECT_EQ(vp->freezeLayersInViewport(AcDbObjectIdArray{foreignLayer}), Acad::eInvalidInput);
    EXPECT_EQ(vp->thawLayersInViewport(AcDbObjectIdArray{db_.modelSpaceId()}), Acad::eInvalidInput);
    EXPECT_FALSE(vp->isLayerFrozenInViewport(a));
    EXPECT_FALSE(vp->isLayerFrozenInViewport(AcDbObjectId()));
    vp.close();
    std::string text;
    ASSERT_EQ(db_.writeDxfText(text), Acad::eOk);
    expectSameTags(text, dxftest::readFile(file_));
}
