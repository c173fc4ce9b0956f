// What the DXF reader fuzz target does with a drawing that reads, shared with
// the regression test of the inputs it once broke on: build and touch every
// model-space entity, set every block reference and its attributes to the
// values they have (as a command writing back what it read does: they are
// then written out from their lines, see DxfObjectIO::linesAsRead), rename
// the first ordinary block definition (its references, built or not, must be
// written with the new name), and write.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "host/db/AcDbAttribute.h"
#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbBlockTableRecordIterator.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbObjectIterator.h"
#include "host/db/AcDbOpen.h"

// Opens the entity for write and sets it to what it has: the extended data,
// and an attribute's position. Objects on locked layers are left alone.
inline void dxfFuzzSetToItself(AcDbObjectId id)
{
    AcDbEntity* e = nullptr;
    if (acdbOpenObject(e, id, AcDb::kForWrite) != Acad::eOk)
        return;
    if (resbuf* rb = e->xData()) {
        e->setXData(rb);
        acutRelRb(rb);
    }
    if (e->isKindOf(AcDbAttribute::desc())) {
        auto* a = static_cast<AcDbAttribute*>(e);
        a->setPosition(a->position());
    }
    e->close();
}

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
                std::vector<AcDbObjectId> attributes;
                if (e->isKindOf(AcDbBlockReference::desc())) {
                    std::unique_ptr<AcDbObjectIterator> parts(static_cast<AcDbBlockReference*>(e)->attributeIterator());
                    for (parts->start(); !parts->done(); parts->step())
                        attributes.push_back(parts->objectId());
                }
                const AcDbObjectId id = e->objectId();
                e->close();
                dxfFuzzSetToItself(id);
                for (const AcDbObjectId& attribute : attributes)
                    dxfFuzzSetToItself(attribute);
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
