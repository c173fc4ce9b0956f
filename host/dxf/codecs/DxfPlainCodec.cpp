#include "host/dxf/DxfCodec.h"

// Types kept as read (unknown records, extended records, SEQEND): no codec
// functions, so the object is a plain object or entity that keeps its tags
// and reports the class of its record.
extern const DxfCodecFunctions kDxfPlainCodec = {nullptr, nullptr, nullptr, nullptr};
