// Applying a graphic report to an open drawing: layer states, link lines,
// the categories' assets and space blocks with their hatches, the legend
// and pie chart at the marker blocks, and the drawing state put back.
// Failures carry the class "GraphicReport" like the rest of the class.

#include <memory>
#include <string>

#include "config/Preferences.h"
#include "config/PreferencesDocMon.h"
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbHatch.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/ed/acutPrintf.h"
#include "infra/Log.h"
#include "infra/ZelkaExceptions.h"
#include "module/AcadDrawing.h"
#include "module/AcadDrawingLock.h"
#include "editing/MarkerBlockLegend.h"
#include "editing/MarkerBlockPie.h"
#include "module/HostProduct.h"
#include "reports/AcadDrawingState.h"
#include "reports/LegendTable.h"
#include "reports/PieChart.h"
#include "reports/GraphicReport.h"
#include "spaces/Attributes.h"
#include "spaces/BlockDWG.h"
#include "spaces/SendToBackBatch.h"

namespace {

constexpr const char* kSource = "GraphicReport.cpp";

// The object id of a handle text in the drawing, or the null id when the
// drawing does not know it (or the text is no handle).
AcDbObjectId lookUpHandle(CAcadDrawing& drawing, const std::string& handle)
{
    AcDbDatabase* db = drawing.getDatabase();
    AcDbHandle parsed(handle);
    AcDbObjectId id;
    if (!db || parsed.isNull() || db->getAcDbObjectId(id, false, parsed) != Acad::eOk)
        return AcDbObjectId::kNull;
    return id;
}

// Switches the layer of an entity on in the drawing state; an entity that
// does not open changes nothing.
void switchLayerOn(AcDbObjectId id, CAcadDrawingState& state)
{
    AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForRead);
    if (entity)
        state.setLayerState(entity->layer(), 0, 0, 0, 1);
}

// Prints and logs a block's problems; the list is emptied for the next block.
void reportBlockErrors(const CBlockDWG& block, CZelkaExceptions& errors)
{
    if (errors.size() == 0)
        return;
    acutPrintf("\t\terror(s) occurred whilst applying zelka block %s - %s.\n", block.getCode().c_str(),
               block.getHandle().c_str());
    errors.printAll();
    CLog::logAndReport(errors, CPreferencesDocMon::moduleSettings().errorLogPaths());
    errors.deleteObjects();
}

// Whether the host knows the category's hatch pattern. A category whose
// pattern it does not know is said once, and its blocks take the rest of
// their formatting without a hatch.
bool hatchPatternKnown(const CCategory& category)
{
    const CHatch* hatch = category.getHatch();
    if (!hatch)
        return true;
    Acad::ErrorStatus status = Acad::eOk;
    hatch->makeHatchEntity(AcGeVector3d(0, 0, 1), true, status);
    if (status == Acad::eOk)
        return true;
    acutPrintf("\tcategory %s: the hatch pattern \"%s\" is not known to the host; its blocks are not hatched.\n",
               category.getTitle().c_str(), hatch->getPatternName().c_str());
    return false;
}

// Formats a drawing block with a category record (its attribute set keeps
// its three numeric settings) and writes it back, hatched; problems go into errors.
void formatAndApply(const CBlockDWG& record, CBlockDWG& block, CAcadDrawing& drawing, bool withHatch,
                    const CPreferences& prefs, CZelkaExceptions& errors)
{
    // A record without units or precision is written in the preferences'
    // units and precision, as the space commands write it.
    if (block.getUnits() < 0)
        block.setUnits(prefs.getUnits());
    if (block.getPrecision() < 0)
        block.setPrecision(prefs.getPrecision());
    double height = 0.0, width = 0.0, rotation = 0.0;
    CAttributes* attributes = block.getAttributes();
    if (attributes) {
        height = attributes->getTextHeight();
        width = attributes->getWidthFactor();
        rotation = attributes->getRotation();
    }
    // A record that carries no area (a report written without mbArea)
    // leaves the block its own area rather than setting it to 0.
    const double ownArea = block.getArea();
    record.copyFormatting(block);
    if (record.getArea() == 0.0)
        block.setArea(ownArea);
    if (attributes && block.getAttributes() == attributes) {
        attributes->setTextHeight(height);
        attributes->setWidthFactor(width);
        attributes->setRotation(rotation);
    }
    if (!withHatch)
        block.setHatch(nullptr);
    try {
        block.applyToDWG(drawing, errors);
    } catch (const CEXZelka& e) {
        // A block that cannot be written (a locked layer, say) is reported
        // with the others; the next block still follows.
        errors.add(e);
    }
}

// Runs a step of the report that may fail on its own (the legend, the pie
// chart): a failure is shown, written to the error logs and said, and the
// rest of the report still applies.
template <class Step>
void reportFailure(const char* what, Step&& step)
{
    try {
        step();
    } catch (const CEXZelka& e) {
        acutPrintf("\tthe %s could not be made; the rest of the report is applied.\n", what);
        e.printErrorChain();
        CLog::logAndReport(e, CPreferencesDocMon::moduleSettings().errorLogPaths());
    }
}

}  // namespace

void CGraphicReport::applyCategoryAssets(CCategory& category, CAcadDrawing& drawing, CAcadDrawingState& state)
{
    CAssets* assets = category.getAssets();
    if (!assets)
        return;
    CZelkaExceptions errors;
    for (int i = 0; i < assets->getCount(); ++i) {
        CAsset& asset = assets->getAt(i);
        AcDbObjectId id = lookUpHandle(drawing, asset.getHandle());
        if (id.isNull()) {
            acutPrintf("\t\tasset %s is not in the drawing; it is left out.\n", asset.getHandle().c_str());
            continue;
        }
        asset.setObjectId(id);
        asset.applyToDWG(drawing, errors);
        switchLayerOn(id, state);
    }
    if (errors.size() > 0) {
        acutPrintf("\t\terror(s) occurred whilst applying the assets of category %s.\n", category.getTitle().c_str());
        errors.printAll();
        CLog::logAndReport(errors, CPreferencesDocMon::moduleSettings().errorLogPaths());
    }
}

void CGraphicReport::applyCategoryBlocks(CCategory& category, CAcadDrawing& drawing, CAcadDrawingState& state)
{
    CBlocks* blocks = category.getBlocks();
    acutPrintf("\tcategory contains %d blocks.\n", blocks ? blocks->size() : 0);
    if (!blocks)
        return;
    const bool withHatch = hatchPatternKnown(category);
    CPreferences prefs;
    prefs.loadPreferences();
    CZelkaExceptions errors;
    for (int i = 0; i < blocks->size(); ++i) {
        auto* record = dynamic_cast<CBlockDWG*>(&blocks->getAt(i));
        if (!record)
            continue;
        if (record->getHandle() == "*") {
            // Every space block of the drawing but the gross areas takes
            // the formatting of this record; those blocks become the
            // category's collection. The gross areas are left out of it too,
            // so the legend and pie chart do not count a floor's area on
            // top of its rooms'.
            auto all = std::make_unique<CBlocks>();
            all->getZelkaDWGBlocks_SS(drawing, true, "f");
            for (int j = all->size() - 1; j >= 0; --j) {
                const BlockKind kind = all->getAt(j).getBlockKind();
                if (kind == BlockKind::DwgFloor || kind == BlockKind::DwgSite)
                    all->deleteObject(&all->getAt(j));
            }
            auto copy = std::make_unique<CBlockDWG>();
            record->copyInto(*copy);
            record = copy.get();
            category.setBlocks(std::move(all));
            blocks = category.getBlocks();
            for (int j = 0; j < blocks->size(); ++j) {
                auto* block = dynamic_cast<CBlockDWG*>(&blocks->getAt(j));
                if (!block)
                    continue;
                formatAndApply(*record, *block, drawing, withHatch, prefs, errors);
                switchLayerOn(block->getBlockReferenceId(), state);
                reportBlockErrors(*block, errors);
            }
            return;
        }
        AcDbObjectId id = lookUpHandle(drawing, record->getHandle());
        if (id.isNull()) {
            acutPrintf("\t\tzelka block %s is not in the drawing; it is left out.\n", record->getHandle().c_str());
            continue;
        }
        record->setBlockReferenceId(id);
        std::unique_ptr<CBlockDWG> block;
        bool opened = false;
        {
            AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForRead);
            opened = entity.openStatus() == Acad::eOk;
            if (auto* reference = opened ? dynamic_cast<AcDbBlockReference*>(entity.object()) : nullptr)
                block = std::make_unique<CBlockDWG>(reference, drawing);
        }
        if (block) {
            formatAndApply(*record, *block, drawing, withHatch, prefs, errors);
            reportBlockErrors(*block, errors);
            blocks->replaceAt(i, std::move(block));
        } else if (opened) {
            acutPrintf("\t\tobject %s is not a block reference; it is left out.\n", record->getHandle().c_str());
        } else {
            // An object that does not open is hatched from the record as it
            // stands, and its layer is switched on.
            if (!withHatch)
                record->setHatch(nullptr);
            try {
                record->applyToDWG(drawing, errors);
            } catch (const CEXZelka& e) {
                errors.add(e);
            }
            switchLayerOn(id, state);
            reportBlockErrors(*record, errors);
        }
    }
}

void CGraphicReport::placeLegendAndPie(CAcadDrawing& drawing, const CHostProduct& host)
{
    CBlocks legendMarkers;
    legendMarkers.getLegendBlock_SS(drawing);
    if (legendMarkers.size() > 0) {
        if (auto* marker = dynamic_cast<CMarkerBlockLegend*>(&legendMarkers.getAt(0))) {
            const AcGePoint3d at = marker->getInsertionPoint();
            reportFailure("legend", [&] {
                CLegendTable legend(drawing, marker->getTextSize(), marker->getMarkerPrecision(),
                                    unitsLabel(marker->getMarkerUnits()), false, *this, marker->getRotation(), &at,
                                    host.isFullProduct());
            });
            drawing.regenDrawing();
        }
    }
    CBlocks pieMarkers;
    pieMarkers.getPieBlock_SS(drawing);
    if (pieMarkers.size() > 0) {
        if (auto* marker = dynamic_cast<CMarkerBlockPie*>(&pieMarkers.getAt(0))) {
            const AcGePoint3d at = marker->getInsertionPoint();
            reportFailure("pie chart", [&] {
                CPieChart pie(drawing, *this, marker->getRadius(), pieXYOffset_, marker->getTextSize(),
                              marker->getMarkerPrecision(), unitsLabel(marker->getMarkerUnits()),
                              pieIgnoreEmptySegments_ != 0, pieShowLabels_ != 0, pieShowLabelSegmentLines_ != 0,
                              marker->getRotation(), &at, host.isFullProduct());
            });
            drawing.regenDrawing();
        }
    }
}

std::string CGraphicReport::unitsLabel(int32_t units) { return units == 1 ? "sq.ft." : "sq.m."; }

void CGraphicReport::applyToDrawing(CAcadDrawing& drawing, const CHostProduct& host)
{
    zelkaOperation(kSource, "CGraphicReport::applyToDrawing", [&] {
        CAcadDrawingState state(drawing);
        state.setLayout(plotLayout_);
        state.setAllLayerLineWeights(0);
        acutPrintf("applying graphic report %s.\n", title_.c_str());
        CAcadDrawingLock lock(drawing);
        if (!lock.isLocked())
            return;
        if (layersOn_) {
            state.setStateAllOff(drawing);
            for (int i = 0; i < layersOn_->getCount(); ++i)
                state.setLayerState(layersOn_->getAt(i).getName(), 0, 0, 0, 1);
        }
        if (linkLines_) {
            acutPrintf("Applying link Lines\n");
            linkLines_->applyToDrawing(drawing, state);
        }
        bool applied = false;
        if (categories_) {
            // The hatches go beneath everything in one reordering after the last category.
            CSendToBackBatch drawOrder;
            acutPrintf("\tgraphic report contains %d categories.\n", categories_->getCount());
            for (int i = 0; i < categories_->getCount(); ++i) {
                CCategory& category = categories_->getAt(i);
                applied = true;
                acutPrintf("\tapplying category %s.\n", category.getTitle().c_str());
                applyCategoryAssets(category, drawing, state);
                applyCategoryBlocks(category, drawing, state);
            }
        }
        if (host.isFullProduct() && applied)
            placeLegendAndPie(drawing, host);
        state.applyState(drawing, 0);
    });
}
