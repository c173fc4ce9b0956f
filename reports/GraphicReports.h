#pragma once
// An ordered list of graphic reports; it owns them. The database loading
// and the batch loop over the list arrive with the batch side.

#include <memory>
#include <vector>

#include "reports/GraphicReport.h"

class CGraphicReports {
public:
    CGraphicReports() = default;
    CGraphicReports(const CGraphicReports&) = delete;
    CGraphicReports& operator=(const CGraphicReports&) = delete;
    ~CGraphicReports() { deleteObjects(); }

    // Appends the report and takes ownership; a null report is not added.
    void addGraphicReport(std::unique_ptr<CGraphicReport> report);
    int getCount() const { return static_cast<int>(items_.size()); }
    // The report at index; throws a CEXUnhandled chain for an index out of range.
    CGraphicReport& getAt(int index) const;
    // Frees every report and empties the list.
    void deleteObjects() { items_.clear(); }

private:
    std::vector<std::unique_ptr<CGraphicReport>> items_;
};
