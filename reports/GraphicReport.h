#pragma once
// A graphic report: a named recipe for colouring a floor plan (categories
// with their hatches and space blocks, layers to show, link lines, pie chart
// options and plot settings). The report owns its three collections. This
// file holds the record, its XML document (GraphicReport.cpp) and applying
// it to a drawing (GraphicReportApply.cpp); the database loads and the batch
// preparation arrive with those sides.

#include <cstdint>
#include <memory>
#include <string>

#include <pugixml.hpp>

#include "reports/Category.h"
#include "reports/Layers.h"
#include "reports/LinkLine.h"

class CAcadDrawing;
class CAcadDrawingState;
class CHostProduct;
class CServerPreferenceDocMon;
class CStoredProcedure;

class CGraphicReport {
public:
    CGraphicReport() = default;
    CGraphicReport(const CGraphicReport&) = delete;
    CGraphicReport& operator=(const CGraphicReport&) = delete;

    // Writes the report document to path: an existing file of that name is
    // deleted first. Throws a CEXUnhandled chain when it cannot be written.
    void serialize(const std::string& path) const;
    // Fills the report from the document at path. A file that cannot be read
    // or whose root is not "graphicReport" leaves every field at its default,
    // prints the reason (file, line, parser message) on the command line and
    // returns false. A hatch colour that is not "#RRGGBB" throws a chain.
    bool deSerialize(const std::string& path);

    // The document under an existing node (a whole document takes the root).
    pugi::xml_node serialize(pugi::xml_node parent, const std::string& namespaceURI) const;
    // Reads a "graphicReport" element; missing children leave their defaults.
    void deSerialize(pugi::xml_node element);

    // Applies the report to the drawing: records the drawing state (layer
    // line weights 0), switches the report's layers on and every other off,
    // draws the link lines, then for each category applies its assets and
    // formats and hatches its space blocks (a "*" record stands for every
    // space block of the drawing but the gross areas), and puts the drawing
    // state back. Handles the drawing does not know and patterns the host
    // does not know are said on the command line and left out; each block's
    // problems are printed and written to the error logs, and the next block
    // follows. On a full host product, once a category was applied, the
    // legend goes to the first legend marker of the drawing. Nothing
    // happens when the drawing cannot be locked. Throws a
    // CEXUnhandled chain (CGraphicReport::applyToDrawing) for other failures.
    // Replaces the category records by the drawing blocks they formatted:
    // a report is applied once.
    void applyToDrawing(CAcadDrawing& drawing, const CHostProduct& host);
    // Batch preparation (GraphicReportBatch.cpp). Loads the report of that id
    // from the property database with its categories, layers and link lines;
    // an empty output path becomes the server entry's graphic report output
    // folder. Paths and file names are checked as they are stored (a bad one
    // throws). False when the database has no such report.
    bool getGraphicReport(CStoredProcedure& sp, const CServerPreferenceDocMon& server, int32_t graphicReportID,
                          uint32_t timeout);
    void setGraphicReportStatus(CStoredProcedure& sp, uint32_t timeout, int32_t status);
    void setGraphicReportLayout(CStoredProcedure& sp, uint32_t timeout, const std::string& layout);
    // Opens the drawing, applies the report, plots it, saves a copy and writes
    // the report as XML when asked, records the status in the database and
    // closes the drawing unsaved. Returns the status recorded: 3 plotted,
    // 4 no drawing file, 8 or another plot result, 10 no output folder,
    // 11 bad output file name, 12 copy not saved (or a module error after
    // the drawing opened, written to the error logs), 13 XML not written;
    // 2 when the drawing opened but could not be locked.
    int32_t prepareReport(CStoredProcedure& sp, uint32_t timeout);
    // Marks a report claimed again after an earlier attempt (whose worker
    // may have died half-way): its XML output is then written after removing
    // what a save killed before its rename left beside it.
    void setRetried(bool retried) { retried_ = retried; }
    // The status codes prepareReport records.
    enum BatchStatus : int32_t {
        kStarted = 2, kPlotted = 3, kNoDrawing = 4, kNoPlotFolder = 8, kNoOutputFolder = 10,
        kBadOutputFilename = 11, kCopyNotSaved = 12, kXMLNotWritten = 13
    };

    // The area unit text of a units setting: "sq.ft." for 1, else "sq.m.".
    static std::string unitsLabel(int32_t units);

    int32_t getID() const { return id_; }
    void setID(int32_t id) { id_ = id; }
    const std::string& getTitle() const { return title_; }
    void setTitle(const std::string& title) { title_ = title; }
    const std::string& getDrawingPath() const { return drawingPath_; }
    void setDrawingPath(const std::string& path) { drawingPath_ = path; }
    const std::string& getDrawingFilename() const { return drawingFilename_; }
    void setDrawingFilename(const std::string& name) { drawingFilename_ = name; }
    const std::string& getOutputPath() const { return outputPath_; }
    void setOutputPath(const std::string& path) { outputPath_ = path; }
    const std::string& getOutputFilename() const { return outputFilename_; }
    void setOutputFilename(const std::string& name) { outputFilename_ = name; }
    int32_t getPlotDevice() const { return plotDevice_; }
    void setPlotDevice(int32_t device) { plotDevice_ = device; }
    int32_t getApplyPlotSettings() const { return applyPlotSettings_; }
    void setApplyPlotSettings(int32_t flag) { applyPlotSettings_ = flag; }
    int32_t getPlotCentred() const { return plotCentred_; }
    void setPlotCentred(int32_t flag) { plotCentred_ = flag; }
    int32_t getPlotAreaType() const { return plotAreaType_; }
    void setPlotAreaType(int32_t type) { plotAreaType_ = type; }
    int32_t getPlotScaleType() const { return plotScaleType_; }
    void setPlotScaleType(int32_t type) { plotScaleType_ = type; }
    int32_t getPlotMediaSize() const { return plotMediaSize_; }
    void setPlotMediaSize(int32_t size) { plotMediaSize_ = size; }
    const std::string& getPlotLayout() const { return plotLayout_; }
    void setPlotLayout(const std::string& layout) { plotLayout_ = layout; }
    const std::string& getSaveCopyTo() const { return saveCopyTo_; }
    void setSaveCopyTo(const std::string& path) { saveCopyTo_ = path; }
    const std::string& getXMLOutputTo() const { return xmlOutputTo_; }
    void setXMLOutputTo(const std::string& path) { xmlOutputTo_ = path; }
    double getTotalChildAreas() const { return totalChildAreas_; }
    void setTotalChildAreas(double total) { totalChildAreas_ = total; }
    double getPieXYOffset() const { return pieXYOffset_; }
    void setPieXYOffset(double offset) { pieXYOffset_ = offset; }
    int32_t getPieIgnoreEmptySegments() const { return pieIgnoreEmptySegments_; }
    void setPieIgnoreEmptySegments(int32_t flag) { pieIgnoreEmptySegments_ = flag; }
    int32_t getPieShowLabels() const { return pieShowLabels_; }
    void setPieShowLabels(int32_t flag) { pieShowLabels_ = flag; }
    int32_t getPieShowLabelSegmentLines() const { return pieShowLabelSegmentLines_; }
    void setPieShowLabelSegmentLines(int32_t flag) { pieShowLabelSegmentLines_ = flag; }

    // Owned collections; null when the report has none. The setters take ownership.
    CCategories* getCategories() const { return categories_.get(); }
    void setCategories(std::unique_ptr<CCategories> categories) { categories_ = std::move(categories); }
    CLayers* getLayersOn() const { return layersOn_.get(); }
    void setLayersOn(std::unique_ptr<CLayers> layers) { layersOn_ = std::move(layers); }
    CLinkLines* getLinkLines() const { return linkLines_.get(); }
    void setLinkLines(std::unique_ptr<CLinkLines> lines) { linkLines_ = std::move(lines); }

    // The id conversions applied to plot ids read from the database or a
    // report document: out-of-range ids become 0; scale ids 19-33 become the
    // host's scale values 20-34.
    static int32_t convertToPlotDeviceID(int32_t id);
    static int32_t convertToPlotAreaTypeID(int32_t id);
    static int32_t convertToMediaSizeID(int32_t id);
    static int32_t convertToPlotScaleTypeID(int32_t id);
    // The id a host scale value came from (the inverse of the scale conversion).
    static int32_t plotScaleTypeIDFromScale(int32_t scale);

private:
    // Steps 5 to 7 of prepareReport on the open, locked, applied drawing:
    // plot, copy, XML. Returns the status to record.
    int32_t plotAndWrite(CAcadDrawing& drawing, CStoredProcedure& sp, uint32_t timeout);
    void placeLegendAndPie(CAcadDrawing& drawing, const CHostProduct& host);
    void applyCategoryAssets(CCategory& category, CAcadDrawing& drawing, CAcadDrawingState& state);
    void applyCategoryBlocks(CCategory& category, CAcadDrawing& drawing, CAcadDrawingState& state);
    // Appends every field's element under the report's root element.
    void writeFields(pugi::xml_node root, const std::string& namespaceURI) const;

    int32_t id_ = 0;
    std::string title_;
    std::string drawingPath_;
    std::string drawingFilename_;
    std::string outputPath_;
    std::string outputFilename_;
    int32_t plotDevice_ = 0;
    int32_t applyPlotSettings_ = 1;
    int32_t plotCentred_ = 1;
    int32_t plotAreaType_ = 0;
    int32_t plotScaleType_ = 0;
    int32_t plotMediaSize_ = 0;
    std::string plotLayout_;
    std::string saveCopyTo_;
    std::string xmlOutputTo_;
    double totalChildAreas_ = 0.0;
    std::unique_ptr<CCategories> categories_;
    std::unique_ptr<CLayers> layersOn_;
    std::unique_ptr<CLinkLines> linkLines_;
    double pieXYOffset_ = 0.0;
    int32_t pieIgnoreEmptySegments_ = 1;
    int32_t pieShowLabels_ = 1;
    int32_t pieShowLabelSegmentLines_ = 1;
    bool retried_ = false;
};
