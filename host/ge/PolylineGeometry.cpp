#include "host/ge/PolylineGeometry.h"

#include <cmath>
#include <limits>
#include <vector>

#include "host/ge/CompensatedSum.h"

namespace {

using ld = long double;

// Crossing-number parity of p against the straight-edged loop through the
// given points (the chord polygon when bulges are ignored). The ray runs to
// +X; edge sides come from the same orientation predicate the arc regions
// use, so a point on a chord is judged the same way by both.
template <typename PointAt>
bool chordParity(std::size_t n, PointAt pointAt, const AcGePoint2d& p)
{
    bool inside = false;
    for (std::size_t i = 0; i < n; ++i) {
        const AcGePoint2d& a = pointAt(i);
        const AcGePoint2d& b = pointAt((i + 1) % n);
        // Half-open rule on y, matching the perturbation of acgeOrientation:
        // an end point level with p counts as below it.
        bool aAbove = a.y > p.y, bAbove = b.y > p.y;
        if (aAbove == bAbove)
            continue;
        int side = acgeOrientation(a, b, p);
        // Going up, the crossing is right of p when p is left of the edge; going down, the reverse.
        if ((bAbove && side > 0) || (aAbove && side < 0))
            inside = !inside;
    }
    return inside;
}

}  // namespace

std::size_t acgePolylineSegmentCount(std::span<const AcGeBulgeVertex> vertices, bool closed)
{
    if (vertices.size() < 2)
        return 0;
    return closed ? vertices.size() : vertices.size() - 1;
}

AcGeBulgeSegment acgePolylineSegment(std::span<const AcGeBulgeVertex> vertices, bool closed, std::size_t index)
{
    if (index >= acgePolylineSegmentCount(vertices, closed))
        return AcGeBulgeSegment(AcGePoint2d::kOrigin, AcGePoint2d::kOrigin, 0.0);
    const AcGeBulgeVertex& v = vertices[index];
    const AcGeBulgeVertex& next = vertices[(index + 1) % vertices.size()];
    return AcGeBulgeSegment(v.point, next.point, v.bulge);
}

double acgePolylineSignedArea(std::span<const AcGeBulgeVertex> vertices, bool closed)
{
    std::size_t n = vertices.size();
    if (n < 2)
        return 0.0;
    // Shoelace over the chords relative to the first vertex, plus each arc's
    // region between chord and arc with its sign.
    const AcGePoint2d& o = vertices[0].point;
    CompensatedSum twiceChordArea;
    CompensatedSum arcArea;
    for (std::size_t i = 0; i < n; ++i) {
        const AcGePoint2d& a = vertices[i].point;
        const AcGePoint2d& b = vertices[(i + 1) % n].point;
        ld ax = static_cast<ld>(a.x) - o.x, ay = static_cast<ld>(a.y) - o.y;
        ld bx = static_cast<ld>(b.x) - o.x, by = static_cast<ld>(b.y) - o.y;
        twiceChordArea += ax * by - ay * bx;
        if (i + 1 < n || closed)
            arcArea += AcGeBulgeSegment(a, b, vertices[i].bulge).segmentArea();
    }
    return static_cast<double>(twiceChordArea.value() / 2 + arcArea.value());
}

double acgePolylineArea(std::span<const AcGeBulgeVertex> vertices, bool closed)
{
    return std::abs(acgePolylineSignedArea(vertices, closed));
}

double acgePolylineLength(std::span<const AcGeBulgeVertex> vertices, bool closed)
{
    CompensatedSum total;
    std::size_t count = acgePolylineSegmentCount(vertices, closed);
    for (std::size_t i = 0; i < count; ++i)
        total += acgePolylineSegment(vertices, closed, i).length();
    return static_cast<double>(total.value());
}

bool acgePolylineExtents(std::span<const AcGeBulgeVertex> vertices, bool closed, AcGePoint2d& lo, AcGePoint2d& hi)
{
    if (vertices.empty())
        return false;
    AcGePoint2d low = vertices[0].point, high = vertices[0].point;
    std::size_t count = acgePolylineSegmentCount(vertices, closed);
    for (std::size_t i = 0; i < count; ++i)
        acgePolylineSegment(vertices, closed, i).extendExtents(low, high);
    lo = low;
    hi = high;
    return true;
}

AcGePointContainment acgePolygonContainment(std::span<const AcGePoint2d> polygon, const AcGePoint2d& p, double tol)
{
    std::size_t n = polygon.size();
    if (n == 0)
        return AcGePointContainment::kOutside;
    for (std::size_t i = 0; i < n; ++i)
        if (acgeDistanceToLineSegment(p, polygon[i], polygon[(i + 1) % n]) <= tol)
            return AcGePointContainment::kOnBoundary;
    if (n < 3)
        return AcGePointContainment::kOutside;
    bool inside = chordParity(n, [&](std::size_t i) -> const AcGePoint2d& { return polygon[i]; }, p);
    return inside ? AcGePointContainment::kInside : AcGePointContainment::kOutside;
}
