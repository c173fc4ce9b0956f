#pragma once
#include <string>

#include "host/db/AcDbObject.h"

// The plot settings of a layout (the AcDbPlotSettings part of a LAYOUT
// object): device, media, margins and paper size, plot area, scale, rotation,
// style sheet and the plot layout flags. Values read from a file are written
// back with their original text unless changed. Paper sizes, margins and the
// plot origin are in millimetres, as DXF stores them. Setters mark the object
// changed and return eOk; the device, media, plot type, scale and centring
// are set through AcDbPlotSettingsValidator, which checks them.
class AcDbPlotSettings : public AcDbObject {
public:
    // DXF 72.
    enum PlotPaperUnits { kInches = 0, kMillimeters = 1, kPixels = 2 };
    // DXF 73: counter-clockwise quarter turns.
    enum PlotRotation { k0degrees = 0, k90degrees = 1, k180degrees = 2, k270degrees = 3 };
    // DXF 74: what is plotted.
    enum PlotType { kDisplay = 0, kExtents = 1, kLimits = 2, kView = 3, kWindow = 4, kLayout = 5 };
    // DXF 75: the standard scales, paper = drawing.
    enum StdScaleType {
        kScaleToFit = 0,
        k1_128in_1ft, k1_64in_1ft, k1_32in_1ft, k1_16in_1ft, k3_32in_1ft, k1_8in_1ft, k3_16in_1ft, k1_4in_1ft,
        k3_8in_1ft, k1_2in_1ft, k3_4in_1ft, k1in_1ft, k3in_1ft, k6in_1ft, k1ft_1ft,
        k1_1 = 16, k1_2, k1_4, k1_5, k1_8, k1_10, k1_16, k1_20, k1_30, k1_40, k1_50, k1_100,
        k2_1 = 28, k4_1, k8_1, k10_1, k100_1, k1000_1,
        k1and1_2in_1ft = 34
    };
    // DXF 70 bits.
    enum PlotFlags {
        kPlotViewportBorders = 1,
        kShowPlotStyles = 2,
        kPlotCentered = 4,
        kPlotHidden = 8,
        kUseStandardScale = 16,
        kPlotPlotStyles = 32,
        kScaleLineweights = 64,
        kPrintLineweights = 128,
        kDrawViewportsFirst = 512,
        kModelType = 1024,
        kUpdatePaper = 2048,
        kZoomToPaperOnUpdate = 4096,
        kInitializing = 8192,
        kPrevPlotInit = 16384
    };

    AcDbPlotSettings() = default;

    static const AcRxClass* desc();
    const AcRxClass* isA() const override { return desc(); }

    // Page setup name (DXF 1).
    Acad::ErrorStatus getPlotSettingsName(const char*& name) const { name = pageSetupName_.c_str(); return Acad::eOk; }
    Acad::ErrorStatus setPlotSettingsName(const char* name);
    // Plot configuration (device) name (DXF 2); set it through the validator.
    Acad::ErrorStatus getPlotCfgName(const char*& name) const { name = plotCfgName_.c_str(); return Acad::eOk; }
    const std::string& plotCfgName() const { return plotCfgName_; }
    // Canonical media name (DXF 4); set it through the validator.
    Acad::ErrorStatus getCanonicalMediaName(const char*& name) const { name = mediaName_.c_str(); return Acad::eOk; }
    const std::string& canonicalMediaName() const { return mediaName_; }
    // Named view plotted with plot type kView (DXF 6).
    Acad::ErrorStatus getPlotViewName(const char*& name) const { name = viewName_.c_str(); return Acad::eOk; }
    // Plot style table file name (DXF 7); set it through the validator.
    Acad::ErrorStatus getCurrentStyleSheet(const char*& name) const { name = styleSheet_.c_str(); return Acad::eOk; }

    // Unprintable margins, millimetres (DXF 40 left, 41 bottom, 42 right, 43 top).
    void getPlotPaperMargins(double& left, double& bottom, double& right, double& top) const;
    // Paper width and height, millimetres (DXF 44, 45).
    void getPlotPaperSize(double& width, double& height) const;
    // Plot origin offset, millimetres (DXF 46, 47).
    void getPlotOrigin(double& x, double& y) const;
    // Plot window corners in drawing units (DXF 48/49 lower left, 140/141 upper right).
    void getPlotWindowArea(double& xmin, double& ymin, double& xmax, double& ymax) const;
    // Custom print scale: paper units (DXF 142) per drawing units (DXF 143).
    void getCustomPrintScale(double& numerator, double& denominator) const;
    // The standard scale as paper units per drawing unit (DXF 147).
    void getStdScale(double& scale) const { scale = stdScale_; }
    // Paper image origin (DXF 148, 149).
    void getPaperImageOrigin(double& x, double& y) const;

    PlotPaperUnits plotPaperUnits() const { return static_cast<PlotPaperUnits>(paperUnits_); }
    PlotRotation plotRotation() const { return static_cast<PlotRotation>(rotation_); }
    PlotType plotType() const { return static_cast<PlotType>(plotType_); }
    StdScaleType stdScaleType() const { return static_cast<StdScaleType>(stdScaleType_); }
    // Shade plot mode, resolution level and custom DPI (DXF 76, 77, 78).
    int shadePlotMode() const { return shadeMode_; }
    int shadePlotResLevel() const { return shadeResLevel_; }
    int shadePlotCustomDPI() const { return shadeDpi_; }

    // The plot layout flags (DXF 70) as stored.
    int plotLayoutFlags() const { return flags_; }
    bool plotViewportBorders() const { return flags_ & kPlotViewportBorders; }
    bool showPlotStyles() const { return flags_ & kShowPlotStyles; }
    bool plotCentered() const { return flags_ & kPlotCentered; }
    bool plotHidden() const { return flags_ & kPlotHidden; }
    bool useStandardScale() const { return flags_ & kUseStandardScale; }
    bool plotPlotStyles() const { return flags_ & kPlotPlotStyles; }
    bool scaleLineweights() const { return flags_ & kScaleLineweights; }
    bool printLineweights() const { return flags_ & kPrintLineweights; }
    bool drawViewportsFirst() const { return flags_ & kDrawViewportsFirst; }

    Acad::ErrorStatus setPlotViewportBorders(bool on) { return setFlag(kPlotViewportBorders, on); }
    Acad::ErrorStatus setShowPlotStyles(bool on) { return setFlag(kShowPlotStyles, on); }
    Acad::ErrorStatus setPlotHidden(bool on) { return setFlag(kPlotHidden, on); }
    Acad::ErrorStatus setPlotPlotStyles(bool on) { return setFlag(kPlotPlotStyles, on); }
    Acad::ErrorStatus setScaleLineweights(bool on) { return setFlag(kScaleLineweights, on); }
    Acad::ErrorStatus setPrintLineweights(bool on) { return setFlag(kPrintLineweights, on); }
    Acad::ErrorStatus setDrawViewportsFirst(bool on) { return setFlag(kDrawViewportsFirst, on); }

    // Standard scale value of a scale type as paper units per drawing unit;
    // 0 for kScaleToFit and values outside the enumeration.
    static double stdScaleValue(int type);

protected:
    // Sets or clears one flag bit; eOk.
    Acad::ErrorStatus setFlag(int bit, bool on);

private:
    friend class DxfLayoutIO;
    friend class AcDbPlotSettingsValidator;

    std::string pageSetupName_, plotCfgName_, mediaName_, viewName_, styleSheet_;
    double margins_[4] = {0, 0, 0, 0};
    double paperWidth_ = 0, paperHeight_ = 0;
    double originX_ = 0, originY_ = 0;
    double window_[4] = {0, 0, 0, 0};
    double customNumerator_ = 1, customDenominator_ = 1;
    double stdScale_ = 1;
    double imageOriginX_ = 0, imageOriginY_ = 0;
    int flags_ = 688;  // standard scale, plot styles, print lineweights, viewports first
    int paperUnits_ = kMillimeters, rotation_ = k0degrees, plotType_ = kLayout, stdScaleType_ = k1_1;
    int shadeMode_ = 0, shadeResLevel_ = 2, shadeDpi_ = 300;
};
