// Command bodies of the creation of space blocks: the block creator (mbc),
// the block editor (mbe),
// the gross area block (mgabc), the legend and pie chart markers (mlmc,
// mpmc), the bulk creation (mbulk) and the list of the commands beyond the
// help groups (mx?).

#include <memory>

#include "config/Preferences.h"
#include "editing/BulkBlockCreation.h"
#include "editing/GrossAreaBlock.h"
#include "editing/MarkerBlock.h"
#include "editing/PresBlockCreation.h"
#include "editing/PresBlockEdit.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbPolyline.h"
#include "host/ed/adscodes.h"
#include "host/ed/acutPrintf.h"
#include "module/CommandFrame.h"
#include "module/SpaceCommandRun.h"
#include "module/SpaceCommandSupport.h"
#include "module/SpaceProgress.h"
#include "module/blockEdit.h"
#include "spaces/AcadUtilities.h"

namespace {

// The block creator of the session. One is open at a time: mbc while it is
// open shows it again. A closed one is deleted when the next opens (not from
// inside its own handlers, which are still running when it closes).
std::unique_ptr<CPresBlockCreation>& blockCreator()
{
    static std::unique_ptr<CPresBlockCreation> creator;
    return creator;
}

// The block editor of the session, kept as the creator is.
std::unique_ptr<CPresBlockEdit>& blockEditor()
{
    static std::unique_ptr<CPresBlockEdit> editor;
    return editor;
}

}  // namespace

void zelkaBlockEdit()
{
    const bool ran = zelkaCommandFrame(nullptr, "zelkaBlockEdit", [] {
        std::unique_ptr<CPresBlockEdit>& editor = blockEditor();
        if (editor && editor->isOpen()) {
            acutPrintf("The Zelka Block Editor is open already.\n");
            return;
        }
        editor = std::make_unique<CPresBlockEdit>();
        if (!editor->Create()) {
            editor.reset();
            acutPrintf("unable to create the edit dialog box\n");
        }
    });
    if (!ran) acutPrintf("\nUnhandled Error - Block Edit Failed\n");
}

void zelkaBlockCreate()
{
    zelkaCommandFrame(nullptr, "zelkaBlockCreate", [] {
        std::unique_ptr<CPresBlockCreation>& creator = blockCreator();
        if (creator && creator->isOpen()) {
            acutPrintf("The Zelka Block Creator is open already.\n");
            return;
        }
        creator = std::make_unique<CPresBlockCreation>();
        if (!creator->Create()) {
            creator.reset();
            acutPrintf("unable to create the block creation dialog box\n");
        }
    });
}

void zelkaCloseCreationDialogs()
{
    if (blockCreator() && blockCreator()->isOpen()) blockCreator()->DestroyWindow();
    blockCreator().reset();
    // The editor closes its property dialog as it goes.
    if (blockEditor() && blockEditor()->isOpen()) blockEditor()->DestroyWindow();
    blockEditor().reset();
}

void zelkaBulkBlockCreate()
{
    zelkaCommandFrame("Zelka Bulk Block Create", "zelkaBulkBlockCreate", [] {
        std::string pattern;
        CAcadUtilities::getString("Layers of the outlines (wildcards allowed)", "*", pattern);
        if (zelkaInputEnded()) return;
        CPreferences preferences;
        preferences.loadPreferences();
        CSpaceCommandRun run;
        if (!run.isReady()) return;
        CBulkBlockCreation creation(run.drawing(), preferences);
        const std::vector<AcDbObjectId> outlines = creation.findOutlines(pattern);
        int made = 0;
        {
            CSpaceProgress progress("Outlines", static_cast<int>(outlines.size()));
            made = creation.run(outlines, [&](int index) { progress.step(index); });
        }
        for (const CBulkBlockCreation::Skipped& skipped : creation.skipped())
            acutPrintf("Outline %s on layer %s was skipped: %s.\n", skipped.handle.c_str(), skipped.layer.c_str(),
                       skipped.reason.c_str());
        acutPrintf("%d space block(s) made from %d outline(s) on layers \"%s\"; %d skipped.\n", made,
                   static_cast<int>(outlines.size()), pattern.c_str(), static_cast<int>(creation.skipped().size()));
    });
}

void zelkaExtraHelp()
{
    CModuleResourceScope resources;
    acutPrintf("  command   fullname                      Description\n\n");
    acutPrintf("    mbulk   zelkaBulkBlockCreate          Make a room space block of every closed\n");
    acutPrintf("                                          outline on the layers given (wildcards\n");
    acutPrintf("                                          allowed), named from the one text inside.\n");
    acutPrintf("    mto     zelkaTakeOff                  Take the active drawing off into the\n");
    acutPrintf("                                          property database of docmon.xml.\n");
    acutPrintf("    mlgr    zelkaLoadGraphicReport        Load a graphic report by its id from that\n");
    acutPrintf("                                          database and apply it to the drawing.\n");
    acutPrintf("    mx?     mextrahelp                    Lists these commands.\n");
}

namespace {

// Asks for the entity a gross area block or marker is made from and checks
// it opens for write (and, for a polyline, is closed). False, after saying
// why, when it does not; cancelling says nothing more.
bool pickOutline(const char* prompt, const char* className, const char* lockedMessage, const char* failedFormat,
                 AcDbObjectId& id)
{
    if (CAcadUtilities::selectObjectId(id, prompt, className) != 0) return false;
    AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForWrite);
    if (!entity) {
        if (entity.openStatus() == Acad::eOnLockedLayer)
            acutPrintf("%s", lockedMessage);
        else
            acutPrintf(failedFormat, static_cast<int>(entity.openStatus()));
        return false;
    }
    if (std::string(className) == "AcDbPolyline" && !static_cast<const AcDbPolyline*>(entity.object())->isClosed()) {
        acutPrintf("\nInvalid Selection - Polyline is not closed\n\n");
        return false;
    }
    return true;
}

constexpr double kDegreesToRadians = 0.017453292519943295;

void createMarkerCommand(CMarkerBlock::Kind kind)
{
    const bool legend = kind == CMarkerBlock::Kind::Legend;
    CSpaceCommandRun run(false);
    if (!run.drawing().getDocument()) return;
    if (CMarkerBlock::markerExists(run.drawing(), kind)) {
        acutPrintf(legend ? "\n\nLegend Marker Block Already Exists\n" : "\n\n Pie Chart Marker Block Already Exists\n");
        return;
    }
    if (!run.lock()) return;
    CPreferences preferences;
    preferences.loadPreferences();
    AcDbObjectId id;
    const bool picked =
        legend ? pickOutline("\nPlease select a polyline:\n", "AcDbPolyline",
                             "\nPolyline On Locked Layer - Legend Block Marker Creation Failed\n",
                             "\nUnable to get Polyline - Error %d - Legend Block Marker Creation Failed\n", id)
               : pickOutline("\nPlease select a circle:\n", "AcDbCircle",
                             "\nCircle On Locked Layer - Pie Chart Marker Block Creation Failed\n",
                             "\nUnable to get Circle - Error %d - Pie Chart Marker Block Creation Failed\n", id);
    if (!picked) return;
    int32_t precision = preferences.getPrecision();
    double textSize = preferences.getTextSize();
    double rotation = preferences.getTextRotation();
    // Enter takes the default shown; cancelling ends the command.
    auto answered = [](int result) { return result == RTNORM || result == RTNONE; };
    if (!answered(CAcadUtilities::getInteger(legend ? "enter legend precision" : "enter pie chart precision",
                                             preferences.getPrecision(), precision)) ||
        !answered(CAcadUtilities::getDouble(legend ? "enter legend text size" : "enter pie chart text size",
                                            preferences.getTextSize(), textSize, preferences.getPrecision())) ||
        !answered(CAcadUtilities::getDouble(legend ? "specify legend rotation (in degrees)"
                                                   : "specify pie chart rotation (in degrees)",
                                            preferences.getTextRotation(), rotation, preferences.getPrecision())))
        return;
    CMarkerBlock::createMarker(run.drawing(), id, kind, precision, preferences.getUnits(), textSize,
                               rotation * kDegreesToRadians);
}

}  // namespace

void zelkaGrossAreaBlockCreate()
{
    zelkaCommandFrame("Zelka Create Gross Area Block", "zelkaGrossAreaBlockCreate", [] {
        CSpaceCommandRun run(false);
        if (!run.drawing().getDocument()) return;
        if (CGrossAreaBlock::exists(run.drawing())) {
            acutPrintf("\n\nGross Area Block Already Exists\n");
            return;
        }
        if (!run.lock()) return;
        CPreferences preferences;
        preferences.loadPreferences();
        AcDbObjectId id;
        if (!pickOutline("\nPlease select a polyline:\n", "AcDbPolyline",
                         "\nPolyline On Locked Layer - Block Creation Failed\n",
                         "\nUnable get Polyline - Error %d - Block Creation Failed\n", id))
            return;
        CGrossAreaBlock::createGrossAreaBlock(run.drawing(), id, preferences.getUnits(), preferences.getTextSize(),
                                              preferences.getTextScale(), preferences.getTextRotation(),
                                              preferences.getPrecision());
    });
}

void zelkaLegendMarkerCreate()
{
    zelkaCommandFrame("Zelka Create Legend Marker Block", "zelkaLegendMarkerCreate",
                      [] { createMarkerCommand(CMarkerBlock::Kind::Legend); });
}

void zelkaPieMarkerCreate()
{
    zelkaCommandFrame("Zelka Create Pie Chart Marker Block", "zelkaPieMarkerCreate",
                      [] { createMarkerCommand(CMarkerBlock::Kind::Pie); });
}
