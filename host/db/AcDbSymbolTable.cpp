#include "host/db/AcDbSymbolTable.h"

#include <cctype>

#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbOpen.h"
#include "host/db/AcDbSymbolTableIterator.h"
#include "host/db/AcDbSymbolTableRecord.h"

const AcRxClass* AcDbSymbolTable::desc()
{
    static const AcRxClass cls("AcDbSymbolTable", "TABLE", AcDbObject::desc());
    return &cls;
}

const AcRxClass* AcDbSymbolTable::isA() const { return desc(); }

void AcDbSymbolTable::adoptRecord(AcDbStub* record, const std::string& name)
{
    records_.push_back(record);
    byName_.insertIfAbsent(name, record);  // a repeated name keeps the first record
}

void AcDbSymbolTable::reserveRecords(size_t count)
{
    records_.reserve(count);
    byName_.reserve(count);
}

Acad::ErrorStatus AcDbSymbolTable::getAt(const char* name, AcDbObjectId& id, bool getErased) const
{
    id.setNull();
    if (!name)
        return Acad::eInvalidInput;
    AcDbStub* record = byName_.find(name);
    if (!record || (record->erased && !getErased))
        return Acad::eKeyNotFound;
    id = AcDbObjectId(record);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTable::getAt(const char* name, AcDbSymbolTableRecord*& record, AcDb::OpenMode mode,
                                         bool openErased) const
{
    record = nullptr;
    AcDbObjectId id;
    Acad::ErrorStatus es = getAt(name, id, openErased);
    if (es != Acad::eOk)
        return es;
    return acdbOpenObject(record, id, mode, openErased);
}

bool AcDbSymbolTable::has(const char* name) const
{
    AcDbObjectId id;
    return getAt(name, id) == Acad::eOk;
}

bool AcDbSymbolTable::has(AcDbObjectId id) const
{
    for (AcDbStub* s : records_)
        if (s == id.stub())
            return !s->erased;
    return false;
}

bool AcDbSymbolTable::accepts(const AcDbSymbolTableRecord* record) const { return record != nullptr; }

Acad::ErrorStatus AcDbSymbolTable::add(AcDbObjectId& id, AcDbSymbolTableRecord* record)
{
    id.setNull();
    if (!record || !accepts(record))
        return Acad::eInvalidInput;
    if (!database())
        return Acad::eNotInDatabase;
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    const std::string& name = record->name();
    const bool anonymous = dynamic_cast<AcDbBlockTableRecord*>(record) && name.size() > 1 && name[0] == '*'
                           && AcDbSymbolTableRecord::isValidName(name.substr(1));
    if (!anonymous && !AcDbSymbolTableRecord::isValidName(name))
        return Acad::eInvalidInput;
    // An anonymous block named by its kind alone ("*T", "*U") takes the next free number.
    if (anonymous && name.size() == 2 && std::isalpha(static_cast<unsigned char>(name[1]))) {
        for (int n = 1;; ++n) {
            const std::string numbered = name + std::to_string(n);
            if (!has(numbered.c_str()) && !heldByOrphanBlock(numbered)) {
                record->name_ = numbered;
                break;
            }
        }
    }
    if (has(record->name().c_str()) || heldByOrphanBlock(record->name()))
        return Acad::eDuplicateRecordName;
    AcDbDatabase* db = database();
    Acad::ErrorStatus es = db->attach(record, objectId(), false);
    if (es != Acad::eOk)
        return es;
    records_.push_back(record->objectId().stub());
    byName_.assign(record->name(), record->objectId().stub());
    if (auto* block = dynamic_cast<AcDbBlockTableRecord*>(record)) {
        // A new block definition gets its BLOCK and ENDBLK entities.
        for (AcDbObjectKind k : {AcDbObjectKind::BlockBegin, AcDbObjectKind::BlockEnd}) {
            auto* marker = new AcDbEntity();
            db->attach(marker, record->objectId(), true);
            AcDbStub* s = marker->objectId().stub();
            s->kind = static_cast<uint8_t>(k);
            marker->close();
            (k == AcDbObjectKind::BlockBegin ? block->blockBegin : block->blockEnd) = s;
        }
        db->data().blocks.push_back({record->objectId().stub(), {}});
    }
    id = record->objectId();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTable::rename(AcDbStub* record, const std::string& oldName, const std::string& newName)
{
    AcDbStub* holder = byName_.find(newName);
    if (holder && holder != record && !holder->erased)
        return Acad::eDuplicateRecordName;
    if (!AcDbSymbolNames::equal(oldName, newName) && heldByOrphanBlock(newName))
        return Acad::eDuplicateRecordName;
    if (AcDbDatabase* db = database())
        db->noteWrite(objectId().stub());
    byName_.eraseIfHeldBy(oldName, record);
    byName_.assign(newName, record);
    // Only the first record to leave a name keeps it: objects that stored
    // the name before then meant that record.
    if (!oldName.empty())
        renamedFrom_.insertIfAbsent(oldName, record);
    return Acad::eOk;
}

bool AcDbSymbolTable::heldByOrphanBlock(std::string_view name) const
{
    AcDbDatabase* db = database();
    if (!db || db->data().blockTable != objectId().stub())
        return false;
    for (const std::string& orphan : db->data().orphanBlockNames)
        if (AcDbSymbolNames::equal(orphan, name))
            return true;
    return false;
}

AcDbStub* AcDbSymbolTable::renamedFrom(std::string_view name) const
{
    if (renamedFrom_.empty())
        return nullptr;
    AcDbStub* record = renamedFrom_.find(name);
    return record && !record->erased ? record : nullptr;
}

AcDbStub* AcDbSymbolTable::resolveStoredName(std::string_view name) const
{
    if (AcDbStub* renamed = renamedFrom(name))
        return renamed;
    AcDbStub* record = byName_.find(name);
    return record && !record->erased ? record : nullptr;
}

Acad::ErrorStatus AcDbSymbolTable::newIterator(AcDbSymbolTableIterator*& iterator, bool atBeginning, bool skipDeleted) const
{
    std::vector<AcDbObjectId> ids;
    for (AcDbStub* s : records_)
        ids.emplace_back(s);
    iterator = new AcDbSymbolTableIterator(std::move(ids), skipDeleted);
    if (!atBeginning)
        iterator->start(false, skipDeleted);
    return Acad::eOk;
}

std::vector<AcDbObjectId> AcDbSymbolTable::recordIds() const
{
    std::vector<AcDbObjectId> ids;
    for (AcDbStub* s : records_)
        if (!s->erased)
            ids.emplace_back(s);
    return ids;
}

namespace {

struct SymbolTableLinks {
    std::vector<AcDbStub*> records;
    std::vector<std::pair<std::string, AcDbStub*>> byName;
    std::vector<std::pair<std::string, AcDbStub*>> renamedFrom;
};

}  // namespace

std::any AcDbSymbolTable::undoLinks() const
{
    SymbolTableLinks links;
    links.records = records_;
    links.byName = byName_.entries();
    links.renamedFrom = renamedFrom_.entries();
    return links;
}

void AcDbSymbolTable::setUndoLinks(const std::any& any)
{
    const auto* links = std::any_cast<SymbolTableLinks>(&any);
    if (!links)
        return;
    records_ = links->records;
    byName_.clear();
    for (const auto& [name, record] : links->byName)
        byName_.insertIfAbsent(name, record);
    renamedFrom_.clear();
    for (const auto& [name, record] : links->renamedFrom)
        renamedFrom_.insertIfAbsent(name, record);
}
