#include "host/db/AcDbSortentsTable.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

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
    // One look-up table of the entries, so a block of many entities is
    // ordered in n log n rather than an entry scan per entity.
    std::unordered_map<AcDbStub*, uint64_t> sortHandles;
    sortHandles.reserve(entries_.size());
    for (const Entry& e : entries_)
        sortHandles.emplace(e.entity.stub(), e.sortHandle.value());
    std::vector<std::pair<uint64_t, AcDbObjectId>> order;
    order.reserve(block->entities.size());
    for (AcDbStub* s : block->entities)
        if (!s->erased) {
            auto found = sortHandles.find(s);
            const uint64_t h = found != sortHandles.end() ? found->second : AcDbObjectId(s).handle().value();
            // A sort handle of 0 is drawn last.
            order.emplace_back(h == 0 ? UINT64_MAX : h, AcDbObjectId(s));
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
    std::unordered_set<AcDbStub*> inBlock;
    inBlock.reserve(order.size());
    for (const AcDbObjectId& id : order)
        inBlock.insert(id.stub());
    std::unordered_set<AcDbStub*> movedSet;
    for (const AcDbObjectId& id : moved) {
        if (!inBlock.count(id.stub()))
            return Acad::eInvalidInput;
        movedSet.insert(id.stub());
    }
    std::unordered_map<AcDbStub*, uint64_t> sortHandles;
    sortHandles.reserve(entries_.size());
    for (const Entry& e : entries_)
        sortHandles.emplace(e.entity.stub(), e.sortHandle.value());
    // The handles of the drawing positions, ascending; they are handed out
    // again in the new order, so the table stays a permutation of them.
    std::vector<uint64_t> slots;
    slots.reserve(order.size());
    for (const AcDbObjectId& id : order) {
        auto found = sortHandles.find(id.stub());
        const uint64_t h = found != sortHandles.end() ? found->second : 0;
        slots.push_back(h == 0 ? id.handle().value() : h);
    }
    std::sort(slots.begin(), slots.end());
    AcDbObjectIdArray rest;
    for (const AcDbObjectId& id : order)
        if (!movedSet.count(id.stub()))
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
