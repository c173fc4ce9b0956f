#pragma once
#include <vector>

#include "host/db/AcDbGeometrySink.h"

class AcDbEntity;

// What an entity draws, flattened onto the world XY plane for the editor's
// hit-tests: runs of straight segments (arcs are cut into chords no more
// than a tolerance away from the curve) and filled areas (text boxes).
// A pick hits the entity when its drawn geometry passes through the pick
// aperture, a window selects what the geometry lies in or crosses.
class EntityShape : public AcDbGeometrySink {
public:
    struct Point {
        double x = 0.0;
        double y = 0.0;
    };
    struct Run {
        std::vector<Point> points;
        bool closed = false;
        bool filled = false;
    };

    // Arcs are drawn as chords at most chordTolerance (world units) from the
    // curve; a tolerance that is not positive is taken as 1e-9.
    explicit EntityShape(double chordTolerance);
    // The geometry the entity draws (nothing for an invisible entity).
    static EntityShape of(const AcDbEntity& entity, double chordTolerance);

    void polyline(const std::vector<AcGePoint3d>& points, const std::vector<double>& bulges,
                  const AcGeVector3d& normal, bool closed) override;
    void circularArc(const AcGePoint3d& centre, double radius, const AcGeVector3d& normal, double startAngle,
                     double endAngle) override;
    void polygon(const std::vector<AcGePoint3d>& corners) override;

    const std::vector<Run>& runs() const { return runs_; }
    bool isEmpty() const { return runs_.empty(); }
    // Distance from p to the nearest drawn line; 0 inside a filled area; infinity when nothing is drawn.
    double distanceTo(Point p) const;
    // True when every drawn point lies inside the polygon (and something is drawn).
    bool isInside(const std::vector<Point>& polygon) const;
    // True when some drawn point lies inside the polygon, a drawn segment crosses
    // its edge, or the polygon lies inside a closed run.
    bool crossesOrIsInside(const std::vector<Point>& polygon) const;

    // Even-odd test of p against the polygon.
    static bool insidePolygon(Point p, const std::vector<Point>& polygon);

private:
    Point toWorld(const AcGePoint3d& p) const;
    // How many chords an arc of the radius and sweep needs under the current transform.
    int chordsFor(double radius, double sweep) const;
    template <class Visit>
    void forEachSegment(Visit&& visit) const;

    double tolerance_;
    std::vector<Run> runs_;
};
