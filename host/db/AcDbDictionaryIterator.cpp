#include "host/db/AcDbDictionaryIterator.h"

#include "host/db/AcDbOpen.h"

Acad::ErrorStatus AcDbDictionaryIterator::getObject(AcDbObject*& object, AcDb::OpenMode mode) const
{
    object = nullptr;
    if (done())
        return Acad::eInvalidIndex;
    return acdbOpenObject(object, entries_[pos_].id, mode);
}
