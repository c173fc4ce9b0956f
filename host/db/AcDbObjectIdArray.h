#pragma once
#include <vector>

#include "host/db/AcDbObjectId.h"

// An ordered list of object ids with the array calls the module uses.
class AcDbObjectIdArray : public std::vector<AcDbObjectId> {
public:
    using std::vector<AcDbObjectId>::vector;

    int length() const { return static_cast<int>(size()); }
    int logicalLength() const { return length(); }
    bool isEmpty() const { return empty(); }
    AcDbObjectIdArray& append(const AcDbObjectId& id) { push_back(id); return *this; }
    const AcDbObjectId& at(int i) const { return (*this)[static_cast<size_t>(i)]; }
    // True and the index when id is in the list.
    bool find(const AcDbObjectId& id, int& index) const
    {
        for (size_t i = 0; i < size(); ++i)
            if ((*this)[i] == id) {
                index = static_cast<int>(i);
                return true;
            }
        return false;
    }
    bool contains(const AcDbObjectId& id) const { int i; return find(id, i); }
    // Removes the entry at index; an index out of range is ignored.
    AcDbObjectIdArray& removeAt(int index)
    {
        if (index >= 0 && static_cast<size_t>(index) < size())
            erase(begin() + index);
        return *this;
    }
};
