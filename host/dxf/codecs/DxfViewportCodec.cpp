#include "host/db/AcDbViewport.h"
#include "host/dxf/DxfCodec.h"
#include "host/dxf/DxfLayoutIO.h"

// VIEWPORT: read and written by DxfLayoutIO. A new viewport gets no typed
// part of its own: saving adds the tags it models.
namespace {

AcDbObject* create(const AcDbStub&) { return new AcDbViewport(); }

void load([[maybe_unused]] AcDbDatabase& db, AcDbObject& o, const DxfTag* t, size_t end,
          [[maybe_unused]] const DxfCodepage& cp)
{
    auto& x = static_cast<AcDbViewport&>(o);
    DxfLayoutIO::loadViewport(db, x, t, end);
}

void save([[maybe_unused]] AcDbDatabase& db, AcDbObject& o, DxfTagEditor& ed)
{
    auto& x = static_cast<AcDbViewport&>(o);
    DxfLayoutIO::saveViewport(x, ed);
}

}  // namespace

extern const DxfCodecFunctions kDxfViewportCodec = {&create, &load, &save, nullptr};
