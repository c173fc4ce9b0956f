#pragma once
#include <vector>

#include "host/ge/AcGePoint2d.h"

// An ordered list of plane points with the array calls the module uses.
class AcGePoint2dArray : public std::vector<AcGePoint2d> {
public:
    using std::vector<AcGePoint2d>::vector;

    int length() const { return static_cast<int>(size()); }
    int logicalLength() const { return length(); }
    bool isEmpty() const { return empty(); }
    AcGePoint2dArray& append(const AcGePoint2d& p) { push_back(p); return *this; }
};
