#pragma once
// The legend of an applied graphic report: a table (title row, heading row,
// one row per category with its title, a swatch of its hatch and the total
// area of its spaces) inside a block definition "[ZELKA_LEGEND]_<title>",
// and, given a position on a full host product, a reference to it in model
// space. The table draws itself through its own anonymous block, which is
// what other programs show. All the work happens in the constructor.
//
// The legend block and each swatch block ("[ZELKA_LEGEND_HATCH]_<title>_
// <category>") are made whole or not at all: a failure part-way erases what
// was made of them and throws.

#include <cstdint>
#include <string>

#include "host/db/AcDbObjectId.h"
#include "host/ge/AcGePoint3d.h"
#include "host/ge/AcGeVector3d.h"

class AcDbTable;
class CAcadDrawing;
class CCategory;
class CGraphicReport;

class CLegendTable {
public:
    // Builds the legend of the report: with an insertion point and a full
    // host product the block definition and its reference (createLegend),
    // otherwise the block definition only. A report without categories
    // gets a table of its title and headings. Throws a CEXUnhandled chain
    // naming the failing step when the drawing cannot take the legend.
    CLegendTable(CAcadDrawing& drawing, double textHeight, int32_t precision, const std::string& units,
                 bool ignoreEmptyCategories, const CGraphicReport& report, double rotation,
                 const AcGePoint3d* insertionPoint, bool fullProduct);
    CLegendTable(const CLegendTable&) = delete;
    CLegendTable& operator=(const CLegendTable&) = delete;

    // The sum of the areas of the category's block records (0 without any).
    static double calculateCategoryArea(const CCategory& category);
    // The name of the legend block of a report title and of a category's swatch.
    static std::string legendBlockName(const std::string& reportTitle);
    static std::string swatchBlockName(const std::string& reportTitle, const std::string& categoryTitle);

    const std::string& getBlockName() const { return blockName_; }
    AcDbObjectId getBlockId() const { return blockId_; }
    AcDbObjectId getReferenceId() const { return referenceId_; }

private:
    void createLegend(const AcGePoint3d& insertionPoint);
    void createLegendBlockDefinition();
    AcDbTable* createLegendTableEntity();
    // The swatch block of the category; null when it has no hatch.
    AcDbObjectId createHatchPattern(const CCategory& category, const std::string& name);

    CAcadDrawing& drawing_;
    const CGraphicReport& report_;
    double textHeight_ = 500.0;
    double rotation_ = 0.0;
    int32_t precision_ = 2;
    std::string units_ = "units";
    bool ignoreEmpty_ = false;
    std::string blockName_;
    AcGeVector3d normal_{0, 0, 1};
    AcDbObjectId blockId_;
    AcDbObjectId referenceId_;
};
