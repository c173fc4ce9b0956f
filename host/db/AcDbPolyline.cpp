#include "host/db/AcDbPolyline.h"

#include <array>
#include <cmath>
#include <span>

#include "host/db/AcDbFileFormat.h"
#include "host/db/AcDbGeometrySink.h"
#include "host/db/AcDbObjectBuilder.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbStub.h"

#include "host/ge/PolylineGeometry.h"

const AcRxClass* AcDbPolyline::desc()
{
    static const AcRxClass cls("AcDbPolyline", "LWPOLYLINE", AcDbEntity::desc());
    return &cls;
}

namespace {
// The vertices as the geometry functions take them, without allocating for
// the few dozen a polyline mostly has: measuring every outline of a large
// drawing would otherwise allocate twice an outline.
class BulgeVertices {
public:
    explicit BulgeVertices(const std::vector<AcDbPolyline::Vertex>& v)
    {
        AcGeBulgeVertex* out = local_.data();
        if (v.size() > local_.size()) {
            spill_.resize(v.size());
            out = spill_.data();
        }
        for (size_t i = 0; i < v.size(); ++i)
            out[i] = {v[i].point, v[i].bulge};
        span_ = {out, v.size()};
    }
    BulgeVertices(const BulgeVertices&) = delete;
    BulgeVertices& operator=(const BulgeVertices&) = delete;

    operator std::span<const AcGeBulgeVertex>() const { return span_; }

private:
    std::array<AcGeBulgeVertex, 32> local_;
    std::vector<AcGeBulgeVertex> spill_;
    std::span<const AcGeBulgeVertex> span_;
};
}  // namespace

Acad::ErrorStatus AcDbPolyline::addVertexAt(unsigned index, const AcGePoint2d& pt, double bulge, double sw, double ew)
{
    if (index > vertices_.size())
        return Acad::eInvalidIndex;
    Vertex v;
    v.point = pt;
    v.bulge = bulge;
    v.startWidth = sw < 0 ? 0.0 : sw;
    v.endWidth = ew < 0 ? 0.0 : ew;
    vertices_.insert(vertices_.begin() + index, v);
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbPolyline::getPointAt(unsigned index, AcGePoint2d& pt) const
{
    if (index >= vertices_.size())
        return Acad::eInvalidIndex;
    pt = vertices_[index].point;
    return Acad::eOk;
}

AcGeMatrix3d AcDbPolyline::planeToWorld() const
{
    if (normal_.x == 0.0 && normal_.y == 0.0 && normal_.z == 1.0)
        return AcGeMatrix3d::translation(AcGeVector3d(0, 0, elevation_));
    return AcGeMatrix3d::planeToWorld(normal_) * AcGeMatrix3d::translation(AcGeVector3d(0, 0, elevation_));
}

Acad::ErrorStatus AcDbPolyline::getPointAt(unsigned index, AcGePoint3d& pt) const
{
    if (index >= vertices_.size())
        return Acad::eInvalidIndex;
    pt = planeToWorld() * AcGePoint3d(vertices_[index].point.x, vertices_[index].point.y, 0.0);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setPointAt(unsigned index, const AcGePoint2d& pt)
{
    if (index >= vertices_.size())
        return Acad::eInvalidIndex;
    vertices_[index].point = pt;
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbPolyline::getBulgeAt(unsigned index, double& bulge) const
{
    if (index >= vertices_.size())
        return Acad::eInvalidIndex;
    bulge = vertices_[index].bulge;
    return Acad::eOk;
}

void AcDbPolyline::setClosed(bool closed)
{
    flags_ = closed ? (flags_ | 1) : (flags_ & ~1);
    assertWriteEnabled();
}

bool AcDbPolyline::hasBulges() const
{
    for (const auto& v : vertices_)
        if (v.bulge != 0.0)
            return true;
    return false;
}

void AcDbPolyline::setElevation(double e)
{
    elevation_ = e;
    assertWriteEnabled();
}

void AcDbPolyline::setNormal(const AcGeVector3d& n)
{
    if (n.length() > 1e-12)
        normal_ = n.normal();
    assertWriteEnabled();
}

Acad::ErrorStatus AcDbPolyline::getArea(double& area) const
{
    const BulgeVertices v(vertices_);
    area = acgePolylineArea(v, isClosed());
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getEndParam(double& param) const
{
    size_t n = vertices_.size();
    param = n == 0 ? 0.0 : static_cast<double>(isClosed() ? n : n - 1);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getDistAtParam(double param, double& dist) const
{
    double end = 0;
    getEndParam(end);
    if (param < 0 || param > end + 1e-12)
        return Acad::eInvalidInput;
    const BulgeVertices v(vertices_);
    dist = 0;
    size_t whole = static_cast<size_t>(std::floor(param));
    for (size_t i = 0; i < whole && i < acgePolylineSegmentCount(v, isClosed()); ++i)
        dist += static_cast<double>(acgePolylineSegment(v, isClosed(), i).length());
    double frac = param - static_cast<double>(whole);
    if (frac > 0 && whole < acgePolylineSegmentCount(v, isClosed()))
        dist += frac * static_cast<double>(acgePolylineSegment(v, isClosed(), whole).length());
    return Acad::eOk;
}

double AcDbPolyline::length() const
{
    const BulgeVertices v(vertices_);
    return acgePolylineLength(v, isClosed());
}

Acad::ErrorStatus AcDbPolyline::transformBy(const AcGeMatrix3d& m)
{
    AcGeMatrix3d toWorld = m * planeToWorld();
    AcGePoint3d o;
    AcGeVector3d x, y, z;
    toWorld.getCoordSystem(o, x, y, z);
    AcGeVector3d n = x.crossProduct(y);
    if (n.length() < 1e-300)
        return Acad::eCannotScaleNonUniformly;
    n = n.normal();
    bool flip = false;
    // A mirror keeps the usual +Z normal and turns the arcs the other way.
    if (n.z < 0 && normal_.z > 0) {
        n = -n;
        flip = true;
    }
    double scale = std::sqrt(x.length() * y.length());
    AcGeMatrix3d toPlane = AcGeMatrix3d::worldToPlane(n);
    bool first = true;
    for (auto& v : vertices_) {
        AcGePoint3d w = toWorld * AcGePoint3d(v.point.x, v.point.y, 0.0);
        AcGePoint3d p = (n.x == 0.0 && n.y == 0.0 && n.z == 1.0) ? w : toPlane * w;
        if (first) {
            elevation_ = p.z;
            first = false;
        }
        v.point = AcGePoint2d(p.x, p.y);
        if (flip)
            v.bulge = -v.bulge;
        v.startWidth *= scale;
        v.endWidth *= scale;
    }
    constantWidth_ *= scale;
    normal_ = n;
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbPolyline::getGeomExtents(AcDbExtents& ext) const
{
    const BulgeVertices v(vertices_);
    AcGePoint2d lo, hi;
    if (!acgePolylineExtents(v, isClosed(), lo, hi))
        return Acad::eInvalidExtents;
    ext = AcDbExtents(AcGePoint3d(lo.x, lo.y, 0), AcGePoint3d(hi.x, hi.y, 0));
    ext.transformBy(planeToWorld());
    return Acad::eOk;
}

AcDbEntity* AcDbPolyline::clone() const
{
    auto* p = new AcDbPolyline();
    copyEntityPropertiesTo(*p);
    p->vertices_ = vertices_;
    p->flags_ = flags_;
    p->constantWidth_ = constantWidth_;
    p->elevation_ = elevation_;
    p->thickness_ = thickness_;
    p->normal_ = normal_;
    return p;
}

void AcDbPolyline::subDrawGeometry(AcDbGeometrySink& sink) const
{
    std::vector<AcGePoint3d> points;
    std::vector<double> bulges;
    points.reserve(vertices_.size());
    bulges.reserve(vertices_.size());
    for (unsigned i = 0; i < numVerts(); ++i) {
        AcGePoint3d p;
        getPointAt(i, p);
        points.push_back(p);
        bulges.push_back(vertices_[i].bulge);
    }
    // A constant width (43) stands for every segment's; otherwise each vertex has its own.
    bool wide = constantWidth_ > 0.0;
    for (const Vertex& v : vertices_)
        wide = wide || v.startWidth > 0.0 || v.endWidth > 0.0;
    if (!wide) {
        sink.polyline(points, bulges, normal_, isClosed());
        return;
    }
    std::vector<double> starts, ends;
    for (const Vertex& v : vertices_) {
        starts.push_back(constantWidth_ > 0.0 ? constantWidth_ : v.startWidth);
        ends.push_back(constantWidth_ > 0.0 ? constantWidth_ : v.endWidth);
    }
    sink.widePolyline(points, bulges, starts, ends, normal_, isClosed());
}

Acad::ErrorStatus acdbReadPolyline(AcDbObjectId id, AcDbPolyline& out)
{
    if (out.numVerts() != 0)
        return Acad::eInvalidInput;
    // Unbuilt, its record stands for it: read through the polyline's own
    // reader, from the tags building it would read.
    if (const AcDbStub* stub = id.stub(); stub && stub->database && !stub->object && !stub->erased)
        if (const AcDbFileFormat* format = AcDbFileFormat::registered())
            if (format->builder().readPolyline(*stub->database, *stub, out))
                return Acad::eOk;
    AcDbObjectPointer<AcDbPolyline> polyline(id, AcDb::kForRead);
    if (polyline.openStatus() != Acad::eOk)
        return polyline.openStatus();
    out.vertices_ = polyline->vertices_;
    out.flags_ = polyline->flags_;
    out.constantWidth_ = polyline->constantWidth_;
    out.elevation_ = polyline->elevation_;
    out.thickness_ = polyline->thickness_;
    out.normal_ = polyline->normal_;
    return Acad::eOk;
}
