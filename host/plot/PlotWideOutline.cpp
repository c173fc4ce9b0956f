#include "host/plot/PlotWideOutline.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

// A segment's end: its point, unit tangent along the segment and width.
struct End {
    double x, y, dx, dy, w;
};

double widthAt(const std::vector<double>& w, size_t i) { return i < w.size() ? std::max(0.0, w[i]) : 0.0; }

void addCounterClockwise(std::vector<std::vector<AcGePoint2d>>& out, std::vector<AcGePoint2d> polygon)
{
    double area = 0.0;
    for (size_t i = 0, n = polygon.size(); i < n; ++i)
        area += polygon[i].x * polygon[(i + 1) % n].y - polygon[(i + 1) % n].x * polygon[i].y;
    if (area < 0.0)
        std::reverse(polygon.begin(), polygon.end());
    out.push_back(std::move(polygon));
}

}  // namespace

std::vector<std::vector<AcGePoint2d>> PlotWideOutline::polygons(const std::vector<AcGePoint3d>& points,
                                                                const std::vector<double>& bulges,
                                                                const std::vector<double>& startWidths,
                                                                const std::vector<double>& endWidths, bool flipBulges,
                                                                bool closed, double tolerance)
{
    std::vector<std::vector<AcGePoint2d>> out;
    const size_t n = points.size();
    if (n < 2)
        return out;
    const size_t segments = closed ? n : n - 1;
    std::vector<End> starts(segments), ends(segments);
    for (size_t i = 0; i < segments; ++i) {
        const AcGePoint3d& a = points[i];
        const AcGePoint3d& b = points[(i + 1) % n];
        const double w0 = widthAt(startWidths, i), w1 = widthAt(endWidths, i);
        const double bulge = i < bulges.size() ? bulges[i] * (flipBulges ? -1.0 : 1.0) : 0.0;
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double chord = std::hypot(dx, dy);
        // Centre-line points, their unit normals to the left of travel, and widths.
        std::vector<AcGePoint2d> centre;
        std::vector<AcGePoint2d> left;
        std::vector<double> widths;
        if (bulge != 0.0 && chord > 0.0) {
            const double sweep = 4.0 * std::atan(bulge);
            const double radius = chord / (2.0 * std::sin(std::fabs(sweep) / 2.0));
            const double toCentre = (bulge > 0 ? 1.0 : -1.0) * (radius - std::fabs(bulge * chord / 2.0));
            const double cx = (a.x + b.x) / 2.0 - dy / chord * toCentre;
            const double cy = (a.y + b.y) / 2.0 + dx / chord * toCentre;
            const double start = std::atan2(a.y - cy, a.x - cx);
            const double outer = radius + std::max(w0, w1) / 2.0;
            const double step = outer > tolerance ? 2.0 * std::acos(std::max(-1.0, 1.0 - tolerance / outer)) : kPi;
            const int k = std::clamp(static_cast<int>(std::ceil(std::fabs(sweep) / std::max(step, 1e-3))), 2, 4096);
            for (int j = 0; j <= k; ++j) {
                const double t = start + sweep * j / k;
                const double ux = std::cos(t), uy = std::sin(t);
                centre.emplace_back(cx + radius * ux, cy + radius * uy);
                // Left of travel is towards the centre on a counter-clockwise arc.
                left.emplace_back(sweep > 0 ? -ux : ux, sweep > 0 ? -uy : uy);
                widths.push_back(w0 + (w1 - w0) * j / k);
            }
        } else {
            const double nx = chord > 0.0 ? -dy / chord : 0.0, ny = chord > 0.0 ? dx / chord : 0.0;
            centre = {AcGePoint2d(a.x, a.y), AcGePoint2d(b.x, b.y)};
            left = {AcGePoint2d(nx, ny), AcGePoint2d(nx, ny)};
            widths = {w0, w1};
        }
        if (w0 > 0.0 || w1 > 0.0) {
            // The band: the left edge forwards, the right edge back.
            std::vector<AcGePoint2d> band;
            for (size_t j = 0; j < centre.size(); ++j)
                band.emplace_back(centre[j].x + left[j].x * widths[j] / 2, centre[j].y + left[j].y * widths[j] / 2);
            for (size_t j = centre.size(); j-- > 0;)
                band.emplace_back(centre[j].x - left[j].x * widths[j] / 2, centre[j].y - left[j].y * widths[j] / 2);
            addCounterClockwise(out, std::move(band));
        }
        // The tangent is the left normal turned clockwise.
        starts[i] = {centre.front().x, centre.front().y, left.front().y, -left.front().x, w0};
        ends[i] = {centre.back().x, centre.back().y, left.back().y, -left.back().x, w1};
    }
    const size_t joints = closed ? segments : segments - 1;
    for (size_t i = 0; i < joints; ++i) {
        const End& e = ends[i];
        const End& s = starts[(i + 1) % segments];
        const double turn = e.dx * s.dy - e.dy * s.dx;
        if (std::fabs(turn) < 1e-9 || (e.w <= 0.0 && s.w <= 0.0))
            continue;
        // The outer side is the right of a left turn, the left of a right turn.
        const double side = turn > 0 ? -1.0 : 1.0;
        const AcGePoint2d pa(e.x - e.dy * side * e.w / 2, e.y + e.dx * side * e.w / 2);
        const AcGePoint2d pb(s.x - s.dy * side * s.w / 2, s.y + s.dx * side * s.w / 2);
        // Where the outer edges cross: pa + t e.d = pb - u s.d.
        const double t = ((pb.x - pa.x) * (-s.dy) - (pb.y - pa.y) * (-s.dx)) / (e.dx * (-s.dy) - e.dy * (-s.dx));
        std::vector<AcGePoint2d> wedge{AcGePoint2d(e.x, e.y), pa};
        if (t > 0.0 && t < 2.0 * std::max(e.w, s.w))
            wedge.emplace_back(pa.x + t * e.dx, pa.y + t * e.dy);
        wedge.push_back(pb);
        addCounterClockwise(out, std::move(wedge));
    }
    return out;
}
