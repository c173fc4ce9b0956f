#pragma once
#include <vector>

#include "host/ge/AcGePoint2d.h"
#include "host/ge/AcGePoint3d.h"

// The area a wide polyline covers, as polygons to fill: one band per
// segment about its centre line, its width running from the segment's start
// width to its end width (along the angle of an arc), and at each joint the
// wedge that mitres the outer edges of the two bands (bevelled where the
// mitre would reach past twice the width). Every polygon runs
// counter-clockwise, so a non-zero fill covers their union.
class PlotWideOutline {
public:
    // points and bulges as AcDbGeometrySink::polyline tells them (x and y
    // used; flipBulges for a plane whose normal points down); an arc is cut
    // into steps that stray at most tolerance from it.
    static std::vector<std::vector<AcGePoint2d>> polygons(const std::vector<AcGePoint3d>& points,
                                                          const std::vector<double>& bulges,
                                                          const std::vector<double>& startWidths,
                                                          const std::vector<double>& endWidths, bool flipBulges,
                                                          bool closed, double tolerance);
};
