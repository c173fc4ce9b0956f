#include "host/db/AcDbSpline.h"
#include "host/dxf/DxfCodec.h"
#include "host/dxf/DxfTagEditor.h"
#include "host/dxf/DxfValue.h"
#include "host/dxf/codecs/DxfCodecSupport.h"

using namespace DxfCodecSupport;

// SPLINE: extrusion (210), flags (70), degree (71), knots (40 each),
// weights (41 each), control points (10), fit points (11) and their end
// tangents (12, 13). The counts (72-74) and tolerances are kept as read.
class DxfSplineCodec {
public:
    static AcDbObject* create(const AcDbStub&) { return new AcDbSpline(); }

    static void load(AcDbDatabase&, AcDbObject& o, const DxfTag* t, size_t end, const DxfCodepage&)
    {
        auto& s = static_cast<AcDbSpline&>(o);
        forEachTagIn(t, end, {"AcDbSpline"}, [&](size_t& i) {
            switch (t[i].code) {
            case 210: s.normal_ = pointAt(t, end, i, 210).asVector(); break;
            case 70: s.flags_ = static_cast<int>(integer(t[i])); break;
            case 71: s.degree_ = static_cast<int>(integer(t[i], 3)); break;
            case 40: s.knots_.push_back(real(t[i])); break;
            case 41: s.weights_.push_back(real(t[i], 1.0)); break;
            case 10: s.controlPoints_.push_back(pointAt(t, end, i, 10)); break;
            case 11: s.fitPoints_.push_back(pointAt(t, end, i, 11)); break;
            case 12: s.startTangent_ = pointAt(t, end, i, 12).asVector(); break;
            case 13: s.endTangent_ = pointAt(t, end, i, 13).asVector(); break;
            default: break;
            }
        });
    }

    // Control points are the only values that can change: each one whose
    // coordinates differ is rewritten where it stands.
    static void save(AcDbDatabase&, AcDbObject& o, DxfTagEditor& ed)
    {
        auto& s = static_cast<AcDbSpline&>(o);
        const auto r = ed.subclass("AcDbSpline");
        auto& t = ed.tags();
        int k = 0;
        for (size_t i = r.begin; i < r.end && k < s.numControlPoints(); ++i) {
            if (t[i].code != 10)
                continue;
            const AcGePoint3d p = s.controlPointAt(k++);
            const double values[3] = {p.x, p.y, p.z};
            for (int axis = 0; axis < 3 && i + static_cast<size_t>(axis) < r.end; ++axis) {
                DxfTag& tag = t[i + static_cast<size_t>(axis)];
                double old = 0;
                if (tag.code != 10 + 10 * axis)
                    break;
                if (!DxfValue::toDouble(tag.value(), old) || old != values[axis])
                    tag = ed.make(tag.code, DxfValue::fromDouble(values[axis]));
            }
        }
    }

    static void skeleton(AcDbDatabase& db, std::vector<DxfTag>& out) { add(db, out, 100, "AcDbSpline"); }
};

extern const DxfCodecFunctions kDxfSplineCodec = {&DxfSplineCodec::create, &DxfSplineCodec::load,
                                                  &DxfSplineCodec::save, &DxfSplineCodec::skeleton};
