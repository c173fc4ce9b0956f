#include "host/db/AcDbEllipse.h"
#include "host/dxf/DxfCodec.h"
#include "host/dxf/DxfTagEditor.h"
#include "host/dxf/codecs/DxfCodecSupport.h"

using namespace DxfCodecSupport;

// ELLIPSE: centre (10), major-axis end relative to the centre (11),
// extrusion (210), axis ratio (40), start (41) and end parameter (42).
class DxfEllipseCodec {
public:
    static AcDbObject* create(const AcDbStub&) { return new AcDbEllipse(); }

    static void load(AcDbDatabase&, AcDbObject& o, const DxfTag* t, size_t end, const DxfCodepage&)
    {
        auto& e = static_cast<AcDbEllipse&>(o);
        forEachTagIn(t, end, {"AcDbEllipse"}, [&](size_t& i) {
            switch (t[i].code) {
            case 10: e.center_ = pointAt(t, end, i, 10); break;
            case 11: e.majorAxis_ = pointAt(t, end, i, 11).asVector(); break;
            case 210: e.normal_ = pointAt(t, end, i, 210).asVector(); break;
            case 40: e.ratio_ = real(t[i], 1.0); break;
            case 41: e.startParam_ = real(t[i]); break;
            case 42: e.endParam_ = real(t[i], e.endParam_); break;
            default: break;
            }
        });
    }

    static void save(AcDbDatabase&, AcDbObject& o, DxfTagEditor& ed)
    {
        static const std::initializer_list<int> order = {10, 20, 30, 11, 21, 31, 210, 220, 230, 40, 41, 42};
        auto& e = static_cast<AcDbEllipse&>(o);
        auto R = [&] { return ed.subclass("AcDbEllipse"); };
        ed.setPoint(R(), 10, e.center().x, e.center().y, e.center().z, order);
        ed.setPoint(R(), 11, e.majorAxis().x, e.majorAxis().y, e.majorAxis().z, order);
        ed.setPoint(R(), 210, e.normal().x, e.normal().y, e.normal().z, order);
        ed.setReal(R(), 40, e.radiusRatio(), order);
        ed.setReal(R(), 41, e.startParam(), order);
        ed.setReal(R(), 42, e.endParam(), order);
    }

    static void skeleton(AcDbDatabase& db, std::vector<DxfTag>& out) { add(db, out, 100, "AcDbEllipse"); }
};

extern const DxfCodecFunctions kDxfEllipseCodec = {&DxfEllipseCodec::create, &DxfEllipseCodec::load,
                                                   &DxfEllipseCodec::save, &DxfEllipseCodec::skeleton};
