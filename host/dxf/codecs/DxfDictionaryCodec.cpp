#include <algorithm>

#include "host/base/DxfCodepage.h"
#include "host/db/AcDbDictionary.h"
#include "host/dxf/DxfCodec.h"
#include "host/dxf/DxfTagEditor.h"
#include "host/dxf/DxfValue.h"
#include "host/dxf/codecs/DxfCodecSupport.h"

using namespace DxfCodecSupport;

// DICTIONARY: hard owner (280), cloning (281) and the entries (3 key, then
// 350 or 360 object).
class DxfDictionaryCodec {
public:
    static AcDbObject* create(const AcDbStub&) { return new AcDbDictionary(); }

    static void load(AcDbDatabase& db, AcDbObject& o, const DxfTag* t, size_t end, const DxfCodepage& cp)
    {
        auto& x = static_cast<AcDbDictionary&>(o);
        std::string key;
        forEachTagIn(t, end, {"AcDbDictionary"}, [&](size_t& i) {
            if (t[i].code == 280) x.hardOwner_ = integer(t[i]) == 1;
            else if (t[i].code == 281) x.cloning_ = static_cast<int>(integer(t[i]));
            else if (t[i].code == 3) key = cp.decode(t[i].value());
            else if (t[i].code == 350 || t[i].code == 360)
                x.entries_.push_back({key, idOf(db, handleOf(t[i]))});
        });
    }

    static void save(AcDbDatabase&, AcDbObject& o, DxfTagEditor& ed)
    {
        auto& x = static_cast<AcDbDictionary&>(o);
        auto r = ed.subclass("AcDbDictionary");
        ed.setInt(r, 280, x.hardOwner_ ? 1 : 0, {280, 281});
        r = ed.subclass("AcDbDictionary");
        ed.setInt(r, 281, x.cloning_, {280, 281});
        r = ed.subclass("AcDbDictionary");
        auto& t = ed.tags();
        size_t first = r.end, last = r.end;
        for (size_t i = r.begin; i < r.end; ++i)
            if (t[i].code == 3 || t[i].code == 350 || t[i].code == 360) {
                first = std::min(first, i);
                last = i + 1;
            }
        if (first == r.end)
            first = last = r.end;
        t.erase(t.begin() + static_cast<long>(first), t.begin() + static_cast<long>(last));
        std::vector<DxfTag> entries;
        for (const auto& e : x.entries()) {
            if (e.id.isErased())
                continue;
            entries.push_back(ed.make(3, ed.codepage().encode(e.key)));
            entries.push_back(ed.make(x.hardOwner_ ? 360 : 350, DxfValue::fromHandle(e.id.handle().value())));
        }
        ed.insert(first, entries);
    }

    static void skeleton(AcDbDatabase& db, std::vector<DxfTag>& out) { add(db, out, 100, "AcDbDictionary"); }
};

extern const DxfCodecFunctions kDxfDictionaryCodec = {&DxfDictionaryCodec::create, &DxfDictionaryCodec::load,
                                                      &DxfDictionaryCodec::save, &DxfDictionaryCodec::skeleton};
