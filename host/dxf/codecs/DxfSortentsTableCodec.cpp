#include "host/db/AcDbSortentsTable.h"
#include "host/dxf/DxfCodec.h"
#include "host/dxf/DxfTagEditor.h"
#include "host/dxf/DxfValue.h"
#include "host/dxf/codecs/DxfCodecSupport.h"

using namespace DxfCodecSupport;

// SORTENTSTABLE: the block (330) and the draw order (331 entity, 5 sort handle).
class DxfSortentsTableCodec {
public:
    static AcDbObject* create(const AcDbStub&) { return new AcDbSortentsTable(); }

    static void load(AcDbDatabase& db, AcDbObject& o, const DxfTag* t, size_t end, const DxfCodepage&)
    {
        auto& x = static_cast<AcDbSortentsTable&>(o);
        forEachTagIn(t, end, {"AcDbSortentsTable"}, [&](size_t& i) {
            if (t[i].code == 330) x.block_ = idOf(db, handleOf(t[i]));
            else if (t[i].code == 331) x.entries_.push_back({idOf(db, handleOf(t[i])), AcDbHandle()});
            else if (t[i].code == 5 && !x.entries_.empty()) x.entries_.back().sortHandle = AcDbHandle(handleOf(t[i]));
        });
    }

    static void save(AcDbDatabase&, AcDbObject& o, DxfTagEditor& ed)
    {
        auto& x = static_cast<AcDbSortentsTable&>(o);
        auto r = ed.subclass("AcDbSortentsTable");
        auto& t = ed.tags();
        t.erase(t.begin() + static_cast<long>(r.begin), t.begin() + static_cast<long>(r.end));
        std::vector<DxfTag> body{ed.make(330, DxfValue::fromHandle(x.blockId().handle().value()))};
        for (const auto& e : x.entries()) {
            if (e.entity.isErased())
                continue;
            body.push_back(ed.make(331, DxfValue::fromHandle(e.entity.handle().value())));
            body.push_back(ed.make(5, DxfValue::fromHandle(e.sortHandle.value())));
        }
        ed.insert(r.begin, body);
    }

    static void skeleton(AcDbDatabase& db, std::vector<DxfTag>& out) { add(db, out, 100, "AcDbSortentsTable"); }
};

extern const DxfCodecFunctions kDxfSortentsTableCodec = {&DxfSortentsTableCodec::create, &DxfSortentsTableCodec::load,
                                                         &DxfSortentsTableCodec::save, &DxfSortentsTableCodec::skeleton};
