#include "host/ge/AcGePoint3d.h"

#include "host/ge/AcGeMatrix3d.h"

AcGePoint3d& AcGePoint3d::transformBy(const AcGeMatrix3d& m)
{
    *this = m * *this;
    return *this;
}

AcGePoint3d operator*(const AcGeMatrix3d& m, const AcGePoint3d& p)
{
    const auto& e = m.entry;
    double x = e[0][0] * p.x + e[0][1] * p.y + e[0][2] * p.z + e[0][3];
    double y = e[1][0] * p.x + e[1][1] * p.y + e[1][2] * p.z + e[1][3];
    double z = e[2][0] * p.x + e[2][1] * p.y + e[2][2] * p.z + e[2][3];
    double w = e[3][0] * p.x + e[3][1] * p.y + e[3][2] * p.z + e[3][3];
    if (w != 1.0 && w != 0.0) {
        x /= w;
        y /= w;
        z /= w;
    }
    return {x, y, z};
}
