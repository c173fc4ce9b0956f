#include "module/SpaceCommandRun.h"

#include "infra/ZelkaExceptions.h"
#include "module/AcadDrawingLock.h"
#include "module/SpaceCommandSupport.h"
#include "module/SpaceProgress.h"
#include "spaces/BlockDWG.h"

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
        if (CBlockDWG* block = zelkaSpaceBlockAt(blocks_, i)) step(*block);
    }
}
