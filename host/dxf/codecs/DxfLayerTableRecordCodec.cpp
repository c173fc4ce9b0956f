#include <cstdlib>

#include "host/base/DxfCodepage.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbLayerTableRecord.h"
#include "host/db/AcDbStub.h"
#include "host/db/AcDbSymbolTable.h"
#include "host/dxf/DxfCodec.h"
#include "host/dxf/DxfTagEditor.h"
#include "host/dxf/codecs/DxfCodecSupport.h"
#include "host/dxf/codecs/DxfSymbolTableRecordCodec.h"

using namespace DxfCodecSupport;

// LAYER: flags (70; frozen, locked), colour (62, negative when off; 420
// true colour), linetype (6), plottable (290) and line weight (370).
class DxfLayerTableRecordCodec {
public:
    static AcDbObject* create(const AcDbStub&) { return new AcDbLayerTableRecord(); }

    static void load(AcDbDatabase&, AcDbObject& o, const DxfTag* t, size_t end, const DxfCodepage& cp)
    {
        auto& l = static_cast<AcDbLayerTableRecord&>(o);
        const int flags = DxfSymbolTableRecordCodec::loadRecord(l, false, t, end, cp);
        int aci = 7;
        int64_t rgb = -1;
        DxfSymbolTableRecordCodec::forEachRecordTag(t, end, [&](const DxfTag& tag) {
            switch (tag.code) {
            case 62: aci = static_cast<int>(integer(tag, 7)); break;
            case 420: rgb = integer(tag, -1); break;
            case 6: l.linetype_ = cp.decode(tag.value()); break;
            case 290: l.plottable_ = integer(tag, 1) != 0; break;
            case 370: l.lineWeight_ = static_cast<AcDb::LineWeight>(integer(tag, -3)); break;
            default: break;
            }
        });
        l.off_ = aci < 0;
        l.layerFlags_ = flags;
        if (rgb >= 0)
            l.color_.setRGB(static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb));
        else
            l.color_.setColorIndex(static_cast<int16_t>(std::abs(aci) == 0 || std::abs(aci) > 255 ? 7 : std::abs(aci)));
    }

    static void save(AcDbDatabase& db, AcDbObject& o, DxfTagEditor& ed)
    {
        auto& l = static_cast<AcDbLayerTableRecord&>(o);
        const std::string marker = DxfSymbolTableRecordCodec::saveName(l, "AcDbLayerTableRecord", ed);
        if (marker.empty())
            return;
        auto R = [&] { return ed.subclass(marker); };
        static const std::initializer_list<int> order = {2, 70, 62, 420, 6, 290, 370, 390, 347, 348};
        ed.setInt(R(), 70, l.flags(), order);
        AcCmColor c = l.color();
        int aci = c.colorIndex();
        if (aci <= 0 || aci > 255)
            aci = 7;
        ed.setInt(R(), 62, l.isOff() ? -aci : aci, order);
        if (c.isByColor() && db.data().header.acadver >= "AC1018")
            ed.setInt(R(), 420, c.trueColor(), order);
        else
            ed.remove(R(), 420);
        ed.setString(R(), 6, l.linetypeName(), order);
        if (!l.isPlottable())
            ed.setInt(R(), 290, 0, order);
        else
            ed.remove(R(), 290);
        ed.setInt(R(), 370, l.lineWeight(), order);
    }

    // A new layer copies the plot-style and material pointers of layer 0.
    static void skeleton(AcDbDatabase& db, std::vector<DxfTag>& out)
    {
        DxfSymbolTableRecordCodec::skeleton(db, out, "AcDbLayerTableRecord");
        add(db, out, 70, "0");
        add(db, out, 62, "7");
        add(db, out, 6, "Continuous");
        AcDbDatabaseData& d = db.data();
        auto* layers = d.layerTable ? static_cast<AcDbSymbolTable*>(db.objectOf(d.layerTable)) : nullptr;
        AcDbObjectId zero;
        if (layers && layers->getAt("0", zero) == Acad::eOk && zero.stub()->tagCount > 0) {
            std::vector<DxfTag> scratch;
            const DxfTag* tags = d.tagsOf(*zero.stub(), scratch);
            for (uint32_t i = 0; i < zero.stub()->tagCount; ++i) {
                const DxfTag& t = tags[i];
                if (t.code == 390 || t.code == 347 || t.code == 348)
                    out.push_back(t);
                if (t.code == 1001)
                    break;
            }
        }
    }
};

extern const DxfCodecFunctions kDxfLayerTableRecordCodec = {
    &DxfLayerTableRecordCodec::create, &DxfLayerTableRecordCodec::load, &DxfLayerTableRecordCodec::save,
    &DxfLayerTableRecordCodec::skeleton};
