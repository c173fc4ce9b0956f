#pragma once
// Scale factors along X, Y and Z, as block references carry them. Negative
// factors mirror; the factors need not be equal.

#include <cmath>

#include "host/ge/AcGeContext.h"

class AcGeScale3d {
public:
    double sx = 1.0;
    double sy = 1.0;
    double sz = 1.0;

    static const AcGeScale3d kIdentity;  // (1, 1, 1)

    constexpr AcGeScale3d() = default;
    constexpr explicit AcGeScale3d(double factor) : sx(factor), sy(factor), sz(factor) {}
    constexpr AcGeScale3d(double x, double y, double z) : sx(x), sy(y), sz(z) {}

    // True when all three factors are equal within the vector tolerance.
    bool isProportional(const AcGeTol& tol = AcGeContext::gTol) const
    {
        return std::abs(sx - sy) <= tol.equalVector() && std::abs(sx - sz) <= tol.equalVector();
    }
    // True when each factor equals the other's within the vector tolerance.
    bool isEqualTo(const AcGeScale3d& s, const AcGeTol& tol = AcGeContext::gTol) const
    {
        return std::abs(sx - s.sx) <= tol.equalVector() && std::abs(sy - s.sy) <= tol.equalVector()
            && std::abs(sz - s.sz) <= tol.equalVector();
    }
    constexpr AcGeScale3d operator*(const AcGeScale3d& s) const { return {sx * s.sx, sy * s.sy, sz * s.sz}; }
    constexpr AcGeScale3d operator*(double f) const { return {sx * f, sy * f, sz * f}; }
    bool operator==(const AcGeScale3d& s) const { return isEqualTo(s); }
    // Factor by index: 0 is sx, 1 sy, anything else sz.
    double operator[](unsigned i) const { return i == 0 ? sx : (i == 1 ? sy : sz); }
    double& operator[](unsigned i) { return i == 0 ? sx : (i == 1 ? sy : sz); }
};

inline const AcGeScale3d AcGeScale3d::kIdentity{1.0, 1.0, 1.0};
