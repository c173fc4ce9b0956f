// The module's plot: the utilities' conversions and file-name rule, and
// CAcadDrawing::plot on both host paths (AutoCAD: the host's plot engine;
// BricsCAD: the host's _EXPORT command), checked on the files they write.
#include <gtest/gtest.h>

#include "host/db/AcDbDatabase.h"
#include "host/ed/AcApDocManager.h"
#include "host/ed/AcDbHostApplicationServices.h"
#include "host/ed/Editor.h"
#include "host/ed/acutPrintf.h"
#include "host/plot/ExportCommand.h"
#include "infra/ZelkaExceptions.h"
#include "module/AcadDrawing.h"
#include "spaces/AcadUtilities.h"
#include "tests/plot/PlotTestSupport.h"

namespace fs = std::filesystem;
using namespace plottest;

TEST(PlotConversions, FileNamesTakeTheDeviceExtension)
{
    struct Case {
        const char* name;
        int device;
        const char* expected;
    };
    const Case cases[] = {
        {"report", 1, "report.pdf"},     {"report.dwf", 1, "report.pdf"}, {"report.pdf", 1, "report.pdf"},
        {"a.b.c", 3, "a.b.png"},         {"plan", 2, "plan.jpg"},         {"plan.png", 0, "plan.dwf"},
        {"plan", 9, "plan.dwf"},         {"plan.PDF", 1, "plan.pdf"},     {"x.", 3, "x.png"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CAcadUtilities::checkPlotFileExtension(c.name, c.device), c.expected);
    }
    try {
        CAcadUtilities::checkPlotFileExtension("", 1);
        ADD_FAILURE() << "an empty plot file name was accepted";
    } catch (const CEXZelka& e) {
        EXPECT_NE(dynamic_cast<const CEXInvalidPlotFilename*>(&e.innermost()), nullptr);
        EXPECT_EQ(e.innermost().getDescription(), "Invalid Plot Filename - ''");
        EXPECT_EQ(e.innermost().getClass(), "AcadUtilities");
    }
}

TEST(PlotConversions, IdsBecomeHostValues)
{
    struct Case {
        int id, device, area, media, scale;
    };
    const Case cases[] = {
        {-1, 0, 0, 0, 0}, {0, 0, 0, 0, 0},   {1, 1, 1, 1, 1},   {3, 3, 3, 3, 3},    {4, 0, 4, 4, 4},
        {5, 0, 5, 5, 5},  {6, 0, 0, 6, 6},   {18, 0, 0, 18, 18}, {19, 0, 0, 19, 20}, {33, 0, 0, 33, 34},
        {34, 0, 0, 34, 0}, {88, 0, 0, 88, 0}, {89, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(CAcadUtilities::convertToPlotDeviceID(c.id), c.device);
        EXPECT_EQ(CAcadUtilities::convertToPlotAreaID(c.id), c.area);
        EXPECT_EQ(CAcadUtilities::convertToMediaSizeID(c.id), c.media);
        EXPECT_EQ(CAcadUtilities::convertToScaleID(c.id), c.scale);
    }
    EXPECT_EQ(CAcadUtilities::convertMediaSize(0), "ISO_A1_(841.00_x_594.00_MM)");
    EXPECT_EQ(CAcadUtilities::convertMediaSize(89), "ISO_A1_(841.00_x_594.00_MM)");
    EXPECT_EQ(CAcadUtilities::convertMediaSize(4), "ISO_A3_(420.00_x_297.00_MM)");
    EXPECT_EQ(CAcadUtilities::convertMediaSize(39), "ANSI_A_(11.00_x_8.50_Inches)");
    EXPECT_EQ(CAcadUtilities::convertMediaSize(88), "ARCH_full_bleed_A_(9.00_x_12.00_Inches)");
    const char* devices[][2] = {{"DWF6 ePlot.pc3", ".dwf"}, {"DWG To PDF.pc3", ".pdf"},
                                {"PublishToWeb JPG.pc3", ".jpg"}, {"PublishToWeb PNG.pc3", ".png"}};
    for (int d = 0; d < 4; ++d) {
        EXPECT_EQ(CAcadUtilities::convertPlotDevice(d), devices[d][0]);
        EXPECT_EQ(CAcadUtilities::plotExtension(d), devices[d][1]);
    }
}

namespace {

class AcadDrawingPlot : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        dir_ = dxftest::tempDir(std::string("acad-plot-") + GetParam());
        file_ = fixture(dir_, "entities");
        ASSERT_EQ(acDocManagerPtr()->appContextOpenDocument(file_.c_str()), Acad::eOk)
            << acDocManagerPtr()->lastOpenError();
        acdbHostApplicationServices()->setProduct(GetParam());
        acedRegisterExportCommands();
        previousSink_ = setCommandLineSink([this](const std::string& text) { transcript_ += text; });
        drawing_.setDocument(acDocManagerPtr()->curDocument());
        drawing_.setFullPath(file_.string());
        drawing_.setOpen(true);
        drawing_.setKeepOpen(true);
    }
    void TearDown() override
    {
        if (previousSink_)
            setCommandLineSink(previousSink_);
        acedUnregisterExportCommands();
        acdbHostApplicationServices()->setProduct("BricsCAD");
        Editor::instance().clearCommandFailed();
        while (AcApDocument* open = acDocManagerPtr()->curDocument()) {
            while (open->lockCount() > 0)
                acDocManagerPtr()->unlockDocument(open);
            acDocManagerPtr()->closeDocument(open);
        }
    }
    AcDbDatabase* db() { return acDocManagerPtr()->curDocument()->database(); }

    fs::path dir_, file_;
    CAcadDrawing drawing_;
    std::string transcript_;
    CommandLineSink previousSink_;
};

}  // namespace

TEST_P(AcadDrawingPlot, PlotsTheLayoutWithTheGivenMediaScaleAndArea)
{
    struct Case {
        const char* name;
        int device, media;
        const char* file;
        double widthPt, heightPt;
        bool labelOnSheet;  // 1:1 on inch paper is an inch per unit: the room is off the sheet
    };
    // Media ids: 4 ISO A3 landscape, 7 ISO A4 portrait, 39 ANSI A landscape.
    const Case cases[] = {
        {"report", 1, 4, "report.pdf", 1190.55, 841.89, true},
        {"report.dwf", 1, 7, "report.pdf", 595.28, 841.89, true},
        {"sheet.pdf", 1, 39, "sheet.pdf", 792.0, 612.0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string layout;
        std::string name = c.name;
        fs::remove(dir_ / c.file);
        EXPECT_EQ(drawing_.plot(db(), layout, dir_.string() + "/", name, c.device, true, true, 16, 1, c.media, true),
                  3);
        EXPECT_EQ(name, c.file);
        EXPECT_EQ(layout, "Model");
        const std::string size = pdfinfo(dir_ / c.file, "Page size");
        double w = 0, h = 0;
        ASSERT_EQ(std::sscanf(size.c_str(), "%lf x %lf", &w, &h), 2) << size << transcript_;
        EXPECT_NEAR(w, c.widthPt, 0.5);
        EXPECT_NEAR(h, c.heightPt, 0.5);
        const bool label =
            dxftest::capture("pdftotext '" + (dir_ / c.file).string() + "' -").find("R101") != std::string::npos;
        EXPECT_EQ(label, c.labelOnSheet);
        // BricsCAD's path prints the full path and runs _EXPORT; AutoCAD's uses the plot engine itself.
        const std::string full = dir_.string() + "/" + c.file;
        const bool exported = transcript_.find("Plotted layout \"Model\" to " + full) != std::string::npos;
        EXPECT_EQ(exported, std::string(GetParam()) == "BricsCAD") << transcript_;
        if (exported) {
            EXPECT_NE(transcript_.find(full + "\n\n"), std::string::npos);
        }
        transcript_.clear();
    }
    // A PNG of ISO A4 landscape (media 6) at 150 dpi.
    std::string layout, name = "plan";
    EXPECT_EQ(drawing_.plot(db(), layout, dir_.string(), name, 3, true, true, 16, 1, 6, true), 3);
    const Image png = readPng(dir_ / "plan.png");
    EXPECT_EQ(png.width, 1754);
    EXPECT_EQ(png.height, 1240);
}

TEST_P(AcadDrawingPlot, MissingFolderIsEightAndAClosedDrawingPlotsNothing)
{
    std::string layout, name = "x";
    EXPECT_EQ(drawing_.plot(db(), layout, (dir_ / "no-such-folder/").string(), name, 1, true, true, 16, 1, 4, true), 8);
    EXPECT_EQ(name, "x.pdf");
    CAcadDrawing closed;
    std::string other = "y";
    EXPECT_NE(closed.plot(db(), layout, dir_.string(), other, 1, true, true, 16, 1, 4, true), 3);
    EXPECT_FALSE(fs::exists(dir_ / "y.pdf"));
}

INSTANTIATE_TEST_SUITE_P(Hosts, AcadDrawingPlot, ::testing::Values("AutoCAD", "BricsCAD"));
