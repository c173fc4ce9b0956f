#include "spaces/SendToBackBatch.h"

#include <map>

#include "host/db/AcDbObjectIdArray.h"
#include "spaces/AcadUtilities.h"

namespace {

// The entities gathered by the open batch, in the order they were sent back.
std::vector<AcDbObjectId>* gathered = nullptr;

}  // namespace

CSendToBackBatch::CSendToBackBatch()
{
    if (!gathered) {
        gathered = new std::vector<AcDbObjectId>();
        outermost_ = true;
    }
}

CSendToBackBatch::~CSendToBackBatch()
{
    if (!outermost_)
        return;
    std::vector<AcDbObjectId> ids = std::move(*gathered);
    delete gathered;
    gathered = nullptr;
    // Sent back one after another, the last lies lowest: the same order is
    // the reverse of the sending.
    AcDbObjectIdArray reversed;
    for (auto it = ids.rbegin(); it != ids.rend(); ++it)
        reversed.append(*it);
    try {
        CAcadUtilities::sendToBack(reversed);
    } catch (...) {
        // A draw order that cannot be changed leaves the entities where they are.
    }
}

bool CSendToBackBatch::defer(AcDbObjectId entityId)
{
    if (!gathered)
        return false;
    gathered->push_back(entityId);
    return true;
}
