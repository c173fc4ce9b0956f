// Multiline texts, wide and old-style polylines, splines through fit points
// and linetype scales, plotted by the plot engine and compared with ezdxf's
// drawing add-on on matplotlib (an independent renderer) or with the
// lengths worked out here. A4 landscape, the window 0,0 - 297,210 at 1:1 and
// 150 dpi: 5.9 pixels per drawing unit.
#include <gtest/gtest.h>

#include <algorithm>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbOpen.h"
#include "host/plot/PlotEngine.h"
#include "tests/plot/PlotTestSupport.h"

namespace fs = std::filesystem;
using namespace plottest;

namespace {

constexpr double kSheetW = 297.0, kSheetH = 210.0;
constexpr double kPxPerUnit = 150.0 / 25.4;

class PlotKindsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = dxftest::tempDir("plot-kinds");
        dxf_ = fixture(dir_, "kinds");
        ASSERT_EQ(db_.readDxfFile(dxf_.c_str()), Acad::eOk) << db_.lastError();
        acdbSetWorkingDatabase(&db_);
        setUpLayout("Model", "PublishToWeb PNG.pc3", "ISO_A4_(297.00_x_210.00_MM)", AcDbPlotSettings::kWindow,
                    AcDbPlotSettings::k1_1, true, 0, 0, kSheetW, kSheetH);
        PlotEngine engine;
        const fs::path png = dir_ / "ours.png";
        ASSERT_TRUE(engine.plot(db_, "Model", png.string())) << engine.message();
        ours_ = readPng(png);
        ASSERT_EQ(ours_.width, 1754);
    }
    void TearDown() override { acdbSetWorkingDatabase(nullptr); }

    Image reference()
    {
        const fs::path png = dir_ / "ezdxf.png";
        ezdxfRender(dxf_, png, 0, 0, kSheetW, kSheetH, 150);
        Image ref = readPng(png);
        EXPECT_GT(ref.width, 0);
        return ref;
    }

    fs::path dir_, dxf_;
    AcDbDatabase db_;
    Image ours_;
};

struct Region {
    const char* what;
    double x0, y0, x1, y1;  // drawing units
};

}  // namespace

// Each text's inked box: the edges its attachment fixes within two pixels,
// the others within a tenth of the box (the renderers' glyph advances differ).
TEST_F(PlotKindsTest, MultilineTextsWrapAndAttachWhereEzdxfDrawsThem)
{
    const Image ref = reference();
    enum Fixed { TopLeft, Centre, BottomRight, TopLeftTurned };
    struct TextRegion {
        Region r;
        Fixed fixed;
    } texts[] = {
        {{"wrapped at the reference width, top left", 10, 20, 50, 50}, TopLeft},
        {{"two paragraphs, middle centre", 60, 18, 100, 42}, Centre},
        {{"a run twice as high, line spacing 1.5, bottom right", 110, 10, 150, 40}, BottomRight},
        {{"turned 90 degrees, top left", 180, 10, 200, 50}, TopLeftTurned},
    };
    for (const TextRegion& t : texts) {
        SCOPED_TRACE(t.r.what);
        const PixelBox a = toPixels(ours_, kSheetW, kSheetH, t.r.x0, t.r.y0, t.r.x1, t.r.y1);
        const PixelBox b = toPixels(ref, kSheetW, kSheetH, t.r.x0, t.r.y0, t.r.x1, t.r.y1);
        const InkBox mine = inkBoxIn(ours_, a.x0, a.y0, a.x1, a.y1);
        const InkBox theirs = inkBoxIn(ref, b.x0, b.y0, b.x1, b.y1);
        ASSERT_GT(theirs.count, 50);
        ASSERT_GT(mine.count, 50);
        const double w = theirs.x1 - theirs.x0, h = theirs.y1 - theirs.y0;
        switch (t.fixed) {
        case TopLeft:
            EXPECT_NEAR(mine.x0, theirs.x0, 2);
            EXPECT_NEAR(mine.y0, theirs.y0, 2);
            // As many lines: the last one's bottom within a third of a line (5 units apart).
            EXPECT_NEAR(mine.y1, theirs.y1, 5 * kPxPerUnit / 3);
            EXPECT_NEAR(mine.x1 - mine.x0, w, 0.1 * w);
            break;
        case Centre:
            EXPECT_NEAR((mine.x0 + mine.x1) / 2.0, (theirs.x0 + theirs.x1) / 2.0, 2);
            EXPECT_NEAR((mine.y0 + mine.y1) / 2.0, (theirs.y0 + theirs.y1) / 2.0, 3);
            EXPECT_NEAR(mine.y1 - mine.y0, h, 0.1 * h);
            break;
        case BottomRight:
            EXPECT_NEAR(mine.x1, theirs.x1, 2);
            EXPECT_NEAR(mine.y1, theirs.y1, 2);  // the last baseline (no descenders in "small")
            // The tall first line's top: the spacing below it follows its tall run.
            EXPECT_NEAR(mine.y0, theirs.y0, 3);
            break;
        case TopLeftTurned:
            EXPECT_NEAR(mine.y1, theirs.y1, 2);  // the text starts at the bottom and runs up
            EXPECT_NEAR(mine.x0, theirs.x0, 2);  // its top, on the left
            EXPECT_NEAR(mine.y1 - mine.y0, h, 0.1 * h);
            break;
        }
    }
}

// Wide polylines are filled bands, as ezdxf fills them: the same ink in the
// same place (a centre line alone would hold a tenth of it).
TEST_F(PlotKindsTest, WideAndOldStylePolylinesCoverWhatEzdxfCovers)
{
    const Image ref = reference();
    struct Case {
        Region r;
        double minRatio, maxRatio;  // our ink over ezdxf's
        double nearShare;           // of each image's strokes lying on the other's
    } cases[] = {
        {{"old-style polyline with a bulge", 210, 10, 256, 42}, 0.5, 2.0, 0.95},
        {{"lightweight polyline of constant width", 10, 62, 48, 98}, 0.85, 1.15, 0.97},
        {{"lightweight polyline, tapering and a wide arc", 60, 62, 106, 98}, 0.85, 1.15, 0.95},
        {{"old-style polyline with per-vertex widths and a bulge", 110, 62, 156, 98}, 0.85, 1.15, 0.95},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.r.what);
        const PixelBox a = toPixels(ours_, kSheetW, kSheetH, c.r.x0, c.r.y0, c.r.x1, c.r.y1);
        const PixelBox b = toPixels(ref, kSheetW, kSheetH, c.r.x0, c.r.y0, c.r.x1, c.r.y1);
        const Ink mine = inkIn(ours_, a.x0, a.y0, a.x1, a.y1);
        const Ink theirs = inkIn(ref, b.x0, b.y0, b.x1, b.y1);
        ASSERT_GT(theirs.count, 50.0);
        EXPECT_NEAR(mine.x, theirs.x, 2);
        EXPECT_NEAR(mine.y, theirs.y, 2);
        EXPECT_GT(mine.count / theirs.count, c.minRatio);
        EXPECT_LT(mine.count / theirs.count, c.maxRatio);
        EXPECT_GT(inkNear(ours_, ref, a.x0, a.y0, a.x1, a.y1, b.x0, b.y0, 2), c.nearShare);
        EXPECT_GT(inkNear(ref, ours_, b.x0, b.y0, b.x1, b.y1, a.x0, a.y0, 2), c.nearShare);
    }
}

// A spline stored by its fit points only is the smooth curve through them,
// not straight segments (which stray up to 18 pixels, 3 units, from the curve here).
TEST_F(PlotKindsTest, SplineThroughFitPointsFollowsTheCurveEzdxfDraws)
{
    const Image ref = reference();
    const PixelBox a = toPixels(ours_, kSheetW, kSheetH, 160, 62, 200, 98);
    const PixelBox b = toPixels(ref, kSheetW, kSheetH, 160, 62, 200, 98);
    EXPECT_GT(inkNear(ours_, ref, a.x0, a.y0, a.x1, a.y1, b.x0, b.y0, 2), 0.97);
    EXPECT_GT(inkNear(ref, ours_, b.x0, b.y0, b.x1, b.y1, a.x0, a.y0, 2), 0.97);
}

// Dashes of 4 on and 2 off times $LTSCALE 2: 8 on, 4 off; the second line
// also at its own scale 0.5: 4 on, 2 off. The dashes are measured along the
// pixel row of each line.
TEST_F(PlotKindsTest, DashesFollowTheDrawingAndEntityLinetypeScales)
{
    struct Case {
        const char* what;
        double y, on, off;  // drawing units
    } cases[] = {
        {"drawing scale 2", 70, 8, 4},
        {"drawing scale 2, entity scale 0.5", 85, 4, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int row = static_cast<int>((kSheetH - c.y) * kPxPerUnit);
        const int from = static_cast<int>(212 * kPxPerUnit) + 2, to = static_cast<int>(256 * kPxPerUnit) - 2;
        // Runs of inked and blank pixels along the line (the darkest of the rows about it).
        std::vector<std::pair<bool, int>> runs;
        for (int x = from; x < to; ++x) {
            bool dark = false;
            for (int y = row - 2; y <= row + 2; ++y) {
                int r, g, b;
                ours_.pixel(x, y, r, g, b);
                dark = dark || r + g + b < 3 * 160;
            }
            if (runs.empty() || runs.back().first != dark)
                runs.emplace_back(dark, 0);
            ++runs.back().second;
        }
        ASSERT_GT(runs.size(), 4u);
        // Whole dashes and gaps only: the first and last runs may be cut by the range.
        std::vector<int> on, off;
        for (size_t i = 1; i + 1 < runs.size(); ++i)
            (runs[i].first ? on : off).push_back(runs[i].second);
        ASSERT_FALSE(on.empty());
        ASSERT_FALSE(off.empty());
        std::sort(on.begin(), on.end());
        std::sort(off.begin(), off.end());
        EXPECT_NEAR(on[on.size() / 2], c.on * kPxPerUnit, 2.0);
        EXPECT_NEAR(off[off.size() / 2], c.off * kPxPerUnit, 2.0);
    }
}
