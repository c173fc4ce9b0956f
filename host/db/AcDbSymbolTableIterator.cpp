#include "host/db/AcDbSymbolTableIterator.h"

#include "host/db/AcDbOpen.h"
#include "host/db/AcDbSymbolTableRecord.h"

AcDbSymbolTableIterator::AcDbSymbolTableIterator(std::vector<AcDbObjectId> ids, bool skipDeleted)
    : ids_(std::move(ids)), skipDeleted_(skipDeleted)
{
    skip();
}

void AcDbSymbolTableIterator::skip()
{
    while (skipDeleted_ && pos_ < ids_.size() && ids_[pos_].isErased())
        ++pos_;
}

void AcDbSymbolTableIterator::start(bool atBeginning, bool skipDeleted)
{
    skipDeleted_ = skipDeleted;
    pos_ = atBeginning ? 0 : ids_.size();
    skip();
}

void AcDbSymbolTableIterator::step(bool, bool skipDeleted)
{
    skipDeleted_ = skipDeleted;
    ++pos_;
    skip();
}

Acad::ErrorStatus AcDbSymbolTableIterator::getRecord(AcDbSymbolTableRecord*& record, AcDb::OpenMode mode,
                                                     bool openErased) const
{
    record = nullptr;
    if (done())
        return Acad::eInvalidIndex;
    return acdbOpenObject(record, ids_[pos_], mode, openErased);
}
