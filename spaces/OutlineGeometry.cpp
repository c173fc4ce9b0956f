#include "spaces/OutlineGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <queue>

#include "host/ge/AcGeBulgeSegment.h"

namespace {

double cross(const AcGePoint2d& o, const AcGePoint2d& a, const AcGePoint2d& b)
{
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

// The side of b relative to the line o-a: -1, 0 (within eps) or 1.
int side(const AcGePoint2d& o, const AcGePoint2d& a, const AcGePoint2d& b, double eps)
{
    const double c = cross(o, a, b);
    const double scale = std::max(std::hypot(a.x - o.x, a.y - o.y), 1e-300);
    if (std::fabs(c) / scale <= eps) return 0;
    return c > 0 ? 1 : -1;
}

// Whether p (known to be on the line a-b) lies within the segment's box.
bool withinBox(const AcGePoint2d& a, const AcGePoint2d& b, const AcGePoint2d& p, double eps)
{
    return p.x >= std::min(a.x, b.x) - eps && p.x <= std::max(a.x, b.x) + eps && p.y >= std::min(a.y, b.y) - eps &&
           p.y <= std::max(a.y, b.y) + eps;
}

bool segmentsTouch(const AcGePoint2d& a, const AcGePoint2d& b, const AcGePoint2d& c, const AcGePoint2d& d, double eps)
{
    const int d1 = side(a, b, c, eps);
    const int d2 = side(a, b, d, eps);
    const int d3 = side(c, d, a, eps);
    const int d4 = side(c, d, b, eps);
    if (d1 * d2 < 0 && d3 * d4 < 0) return true;
    if (d1 == 0 && withinBox(a, b, c, eps)) return true;
    if (d2 == 0 && withinBox(a, b, d, eps)) return true;
    if (d3 == 0 && withinBox(c, d, a, eps)) return true;
    if (d4 == 0 && withinBox(c, d, b, eps)) return true;
    return false;
}

double segmentDistanceSquared(const AcGePoint2d& p, const AcGePoint2d& a, const AcGePoint2d& b)
{
    double x = a.x;
    double y = a.y;
    const double dx = b.x - x;
    const double dy = b.y - y;
    if (dx != 0.0 || dy != 0.0) {
        const double t = ((p.x - x) * dx + (p.y - y) * dy) / (dx * dx + dy * dy);
        if (t > 1) {
            x = b.x;
            y = b.y;
        } else if (t > 0) {
            x += dx * t;
            y += dy * t;
        }
    }
    return (p.x - x) * (p.x - x) + (p.y - y) * (p.y - y);
}

// The polygon without repeated consecutive points (and without a last point
// that repeats the first).
std::vector<AcGePoint2d> distinctPoints(std::span<const AcGePoint2d> polygon, double eps)
{
    std::vector<AcGePoint2d> points;
    for (const AcGePoint2d& p : polygon)
        if (points.empty() || points.back().distanceTo(p) > eps) points.push_back(p);
    while (points.size() > 1 && points.back().distanceTo(points.front()) <= eps) points.pop_back();
    return points;
}

void extentsOf(std::span<const AcGePoint2d> polygon, AcGePoint2d& lo, AcGePoint2d& hi)
{
    lo = hi = polygon.empty() ? AcGePoint2d() : polygon[0];
    for (const AcGePoint2d& p : polygon) {
        lo.x = std::min(lo.x, p.x);
        lo.y = std::min(lo.y, p.y);
        hi.x = std::max(hi.x, p.x);
        hi.y = std::max(hi.y, p.y);
    }
}

}  // namespace

std::vector<AcGePoint2d> COutlineGeometry::flatten(std::span<const AcGeBulgeVertex> vertices, double sagitta)
{
    std::vector<AcGePoint2d> points;
    const size_t n = vertices.size();
    points.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        points.push_back(vertices[i].point);
        const AcGeBulgeSegment segment(vertices[i].point, vertices[(i + 1) % n].point, vertices[i].bulge);
        if (!segment.isArc()) continue;
        const double radius = segment.radius();
        const double allowed = sagitta > 0.0 ? sagitta : radius / 1000.0;
        // A chord over the angle a leaves r (1 - cos(a / 2)) between itself and the arc.
        const double step = 2.0 * std::acos(std::clamp(1.0 - allowed / radius, -1.0, 1.0));
        const double sweep = std::fabs(segment.sweepAngle());
        const int chords = std::clamp(static_cast<int>(std::ceil(sweep / std::max(step, 1e-9))), 1, 64);
        for (int k = 1; k < chords; ++k) points.push_back(segment.pointAt(static_cast<double>(k) / chords));
    }
    return points;
}

bool COutlineGeometry::isSelfIntersecting(std::span<const AcGePoint2d> polygon)
{
    AcGePoint2d lo, hi;
    extentsOf(polygon, lo, hi);
    const double eps = 1e-9 * std::max({hi.x - lo.x, hi.y - lo.y, 1e-300});
    const std::vector<AcGePoint2d> points = distinctPoints(polygon, eps);
    const size_t n = points.size();
    if (n < 3) return false;  // degenerate: no area, which the caller tells apart
    // Edges in order of their smallest x: an edge is compared only with the
    // edges that start before it ends.
    std::vector<size_t> order(n);
    for (size_t i = 0; i < n; ++i) order[i] = i;
    auto minX = [&](size_t i) { return std::min(points[i].x, points[(i + 1) % n].x); };
    auto maxX = [&](size_t i) { return std::max(points[i].x, points[(i + 1) % n].x); };
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return minX(a) < minX(b); });
    for (size_t oi = 0; oi < n; ++oi) {
        const size_t i = order[oi];
        const AcGePoint2d& a = points[i];
        const AcGePoint2d& b = points[(i + 1) % n];
        for (size_t oj = oi + 1; oj < n && minX(order[oj]) <= maxX(i) + eps; ++oj) {
            const size_t j = order[oj];
            const AcGePoint2d& c = points[j];
            const AcGePoint2d& d = points[(j + 1) % n];
            const bool neighbours = (i + 1) % n == j || (j + 1) % n == i;
            if (!neighbours) {
                if (segmentsTouch(a, b, c, d, eps)) return true;
                continue;
            }
            // Neighbours share one point; they fold back when the other end
            // of one lies on the other, pointing back along it.
            const AcGePoint2d& shared = (i + 1) % n == j ? b : a;
            const AcGePoint2d& end1 = (i + 1) % n == j ? a : b;
            const AcGePoint2d& end2 = (i + 1) % n == j ? d : c;
            if (side(shared, end1, end2, eps) == 0) {
                const double dot = (end1.x - shared.x) * (end2.x - shared.x) + (end1.y - shared.y) * (end2.y - shared.y);
                if (dot > 0) return true;
            }
        }
    }
    return false;
}

bool COutlineGeometry::isCollinear(std::span<const AcGePoint2d> polygon)
{
    if (polygon.size() < 3) return true;
    const AcGePoint2d& a = polygon[0];
    // The point farthest from the first gives the line.
    const AcGePoint2d* far = &polygon[1];
    for (const AcGePoint2d& p : polygon)
        if (a.distanceTo(p) > a.distanceTo(*far)) far = &p;
    const double length = a.distanceTo(*far);
    if (length == 0.0) return true;
    for (const AcGePoint2d& p : polygon)
        if (std::fabs(cross(a, *far, p)) / length > 1e-6 * length) return false;
    return true;
}

bool COutlineGeometry::contains(std::span<const AcGePoint2d> polygon, const AcGePoint2d& p)
{
    bool inside = false;
    const size_t n = polygon.size();
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        const AcGePoint2d& a = polygon[i];
        const AcGePoint2d& b = polygon[j];
        if (segmentDistanceSquared(p, a, b) == 0.0) return true;
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) inside = !inside;
    }
    return inside;
}

double COutlineGeometry::signedDistance(std::span<const AcGePoint2d> polygon, const AcGePoint2d& p)
{
    double best = std::numeric_limits<double>::infinity();
    const size_t n = polygon.size();
    for (size_t i = 0, j = n - 1; i < n; j = i++) best = std::min(best, segmentDistanceSquared(p, polygon[i], polygon[j]));
    // On the boundary: contains() would say inside, and the distance is 0.
    if (best == 0.0) return 0.0;
    // Off the boundary only the crossings decide (no edge touches the
    // point, so contains() need not measure every edge again).
    bool inside = false;
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        const AcGePoint2d& a = polygon[i];
        const AcGePoint2d& b = polygon[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) inside = !inside;
    }
    const double distance = std::sqrt(best);
    return inside ? distance : -distance;
}

AcGePoint2d COutlineGeometry::poleOfInaccessibility(std::span<const AcGePoint2d> polygon, double precision)
{
    AcGePoint2d lo, hi;
    extentsOf(polygon, lo, hi);
    const double width = hi.x - lo.x;
    const double height = hi.y - lo.y;
    const AcGePoint2d middle((lo.x + hi.x) / 2, (lo.y + hi.y) / 2);
    const double cellSize = std::min(width, height);
    if (polygon.size() < 3 || !(cellSize > 0.0)) return middle;
    if (!(precision > 0.0)) precision = cellSize / 50.0;

    // Square cells, best first by the distance they could still reach; a
    // cell is split while it could beat the best point by more than precision.
    struct Cell {
        AcGePoint2d centre;
        double half;
        double distance;  // from the centre to the boundary, positive inside
        double potential; // the most any point of the cell can have
    };
    auto makeCell = [&](double x, double y, double half) {
        Cell cell{AcGePoint2d(x, y), half, signedDistance(polygon, AcGePoint2d(x, y)), 0.0};
        cell.potential = cell.distance + half * std::sqrt(2.0);
        return cell;
    };
    auto lower = [](const Cell& a, const Cell& b) { return a.potential < b.potential; };
    // Room for the usual search up front (it grows when an outline needs more).
    std::vector<Cell> cells;
    cells.reserve(256);
    std::priority_queue<Cell, std::vector<Cell>, decltype(lower)> queue(lower, std::move(cells));
    const double half = cellSize / 2;
    for (double x = lo.x; x < hi.x; x += cellSize)
        for (double y = lo.y; y < hi.y; y += cellSize) queue.push(makeCell(x + half, y + half, half));

    Cell best = makeCell(middle.x, middle.y, 0);
    // The centroid of the vertices is often a good first guess.
    double cx = 0;
    double cy = 0;
    for (const AcGePoint2d& p : polygon) {
        cx += p.x;
        cy += p.y;
    }
    const Cell centroid = makeCell(cx / polygon.size(), cy / polygon.size(), 0);
    if (centroid.distance > best.distance) best = centroid;

    // A bound on the work for outlines with very thin parts.
    for (int visited = 0; !queue.empty() && visited < 100000; ++visited) {
        const Cell cell = queue.top();
        queue.pop();
        if (cell.distance > best.distance) best = cell;
        if (cell.potential - best.distance <= precision) continue;
        const double h = cell.half / 2;
        queue.push(makeCell(cell.centre.x - h, cell.centre.y - h, h));
        queue.push(makeCell(cell.centre.x + h, cell.centre.y - h, h));
        queue.push(makeCell(cell.centre.x - h, cell.centre.y + h, h));
        queue.push(makeCell(cell.centre.x + h, cell.centre.y + h, h));
    }
    return best.centre;
}
