#pragma once
#include <string>
#include <vector>

#include "host/db/AcDbObject.h"

class AcDbDictionaryIterator;

// A dictionary: named entries pointing at objects, in insertion order. Keys
// compare without regard to case. A hard-owning dictionary (extension
// dictionaries) owns its entries; others refer to them.
class AcDbDictionary : public AcDbObject {
public:
    AcDbDictionary() = default;

    static const AcRxClass* desc();
    const AcRxClass* isA() const override;
    AcDbObjectKind kind() const override { return AcDbObjectKind::Dictionary; }

    // eKeyNotFound when there is no such entry.
    Acad::ErrorStatus getAt(const char* key, AcDbObjectId& id) const;
    // Opens the entry's object; eKeyNotFound, or the open status.
    Acad::ErrorStatus getAt(const char* key, AcDbObject*& object, AcDb::OpenMode mode) const;
    bool has(const char* key) const;
    bool has(AcDbObjectId id) const;
    // Adds or replaces an entry. A new object (not in a database) is added
    // to the dictionary's database, owned by the dictionary and left open
    // for write; the caller closes it. eNotOpenForWrite, eInvalidInput.
    Acad::ErrorStatus setAt(const char* key, AcDbObject* object, AcDbObjectId& id);
    // Removes the entry (the object stays); eKeyNotFound.
    Acad::ErrorStatus remove(const char* key);
    Acad::ErrorStatus remove(const char* key, AcDbObjectId& id);
    // The entries in order; the caller deletes the iterator.
    AcDbDictionaryIterator* newIterator() const;
    bool isHardOwner() const { return hardOwner_; }
    void setTreatElementsAsHard(bool hard);

    struct Entry {
        std::string key;
        AcDbObjectId id;
    };
    const std::vector<Entry>& entries() const { return entries_; }

private:
    friend class DxfDictionaryCodec;
    int find(const char* key) const;

    std::vector<Entry> entries_;
    bool hardOwner_ = false;
    int cloning_ = 1;
};
