#pragma once
#include <vector>

#include "host/db/AcDbEntity.h"
#include "host/ge/AcGePoint2d.h"

// A lightweight polyline: 2D vertices in the plane of its normal at an
// elevation, each with a bulge (tan of a quarter of the arc's included angle,
// positive counter-clockwise) for the segment to the next vertex.
class AcDbPolyline : public AcDbEntity {
public:
    struct Vertex {
        AcGePoint2d point;
        double bulge = 0.0;
        double startWidth = 0.0;
        double endWidth = 0.0;
    };

    AcDbPolyline() = default;
    explicit AcDbPolyline(unsigned reserve) { vertices_.reserve(reserve); }

    static const AcRxClass* desc();
    const AcRxClass* isA() const override { return desc(); }
    AcDbObjectKind kind() const override { return AcDbObjectKind::Polyline; }

    unsigned numVerts() const { return static_cast<unsigned>(vertices_.size()); }
    // Inserts a vertex before index (index == numVerts appends); eInvalidIndex beyond that.
    Acad::ErrorStatus addVertexAt(unsigned index, const AcGePoint2d& pt, double bulge = 0.0,
                                  double startWidth = -1.0, double endWidth = -1.0);
    Acad::ErrorStatus getPointAt(unsigned index, AcGePoint2d& pt) const;
    // The vertex in world coordinates (elevation and normal applied).
    Acad::ErrorStatus getPointAt(unsigned index, AcGePoint3d& pt) const;
    Acad::ErrorStatus setPointAt(unsigned index, const AcGePoint2d& pt);
    Acad::ErrorStatus getBulgeAt(unsigned index, double& bulge) const;
    bool isClosed() const { return (flags_ & 1) != 0; }
    void setClosed(bool closed);
    bool hasBulges() const;
    bool isOnlyLines() const { return !hasBulges(); }
    double elevation() const { return elevation_; }
    void setElevation(double e);
    AcGeVector3d normal() const { return normal_; }
    void setNormal(const AcGeVector3d& n);
    double thickness() const { return thickness_; }
    Acad::ErrorStatus getConstantWidth(double& width) const { width = constantWidth_; return Acad::eOk; }

    // Enclosed area including the arc segments, always positive; an open
    // polyline is closed by a straight line for this. eOk.
    Acad::ErrorStatus getArea(double& area) const;
    Acad::ErrorStatus getStartParam(double& param) const { param = 0.0; return Acad::eOk; }
    // numVerts - 1, or numVerts when closed.
    Acad::ErrorStatus getEndParam(double& param) const;
    // Length along the curve from the start to the parameter (segment index
    // plus fraction of that segment); eInvalidInput outside the curve.
    Acad::ErrorStatus getDistAtParam(double param, double& dist) const;
    // Length of the whole curve.
    double length() const;

    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
    AcDbEntity* clone() const override;

    const std::vector<Vertex>& vertices() const { return vertices_; }

protected:
    void subDrawGeometry(AcDbGeometrySink& sink) const override;

private:
    friend class DxfPolylineCodec;
    friend Acad::ErrorStatus acdbReadPolyline(AcDbObjectId id, AcDbPolyline& out);
    // The OCS-to-world matrix of the polyline's plane.
    AcGeMatrix3d planeToWorld() const;

    std::vector<Vertex> vertices_;
    int flags_ = 0;
    double constantWidth_ = 0.0;
    double elevation_ = 0.0;
    double thickness_ = 0.0;
    AcGeVector3d normal_{0, 0, 1};
};

// The polyline of id as opening it for read gives it, copied into out, a
// polyline made for this (not in a drawing, no vertices yet): its vertices,
// bulges, widths, flags, elevation, thickness and normal, so that it
// measures as the polyline does. One not built since the drawing was read
// is read from its record and stays unbuilt (building each outline of a
// large drawing only to measure it and free it again costs more than the
// measuring); any other is opened for read, copied and closed. eOk, or the
// error opening it for read gives (eNullObjectId, eWasErased,
// eNotThatKindOfClass, eWasOpenedForWrite, ...) with out untouched;
// eInvalidInput for an out that has vertices.
Acad::ErrorStatus acdbReadPolyline(AcDbObjectId id, AcDbPolyline& out);
