#include "host/ge/AcGeMatrix3d.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace {

// Columns 0–2 of the linear part as vectors.
AcGeVector3d column(const AcGeMatrix3d& m, int c)
{
    return {m.entry[0][c], m.entry[1][c], m.entry[2][c]};
}

}  // namespace

const AcGeMatrix3d AcGeMatrix3d::kIdentity{};

AcGeMatrix3d::AcGeMatrix3d()
{
    setToIdentity();
}

AcGeMatrix3d& AcGeMatrix3d::setToIdentity()
{
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            entry[r][c] = r == c ? 1.0 : 0.0;
    return *this;
}

bool AcGeMatrix3d::isEqualTo(const AcGeMatrix3d& m, const AcGeTol& tol) const
{
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (std::abs(entry[r][c] - m.entry[r][c]) > tol.equalVector())
                return false;
    return true;
}

AcGeMatrix3d AcGeMatrix3d::operator*(const AcGeMatrix3d& m) const
{
    AcGeMatrix3d result;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            long double sum = 0.0L;
            for (int k = 0; k < 4; ++k)
                sum += static_cast<long double>(entry[r][k]) * m.entry[k][c];
            result.entry[r][c] = static_cast<double>(sum);
        }
    return result;
}

AcGeMatrix3d& AcGeMatrix3d::preMultBy(const AcGeMatrix3d& left)
{
    *this = left * *this;
    return *this;
}

AcGeMatrix3d AcGeMatrix3d::inverse() const
{
    // The identity (the world coordinate system, the usual case) is its own
    // inverse; the elimination below would give the same bits.
    if (std::memcmp(entry, kIdentity.entry, sizeof entry) == 0)
        return *this;
    // Gauss–Jordan elimination with partial pivoting, in extended precision.
    long double a[4][8];
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            a[r][c] = entry[r][c];
            a[r][c + 4] = r == c ? 1.0L : 0.0L;
        }
    for (int col = 0; col < 4; ++col) {
        int pivot = col;
        for (int r = col + 1; r < 4; ++r)
            if (std::abs(a[r][col]) > std::abs(a[pivot][col]))
                pivot = r;
        if (a[pivot][col] == 0.0L)
            return *this;
        if (pivot != col)
            for (int c = 0; c < 8; ++c)
                std::swap(a[pivot][c], a[col][c]);
        long double p = a[col][col];
        for (int c = 0; c < 8; ++c)
            a[col][c] /= p;
        for (int r = 0; r < 4; ++r) {
            if (r == col || a[r][col] == 0.0L)
                continue;
            long double f = a[r][col];
            for (int c = 0; c < 8; ++c)
                a[r][c] -= f * a[col][c];
        }
    }
    AcGeMatrix3d result;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            result.entry[r][c] = static_cast<double>(a[r][c + 4]);
    return result;
}

AcGeMatrix3d& AcGeMatrix3d::invert()
{
    *this = inverse();
    return *this;
}

AcGeMatrix3d AcGeMatrix3d::transpose() const
{
    AcGeMatrix3d result;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            result.entry[r][c] = entry[c][r];
    return result;
}

AcGeMatrix3d& AcGeMatrix3d::transposeIt()
{
    *this = transpose();
    return *this;
}

double AcGeMatrix3d::det() const
{
    // LU decomposition with partial pivoting; the sign follows the row swaps.
    long double a[4][4];
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            a[r][c] = entry[r][c];
    long double d = 1.0L;
    for (int col = 0; col < 4; ++col) {
        int pivot = col;
        for (int r = col + 1; r < 4; ++r)
            if (std::abs(a[r][col]) > std::abs(a[pivot][col]))
                pivot = r;
        if (a[pivot][col] == 0.0L)
            return 0.0;
        if (pivot != col) {
            for (int c = 0; c < 4; ++c)
                std::swap(a[pivot][c], a[col][c]);
            d = -d;
        }
        d *= a[col][col];
        for (int r = col + 1; r < 4; ++r) {
            long double f = a[r][col] / a[col][col];
            for (int c = col; c < 4; ++c)
                a[r][c] -= f * a[col][c];
        }
    }
    return static_cast<double>(d);
}

bool AcGeMatrix3d::isUniScaledOrtho(const AcGeTol& tol) const
{
    AcGeVector3d x = column(*this, 0), y = column(*this, 1), z = column(*this, 2);
    double lx = x.length(), ly = y.length(), lz = z.length();
    double big = std::max({lx, ly, lz});
    if (big <= tol.equalVector())
        return false;
    double eps = tol.equalVector() * big;
    if (std::abs(lx - ly) > eps || std::abs(lx - lz) > eps)
        return false;
    double eps2 = tol.equalVector() * big * big;
    return std::abs(x.dotProduct(y)) <= eps2 && std::abs(x.dotProduct(z)) <= eps2 && std::abs(y.dotProduct(z)) <= eps2;
}

double AcGeMatrix3d::scale() const
{
    return std::max({column(*this, 0).length(), column(*this, 1).length(), column(*this, 2).length()});
}

AcGeMatrix3d& AcGeMatrix3d::setTranslation(const AcGeVector3d& v)
{
    entry[0][3] = v.x;
    entry[1][3] = v.y;
    entry[2][3] = v.z;
    return *this;
}

AcGeMatrix3d& AcGeMatrix3d::setToTranslation(const AcGeVector3d& v)
{
    setToIdentity();
    return setTranslation(v);
}

AcGeMatrix3d& AcGeMatrix3d::setToRotation(double angle, const AcGeVector3d& axis, const AcGePoint3d& center)
{
    setToIdentity();
    double len = axis.length();
    if (len == 0.0)
        return *this;
    // Rodrigues: R = cos·I + sin·[k]× + (1 − cos)·k·kᵀ.
    double kx = axis.x / len, ky = axis.y / len, kz = axis.z / len;
    double c = std::cos(angle), s = std::sin(angle), t = 1.0 - c;
    entry[0][0] = c + t * kx * kx;
    entry[0][1] = t * kx * ky - s * kz;
    entry[0][2] = t * kx * kz + s * ky;
    entry[1][0] = t * kx * ky + s * kz;
    entry[1][1] = c + t * ky * ky;
    entry[1][2] = t * ky * kz - s * kx;
    entry[2][0] = t * kx * kz - s * ky;
    entry[2][1] = t * ky * kz + s * kx;
    entry[2][2] = c + t * kz * kz;
    AcGeVector3d moved = *this * center.asVector();
    return setTranslation(center.asVector() - moved);
}

AcGeMatrix3d& AcGeMatrix3d::setToScaling(double factor, const AcGePoint3d& center)
{
    return setToScaling(AcGeScale3d(factor), center);
}

AcGeMatrix3d& AcGeMatrix3d::setToScaling(const AcGeScale3d& factors, const AcGePoint3d& center)
{
    setToIdentity();
    entry[0][0] = factors.sx;
    entry[1][1] = factors.sy;
    entry[2][2] = factors.sz;
    entry[0][3] = center.x * (1.0 - factors.sx);
    entry[1][3] = center.y * (1.0 - factors.sy);
    entry[2][3] = center.z * (1.0 - factors.sz);
    return *this;
}

AcGeMatrix3d& AcGeMatrix3d::setToMirroring(const AcGePoint3d& pointOnPlane, const AcGeVector3d& normal)
{
    setToIdentity();
    double len = normal.length();
    if (len == 0.0)
        return *this;
    // Householder reflection I − 2·n·nᵀ about a plane through pointOnPlane.
    double n[3] = {normal.x / len, normal.y / len, normal.z / len};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            entry[r][c] = (r == c ? 1.0 : 0.0) - 2.0 * n[r] * n[c];
    AcGeVector3d moved = *this * pointOnPlane.asVector();
    return setTranslation(pointOnPlane.asVector() - moved);
}

AcGeMatrix3d& AcGeMatrix3d::setToMirroring(const AcGePoint3d& point)
{
    setToScaling(-1.0, point);
    return *this;
}

AcGeMatrix3d& AcGeMatrix3d::setCoordSystem(const AcGePoint3d& origin, const AcGeVector3d& xAxis,
                                           const AcGeVector3d& yAxis, const AcGeVector3d& zAxis)
{
    setToIdentity();
    for (int r = 0; r < 3; ++r) {
        entry[r][0] = xAxis[r];
        entry[r][1] = yAxis[r];
        entry[r][2] = zAxis[r];
        entry[r][3] = origin[r];
    }
    return *this;
}

void AcGeMatrix3d::getCoordSystem(AcGePoint3d& origin, AcGeVector3d& xAxis, AcGeVector3d& yAxis,
                                  AcGeVector3d& zAxis) const
{
    xAxis = column(*this, 0);
    yAxis = column(*this, 1);
    zAxis = column(*this, 2);
    origin.set(entry[0][3], entry[1][3], entry[2][3]);
}

void AcGeMatrix3d::arbitraryAxis(const AcGeVector3d& normal, AcGeVector3d& xAxis, AcGeVector3d& yAxis,
                                 AcGeVector3d& zAxis)
{
    // The DXF arbitrary-axis algorithm: when the normal is close to the world
    // Z axis (both |x| and |y| below 1/64) the OCS X axis is Wy × N, else Wz × N.
    zAxis = normal.isZeroLength() ? AcGeVector3d::kZAxis : normal.normal();
    constexpr double threshold = 1.0 / 64.0;
    if (std::abs(zAxis.x) < threshold && std::abs(zAxis.y) < threshold)
        xAxis = AcGeVector3d::kYAxis.crossProduct(zAxis);
    else
        xAxis = AcGeVector3d::kZAxis.crossProduct(zAxis);
    xAxis.normalize();
    yAxis = zAxis.crossProduct(xAxis).normalize();
}

AcGeMatrix3d& AcGeMatrix3d::setToPlaneToWorld(const AcGeVector3d& normal)
{
    AcGeVector3d xAxis, yAxis, zAxis;
    arbitraryAxis(normal, xAxis, yAxis, zAxis);
    return setCoordSystem(AcGePoint3d::kOrigin, xAxis, yAxis, zAxis);
}

AcGeMatrix3d& AcGeMatrix3d::setToWorldToPlane(const AcGeVector3d& normal)
{
    // The plane-to-world matrix is orthonormal: its inverse is its transpose.
    setToPlaneToWorld(normal);
    return transposeIt();
}

AcGeMatrix3d AcGeMatrix3d::translation(const AcGeVector3d& v)
{
    return AcGeMatrix3d().setToTranslation(v);
}

AcGeMatrix3d AcGeMatrix3d::rotation(double angle, const AcGeVector3d& axis, const AcGePoint3d& center)
{
    return AcGeMatrix3d().setToRotation(angle, axis, center);
}

AcGeMatrix3d AcGeMatrix3d::scaling(double factor, const AcGePoint3d& center)
{
    return AcGeMatrix3d().setToScaling(factor, center);
}

AcGeMatrix3d AcGeMatrix3d::scaling(const AcGeScale3d& factors, const AcGePoint3d& center)
{
    return AcGeMatrix3d().setToScaling(factors, center);
}

AcGeMatrix3d AcGeMatrix3d::mirroring(const AcGePoint3d& pointOnPlane, const AcGeVector3d& normal)
{
    return AcGeMatrix3d().setToMirroring(pointOnPlane, normal);
}

AcGeMatrix3d AcGeMatrix3d::mirroring(const AcGePoint3d& point)
{
    return AcGeMatrix3d().setToMirroring(point);
}

AcGeMatrix3d AcGeMatrix3d::worldToPlane(const AcGeVector3d& normal)
{
    return AcGeMatrix3d().setToWorldToPlane(normal);
}

AcGeMatrix3d AcGeMatrix3d::planeToWorld(const AcGeVector3d& normal)
{
    return AcGeMatrix3d().setToPlaneToWorld(normal);
}
