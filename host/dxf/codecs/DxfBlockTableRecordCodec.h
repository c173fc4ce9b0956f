#pragma once
#include <cstddef>

#include "host/base/RawTag.h"

class AcDbBlockTableRecord;
class AcDbDatabase;
class AcDbObject;
class DxfCodepage;
struct AcDbStub;

// BLOCK_RECORD: name, flags and layout (340) of a block definition; its base
// point comes from the BLOCK entity read for it (loadBlockBase).
class DxfBlockTableRecordCodec {
public:
    // Gives a block definition the base point (group 10/20/30) of the BLOCK
    // entity read for it; a BLOCK without one leaves the origin at 0,0,0.
    static void loadBlockBase(AcDbBlockTableRecord& record, const AcDbStub* blockBegin);
    // The table's load function (see DxfCodecFunctions).
    static void load(AcDbDatabase& db, AcDbObject& o, const DxfTag* t, size_t end, const DxfCodepage& cp);
};
