#include "host/dxf/DxfR12Upgrade.h"

#include <strings.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <set>

#include "host/base/DxfCodepage.h"
#include "host/dxf/DxfDefaultDrawing.h"
#include "host/dxf/DxfTagReader.h"
#include "host/dxf/DxfValue.h"

namespace {

std::string lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool sameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

// The sections of a tag list by name: the tags after "2 NAME" up to ENDSEC.
template <class Tags>
void findSections(const Tags& t, std::vector<std::pair<std::string, std::pair<size_t, size_t>>>& out)
{
    const size_t n = t.size();
    for (size_t i = 0; i + 1 < n; ++i) {
        if (!(t[i].is(0, "SECTION") && t[i + 1].code == 2))
            continue;
        std::string name(DxfValue::trimmed(t[i + 1].value()));
        size_t b = i + 2, e = b;
        while (e < n && !t[e].is(0, "ENDSEC") && !t[e].is(0, "EOF") && !t[e].is(0, "SECTION"))
            ++e;
        out.push_back({name, {b, e}});
        i = e > i ? e - 1 : i;
    }
}

// The subclass marker of an R12 table record in later versions.
const char* recordSubclass(std::string_view type)
{
    if (type == "VPORT") return "AcDbViewportTableRecord";
    if (type == "LTYPE") return "AcDbLinetypeTableRecord";
    if (type == "LAYER") return "AcDbLayerTableRecord";
    if (type == "STYLE") return "AcDbTextStyleTableRecord";
    if (type == "VIEW") return "AcDbViewTableRecord";
    if (type == "UCS") return "AcDbUCSTableRecord";
    if (type == "APPID") return "AcDbRegAppTableRecord";
    if (type == "DIMSTYLE") return "AcDbDimStyleTableRecord";
    return nullptr;
}

// The one subclass of the entity types that have one.
const char* singleSubclass(std::string_view type)
{
    static const std::pair<const char*, const char*> kTypes[] = {
        {"LINE", "AcDbLine"},       {"POINT", "AcDbPoint"},       {"CIRCLE", "AcDbCircle"},
        {"SOLID", "AcDbTrace"},     {"TRACE", "AcDbTrace"},       {"3DFACE", "AcDbFace"},
        {"SHAPE", "AcDbShape"},     {"VIEWPORT", "AcDbViewport"}, {"LWPOLYLINE", "AcDbPolyline"},
        {"ELLIPSE", "AcDbEllipse"}, {"MTEXT", "AcDbMText"},       {"SPLINE", "AcDbSpline"},
        {"HATCH", "AcDbHatch"},     {"LEADER", "AcDbLeader"},     {"XLINE", "AcDbXline"},
        {"RAY", "AcDbRay"},
    };
    for (const auto& [name, marker] : kTypes)
        if (type == name)
            return marker;
    return nullptr;
}

// Codes of the common entity part (AcDbEntity).
bool isCommonCode(int c)
{
    switch (c) {
    case 6: case 8: case 48: case 60: case 62: case 67: case 284: case 347: case 370: case 380: case 390:
    case 420: case 430: case 440:
        return true;
    default:
        return false;
    }
}

// Codes of the text part (AcDbText) of TEXT, ATTDEF and ATTRIB.
bool isTextCode(int c)
{
    switch (c) {
    case 1: case 7: case 10: case 20: case 30: case 11: case 21: case 31: case 39: case 40: case 41:
    case 50: case 51: case 71: case 72: case 210: case 220: case 230:
        return true;
    default:
        return false;
    }
}

// Codes of the common dimension part (AcDbDimension).
bool isDimensionCode(int c)
{
    switch (c) {
    case 1: case 2: case 3: case 10: case 20: case 30: case 11: case 21: case 31: case 12: case 22: case 32:
    case 41: case 42: case 51: case 53: case 70: case 71: case 72: case 210: case 220: case 230:
        return true;
    default:
        return false;
    }
}

}  // namespace

DxfR12Upgrade::DxfR12Upgrade(const std::vector<DxfTag>& tags, std::string_view text) : tags_(tags), text_(text)
{
    // The group-code line of every tag, counted in one pass over the text.
    lines_.reserve(tags.size());
    size_t line = 1;
    const char* p = text.data();
    const char* const end = text.data() + text.size();
    for (const DxfTag& t : tags) {
        const char* at = std::clamp(t.text, text.data(), end);
        if (at < p) {
            lines_.push_back(0);
            continue;
        }
        line += static_cast<size_t>(std::count(p, at, '\n'));
        p = at;
        lines_.push_back(static_cast<uint32_t>(line > 1 ? line - 1 : 1));
    }
    // Where each section named lies (the last of a name, when there are more).
    auto locate = [](const std::vector<DxfTag>& t, std::initializer_list<std::pair<const char*, Range*>> wanted) {
        std::vector<std::pair<std::string, std::pair<size_t, size_t>>> sections;
        findSections(t, sections);
        for (const auto& [name, range] : sections)
            for (const auto& [want, into] : wanted)
                if (name == want)
                    *into = Range{range.first, range.second};
    };
    locate(tags, {{"HEADER", &header_}, {"TABLES", &tables_}, {"BLOCKS", &blocks_}, {"ENTITIES", &entities_}});
    for (size_t i = header_.begin; i + 1 < header_.end; ++i)
        if (tags[i].is(9, "$DWGCODEPAGE") && tags[i + 1].code == 3)
            codepage_ = std::string(DxfValue::trimmed(tags[i + 1].value()));

    templateText_ = DxfDefaultDrawing::text();
    DxfTagReader("template").read(templateText_, template_);
    locate(template_, {{"HEADER", &tHeader_}, {"CLASSES", &tClasses_}, {"TABLES", &tTables_}, {"BLOCKS", &tBlocks_},
                       {"OBJECTS", &tObjects_}});
    uint64_t top = 0;
    for (const DxfTag& t : template_) {
        uint64_t h = 0;
        if ((t.code == 5 || t.code == 105) && DxfValue::toHandle(t.value(), h))
            top = std::max(top, h);
    }
    nextHandle_ = top + 1;
}

bool DxfR12Upgrade::isR12(const DxfTagList& tags, std::string& version)
{
    version.clear();
    std::vector<std::pair<std::string, std::pair<size_t, size_t>>> sections;
    findSections(tags, sections);
    bool laterStructure = false, haveVersion = false;
    for (const auto& [name, range] : sections) {
        if (name == "CLASSES" || name == "OBJECTS")
            laterStructure = true;
        for (size_t i = range.first; i + 1 < range.second; ++i) {
            if (name == "HEADER" && tags[i].is(9, "$ACADVER") && tags[i + 1].code == 1) {
                version = std::string(DxfValue::trimmed(tags[i + 1].value()));
                haveVersion = true;
            }
            if (name == "TABLES" && tags[i].is(0, "TABLE") && tags[i + 1].is(2, "BLOCK_RECORD"))
                laterStructure = true;
        }
    }
    if (sections.empty())
        return false;
    if (haveVersion)
        return version.size() == 6 && version.compare(0, 4, "AC10") == 0 && version <= "AC1009";
    return !laterStructure;
}

std::string DxfR12Upgrade::decoded(const DxfTag& t) const
{
    static thread_local std::string page;
    static thread_local std::unique_ptr<DxfCodepage> cp;
    if (!cp || page != codepage_) {
        cp = std::make_unique<DxfCodepage>(false, codepage_);
        page = codepage_;
    }
    if (dxfValueKind(t.code) == DxfValueKind::String || (t.code >= 1000 && t.code <= 1003)) {
        // An escape of a line break ("\U+000A") stays an escape: decoded, it
        // would split the tag.
        std::string text = cp->decode(t.value());
        if (text.find_first_of("\r\n") == std::string::npos)
            return text;
    }
    return std::string(t.value());
}

std::string DxfR12Upgrade::newHandle() { return DxfValue::fromHandle(nextHandle_++); }

std::vector<DxfR12Upgrade::Range> DxfR12Upgrade::objectsOf(Range section) const
{
    std::vector<Range> out;
    size_t i = section.begin;
    while (i < section.end && tags_[i].code != 0)
        ++i;
    while (i < section.end) {
        size_t e = i + 1;
        while (e < section.end && tags_[e].code != 0)
            ++e;
        out.push_back({i, e});
        i = e;
    }
    return out;
}

std::string DxfR12Upgrade::nameOf(Range object) const
{
    for (size_t i = object.begin + 1; i < object.end; ++i)
        if (tags_[i].code == 2)
            return decoded(tags_[i]);
    return {};
}

void DxfR12Upgrade::emit(std::vector<Out>& out, int code, std::string value, uint32_t line) const
{
    out.push_back({code, std::move(value), line});
}

void DxfR12Upgrade::emitSource(std::vector<Out>& out, size_t tag) const
{
    out.push_back({tags_[tag].code, decoded(tags_[tag]), lineOf(tag)});
}

void DxfR12Upgrade::convertRecord(std::vector<Out>& out, const std::string& type, Range r, const std::string& table,
                                  std::string handle)
{
    const char* subclass = recordSubclass(type);
    emit(out, 0, type, lineOf(r.begin));
    emit(out, type == "DIMSTYLE" ? 105 : 5, handle.empty() ? newHandle() : std::move(handle));
    emit(out, 330, table);
    emit(out, 100, "AcDbSymbolTableRecord");
    emit(out, 100, subclass ? subclass : "AcDbSymbolTableRecord");
    bool plotStyle = false;
    for (size_t i = r.begin + 1; i < r.end; ++i) {
        const int c = tags_[i].code;
        if ((c == 5 && type != "DIMSTYLE") || c == 105 || c == 100 || c == 102 || c == 330 || c == 360)
            continue;  // R12 handles are replaced (a DIMSTYLE's 5 is its DIMBLK); no owners or markers yet
        emitSource(out, i);
        if (type == "LTYPE" && c == 49 && !(i + 1 < r.end && tags_[i + 1].code == 74))
            emit(out, 74, "0");  // later versions give every dash its element type
        plotStyle = plotStyle || c == 390;
    }
    if (type == "LAYER" && !plotStyle) {
        // Later layers name their plot style and material as the template's layer 0 does.
        for (size_t i = tTables_.begin; i + 1 < tTables_.end; ++i)
            if (template_[i].is(0, "LAYER")) {
                for (size_t k = i + 1; k < tTables_.end && template_[k].code != 0; ++k)
                    if (template_[k].code == 390 || template_[k].code == 347)
                        emit(out, template_[k].code, std::string(template_[k].value()));
                break;
            }
    }
}

void DxfR12Upgrade::convertEntity(std::vector<Out>& out, Range e, const std::string& space, std::string& parent)
{
    const std::string type(DxfValue::trimmed(tags_[e.begin].value()));
    const bool sub = type == "ATTRIB" || type == "VERTEX" || type == "SEQEND";
    const std::string owner = sub && !parent.empty() ? parent : space;
    size_t dataEnd = e.end;
    for (size_t i = e.begin + 1; i < e.end; ++i)
        if (tags_[i].code == 1001) {
            dataEnd = i;
            break;
        }
    auto find = [&](int code) -> const DxfTag* {
        for (size_t i = e.begin + 1; i < dataEnd; ++i)
            if (tags_[i].code == code)
                return &tags_[i];
        return nullptr;
    };
    auto flags = [&](int code) {
        int64_t v = 0;
        const DxfTag* t = find(code);
        return t && DxfValue::toInt(t->value(), v) ? v : int64_t{0};
    };
    const std::string handle = newHandle();
    emit(out, 0, type, lineOf(e.begin));
    emit(out, 5, handle);
    emit(out, 330, owner);
    emit(out, 100, "AcDbEntity");
    std::string layer = "0";
    bool layerSeen = false;
    for (size_t i = e.begin + 1; i < dataEnd; ++i)
        if (tags_[i].code == 67)
            emitSource(out, i);
    for (size_t i = e.begin + 1; i < dataEnd; ++i)
        if (tags_[i].code == 8) {
            emitSource(out, i);
            layer = decoded(tags_[i]);
            layerSeen = true;
        }
    if (!layerSeen)
        emit(out, 8, layer);
    if (std::find(layersUsed_.begin(), layersUsed_.end(), layer) == layersUsed_.end())
        layersUsed_.push_back(layer);
    for (size_t i = e.begin + 1; i < dataEnd; ++i)
        if (isCommonCode(tags_[i].code) && tags_[i].code != 8 && tags_[i].code != 67)
            emitSource(out, i);

    // The type's own tags, split into its subclasses: the first takes the
    // codes `first` accepts, the second the rest.
    auto typed = [&](int code) {
        return !(code == 5 || code == 100 || code == 102 || code == 330 || code == 360 || isCommonCode(code)
                 || (code == 38 && find(38) && DxfValue::trimmed(find(38)->value()) == "0.0"));
    };
    // One subclass: its marker (none for unknown types) and the codes the predicate takes.
    auto part = [&](const char* marker, auto takes) {
        if (marker)
            emit(out, 100, marker);
        for (size_t i = e.begin + 1; i < dataEnd; ++i)
            if (typed(tags_[i].code) && takes(tags_[i].code))
                emitSource(out, i);
    };
    // Two subclasses: the first takes the codes `first` accepts, the second the rest.
    auto split = [&](const char* one, const char* two, auto first) {
        if (!two)
            return part(one, [](int) { return true; });
        part(one, first);
        part(two, [&](int c) { return !first(c); });
    };
    auto all = [](int) { return true; };
    if (type == "ARC") split("AcDbCircle", "AcDbArc", [](int c) { return c != 50 && c != 51; });
    else if (type == "TEXT") split("AcDbText", "AcDbText", [](int c) { return c != 73; });
    else if (type == "ATTDEF") split("AcDbText", "AcDbAttributeDefinition", isTextCode);
    else if (type == "ATTRIB") split("AcDbText", "AcDbAttribute", isTextCode);
    else if (type == "INSERT")
        split(flags(70) > 1 || flags(71) > 1 ? "AcDbMInsertBlock" : "AcDbBlockReference", nullptr, all);
    else if (type == "POLYLINE") {
        const int64_t f = flags(70);
        split(f & 8 ? "AcDb3dPolyline" : f & 16 ? "AcDbPolygonMesh" : f & 64 ? "AcDbPolyFaceMesh" : "AcDb2dPolyline",
              nullptr, all);
    } else if (type == "VERTEX") {
        const int64_t f = flags(70);
        if ((f & 128) && !(f & 64))
            split("AcDbFaceRecord", nullptr, all);
        else {
            emit(out, 100, "AcDbVertex");
            split(f & 128 ? "AcDbPolyFaceMeshVertex" : f & 64 ? "AcDbPolygonMeshVertex"
                  : f & 32 ? "AcDb3dPolylineVertex" : "AcDb2dVertex", nullptr, all);
        }
    } else if (type == "SEQEND") {
    } else if (type == "DIMENSION") {
        static const char* const kinds[] = {"AcDbAlignedDimension", "AcDbAlignedDimension", "AcDb2LineAngularDimension",
                                            "AcDbDiametricDimension", "AcDbRadialDimension",
                                            "AcDb3PointAngularDimension", "AcDbOrdinateDimension"};
        const int64_t kind = flags(70) & 7;
        // A rotated dimension keeps its angle (50) and oblique angle (52) in a third subclass.
        const bool rotated = kind == 0;
        part("AcDbDimension", isDimensionCode);
        part(kind < 7 ? kinds[kind] : "AcDbAlignedDimension",
             [rotated](int c) { return !isDimensionCode(c) && !(rotated && (c == 50 || c == 52)); });
        if (rotated)
            part("AcDbRotatedDimension", [](int c) { return c == 50 || c == 52; });
    } else if (const char* marker = singleSubclass(type))
        split(marker, nullptr, all);
    else
        split(nullptr, nullptr, all);
    for (size_t i = dataEnd; i < e.end; ++i)
        emitSource(out, i);

    if (type == "INSERT" || type == "POLYLINE")
        parent = handle;
    else if (type == "SEQEND" || !sub)
        parent.clear();
}

void DxfR12Upgrade::convertEntities(std::vector<Out>& out)
{
    std::string parent;
    for (Range e : objectsOf(entities_)) {
        bool paper = false;
        for (size_t i = e.begin + 1; i < e.end && tags_[i].code != 1001; ++i)
            if (tags_[i].code == 67)
                paper = DxfValue::trimmed(tags_[i].value()) == "1";
        convertEntity(out, e, paper ? paperSpace_ : modelSpace_, parent);
    }
}

void DxfR12Upgrade::convertBlocks(std::vector<Out>& out)
{
    // The template's model and paper space blocks come first.
    for (size_t i = tBlocks_.begin; i < tBlocks_.end; ++i)
        emit(out, template_[i].code, std::string(template_[i].value()));
    std::vector<Range> objects = objectsOf(blocks_);
    std::string record, layer, parent;
    bool skip = false;
    for (Range o : objects) {
        std::string_view type = DxfValue::trimmed(tags_[o.begin].value());
        if (type == "BLOCK") {
            const std::string name = nameOf(o);
            skip = skipped_.count(lower(name)) > 0;
            if (skip)
                continue;
            record.clear();
            for (const auto& [n, h] : blockRecords_)
                if (sameName(n, name))
                    record = h;
            layer = "0";
            emit(out, 0, "BLOCK", lineOf(o.begin));
            emit(out, 5, newHandle());
            emit(out, 330, record);
            emit(out, 100, "AcDbEntity");
            for (size_t i = o.begin + 1; i < o.end; ++i)
                if (tags_[i].code == 67)
                    emitSource(out, i);
            bool layerSeen = false;
            for (size_t i = o.begin + 1; i < o.end; ++i)
                if (tags_[i].code == 8) {
                    emitSource(out, i);
                    layer = decoded(tags_[i]);
                    layerSeen = true;
                }
            if (!layerSeen)
                emit(out, 8, layer);
            emit(out, 100, "AcDbBlockBegin");
            bool has3 = false, has1 = false;
            for (size_t i = o.begin + 1; i < o.end; ++i) {
                const int c = tags_[i].code;
                if (c == 5 || c == 8 || c == 67 || c == 100 || c == 330)
                    continue;
                emitSource(out, i);
                has3 = has3 || c == 3;
                has1 = has1 || c == 1;
            }
            if (!has3)
                emit(out, 3, name);
            if (!has1)
                emit(out, 1, "");
            parent.clear();
        } else if (type == "ENDBLK") {
            if (skip)
                continue;
            emit(out, 0, "ENDBLK", lineOf(o.begin));
            emit(out, 5, newHandle());
            emit(out, 330, record);
            emit(out, 100, "AcDbEntity");
            emit(out, 8, layer);
            emit(out, 100, "AcDbBlockEnd");
        } else if (!skip) {
            convertEntity(out, o, record, parent);
        }
    }
}

void DxfR12Upgrade::writeHeader(std::vector<Out>& out)
{
    // The template's variables, each with the file's value where the file
    // has the same variable with the same group codes.
    std::vector<std::pair<size_t, size_t>> fileVars;  // [9 tag, next 9 or end)
    for (size_t i = header_.begin; i < header_.end; ++i)
        if (tags_[i].code == 9) {
            size_t e = i + 1;
            while (e < header_.end && tags_[e].code != 9 && tags_[e].code != 0)
                ++e;
            fileVars.push_back({i, e});
        }
    for (size_t i = tHeader_.begin; i < tHeader_.end;) {
        size_t e = i + 1;
        while (e < tHeader_.end && template_[e].code != 9)
            ++e;
        const std::string_view name = template_[i].value();
        const std::pair<size_t, size_t>* use = nullptr;
        if (name != "$ACADVER" && name != "$HANDSEED" && name != "$DWGCODEPAGE" && name != "$ACADMAINTVER")
            for (const auto& v : fileVars)
                if (tags_[v.first].value() == name && v.second - v.first == e - i) {
                    bool same = true;
                    for (size_t k = 1; k < e - i; ++k)
                        same = same && tags_[v.first + k].code == template_[i + k].code;
                    if (same)
                        use = &v;
                }
        emit(out, 9, std::string(name), use ? lineOf(use->first) : 0);
        for (size_t k = 1; k < e - i; ++k) {
            if (use)
                emitSource(out, use->first + k);
            else if (name == "$HANDSEED")
                emit(out, 5, "@HANDSEED@");  // set once every handle is given
            else
                emit(out, template_[i + k].code, std::string(template_[i + k].value()));
        }
        i = e;
    }
}

void DxfR12Upgrade::writeTables(std::vector<Out>& out)
{
    // The file's records by table type.
    std::vector<std::pair<std::string, std::vector<Range>>> fileTables;
    std::string current;
    for (Range o : objectsOf(tables_)) {
        std::string_view type = DxfValue::trimmed(tags_[o.begin].value());
        if (type == "TABLE") {
            current = o.begin + 1 < o.end && tags_[o.begin + 1].code == 2
                          ? std::string(DxfValue::trimmed(tags_[o.begin + 1].value())) : "";
            fileTables.push_back({current, {}});
        } else if (type != "ENDTAB" && !fileTables.empty() && type == current && type != "BLOCK_RECORD") {
            // Block records come from the BLOCKS section (an R12 file has none;
            // some writers add a table of them without handles).
            fileTables.back().second.push_back(o);
        }
    }
    auto fileRecords = [&](const std::string& type) -> std::vector<Range> {
        std::vector<Range> all;
        for (const auto& [t, records] : fileTables)
            if (t == type)
                all.insert(all.end(), records.begin(), records.end());
        return all;
    };

    // Walk the template's tables: heads as they are, records replaced by the
    // file's records of the same name, the file's other records added.
    const size_t n = tTables_.end;
    size_t i = tTables_.begin;
    while (i < n) {
        if (!template_[i].is(0, "TABLE")) {
            ++i;
            continue;
        }
        size_t headEnd = i + 1;
        while (headEnd < n && template_[headEnd].code != 0)
            ++headEnd;
        std::string type, table;
        for (size_t k = i + 1; k < headEnd; ++k) {
            if (template_[k].code == 2) type = std::string(template_[k].value());
            if (template_[k].code == 5) table = std::string(template_[k].value());
        }
        std::vector<std::vector<Out>> records;
        std::vector<Range> file = fileRecords(type);
        std::vector<bool> used(file.size(), false);
        size_t k = headEnd;
        while (k < n && !template_[k].is(0, "ENDTAB")) {
            size_t e = k + 1;
            while (e < n && template_[e].code != 0)
                ++e;
            std::string name;
            for (size_t j = k + 1; j < e; ++j)
                if (template_[j].code == 2) {
                    name = std::string(template_[j].value());
                    break;
                }
            std::string handle;  // kept: other objects of the template refer to it
            for (size_t j = k + 1; j < e && handle.empty(); ++j)
                if (template_[j].code == 5 || template_[j].code == 105)
                    handle = std::string(template_[j].value());
            std::vector<Out>& rec = records.emplace_back();
            bool replaced = false;
            for (size_t f = 0; f < file.size() && !replaced; ++f)
                if (!used[f] && sameName(nameOf(file[f]), name)) {
                    convertRecord(rec, type, file[f], table, handle);
                    used[f] = replaced = true;
                }
            if (!replaced)
                for (size_t j = k; j < e; ++j)
                    emit(rec, template_[j].code, std::string(template_[j].value()));
            k = e;
        }
        std::set<std::string> names;
        for (size_t f = 0; f < file.size(); ++f) {
            std::string name = nameOf(file[f]);
            if (used[f] || !names.insert(lower(name)).second || name.empty())
                continue;  // a second record of one name would make the table ambiguous
            convertRecord(records.emplace_back(), type, file[f], table, "");
        }
        if (type == "LAYER") {
            // Layers entities use without a record get one (colour 7, Continuous).
            for (const std::string& layer : layersUsed_) {
                bool known = false;
                for (const std::vector<Out>& r : records)
                    for (const Out& t : r)
                        if (t.code == 2) {
                            known = known || sameName(t.value, layer);
                            break;
                        }
                if (known)
                    continue;
                std::vector<Out>& rec = records.emplace_back();
                emit(rec, 0, "LAYER");
                emit(rec, 5, newHandle());
                emit(rec, 330, table);
                emit(rec, 100, "AcDbSymbolTableRecord");
                emit(rec, 100, "AcDbLayerTableRecord");
                emit(rec, 2, layer);
                emit(rec, 70, "0");
                emit(rec, 62, "7");
                emit(rec, 6, "Continuous");
            }
        }
        if (type == "BLOCK_RECORD") {
            for (const auto& [name, handle] : blockRecords_) {
                std::vector<Out>& rec = records.emplace_back();
                emit(rec, 0, "BLOCK_RECORD");
                emit(rec, 5, handle);
                emit(rec, 330, table);
                emit(rec, 100, "AcDbSymbolTableRecord");
                emit(rec, 100, "AcDbBlockTableRecord");
                emit(rec, 2, name);
                emit(rec, 340, "0");
                emit(rec, 70, "0");
                emit(rec, 280, "1");
                emit(rec, 281, "0");
            }
        }
        for (size_t j = i; j < headEnd; ++j)
            emit(out, template_[j].code,
                 template_[j].code == 70 ? std::to_string(records.size()) : std::string(template_[j].value()));
        for (std::vector<Out>& r : records)
            for (Out& t : r)
                out.push_back(std::move(t));
        emit(out, 0, "ENDTAB");
        i = k + 1;
    }
}

std::string DxfR12Upgrade::upgrade(bool crlf, std::vector<uint32_t>& sourceLines)
{
    // Model and paper space, and a record for each of the file's blocks.
    for (size_t i = tTables_.begin; i + 1 < tTables_.end; ++i)
        if (template_[i].is(0, "BLOCK_RECORD")) {
            std::string handle, name;
            for (size_t k = i + 1; k < tTables_.end && template_[k].code != 0; ++k) {
                if (template_[k].code == 5) handle = std::string(template_[k].value());
                if (template_[k].code == 2) name = std::string(template_[k].value());
            }
            if (name == "*Model_Space") modelSpace_ = handle;
            if (name == "*Paper_Space") paperSpace_ = handle;
        }
    // The model and paper space blocks are the template's; other layouts'
    // blocks (*Paper_Space0, ...) become ordinary blocks unless empty.
    std::set<std::string> blockNames;
    std::string name;
    bool empty = true;
    for (Range o : objectsOf(blocks_)) {
        if (tags_[o.begin].is(0, "BLOCK")) {
            name = nameOf(o);
            empty = true;
        } else if (tags_[o.begin].is(0, "ENDBLK")) {
            const std::string key = lower(name);
            const bool space = key.size() >= 12 && (key.compare(1, 11, "model_space") == 0 || key.compare(1, 11, "paper_space") == 0)
                               && (key[0] == '$' || key[0] == '*');
            if (space && (empty || key.size() == 12))
                skipped_.insert(key);
            else if (!name.empty() && blockNames.insert(key).second)
                blockRecords_.push_back({name, newHandle()});
        } else {
            empty = false;
        }
    }

    std::vector<Out> blocks, entities, head, tables;
    convertBlocks(blocks);
    convertEntities(entities);
    writeHeader(head);
    writeTables(tables);

    std::vector<Out> all;
    auto section = [&](const char* name, std::vector<Out>& body) {
        emit(all, 0, "SECTION");
        emit(all, 2, name);
        for (Out& t : body)
            all.push_back(std::move(t));
        emit(all, 0, "ENDSEC");
    };
    auto copy = [&](Range r) {
        std::vector<Out> body;
        for (size_t i = r.begin; i < r.end; ++i)
            emit(body, template_[i].code, std::string(template_[i].value()));
        return body;
    };
    std::vector<Out> classes = copy(tClasses_), objects = copy(tObjects_);
    section("HEADER", head);
    section("CLASSES", classes);
    section("TABLES", tables);
    section("BLOCKS", blocks);
    section("ENTITIES", entities);
    section("OBJECTS", objects);
    emit(all, 0, "EOF");

    const char* eol = crlf ? "\r\n" : "\n";
    std::string text;
    text.reserve(all.size() * 16);
    sourceLines.clear();
    sourceLines.reserve(all.size());
    const std::string seed = newHandle();
    for (const Out& t : all) {
        std::string code = std::to_string(t.code);
        if (code.size() < 3)
            text.append(3 - code.size(), ' ');
        text += code;
        text += eol;
        text += t.value == "@HANDSEED@" ? seed : t.value;
        text += eol;
        sourceLines.push_back(t.line);
    }
    return text;
}
