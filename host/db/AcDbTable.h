#pragma once
#include <string>
#include <vector>

#include "host/db/AcDbBlockReference.h"
#include "host/base/RawTag.h"

// A table (ACAD_TABLE): a grid of rows and columns whose cells hold text or
// a block, with a table style, drawn through an anonymous "*T<n>" block that
// the table references like a block reference does. recomputeTableBlock()
// redraws that block (grid lines, one TEXT per text cell, one INSERT per
// block cell); closing a table opened for write and saving the drawing do it
// too when the table changed, so viewers that do not know tables show it.
// Rows and columns count from 0; row 0 is the title row and row 1 the header
// row unless the table style suppresses them.
class AcDbTable : public AcDbBlockReference {
public:
    AcDbTable() = default;

    static const AcRxClass* desc();
    const AcRxClass* isA() const override { return desc(); }
    AcDbObjectKind kind() const override { return AcDbObjectKind::Table; }

    AcDbObjectId tableStyle() const { return style_; }
    // eInvalidInput unless id is a table style (null is accepted: the default style).
    Acad::ErrorStatus setTableStyle(const AcDbObjectId& id);

    int numRows() const { return static_cast<int>(rowHeights_.size()); }
    int numColumns() const { return static_cast<int>(colWidths_.size()); }
    // Grows or shrinks the grid at the end; eInvalidInput below 1.
    Acad::ErrorStatus setNumRows(int rows);
    Acad::ErrorStatus setNumColumns(int columns);
    // Inserts rows before row (numRows() appends), each of the height; the new
    // cells take the formatting of the row above. eInvalidIndex for a row
    // outside 0..numRows(), eInvalidInput for a count below 1 or height <= 0.
    Acad::ErrorStatus insertRows(int row, double height, int count = 1);
    // Removes rows and the merges inside them; eInvalidIndex outside the grid.
    Acad::ErrorStatus deleteRows(int row, int count = 1);

    // 0 outside the grid.
    double columnWidth(int column) const;
    double rowHeight(int row) const;
    // eInvalidIndex outside the grid, eInvalidInput for a size <= 0.
    Acad::ErrorStatus setColumnWidth(int column, double width);
    Acad::ErrorStatus setRowHeight(int row, double height);
    // The size for every column or row; eInvalidInput for a size <= 0.
    Acad::ErrorStatus setColumnWidth(double width);
    Acad::ErrorStatus setRowHeight(double height);
    double width() const;
    double height() const;
    // kTitleRow, kHeaderRow or kDataRow by the row's place and the style; kUnknownRow outside the grid.
    AcDb::RowType rowType(int row) const;

    // kUnknownCell outside the grid.
    AcDb::CellType cellType(int row, int column) const;
    // The cell's text (UTF-8, with its MTEXT codes); "" outside the grid.
    std::string textString(int row, int column) const;
    // Makes the cell a text cell with the text; eInvalidIndex outside the grid, eInvalidInput for null.
    Acad::ErrorStatus setTextString(int row, int column, const char* text);

    // The cell's text height: its own, else the table's for its kind of row, else the style's; 0 outside the grid.
    double textHeight(int row, int column) const;
    // The table's text height for a kind of row (kDataRow, kHeaderRow or kTitleRow).
    double textHeight(AcDb::RowType rowType = AcDb::kDataRow) const;
    // eInvalidIndex outside the grid, eInvalidInput for a height <= 0.
    Acad::ErrorStatus setTextHeight(int row, int column, double height);
    // For every cell of the kinds of row in rowTypes, now and in rows added
    // later; eInvalidInput for a height <= 0.
    Acad::ErrorStatus setTextHeight(double height, int rowTypes = AcDb::kAllRowTypes);
    // The cell's alignment, resolved like the text height; kMiddleCenter outside the grid.
    AcDb::CellAlignment alignment(int row, int column) const;
    AcDb::CellAlignment alignment(AcDb::RowType rowType = AcDb::kDataRow) const;
    // eInvalidIndex outside the grid, eInvalidInput outside kTopLeft..kBottomRight.
    Acad::ErrorStatus setAlignment(int row, int column, AcDb::CellAlignment alignment);
    Acad::ErrorStatus setAlignment(AcDb::CellAlignment alignment, int rowTypes = AcDb::kAllRowTypes);

    // Joins the cells of the range into one, shown as the top-left cell;
    // eInvalidIndex outside the grid, eInvalidInput for an empty range or one
    // that overlaps another merge.
    Acad::ErrorStatus mergeCells(int minRow, int maxRow, int minColumn, int maxColumn);
    // True when the cell belongs to a merge; its bounds go to the non-null outputs.
    bool isMergedCell(int row, int column, int* minRow = nullptr, int* maxRow = nullptr, int* minColumn = nullptr,
                      int* maxColumn = nullptr) const;

    // The block of a block cell; null for text cells and outside the grid.
    AcDbObjectId blockTableRecordId(int row, int column) const;
    // Makes the cell a block cell showing the block definition, scaled to fit
    // the cell when autoFit, else at its block scale (1). eInvalidIndex outside
    // the grid, eInvalidInput unless id is a block table record of this drawing.
    Acad::ErrorStatus setBlockTableRecordId(int row, int column, const AcDbObjectId& id, bool autoFit = false);
    // False outside the grid.
    bool isAutoScale(int row, int column) const;

    // The direction of the rows (world coordinates).
    AcGeVector3d direction() const { return direction_; }
    // eInvalidInput for a zero vector.
    Acad::ErrorStatus setDirection(const AcGeVector3d& horizontal);
    // The margins: the table's own when set, else the style's.
    double horzCellMargin() const;
    double vertCellMargin() const;

    // Redraws the "*T<n>" block (making it when missing) from the grid;
    // without forceUpdate only when the table changed since the last redraw.
    // eNotInDatabase when the table is in no database; open statuses otherwise.
    Acad::ErrorStatus recomputeTableBlock(bool forceUpdate = true);
    // True when the table changed since its block was last drawn.
    bool needsRecompute() const { return blockStale_; }

    // Redraws the block when the table changed, then ends the open.
    Acad::ErrorStatus close() override;
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    // A copy with its own block to be drawn; in no database.
    AcDbEntity* clone() const override;

    // One cell. fileTags are the cell's tags as read, written back while the
    // cell is unchanged; codes the model does not own survive a change.
    struct Cell {
        AcDb::CellType type = AcDb::kTextCell;
        std::string text;
        AcDbObjectId block;
        bool autoFit = true;
        double blockScale = 1.0;
        double rotation = 0.0;
        double textHeight = 0.0;  // 0: not set on the cell
        int alignment = 0;        // 0: not set on the cell
        std::vector<DxfTag> fileTags;
        bool changed = true;
    };
    struct Merge {
        int minRow, maxRow, minColumn, maxColumn;
    };

private:
    friend class DxfTable;

    const Cell* cellAt(int row, int column) const;
    Cell* cellAt(int row, int column);
    // Marks the table data (and the block) changed; the write-open check's status.
    Acad::ErrorStatus changed();
    double styleHeight(AcDb::RowType rowType) const;
    AcDb::CellAlignment styleAlignment(AcDb::RowType rowType) const;
    bool styleSuppresses(AcDb::RowType rowType) const;
    void markMergeCells(const Merge& m);
    const Merge* mergeAt(int row, int column) const;

    AcDbObjectId style_;
    AcGeVector3d direction_{1, 0, 0};
    std::vector<double> rowHeights_;
    std::vector<double> colWidths_;
    std::vector<Cell> cells_;  // row-major
    std::vector<Merge> merges_;
    double rowTypeHeight_[3] = {0, 0, 0};  // data, header, title; 0: the style's
    int rowTypeAlignment_[3] = {0, 0, 0};
    double horzMargin_ = -1;  // below 0: the style's
    double vertMargin_ = -1;
    bool blockStale_ = true;
    bool dataChanged_ = true;
    // The AcDbTable tags before the row heights as read (table value flags,
    // overrides), kept for writing back.
    std::vector<DxfTag> headTags_;
};
