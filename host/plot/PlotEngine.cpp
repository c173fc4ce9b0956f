#include "host/plot/PlotEngine.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>
#include <jpeglib.h>
#include <strings.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbLayout.h"
#include "host/db/AcDbLayoutManager.h"
#include "host/db/AcDbObjectIdArray.h"
#include "host/db/AcDbOpen.h"
#include "host/db/AcDbPlotSettingsValidator.h"
#include "host/db/AcDbViewport.h"
#include "host/db/SafeFileReplace.h"
#include "host/plot/PlotRenderer.h"

namespace {

std::string lowerExtension(const std::string& fileName)
{
    std::string ext = std::filesystem::path(fileName).extension().string();
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

// A header point ($LIMMIN ...) as read from the file; false when it is not there.
bool headerPoint(const AcDbDatabase& db, const char* name, double& x, double& y)
{
    const auto& tags = db.data().headerTags;
    for (size_t i = 0; i < tags.size(); ++i) {
        if (tags[i].code != 9 || tags[i].value() != name)
            continue;
        bool haveX = false, haveY = false;
        for (size_t k = i + 1; k < tags.size() && tags[k].code != 9; ++k) {
            const std::string v(tags[k].value());
            if (tags[k].code == 10) {
                x = std::strtod(v.c_str(), nullptr);
                haveX = true;
            } else if (tags[k].code == 20) {
                y = std::strtod(v.c_str(), nullptr);
                haveY = true;
            }
        }
        return haveX && haveY;
    }
    return false;
}

// Writes the RGB of an image surface as a baseline JPEG; false on failure.
bool writeJpeg(cairo_surface_t* image, const std::string& path)
{
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out)
        return false;
    cairo_surface_flush(image);
    const int width = cairo_image_surface_get_width(image);
    const int height = cairo_image_surface_get_height(image);
    const int stride = cairo_image_surface_get_stride(image);
    const unsigned char* data = cairo_image_surface_get_data(image);
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, out);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 92, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<size_t>(width) * 3);
    while (info.next_scanline < info.image_height) {
        const auto* pixels = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(info.next_scanline) * stride);
        for (int x = 0; x < width; ++x) {
            row[x * 3] = static_cast<unsigned char>(pixels[x] >> 16);
            row[x * 3 + 1] = static_cast<unsigned char>(pixels[x] >> 8);
            row[x * 3 + 2] = static_cast<unsigned char>(pixels[x]);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(out) == 0;
}

}  // namespace

PlotEngine::Device PlotEngine::deviceForFile(const std::string& fileName)
{
    const std::string ext = lowerExtension(fileName);
    if (ext == ".pdf")
        return Device::Pdf;
    if (ext == ".png")
        return Device::Png;
    if (ext == ".jpg" || ext == ".jpeg")
        return Device::Jpg;
    if (ext == ".svg")
        return Device::Svg;
    if (ext == ".dwf")
        return Device::Dwf;
    return Device::Unknown;
}

const char* PlotEngine::workingDevices() { return "PDF (.pdf), PNG (.png), JPG (.jpg) or SVG (.svg)"; }

double PlotEngine::rasterDpi(double pageWidthMm, double pageHeightMm)
{
    const double longest = std::max(pageWidthMm, pageHeightMm) / 25.4;
    return longest > 0.0 ? std::min(150.0, 10000.0 / longest) : 150.0;
}

bool PlotEngine::fail(std::string message)
{
    message_ = std::move(message);
    return false;
}

bool PlotEngine::layoutFrame(AcDbDatabase& db, const AcDbLayout& layout, PlotFrame& frame)
{
    const AcDbObjectId space = layout.getBlockTableRecordId();
    if (space.isNull())
        return fail("The layout \"" + layout.layoutName() + "\" has no block of its own; nothing to plot.");
    PlotFrame::Input in;
    double width = 0, height = 0;
    if (PlotFrame::mediaPaperSize(layout.canonicalMediaName(), width, height)) {
        in.paperWidth = width;
        in.paperHeight = height;
    } else {
        layout.getPlotPaperSize(width, height);
        if (width > 0 && height > 0) {
            in.paperWidth = width;
            in.paperHeight = height;
        }
    }
    // Settings made for a device this host does not have (another program's
    // printer, "None") are not a set-up for plotting here.
    std::vector<std::string> devices;
    acdbPlotSettingsValidator()->plotDeviceList(devices);
    bool setUp = false;
    for (const std::string& d : devices)
        setUp = setUp || (d != "None" && strcasecmp(d.c_str(), layout.plotCfgName().c_str()) == 0);

    // The extents of what the layout draws (viewports count by their frames).
    PlotRenderer measure(db);
    double vpMinX = 1e300, vpMinY = 1e300, vpMaxX = -1e300, vpMaxY = -1e300;
    measure.drawSpace(space, [&](const AcDbViewport& vp) {
        if (vp.number() == 1 || !vp.isOn())
            return;
        vpMinX = std::min(vpMinX, vp.centerPoint().x - vp.width() / 2);
        vpMaxX = std::max(vpMaxX, vp.centerPoint().x + vp.width() / 2);
        vpMinY = std::min(vpMinY, vp.centerPoint().y - vp.height() / 2);
        vpMaxY = std::max(vpMaxY, vp.centerPoint().y + vp.height() / 2);
    });
    double minX = 0, minY = 0, maxX = 1, maxY = 1;
    if (!measure.extents(minX, minY, maxX, maxY)) {
        minX = vpMinX, minY = vpMinY, maxX = vpMaxX, maxY = vpMaxY;
        if (minX > maxX) {
            minX = minY = 0;
            maxX = maxY = 1;
        }
    } else if (vpMinX <= vpMaxX) {
        minX = std::min(minX, vpMinX), minY = std::min(minY, vpMinY);
        maxX = std::max(maxX, vpMaxX), maxY = std::max(maxY, vpMaxY);
    }
    in.areaMinX = minX, in.areaMinY = minY, in.areaMaxX = maxX, in.areaMaxY = maxY;

    if (!setUp) {
        in.scale = 0.0;
        in.centred = true;
        frame = PlotFrame::compute(in);
        return true;
    }
    layout.getPlotPaperMargins(in.marginLeft, in.marginBottom, in.marginRight, in.marginTop);
    const double unitMm = layout.plotPaperUnits() == AcDbPlotSettings::kInches ? 25.4 : 1.0;
    switch (layout.plotType()) {
    case AcDbPlotSettings::kWindow: {
        double x0, y0, x1, y1;
        layout.getPlotWindowArea(x0, y0, x1, y1);
        in.areaMinX = std::min(x0, x1), in.areaMaxX = std::max(x0, x1);
        in.areaMinY = std::min(y0, y1), in.areaMaxY = std::max(y0, y1);
        break;
    }
    case AcDbPlotSettings::kLimits: {
        double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        if (headerPoint(db, layout.modelType() ? "$LIMMIN" : "$PLIMMIN", x0, y0) &&
            headerPoint(db, layout.modelType() ? "$LIMMAX" : "$PLIMMAX", x1, y1) && x1 > x0 && y1 > y0) {
            in.areaMinX = x0, in.areaMinY = y0, in.areaMaxX = x1, in.areaMaxY = y1;
        }
        break;
    }
    case AcDbPlotSettings::kLayout:
        if (!layout.modelType()) {
            // The sheet: paper-space units are the paper's, its origin at the printable corner.
            const bool sideways = layout.plotRotation() % 2 == 1;
            const double printW = in.paperWidth - in.marginLeft - in.marginRight;
            const double printH = in.paperHeight - in.marginBottom - in.marginTop;
            in.areaMinX = 0, in.areaMinY = 0;
            in.areaMaxX = (sideways ? printH : printW) / unitMm;
            in.areaMaxY = (sideways ? printW : printH) / unitMm;
        }
        break;
    default:
        // Extents; the display and named views are a matter of the editor's
        // screen, which a drawing file does not keep: they plot the extents too.
        break;
    }
    double scale = 0.0;
    if (layout.useStandardScale()) {
        scale = AcDbPlotSettings::stdScaleValue(layout.stdScaleType());
    } else {
        double numerator = 1, denominator = 1;
        layout.getCustomPrintScale(numerator, denominator);
        scale = denominator > 0 ? numerator / denominator : 0.0;
    }
    in.scale = scale * unitMm;
    in.centred = layout.plotCentered();
    layout.getPlotOrigin(in.originX, in.originY);
    in.rotation = layout.plotRotation();
    frame = PlotFrame::compute(in);
    return true;
}

bool PlotEngine::plot(AcDbDatabase& db, const std::string& layoutName, const std::string& fileName)
{
    message_.clear();
    const Device device = deviceForFile(fileName);
    if (device == Device::Dwf)
        return fail("DWF files cannot be written here: no program on this machine reads them. Plot to " +
                    std::string(workingDevices()) + " instead.");
    if (device == Device::Unknown)
        return fail("\"" + fileName + "\" names no plot device. Give the file the extension of " +
                    std::string(workingDevices()) + ".");
    const std::filesystem::path target(fileName);
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec))
        return fail("The folder \"" + folder.string() + "\" does not exist; plot to a file in an existing folder.");

    AcDbLayoutManager* manager = acdbLayoutManager();
    std::string name = layoutName;
    if (name.empty() && manager->getActiveLayoutName(name, true, &db) != Acad::eOk)
        return fail("The drawing has no current layout to plot.");
    const AcDbObjectId layoutId = manager->findLayoutNamed(name.c_str(), &db);
    AcDbLayout* layout = nullptr;
    if (layoutId.isNull() || acdbOpenObject(layout, layoutId, AcDb::kForRead) != Acad::eOk)
        return fail("The drawing has no layout named \"" + name + "\".");
    if (progress_)
        progress_(0);
    PlotFrame frame;
    if (!layoutFrame(db, *layout, frame)) {
        layout->close();
        return false;
    }
    const AcDbObjectId space = layout->getBlockTableRecordId();
    const bool modelLayout = layout->modelType();
    PlotRenderer::Options options;
    options.printLineweights = layout->printLineweights();
    layout->close();

    const double pageW = frame.pageWidth(), pageH = frame.pageHeight();
    // The plot is written beside its file and renamed over it when whole;
    // what a plot of a process that was killed left there goes first.
    SafeFileReplace::removeStaleTemporaries(target.string());
    const std::string temporary = SafeFileReplace::temporaryName(target.string(), "plot");
    cairo_surface_t* surface = nullptr;
    double unitsPerMm = 72.0 / 25.4;
    if (device == Device::Pdf) {
        surface = cairo_pdf_surface_create(temporary.c_str(), pageW * unitsPerMm, pageH * unitsPerMm);
    } else if (device == Device::Svg) {
        // Drawn in millimetres, so the page says its size in millimetres.
        unitsPerMm = 1.0;
        surface = cairo_svg_surface_create(temporary.c_str(), pageW, pageH);
        cairo_svg_surface_set_document_unit(surface, CAIRO_SVG_UNIT_MM);
    } else {
        unitsPerMm = rasterDpi(pageW, pageH) / 25.4;
        const int w = std::max(1, static_cast<int>(std::lround(pageW * unitsPerMm)));
        const int h = std::max(1, static_cast<int>(std::lround(pageH * unitsPerMm)));
        surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
        options.minimumLineWidth = 1.0;
    }
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        std::filesystem::remove(temporary, ec);
        return fail("Cannot write \"" + fileName + "\": " + cairo_status_to_string(cairo_surface_status(surface)));
    }
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    // Paper millimetres (y up) to device units (y down).
    cairo_matrix_t paperToDevice;
    cairo_matrix_init(&paperToDevice, unitsPerMm, 0, 0, -unitsPerMm, 0, pageH * unitsPerMm);
    cairo_matrix_t spaceToPaper;
    cairo_matrix_init(&spaceToPaper, frame.xx(), frame.yx(), frame.xy(), frame.yy(), frame.x0(), frame.y0());
    options.worldToDevice = spaceToPaper;
    cairo_matrix_multiply(&options.worldToDevice, &spaceToPaper, &paperToDevice);
    options.deviceUnitsPerMm = unitsPerMm;
    options.deviceWidth = pageW * unitsPerMm;
    options.deviceHeight = pageH * unitsPerMm;
    PlotRenderer renderer(db, cr, options);
    if (progress_)
        progress_(10);
    renderer.drawSpace(space, [&](const AcDbViewport& vp) {
        if (modelLayout || vp.number() == 1 || !vp.isOn() || vp.viewHeight() <= 0.0)
            return;
        // The viewport's frame on the sheet clips the model view it shows.
        const cairo_matrix_t sheet = options.worldToDevice;
        cairo_save(cr);
        const double cx = vp.centerPoint().x, cy = vp.centerPoint().y, hw = vp.width() / 2, hh = vp.height() / 2;
        const double corners[4][2] = {{cx - hw, cy - hh}, {cx + hw, cy - hh}, {cx + hw, cy + hh}, {cx - hw, cy + hh}};
        for (int i = 0; i < 4; ++i) {
            double x = corners[i][0], y = corners[i][1];
            cairo_matrix_transform_point(&sheet, &x, &y);
            if (i == 0)
                cairo_move_to(cr, x, y);
            else
                cairo_line_to(cr, x, y);
        }
        cairo_close_path(cr);
        cairo_clip(cr);
        // Model to sheet: the view's centre (display coordinates about the
        // target) to the viewport's centre, at its scale, turned by its twist.
        const double s = vp.customScale();
        const double viewX = vp.viewTarget().x + vp.viewCenter().x, viewY = vp.viewTarget().y + vp.viewCenter().y;
        const double c = std::cos(-vp.twistAngle()) * s, n = std::sin(-vp.twistAngle()) * s;
        cairo_matrix_t modelToSheet;
        cairo_matrix_init(&modelToSheet, c, n, -n, c, cx - (c * viewX - n * viewY), cy - (n * viewX + c * viewY));
        cairo_matrix_t modelToDevice;
        cairo_matrix_multiply(&modelToDevice, &modelToSheet, &sheet);
        AcDbObjectIdArray frozen;
        vp.getFrozenLayerList(frozen);
        renderer.setViewportFrozenLayers(std::set<AcDbObjectId>(frozen.begin(), frozen.end()));
        renderer.setWorldToDevice(modelToDevice);
        renderer.drawSpace(db.modelSpaceId());
        renderer.setWorldToDevice(sheet);
        renderer.setViewportFrozenLayers({});
        cairo_restore(cr);
    });
    if (progress_)
        progress_(90);
    cairo_destroy(cr);
    bool written = true;
    if (device == Device::Png)
        written = cairo_surface_write_to_png(surface, temporary.c_str()) == CAIRO_STATUS_SUCCESS;
    else if (device == Device::Jpg)
        written = writeJpeg(surface, temporary);
    cairo_surface_finish(surface);
    written = written && cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    if (!written || !std::filesystem::exists(temporary, ec)) {
        std::filesystem::remove(temporary, ec);
        return fail("Cannot write \"" + fileName + "\"; check that the folder is writable and the disk not full.");
    }
    std::filesystem::rename(temporary, target, ec);
    if (ec) {
        std::filesystem::remove(temporary, ec);
        return fail("Cannot write \"" + fileName + "\": " + ec.message());
    }
    if (progress_)
        progress_(100);
    return true;
}
