#include "database/ReportIPR.h"

#include <cmath>

#include "database/Assets.h"
#include "database/CallParameters.h"
#include "database/Hyperlinks.h"
#include "database/ProcedureCalls.h"
#include "infra/Utilities.h"
#include "infra/ZelkaExceptions.h"
#include "reports/Category.h"
#include "reports/GraphicReport.h"
#include "reports/Hatch.h"
#include "reports/Layers.h"
#include "reports/Layouts.h"
#include "reports/LinkLine.h"
#include "spaces/BlockDWG.h"
#include "spaces/Blocks.h"
#include "spaces/ZelkaAttribute.h"

using namespace callparameters;
using procedurecalls::forEachRow;

// Failures carry the source file of the class each operation belongs to.

namespace {

// A whole number read from a decimal column (angles and scales are whole
// numbers in the hatch); rounded to the nearest.
int32_t wholeNumber(const CRecordset& row, const char* column)
{
    return static_cast<int32_t>(std::lround(row.getDouble(column)));
}

}  // namespace

bool CReportIPR::getGraphicReport(int32_t graphicReportID, const std::string& defaultOutputPath, CGraphicReport& report)
{
    return zelkaOperation("GraphicReport.cpp", "CGraphicReport::getGraphicReport", [&] {
        CParameters list;
        addInt(list, "@graphicReportID", graphicReportID);
        auto rows = procedurecalls::rows(sp_, list, "__gr_getGraphicReport", timeout_);
        if (!rows || rows->isEOF()) return false;
        const CRecordset& row = *rows;
        report.setID(graphicReportID);
        report.setTitle(row.getString("grTitle"));
        report.setDrawingPath(row.getString("grDrawingPath"));
        report.setDrawingFilename(row.getString("grDrawingFilename"));
        report.setPlotLayout(row.getString("grPlotLayout"));
        report.setPlotDevice(CGraphicReport::convertToPlotDeviceID(row.getInt("grPlotTypeID")));
        report.setPlotAreaType(CGraphicReport::convertToPlotAreaTypeID(row.getInt("grPlotAreaTypeID")));
        report.setPlotMediaSize(CGraphicReport::convertToMediaSizeID(row.getInt("grPlotMediaSizeID")));
        report.setPlotScaleType(CGraphicReport::convertToPlotScaleTypeID(row.getInt("grPlotScaleTypeID")));
        report.setPlotCentred(row.getBool("grPlotCentred"));
        const std::string outputPath = row.getString("grOutputPath");
        report.setOutputPath(outputPath.empty() ? defaultOutputPath : outputPath);
        report.setOutputFilename(row.getString("grOutputFilename"));
        report.setSaveCopyTo(row.getString("grSaveCopyTo"));
        report.setXMLOutputTo(row.getString("grXMLOutputTo"));
        report.setTotalChildAreas(row.getDouble("grTotalChildAreas"));
        rows.reset();

        auto categories = getReportCategories(graphicReportID);
        report.setCategories(categories->getCount() > 0 ? std::move(categories) : nullptr);
        auto layers = getGraphicReportLayersOn(graphicReportID);
        report.setLayersOn(layers->getCount() > 0 ? std::move(layers) : nullptr);
        auto lines = getGraphicReportLinkLines(graphicReportID);
        report.setLinkLines(lines->getCount() > 0 ? std::move(lines) : nullptr);
        return true;
    });
}

std::unique_ptr<CCategories> CReportIPR::getReportCategories(int32_t graphicReportID)
{
    return zelkaOperation("Category.cpp", "CCategories::getReportCategories", [&] {
        auto categories = std::make_unique<CCategories>();
        CParameters list;
        addInt(list, "@graphicReportID", graphicReportID);
        // The rows are read whole before the block and asset loads reuse sp_.
        forEachRow(sp_, list, "__gr_getReportCategories", timeout_, [&](const CRecordset& row) {
            auto category = std::make_unique<CCategory>();
            category->setID(row.getInt("cID"));
            category->setTitle(row.getString("cTitle"));
            const std::string pattern = row.getString("cHatchPattern");
            if (!pattern.empty()) {
                auto hatch = std::make_unique<CHatch>();
                hatch->setPatternName(pattern);
                hatch->setAngle(wholeNumber(row, "cHatchAngle"));
                AcCmColor colour;
                CUtilities().hashToAcadColour(row.getString("cHatchColour"), colour);
                hatch->setColour(colour);
                hatch->setScale(wholeNumber(row, "cHatchScale"));
                // A hatch needs a layer: none named (null or empty) gives "_Zelka".
                const std::string layer = row.getString("cHatchLayer");
                hatch->setLayer(layer.empty() ? std::string("_Zelka") : layer);
                category->setHatch(std::move(hatch));
            }
            auto blocks = std::make_unique<CBlocks>();
            getCategoryDWGBlocks(category->getID(), category->getHatch(), *blocks);
            if (blocks->size() > 0) category->setBlocks(std::move(blocks));
            auto assets = std::make_unique<CAssets>();
            assets->getCategoryAssets(sp_, category->getID(), timeout_, category->getHatch());
            if (assets->getCount() > 0) category->setAssets(std::move(assets));
            categories->add(std::move(category));
        });
        return categories;
    });
}

void CReportIPR::getCategoryDWGBlocks(int32_t categoryID, const CHatch* hatch, CBlocks& blocks)
{
    zelkaOperation("Blocks.cpp", "CBlocks::getCategoryDWGBlocks", [&] {
        CParameters list;
        addInt(list, "@categoryID", categoryID);
        forEachRow(sp_, list, "__gr_getCategoryBlocks", timeout_, [&](const CRecordset& row) {
            auto block = std::make_unique<CBlockDWG>();
            if (!row.isNull("mbHandle")) block->setHandle(row.getString("mbHandle"));
            if (!row.isNull("mbName")) block->setName(row.getString("mbName"));
            if (!row.isNull("mbCode")) block->setCode(row.getString("mbCode"));
            if (!row.isNull("mbArea")) block->setArea(row.getDouble("mbArea"));
            auto swaps = std::make_unique<CAttributes>();
            const char* columns[] = {"mbSwapName", "mbSwapArea", "mbSwapAux"};
            for (int32_t index = 0; index < 3; ++index) {
                const std::string text = row.getString(columns[index]);
                if (!text.empty()) swaps->add(std::make_unique<CZelkaAttribute>(index, text), true);
            }
            block->setAttributes(std::move(swaps));
            auto links = std::make_unique<CHyperlinks>();
            links->getBlockHyperlinksFromIPR(sp_, categoryID, block->getHandle(), timeout_);
            if (links->getCount() > 0) block->setHyperlinks(std::move(links));
            if (hatch) block->setHatch(hatch->clone());
            blocks.addBlock(std::move(block));
        });
    });
}

std::unique_ptr<CLayers> CReportIPR::getGraphicReportLayersOn(int32_t graphicReportID)
{
    return zelkaOperation("Layers.cpp", "CLayers::getGraphicReportLayersOn", [&] {
        auto layers = std::make_unique<CLayers>();
        CParameters list;
        addInt(list, "@graphicReportID", graphicReportID);
        forEachRow(sp_, list, "__gr_getReportLayersOn", timeout_, [&](const CRecordset& row) {
            auto layer = std::make_unique<CLayer>();
            layer->setName(row.getString("loName"));
            layer->setDescription(row.getString("loDescription"));
            layers->add(std::move(layer));
        });
        return layers;
    });
}

std::unique_ptr<CLinkLines> CReportIPR::getGraphicReportLinkLines(int32_t graphicReportID)
{
    return zelkaOperation("LinkLine.cpp", "CLinkLines::getGraphicReportLinkLines", [&] {
        auto lines = std::make_unique<CLinkLines>();
        CParameters list;
        addInt(list, "@graphicReportID", graphicReportID);
        forEachRow(sp_, list, "__gr_getReportLinkLines", timeout_, [&](const CRecordset& row) {
            lines->add(std::make_unique<CLinkLine>(row.getString("llStartHandle"), row.getString("llEndHandle"),
                                                   row.getString("llLayerName"), row.getString("llLabelText")));
        });
        return lines;
    });
}

void CReportIPR::addLayersToIPR(const CLayers& layers, int32_t attachID)
{
    zelkaOperation("Layers.cpp", "CLayers::addLayersToIPR", [&] {
        for (int i = 0; i < layers.getCount(); ++i) {
            const CLayer& layer = layers.getAt(i);
            CParameters list;
            addVarChar(list, "@layerName", layer.getName());
            addVarChar(list, "@layerDescription", "");
            addTinyInt(list, "@layerColour", static_cast<uint8_t>(layer.getColourIndex()));
            addInt(list, "@attachID", attachID);
            procedurecalls::run(sp_, list, "__to_addDrawingLayer", timeout_);
        }
    });
}

void CReportIPR::addLayoutsToIPR(const CLayouts& layouts, int32_t attachID)
{
    zelkaOperation("Layouts.cpp", "CLayouts::addLayoutsToIPR", [&] {
        for (int i = 0; i < layouts.getCount(); ++i) {
            CParameters list;
            addVarChar(list, "@layoutName", layouts.getAt(i).getName());
            addInt(list, "@attachID", attachID);
            procedurecalls::run(sp_, list, "__to_addDrawingLayout", timeout_);
        }
    });
}

void CReportIPR::deleteDrawingLayouts(int32_t attachID)
{
    zelkaOperation("Layouts.cpp", "CLayouts::deleteDrawingLayouts", [&] {
        CParameters list;
        addInt(list, "@attachID", attachID);
        procedurecalls::run(sp_, list, "__to_deleteDrawingLayouts", timeout_);
    });
}
