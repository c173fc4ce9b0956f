#include "host/dxf/DxfTable.h"

#include <strings.h>

#include <algorithm>
#include <cmath>

#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbTable.h"
#include "host/db/AcDbTableStyle.h"
#include "host/base/DxfCodepage.h"
#include "host/dxf/DxfTagEditor.h"
#include "host/dxf/DxfValue.h"

namespace {

// Longest text piece of one tag in a cell record.
constexpr size_t kChunk = 250;
// Cell override flag bits (177 up to R2004, 91 from R2007): alignment and text height.
constexpr int64_t kOverrideAlignment = 0x01;
constexpr int64_t kOverrideTextHeight = 0x20;

double real(const DxfTag& t, double fallback = 0.0)
{
    double v = fallback;
    return DxfValue::toDouble(t.value(), v) ? v : fallback;
}

int64_t integer(const DxfTag& t, int64_t fallback = 0)
{
    int64_t v = fallback;
    return DxfValue::toInt(t.value(), v) ? v : fallback;
}

AcDbObjectId idOf(AcDbDatabase& db, const DxfTag& t)
{
    uint64_t h = 0;
    if (!DxfValue::toHandle(t.value(), h))
        return {};
    return AcDbObjectId(db.data().byHandle.find(h));
}

// Splits encoded text into pieces of at most kChunk bytes, never inside a
// UTF-8 sequence or a "\U+XXXX" escape.
std::vector<std::string> chunks(const std::string& text)
{
    std::vector<std::string> out;
    size_t pos = 0;
    while (text.size() - pos > kChunk) {
        size_t cut = pos + kChunk;
        while (cut > pos + 1 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
            --cut;
        for (size_t k = cut > pos + 6 ? cut - 6 : pos; k < cut; ++k)
            if (text.compare(k, 3, "\\U+") == 0 && k + 7 > cut && k > pos)
                cut = k;
        out.push_back(text.substr(pos, cut - pos));
        pos = cut;
    }
    out.push_back(text.substr(pos));
    return out;
}

bool ownedCellCode(int code, bool r2007)
{
    switch (code) {
    case 171: case 172: case 173: case 174: case 175: case 176: case 177: case 178: case 145:
    case 1: case 2: case 3: case 140: case 170: case 340: case 144:
        return true;
    case 91: case 92: case 93: case 90: case 94: case 300: case 301: case 302: case 303: case 304:
        return r2007;
    default:
        return false;
    }
}

// Reads one cell record (from its 171 tag up to the next cell).
void loadCell(AcDbDatabase& db, AcDbTable::Cell& cell, int& rowSpan, int& colSpan, const DxfTag* t, size_t n,
              const DxfCodepage& cp)
{
    std::string legacyText, valueText, fullText;
    bool inValue = false, haveFull = false, spanSeen = false;
    for (size_t i = 0; i < n; ++i) {
        const int c = t[i].code;
        if (t[i].is(301, "CELL_VALUE")) {
            inValue = true;
            continue;
        }
        if (t[i].is(304, "ACVALUE_END")) {
            inValue = false;
            continue;
        }
        if (inValue) {
            if (c == 1 || c == 2 || c == 3)
                valueText += cp.decode(t[i].value());
            else if (c == 302 || c == 303) {
                fullText += cp.decode(t[i].value());
                haveFull = true;
            }
            continue;
        }
        switch (c) {
        case 171: cell.type = integer(t[i], 1) == 2 ? AcDb::kBlockCell : AcDb::kTextCell; break;
        case 174: cell.autoFit = integer(t[i]) != 0; break;
        case 175: colSpan = static_cast<int>(integer(t[i], 1)); break;
        case 176:
            if (!spanSeen)
                rowSpan = static_cast<int>(integer(t[i], 1));
            spanSeen = true;
            break;
        case 145: cell.rotation = real(t[i]) ; break;
        case 1: case 2: case 3: legacyText += cp.decode(t[i].value()); break;
        case 140: cell.textHeight = real(t[i]); break;
        case 170: cell.alignment = static_cast<int>(integer(t[i])); break;
        case 340: cell.block = idOf(db, t[i]); break;
        case 144: cell.blockScale = real(t[i], 1.0); break;
        default: break;
        }
    }
    cell.text = haveFull ? fullText : !valueText.empty() ? valueText : legacyText;
}

// The tags of a cell made from the model, in the record format of the
// file's version, appended to out, with the unowned tags of the cell as read.
void cellTags(AcDbDatabase& db, const AcDbTable& table, const AcDbTable::Cell& cell, int row, int column, bool r2007,
              DxfTagEditor& ed, std::vector<DxfTag>& out)
{
    (void)db;
    const size_t first = out.size();
    auto tag = [&](int code, std::string text) { out.push_back(ed.make(code, std::move(text))); };
    auto whole = [&](int code, int64_t v) { tag(code, DxfValue::fromInt(v)); };
    auto num = [&](int code, double v) { tag(code, DxfValue::fromDouble(v)); };
    int minRow = row, maxRow = row, minCol = column, maxCol = column;
    const bool merged = table.isMergedCell(row, column, &minRow, &maxRow, &minCol, &maxCol);
    const bool topLeft = !merged || (minRow == row && minCol == column);
    const bool block = cell.type == AcDb::kBlockCell;
    int64_t overrides = 0;
    if (cell.alignment != 0)
        overrides |= kOverrideAlignment;
    if (cell.textHeight > 0)
        overrides |= kOverrideTextHeight;
    // As CAD programs write merges: the top-left cell carries the spans,
    // the cells it covers are flagged merged with spans of 1.
    whole(171, block ? 2 : 1);
    whole(172, 0);
    whole(173, merged && !topLeft ? 1 : 0);
    whole(174, block && cell.autoFit ? 1 : 0);
    whole(175, topLeft ? maxCol - minCol + 1 : 1);
    whole(176, topLeft ? maxRow - minRow + 1 : 1);
    whole(r2007 ? 91 : 177, overrides);
    whole(178, 0);
    num(145, cell.rotation);
    const std::string text = block ? std::string() : ed.codepage().encode(cell.text);
    const std::vector<std::string> pieces = chunks(text);
    if (block) {
        tag(340, DxfValue::fromHandle(cell.block.isNull() ? 0 : cell.block.handle().value()));
        num(144, cell.blockScale);
    } else if (!r2007) {
        for (size_t k = 0; k + 1 < pieces.size(); ++k)
            tag(2, pieces[k]);
        tag(1, pieces.back());
    }
    if (cell.alignment != 0)
        whole(170, cell.alignment);
    if (cell.textHeight > 0)
        num(140, cell.textHeight);
    if (r2007) {
        whole(92, 0);
        tag(301, "CELL_VALUE");
        // Value flags and data type as written for a string and for no value.
        const bool value = !block && !text.empty();
        whole(93, value ? 6 : 3);
        whole(90, value ? 4 : 0);
        if (value) {
            for (size_t k = 0; k + 1 < pieces.size(); ++k)
                tag(2, pieces[k]);
            tag(1, pieces.back());
        }
        whole(94, 0);
        tag(300, "");
        for (size_t k = 0; k + 1 < pieces.size(); ++k)
            tag(303, pieces[k]);
        tag(302, pieces.back());
        tag(304, "ACVALUE_END");
    }
    // Tags of the cell as read that the model does not own go back after
    // the owned tag they followed (its first one outside the value block).
    std::vector<std::pair<int, DxfTag>> foreign;
    int anchor = 0;
    bool inValue = false;
    for (const DxfTag& t : cell.fileTags) {
        if (t.is(301, "CELL_VALUE") || t.is(304, "ACVALUE_END")) {
            inValue = t.code == 301;
            anchor = t.code;
            continue;
        }
        if (inValue)
            continue;
        if (ownedCellCode(t.code, r2007))
            anchor = t.code;
        else
            foreign.emplace_back(anchor, t);
    }
    if (foreign.empty())
        return;
    std::vector<DxfTag> result(out.begin(), out.begin() + static_cast<long>(first));
    auto place = [&](int code) {
        for (auto& [a, t] : foreign)
            if (a == code) {
                result.push_back(t);
                a = -1;
            }
    };
    place(0);
    inValue = false;
    std::vector<int> seen;
    for (size_t i = first; i < out.size(); ++i) {
        result.push_back(out[i]);
        const int c = out[i].code;
        if (out[i].is(301, "CELL_VALUE"))
            inValue = true;
        if ((inValue && c != 301 && c != 304) || std::find(seen.begin(), seen.end(), c) != seen.end())
            continue;
        if (c == 304)
            inValue = false;
        seen.push_back(c);
        place(c);
    }
    for (auto& [a, t] : foreign)
        if (a != -1)
            result.push_back(t);
    out = std::move(result);
}

// Replaces the first tag with the code in [begin, end), or inserts one at end.
void setIn(std::vector<DxfTag>& tags, size_t begin, size_t& end, const DxfTag& tag)
{
    for (size_t i = begin; i < end; ++i)
        if (tags[i].code == tag.code) {
            double a = 0, b = 0;
            if (tags[i].value() != tag.value()
                && !(DxfValue::toDouble(tags[i].value(), a) && DxfValue::toDouble(tag.value(), b) && a == b))
                tags[i] = tag;
            return;
        }
    tags.insert(tags.begin() + static_cast<long>(end), tag);
    ++end;
}

}  // namespace

void DxfTable::load(AcDbTable& table, AcDbDatabase& db, const DxfTag* t, size_t n, const DxfCodepage& cp)
{
    // As read, the table and its block agree, whatever the tags hold.
    table.blockStale_ = false;
    table.dataChanged_ = false;
    size_t b = 0;
    while (b < n && !t[b].is(100, "AcDbTable"))
        ++b;
    if (b == n)
        return;
    size_t e = ++b;
    while (e < n && t[e].code != 100)
        ++e;
    size_t i = b;
    int rows = 0, cols = 0;
    bool rowsSeen = false, colsSeen = false;
    for (; i < e && t[i].code != 141 && t[i].code != 142 && t[i].code != 171; ++i) {
        table.headTags_.push_back(t[i]);
        switch (t[i].code) {
        case 342: table.style_ = idOf(db, t[i]); break;
        case 11: {
            AcGeVector3d d(real(t[i]), 0, 0);
            if (i + 1 < e && t[i + 1].code == 21)
                d.y = real(t[i + 1]);
            if (i + 2 < e && t[i + 2].code == 31)
                d.z = real(t[i + 2]);
            if (d.length() > 1e-12)
                table.direction_ = d.normal();
            break;
        }
        case 91: if (!rowsSeen) rows = static_cast<int>(integer(t[i])); rowsSeen = true; break;
        case 92: if (!colsSeen) cols = static_cast<int>(integer(t[i])); colsSeen = true; break;
        default: break;
        }
    }
    rows = std::max(rows, 0);
    cols = std::max(cols, 0);
    // A damaged count must not make the reader allocate without bound: a
    // grid far beyond any table's size is read as empty (its tags are kept).
    if (rows > 1'000'000 || cols > 1'000'000 || static_cast<int64_t>(rows) * cols > 4'000'000)
        rows = cols = 0;
    for (; i < e && (t[i].code == 141 || t[i].code == 142); ++i)
        (t[i].code == 141 ? table.rowHeights_ : table.colWidths_).push_back(real(t[i]));
    table.rowHeights_.resize(static_cast<size_t>(rows), table.rowHeights_.empty() ? 1.0 : table.rowHeights_.back());
    table.colWidths_.resize(static_cast<size_t>(cols), table.colWidths_.empty() ? 1.0 : table.colWidths_.back());
    table.cells_.assign(static_cast<size_t>(rows) * static_cast<size_t>(cols), AcDbTable::Cell());
    // Cells in row-major order, each from its 171 tag to the next; the last
    // one keeps whatever follows it (table-level border overrides).
    size_t k = 0;
    while (i < e && k < table.cells_.size()) {
        size_t j = i + 1;
        while (j < e && t[j].code != 171)
            ++j;
        if (k + 1 == table.cells_.size())
            j = e;
        AcDbTable::Cell& cell = table.cells_[k];
        int rowSpan = 1, colSpan = 1;
        loadCell(db, cell, rowSpan, colSpan, t + i, j - i, cp);
        cell.fileTags.assign(t + i, t + j);
        cell.changed = false;
        const int r = static_cast<int>(k) / std::max(cols, 1), c = static_cast<int>(k) % std::max(cols, 1);
        if (rowSpan > 1 || colSpan > 1)
            table.merges_.push_back({r, std::min(rows - 1, r + std::max(rowSpan, 1) - 1), c,
                                     std::min(cols - 1, c + std::max(colSpan, 1) - 1)});
        ++k;
        i = j;
    }
}

void DxfTable::save(AcDbTable& table, AcDbDatabase& db, DxfTagEditor& ed)
{
    auto range = ed.subclass("AcDbTable");
    if (!range.found || (!table.dataChanged_ && range.begin != range.end))
        return;
    const std::string& version = db.data().header.acadver;
    const bool r2007 = version >= "AC1021";
    std::vector<DxfTag> out;
    auto tag = [&](int code, std::string text) { out.push_back(ed.make(code, std::move(text))); };
    const uint64_t style = table.style_.isNull() ? 0 : table.style_.handle().value();
    const AcDbObjectId recordId = table.blockTableRecord();
    const uint64_t record = recordId.isNull() ? 0 : recordId.handle().value();
    const AcGeVector3d& d = table.direction_;
    if (!table.headTags_.empty()) {
        out = table.headTags_;
        size_t end = out.size();
        setIn(out, 0, end, ed.make(342, DxfValue::fromHandle(style)));
        setIn(out, 0, end, ed.make(343, DxfValue::fromHandle(record)));
        setIn(out, 0, end, ed.make(11, DxfValue::fromDouble(d.x)));
        setIn(out, 0, end, ed.make(21, DxfValue::fromDouble(d.y)));
        setIn(out, 0, end, ed.make(31, DxfValue::fromDouble(d.z)));
        setIn(out, 0, end, ed.make(91, DxfValue::fromInt(table.numRows())));
        setIn(out, 0, end, ed.make(92, DxfValue::fromInt(table.numColumns())));
    } else {
        if (version >= "AC1024")
            tag(280, "0");
        tag(342, DxfValue::fromHandle(style));
        tag(343, DxfValue::fromHandle(record));
        tag(11, DxfValue::fromDouble(d.x));
        tag(21, DxfValue::fromDouble(d.y));
        tag(31, DxfValue::fromDouble(d.z));
        tag(90, "22");
        tag(91, DxfValue::fromInt(table.numRows()));
        tag(92, DxfValue::fromInt(table.numColumns()));
        for (int code : {93, 94, 95, 96})
            tag(code, "0");
    }
    for (double h : table.rowHeights_)
        tag(141, DxfValue::fromDouble(h));
    for (double w : table.colWidths_)
        tag(142, DxfValue::fromDouble(w));
    for (int r = 0; r < table.numRows(); ++r)
        for (int c = 0; c < table.numColumns(); ++c) {
            const AcDbTable::Cell& cell = *table.cellAt(r, c);
            if (!cell.changed && !cell.fileTags.empty())
                out.insert(out.end(), cell.fileTags.begin(), cell.fileTags.end());
            else
                cellTags(db, table, cell, r, c, r2007, ed, out);
        }
    auto& tags = ed.tags();
    tags.erase(tags.begin() + static_cast<long>(range.begin), tags.begin() + static_cast<long>(range.end));
    tags.insert(tags.begin() + static_cast<long>(range.begin), out.begin(), out.end());
    // Proxy graphics of the table as read show its old content: drop them.
    auto entity = ed.subclass("AcDbEntity");
    if (entity.found && ed.has(entity, 310)) {
        ed.remove(entity, 310);
        ed.remove(ed.subclass("AcDbEntity"), 92);
        ed.remove(ed.subclass("AcDbEntity"), 160);
    }
}

void DxfTable::loadStyle(AcDbTableStyle& style, const DxfTag* t, size_t n, const DxfCodepage& cp)
{
    bool in = false, marginsSeen = false;
    int group = -1;
    for (size_t i = 1; i < n; ++i) {
        if (t[i].code == 100) {
            in = t[i].value() == "AcDbTableStyle";
            continue;
        }
        if (!in)
            continue;
        const int c = t[i].code;
        if (c == 7) {
            if (++group < 3)
                style.groups_[group].textStyle = cp.decode(t[i].value());
            continue;
        }
        if (group >= 3)
            continue;
        if (group >= 0) {
            if (c == 140)
                style.groups_[group].height = real(t[i], style.groups_[group].height);
            else if (c == 170) {
                int64_t a = integer(t[i]);
                if (a >= AcDb::kTopLeft && a <= AcDb::kBottomRight)
                    style.groups_[group].alignment = static_cast<AcDb::CellAlignment>(a);
            }
            continue;
        }
        switch (c) {
        case 3: style.name_ = cp.decode(t[i].value()); break;
        case 70: style.flow_ = integer(t[i]) == 1 ? AcDb::kBtoT : AcDb::kTtoB; break;
        case 71: style.flags_ = static_cast<int>(integer(t[i])); break;
        case 40: style.horzMargin_ = real(t[i]); marginsSeen = true; break;
        case 41: style.vertMargin_ = real(t[i]); marginsSeen = true; break;
        case 280: if (marginsSeen) style.titleSuppressed_ = integer(t[i]) != 0; break;
        case 281: style.headerSuppressed_ = integer(t[i]) != 0; break;
        default: break;
        }
    }
}

namespace {

// Names every table drawn with the style in the style's reactors, as CAD
// programs keep them.
void saveStyleReactors(AcDbTableStyle& style, AcDbDatabase& db, DxfTagEditor& ed)
{
    auto& tags = ed.tags();
    const size_t baseEnd = ed.base().end;
    size_t open = SIZE_MAX, close = SIZE_MAX;
    for (size_t i = 1; i < baseEnd; ++i) {
        if (tags[i].is(102, "{ACAD_REACTORS"))
            open = i;
        else if (open != SIZE_MAX && tags[i].is(102, "}")) {
            close = i;
            break;
        }
    }
    std::vector<DxfTag> added;
    for (const AcDbStub& s : db.data().stubs) {
        if (s.erased || s.kind != static_cast<uint8_t>(AcDbObjectKind::Table) || !s.object
            || static_cast<AcDbTable*>(s.object)->tableStyle() != style.objectId())
            continue;
        bool listed = false;
        for (size_t i = open + 1; open != SIZE_MAX && i < close; ++i) {
            uint64_t h = 0;
            listed = listed || (tags[i].code == 330 && DxfValue::toHandle(tags[i].value(), h) && h == s.handle);
        }
        if (!listed)
            added.push_back(ed.make(330, DxfValue::fromHandle(s.handle)));
    }
    if (added.empty())
        return;
    if (open == SIZE_MAX) {
        added.insert(added.begin(), ed.make(102, "{ACAD_REACTORS"));
        added.push_back(ed.make(102, "}"));
        size_t at = 1;
        while (at < baseEnd && tags[at].code == 5)
            ++at;
        ed.insert(at, added);
    } else {
        ed.insert(close, added);
    }
}

}  // namespace

void DxfTable::saveStyle(AcDbTableStyle& style, AcDbDatabase& db, DxfTagEditor& ed)
{
    saveStyleReactors(style, db, ed);
    auto range = ed.subclass("AcDbTableStyle");
    if (!range.found)
        return;
    auto& tags = ed.tags();
    if (range.begin == range.end) {
        std::vector<DxfTag> out;
        auto tag = [&](int code, std::string text) { out.push_back(ed.make(code, std::move(text))); };
        tag(3, ed.codepage().encode(style.name_));
        tag(70, DxfValue::fromInt(style.flow_));
        tag(71, DxfValue::fromInt(style.flags_));
        tag(40, DxfValue::fromDouble(style.horzMargin_));
        tag(41, DxfValue::fromDouble(style.vertMargin_));
        tag(280, style.titleSuppressed_ ? "1" : "0");
        tag(281, style.headerSuppressed_ ? "1" : "0");
        for (const AcDbTableStyle::RowGroup& g : style.groups_) {
            tag(7, ed.codepage().encode(g.textStyle));
            tag(140, DxfValue::fromDouble(g.height));
            tag(170, DxfValue::fromInt(g.alignment));
            tag(62, "0");
            tag(63, "7");
            tag(283, "0");
            tag(90, "512");
            tag(91, "0");
            tag(1, "");
            for (int border = 0; border < 6; ++border) {
                tag(274 + border, "-2");
                tag(284 + border, "1");
                tag(64 + border, "0");
            }
        }
        tags.insert(tags.begin() + static_cast<long>(range.begin), out.begin(), out.end());
        return;
    }
    // A style read from the file: its modelled values in place.
    size_t firstGroup = range.end;
    for (size_t i = range.begin; i < range.end; ++i)
        if (tags[i].code == 7) {
            firstGroup = i;
            break;
        }
    size_t end = firstGroup;
    setIn(tags, range.begin, end, ed.make(40, DxfValue::fromDouble(style.horzMargin_)));
    setIn(tags, range.begin, end, ed.make(41, DxfValue::fromDouble(style.vertMargin_)));
    range = ed.subclass("AcDbTableStyle");
    int group = -1;
    for (size_t i = range.begin; i < range.end; ++i) {
        if (tags[i].code == 7)
            ++group;
        if (group < 0 || group > 2)
            continue;
        const AcDbTableStyle::RowGroup& g = style.groups_[group];
        if (tags[i].code == 140) {
            double old = 0;
            if (!DxfValue::toDouble(tags[i].value(), old) || old != g.height)
                tags[i] = ed.make(140, DxfValue::fromDouble(g.height));
        } else if (tags[i].code == 170) {
            int64_t old = 0;
            if (!DxfValue::toInt(tags[i].value(), old) || old != g.alignment)
                tags[i] = ed.make(170, DxfValue::fromInt(g.alignment));
        }
    }
}

void DxfTable::saveBlockRefs(AcDbDatabase& db, AcDbBlockTableRecord& record, DxfTagEditor& ed)
{
    const std::string& name = record.name();
    if (name.size() < 2 || name[0] != '*' || (name[1] != 'T' && name[1] != 't'))
        return;
    std::vector<DxfTag> group{ed.make(102, "{BLKREFS")};
    for (AcDbStub& s : db.data().stubs) {
        if (s.erased || s.kind != static_cast<uint8_t>(AcDbObjectKind::Table) || !s.object)
            continue;
        auto* table = static_cast<AcDbTable*>(s.object);
        if (strcasecmp(table->blockName(), name.c_str()) == 0)
            group.push_back(ed.make(331, DxfValue::fromHandle(s.handle)));
    }
    if (group.size() == 1)
        return;
    group.push_back(ed.make(102, "}"));
    auto& tags = ed.tags();
    size_t at = 1;
    while (at < tags.size() && tags[at].code == 5)
        ++at;
    ed.insert(at, group);
}

void DxfTable::prepareSave(AcDbDatabase& db)
{
    if (db.data().tableKindStubs == 0)
        return;
    auto& stubs = db.data().stubs;
    const size_t count = stubs.size();
    for (size_t i = 0; i < count; ++i) {
        AcDbStub& s = stubs[i];
        if (s.erased || s.kind != static_cast<uint8_t>(AcDbObjectKind::Table) || !s.object)
            continue;
        auto* table = static_cast<AcDbTable*>(s.object);
        if (table->style_.isNull() && table->dataChanged_)
            table->style_ = AcDbTableStyle::standardStyleId(db);
        // A changed table makes sure its style names it among its reactors.
        if (table->dataChanged_ && table->style_.stub() && !table->style_.isErased())
            if (auto* style = dynamic_cast<AcDbTableStyle*>(db.objectOf(table->style_.stub())))
                style->assertWriteEnabled();
        if (table->needsRecompute())
            table->recomputeTableBlock(false);
    }
}

std::vector<std::pair<int, std::string>> DxfTable::missingClasses(AcDbDatabase& db)
{
    AcDbDatabaseData& d = db.data();
    if (d.tableKindStubs == 0)
        return {};
    bool haveTable = false, haveStyle = false;
    for (const DxfTag& t : d.classTags) {
        if (t.is(1, "ACAD_TABLE"))
            haveTable = true;
        if (t.is(1, "TABLESTYLE"))
            haveStyle = true;
    }
    int tables = 0, styles = 0;
    for (const AcDbStub& s : d.stubs) {
        if (s.erased)
            continue;
        if (s.kind == static_cast<uint8_t>(AcDbObjectKind::Table))
            ++tables;
        else if (s.kind == static_cast<uint8_t>(AcDbObjectKind::TableStyle))
            ++styles;
    }
    std::vector<std::pair<int, std::string>> out;
    const bool counts = d.header.acadver >= "AC1018";
    auto add = [&](const char* record, const char* cls, const char* flags, int instances, const char* isEntity) {
        out.insert(out.end(), {{0, "CLASS"}, {1, record}, {2, cls}, {3, "ObjectDBX Classes"}, {90, flags}});
        if (counts)
            out.emplace_back(91, DxfValue::fromInt(instances));
        out.insert(out.end(), {{280, "0"}, {281, isEntity}});
    };
    if (tables > 0 && !haveTable)
        add("ACAD_TABLE", "AcDbTable", "1025", tables, "1");
    if (styles > 0 && !haveStyle)
        add("TABLESTYLE", "AcDbTableStyle", "4095", styles, "0");
    return out;
}
