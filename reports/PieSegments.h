#pragma once
// The wedges of a pie chart, in order; owns them and keeps the running sum
// of their areas.

#include <memory>
#include <vector>

#include "reports/PieSegment.h"

class CPieSegments {
public:
    CPieSegments() = default;
    CPieSegments(const CPieSegments&) = delete;
    CPieSegments& operator=(const CPieSegments&) = delete;

    // Appends the segment, takes ownership and adds its area to the total.
    void add(std::unique_ptr<CPieSegment> segment);
    int getCount() const { return static_cast<int>(items_.size()); }
    CPieSegment& getAt(int index) const { return *items_.at(static_cast<size_t>(index)); }
    double getTotal() const { return total_; }

    // Draws every wedge in order into the open record, each starting where
    // the one before ended; an empty wedge is passed over when ignoreEmpty.
    void addSegmentsToBlock(CAcadDrawing& drawing, AcDbBlockTableRecord* record, const CPieLayout& layout,
                            bool ignoreEmpty);

private:
    std::vector<std::unique_ptr<CPieSegment>> items_;
    double total_ = 0.0;
};
