#pragma once
// The legend marker ("MARKER-LEGEND"): where a graphic report puts its legend
// table. Read from a reference: its rotation in the current UCS, the first
// vertex of the outline polyline of its definition moved by the block
// transform as the insertion point, and the attributes "LEGENDTEXTSIZE"
// (text size), "LEGENDPRECISION" and "LEGENDUNITS" (whole numbers).

#include "editing/MarkerBlock.h"

class CMarkerBlockLegend : public CMarkerBlock {
public:
    CMarkerBlockLegend() = default;
    // Reads the reference (held open by the caller). A definition without an
    // outline leaves the insertion point at the origin; missing attributes
    // leave their settings. Wraps failures (CMarkerBlockLegend::CMarkerBlockLegend).
    CMarkerBlockLegend(const AcDbBlockReference* reference, CAcadDrawing& drawing);
};
