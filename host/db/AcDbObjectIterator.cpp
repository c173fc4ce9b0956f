#include "host/db/AcDbObjectIterator.h"

AcDbObjectIterator::AcDbObjectIterator(std::vector<AcDbObjectId> ids)
{
    if (ids.size() > kLocal) {
        size_ = ids.size();
        spilled_ = std::move(ids);
    } else {
        for (const AcDbObjectId& id : ids)
            append(id);
    }
    skipErased();
}

void AcDbObjectIterator::append(AcDbObjectId id)
{
    if (size_ < kLocal) {
        local_[size_++] = id;
        return;
    }
    if (size_ == kLocal)
        spilled_.assign(local_, local_ + kLocal);
    spilled_.push_back(id);
    ++size_;
}

void AcDbObjectIterator::skipErased()
{
    while (pos_ < size_ && at(pos_).isErased())
        ++pos_;
}
