#include "host/dxf/codecs/DxfBlockTableRecordCodec.h"

#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbStub.h"
#include "host/dxf/DxfCodec.h"
#include "host/dxf/DxfTable.h"
#include "host/dxf/DxfTagEditor.h"
#include "host/dxf/codecs/DxfCodecSupport.h"
#include "host/dxf/codecs/DxfSymbolTableRecordCodec.h"

using namespace DxfCodecSupport;

void DxfBlockTableRecordCodec::loadBlockBase(AcDbBlockTableRecord& record, const AcDbStub* blockBegin)
{
    if (!blockBegin)
        return;
    std::vector<DxfTag> scratch;
    const DxfTag* t = blockBegin->database->data().tagsOf(*blockBegin, scratch);
    const size_t end = dataEnd(t, blockBegin->tagCount);
    bool inGroup = false;
    for (size_t i = 1; i < end; ++i) {
        const int c = t[i].code;
        if (c == 102)
            inGroup = !t[i].value().empty() && t[i].value()[0] == '{';
        else if (inGroup)
            continue;
        else if (c == 10)
            record.origin_.x = real(t[i]);
        else if (c == 20)
            record.origin_.y = real(t[i]);
        else if (c == 30)
            record.origin_.z = real(t[i]);
    }
}

void DxfBlockTableRecordCodec::load(AcDbDatabase&, AcDbObject& o, const DxfTag* t, size_t end, const DxfCodepage& cp)
{
    auto& b = static_cast<AcDbBlockTableRecord&>(o);
    DxfSymbolTableRecordCodec::loadRecord(b, false, t, end, cp);
    DxfSymbolTableRecordCodec::forEachRecordTag(t, end, [&](const DxfTag& tag) {
        if (tag.code == 340)
            b.layoutHandle_ = handleOf(tag);
    });
}

namespace {

AcDbObject* create(const AcDbStub&) { return new AcDbBlockTableRecord(); }

void save(AcDbDatabase& db, AcDbObject& o, DxfTagEditor& ed)
{
    auto& b = static_cast<AcDbBlockTableRecord&>(o);
    const std::string marker = DxfSymbolTableRecordCodec::saveName(b, "AcDbBlockTableRecord", ed);
    if (marker.empty())
        return;
    ed.setHandle(ed.subclass(marker), 340, b.getLayoutId().handle().value(), {2, 340});
    if (o.isNewObject())
        DxfTable::saveBlockRefs(db, b, ed);
}

void skeleton(AcDbDatabase& db, std::vector<DxfTag>& out)
{
    DxfSymbolTableRecordCodec::skeleton(db, out, "AcDbBlockTableRecord");
    add(db, out, 340, "0");
    if (db.data().header.acadver >= "AC1021") {
        add(db, out, 70, "0");
        add(db, out, 280, "1");
        add(db, out, 281, "0");
    }
}

}  // namespace

extern const DxfCodecFunctions kDxfBlockTableRecordCodec = {&create, &DxfBlockTableRecordCodec::load, &save, &skeleton};
