#pragma once
// The kind code every space block carries: which side it comes from (the
// property database or the drawing) and what it stands for. The numbers are
// the stored codes; kinds are told apart by them, never by type information.

#include <cstdint>

enum class BlockKind : int32_t {
    Plain = 0,  // a bare CBlock
    // Database-side kinds.
    Ipr = 1,
    IprRoom = 2,
    IprFloor = 3,
    IprBuilding = 4,
    IprSite = 5,
    // Drawing-side kinds: a space block whose kind does not matter, then
    // room, floor (gross area of a floor plan), building and site (gross
    // area of a site plan).
    Dwg = 6,
    DwgRoom = 7,
    DwgFloor = 8,
    DwgBuilding = 9,
    DwgSite = 10,
};

// Whether the kind is one of the drawing side (a CBlockDWG or one derived from it).
constexpr bool isDrawingKind(BlockKind kind)
{
    return kind >= BlockKind::Dwg && kind <= BlockKind::DwgSite;
}
