// Command bodies of the interactive creation: the block creator (mbc).

#include <memory>

#include "editing/PresBlockCreation.h"
#include "host/ed/acutPrintf.h"
#include "module/CommandFrame.h"
#include "module/blockEdit.h"

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
