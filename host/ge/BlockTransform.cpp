#include "host/ge/BlockTransform.h"

AcGeMatrix3d acgeBlockTransform(const AcGePoint3d& insertionOcs, const AcGeScale3d& scale, double rotation,
                                const AcGeVector3d& normal, const AcGePoint3d& basePoint)
{
    // Applied right to left: move the base point to the origin, scale, rotate
    // about the OCS Z axis, move to the insertion point, then OCS to world.
    AcGeMatrix3d m = AcGeMatrix3d::translation(AcGePoint3d::kOrigin - basePoint);
    m.preMultBy(AcGeMatrix3d::scaling(scale));
    m.preMultBy(AcGeMatrix3d::rotation(rotation, AcGeVector3d::kZAxis));
    m.preMultBy(AcGeMatrix3d::translation(insertionOcs.asVector()));
    m.preMultBy(AcGeMatrix3d::planeToWorld(normal));
    return m;
}
