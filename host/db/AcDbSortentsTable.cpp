#include "host/db/AcDbSortentsTable.h"

#include <algorithm>

#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbDatabase.h"

const AcRxClass* AcDbSortentsTable::desc()
{
    static const AcRxClass cls("AcDbSortentsTable", "SORTENTSTABLE", AcDbObject::desc());
    return &cls;
}

Acad::ErrorStatus AcDbSortentsTable::setBlockId(AcDbObjectId id)
{
    block_ = id;
    return assertWriteEnabled();
}

Acad::ErrorStatus AcDbSortentsTable::getSortHandle(AcDbObjectId id, AcDbHandle& handle) const
{
    for (const Entry& e : entries_)
        if (e.entity == id) {
            handle = e.sortHandle;
            return Acad::eOk;
        }
    handle = id.handle();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSortentsTable::getFullDrawOrder(AcDbObjectIdArray& ids) const
{
    ids.clear();
    AcDbStub* b = block_.stub();
    if (!b)
        return Acad::eNotInDatabase;
    auto* block = dynamic_cast<AcDbBlockTableRecord*>(b->database->objectOf(b));
    if (!block)
        return Acad::eNotInDatabase;
    std::vector<std::pair<uint64_t, AcDbObjectId>> order;
    for (AcDbStub* s : block->entities)
        if (!s->erased) {
            AcDbHandle h;
            getSortHandle(AcDbObjectId(s), h);
            // A sort handle of 0 is drawn last.
            order.emplace_back(h.isNull() ? UINT64_MAX : h.value(), AcDbObjectId(s));
        }
    std::stable_sort(order.begin(), order.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& p : order)
        ids.append(p.second);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSortentsTable::moveToBottom(const AcDbObjectIdArray& ids) { return reorder(ids, true); }

Acad::ErrorStatus AcDbSortentsTable::reorder(const AcDbObjectIdArray& moved, bool bottom)
{
    AcDbObjectIdArray order;
    Acad::ErrorStatus es = getFullDrawOrder(order);
    if (es != Acad::eOk)
        return es;
    for (const AcDbObjectId& id : moved)
        if (!order.contains(id))
            return Acad::eInvalidInput;
    // The handles of the drawing positions, ascending; they are handed out
    // again in the new order, so the table stays a permutation of them.
    std::vector<uint64_t> slots;
    for (const AcDbObjectId& id : order) {
        AcDbHandle h;
        getSortHandle(id, h);
        slots.push_back(h.isNull() ? id.handle().value() : h.value());
    }
    std::sort(slots.begin(), slots.end());
    AcDbObjectIdArray rest;
    for (const AcDbObjectId& id : order)
        if (!moved.contains(id))
            rest.append(id);
    AcDbObjectIdArray now;
    if (bottom) {
        now = moved;
        now.insert(now.end(), rest.begin(), rest.end());
    } else {
        now = rest;
        now.insert(now.end(), moved.begin(), moved.end());
    }
    entries_.clear();
    for (size_t i = 0; i < now.size(); ++i)
        if (now[i].handle().value() != slots[i])
            entries_.push_back({now[i], AcDbHandle(slots[i])});
    return assertWriteEnabled();
}
