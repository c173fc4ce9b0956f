#pragma once
#include "host/db/AcDbEntity.h"

// An ellipse or elliptical arc: centre, major axis (from the centre to the
// end of the major axis, world), normal, ratio of minor to major axis, and
// start and end parameters (radians; 0 and 2 pi for a whole ellipse). The
// point at parameter t is centre + cos t * major + sin t * minor, where
// minor = ratio * (normal x major).
class AcDbEllipse : public AcDbEntity {
public:
    AcDbEllipse() = default;
    AcDbEllipse(const AcGePoint3d& center, const AcGeVector3d& normal, const AcGeVector3d& majorAxis,
                double radiusRatio, double startParam = 0.0, double endParam = 2.0 * 3.14159265358979323846);

    static const AcRxClass* desc();
    const AcRxClass* isA() const override { return desc(); }
    AcDbObjectKind kind() const override { return AcDbObjectKind::Ellipse; }

    AcGePoint3d center() const { return center_; }
    AcGeVector3d normal() const { return normal_; }
    AcGeVector3d majorAxis() const { return majorAxis_; }
    // The minor axis: radiusRatio times the major axis turned a quarter about the normal.
    AcGeVector3d minorAxis() const;
    double radiusRatio() const { return ratio_; }
    // eInvalidInput unless 0 < ratio <= 1.
    Acad::ErrorStatus setRadiusRatio(double ratio);
    double startParam() const { return startParam_; }
    double endParam() const { return endParam_; }
    // The point at parameter t.
    AcGePoint3d pointAtParam(double t) const;

    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
    AcDbEntity* clone() const override;

protected:
    void subDrawGeometry(AcDbGeometrySink& sink) const override;

private:
    friend class DxfEllipseCodec;

    AcGePoint3d center_;
    AcGeVector3d majorAxis_{1, 0, 0};
    AcGeVector3d normal_{0, 0, 1};
    double ratio_ = 1.0;
    double startParam_ = 0.0;
    double endParam_ = 2.0 * 3.14159265358979323846;
};
