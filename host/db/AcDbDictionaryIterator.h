#pragma once
#include <string>
#include <vector>

#include "host/db/AcDbDictionary.h"

// Walks a dictionary's entries in order. Made by newIterator; the caller deletes it.
class AcDbDictionaryIterator {
public:
    explicit AcDbDictionaryIterator(std::vector<AcDbDictionary::Entry> entries) : entries_(std::move(entries)) {}

    bool done() const { return pos_ >= entries_.size(); }
    bool next() { ++pos_; return !done(); }
    // The current key; "" when done.
    const char* name() const { return done() ? "" : entries_[pos_].key.c_str(); }
    AcDbObjectId objectId() const { return done() ? AcDbObjectId::kNull : entries_[pos_].id; }

private:
    std::vector<AcDbDictionary::Entry> entries_;
    size_t pos_ = 0;
};
