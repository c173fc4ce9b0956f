#include "app/batch/BatchDatabase.h"

#include <stdexcept>

#include "config/PreferencesDocMon.h"
#include "database/CallParameters.h"
#include "database/Recordset.h"
#include "database/StoredProcedure.h"
#include "infra/Utilities.h"
#include "infra/ZelkaExceptions.h"
#include "reports/GraphicReport.h"
#include "spaces/Attributes.h"
#include "spaces/Block.h"
#include "spaces/Blocks.h"
#include "spaces/ZelkaAttribute.h"

using namespace callparameters;

namespace {

// Runs a call; a module error chain becomes a std::runtime_error holding
// the database's message, the one kind of failure the driver handles.
template <class Body>
decltype(auto) guarded(Body&& body)
{
    try {
        return body();
    } catch (const CEXZelka& e) {
        throw std::runtime_error(e.innermost().getDescription());
    }
}

}  // namespace

BatchDatabase::BatchDatabase(const CServerPreferenceDocMon& server)
{
    timeout_ = server.getDbTimeout() > 0 ? static_cast<uint32_t>(server.getDbTimeout()) : 30u;
    if (server.getDbDatasource().empty())
        throw std::runtime_error("the document-monitor settings name no property database (dbDatasource)");
    try {
        sp_ = std::make_unique<CStoredProcedure>(server.getDbDatasource(), server.getDbInitialCatalog(),
                                                 server.getDbUserID(), server.getDbPassword(), timeout_,
                                                 server.getDbDriver());
    } catch (const CEXZelka& e) {
        throw std::runtime_error(e.innermost().getDescription());
    }
    if (!sp_->isConnected()) throw std::runtime_error("the ODBC driver manager could not be started");
}

BatchDatabase::~BatchDatabase() = default;

BatchDatabase::Claim BatchDatabase::claim(int32_t waitingStatus, const std::string& worker, int leaseSeconds,
                                          int maxAttempts)
{
    return guarded([&] {
        CParameters list;
        addInt(list, "@statusID", waitingStatus);
        addVarChar(list, "@worker", worker);
        addInt(list, "@leaseSeconds", leaseSeconds);
        addInt(list, "@maxAttempts", maxAttempts);
        sp_->setCommandTimeout(timeout_);
        sp_->setName("__gr_claimGraphicReport");
        sp_->setParameters(&list);
        auto rows = sp_->execSPReturnParas();
        sp_->setParameters(nullptr);
        Claim c;
        if (rows && !rows->isEOF()) {
            c.reportID = rows->getInt("grID");
            c.attempt = rows->getInt("grAttempt");
        }
        return c;
    });
}

int32_t BatchDatabase::finish(int32_t reportID, const std::string& worker, const std::string& error, int maxAttempts,
                              int32_t waitingStatus)
{
    return guarded([&] {
        CParameters list;
        addInt(list, "@graphicReportID", reportID);
        addVarChar(list, "@worker", worker);
        addVarChar(list, "@error", error.substr(0, 4000), 4000);
        addInt(list, "@maxAttempts", maxAttempts);
        addInt(list, "@waitingStatus", waitingStatus);
        sp_->setCommandTimeout(timeout_);
        sp_->setName("__gr_finishGraphicReport");
        sp_->setParameters(&list);
        auto rows = sp_->execSPReturnParas();
        sp_->setParameters(nullptr);
        return rows && !rows->isEOF() ? rows->getInt("grStatusID") : -1;
    });
}

std::vector<BatchDatabase::StatusCount> BatchDatabase::summary()
{
    return guarded([&] {
        sp_->setCommandTimeout(timeout_);
        sp_->setName("__gr_getBatchSummary");
        sp_->setParameters(nullptr);
        auto rows = sp_->execSPReturnNoParas();
        std::vector<StatusCount> out;
        for (; rows && !rows->isEOF(); rows->moveNext())
            out.push_back({rows->getInt("grStatusID"), rows->getString("grDescription"), rows->getInt("grReports"),
                           rows->getInt("grClaimed")});
        return out;
    });
}

namespace {

// Runs the procedure with the list; returns the first column of its first row (0 when none).
int32_t call(CStoredProcedure& sp, uint32_t timeout, const char* name, CParameters& list, const char* idColumn)
{
    sp.setCommandTimeout(timeout);
    sp.setName(name);
    sp.setParameters(&list);
    int32_t id = 0;
    if (idColumn) {
        auto rows = sp.execSPReturnParas();
        if (rows && !rows->isEOF()) id = rows->getInt(idColumn);
    } else {
        sp.execSPNoReturnParas();
    }
    sp.setParameters(nullptr);
    return id;
}

std::string swapText(const CBlock& block, int32_t position)
{
    const CAttributes* attributes = block.getAttributes();
    const CZelkaAttribute* a = attributes ? attributes->getAtAttribute(position) : nullptr;
    return a ? a->getText() : std::string();
}

}  // namespace

int32_t BatchDatabase::addReport(const CGraphicReport& r, int32_t status)
{
    return guarded([&] {
        // One transaction: a report is queued whole or not at all.
        sp_->beginTransaction();
        try {
            CParameters head;
            addInt(head, "@statusID", status);
            addVarChar(head, "@title", r.getTitle());
            addVarChar(head, "@drawingPath", r.getDrawingPath());
            addVarChar(head, "@drawingFilename", r.getDrawingFilename());
            addVarChar(head, "@plotLayout", r.getPlotLayout());
            addInt(head, "@plotTypeID", r.getPlotDevice());
            addInt(head, "@plotAreaTypeID", r.getPlotAreaType());
            addInt(head, "@plotMediaSizeID", r.getPlotMediaSize());
            addInt(head, "@plotScaleTypeID", CGraphicReport::plotScaleTypeIDFromScale(r.getPlotScaleType()));
            addBoolean(head, "@plotCentred", r.getPlotCentred());
            addVarChar(head, "@outputPath", r.getOutputPath());
            addVarChar(head, "@outputFilename", r.getOutputFilename());
            addVarChar(head, "@saveCopyTo", r.getSaveCopyTo());
            addVarChar(head, "@xmlOutputTo", r.getXMLOutputTo());
            addDecimal(head, "@totalChildAreas", r.getTotalChildAreas());
            const int32_t id = call(*sp_, timeout_, "__gr_addGraphicReport", head, "grID");
            if (const CCategories* categories = r.getCategories()) {
                for (int c = 0; c < categories->getCount(); ++c) {
                    const CCategory& category = categories->getAt(c);
                    const CHatch* hatch = category.getHatch();
                    CParameters row;
                    addInt(row, "@graphicReportID", id);
                    addInt(row, "@sortOrder", c + 1);
                    addVarChar(row, "@title", category.getTitle());
                    addVarChar(row, "@hatchPattern", hatch ? hatch->getPatternName() : "");
                    addDecimal(row, "@hatchAngle", hatch ? hatch->getAngle() : 0);
                    addVarChar(row, "@hatchColour", hatch ? CUtilities().acadColourToHash(hatch->getColour()) : "");
                    addDecimal(row, "@hatchScale", hatch ? hatch->getScale() : 1);
                    addVarChar(row, "@hatchLayer", hatch ? hatch->getLayer() : "");
                    const int32_t categoryID = call(*sp_, timeout_, "__gr_addReportCategory", row, "cID");
                    const CBlocks* blocks = category.getBlocks();
                    for (int b = 0; blocks && b < blocks->size(); ++b) {
                        const CBlock& block = blocks->getAt(b);
                        CParameters item;
                        addInt(item, "@categoryID", categoryID);
                        addInt(item, "@sortOrder", b + 1);
                        addVarChar(item, "@handle", block.getHandle());
                        addVarChar(item, "@name", block.getName());
                        addVarChar(item, "@code", block.getCode());
                        addDecimal(item, "@area", block.getArea());
                        addVarChar(item, "@swapName", swapText(block, 0));
                        addVarChar(item, "@swapArea", swapText(block, 1));
                        addVarChar(item, "@swapAux", swapText(block, 2));
                        call(*sp_, timeout_, "__gr_addCategoryBlock", item, nullptr);
                    }
                }
            }
            if (const CLayers* layers = r.getLayersOn()) {
                for (int l = 0; l < layers->getCount(); ++l) {
                    CParameters row;
                    addInt(row, "@graphicReportID", id);
                    addInt(row, "@sortOrder", l + 1);
                    addVarChar(row, "@name", layers->getAt(l).getName());
                    addVarChar(row, "@description", layers->getAt(l).getDescription());
                    call(*sp_, timeout_, "__gr_addReportLayerOn", row, nullptr);
                }
            }
            if (const CLinkLines* lines = r.getLinkLines()) {
                for (int l = 0; l < lines->getCount(); ++l) {
                    const CLinkLine& line = lines->getAt(l);
                    CParameters row;
                    addInt(row, "@graphicReportID", id);
                    addInt(row, "@sortOrder", l + 1);
                    addVarChar(row, "@startHandle", line.getStartHandle());
                    addVarChar(row, "@endHandle", line.getEndHandle());
                    addVarChar(row, "@layerName", line.getLayer());
                    addVarChar(row, "@labelText", line.getLabelText());
                    call(*sp_, timeout_, "__gr_addReportLinkLine", row, nullptr);
                }
            }
            sp_->commitTransaction();
            return id;
        } catch (...) {
            sp_->rollbackTransaction();
            throw;
        }
    });
}
