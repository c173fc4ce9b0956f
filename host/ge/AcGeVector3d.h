#pragma once
// A direction and magnitude in space. Plain value with public x, y and z.
// Transforming a vector applies only the linear part of a matrix (no translation).

#include <cmath>

#include "host/ge/AcGeContext.h"

class AcGeMatrix3d;

class AcGeVector3d {
public:
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    static const AcGeVector3d kIdentity;  // (0, 0, 0)
    static const AcGeVector3d kXAxis;     // (1, 0, 0)
    static const AcGeVector3d kYAxis;     // (0, 1, 0)
    static const AcGeVector3d kZAxis;     // (0, 0, 1)

    constexpr AcGeVector3d() = default;
    constexpr AcGeVector3d(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}

    // Euclidean length; never fails.
    double length() const { return std::sqrt(x * x + y * y + z * z); }
    // Squared length; never fails.
    constexpr double lengthSqrd() const { return x * x + y * y + z * z; }
    // Unit vector of the same direction; a zero-length vector comes back unchanged.
    AcGeVector3d normal(const AcGeTol& tol = AcGeContext::gTol) const
    {
        AcGeVector3d v = *this;
        return v.normalize(tol);
    }
    // Scales to unit length; a zero-length vector is left unchanged.
    AcGeVector3d& normalize(const AcGeTol& tol = AcGeContext::gTol)
    {
        double len = length();
        if (len > tol.equalVector()) {
            x /= len;
            y /= len;
            z /= len;
        }
        return *this;
    }
    // Dot product; never fails.
    constexpr double dotProduct(const AcGeVector3d& v) const { return x * v.x + y * v.y + z * v.z; }
    // Cross product this × v; never fails.
    constexpr AcGeVector3d crossProduct(const AcGeVector3d& v) const
    {
        return {y * v.z - z * v.y, z * v.x - x * v.z, x * v.y - y * v.x};
    }
    // Unsigned angle to v in [0, π]; 0 when either vector has zero length.
    double angleTo(const AcGeVector3d& v) const { return std::atan2(crossProduct(v).length(), dotProduct(v)); }
    // Applies the linear part of matrix m.
    AcGeVector3d& transformBy(const AcGeMatrix3d& m);
    // Some unit vector perpendicular to this one (the DXF arbitrary-axis X direction for a unit normal).
    AcGeVector3d perpVector() const;
    // True when the length is within the vector tolerance.
    bool isZeroLength(const AcGeTol& tol = AcGeContext::gTol) const { return length() <= tol.equalVector(); }
    // True when the length differs from 1 by at most the vector tolerance.
    bool isUnitLength(const AcGeTol& tol = AcGeContext::gTol) const { return std::abs(length() - 1.0) <= tol.equalVector(); }
    // True when the difference to v is within the vector tolerance.
    bool isEqualTo(const AcGeVector3d& v, const AcGeTol& tol = AcGeContext::gTol) const
    {
        return (*this - v).length() <= tol.equalVector();
    }
    // True when the directions are the same or opposite; false for a zero-length vector.
    bool isParallelTo(const AcGeVector3d& v, const AcGeTol& tol = AcGeContext::gTol) const;
    // Reverses the direction.
    AcGeVector3d& negate()
    {
        x = -x;
        y = -y;
        z = -z;
        return *this;
    }
    // Sets all three components.
    AcGeVector3d& set(double xx, double yy, double zz)
    {
        x = xx;
        y = yy;
        z = zz;
        return *this;
    }

    constexpr AcGeVector3d operator+(const AcGeVector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
    constexpr AcGeVector3d operator-(const AcGeVector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
    constexpr AcGeVector3d operator-() const { return {-x, -y, -z}; }
    constexpr AcGeVector3d operator*(double s) const { return {x * s, y * s, z * s}; }
    constexpr AcGeVector3d operator/(double s) const { return {x / s, y / s, z / s}; }
    AcGeVector3d& operator+=(const AcGeVector3d& v) { x += v.x; y += v.y; z += v.z; return *this; }
    AcGeVector3d& operator-=(const AcGeVector3d& v) { x -= v.x; y -= v.y; z -= v.z; return *this; }
    AcGeVector3d& operator*=(double s) { x *= s; y *= s; z *= s; return *this; }
    AcGeVector3d& operator/=(double s) { x /= s; y /= s; z /= s; return *this; }
    // Compares within the default vector tolerance.
    bool operator==(const AcGeVector3d& v) const { return isEqualTo(v); }
    // Component by index: 0 is x, 1 y, anything else z.
    double operator[](unsigned i) const { return i == 0 ? x : (i == 1 ? y : z); }
    double& operator[](unsigned i) { return i == 0 ? x : (i == 1 ? y : z); }
};

inline constexpr AcGeVector3d operator*(double s, const AcGeVector3d& v) { return v * s; }
// The linear part of m applied to v.
AcGeVector3d operator*(const AcGeMatrix3d& m, const AcGeVector3d& v);

inline const AcGeVector3d AcGeVector3d::kIdentity{0.0, 0.0, 0.0};
inline const AcGeVector3d AcGeVector3d::kXAxis{1.0, 0.0, 0.0};
inline const AcGeVector3d AcGeVector3d::kYAxis{0.0, 1.0, 0.0};
inline const AcGeVector3d AcGeVector3d::kZAxis{0.0, 0.0, 1.0};
