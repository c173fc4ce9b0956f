#include "host/ed/EntityShape.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "host/db/AcDbEntity.h"
#include "host/ge/AcGeBulgeSegment.h"

namespace {

constexpr int kMaxChords = 4096;

using Point = EntityShape::Point;

double distanceToSegment(Point p, Point a, Point b)
{
    double dx = b.x - a.x, dy = b.y - a.y;
    double length2 = dx * dx + dy * dy;
    double t = length2 > 0.0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length2, 0.0, 1.0) : 0.0;
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

double cross(Point o, Point a, Point b)
{
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

bool segmentsCross(Point a, Point b, Point c, Point d)
{
    double d1 = cross(c, d, a), d2 = cross(c, d, b), d3 = cross(a, b, c), d4 = cross(a, b, d);
    if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0)))
        return true;
    auto on = [](Point p, Point q, Point r, double value) {
        return value == 0.0 && std::min(p.x, q.x) <= r.x && r.x <= std::max(p.x, q.x) && std::min(p.y, q.y) <= r.y
               && r.y <= std::max(p.y, q.y);
    };
    return on(c, d, a, d1) || on(c, d, b, d2) || on(a, b, c, d3) || on(a, b, d, d4);
}

bool isPlusZ(const AcGeVector3d& n)
{
    return n.x == 0.0 && n.y == 0.0 && n.z == 1.0;
}

}  // namespace

EntityShape::EntityShape(double chordTolerance) : tolerance_(chordTolerance > 0.0 ? chordTolerance : 1e-9) {}

EntityShape EntityShape::of(const AcDbEntity& entity, double chordTolerance)
{
    EntityShape shape(chordTolerance);
    entity.drawGeometry(shape);
    return shape;
}

EntityShape::Point EntityShape::toWorld(const AcGePoint3d& p) const
{
    const AcGePoint3d w = transform() * p;
    return {w.x, w.y};
}

int EntityShape::chordsFor(double radius, double sweep) const
{
    // The largest stretch of the current transform bounds the arc's radius in world units.
    AcGePoint3d origin;
    AcGeVector3d x, y, z;
    transform().getCoordSystem(origin, x, y, z);
    const double worldRadius = radius * std::max({x.length(), y.length(), z.length()});
    if (!(worldRadius > tolerance_))
        return 1;
    const double step = 2.0 * std::acos(1.0 - tolerance_ / worldRadius);
    const double chords = std::ceil(std::fabs(sweep) / step);
    return static_cast<int>(std::clamp(chords, 1.0, static_cast<double>(kMaxChords)));
}

void EntityShape::polyline(const std::vector<AcGePoint3d>& points, const std::vector<double>& bulges,
                           const AcGeVector3d& normal, bool closed)
{
    if (points.empty())
        return;
    Run run;
    run.closed = closed;
    const bool plusZ = isPlusZ(normal);
    const AcGeMatrix3d toPlane = AcGeMatrix3d::worldToPlane(normal);
    const AcGeMatrix3d fromPlane = AcGeMatrix3d::planeToWorld(normal);
    const size_t n = points.size();
    const size_t segments = closed ? n : n - 1;
    run.points.push_back(toWorld(points[0]));
    for (size_t i = 0; i < segments; ++i) {
        const AcGePoint3d& a = points[i];
        const AcGePoint3d& b = points[(i + 1) % n];
        const double bulge = i < bulges.size() ? bulges[i] : 0.0;
        if (bulge != 0.0) {
            // The arc is cut in the polyline's plane and each cut point placed in the world.
            const AcGePoint3d pa = plusZ ? a : toPlane * a;
            const AcGePoint3d pb = plusZ ? b : toPlane * b;
            const AcGeBulgeSegment arc(AcGePoint2d(pa.x, pa.y), AcGePoint2d(pb.x, pb.y), bulge);
            if (arc.isArc()) {
                const int chords = chordsFor(arc.radius(), arc.sweepAngle());
                for (int k = 1; k < chords; ++k) {
                    const AcGePoint2d q = arc.pointAt(static_cast<double>(k) / chords);
                    const AcGePoint3d p(q.x, q.y, pa.z);
                    run.points.push_back(toWorld(plusZ ? p : fromPlane * p));
                }
            }
        }
        if (!closed || i + 1 < segments)
            run.points.push_back(toWorld(b));
    }
    runs_.push_back(std::move(run));
}

void EntityShape::circularArc(const AcGePoint3d& centre, double radius, const AcGeVector3d& normal, double startAngle,
                              double endAngle)
{
    double sweep = endAngle - startAngle;
    while (sweep <= 0.0)
        sweep += 2.0 * M_PI;
    const bool full = sweep >= 2.0 * M_PI - 1e-12;
    AcGeVector3d ax, ay, az;
    AcGeMatrix3d::arbitraryAxis(normal, ax, ay, az);
    const int chords = std::max(chordsFor(radius, sweep), full ? 8 : 1);
    Run run;
    run.closed = full;
    const int last = full ? chords - 1 : chords;
    for (int k = 0; k <= last; ++k) {
        const double angle = startAngle + sweep * k / chords;
        run.points.push_back(toWorld(centre + ax * (radius * std::cos(angle)) + ay * (radius * std::sin(angle))));
    }
    runs_.push_back(std::move(run));
}

void EntityShape::polygon(const std::vector<AcGePoint3d>& corners)
{
    if (corners.empty())
        return;
    Run run;
    run.closed = true;
    run.filled = true;
    for (const AcGePoint3d& p : corners)
        run.points.push_back(toWorld(p));
    runs_.push_back(std::move(run));
}

template <class Visit>
void EntityShape::forEachSegment(Visit&& visit) const
{
    for (const Run& run : runs_) {
        const std::vector<Point>& p = run.points;
        if (p.size() == 1)
            visit(p[0], p[0]);
        for (size_t i = 0; i + 1 < p.size(); ++i)
            visit(p[i], p[i + 1]);
        if (run.closed && p.size() > 2)
            visit(p.back(), p.front());
    }
}

bool EntityShape::insidePolygon(Point p, const std::vector<Point>& polygon)
{
    bool inside = false;
    for (size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const Point& a = polygon[i];
        const Point& b = polygon[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
            inside = !inside;
    }
    return inside;
}

double EntityShape::distanceTo(Point p) const
{
    for (const Run& run : runs_)
        if (run.filled && run.points.size() > 2 && insidePolygon(p, run.points))
            return 0.0;
    double best = std::numeric_limits<double>::infinity();
    forEachSegment([&](Point a, Point b) { best = std::min(best, distanceToSegment(p, a, b)); });
    return best;
}

bool EntityShape::isInside(const std::vector<Point>& polygon) const
{
    bool any = false;
    for (const Run& run : runs_)
        for (const Point& p : run.points) {
            if (!insidePolygon(p, polygon))
                return false;
            any = true;
        }
    return any;
}

bool EntityShape::crossesOrIsInside(const std::vector<Point>& polygon) const
{
    if (polygon.empty())
        return false;
    for (const Run& run : runs_)
        for (const Point& p : run.points)
            if (insidePolygon(p, polygon))
                return true;
    bool crossing = false;
    forEachSegment([&](Point a, Point b) {
        for (size_t i = 0, j = polygon.size() - 1; i < polygon.size() && !crossing; j = i++)
            crossing = segmentsCross(a, b, polygon[j], polygon[i]);
    });
    if (crossing)
        return true;
    // A polygon wholly inside a closed run crosses it too.
    for (const Run& run : runs_)
        if (run.closed && run.points.size() > 2 && insidePolygon(polygon[0], run.points))
            return true;
    return false;
}
