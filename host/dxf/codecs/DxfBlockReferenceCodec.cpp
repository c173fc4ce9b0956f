#include "host/dxf/codecs/DxfBlockReferenceCodec.h"

#include <cmath>

#include "host/base/DxfCodepage.h"
#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbStub.h"
#include "host/dxf/DxfCodec.h"
#include "host/dxf/DxfTagEditor.h"
#include "host/dxf/DxfValue.h"
#include "host/dxf/codecs/DxfCodecSupport.h"

using namespace DxfCodecSupport;

void DxfBlockReferenceCodec::loadReference(AcDbBlockReference& x, const DxfTag* t, size_t end, const DxfCodepage& cp)
{
    forEachTagIn(t, end, {"AcDbBlockReference", "AcDbMInsertBlock"}, [&](size_t& i) {
        switch (t[i].code) {
        case 2: x.blockName_ = cp.decode(t[i].value()); break;
        case 10: x.position_ = pointAt(t, end, i, 10); break;
        case 41: x.scale_.sx = real(t[i], 1.0); break;
        case 42: x.scale_.sy = real(t[i], 1.0); break;
        case 43: x.scale_.sz = real(t[i], 1.0); break;
        case 50: x.rotation_ = real(t[i]) * kDegToRad; break;
        case 210: x.normal_ = pointAt(t, end, i, 210).asVector(); break;
        default: break;
        }
    });
}

void DxfBlockReferenceCodec::saveReference(AcDbBlockReference& x, DxfTagEditor& ed)
{
    static const std::initializer_list<int> order = {66, 2, 10, 20, 30, 41, 42, 43, 50, 70, 71, 44, 45, 210, 220, 230};
    auto R = [&] { return ed.subclass("AcDbBlockReference"); };
    bool hasAttributes = false;
    if (x.objectId().stub()->subs)
        for (AcDbStub* s : *x.objectId().stub()->subs)
            if (!s->erased && s->kind == static_cast<uint16_t>(AcDbObjectKind::Attribute))
                hasAttributes = true;
    if (hasAttributes)
        ed.setInt(R(), 66, 1, order);
    else
        ed.remove(R(), 66);
    ed.setString(R(), 2, x.blockName(), order);
    ed.setPoint(R(), 10, x.position().x, x.position().y, x.position().z, order);
    AcGeScale3d s = x.scaleFactors();
    if (ed.has(R(), 41) || s.sx != 1.0) ed.setReal(R(), 41, s.sx, order);
    if (ed.has(R(), 42) || s.sy != 1.0) ed.setReal(R(), 42, s.sy, order);
    if (ed.has(R(), 43) || s.sz != 1.0) ed.setReal(R(), 43, s.sz, order);
    if (ed.has(R(), 50) || x.rotation() != 0.0) {
        double old = 0;
        auto r = R();
        bool same = false;
        for (size_t i = r.begin; i < r.end; ++i)
            if (ed.tags()[i].code == 50 && DxfValue::toDouble(ed.tags()[i].value(), old)
                && std::fabs(old / kRadToDeg - x.rotation()) < 1e-15)
                same = true;
        if (!same)
            ed.setReal(r, 50, degrees(x.rotation()), order);
    }
    saveNormal(ed, "AcDbBlockReference", x.normal(), order);
}

namespace {

AcDbObject* create(const AcDbStub&) { return new AcDbBlockReference(); }

void load(AcDbDatabase&, AcDbObject& o, const DxfTag* t, size_t end, const DxfCodepage& cp)
{
    DxfBlockReferenceCodec::loadReference(static_cast<AcDbBlockReference&>(o), t, end, cp);
}

void save(AcDbDatabase&, AcDbObject& o, DxfTagEditor& ed)
{
    DxfBlockReferenceCodec::saveReference(static_cast<AcDbBlockReference&>(o), ed);
}

void skeleton(AcDbDatabase& db, std::vector<DxfTag>& out) { add(db, out, 100, "AcDbBlockReference"); }

}  // namespace

extern const DxfCodecFunctions kDxfBlockReferenceCodec = {&create, &load, &save, &skeleton};
