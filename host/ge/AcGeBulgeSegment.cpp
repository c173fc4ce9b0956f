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

double acgeDistanceToLineSegment(const AcGePoint2d& p, const AcGePoint2d& a, const AcGePoint2d& b)
{
    ld ux = static_cast<ld>(b.x) - a.x, uy = static_cast<ld>(b.y) - a.y;
    ld vx = static_cast<ld>(p.x) - a.x, vy = static_cast<ld>(p.y) - a.y;
    ld len2 = ux * ux + uy * uy;
    ld t = len2 > 0.0L ? (vx * ux + vy * uy) / len2 : 0.0L;
    t = std::clamp(t, 0.0L, 1.0L);
    return static_cast<double>(std::hypot(vx - t * ux, vy - t * uy));
}
