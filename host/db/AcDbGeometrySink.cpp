#include "host/db/AcDbGeometrySink.h"

#include <algorithm>
#include <cmath>

bool AcDbGeometrySink::pushTransform(const AcDbStub* block, const AcGeMatrix3d& blockTransform)
{
    if (stack_.size() > kMaxDepth || std::find(blocks_.begin(), blocks_.end(), block) != blocks_.end())
        return false;
    stack_.push_back(stack_.back() * blockTransform);
    blocks_.push_back(block);
    return true;
}

void AcDbGeometrySink::popTransform()
{
    if (stack_.size() > 1) {
        stack_.pop_back();
        blocks_.pop_back();
    }
}

void AcDbGeometrySink::ellipticalArc(const AcGePoint3d& centre, const AcGeVector3d& majorAxis,
                                     const AcGeVector3d& normal, double ratio, double startParam, double endParam)
{
    // Segments short enough that no chord strays more than a millionth of
    // the major radius from the curve where it bends most (radius of
    // curvature ratio^2 times the major radius); at most 4096 to a whole
    // ellipse, never fewer than 8 to an arc.
    double sweep = endParam - startParam;
    while (sweep <= 0.0)
        sweep += 2.0 * M_PI;
    const bool full = sweep >= 2.0 * M_PI - 1e-12;
    const double r = std::clamp(std::fabs(ratio), 1e-3, 1.0);
    const double step = std::sqrt(8e-6) * std::min(r, 1.0 / r);
    const int segments = std::clamp(static_cast<int>(std::ceil(sweep / step)), 8,
                                    static_cast<int>(std::ceil(4096.0 * sweep / (2.0 * M_PI))) + 8);
    const AcGeVector3d minor = normal.normal().crossProduct(majorAxis) * ratio;
    std::vector<AcGePoint3d> points;
    const int last = full ? segments - 1 : segments;
    for (int k = 0; k <= last; ++k) {
        const double t = startParam + sweep * k / segments;
        points.push_back(centre + majorAxis * std::cos(t) + minor * std::sin(t));
    }
    polyline(points, {}, normal, full);
}

void AcDbGeometrySink::hatch(const AcDbSinkHatch& fill)
{
    for (const AcDbSinkHatch::Loop& loop : fill.loops)
        polyline(loop.points, loop.bulges, fill.normal, true);
}
