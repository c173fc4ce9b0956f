#pragma once
#include <vector>

#include "host/db/AcDbSymbolTableRecord.h"
#include "host/ge/AcGePoint3d.h"

class AcDbEntity;
class AcDbBlockTableRecordIterator;

// A block definition, model space or a paper-space layout: the ordered
// entities it owns, its base point and, for layouts, its layout object.
class AcDbBlockTableRecord : public AcDbSymbolTableRecord {
public:
    AcDbBlockTableRecord() = default;

    static const AcRxClass* desc();
    const AcRxClass* isA() const override { return desc(); }
    AcDbObjectKind kind() const override { return AcDbObjectKind::BlockTableRecord; }

    // Adds an entity (not yet in a database) at the end; the record must be in
    // a database. The entity is then open for write and the caller closes it.
    // eAlreadyInDb, eInvalidInput (null), eNotInDatabase.
    Acad::ErrorStatus appendAcDbEntity(AcDbObjectId& id, AcDbEntity* entity);
    Acad::ErrorStatus appendAcDbEntity(AcDbEntity* entity)
    {
        AcDbObjectId id;
        return appendAcDbEntity(id, entity);
    }
    // Moves entities of the same database from their block (model space, a
    // layout or another definition) to the end of this one, keeping their
    // handles; this record must be open for write. Each entity and its old
    // block are opened for write in turn, so an entity still open elsewhere
    // gives eWasOpenForWrite and one on a locked layer eOnLockedLayer; the
    // entities before it have moved, the rest have not. eNotOpenForWrite,
    // eNotInDatabase, eWrongDatabase.
    Acad::ErrorStatus assumeOwnershipOf(const std::vector<AcDbObjectId>& entitiesToMove);
    // The same, leaving the entities in their old blocks' lists until those
    // blocks call dropEntitiesOwnedElsewhere: moving many entities out of a
    // large block one by one would otherwise take time growing with the
    // square of its size. Until then the old block still lists them, so the
    // caller does nothing else with that block in between.
    Acad::ErrorStatus assumeOwnershipOfLeavingOldLists(const std::vector<AcDbObjectId>& entitiesToMove);
    // Drops from this block's list (and from the entities section) the
    // entities another block has taken over. The record must be open for
    // write; eNotOpenForWrite otherwise.
    Acad::ErrorStatus dropEntitiesOwnedElsewhere();
    // An iterator over the entities in order (erased ones skipped); the caller deletes it. eOk.
    Acad::ErrorStatus newIterator(AcDbBlockTableRecordIterator*& iterator, bool atBeginning = true,
                                  bool skipDeleted = true) const;
    // The entity ids in order, erased ones left out.
    std::vector<AcDbObjectId> entityIds() const;
    // Calls visit with the same ids in turn until it returns false, and
    // whether it went through them all; nothing is copied (commands ask this
    // of every space block's definition), so visit must not add entities to
    // this block or take any from it.
    template <class Visit>
    bool forEachEntityId(Visit&& visit) const
    {
        for (AcDbStub* stub : entities) {
            const AcDbObjectId id(stub);
            if (!id.isErased() && !visit(id))
                return false;
        }
        return true;
    }

    bool isLayout() const;
    AcDbObjectId getLayoutId() const;
    bool isAnonymous() const { return !name().empty() && name()[0] == '*' && !isLayout(); }
    bool hasAttributeDefinitions() const;
    AcGePoint3d origin() const { return origin_; }
    Acad::ErrorStatus setOrigin(const AcGePoint3d& p);
    const char* comments() const { return comments_.c_str(); }
    Acad::ErrorStatus setComments(const char* text);
    // Erases the definition with its entities; eNotOpenForWrite otherwise.
    Acad::ErrorStatus erase(bool erasing = true) override;
    // True for model space and the active paper space, whose entities are kept in the ENTITIES section.
    bool isEntitiesSectionSpace() const;

    // The entity list and the BLOCK and ENDBLK entities, which the record's tags do not hold.
    std::any undoLinks() const override;
    void setUndoLinks(const std::any& links) override;

    // Database internals: the BLOCK and ENDBLK entities and the entity list.
    AcDbStub* blockBegin = nullptr;
    AcDbStub* blockEnd = nullptr;
    std::vector<AcDbStub*> entities;

private:
    friend class DxfBlockTableRecordCodec;

    AcDbObjectId layoutId_;
    uint64_t layoutHandle_ = 0;  // as read; the layout comes later in the file
    AcGePoint3d origin_;
    std::string comments_;
    bool originModified_ = false;
};
