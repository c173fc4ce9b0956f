#pragma once
// Gathers the entities a command sends to the bottom of the draw order and
// moves them in one go when the batch ends, so hatching every space of a
// large plan reorders each block's sort table once, not once per hatch.
// The order comes out as if each had been sent back on its own: the last
// one sent lies lowest.
//
// While a batch is open, CAcadUtilities::sendToBack only records the entity
// (and reports true); batches nest, and the outermost one does the moving.

#include <vector>

#include "host/db/AcDbObjectId.h"

class CSendToBackBatch {
public:
    CSendToBackBatch();
    // Moves what was gathered (outermost batch only); failures are passed
    // over, as a single send-to-back passes them over.
    ~CSendToBackBatch();
    CSendToBackBatch(const CSendToBackBatch&) = delete;
    CSendToBackBatch& operator=(const CSendToBackBatch&) = delete;

    // Records the entity when a batch is open; false when none is.
    static bool defer(AcDbObjectId entityId);

private:
    bool outermost_ = false;
};
