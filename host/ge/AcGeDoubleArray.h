#pragma once
#include <vector>

// An ordered list of numbers with the array calls the module uses.
class AcGeDoubleArray : public std::vector<double> {
public:
    using std::vector<double>::vector;

    int length() const { return static_cast<int>(size()); }
    int logicalLength() const { return length(); }
    bool isEmpty() const { return empty(); }
    AcGeDoubleArray& append(double v) { push_back(v); return *this; }
};
