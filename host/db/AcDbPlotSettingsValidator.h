#pragma once
#include <string>
#include <vector>

#include "host/db/AcDbPlotSettings.h"

// Checks plot settings against what the host's plot engine offers and sets
// them: the plot configurations (devices), the canonical media names, plot
// type, scale, centring and style sheet. Every setter takes plot settings
// (a layout) open for write and changes nothing when it fails:
// eNullObjectPointer for null settings, eNotOpenForWrite for settings of a
// drawing not open for write, eInvalidInput for a device, media name or
// value the host does not offer.
//
// Devices: "None", "DWF6 ePlot.pc3", "DWG To PDF.pc3", "PublishToWeb
// JPG.pc3", "PublishToWeb PNG.pc3" (names compared without regard to case,
// stored as listed here). Every device but "None" offers the same media: the
// ISO, ANSI and ARCH sheets named "<name>_(<width>_x_<height>_<MM|Inches>)";
// the raster devices render that sheet. Setting a media sets the paper size
// (DXF 44/45, millimetres) and paper units from its name.
class AcDbPlotSettingsValidator {
public:
    // The devices, in the order above. eOk.
    Acad::ErrorStatus plotDeviceList(std::vector<std::string>& names) const;
    // The media the settings' device offers (none for "None" or an unknown device);
    // eNullObjectPointer for null settings.
    Acad::ErrorStatus canonicalMediaNameList(const AcDbPlotSettings* settings, std::vector<std::string>& names) const;
    // Sets the device, then the media when given; without one the media is
    // kept when the device offers it, else it becomes the device's first.
    Acad::ErrorStatus setPlotCfgName(AcDbPlotSettings* settings, const char* deviceName, const char* mediaName = nullptr);
    Acad::ErrorStatus setCanonicalMediaName(AcDbPlotSettings* settings, const char* mediaName);
    Acad::ErrorStatus setPlotType(AcDbPlotSettings* settings, AcDbPlotSettings::PlotType type);
    Acad::ErrorStatus setUseStandardScale(AcDbPlotSettings* settings, bool useStandard);
    // Sets the standard scale and its value (DXF 147, paper units per drawing unit; kept for kScaleToFit).
    Acad::ErrorStatus setStdScaleType(AcDbPlotSettings* settings, AcDbPlotSettings::StdScaleType type);
    // numerator paper units per denominator drawing units; both must be above 0.
    Acad::ErrorStatus setCustomPrintScale(AcDbPlotSettings* settings, double numerator, double denominator);
    Acad::ErrorStatus setPlotCentered(AcDbPlotSettings* settings, bool centered);
    // The plot style table file (e.g. "monochrome.ctb"); "" for none.
    Acad::ErrorStatus setCurrentStyleSheet(AcDbPlotSettings* settings, const char* styleSheetName);
    Acad::ErrorStatus setPlotRotation(AcDbPlotSettings* settings, AcDbPlotSettings::PlotRotation rotation);
    Acad::ErrorStatus setPlotPaperUnits(AcDbPlotSettings* settings, AcDbPlotSettings::PlotPaperUnits units);
    // The window plotted with kWindow, drawing units; eInvalidInput for an empty window.
    Acad::ErrorStatus setPlotWindowArea(AcDbPlotSettings* settings, double xmin, double ymin, double xmax, double ymax);
    // The plot origin offset, millimetres.
    Acad::ErrorStatus setPlotOrigin(AcDbPlotSettings* settings, double x, double y);
    // The named view plotted with kView.
    Acad::ErrorStatus setPlotViewName(AcDbPlotSettings* settings, const char* viewName);
    // Brings the device and media lists up to date. They are fixed in this
    // host, so this only checks the settings: eNullObjectPointer for null, else eOk.
    Acad::ErrorStatus refreshLists(AcDbPlotSettings* settings);

private:
    // eOk when settings may be changed now; the status above otherwise.
    static Acad::ErrorStatus writable(const AcDbPlotSettings* settings);
};

// The host's plot settings validator.
AcDbPlotSettingsValidator* acdbPlotSettingsValidator();
