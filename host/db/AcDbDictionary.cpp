#include "host/db/AcDbDictionary.h"

#include <strings.h>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbDictionaryIterator.h"
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbOpen.h"

const AcRxClass* AcDbDictionary::desc()
{
    static const AcRxClass cls("AcDbDictionary", "DICTIONARY", AcDbObject::desc());
    return &cls;
}

const AcRxClass* AcDbDictionary::isA() const { return desc(); }

int AcDbDictionary::find(const char* key) const
{
    if (!key)
        return -1;
    for (size_t i = 0; i < entries_.size(); ++i)
        if (!entries_[i].id.isErased() && strcasecmp(entries_[i].key.c_str(), key) == 0)
            return static_cast<int>(i);
    return -1;
}

Acad::ErrorStatus AcDbDictionary::getAt(const char* key, AcDbObjectId& id) const
{
    int i = find(key);
    if (i < 0) {
        id.setNull();
        return Acad::eKeyNotFound;
    }
    id = entries_[static_cast<size_t>(i)].id;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDictionary::getAt(const char* key, AcDbObject*& object, AcDb::OpenMode mode) const
{
    object = nullptr;
    AcDbObjectId id;
    Acad::ErrorStatus es = getAt(key, id);
    if (es != Acad::eOk)
        return es;
    return acdbOpenObject(object, id, mode);
}

bool AcDbDictionary::has(const char* key) const { return find(key) >= 0; }

bool AcDbDictionary::has(AcDbObjectId id) const
{
    for (const Entry& e : entries_)
        if (e.id == id)
            return !id.isErased();
    return false;
}

Acad::ErrorStatus AcDbDictionary::setAt(const char* key, AcDbObject* object, AcDbObjectId& id)
{
    id.setNull();
    if (!key || !*key || !object || dynamic_cast<AcDbEntity*>(object))
        return Acad::eInvalidInput;
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    AcDbDatabase* db = database();
    if (!db)
        return Acad::eNotInDatabase;
    if (object->objectId().isNull()) {
        Acad::ErrorStatus es = db->attach(object, objectId(), false);
        if (es != Acad::eOk)
            return es;
        db->data().objects.push_back(object->objectId().stub());
    }
    id = object->objectId();
    int i = find(key);
    if (i >= 0)
        entries_[static_cast<size_t>(i)].id = id;
    else
        entries_.push_back({key, id});
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbDictionary::remove(const char* key)
{
    AcDbObjectId id;
    return remove(key, id);
}

Acad::ErrorStatus AcDbDictionary::remove(const char* key, AcDbObjectId& id)
{
    int i = find(key);
    if (i < 0)
        return Acad::eKeyNotFound;
    id = entries_[static_cast<size_t>(i)].id;
    entries_.erase(entries_.begin() + i);
    return assertWriteEnabled();
}

AcDbDictionaryIterator* AcDbDictionary::newIterator() const
{
    std::vector<Entry> live;
    for (const Entry& e : entries_)
        if (!e.id.isErased())
            live.push_back(e);
    return new AcDbDictionaryIterator(std::move(live));
}

void AcDbDictionary::setTreatElementsAsHard(bool hard)
{
    hardOwner_ = hard;
    assertWriteEnabled();
}
