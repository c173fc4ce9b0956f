#include "host/db/AcDbHandleIndex.h"

#include <stdexcept>

#include "host/db/AcDbStub.h"

namespace {

// Marks a slot whose stub was removed: a search goes on past it, an insert
// may take it. No stub lies at address 1.
constexpr uintptr_t kErased = 1;
constexpr uintptr_t kAddressBits = (uintptr_t{1} << 48) - 1;

// The multiplication spreads consecutive numbers over the whole word.
uint64_t hashOf(uint64_t value) { return value * 0x9E3779B97F4A7C15ull; }

}  // namespace

size_t AcDbHandleIndex::slotOf(uint64_t handle) const
{
    // A run of 64 consecutive handles gets 64 neighbouring slots (eight
    // cache lines) at a spread-out place of the table (which has at least
    // 1,024 slots): reading a file, whose handles mostly run on, meets a
    // new place of the table every 64 objects. Runs of 16 met one every 16,
    // and opening the 50,000-room plan took about 5% longer; runs of 256
    // gained nothing more.
    return (static_cast<size_t>(hashOf(handle >> 6) >> shift_) & ~size_t{63}) | static_cast<size_t>(handle & 63);
}

uintptr_t AcDbHandleIndex::tagOf(uint64_t handle) { return static_cast<uintptr_t>(hashOf(handle) & 0xFFFF) << 48; }

size_t AcDbHandleIndex::slotHolding(uint64_t handle) const
{
    if (slots_.empty())
        return kNone;
    const uintptr_t tag = tagOf(handle);
    const size_t mask = slots_.size() - 1;
    for (size_t i = slotOf(handle);; i = (i + 1) & mask) {
        const uintptr_t s = slots_[i];
        if (s == 0)
            return kNone;
        if ((s & ~kAddressBits) == tag && s != kErased && stubOf(s)->handle == handle)
            return i;
    }
}

AcDbStub* AcDbHandleIndex::find(uint64_t handle) const
{
    const size_t i = slotHolding(handle);
    return i == kNone ? nullptr : stubOf(slots_[i]);
}

void AcDbHandleIndex::insert(AcDbStub* stub)
{
    if ((used_ + 1) * 4 > slots_.size() * 3)
        grow();
    place(stub);
}

bool AcDbHandleIndex::insertNew(AcDbStub* stub)
{
    if ((used_ + 1) * 4 > slots_.size() * 3)
        grow();
    const uint64_t handle = stub->handle;
    const uintptr_t tag = tagOf(handle);
    const size_t mask = slots_.size() - 1;
    size_t freed = kNone;  // the first erased slot passed, which the stub may take
    for (size_t i = slotOf(handle);; i = (i + 1) & mask) {
        const uintptr_t s = slots_[i];
        if (s == 0) {
            placeAt(freed != kNone ? freed : i, stub);
            return true;
        }
        if (s == kErased) {
            if (freed == kNone)
                freed = i;
        } else if ((s & ~kAddressBits) == tag && stubOf(s)->handle == handle) {
            return false;
        }
    }
}

void AcDbHandleIndex::place(AcDbStub* stub)
{
    const size_t mask = slots_.size() - 1;
    size_t i = slotOf(stub->handle);
    while (slots_[i] != 0 && slots_[i] != kErased)
        i = (i + 1) & mask;
    placeAt(i, stub);
}

void AcDbHandleIndex::placeAt(size_t slot, AcDbStub* stub)
{
    const uintptr_t address = reinterpret_cast<uintptr_t>(stub);
    if (address & ~kAddressBits)
        throw std::logic_error("a stub outside the 48-bit address range cannot be indexed");
    if (slots_[slot] == 0)
        ++used_;
    slots_[slot] = tagOf(stub->handle) | address;
    stub->indexed = true;
    ++live_;
}

bool AcDbHandleIndex::holds(const AcDbStub& stub) { return stub.indexed; }

void AcDbHandleIndex::erase(uint64_t handle)
{
    if (const size_t i = slotHolding(handle); i != kNone) {
        stubOf(slots_[i])->indexed = false;
        slots_[i] = kErased;
        --live_;
    }
}

void AcDbHandleIndex::grow()
{
    // Twice the live stubs' room, which also drops the erased slots.
    unsigned bits = 10;
    while ((live_ + 1) * 4 > (size_t{1} << bits) * 3 / 2)
        ++bits;
    rehash(bits);
}

void AcDbHandleIndex::reserve(size_t count)
{
    unsigned bits = 10;
    while (count * 4 > (size_t{1} << bits) * 3 && bits < 48)
        ++bits;
    if ((size_t{1} << bits) > slots_.size())
        rehash(bits);
}

void AcDbHandleIndex::rehash(unsigned bits)
{
    std::vector<uintptr_t> old(size_t{1} << bits, 0);
    old.swap(slots_);
    shift_ = 64 - bits;
    live_ = used_ = 0;
    for (uintptr_t s : old)
        if (s != 0 && s != kErased)
            place(stubOf(s));
}
