#include "host/ge/PolylineGeometry.h"

#include <cmath>
#include <limits>
#include <vector>

#include "host/ge/CompensatedSum.h"

namespace {

using ld = long double;

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
