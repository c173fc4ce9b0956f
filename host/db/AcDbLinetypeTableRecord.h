#pragma once
#include <vector>

#include "host/db/AcDbSymbolTableRecord.h"

// A linetype of simple dashes: lengths > 0 are dashes, < 0 gaps, 0 dots.
class AcDbLinetypeTableRecord : public AcDbSymbolTableRecord {
public:
    AcDbLinetypeTableRecord() = default;

    static const AcRxClass* desc();
    const AcRxClass* isA() const override { return desc(); }
    AcDbObjectKind kind() const override { return AcDbObjectKind::LinetypeTableRecord; }

    const char* comments() const { return comments_.c_str(); }
    Acad::ErrorStatus setComments(const char* text);
    int numDashes() const { return static_cast<int>(dashes_.size()); }
    // Sets the number of dashes; new ones are 0.
    void setNumDashes(int count);
    // The dash length; 0 for an index out of range.
    double dashLengthAt(int index) const;
    // eInvalidIndex for an index out of range.
    Acad::ErrorStatus setDashLengthAt(int index, double length);
    double patternLength() const { return patternLength_; }
    Acad::ErrorStatus setPatternLength(double length);

    // True when the pattern has shape or text elements, which are kept as read.
    bool isComplex() const { return complex_; }

private:
    friend class DxfLinetypeTableRecordCodec;

    std::string comments_;
    std::vector<double> dashes_;
    double patternLength_ = 0.0;
    bool complex_ = false;  // has shape or text elements: kept as read
};
