#pragma once
#include <vector>

#include "host/db/AcDbObject.h"
#include "host/db/AcDbObjectIdArray.h"

// The draw order of one block's entities. Each entity may have a sort handle;
// entities are drawn in ascending sort handle, an entity without one using
// its own handle, so an entity given a sort handle below all others is
// drawn first (at the bottom).
class AcDbSortentsTable : public AcDbObject {
public:
    AcDbSortentsTable() = default;

    static const AcRxClass* desc();
    const AcRxClass* isA() const override { return desc(); }
    AcDbObjectKind kind() const override { return AcDbObjectKind::SortentsTable; }

    AcDbObjectId blockId() const { return block_; }
    Acad::ErrorStatus setBlockId(AcDbObjectId id);
    // Draws the entities first, in their given order. eInvalidInput for an
    // entity not in this table's block.
    Acad::ErrorStatus moveToBottom(const AcDbObjectIdArray& ids);
    // The entity's sort handle (its own handle when it has none).
    Acad::ErrorStatus getSortHandle(AcDbObjectId id, AcDbHandle& handle) const;
    // The block's entities in drawing order. eOk, or eNotInDatabase.
    Acad::ErrorStatus getFullDrawOrder(AcDbObjectIdArray& ids) const;

    struct Entry {
        AcDbObjectId entity;
        AcDbHandle sortHandle;
    };
    const std::vector<Entry>& entries() const { return entries_; }

private:
    friend class DxfSortentsTableCodec;
    Acad::ErrorStatus reorder(const AcDbObjectIdArray& ids, bool bottom);

    AcDbObjectId block_;
    std::vector<Entry> entries_;
};
