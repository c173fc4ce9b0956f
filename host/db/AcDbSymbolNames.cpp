#include "host/db/AcDbSymbolNames.h"

namespace {

// ASCII letters to lower case, every other byte as it is.
struct FoldTable {
    unsigned char lower[256];
    constexpr FoldTable() : lower()
    {
        for (int c = 0; c < 256; ++c)
            lower[c] = static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
};

constexpr FoldTable kFold;

// The record of an erased slot: an address no record has.
AcDbStub* erasedMark()
{
    static char mark;
    return reinterpret_cast<AcDbStub*>(&mark);
}

}  // namespace

AcDbStub* const AcDbSymbolNames::kErased = erasedMark();

uint64_t AcDbSymbolNames::hashOf(std::string_view name)
{
    // FNV-1a over the lower-case bytes.
    uint64_t h = 14695981039346656037ull;
    for (char c : name) {
        h ^= kFold.lower[static_cast<unsigned char>(c)];
        h *= 1099511628211ull;
    }
    return h;
}

bool AcDbSymbolNames::equal(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    if (a == b)  // the usual case: the name as stored
        return true;
    for (size_t i = 0; i < a.size(); ++i)
        if (kFold.lower[static_cast<unsigned char>(a[i])] != kFold.lower[static_cast<unsigned char>(b[i])])
            return false;
    return true;
}

size_t AcDbSymbolNames::slotHolding(std::string_view name, uint64_t hash) const
{
    if (slots_.empty())
        return kNone;
    const size_t mask = slots_.size() - 1;
    for (size_t i = static_cast<size_t>(hash) & mask;; i = (i + 1) & mask) {
        const Slot& s = slots_[i];
        if (!s.record)
            return kNone;
        if (s.hash == hash && s.full() && equal(s.name, name))
            return i;
    }
}

size_t AcDbSymbolNames::freeSlotFor(uint64_t hash) const
{
    const size_t mask = slots_.size() - 1;
    size_t i = static_cast<size_t>(hash) & mask;
    while (slots_[i].full())
        i = (i + 1) & mask;
    return i;
}

AcDbStub* AcDbSymbolNames::find(std::string_view name) const
{
    size_t& recent = recent_[recentIndex(name)];
    if (recent < slots_.size()) {
        const Slot& s = slots_[recent];
        if (s.full() && s.name == name)
            return s.record;
    }
    const size_t i = slotHolding(name, hashOf(name));
    if (i == kNone)
        return nullptr;
    recent = i;
    return slots_[i].record;
}

void AcDbSymbolNames::insertIfAbsent(std::string_view name, AcDbStub* record)
{
    if (!record)
        return;
    const uint64_t hash = hashOf(name);
    if (slotHolding(name, hash) != kNone)
        return;
    if ((used_ + 1) * 2 > slots_.size())
        grow();
    Slot& s = slots_[freeSlotFor(hash)];
    if (!s.record)
        ++used_;
    s.hash = hash;
    s.record = record;
    s.name.assign(name);
    ++live_;
}

void AcDbSymbolNames::assign(std::string_view name, AcDbStub* record)
{
    if (!record)
        return;
    const size_t i = slotHolding(name, hashOf(name));
    if (i == kNone) {
        insertIfAbsent(name, record);
        return;
    }
    // The name as given now: a rename that changes only its case shows so.
    slots_[i].name.assign(name);
    slots_[i].record = record;
}

void AcDbSymbolNames::eraseIfHeldBy(std::string_view name, const AcDbStub* record)
{
    const size_t i = slotHolding(name, hashOf(name));
    if (i == kNone || slots_[i].record != record)
        return;
    slots_[i].record = kErased;
    slots_[i].name.clear();
    --live_;
}

void AcDbSymbolNames::clear()
{
    slots_.clear();
    live_ = used_ = 0;
}

std::vector<std::pair<std::string, AcDbStub*>> AcDbSymbolNames::entries() const
{
    std::vector<std::pair<std::string, AcDbStub*>> all;
    all.reserve(live_);
    for (const Slot& s : slots_)
        if (s.full())
            all.emplace_back(s.name, s.record);
    return all;
}

void AcDbSymbolNames::grow()
{
    // At least three slots a live name (so the next growth is a doubling
    // away), which also drops the erased slots.
    size_t size = 16;
    while (size < (live_ + 1) * 3)
        size *= 2;
    rebuild(size);
}

void AcDbSymbolNames::reserve(size_t names)
{
    // At most half full with them, as growing to as many would leave it.
    if (names <= live_ || names > (size_t{1} << 40) || names * 2 <= slots_.size())
        return;
    size_t size = 16;
    while (size < names * 2)
        size *= 2;
    rebuild(size);
}

void AcDbSymbolNames::rebuild(size_t size)
{
    std::vector<Slot> old(size);
    old.swap(slots_);
    used_ = live_;
    for (Slot& s : old)
        if (s.full())
            slots_[freeSlotFor(s.hash)] = std::move(s);
}
