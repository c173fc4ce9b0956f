#pragma once
#include "host/db/AcDbEntity.h"

// A circle given by centre (world), radius and normal.
class AcDbCircle : public AcDbEntity {
public:
    AcDbCircle() = default;
    AcDbCircle(const AcGePoint3d& center, const AcGeVector3d& normal, double radius);

    static const AcRxClass* desc();
    const AcRxClass* isA() const override { return desc(); }
    AcDbObjectKind kind() const override { return AcDbObjectKind::Circle; }

    AcGePoint3d center() const { return center_; }
    double radius() const { return radius_; }
    // eInvalidInput unless radius > 0.
    Acad::ErrorStatus setRadius(double radius);
    AcGeVector3d normal() const { return normal_; }
    double thickness() const { return thickness_; }

    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
    AcDbEntity* clone() const override;

protected:
    void subDrawGeometry(AcDbGeometrySink& sink) const override;

private:
    friend class DxfCircleCodec;

    AcGePoint3d center_;
    double radius_ = 1.0;
    AcGeVector3d normal_{0, 0, 1};
    double thickness_ = 0.0;
};
