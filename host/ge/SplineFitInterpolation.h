#pragma once
#include <vector>

#include "host/ge/AcGePoint3d.h"
#include "host/ge/AcGeVector3d.h"

// The cubic B-spline that passes through fit points, as CAD programs make a
// spline drawn by its fit points: global interpolation with the parameters
// spaced by chord length, the interior knots at those parameters, and
// given end tangents (their directions; each is scaled to the length of the
// polygon through the points). A zero end tangent is estimated from the
// parabola through the first (or last) three points.
class SplineFitInterpolation {
public:
    // Knots (n + 7 for n + 1 points) and control points (n + 3); false,
    // with both empty, for fewer than two distinct points.
    static bool interpolate(const std::vector<AcGePoint3d>& fitPoints, const AcGeVector3d& startTangent,
                            const AcGeVector3d& endTangent, std::vector<double>& knots,
                            std::vector<AcGePoint3d>& controlPoints);
};
