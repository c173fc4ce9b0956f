#pragma once
// A position in the plane. Plain value with public x and y.

#include <cmath>

#include "host/ge/AcGeVector2d.h"

class AcGePoint2d {
public:
    double x = 0.0;
    double y = 0.0;

    static const AcGePoint2d kOrigin;  // (0, 0)

    constexpr AcGePoint2d() = default;
    constexpr AcGePoint2d(double xx, double yy) : x(xx), y(yy) {}

    // Euclidean distance to p; never fails.
    double distanceTo(const AcGePoint2d& p) const { return std::hypot(x - p.x, y - p.y); }
    // True when the distance to p is within the point tolerance.
    bool isEqualTo(const AcGePoint2d& p, const AcGeTol& tol = AcGeContext::gTol) const
    {
        return distanceTo(p) <= tol.equalPoint();
    }
    // The vector from the origin to this point.
    constexpr AcGeVector2d asVector() const { return {x, y}; }
    // Sets both coordinates.
    AcGePoint2d& set(double xx, double yy)
    {
        x = xx;
        y = yy;
        return *this;
    }
    // Rotates counter-clockwise by angle radians about center.
    AcGePoint2d& rotateBy(double angle, const AcGePoint2d& center = kOrigin)
    {
        AcGeVector2d v(x - center.x, y - center.y);
        v.rotateBy(angle);
        x = center.x + v.x;
        y = center.y + v.y;
        return *this;
    }
    // Scales the distance from center by factor.
    AcGePoint2d& scaleBy(double factor, const AcGePoint2d& center = kOrigin)
    {
        x = center.x + (x - center.x) * factor;
        y = center.y + (y - center.y) * factor;
        return *this;
    }

    constexpr AcGePoint2d operator+(const AcGeVector2d& v) const { return {x + v.x, y + v.y}; }
    constexpr AcGePoint2d operator-(const AcGeVector2d& v) const { return {x - v.x, y - v.y}; }
    constexpr AcGeVector2d operator-(const AcGePoint2d& p) const { return {x - p.x, y - p.y}; }
    AcGePoint2d& operator+=(const AcGeVector2d& v) { x += v.x; y += v.y; return *this; }
    AcGePoint2d& operator-=(const AcGeVector2d& v) { x -= v.x; y -= v.y; return *this; }
    // Compares within the default point tolerance.
    bool operator==(const AcGePoint2d& p) const { return isEqualTo(p); }
    // Coordinate by index: 0 is x, anything else y.
    double operator[](unsigned i) const { return i == 0 ? x : y; }
    double& operator[](unsigned i) { return i == 0 ? x : y; }
};

inline const AcGePoint2d AcGePoint2d::kOrigin{0.0, 0.0};
