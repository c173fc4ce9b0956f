#pragma once
// A direction and magnitude in the plane. Plain value with public x and y.

#include <cmath>
#include <numbers>

#include "host/ge/AcGeContext.h"

class AcGeVector2d {
public:
    double x = 0.0;
    double y = 0.0;

    static const AcGeVector2d kIdentity;  // (0, 0)
    static const AcGeVector2d kXAxis;     // (1, 0)
    static const AcGeVector2d kYAxis;     // (0, 1)

    constexpr AcGeVector2d() = default;
    constexpr AcGeVector2d(double xx, double yy) : x(xx), y(yy) {}

    // Euclidean length; never fails.
    double length() const { return std::hypot(x, y); }
    // Squared length; never fails.
    constexpr double lengthSqrd() const { return x * x + y * y; }
    // Angle from the X axis in [0, 2π); 0 for a zero vector.
    double angle() const
    {
        double a = std::atan2(y, x);
        return a < 0 ? a + 2.0 * std::numbers::pi : a;
    }
    // Unit vector of the same direction; a zero-length vector stays as it is.
    AcGeVector2d normal(const AcGeTol& tol = AcGeContext::gTol) const
    {
        AcGeVector2d v = *this;
        return v.normalize(tol);
    }
    // Scales this vector to unit length; a zero-length vector is left unchanged.
    AcGeVector2d& normalize(const AcGeTol& tol = AcGeContext::gTol)
    {
        double len = length();
        if (len > tol.equalVector()) {
            x /= len;
            y /= len;
        }
        return *this;
    }
    // Dot product; never fails.
    constexpr double dotProduct(const AcGeVector2d& v) const { return x * v.x + y * v.y; }
    // The z component of the cross product (positive when v lies counter-clockwise).
    constexpr double crossProduct(const AcGeVector2d& v) const { return x * v.y - y * v.x; }
    // Unsigned angle to v in [0, π]; 0 when either vector has zero length.
    double angleTo(const AcGeVector2d& v) const { return std::abs(std::atan2(crossProduct(v), dotProduct(v))); }
    // Rotates counter-clockwise by angle radians.
    AcGeVector2d& rotateBy(double angle)
    {
        double c = std::cos(angle), s = std::sin(angle);
        double nx = c * x - s * y;
        y = s * x + c * y;
        x = nx;
        return *this;
    }
    // Left-hand perpendicular (rotated +90°).
    constexpr AcGeVector2d perpVector() const { return {-y, x}; }
    // True when the length is within the vector tolerance.
    bool isZeroLength(const AcGeTol& tol = AcGeContext::gTol) const { return length() <= tol.equalVector(); }
    // True when the difference to v is within the vector tolerance.
    bool isEqualTo(const AcGeVector2d& v, const AcGeTol& tol = AcGeContext::gTol) const
    {
        return std::hypot(x - v.x, y - v.y) <= tol.equalVector();
    }
    // Reverses the direction.
    AcGeVector2d& negate()
    {
        x = -x;
        y = -y;
        return *this;
    }

    constexpr AcGeVector2d operator+(const AcGeVector2d& v) const { return {x + v.x, y + v.y}; }
    constexpr AcGeVector2d operator-(const AcGeVector2d& v) const { return {x - v.x, y - v.y}; }
    constexpr AcGeVector2d operator-() const { return {-x, -y}; }
    constexpr AcGeVector2d operator*(double s) const { return {x * s, y * s}; }
    constexpr AcGeVector2d operator/(double s) const { return {x / s, y / s}; }
    AcGeVector2d& operator+=(const AcGeVector2d& v) { x += v.x; y += v.y; return *this; }
    AcGeVector2d& operator-=(const AcGeVector2d& v) { x -= v.x; y -= v.y; return *this; }
    AcGeVector2d& operator*=(double s) { x *= s; y *= s; return *this; }
    // Exact comparison is not meaningful for computed values: uses the default tolerance.
    bool operator==(const AcGeVector2d& v) const { return isEqualTo(v); }
    // Component by index: 0 is x, anything else y.
    double operator[](unsigned i) const { return i == 0 ? x : y; }
    double& operator[](unsigned i) { return i == 0 ? x : y; }
};

inline constexpr AcGeVector2d operator*(double s, const AcGeVector2d& v) { return v * s; }

inline const AcGeVector2d AcGeVector2d::kIdentity{0.0, 0.0};
inline const AcGeVector2d AcGeVector2d::kXAxis{1.0, 0.0};
inline const AcGeVector2d AcGeVector2d::kYAxis{0.0, 1.0};
