#pragma once
#include <vector>

#include "host/db/AcDbEntity.h"
#include "host/ge/AcGePoint3d.h"
#include "host/ge/AcGeVector3d.h"

// An old-style polyline (POLYLINE with its VERTEX entities and SEQEND), as
// older programs and R12 files write it: 2D polylines in the plane of their
// normal at an elevation, with bulges and widths per vertex (the polyline's
// default widths where a vertex has none); 3D polylines (flag 8) with world
// vertices. A spline- or curve-fitted polyline is drawn through its fitted
// vertices, not its frame. Polygon meshes and polyface meshes are read and
// kept, and not drawn. Read as written: there is no editing interface.
class AcDb2dPolyline : public AcDbEntity {
public:
    // One drawn vertex, resolved: world position, the bulge and the widths
    // of the segment it starts.
    struct Vertex {
        AcGePoint3d position;
        double bulge = 0.0;
        double startWidth = 0.0;
        double endWidth = 0.0;
    };

    AcDb2dPolyline() = default;

    static const AcRxClass* desc();
    const AcRxClass* isA() const override { return desc(); }
    AcDbObjectKind kind() const override { return AcDbObjectKind::Polyline2d; }

    bool isClosed() const { return (flags_ & 1) != 0; }
    bool is3d() const { return (flags_ & 8) != 0; }
    // Polygon mesh (16) or polyface mesh (64).
    bool isMesh() const { return (flags_ & (16 | 64)) != 0; }
    double elevation() const { return elevation_; }
    AcGeVector3d normal() const { return normal_; }
    double defaultStartWidth() const { return startWidth_; }
    double defaultEndWidth() const { return endWidth_; }

    // The vertices that draw the polyline, in world coordinates; empty for meshes.
    std::vector<Vertex> drawnVertices() const;

    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;

protected:
    void subDrawGeometry(AcDbGeometrySink& sink) const override;

private:
    friend class DxfOldPolylineCodec;

    int flags_ = 0;
    double elevation_ = 0.0;
    double startWidth_ = 0.0;
    double endWidth_ = 0.0;
    AcGeVector3d normal_{0, 0, 1};
};
