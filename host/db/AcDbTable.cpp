#include "host/db/AcDbTable.h"

#include <algorithm>
#include <cmath>

#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbOpen.h"
#include "host/db/AcDbTableStyle.h"

namespace {

bool validAlignment(int a) { return a >= AcDb::kTopLeft && a <= AcDb::kBottomRight; }

int typeIndex(AcDb::RowType t) { return t == AcDb::kHeaderRow ? 1 : t == AcDb::kTitleRow ? 2 : 0; }

}  // namespace

const AcRxClass* AcDbTable::desc()
{
    static const AcRxClass cls("AcDbTable", "ACAD_TABLE", AcDbBlockReference::desc());
    return &cls;
}

Acad::ErrorStatus AcDbTable::changed()
{
    dataChanged_ = true;
    blockStale_ = true;
    return assertWriteEnabled();
}

const AcDbTable::Cell* AcDbTable::cellAt(int row, int column) const
{
    if (row < 0 || column < 0 || row >= numRows() || column >= numColumns())
        return nullptr;
    return &cells_[static_cast<size_t>(row) * colWidths_.size() + static_cast<size_t>(column)];
}

AcDbTable::Cell* AcDbTable::cellAt(int row, int column)
{
    return const_cast<Cell*>(static_cast<const AcDbTable*>(this)->cellAt(row, column));
}

Acad::ErrorStatus AcDbTable::setTableStyle(const AcDbObjectId& id)
{
    if (!id.isNull()) {
        const AcRxClass* cls = id.objectClass();
        if (!cls || !cls->isDerivedFrom(AcDbTableStyle::desc()))
            return Acad::eInvalidInput;
    }
    style_ = id;
    return changed();
}

// ---------------------------------------------------------------- style fallbacks

bool AcDbTable::styleSuppresses(AcDb::RowType rowType) const
{
    AcDbStub* s = style_.stub();
    auto* style = s && !s->erased ? dynamic_cast<AcDbTableStyle*>(s->database->objectOf(s)) : nullptr;
    if (!style)
        return false;
    return rowType == AcDb::kTitleRow ? style->isTitleSuppressed() : style->isHeaderSuppressed();
}

double AcDbTable::styleHeight(AcDb::RowType rowType) const
{
    AcDbStub* s = style_.stub();
    auto* style = s && !s->erased ? dynamic_cast<AcDbTableStyle*>(s->database->objectOf(s)) : nullptr;
    return style ? style->textHeight(rowType) : AcDbTableStyle().textHeight(rowType);
}

AcDb::CellAlignment AcDbTable::styleAlignment(AcDb::RowType rowType) const
{
    AcDbStub* s = style_.stub();
    auto* style = s && !s->erased ? dynamic_cast<AcDbTableStyle*>(s->database->objectOf(s)) : nullptr;
    return style ? style->alignment(rowType) : AcDbTableStyle().alignment(rowType);
}

double AcDbTable::horzCellMargin() const
{
    if (horzMargin_ >= 0)
        return horzMargin_;
    AcDbStub* s = style_.stub();
    auto* style = s && !s->erased ? dynamic_cast<AcDbTableStyle*>(s->database->objectOf(s)) : nullptr;
    return style ? style->horzCellMargin() : AcDbTableStyle().horzCellMargin();
}

double AcDbTable::vertCellMargin() const
{
    if (vertMargin_ >= 0)
        return vertMargin_;
    AcDbStub* s = style_.stub();
    auto* style = s && !s->erased ? dynamic_cast<AcDbTableStyle*>(s->database->objectOf(s)) : nullptr;
    return style ? style->vertCellMargin() : AcDbTableStyle().vertCellMargin();
}

AcDb::RowType AcDbTable::rowType(int row) const
{
    if (row < 0 || row >= numRows())
        return AcDb::kUnknownRow;
    int next = 0;
    if (!styleSuppresses(AcDb::kTitleRow) && row == next++)
        return AcDb::kTitleRow;
    if (!styleSuppresses(AcDb::kHeaderRow) && row == next)
        return AcDb::kHeaderRow;
    return AcDb::kDataRow;
}

// ---------------------------------------------------------------- grid

Acad::ErrorStatus AcDbTable::setNumRows(int rows)
{
    if (rows < 1)
        return Acad::eInvalidInput;
    if (rows < numRows())
        return deleteRows(rows, numRows() - rows);
    if (rows > numRows()) {
        // New rows of an empty table fit one line of data text between the margins.
        double h = rowHeights_.empty() ? styleHeight(AcDb::kDataRow) + 2 * vertCellMargin() : rowHeights_.back();
        return insertRows(numRows(), h, rows - numRows());
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbTable::setNumColumns(int columns)
{
    if (columns < 1)
        return Acad::eInvalidInput;
    const size_t oldCols = colWidths_.size();
    const size_t newCols = static_cast<size_t>(columns);
    if (newCols == oldCols)
        return Acad::eOk;
    std::vector<Cell> cells;
    cells.reserve(rowHeights_.size() * newCols);
    for (size_t r = 0; r < rowHeights_.size(); ++r)
        for (size_t c = 0; c < newCols; ++c)
            cells.push_back(c < oldCols ? cells_[r * oldCols + c] : Cell());
    cells_ = std::move(cells);
    const double w = colWidths_.empty() ? 2.5 : colWidths_.back();
    colWidths_.resize(newCols, w);
    std::erase_if(merges_, [&](const Merge& m) { return m.maxColumn >= columns; });
    // Every cell moves in the row-major order and may have left a merge.
    for (Cell& c : cells_)
        c.changed = true;
    return changed();
}

Acad::ErrorStatus AcDbTable::insertRows(int row, double height, int count)
{
    if (row < 0 || row > numRows())
        return Acad::eInvalidIndex;
    if (count < 1 || !(height > 0))
        return Acad::eInvalidInput;
    const size_t cols = colWidths_.size();
    std::vector<Cell> added;
    for (int k = 0; k < count; ++k)
        for (size_t c = 0; c < cols; ++c) {
            Cell cell;
            if (const Cell* above = cellAt(row - 1, static_cast<int>(c))) {
                cell.textHeight = above->textHeight;
                cell.alignment = above->alignment;
            }
            added.push_back(cell);
        }
    cells_.insert(cells_.begin() + static_cast<long>(static_cast<size_t>(row) * cols), added.begin(), added.end());
    rowHeights_.insert(rowHeights_.begin() + row, static_cast<size_t>(count), height);
    for (Merge& m : merges_) {
        if (m.minRow >= row) {
            m.minRow += count;
            m.maxRow += count;
        } else if (m.maxRow >= row) {
            m.maxRow += count;
        }
    }
    // Rows take the table's settings for their kind (which may have moved).
    for (int r = row; r < numRows(); ++r) {
        const int t = typeIndex(rowType(r));
        for (int c = 0; c < numColumns(); ++c) {
            Cell* cell = cellAt(r, c);
            if (r < row + count || cell->textHeight == 0) {
                if (rowTypeHeight_[t] > 0)
                    cell->textHeight = rowTypeHeight_[t];
                if (rowTypeAlignment_[t] != 0)
                    cell->alignment = rowTypeAlignment_[t];
            }
        }
    }
    for (const Merge& m : merges_)
        markMergeCells(m);
    return changed();
}

Acad::ErrorStatus AcDbTable::deleteRows(int row, int count)
{
    if (row < 0 || count < 1 || row + count > numRows())
        return Acad::eInvalidIndex;
    const size_t cols = colWidths_.size();
    cells_.erase(cells_.begin() + static_cast<long>(static_cast<size_t>(row) * cols),
                 cells_.begin() + static_cast<long>(static_cast<size_t>(row + count) * cols));
    rowHeights_.erase(rowHeights_.begin() + row, rowHeights_.begin() + row + count);
    std::vector<Merge> kept;
    for (Merge m : merges_) {
        if (m.maxRow < row) {
            kept.push_back(m);
            continue;
        }
        if (m.minRow >= row + count) {
            m.minRow -= count;
            m.maxRow -= count;
            kept.push_back(m);
        }
    }
    merges_ = std::move(kept);
    for (Cell& c : cells_)
        c.changed = true;
    return changed();
}

double AcDbTable::columnWidth(int column) const
{
    return column >= 0 && column < numColumns() ? colWidths_[static_cast<size_t>(column)] : 0.0;
}

double AcDbTable::rowHeight(int row) const { return row >= 0 && row < numRows() ? rowHeights_[static_cast<size_t>(row)] : 0.0; }

Acad::ErrorStatus AcDbTable::setColumnWidth(int column, double width)
{
    if (column < 0 || column >= numColumns())
        return Acad::eInvalidIndex;
    if (!(width > 0))
        return Acad::eInvalidInput;
    colWidths_[static_cast<size_t>(column)] = width;
    return changed();
}

Acad::ErrorStatus AcDbTable::setRowHeight(int row, double height)
{
    if (row < 0 || row >= numRows())
        return Acad::eInvalidIndex;
    if (!(height > 0))
        return Acad::eInvalidInput;
    rowHeights_[static_cast<size_t>(row)] = height;
    return changed();
}

Acad::ErrorStatus AcDbTable::setColumnWidth(double width)
{
    if (!(width > 0))
        return Acad::eInvalidInput;
    std::fill(colWidths_.begin(), colWidths_.end(), width);
    return changed();
}

Acad::ErrorStatus AcDbTable::setRowHeight(double height)
{
    if (!(height > 0))
        return Acad::eInvalidInput;
    std::fill(rowHeights_.begin(), rowHeights_.end(), height);
    return changed();
}

double AcDbTable::width() const
{
    double w = 0;
    for (double x : colWidths_)
        w += x;
    return w;
}

double AcDbTable::height() const
{
    double h = 0;
    for (double x : rowHeights_)
        h += x;
    return h;
}

// ---------------------------------------------------------------- cells

AcDb::CellType AcDbTable::cellType(int row, int column) const
{
    const Cell* c = cellAt(row, column);
    return c ? c->type : AcDb::kUnknownCell;
}

std::string AcDbTable::textString(int row, int column) const
{
    const Cell* c = cellAt(row, column);
    return c ? c->text : std::string();
}

Acad::ErrorStatus AcDbTable::setTextString(int row, int column, const char* text)
{
    Cell* c = cellAt(row, column);
    if (!c)
        return Acad::eInvalidIndex;
    if (!text)
        return Acad::eInvalidInput;
    c->type = AcDb::kTextCell;
    c->text = text;
    c->block.setNull();
    c->changed = true;
    return changed();
}

double AcDbTable::textHeight(int row, int column) const
{
    const Cell* c = cellAt(row, column);
    if (!c)
        return 0.0;
    if (c->textHeight > 0)
        return c->textHeight;
    return textHeight(rowType(row));
}

double AcDbTable::textHeight(AcDb::RowType rowType) const
{
    const double h = rowTypeHeight_[typeIndex(rowType)];
    return h > 0 ? h : styleHeight(rowType);
}

Acad::ErrorStatus AcDbTable::setTextHeight(int row, int column, double height)
{
    Cell* c = cellAt(row, column);
    if (!c)
        return Acad::eInvalidIndex;
    if (!(height > 0))
        return Acad::eInvalidInput;
    c->textHeight = height;
    c->changed = true;
    return changed();
}

Acad::ErrorStatus AcDbTable::setTextHeight(double height, int rowTypes)
{
    if (!(height > 0))
        return Acad::eInvalidInput;
    for (AcDb::RowType t : {AcDb::kDataRow, AcDb::kHeaderRow, AcDb::kTitleRow})
        if (rowTypes & t)
            rowTypeHeight_[typeIndex(t)] = height;
    for (int r = 0; r < numRows(); ++r)
        if (rowTypes & rowType(r))
            for (int c = 0; c < numColumns(); ++c) {
                cellAt(r, c)->textHeight = height;
                cellAt(r, c)->changed = true;
            }
    return changed();
}

AcDb::CellAlignment AcDbTable::alignment(int row, int column) const
{
    const Cell* c = cellAt(row, column);
    if (!c)
        return AcDb::kMiddleCenter;
    if (validAlignment(c->alignment))
        return static_cast<AcDb::CellAlignment>(c->alignment);
    return alignment(rowType(row));
}

AcDb::CellAlignment AcDbTable::alignment(AcDb::RowType rowType) const
{
    const int a = rowTypeAlignment_[typeIndex(rowType)];
    return validAlignment(a) ? static_cast<AcDb::CellAlignment>(a) : styleAlignment(rowType);
}

Acad::ErrorStatus AcDbTable::setAlignment(int row, int column, AcDb::CellAlignment align)
{
    Cell* c = cellAt(row, column);
    if (!c)
        return Acad::eInvalidIndex;
    if (!validAlignment(align))
        return Acad::eInvalidInput;
    c->alignment = align;
    c->changed = true;
    return changed();
}

Acad::ErrorStatus AcDbTable::setAlignment(AcDb::CellAlignment align, int rowTypes)
{
    if (!validAlignment(align))
        return Acad::eInvalidInput;
    for (AcDb::RowType t : {AcDb::kDataRow, AcDb::kHeaderRow, AcDb::kTitleRow})
        if (rowTypes & t)
            rowTypeAlignment_[typeIndex(t)] = align;
    for (int r = 0; r < numRows(); ++r)
        if (rowTypes & rowType(r))
            for (int c = 0; c < numColumns(); ++c) {
                cellAt(r, c)->alignment = align;
                cellAt(r, c)->changed = true;
            }
    return changed();
}

// ---------------------------------------------------------------- merges

const AcDbTable::Merge* AcDbTable::mergeAt(int row, int column) const
{
    for (const Merge& m : merges_)
        if (row >= m.minRow && row <= m.maxRow && column >= m.minColumn && column <= m.maxColumn)
            return &m;
    return nullptr;
}

void AcDbTable::markMergeCells(const Merge& m)
{
    for (int r = m.minRow; r <= m.maxRow; ++r)
        for (int c = m.minColumn; c <= m.maxColumn; ++c)
            if (Cell* cell = cellAt(r, c))
                cell->changed = true;
}

Acad::ErrorStatus AcDbTable::mergeCells(int minRow, int maxRow, int minColumn, int maxColumn)
{
    if (!cellAt(minRow, minColumn) || !cellAt(maxRow, maxColumn))
        return Acad::eInvalidIndex;
    if (minRow > maxRow || minColumn > maxColumn || (minRow == maxRow && minColumn == maxColumn))
        return Acad::eInvalidInput;
    for (const Merge& m : merges_)
        if (m.minRow <= maxRow && minRow <= m.maxRow && m.minColumn <= maxColumn && minColumn <= m.maxColumn)
            return Acad::eInvalidInput;
    merges_.push_back({minRow, maxRow, minColumn, maxColumn});
    markMergeCells(merges_.back());
    return changed();
}

bool AcDbTable::isMergedCell(int row, int column, int* minRow, int* maxRow, int* minColumn, int* maxColumn) const
{
    const Merge* m = mergeAt(row, column);
    if (!m)
        return false;
    if (minRow) *minRow = m->minRow;
    if (maxRow) *maxRow = m->maxRow;
    if (minColumn) *minColumn = m->minColumn;
    if (maxColumn) *maxColumn = m->maxColumn;
    return true;
}

// ---------------------------------------------------------------- block cells

AcDbObjectId AcDbTable::blockTableRecordId(int row, int column) const
{
    const Cell* c = cellAt(row, column);
    return c && c->type == AcDb::kBlockCell ? c->block : AcDbObjectId();
}

Acad::ErrorStatus AcDbTable::setBlockTableRecordId(int row, int column, const AcDbObjectId& id, bool autoFit)
{
    Cell* c = cellAt(row, column);
    if (!c)
        return Acad::eInvalidIndex;
    AcDbStub* s = id.stub();
    if (!s || s->erased || s->kind != static_cast<uint8_t>(AcDbObjectKind::BlockTableRecord)
        || (database() && s->database != database()))
        return Acad::eInvalidInput;
    c->type = AcDb::kBlockCell;
    c->block = id;
    c->text.clear();
    c->autoFit = autoFit;
    c->changed = true;
    return changed();
}

bool AcDbTable::isAutoScale(int row, int column) const
{
    const Cell* c = cellAt(row, column);
    return c && c->type == AcDb::kBlockCell && c->autoFit;
}

// ---------------------------------------------------------------- placement

Acad::ErrorStatus AcDbTable::setDirection(const AcGeVector3d& horizontal)
{
    if (horizontal.length() < 1e-12)
        return Acad::eInvalidInput;
    direction_ = horizontal.normal();
    return changed();
}

Acad::ErrorStatus AcDbTable::transformBy(const AcGeMatrix3d& xform)
{
    Acad::ErrorStatus es = AcDbBlockReference::transformBy(xform);
    if (es != Acad::eOk)
        return es;
    AcGeVector3d d = xform * direction_;
    if (d.length() > 1e-12)
        direction_ = d.normal();
    dataChanged_ = true;
    return Acad::eOk;
}

AcDbEntity* AcDbTable::clone() const
{
    auto* t = new AcDbTable();
    copyEntityPropertiesTo(*t);
    t->setPosition(position());
    t->setScaleFactors(scaleFactors());
    t->setRotation(rotation());
    t->setNormal(normal());
    t->style_ = style_;
    t->direction_ = direction_;
    t->rowHeights_ = rowHeights_;
    t->colWidths_ = colWidths_;
    t->cells_ = cells_;
    for (Cell& c : t->cells_) {
        c.fileTags.clear();
        c.changed = true;
    }
    t->merges_ = merges_;
    std::copy(std::begin(rowTypeHeight_), std::end(rowTypeHeight_), t->rowTypeHeight_);
    std::copy(std::begin(rowTypeAlignment_), std::end(rowTypeAlignment_), t->rowTypeAlignment_);
    t->horzMargin_ = horzMargin_;
    t->vertMargin_ = vertMargin_;
    t->headTags_ = headTags_;
    return t;
}

Acad::ErrorStatus AcDbTable::close()
{
    if (isWriteEnabled() && database() && blockStale_)
        recomputeTableBlock(false);
    return AcDbBlockReference::close();
}
