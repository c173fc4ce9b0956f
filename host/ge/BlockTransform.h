#pragma once
// The placement of a block reference (INSERT) as CAD programs compute it:
// a point p of the block definition lands in world coordinates at
//   WCS = OCS_to_WCS(insertion + Rz(rotation) · S(scale) · (p − basePoint))
// where the insertion point is given in the reference's object coordinate
// system (extrusion direction `normal`, DXF arbitrary-axis algorithm) and
// basePoint is the block definition's base point in block coordinates.

#include "host/ge/AcGeMatrix3d.h"
#include "host/ge/AcGePoint3d.h"
#include "host/ge/AcGeScale3d.h"
#include "host/ge/AcGeVector3d.h"

// The block transform of a reference. Scale factors may be negative (mirroring)
// and unequal; a zero factor gives a singular matrix. A zero normal is taken as +Z.
AcGeMatrix3d acgeBlockTransform(const AcGePoint3d& insertionOcs, const AcGeScale3d& scale, double rotation,
                                const AcGeVector3d& normal, const AcGePoint3d& basePoint = AcGePoint3d::kOrigin);
