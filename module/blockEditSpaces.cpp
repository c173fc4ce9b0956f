// Command bodies of the space maintenance commands: recalculating (mus),
// copying record values into attributes (msxta), blanking the aux attribute
// (mbta), resetting the attribute text (mut), refreshing the attributes (mrt)
// and renaming by prefix (mfrs). Each walks the drawing's space blocks and
// writes every block back with its own error list.

#include <string>

#include "config/Preferences.h"
#include "host/ed/acutPrintf.h"
#include "infra/Utilities.h"
#include "module/AcadDrawing.h"
#include "module/CommandFrame.h"
#include "module/SpaceCommandRun.h"
#include "module/SpaceCommandSupport.h"
#include "module/blockEdit.h"
#include "spaces/AcadUtilities.h"
#include "spaces/Attributes.h"
#include "spaces/BlockDWG.h"
#include "spaces/Blocks.h"
#include "spaces/SpaceUnits.h"
#include "spaces/ZelkaAttribute.h"

namespace {

// One answer of mut: a number above 0 (or any number when anyNumber), or
// "i" to leave the setting alone.
enum class TextSetting { Take, Ignore, InputEnded };

TextSetting askTextSetting(const std::string& prompt, const std::string& notNumericPrompt,
                           const std::string& notPositivePrompt, bool anyNumber, const std::string& defaultText,
                           double& value)
{
    CUtilities util;
    std::string question = prompt;
    for (;;) {
        std::string answer;
        CAcadUtilities::getString(question, defaultText, answer);
        // The offered default may fail the checks below (precision 0 shows a
        // scale of 0.4 as "0"): asking again could never end without input.
        if (zelkaInputEnded()) return TextSetting::InputEnded;
        if (answer == "i") return TextSetting::Ignore;
        if (!util.isNumeric(answer)) {
            question = notNumericPrompt;
            continue;
        }
        double number = util.CStringToDouble(answer);
        if (!anyNumber && number <= 0.0) {
            question = notPositivePrompt;
            continue;
        }
        value = number;
        return TextSetting::Take;
    }
}

}  // namespace

void zelkaUpdateSpaces()
{
    zelkaCommandFrame("Zelka Update Spaces", "updateSpaces", [] {
        CPreferences prefs;
        prefs.loadPreferences();
        CUtilities util;
        CSpaceCommandRun run;
        CAcadDrawing& drawing = run.drawing();
        run.forEachGatheredBlock([&](CBlockDWG& block) {
            // The suffixes stay those of the units the block had when read.
            const std::string areaUnit = block.getAreaUnits();
            const std::string lengthUnit = block.getLengthUnits();
            const std::string shownArea = util.DoubleToCString(block.getArea(), block.getPrecision()) + areaUnit;
            const std::string shownPerimeter =
                util.DoubleToCString(block.getPerimeter(), block.getPrecision()) + lengthUnit;
            CZelkaAttribute* areaAttribute = zelkaSpaceAttribute(block, 1);
            CZelkaAttribute* auxAttribute = zelkaSpaceAttribute(block, 2);
            const bool areaLinked = areaAttribute && areaAttribute->getText() == shownArea;
            const bool perimeterLinked = auxAttribute && auxAttribute->getText() == shownPerimeter;

            block.setPrecision(prefs.getPrecision());
            block.setUnits(prefs.getUnits());
            block.recalculateAreaAndPerimeter(drawing);
            if (areaLinked)
                areaAttribute->setText(util.DoubleToCString(block.getArea(), block.getPrecision()) + areaUnit);
            if (perimeterLinked)
                auxAttribute->setText(util.DoubleToCString(block.getPerimeter(), block.getPrecision()) + lengthUnit);
            zelkaApplyBlock(block, drawing);
        });
    });
}

void zelkaSyncXDataToAttributes()
{
    zelkaCommandFrame("Zelka Update Spaces", "syncXDataToAttributes", [] {
        bool syncName = true;
        bool syncArea = true;
        bool syncPerimeter = false;
        bool recalculate = false;
        CAcadUtilities::getBoolean("Sync XData name to name attribute?", true, syncName);
        CAcadUtilities::getBoolean("Sync XData area to area attribute?", true, syncArea);
        CAcadUtilities::getBoolean("Sync XData perimeter to aux attribute?", false, syncPerimeter);
        CAcadUtilities::getBoolean("Recalculate values before sync?", false, recalculate);
        if (zelkaInputEnded()) return;
        CPreferences prefs;
        prefs.loadPreferences();
        CUtilities util;
        CSpaceCommandRun run;
        CAcadDrawing& drawing = run.drawing();
        run.forEachGatheredBlock([&](CBlockDWG& block) {
            if (recalculate) {
                block.setPrecision(prefs.getPrecision());
                block.setUnits(prefs.getUnits());
                block.recalculateAreaAndPerimeter(drawing);
            }
            CZelkaAttribute* nameAttribute = zelkaSpaceAttribute(block, 0);
            CZelkaAttribute* areaAttribute = zelkaSpaceAttribute(block, 1);
            CZelkaAttribute* auxAttribute = zelkaSpaceAttribute(block, 2);
            if (syncName && nameAttribute) nameAttribute->setText(block.getName());
            if (syncArea && areaAttribute)
                areaAttribute->setText(util.DoubleToCString(block.getArea(), prefs.getPrecision()) +
                                       std::string(areaSuffix(prefs.getUnits())));
            if (syncPerimeter && auxAttribute)
                auxAttribute->setText(util.DoubleToCString(block.getPerimeter(), prefs.getPrecision()) +
                                      std::string(lengthSuffix(prefs.getUnits())));
            zelkaApplyBlock(block, drawing);
        });
    });
}

void zelkaBlankThirdAttribute()
{
    zelkaCommandFrame(nullptr, "blankThirdAttribute", [] {
        CSpaceCommandRun run;
        int altered = 0;
        run.forEachGatheredBlock([&](CBlockDWG& block) {
            CZelkaAttribute* aux = zelkaSpaceAttribute(block, 2);
            if (!aux) return;
            aux->setText(" ");
            // A block left unchanged (reported) is not counted as altered.
            if (zelkaApplyBlock(block, run.drawing())) ++altered;
        });
        acutPrintf("%i block(s) altered\n", altered);
    });
}

void zelkaUpdateText()
{
    zelkaCommandFrame("Zelka Update Text Size", "updateTextSize", [] {
        CPreferences prefs;
        prefs.loadPreferences();
        CUtilities util;
        const int precision = prefs.getPrecision();
        double size = 0.0;
        double scale = 0.0;
        double rotation = 0.0;
        const TextSetting sizeAnswer = askTextSetting(
            "Enter new Text Size or (i)gnore", "Invalid Input. Enter new Text Siz or (i)gnore",
            "Text Size must be greater than 0\nEnter new Text Size or (i)gnore", false,
            util.DoubleToCString(prefs.getTextSize(), precision), size);
        if (sizeAnswer == TextSetting::InputEnded) return;
        const TextSetting scaleAnswer = askTextSetting(
            "Enter new Text Scale or (i)gnore", "Invalid Input. Enter new Text Scale or (i)gnore",
            "Text Scale must be greater than 0\nEnter new Text Scale or (i)gnore", false,
            util.DoubleToCString(prefs.getTextScale(), precision), scale);
        if (scaleAnswer == TextSetting::InputEnded) return;
        const TextSetting rotationAnswer =
            askTextSetting("Enter new Text Rotation or (i)gnore", "Invalid Input. Enter new Text Rotation or (i)gnore",
                           "", true, util.DoubleToCString(prefs.getTextRotation(), precision), rotation);
        if (rotationAnswer == TextSetting::InputEnded) return;
        const bool takeSize = sizeAnswer == TextSetting::Take;
        const bool takeScale = scaleAnswer == TextSetting::Take;
        const bool takeRotation = rotationAnswer == TextSetting::Take;
        CSpaceCommandRun run;
        run.forEachGatheredBlock([&](CBlockDWG& block) {
            if (CAttributes* attributes = block.getAttributes()) {
                if (takeSize) attributes->setTextHeight(size);
                if (takeScale) attributes->setWidthFactor(scale);
                if (takeRotation) attributes->setRotation(rotation);
            }
            zelkaApplyBlock(block, run.drawing());
        });
    });
}

void zelkaRefreshTags()
{
    zelkaCommandFrame(nullptr, "zelkaRefreshTags", [] {
        CSpaceCommandRun run;
        if (!run.isReady()) return;
        const AcGeMatrix3d ucs = CBlockDWG::currentUcsMatrix(run.drawing());
        run.forEachGatheredBlock(
            [&](CBlockDWG& block) { zelkaBlockStep([&] { block.updateAttributes(ucs, nullptr); }); });
    });
}

void zelkaFindReplace()
{
    zelkaCommandFrame(nullptr, "zelkaFindReplaceStub", [] {
        const std::string find = CAcadUtilities::getString("Enter String to Find");
        const std::string replace = CAcadUtilities::getString("Enter String to Replace");
        if (zelkaInputEnded()) return;
        CSpaceCommandRun run;
        run.gather();
        int changes = 0;
        run.forEachBlock([&](CBlockDWG& block) {
            const std::string oldName = block.getName();
            if (oldName.compare(0, find.size(), find) != 0) return;
            const std::string newName = replace + oldName.substr(find.size());
            if (CZelkaAttribute* nameAttribute = zelkaSpaceAttribute(block, 0)) nameAttribute->setText(newName);
            block.setName(newName);
            if (!zelkaApplyBlock(block, run.drawing())) return;
            ++changes;
            acutPrintf("%s changed to %s\n", oldName.c_str(), newName.c_str());
        });
        acutPrintf("%i blocks processed - %i changes made", run.blocks().size(), changes);
    });
}
