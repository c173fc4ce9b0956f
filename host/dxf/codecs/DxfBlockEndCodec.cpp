#include "host/dxf/DxfCodec.h"
#include "host/dxf/codecs/DxfCodecSupport.h"

using namespace DxfCodecSupport;

// ENDBLK: kept as a plain entity; a new one gets only its subclass marker.
namespace {

void skeleton(AcDbDatabase& db, std::vector<DxfTag>& out) { add(db, out, 100, "AcDbBlockEnd"); }

}  // namespace

extern const DxfCodecFunctions kDxfBlockEndCodec = {nullptr, nullptr, nullptr, &skeleton};
