#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

struct AcDbStub;

// The database's stubs by handle. A stub knows its own handle, so the index
// keeps only the stub pointers, in one open-addressed table (linear probing,
// at most three quarters full): about 11 bytes an object, against some 40 of
// a node-based map, and one allocation instead of one per object.
class AcDbHandleIndex {
public:
    // The stub with the handle; null when there is none.
    AcDbStub* find(uint64_t handle) const;
    bool contains(uint64_t handle) const { return find(handle) != nullptr; }
    // Adds the stub under its handle, which must not be in the index yet.
    void insert(AcDbStub* stub);
    // Removes the stub with the handle, if there is one.
    void erase(uint64_t handle);
    size_t size() const { return live_; }

private:
    size_t slotOf(uint64_t handle) const;
    void grow();

    std::vector<AcDbStub*> slots_;  // null: never used; erasedSlot(): used, now free
    size_t live_ = 0;
    size_t used_ = 0;               // live and erased slots
};
