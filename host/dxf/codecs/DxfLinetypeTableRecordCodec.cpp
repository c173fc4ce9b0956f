#include "host/base/DxfCodepage.h"
#include "host/db/AcDbLinetypeTableRecord.h"
#include "host/dxf/DxfCodec.h"
#include "host/dxf/DxfTagEditor.h"
#include "host/dxf/DxfValue.h"
#include "host/dxf/codecs/DxfCodecSupport.h"
#include "host/dxf/codecs/DxfSymbolTableRecordCodec.h"

using namespace DxfCodecSupport;

// LTYPE: description (3), pattern length (40), dashes (49, each with a 74
// element type); a linetype with shapes or texts (74 not 0) is complex and
// keeps its pattern as read.
class DxfLinetypeTableRecordCodec {
public:
    static AcDbObject* create(const AcDbStub&) { return new AcDbLinetypeTableRecord(); }

    static void load(AcDbDatabase&, AcDbObject& o, const DxfTag* t, size_t end, const DxfCodepage& cp)
    {
        auto& lt = static_cast<AcDbLinetypeTableRecord&>(o);
        DxfSymbolTableRecordCodec::loadRecord(lt, false, t, end, cp);
        DxfSymbolTableRecordCodec::forEachRecordTag(t, end, [&](const DxfTag& tag) {
            if (tag.code == 3) lt.comments_ = cp.decode(tag.value());
            else if (tag.code == 40) lt.patternLength_ = real(tag);
            else if (tag.code == 49) lt.dashes_.push_back(real(tag));
            else if (tag.code == 74 && integer(tag) != 0) lt.complex_ = true;
        });
    }

    static void save(AcDbDatabase&, AcDbObject& o, DxfTagEditor& ed)
    {
        auto& lt = static_cast<AcDbLinetypeTableRecord&>(o);
        const std::string marker = DxfSymbolTableRecordCodec::saveName(lt, "AcDbLinetypeTableRecord", ed);
        if (marker.empty())
            return;
        auto R = [&] { return ed.subclass(marker); };
        static const std::initializer_list<int> order = {2, 70, 3, 72, 73, 40};
        ed.setString(R(), 3, lt.comments(), order);
        if (lt.isComplex())
            return;
        ed.setInt(R(), 73, lt.numDashes(), order);
        ed.setReal(R(), 40, lt.patternLength(), order);
        auto r = R();
        ed.remove(r, 49);
        r = R();
        ed.remove(r, 74);
        r = R();
        size_t at = r.end;
        for (size_t i = r.begin; i < r.end; ++i)
            if (ed.tags()[i].code == 40)
                at = i + 1;
        std::vector<DxfTag> dashes;
        for (int i = 0; i < lt.numDashes(); ++i) {
            dashes.push_back(ed.make(49, DxfValue::fromDouble(lt.dashLengthAt(i))));
            dashes.push_back(ed.make(74, "0"));
        }
        ed.insert(at, dashes);
    }

    static void skeleton(AcDbDatabase& db, std::vector<DxfTag>& out)
    {
        DxfSymbolTableRecordCodec::skeleton(db, out, "AcDbLinetypeTableRecord");
        add(db, out, 70, "0");
        add(db, out, 3, "");
        add(db, out, 72, "65");
    }
};

extern const DxfCodecFunctions kDxfLinetypeTableRecordCodec = {
    &DxfLinetypeTableRecordCodec::create, &DxfLinetypeTableRecordCodec::load, &DxfLinetypeTableRecordCodec::save,
    &DxfLinetypeTableRecordCodec::skeleton};
