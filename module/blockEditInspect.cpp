// Command bodies that work on one picked space block: deleting it (mdb),
// leaving its outline where it was drawn, and printing every detail of it
// (msc_dsd).

#include <string>

#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/ed/acutPrintf.h"
#include "infra/Utilities.h"
#include "module/AcadDrawing.h"
#include "module/CommandFrame.h"
#include "module/SpaceCommandRun.h"
#include "module/blockEdit.h"
#include "spaces/AcadUtilities.h"
#include "spaces/Attributes.h"
#include "spaces/BlockDWG.h"
#include "spaces/Blocks.h"
#include "spaces/ZelkaAttribute.h"

void zelkaDeleteBlock()
{
    zelkaCommandFrame("Zelka Block Delete", "zelkaDeleteBlock", [] {
        CSpaceCommandRun run(false);
        AcDbObjectId id;
        if (CAcadUtilities::selectObjectId(id, "Select the Zelka Block to delete", "AcDbBlockReference") != 0) return;
        if (!run.lock()) return;
        std::unique_ptr<CBlockDWG> block;
        {
            AcDbObjectPointer<AcDbBlockReference> reference(id, AcDb::kForRead);
            if (!reference) return;
            block = std::make_unique<CBlockDWG>(reference.object(), run.drawing());
        }
        block->deleteBlock(run.drawing());
    });
}

void zelkaDisplaySpaceDetails()
{
    zelkaCommandFrame(nullptr, "displaySpaceDetails", [] {
        CSpaceCommandRun run(false);
        AcDbObjectId id;
        if (CAcadUtilities::selectObjectId("\nSelect a Zelka Space", id) != RTNORM) return;
        std::string handle;
        {
            AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForRead);
            if (!entity) return;
            handle = entity->handle().toString();
        }
        run.lock();
        run.gather();
        run.forEachBlock(
            [&](CBlockDWG& block) {
                if (block.getHandle() != handle) return;
                acutPrintf("\n");
                acutPrintf("Block Identifier %s\n", block.getBlockName().c_str());
                acutPrintf("Handle\t\t\t %s\n", block.getHandle().c_str());
                if (CAttributes* attributes = block.getAttributes(); attributes && attributes->getCount() > 0) {
                    acutPrintf("Attributes\n");
                    if (CZelkaAttribute* name = attributes->getAtAttribute(0))
                        acutPrintf("\tName '%s'\n", name->getText().c_str());
                    if (CZelkaAttribute* area = attributes->getAtAttribute(1))
                        acutPrintf("\tArea '%s'\n", area->getText().c_str());
                    if (CZelkaAttribute* aux = attributes->getAtAttribute(2))
                        acutPrintf("\t Aux '%s'\n", aux->getText().c_str());
                    acutPrintf("\n");
                }
                acutPrintf("XDATA\n");
                acutPrintf("\t Area           %f\n", block.getArea());
                acutPrintf("\t Perimeter      %f\n", block.getPerimeter());
                acutPrintf("\t Tag Type       %s\n", block.getTagType().c_str());
                acutPrintf("\t Area Type      %s\n", block.getAreaType().c_str());
                acutPrintf("\t Cost Centre    %s\n", block.getCostCentre().c_str());
                acutPrintf("\t Date           %s\n", block.getDate().c_str());
                acutPrintf("\t Date Last Move %s\n", block.getDateLastMove().c_str());
                acutPrintf("\t Dept Charge    %s\n", block.getDeptCharge().c_str());
                acutPrintf("\t Room Height    %f\n", block.getRoomHeight());
                acutPrintf("\t Special Req    %s\n", block.getSpecialReq().c_str());
                acutPrintf("\t Tot Staff      %s\n", block.getTotalStaff().c_str());
                acutPrintf("\t Tot Wk Stns    %s\n", block.getTotalWorkstations().c_str());
                acutPrintf("\t Vloume         %f\n", block.getVolume());
                acutPrintf("\n\n");
            },
            false);
    });
}
