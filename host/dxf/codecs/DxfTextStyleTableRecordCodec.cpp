#include "host/base/DxfCodepage.h"
#include "host/db/AcDbTextStyleTableRecord.h"
#include "host/dxf/DxfCodec.h"
#include "host/dxf/DxfTagEditor.h"
#include "host/dxf/codecs/DxfCodecSupport.h"
#include "host/dxf/codecs/DxfSymbolTableRecordCodec.h"

using namespace DxfCodecSupport;

// STYLE: font file (3), big font (4), fixed height (40), width factor (41),
// obliquing angle (50) and last height used (42).
class DxfTextStyleTableRecordCodec {
public:
    static AcDbObject* create(const AcDbStub&) { return new AcDbTextStyleTableRecord(); }

    static void load(AcDbDatabase&, AcDbObject& o, const DxfTag* t, size_t end, const DxfCodepage& cp)
    {
        auto& s = static_cast<AcDbTextStyleTableRecord&>(o);
        DxfSymbolTableRecordCodec::loadRecord(s, false, t, end, cp);
        DxfSymbolTableRecordCodec::forEachRecordTag(t, end, [&](const DxfTag& tag) {
            switch (tag.code) {
            case 3: s.fileName_ = cp.decode(tag.value()); break;
            case 4: s.bigFont_ = cp.decode(tag.value()); break;
            case 40: s.textSize_ = real(tag); break;
            case 41: s.xScale_ = real(tag, 1.0); break;
            case 50: s.oblique_ = real(tag) * kDegToRad; break;
            case 42: s.priorSize_ = real(tag); break;
            default: break;
            }
        });
    }

    static void save(AcDbDatabase&, AcDbObject& o, DxfTagEditor& ed)
    {
        auto& s = static_cast<AcDbTextStyleTableRecord&>(o);
        const std::string marker = DxfSymbolTableRecordCodec::saveName(s, "AcDbTextStyleTableRecord", ed);
        if (marker.empty())
            return;
        auto R = [&] { return ed.subclass(marker); };
        static const std::initializer_list<int> order = {2, 70, 40, 41, 50, 71, 42, 3, 4};
        ed.setReal(R(), 40, s.textSize(), order);
        ed.setReal(R(), 41, s.xScale(), order);
        ed.setReal(R(), 50, degrees(s.obliquingAngle()), order);
        ed.setString(R(), 3, s.fileName(), order);
        ed.setString(R(), 4, s.bigFontFileName(), order);
    }

    static void skeleton(AcDbDatabase& db, std::vector<DxfTag>& out)
    {
        DxfSymbolTableRecordCodec::skeleton(db, out, "AcDbTextStyleTableRecord");
        add(db, out, 70, "0");
        add(db, out, 40, "0.0");
        add(db, out, 41, "1.0");
        add(db, out, 50, "0.0");
        add(db, out, 71, "0");
        add(db, out, 42, "2.5");
        add(db, out, 3, "txt");
        add(db, out, 4, "");
    }
};

extern const DxfCodecFunctions kDxfTextStyleTableRecordCodec = {
    &DxfTextStyleTableRecordCodec::create, &DxfTextStyleTableRecordCodec::load, &DxfTextStyleTableRecordCodec::save,
    &DxfTextStyleTableRecordCodec::skeleton};
