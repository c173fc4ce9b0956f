#pragma once
// A room in a floor plan: every space block there but the gross area one.
// Kind code 7; a new one proposes the definition name "ROOM-". Built with
// assets, it also owns the asset collection of the room.

#include "host/db/AcDbObjectId.h"
#include "spaces/BlockDWG.h"

class CBlockDWGRoom : public CBlockDWG {
public:
    // An empty room.
    CBlockDWGRoom();
    // Reads the reference as CBlockDWG does, takes kind 7 and finds the
    // room's outline (the first lightweight polyline of its definition).
    // withAssets: the room gets an asset collection filled with the assets
    // the outline, placed where the reference draws it, selects.
    CBlockDWGRoom(const AcDbBlockReference* reference, CAcadDrawing& drawing, bool withAssets = false);
    // The same with the reference's record already fetched (CBlockDWG::readRecord).
    CBlockDWGRoom(const AcDbBlockReference* reference, CAcadDrawing& drawing, bool withAssets, const Record& record);

    // The outline found when the room was read; null when its definition has none.
    AcDbObjectId getOutlineId() const { return outlineId_; }

private:
    // Takes kind 7, finds the outline and, with withAssets, the assets.
    void readRoom(const AcDbBlockReference* reference, CAcadDrawing& drawing, bool withAssets);

    AcDbObjectId outlineId_;
};
