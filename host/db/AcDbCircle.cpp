#include "host/db/AcDbCircle.h"

#include <cmath>

#include "host/db/AcDbGeometrySink.h"

const AcRxClass* AcDbCircle::desc()
{
    static const AcRxClass cls("AcDbCircle", "CIRCLE", AcDbEntity::desc());
    return &cls;
}

AcDbCircle::AcDbCircle(const AcGePoint3d& center, const AcGeVector3d& normal, double radius)
    : center_(center), radius_(radius), normal_(normal.length() > 1e-12 ? normal.normal() : AcGeVector3d(0, 0, 1))
{
}

Acad::ErrorStatus AcDbCircle::setRadius(double r)
{
    if (!(r > 0.0))
        return Acad::eInvalidInput;
    radius_ = r;
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbCircle::transformBy(const AcGeMatrix3d& m)
{
    AcGeVector3d x = normal_.perpVector();
    AcGeVector3d y = normal_.crossProduct(x);
    AcGeVector3d mx = m * x;
    AcGeVector3d my = m * y;
    if (std::fabs(mx.length() - my.length()) > 1e-9 * std::max(1.0, mx.length()) || mx.length() < 1e-300)
        return Acad::eCannotScaleNonUniformly;
    center_ = m * center_;
    radius_ *= mx.length();
    AcGeVector3d n = mx.crossProduct(my).normal();
    normal_ = (n.z < 0 && normal_.z > 0) ? -n : n;
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbCircle::getGeomExtents(AcDbExtents& ext) const
{
    ext = AcDbExtents();
    for (int k = 0; k < 3; ++k) {
        AcGeVector3d axis(k == 0, k == 1, k == 2);
        double spread = radius_ * std::sqrt(std::max(0.0, 1.0 - std::pow(normal_.dotProduct(axis), 2)));
        AcGePoint3d lo = center_, hi = center_;
        lo[static_cast<unsigned>(k)] -= spread;
        hi[static_cast<unsigned>(k)] += spread;
        ext.addPoint(lo);
        ext.addPoint(hi);
    }
    return Acad::eOk;
}

AcDbEntity* AcDbCircle::clone() const
{
    auto* c = new AcDbCircle(center_, normal_, radius_);
    copyEntityPropertiesTo(*c);
    c->thickness_ = thickness_;
    return c;
}

void AcDbCircle::subDrawGeometry(AcDbGeometrySink& sink) const
{
    sink.circularArc(center_, radius_, normal_, 0.0, 2.0 * M_PI);
}
