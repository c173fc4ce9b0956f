#include <algorithm>

#include "host/db/AcDbPolyline.h"
#include "host/dxf/DxfCodec.h"
#include "host/dxf/DxfTagEditor.h"
#include "host/dxf/DxfValue.h"
#include "host/dxf/codecs/DxfCodecSupport.h"

using namespace DxfCodecSupport;

// LWPOLYLINE: flags (70), constant width (43), elevation (38), thickness
// (39), vertices (10/20 with widths 40/41 and bulge 42), extrusion (210).
class DxfPolylineCodec {
public:
    static AcDbObject* create(const AcDbStub&) { return new AcDbPolyline(); }

    static void load(AcDbDatabase&, AcDbObject& o, const DxfTag* t, size_t end, const DxfCodepage&)
    {
        auto& x = static_cast<AcDbPolyline&>(o);
        forEachTagIn(t, end, {"AcDbPolyline"}, [&](size_t& i) {
            switch (t[i].code) {
            case 90:
                // The vertex count the record gives, as far as its tags can
                // hold: the list is allocated once, and a wrong count costs
                // nothing (the vertices are counted as read).
                if (int64_t count = 0; DxfValue::toInt(t[i].value(), count) && count > 0)
                    x.vertices_.reserve(static_cast<size_t>(std::min<int64_t>(count, static_cast<int64_t>(end - i) / 2)));
                break;
            case 70: x.flags_ = static_cast<int>(integer(t[i])); break;
            case 43: x.constantWidth_ = real(t[i]); break;
            case 38: x.elevation_ = real(t[i]); break;
            case 39: x.thickness_ = real(t[i]); break;
            case 10: {
                AcDbPolyline::Vertex v;
                v.point.x = real(t[i]);
                if (i + 1 < end && t[i + 1].code == 20)
                    v.point.y = real(t[++i]);
                x.vertices_.push_back(v);
                break;
            }
            case 40: if (!x.vertices_.empty()) x.vertices_.back().startWidth = real(t[i]); break;
            case 41: if (!x.vertices_.empty()) x.vertices_.back().endWidth = real(t[i]); break;
            case 42: if (!x.vertices_.empty()) x.vertices_.back().bulge = real(t[i]); break;
            case 210: x.normal_ = pointAt(t, end, i, 210).asVector(); break;
            default: break;
            }
        });
    }

    static void save(AcDbDatabase&, AcDbObject& o, DxfTagEditor& ed)
    {
        auto& x = static_cast<AcDbPolyline&>(o);
        static const std::initializer_list<int> order = {90, 70, 43, 38, 39, 10, 20, 40, 41, 42, 91, 210, 220, 230};
        auto R = [&] { return ed.subclass("AcDbPolyline"); };
        ed.setInt(R(), 90, x.numVerts(), order);
        ed.setInt(R(), 70, (x.isClosed() ? 1 : 0) | (ed.has(R(), 70) ? 0 : 0), order);
        double w = 0;
        x.getConstantWidth(w);
        if (ed.has(R(), 43) || w != 0.0) ed.setReal(R(), 43, w, order);
        if (ed.has(R(), 38) || x.elevation() != 0.0) ed.setReal(R(), 38, x.elevation(), order);
        // Vertices: keep the tags of unchanged ones, rewrite from the first that differs.
        auto r = R();
        auto& t = ed.tags();
        size_t first = SIZE_MAX, last = r.begin;
        for (size_t i = r.begin; i < r.end; ++i) {
            int c = t[i].code;
            if (c == 10 || c == 20 || c == 40 || c == 41 || c == 42 || c == 91) {
                if (first == SIZE_MAX)
                    first = i;
                last = i + 1;
            }
        }
        std::vector<DxfTag> verts;
        for (const AcDbPolyline::Vertex& v : x.vertices()) {
            verts.push_back(ed.make(10, DxfValue::fromDouble(v.point.x)));
            verts.push_back(ed.make(20, DxfValue::fromDouble(v.point.y)));
            if (v.startWidth != 0.0 || v.endWidth != 0.0) {
                verts.push_back(ed.make(40, DxfValue::fromDouble(v.startWidth)));
                verts.push_back(ed.make(41, DxfValue::fromDouble(v.endWidth)));
            }
            if (v.bulge != 0.0)
                verts.push_back(ed.make(42, DxfValue::fromDouble(v.bulge)));
        }
        if (first == SIZE_MAX) {
            first = last = r.begin;
            for (size_t i = r.begin; i < r.end; ++i)
                if (t[i].code == 90 || t[i].code == 70 || t[i].code == 43 || t[i].code == 38 || t[i].code == 39)
                    first = last = i + 1;
        }
        // Keep the original text of vertices whose values are unchanged.
        std::vector<DxfTag> old(t.begin() + static_cast<long>(first), t.begin() + static_cast<long>(last));
        bool same = old.size() == verts.size();
        for (size_t i = 0; same && i < old.size(); ++i) {
            double a = 0, b = 0;
            same = old[i].code == verts[i].code && DxfValue::toDouble(old[i].value(), a) && DxfValue::toDouble(verts[i].value(), b) && a == b;
        }
        if (!same) {
            t.erase(t.begin() + static_cast<long>(first), t.begin() + static_cast<long>(last));
            t.insert(t.begin() + static_cast<long>(first), verts.begin(), verts.end());
        }
        saveNormal(ed, "AcDbPolyline", x.normal(), order);
    }

    static void skeleton(AcDbDatabase& db, std::vector<DxfTag>& out)
    {
        add(db, out, 100, "AcDbPolyline");
        add(db, out, 90, "0");
    }
};

extern const DxfCodecFunctions kDxfPolylineCodec = {&DxfPolylineCodec::create, &DxfPolylineCodec::load,
                                                    &DxfPolylineCodec::save, &DxfPolylineCodec::skeleton};
