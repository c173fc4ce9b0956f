#pragma once
#include <vector>

#include "host/db/AcDbObjectId.h"

class AcDbEntity;

// Walks a list of entity ids (a block reference's attributes), skipping
// erased ones. Created by the owner; the caller deletes it. The ids are the
// iterator's own copy, so changes to the owner's list do not reach a walk
// under way; the few a reference mostly has are kept in the iterator itself
// (commands walk the attributes of every space block, several times each).
class AcDbObjectIterator {
public:
    explicit AcDbObjectIterator(std::vector<AcDbObjectId> ids);

    void start() { pos_ = 0; skipErased(); }
    bool done() const { return pos_ >= size_; }
    void step() { ++pos_; skipErased(); }
    // The current id; null when done.
    AcDbObjectId objectId() const { return done() ? AcDbObjectId::kNull : at(pos_); }
    // Same as objectId (kept for callers written against that name).
    AcDbObjectId id() const { return objectId(); }

private:
    friend class AcDbBlockReference;
    // Empty, for the owner to append its ids and then start.
    AcDbObjectIterator() = default;
    void append(AcDbObjectId id);

    static constexpr size_t kLocal = 8;
    const AcDbObjectId& at(size_t i) const { return size_ > kLocal ? spilled_[i] : local_[i]; }
    void skipErased();

    AcDbObjectId local_[kLocal];
    std::vector<AcDbObjectId> spilled_;  // all the ids, when there are more than kLocal
    size_t size_ = 0;
    size_t pos_ = 0;
};
