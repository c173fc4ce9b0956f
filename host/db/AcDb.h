#pragma once
#include <cstdint>

// Enumerations of the drawing database.
namespace AcDb {

enum OpenMode : int { kForRead = 0, kForWrite = 1, kForNotify = 2 };

enum Visibility : int { kVisible = 0, kInvisible = 1 };

// Line weights in hundredths of a millimetre, plus the three specials.
enum LineWeight : int {
    kLnWt000 = 0, kLnWt005 = 5, kLnWt009 = 9, kLnWt013 = 13, kLnWt015 = 15, kLnWt018 = 18,
    kLnWt020 = 20, kLnWt025 = 25, kLnWt030 = 30, kLnWt035 = 35, kLnWt040 = 40, kLnWt050 = 50,
    kLnWt053 = 53, kLnWt060 = 60, kLnWt070 = 70, kLnWt080 = 80, kLnWt090 = 90, kLnWt100 = 100,
    kLnWt106 = 106, kLnWt120 = 120, kLnWt140 = 140, kLnWt158 = 158, kLnWt200 = 200, kLnWt211 = 211,
    kLnWtByLayer = -1, kLnWtByBlock = -2, kLnWtByLwDefault = -3
};

// $INSUNITS values.
enum UnitsValue : int {
    kUnitsUndefined = 0, kUnitsInches = 1, kUnitsFeet = 2, kUnitsMiles = 3, kUnitsMillimeters = 4,
    kUnitsCentimeters = 5, kUnitsMeters = 6, kUnitsKilometers = 7
};

enum TextHorzMode : int { kTextLeft = 0, kTextCenter = 1, kTextRight = 2, kTextAlign = 3, kTextMid = 4, kTextFit = 5 };
enum TextVertMode : int { kTextBase = 0, kTextBottom = 1, kTextVertMid = 2, kTextTop = 3 };

// The DXF file versions the database reads and writes.
enum AcDbDwgVersion : int { kDHL_1015 = 23, kDHL_1018 = 25, kDHL_1021 = 27, kDHL_1024 = 29, kDHL_1027 = 31, kDHL_1032 = 33 };

// Table rows by their role (bit flags, combined in rowTypes arguments).
enum RowType : int { kUnknownRow = 0, kDataRow = 1, kTitleRow = 2, kHeaderRow = 4, kAllRowTypes = 7 };

// What a table cell holds.
enum CellType : int { kUnknownCell = 0, kTextCell = 1, kBlockCell = 2 };

// Where a table cell places its content.
enum CellAlignment : int {
    kTopLeft = 1, kTopCenter = 2, kTopRight = 3, kMiddleLeft = 4, kMiddleCenter = 5, kMiddleRight = 6,
    kBottomLeft = 7, kBottomCenter = 8, kBottomRight = 9
};

// Which way table rows run from the title.
enum FlowDirection : int { kTtoB = 0, kBtoT = 1 };

}  // namespace AcDb
