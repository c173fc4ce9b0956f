#include "module/SpaceCommandSupport.h"

#include "config/Preferences.h"
#include "host/ed/AcApDocManager.h"
#include "host/ed/Editor.h"
#include "infra/ZelkaExceptions.h"
#include "module/AcadDrawing.h"
#include "spaces/AcadUtilities.h"
#include "spaces/Attributes.h"
#include "spaces/BlockDWG.h"
#include "spaces/Blocks.h"
#include "spaces/ZelkaAttribute.h"

bool zelkaAdoptActiveDocument(CAcadDrawing& drawing)
{
    return drawing.adoptActiveDocument();
}

void zelkaGatherSpaceBlocks(CAcadDrawing& drawing, CBlocks& blocks, bool withAssets)
{
    if (!drawing.getDocument()) return;
    blocks.getZelkaDWGBlocks_SS(drawing, withAssets, "f");
    // A block whose record gives no units (it has none, or its area item
    // has no unit) or no precision (no area item) is taken in the
    // preferences' units and precision, so that it is written and exported
    // as the drawing's other blocks are, not in feet by default.
    CPreferences prefs;
    prefs.loadPreferences();
    for (int i = 0; i < blocks.size(); ++i)
        if (CBlockDWG* block = zelkaSpaceBlockAt(blocks, i)) zelkaTakeDefaultUnits(*block, prefs);
}

void zelkaTakeDefaultUnits(CBlockDWG& block, const CPreferences& prefs)
{
    if (block.getUnits() < 0) block.setUnits(prefs.getUnits());
    if (block.getPrecision() < 0) block.setPrecision(prefs.getPrecision());
}

CBlockDWG* zelkaSpaceBlockAt(const CBlocks& blocks, int index)
{
    CBlock& block = blocks.getAt(index);
    return isDrawingKind(block.getBlockKind()) ? static_cast<CBlockDWG*>(&block) : nullptr;
}

CZelkaAttribute* zelkaSpaceAttribute(const CBlockDWG& block, int position)
{
    CAttributes* attributes = block.getAttributes();
    return attributes ? attributes->getAtAttribute(position) : nullptr;
}

bool zelkaBlockStep(const std::function<void()>& step)
{
    CZelkaExceptions errors;
    try {
        step();
    } catch (const CEXZelka& e) {
        errors.add(e);
    }
    if (errors.getCount() == 0) return true;
    errors.displayAll();
    return false;
}

bool zelkaInputEnded()
{
    return Editor::instance().inputEnded();
}

bool zelkaApplyBlock(CBlockDWG& block, CAcadDrawing& drawing)
{
    return zelkaBlockStep([&] { block.applyToDWG(drawing, false); });
}

void zelkaPromptString(const std::string& prompt, const std::string& defaultValue, std::string& value)
{
    CAcadUtilities::getString(prompt, defaultValue, value);
}
