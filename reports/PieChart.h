#pragma once
// The pie chart of an applied graphic report: one hatched wedge per
// category, each wedge's angle its share of the report's total child area,
// laid out clockwise from twelve o'clock, with labels and leader lines, the
// report title above and the total below, in a block definition
// "[ZELKA_PIECHART]_<title>", and, given a position on a full host product,
// a reference to it in model space. All the work happens in the constructor.
//
// A report without categories or without a positive total gets no chart.
// The chart block is made whole or not at all.

#include <cstdint>
#include <memory>
#include <string>

#include "host/db/AcDbObjectId.h"
#include "host/ge/AcGePoint3d.h"
#include "reports/PieSegments.h"

class CAcadDrawing;
class CGraphicReport;

class CPieChart {
public:
    // Throws a CEXUnhandled chain: innermost a CEXCustom "Unable to calculate
    // pie chart percentages ..." when the wedges add up to more than the
    // total (both rounded down to whole numbers), else the failing step.
    CPieChart(CAcadDrawing& drawing, const CGraphicReport& report, double radius, double xyOffset, double textSize,
              int32_t precision, const std::string& units, bool ignoreEmptySegments, bool showLabels,
              bool showLabelSegmentLines, double rotation, const AcGePoint3d* insertionPoint, bool fullProduct);
    CPieChart(const CPieChart&) = delete;
    CPieChart& operator=(const CPieChart&) = delete;

    static std::string pieBlockName(const std::string& reportTitle);

    const std::string& getBlockName() const { return blockName_; }
    AcDbObjectId getBlockId() const { return blockId_; }
    AcDbObjectId getReferenceId() const { return referenceId_; }
    const CPieSegments* getSegments() const { return segments_.get(); }

private:
    AcDbObjectId createPieChartBlockDefinition();
    void addTitleToPieChart(AcDbBlockTableRecord* record);
    void addFooterToPieChart(AcDbBlockTableRecord* record);

    CAcadDrawing& drawing_;
    std::unique_ptr<CPieSegments> segments_;
    std::string blockName_;
    std::string title_;
    CPieLayout layout_;
    double rotation_ = 0.0;
    int32_t precision_ = 0;
    std::string units_;
    bool ignoreEmpty_ = true;
    AcDbObjectId blockId_;
    AcDbObjectId referenceId_;
};
