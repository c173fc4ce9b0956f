#include "host/db/AcDbLine.h"
#include "host/dxf/DxfCodec.h"
#include "host/dxf/DxfTagEditor.h"
#include "host/dxf/codecs/DxfCodecSupport.h"

using namespace DxfCodecSupport;

// LINE: start (10), end (11), thickness (39), extrusion (210) of AcDbLine.
class DxfLineCodec {
public:
    static AcDbObject* create(const AcDbStub&) { return new AcDbLine(); }

    static void load(AcDbDatabase&, AcDbObject& o, const DxfTag* t, size_t end, const DxfCodepage&)
    {
        auto& l = static_cast<AcDbLine&>(o);
        forEachTagIn(t, end, {"AcDbCircle", "AcDbLine"}, [&](size_t& i) {
            if (t[i].code == 10) l.start_ = pointAt(t, end, i, 10);
            else if (t[i].code == 11) l.end_ = pointAt(t, end, i, 11);
            else if (t[i].code == 39) l.thickness_ = real(t[i]);
            else if (t[i].code == 210) l.normal_ = pointAt(t, end, i, 210).asVector();
        });
    }

    static void save(AcDbDatabase&, AcDbObject& o, DxfTagEditor& ed)
    {
        static const std::initializer_list<int> order = {39, 10, 20, 30, 11, 21, 31, 210, 220, 230};
        auto& l = static_cast<AcDbLine&>(o);
        ed.setPoint(ed.subclass("AcDbLine"), 10, l.startPoint().x, l.startPoint().y, l.startPoint().z, order);
        ed.setPoint(ed.subclass("AcDbLine"), 11, l.endPoint().x, l.endPoint().y, l.endPoint().z, order);
        saveNormal(ed, "AcDbLine", l.normal(), order);
    }

    static void skeleton(AcDbDatabase& db, std::vector<DxfTag>& out) { add(db, out, 100, "AcDbLine"); }
};

extern const DxfCodecFunctions kDxfLineCodec = {&DxfLineCodec::create, &DxfLineCodec::load, &DxfLineCodec::save,
                                                &DxfLineCodec::skeleton};
