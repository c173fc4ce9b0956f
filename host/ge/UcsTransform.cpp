#include "host/ge/UcsTransform.h"

bool acgeUcsAxes(const AcGeVector3d& xDirection, const AcGeVector3d& yDirection, AcGeVector3d& xAxis,
                 AcGeVector3d& yAxis, AcGeVector3d& zAxis)
{
    xAxis = AcGeVector3d::kXAxis;
    yAxis = AcGeVector3d::kYAxis;
    zAxis = AcGeVector3d::kZAxis;
    if (xDirection.isZeroLength() || yDirection.isZeroLength() || xDirection.isParallelTo(yDirection))
        return false;
    AcGeVector3d x = xDirection.normal();
    AcGeVector3d z = x.crossProduct(yDirection).normal();
    xAxis = x;
    zAxis = z;
    yAxis = z.crossProduct(x).normal();
    return true;
}

AcGeMatrix3d acgeUcsToWorld(const AcGePoint3d& origin, const AcGeVector3d& xAxis, const AcGeVector3d& yAxis)
{
    AcGeVector3d x, y, z;
    acgeUcsAxes(xAxis, yAxis, x, y, z);
    AcGeMatrix3d m;
    return m.setCoordSystem(origin, x, y, z);
}

AcGeMatrix3d acgeWorldToUcs(const AcGePoint3d& origin, const AcGeVector3d& xAxis, const AcGeVector3d& yAxis)
{
    // The axes are orthonormal, so the inverse rotation is the transpose.
    AcGeVector3d x, y, z;
    acgeUcsAxes(xAxis, yAxis, x, y, z);
    AcGeMatrix3d m;
    m.setCoordSystem(AcGePoint3d::kOrigin, x, y, z);
    m.transposeIt();
    AcGeVector3d t = m * origin.asVector();
    return m.setTranslation(-t);
}
