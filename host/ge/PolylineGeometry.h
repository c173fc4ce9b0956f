#pragma once
// Measures of lightweight polylines given as a vertex list with
// bulges (see AcGeBulgeSegment for the arc conventions). Segment i runs from
// vertex i to vertex i + 1 with the bulge of vertex i; a closed polyline adds
// the segment from the last vertex back to the first with the last bulge. An
// open polyline ignores its last bulge; where an area or an inside is needed
// it is closed by a straight line from its last vertex to its first, as CAD
// programs report the area of an open polyline.
//
// Precision: every sum runs in long double with compensated (Neumaier)
// summation, and cross products are taken relative to the first vertex, so
// coordinates far from the origin (a building in millimetres at 1e6) lose no
// digits. Areas and lengths agree with closed forms to about 1e-15 relative.

#include <cstddef>
#include <span>

#include "host/ge/AcGeBulgeSegment.h"
#include "host/ge/AcGeBulgeVertex.h"
#include "host/ge/AcGeContext.h"
#include "host/ge/AcGePoint2d.h"

// Number of segments: n − 1 for an open polyline, n for a closed one (0 for fewer than two vertices).
std::size_t acgePolylineSegmentCount(std::span<const AcGeBulgeVertex> vertices, bool closed);
// Segment index (0 ≤ index < segment count); an index out of range gives a zero-length segment at the origin.
AcGeBulgeSegment acgePolylineSegment(std::span<const AcGeBulgeVertex> vertices, bool closed, std::size_t index);

// Signed enclosed area, arcs included: positive for a counter-clockwise outline. 0 for fewer than two vertices.
double acgePolylineSignedArea(std::span<const AcGeBulgeVertex> vertices, bool closed);
// Absolute enclosed area (a self-crossing outline gives the net of its loops, as its signed area does).
double acgePolylineArea(std::span<const AcGeBulgeVertex> vertices, bool closed);
// Length along the curve, arc lengths for bulged segments; the closing segment counts only when closed.
double acgePolylineLength(std::span<const AcGeBulgeVertex> vertices, bool closed);
// Geometric extents including the arcs' extreme points. Returns false, leaving lo and hi untouched, for no vertices.
bool acgePolylineExtents(std::span<const AcGeBulgeVertex> vertices, bool closed, AcGePoint2d& lo, AcGePoint2d& hi);
