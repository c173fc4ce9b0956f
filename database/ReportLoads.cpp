#include "database/ReportLoads.h"

#include <memory>

#include "database/CallParameters.h"
#include "database/ProcedureCalls.h"
#include "database/Recordset.h"
#include "database/StoredProcedure.h"
#include "infra/ZelkaExceptions.h"

using namespace callparameters;
using procedurecalls::forEachRow;

std::vector<int32_t> CReportLoads::getGraphicReports(uint8_t statusID)
{
    return zelkaOperation(__FILE__, "CReportLoads::getGraphicReports", [&] {
        CParameters list;
        addTinyInt(list, "@statusID", statusID);
        std::vector<int32_t> ids;
        forEachRow(sp_, list, "__gr_getGraphicReports", timeout_,
                   [&](const CRecordset& row) { ids.push_back(row.getInt("grID")); });
        return ids;
    });
}

bool CReportLoads::getGraphicReport(int32_t graphicReportID, CReportHeaderRecord& h)
{
    return zelkaOperation(__FILE__, "CReportLoads::getGraphicReport", [&] {
        CParameters list;
        addInt(list, "@graphicReportID", graphicReportID);
        auto rows = procedurecalls::rows(sp_, list, "__gr_getGraphicReport", timeout_);
        if (!rows || rows->isEOF()) return false;
        h.title = rows->getString("grTitle");
        h.drawingPath = rows->getString("grDrawingPath");
        h.drawingFilename = rows->getString("grDrawingFilename");
        h.plotLayout = rows->getString("grPlotLayout");
        h.plotTypeID = rows->getInt("grPlotTypeID");
        h.plotAreaTypeID = rows->getInt("grPlotAreaTypeID");
        h.plotMediaSizeID = rows->getInt("grPlotMediaSizeID");
        h.plotScaleTypeID = rows->getInt("grPlotScaleTypeID");
        h.plotCentred = rows->getBool("grPlotCentred");
        h.outputPath = rows->getString("grOutputPath");
        h.outputFilename = rows->getString("grOutputFilename");
        h.saveCopyTo = rows->getString("grSaveCopyTo");
        h.xmlOutputTo = rows->getString("grXMLOutputTo");
        h.totalChildAreas = rows->getDouble("grTotalChildAreas");
        return true;
    });
}

std::vector<CCategoryRecord> CReportLoads::getReportCategories(int32_t graphicReportID)
{
    return zelkaOperation(__FILE__, "CReportLoads::getReportCategories", [&] {
        std::vector<CCategoryRecord> out;
        CParameters list;
        addInt(list, "@graphicReportID", graphicReportID);
        forEachRow(sp_, list, "__gr_getReportCategories", timeout_, [&](const CRecordset& row) {
            CCategoryRecord c;
            c.id = row.getInt("cID");
            c.title = row.getString("cTitle");
            c.hatchPattern = row.getString("cHatchPattern");
            c.hatchAngle = row.getDouble("cHatchAngle");
            c.hatchColour = row.getString("cHatchColour");
            c.hatchScale = row.getDouble("cHatchScale");
            c.hatchLayer = row.getString("cHatchLayer");
            out.push_back(c);
        });
        return out;
    });
}

std::vector<CCategoryBlockRecord> CReportLoads::getCategoryBlocks(int32_t categoryID)
{
    return zelkaOperation(__FILE__, "CReportLoads::getCategoryBlocks", [&] {
        std::vector<CCategoryBlockRecord> out;
        CParameters list;
        addInt(list, "@categoryID", categoryID);
        forEachRow(sp_, list, "__gr_getCategoryBlocks", timeout_, [&](const CRecordset& row) {
            CCategoryBlockRecord b;
            b.handle = row.getString("mbHandle");
            b.name = row.getString("mbName");
            b.code = row.getString("mbCode");
            b.area = row.getDouble("mbArea");
            b.swapName = row.getString("mbSwapName");
            b.swapArea = row.getString("mbSwapArea");
            b.swapAux = row.getString("mbSwapAux");
            out.push_back(b);
        });
        return out;
    });
}

std::vector<CLayerOnRecord> CReportLoads::getReportLayersOn(int32_t graphicReportID)
{
    return zelkaOperation(__FILE__, "CReportLoads::getReportLayersOn", [&] {
        std::vector<CLayerOnRecord> out;
        CParameters list;
        addInt(list, "@graphicReportID", graphicReportID);
        forEachRow(sp_, list, "__gr_getReportLayersOn", timeout_, [&](const CRecordset& row) {
            out.push_back({row.getString("loName"), row.getString("loDescription")});
        });
        return out;
    });
}

std::vector<CLinkLineRecord> CReportLoads::getReportLinkLines(int32_t graphicReportID)
{
    return zelkaOperation(__FILE__, "CReportLoads::getReportLinkLines", [&] {
        std::vector<CLinkLineRecord> out;
        CParameters list;
        addInt(list, "@graphicReportID", graphicReportID);
        forEachRow(sp_, list, "__gr_getReportLinkLines", timeout_, [&](const CRecordset& row) {
            out.push_back({row.getString("llStartHandle"), row.getString("llEndHandle"),
                           row.getString("llLayerName"), row.getString("llLabelText")});
        });
        return out;
    });
}

void CReportLoads::setGraphicReportStatus(int32_t graphicReportID, int32_t statusID)
{
    zelkaOperation(__FILE__, "CReportLoads::setGraphicReportStatus", [&] {
        CParameters list;
        addInt(list, "@graphicReportID", graphicReportID);
        addInt(list, "@statusID", statusID);
        procedurecalls::run(sp_, list, "__gr_setGraphicReportStatus", timeout_);
    });
}

void CReportLoads::setGraphicReportLayout(int32_t graphicReportID, const std::string& layout)
{
    zelkaOperation(__FILE__, "CReportLoads::setGraphicReportLayout", [&] {
        CParameters list;
        addInt(list, "@graphicReportID", graphicReportID);
        addVarChar(list, "@layout", layout);
        procedurecalls::run(sp_, list, "__gr_setGraphicReportLayout", timeout_);
    });
}
