#include "host/ge/AcGeMatrix2d.h"

#include <algorithm>
#include <cmath>

#include "host/ge/AcGeMatrix3d.h"

const AcGeMatrix2d AcGeMatrix2d::kIdentity{};

AcGeMatrix2d::AcGeMatrix2d()
{
    setToIdentity();
}

AcGeMatrix2d& AcGeMatrix2d::setToIdentity()
{
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            entry[r][c] = r == c ? 1.0 : 0.0;
    return *this;
}

bool AcGeMatrix2d::isEqualTo(const AcGeMatrix2d& m, const AcGeTol& tol) const
{
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            if (std::abs(entry[r][c] - m.entry[r][c]) > tol.equalVector())
                return false;
    return true;
}

AcGeMatrix2d AcGeMatrix2d::operator*(const AcGeMatrix2d& m) const
{
    AcGeMatrix2d result;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            long double sum = 0.0L;
            for (int k = 0; k < 3; ++k)
                sum += static_cast<long double>(entry[r][k]) * m.entry[k][c];
            result.entry[r][c] = static_cast<double>(sum);
        }
    return result;
}

AcGeMatrix2d& AcGeMatrix2d::operator*=(const AcGeMatrix2d& m)
{
    *this = *this * m;
    return *this;
}

AcGeMatrix2d& AcGeMatrix2d::preMultBy(const AcGeMatrix2d& left)
{
    *this = left * *this;
    return *this;
}

AcGeMatrix2d& AcGeMatrix2d::postMultBy(const AcGeMatrix2d& right)
{
    *this = *this * right;
    return *this;
}

double AcGeMatrix2d::det() const
{
    const auto& e = entry;
    long double d = static_cast<long double>(e[0][0]) * (static_cast<long double>(e[1][1]) * e[2][2] - static_cast<long double>(e[1][2]) * e[2][1])
                  - static_cast<long double>(e[0][1]) * (static_cast<long double>(e[1][0]) * e[2][2] - static_cast<long double>(e[1][2]) * e[2][0])
                  + static_cast<long double>(e[0][2]) * (static_cast<long double>(e[1][0]) * e[2][1] - static_cast<long double>(e[1][1]) * e[2][0]);
    return static_cast<double>(d);
}

AcGeMatrix2d AcGeMatrix2d::inverse() const
{
    // Adjugate over determinant, in extended precision.
    const auto& e = entry;
    long double d = det();
    if (d == 0.0L)
        return *this;
    auto minor = [&](int r0, int r1, int c0, int c1) {
        return static_cast<long double>(e[r0][c0]) * e[r1][c1] - static_cast<long double>(e[r0][c1]) * e[r1][c0];
    };
    AcGeMatrix2d inv;
    inv.entry[0][0] = static_cast<double>(minor(1, 2, 1, 2) / d);
    inv.entry[0][1] = static_cast<double>(-minor(0, 2, 1, 2) / d);
    inv.entry[0][2] = static_cast<double>(minor(0, 1, 1, 2) / d);
    inv.entry[1][0] = static_cast<double>(-minor(1, 2, 0, 2) / d);
    inv.entry[1][1] = static_cast<double>(minor(0, 2, 0, 2) / d);
    inv.entry[1][2] = static_cast<double>(-minor(0, 1, 0, 2) / d);
    inv.entry[2][0] = static_cast<double>(minor(1, 2, 0, 1) / d);
    inv.entry[2][1] = static_cast<double>(-minor(0, 2, 0, 1) / d);
    inv.entry[2][2] = static_cast<double>(minor(0, 1, 0, 1) / d);
    return inv;
}

AcGeMatrix2d& AcGeMatrix2d::invert()
{
    *this = inverse();
    return *this;
}

bool AcGeMatrix2d::isSingular(const AcGeTol& tol) const
{
    return std::abs(det()) <= tol.equalVector();
}

bool AcGeMatrix2d::isUniScaledOrtho(const AcGeTol& tol) const
{
    AcGeVector2d x(entry[0][0], entry[1][0]), y(entry[0][1], entry[1][1]);
    double lx = x.length(), ly = y.length();
    double big = std::max(lx, ly);
    if (big <= tol.equalVector())
        return false;
    return std::abs(lx - ly) <= tol.equalVector() * big && std::abs(x.dotProduct(y)) <= tol.equalVector() * big * big;
}

double AcGeMatrix2d::scale() const
{
    return std::max(std::hypot(entry[0][0], entry[1][0]), std::hypot(entry[0][1], entry[1][1]));
}

AcGeVector2d AcGeMatrix2d::translation() const
{
    return {entry[0][2], entry[1][2]};
}

AcGeMatrix2d& AcGeMatrix2d::setCoordSystem(const AcGePoint2d& origin, const AcGeVector2d& xAxis,
                                           const AcGeVector2d& yAxis)
{
    setToIdentity();
    entry[0][0] = xAxis.x;
    entry[1][0] = xAxis.y;
    entry[0][1] = yAxis.x;
    entry[1][1] = yAxis.y;
    entry[0][2] = origin.x;
    entry[1][2] = origin.y;
    return *this;
}

void AcGeMatrix2d::getCoordSystem(AcGePoint2d& origin, AcGeVector2d& xAxis, AcGeVector2d& yAxis) const
{
    xAxis = {entry[0][0], entry[1][0]};
    yAxis = {entry[0][1], entry[1][1]};
    origin = {entry[0][2], entry[1][2]};
}

AcGeMatrix2d AcGeMatrix2d::translation(const AcGeVector2d& v)
{
    AcGeMatrix2d m;
    m.entry[0][2] = v.x;
    m.entry[1][2] = v.y;
    return m;
}

AcGeMatrix2d AcGeMatrix2d::rotation(double angle, const AcGePoint2d& center)
{
    double c = std::cos(angle), s = std::sin(angle);
    AcGeMatrix2d m;
    m.entry[0][0] = c;
    m.entry[0][1] = -s;
    m.entry[1][0] = s;
    m.entry[1][1] = c;
    m.entry[0][2] = center.x - (c * center.x - s * center.y);
    m.entry[1][2] = center.y - (s * center.x + c * center.y);
    return m;
}

AcGeMatrix2d AcGeMatrix2d::scaling(double factor, const AcGePoint2d& center)
{
    return scaling(factor, factor, center);
}

AcGeMatrix2d AcGeMatrix2d::scaling(double sx, double sy, const AcGePoint2d& center)
{
    AcGeMatrix2d m;
    m.entry[0][0] = sx;
    m.entry[1][1] = sy;
    m.entry[0][2] = center.x * (1.0 - sx);
    m.entry[1][2] = center.y * (1.0 - sy);
    return m;
}

AcGeMatrix2d AcGeMatrix2d::mirroring(const AcGePoint2d& point, const AcGeVector2d& direction)
{
    AcGeMatrix2d m;
    double len = direction.length();
    if (len == 0.0)
        return m;
    // Reflection in a line of unit direction d: 2·d·dᵀ − I.
    double dx = direction.x / len, dy = direction.y / len;
    m.entry[0][0] = 2 * dx * dx - 1;
    m.entry[0][1] = 2 * dx * dy;
    m.entry[1][0] = 2 * dx * dy;
    m.entry[1][1] = 2 * dy * dy - 1;
    m.entry[0][2] = point.x - (m.entry[0][0] * point.x + m.entry[0][1] * point.y);
    m.entry[1][2] = point.y - (m.entry[1][0] * point.x + m.entry[1][1] * point.y);
    return m;
}

AcGeMatrix2d AcGeMatrix2d::fromXYOf(const AcGeMatrix3d& m)
{
    AcGeMatrix2d r;
    r.entry[0][0] = m.entry[0][0];
    r.entry[0][1] = m.entry[0][1];
    r.entry[0][2] = m.entry[0][3];
    r.entry[1][0] = m.entry[1][0];
    r.entry[1][1] = m.entry[1][1];
    r.entry[1][2] = m.entry[1][3];
    return r;
}

AcGePoint2d operator*(const AcGeMatrix2d& m, const AcGePoint2d& p)
{
    return {m.entry[0][0] * p.x + m.entry[0][1] * p.y + m.entry[0][2],
            m.entry[1][0] * p.x + m.entry[1][1] * p.y + m.entry[1][2]};
}

AcGeVector2d operator*(const AcGeMatrix2d& m, const AcGeVector2d& v)
{
    return {m.entry[0][0] * v.x + m.entry[0][1] * v.y, m.entry[1][0] * v.x + m.entry[1][1] * v.y};
}
