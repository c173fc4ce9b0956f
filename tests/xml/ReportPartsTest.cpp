// The record rules the report document relies on: link lines and the drawing
// state through XML, the layer-name rule, duplicate hyperlinks, exact block
// look-ups, attribute positions.

#include <gtest/gtest.h>

#include <functional>

#include "database/Hyperlinks.h"
#include "infra/XMLUtilities.h"
#include "infra/ZelkaExceptions.h"
#include "reports/AcadDrawingState.h"
#include "reports/Layers.h"
#include "reports/LinkLine.h"
#include "spaces/Attributes.h"
#include "spaces/Blocks.h"

namespace {

// Serializes under a fresh document, prints it, and parses the text again, so
// that reading works on what a file would hold.
pugi::xml_node roundTrip(pugi::xml_document& reread, const std::function<void(pugi::xml_node)>& write)
{
    pugi::xml_document document;
    write(document);
    CXMLUtilities xml;
    EXPECT_TRUE(xml.loadXMLText(reread, xml.toText(document)).ok);
    return CXMLUtilities::rootElement(reread);
}

}  // namespace

TEST(LinkLines, RoundTripAndLabelOnlyWhenSet)
{
    CLinkLines lines;
    lines.add(std::make_unique<CLinkLine>("1A", "2B", "LINKS", "from office to store"));
    lines.add(std::make_unique<CLinkLine>("3C", "4D", "", ""));

    pugi::xml_document reread;
    pugi::xml_node element =
        roundTrip(reread, [&](pugi::xml_node parent) { lines.serialize(parent, ZELKA_DOCMON_NAMESPACE); });
    EXPECT_STREQ(element.name(), "linkLines");
    pugi::xml_node second = element.first_child().next_sibling();
    EXPECT_FALSE(second.child("linkLineText"));  // empty label: not written
    EXPECT_TRUE(second.child("linkLineLayer"));  // the layer is always written, even empty

    CLinkLines back;
    back.deSerialize(element);
    ASSERT_EQ(back.getCount(), 2);
    EXPECT_TRUE(back.getAt(0) == lines.getAt(0));
    EXPECT_TRUE(back.getAt(1) == lines.getAt(1));
}

TEST(AcadDrawingState, RoundTripKeepsLayoutAndLayerNames)
{
    CAcadDrawingState state;
    state.setLayout("Layout2");
    state.setLayerState("A-WALL", 0, 0, 0, 1);
    state.setLayerState("A-DOOR", 1, 1, 1, 0);
    state.getLayers().getAt(1).setDescription("Doors");

    pugi::xml_document reread;
    pugi::xml_node element =
        roundTrip(reread, [&](pugi::xml_node parent) { state.serialize(parent, ZELKA_DOCMON_NAMESPACE); });
    EXPECT_STREQ(element.name(), "AcadDrawingState");
    EXPECT_STREQ(element.child("layout").text().get(), "Layout2");

    CAcadDrawingState back;
    back.deSerialize(element);
    EXPECT_EQ(back.getLayout(), "Layout2");
    ASSERT_EQ(back.getLayers().getCount(), 2);
    EXPECT_EQ(back.getLayers().getAt(0).getName(), "A-WALL");
    EXPECT_EQ(back.getLayers().getAt(1).getDescription(), "Doors");
}

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
