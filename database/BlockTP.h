#pragma once
// The TP export of the drawing's space blocks: each block goes to the
// database's TP export procedures with its full record. A room or building
// goes to "__to_exportSpaceBlockToTP" under its parent location with its
// name and code; a floor or site (gross area) goes to
// "__to_exportGrossAreaBlocktoTP" for its own location, without name and
// code. Then the measures and record fields: area, area type, cost centre,
// date, date of last move, department charge, handle, perimeter, room
// height, special requirements, tag type, staff, workstations, volume (text
// as stored, each VarChar(255); the four measures Decimal(18,10)), and the
// export-parameters text unchanged. A room then exports its assets.

#include <cstdint>
#include <string>

class CBlock;
class CStoredProcedure;

class CBlockTP {
public:
    // Exports the block: locationID is the parent's location for a room or
    // building, the block's own for a floor or site. Returns false (sending
    // nothing) for a block of another kind.
    static bool exportTP(CStoredProcedure& sp, const CBlock& block, uint32_t timeout, int32_t locationID,
                         const std::string& exportParameters);
};
