#pragma once
// One wedge of a pie chart: a category's title, hatch (not owned) and area,
// drawn into the chart's block as a closed outline, its hatch, and
// optionally a leader line and a label.

#include <cstdint>
#include <string>

#include "host/ge/AcGeVector3d.h"

class AcDbBlockTableRecord;
class AcDbPolyline;
class CAcadDrawing;
class CHatch;
class CZelkaExceptions;

// How the chart draws its wedges; the same for every wedge of a chart.
struct CPieLayout {
    double total = 0.0;       // the area the whole circle stands for
    double radius = 0.0;
    double xyOffset = 0.0;    // each wedge pushed out along its bisector
    double textSize = 0.0;
    AcGeVector3d normal{0, 0, 1};
    bool showLabels = true;
    bool showLabelLines = true;
};

class CPieSegment {
public:
    CPieSegment(std::string title, const CHatch* hatch, double area, int32_t precision, std::string units);

    const std::string& getTitle() const { return title_; }
    const CHatch* getHatch() const { return hatch_; }
    double getArea() const { return area_; }

    // Draws the wedge that starts at the running area start (clockwise from
    // twelve o'clock) into the open chart record: outline, hatch (problems
    // logged), and the leader line and label when the layout shows them.
    // Throws a CEXUnhandled chain when the record refuses an entity.
    void addSegmentToBlock(CAcadDrawing& drawing, AcDbBlockTableRecord* record, double start, const CPieLayout& layout);

private:
    AcDbPolyline* createSegment(double sweep, const CPieLayout& layout) const;
    void hatchSegment(AcDbBlockTableRecord* record, const AcDbPolyline& outline, const std::string& layer,
                      const CPieLayout& layout, CZelkaExceptions& errors) const;
    void addSegmentLine(AcDbBlockTableRecord* record, double mid, double labelRadius, const std::string& layer,
                        const CPieLayout& layout) const;
    void addSegmentLabel(AcDbBlockTableRecord* record, double mid, double labelRadius, const std::string& layer,
                         const CPieLayout& layout);

    std::string title_;
    const CHatch* hatch_;
    double area_;
    int32_t precision_;
    std::string units_;
};
