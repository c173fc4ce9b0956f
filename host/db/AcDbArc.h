#pragma once
#include "host/db/AcDbEntity.h"

// A circular arc: centre, radius and normal as a circle has them, drawn
// counter-clockwise from the start to the end angle (radians, measured in
// the plane of the normal from the X axis of the arbitrary-axis algorithm).
class AcDbArc : public AcDbEntity {
public:
    AcDbArc() = default;
    AcDbArc(const AcGePoint3d& center, const AcGeVector3d& normal, double radius, double startAngle, double endAngle);

    static const AcRxClass* desc();
    const AcRxClass* isA() const override { return desc(); }
    AcDbObjectKind kind() const override { return AcDbObjectKind::Arc; }

    AcGePoint3d center() const { return center_; }
    double radius() const { return radius_; }
    // eInvalidInput unless radius > 0.
    Acad::ErrorStatus setRadius(double radius);
    AcGeVector3d normal() const { return normal_; }
    double thickness() const { return thickness_; }
    double startAngle() const { return startAngle_; }
    double endAngle() const { return endAngle_; }
    Acad::ErrorStatus setEndAngle(double angle);

    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
    AcDbEntity* clone() const override;

protected:
    void subDrawGeometry(AcDbGeometrySink& sink) const override;

private:
    friend class DxfArcCodec;

    AcGePoint3d center_;
    double radius_ = 1.0;
    AcGeVector3d normal_{0, 0, 1};
    double thickness_ = 0.0;
    double startAngle_ = 0.0;
    double endAngle_ = 0.0;
};
