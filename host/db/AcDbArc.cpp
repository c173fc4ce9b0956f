#include "host/db/AcDbArc.h"

#include <cmath>

#include "host/db/AcDbExtents.h"
#include "host/db/AcDbGeometrySink.h"

const AcRxClass* AcDbArc::desc()
{
    static const AcRxClass cls("AcDbArc", "ARC", AcDbEntity::desc());
    return &cls;
}

AcDbArc::AcDbArc(const AcGePoint3d& center, const AcGeVector3d& normal, double radius, double startAngle,
                 double endAngle)
    : center_(center),
      radius_(radius),
      normal_(normal.length() > 1e-12 ? normal.normal() : AcGeVector3d(0, 0, 1)),
      startAngle_(startAngle),
      endAngle_(endAngle)
{
}

Acad::ErrorStatus AcDbArc::setRadius(double r)
{
    if (!(r > 0.0))
        return Acad::eInvalidInput;
    radius_ = r;
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbArc::setEndAngle(double a) { endAngle_ = a; return assertWriteEnabled(); }

Acad::ErrorStatus AcDbArc::getGeomExtents(AcDbExtents& ext) const
{
    // The end points and every quadrant point the arc passes.
    ext = AcDbExtents();
    AcGeVector3d ax, ay, az;
    AcGeMatrix3d::arbitraryAxis(normal_, ax, ay, az);
    // Angles are taken modulo a full turn; a file may give any number of
    // turns (an end angle of 10^11 degrees), which must not be walked.
    double sweep = endAngle_ - startAngle_;
    if (sweep > 2.0 * M_PI) {
        sweep = std::fmod(sweep, 2.0 * M_PI);
        if (sweep == 0.0)
            sweep = 2.0 * M_PI;
    } else if (sweep <= -2.0 * M_PI) {
        sweep = std::fmod(sweep, 2.0 * M_PI);
    }
    while (sweep <= 0.0)
        sweep += 2.0 * M_PI;
    auto at = [&](double a) { return center_ + ax * (radius_ * std::cos(a)) + ay * (radius_ * std::sin(a)); };
    ext.addPoint(at(startAngle_));
    ext.addPoint(at(startAngle_ + sweep));
    // At most the four quadrant points of a full turn (and one repeated).
    const double quarter = M_PI / 2;
    double q = std::ceil(startAngle_ / quarter);
    for (int k = 0; k < 5 && q * quarter < startAngle_ + sweep; ++k, ++q)
        ext.addPoint(at(q * quarter));
    return Acad::eOk;
}

AcDbEntity* AcDbArc::clone() const
{
    auto* a = new AcDbArc(center_, normal_, radius_, startAngle_, endAngle_);
    copyEntityPropertiesTo(*a);
    a->thickness_ = thickness_;
    return a;
}

void AcDbArc::subDrawGeometry(AcDbGeometrySink& sink) const
{
    sink.circularArc(center_, radius_, normal_, startAngle_, endAngle_);
}
