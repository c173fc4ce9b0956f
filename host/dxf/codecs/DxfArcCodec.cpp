#include <cmath>

#include "host/db/AcDbArc.h"
#include "host/dxf/DxfCodec.h"
#include "host/dxf/DxfTagEditor.h"
#include "host/dxf/DxfValue.h"
#include "host/dxf/codecs/DxfCodecSupport.h"

using namespace DxfCodecSupport;

// ARC: centre (10), radius (40), thickness (39) and extrusion (210) of its
// AcDbCircle subclass, start (50) and end angle (51, degrees) of AcDbArc.
class DxfArcCodec {
public:
    static AcDbObject* create(const AcDbStub&) { return new AcDbArc(); }

    static void load(AcDbDatabase&, AcDbObject& o, const DxfTag* t, size_t end, const DxfCodepage&)
    {
        auto& a = static_cast<AcDbArc&>(o);
        std::string_view marker;
        for (size_t i = 1; i < end; ++i) {
            if (t[i].code == 100) {
                marker = t[i].value();
                continue;
            }
            if (marker == "AcDbCircle") {
                if (t[i].code == 10) a.center_ = pointAt(t, end, i, 10);
                else if (t[i].code == 40) a.radius_ = real(t[i], 1.0);
                else if (t[i].code == 39) a.thickness_ = real(t[i]);
                else if (t[i].code == 210) a.normal_ = pointAt(t, end, i, 210).asVector();
            } else if (marker == "AcDbArc") {
                if (t[i].code == 50) a.startAngle_ = real(t[i]) * kDegToRad;
                else if (t[i].code == 51) a.endAngle_ = real(t[i]) * kDegToRad;
            }
        }
    }

    static void save(AcDbDatabase&, AcDbObject& o, DxfTagEditor& ed)
    {
        static const std::initializer_list<int> order = {39, 10, 20, 30, 40, 210, 220, 230};
        auto& a = static_cast<AcDbArc&>(o);
        ed.setPoint(ed.subclass("AcDbCircle"), 10, a.center().x, a.center().y, a.center().z, order);
        ed.setReal(ed.subclass("AcDbCircle"), 40, a.radius(), order);
        saveNormal(ed, "AcDbCircle", a.normal(), order);
        // An angle whose text reads back to the same radians keeps its text.
        auto angle = [&](int code, double radians) {
            auto r = ed.subclass("AcDbArc");
            double old = 0;
            for (size_t i = r.begin; i < r.end; ++i)
                if (ed.tags()[i].code == code && DxfValue::toDouble(ed.tags()[i].value(), old)
                    && std::fabs(old * kDegToRad - radians) < 1e-15)
                    return;
            ed.setReal(r, code, degrees(radians), {50, 51});
        };
        angle(50, a.startAngle());
        angle(51, a.endAngle());
    }

    static void skeleton(AcDbDatabase& db, std::vector<DxfTag>& out)
    {
        add(db, out, 100, "AcDbCircle");
        add(db, out, 100, "AcDbArc");
    }
};

extern const DxfCodecFunctions kDxfArcCodec = {&DxfArcCodec::create, &DxfArcCodec::load, &DxfArcCodec::save,
                                               &DxfArcCodec::skeleton};
