#include "host/db/AcDbObjectKind.h"

AcDbObjectKind acdbKindOfDxfName(std::string_view n, std::string_view section)
{
    using K = AcDbObjectKind;
    if (section == "TABLES") {
        if (n == "TABLE")
            return K::SymbolTable;
        if (n == "BLOCK_RECORD")
            return K::BlockTableRecord;
        if (n == "LAYER")
            return K::LayerTableRecord;
        if (n == "LTYPE")
            return K::LinetypeTableRecord;
        if (n == "STYLE")
            return K::TextStyleTableRecord;
        if (n == "APPID")
            return K::RegAppTableRecord;
        return K::OtherTableRecord;
    }
    if (section == "OBJECTS") {
        if (n == "DICTIONARY")
            return K::Dictionary;
        if (n == "SORTENTSTABLE")
            return K::SortentsTable;
        if (n == "LAYOUT")
            return K::Layout;
        if (n == "XRECORD")
            return K::Xrecord;
        if (n == "TABLESTYLE")
            return K::TableStyle;
        return K::Other;
    }
    if (n == "INSERT")
        return K::BlockReference;
    if (n == "ATTRIB")
        return K::Attribute;
    if (n == "ATTDEF")
        return K::AttributeDefinition;
    if (n == "TEXT")
        return K::Text;
    if (n == "LWPOLYLINE")
        return K::Polyline;
    if (n == "CIRCLE")
        return K::Circle;
    if (n == "LINE")
        return K::Line;
    if (n == "HATCH")
        return K::Hatch;
    if (n == "ACAD_TABLE")
        return K::Table;
    if (n == "VIEWPORT")
        return K::Viewport;
    if (n == "SEQEND")
        return K::SequenceEnd;
    if (n == "BLOCK")
        return K::BlockBegin;
    if (n == "ENDBLK")
        return K::BlockEnd;
    return K::OtherEntity;
}
