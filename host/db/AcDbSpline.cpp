#include "host/db/AcDbSpline.h"

#include <algorithm>

#include "host/db/AcDbExtents.h"
#include "host/db/AcDbGeometrySink.h"
#include "host/ge/SplineFitInterpolation.h"

const AcRxClass* AcDbSpline::desc()
{
    static const AcRxClass cls("AcDbSpline", "SPLINE", AcDbEntity::desc());
    return &cls;
}

Acad::ErrorStatus AcDbSpline::setControlPointAt(int i, const AcGePoint3d& p)
{
    if (i < 0 || i >= numControlPoints())
        return Acad::eInvalidIndex;
    controlPoints_[static_cast<size_t>(i)] = p;
    return assertWriteEnabled();
}

double AcDbSpline::weightAt(int i) const
{
    return weights_.size() == controlPoints_.size() ? weights_[static_cast<size_t>(i)] : 1.0;
}

bool AcDbSpline::hasValidControlData() const
{
    const size_t n = controlPoints_.size();
    if (degree_ < 1 || n < static_cast<size_t>(degree_) + 1 || knots_.size() != n + static_cast<size_t>(degree_) + 1)
        return false;
    if (!std::is_sorted(knots_.begin(), knots_.end()))
        return false;
    return knots_[n] > knots_[static_cast<size_t>(degree_)];
}

AcGePoint3d AcDbSpline::evaluate(double u) const
{
    // de Boor's algorithm on homogeneous points (x w, y w, z w, w).
    const size_t p = static_cast<size_t>(degree_);
    const size_t n = controlPoints_.size();
    u = std::clamp(u, knots_[p], knots_[n]);
    size_t k = p;  // the knot span: knots[k] <= u < knots[k + 1]
    while (k + 1 < n && knots_[k + 1] <= u)
        ++k;
    struct H {
        double x, y, z, w;
    };
    std::vector<H> d(p + 1);
    for (size_t j = 0; j <= p; ++j) {
        const size_t i = j + k - p;
        const double w = weightAt(static_cast<int>(i));
        const AcGePoint3d& c = controlPoints_[i];
        d[j] = {c.x * w, c.y * w, c.z * w, w};
    }
    for (size_t r = 1; r <= p; ++r)
        for (size_t j = p; j >= r; --j) {
            const size_t i = j + k - p;
            const double span = knots_[i + p - r + 1] - knots_[i];
            const double a = span > 0.0 ? (u - knots_[i]) / span : 0.0;
            d[j] = {(1 - a) * d[j - 1].x + a * d[j].x, (1 - a) * d[j - 1].y + a * d[j].y,
                    (1 - a) * d[j - 1].z + a * d[j].z, (1 - a) * d[j - 1].w + a * d[j].w};
        }
    const H& h = d[p];
    return h.w != 0.0 ? AcGePoint3d(h.x / h.w, h.y / h.w, h.z / h.w) : AcGePoint3d(h.x, h.y, h.z);
}

std::vector<AcGePoint3d> AcDbSpline::flattened() const
{
    if (!hasValidControlData()) {
        AcDbSpline fitted;
        if (fitPoints_.size() < 3 ||
            !SplineFitInterpolation::interpolate(fitPoints_, startTangent_, endTangent_, fitted.knots_,
                                                 fitted.controlPoints_))
            return fitPoints_;
        fitted.degree_ = 3;
        return fitted.flattened();
    }
    // Each knot span is halved until the curve's midpoint of a piece lies
    // within a millionth of the control points' extent of its chord (four
    // pieces at least, so an S-bend is never taken for straight).
    AcDbExtents box;
    for (const AcGePoint3d& c : controlPoints_)
        box.addPoint(c);
    const double tolerance = std::max(1e-12, 1e-6 * (box.maxPoint() - box.minPoint()).length());
    const size_t p = static_cast<size_t>(degree_);
    const size_t n = controlPoints_.size();
    std::vector<AcGePoint3d> points{evaluate(knots_[p])};
    auto piece = [&](auto& self, double a, const AcGePoint3d& pa, double b, const AcGePoint3d& pb, int depth) -> void {
        const double m = 0.5 * (a + b);
        const AcGePoint3d pm = evaluate(m);
        const AcGeVector3d chord = pb - pa;
        const double len = chord.length();
        const double off = len > 0.0 ? (pm - pa).crossProduct(chord).length() / len : (pm - pa).length();
        if (depth < 18 && (depth < 2 || off > tolerance)) {
            self(self, a, pa, m, pm, depth + 1);
            self(self, m, pm, b, pb, depth + 1);
        } else {
            points.push_back(pb);
        }
    };
    for (size_t k = p; k < n; ++k) {
        const double a = knots_[k], b = knots_[k + 1];
        if (b > a)
            piece(piece, a, evaluate(a), b, evaluate(b), 0);
    }
    return points;
}

Acad::ErrorStatus AcDbSpline::getGeomExtents(AcDbExtents& ext) const
{
    // The curve lies in the hull of its control points; the drawn points
    // give the tighter box the picks see.
    ext = AcDbExtents();
    const std::vector<AcGePoint3d> points = flattened();
    if (points.empty())
        return Acad::eInvalidExtents;
    for (const AcGePoint3d& p : points)
        ext.addPoint(p);
    return Acad::eOk;
}

AcDbEntity* AcDbSpline::clone() const
{
    auto* s = new AcDbSpline();
    s->degree_ = degree_;
    s->flags_ = flags_;
    s->normal_ = normal_;
    s->knots_ = knots_;
    s->weights_ = weights_;
    s->controlPoints_ = controlPoints_;
    s->fitPoints_ = fitPoints_;
    s->startTangent_ = startTangent_;
    s->endTangent_ = endTangent_;
    copyEntityPropertiesTo(*s);
    return s;
}

void AcDbSpline::subDrawGeometry(AcDbGeometrySink& sink) const
{
    const std::vector<AcGePoint3d> points = flattened();
    if (points.size() >= 2)
        sink.polyline(points, {}, normal_, false);
}
