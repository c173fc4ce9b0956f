#pragma once
// Helpers for the plot tests: fixtures made by ezdxf, a layout set up through
// the host's validator, images read back with cairo and compared by the ink
// they hold in a box, and the independent rendering by ezdxf's drawing add-on.
#include <cairo.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbLayout.h"
#include "host/db/AcDbLayoutManager.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbPlotSettingsValidator.h"
#include "tests/host/dxfTestSupport.h"

namespace plottest {

// Runs a command; its exit status must be 0 (a missing oracle fails the test).
inline void run(const std::string& cmd)
{
    const int rc = std::system(cmd.c_str());
    ASSERT_EQ(rc, 0) << cmd;
}

// A drawing of tests/tools/ezdxf_fixtures.py made by ezdxf.
inline std::filesystem::path fixture(const std::filesystem::path& dir, const std::string& kind)
{
    const auto out = dir / (kind + ".dxf");
    dxftest::ezdxfFixture(kind, out);
    return out;
}

// ezdxf's rendering of model space: the window fills the image at dpi.
inline void ezdxfRender(const std::filesystem::path& dxf, const std::filesystem::path& png, double x0, double y0,
                        double x1, double y1, double dpi)
{
    run(zelkatest::pythonCommand(zelkatest::testScript("tools/dxf_oracle.py"),
                                 {"render", dxf, png, std::to_string(x0), std::to_string(y0), std::to_string(x1),
                                  std::to_string(y1), std::to_string(dpi)}));
}

// Sets a layout's plot settings through the validator: device, media,
// plot type, standard scale (kScaleToFit to fit), centring, and the window
// for plot type kWindow.
inline void setUpLayout(const char* layoutName, const char* device, const char* media,
                        AcDbPlotSettings::PlotType type, AcDbPlotSettings::StdScaleType scale, bool centred,
                        double wx0 = 0, double wy0 = 0, double wx1 = 0, double wy1 = 0)
{
    AcDbPlotSettingsValidator* v = acdbPlotSettingsValidator();
    AcDbObjectPointer<AcDbLayout> layout(acdbLayoutManager()->findLayoutNamed(layoutName), AcDb::kForWrite);
    ASSERT_EQ(layout.openStatus(), Acad::eOk) << layoutName;
    AcDbLayout* l = layout.object();
    ASSERT_EQ(v->refreshLists(l), Acad::eOk);
    ASSERT_EQ(v->setPlotCfgName(l, device, media), Acad::eOk) << media;
    if (type == AcDbPlotSettings::kWindow) {
        ASSERT_EQ(v->setPlotWindowArea(l, wx0, wy0, wx1, wy1), Acad::eOk);
    }
    ASSERT_EQ(v->setPlotType(l, type), Acad::eOk);
    ASSERT_EQ(v->setUseStandardScale(l, true), Acad::eOk);
    ASSERT_EQ(v->setStdScaleType(l, scale), Acad::eOk);
    ASSERT_EQ(v->setPlotCentered(l, centred), Acad::eOk);
    ASSERT_EQ(v->setPlotRotation(l, AcDbPlotSettings::k0degrees), Acad::eOk);
}

// An image as rows of RGB.
struct Image {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    void pixel(int x, int y, int& r, int& g, int& b) const
    {
        const size_t i = (static_cast<size_t>(y) * width + x) * 3;
        r = rgb[i], g = rgb[i + 1], b = rgb[i + 2];
    }
};

inline Image readPng(const std::filesystem::path& png)
{
    Image image;
    cairo_surface_t* s = cairo_image_surface_create_from_png(png.c_str());
    if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS) {
        cairo_surface_flush(s);
        image.width = cairo_image_surface_get_width(s);
        image.height = cairo_image_surface_get_height(s);
        const int stride = cairo_image_surface_get_stride(s);
        const unsigned char* data = cairo_image_surface_get_data(s);
        const bool alpha = cairo_image_surface_get_format(s) == CAIRO_FORMAT_ARGB32;
        image.rgb.resize(static_cast<size_t>(image.width) * image.height * 3);
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x) {
                const uint32_t p = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride)[x];
                const unsigned a = alpha ? p >> 24 : 255;
                // Over white: premultiplied colour plus the white left uncovered.
                auto channel = [&](int shift) {
                    return static_cast<unsigned char>(((p >> shift) & 0xFF) + (255 - a));
                };
                const size_t i = (static_cast<size_t>(y) * image.width + x) * 3;
                image.rgb[i] = channel(16), image.rgb[i + 1] = channel(8), image.rgb[i + 2] = channel(0);
            }
    }
    cairo_surface_destroy(s);
    return image;
}

// The ink in a box of the image: pixels darker than white, weighted by how
// dark they are (so antialiased edges count in part), and their centre of mass (pixels; y down).
struct Ink {
    double count = 0, x = 0, y = 0;
};

inline Ink inkIn(const Image& image, int x0, int y0, int x1, int y1)
{
    Ink ink;
    for (int y = std::max(0, y0); y < std::min(image.height, y1); ++y)
        for (int x = std::max(0, x0); x < std::min(image.width, x1); ++x) {
            int r, g, b;
            image.pixel(x, y, r, g, b);
            const double darkness = (765 - (r + g + b)) / 765.0;
            if (darkness < 0.05)
                continue;
            ink.count += darkness;
            ink.x += darkness * x;
            ink.y += darkness * y;
        }
    if (ink.count > 0) {
        ink.x /= ink.count;
        ink.y /= ink.count;
    }
    return ink;
}

// The box of the pixels in a box of the image that are at least a quarter
// dark (pixels; y down); count 0 when there are none.
struct InkBox {
    int count = 0, x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

inline InkBox inkBoxIn(const Image& image, int x0, int y0, int x1, int y1)
{
    InkBox box;
    for (int y = std::max(0, y0); y < std::min(image.height, y1); ++y)
        for (int x = std::max(0, x0); x < std::min(image.width, x1); ++x) {
            int r, g, b;
            image.pixel(x, y, r, g, b);
            if (r + g + b > 3 * 190)
                continue;
            if (box.count++ == 0) {
                box.x0 = box.x1 = x;
                box.y0 = box.y1 = y;
            }
            box.x0 = std::min(box.x0, x), box.x1 = std::max(box.x1, x);
            box.y0 = std::min(box.y0, y), box.y1 = std::max(box.y1, y);
        }
    return box;
}

// The share of the dark pixels (at least a quarter dark) of a box of image
// a that have a dark pixel of image b within radius pixels: 1 when every
// stroke of a lies on a stroke of b. The boxes are given for each image.
inline double inkNear(const Image& a, const Image& b, int ax0, int ay0, int ax1, int ay1, int bx0, int by0,
                      int radius)
{
    auto dark = [](const Image& im, int x, int y) {
        if (x < 0 || y < 0 || x >= im.width || y >= im.height)
            return false;
        int r, g, bl;
        im.pixel(x, y, r, g, bl);
        return r + g + bl <= 3 * 190;
    };
    int total = 0, near = 0;
    for (int y = std::max(0, ay0); y < std::min(a.height, ay1); ++y)
        for (int x = std::max(0, ax0); x < std::min(a.width, ax1); ++x) {
            if (!dark(a, x, y))
                continue;
            ++total;
            const int bx = x - ax0 + bx0, by = y - ay0 + by0;
            bool found = false;
            for (int dy = -radius; dy <= radius && !found; ++dy)
                for (int dx = -radius; dx <= radius && !found; ++dx)
                    found = dark(b, bx + dx, by + dy);
            near += found;
        }
    return total ? static_cast<double>(near) / total : 0.0;
}

// A box of drawing units as pixels of an image where the window
// (0,0)-(sheetW,sheetH) fills widthPx x heightPx.
struct PixelBox {
    int x0, y0, x1, y1;
};

inline PixelBox toPixels(const Image& image, double sheetW, double sheetH, double x0, double y0, double x1, double y1)
{
    const double kx = image.width / sheetW, ky = image.height / sheetH;
    return {static_cast<int>(std::floor(x0 * kx)), static_cast<int>(std::floor((sheetH - y1) * ky)),
            static_cast<int>(std::ceil(x1 * kx)), static_cast<int>(std::ceil((sheetH - y0) * ky))};
}

// The value of "Key: value" in pdfinfo's report of a PDF.
inline std::string pdfinfo(const std::filesystem::path& pdf, const std::string& key)
{
    const std::string out = dxftest::capture("pdfinfo '" + pdf.string() + "' 2>&1");
    const size_t at = out.find(key + ":");
    if (at == std::string::npos)
        return "";
    size_t start = out.find_first_not_of(' ', at + key.size() + 1);
    return out.substr(start, out.find('\n', start) - start);
}

}  // namespace plottest
