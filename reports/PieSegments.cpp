#include "reports/PieSegments.h"

#include "infra/ZelkaExceptions.h"

void CPieSegments::add(std::unique_ptr<CPieSegment> segment)
{
    zelkaOperation(__FILE__, "CPieSegments::add", [&] {
        if (!segment) return;
        total_ += segment->getArea();
        items_.push_back(std::move(segment));
    });
}

void CPieSegments::addSegmentsToBlock(CAcadDrawing& drawing, AcDbBlockTableRecord* record, const CPieLayout& layout,
                                      bool ignoreEmpty)
{
    zelkaOperation(__FILE__, "CPieSegments::addSegmentsToBlock", [&] {
        double start = 0.0;
        for (const auto& segment : items_) {
            if (ignoreEmpty && segment->getArea() == 0.0) continue;
            segment->addSegmentToBlock(drawing, record, start, layout);
            start += segment->getArea();
        }
    });
}
