#include "host/db/AcDbHandleIndex.h"

#include "host/db/AcDbStub.h"

namespace {

// Marks a slot whose stub was removed: a search goes on past it, an insert
// may take it.
AcDbStub* erasedSlot()
{
    static AcDbStub erased;
    return &erased;
}

}  // namespace

size_t AcDbHandleIndex::slotOf(uint64_t handle) const
{
    // Handles are mostly consecutive; the multiplication spreads them.
    return static_cast<size_t>((handle * 0x9E3779B97F4A7C15ull) >> 20) & (slots_.size() - 1);
}

AcDbStub* AcDbHandleIndex::find(uint64_t handle) const
{
    if (slots_.empty())
        return nullptr;
    for (size_t i = slotOf(handle);; i = (i + 1) & (slots_.size() - 1)) {
        AcDbStub* s = slots_[i];
        if (!s)
            return nullptr;
        if (s != erasedSlot() && s->handle == handle)
            return s;
    }
}

void AcDbHandleIndex::insert(AcDbStub* stub)
{
    if ((used_ + 1) * 4 > slots_.size() * 3)
        grow();
    size_t i = slotOf(stub->handle);
    while (slots_[i] && slots_[i] != erasedSlot())
        i = (i + 1) & (slots_.size() - 1);
    if (!slots_[i])
        ++used_;
    slots_[i] = stub;
    ++live_;
}

void AcDbHandleIndex::erase(uint64_t handle)
{
    if (slots_.empty())
        return;
    for (size_t i = slotOf(handle);; i = (i + 1) & (slots_.size() - 1)) {
        AcDbStub* s = slots_[i];
        if (!s)
            return;
        if (s != erasedSlot() && s->handle == handle) {
            slots_[i] = erasedSlot();
            --live_;
            return;
        }
    }
}

void AcDbHandleIndex::grow()
{
    // Twice the live stubs' room, which also drops the erased slots.
    size_t size = 1024;
    while ((live_ + 1) * 4 > size * 3 / 2)
        size *= 2;
    std::vector<AcDbStub*> old(size, nullptr);
    old.swap(slots_);
    live_ = used_ = 0;
    for (AcDbStub* s : old)
        if (s && s != erasedSlot())
            insert(s);
}
