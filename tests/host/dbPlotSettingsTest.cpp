// Plot settings of layouts: read as ezdxf reads them, changed through the
// validator and saved where ezdxf finds them, and kept as read otherwise.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dxfTestSupport.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbLayout.h"
#include "host/db/AcDbLayoutManager.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbPlotSettingsValidator.h"
#include "tests/common/TestRequirements.h"

namespace fs = std::filesystem;
using dxftest::ezdxf1;

namespace {

class PlotSettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ZELKA_REQUIRE_EZDXF();
        dir_ = dxftest::tempDir("plot");
        file_ = dir_ / "layouts.dxf";
        dxftest::ezdxfFixture("layouts", file_);  // layouts, viewports, inserts (tests/tools/ezdxf_fixtures.py)
        ASSERT_EQ(db_.readDxfFile(file_.c_str()), Acad::eOk) << db_.lastError();
    }
    AcDbObjectId layoutId(const char* name) { return acdbLayoutManager()->findLayoutNamed(name, &db_); }

    fs::path dir_, file_;
    AcDbDatabase db_{false};
};

// What the getters say, in the order of the ezdxf expression below.
nlohmann::json modelled(const AcDbLayout& l)
{
    const char *page, *cfg, *media, *view, *sheet;
    l.getPlotSettingsName(page);
    l.getPlotCfgName(cfg);
    l.getCanonicalMediaName(media);
    l.getPlotViewName(view);
    l.getCurrentStyleSheet(sheet);
    double m[4], w, h, ox, oy, win[4], num, den, stdScale;
    l.getPlotPaperMargins(m[0], m[1], m[2], m[3]);
    l.getPlotPaperSize(w, h);
    l.getPlotOrigin(ox, oy);
    l.getPlotWindowArea(win[0], win[1], win[2], win[3]);
    l.getCustomPrintScale(num, den);
    l.getStdScale(stdScale);
    return {page, cfg, media, view, m[0], m[1], m[2], m[3], w, h, ox, oy, win[0], win[1], win[2], win[3], num, den,
            l.plotLayoutFlags(), l.plotPaperUnits(), l.plotRotation(), l.plotType(), sheet, l.stdScaleType(), stdScale};
}

// The same fields of a layout as ezdxf reads them (numbers compare by value).
nlohmann::json ezdxfFields(const fs::path& file, const std::string& layout)
{
    return nlohmann::json::parse(ezdxf1(file, "[layout('" + layout + "').dxf_layout.dxf.get(k) for k in ("
        "'page_setup_name', 'plot_configuration_file', 'paper_size', 'plot_view_name', 'left_margin', "
        "'bottom_margin', 'right_margin', 'top_margin', 'paper_width', 'paper_height', 'plot_origin_x_offset', "
        "'plot_origin_y_offset', 'plot_window_x1', 'plot_window_y1', 'plot_window_x2', 'plot_window_y2', "
        "'scale_numerator', 'scale_denominator', 'plot_layout_flags', 'plot_paper_units', 'plot_rotation', "
        "'plot_type', 'current_style_sheet', 'standard_scale_type', 'unit_factor')]"));
}

}  // namespace

TEST_F(PlotSettingsTest, EveryLayoutReadsAsEzdxfReadsIt)
{
    for (const char* name : {"Model", "Layout1", "Sheet B", "Sheet C"}) {
        SCOPED_TRACE(name);
        AcDbObjectPointer<AcDbLayout> layout(layoutId(name), AcDb::kForRead);
        ASSERT_EQ(layout.openStatus(), Acad::eOk);
        EXPECT_EQ(modelled(*layout.object()), ezdxfFields(file_, name));
    }
    // Layout1 was set up by ezdxf for A3 at 1:50 on the DWF device.
    AcDbObjectPointer<AcDbLayout> layout1(layoutId("Layout1"), AcDb::kForRead);
    double num = 0, den = 0;
    layout1->getCustomPrintScale(num, den);
    EXPECT_EQ(num / den, 1.0 / 50);
    EXPECT_STREQ(layout1->plotCfgName().c_str(), "DWF6 ePlot.pc3");
}

TEST_F(PlotSettingsTest, ValidatorSettingsAreSavedWhereEzdxfFindsThem)
{
    const int flagsRead = std::stoi(ezdxf1(file_, "layout('Sheet B').dxf_layout.dxf.plot_layout_flags"));
    AcDbPlotSettingsValidator* v = acdbPlotSettingsValidator();
    {
        AcDbObjectPointer<AcDbLayout> layout(layoutId("Sheet B"), AcDb::kForWrite);
        ASSERT_EQ(layout.openStatus(), Acad::eOk);
        AcDbLayout* l = layout.object();
        EXPECT_EQ(v->refreshLists(l), Acad::eOk);
        EXPECT_EQ(v->setPlotCfgName(l, "dwg to pdf.pc3"), Acad::eOk);
        EXPECT_EQ(v->setCanonicalMediaName(l, "ANSI_B_(17.00_x_11.00_Inches)"), Acad::eOk);
        EXPECT_EQ(v->setPlotType(l, AcDbPlotSettings::kExtents), Acad::eOk);
        EXPECT_EQ(v->setUseStandardScale(l, true), Acad::eOk);
        EXPECT_EQ(v->setStdScaleType(l, AcDbPlotSettings::k1_100), Acad::eOk);
        EXPECT_EQ(v->setPlotCentered(l, true), Acad::eOk);
        EXPECT_EQ(v->setCurrentStyleSheet(l, "monochrome.ctb"), Acad::eOk);
        EXPECT_EQ(v->setPlotRotation(l, AcDbPlotSettings::k90degrees), Acad::eOk);
        EXPECT_EQ(l->setPlotPlotStyles(true), Acad::eOk);
        EXPECT_EQ(l->setPrintLineweights(true), Acad::eOk);
        EXPECT_EQ(l->setScaleLineweights(true), Acad::eOk);
        EXPECT_EQ(l->setPlotViewportBorders(false), Acad::eOk);
    }
    fs::path out = dir_ / "plot.dxf";
    ASSERT_EQ(db_.saveAs(out.c_str()), Acad::eOk) << db_.lastError();

    // ANSI B is 17 x 11 inches: 431.8 x 279.4 mm; 1:100 is 0.01 paper per drawing unit.
    const int flags = flagsRead | 4 | 16 | 32 | 64 | 128;
    auto seen = dxftest::ezdxf(out, {"audit", "layout('Sheet B').dxf_layout.dxf.plot_configuration_file",
                                        "layout('Sheet B').dxf_layout.dxf.paper_size",
                                        "[layout('Sheet B').dxf_layout.dxf.paper_width, layout('Sheet B').dxf_layout.dxf.paper_height]",
                                        "layout('Sheet B').dxf_layout.dxf.plot_paper_units",
                                        "layout('Sheet B').dxf_layout.dxf.plot_type",
                                        "layout('Sheet B').dxf_layout.dxf.standard_scale_type",
                                        "layout('Sheet B').dxf_layout.dxf.unit_factor",
                                        "layout('Sheet B').dxf_layout.dxf.plot_layout_flags",
                                        "layout('Sheet B').dxf_layout.dxf.current_style_sheet",
                                        "layout('Sheet B').dxf_layout.dxf.plot_rotation"});
    ASSERT_EQ(seen.size(), 11u) << (seen.empty() ? "" : seen[0]);
    EXPECT_EQ(seen[0], "[]");
    EXPECT_EQ(seen[1], "\"DWG To PDF.pc3\"");
    EXPECT_EQ(seen[2], "\"ANSI_B_(17.00_x_11.00_Inches)\"");
    EXPECT_EQ(nlohmann::json::parse(seen[3]), nlohmann::json({17 * 25.4, 11 * 25.4}));
    EXPECT_EQ(seen[4], "0");
    EXPECT_EQ(seen[5], "1");
    EXPECT_EQ(seen[6], "27");
    EXPECT_EQ(nlohmann::json::parse(seen[7]), 1.0 / 100);
    EXPECT_EQ(seen[8], std::to_string(flags & ~1));
    EXPECT_EQ(seen[9], "\"monochrome.ctb\"");
    EXPECT_EQ(seen[10], "1");
    // The other layouts are untouched.
    EXPECT_EQ(ezdxfFields(out, "Layout1"), ezdxfFields(file_, "Layout1"));
}

TEST_F(PlotSettingsTest, RefusedSettingsChangeNothing)
{
    AcDbPlotSettingsValidator* v = acdbPlotSettingsValidator();
    EXPECT_EQ(v->setPlotCfgName(nullptr, "DWG To PDF.pc3"), Acad::eNullObjectPointer);
    EXPECT_EQ(v->refreshLists(nullptr), Acad::eNullObjectPointer);
    {
        AcDbObjectPointer<AcDbLayout> layout(layoutId("Layout1"), AcDb::kForRead);
        ASSERT_EQ(layout.openStatus(), Acad::eOk);
        EXPECT_EQ(v->setPlotCfgName(layout.object(), "DWG To PDF.pc3"), Acad::eNotOpenForWrite);
        EXPECT_EQ(v->setPlotType(layout.object(), AcDbPlotSettings::kWindow), Acad::eNotOpenForWrite);
    }
    AcDbObjectPointer<AcDbLayout> layout(layoutId("Layout1"), AcDb::kForWrite);
    ASSERT_EQ(layout.openStatus(), Acad::eOk);
    AcDbLayout* l = layout.object();
    const nlohmann::json before = modelled(*l);
    EXPECT_EQ(v->setPlotCfgName(l, "Laser.pc3"), Acad::eInvalidInput);
    EXPECT_EQ(v->setPlotCfgName(l, "DWG To PDF.pc3", "A3"), Acad::eInvalidInput);
    EXPECT_EQ(v->setCanonicalMediaName(l, "ISO_A3_(420.00_x_297.00)"), Acad::eInvalidInput);
    EXPECT_EQ(v->setPlotType(l, static_cast<AcDbPlotSettings::PlotType>(6)), Acad::eInvalidInput);
    EXPECT_EQ(v->setStdScaleType(l, static_cast<AcDbPlotSettings::StdScaleType>(35)), Acad::eInvalidInput);
    EXPECT_EQ(v->setCustomPrintScale(l, 1, 0), Acad::eInvalidInput);
    EXPECT_EQ(v->setPlotWindowArea(l, 5, 5, 5, 10), Acad::eInvalidInput);
    EXPECT_EQ(v->setPlotRotation(l, static_cast<AcDbPlotSettings::PlotRotation>(4)), Acad::eInvalidInput);
    EXPECT_EQ(modelled(*l), before);
    // "None" plots nothing and offers no media.
    EXPECT_EQ(v->setPlotCfgName(l, "None"), Acad::eOk);
    std::vector<std::string> media;
    EXPECT_EQ(v->canonicalMediaNameList(l, media), Acad::eOk);
    EXPECT_TRUE(media.empty());
    EXPECT_EQ(v->setCanonicalMediaName(l, "ISO_A3_(420.00_x_297.00_MM)"), Acad::eInvalidInput);
    // A device keeps a media it offers and otherwise takes its first one.
    EXPECT_EQ(v->setPlotCfgName(l, "PublishToWeb PNG.pc3"), Acad::eOk);
    EXPECT_EQ(v->canonicalMediaNameList(l, media), Acad::eOk);
    ASSERT_EQ(media.size(), 89u);
    EXPECT_EQ(l->canonicalMediaName(), media.front());
    double w = 0, h = 0;
    l->getPlotPaperSize(w, h);
    EXPECT_EQ(w, 841.0);
    EXPECT_EQ(h, 594.0);
}

TEST_F(PlotSettingsTest, SettingTheValuesReadKeepsTheTags)
{
    AcDbPlotSettingsValidator* v = acdbPlotSettingsValidator();
    for (const char* name : {"Layout1", "Sheet B"}) {
        AcDbObjectPointer<AcDbLayout> layout(layoutId(name), AcDb::kForWrite);
        ASSERT_EQ(layout.openStatus(), Acad::eOk);
        AcDbLayout* l = layout.object();
        EXPECT_EQ(v->setPlotType(l, l->plotType()), Acad::eOk);
        EXPECT_EQ(v->setPlotCentered(l, l->plotCentered()), Acad::eOk);
        EXPECT_EQ(l->setPrintLineweights(l->printLineweights()), Acad::eOk);
        EXPECT_TRUE(l->isModified());
    }
    std::string text;
    ASSERT_EQ(db_.writeDxfText(text), Acad::eOk);
    EXPECT_EQ(dxftest::tagStream(text), dxftest::tagStream(dxftest::readFile(file_)));
}

