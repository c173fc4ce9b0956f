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

std::string AcDbSymbolTable::key(const std::string& name)
{
    std::string k = name;
    for (char& c : k)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return k;
}

void AcDbSymbolTable::adoptRecord(AcDbStub* record, const std::string& name)
{
    records_.push_back(record);
    byName_.emplace(key(name), record);  // a repeated name keeps the first record
}

Acad::ErrorStatus AcDbSymbolTable::getAt(const char* name, AcDbObjectId& id, bool getErased) const
{
    id.setNull();
    if (!name)
        return Acad::eInvalidInput;
    auto it = byName_.find(key(name));
    if (it == byName_.end() || (it->second->erased && !getErased))
        return Acad::eKeyNotFound;
    id = AcDbObjectId(it->second);
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
        for (int n = 1;; ++n)
            if (!has((name + std::to_string(n)).c_str())) {
                record->name_ = name + std::to_string(n);
                break;
            }
    }
    if (has(record->name().c_str()))
        return Acad::eDuplicateRecordName;
    AcDbDatabase* db = database();
    Acad::ErrorStatus es = db->attach(record, objectId(), false);
    if (es != Acad::eOk)
        return es;
    records_.push_back(record->objectId().stub());
    byName_[key(record->name())] = record->objectId().stub();
    if (auto* block = dynamic_cast<AcDbBlockTableRecord*>(record)) {
        // A new block definition gets its BLOCK and ENDBLK entities.
        for (AcDbObjectKind k : {AcDbObjectKind::BlockBegin, AcDbObjectKind::BlockEnd}) {
            auto* marker = new AcDbEntity();
            db->attach(marker, record->objectId(), true);
            AcDbStub* s = marker->objectId().stub();
            s->kind = static_cast<uint16_t>(k);
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
    auto it = byName_.find(key(newName));
    if (it != byName_.end() && it->second != record && !it->second->erased)
        return Acad::eDuplicateRecordName;
    auto old = byName_.find(key(oldName));
    if (old != byName_.end() && old->second == record)
        byName_.erase(old);
    byName_[key(newName)] = record;
    return Acad::eOk;
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
