#pragma once
#include "host/db/AcDbEntity.h"
#include "host/ge/AcGePoint3d.h"

// A vertex of an old-style polyline (VERTEX): its location (in the
// polyline's plane for 2D polylines, world coordinates for 3D ones), the
// widths and bulge of the segment it starts, and its flags (8 a vertex
// made by spline fitting, 16 a spline frame's control point, 32 a 3D
// polyline's vertex, 64 and 128 mesh and face vertices). Read as written;
// vertices belong to their polyline and are drawn by it.
class AcDb2dVertex : public AcDbEntity {
public:
    AcDb2dVertex() = default;

    static const AcRxClass* desc();
    const AcRxClass* isA() const override { return desc(); }
    AcDbObjectKind kind() const override { return AcDbObjectKind::Vertex2d; }

    AcGePoint3d position() const { return position_; }
    double bulge() const { return bulge_; }
    // The widths as written; negative when the vertex has none (the polyline's defaults apply).
    double startWidth() const { return startWidth_; }
    double endWidth() const { return endWidth_; }
    int flags() const { return flags_; }

protected:
    // Drawn by its polyline, never on its own.
    void subDrawGeometry(AcDbGeometrySink&) const override {}

private:
    friend class DxfVertexCodec;

    AcGePoint3d position_;
    double bulge_ = 0.0;
    double startWidth_ = -1.0;
    double endWidth_ = -1.0;
    int flags_ = 0;
};
