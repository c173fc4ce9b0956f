#include "host/ge/AcGeVector3d.h"

#include <numbers>

#include "host/ge/AcGeMatrix3d.h"

AcGeVector3d& AcGeVector3d::transformBy(const AcGeMatrix3d& m)
{
    *this = m * *this;
    return *this;
}

AcGeVector3d AcGeVector3d::perpVector() const
{
    AcGeVector3d xAxis, yAxis, zAxis;
    AcGeMatrix3d::arbitraryAxis(*this, xAxis, yAxis, zAxis);
    return xAxis;
}

bool AcGeVector3d::isParallelTo(const AcGeVector3d& v, const AcGeTol& tol) const
{
    if (isZeroLength(tol) || v.isZeroLength(tol))
        return false;
    return normal().crossProduct(v.normal()).length() <= tol.equalVector();
}

AcGeVector3d operator*(const AcGeMatrix3d& m, const AcGeVector3d& v)
{
    return {m.entry[0][0] * v.x + m.entry[0][1] * v.y + m.entry[0][2] * v.z,
            m.entry[1][0] * v.x + m.entry[1][1] * v.y + m.entry[1][2] * v.z,
            m.entry[2][0] * v.x + m.entry[2][1] * v.y + m.entry[2][2] * v.z};
}
