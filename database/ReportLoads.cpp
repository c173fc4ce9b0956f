#include "database/ReportLoads.h"

#include <memory>

#include "database/CallParameters.h"
#include "database/Recordset.h"
#include "database/StoredProcedure.h"
#include "infra/ZelkaExceptions.h"

using namespace callparameters;

namespace {

// Runs a result-set procedure with one integer argument; no result (not connected) gives none.
std::unique_ptr<CRecordset> rowsOf(CStoredProcedure& sp, uint32_t timeout, const char* procedure,
                                   const char* parameter, int32_t id)
{
    CParameters list;
    addInt(list, parameter, id);
    sp.setCommandTimeout(timeout);
    sp.setName(procedure);
    sp.setParameters(&list);
    auto rows = sp.execSPReturnParas();
    sp.setParameters(nullptr);
    return rows;
}

}  // namespace

std::vector<int32_t> CReportLoads::getGraphicReports(uint8_t statusID)
{
    return zelkaOperation(__FILE__, "CReportLoads::getGraphicReports", [&] {
        CParameters list;
        addTinyInt(list, "@statusID", statusID);
        sp_.setCommandTimeout(timeout_);
        sp_.setName("__gr_getGraphicReports");
        sp_.setParameters(&list);
        auto rows = sp_.execSPReturnParas();
        sp_.setParameters(nullptr);
        std::vector<int32_t> ids;
        for (; rows && !rows->isEOF(); rows->moveNext()) ids.push_back(rows->getInt("grID"));
        return ids;
    });
}

bool CReportLoads::getGraphicReport(int32_t graphicReportID, CReportHeaderRecord& h)
{
    return zelkaOperation(__FILE__, "CReportLoads::getGraphicReport", [&] {
        auto rows = rowsOf(sp_, timeout_, "__gr_getGraphicReport", "@graphicReportID", graphicReportID);
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
        auto rows = rowsOf(sp_, timeout_, "__gr_getReportCategories", "@graphicReportID", graphicReportID);
        for (; rows && !rows->isEOF(); rows->moveNext()) {
            CCategoryRecord c;
            c.id = rows->getInt("cID");
            c.title = rows->getString("cTitle");
            c.hatchPattern = rows->getString("cHatchPattern");
            c.hatchAngle = rows->getDouble("cHatchAngle");
            c.hatchColour = rows->getString("cHatchColour");
            c.hatchScale = rows->getDouble("cHatchScale");
            c.hatchLayer = rows->getString("cHatchLayer");
            out.push_back(c);
        }
        return out;
    });
}

std::vector<CCategoryBlockRecord> CReportLoads::getCategoryBlocks(int32_t categoryID)
{
    return zelkaOperation(__FILE__, "CReportLoads::getCategoryBlocks", [&] {
        std::vector<CCategoryBlockRecord> out;
        auto rows = rowsOf(sp_, timeout_, "__gr_getCategoryBlocks", "@categoryID", categoryID);
        for (; rows && !rows->isEOF(); rows->moveNext()) {
            CCategoryBlockRecord b;
            b.handle = rows->getString("mbHandle");
            b.name = rows->getString("mbName");
            b.code = rows->getString("mbCode");
            b.area = rows->getDouble("mbArea");
            b.swapName = rows->getString("mbSwapName");
            b.swapArea = rows->getString("mbSwapArea");
            b.swapAux = rows->getString("mbSwapAux");
            out.push_back(b);
        }
        return out;
    });
}

std::vector<CLayerOnRecord> CReportLoads::getReportLayersOn(int32_t graphicReportID)
{
    return zelkaOperation(__FILE__, "CReportLoads::getReportLayersOn", [&] {
        std::vector<CLayerOnRecord> out;
        auto rows = rowsOf(sp_, timeout_, "__gr_getReportLayersOn", "@graphicReportID", graphicReportID);
        for (; rows && !rows->isEOF(); rows->moveNext())
            out.push_back({rows->getString("loName"), rows->getString("loDescription")});
        return out;
    });
}

std::vector<CLinkLineRecord> CReportLoads::getReportLinkLines(int32_t graphicReportID)
{
    return zelkaOperation(__FILE__, "CReportLoads::getReportLinkLines", [&] {
        std::vector<CLinkLineRecord> out;
        auto rows = rowsOf(sp_, timeout_, "__gr_getReportLinkLines", "@graphicReportID", graphicReportID);
        for (; rows && !rows->isEOF(); rows->moveNext())
            out.push_back({rows->getString("llStartHandle"), rows->getString("llEndHandle"),
                           rows->getString("llLayerName"), rows->getString("llLabelText")});
        return out;
    });
}

void CReportLoads::setGraphicReportStatus(int32_t graphicReportID, int32_t statusID)
{
    zelkaOperation(__FILE__, "CReportLoads::setGraphicReportStatus", [&] {
        CParameters list;
        addInt(list, "@graphicReportID", graphicReportID);
        addInt(list, "@statusID", statusID);
        sp_.setCommandTimeout(timeout_);
        sp_.setName("__gr_setGraphicReportStatus");
        sp_.setParameters(&list);
        sp_.execSPNoReturnParas();
        sp_.setParameters(nullptr);
    });
}

void CReportLoads::setGraphicReportLayout(int32_t graphicReportID, const std::string& layout)
{
    zelkaOperation(__FILE__, "CReportLoads::setGraphicReportLayout", [&] {
        CParameters list;
        addInt(list, "@graphicReportID", graphicReportID);
        addVarChar(list, "@layout", layout);
        sp_.setCommandTimeout(timeout_);
        sp_.setName("__gr_setGraphicReportLayout");
        sp_.setParameters(&list);
        sp_.execSPNoReturnParas();
        sp_.setParameters(nullptr);
    });
}
