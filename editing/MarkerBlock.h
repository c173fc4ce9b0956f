#pragma once
// A marker block: a block reference that marks where graphic reports place
// their legend table ("MARKER-LEGEND") or pie chart ("MARKER-PIECHART"). It
// is a space block of the plain kind (6) with the marker's own settings:
// precision and units of the numbers it shows (apart from the record's
// precision and units of CBlock), text size, rotation (radians, in the
// current UCS) and the insertion point in world coordinates.
// CMarkerBlockLegend and CMarkerBlockPie read them from a reference.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "host/ge/AcGePoint3d.h"
#include "spaces/BlockDWG.h"

class AcDbBlockReference;

class AcDbBlockTableRecord;

class CMarkerBlock : public CBlockDWG {
public:
    // The two markers a drawing holds at most once each.
    enum class Kind { Legend, Pie };

    // Whether the drawing has the marker's definition ("MARKER-LEGEND",
    // "MARKER-PIECHART").
    static bool markerExists(CAcadDrawing& drawing, Kind kind);
    // Makes the marker (mlmc, mpmc) from a closed polyline (legend: its first
    // vertex is the base point) or a circle (pie: its centre): the entity
    // moves into the new definition with the five attribute definitions,
    // and a reference on the marker's layer stands where the entity was,
    // placed by the UCS. rotation in radians; units (0 metric, 1 imperial)
    // is the legend's. Prints "Block Created
    // Successfully" or "Block Creation Failed - Error Code <n>". The caller
    // holds the drawing's lock; failures come out as CEXUnhandled chains.
    static void createMarker(CAcadDrawing& drawing, AcDbObjectId entityId, Kind kind, int32_t precision,
                             int32_t units, double textSize, double rotation);

    CMarkerBlock() = default;
    // Reads the reference as CBlockDWG does; the marker settings keep their defaults.
    CMarkerBlock(const AcDbBlockReference* reference, CAcadDrawing& drawing);

    int32_t getMarkerPrecision() const { return markerPrecision_; }
    void setMarkerPrecision(int32_t precision) { markerPrecision_ = precision; }
    int32_t getMarkerUnits() const { return markerUnits_; }
    void setMarkerUnits(int32_t units) { markerUnits_ = units; }
    double getTextSize() const { return textSize_; }
    void setTextSize(double size) { textSize_ = size; }
    double getRotation() const { return rotation_; }
    void setRotation(double radians) { rotation_ = radians; }
    const AcGePoint3d& getInsertionPoint() const { return insertionPoint_; }
    void setInsertionPoint(const AcGePoint3d& point) { insertionPoint_ = point; }

protected:
    // Adds the n-th attribute definition (from 1) of a marker at
    // (0, -n x textSize) to a definition open for write.
    static void defineAttribute(AcDbBlockTableRecord* definition, int n, const std::string& tag,
                                const std::string& prompt, const std::string& text, double textSize, double rotation);
    // The reference's rotation as seen in the drawing's current UCS: the
    // rotation of a copy of it taken back through the inverse UCS matrix.
    static double rotationInUcs(const AcDbBlockReference* reference, CAcadDrawing& drawing);
    // The tag and text of every attribute of the reference, in order.
    static std::vector<std::pair<std::string, std::string>> attributeTexts(const AcDbBlockReference* reference);

private:
    int32_t markerPrecision_ = 0;
    int32_t markerUnits_ = 0;
    double textSize_ = 0.0;
    double rotation_ = 0.0;
    AcGePoint3d insertionPoint_;
};
