#pragma once
#include <vector>

#include "host/db/AcDbObjectId.h"
#include "host/db/AcDb.h"
#include "host/db/AcadErrorStatus.h"

class AcDbSymbolTableRecord;

// Walks the records of a symbol table in order. Made by newIterator; the
// caller deletes it.
class AcDbSymbolTableIterator {
public:
    AcDbSymbolTableIterator(std::vector<AcDbObjectId> ids, bool skipDeleted);
    virtual ~AcDbSymbolTableIterator() = default;

    void start(bool atBeginning = true, bool skipDeleted = true);
    bool done() const { return pos_ >= ids_.size(); }
    void step(bool forward = true, bool skipDeleted = true);
    // Opens the current record; eInvalidIndex when done, else the open status.
    Acad::ErrorStatus getRecord(AcDbSymbolTableRecord*& record, AcDb::OpenMode mode = AcDb::kForRead,
                                bool openErased = false) const;

private:
    void skip();

    std::vector<AcDbObjectId> ids_;
    size_t pos_ = 0;
    bool skipDeleted_;
};
