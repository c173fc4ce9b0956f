#pragma once
#include <vector>

#include "host/db/AcDbObjectId.h"

class AcDbEntity;

// Walks a list of entity ids (a block reference's attributes), skipping
// erased ones. Created by the owner; the caller deletes it.
class AcDbObjectIterator {
public:
    explicit AcDbObjectIterator(std::vector<AcDbObjectId> ids);

    void start() { pos_ = 0; skipErased(); }
    bool done() const { return pos_ >= ids_.size(); }
    void step() { ++pos_; skipErased(); }
    // The current id; null when done.
    AcDbObjectId objectId() const { return done() ? AcDbObjectId::kNull : ids_[pos_]; }
    // Same as objectId (kept for callers written against that name).
    AcDbObjectId id() const { return objectId(); }

private:
    void skipErased();

    std::vector<AcDbObjectId> ids_;
    size_t pos_ = 0;
};
