#pragma once
// A position in space. Plain value with public x, y and z.

#include <cmath>

#include "host/ge/AcGePoint2d.h"
#include "host/ge/AcGeVector3d.h"

class AcGeMatrix3d;

class AcGePoint3d {
public:
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    static const AcGePoint3d kOrigin;  // (0, 0, 0)

    constexpr AcGePoint3d() = default;
    constexpr AcGePoint3d(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}

    // Euclidean distance to p; never fails.
    double distanceTo(const AcGePoint3d& p) const { return (*this - p).length(); }
    // True when the distance to p is within the point tolerance.
    bool isEqualTo(const AcGePoint3d& p, const AcGeTol& tol = AcGeContext::gTol) const
    {
        return distanceTo(p) <= tol.equalPoint();
    }
    // The vector from the origin to this point.
    constexpr AcGeVector3d asVector() const { return {x, y, z}; }
    // The x and y coordinates (the projection onto the XY plane).
    constexpr AcGePoint2d convert2d() const { return {x, y}; }
    // Applies matrix m (rotation, scale and translation).
    AcGePoint3d& transformBy(const AcGeMatrix3d& m);
    // Scales the distance from center by factor.
    AcGePoint3d& scaleBy(double factor, const AcGePoint3d& center = kOrigin)
    {
        x = center.x + (x - center.x) * factor;
        y = center.y + (y - center.y) * factor;
        z = center.z + (z - center.z) * factor;
        return *this;
    }
    // Sets all three coordinates.
    AcGePoint3d& set(double xx, double yy, double zz)
    {
        x = xx;
        y = yy;
        z = zz;
        return *this;
    }

    constexpr AcGePoint3d operator+(const AcGeVector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
    constexpr AcGePoint3d operator-(const AcGeVector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
    constexpr AcGeVector3d operator-(const AcGePoint3d& p) const { return {x - p.x, y - p.y, z - p.z}; }
    AcGePoint3d& operator+=(const AcGeVector3d& v) { x += v.x; y += v.y; z += v.z; return *this; }
    AcGePoint3d& operator-=(const AcGeVector3d& v) { x -= v.x; y -= v.y; z -= v.z; return *this; }
    // Compares within the default point tolerance.
    bool operator==(const AcGePoint3d& p) const { return isEqualTo(p); }
    // Coordinate by index: 0 is x, 1 y, anything else z.
    double operator[](unsigned i) const { return i == 0 ? x : (i == 1 ? y : z); }
    double& operator[](unsigned i) { return i == 0 ? x : (i == 1 ? y : z); }
};

// Matrix m applied to p (rotation, scale and translation).
AcGePoint3d operator*(const AcGeMatrix3d& m, const AcGePoint3d& p);

inline const AcGePoint3d AcGePoint3d::kOrigin{0.0, 0.0, 0.0};
