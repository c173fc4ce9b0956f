#pragma once
// Take-off of a drawing's space blocks into the property database: the
// floor plan's gross-area block updates its floor, every room is added or
// updated under the floor with its assets and their attributes. The whole
// take-off is one transaction: when any call fails (the connection is lost,
// a procedure refuses) the database is left exactly as it was before, and
// the drawing is only read, never changed.

#include <cstdint>
#include <functional>
#include <string>

class CAcadDrawing;
class CStoredProcedure;

class CTakeOff {
public:
    struct Result {
        int floors = 0;  // gross-area blocks written
        int rooms = 0;
        int assets = 0;
    };
    // Called after each space block written, with the number written so far.
    using Progress = std::function<void(int written)>;

    // The drawing's id and the floor it shows, looked up by its file name
    // ("__to_getDrawing"); both 0 when the database does not know it.
    static void findDrawing(CStoredProcedure& sp, const std::string& fileName, uint32_t timeout,
                            int32_t& drawingID, int32_t& floorID);

    // Takes off the drawing's space blocks under floorID as drawingID, in
    // one transaction. Throws a CEXUnhandled chain ("CTakeOff::takeOff")
    // after rolling back.
    Result takeOff(CAcadDrawing& drawing, CStoredProcedure& sp, int32_t drawingID, int32_t floorID, uint32_t timeout,
                   const Progress& progress = {});
};
