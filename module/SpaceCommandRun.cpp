#include "module/SpaceCommandRun.h"

#include "config/Preferences.h"
#include "infra/ZelkaExceptions.h"
#include "module/AcadDrawingLock.h"
#include "module/SpaceCommandSupport.h"
#include "module/SpaceProgress.h"
#include "spaces/BlockDWG.h"
#include "spaces/BlockKind.h"

CSpaceCommandRun::CSpaceCommandRun(bool lockNow)
{
    zelkaAdoptActiveDocument(drawing_);
    if (lockNow) lock();
}

CSpaceCommandRun::~CSpaceCommandRun() = default;

bool CSpaceCommandRun::lock()
{
    if (!drawing_.getDocument()) return false;
    if (lock_) return lock_->isLocked();
    return zelkaOperation(__FILE__, "CSpaceCommandRun::lock", [&] {
        lock_ = std::make_unique<CAcadDrawingLock>(drawing_);
        if (!lock_->isLocked())
            raiseHostStatus(static_cast<Acad::ErrorStatus>(lock_->status()), __LINE__, drawing_.getFullPath());
        return true;
    });
}

bool CSpaceCommandRun::isReady() const
{
    return drawing_.getDocument() && lock_ && lock_->isLocked();
}

void CSpaceCommandRun::forEachGatheredBlock(const std::function<void(CBlockDWG&)>& step)
{
    if (!isReady()) return;
    const std::vector<AcDbObjectId> ids = CBlocks::getZelkaBlockIds_SS(drawing_);
    CPreferences prefs;
    prefs.loadPreferences();
    progress_ = std::make_unique<CSpaceProgress>("Space blocks", static_cast<int>(ids.size()));
    for (size_t i = 0; i < ids.size(); ++i) {
        progress_->step(static_cast<int>(i));
        std::unique_ptr<CBlockDWG> block = CBlocks::readSpaceBlock(ids[i], drawing_, false, "f", true);
        if (!block || !isDrawingKind(block->getBlockKind())) continue;
        zelkaTakeDefaultUnits(*block, prefs);
        step(*block);
    }
}

CBlocks& CSpaceCommandRun::gather(bool withAssets)
{
    if (isReady()) zelkaGatherSpaceBlocks(drawing_, blocks_, withAssets);
    return blocks_;
}

void CSpaceCommandRun::forEachBlock(const std::function<void(CBlockDWG&)>& step, bool showProgress)
{
    if (showProgress) progress_ = std::make_unique<CSpaceProgress>("Space blocks", blocks_.size());
    for (int i = 0; i < blocks_.size(); ++i) {
        if (progress_) progress_->step(i);
        if (CBlockDWG* block = zelkaSpaceBlockAt(blocks_, i)) {
            step(*block);
            blocks_.replaceAt(i, nullptr);
        }
    }
}
