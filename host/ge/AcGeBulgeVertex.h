#pragma once
// A vertex of a lightweight polyline: its position and the bulge of the
// segment that starts at it (0 for a straight segment).

#include "host/ge/AcGePoint2d.h"

struct AcGeBulgeVertex {
    AcGePoint2d point;
    double bulge = 0.0;
};
