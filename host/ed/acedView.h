#pragma once
// The current document's view, as the zoom and regenerate commands of a CAD
// program change it. Each returns eOk, or eNotApplicable when no document is
// open (zoom previous also when there is no earlier view).

#include "host/db/AcadErrorStatus.h"
#include "host/ge/AcGePoint3d.h"

// Shows everything in model space (with a small margin); an empty drawing
// shows its $EXTMIN..$EXTMAX or, when those are not set, the default sheet.
// The console host draws nothing, so the extents are measured when the view
// is first looked at (AcApDocument::view) rather than at the zoom itself.
Acad::ErrorStatus acedZoomExtents();
// Shows the window between two corners (any two opposite corners);
// eInvalidInput when the window has no width or height.
Acad::ErrorStatus acedZoomWindow(const AcGePoint3d& corner1, const AcGePoint3d& corner2);
// Goes back to the view before the last zoom.
Acad::ErrorStatus acedZoomPrevious();
// Regenerates the drawing in every viewport.
Acad::ErrorStatus acedRegen();
