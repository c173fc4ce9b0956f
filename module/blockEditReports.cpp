// Command bodies of the graphic reports (magr, mgr), the legend and pie chart
// definitions (mlbd, mpbd) and of the test hatch
// commands (msc_has, msc_hs).

#include <chrono>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>

#include "config/Preferences.h"
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/ed/acutPrintf.h"
#include "host/ui/FileDialog.h"
#include "infra/ZelkaExceptions.h"
#include "module/AcadDrawing.h"
#include "module/AcadDrawingLock.h"
#include "module/CommandFrame.h"
#include "module/SpaceCommandRun.h"
#include "module/SpaceCommandSupport.h"
#include "module/blockEdit.h"
#include "reports/GraphicReport.h"
#include "reports/Hatch.h"
#include "reports/LegendTable.h"
#include "reports/PieChart.h"
#include "spaces/AcadUtilities.h"
#include "spaces/BlockDWG.h"
#include "spaces/Blocks.h"
#include "spaces/SendToBackBatch.h"

namespace {

constexpr const char* kReportFilter = "XML Graphic Reports (*.xml)|*.xml";

// The fixed style of the test hatch commands: solid yellow on "#Hatch".
std::unique_ptr<CHatch> testHatchStyle()
{
    auto hatch = std::make_unique<CHatch>();
    hatch->setPatternName("SOLID");
    hatch->setAngle(0);
    hatch->setScale(500);
    hatch->setLayer("#Hatch");
    AcCmColor yellow;
    yellow.setRGB(255, 255, 0);
    hatch->setColour(yellow);
    return hatch;
}

std::string clockText()
{
    std::time_t now = std::time(nullptr);
    char text[16];
    std::strftime(text, sizeof text, "%H:%M:%S", std::localtime(&now));
    return text;
}

// Asks for a report file and reads it. False (said why) when there is no
// answer or the file cannot be read as a report.
bool askForReport(CGraphicReport& report)
{
    std::string path;
    if (promptForOpenFile("Select Graphic Report", kReportFilter, path) != 1 || path.empty())
        return false;
    return report.deSerialize(path);
}

// For drawings without marker blocks: asks for the legend's and pie
// chart's settings and makes their block definitions, which the user can
// then insert where they belong. Input that runs out changes nothing.
void defineLegacyLegendAndPie(CAcadDrawing& drawing, const CGraphicReport& report, bool legendWanted, bool pieWanted)
{
    CPreferences prefs;
    prefs.loadPreferences();
    const int shown = prefs.getPrecision();
    double textSize = prefs.getTextSize();
    CAcadUtilities::getDouble("specify text size", prefs.getTextSize(), textSize, shown);
    double radius = 10.0 * textSize;
    if (pieWanted)
        CAcadUtilities::getDouble("specify pie chart radius", 10.0 * textSize, radius, shown);
    double degrees = prefs.getTextRotation();
    CAcadUtilities::getDouble("specify rotation (in degrees)", prefs.getTextRotation(), degrees, shown);
    bool ignoreEmpty = true;
    CAcadUtilities::getBoolean("ignore empty categories and pie chart segments?", true, ignoreEmpty);
    std::string units;
    CAcadUtilities::getString("specify units", CGraphicReport::unitsLabel(prefs.getUnits()), units);
    int32_t precision = prefs.getPrecision();
    CAcadUtilities::getInteger("specify precision", prefs.getPrecision(), precision);
    if (zelkaInputEnded())
        return;
    const double rotation = degrees * 0.017453292519943295;
    CAcadDrawingLock lock(drawing);
    if (!lock.isLocked())
        return;
    if (legendWanted) {
        CLegendTable legend(drawing, textSize, precision, units, ignoreEmpty, report, rotation, nullptr,
                            zelkaHostProduct().isFullProduct());
        acutPrintf("legend definition successfully created.\n");
    }
    if (pieWanted) {
        CPieChart pie(drawing, report, radius, 0.0, textSize, precision, units, ignoreEmpty, true, true, rotation,
                      nullptr, zelkaHostProduct().isFullProduct());
        if (pie.getBlockId().isNull())
            acutPrintf("no pie chart definition was made: the report has no categories with an area or no total "
                       "child area (grTotalChildAreas).\n");
        else
            acutPrintf("pie chart definition successfully created.\n");
    }
}

// Applies the report to the drawing under its lock and says so; then, for
// a drawing without marker blocks, offers the legend and pie definitions.
void applyReport(CGraphicReport& report, CAcadDrawing& drawing)
{
    CAcadDrawingLock lock(drawing);
    if (!lock.isLocked())
        raiseHostStatus(static_cast<Acad::ErrorStatus>(lock.status()), __LINE__, drawing.getFullPath());
    report.applyToDrawing(drawing, zelkaHostProduct());
    acutPrintf("graphic report successfully applied.\n");
    bool legendWanted = true;
    bool pieWanted = true;
    if (zelkaHostProduct().isFullProduct()) {
        CBlocks legends;
        legends.getLegendBlock_SS(drawing);
        CBlocks pies;
        pies.getPieBlock_SS(drawing);
        legendWanted = legends.size() == 0;
        pieWanted = pies.size() == 0;
    }
    if (legendWanted || pieWanted)
        defineLegacyLegendAndPie(drawing, report, legendWanted, pieWanted);
}

// The legend (mlbd) or pie chart (mpbd) definition of a report the user
// chooses, made from the answers to the prompts and left in the block table
// for the user to insert. Input that runs out changes nothing.
void defineReportBlock(bool legend)
{
    CPreferences prefs;
    prefs.loadPreferences();
    CGraphicReport report;
    if (!askForReport(report))
        return;
    CAcadDrawing drawing;
    if (!zelkaAdoptActiveDocument(drawing)) {
        acutPrintf("No drawing is open; open the drawing the definition is for and run %s again.\n",
                   legend ? "MLBD" : "MPBD");
        return;
    }
    CAcadDrawingLock lock(drawing);
    if (!lock.isLocked())
        raiseHostStatus(static_cast<Acad::ErrorStatus>(lock.status()), __LINE__, drawing.getFullPath());
    const int shown = prefs.getPrecision();
    double textSize = prefs.getTextSize();
    CAcadUtilities::getDouble("specify text size", prefs.getTextSize(), textSize, shown);
    double radius = 10.0 * textSize;
    if (!legend)
        CAcadUtilities::getDouble("specify pie chart radius", 10.0 * textSize, radius, shown);
    double degrees = prefs.getTextRotation();
    CAcadUtilities::getDouble("specify rotation (in degrees)", prefs.getTextRotation(), degrees, shown);
    int32_t precision = prefs.getPrecision();
    CAcadUtilities::getInteger("specify precision", prefs.getPrecision(), precision);
    bool ignoreEmpty = true;
    CAcadUtilities::getBoolean("ignore empty categories and pie chart segments?", true, ignoreEmpty);
    if (zelkaInputEnded())
        return;
    const std::string units = prefs.getUnits() == 1 ? "sq.ft." : "sq.m.";
    const double rotation = degrees * 0.017453292519943295;
    if (legend) {
        CLegendTable table(drawing, textSize, precision, units, ignoreEmpty, report, rotation, nullptr,
                           zelkaHostProduct().isFullProduct());
        acutPrintf("legend definition successfully created.\n");
        return;
    }
    CPieChart pie(drawing, report, radius, 0.0, textSize, precision, units, ignoreEmpty, true, true, rotation,
                  nullptr, zelkaHostProduct().isFullProduct());
    if (pie.getBlockId().isNull())
        acutPrintf("no pie chart definition was made: the report has no categories with an area or no total "
                   "child area (grTotalChildAreas).\n");
    else
        acutPrintf("pie chart definition successfully created.\n");
}

}  // namespace

void zelkaApplyGraphicReport()
{
    zelkaCommandFrame(nullptr, "applyGraphicReport", [] {
        CPreferences prefs;
        prefs.loadPreferences();
        CGraphicReport report;
        if (!askForReport(report))
            return;
        CAcadDrawing drawing;
        if (!zelkaAdoptActiveDocument(drawing)) {
            acutPrintf("No drawing is open; open the drawing the report is for and run MAGR again.\n");
            return;
        }
        applyReport(report, drawing);
        acutPrintf("\n");
    });
}

void zelkaGraphicReport()
{
    zelkaCommandFrame(nullptr, "graphicReport", [] {
        CPreferences prefs;
        prefs.loadPreferences();
        CGraphicReport report;
        if (!askForReport(report))
            return;
        const std::string full = report.getDrawingPath() + report.getDrawingFilename();
        std::error_code error;
        if (report.getDrawingFilename().empty() || !std::filesystem::is_regular_file(full, error)) {
            acutPrintf("The drawing of graphic report %s (\"%s\") does not exist; the report was not applied. "
                       "Correct grDrawingPath and grDrawingFilename in the report file.\n",
                       report.getTitle().c_str(), full.c_str());
            return;
        }
        // The report's drawing is opened and stays open for the user.
        CAcadDrawing drawing(report.getDrawingPath(), report.getDrawingFilename());
        drawing.setKeepOpen(true);
        applyReport(report, drawing);
        acutPrintf("\n");
    });
}

void zelkaHatchAllSpaces()
{
    zelkaCommandFrame(nullptr, "hatchAllSpaces", [] {
        CSpaceCommandRun run;
        run.gather();
        acutPrintf("%s\n", clockText().c_str());
        const auto start = std::chrono::steady_clock::now();
        int count = 0;
        {
            // The hatches go beneath everything in one reordering at the end.
            CSendToBackBatch drawOrder;
            run.forEachBlock([&](CBlockDWG& block) {
                if (block.getName() == "GROSS AREA")
                    return;
                block.setHatch(testHatchStyle());
                zelkaApplyBlock(block, run.drawing());
                ++count;
            });
        }
        const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        acutPrintf("%s\n", clockText().c_str());
        acutPrintf("%i block(s) hatched in %d seconds (%.2f s/b)\n", count, static_cast<int>(elapsed),
                   count > 0 ? elapsed / count : 0.0);
    });
}

void zelkaHatchSpace()
{
    zelkaCommandFrame(nullptr, "hatchSpace", [] {
        CSpaceCommandRun run(false);
        AcDbObjectId id;
        if (CAcadUtilities::selectObjectId("\nSelect a Zelka Space", id) != RTNORM)
            return;
        std::string handle;
        {
            AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForRead);
            if (!entity)
                return;
            handle = entity->handle().toString();
        }
        run.lock();
        run.gather();
        bool found = false;
        run.forEachBlock(
            [&](CBlockDWG& block) {
                if (block.getHandle() != handle)
                    return;
                found = true;
                block.setHatch(testHatchStyle());
                zelkaApplyBlock(block, run.drawing());
            },
            false);
        if (!found)
            acutPrintf("The object picked (%s) is not a Zelka space; nothing was hatched.\n", handle.c_str());
    });
}

void zelkaLegendBlockDefine()
{
    zelkaCommandFrame("Zelka Legend Block Define", "zelkaLegendBlockDefine", [] { defineReportBlock(true); });
}

void zelkaPieBlockDefine()
{
    zelkaCommandFrame("Zelka Pie Chart Block Define", "zelkaPieBlockDefine", [] { defineReportBlock(false); });
}
