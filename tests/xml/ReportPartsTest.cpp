// The record rules the report document relies on: the layer-name rule,
// duplicate hyperlinks, exact block look-ups, attribute positions.

#include <gtest/gtest.h>

#include "database/Hyperlinks.h"
#include "infra/XMLUtilities.h"
#include "infra/ZelkaExceptions.h"
#include "reports/Layers.h"
#include "spaces/Attributes.h"
#include "spaces/Blocks.h"

TEST(Layers, NameRuleDropsEachForbiddenCharacterAndKeepsTheRest)
{
    EXPECT_EQ(CLayer::validateLayerName("a<b>c/d\\e\"f;g?h*i,j=k`l"), "abcdefghijkl");
    EXPECT_EQ(CLayer::validateLayerName("Floor 1 - Ü"), "Floor 1 - Ü");
    CLayer layer;
    layer.setName("A/WALL");
    EXPECT_EQ(layer.getName(), "AWALL");
    EXPECT_EQ(layer.getApplicable(), 0);  // a name alone does not make a layer applicable
    layer.setColourIndex(3);
    EXPECT_EQ(layer.getApplicable(), 1);
    EXPECT_TRUE(layer.getColour().isByACI());
    EXPECT_EQ(layer.getColour().colorIndex(), 3);
}

// Adding a repeated address drops it (ReportIPRTest: an asset's links); reading does the same.
TEST(Hyperlinks, ReadingDropsARepeatedAddress)
{
    pugi::xml_document document;
    ASSERT_TRUE(CXMLUtilities()
                    .loadXMLText(document, "<hyperlinks><hyperlink><bhHref>x</bhHref><bhDescription>1"
                                           "</bhDescription></hyperlink><hyperlink><bhDescription>2</bhDescription>"
                                           "<bhHref>x</bhHref></hyperlink><note/></hyperlinks>")
                    .ok);
    CHyperlinks read;
    read.deSerialize(document.document_element());
    ASSERT_EQ(read.getCount(), 1);
    EXPECT_EQ(read.getAt(0).getDescription(), "1");
}

TEST(Blocks, LookUpsAreExactAndIndexesAreChecked)
{
    CBlocks blocks;
    auto block = std::make_unique<CBlock>();
    block->setHandle("1F");
    block->setCode("R1");
    blocks.addBlock(std::move(block));
    EXPECT_NE(blocks.getAt(std::string("1F")), nullptr);
    EXPECT_EQ(blocks.getAt(std::string("1f")), nullptr);  // handles compare exactly
    EXPECT_NE(blocks.getByCode("R1"), nullptr);
    EXPECT_EQ(blocks.getCount(), 1);
    try {
        blocks.getAt(1);
        FAIL() << "index 1 of a one-block collection must raise";
    } catch (const CEXZelka& e) {
        EXPECT_EQ(e.getProcSig(), "CBlocks::getAt");
        EXPECT_EQ(e.getClass(), "Blocks");
    }
}

TEST(Attributes, PositionSetsTheKeyAndLookUpsFindByPosition)
{
    CAttributes attributes;
    attributes.add(std::make_unique<CZelkaAttribute>(2, "aux"), false);
    attributes.add(std::make_unique<CZelkaAttribute>(2, "second aux"), false);  // same key: dropped
    attributes.add(std::make_unique<CZelkaAttribute>(0, "name"), false);
    EXPECT_EQ(attributes.getCount(), 2);
    ASSERT_NE(attributes.getAtAttribute(2), nullptr);
    EXPECT_EQ(attributes.getAtAttribute(2)->getKey(), "AUX");
    EXPECT_EQ(attributes.getAtAttribute(2)->getText(), "aux");
    EXPECT_EQ(attributes.getAtAttribute(std::string("NAME"))->getText(), "name");
    EXPECT_EQ(attributes.getAtAttribute(1), nullptr);
    CZelkaAttribute other(7, "x");
    EXPECT_EQ(other.getKey(), "");  // positions beyond the three leave the key alone
}
