#pragma once
// The pie chart marker ("MARKER-PIECHART"): where a graphic report puts its
// pie chart. Read from a reference: its rotation in the current UCS, the
// centre of the circle of its definition moved by the block transform as the
// insertion point, and the attributes "PIETEXTSIZE" (text size),
// "PIEPRECISION" (whole number) and "PIERADIUS" (radius).

#include "editing/MarkerBlock.h"

class CMarkerBlockPie : public CMarkerBlock {
public:
    CMarkerBlockPie() = default;
    // Reads the reference (held open by the caller). A definition without a
    // circle leaves the insertion point at the origin; missing attributes
    // leave their settings. Wraps failures (CMarkerBlockPie::CMarkerBlockPie).
    CMarkerBlockPie(const AcDbBlockReference* reference, CAcadDrawing& drawing);

    double getRadius() const { return radius_; }
    void setRadius(double radius) { radius_ = radius; }

private:
    double radius_ = 0.0;
};
