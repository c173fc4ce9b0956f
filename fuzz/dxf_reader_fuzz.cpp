// libFuzzer target for the DXF reader: any input must give eOk or a status
// with a message, never a crash; a drawing that reads must also write, open
// its objects, rename a block and read back again.
#include <cstddef>
#include <cstdint>
#include <string>

#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbBlockTableRecordIterator.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbOpen.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    AcDbDatabase db(false);
    std::string text(reinterpret_cast<const char*>(data), size);
    if (db.readDxfText(text, "fuzz.dxf") != Acad::eOk) {
        if (db.lastError().empty())
            __builtin_trap();
        return 0;
    }
    // Build every entity of model space and touch it, then write and read again.
    AcDbBlockTableRecord* ms = nullptr;
    if (acdbOpenObject(ms, db.modelSpaceId(), AcDb::kForRead) == Acad::eOk) {
        AcDbBlockTableRecordIterator* it = nullptr;
        ms->newIterator(it);
        for (; !it->done(); it->step()) {
            AcDbEntity* e = nullptr;
            if (it->getEntity(e, AcDb::kForRead) == Acad::eOk) {
                AcDbExtents ext;
                e->getGeomExtents(ext);
                resbuf* rb = e->xData();
                acutRelRb(rb);
                e->close();
            }
        }
        delete it;
        ms->close();
    }
    // Rename the first ordinary block definition: the references to it,
    // built or not, must be written with the new name and read back.
    AcDbBlockTable* table = nullptr;
    if (db.getBlockTable(table, AcDb::kForRead) == Acad::eOk) {
        for (const AcDbObjectId& id : table->recordIds()) {
            AcDbBlockTableRecord* record = nullptr;
            if (acdbOpenObject(record, id, AcDb::kForWrite) != Acad::eOk)
                continue;
            const bool ordinary = !record->isLayout() && !record->isAnonymous();
            if (ordinary)
                record->setName("FUZZ_RENAMED");
            record->close();
            if (ordinary)
                break;
        }
        table->close();
    }
    std::string out;
    db.writeDxfText(out);
    AcDbDatabase again(false);
    if (again.readDxfText(out, "fuzz-out.dxf") != Acad::eOk)
        __builtin_trap();
    return 0;
}
