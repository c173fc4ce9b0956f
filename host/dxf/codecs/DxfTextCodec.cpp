#include "host/dxf/codecs/DxfTextCodec.h"

#include <cmath>

#include "host/db/AcDbText.h"
#include "host/dxf/DxfCodec.h"
#include "host/base/DxfCodepage.h"
#include "host/dxf/DxfTagEditor.h"
#include "host/dxf/DxfValue.h"
#include "host/dxf/codecs/DxfCodecSupport.h"

using namespace DxfCodecSupport;

void DxfTextCodec::loadText(AcDbText& x, bool isText, const DxfTag* t, size_t end, const DxfCodepage& cp,
                            SecondTag second)
{
    auto str = [&](const DxfTag& tag) { return cp.decode(tag.value()); };
    std::string_view marker;
    int textSubclass = 0;
    bool first = false, inSecond = false;
    for (size_t i = 1; i < end; ++i) {
        if (t[i].code == 100) {
            marker = t[i].value();
            const bool text = marker == "AcDbText";
            textSubclass += text;
            first = text && textSubclass == 1;
            inSecond = !first && (text || marker == "AcDbAttribute" || marker == "AcDbAttributeDefinition");
            continue;
        }
        if (!first && !inSecond)
            continue;
        switch (t[i].code) {
        case 10: x.position_ = pointAt(t, end, i, 10); break;
        case 11: x.alignment_ = pointAt(t, end, i, 11); break;
        case 39: x.thickness_ = real(t[i]); break;
        case 40: x.height_ = real(t[i], x.height_); break;
        case 1: x.text_ = str(t[i]); break;
        case 50: x.rotation_ = real(t[i]) * kDegToRad; break;
        case 41: x.widthFactor_ = real(t[i], 1.0); break;
        case 51: x.oblique_ = real(t[i]) * kDegToRad; break;
        case 7: x.style_ = str(t[i]); break;
        case 71: x.generation_ = static_cast<int>(integer(t[i])); break;
        case 72: x.horz_ = static_cast<AcDb::TextHorzMode>(integer(t[i])); break;
        case 210: x.normal_ = pointAt(t, end, i, 210).asVector(); break;
        case 73:
            if (first)
                break;
            if (isText)
                x.vert_ = static_cast<AcDb::TextVertMode>(integer(t[i]));
            else if (second)
                second(x, t[i], cp);
            break;
        case 74:
            if (inSecond && !isText)
                x.vert_ = static_cast<AcDb::TextVertMode>(integer(t[i]));
            break;
        case 2:
        case 3:
        case 70:
            if (inSecond && second)
                second(x, t[i], cp);
            break;
        default: break;
        }
    }
}

const std::initializer_list<int>& DxfTextCodec::secondOrder()
{
    static const std::initializer_list<int> second = {280, 3, 2, 70, 73, 74};
    return second;
}

void DxfTextCodec::saveText(AcDbText& x, DxfTagEditor& ed)
{
    static const std::initializer_list<int> order = {39, 10, 20, 30, 40, 1, 50, 41, 51, 7, 71, 72, 11, 21, 31, 210, 220, 230};
    auto R = [&] { return ed.subclass("AcDbText"); };
    if (ed.has(R(), 39) || x.thickness() != 0.0)
        ed.setReal(R(), 39, x.thickness(), order);
    ed.setPoint(R(), 10, x.position().x, x.position().y, x.position().z, order);
    ed.setReal(R(), 40, x.height(), order);
    ed.setString(R(), 1, x.textString(), order);
    auto angle = [&](int code, double radians) {
        double old = 0;
        auto r = R();
        for (size_t i = r.begin; i < r.end; ++i)
            if (ed.tags()[i].code == code && DxfValue::toDouble(ed.tags()[i].value(), old) && sameAngle(old, radians))
                return;
        if (ed.has(r, code) || radians != 0.0)
            ed.setReal(r, code, degrees(radians), order);
    };
    angle(50, x.rotation());
    if (ed.has(R(), 41) || x.widthFactor() != 1.0)
        ed.setReal(R(), 41, x.widthFactor(), order);
    angle(51, x.oblique());
    if (ed.has(R(), 7) || std::string(x.textStyleName()) != "Standard")
        ed.setString(R(), 7, x.textStyleName(), order);
    if (ed.has(R(), 72) || x.horizontalMode() != AcDb::kTextLeft)
        ed.setInt(R(), 72, x.horizontalMode(), order);
    if (!x.isDefaultAlignment() || ed.has(R(), 11))
        ed.setPoint(R(), 11, x.alignmentPoint().x, x.alignmentPoint().y, x.alignmentPoint().z, order);
    saveNormal(ed, "AcDbText", x.normal(), order);
}

namespace {

AcDbObject* create(const AcDbStub&) { return new AcDbText(); }

void load(AcDbDatabase&, AcDbObject& o, const DxfTag* t, size_t end, const DxfCodepage& cp)
{
    DxfTextCodec::loadText(static_cast<AcDbText&>(o), true, t, end, cp, nullptr);
}

void save(AcDbDatabase&, AcDbObject& o, DxfTagEditor& ed)
{
    auto& x = static_cast<AcDbText&>(o);
    DxfTextCodec::saveText(x, ed);
    auto r = ed.subclass("AcDbText", 1);
    if (r.found && (ed.has(r, 73) || x.verticalMode() != AcDb::kTextBase))
        ed.setInt(r, 73, x.verticalMode(), DxfTextCodec::secondOrder());
}

void skeleton(AcDbDatabase& db, std::vector<DxfTag>& out)
{
    add(db, out, 100, "AcDbText");
    add(db, out, 100, "AcDbText");
}

}  // namespace

extern const DxfCodecFunctions kDxfTextCodec = {&create, &load, &save, &skeleton};
