#include "host/ed/SelectionIndex.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbOpen.h"
#include "host/ed/EntityShape.h"

namespace {

// An entity whose box covers more cells than this is kept in a short list
// that every query looks at, rather than in all those cells.
constexpr double kMaxCellsPerEntity = 256.0;
// Grids stay below this many cells whatever the spread of the drawing.
constexpr double kMaxCells = 4.0e6;

struct Cache {
    int depth = 0;
    AcDbDatabase* db = nullptr;
    uint64_t changes = 0;
    double tolerance = 0.0;
    std::unique_ptr<SelectionIndex> index;
};

Cache& cache()
{
    static Cache state;
    return state;
}

bool meets(const SelectionIndex::Box& a, const SelectionIndex::Box& b)
{
    return a.x0 <= b.x1 && b.x0 <= a.x1 && a.y0 <= b.y1 && b.y0 <= a.y1;
}

}  // namespace

SelectionIndex::SelectionIndex(const std::vector<AcDbObjectId>& ids, double chordTolerance)
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    bounds_ = {inf, inf, -inf, -inf};
    for (const AcDbObjectId& id : ids) {
        AcDbEntity* entity = nullptr;
        if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk)
            continue;
        const EntityShape shape = EntityShape::of(*entity, chordTolerance);
        entity->close();
        Box box{inf, inf, -inf, -inf};
        for (const EntityShape::Run& run : shape.runs())
            for (const EntityShape::Point& p : run.points) {
                box.x0 = std::min(box.x0, p.x);
                box.y0 = std::min(box.y0, p.y);
                box.x1 = std::max(box.x1, p.x);
                box.y1 = std::max(box.y1, p.y);
            }
        if (!(box.x0 <= box.x1 && box.y0 <= box.y1) || !std::isfinite(box.x0 + box.y0 + box.x1 + box.y1))
            continue;  // draws nothing a window could select
        // Widened by a hair, so that rounding in the shape test near an edge
        // cannot reach outside the box.
        const double pad = 1e-9 * std::max({1.0, std::abs(box.x0), std::abs(box.y0), std::abs(box.x1), std::abs(box.y1)});
        box = {box.x0 - pad, box.y0 - pad, box.x1 + pad, box.y1 + pad};
        ids_.push_back(id);
        boxes_.push_back(box);
        bounds_ = {std::min(bounds_.x0, box.x0), std::min(bounds_.y0, box.y0), std::max(bounds_.x1, box.x1),
                   std::max(bounds_.y1, box.y1)};
    }
    seen_.assign(ids_.size(), 0);
    if (ids_.empty())
        return;

    // About one entity per cell over the drawn area.
    const double width = std::max(bounds_.x1 - bounds_.x0, 1e-9);
    const double height = std::max(bounds_.y1 - bounds_.y0, 1e-9);
    cellSize_ = std::sqrt(width * height / static_cast<double>(ids_.size()));
    cellSize_ = std::max({cellSize_, width / std::sqrt(kMaxCells), height / std::sqrt(kMaxCells), 1e-9});
    columns_ = std::max(1, static_cast<int>(std::ceil(width / cellSize_)));
    rows_ = std::max(1, static_cast<int>(std::ceil(height / cellSize_)));

    // Two passes: count each cell's entities, then place them (one flat array).
    std::vector<uint32_t> counts(static_cast<size_t>(columns_) * rows_ + 1, 0);
    std::vector<bool> isWide(ids_.size(), false);
    for (uint32_t e = 0; e < ids_.size(); ++e) {
        int i0, j0, i1, j1;
        cellRange(boxes_[e], i0, j0, i1, j1);
        if (static_cast<double>(i1 - i0 + 1) * (j1 - j0 + 1) > kMaxCellsPerEntity) {
            isWide[e] = true;
            wide_.push_back(e);
            continue;
        }
        for (int j = j0; j <= j1; ++j)
            for (int i = i0; i <= i1; ++i)
                ++counts[static_cast<size_t>(j) * columns_ + i];
    }
    cellStart_.assign(counts.size(), 0);
    for (size_t c = 1; c < counts.size(); ++c)
        cellStart_[c] = cellStart_[c - 1] + counts[c - 1];
    cellItems_.resize(cellStart_.back());
    std::vector<uint32_t> filled(cellStart_.begin(), cellStart_.end() - 1);
    for (uint32_t e = 0; e < ids_.size(); ++e) {
        if (isWide[e])
            continue;
        int i0, j0, i1, j1;
        cellRange(boxes_[e], i0, j0, i1, j1);
        for (int j = j0; j <= j1; ++j)
            for (int i = i0; i <= i1; ++i)
                cellItems_[filled[static_cast<size_t>(j) * columns_ + i]++] = e;
    }
}

void SelectionIndex::cellRange(const Box& box, int& i0, int& j0, int& i1, int& j1) const
{
    auto column = [&](double x) {
        double c = std::floor((x - bounds_.x0) / cellSize_);
        return static_cast<int>(std::clamp(c, 0.0, static_cast<double>(columns_ - 1)));
    };
    auto row = [&](double y) {
        double r = std::floor((y - bounds_.y0) / cellSize_);
        return static_cast<int>(std::clamp(r, 0.0, static_cast<double>(rows_ - 1)));
    };
    i0 = column(box.x0);
    i1 = column(box.x1);
    j0 = row(box.y0);
    j1 = row(box.y1);
}

std::vector<AcDbObjectId> SelectionIndex::candidates(const Box& box) const
{
    std::vector<AcDbObjectId> found;
    if (ids_.empty() || !meets(box, bounds_))
        return found;
    if (++stamp_ == 0) {  // the stamps wrapped round: start them again
        std::fill(seen_.begin(), seen_.end(), 0);
        stamp_ = 1;
    }
    std::vector<uint32_t> hits;
    auto consider = [&](uint32_t e) {
        if (seen_[e] == stamp_)
            return;
        seen_[e] = stamp_;
        if (meets(box, boxes_[e]))
            hits.push_back(e);
    };
    for (uint32_t e : wide_)
        consider(e);
    int i0, j0, i1, j1;
    cellRange(box, i0, j0, i1, j1);
    for (int j = j0; j <= j1; ++j)
        for (int i = i0; i <= i1; ++i) {
            const size_t c = static_cast<size_t>(j) * columns_ + i;
            for (uint32_t k = cellStart_[c]; k < cellStart_[c + 1]; ++k)
                consider(cellItems_[k]);
        }
    std::sort(hits.begin(), hits.end());
    found.reserve(hits.size());
    for (uint32_t e : hits)
        found.push_back(ids_[e]);
    return found;
}

const SelectionIndex* SelectionIndex::forModelSpace(AcDbDatabase& db, double chordTolerance)
{
    Cache& state = cache();
    if (state.depth == 0)
        return nullptr;
    if (!state.index || state.db != &db || state.changes != db.changeCount() || state.tolerance != chordTolerance) {
        std::vector<AcDbObjectId> ids;
        AcDbBlockTableRecord* space = nullptr;
        if (acdbOpenObject(space, db.modelSpaceId(), AcDb::kForRead) == Acad::eOk) {
            ids = space->entityIds();
            space->close();
        }
        state.index = std::make_unique<SelectionIndex>(ids, chordTolerance);
        state.db = &db;
        state.changes = db.changeCount();
        state.tolerance = chordTolerance;
    }
    return state.index.get();
}

namespace {
uint64_t shapeTests = 0;
}

uint64_t SelectionIndex::windowShapeTests()
{
    return shapeTests;
}

void SelectionIndex::countWindowShapeTest()
{
    ++shapeTests;
}

void SelectionIndex::releaseCache()
{
    Cache& state = cache();
    state.index.reset();
    state.db = nullptr;
}

void SelectionIndex::openScope()
{
    ++cache().depth;
}

void SelectionIndex::closeScope()
{
    if (--cache().depth == 0)
        releaseCache();
}

bool SelectionIndex::scopeOpen()
{
    return cache().depth > 0;
}
