#pragma once
// An ordered list of graphic reports; it owns them. The database loading
// and the batch loop over the list live in GraphicReportsBatch.cpp.

#include <memory>
#include <vector>

#include "reports/GraphicReport.h"

class CServerPreferenceDocMon;
class CStoredProcedure;

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

    // Appends every report of the database with that status, each loaded with
    // getGraphicReport. Returns the number loaded.
    int getGraphicReports(CStoredProcedure& sp, const CServerPreferenceDocMon& server, int32_t statusID,
                          uint32_t timeout);
    // prepareReport for each report in order, letting the host handle pending
    // events after each. The first failure ends the loop and is thrown.
    // Returns the number of reports prepared.
    int prepareReports(CStoredProcedure& sp, uint32_t timeout);

private:
    std::vector<std::unique_ptr<CGraphicReport>> items_;
};
