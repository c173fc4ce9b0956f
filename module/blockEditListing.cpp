// Command bodies of the listing and export commands: the room-area CSV file
// with its opener (mcsv) and the block list (mlb).

#include <string>

#include "config/Preferences.h"
#include "database/Assets.h"
#include "host/ed/acutPrintf.h"
#include "infra/Utilities.h"
#include "module/AcadDrawing.h"
#include "module/AcadDrawingLock.h"
#include "module/CommandFrame.h"
#include "module/ProcessStarter.h"
#include "module/RoomAreaCSV.h"
#include "module/SpaceCommandSupport.h"
#include "module/blockEdit.h"
#include "spaces/AcadUtilities.h"
#include "spaces/BlockDWG.h"
#include "spaces/Blocks.h"

void zelkaCommaSeperatedValues()
{
    zelkaCommandFrame("Zelka Block Details", "createRoomAreaCSV", [] {
        CPreferences prefs;
        prefs.loadPreferences();
        CAcadDrawing drawing;
        zelkaAdoptActiveDocument(drawing);
        CAcadDrawingLock lock(drawing);
        const std::string csvPath = CRoomAreaCSV::csvPathFor(drawing.getFullPath());
        CBlocks blocks;
        zelkaGatherSpaceBlocks(drawing, blocks);
        blocks.sortBlocksByHandle(true);
        CRoomAreaCSV csv(prefs.getPrecision());
        for (int i = 0; i < blocks.size(); ++i) {
            CBlockDWG* block = zelkaSpaceBlockAt(blocks, i);
            if (block)
                csv.addBlock(block->getBlockName(), block->getName(), block->getArea(), block->getPerimeter(),
                             block->getUnits());
        }
        if (!csv.writeFile(csvPath)) return;
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
        CAcadDrawing drawing;
        zelkaAdoptActiveDocument(drawing);
        CAcadDrawingLock lock(drawing);
        CBlocks blocks;
        zelkaGatherSpaceBlocks(drawing, blocks, true);
        blocks.sortBlocksByHandle(ascending);
        acutPrintf("\n\n");
        acutPrintf("ID,Name,Area,Handle(hex),Handle(dec),Assets\n");
        for (int i = 0; i < blocks.size(); ++i) {
            CBlockDWG* block = zelkaSpaceBlockAt(blocks, i);
            if (!block) continue;
            CAssets* assets = block->getAssets();
            acutPrintf("%s,%s,%s,%s,%i,%i\n", block->getBlockName().c_str(), block->getName().c_str(),
                       util.DoubleToCString(block->getArea(), 2).c_str(), block->getHandle().c_str(),
                       static_cast<int>(util.hexToInt(block->getHandle())), assets ? assets->getCount() : 0);
            if (!listAssets || !assets) continue;
            for (int a = 0; a < assets->getCount(); ++a) {
                const CAsset& asset = assets->getAt(a);
                acutPrintf(",,,,,,%s,%s,%i,%i\n", asset.getAcadBlockIdentifier().c_str(), asset.getHandle().c_str(),
                           asset.getLocationID(), asset.getDrawingID());
            }
        }
    });
}
