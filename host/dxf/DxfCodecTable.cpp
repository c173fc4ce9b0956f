#include <array>
#include <string_view>
#include <vector>

#include "host/dxf/DxfCodec.h"

// The codec table: one line per type. A line names the DXF record, the
// section it stands in, the database's kind for it, its codec (the
// functions kDxf<Codec>Codec defined in codecs/Dxf<Codec>Codec.cpp) and how
// reading checks its numbers. A type the database does not model has no
// line: it is read as the fallback of its section (name null), which keeps
// its tags and reports the class of its record.
#define DXF_CODEC_TABLE(X)                                                                        \
    /* record name      section   kind                  codec                reads */            \
    X("INSERT",        Entities, BlockReference,       BlockReference,      ByValueKind | Ints) \
    X("ATTRIB",        Entities, Attribute,            Attribute,           ByValueKind | Ints) \
    X("ATTDEF",        Entities, AttributeDefinition,  AttributeDefinition, ByValueKind | Ints) \
    X("TEXT",          Entities, Text,                 Text,                ByValueKind | Ints) \
    X("LWPOLYLINE",    Entities, Polyline,             Polyline,            ByValueKind | Ints) \
    X("CIRCLE",        Entities, Circle,               Circle,              ByValueKind | Ints) \
    X("ARC",           Entities, Arc,                  Arc,                 ByValueKind | Ints) \
    X("SPLINE",        Entities, Spline,               Spline,              ByValueKind | Ints) \
    X("ELLIPSE",       Entities, Ellipse,              Ellipse,             ByValueKind | Ints) \
    X("POLYLINE",      Entities, Polyline2d,           OldPolyline,         ByValueKind | Ints) \
    X("VERTEX",        Entities, Vertex2d,             Vertex,              ByValueKind | Ints) \
    X("MTEXT",         Entities, MText,                MText,               ByValueKind | Ints) \
    X("LINE",          Entities, Line,                 Line,                ByValueKind | Ints) \
    X("HATCH",         Entities, Hatch,                Hatch,               Ints)               \
    X("ACAD_TABLE",    Entities, Table,                Table,               0)                  \
    X("VIEWPORT",      Entities, Viewport,             Viewport,            Ints)               \
    X("SEQEND",        Entities, SequenceEnd,          Plain,               ByValueKind | Ints) \
    X("BLOCK",         Entities, BlockBegin,           BlockBegin,          ByValueKind | Ints) \
    X("ENDBLK",        Entities, BlockEnd,             BlockEnd,            ByValueKind | Ints) \
    X(nullptr,         Entities, OtherEntity,          Plain,               ByValueKind)        \
    X("TABLE",         Tables,   SymbolTable,          SymbolTable,         Ints)               \
    X("BLOCK_RECORD",  Tables,   BlockTableRecord,     BlockTableRecord,    Ints)               \
    X("LAYER",         Tables,   LayerTableRecord,     LayerTableRecord,    Ints)               \
    X("LTYPE",         Tables,   LinetypeTableRecord,  LinetypeTableRecord, Ints)               \
    X("STYLE",         Tables,   TextStyleTableRecord, TextStyleTableRecord, Ints)              \
    X("APPID",         Tables,   RegAppTableRecord,    RegAppTableRecord,   Ints)               \
    X(nullptr,         Tables,   OtherTableRecord,     OtherTableRecord,    0)                  \
    X("DICTIONARY",    Objects,  Dictionary,           Dictionary,          Ints)               \
    X("SORTENTSTABLE", Objects,  SortentsTable,        SortentsTable,       Ints)               \
    X("LAYOUT",        Objects,  Layout,               Layout,              Ints)               \
    X("XRECORD",       Objects,  Xrecord,              Plain,               ByValueKind)        \
    X("TABLESTYLE",    Objects,  TableStyle,           TableStyle,          0)                  \
    X(nullptr,         Objects,  Other,                Plain,               ByValueKind)

#define DXF_CODEC_DECLARE(name, section, kind, codec, reads) extern const DxfCodecFunctions kDxf##codec##Codec;
DXF_CODEC_TABLE(DXF_CODEC_DECLARE)
#undef DXF_CODEC_DECLARE

namespace {

constexpr uint8_t ByValueKind = kDxfReadsByValueKind;
constexpr uint8_t Ints = kDxfReadsIntegers;

#define DXF_CODEC_LINE(name, section, kind, codec, reads) \
    {name, DxfCodecSection::section, AcDbObjectKind::kind, &kDxf##codec##Codec, static_cast<uint8_t>(reads)},
const DxfCodec kTable[] = {DXF_CODEC_TABLE(DXF_CODEC_LINE)};
#undef DXF_CODEC_LINE

// The group of dxfCodecFor's index that a name of the section starting with
// the letter first falls into.
size_t bucket(DxfCodecSection section, char first)
{
    return static_cast<size_t>(section) * 32 + (static_cast<unsigned char>(first) & 31u);
}

const DxfCodec& fallback(DxfCodecSection section)
{
    for (const DxfCodec& c : kTable)
        if (!c.name && c.section == section)
            return c;
    return kTable[0];  // not reached: every section has a fallback line
}

}  // namespace

const DxfCodec& dxfCodecOf(AcDbObjectKind kind)
{
    // Indexed by kind, made once.
    static const auto byKind = [] {
        std::array<const DxfCodec*, 256> index{};
        for (const DxfCodec& c : kTable)
            index[static_cast<size_t>(c.kind) & 0xff] = &c;
        return index;
    }();
    const DxfCodec* c = byKind[static_cast<size_t>(kind) & 0xff];
    return c ? *c : fallback(DxfCodecSection::Objects);
}

const DxfCodec& dxfCodecFor(std::string_view dxfName, std::string_view section)
{
    const DxfCodecSection s = section == "TABLES"    ? DxfCodecSection::Tables
                              : section == "OBJECTS" ? DxfCodecSection::Objects
                                                     : DxfCodecSection::Entities;
    // Reading looks up the type of every object this way. The lines are
    // sorted once by section and the last five bits of the first letter, and
    // each keeps its name's length: a look-up compares a name or two.
    struct Named {
        std::string_view name;
        const DxfCodec* codec;
    };
    static const auto byLetter = [] {
        std::array<std::vector<Named>, 3 * 32> index;
        for (const DxfCodec& c : kTable)
            if (c.name)
                index[bucket(c.section, c.name[0])].push_back({c.name, &c});
        return index;
    }();
    if (!dxfName.empty())
        for (const Named& named : byLetter[bucket(s, dxfName.front())])
            if (named.name == dxfName)
                return *named.codec;
    return fallback(s);
}

const std::vector<const DxfCodec*>& dxfCodecs()
{
    static const std::vector<const DxfCodec*> all = [] {
        std::vector<const DxfCodec*> v;
        for (const DxfCodec& c : kTable)
            v.push_back(&c);
        return v;
    }();
    return all;
}
