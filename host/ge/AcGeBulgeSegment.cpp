#include "host/ge/AcGeBulgeSegment.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "host/ge/AdaptiveQuadrature.h"

namespace {

using ld = long double;

constexpr ld kHalfPi = std::numbers::pi_v<long double> / 2;

ld cross(ld ax, ld ay, ld bx, ld by)
{
    return ax * by - ay * bx;
}

// θ − sin θ without cancellation for small θ (Taylor series below 0.25).
ld thetaMinusSin(ld theta)
{
    if (std::fabs(theta) >= 0.25L)
        return theta - std::sin(theta);
    ld t2 = theta * theta;
    ld term = theta * t2 / 6.0L;
    ld sum = 0.0L;
    for (int k = 1; k < 12; ++k) {
        sum += term;
        term *= -t2 / ((2 * k + 2) * (2 * k + 3));
    }
    return sum;
}

// atan(b) / b, with its series near zero.
ld atanOverB(ld b)
{
    if (std::fabs(b) < 1e-4L) {
        ld b2 = b * b;
        return 1.0L - b2 / 3.0L + b2 * b2 / 5.0L;
    }
    return std::atan(b) / b;
}

}  // namespace

AcGeBulgeSegment::AcGeBulgeSegment(const AcGePoint2d& start, const AcGePoint2d& end, double bulge)
    : mStart(start), mEnd(end), mBulge(bulge)
{
}

bool AcGeBulgeSegment::isArc() const
{
    return mBulge != 0.0 && std::isfinite(mBulge) && (mStart.x != mEnd.x || mStart.y != mEnd.y);
}

double AcGeBulgeSegment::chordLength() const
{
    return mStart.distanceTo(mEnd);
}

double AcGeBulgeSegment::sweepAngle() const
{
    return isArc() ? static_cast<double>(4.0L * std::atan(static_cast<ld>(mBulge))) : 0.0;
}

double AcGeBulgeSegment::radius() const
{
    if (!isArc())
        return 0.0;
    ld b = mBulge;
    return static_cast<double>(static_cast<ld>(chordLength()) * (1.0L + b * b) / (4.0L * std::fabs(b)));
}

AcGePoint2d AcGeBulgeSegment::center() const
{
    ld mx = (static_cast<ld>(mStart.x) + mEnd.x) / 2, my = (static_cast<ld>(mStart.y) + mEnd.y) / 2;
    if (!isArc())
        return {static_cast<double>(mx), static_cast<double>(my)};
    ld b = mBulge;
    ld dx = static_cast<ld>(mEnd.x) - mStart.x, dy = static_cast<ld>(mEnd.y) - mStart.y;
    ld f = (1.0L - b * b) / (4.0L * b);
    return {static_cast<double>(mx - dy * f), static_cast<double>(my + dx * f)};
}

double AcGeBulgeSegment::startAngle() const
{
    if (!isArc())
        return 0.0;
    AcGePoint2d c = center();
    return std::atan2(mStart.y - c.y, mStart.x - c.x);
}

AcGePoint2d AcGeBulgeSegment::pointAt(double t) const
{
    if (!isArc())
        return {mStart.x + (mEnd.x - mStart.x) * t, mStart.y + (mEnd.y - mStart.y) * t};
    AcGePoint2d c = center();
    ld a = static_cast<ld>(startAngle()) + static_cast<ld>(sweepAngle()) * t;
    ld r = radius();
    return {static_cast<double>(c.x + r * std::cos(a)), static_cast<double>(c.y + r * std::sin(a))};
}

long double AcGeBulgeSegment::length() const
{
    ld c = std::hypot(static_cast<ld>(mEnd.x) - mStart.x, static_cast<ld>(mEnd.y) - mStart.y);
    if (!isArc())
        return c;
    // r·|θ| = c·(1 + b²)·atan|b| / |b|.
    ld b = mBulge;
    return c * (1.0L + b * b) * atanOverB(b);
}

long double AcGeBulgeSegment::segmentArea() const
{
    if (!isArc())
        return 0.0L;
    // r²/2·(θ − sin θ), with r = c / (2 sin(θ/2)) and sin(θ/2) = 2b / (1 + b²):
    // area = c²·(1 + b²)²·(θ − sin θ) / (32 b²).
    ld b = mBulge;
    ld dx = static_cast<ld>(mEnd.x) - mStart.x, dy = static_cast<ld>(mEnd.y) - mStart.y;
    ld c2 = dx * dx + dy * dy;
    ld theta = 4.0L * std::atan(b);
    ld onePlus = 1.0L + b * b;
    return c2 * onePlus * onePlus * thetaMinusSin(theta) / (32.0L * b * b);
}

bool AcGeBulgeSegment::circlePointOnArc(long double x, long double y) const
{
    ld side = cross(static_cast<ld>(mEnd.x) - mStart.x, static_cast<ld>(mEnd.y) - mStart.y, x - mStart.x,
                    y - mStart.y);
    return side * mBulge <= 0.0L;
}

void AcGeBulgeSegment::extendExtents(AcGePoint2d& lo, AcGePoint2d& hi) const
{
    auto grow = [&](double x, double y) {
        lo.x = std::min(lo.x, x);
        lo.y = std::min(lo.y, y);
        hi.x = std::max(hi.x, x);
        hi.y = std::max(hi.y, y);
    };
    grow(mStart.x, mStart.y);
    grow(mEnd.x, mEnd.y);
    if (!isArc())
        return;
    AcGePoint2d c = center();
    ld r = radius();
    const ld dirs[4][2] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
    for (const auto& d : dirs) {
        ld x = c.x + r * d[0], y = c.y + r * d[1];
        if (circlePointOnArc(x, y))
            grow(static_cast<double>(x), static_cast<double>(y));
    }
}

double AcGeBulgeSegment::distanceTo(const AcGePoint2d& p) const
{
    if (!isArc())
        return acgeDistanceToLineSegment(p, mStart, mEnd);
    AcGePoint2d c = center();
    ld r = radius();
    ld vx = static_cast<ld>(p.x) - c.x, vy = static_cast<ld>(p.y) - c.y;
    ld d = std::hypot(vx, vy);
    if (d > 0.0L) {
        ld qx = c.x + r * vx / d, qy = c.y + r * vy / d;
        if (circlePointOnArc(qx, qy))
            return static_cast<double>(std::fabs(d - r));
    } else {
        return static_cast<double>(r);
    }
    return std::min(p.distanceTo(mStart), p.distanceTo(mEnd));
}

bool AcGeBulgeSegment::isInsideArcRegion(const AcGePoint2d& p) const
{
    if (!isArc())
        return false;
    // The region between chord and arc is the disc cut by the chord's line,
    // on the side the arc bulges to (true for minor and major arcs alike).
    AcGePoint2d c = center();
    ld r = radius();
    ld dx = static_cast<ld>(p.x) - c.x, dy = static_cast<ld>(p.y) - c.y;
    if (dx * dx + dy * dy >= r * r)
        return false;
    return acgeOrientation(mStart, mEnd, p) * mBulge < 0.0;
}

bool AcGeBulgeSegment::meetsLineSegment(const AcGePoint2d& a, const AcGePoint2d& b, double tol) const
{
    if (!isArc())
        return acgeLineSegmentsMeet(mStart, mEnd, a, b, tol);
    // Near contact: the closest approach of a segment and an arc is at an end
    // point of either, or at the arc point whose tangent is parallel to the line.
    if (distanceTo(a) <= tol || distanceTo(b) <= tol || acgeDistanceToLineSegment(mStart, a, b) <= tol
        || acgeDistanceToLineSegment(mEnd, a, b) <= tol)
        return true;
    AcGePoint2d c = center();
    ld r = radius();
    ld ux = static_cast<ld>(b.x) - a.x, uy = static_cast<ld>(b.y) - a.y;
    ld len = std::hypot(ux, uy);
    if (len == 0.0L)
        return false;
    ld nx = -uy / len, ny = ux / len;
    for (int s = -1; s <= 1; s += 2) {
        ld x = c.x + s * r * nx, y = c.y + s * r * ny;
        if (circlePointOnArc(x, y)
            && acgeDistanceToLineSegment(AcGePoint2d(static_cast<double>(x), static_cast<double>(y)), a, b) <= tol)
            return true;
    }
    // Proper crossings: points a + t·u on the circle with t in [0, 1] that lie on the arc.
    ld fx = static_cast<ld>(a.x) - c.x, fy = static_cast<ld>(a.y) - c.y;
    ld qa = ux * ux + uy * uy, qb = 2 * (fx * ux + fy * uy), qc = fx * fx + fy * fy - r * r;
    ld disc = qb * qb - 4 * qa * qc;
    if (disc < 0.0L)
        return false;
    ld root = std::sqrt(disc);
    // The numerically stable pair of roots.
    ld q = -0.5L * (qb + (qb >= 0 ? root : -root));
    ld ts[2] = {q / qa, q != 0.0L ? qc / q : 0.0L};
    for (ld t : ts) {
        if (t < 0.0L || t > 1.0L)
            continue;
        if (circlePointOnArc(a.x + t * ux, a.y + t * uy))
            return true;
    }
    return false;
}

long double AcGeBulgeSegment::transformedLength(const AcGeMatrix2d& m) const
{
    if (!isArc()) {
        AcGeVector2d v = m * (mEnd - mStart);
        return std::hypot(static_cast<ld>(v.x), static_cast<ld>(v.y));
    }
    if (m.isUniScaledOrtho(AcGeTol(1e-15, 1e-15)))
        return length() * std::hypot(static_cast<ld>(m.entry[0][0]), static_cast<ld>(m.entry[1][0]));
    // An elliptical arc: integrate the speed r·|A·(−sin t, cos t)| over the sweep.
    ld a = m.entry[0][0], bb = m.entry[0][1], c = m.entry[1][0], d = m.entry[1][1];
    ld r = radius();
    ld t0 = startAngle();
    ld sweep = std::fabs(static_cast<ld>(sweepAngle()));
    ld direction = mBulge > 0 ? 1.0L : -1.0L;
    auto speed = [&](ld u) {
        ld t = t0 + direction * u;
        ld s = std::sin(t), co = std::cos(t);
        return r * std::hypot(-a * s + bb * co, -c * s + d * co);
    };
    // Split at quarter turns so each piece is a smooth, nearly monotone stretch.
    int pieces = std::max(1, static_cast<int>(std::ceil(sweep / kHalfPi)));
    ld total = 0.0L;
    for (int i = 0; i < pieces; ++i)
        total += acgeIntegrate(speed, sweep * i / pieces, sweep * (i + 1) / pieces, 1e-13L);
    return total;
}

int acgeOrientation(const AcGePoint2d& a, const AcGePoint2d& b, const AcGePoint2d& p)
{
    ld dx = static_cast<ld>(b.x) - a.x, dy = static_cast<ld>(b.y) - a.y;
    ld s = cross(dx, dy, static_cast<ld>(p.x) - a.x, static_cast<ld>(p.y) - a.y);
    if (s != 0.0L)
        return s > 0 ? 1 : -1;
    // cross(d, (ε, ε²)) = d.x·ε² − d.y·ε.
    if (dy != 0.0L)
        return dy > 0 ? -1 : 1;
    return dx > 0 ? 1 : (dx < 0 ? -1 : 0);
}

double acgeDistanceToLineSegment(const AcGePoint2d& p, const AcGePoint2d& a, const AcGePoint2d& b)
{
    ld ux = static_cast<ld>(b.x) - a.x, uy = static_cast<ld>(b.y) - a.y;
    ld vx = static_cast<ld>(p.x) - a.x, vy = static_cast<ld>(p.y) - a.y;
    ld len2 = ux * ux + uy * uy;
    ld t = len2 > 0.0L ? (vx * ux + vy * uy) / len2 : 0.0L;
    t = std::clamp(t, 0.0L, 1.0L);
    return static_cast<double>(std::hypot(vx - t * ux, vy - t * uy));
}

bool acgeLineSegmentsMeet(const AcGePoint2d& a, const AcGePoint2d& b, const AcGePoint2d& c, const AcGePoint2d& d,
                          double tol)
{
    auto orient = [](const AcGePoint2d& p, const AcGePoint2d& q, const AcGePoint2d& r) {
        return cross(static_cast<ld>(q.x) - p.x, static_cast<ld>(q.y) - p.y, static_cast<ld>(r.x) - p.x,
                     static_cast<ld>(r.y) - p.y);
    };
    ld o1 = orient(a, b, c), o2 = orient(a, b, d), o3 = orient(c, d, a), o4 = orient(c, d, b);
    if (((o1 > 0 && o2 < 0) || (o1 < 0 && o2 > 0)) && ((o3 > 0 && o4 < 0) || (o3 < 0 && o4 > 0)))
        return true;
    // Touching, collinear overlap, or near contact: some end point is within tol of the other segment.
    return acgeDistanceToLineSegment(c, a, b) <= tol || acgeDistanceToLineSegment(d, a, b) <= tol
        || acgeDistanceToLineSegment(a, c, d) <= tol || acgeDistanceToLineSegment(b, c, d) <= tol;
}
