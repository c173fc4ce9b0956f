#pragma once
// The one course every space command takes: the drawing object stands for
// the active document, the command holds the document's lock for the whole
// run, gathers the drawing's space blocks and walks the drawing-side ones,
// each behind the progress meter (where the user's Ctrl-C breaks the command
// off). Destroyed in reverse: the meter ends, the blocks go, the lock is
// released, the document stays open.

#include <functional>
#include <memory>

#include "module/AcadDrawing.h"
#include "spaces/Blocks.h"

class CAcadDrawingLock;
class CBlockDWG;
class CSpaceProgress;

class CSpaceCommandRun {
public:
    // Adopts the active document (none: isReady() stays false) and, when
    // lockNow, locks it as lock() does. A command that first lets the user
    // pick passes false and locks after the pick.
    explicit CSpaceCommandRun(bool lockNow = true);
    ~CSpaceCommandRun();
    CSpaceCommandRun(const CSpaceCommandRun&) = delete;
    CSpaceCommandRun& operator=(const CSpaceCommandRun&) = delete;

    // Locks the document for the rest of the run (a second call does
    // nothing). False without a document; throws the host-error chain when
    // the host refuses the lock, so the command shows it and stops.
    bool lock();
    // Whether a document was adopted and is locked.
    bool isReady() const;

    CAcadDrawing& drawing() { return drawing_; }
    CBlocks& blocks() { return blocks_; }

    // Fills blocks() with the drawing's space blocks (zelkaGatherSpaceBlocks);
    // leaves it empty unless isReady().
    CBlocks& gather(bool withAssets = false);
    // Calls step for every drawing-side block of blocks(), in order. With
    // showProgress the meter ("Space blocks") moves to each item first and
    // stays until the run ends. A run walks its blocks once: each is freed
    // when its step is done, so a drawing's blocks are not all held to the
    // end of the walk; blocks() keeps an empty item in its place.
    void forEachBlock(const std::function<void(CBlockDWG&)>& step, bool showProgress = true);
    // gather() and forEachBlock() in one walk, for a command that needs the
    // blocks for nothing else (blocks() stays empty): each block is read
    // just before its step and freed after it, so a large drawing's blocks
    // are never all held, and the objects a step opens are those the block
    // was just read from. The meter counts the references found, space
    // blocks or not.
    void forEachGatheredBlock(const std::function<void(CBlockDWG&)>& step);

private:
    CAcadDrawing drawing_;
    std::unique_ptr<CAcadDrawingLock> lock_;
    CBlocks blocks_;
    std::unique_ptr<CSpaceProgress> progress_;
};
