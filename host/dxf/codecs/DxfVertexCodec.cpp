#include "host/db/AcDb2dVertex.h"
#include "host/dxf/DxfCodec.h"
#include "host/dxf/DxfTagEditor.h"
#include "host/dxf/codecs/DxfCodecSupport.h"

using namespace DxfCodecSupport;

// VERTEX: location (10), start and end width (40, 41), bulge (42) and flags
// (70) of its vertex subclass. Nothing is edited, so saving leaves the
// record as read.
class DxfVertexCodec {
public:
    static AcDbObject* create(const AcDbStub&) { return new AcDb2dVertex(); }

    static void load(AcDbDatabase&, AcDbObject& o, const DxfTag* t, size_t end, const DxfCodepage&)
    {
        auto& v = static_cast<AcDb2dVertex&>(o);
        bool in = false;
        for (size_t i = 1; i < end; ++i) {
            if (t[i].code == 100) {
                const std::string_view m = t[i].value();
                in = m == "AcDb2dVertex" || m == "AcDb3dPolylineVertex" || m == "AcDbPolygonMeshVertex" ||
                     m == "AcDbPolyFaceMeshVertex";
                continue;
            }
            if (!in)
                continue;
            switch (t[i].code) {
            case 10: v.position_ = pointAt(t, end, i, 10); break;
            case 40: v.startWidth_ = real(t[i]); break;
            case 41: v.endWidth_ = real(t[i]); break;
            case 42: v.bulge_ = real(t[i]); break;
            case 70: v.flags_ = static_cast<int>(integer(t[i])); break;
            default: break;
            }
        }
    }

    static void save(AcDbDatabase&, AcDbObject&, DxfTagEditor&) {}

    static void skeleton(AcDbDatabase& db, std::vector<DxfTag>& out)
    {
        add(db, out, 100, "AcDbVertex");
        add(db, out, 100, "AcDb2dVertex");
    }
};

extern const DxfCodecFunctions kDxfVertexCodec = {&DxfVertexCodec::create, &DxfVertexCodec::load,
                                                  &DxfVertexCodec::save, &DxfVertexCodec::skeleton};
