// The graphic report document: round trips, a golden document compared
// element by element, hand-written documents, and files that cannot be read.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <filesystem>

#include "XmlTestSupport.h"
#include "database/Assets.h"
#include "database/Hyperlinks.h"
#include "infra/XMLUtilities.h"
#include "infra/ZelkaExceptions.h"
#include "reports/GraphicReport.h"
#include "reports/Hatch.h"
#include "spaces/Attributes.h"
#include "spaces/BlockDWG.h"

namespace {

AcCmColor rgb(uint8_t r, uint8_t g, uint8_t b)
{
    AcCmColor colour;
    colour.setRGB(r, g, b);
    return colour;
}

// The report that report-expected.xml describes.
std::unique_ptr<CGraphicReport> fullReport()
{
    auto report = std::make_unique<CGraphicReport>();
    report->setID(42);
    report->setTitle("Floor 1 & 2 <draft> – occupancy");
    report->setDrawingPath("/srv/plans/");
    report->setDrawingFilename("ground.dxf");
    report->setPlotDevice(1);
    report->setPlotAreaType(4);
    report->setPlotMediaSize(8);
    report->setPlotScaleType(21);  // the host value of database scale id 20
    report->setPlotCentred(0);
    report->setSaveCopyTo("/srv/copies/ground-copy.dxf");
    report->setPlotLayout("Layout1");
    report->setTotalChildAreas(1234.5);
    report->setPieXYOffset(0.25);
    report->setPieIgnoreEmptySegments(0);
    report->setPieShowLabels(1);
    report->setPieShowLabelSegmentLines(0);

    auto offices = std::make_unique<CCategory>();
    offices->setID(7);
    offices->setTitle("Offices");
    auto hatch = std::make_unique<CHatch>();
    hatch->setPatternName("SOLID");
    hatch->setColour(rgb(10, 0, 255));
    hatch->setScale(1);
    hatch->setAngle(45);
    hatch->setLayer("GR-Offices");
    offices->setHatch(std::move(hatch));

    auto blocks = std::make_unique<CBlocks>();
    auto room = std::make_unique<CBlock>();
    room->setHandle("1A2");
    room->setName("Room 101");
    room->setCode("R101");
    room->setArea(12.345);
    auto swaps = std::make_unique<CAttributes>();
    swaps->add(std::make_unique<CZelkaAttribute>(0, "Office A"), true);
    swaps->add(std::make_unique<CZelkaAttribute>(2, "Team 3"), true);
    room->setAttributes(std::move(swaps));
    auto links = std::make_unique<CHyperlinks>();
    links->add(std::make_unique<CHyperlink>("http://intranet/r101?pb=10&page=1&id=42", "Room sheet"));
    room->setHyperlinks(std::move(links));
    auto assets = std::make_unique<CAssets>();
    auto desk = std::make_unique<CAsset>();
    desk->setLocationID(5);
    desk->setHandle("2B0");
    desk->setAcadBlockIdentifier("DESK");
    desk->setAcadBlockDescription("Desk 1600");
    desk->setUniqueDescription("Desk by the window");
    desk->setPointX(1234.567891);
    desk->setPointY(-12.5);
    assets->add(std::move(desk));
    room->setAssets(std::move(assets));
    blocks->addBlock(std::move(room));
    auto every = std::make_unique<CBlock>();
    every->setHandle("*");
    every->setArea(87.654);
    blocks->addBlock(std::move(every));
    auto plain = std::make_unique<CBlock>();
    plain->setHandle("1B0");
    plain->setCode("R102");
    blocks->addBlock(std::move(plain));
    offices->setBlocks(std::move(blocks));

    auto vacant = std::make_unique<CCategory>();
    vacant->setID(8);
    vacant->setTitle("Vacant");
    vacant->setAssets(std::make_unique<CAssets>());

    auto categories = std::make_unique<CCategories>();
    categories->add(std::move(offices));
    categories->add(std::move(vacant));
    report->setCategories(std::move(categories));

    auto layers = std::make_unique<CLayers>();
    auto wall = std::make_unique<CLayer>();
    wall->setName("A-WALL");
    wall->setDescription("Walls");
    layers->add(std::move(wall));
    auto door = std::make_unique<CLayer>();
    door->setName("A-DOOR");
    layers->add(std::move(door));
    report->setLayersOn(std::move(layers));
    return report;
}

// The replacement texts of a block as (position, text), in list order.
std::vector<std::pair<int, std::string>> swapsOf(const CBlock& block)
{
    std::vector<std::pair<int, std::string>> swaps;
    if (!block.getAttributes()) return swaps;
    for (int i = 0; i < block.getAttributes()->getCount(); ++i) {
        const auto& attribute = dynamic_cast<const CZelkaAttribute&>(block.getAttributes()->getAt(i));
        swaps.emplace_back(attribute.getPosition(), attribute.getText());
    }
    return swaps;
}

// Compares two element trees: names, namespaces, leaf texts and the order
// of element children. Returns the path of the first difference, or "".
std::string firstDifference(pugi::xml_node expected, pugi::xml_node actual, const std::string& where)
{
    const std::string here = where + "/" + CXMLUtilities::localName(expected);
    if (CXMLUtilities::localName(expected) != CXMLUtilities::localName(actual))
        return here + ": element is " + CXMLUtilities::localName(actual);
    if (CXMLUtilities::namespaceOf(expected) != CXMLUtilities::namespaceOf(actual))
        return here + ": namespace is " + CXMLUtilities::namespaceOf(actual);
    std::vector<pugi::xml_node> expectedChildren;
    std::vector<pugi::xml_node> actualChildren;
    for (pugi::xml_node c : expected.children())
        if (c.type() == pugi::node_element) expectedChildren.push_back(c);
    for (pugi::xml_node c : actual.children())
        if (c.type() == pugi::node_element) actualChildren.push_back(c);
    if (expectedChildren.empty() && actualChildren.empty()) {
        if (CXMLUtilities::getText(expected) != CXMLUtilities::getText(actual))
            return here + ": text is \"" + CXMLUtilities::getText(actual) + "\", expected \"" +
                   CXMLUtilities::getText(expected) + "\"";
        return {};
    }
    for (size_t i = 0; i < std::max(expectedChildren.size(), actualChildren.size()); ++i) {
        if (i >= actualChildren.size()) return here + ": missing " + CXMLUtilities::localName(expectedChildren[i]);
        if (i >= expectedChildren.size()) return here + ": extra " + CXMLUtilities::localName(actualChildren[i]);
        std::string difference = firstDifference(expectedChildren[i], actualChildren[i], here);
        if (!difference.empty()) return difference;
    }
    return {};
}

class GraphicReportDocument : public ::testing::Test {
protected:
    xmltest::TempFolder folder;
};

}  // namespace

TEST_F(GraphicReportDocument, WrittenDocumentMatchesTheExpectedFileElementByElement)
{
    const std::string path = folder.path("report.xml");
    fullReport()->serialize(path);

    pugi::xml_document expected;
    pugi::xml_document actual;
    ASSERT_TRUE(CXMLUtilities().loadXMLDocument(expected, xmltest::fixture("report-expected.xml")).ok);
    CXMLLoadResult loaded = CXMLUtilities().loadXMLDocument(actual, path);
    ASSERT_TRUE(loaded.ok) << loaded.describe();
    EXPECT_EQ(firstDifference(expected.document_element(), actual.document_element(), ""), "");
    // Every element of the document is in the one report namespace, declared once on the root.
    EXPECT_EQ(xmltest::readFile(path).find("xmlns", xmltest::readFile(path).find("<grID>")), std::string::npos);
}

// Read and written again, the expected document comes back element by
// element: a field the reader lost, misread or put in another field is
// written back wrong or not at all.
TEST_F(GraphicReportDocument, TheExpectedDocumentReadsAndWritesBackUnchanged)
{
    CGraphicReport reread;
    ASSERT_TRUE(reread.deSerialize(xmltest::fixture("report-expected.xml")));
    const std::string path = folder.path("again.xml");
    reread.serialize(path);
    pugi::xml_document expected;
    pugi::xml_document actual;
    ASSERT_TRUE(CXMLUtilities().loadXMLDocument(expected, xmltest::fixture("report-expected.xml")).ok);
    ASSERT_TRUE(CXMLUtilities().loadXMLDocument(actual, path).ok);
    EXPECT_EQ(firstDifference(expected.document_element(), actual.document_element(), ""), "");
}

TEST_F(GraphicReportDocument, EmptyOptionalFieldsAreLeftOutAndReadBackEmpty)
{
    const std::string path = folder.path("minimal.xml");
    CGraphicReport report;
    report.setTitle("Minimal");
    auto categories = std::make_unique<CCategories>();
    auto category = std::make_unique<CCategory>();
    category->setTitle("Without hatch");
    auto blocks = std::make_unique<CBlocks>();
    auto block = std::make_unique<CBlock>();
    block->setHandle("AB");
    blocks->addBlock(std::move(block));
    category->setBlocks(std::move(blocks));
    categories->add(std::move(category));
    report.setCategories(std::move(categories));
    report.serialize(path);

    const std::string text = xmltest::readFile(path);
    for (const char* absent : {"grPlotLayout", "grSaveCopyTo", "cHatch", "mbArea", "mbName", "mbCode", "mbSwap",
                               "hyperlinks", "assets", "layersOn", "grOutputPath", "grXMLOutputTo"}) {
        SCOPED_TRACE(absent);
        EXPECT_EQ(text.find(absent), std::string::npos);
    }
    CGraphicReport reread;
    ASSERT_TRUE(reread.deSerialize(path));
    EXPECT_EQ(reread.getPlotLayout(), "");
    EXPECT_EQ(reread.getSaveCopyTo(), "");
    ASSERT_NE(reread.getCategories(), nullptr);
    EXPECT_EQ(reread.getCategories()->getAt(0).getHatch(), nullptr);
    EXPECT_EQ(reread.getCategories()->getAt(0).getBlocks()->getAt(0).getArea(), 0.0);
    EXPECT_EQ(reread.getLayersOn(), nullptr);
    // Defaults were written and read back: plot centred and the three pie flags are on.
    EXPECT_EQ(reread.getPlotCentred(), 1);
    EXPECT_EQ(reread.getPieShowLabels(), 1);
}

TEST_F(GraphicReportDocument, HandWrittenDocumentReadsAsTheRulesSay)
{
    CGraphicReport report;
    ASSERT_TRUE(report.deSerialize(xmltest::fixture("report-handwritten.xml")));

    EXPECT_EQ(report.getID(), 0);             // "12a" is not numeric
    EXPECT_EQ(report.getTitle(), "Hand written");
    EXPECT_EQ(report.getOutputPath(), "");    // database-only: not part of the document
    EXPECT_EQ(report.getPlotCentred(), 0);    // "yes" is false
    EXPECT_EQ(report.getPieShowLabels(), 1);  // "true" is true
    EXPECT_EQ(report.getPieIgnoreEmptySegments(), 0);     // "TRUE" is false
    EXPECT_EQ(report.getPieShowLabelSegmentLines(), 1);   // missing: the default
    EXPECT_EQ(report.getPlotDevice(), 0);     // 7 is no device
    EXPECT_EQ(report.getPlotAreaType(), 4);
    EXPECT_EQ(report.getPlotMediaSize(), 0);  // 89 is out of range
    EXPECT_EQ(report.getPlotScaleType(), 20); // database id 19 is host scale 20
    EXPECT_DOUBLE_EQ(report.getTotalChildAreas(), 250.5);  // the leading number
    EXPECT_DOUBLE_EQ(report.getPieXYOffset(), 0.0);

    ASSERT_NE(report.getLayersOn(), nullptr);
    ASSERT_EQ(report.getLayersOn()->getCount(), 1);
    EXPECT_EQ(report.getLayersOn()->getAt(0).getName(), "AWALL");  // the slash is not allowed in layer names
    EXPECT_EQ(report.getLayersOn()->getAt(0).getDescription(), "Walls");

    ASSERT_NE(report.getCategories(), nullptr);
    ASSERT_EQ(report.getCategories()->getCount(), 2);
    const CCategory& meeting = report.getCategories()->getAt(0);
    EXPECT_EQ(meeting.getID(), -3);
    EXPECT_EQ(meeting.getTitle(), "Meeting rooms");
    ASSERT_NE(meeting.getHatch(), nullptr);
    EXPECT_EQ(meeting.getHatch()->getAngle(), 30);
    EXPECT_EQ(meeting.getHatch()->getScale(), 2);  // "2.7": the leading integer
    EXPECT_EQ(meeting.getHatch()->getPatternName(), "");
    EXPECT_TRUE(meeting.getHatch()->getColour() == rgb(0xFF, 0x80, 0x00));
    ASSERT_NE(meeting.getBlocks(), nullptr);
    const CBlock& block = meeting.getBlocks()->getAt(0);
    EXPECT_EQ(block.getHandle(), "3C4");
    EXPECT_DOUBLE_EQ(block.getArea(), 12.0);  // "12,5": the number stops at the comma
    // Replacement attributes in document order, each knowing which one it replaces.
    const std::vector<std::pair<int, std::string>> swaps = {{2, "Aux first"}, {0, "Name second"}};
    EXPECT_EQ(swapsOf(block), swaps);
    ASSERT_NE(meeting.getAssets(), nullptr);
    const CAsset& asset = meeting.getAssets()->getAt(0);
    EXPECT_EQ(asset.getLocationID(), 0);
    EXPECT_DOUBLE_EQ(asset.getPointX(), 1500.0);
    EXPECT_DOUBLE_EQ(asset.getPointY(), 7.0);
    EXPECT_EQ(asset.getHandle(), "4D5");

    EXPECT_EQ(report.getCategories()->getAt(1).getHatch(), nullptr);
    EXPECT_EQ(report.getCategories()->getAt(1).getBlocks(), nullptr);

    // Written back, each replacement text goes under the element of its own attribute.
    const std::string path = folder.path("rewritten.xml");
    report.serialize(path);
    const std::string text = xmltest::readFile(path);
    EXPECT_NE(text.find("<mbSwapName>Name second</mbSwapName>"), std::string::npos);
    EXPECT_NE(text.find("<mbSwapAux>Aux first</mbSwapAux>"), std::string::npos);
    EXPECT_LT(text.find("<mbSwapName>"), text.find("<mbSwapAux>"));
    EXPECT_NE(text.find("<cHatchColour>#FF8000</cHatchColour>"), std::string::npos);
}

TEST_F(GraphicReportDocument, FullPrecisionNumbersReadBackAsTheSameDouble)
{
    // The total and the pie offset travel at full precision: whatever double
    // is written, the text parses (by the C library, independently of the
    // reader) to that very double, and the reader gives it back too.
    const double cases[] = {0.1 + 0.2,
                            1e-300,
                            std::numeric_limits<double>::max(),
                            std::numeric_limits<double>::denorm_min(),
                            -2.5,
                            1234567.89,
                            1.0 / 3.0,
                            123456789012345680.0,
                            -0.0};
    for (double value : cases) {
        char label[64];
        std::snprintf(label, sizeof label, "%.17g", value);
        SCOPED_TRACE(label);
        CGraphicReport report;
        report.setTotalChildAreas(value);
        report.setPieXYOffset(-value);
        const std::string path = folder.path("numbers.xml");
        report.serialize(path);
        pugi::xml_document document;
        ASSERT_TRUE(CXMLUtilities().loadXMLDocument(document, path).ok);
        const char* total = document.document_element().child("grTotalChildAreas").text().get();
        const char* offset = document.document_element().child("grPieXYOffset").text().get();
        const double parsed = std::strtod(total, nullptr);
        EXPECT_EQ(std::memcmp(&value, &parsed, sizeof value), 0) << total;
        EXPECT_EQ(std::strtod(offset, nullptr), -value) << offset;
        CGraphicReport reread;
        ASSERT_TRUE(reread.deSerialize(path));
        EXPECT_EQ(reread.getTotalChildAreas(), value);
        EXPECT_EQ(std::signbit(reread.getTotalChildAreas()), std::signbit(value));
        EXPECT_EQ(reread.getPieXYOffset(), -value);
    }
}

TEST_F(GraphicReportDocument, BlockRecordsAreSpaceBlockRecordsCarryingTheirCategoryHatch)
{
    // The hatch elements come after the blocks in the second category and
    // are missing in the third: order does not matter, no hatch means none.
    const std::string path = folder.path("records.xml");
    xmltest::writeFile(path, R"(<?xml version="1.0"?>
<graphicReport xmlns="urn:x"><grTitle>R</grTitle><categories>
 <category><cTitle>A</cTitle><cHatchPattern>ANSI31</cHatchPattern><cHatchColour>#FF0000</cHatchColour>
  <cHatchScale>20</cHatchScale><cHatchAngle>45</cHatchAngle><cHatchLayer>GR-A</cHatchLayer>
  <zelkaBlocks><zelkaBlock><mbHandle>2F</mbHandle><mbArea>12.5</mbArea></zelkaBlock>
   <zelkaBlock><mbHandle>*</mbHandle></zelkaBlock></zelkaBlocks></category>
 <category><cTitle>B</cTitle><zelkaBlocks><zelkaBlock><mbHandle>a0</mbHandle></zelkaBlock></zelkaBlocks>
  <cHatchLayer>GR-B</cHatchLayer><cHatchPattern>SOLID</cHatchPattern><cHatchColour>#00ff00</cHatchColour>
  <cHatchScale>1</cHatchScale><cHatchAngle>0</cHatchAngle></category>
 <category><cTitle>C</cTitle><zelkaBlocks><zelkaBlock><mbHandle>B1</mbHandle></zelkaBlock></zelkaBlocks></category>
</categories></graphicReport>)");
    CGraphicReport report;
    ASSERT_TRUE(report.deSerialize(path));
    ASSERT_EQ(report.getCategories()->getCount(), 3);
    struct Case {
        int category, block;
        const char* handle;
        uint64_t hostHandle;
        const char* pattern;  // "" when no hatch is expected
        const char* layer;
        int red, green, blue, scale, angle;
    };
    const Case cases[] = {{0, 0, "2F", 0x2F, "ANSI31", "GR-A", 255, 0, 0, 20, 45},
                          {0, 1, "*", 0, "ANSI31", "GR-A", 255, 0, 0, 20, 45},
                          {1, 0, "a0", 0xA0, "SOLID", "GR-B", 0, 255, 0, 1, 0},
                          {2, 0, "B1", 0xB1, "", "", 0, 0, 0, 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.handle));
        CBlock& block = report.getCategories()->getAt(c.category).getBlocks()->getAt(c.block);
        EXPECT_EQ(block.getBlockKind(), BlockKind::Dwg);
        auto* record = dynamic_cast<CBlockDWG*>(&block);
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->getHandle(), c.handle);
        EXPECT_EQ(record->getBlockHandle().value(), c.hostHandle);
        if (*c.pattern == '\0') {
            EXPECT_EQ(record->getHatch(), nullptr);
            continue;
        }
        ASSERT_NE(record->getHatch(), nullptr);
        EXPECT_EQ(record->getHatch()->getPatternName(), c.pattern);
        EXPECT_EQ(record->getHatch()->getLayer(), c.layer);
        EXPECT_EQ(record->getHatch()->getScale(), c.scale);
        EXPECT_EQ(record->getHatch()->getAngle(), c.angle);
        EXPECT_EQ(record->getHatch()->getColour().red(), c.red);
        EXPECT_EQ(record->getHatch()->getColour().green(), c.green);
        EXPECT_EQ(record->getHatch()->getColour().blue(), c.blue);
        // Each record owns a copy: not the category's own object.
        EXPECT_NE(record->getHatch(), report.getCategories()->getAt(c.category).getHatch());
    }
    EXPECT_EQ(report.getCategories()->getAt(0).getBlocks()->getAt(0).getArea(), 12.5);
}

TEST_F(GraphicReportDocument, UnreadableFilesApplyAsNothingAndSayWhy)
{
    struct Case {
        std::string path;
        std::string expectedMessage;
    };
    const Case cases[] = {
        // "</grTitle" is followed on line 5 by "<", where ">" should be; column 3.
        {xmltest::fixture("report-broken.xml"), "line 5, column 3: "},
        {xmltest::fixture("report-wrong-root.xml"), "the root element is \"errors\", not \"graphicReport\""},
        {folder.path("missing.xml"), "cannot open the file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        xmltest::CommandLineCapture commandLine;
        CGraphicReport report;
        EXPECT_FALSE(report.deSerialize(c.path));
        EXPECT_EQ(commandLine.text().rfind("Unable to read graphic report " + c.path + ": ", 0), 0u)
            << commandLine.text();
        EXPECT_NE(commandLine.text().find(c.expectedMessage), std::string::npos) << commandLine.text();
        EXPECT_EQ(report.getTitle(), "");
        EXPECT_EQ(report.getID(), 0);
        EXPECT_EQ(report.getCategories(), nullptr);
        EXPECT_EQ(report.getPlotCentred(), 1);
    }
}

TEST_F(GraphicReportDocument, BadHatchColourRaisesTheColourErrorThroughTheReaders)
{
    const std::string path = folder.path("bad-colour.xml");
    xmltest::writeFile(path,
                       "<graphicReport xmlns=\"urn:zelkasystems:orvane:documentMonitor\"><categories><category>"
                       "<cHatchColour>#GG0000</cHatchColour></category></categories></graphicReport>");
    CGraphicReport report;
    try {
        report.deSerialize(path);
        FAIL() << "an invalid colour must raise";
    } catch (const CEXZelka& e) {
        std::vector<std::string> chain;
        for (const CEXZelka* level = &e; level; level = level->getInner())
            chain.push_back(level->getClass() + "::" + level->getProcSig());
        const std::vector<std::string> expectedTop = {
            "GraphicReport::CGraphicReport::deSerialize", "GraphicReport::CGraphicReport::deSerialize",
            "Category::CCategories::deSerialize", "Category::CCategory::deSerialize"};
        ASSERT_GE(chain.size(), expectedTop.size() + 1);
        EXPECT_EQ(std::vector<std::string>(chain.begin(), chain.begin() + 4), expectedTop);
        const std::string description = e.innermost().getDescription();
        EXPECT_EQ(description.rfind("Invalid Hex Colour - ", 0), 0u) << description;
        EXPECT_NE(description.find("GG0000"), std::string::npos) << description;
    }
}

TEST(PlotIdConversions, KeepTheirRangesAndShiftLargeScales)
{
    EXPECT_EQ(CGraphicReport::convertToPlotDeviceID(3), 3);
    EXPECT_EQ(CGraphicReport::convertToPlotDeviceID(4), 0);
    EXPECT_EQ(CGraphicReport::convertToPlotDeviceID(-1), 0);
    EXPECT_EQ(CGraphicReport::convertToPlotAreaTypeID(0), 0);
    EXPECT_EQ(CGraphicReport::convertToPlotAreaTypeID(5), 5);
    EXPECT_EQ(CGraphicReport::convertToPlotAreaTypeID(6), 0);
    EXPECT_EQ(CGraphicReport::convertToMediaSizeID(88), 88);
    EXPECT_EQ(CGraphicReport::convertToMediaSizeID(89), 0);
    EXPECT_EQ(CGraphicReport::convertToPlotScaleTypeID(18), 18);
    EXPECT_EQ(CGraphicReport::convertToPlotScaleTypeID(19), 20);
    EXPECT_EQ(CGraphicReport::convertToPlotScaleTypeID(33), 34);
    EXPECT_EQ(CGraphicReport::convertToPlotScaleTypeID(34), 0);
    // Every scale a document can carry survives write and read.
    for (int id = 0; id <= 33; ++id) {
        const int scale = CGraphicReport::convertToPlotScaleTypeID(id);
        EXPECT_EQ(CGraphicReport::convertToPlotScaleTypeID(CGraphicReport::plotScaleTypeIDFromScale(scale)), scale)
            << id;
    }
}

TEST_F(GraphicReportDocument, EveryTruncationOfADocumentReadsOrIsReportedWithoutHarm)
{
    // A file cut off anywhere (a copy interrupted, a disk full) must either
    // read as far as it is complete or be reported; it must never crash or
    // leave half a report behind.
    const std::string text = xmltest::readFile(xmltest::fixture("report-expected.xml"));
    ASSERT_GT(text.size(), 1000u);
    const std::string path = folder.path("cut.xml");
    int reported = 0;
    for (size_t length = 0; length < text.size(); length += 11) {
        xmltest::writeFile(path, text.substr(0, length));
        xmltest::CommandLineCapture commandLine;
        CGraphicReport report;
        const bool read = report.deSerialize(path);
        SCOPED_TRACE(length);
        ASSERT_FALSE(read);  // only the whole text closes the root element
        EXPECT_EQ(commandLine.text().rfind("Unable to read graphic report " + path + ": ", 0), 0u);
        EXPECT_EQ(report.getTitle(), "");
        EXPECT_EQ(report.getCategories(), nullptr);
        ++reported;
    }
    EXPECT_GT(reported, 90);
    xmltest::writeFile(path, text);
    CGraphicReport whole;
    EXPECT_TRUE(whole.deSerialize(path));
}
