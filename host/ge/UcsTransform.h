#pragma once
// Matrices between a user coordinate system (UCS) and world coordinates (WCS).
// A UCS is given as its origin and X and Y directions in world coordinates;
// its Z axis is X × Y. The directions need not be unit length, and Y is
// made exactly perpendicular to X (Gram–Schmidt) as CAD programs do when
// they store a UCS.

#include "host/ge/AcGeMatrix3d.h"
#include "host/ge/AcGePoint3d.h"
#include "host/ge/AcGeVector3d.h"

// UCS to world: maps UCS coordinates to world coordinates (what the current
// UCS matrix of a drawing is). Parallel or zero axes fall back to the world axes.
AcGeMatrix3d acgeUcsToWorld(const AcGePoint3d& origin, const AcGeVector3d& xAxis, const AcGeVector3d& yAxis);

// World to UCS: the inverse of acgeUcsToWorld. Parallel or zero axes fall back to the world axes.
AcGeMatrix3d acgeWorldToUcs(const AcGePoint3d& origin, const AcGeVector3d& xAxis, const AcGeVector3d& yAxis);

// The orthonormal axes of a UCS: X normalised, Z = X × Y normalised, Y = Z × X.
// Returns false, leaving the world axes in the outputs, when the directions are zero or parallel.
bool acgeUcsAxes(const AcGeVector3d& xDirection, const AcGeVector3d& yDirection, AcGeVector3d& xAxis,
                 AcGeVector3d& yAxis, AcGeVector3d& zAxis);
