#pragma once
#include <cstdint>

// The kinds of object the database models; everything else is Other
// (kept as read) and reports the class of its DXF record name. The file
// format maps record names to kinds (for DXF, its codec table). A kind is
// a byte: every stub keeps one (AcDbStub::kind).
enum class AcDbObjectKind : uint8_t {
    Other = 0,
    OtherEntity,
    BlockReference,
    Attribute,
    AttributeDefinition,
    Text,
    Polyline,
    Circle,
    Line,
    Hatch,
    Table,
    Viewport,
    SequenceEnd,
    BlockBegin,
    BlockEnd,
    SymbolTable,
    BlockTableRecord,
    LayerTableRecord,
    LinetypeTableRecord,
    TextStyleTableRecord,
    RegAppTableRecord,
    OtherTableRecord,
    Dictionary,
    SortentsTable,
    Layout,
    Xrecord,
    TableStyle,
    Arc,
    Spline,
    Ellipse,
    MText,
    Polyline2d,
    Vertex2d,
};
