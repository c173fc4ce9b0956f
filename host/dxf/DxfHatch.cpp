#include "host/dxf/DxfHatch.h"

#include <cmath>
#include <string>

#include "host/db/AcDbHatch.h"
#include "host/base/DxfCodepage.h"
#include "host/dxf/DxfTagEditor.h"
#include "host/dxf/DxfValue.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// Modelled fields: a malformed value makes reading the file fail (DxfNumberCheck).
double real(const DxfTag& t) { return DxfValue::fieldReal(t); }
int64_t integer(const DxfTag& t) { return DxfValue::fieldInt(t); }

// Reads the tags of a HATCH subclass in order, following its counts.
class Reader {
public:
    Reader(const DxfTag* t, size_t n) : t_(t), n_(n) {}
    bool more() const { return i_ < n_; }
    int code() const { return i_ < n_ ? t_[i_].code : -1; }
    const DxfTag& take() { return t_[i_++]; }
    double takeReal(int c) { return code() == c ? real(take()) : 0.0; }
    int64_t takeInt(int c) { return code() == c ? integer(take()) : 0; }
    size_t pos() const { return i_; }
    const DxfTag& at(size_t k) const { return t_[k]; }

private:
    const DxfTag* t_;
    size_t n_;
    size_t i_ = 0;
};

// Appends the vertices of an elliptical arc edge (centre, major axis end,
// ratio, start/end parameter in degrees) as straight pieces.
void ellipsePoints(AcDbHatch::Loop& loop, double cx, double cy, double mx, double my, double ratio, double s, double e, bool ccw)
{
    double a0 = s * kPi / 180, a1 = e * kPi / 180;
    if (!ccw) {
        a0 = -a0;
        a1 = -a1;
    }
    double sweep = ccw ? std::fmod(a1 - a0 + 4 * kPi, 2 * kPi) : -std::fmod(a0 - a1 + 4 * kPi, 2 * kPi);
    if (std::fabs(sweep) < 1e-12)
        sweep = ccw ? 2 * kPi : -2 * kPi;
    const int n = 32;
    for (int k = 0; k < n; ++k) {
        double a = a0 + sweep * k / n;
        loop.vertices.emplace_back(cx + mx * std::cos(a) - my * ratio * std::sin(a), cy + my * std::cos(a) + mx * ratio * std::sin(a));
        loop.bulges.push_back(0.0);
    }
}

void readEdgeLoop(Reader& r, AcDbHatch::Loop& loop)
{
    const size_t start = r.pos();
    int64_t edges = r.takeInt(93);
    for (int64_t k = 0; k < edges && r.more(); ++k) {
        int64_t type = r.takeInt(72);
        if (type == 1) {
            double x = r.takeReal(10), y = r.takeReal(20);
            r.takeReal(11);
            r.takeReal(21);
            loop.vertices.emplace_back(x, y);
            loop.bulges.push_back(0.0);
        } else if (type == 2) {
            double cx = r.takeReal(10), cy = r.takeReal(20), rad = r.takeReal(40);
            double s = r.takeReal(50), e = r.takeReal(51);
            bool ccw = r.takeInt(73) != 0;
            // Clockwise arcs store their angles mirrored (360 - angle).
            double a0 = (ccw ? s : -s) * kPi / 180, a1 = (ccw ? e : -e) * kPi / 180;
            double sweep = ccw ? std::fmod(a1 - a0 + 4 * kPi, 2 * kPi) : -std::fmod(a0 - a1 + 4 * kPi, 2 * kPi);
            if (std::fabs(sweep) < 1e-12)
                sweep = ccw ? 2 * kPi : -2 * kPi;
            if (std::fabs(sweep) > kPi * 1.5) {
                loop.vertices.emplace_back(cx + rad * std::cos(a0), cy + rad * std::sin(a0));
                loop.bulges.push_back(std::tan(sweep / 8));
                a0 += sweep / 2;
                sweep /= 2;
            }
            loop.vertices.emplace_back(cx + rad * std::cos(a0), cy + rad * std::sin(a0));
            loop.bulges.push_back(std::tan(sweep / 4));
        } else if (type == 3) {
            double cx = r.takeReal(10), cy = r.takeReal(20), mx = r.takeReal(11), my = r.takeReal(21);
            double ratio = r.takeReal(40), s = r.takeReal(50), e = r.takeReal(51);
            bool ccw = r.takeInt(73) != 0;
            ellipsePoints(loop, cx, cy, mx, my, ratio, s, e, ccw);
        } else if (type == 4) {
            r.takeInt(94);
            bool rational = r.takeInt(73) != 0;
            r.takeInt(74);
            int64_t knots = r.takeInt(95), controls = r.takeInt(96);
            for (int64_t q = 0; q < knots && r.code() == 40; ++q)
                r.take();
            for (int64_t q = 0; q < controls && r.code() == 10; ++q) {
                double x = r.takeReal(10), y = r.takeReal(20);
                if (rational)
                    r.takeReal(42);
                loop.vertices.emplace_back(x, y);
                loop.bulges.push_back(0.0);
            }
            // R2010+ fit data: 97 count, 11/21 points, 12/22 and 13/23 tangents.
            if (r.code() == 97) {
                Reader peek = r;
                peek.take();
                if (peek.code() == 11 || peek.code() == 12 || peek.code() == 97) {
                    int64_t fits = r.takeInt(97);
                    for (int64_t q = 0; q < fits && r.code() == 11; ++q) {
                        r.takeReal(11);
                        r.takeReal(21);
                    }
                    while (r.code() == 12 || r.code() == 22 || r.code() == 13 || r.code() == 23)
                        r.take();
                }
            }
        } else {
            break;
        }
    }
    for (size_t k = start; k < r.pos(); ++k)
        loop.edgeTags.emplace_back(r.at(k).code, std::string(r.at(k).value()));
}

}  // namespace

void DxfHatch::load(AcDbHatch& h, const DxfTag* t, size_t n, const DxfCodepage& cp)
{
    size_t i = 0;
    while (i < n && !(t[i].code == 100 && t[i].value() == "AcDbHatch"))
        ++i;
    size_t end = i + 1;
    while (end < n && t[end].code != 100 && t[end].code != 101 && t[end].code != 1001)
        ++end;
    Reader r(t + i + 1, end - i - 1);
    bool loopsRead = false, seedsRead = false;
    while (r.more()) {
        const int c = r.code();
        if (seedsRead) {
            const DxfTag& tag = r.take();
            h.tail_.emplace_back(tag.code, std::string(tag.value()));
            continue;
        }
        if (c == 47) {
            const DxfTag& tag = r.take();
            h.preSeed_.emplace_back(tag.code, std::string(tag.value()));
            continue;
        }
        switch (c) {
        case 10: r.take(); r.takeReal(20); h.elevation_ = r.takeReal(30); break;
        case 210: {
            double x = real(r.take()), y = r.takeReal(220), z = r.takeReal(230);
            AcGeVector3d v(x, y, z);
            if (v.length() > 1e-12)
                h.normal_ = v.normal();
            break;
        }
        case 2: h.patternName_ = cp.decode(r.take().value()); break;
        case 70: h.solid_ = integer(r.take()) == 1; break;
        case 71: h.associative_ = integer(r.take()) == 1; break;
        case 91: {
            int64_t loops = integer(r.take());
            for (int64_t k = 0; k < loops && r.code() == 92; ++k) {
                AcDbHatch::Loop loop;
                loop.type = static_cast<int>(r.takeInt(92));
                if (loop.type & AcDbHatch::kPolyline) {
                    bool bulged = r.takeInt(72) != 0;
                    r.takeInt(73);
                    int64_t count = r.takeInt(93);
                    for (int64_t q = 0; q < count && r.code() == 10; ++q) {
                        double x = r.takeReal(10), y = r.takeReal(20);
                        loop.vertices.emplace_back(x, y);
                        loop.bulges.push_back(bulged && r.code() == 42 ? real(r.take()) : 0.0);
                    }
                } else {
                    loop.polyline = false;
                    readEdgeLoop(r, loop);
                }
                int64_t sources = r.takeInt(97);
                for (int64_t q = 0; q < sources && r.code() == 330; ++q) {
                    uint64_t handle = 0;
                    DxfValue::toHandle(r.take().value(), handle);
                    loop.sources.push_back(handle);
                }
                h.loops_.push_back(std::move(loop));
            }
            loopsRead = true;
            break;
        }
        case 75: h.style_ = static_cast<AcDbHatch::HatchStyle>(integer(r.take())); break;
        case 76: h.patternType_ = static_cast<AcDbHatch::HatchPatternType>(integer(r.take())); break;
        case 52: h.patternAngle_ = real(r.take()) * kPi / 180; break;
        case 41: h.patternScale_ = real(r.take()); break;
        case 77: h.patternDouble_ = integer(r.take()) != 0; break;
        case 78: {
            int64_t lines = integer(r.take());
            for (int64_t k = 0; k < lines && r.code() == 53; ++k) {
                HatchPatternLine l;
                l.angle = r.takeReal(53);
                l.baseX = r.takeReal(43);
                l.baseY = r.takeReal(44);
                l.offsetX = r.takeReal(45);
                l.offsetY = r.takeReal(46);
                int64_t dashes = r.takeInt(79);
                for (int64_t q = 0; q < dashes && r.code() == 49; ++q)
                    l.dashes.push_back(real(r.take()));
                h.patternLines_.push_back(std::move(l));
            }
            break;
        }
        case 98: {
            int64_t seeds = integer(r.take());
            for (int64_t k = 0; k < seeds && r.code() == 10; ++k) {
                double x = r.takeReal(10), y = r.takeReal(20);
                h.seeds_.emplace_back(x, y);
            }
            seedsRead = loopsRead;
            break;
        }
        default: {
            const DxfTag& tag = r.take();
            h.tail_.emplace_back(tag.code, std::string(tag.value()));
            break;
        }
        }
    }
    h.dirty_ = false;
}

void DxfHatch::save(AcDbHatch& h, DxfTagEditor& ed)
{
    auto range = ed.subclass("AcDbHatch");
    if (!range.found || (!h.dirty_ && range.begin != range.end))
        return;
    std::vector<DxfTag> out;
    auto tag = [&](int code, std::string text) { out.push_back(ed.make(code, std::move(text))); };
    auto num = [&](int code, double v) { tag(code, DxfValue::fromDouble(v)); };
    auto whole = [&](int code, int64_t v) { tag(code, DxfValue::fromInt(v)); };
    num(10, 0.0);
    num(20, 0.0);
    num(30, h.elevation_);
    num(210, h.normal_.x);
    num(220, h.normal_.y);
    num(230, h.normal_.z);
    tag(2, ed.codepage().encode(h.patternName_));
    whole(70, h.solid_ ? 1 : 0);
    whole(71, h.associative_ ? 1 : 0);
    whole(91, static_cast<int64_t>(h.loops_.size()));
    for (const AcDbHatch::Loop& l : h.loops_) {
        if (l.polyline) {
            whole(92, l.type | AcDbHatch::kPolyline);
            bool bulged = false;
            for (double b : l.bulges)
                bulged = bulged || b != 0.0;
            whole(72, bulged ? 1 : 0);
            whole(73, 1);
            whole(93, static_cast<int64_t>(l.vertices.size()));
            for (size_t k = 0; k < l.vertices.size(); ++k) {
                num(10, l.vertices[k].x);
                num(20, l.vertices[k].y);
                if (bulged)
                    num(42, k < l.bulges.size() ? l.bulges[k] : 0.0);
            }
        } else {
            whole(92, l.type);
            for (const auto& [code, text] : l.edgeTags)
                tag(code, text);
        }
        const auto& sources = h.associative_ ? l.sources : std::vector<uint64_t>{};
        whole(97, static_cast<int64_t>(sources.size()));
        for (uint64_t s : sources)
            tag(330, DxfValue::fromHandle(s));
    }
    whole(75, h.style_);
    whole(76, h.patternType_);
    if (!h.solid_) {
        num(52, h.patternAngle_ * 180 / kPi);
        num(41, h.patternScale_);
        whole(77, h.patternDouble_ ? 1 : 0);
        whole(78, static_cast<int64_t>(h.patternLines_.size()));
        for (const HatchPatternLine& l : h.patternLines_) {
            num(53, l.angle);
            num(43, l.baseX);
            num(44, l.baseY);
            num(45, l.offsetX);
            num(46, l.offsetY);
            whole(79, static_cast<int64_t>(l.dashes.size()));
            for (double d : l.dashes)
                num(49, d);
        }
    }
    for (const auto& [code, text] : h.preSeed_)
        tag(code, text);
    std::vector<AcGePoint2d> seeds = h.seeds_;
    if (seeds.empty() && !h.loops_.empty() && !h.loops_[0].vertices.empty())
        seeds.push_back(h.loops_[0].vertices[0]);
    whole(98, static_cast<int64_t>(seeds.size()));
    for (const AcGePoint2d& p : seeds) {
        num(10, p.x);
        num(20, p.y);
    }
    for (const auto& [code, text] : h.tail_)
        tag(code, text);
    auto& tags = ed.tags();
    tags.erase(tags.begin() + static_cast<long>(range.begin), tags.begin() + static_cast<long>(range.end));
    tags.insert(tags.begin() + static_cast<long>(range.begin), out.begin(), out.end());
    h.dirty_ = false;
}
