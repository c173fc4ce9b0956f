// Command bodies of the creation of space blocks: the block creator (mbc),
// the bulk creation (mbulk) and the list of the commands beyond the help
// groups (mx?).

#include <memory>

#include "config/Preferences.h"
#include "editing/BulkBlockCreation.h"
#include "editing/PresBlockCreation.h"
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

}  // namespace

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
    acutPrintf("    mx?     mextrahelp                    Lists these commands.\n");
}
