#include "host/db/AcDbLayoutManager.h"

#include <strings.h>

#include <algorithm>
#include <unordered_set>
#include <vector>

#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbDictionary.h"
#include "host/db/AcDbLayout.h"
#include "host/db/AcDbOpen.h"
#include "host/db/AcDbSymbolTable.h"

namespace {

constexpr const char* kActivePaperSpace = "*Paper_Space";

const AcDbDatabase* drawingOr(const AcDbDatabase* db) { return db ? db : acdbWorkingDatabase(); }

// The layouts listed in the drawing's ACAD_LAYOUT dictionary, in its order.
std::vector<AcDbLayout*> layoutsOf(const AcDbDatabase& cdb)
{
    auto& db = const_cast<AcDbDatabase&>(cdb);
    std::vector<AcDbLayout*> out;
    AcDbObjectId dictId = db.layoutDictionaryId();
    auto* dict = dictId.isNull() ? nullptr : dynamic_cast<AcDbDictionary*>(db.objectOf(dictId.stub()));
    if (!dict)
        return out;
    for (const AcDbDictionary::Entry& e : dict->entries()) {
        if (e.id.isNull() || e.id.isErased() || e.id.database() != &db)
            continue;
        if (auto* layout = dynamic_cast<AcDbLayout*>(db.objectOf(e.id.stub())))
            out.push_back(layout);
    }
    return out;
}

AcDbLayout* layoutOfBlock(const AcDbDatabase& db, const AcDbStub* block)
{
    if (!block)
        return nullptr;
    for (AcDbLayout* layout : layoutsOf(db))
        if (layout->getBlockTableRecordId().stub() == block)
            return layout;
    return nullptr;
}

}  // namespace

void AcDbLayoutManager::setRecordName(AcDbSymbolTableRecord& record, const std::string& name) { record.name_ = name; }

// Makes record the active paper space: the block names of record and of the
// present active paper space (if any) trade places, and their entities trade
// sections (ENTITIES for the active one, its BLOCK for the other).
Acad::ErrorStatus AcDbLayoutManager::activatePaperSpace(AcDbDatabase& db, AcDbBlockTableRecord& record)
{
    AcDbDatabaseData& d = db.data();
    auto* table = d.blockTable ? dynamic_cast<AcDbSymbolTable*>(db.objectOf(d.blockTable)) : nullptr;
    if (!table)
        return Acad::eInvalidInput;
    AcDbStub* newStub = record.objectId().stub();
    AcDbStub* oldStub = d.paperSpace;
    auto* old = oldStub ? dynamic_cast<AcDbBlockTableRecord*>(db.objectOf(oldStub)) : nullptr;
    const std::string newName = record.name();
    const std::string activeName = old ? old->name() : std::string(kActivePaperSpace);
    const std::string parked = activeName + "|" + newName;  // a passing name no layout block has
    // Both blocks and their entities change without being opened for write.
    db.noteListsChange();
    for (AcDbBlockTableRecord* r : {old, &record})
        if (r) {
            db.noteWrite(r->objectId().stub());
            for (AcDbStub* s : r->entities)
                db.noteWrite(s);
        }
    if (old && table->rename(oldStub, activeName, parked) != Acad::eOk)
        return Acad::eDuplicateRecordName;
    if (table->rename(newStub, newName, activeName) != Acad::eOk)
        return Acad::eDuplicateRecordName;
    setRecordName(record, activeName);
    record.assertWriteEnabled();
    if (old) {
        table->rename(oldStub, parked, newName);
        setRecordName(*old, newName);
        old->assertWriteEnabled();
        std::unordered_set<AcDbStub*> leaving(old->entities.begin(), old->entities.end());
        std::erase_if(d.entities, [&](AcDbStub* s) { return leaving.count(s) != 0; });
        for (AcDbStub* s : old->entities)
            s->inBlocksSection = true;
    }
    for (AcDbStub* s : record.entities) {
        s->inBlocksSection = false;
        d.entities.push_back(s);
    }
    d.paperSpace = newStub;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLayoutManager::makeCurrent(AcDbDatabase& db, AcDbLayout& layout)
{
    AcDbStub* block = layout.getBlockTableRecordId().stub();
    if (!block || block->database != &db || block->erased)
        return Acad::eInvalidInput;
    AcDbDatabaseData& d = db.data();
    if (block == d.modelSpace)
        return db.setTilemode(true);
    auto* record = dynamic_cast<AcDbBlockTableRecord*>(db.objectOf(block));
    if (!record)
        return Acad::eInvalidInput;
    if (block != d.paperSpace) {
        Acad::ErrorStatus es = activatePaperSpace(db, *record);
        if (es != Acad::eOk)
            return es;
    }
    return db.setTilemode(false);
}

Acad::ErrorStatus AcDbLayoutManager::getActiveLayoutName(std::string& name, bool allowModel, const AcDbDatabase* db) const
{
    name.clear();
    db = drawingOr(db);
    if (!db)
        return Acad::eNullObjectPointer;
    const AcDbDatabaseData& d = db->data();
    AcDbLayout* layout = layoutOfBlock(*db, allowModel && db->tilemode() ? d.modelSpace : d.paperSpace);
    if (!layout)
        return Acad::eKeyNotFound;
    name = layout->layoutName();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLayoutManager::setCurrentLayout(const char* name, AcDbDatabase* db)
{
    if (!db)
        db = acdbWorkingDatabase();
    if (!db)
        return Acad::eNullObjectPointer;
    if (!name || !*name)
        return Acad::eInvalidInput;
    AcDbObjectId id = findLayoutNamed(name, db);
    if (id.isNull())
        return Acad::eKeyNotFound;
    return makeCurrent(*db, *static_cast<AcDbLayout*>(db->objectOf(id.stub())));
}

AcDbObjectId AcDbLayoutManager::findLayoutNamed(const char* name, const AcDbDatabase* db) const
{
    db = drawingOr(db);
    if (!db || !name)
        return AcDbObjectId();
    for (AcDbLayout* layout : layoutsOf(*db))
        if (strcasecmp(layout->layoutName().c_str(), name) == 0)
            return layout->objectId();
    return AcDbObjectId();
}

int AcDbLayoutManager::countLayouts(const AcDbDatabase* db) const
{
    db = drawingOr(db);
    return db ? static_cast<int>(layoutsOf(*db).size()) : 0;
}

AcDbLayoutManager* acdbLayoutManager()
{
    static AcDbLayoutManager manager;
    return &manager;
}
