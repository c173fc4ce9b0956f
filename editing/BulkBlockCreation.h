#pragma once
// Bulk creation of space blocks: every closed lightweight polyline of model
// space on the layers a pattern names becomes a room space block in one
// pass, made as the block creator makes one (CSpaceBlockFactory): named from
// the one text or attribute lying inside it (else the next computed name),
// labelled at its visual centre, numbered on from the drawing's definitions.
// Outlines that cannot become a space are skipped and each is reported with
// its handle and the reason.
//
// The caller holds the drawing's lock. Failures come out as CEXUnhandled
// chains naming the operation (class "BulkBlockCreation").

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "host/db/AcDbObjectId.h"

class CAcadDrawing;
class CPreferences;

class CBulkBlockCreation {
public:
    // One outline that was not made into a space.
    struct Skipped {
        std::string handle;
        std::string layer;
        std::string reason;
    };

    CBulkBlockCreation(CAcadDrawing& drawing, const CPreferences& preferences);

    // The model-space lightweight polylines on layers matching the pattern
    // (wildcards as CAD programs match layer names), in drawing order.
    std::vector<AcDbObjectId> findOutlines(const std::string& layerPattern) const;
    // Makes the spaces. step is called before each outline with its index
    // (for a progress meter). Returns the number of blocks made; the skipped
    // outlines are in skipped().
    int run(const std::vector<AcDbObjectId>& outlines, const std::function<void(int)>& step = {});

    const std::vector<Skipped>& skipped() const { return skipped_; }

private:
    CAcadDrawing& drawing_;
    const CPreferences& preferences_;
    std::vector<Skipped> skipped_;
};
