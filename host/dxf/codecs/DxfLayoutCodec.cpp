#include "host/db/AcDbLayout.h"
#include "host/dxf/DxfCodec.h"
#include "host/dxf/DxfLayoutIO.h"

// LAYOUT: read and written by DxfLayoutIO (plot settings and layout parts).
namespace {

AcDbObject* create(const AcDbStub&) { return new AcDbLayout(); }

void load([[maybe_unused]] AcDbDatabase& db, AcDbObject& o, const DxfTag* t, size_t end,
          [[maybe_unused]] const DxfCodepage& cp)
{
    auto& x = static_cast<AcDbLayout&>(o);
    DxfLayoutIO::loadLayout(db, x, t, end, cp);
}

void save([[maybe_unused]] AcDbDatabase& db, AcDbObject& o, DxfTagEditor& ed)
{
    auto& x = static_cast<AcDbLayout&>(o);
    DxfLayoutIO::saveLayout(x, ed);
}

}  // namespace

extern const DxfCodecFunctions kDxfLayoutCodec = {&create, &load, &save, nullptr};
