#pragma once
#include <vector>

#include "host/db/AcDb.h"
#include "host/db/AcDbObjectId.h"
#include "host/db/AcadErrorStatus.h"

class AcDbEntity;

// Walks the entities of a block table record in order, skipping erased ones.
// Made by newIterator; the caller deletes it.
class AcDbBlockTableRecordIterator {
public:
    explicit AcDbBlockTableRecordIterator(std::vector<AcDbObjectId> ids);

    void start(bool atBeginning = true, bool skipDeleted = true);
    bool done() const { return pos_ >= ids_.size(); }
    void step(bool forward = true, bool skipDeleted = true);
    // eInvalidIndex when done.
    Acad::ErrorStatus getEntityId(AcDbObjectId& id) const;
    // Opens the current entity; eInvalidIndex when done, else the open status.
    Acad::ErrorStatus getEntity(AcDbEntity*& entity, AcDb::OpenMode mode = AcDb::kForRead,
                                bool openErased = false) const;

private:
    void skip();

    std::vector<AcDbObjectId> ids_;
    size_t pos_ = 0;
};
