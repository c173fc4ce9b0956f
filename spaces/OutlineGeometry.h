#pragma once
// Plane geometry of closed outlines that the bulk creation of space blocks
// needs beyond measuring: the outline as a polygon (arcs flattened), whether
// it crosses itself, whether a point lies inside it, and its visual centre
// (the pole of inaccessibility: the inside point farthest from the
// boundary), where a label is readable even in L- and U-shaped rooms.
//
// Pure functions on values; nothing here touches a drawing.

#include <span>
#include <vector>

#include "host/ge/AcGeBulgeVertex.h"
#include "host/ge/AcGePoint2d.h"

class COutlineGeometry {
public:
    // The outline as a polygon: its vertices, each arc replaced by chords
    // that stay within sagitta of it (at least one chord, at most 64 per
    // arc; sagitta <= 0 takes 1/1000 of the arc's radius).
    static std::vector<AcGePoint2d> flatten(std::span<const AcGeBulgeVertex> vertices, double sagitta = 0.0);
    // Whether two edges of the closed polygon that are not neighbours touch
    // or cross, or two neighbours overlap (the outline folds back on itself).
    // Repeated consecutive points are passed over.
    static bool isSelfIntersecting(std::span<const AcGePoint2d> polygon);
    // Whether every point lies within a millionth of the polygon's size of
    // one straight line (the outline encloses nothing).
    static bool isCollinear(std::span<const AcGePoint2d> polygon);
    // Whether p lies inside the closed polygon (even-odd rule; a point on
    // the boundary counts as inside).
    static bool contains(std::span<const AcGePoint2d> polygon, const AcGePoint2d& p);
    // The pole of inaccessibility of the closed polygon, found to within
    // precision (<= 0: 1/50 of the polygon's smaller extent); the centre of
    // its extents for a degenerate polygon.
    static AcGePoint2d poleOfInaccessibility(std::span<const AcGePoint2d> polygon, double precision = 0.0);
    // Signed distance from p to the polygon's boundary: positive inside.
    static double signedDistance(std::span<const AcGePoint2d> polygon, const AcGePoint2d& p);
};
