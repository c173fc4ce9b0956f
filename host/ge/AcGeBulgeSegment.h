#pragma once
// One segment of a lightweight polyline: a straight line from start to end,
// or, with a non-zero bulge, a circular arc. The bulge is the tangent of a
// quarter of the arc's included angle; positive bulges turn counter-clockwise
// from start to end, and |bulge| = 1 is a half circle. With chord c and
// b = bulge:
//   sweep θ = 4·atan(b), radius r = c·(1 + b²) / (4|b|),
//   centre = chord midpoint + leftPerp(end − start)·(1 − b²) / (4b),
//   the arc's midpoint lies b·c/2 to the right of the chord (for b > 0).
// A segment whose end equals its start is a point whatever its bulge.
// All computations run in long double.

#include "host/ge/AcGePoint2d.h"

class AcGeBulgeSegment {
public:
    AcGeBulgeSegment(const AcGePoint2d& start, const AcGePoint2d& end, double bulge);

    const AcGePoint2d& startPoint() const { return mStart; }
    const AcGePoint2d& endPoint() const { return mEnd; }
    double bulge() const { return mBulge; }
    // True for a proper arc (non-zero bulge and distinct end points).
    bool isArc() const;
    // Distance between the end points.
    double chordLength() const;
    // Signed included angle 4·atan(bulge); 0 for a line.
    double sweepAngle() const;
    // The arc's radius; 0 for a line.
    double radius() const;
    // The arc's centre; the chord midpoint for a line.
    AcGePoint2d center() const;
    // Angle of the start point seen from the centre, in (−π, π]; 0 for a line.
    double startAngle() const;
    // The point at fraction t (0 start, 1 end) of the way along the segment.
    AcGePoint2d pointAt(double t) const;
    // Length along the segment (arc length for arcs).
    long double length() const;
    // Signed area between the chord and the arc: positive when the arc turns
    // counter-clockwise (it then lies right of the chord, outside a
    // counter-clockwise outline). 0 for a line.
    long double segmentArea() const;
    // Grows [lo, hi] to include the segment, with the arc's extreme points
    // where it passes 0°, 90°, 180° or 270°; never fails.
    void extendExtents(AcGePoint2d& lo, AcGePoint2d& hi) const;
    // Shortest distance from p to the segment.
    double distanceTo(const AcGePoint2d& p) const;

private:
    // True when a point of the segment's circle lies on the arc (the side of the chord the arc bulges to).
    bool circlePointOnArc(long double x, long double y) const;

    AcGePoint2d mStart;
    AcGePoint2d mEnd;
    double mBulge;
};

// Shortest distance from p to the straight segment a–b (the distance to a when a equals b).
double acgeDistanceToLineSegment(const AcGePoint2d& p, const AcGePoint2d& a, const AcGePoint2d& b);
