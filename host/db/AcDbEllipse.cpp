#include "host/db/AcDbEllipse.h"

#include <cmath>

#include "host/db/AcDbExtents.h"
#include "host/db/AcDbGeometrySink.h"

const AcRxClass* AcDbEllipse::desc()
{
    static const AcRxClass cls("AcDbEllipse", "ELLIPSE", AcDbEntity::desc());
    return &cls;
}

AcDbEllipse::AcDbEllipse(const AcGePoint3d& center, const AcGeVector3d& normal, const AcGeVector3d& majorAxis,
                         double radiusRatio, double startParam, double endParam)
    : center_(center),
      majorAxis_(majorAxis),
      normal_(normal.length() > 1e-12 ? normal.normal() : AcGeVector3d(0, 0, 1)),
      ratio_(radiusRatio),
      startParam_(startParam),
      endParam_(endParam)
{
}

Acad::ErrorStatus AcDbEllipse::setRadiusRatio(double ratio)
{
    if (!(ratio > 0.0 && ratio <= 1.0))
        return Acad::eInvalidInput;
    ratio_ = ratio;
    return assertWriteEnabled();
}

AcGeVector3d AcDbEllipse::minorAxis() const { return normal_.crossProduct(majorAxis_) * ratio_; }

AcGePoint3d AcDbEllipse::pointAtParam(double t) const
{
    return center_ + majorAxis_ * std::cos(t) + minorAxis() * std::sin(t);
}

Acad::ErrorStatus AcDbEllipse::getGeomExtents(AcDbExtents& ext) const
{
    // Per axis, the extremes of cos t * a + sin t * b lie where tan t = b / a;
    // those inside the arc count, with both ends.
    ext = AcDbExtents();
    double sweep = endParam_ - startParam_;
    while (sweep <= 0.0)
        sweep += 2.0 * M_PI;
    ext.addPoint(pointAtParam(startParam_));
    ext.addPoint(pointAtParam(startParam_ + sweep));
    const AcGeVector3d a = majorAxis_, b = minorAxis();
    for (int k = 0; k < 3; ++k) {
        const double t0 = std::atan2(b[static_cast<unsigned>(k)], a[static_cast<unsigned>(k)]);
        for (int n = -2; n <= 4; ++n) {
            const double t = t0 + n * M_PI;
            if (t >= startParam_ && t <= startParam_ + sweep)
                ext.addPoint(pointAtParam(t));
        }
    }
    return Acad::eOk;
}

AcDbEntity* AcDbEllipse::clone() const
{
    auto* e = new AcDbEllipse(center_, normal_, majorAxis_, ratio_, startParam_, endParam_);
    copyEntityPropertiesTo(*e);
    return e;
}

void AcDbEllipse::subDrawGeometry(AcDbGeometrySink& sink) const
{
    sink.ellipticalArc(center_, majorAxis_, normal_, ratio_, startParam_, endParam_);
}
