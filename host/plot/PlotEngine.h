#pragma once
#include <functional>
#include <string>

#include "host/plot/PlotFrame.h"

class AcDbDatabase;
class AcDbLayout;

// The host's plot engine: draws a layout of a drawing to a file the way CAD
// programs plot it. The model layout plots model space through its plot
// settings; a paper-space layout plots its sheet with the model space seen
// through each of its viewports (clipped to the viewport, at its scale, with
// the layers frozen in it left out). The device follows the file's
// extension: PDF (vector, text as text), SVG (vector), PNG and JPG (raster,
// rasterDpi()). DWF is refused: no program on this machine reads it.
class PlotEngine {
public:
    enum class Device { Unknown, Dwf, Pdf, Jpg, Png, Svg };

    // The device of a file name by its extension (case ignored); Unknown for others.
    static Device deviceForFile(const std::string& fileName);
    // "PDF (.pdf), PNG (.png), JPG (.jpg) or SVG (.svg)": the devices that work, for messages.
    static const char* workingDevices();
    // The resolution of raster output: 150 dots per inch, lowered so that the
    // longer side of the page stays within 10000 pixels.
    static double rasterDpi(double pageWidthMm, double pageHeightMm);

    // The frame a layout plots with: its media, plot area, scale, centring or
    // offset and rotation. A layout never set up for plotting here (no
    // device, or one this host does not have) plots its extents scaled to fit and centred on its media, ISO A3
    // landscape when it has none. False with message() when the layout's
    // block is missing.
    bool layoutFrame(AcDbDatabase& db, const AcDbLayout& layout, PlotFrame& frame);

    // Plots the named layout (the current one when empty) to the file, with
    // the device its extension names. The file is written whole or not at
    // all (a previous file stays until the new one is complete). False with
    // message() for an unknown or DWF extension, a missing layout, a folder
    // that does not exist or a file that cannot be written.
    bool plot(AcDbDatabase& db, const std::string& layoutName, const std::string& fileName);

    // Told the progress of a plot in percent (0 first, 100 last); optional.
    void setProgress(std::function<void(int)> progress) { progress_ = std::move(progress); }
    // What went wrong with the last plot; empty after a success.
    const std::string& message() const { return message_; }

private:
    bool fail(std::string message);

    std::function<void(int)> progress_;
    std::string message_;
};
