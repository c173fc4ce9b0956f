#include "host/db/AcDbTableStyle.h"
#include "host/dxf/DxfCodec.h"
#include "host/dxf/DxfTable.h"
#include "host/dxf/codecs/DxfCodecSupport.h"

using namespace DxfCodecSupport;

// TABLESTYLE: read and written by DxfTable.
namespace {

AcDbObject* create(const AcDbStub&) { return new AcDbTableStyle(); }

void load([[maybe_unused]] AcDbDatabase& db, AcDbObject& o, const DxfTag* t, size_t end,
          [[maybe_unused]] const DxfCodepage& cp)
{
    auto& x = static_cast<AcDbTableStyle&>(o);
    DxfTable::loadStyle(x, t, end, cp);
}

void save([[maybe_unused]] AcDbDatabase& db, AcDbObject& o, DxfTagEditor& ed)
{
    auto& x = static_cast<AcDbTableStyle&>(o);
    DxfTable::saveStyle(x, db, ed);
}

void skeleton(AcDbDatabase& db, std::vector<DxfTag>& out)
{
    add(db, out, 100, "AcDbTableStyle");
}

}  // namespace

extern const DxfCodecFunctions kDxfTableStyleCodec = {&create, &load, &save, &skeleton};
