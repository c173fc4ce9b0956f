#include "host/db/AcDbViewport.h"

const AcRxClass* AcDbViewport::desc()
{
    static const AcRxClass cls("AcDbViewport", "VIEWPORT", AcDbEntity::desc());
    return &cls;
}

Acad::ErrorStatus AcDbViewport::getGeomExtents(AcDbExtents& ext) const
{
    ext = AcDbExtents();
    ext.addPoint(AcGePoint3d(center_.x - width_ / 2, center_.y - height_ / 2, center_.z));
    ext.addPoint(AcGePoint3d(center_.x + width_ / 2, center_.y + height_ / 2, center_.z));
    return Acad::eOk;
}
