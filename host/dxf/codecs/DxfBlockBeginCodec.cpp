#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbDatabase.h"
#include "host/dxf/DxfCodec.h"
#include "host/dxf/DxfTagEditor.h"
#include "host/dxf/codecs/DxfCodecSupport.h"

using namespace DxfCodecSupport;

// BLOCK: kept as a plain entity; saving writes the name (2, 3), flags (70,
// for a new block) and base point (10) of its block table record.
namespace {

void save(AcDbDatabase& db, AcDbObject& o, DxfTagEditor& ed)
{
    // BLOCK takes the name and base point of its record.
    AcDbStub* rec = o.ownerId().stub();
    auto* b = rec ? static_cast<AcDbBlockTableRecord*>(db.objectOf(rec)) : nullptr;
    if (!b)
        return;
    static const std::initializer_list<int> order = {2, 70, 10, 20, 30, 3, 1, 4};
    auto R = [&] {
        DxfTagEditor::Range r = ed.subclass("AcDbBlockBegin");
        if (r.found)
            return r;
        // A BLOCK whose subclass marker is missing or damaged: reading
        // took its name from its first group 2, so that tag and what
        // follows it are the block's own data (appending a second name
        // would make the saved file name another block).
        for (size_t i = 1; i < r.end; ++i)
            if (ed.tags()[i].code == 2) {
                r.begin = i;
                r.found = true;
                break;
            }
        return r;
    };
    ed.setString(R(), 2, b->name(), order);
    int flags = b->isAnonymous() ? 1 : 0;
    if (b->hasAttributeDefinitions())
        flags |= 2;
    if (o.isNewObject())
        ed.setInt(R(), 70, flags, order);
    ed.setPoint(R(), 10, b->origin().x, b->origin().y, b->origin().z, order);
    ed.setString(R(), 3, b->name(), order);
    if (!ed.has(R(), 1))
        ed.setRaw(R(), 1, "", order);
}

void skeleton(AcDbDatabase& db, std::vector<DxfTag>& out) { add(db, out, 100, "AcDbBlockBegin"); }

}  // namespace

extern const DxfCodecFunctions kDxfBlockBeginCodec = {nullptr, nullptr, &save, &skeleton};
