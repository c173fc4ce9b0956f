#pragma once
// What the property database holds for a graphic report, loaded as plain
// records: the report's settings, its categories with their hatch, the
// space blocks and assets of a category, the layers it switches on and its
// link lines. The report application turns these into its own objects; this
// file only talks to the database.

#include <cstdint>
#include <string>
#include <vector>

class CStoredProcedure;

struct CReportHeaderRecord {
    std::string title, drawingPath, drawingFilename, plotLayout;
    int32_t plotTypeID = 0, plotAreaTypeID = 0, plotMediaSizeID = 0, plotScaleTypeID = 0, plotCentred = 1;
    std::string outputPath, outputFilename, saveCopyTo, xmlOutputTo;
    double totalChildAreas = 0.0;
};

struct CCategoryRecord {
    int32_t id = 0;
    std::string title, hatchPattern;
    double hatchAngle = 0.0;
    std::string hatchColour;  // "#RRGGBB"
    double hatchScale = 1.0;
    std::string hatchLayer;
};

struct CCategoryBlockRecord {
    std::string handle, name, code;
    double area = 0.0;
    std::string swapName, swapArea, swapAux;
};

struct CLayerOnRecord {
    std::string name, description;
};

struct CLinkLineRecord {
    std::string startHandle, endHandle, layerName, labelText;
};

class CReportLoads {
public:
    explicit CReportLoads(CStoredProcedure& sp, uint32_t timeout) : sp_(sp), timeout_(timeout) {}

    // The ids of the reports with that status ("__gr_getGraphicReports").
    std::vector<int32_t> getGraphicReports(uint8_t statusID);
    // The report's settings; false when the database has no such report.
    bool getGraphicReport(int32_t graphicReportID, CReportHeaderRecord& header);
    std::vector<CCategoryRecord> getReportCategories(int32_t graphicReportID);
    std::vector<CCategoryBlockRecord> getCategoryBlocks(int32_t categoryID);
    std::vector<CLayerOnRecord> getReportLayersOn(int32_t graphicReportID);
    std::vector<CLinkLineRecord> getReportLinkLines(int32_t graphicReportID);
    // Status and layout of a report after its preparation.
    void setGraphicReportStatus(int32_t graphicReportID, int32_t statusID);
    void setGraphicReportLayout(int32_t graphicReportID, const std::string& layout);

private:
    CStoredProcedure& sp_;
    uint32_t timeout_;
};
