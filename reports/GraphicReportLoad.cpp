// Loading a graphic report from the property database: the report's row,
// then its categories (each with hatch, space block records and assets),
// the layers it shows and its link lines.

#include <cmath>
#include <memory>
#include <string>

#include "config/PreferencesDocMon.h"
#include "database/CallParameters.h"
#include "database/Hyperlinks.h"
#include "database/Recordset.h"
#include "database/StoredProcedure.h"
#include "infra/FileUtilities.h"
#include "infra/Utilities.h"
#include "infra/ZelkaExceptions.h"
#include "reports/GraphicReport.h"
#include "spaces/Attributes.h"
#include "spaces/BlockDWG.h"
#include "spaces/ZelkaAttribute.h"

using namespace callparameters;

namespace {

// Runs a result-set procedure with one integer argument.
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

// A whole number stored as a decimal column ("45.0000000000").
int32_t wholeNumber(const CRecordset& rows, const std::string& column)
{
    return static_cast<int32_t>(std::lround(rows.getDouble(column)));
}

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

// The space block records of a category ("__gr_getCategoryBlocks"): handle,
// name, code and area when not null, the replacement texts as attributes
// 0-2, the block's hyperlinks, and a copy of the category's hatch.
std::unique_ptr<CBlocks> categoryBlocks(CStoredProcedure& sp, uint32_t timeout, int32_t categoryID,
                                        const CHatch* hatch)
{
    auto blocks = std::make_unique<CBlocks>();
    auto rows = rowsOf(sp, timeout, "__gr_getCategoryBlocks", "@categoryID", categoryID);
    for (; rows && !rows->isEOF(); rows->moveNext()) {
        auto block = std::make_unique<CBlockDWG>();
        if (!rows->isNull("mbHandle")) block->setHandle(rows->getString("mbHandle"));
        if (!rows->isNull("mbName")) block->setName(rows->getString("mbName"));
        if (!rows->isNull("mbCode")) block->setCode(rows->getString("mbCode"));
        if (!rows->isNull("mbArea")) block->setArea(rows->getDouble("mbArea"));
        auto attributes = std::make_unique<CAttributes>();
        const char* swaps[] = {"mbSwapName", "mbSwapArea", "mbSwapAux"};
        for (int32_t position = 0; position < 3; ++position) {
            if (rows->isNull(swaps[position]) || rows->getString(swaps[position]).empty()) continue;
            attributes->add(std::make_unique<CZelkaAttribute>(position, rows->getString(swaps[position])), true);
        }
        block->setAttributes(std::move(attributes));
        auto links = std::make_unique<CHyperlinks>();
        links->getBlockHyperlinksFromIPR(sp, categoryID, block->getHandle(), timeout);
        if (links->getCount() > 0) block->setHyperlinks(std::move(links));
        if (hatch) block->setHatch(hatch->clone());
        blocks->addBlock(std::move(block));
    }
    return blocks;
}

std::unique_ptr<CCategories> reportCategories(CStoredProcedure& sp, uint32_t timeout, int32_t reportID)
{
    auto categories = std::make_unique<CCategories>();
    auto rows = rowsOf(sp, timeout, "__gr_getReportCategories", "@graphicReportID", reportID);
    CUtilities utilities;
    for (; rows && !rows->isEOF(); rows->moveNext()) {
        auto category = std::make_unique<CCategory>();
        category->setID(rows->getInt("cID"));
        category->setTitle(rows->getString("cTitle"));
        if (!rows->getString("cHatchPattern").empty()) {
            auto hatch = std::make_unique<CHatch>();
            hatch->setPatternName(rows->getString("cHatchPattern"));
            hatch->setAngle(wholeNumber(*rows, "cHatchAngle"));
            AcCmColor colour;
            utilities.hashToAcadColour(rows->getString("cHatchColour"), colour);
            hatch->setColour(colour);
            hatch->setScale(wholeNumber(*rows, "cHatchScale"));
            hatch->setLayer(rows->isNull("cHatchLayer") ? "_Zelka" : rows->getString("cHatchLayer"));
            category->setHatch(std::move(hatch));
        }
        auto blocks = categoryBlocks(sp, timeout, category->getID(), category->getHatch());
        if (blocks->size() > 0) category->setBlocks(std::move(blocks));
        auto assets = std::make_unique<CAssets>();
        assets->getCategoryAssets(sp, category->getID(), timeout, category->getHatch());
        if (assets->getCount() > 0) category->setAssets(std::move(assets));
        categories->add(std::move(category));
    }
    return categories;
}

std::unique_ptr<CLayers> reportLayersOn(CStoredProcedure& sp, uint32_t timeout, int32_t reportID)
{
    auto layers = std::make_unique<CLayers>();
    auto rows = rowsOf(sp, timeout, "__gr_getReportLayersOn", "@graphicReportID", reportID);
    for (; rows && !rows->isEOF(); rows->moveNext()) {
        auto layer = std::make_unique<CLayer>();
        layer->setName(rows->getString("loName"));
        layer->setDescription(rows->getString("loDescription"));
        layers->add(std::move(layer));
    }
    return layers;
}

std::unique_ptr<CLinkLines> reportLinkLines(CStoredProcedure& sp, uint32_t timeout, int32_t reportID)
{
    auto lines = std::make_unique<CLinkLines>();
    auto rows = rowsOf(sp, timeout, "__gr_getReportLinkLines", "@graphicReportID", reportID);
    for (; rows && !rows->isEOF(); rows->moveNext())
        lines->add(std::make_unique<CLinkLine>(rows->getString("llStartHandle"), rows->getString("llEndHandle"),
                                               rows->getString("llLayerName"), rows->getString("llLabelText")));
    return lines;
}

}  // namespace

bool CGraphicReport::getGraphicReport(CStoredProcedure& sp, const CServerPreferenceDocMon& server,
                                      int32_t graphicReportID, uint32_t timeout)
{
    return zelkaOperation(__FILE__, "CGraphicReport::getGraphicReport", [&] {
        auto rows = rowsOf(sp, timeout, "__gr_getGraphicReport", "@graphicReportID", graphicReportID);
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

        auto categories = reportCategories(sp, timeout, graphicReportID);
        setCategories(categories->getCount() > 0 ? std::move(categories) : nullptr);
        auto layers = reportLayersOn(sp, timeout, graphicReportID);
        setLayersOn(layers->getCount() > 0 ? std::move(layers) : nullptr);
        auto lines = reportLinkLines(sp, timeout, graphicReportID);
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
