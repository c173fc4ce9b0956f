#include "host/db/AcDbLine.h"

#include "host/db/AcDbGeometrySink.h"

const AcRxClass* AcDbLine::desc()
{
    static const AcRxClass cls("AcDbLine", "LINE", AcDbEntity::desc());
    return &cls;
}

Acad::ErrorStatus AcDbLine::setEndPoint(const AcGePoint3d& p) { end_ = p; return assertWriteEnabled(); }

Acad::ErrorStatus AcDbLine::transformBy(const AcGeMatrix3d& m)
{
    start_ = m * start_;
    end_ = m * end_;
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbLine::getGeomExtents(AcDbExtents& ext) const
{
    ext = AcDbExtents();
    ext.addPoint(start_);
    ext.addPoint(end_);
    return Acad::eOk;
}

AcDbEntity* AcDbLine::clone() const
{
    auto* l = new AcDbLine(start_, end_);
    copyEntityPropertiesTo(*l);
    l->normal_ = normal_;
    l->thickness_ = thickness_;
    return l;
}

void AcDbLine::subDrawGeometry(AcDbGeometrySink& sink) const
{
    sink.polyline({start_, end_}, {}, normal_, false);
}
