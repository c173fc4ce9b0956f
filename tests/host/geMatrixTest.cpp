#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "host/ge/AcGeMatrix3d.h"
#include "host/ge/AcGePoint2d.h"

namespace {

constexpr double kPi = std::numbers::pi;

void expectPoint(const AcGePoint3d& p, double x, double y, double z, double tol = 1e-12)
{
    EXPECT_NEAR(p.x, x, tol);
    EXPECT_NEAR(p.y, y, tol);
    EXPECT_NEAR(p.z, z, tol);
}

}  // namespace

TEST(GeVector, LengthNormalCrossDotAngle)
{
    AcGeVector3d v(3, 4, 12);
    EXPECT_DOUBLE_EQ(v.length(), 13.0);
    EXPECT_TRUE(v.normal().isUnitLength());
    EXPECT_TRUE(AcGeVector3d::kXAxis.crossProduct(AcGeVector3d::kYAxis).isEqualTo(AcGeVector3d::kZAxis));
    EXPECT_DOUBLE_EQ(AcGeVector3d(1, 2, 3).dotProduct(AcGeVector3d(4, -5, 6)), 12.0);
    EXPECT_NEAR(AcGeVector3d::kXAxis.angleTo(AcGeVector3d(1, 1, 0)), kPi / 4, 1e-15);
    AcGeVector3d zero;
    EXPECT_TRUE(zero.isZeroLength());
    EXPECT_TRUE(zero.normal().isZeroLength());  // stays zero rather than NaN
    EXPECT_FALSE(zero.isParallelTo(AcGeVector3d::kXAxis));
    EXPECT_TRUE(AcGeVector3d(2, 0, 0).isParallelTo(AcGeVector3d(-1, 0, 0)));
}

TEST(GePoint, ArithmeticDistanceAndTolerance)
{
    AcGePoint3d a(1, 2, 3), b(4, 6, 3);
    EXPECT_DOUBLE_EQ(a.distanceTo(b), 5.0);
    EXPECT_TRUE((a + (b - a)).isEqualTo(b));
    EXPECT_TRUE((b - AcGeVector3d(3, 4, 0)).isEqualTo(a));
    EXPECT_TRUE(AcGePoint3d::kOrigin.asVector().isZeroLength());
    AcGePoint3d c(1 + 5e-11, 2, 3);
    EXPECT_TRUE(a.isEqualTo(c));
    EXPECT_FALSE(a.isEqualTo(AcGePoint3d(1 + 5e-10, 2, 3)));
    EXPECT_TRUE(a.isEqualTo(AcGePoint3d(1 + 5e-10, 2, 3), AcGeTol(1e-9, 1e-9)));
    AcGePoint2d p(2, 0);
    p.rotateBy(kPi / 2, AcGePoint2d(1, 0));
    EXPECT_NEAR(p.x, 1.0, 1e-15);
    EXPECT_NEAR(p.y, 1.0, 1e-15);
}

TEST(GeMatrix, RotationAboutCenterAndInverse)
{
    AcGeMatrix3d m = AcGeMatrix3d::rotation(kPi / 2, AcGeVector3d::kZAxis, AcGePoint3d(1, 0, 0));
    AcGePoint3d p(2, 0, 5);
    p.transformBy(m);
    expectPoint(p, 1, 1, 5);
    EXPECT_NEAR(m.det(), 1.0, 1e-15);
    EXPECT_TRUE((m * m.inverse()).isEqualTo(AcGeMatrix3d::kIdentity));
    p.transformBy(m.inverse());
    expectPoint(p, 2, 0, 5);
    // 120° about the (1,1,1) diagonal permutes the axes: x -> y -> z -> x.
    AcGePoint3d q = AcGeMatrix3d::rotation(2 * kPi / 3, AcGeVector3d(1, 1, 1)) * AcGePoint3d(1, 0, 0);
    expectPoint(q, 0, 1, 0);
}

TEST(GeMatrix, ProductOrderAndPreMultiply)
{
    AcGeMatrix3d t = AcGeMatrix3d::translation(AcGeVector3d(10, 0, 0));
    AcGeMatrix3d s = AcGeMatrix3d::scaling(2.0);
    // t*s scales first, then translates.
    expectPoint((t * s) * AcGePoint3d(1, 1, 1), 12, 2, 2);
    expectPoint((s * t) * AcGePoint3d(1, 1, 1), 22, 2, 2);
    AcGeMatrix3d a = s;
    a.preMultBy(t);
    EXPECT_TRUE(a.isEqualTo(t * s));
    // Vectors ignore the translation.
    EXPECT_TRUE(((t * s) * AcGeVector3d(1, 0, 0)).isEqualTo(AcGeVector3d(2, 0, 0)));
}

TEST(GeMatrix, ScalingMirroringDeterminantAndOrthoChecks)
{
    AcGeMatrix3d s = AcGeMatrix3d::scaling(AcGeScale3d(2, -3, 4), AcGePoint3d(1, 1, 1));
    EXPECT_NEAR(s.det(), -24.0, 1e-12);
    expectPoint(s * AcGePoint3d(2, 2, 2), 3, -2, 5);
    EXPECT_FALSE(s.isUniScaledOrtho());
    EXPECT_DOUBLE_EQ(s.scale(), 4.0);
    AcGeMatrix3d u = AcGeMatrix3d::rotation(0.3, AcGeVector3d(1, 2, 3)) * AcGeMatrix3d::scaling(2.5);
    EXPECT_TRUE(u.isUniScaledOrtho());
    EXPECT_NEAR(u.scale(), 2.5, 1e-14);
    AcGeMatrix3d mirror = AcGeMatrix3d::mirroring(AcGePoint3d(0, 5, 0), AcGeVector3d(0, 2, 0));
    expectPoint(mirror * AcGePoint3d(1, 7, 3), 1, 3, 3);
    EXPECT_NEAR(mirror.det(), -1.0, 1e-15);
    EXPECT_TRUE(mirror.isUniScaledOrtho());
    expectPoint(AcGeMatrix3d::mirroring(AcGePoint3d(1, 1, 1)) * AcGePoint3d(3, 0, 1), -1, 2, 1);
    AcGeMatrix3d shear;
    shear.entry[0][1] = 0.5;
    EXPECT_FALSE(shear.isUniScaledOrtho());
    // A singular matrix does not invert: it comes back unchanged.
    EXPECT_TRUE(AcGeMatrix3d::scaling(0.0).inverse().isEqualTo(AcGeMatrix3d::scaling(0.0)));
    EXPECT_TRUE(s.transpose().transpose().isEqualTo(s));
}

TEST(GeMatrix, CoordinateSystems)
{
    AcGeMatrix3d m;
    m.setCoordSystem(AcGePoint3d(1, 2, 3), AcGeVector3d(0, 1, 0), AcGeVector3d(-1, 0, 0), AcGeVector3d(0, 0, 1));
    AcGePoint3d o;
    AcGeVector3d x, y, z;
    m.getCoordSystem(o, x, y, z);
    expectPoint(o, 1, 2, 3);
    EXPECT_TRUE(x.isEqualTo(AcGeVector3d(0, 1, 0)));
    expectPoint(m * AcGePoint3d(1, 0, 0), 1, 3, 3);
}

TEST(GeMatrix, ArbitraryAxisByHand)
{
    // N = -Z: |Nx|,|Ny| < 1/64, so Ax = Wy x N = (-1,0,0), Ay = N x Ax = (0,1,0).
    AcGePoint3d p = AcGeMatrix3d::planeToWorld(AcGeVector3d(0, 0, -1)) * AcGePoint3d(1, 2, 3);
    expectPoint(p, -1, 2, -3);
    // N = +X: Ax = Wz x N = (0,1,0), Ay = N x Ax = (0,0,1).
    expectPoint(AcGeMatrix3d::planeToWorld(AcGeVector3d(5, 0, 0)) * AcGePoint3d(1, 2, 3), 3, 1, 2);
    // Just inside the 1/64 threshold the Wy rule applies; just outside, the Wz rule.
    AcGeVector3d xa, ya, za;
    AcGeMatrix3d::arbitraryAxis(AcGeVector3d(0.015, 0, 1), xa, ya, za);
    EXPECT_GT(xa.x, 0.99);  // Wy x N ~ (+1, 0, -0.015)
    AcGeMatrix3d::arbitraryAxis(AcGeVector3d(0.016, 0, 1), xa, ya, za);
    EXPECT_GT(xa.y, 0.99);  // Wz x N ~ (0, +1, 0)
    AcGeVector3d n(0.3, -0.4, 0.8);
    AcGeMatrix3d round = AcGeMatrix3d::worldToPlane(n) * AcGeMatrix3d::planeToWorld(n);
    EXPECT_TRUE(round.isEqualTo(AcGeMatrix3d::kIdentity, AcGeTol(1e-14, 1e-14)));
    // The OCS Z axis is the (normalised) normal.
    EXPECT_TRUE((AcGeMatrix3d::planeToWorld(n) * AcGeVector3d::kZAxis).isEqualTo(n.normal(), AcGeTol(1e-15, 1e-15)));
    // A zero normal is taken as +Z.
    EXPECT_TRUE(AcGeMatrix3d::planeToWorld(AcGeVector3d()).isEqualTo(AcGeMatrix3d::kIdentity));
}
