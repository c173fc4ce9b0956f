#include "host/db/AcDbBlockTableRecordIterator.h"

#include "host/db/AcDbEntity.h"
#include "host/db/AcDbOpen.h"

AcDbBlockTableRecordIterator::AcDbBlockTableRecordIterator(std::vector<AcDbObjectId> ids) : ids_(std::move(ids)) { skip(); }

void AcDbBlockTableRecordIterator::skip()
{
    while (pos_ < ids_.size() && ids_[pos_].isErased())
        ++pos_;
}

void AcDbBlockTableRecordIterator::start(bool atBeginning, bool)
{
    pos_ = atBeginning ? 0 : ids_.size();
    skip();
}

void AcDbBlockTableRecordIterator::step(bool, bool)
{
    ++pos_;
    skip();
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::getEntityId(AcDbObjectId& id) const
{
    if (done())
        return Acad::eInvalidIndex;
    id = ids_[pos_];
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::getEntity(AcDbEntity*& entity, AcDb::OpenMode mode, bool openErased) const
{
    entity = nullptr;
    if (done())
        return Acad::eInvalidIndex;
    return acdbOpenAcDbEntity(entity, ids_[pos_], mode, openErased);
}
