#pragma once
// A uniform grid over the drawn extents of a space's entities, so that a
// window or polygon selection looks only at the entities near the window
// instead of building the shape of every entity of the drawing.
//
// The grid is a candidate filter only: the caller still tests each
// candidate's shape against the window, so a selection through the index
// finds exactly what a scan of every entity finds, in the same order.

#include <cstdint>
#include <vector>

#include "host/db/AcDbObjectId.h"

class AcDbDatabase;

class SelectionIndex {
public:
    struct Box {
        double x0 = 0.0, y0 = 0.0, x1 = 0.0, y1 = 0.0;
    };

    // Indexes the entities (in the order given) by the box of the geometry
    // they draw at the chord tolerance. An entity that does not open or
    // draws nothing is left out: no window selects it.
    SelectionIndex(const std::vector<AcDbObjectId>& ids, double chordTolerance);

    // The entities whose box meets the box (edges touching count), in the
    // order they were given.
    std::vector<AcDbObjectId> candidates(const Box& box) const;

    // The index of the database's model space at the change count and chord
    // tolerance, kept while an AcEdSelectionIndexScope lives; null outside
    // such a scope (the caller then scans every entity).
    static const SelectionIndex* forModelSpace(AcDbDatabase& db, double chordTolerance);

    int entityCount() const { return static_cast<int>(ids_.size()); }

    // How many entity shapes window selections have tested against their
    // window since the program started: the measure of their work.
    static uint64_t windowShapeTests();
    static void countWindowShapeTest();

private:
    friend class AcEdSelectionIndexScope;
    static void openScope();
    static void closeScope();
    static bool scopeOpen();
    static void releaseCache();

    void cellRange(const Box& box, int& i0, int& j0, int& i1, int& j1) const;

    std::vector<AcDbObjectId> ids_;       // indexed entities, in the order given
    std::vector<Box> boxes_;              // their boxes
    std::vector<uint32_t> wide_;          // entities spanning too many cells: always candidates
    std::vector<uint32_t> cellStart_;     // cell c holds cellItems_[cellStart_[c] .. cellStart_[c + 1])
    std::vector<uint32_t> cellItems_;
    Box bounds_;
    double cellSize_ = 1.0;
    int columns_ = 0;
    int rows_ = 0;
    mutable std::vector<uint32_t> seen_;  // query stamps, one per entity, against duplicates across cells
    mutable uint32_t stamp_ = 0;
};
