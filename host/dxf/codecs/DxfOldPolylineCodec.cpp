#include "host/db/AcDb2dPolyline.h"
#include "host/dxf/DxfCodec.h"
#include "host/dxf/DxfTagEditor.h"
#include "host/dxf/codecs/DxfCodecSupport.h"

using namespace DxfCodecSupport;

// POLYLINE (the old-style polyline; its vertices have their own codec):
// flags (70), elevation (the z of 10), default widths (40, 41) and
// extrusion (210) of AcDb2dPolyline or AcDb3dPolyline; meshes read their
// flags only. Nothing is edited, so saving leaves the record as read.
class DxfOldPolylineCodec {
public:
    static AcDbObject* create(const AcDbStub&) { return new AcDb2dPolyline(); }

    static void load(AcDbDatabase&, AcDbObject& o, const DxfTag* t, size_t end, const DxfCodepage&)
    {
        auto& p = static_cast<AcDb2dPolyline&>(o);
        bool in = false;
        for (size_t i = 1; i < end; ++i) {
            if (t[i].code == 100) {
                const std::string_view m = t[i].value();
                in = m == "AcDb2dPolyline" || m == "AcDb3dPolyline" || m == "AcDbPolygonMesh" ||
                     m == "AcDbPolyFaceMesh";
                continue;
            }
            if (!in)
                continue;
            switch (t[i].code) {
            case 10: p.elevation_ = pointAt(t, end, i, 10).z; break;
            case 70: p.flags_ = static_cast<int>(integer(t[i])); break;
            case 40: p.startWidth_ = real(t[i]); break;
            case 41: p.endWidth_ = real(t[i]); break;
            case 210: p.normal_ = pointAt(t, end, i, 210).asVector(); break;
            default: break;
            }
        }
        if (p.normal_.length() < 1e-12)
            p.normal_ = AcGeVector3d(0, 0, 1);
    }

    static void save(AcDbDatabase&, AcDbObject&, DxfTagEditor&) {}

    static void skeleton(AcDbDatabase& db, std::vector<DxfTag>& out) { add(db, out, 100, "AcDb2dPolyline"); }
};

extern const DxfCodecFunctions kDxfOldPolylineCodec = {&DxfOldPolylineCodec::create, &DxfOldPolylineCodec::load,
                                                       &DxfOldPolylineCodec::save, &DxfOldPolylineCodec::skeleton};
