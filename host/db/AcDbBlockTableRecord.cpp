#include "host/db/AcDbBlockTableRecord.h"

#include <strings.h>

#include "host/db/AcDbBlockTableRecordIterator.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbObjectPointer.h"

#include <algorithm>

const AcRxClass* AcDbBlockTableRecord::desc()
{
    static const AcRxClass cls("AcDbBlockTableRecord", "BLOCK_RECORD", AcDbSymbolTableRecord::desc());
    return &cls;
}

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbObjectId& id, AcDbEntity* entity)
{
    id.setNull();
    if (!entity)
        return Acad::eInvalidInput;
    AcDbDatabase* db = database();
    if (!db)
        return Acad::eNotInDatabase;
    Acad::ErrorStatus es = db->attach(entity, objectId(), true);
    if (es != Acad::eOk)
        return es;
    AcDbStub* s = entity->objectId().stub();
    entities.push_back(s);
    if (isEntitiesSectionSpace())
        db->data().entities.push_back(s);
    id = entity->objectId();
    return Acad::eOk;
}

namespace {

Acad::ErrorStatus takeOver(AcDbBlockTableRecord& record, const std::vector<AcDbObjectId>& entitiesToMove,
                           bool leaveOldLists)
{
    if (!record.isWriteEnabled())
        return Acad::eNotOpenForWrite;
    AcDbDatabase* db = record.database();
    if (!db)
        return Acad::eNotInDatabase;
    for (AcDbObjectId id : entitiesToMove) {
        if (id.database() != db)
            return Acad::eWrongDatabase;
        AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForWrite);
        if (!entity)
            return entity.openStatus();
        AcDbStub* s = id.stub();
        const AcDbObjectId oldOwnerId = entity->ownerId();
        if (oldOwnerId == record.objectId())
            continue;
        // The old block lets go of the entity (and model space's entities
        // section with it), so it is written once, in its new block.
        if (!oldOwnerId.isNull()) {
            AcDbObjectPointer<AcDbBlockTableRecord> oldOwner(oldOwnerId, AcDb::kForWrite);
            if (!oldOwner)
                return oldOwner.openStatus();
            if (!leaveOldLists) {
                std::erase(oldOwner->entities, s);
                if (oldOwner->isEntitiesSectionSpace())
                    std::erase(db->data().entities, s);
            }
        }
        entity->setOwnerId(record.objectId());
        record.entities.push_back(s);
        if (record.isEntitiesSectionSpace())
            db->data().entities.push_back(s);
    }
    return Acad::eOk;
}

}  // namespace

Acad::ErrorStatus AcDbBlockTableRecord::assumeOwnershipOf(const std::vector<AcDbObjectId>& entitiesToMove)
{
    return takeOver(*this, entitiesToMove, false);
}

Acad::ErrorStatus AcDbBlockTableRecord::assumeOwnershipOfLeavingOldLists(const std::vector<AcDbObjectId>& entitiesToMove)
{
    return takeOver(*this, entitiesToMove, true);
}

Acad::ErrorStatus AcDbBlockTableRecord::dropEntitiesOwnedElsewhere()
{
    if (!isWriteEnabled())
        return Acad::eNotOpenForWrite;
    const AcDbStub* self = objectId().stub();
    std::vector<AcDbStub*> dropped;
    std::erase_if(entities, [&](AcDbStub* s) {
        if (s->owner == self || s->owner == nullptr)
            return false;
        dropped.push_back(s);
        return true;
    });
    AcDbDatabase* db = database();
    if (db && !dropped.empty() && isEntitiesSectionSpace()) {
        std::sort(dropped.begin(), dropped.end());
        std::erase_if(db->data().entities,
                      [&](AcDbStub* s) { return std::binary_search(dropped.begin(), dropped.end(), s); });
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecord::newIterator(AcDbBlockTableRecordIterator*& iterator, bool atBeginning, bool) const
{
    std::vector<AcDbObjectId> ids;
    ids.reserve(entities.size());
    for (AcDbStub* s : entities)
        ids.emplace_back(s);
    iterator = new AcDbBlockTableRecordIterator(std::move(ids));
    iterator->start(atBeginning);
    return Acad::eOk;
}

std::vector<AcDbObjectId> AcDbBlockTableRecord::entityIds() const
{
    std::vector<AcDbObjectId> ids;
    ids.reserve(entities.size());
    for (AcDbStub* s : entities)
        if (!s->erased)
            ids.emplace_back(s);
    return ids;
}

bool AcDbBlockTableRecord::isLayout() const
{
    if (!getLayoutId().isNull())
        return true;
    return strncasecmp(name().c_str(), "*Model_Space", 12) == 0 || strncasecmp(name().c_str(), "*Paper_Space", 12) == 0;
}

AcDbObjectId AcDbBlockTableRecord::getLayoutId() const
{
    if (!layoutId_.isNull() || layoutHandle_ == 0 || !database())
        return layoutId_;
    return AcDbObjectId(database()->data().byHandle.find(layoutHandle_));
}

bool AcDbBlockTableRecord::hasAttributeDefinitions() const
{
    for (AcDbStub* s : entities)
        if (!s->erased && s->kind == static_cast<uint8_t>(AcDbObjectKind::AttributeDefinition))
            return true;
    return false;
}

Acad::ErrorStatus AcDbBlockTableRecord::setOrigin(const AcGePoint3d& p)
{
    origin_ = p;
    originModified_ = true;
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbBlockTableRecord::setComments(const char* text)
{
    comments_ = text ? text : "";
    return assertWriteEnabled();
}

bool AcDbBlockTableRecord::isEntitiesSectionSpace() const
{
    return strcasecmp(name().c_str(), "*Model_Space") == 0 || strcasecmp(name().c_str(), "*Paper_Space") == 0;
}

Acad::ErrorStatus AcDbBlockTableRecord::erase(bool erasing)
{
    Acad::ErrorStatus es = AcDbSymbolTableRecord::erase(erasing);
    if (es != Acad::eOk)
        return es;
    AcDbDatabase* db = database();
    auto mark = [&](AcDbStub* s) {
        db->noteWrite(s);
        s->erased = erasing;
    };
    for (AcDbStub* s : entities) {
        mark(s);
        if (s->subs)
            for (AcDbStub* sub : *s->subs)
                mark(sub);
    }
    if (blockBegin)
        mark(blockBegin);
    if (blockEnd)
        mark(blockEnd);
    return Acad::eOk;
}

namespace {

struct BlockLinks {
    std::vector<AcDbStub*> entities;
    AcDbStub* blockBegin = nullptr;
    AcDbStub* blockEnd = nullptr;
};

}  // namespace

std::any AcDbBlockTableRecord::undoLinks() const { return BlockLinks{entities, blockBegin, blockEnd}; }

void AcDbBlockTableRecord::setUndoLinks(const std::any& any)
{
    if (const auto* links = std::any_cast<BlockLinks>(&any)) {
        entities = links->entities;
        blockBegin = links->blockBegin;
        blockEnd = links->blockEnd;
    }
}
