// Loading a graphic report from the property database: the report's row,
// then its categories (each with hatch, space block records and assets),
// the layers it shows and its link lines.

#include <memory>
#include <string>

#include "config/PreferencesDocMon.h"
#include "database/CallParameters.h"
#include "database/ProcedureCalls.h"
#include "database/Recordset.h"
#include "database/ReportIPR.h"
#include "database/StoredProcedure.h"
#include "infra/FileUtilities.h"
#include "infra/ZelkaExceptions.h"
#include "reports/Category.h"
#include "reports/GraphicReport.h"
#include "reports/Layers.h"
#include "reports/LinkLine.h"

using namespace callparameters;

namespace {

// Checks a folder (which gets a closing "/" when it has none) or a file name
// before it is stored; a bad value throws, naming the field and the value.
std::string checkedFolder(const std::string& value, const char* field)
{
    std::string folder = value;
    if (!folder.empty() && folder.back() != '/') folder += '/';
    std::string probe = folder;
    if (!CFileUtilities().checkPathSyntax(probe, false))
        throw CEXCustom(ZELKA_MODULE_TITLE, __FILE__, "CGraphicReport::getGraphicReport",
                        std::string("Invalid ") + field + " - '" + value + "'", 0, nullptr);
    return folder;
}

std::string checkedFileName(const std::string& value, const char* field)
{
    std::string probe = value;
    if (!CFileUtilities().checkFilenameSyntax(probe, false))
        throw CEXCustom(ZELKA_MODULE_TITLE, __FILE__, "CGraphicReport::getGraphicReport",
                        std::string("Invalid ") + field + " - '" + value + "'", 0, nullptr);
    return value;
}

}  // namespace

bool CGraphicReport::getGraphicReport(CStoredProcedure& sp, const CServerPreferenceDocMon& server,
                                      int32_t graphicReportID, uint32_t timeout)
{
    return zelkaOperation(__FILE__, "CGraphicReport::getGraphicReport", [&] {
        CParameters list;
        addInt(list, "@graphicReportID", graphicReportID);
        auto rows = procedurecalls::rows(sp, list, "__gr_getGraphicReport", timeout);
        if (!rows || rows->isEOF()) return false;
        setID(graphicReportID);
        setTitle(rows->getString("grTitle"));
        setDrawingPath(checkedFolder(rows->getString("grDrawingPath"), "drawing path"));
        setDrawingFilename(checkedFileName(rows->getString("grDrawingFilename"), "drawing file name"));
        setPlotLayout(rows->getString("grPlotLayout"));
        setPlotDevice(convertToPlotDeviceID(rows->getInt("grPlotTypeID")));
        setPlotAreaType(convertToPlotAreaTypeID(rows->getInt("grPlotAreaTypeID")));
        setPlotMediaSize(convertToMediaSizeID(rows->getInt("grPlotMediaSizeID")));
        setPlotScaleType(convertToPlotScaleTypeID(rows->getInt("grPlotScaleTypeID")));
        setPlotCentred(rows->getBool("grPlotCentred"));
        std::string outputPath = rows->getString("grOutputPath");
        if (outputPath.empty()) outputPath = server.getGraphRepOutPath();
        setOutputPath(checkedFolder(outputPath, "output path"));
        setOutputFilename(checkedFileName(rows->getString("grOutputFilename"), "output file name"));
        setSaveCopyTo(rows->getString("grSaveCopyTo"));
        setXMLOutputTo(rows->getString("grXMLOutputTo"));
        setTotalChildAreas(rows->isNull("grTotalChildAreas") ? 0.0 : rows->getDouble("grTotalChildAreas"));

        rows.reset();
        // Categories (with hatches, space block records and assets), layers
        // and link lines load as the report-loading command loads them.
        CReportIPR loads(sp, timeout);
        auto categories = loads.getReportCategories(graphicReportID);
        setCategories(categories->getCount() > 0 ? std::move(categories) : nullptr);
        auto layers = loads.getGraphicReportLayersOn(graphicReportID);
        setLayersOn(layers->getCount() > 0 ? std::move(layers) : nullptr);
        auto lines = loads.getGraphicReportLinkLines(graphicReportID);
        setLinkLines(lines->getCount() > 0 ? std::move(lines) : nullptr);
        return true;
    });
}

void CGraphicReport::setGraphicReportStatus(CStoredProcedure& sp, uint32_t timeout, int32_t status)
{
    zelkaOperation(__FILE__, "CGraphicReport::setGraphicReportStatus", [&] {
        CParameters list;
        addInt(list, "@graphicReportID", id_);
        addInt(list, "@statusID", status);
        sp.setCommandTimeout(timeout);
        sp.setName("__gr_setGraphicReportStatus");
        sp.setParameters(&list);
        sp.execSPNoReturnParas();
        sp.setParameters(nullptr);
    });
}

void CGraphicReport::setGraphicReportLayout(CStoredProcedure& sp, uint32_t timeout, const std::string& layout)
{
    zelkaOperation(__FILE__, "CGraphicReport::setGraphicReportLayout", [&] {
        CParameters list;
        addInt(list, "@graphicReportID", id_);
        addVarChar(list, "@layout", layout, 255);
        sp.setCommandTimeout(timeout);
        sp.setName("__gr_setGraphicReportLayout");
        sp.setParameters(&list);
        sp.execSPNoReturnParas();
        sp.setParameters(nullptr);
    });
}
