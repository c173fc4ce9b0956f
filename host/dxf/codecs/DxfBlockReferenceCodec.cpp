#include "host/dxf/codecs/DxfBlockReferenceCodec.h"

#include <cmath>
#include <string>
#include <string_view>
#include <utility>

#include "host/base/DxfCodepage.h"
#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
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

namespace {

// Whether attributes follow the reference (66): one of its own not erased.
bool attributesFollow(const AcDbBlockReference& x)
{
    if (const auto& subs = x.objectId().stub()->subs)
        for (const AcDbStub* s : *subs)
            if (!s->erased && s->kind == static_cast<uint8_t>(AcDbObjectKind::Attribute))
                return true;
    return false;
}

// Whether the editor keeps a real's text for the value: it reads as it.
bool keepsReal(const DxfTag* tag, double value)
{
    double read = 0;
    return tag && DxfValue::toDouble(tag->value(), read) && read == value;
}

}  // namespace

void DxfBlockReferenceCodec::saveReference(AcDbBlockReference& x, DxfTagEditor& ed)
{
    static const std::initializer_list<int> order = {66, 2, 10, 20, 30, 41, 42, 43, 50, 70, 71, 44, 45, 210, 220, 230};
    auto R = [&] { return ed.subclass("AcDbBlockReference"); };
    if (attributesFollow(x))
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
            if (ed.tags()[i].code == 50 && DxfValue::toDouble(ed.tags()[i].value(), old) &&
                sameAngle(old, x.rotation()))
                same = true;
        if (!same)
            ed.setReal(r, 50, degrees(x.rotation()), order);
    }
    saveNormal(ed, "AcDbBlockReference", x.normal(), order);
}

bool DxfBlockReferenceCodec::savesAsRead(const AcDbBlockReference& x, const DxfTag* t, size_t n)
{
    // The first tag of each field saveReference writes, by its code (a
    // switch: every tag of the record asks).
    const DxfTag* field[12] = {};
    auto slot = [&](int code) -> const DxfTag** {
        switch (code) {
        case 2: return &field[0];
        case 10: return &field[1];
        case 20: return &field[2];
        case 30: return &field[3];
        case 41: return &field[4];
        case 42: return &field[5];
        case 43: return &field[6];
        case 50: return &field[7];
        case 66: return &field[8];
        case 210: return &field[9];
        case 220: return &field[10];
        case 230: return &field[11];
        default: return nullptr;
        }
    };
    auto at = [&](int code) { return *slot(code); };
    constexpr std::string_view kMarkers[] = {"AcDbEntity", "AcDbBlockReference"};
    int part = -1;
    for (size_t i = 1; i < n && t[i].code != 1001; ++i) {
        const int code = t[i].code;
        if (code == 101)
            return false;
        if (code == 100) {
            if (part == 1 || t[i].value() != kMarkers[part + 1])
                return false;
            ++part;
            continue;
        }
        if (part < 1)
            continue;  // saveBase's and the entity's (DxfObjectIO::entitySavesAsRead)
        if (code == 102)
            return false;
        const DxfTag** first = slot(code);
        if (!first)
            continue;  // neither read nor written
        if (*first)
            return false;  // load takes the last, save the first
        *first = &t[i];
    }
    if (part != 1)
        return false;
    // The flag (66): set to 1 exactly when attributes follow, else absent.
    int64_t follow = 0;
    if (attributesFollow(x) ? !(at(66) && DxfValue::toInt(at(66)->value(), follow) && follow == 1) : at(66) != nullptr)
        return false;
    // The name as the block is called now.
    const DxfCodepage& cp = x.database()->data().codepage();
    if (!at(2) || cp.decode(at(2)->value()) != std::string(x.blockName()))
        return false;
    const AcGePoint3d p = x.position();
    if (!keepsReal(at(10), p.x) || !keepsReal(at(20), p.y) || !keepsReal(at(30), p.z))
        return false;
    const AcGeScale3d s = x.scaleFactors();
    for (auto [code, value] : {std::pair{41, s.sx}, {42, s.sy}, {43, s.sz}})
        if (at(code) ? !keepsReal(at(code), value) : value != 1.0)
            return false;
    // The rotation as saveReference compares it: in radians within 1e-15,
    // else by the degrees written for it.
    double degreesRead = 0;
    if (at(50) || x.rotation() != 0.0) {
        if (!at(50) || !DxfValue::toDouble(at(50)->value(), degreesRead))
            return false;
        if (!sameAngle(degreesRead, x.rotation()) && !keepsReal(at(50), degrees(x.rotation())))
            return false;
    }
    const AcGeVector3d normal = x.normal();
    if (at(210) || !(normal.x == 0.0 && normal.y == 0.0 && normal.z == 1.0))
        return keepsReal(at(210), normal.x) && keepsReal(at(220), normal.y) && keepsReal(at(230), normal.z);
    return true;
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

bool savesAsRead(const AcDbObject& o, const DxfTag* t, size_t n)
{
    return DxfBlockReferenceCodec::savesAsRead(static_cast<const AcDbBlockReference&>(o), t, n);
}

}  // namespace

extern const DxfCodecFunctions kDxfBlockReferenceCodec = {&create, &load, &save, &skeleton, &savesAsRead};
