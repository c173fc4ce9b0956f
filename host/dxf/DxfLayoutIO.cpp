#include "host/dxf/DxfLayoutIO.h"

#include <initializer_list>
#include <string>
#include <vector>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbLayout.h"
#include "host/db/AcDbViewport.h"
#include "host/base/DxfCodepage.h"
#include "host/dxf/DxfTagEditor.h"
#include "host/dxf/DxfValue.h"

namespace {

constexpr double kDegToRad = 3.14159265358979323846 / 180.0;

// The order of the AcDbPlotSettings tags, as CAD programs write them.
const std::initializer_list<int> kPlotOrder = {1,   2,   4,   6,   40,  41, 42, 43, 44, 45, 46, 47, 48, 49, 140, 141,
                                              142, 143, 70, 72, 73, 74, 7,  75, 76, 77, 78, 147, 148, 149, 333};

AcDbObjectId idOf(AcDbDatabase& db, uint64_t handle)
{
    return AcDbObjectId(db.data().byHandle.find(handle));
}

double real(const DxfTag& t) { return DxfValue::fieldReal(t); }
int integer(const DxfTag& t) { return static_cast<int>(DxfValue::fieldInt(t)); }

// x, y and z of a point whose x is at i (y and z follow with code + 10, + 20); i ends on the last.
AcGePoint3d pointAt(const DxfTag* t, size_t end, size_t& i)
{
    AcGePoint3d p;
    const int c = t[i].code;
    p.x = real(t[i]);
    if (i + 1 < end && t[i + 1].code == c + 10)
        p.y = real(t[++i]);
    if (i + 1 < end && t[i + 1].code == c + 20)
        p.z = real(t[++i]);
    return p;
}

}  // namespace

void DxfLayoutIO::loadLayout(AcDbDatabase& db, AcDbLayout& x, const DxfTag* t, size_t end, const DxfCodepage& cp)
{
    enum { None, Plot, Layout } in = None;
    for (size_t i = 1; i < end; ++i) {
        const int c = t[i].code;
        if (c == 100) {
            in = t[i].value() == "AcDbPlotSettings" ? Plot : t[i].value() == "AcDbLayout" ? Layout : None;
            continue;
        }
        if (in == Layout) {
            if (c == 1) x.name_ = cp.decode(t[i].value());
            else if (c == 71) x.tabOrder_ = integer(t[i]);
            else if (c == 330) x.block_ = idOf(db, DxfValue::fieldHandle(t[i]));
            continue;
        }
        if (in != Plot)
            continue;
        switch (c) {
        case 1: x.pageSetupName_ = cp.decode(t[i].value()); break;
        case 2: x.plotCfgName_ = cp.decode(t[i].value()); break;
        case 4: x.mediaName_ = cp.decode(t[i].value()); break;
        case 6: x.viewName_ = cp.decode(t[i].value()); break;
        case 7: x.styleSheet_ = cp.decode(t[i].value()); break;
        case 40: case 41: case 42: case 43: x.margins_[c - 40] = real(t[i]); break;
        case 44: x.paperWidth_ = real(t[i]); break;
        case 45: x.paperHeight_ = real(t[i]); break;
        case 46: x.originX_ = real(t[i]); break;
        case 47: x.originY_ = real(t[i]); break;
        case 48: x.window_[0] = real(t[i]); break;
        case 49: x.window_[1] = real(t[i]); break;
        case 140: x.window_[2] = real(t[i]); break;
        case 141: x.window_[3] = real(t[i]); break;
        case 142: x.customNumerator_ = real(t[i]); break;
        case 143: x.customDenominator_ = real(t[i]); break;
        case 70: x.flags_ = integer(t[i]); break;
        case 72: x.paperUnits_ = integer(t[i]); break;
        case 73: x.rotation_ = integer(t[i]); break;
        case 74: x.plotType_ = integer(t[i]); break;
        case 75: x.stdScaleType_ = integer(t[i]); break;
        case 76: x.shadeMode_ = integer(t[i]); break;
        case 77: x.shadeResLevel_ = integer(t[i]); break;
        case 78: x.shadeDpi_ = integer(t[i]); break;
        case 147: x.stdScale_ = real(t[i]); break;
        case 148: x.imageOriginX_ = real(t[i]); break;
        case 149: x.imageOriginY_ = real(t[i]); break;
        default: break;
        }
    }
}

void DxfLayoutIO::saveLayout(AcDbLayout& x, DxfTagEditor& ed)
{
    ed.setString(ed.subclass("AcDbLayout"), 1, x.layoutName(), {1, 70, 71});
    ed.setInt(ed.subclass("AcDbLayout"), 71, x.getTabOrder(), {1, 70, 71});
    if (!ed.subclass("AcDbPlotSettings").found)
        return;
    const AcDbPlotSettings defaults;
    auto R = [&] { return ed.subclass("AcDbPlotSettings"); };
    auto text = [&](int code, const std::string& v, const std::string& def) {
        if (ed.has(R(), code) || v != def)
            ed.setString(R(), code, v, kPlotOrder);
    };
    auto number = [&](int code, double v, double def) {
        if (ed.has(R(), code) || v != def)
            ed.setReal(R(), code, v, kPlotOrder);
    };
    auto whole = [&](int code, int v, int def) {
        if (ed.has(R(), code) || v != def)
            ed.setInt(R(), code, v, kPlotOrder);
    };
    text(1, x.pageSetupName_, defaults.pageSetupName_);
    text(2, x.plotCfgName_, defaults.plotCfgName_);
    text(4, x.mediaName_, defaults.mediaName_);
    text(6, x.viewName_, defaults.viewName_);
    for (int k = 0; k < 4; ++k)
        number(40 + k, x.margins_[k], defaults.margins_[k]);
    number(44, x.paperWidth_, defaults.paperWidth_);
    number(45, x.paperHeight_, defaults.paperHeight_);
    number(46, x.originX_, defaults.originX_);
    number(47, x.originY_, defaults.originY_);
    number(48, x.window_[0], defaults.window_[0]);
    number(49, x.window_[1], defaults.window_[1]);
    number(140, x.window_[2], defaults.window_[2]);
    number(141, x.window_[3], defaults.window_[3]);
    number(142, x.customNumerator_, defaults.customNumerator_);
    number(143, x.customDenominator_, defaults.customDenominator_);
    whole(70, x.flags_, defaults.flags_);
    whole(72, x.paperUnits_, defaults.paperUnits_);
    whole(73, x.rotation_, defaults.rotation_);
    whole(74, x.plotType_, defaults.plotType_);
    text(7, x.styleSheet_, defaults.styleSheet_);
    whole(75, x.stdScaleType_, defaults.stdScaleType_);
    whole(76, x.shadeMode_, defaults.shadeMode_);
    whole(77, x.shadeResLevel_, defaults.shadeResLevel_);
    whole(78, x.shadeDpi_, defaults.shadeDpi_);
    number(147, x.stdScale_, defaults.stdScale_);
    number(148, x.imageOriginX_, defaults.imageOriginX_);
    number(149, x.imageOriginY_, defaults.imageOriginY_);
}

void DxfLayoutIO::loadViewport(AcDbDatabase& db, AcDbViewport& x, const DxfTag* t, size_t end)
{
    bool in = false;
    for (size_t i = 1; i < end; ++i) {
        if (t[i].code == 100) {
            in = t[i].value() == "AcDbViewport";
            continue;
        }
        if (!in)
            continue;
        switch (t[i].code) {
        case 10: x.center_ = pointAt(t, end, i); break;
        case 40: x.width_ = real(t[i]); break;
        case 41: x.height_ = real(t[i]); break;
        case 68: x.status_ = integer(t[i]); break;
        case 69: x.number_ = integer(t[i]); break;
        case 12: { AcGePoint3d p = pointAt(t, end, i); x.viewCenter_.set(p.x, p.y); break; }
        case 16: x.viewDirection_ = pointAt(t, end, i).asVector(); break;
        case 17: x.viewTarget_ = pointAt(t, end, i); break;
        case 45: x.viewHeight_ = real(t[i]); break;
        case 51: x.twist_ = real(t[i]) * kDegToRad; break;
        case 90: x.flags_ = integer(t[i]); break;
        case 331: {
            AcDbObjectId layer = idOf(db, DxfValue::fieldHandle(t[i]));
            if (!layer.isNull())
                x.frozen_.append(layer);
            break;
        }
        default: break;
        }
    }
}

void DxfLayoutIO::saveViewport(AcDbViewport& x, DxfTagEditor& ed)
{
    if (!x.frozenModified_)
        return;
    auto r = ed.subclass("AcDbViewport");
    if (!r.found)
        return;
    auto& t = ed.tags();
    // Where the list goes: where it was, else before the clipping boundary
    // (340) or the status flags (90), else at the end of the subclass.
    size_t at = r.end;
    for (size_t i = r.begin; i < r.end; ++i)
        if (t[i].code == 331 || t[i].code == 340 || t[i].code == 90) {
            at = i;
            break;
        }
    r.end -= ed.remove(r, 331);
    std::vector<DxfTag> frozen;
    for (const AcDbObjectId& id : x.frozen_)
        if (!id.isErased())
            frozen.push_back(ed.make(331, DxfValue::fromHandle(id.handle().value())));
    ed.insert(at, frozen);
}
