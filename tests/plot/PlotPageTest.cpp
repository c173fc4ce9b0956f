// Page size, scale, placement and devices of plots: every media the host
// offers checked by a PDF reader (pdfinfo), every standard scale checked on
// the frame and some on the drawn image, paper-space viewports, PDF text,
// JPG and SVG output, and the DWF refusal.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <regex>

#include "host/db/AcDbCircle.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbOpen.h"
#include "host/db/AcDbPolyline.h"
#include "host/db/AcDbText.h"
#include "host/db/SafeFileReplace.h"
#include "host/plot/PlotEngine.h"
#include "tests/plot/PlotTestSupport.h"

namespace fs = std::filesystem;
using namespace plottest;

namespace {

// A drawing with one closed square of 100 units from (0,0), made by ezdxf,
// its model layout without unprintable margins.
class PlotPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = dxftest::tempDir("plot-page");
        const fs::path dxf = dir_ / "square.dxf";
        dxftest::ezdxfFixture("square", dxf);
        ASSERT_EQ(db_.readDxfFile(dxf.c_str()), Acad::eOk) << db_.lastError();
        acdbSetWorkingDatabase(&db_);
    }
    void TearDown() override { acdbSetWorkingDatabase(nullptr); }

    PlotFrame modelFrame()
    {
        PlotEngine engine;
        PlotFrame frame;
        AcDbObjectPointer<AcDbLayout> layout(acdbLayoutManager()->findLayoutNamed("Model"), AcDb::kForRead);
        EXPECT_TRUE(engine.layoutFrame(db_, *layout.object(), frame)) << engine.message();
        return frame;
    }

    fs::path dir_;
    AcDbDatabase db_;
};

// Width and height in millimetres from a media name, read here with a pattern.
void sizeFromName(const std::string& media, double& w, double& h)
{
    static const std::regex pattern(R"(\(([0-9.]+)_x_([0-9.]+)_(MM|Inches)\)$)");
    std::smatch m;
    ASSERT_TRUE(std::regex_search(media, m, pattern)) << media;
    const double unit = m[3] == "MM" ? 1.0 : 25.4;
    w = std::stod(m[1]) * unit;
    h = std::stod(m[2]) * unit;
}

}  // namespace

TEST_F(PlotPageTest, EveryMediaGivesItsPageSizeInThePdf)
{
    std::vector<std::string> media;
    {
        AcDbObjectPointer<AcDbLayout> layout(acdbLayoutManager()->findLayoutNamed("Model"), AcDb::kForWrite);
        ASSERT_EQ(acdbPlotSettingsValidator()->setPlotCfgName(layout.object(), "DWG To PDF.pc3"), Acad::eOk);
        acdbPlotSettingsValidator()->canonicalMediaNameList(layout.object(), media);
    }
    ASSERT_EQ(media.size(), 89u);  // ids 0 to 88
    for (const std::string& name : media) {
        SCOPED_TRACE(name);
        setUpLayout("Model", "DWG To PDF.pc3", name.c_str(), AcDbPlotSettings::kExtents, AcDbPlotSettings::kScaleToFit,
                    true);
        const fs::path pdf = dir_ / "media.pdf";
        PlotEngine engine;
        ASSERT_TRUE(engine.plot(db_, "Model", pdf.string())) << engine.message();
        double w = 0, h = 0;
        sizeFromName(name, w, h);
        // "Page size:      841.89 x 595.276 pts (A4)"
        const std::string size = pdfinfo(pdf, "Page size");
        double pw = 0, ph = 0;
        ASSERT_EQ(std::sscanf(size.c_str(), "%lf x %lf", &pw, &ph), 2) << size;
        EXPECT_NEAR(pw, w * 72.0 / 25.4, 0.5);
        EXPECT_NEAR(ph, h * 72.0 / 25.4, 0.5);
    }
}

TEST_F(PlotPageTest, EveryStandardScaleGivesItsPaperUnitsPerDrawingUnit)
{
    // Paper millimetres per drawing unit on ISO A0 (millimetre paper), by the scale's name.
    struct Case {
        AcDbPlotSettings::StdScaleType type;
        const char* name;
        double mmPerUnit;
    };
    const double inchFoot = 1.0 / 12.0;  // an inch of paper per foot (12 units) of drawing, in paper units per unit
    const Case cases[] = {
        {AcDbPlotSettings::k1_128in_1ft, "1/128\" = 1'", inchFoot / 128},
        {AcDbPlotSettings::k1_64in_1ft, "1/64\" = 1'", inchFoot / 64},
        {AcDbPlotSettings::k1_32in_1ft, "1/32\" = 1'", inchFoot / 32},
        {AcDbPlotSettings::k1_16in_1ft, "1/16\" = 1'", inchFoot / 16},
        {AcDbPlotSettings::k3_32in_1ft, "3/32\" = 1'", inchFoot * 3 / 32},
        {AcDbPlotSettings::k1_8in_1ft, "1/8\" = 1'", inchFoot / 8},
        {AcDbPlotSettings::k3_16in_1ft, "3/16\" = 1'", inchFoot * 3 / 16},
        {AcDbPlotSettings::k1_4in_1ft, "1/4\" = 1'", inchFoot / 4},
        {AcDbPlotSettings::k3_8in_1ft, "3/8\" = 1'", inchFoot * 3 / 8},
        {AcDbPlotSettings::k1_2in_1ft, "1/2\" = 1'", inchFoot / 2},
        {AcDbPlotSettings::k3_4in_1ft, "3/4\" = 1'", inchFoot * 3 / 4},
        {AcDbPlotSettings::k1in_1ft, "1\" = 1'", inchFoot},
        {AcDbPlotSettings::k3in_1ft, "3\" = 1'", inchFoot * 3},
        {AcDbPlotSettings::k6in_1ft, "6\" = 1'", inchFoot * 6},
        {AcDbPlotSettings::k1ft_1ft, "1' = 1'", 1.0},
        {AcDbPlotSettings::k1_1, "1:1", 1.0},
        {AcDbPlotSettings::k1_2, "1:2", 0.5},
        {AcDbPlotSettings::k1_4, "1:4", 0.25},
        {AcDbPlotSettings::k1_5, "1:5", 0.2},
        {AcDbPlotSettings::k1_8, "1:8", 0.125},
        {AcDbPlotSettings::k1_10, "1:10", 0.1},
        {AcDbPlotSettings::k1_16, "1:16", 0.0625},
        {AcDbPlotSettings::k1_20, "1:20", 0.05},
        {AcDbPlotSettings::k1_30, "1:30", 1.0 / 30},
        {AcDbPlotSettings::k1_40, "1:40", 0.025},
        {AcDbPlotSettings::k1_50, "1:50", 0.02},
        {AcDbPlotSettings::k1_100, "1:100", 0.01},
        {AcDbPlotSettings::k2_1, "2:1", 2.0},
        {AcDbPlotSettings::k4_1, "4:1", 4.0},
        {AcDbPlotSettings::k8_1, "8:1", 8.0},
        {AcDbPlotSettings::k10_1, "10:1", 10.0},
        {AcDbPlotSettings::k100_1, "100:1", 100.0},
        {AcDbPlotSettings::k1000_1, "1000:1", 1000.0},
        {AcDbPlotSettings::k1and1_2in_1ft, "1 1/2\" = 1'", inchFoot * 1.5},
        // Scale to fit: the 100-unit square on the 841 mm side of A0 portrait.
        {AcDbPlotSettings::kScaleToFit, "fit", 8.41},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setUpLayout("Model", "DWG To PDF.pc3", "ISO_A0_(841.00_x_1189.00_MM)", AcDbPlotSettings::kExtents, c.type,
                    true);
        const PlotFrame frame = modelFrame();
        EXPECT_NEAR(frame.scale(), c.mmPerUnit, 1e-9 * c.mmPerUnit);
        EXPECT_DOUBLE_EQ(frame.pageWidth(), 841.0);
        EXPECT_DOUBLE_EQ(frame.pageHeight(), 1189.0);
        // Centred: the square's centre (50, 50) is the page's centre.
        double px, py;
        frame.toPaper(50, 50, px, py);
        EXPECT_NEAR(px, 841.0 / 2, 1e-6);
        EXPECT_NEAR(py, 1189.0 / 2, 1e-6);
    }
    // Inch paper: 1:1 is an inch of paper per drawing unit.
    setUpLayout("Model", "DWG To PDF.pc3", "ANSI_A_(11.00_x_8.50_Inches)", AcDbPlotSettings::kExtents,
                AcDbPlotSettings::k1_10, true);
    EXPECT_NEAR(modelFrame().scale(), 2.54, 1e-12);
}

TEST_F(PlotPageTest, ScaleOffsetAndRotationPlaceTheSquareOnTheImage)
{
    // A4 landscape PNG at 150 dpi; the square's ink box in pixels against arithmetic.
    struct Case {
        const char* what;
        AcDbPlotSettings::StdScaleType scale;
        bool centred;
        double originX, originY;                    // mm, when not centred
        AcDbPlotSettings::PlotRotation rotation;
        double left, bottom, side;                  // expected square on the page, mm
    };
    const Case cases[] = {
        {"1:1 centred", AcDbPlotSettings::k1_1, true, 0, 0, AcDbPlotSettings::k0degrees, 98.5, 55, 100},
        {"1:2 centred", AcDbPlotSettings::k1_2, true, 0, 0, AcDbPlotSettings::k0degrees, 123.5, 80, 50},
        {"1:1 at offset 20,30", AcDbPlotSettings::k1_1, false, 20, 30, AcDbPlotSettings::k0degrees, 20, 30, 100},
        {"2:1 is larger than the sheet: clipped, centred", AcDbPlotSettings::k2_1, true, 0, 0,
         AcDbPlotSettings::k0degrees, 48.5, 5, 200},
        {"fit, turned a quarter", AcDbPlotSettings::kScaleToFit, true, 0, 0, AcDbPlotSettings::k90degrees, 43.5, 0,
         210},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        setUpLayout("Model", "PublishToWeb PNG.pc3", "ISO_A4_(297.00_x_210.00_MM)", AcDbPlotSettings::kExtents,
                    c.scale, c.centred);
        {
            AcDbObjectPointer<AcDbLayout> layout(acdbLayoutManager()->findLayoutNamed("Model"), AcDb::kForWrite);
            ASSERT_EQ(acdbPlotSettingsValidator()->setPlotOrigin(layout.object(), c.originX, c.originY), Acad::eOk);
            ASSERT_EQ(acdbPlotSettingsValidator()->setPlotRotation(layout.object(), c.rotation), Acad::eOk);
        }
        const fs::path png = dir_ / "square.png";
        PlotEngine engine;
        ASSERT_TRUE(engine.plot(db_, "Model", png.string())) << engine.message();
        const Image image = readPng(png);
        ASSERT_EQ(image.width, 1754);
        ASSERT_EQ(image.height, 1240);
        const double k = 150.0 / 25.4;
        const InkBox box = inkBoxIn(image, 0, 0, image.width, image.height);
        ASSERT_GT(box.count, 0);
        const double right = std::min(c.left + c.side, 297.0), top = std::min(c.bottom + c.side, 210.0);
        const double left = std::max(c.left, 0.0), bottom = std::max(c.bottom, 0.0);
        if (c.left >= 0) {
            EXPECT_NEAR(box.x0, left * k, 2);
        }
        if (c.left + c.side <= 297) {
            EXPECT_NEAR(box.x1, right * k, 2);
        }
        if (c.bottom + c.side <= 210) {
            EXPECT_NEAR(box.y0, (210 - top) * k, 2);
        }
        if (c.bottom > 0) {
            EXPECT_NEAR(box.y1, (210 - bottom) * k, 2);
        }
    }
}

TEST_F(PlotPageTest, PdfHoldsTextAsTextAndJpgAndSvgAreReadable)
{
    {
        AcDbBlockTableRecord* space = nullptr;
        ASSERT_EQ(acdbOpenObject(space, db_.modelSpaceId(), AcDb::kForWrite), Acad::eOk);
        AcDbText* text = new AcDbText(AcGePoint3d(10, 40, 0), "Room 101 Комната", AcDbObjectId::kNull, 5.0);
        AcDbObjectId id;
        ASSERT_EQ(space->appendAcDbEntity(id, text), Acad::eOk);
        text->close();
        space->close();
    }
    const fs::path pdf = dir_ / "plan.pdf";
    PlotEngine engine;
    ASSERT_TRUE(engine.plot(db_, "Model", pdf.string())) << engine.message();
    // A layout never set up: ISO A3 landscape.
    const std::string size = pdfinfo(pdf, "Page size");
    double pw = 0, ph = 0;
    ASSERT_EQ(std::sscanf(size.c_str(), "%lf x %lf", &pw, &ph), 2) << size;
    EXPECT_NEAR(pw, 420 * 72 / 25.4, 0.5);
    EXPECT_NEAR(ph, 297 * 72 / 25.4, 0.5);
    EXPECT_NE(dxftest::capture("pdftotext '" + pdf.string() + "' -").find("Room 101 Комната"), std::string::npos);
    EXPECT_NE(dxftest::capture("pdffonts '" + pdf.string() + "'").find("DejaVuSans"), std::string::npos);

    const fs::path jpg = dir_ / "plan.jpg";
    ASSERT_TRUE(engine.plot(db_, "Model", jpg.string())) << engine.message();
    // PIL reads it: A3 at 150 dpi is 2480 x 1754 pixels.
    EXPECT_EQ(dxftest::capture(std::string(ZELKA_PYTHON) + " -c \"from PIL import Image; i = Image.open('" +
                               jpg.string() + "'); print(i.format, i.size[0], i.size[1])\""),
              "JPEG 2480 1754\n");
    const fs::path svg = dir_ / "plan.svg";
    ASSERT_TRUE(engine.plot(db_, "Model", svg.string())) << engine.message();
    EXPECT_EQ(dxftest::capture(std::string(ZELKA_PYTHON) + " -c \"import xml.etree.ElementTree as E; r = E.parse('" +
                               svg.string() + "').getroot(); print(r.get('width'), r.get('height'))\""),
              "420mm 297mm\n");
    EXPECT_NE(dxftest::readFile(svg).find("<path"), std::string::npos);
}

TEST_F(PlotPageTest, DwfAndUnknownDevicesAreRefusedAndNothingIsWritten)
{
    struct Case {
        const char* file;
        const char* says;
    };
    const Case cases[] = {
        {"plan.dwf", "DWF files cannot be written here"},
        {"plan.DWF", "DWF files cannot be written here"},
        {"plan.bmp", "names no plot device"},
        {"missing-folder/plan.pdf", "does not exist"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        PlotEngine engine;
        const fs::path out = dir_ / c.file;
        EXPECT_FALSE(engine.plot(db_, "Model", out.string()));
        EXPECT_NE(engine.message().find(c.says), std::string::npos) << engine.message();
        if (std::string(c.says) != "does not exist") {
            EXPECT_NE(engine.message().find("PDF (.pdf), PNG (.png), JPG (.jpg) or SVG (.svg)"), std::string::npos);
        }
        EXPECT_FALSE(fs::exists(out));
    }
    PlotEngine engine;
    EXPECT_FALSE(engine.plot(db_, "No Such Layout", (dir_ / "x.pdf").string()));
    EXPECT_NE(engine.message().find("no layout named \"No Such Layout\""), std::string::npos);
    // Nothing but the drawing is left in the folder: no half-written temporary files.
    size_t files = 0;
    for (const auto& e : fs::directory_iterator(dir_))
        files += e.path().extension() != ".dxf";
    EXPECT_EQ(files, 0u);
}

// A plot killed half-way leaves its temporary file beside the target; the
// next plot to that file takes it away (which temporaries are whose:
// SaveSafety.OnlyTemporaryFilesOfEndedProcessesAreRemoved).
TEST_F(PlotPageTest, APlotRemovesWhatAKilledPlotOfTheSameFileLeft)
{
    const fs::path out = dir_ / "plan.pdf";
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        _exit(0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    const fs::path dead =
        dir_ / (".plan.pdf.zelka-plot-" + SafeFileReplace::hostName() + "-" + std::to_string(child) + ".tmp");
    dxftest::writeFile(dead, "%PDF-1.5 cut short");
    PlotEngine engine;
    ASSERT_TRUE(engine.plot(db_, "Model", out.string())) << engine.message();
    EXPECT_FALSE(fs::exists(dead));
    EXPECT_EQ(dxftest::readFile(out).rfind("%PDF", 0), 0u);
}

TEST_F(PlotPageTest, PaperSpaceViewportIsClippedScaledAndHidesItsFrozenLayers)
{
    const fs::path dxf = fixture(dir_, "sheet");
    AcDbDatabase sheet;
    ASSERT_EQ(sheet.readDxfFile(dxf.c_str()), Acad::eOk) << sheet.lastError();
    acdbSetWorkingDatabase(&sheet);
    setUpLayout("Plan", "PublishToWeb PNG.pc3", "ISO_A4_(297.00_x_210.00_MM)", AcDbPlotSettings::kLayout,
                AcDbPlotSettings::k1_1, false);
    const fs::path png = dir_ / "sheet.png";
    PlotEngine engine;
    ASSERT_TRUE(engine.plot(sheet, "Plan", png.string())) << engine.message();
    const Image image = readPng(png);
    ASSERT_EQ(image.width, 1754);
    const double k = image.width / 297.0;
    auto box = [&](double x0, double y0, double x1, double y1) { return toPixels(image, 297, 210, x0, y0, x1, y1); };
    // The viewport shows model (50,30) at sheet (100,100) at 1:2: the rectangle
    // 0..100 x 0..60 becomes 75..125 x 85..115 and the circle of radius 20 one of 10.
    PixelBox view = box(70, 80, 130, 120);
    const InkBox shown = inkBoxIn(image, view.x0, view.y0, view.x1, view.y1);
    EXPECT_NEAR(shown.x0, 75 * k, 2);
    EXPECT_NEAR(shown.x1, 125 * k, 2);
    EXPECT_NEAR(shown.y0, (210 - 115) * k, 2);
    EXPECT_NEAR(shown.y1, (210 - 85) * k, 2);
    const PixelBox ring = box(89, 99, 91, 101);  // the circle's leftmost point, (90, 100)
    EXPECT_GT(inkIn(image, ring.x0, ring.y0, ring.x1, ring.y1).count, 1.0);
    // Layer HIDE (a circle of radius 5 on the sheet) is frozen in the viewport.
    const PixelBox frozen = box(96, 96, 104, 104);
    EXPECT_EQ(inkIn(image, frozen.x0, frozen.y0, frozen.x1, frozen.y1).count, 0.0);
    // The model line from (200,0) lies outside the view: clipped away.
    const PixelBox clipped = box(152, 84, 230, 116);
    EXPECT_EQ(inkIn(image, clipped.x0, clipped.y0, clipped.x1, clipped.y1).count, 0.0);
    // The sheet's own frame at x 10 and its text.
    const PixelBox frame = box(8, 50, 12, 150);
    EXPECT_NEAR(inkIn(image, frame.x0, frame.y0, frame.x1, frame.y1).x, 10 * k, 1.5);
    acdbSetWorkingDatabase(&db_);
}

TEST(PlotBlockTexts, ConstantAttributeDefinitionsAreDrawnWithTheBlockAndTemplatesAreNot)
{
    // A pie chart's labels are constant attribute definitions: no reference
    // ever gets them as attributes, so the block shows them itself. The
    // other definitions are templates; only the reference's attributes show.
    const fs::path dir = dxftest::tempDir("plot-attdef");
    const fs::path dxf = dir / "labels.dxf";
    dxftest::ezdxfFixture("pie_labels", dxf);
    AcDbDatabase db;
    ASSERT_EQ(db.readDxfFile(dxf.c_str()), Acad::eOk) << db.lastError();
    acdbSetWorkingDatabase(&db);
    const fs::path pdf = dir / "labels.pdf";
    PlotEngine engine;
    const bool plotted = engine.plot(db, "Model", pdf.string());
    acdbSetWorkingDatabase(nullptr);
    ASSERT_TRUE(plotted) << engine.message();
    const std::string text = dxftest::capture("pdftotext '" + pdf.string() + "' -");
    EXPECT_NE(text.find("Offices 45pc"), std::string::npos) << text;
    EXPECT_NE(text.find("GivenName"), std::string::npos) << text;
    EXPECT_EQ(text.find("Hidden 5pc"), std::string::npos) << text;
    EXPECT_EQ(text.find("TemplateText"), std::string::npos) << text;
}
