#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

struct AcDbStub;

// The database's stubs by handle. A stub knows its own handle, so the index
// keeps only the stub pointers, in one open-addressed table (linear probing,
// at most three quarters full): about 11 bytes an object, against some 40 of
// a node-based map, and one allocation instead of one per object.
//
// Each slot also carries 16 bits of the handle's hash in the pointer's top
// bits, which user-space pointers leave zero: a search compares those first
// and reads a stub only when they match. Without them every slot passed on
// the way would be a read of a stub somewhere in memory, which made the
// search for a handle not yet present (one per object read from a file)
// the largest single cost of opening a drawing. Handles that differ only in
// their last six bits start at neighbouring slots, so the objects of a file,
// whose handles mostly run consecutively, are looked up in a few cache lines
// rather than one line (and often one page) each.
class AcDbHandleIndex {
public:
    // The stub with the handle; null when there is none.
    AcDbStub* find(uint64_t handle) const;
    bool contains(uint64_t handle) const { return find(handle) != nullptr; }
    // Adds the stub under its handle, which must not be in the index yet.
    void insert(AcDbStub* stub);
    // Adds the stub unless a stub with its handle is held already (false
    // then, and nothing changes), with one search of the table: reading a
    // file adds every object so.
    bool insertNew(AcDbStub* stub);
    // Makes room for count stubs in all: the table takes the size it would
    // have grown to by the time it held them (at most three quarters full),
    // at once. Reading a file whose header names about how many handles it
    // holds so fills the table without rehashing it at every doubling, in
    // no more memory. Never shrinks the table.
    void reserve(size_t count);
    // Removes the stub with the handle, if there is one.
    void erase(uint64_t handle);
    // Whether the index holds this very stub: the same as find(stub->handle)
    // == stub, from the stub's own mark (AcDbStub::indexed), which the index
    // sets and clears, without a search of the table.
    static bool holds(const AcDbStub& stub);
    size_t size() const { return live_; }

private:
    // The slot a search for handle starts at, and the hash bits a slot keeps.
    size_t slotOf(uint64_t handle) const;
    static uintptr_t tagOf(uint64_t handle);
    static AcDbStub* stubOf(uintptr_t slot) { return reinterpret_cast<AcDbStub*>(slot & ((uintptr_t{1} << 48) - 1)); }
    // The slot holding the stub with the handle, kNone when there is none.
    static constexpr size_t kNone = ~size_t{0};
    size_t slotHolding(uint64_t handle) const;
    void place(AcDbStub* stub);
    void placeAt(size_t slot, AcDbStub* stub);
    void grow();
    // Moves the live stubs into a new table of 2^bits slots.
    void rehash(unsigned bits);

    std::vector<uintptr_t> slots_;  // 0: never used; kErased: used, now free; else tag | stub
    unsigned shift_ = 64;           // 64 less the bits of the table's size
    size_t live_ = 0;
    size_t used_ = 0;               // live and erased slots
};
