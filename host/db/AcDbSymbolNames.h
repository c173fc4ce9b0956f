#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct AcDbStub;

// A symbol table's records by name, names compared ignoring ASCII case.
//
// One open-addressed table (linear probing, at most half full) whose slots
// hold the name itself, its hash and the record: a search reads the slot it
// lands on and, for a name of up to fifteen bytes (nearly every layer and
// block name), nothing else. A node-based map took a cache miss for the
// bucket, one for the node before and one for the node itself; a floor plan
// of 50,000 spaces has 50,000 block names, looked up once for each space
// block a command reads.
class AcDbSymbolNames {
public:
    // The record with the name; null when there is none.
    AcDbStub* find(std::string_view name) const;
    // Adds the name unless it is held already (the first record keeps it);
    // a null record is not added.
    void insertIfAbsent(std::string_view name, AcDbStub* record);
    // Adds the name, or gives it to record if it is held.
    void assign(std::string_view name, AcDbStub* record);
    // Removes the name when record holds it.
    void eraseIfHeldBy(std::string_view name, const AcDbStub* record);
    // Makes room for names in all (those held included), so that adding
    // them does not grow the table again.
    void reserve(size_t names);
    bool empty() const { return live_ == 0; }
    void clear();
    // Every name with its record, in no particular order.
    std::vector<std::pair<std::string, AcDbStub*>> entries() const;

    // The hash and the comparison the index uses (case folded).
    static uint64_t hashOf(std::string_view name);
    static bool equal(std::string_view a, std::string_view b);

private:
    // A slot is empty (record null), erased (record kErased) or full.
    struct Slot {
        uint64_t hash = 0;
        AcDbStub* record = nullptr;
        std::string name;
        bool full() const { return record && record != kErased; }
    };
    static AcDbStub* const kErased;
    // The slot holding the name, or kNone.
    static constexpr size_t kNone = ~size_t{0};
    size_t slotHolding(std::string_view name, uint64_t hash) const;
    // The slot a new name takes: the first erased or empty one on its way.
    size_t freeSlotFor(uint64_t hash) const;
    void grow();
    // Moves the names into a table of size slots, dropping erased slots.
    void rebuild(size_t size);

    // Where find last saw a name of this length and last byte.
    static size_t recentIndex(std::string_view name)
    {
        return (name.size() + (name.empty() ? 0u : static_cast<unsigned char>(name.back()))) & 7;
    }

    std::vector<Slot> slots_;
    // The slots of names found lately: a command asks for the same few
    // layers for every block it writes. A remembered slot is taken only
    // while it holds exactly the name asked for, so nothing that changes the
    // table has to forget it (a name is held by one slot at most), and
    // any start serves. Like the rest of a drawing, a table is used from
    // one thread at a time.
    mutable std::array<size_t, 8> recent_{};
    size_t live_ = 0;
    size_t used_ = 0;  // full and erased slots
};
