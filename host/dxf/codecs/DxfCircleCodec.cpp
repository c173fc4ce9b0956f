#include "host/db/AcDbCircle.h"
#include "host/dxf/DxfCodec.h"
#include "host/dxf/DxfTagEditor.h"
#include "host/dxf/codecs/DxfCodecSupport.h"

using namespace DxfCodecSupport;

// CIRCLE: centre (10), radius (40), thickness (39), extrusion (210) of AcDbCircle.
class DxfCircleCodec {
public:
    static AcDbObject* create(const AcDbStub&) { return new AcDbCircle(); }

    static void load(AcDbDatabase&, AcDbObject& o, const DxfTag* t, size_t end, const DxfCodepage&)
    {
        auto& c = static_cast<AcDbCircle&>(o);
        forEachTagIn(t, end, {"AcDbCircle", "AcDbLine"}, [&](size_t& i) {
            if (t[i].code == 10) c.center_ = pointAt(t, end, i, 10);
            else if (t[i].code == 40) c.radius_ = real(t[i], 1.0);
            else if (t[i].code == 39) c.thickness_ = real(t[i]);
            else if (t[i].code == 210) c.normal_ = pointAt(t, end, i, 210).asVector();
        });
    }

    static void save(AcDbDatabase&, AcDbObject& o, DxfTagEditor& ed)
    {
        static const std::initializer_list<int> order = {39, 10, 20, 30, 40, 210, 220, 230};
        auto& c = static_cast<AcDbCircle&>(o);
        ed.setPoint(ed.subclass("AcDbCircle"), 10, c.center().x, c.center().y, c.center().z, order);
        ed.setReal(ed.subclass("AcDbCircle"), 40, c.radius(), order);
        saveNormal(ed, "AcDbCircle", c.normal(), order);
    }

    static void skeleton(AcDbDatabase& db, std::vector<DxfTag>& out) { add(db, out, 100, "AcDbCircle"); }
};

extern const DxfCodecFunctions kDxfCircleCodec = {&DxfCircleCodec::create, &DxfCircleCodec::load,
                                                  &DxfCircleCodec::save, &DxfCircleCodec::skeleton};
