// What the DXF reader fuzz target does with a drawing that reads, shared with
// the regression test of the inputs it once broke on: build and touch every
// model-space entity, rename the first ordinary block definition (its
// references, built or not, must be written with the new name), and write.
#pragma once
#include <string>

#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbBlockTableRecordIterator.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbOpen.h"

// Returns the drawing as written after the walk.
inline std::string dxfFuzzWalk(AcDbDatabase& db)
{
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
    return out;
}
