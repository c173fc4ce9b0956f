// The exception family: chain texts, the wrapping convention, display through
// the host's message box and the per-item error list.

#include <gtest/gtest.h>

#include <stdexcept>

#include "host/ed/acutPrintf.h"
#include "host/ui/MessageBox.h"
#include "infra/ZelkaExceptions.h"

namespace {

struct Box {
    std::string text;
    std::string caption;
    unsigned type;
};

// Captures message boxes and command-line text while it lives.
class HostCapture {
public:
    HostCapture()
    {
        previousBox_ = setMessageBoxPresenter([this](const std::string& text, const std::string& caption, unsigned type) {
            boxes.push_back({text, caption, type});
            return IDOK;
        });
        previousSink_ = setCommandLineSink([this](const std::string& text) { printed += text; });
    }
    ~HostCapture()
    {
        setMessageBoxPresenter(previousBox_);
        setCommandLineSink(previousSink_);
    }
    HostCapture(const HostCapture&) = delete;
    HostCapture& operator=(const HostCapture&) = delete;

    std::vector<Box> boxes;
    std::string printed;

private:
    MessageBoxPresenter previousBox_;
    CommandLineSink previousSink_;
};

// Three operations below a command, in three source files; the innermost
// raises a handle error.
void openReference()
{
    throw CEXInvalidHandle(ZELKA_MODULE_TITLE, "/src/spaces/BlockDWG.cpp", "CBlockDWG::openReference", "1A2F");
}

double getArea()
{
    return zelkaOperation("/src/spaces/BlockDWG.cpp", "CBlockDWG::getArea", [&] {
        openReference();
        return 1.0;
    });
}

void recalculate()
{
    zelkaOperation("/src/spaces/Blocks.cpp", "CBlocks::recalculate", [&] { getArea(); });
}

void updateSpaces()
{
    zelkaOperation("/src/module/AcadDrawing.cpp", "CAcadDrawing::updateSpaces", [&] { recalculate(); });
}

// Counts live instances, to see that a chain frees each level once.
class CEXCounted : public CEXZelka {
public:
    CEXCounted(std::unique_ptr<CEXZelka> inner) : CEXZelka("t", "Counted.cpp", "CCounted::op", 0, std::move(inner))
    {
        ++live;
    }
    CEXCounted(const CEXCounted& other) : CEXZelka(other) { ++live; }
    ~CEXCounted() override { --live; }
    ZELKA_EXCEPTION_CLONE(CEXCounted)
    static inline int live = 0;
};

}  // namespace

TEST(ZelkaExceptions, ThreeLevelsBelowACommandShowTheWholeChain)
{
    HostCapture host;
    bool ok = zelkaCommand("zelkaUpdateSpaces", [] { updateSpaces(); });
    EXPECT_FALSE(ok);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].caption, "Error Detected.");
    EXPECT_EQ(host.boxes[0].type, 16u);
    EXPECT_EQ(host.boxes[0].text,
              "blockEdit::zelkaUpdateSpaces\n"
              "\tAcadDrawing::CAcadDrawing::updateSpaces\n"
              "\t\tBlocks::CBlocks::recalculate\n"
              "\t\t\tBlockDWG::CBlockDWG::getArea\n"
              "\t\t\t\tBlockDWG::CBlockDWG::openReference\n"
              "\n"
              "Invalid Handle - 1A2F");
    EXPECT_EQ(host.printed, "");
}

TEST(ZelkaExceptions, ThreeLevelChainPrintedWithoutClass)
{
    try {
        recalculate();
        FAIL() << "no exception";
    } catch (const CEXZelka& e) {
        EXPECT_EQ(e.printChainText(),
                  "CBlocks::recalculate\n\tCBlockDWG::getArea\n\t\tCBlockDWG::openReference\n\nInvalid Handle - 1A2F");
        EXPECT_EQ(e.getDescription(), "unhandled error");
        EXPECT_EQ(e.getCode(), 0);
        EXPECT_EQ(e.getSource(), ZELKA_MODULE_TITLE);
        EXPECT_EQ(e.innermost().getDescription(), "Invalid Handle - 1A2F");

        HostCapture host;
        e.printErrorChain();
        EXPECT_EQ(host.printed,
                  "CBlocks::recalculate\n\tCBlockDWG::getArea\n\t\tCBlockDWG::openReference\n\nInvalid Handle - 1A2F\n");
        EXPECT_TRUE(host.boxes.empty());
    }
}

TEST(ZelkaExceptions, SeverityTexts)
{
    auto severity = [](int level) {
        return CEXUnhandled::fromComponent("Db.cpp", "CDb::run", "Driver", "failed", level).severityText();
    };
    EXPECT_EQ(severity(0), "low");
    EXPECT_EQ(severity(1), "medium");
    EXPECT_EQ(severity(2), "high");
    EXPECT_EQ(severity(3), "high");
    EXPECT_EQ(severity(-1), "high");
    EXPECT_EQ(CEXCustom("s", "a.cpp", "p", "m", 0, nullptr).getSeverity(), 2);
}

TEST(ZelkaExceptions, WrappingConventionForEachKindOfFailure)
{
    // A host status raised as a value.
    try {
        zelkaOperation("/src/spaces/Attributes.cpp", "CAttributes::apply",
                       [] { raiseHostStatus(Acad::eOnLockedLayer, 88, "level2.dxf"); });
        FAIL();
    } catch (const CEXZelka& e) {
        EXPECT_EQ(e.errorChainText(),
                  "Attributes::CAttributes::apply\n\nThe following AutoCAD error occurred on line#88: "
                  "eOnLockedLayer, whilst processing drawing level2.dxf.");
        EXPECT_EQ(e.getCode(), 87);
        EXPECT_EQ(e.getInner(), nullptr);
    }
    // A standard exception keeps its text.
    try {
        zelkaOperation("/src/x/Reader.cpp", "CReader::read", [] { throw std::out_of_range("index 7 past 3"); });
        FAIL();
    } catch (const CEXZelka& e) {
        EXPECT_EQ(e.errorChainText(), "Reader::CReader::read\n\nindex 7 past 3");
    }
    // Anything else is a bare unhandled error.
    try {
        zelkaOperation("/src/x/Reader.cpp", "CReader::read", [] { throw 42; });
        FAIL();
    } catch (const CEXZelka& e) {
        EXPECT_EQ(e.errorChainText(), "Reader::CReader::read\n\nunhandled error");
    }
    // Success passes the result through untouched.
    EXPECT_EQ(zelkaOperation("Reader.cpp", "CReader::count", [] { return 12; }), 12);
}

TEST(ZelkaExceptions, CommandLevelWrapsEveryKindOfFailure)
{
    HostCapture host;
    EXPECT_TRUE(zelkaCommand("zelkaBlockEdit", [] {}));
    EXPECT_FALSE(zelkaCommand("zelkaBlockEdit", [] { throw std::runtime_error("dialog template missing"); }));
    EXPECT_FALSE(zelkaCommand("zelkaRefreshTags", [] { raiseHostStatus(Acad::eWasErased, 12); }));
    EXPECT_FALSE(zelkaCommand("zelkaRefreshTags", [] { throw "text"; }));
    ASSERT_EQ(host.boxes.size(), 3u);
    EXPECT_EQ(host.boxes[0].text, "blockEdit::zelkaBlockEdit\n\ndialog template missing");
    EXPECT_EQ(host.boxes[1].text,
              "blockEdit::zelkaRefreshTags\n\nThe following AutoCAD error occurred on line#12: eWasErased");
    EXPECT_EQ(host.boxes[2].text, "blockEdit::zelkaRefreshTags\n\nunhandled error");
}

// A pie chart that cannot be drawn is a medium failure: the report goes on.
TEST(ZelkaExceptions, PieChartFailuresAreOfMediumSeverity)
{
    CEXSegmentAreaOverTotal pie(ZELKA_MODULE_TITLE, "PieChart.cpp", "CPieChart::percentages", 250.125, 99.999);
    EXPECT_EQ(pie.getSeverity(), 1);
    EXPECT_EQ(pie.severityText(), "medium");
}

TEST(ZelkaExceptions, ConnectionErrorsMakeAChainWithTheFirstInnermost)
{
    CEXConnection e(ZELKA_MODULE_TITLE, "/src/database/DataServices.cpp", "CDataServices::connect",
                    "Driver=PostgreSQL;Server=localhost;Database=ipr",
                    {"could not connect to server", "timeout expired", "login failed"});
    EXPECT_EQ(e.getDescription(),
              "An error occurred whilst connecting to Driver=PostgreSQL;Server=localhost;Database=ipr");
    EXPECT_EQ(e.getConnectionTarget(), "Driver=PostgreSQL;Server=localhost;Database=ipr");
    EXPECT_EQ(e.printChainText(),
              "CDataServices::connect\n\tCDataServices::connect\n\t\tCDataServices::connect\n\t\t\tCDataServices::"
              "connect\n\ncould not connect to server");
    ASSERT_NE(e.getInner(), nullptr);
    EXPECT_EQ(e.getInner()->getDescription(), "login failed");
    EXPECT_EQ(e.getInner()->getInner()->getDescription(), "timeout expired");

    CEXConnection quiet(ZELKA_MODULE_TITLE, "DataServices.cpp", "CDataServices::connect", "ipr", {});
    EXPECT_EQ(quiet.errorChainText(), "DataServices::CDataServices::connect\n\nAn error occurred whilst connecting to ipr");
}

TEST(ZelkaExceptions, CopiesAreDeepAndChainsFreeEachLevelOnce)
{
    CEXCounted::live = 0;
    {
        auto chain = std::make_unique<CEXCounted>(std::make_unique<CEXCounted>(std::make_unique<CEXCounted>(nullptr)));
        EXPECT_EQ(CEXCounted::live, 3);
        CEXZelka copy(*chain);
        EXPECT_EQ(CEXCounted::live, 5);
        EXPECT_NE(copy.getInner(), chain->getInner());
        EXPECT_NE(dynamic_cast<const CEXCounted*>(copy.getInner()), nullptr);
        copy.deleteChain();
        EXPECT_EQ(copy.getInner(), nullptr);
        EXPECT_EQ(CEXCounted::live, 3);
        CEXZelka assigned("s", "a.cpp", "p", 0, nullptr);
        assigned = *chain;
        EXPECT_EQ(CEXCounted::live, 5);
        EXPECT_EQ(assigned.printChainText(), "CCounted::op\n\tCCounted::op\n\t\tCCounted::op\n\n");
    }
    EXPECT_EQ(CEXCounted::live, 0);
}

TEST(ZelkaExceptionList, CountsDisplaysAndPrintsItsItems)
{
    HostCapture host;
    CZelkaExceptions list;
    EXPECT_EQ(list.getCount(), 0);
    list.add(CEXInvalidHandle(ZELKA_MODULE_TITLE, "BlockDWG.cpp", "CBlockDWG::open", "A1"));
    list.add(std::make_unique<CEXCustom>(ZELKA_MODULE_TITLE, "Blocks.cpp", "CBlocks::sync", "no attributes", 0,
                                         nullptr));
    list.add(CEXUnhandled(ZELKA_MODULE_TITLE, "Hatch.cpp", "CHatch::apply", Acad::eHatchTooDense, 40, "", nullptr));
    EXPECT_EQ(list.getCount(), 3);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list.getAt(1).getDescription(), "no attributes");

    list.displayAll();
    ASSERT_EQ(host.boxes.size(), 3u);
    EXPECT_EQ(host.boxes[0].text, "BlockDWG::CBlockDWG::open\n\nInvalid Handle - A1");
    EXPECT_EQ(host.boxes[1].text, "Blocks::CBlocks::sync\n\nno attributes");
    EXPECT_EQ(host.boxes[2].text,
              "Hatch::CHatch::apply\n\nThe following AutoCAD error occurred on line#40: eHatchTooDense");
    for (const Box& box : host.boxes) {
        EXPECT_EQ(box.caption, "Error Detected.");
        EXPECT_EQ(box.type, 16u);
    }

    list.printAll();
    EXPECT_EQ(host.printed,
              "CBlockDWG::open\n\nInvalid Handle - A1\n"
              "CBlocks::sync\n\nno attributes\n"
              "CHatch::apply\n\nThe following AutoCAD error occurred on line#40: eHatchTooDense\n");

    list.deleteObjects();
    EXPECT_EQ(list.size(), 0u);
    EXPECT_EQ(list.getCount(), 3);
    EXPECT_THROW(list.getAt(0), std::out_of_range);
}
