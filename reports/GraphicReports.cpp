#include "reports/GraphicReports.h"

#include "infra/ZelkaExceptions.h"

void CGraphicReports::addGraphicReport(std::unique_ptr<CGraphicReport> report)
{
    zelkaOperation(__FILE__, "CGraphicReports::addGraphicReport", [&] {
        if (report) items_.push_back(std::move(report));
    });
}

CGraphicReport& CGraphicReports::getAt(int index) const
{
    return zelkaOperation(__FILE__, "CGraphicReports::getAt",
                          [&]() -> CGraphicReport& { return *items_.at(static_cast<size_t>(index)); });
}
