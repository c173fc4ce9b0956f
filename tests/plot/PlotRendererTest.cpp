// The plot engine's drawing compared with an independent renderer (ezdxf's
// drawing add-on on matplotlib) on drawings ezdxf made: A4 landscape, the
// window 0,0 - 297,210 at 1:1, so a drawing unit is a paper millimetre and
// both images have 150 pixels per inch (5.9 pixels per unit).
#include <gtest/gtest.h>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbOpen.h"
#include "host/plot/PlotEngine.h"
#include "tests/plot/PlotTestSupport.h"

namespace fs = std::filesystem;
using namespace plottest;

namespace {

constexpr double kSheetW = 297.0, kSheetH = 210.0;

class PlotRendererTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = dxftest::tempDir("plot-renderer");
        dxf_ = fixture(dir_, "entities");
        ASSERT_EQ(db_.readDxfFile(dxf_.c_str()), Acad::eOk) << db_.lastError();
        acdbSetWorkingDatabase(&db_);
        setUpLayout("Model", "PublishToWeb PNG.pc3", "ISO_A4_(297.00_x_210.00_MM)", AcDbPlotSettings::kWindow,
                    AcDbPlotSettings::k1_1, true, 0, 0, kSheetW, kSheetH);
    }
    void TearDown() override { acdbSetWorkingDatabase(nullptr); }

    Image plotPng(const std::string& name)
    {
        PlotEngine engine;
        const fs::path png = dir_ / name;
        EXPECT_TRUE(engine.plot(db_, "Model", png.string())) << engine.message();
        return readPng(png);
    }

    fs::path dir_, dxf_;
    AcDbDatabase db_;
};

struct Region {
    const char* what;
    double x0, y0, x1, y1;  // drawing units
    double centroidTolerancePx;
};

}  // namespace

TEST_F(PlotRendererTest, OutlinesTextsAndHatchesLandWhereEzdxfDrawsThem)
{
    const Image ours = plotPng("ours.png");
    ASSERT_EQ(ours.width, 1754);  // 297 mm at 150 dpi
    ASSERT_EQ(ours.height, 1240);
    const fs::path refPng = dir_ / "ezdxf.png";
    ezdxfRender(dxf_, refPng, 0, 0, kSheetW, kSheetH, 150);
    const Image ref = readPng(refPng);
    ASSERT_GT(ref.width, 0);

    const Region regions[] = {
        {"line on a red layer", 10, 10, 48, 22.5, 2},
        {"polyline with a bulge", 12, 22.5, 43, 48, 2},
        {"circles, one of a true colour", 60, 14, 100, 46, 2},
        {"continuous line", 108, 36, 150, 44, 2},
        {"nested blocks with base points", 160, 10, 205, 30, 2},
        {"solid hatch", 210, 10, 236.5, 37, 2},
        {"pattern hatch", 236.5, 10, 257, 47, 2},
        {"insert outline", 110, 63, 145, 87, 2},
    };
    for (const Region& r : regions) {
        SCOPED_TRACE(r.what);
        const PixelBox a = toPixels(ours, kSheetW, kSheetH, r.x0, r.y0, r.x1, r.y1);
        const PixelBox b = toPixels(ref, kSheetW, kSheetH, r.x0, r.y0, r.x1, r.y1);
        const Ink mine = inkIn(ours, a.x0, a.y0, a.x1, a.y1);
        const Ink theirs = inkIn(ref, b.x0, b.y0, b.x1, b.y1);
        ASSERT_GT(theirs.count, 10.0);
        ASSERT_GT(mine.count, 10.0);
        EXPECT_NEAR(mine.x, theirs.x, r.centroidTolerancePx);
        EXPECT_NEAR(mine.y, theirs.y, r.centroidTolerancePx);
        // Both drew about as much: strokes may differ in width, not in what is there.
        EXPECT_GT(mine.count / theirs.count, 0.4);
        EXPECT_LT(mine.count / theirs.count, 2.5);
    }
}

// Texts: the two renderers lay glyphs out with slightly different advances
// (ezdxf measures its own way, and draws no oblique), so a text is compared by
// where it is anchored: the edge its alignment fixes, the sides across the
// baseline, and a length within a tenth.
TEST_F(PlotRendererTest, TextsAreAnchoredWhereEzdxfAnchorsThem)
{
    const Image ours = plotPng("ours.png");
    const fs::path refPng = dir_ / "ezdxf.png";
    ezdxfRender(dxf_, refPng, 0, 0, kSheetW, kSheetH, 150);
    const Image ref = readPng(refPng);
    ASSERT_GT(ref.width, 0);
    enum Anchor { Start, Centre, End, Up };
    struct TextRegion {
        const char* what;
        double x0, y0, x1, y1;
        Anchor anchor;
    };
    const TextRegion texts[] = {
        {"left text", 10, 60, 28, 70, Start},
        {"middle-centre text", 20, 75, 42, 85, Centre},
        {"text turned 90 degrees", 42, 60, 52, 80, Up},
        {"right-aligned wide oblique text", 60, 62, 100, 72, End},
        {"Cyrillic text", 60, 83, 100, 92, Start},
        {"attribute of an insert", 113, 66, 141, 72, Start},
    };
    for (const TextRegion& t : texts) {
        SCOPED_TRACE(t.what);
        const PixelBox a = toPixels(ours, kSheetW, kSheetH, t.x0, t.y0, t.x1, t.y1);
        const PixelBox b = toPixels(ref, kSheetW, kSheetH, t.x0, t.y0, t.x1, t.y1);
        const InkBox mine = inkBoxIn(ours, a.x0, a.y0, a.x1, a.y1);
        const InkBox theirs = inkBoxIn(ref, b.x0, b.y0, b.x1, b.y1);
        ASSERT_GT(theirs.count, 20);
        ASSERT_GT(mine.count, 20);
        if (t.anchor == Up) {
            EXPECT_NEAR(mine.y1, theirs.y1, 2);  // the baseline's start, at the bottom
            EXPECT_NEAR(mine.x0, theirs.x0, 2);
            EXPECT_NEAR(mine.x1, theirs.x1, 2);
            EXPECT_NEAR(mine.y1 - mine.y0, theirs.y1 - theirs.y0, 0.1 * (theirs.y1 - theirs.y0));
            continue;
        }
        EXPECT_NEAR(mine.y0, theirs.y0, 2);
        EXPECT_NEAR(mine.y1, theirs.y1, 2);
        if (t.anchor == Start)
            EXPECT_NEAR(mine.x0, theirs.x0, 2);
        else if (t.anchor == End)
            EXPECT_NEAR(mine.x1, theirs.x1, 2);
        else {
            // Centred on its alignment point (x 30): both renderers within two pixels of it.
            const double centre = 30.0 * ours.width / kSheetW;
            EXPECT_NEAR((mine.x0 + mine.x1) / 2.0, centre, 2);
            EXPECT_NEAR((theirs.x0 + theirs.x1) / 2.0, centre, 2);
        }
        EXPECT_NEAR(mine.x1 - mine.x0, theirs.x1 - theirs.x0, 0.1 * (theirs.x1 - theirs.x0));
    }
}

TEST_F(PlotRendererTest, ColoursLinetypesHiddenLayersAndDrawOrderAsCadPlotsThem)
{
    const Image ours = plotPng("ours.png");
    ASSERT_GT(ours.width, 0);
    auto colourAt = [&](double x, double y) {
        int r, g, b;
        ours.pixel(static_cast<int>(x * ours.width / kSheetW), static_cast<int>((kSheetH - y) * ours.height / kSheetH),
                   r, g, b);
        return std::to_string(r) + "," + std::to_string(g) + "," + std::to_string(b);
    };
    // The solid hatch's true colour; the red hatch moved to the top by the sort table covers the green one.
    EXPECT_EQ(colourAt(223, 23), "0,160,0");
    EXPECT_EQ(colourAt(228, 78), "255,0,0");
    EXPECT_EQ(colourAt(214, 64), "255,0,0");

    // Layers off, frozen and not plottable draw nothing.
    const PixelBox hidden = toPixels(ours, kSheetW, kSheetH, 168, 68, 192, 92);
    EXPECT_EQ(inkIn(ours, hidden.x0, hidden.y0, hidden.x1, hidden.y1).count, 0.0);

    // The dashed line (6 on, 6 off) holds about half the ink of the continuous one of the same length.
    const PixelBox dashed = toPixels(ours, kSheetW, kSheetH, 108, 12, 150, 18);
    const PixelBox solid = toPixels(ours, kSheetW, kSheetH, 108, 37, 150, 43);
    const double ratio = inkIn(ours, dashed.x0, dashed.y0, dashed.x1, dashed.y1).count /
                         inkIn(ours, solid.x0, solid.y0, solid.x1, solid.y1).count;
    EXPECT_GT(ratio, 0.35);
    EXPECT_LT(ratio, 0.7);
}
