#pragma once
#include <vector>

#include "host/db/AcDbEntity.h"

// A B-spline or NURBS curve as DXF keeps it: degree, knots, control points
// with their weights (none when all are 1), and the fit points it was drawn
// through. It is drawn from the control points when it has them, else as
// the cubic through the fit points (SplineFitInterpolation) with the end
// tangents it stores.
class AcDbSpline : public AcDbEntity {
public:
    AcDbSpline() = default;

    static const AcRxClass* desc();
    const AcRxClass* isA() const override { return desc(); }
    AcDbObjectKind kind() const override { return AcDbObjectKind::Spline; }

    int degree() const { return degree_; }
    AcGeVector3d normal() const { return normal_; }
    bool isClosed() const { return (flags_ & 1) != 0; }
    bool isPeriodic() const { return (flags_ & 2) != 0; }
    bool isRational() const { return (flags_ & 4) != 0; }
    int numControlPoints() const { return static_cast<int>(controlPoints_.size()); }
    AcGePoint3d controlPointAt(int i) const { return controlPoints_[static_cast<size_t>(i)]; }
    // eInvalidIndex for an index out of range.
    Acad::ErrorStatus setControlPointAt(int i, const AcGePoint3d& p);
    // The weight of a control point (1 when the spline has none).
    double weightAt(int i) const;
    const std::vector<double>& knots() const { return knots_; }
    int numFitPoints() const { return static_cast<int>(fitPoints_.size()); }
    AcGePoint3d fitPointAt(int i) const { return fitPoints_[static_cast<size_t>(i)]; }
    // The tangents stored for the fit points; zero when there are none.
    AcGeVector3d startFitTangent() const { return startTangent_; }
    AcGeVector3d endFitTangent() const { return endTangent_; }

    // True when degree, knots and control points make a curve that can be
    // evaluated (knots = control points + degree + 1, non-decreasing).
    bool hasValidControlData() const;
    // The point at knot value u (clamped to the curve's domain); needs hasValidControlData().
    AcGePoint3d evaluate(double u) const;
    // The curve as points: sampled along the knot domain from the control
    // points, or along the cubic through the fit points when there are no
    // usable control points.
    std::vector<AcGePoint3d> flattened() const;

    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
    AcDbEntity* clone() const override;

protected:
    void subDrawGeometry(AcDbGeometrySink& sink) const override;

private:
    friend class DxfSplineCodec;

    int degree_ = 3;
    int flags_ = 0;
    AcGeVector3d normal_{0, 0, 1};
    std::vector<double> knots_;
    std::vector<double> weights_;
    std::vector<AcGePoint3d> controlPoints_;
    std::vector<AcGePoint3d> fitPoints_;
    AcGeVector3d startTangent_, endTangent_;
};
