#include "host/db/AcDb2dPolyline.h"

#include "host/db/AcDb2dVertex.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbExtents.h"
#include "host/db/AcDbGeometrySink.h"
#include "host/db/AcDbStub.h"

const AcRxClass* AcDb2dPolyline::desc()
{
    static const AcRxClass cls("AcDb2dPolyline", "POLYLINE", AcDbEntity::desc());
    return &cls;
}

std::vector<AcDb2dPolyline::Vertex> AcDb2dPolyline::drawnVertices() const
{
    std::vector<Vertex> out;
    AcDbStub* self = objectId().stub();
    if (isMesh() || !self || !self->subs)
        return out;
    const bool plane = !is3d();
    const bool plusZ = normal_.x == 0.0 && normal_.y == 0.0 && normal_.z > 0.0;
    const AcGeMatrix3d toWorld = AcGeMatrix3d::planeToWorld(normal_);
    for (AcDbStub* s : *self->subs) {
        if (s->erased || s->kind != static_cast<uint8_t>(AcDbObjectKind::Vertex2d))
            continue;
        auto* v = static_cast<AcDb2dVertex*>(s->database->objectOf(s));
        // A fitted polyline draws through its fitted vertices (8), not its frame (16).
        if (!v || (v->flags() & 16))
            continue;
        Vertex d;
        d.position = v->position();
        if (plane) {
            d.position.z = elevation_;
            if (!plusZ)
                d.position = toWorld * d.position;
            d.bulge = v->bulge();
            d.startWidth = v->startWidth() >= 0.0 ? v->startWidth() : startWidth_;
            d.endWidth = v->endWidth() >= 0.0 ? v->endWidth() : endWidth_;
        }
        out.push_back(d);
    }
    return out;
}

Acad::ErrorStatus AcDb2dPolyline::getGeomExtents(AcDbExtents& ext) const
{
    ext = AcDbExtents();
    const std::vector<Vertex> vertices = drawnVertices();
    if (vertices.empty())
        return Acad::eInvalidExtents;
    for (const Vertex& v : vertices)
        ext.addPoint(v.position);
    return Acad::eOk;
}

void AcDb2dPolyline::subDrawGeometry(AcDbGeometrySink& sink) const
{
    const std::vector<Vertex> vertices = drawnVertices();
    if (vertices.size() < 2)
        return;
    std::vector<AcGePoint3d> points;
    std::vector<double> bulges, starts, ends;
    bool wide = false;
    for (const Vertex& v : vertices) {
        points.push_back(v.position);
        bulges.push_back(v.bulge);
        starts.push_back(v.startWidth);
        ends.push_back(v.endWidth);
        wide = wide || v.startWidth > 0.0 || v.endWidth > 0.0;
    }
    const AcGeVector3d normal = is3d() ? AcGeVector3d(0, 0, 1) : normal_;
    if (wide)
        sink.widePolyline(points, bulges, starts, ends, normal, isClosed());
    else
        sink.polyline(points, bulges, normal, isClosed());
}
