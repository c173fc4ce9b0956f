#pragma once
// The gross area block of a drawing: the outline of the whole floor (or
// site) as a space block of its own, definition "ROOM-GROSS_AREA", name
// "GROSS AREA", made once per drawing (mgabc).

#include <cstdint>

#include "host/db/AcDbObjectId.h"

class CAcadDrawing;

class CGrossAreaBlock {
public:
    // Makes the block from the closed polyline as the block creator makes a
    // room (label point asked, built in the UCS), with area and perimeter as
    // their texts show them. Prints "Block Created Successfully" or why not;
    // a failure is shown as an error chain and swallowed. The caller holds
    // the drawing's lock.
    static void createGrossAreaBlock(CAcadDrawing& drawing, AcDbObjectId polylineId, int32_t units, double textHeight,
                                     double widthFactor, double rotation, int32_t precision);
    // Whether the drawing has a definition "ROOM-GROSS_AREA".
    static bool exists(CAcadDrawing& drawing);
};
