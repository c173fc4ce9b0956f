#pragma once
#include <algorithm>

#include "host/ge/AcGeMatrix3d.h"
#include "host/ge/AcGePoint3d.h"

// An axis-aligned box in world coordinates. A new box is empty (its minimum
// lies above its maximum) until a point is added.
class AcDbExtents {
public:
    AcDbExtents() = default;
    AcDbExtents(const AcGePoint3d& min, const AcGePoint3d& max) : min_(min), max_(max) {}

    const AcGePoint3d& minPoint() const { return min_; }
    const AcGePoint3d& maxPoint() const { return max_; }
    bool isValid() const { return min_.x <= max_.x && min_.y <= max_.y && min_.z <= max_.z; }
    void set(const AcGePoint3d& min, const AcGePoint3d& max) { min_ = min; max_ = max; }
    void addPoint(const AcGePoint3d& p)
    {
        min_.set(std::min(min_.x, p.x), std::min(min_.y, p.y), std::min(min_.z, p.z));
        max_.set(std::max(max_.x, p.x), std::max(max_.y, p.y), std::max(max_.z, p.z));
    }
    void addExt(const AcDbExtents& e)
    {
        if (e.isValid()) {
            addPoint(e.min_);
            addPoint(e.max_);
        }
    }
    // Grows the box by margin on every side.
    void expandBy(double margin)
    {
        min_.set(min_.x - margin, min_.y - margin, min_.z - margin);
        max_.set(max_.x + margin, max_.y + margin, max_.z + margin);
    }
    // Replaces the box by the box around its eight transformed corners.
    void transformBy(const AcGeMatrix3d& m)
    {
        if (!isValid())
            return;
        AcDbExtents out;
        for (int i = 0; i < 8; ++i)
            out.addPoint(m * AcGePoint3d(i & 1 ? max_.x : min_.x, i & 2 ? max_.y : min_.y, i & 4 ? max_.z : min_.z));
        *this = out;
    }

private:
    AcGePoint3d min_{1e300, 1e300, 1e300};
    AcGePoint3d max_{-1e300, -1e300, -1e300};
};
