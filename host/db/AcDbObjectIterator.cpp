#include "host/db/AcDbObjectIterator.h"

AcDbObjectIterator::AcDbObjectIterator(std::vector<AcDbObjectId> ids) : ids_(std::move(ids)) { skipErased(); }

void AcDbObjectIterator::skipErased()
{
    while (pos_ < ids_.size() && ids_[pos_].isErased())
        ++pos_;
}
