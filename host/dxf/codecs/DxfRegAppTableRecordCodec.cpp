#include "host/db/AcDbRegAppTableRecord.h"
#include "host/dxf/DxfCodec.h"
#include "host/dxf/codecs/DxfCodecSupport.h"
#include "host/dxf/codecs/DxfSymbolTableRecordCodec.h"

using namespace DxfCodecSupport;

// APPID: a registered application has only the name and flags every record has.
namespace {

AcDbObject* create(const AcDbStub&) { return new AcDbRegAppTableRecord(); }

void load(AcDbDatabase&, AcDbObject& o, const DxfTag* t, size_t end, const DxfCodepage& cp)
{
    DxfSymbolTableRecordCodec::loadRecord(static_cast<AcDbSymbolTableRecord&>(o), false, t, end, cp);
}

void save(AcDbDatabase&, AcDbObject& o, DxfTagEditor& ed)
{
    DxfSymbolTableRecordCodec::saveName(static_cast<AcDbSymbolTableRecord&>(o), "AcDbRegAppTableRecord", ed);
}

void skeleton(AcDbDatabase& db, std::vector<DxfTag>& out)
{
    DxfSymbolTableRecordCodec::skeleton(db, out, "AcDbRegAppTableRecord");
    add(db, out, 70, "0");
}

}  // namespace

extern const DxfCodecFunctions kDxfRegAppTableRecordCodec = {&create, &load, &save, &skeleton};
