// Layers of a drawing, and the command-line prompts with their echoes, fed
// from a script.

#include <gtest/gtest.h>

#include "host/db/AcDbLayerTable.h"
#include "host/ed/acutPrintf.h"
#include "reports/Layers.h"
#include "spaces/AcadUtilities.h"
#include "spaces/BlockDWG.h"

#include "SpacesTestSupport.h"
#include "spaces/Attributes.h"
#include "tests/common/ScriptedCommandLine.h"

using namespace spacetest;

namespace {

class Prompts : public ScriptedCommandLine {};

}  // namespace

TEST(Layers, ReadingApplyingAndSwitching)
{
    Drawing d;
    d.ensureLayer("Walls");
    d.ensureLayer("ATT-AREA");
    d.ensureLayer("##HATCH");
    CLayers layers;
    layers.getDWGLayers(d.drawing);
    ASSERT_NE(layers.getAtLayer("walls"), nullptr);
    EXPECT_EQ(layers.getAtLayer("walls")->getName(), "WALLS");
    EXPECT_FALSE(layers.getAtLayer("walls")->getObjectId().isNull());

    layers.setAllLayersOff(1);
    EXPECT_EQ(layers.getAtLayer("WALLS")->getOff(), 1);
    EXPECT_EQ(layers.getAtLayer("ATT-AREA")->getOff(), 0);
    EXPECT_EQ(layers.getAtLayer("##HATCH")->getOff(), 0);
    layers.setAllLayersFrozen(1);
    std::vector<AcDbObjectId> thawed, frozen;
    layers.getFrozenThawedIds(thawed, frozen);
    EXPECT_EQ(frozen.size() + thawed.size(), static_cast<size_t>(layers.getCount()));
    EXPECT_EQ(thawed.size(), 2u);  // the two reserved layers

    auto added = std::make_unique<CLayer>();
    added->setName("New");
    added->setColourIndex(3);
    added->setLocked(1);
    layers.add(std::move(added));
    // A layer never given a colour is made in its default colour index, 7.
    auto plain = std::make_unique<CLayer>();
    plain->setName("Plain");
    plain->setOff(1);
    EXPECT_EQ(plain->getColour().colorIndex(), plain->getColourIndex());
    layers.add(std::move(plain));
    layers.applyToDWG(d.drawing);
    AcDbObjectPointer<AcDbLayerTable> table(d.database->layerTableId(), AcDb::kForRead);
    AcDbLayerTableRecord* record = nullptr;
    ASSERT_EQ(table->getAt("WALLS", record, AcDb::kForRead), Acad::eOk);
    EXPECT_TRUE(record->isOff());
    EXPECT_TRUE(record->isFrozen());
    record->close();
    ASSERT_EQ(table->getAt("New", record, AcDb::kForRead), Acad::eOk);
    EXPECT_TRUE(record->isLocked());
    EXPECT_EQ(record->color().colorIndex(), 3);
    record->close();
    ASSERT_EQ(table->getAt("Plain", record, AcDb::kForRead), Acad::eOk);
    EXPECT_TRUE(record->isOff());
    EXPECT_EQ(record->color().colorIndex(), 7);
    record->close();
}

TEST(Layers, OnLayerBecomesCurrentButNeverLayerZero)
{
    Drawing d;
    d.ensureLayer("Rooms");
    AcDbObjectId before = d.database->clayer();
    CLayers onlyZero;
    auto zero = std::make_unique<CLayer>();
    zero->setName("0");
    onlyZero.add(std::move(zero));
    onlyZero.setOnLayerToCurrent(d.drawing);
    EXPECT_EQ(d.database->clayer(), before);

    // The drawing's layer names are compared upper-cased, the collection's
    // as they stand: "rooms" does not name the drawing's "Rooms", "ROOMS" does.
    auto makeCurrent = [&d](std::initializer_list<const char*> names) {
        CLayers layers;
        for (const char* name : names) {
            auto layer = std::make_unique<CLayer>();
            layer->setName(name);
            layers.add(std::move(layer));
        }
        layers.setOnLayerToCurrent(d.drawing);
    };
    makeCurrent({"0", "rooms", "Missing"});
    EXPECT_EQ(d.database->clayer(), before);
    makeCurrent({"0", "ROOMS", "Missing"});
    AcDbObjectPointer<AcDbLayerTableRecord> current(d.database->clayer(), AcDb::kForRead);
    EXPECT_EQ(current->name(), "Rooms");
}

// A cancelled text answer asks again with the notice in front of the
// prompt, which keeps its own line breaks but the first.
TEST_F(Prompts, ACancelledTextAnswerAsksAgainWithTheNotice)
{
    feed("^C\nLab 4\n^C\n^C\nC:/plans/list.csv\n");
    EXPECT_EQ(CAcadUtilities::getString("Remark"), "Lab 4");
    EXPECT_NE(transcript.find("\nRemark:"), std::string::npos) << transcript;
    EXPECT_NE(transcript.find("\nInvalid input! - Remark:"), std::string::npos) << transcript;
    EXPECT_EQ(CAcadUtilities::getString("Please enter the path of the list\n"), "C:/plans/list.csv");
    const std::string again = "\nInvalid input! - Please enter the path of the list\n:";
    const size_t first = transcript.find(again);
    ASSERT_NE(first, std::string::npos) << transcript;
    EXPECT_NE(transcript.find(again, first + 1), std::string::npos) << "every retry shows the notice once";
}

TEST_F(Prompts, PickingASpaceBlockAcceptsAnyBlockReference)
{
    Drawing d;
    AcDbObjectId line = d.addModelPolyline(rectangle(0, 0, 1, 1));
    AcDbObjectId chairDef = d.defineSpace("CHAIR", rectangle(0, 0, 500, 500), AcGePoint3d(0, 0, 0), 10.0, {"NAME"});
    AcDbObjectId chair = d.insert(chairDef, AcGePoint3d(0, 0, 0), {{"NAME", "Chair 3"}});
    feed(line.handle().toString() + "\n" + chair.handle().toString() + "\n");
    CBlockDWG picked;
    EXPECT_TRUE(CAcadUtilities::userSelectZelkaBlock(d.drawing, picked));
    EXPECT_EQ(picked.getBlockReferenceId(), chair);
    EXPECT_EQ(picked.getBlockName(), "CHAIR");
    EXPECT_EQ(picked.getAttributes()->getAtAttribute(0)->getText(), "Chair 3");
    EXPECT_NE(transcript.find("Invalid selection.\n"), std::string::npos) << transcript;

    // The input has run out: the pick fails and says so.
    EXPECT_FALSE(CAcadUtilities::userSelectZelkaBlock(d.drawing, picked));
    EXPECT_NE(transcript.find("Cancelled by User.\n"), std::string::npos);

    feed(line.handle().toString() + "\n" + chair.handle().toString() + "\n\n");
    AcDbObjectIdArray ids;
    EXPECT_TRUE(CAcadUtilities::selectObjectIds("Select outlines", ids));
    EXPECT_EQ(ids, (AcDbObjectIdArray{line, chair}));
}
