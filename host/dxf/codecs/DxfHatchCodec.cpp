#include "host/db/AcDbHatch.h"
#include "host/dxf/DxfCodec.h"
#include "host/dxf/DxfHatch.h"
#include "host/dxf/codecs/DxfCodecSupport.h"

using namespace DxfCodecSupport;

// HATCH: read and written by DxfHatch (boundary paths, pattern, fill).
namespace {

AcDbObject* create(const AcDbStub&) { return new AcDbHatch(); }

void load([[maybe_unused]] AcDbDatabase& db, AcDbObject& o, const DxfTag* t, size_t end,
          [[maybe_unused]] const DxfCodepage& cp)
{
    auto& x = static_cast<AcDbHatch&>(o);
    DxfHatch::load(x, t, end, cp);
}

void save([[maybe_unused]] AcDbDatabase& db, AcDbObject& o, DxfTagEditor& ed)
{
    auto& x = static_cast<AcDbHatch&>(o);
    DxfHatch::save(x, ed);
}

void skeleton(AcDbDatabase& db, std::vector<DxfTag>& out)
{
    add(db, out, 100, "AcDbHatch");
}

}  // namespace

extern const DxfCodecFunctions kDxfHatchCodec = {&create, &load, &save, &skeleton};
