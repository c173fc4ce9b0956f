#pragma once
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "host/dxf/DxfTag.h"

class AcDbDatabase;
class AcDbBlockTableRecord;
class AcDbTable;
class AcDbTableStyle;
class DxfCodepage;
class DxfTagEditor;

// Maps tables (ACAD_TABLE) and table styles (TABLESTYLE) to and from their
// DXF tags. A table read from a file keeps the tags of its table-level part
// and of every cell; saving an edited table rewrites its grid and the cells
// that changed (legacy cell records up to R2004, CELL_VALUE records from
// R2007) and writes the rest back as read.
class DxfTable {
public:
    // Fills the table from the tags of an ACAD_TABLE record (data part, before xdata).
    static void load(AcDbTable& table, AcDbDatabase& db, const DxfTag* tags, size_t count, const DxfCodepage& codepage);
    // Rewrites the AcDbTable subclass when the table data changed (or it is new).
    static void save(AcDbTable& table, AcDbDatabase& db, DxfTagEditor& editor);

    // Fills a table style from the tags of a TABLESTYLE record.
    static void loadStyle(AcDbTableStyle& style, const DxfTag* tags, size_t count, const DxfCodepage& codepage);
    // Writes a new style's AcDbTableStyle subclass, or edits a read one's
    // values in place; tables drawn with it are added to its reactors.
    static void saveStyle(AcDbTableStyle& style, AcDbDatabase& db, DxfTagEditor& editor);

    // For a new "*T" block record: the BLKREFS group naming the tables drawn through it.
    static void saveBlockRefs(AcDbDatabase& db, AcDbBlockTableRecord& record, DxfTagEditor& editor);
    // Before writing: gives changed tables without a style the "Standard"
    // style and redraws the blocks of tables that changed.
    static void prepareSave(AcDbDatabase& db);
    // The CLASS records (as tags) that tables and table styles in the
    // database need and the file's CLASSES section lacks.
    static std::vector<std::pair<int, std::string>> missingClasses(AcDbDatabase& db);
};
