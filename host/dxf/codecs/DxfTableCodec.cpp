#include "host/db/AcDbTable.h"
#include "host/dxf/DxfCodec.h"
#include "host/dxf/DxfTable.h"
#include "host/dxf/codecs/DxfBlockReferenceCodec.h"
#include "host/dxf/codecs/DxfCodecSupport.h"

using namespace DxfCodecSupport;

// ACAD_TABLE: the block-reference part (DxfBlockReferenceCodec), then the
// table itself (DxfTable).
namespace {

AcDbObject* create(const AcDbStub&) { return new AcDbTable(); }

void load([[maybe_unused]] AcDbDatabase& db, AcDbObject& o, const DxfTag* t, size_t end,
          [[maybe_unused]] const DxfCodepage& cp)
{
    auto& x = static_cast<AcDbTable&>(o);
    DxfBlockReferenceCodec::loadReference(x, t, end, cp);
    DxfTable::load(x, db, t, end, cp);
}

void save([[maybe_unused]] AcDbDatabase& db, AcDbObject& o, DxfTagEditor& ed)
{
    auto& x = static_cast<AcDbTable&>(o);
    DxfBlockReferenceCodec::saveReference(x, ed);
    DxfTable::save(x, db, ed);
}

void skeleton(AcDbDatabase& db, std::vector<DxfTag>& out)
{
    add(db, out, 100, "AcDbBlockReference");
    add(db, out, 100, "AcDbTable");
}

}  // namespace

extern const DxfCodecFunctions kDxfTableCodec = {&create, &load, &save, &skeleton};
