#pragma once
#include <cstdint>
#include <string_view>

// The kinds of object the database models; everything else is Other
// (kept as read) and reports the class of its DXF record name.
enum class AcDbObjectKind : uint16_t {
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
};

// The kind for a DXF record name as found in the given section
// ("ENTITIES", "BLOCKS", "TABLES" or "OBJECTS").
AcDbObjectKind acdbKindOfDxfName(std::string_view dxfName, std::string_view section);
