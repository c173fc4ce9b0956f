// Command bodies of the listing and export commands: the room-area CSV file
// with its opener (mcsv) and the block list (mlb).

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include "config/Preferences.h"
#include "database/Assets.h"
#include "host/ed/acedCommandStatus.h"
#include "host/ed/acutPrintf.h"
#include "infra/Utilities.h"
#include "infra/ZelkaExceptions.h"
#include "module/AcadDrawing.h"
#include "module/CommandFrame.h"
#include "module/ProcessStarter.h"
#include "module/RoomAreaCSV.h"
#include "module/SpaceCommandRun.h"
#include "module/SpaceCommandSupport.h"
#include "module/blockEdit.h"
#include "spaces/AcadUtilities.h"
#include "spaces/BlockDWG.h"
#include "spaces/Blocks.h"

namespace {

// Shows one failure as the space commands show a block's write-back
// failure, and marks the command as failed.
void reportFailure(const std::string& procSig, const std::string& message)
{
    CZelkaExceptions errors;
    errors.add(CEXCustom(ZELKA_MODULE_TITLE, __FILE__, procSig, message, 0, nullptr));
    errors.displayAll();
    acedCommandFailed();
}

}  // namespace

void zelkaCommaSeperatedValues()
{
    zelkaCommandFrame("Zelka Block Details", "createRoomAreaCSV", [] {
        CPreferences prefs;
        prefs.loadPreferences();
        CSpaceCommandRun run;
        CAcadDrawing& drawing = run.drawing();
        if (drawing.getFullPath().empty()) {
            reportFailure("createRoomAreaCSV",
                          "No CSV file was written: the drawing has never been saved, so it has no folder to "
                          "write the file beside. Save the drawing under a name, then run mcsv again.");
            return;
        }
        // The full path, so the message says where the file went whatever
        // folder the drawing was opened from.
        std::error_code ec;
        std::filesystem::path drawingPath = std::filesystem::absolute(drawing.getFullPath(), ec);
        const std::string csvPath =
            CRoomAreaCSV::csvPathFor(ec ? drawing.getFullPath() : drawingPath.lexically_normal().string());
        run.gather().sortBlocksByHandle(true);
        CRoomAreaCSV csv(prefs.getPrecision());
        CUtilities util;
        run.forEachBlock(
            [&](CBlockDWG& block) {
                if (!csv.addBlock(block.getBlockName(), block.getName(), block.getArea(), block.getPerimeter(),
                                  block.getUnits()))
                    reportFailure("createRoomAreaCSV",
                                  "Space block " + block.getName() + " (" + block.getBlockName() + ", handle " +
                                      block.getHandle() + ") was left out of the CSV file: its area (" +
                                      util.DoubleToCString(block.getArea(), -1) + ") or perimeter (" +
                                      util.DoubleToCString(block.getPerimeter(), -1) +
                                      ") is not a finite number. Run mus to measure it again.");
            },
            false);
        if (!csv.totalsFinite()) {
            reportFailure("createRoomAreaCSV", "No CSV file was written: the total of the room areas or perimeters "
                                               "is too large to be written as a number.");
            return;
        }
        if (!csv.writeFile(csvPath)) {
            reportFailure("createRoomAreaCSV", "The CSV file " + csvPath + " could not be written: " +
                                                   std::strerror(errno) + ".");
            return;
        }
        acutPrintf("csv data successfully saved to file (%s)\n", csvPath.c_str());
        std::string opener = prefs.getCSVOpener();
        if (opener == "NONE") return;
        while (opener.empty()) {
            opener = CAcadUtilities::getString("Please enter the path of the application you wish to open csv files with\n");
            if (zelkaInputEnded()) return;
        }
        CProcessStarter::start(opener, {csvPath}, CProcessStarter::hostProgramFolder());
    });
}

void zelkaListBlocks()
{
    zelkaCommandFrame(nullptr, "listBlockNameIdentifier", [] {
        bool ascending = true;
        bool listAssets = false;
        CAcadUtilities::getBoolean("sort by handle in ascending order", true, ascending);
        CAcadUtilities::getBoolean("list assets", false, listAssets);
        if (zelkaInputEnded()) return;
        CUtilities util;
        CSpaceCommandRun run;
        run.gather(true).sortBlocksByHandle(ascending);
        acutPrintf("\n\n");
        acutPrintf("ID,Name,Area,Handle(hex),Handle(dec),Assets\n");
        run.forEachBlock(
            [&](CBlockDWG& block) {
                CAssets* assets = block.getAssets();
                // Names holding a comma or a quote are quoted, as in the CSV file.
                acutPrintf("%s,%s,%s,%s,%i,%i\n", CRoomAreaCSV::quoteField(block.getBlockName()).c_str(),
                           CRoomAreaCSV::quoteField(block.getName()).c_str(),
                           util.DoubleToCString(block.getArea(), 2).c_str(), block.getHandle().c_str(),
                           static_cast<int>(util.hexToInt(block.getHandle())), assets ? assets->getCount() : 0);
                if (!listAssets || !assets) return;
                for (int a = 0; a < assets->getCount(); ++a) {
                    const CAsset& asset = assets->getAt(a);
                    acutPrintf(",,,,,,%s,%s,%i,%i\n",
                               CRoomAreaCSV::quoteField(asset.getAcadBlockIdentifier()).c_str(),
                               asset.getHandle().c_str(), asset.getLocationID(), asset.getDrawingID());
                }
            },
            false);
    });
}
