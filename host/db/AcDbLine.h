#pragma once
#include "host/db/AcDbEntity.h"

// A straight line between two world points.
class AcDbLine : public AcDbEntity {
public:
    AcDbLine() = default;
    AcDbLine(const AcGePoint3d& start, const AcGePoint3d& end) : start_(start), end_(end) {}

    static const AcRxClass* desc();
    const AcRxClass* isA() const override { return desc(); }
    AcDbObjectKind kind() const override { return AcDbObjectKind::Line; }

    AcGePoint3d startPoint() const { return start_; }
    AcGePoint3d endPoint() const { return end_; }
    Acad::ErrorStatus setEndPoint(const AcGePoint3d& p);
    AcGeVector3d normal() const { return normal_; }
    double thickness() const { return thickness_; }

    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
    AcDbEntity* clone() const override;

protected:
    void subDrawGeometry(AcDbGeometrySink& sink) const override;

private:
    friend class DxfLineCodec;

    AcGePoint3d start_;
    AcGePoint3d end_;
    AcGeVector3d normal_{0, 0, 1};
    double thickness_ = 0.0;
};
