#include "module/AcadDrawingLock.h"

#include "infra/ZelkaExceptions.h"
#include "module/AcadDrawing.h"

CAcadDrawingLock::CAcadDrawingLock(CAcadDrawing& drawing) : drawing_(drawing), status_(drawing.lock()) {}

CAcadDrawingLock::~CAcadDrawingLock()
{
    if (status_ != 0) return;
    try {
        // 320 (outer levels remain) is the normal answer of an inner level.
        drawing_.unlock();
    } catch (const CEXZelka& e) {
        e.displayErrorChain();
    }
}
