#include "host/db/AcDbHatch.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "host/db/AcDbCircle.h"
#include "host/db/AcDbGeometrySink.h"
#include "host/db/AcDbOpen.h"
#include "host/db/AcDbPolyline.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
// Segments used to flatten a full circle of a bulge arc for evaluation.
constexpr int kArcSegments = 128;

std::string upper(const char* s)
{
    std::string out(s ? s : "");
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

// Appends the points of the arc from a to b with the bulge, b excluded.
void flatten(const AcGePoint2d& a, const AcGePoint2d& b, double bulge, std::vector<AcGePoint2d>& out)
{
    out.push_back(a);
    if (std::fabs(bulge) < 1e-12 || a.isEqualTo(b))
        return;
    const double theta = 4.0 * std::atan(bulge);
    const double vx = b.x - a.x, vy = b.y - a.y;
    const double k = (1.0 - bulge * bulge) / (4.0 * bulge);
    const AcGePoint2d c(a.x + vx / 2 - vy * k, a.y + vy / 2 + vx * k);
    const double r = c.distanceTo(a);
    const double a0 = std::atan2(a.y - c.y, a.x - c.x);
    const int n = std::max(2, static_cast<int>(std::ceil(std::fabs(theta) / (2 * kPi) * kArcSegments)));
    for (int i = 1; i < n; ++i) {
        double t = a0 + theta * i / n;
        out.emplace_back(c.x + r * std::cos(t), c.y + r * std::sin(t));
    }
}

double signedArea(const std::vector<AcGePoint2d>& p)
{
    double a = 0;
    for (size_t i = 0, n = p.size(); i < n; ++i)
        a += p[i].x * p[(i + 1) % n].y - p[(i + 1) % n].x * p[i].y;
    return a / 2;
}

bool inside(const std::vector<AcGePoint2d>& poly, const AcGePoint2d& q)
{
    bool in = false;
    for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++)
        if ((poly[i].y > q.y) != (poly[j].y > q.y)
            && q.x < (poly[j].x - poly[i].x) * (q.y - poly[i].y) / (poly[j].y - poly[i].y) + poly[i].x)
            in = !in;
    return in;
}

// A closed polyline or circle as OCS vertices and bulges of the hatch plane.
Acad::ErrorStatus boundaryOf(const AcDbEntity* e, const AcGeVector3d& normal, double elevation, AcGePoint2dArray& v,
                             AcGeDoubleArray& b)
{
    const AcGeMatrix3d toPlane = AcGeMatrix3d::worldToPlane(normal);
    auto onPlane = [&](const AcGePoint3d& w, AcGePoint2d& p) {
        AcGePoint3d o = toPlane * w;
        p.set(o.x, o.y);
        return std::fabs(o.z - elevation) <= 1e-6 * std::max(1.0, std::fabs(elevation));
    };
    if (auto* pl = dynamic_cast<const AcDbPolyline*>(e)) {
        if (!pl->isClosed() || pl->numVerts() < 2)
            return Acad::eInvalidInput;
        const bool flipped = pl->normal().dotProduct(normal) < 0;
        for (unsigned i = 0; i < pl->numVerts(); ++i) {
            AcGePoint3d w;
            AcGePoint2d p;
            double bulge = 0;
            pl->getPointAt(i, w);
            pl->getBulgeAt(i, bulge);
            if (!onPlane(w, p))
                return Acad::eInvalidInput;
            v.append(p);
            b.append(flipped ? -bulge : bulge);
        }
        return Acad::eOk;
    }
    if (auto* c = dynamic_cast<const AcDbCircle*>(e)) {
        AcGeVector3d x = c->normal().perpVector() * c->radius();
        AcGePoint2d p0, p1;
        if (!onPlane(c->center() + x, p0) || !onPlane(c->center() - x, p1))
            return Acad::eInvalidInput;
        v.append(p0).append(p1);
        b.append(1.0).append(1.0);
        return Acad::eOk;
    }
    return Acad::eInvalidInput;
}

}  // namespace

Acad::ErrorStatus AcDbHatch::changed()
{
    dirty_ = true;
    return assertWriteEnabled();
}

void AcDbHatch::updatePatternLines()
{
    if (patternType_ == kUserDefined) {
        patternLines_.assign(1, HatchPatternLine{});
        patternLines_[0].angle = std::fmod(patternAngle_ * 180.0 / kPi, 360.0);
        patternLines_[0].offsetX = -std::sin(patternAngle_) * patternScale_;
        patternLines_[0].offsetY = std::cos(patternAngle_) * patternScale_;
    } else if (!solid_ && HatchPatterns::find(patternName_)) {
        patternLines_ = HatchPatterns::transformed(patternName_, patternAngle_, patternScale_);
    }
    lineStarts_.clear();
    lineEnds_.clear();
}

const AcRxClass* AcDbHatch::desc()
{
    static const AcRxClass cls("AcDbHatch", "HATCH", AcDbEntity::desc());
    return &cls;
}

Acad::ErrorStatus AcDbHatch::setPattern(HatchPatternType type, const char* name)
{
    std::string n = upper(name);
    if (n.empty())
        return Acad::eInvalidInput;
    if (type != kUserDefined && !HatchPatterns::find(n))
        return Acad::eInvalidInput;
    patternType_ = type;
    patternName_ = n;
    solid_ = type != kUserDefined && n == "SOLID";
    patternLines_.clear();
    updatePatternLines();
    return changed();
}

Acad::ErrorStatus AcDbHatch::setPatternAngle(double angle)
{
    patternAngle_ = angle;
    updatePatternLines();
    return changed();
}

Acad::ErrorStatus AcDbHatch::setPatternScale(double scale)
{
    if (!(scale > 0))
        return Acad::eInvalidInput;
    patternScale_ = scale;
    updatePatternLines();
    return changed();
}

Acad::ErrorStatus AcDbHatch::setAssociative(bool on) { associative_ = on; return changed(); }
Acad::ErrorStatus AcDbHatch::setHatchStyle(HatchStyle s) { style_ = s; return changed(); }
Acad::ErrorStatus AcDbHatch::setElevation(double e) { elevation_ = e; return changed(); }

Acad::ErrorStatus AcDbHatch::setNormal(const AcGeVector3d& n)
{
    if (n.length() < 1e-12)
        return Acad::eInvalidInput;
    normal_ = n.normal();
    return changed();
}

Acad::ErrorStatus AcDbHatch::appendLoop(int loopType, const AcDbObjectIdArray& ids)
{
    if (ids.empty())
        return Acad::eInvalidInput;
    Loop loop;
    loop.type = loopType | kPolyline;
    for (const AcDbObjectId& id : ids) {
        if (id.isNull())
            return Acad::eNullObjectId;
        AcDbEntity* e = nullptr;
        Acad::ErrorStatus es = acdbOpenObject(e, id, AcDb::kForRead);
        if (es != Acad::eOk)
            return es;
        AcGePoint2dArray v;
        AcGeDoubleArray b;
        es = boundaryOf(e, normal_, elevation_, v, b);
        e->close();
        if (es != Acad::eOk)
            return es;
        if (ids.size() > 1 && !loop.vertices.empty())
            return Acad::eInvalidInput;
        loop.vertices = v;
        loop.bulges = b;
        if (associative_)
            loop.sources.push_back(id.handle().value());
    }
    loops_.push_back(std::move(loop));
    return changed();
}

Acad::ErrorStatus AcDbHatch::appendLoop(int loopType, const AcGePoint2dArray& vertices, const AcGeDoubleArray& bulges)
{
    if (vertices.size() < 2 || (!bulges.empty() && bulges.size() != vertices.size()))
        return Acad::eInvalidInput;
    Loop loop;
    loop.type = loopType | kPolyline;
    loop.vertices = vertices;
    if (loop.vertices.size() > 2 && loop.vertices.front().isEqualTo(loop.vertices.back())) {
        loop.vertices.pop_back();
        if (!bulges.empty())
            loop.bulges.assign(bulges.begin(), bulges.end() - 1);
    } else {
        loop.bulges = bulges;
    }
    if (loop.bulges.empty())
        loop.bulges.assign(loop.vertices.size(), 0.0);
    loops_.push_back(std::move(loop));
    return changed();
}

Acad::ErrorStatus AcDbHatch::getLoopAt(int index, int& loopType, AcGePoint2dArray& vertices, AcGeDoubleArray& bulges) const
{
    if (index < 0 || index >= numLoops())
        return Acad::eInvalidIndex;
    const Loop& l = loops_[static_cast<size_t>(index)];
    loopType = l.type;
    vertices = l.vertices;
    bulges = l.bulges;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::getPatternDefinitionAt(int index, double& angle, double& baseX, double& baseY, double& offsetX,
                                                    double& offsetY, AcGeDoubleArray& dashes) const
{
    if (index < 0 || index >= numPatternDefinitions())
        return Acad::eInvalidIndex;
    const HatchPatternLine& l = patternLines_[static_cast<size_t>(index)];
    angle = l.angle * kPi / 180.0;
    baseX = l.baseX;
    baseY = l.baseY;
    offsetX = l.offsetX;
    offsetY = l.offsetY;
    dashes.assign(l.dashes.begin(), l.dashes.end());
    return Acad::eOk;
}

std::vector<AcGePoint2d> AcDbHatch::loopOutline(int index) const
{
    std::vector<AcGePoint2d> out;
    if (index < 0 || index >= numLoops())
        return out;
    const Loop& l = loops_[static_cast<size_t>(index)];
    for (size_t i = 0; i < l.vertices.size(); ++i)
        flatten(l.vertices[i], l.vertices[(i + 1) % l.vertices.size()], i < l.bulges.size() ? l.bulges[i] : 0.0, out);
    return out;
}

std::vector<const AcDbHatch::Loop*> AcDbHatch::usedLoops() const
{
    std::vector<const Loop*> out;
    int want = style_ == kOuter ? (kExternal | kOutermost) : style_ == kIgnore ? kExternal : 0;
    for (const Loop& l : loops_)
        if (want == 0 || (l.type & want))
            out.push_back(&l);
    if (out.empty() && style_ == kIgnore)
        for (const Loop& l : loops_)
            if (l.type & kOutermost)
                out.push_back(&l);
    if (out.empty())
        for (const Loop& l : loops_)
            out.push_back(&l);
    return out;
}

Acad::ErrorStatus AcDbHatch::evaluateHatch(bool)
{
    lineStarts_.clear();
    lineEnds_.clear();
    if (loops_.empty())
        return Acad::eInvalidInput;
    if (solid_)
        return Acad::eOk;
    std::vector<std::vector<AcGePoint2d>> outlines;
    for (const Loop* l : usedLoops())
        outlines.push_back(loopOutline(static_cast<int>(l - loops_.data())));
    long produced = 0;
    for (const HatchPatternLine& pl : patternLines_) {
        const double a = pl.angle * kPi / 180.0;
        const double dx = std::cos(a), dy = std::sin(a), nx = -dy, ny = dx;
        const double spacing = pl.offsetX * nx + pl.offsetY * ny;
        if (std::fabs(spacing) < 1e-12)
            return Acad::eHatchTooDense;
        double tmin = HUGE_VAL, tmax = -HUGE_VAL;
        for (const auto& o : outlines)
            for (const AcGePoint2d& p : o) {
                double t = (p.x - pl.baseX) * nx + (p.y - pl.baseY) * ny;
                tmin = std::min(tmin, t);
                tmax = std::max(tmax, t);
            }
        const double kFrom = std::ceil(std::min(tmin / spacing, tmax / spacing));
        const double kTo = std::floor(std::max(tmin / spacing, tmax / spacing));
        if (kTo - kFrom + 1 > static_cast<double>(kMaxHatchLines - produced))
            return Acad::eHatchTooDense;
        double period = 0;
        for (double d : pl.dashes)
            period += std::fabs(d);
        for (double k = kFrom; k <= kTo; k += 1) {
            const double ox = pl.baseX + k * pl.offsetX, oy = pl.baseY + k * pl.offsetY;
            std::vector<double> cuts;
            for (const auto& o : outlines)
                for (size_t i = 0, n = o.size(); i < n; ++i) {
                    const AcGePoint2d& p = o[i];
                    const AcGePoint2d& q = o[(i + 1) % n];
                    double tp = (p.x - ox) * nx + (p.y - oy) * ny;
                    double tq = (q.x - ox) * nx + (q.y - oy) * ny;
                    if ((tp > 0) == (tq > 0))
                        continue;
                    double f = tp / (tp - tq);
                    double x = p.x + f * (q.x - p.x), y = p.y + f * (q.y - p.y);
                    cuts.push_back((x - ox) * dx + (y - oy) * dy);
                }
            std::sort(cuts.begin(), cuts.end());
            for (size_t c = 0; c + 1 < cuts.size(); c += 2) {
                const double ua = cuts[c], ub = cuts[c + 1];
                auto emit = [&](double u0, double u1) {
                    lineStarts_.emplace_back(ox + u0 * dx, oy + u0 * dy);
                    lineEnds_.emplace_back(ox + u1 * dx, oy + u1 * dy);
                    ++produced;
                };
                if (period <= 0) {
                    if (ub > ua)
                        emit(ua, ub);
                } else {
                    const double estimate = (ub - ua) / period * static_cast<double>(pl.dashes.size());
                    if (produced + estimate > static_cast<double>(kMaxHatchLines))
                        return lineStarts_.clear(), lineEnds_.clear(), Acad::eHatchTooDense;
                    for (double x = std::floor(ua / period) * period; x < ub;)
                        for (double d : pl.dashes) {
                            if (d > 0 && x + d > ua && x < ub)
                                emit(std::max(x, ua), std::min(x + d, ub));
                            else if (d == 0 && x >= ua && x <= ub)
                                emit(x, x);
                            x += std::fabs(d);
                        }
                }
                if (produced > kMaxHatchLines)
                    return lineStarts_.clear(), lineEnds_.clear(), Acad::eHatchTooDense;
            }
        }
    }
    if (produced == 0)
        return Acad::eAmbiguousOutput;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::getHatchLineDataAt(int index, AcGePoint2d& start, AcGePoint2d& end) const
{
    if (index < 0 || index >= numHatchLines())
        return Acad::eInvalidIndex;
    start = lineStarts_[static_cast<size_t>(index)];
    end = lineEnds_[static_cast<size_t>(index)];
    return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::getArea(double& area) const
{
    std::vector<std::vector<AcGePoint2d>> outlines;
    for (const Loop* l : usedLoops())
        outlines.push_back(loopOutline(static_cast<int>(l - loops_.data())));
    area = 0;
    for (size_t i = 0; i < outlines.size(); ++i) {
        if (outlines[i].size() < 3)
            continue;
        int depth = 0;
        for (size_t j = 0; j < outlines.size(); ++j)
            if (j != i && outlines[j].size() >= 3 && inside(outlines[j], outlines[i][0]))
                ++depth;
        double a = std::fabs(signedArea(outlines[i]));
        area += depth % 2 == 0 ? a : -a;
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::transformBy(const AcGeMatrix3d& m)
{
    const AcGeMatrix3d toWorld = AcGeMatrix3d::planeToWorld(normal_);
    AcGeVector3d ox, oy, oz;
    AcGeMatrix3d::arbitraryAxis(normal_, ox, oy, oz);
    const AcGeVector3d mx = m * ox, my = m * oy;
    const double s = mx.length();
    if (s < 1e-300 || std::fabs(s - my.length()) > 1e-9 * std::max(1.0, s) || std::fabs(mx.dotProduct(my)) > 1e-9 * s * s)
        return Acad::eCannotScaleNonUniformly;
    AcGeVector3d n = mx.crossProduct(my).normal();
    const bool mirrored = (m * oz).dotProduct(n) < 0;
    const AcGeMatrix3d toPlane = AcGeMatrix3d::worldToPlane(n);
    double elevation = (toPlane * (m * (toWorld * AcGePoint3d(0, 0, elevation_)))).z;
    for (Loop& l : loops_) {
        for (AcGePoint2d& p : l.vertices) {
            AcGePoint3d q = toPlane * (m * (toWorld * AcGePoint3d(p.x, p.y, elevation_)));
            p.set(q.x, q.y);
        }
        if (mirrored)
            for (double& b : l.bulges)
                b = -b;
        l.polyline = true;
        l.edgeTags.clear();
    }
    const AcGeVector3d newX = toPlane * mx;
    patternAngle_ += std::atan2(newX.y, newX.x);
    patternScale_ *= s;
    normal_ = n;
    elevation_ = elevation;
    seeds_.clear();
    updatePatternLines();
    return changed();
}

Acad::ErrorStatus AcDbHatch::getGeomExtents(AcDbExtents& ext) const
{
    ext = AcDbExtents();
    const AcGeMatrix3d toWorld = AcGeMatrix3d::planeToWorld(normal_);
    bool any = false;
    for (int i = 0; i < numLoops(); ++i)
        for (const AcGePoint2d& p : loopOutline(i)) {
            ext.addPoint(toWorld * AcGePoint3d(p.x, p.y, elevation_));
            any = true;
        }
    return any ? Acad::eOk : Acad::eInvalidExtents;
}

AcDbEntity* AcDbHatch::clone() const
{
    auto* h = new AcDbHatch();
    copyEntityPropertiesTo(*h);
    h->patternName_ = patternName_;
    h->patternType_ = patternType_;
    h->solid_ = solid_;
    h->patternAngle_ = patternAngle_;
    h->patternScale_ = patternScale_;
    h->patternDouble_ = patternDouble_;
    h->associative_ = false;
    h->style_ = style_;
    h->normal_ = normal_;
    h->elevation_ = elevation_;
    h->loops_ = loops_;
    for (Loop& l : h->loops_)
        l.sources.clear();
    h->patternLines_ = patternLines_;
    h->seeds_ = seeds_;
    h->tail_ = tail_;
    return h;
}

void AcDbHatch::subDrawGeometry(AcDbGeometrySink& sink) const
{
    // A hatch is seen by its boundary loops; loops kept as edge records have no vertices here.
    const bool plusZ = normal_.x == 0.0 && normal_.y == 0.0 && normal_.z == 1.0;
    const AcGeMatrix3d toWorld = AcGeMatrix3d::planeToWorld(normal_);
    AcDbSinkHatch fill;
    fill.hatch = this;
    fill.normal = normal_;
    fill.solid = solid_;
    for (const Loop& loop : loops_) {
        if (loop.vertices.empty())
            continue;
        AcDbSinkHatch::Loop out;
        out.points.reserve(loop.vertices.size());
        for (const AcGePoint2d& v : loop.vertices) {
            const AcGePoint3d p(v.x, v.y, elevation_);
            out.points.push_back(plusZ ? p : toWorld * p);
        }
        out.bulges.assign(loop.bulges.begin(), loop.bulges.end());
        fill.loops.push_back(std::move(out));
    }
    sink.hatch(fill);
}
