#include "host/dxf/DxfNumberCheck.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <memory>

#include "host/base/DxfTagList.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbObject.h"
#include "host/db/AcDbObjectKind.h"
#include "host/dxf/DxfCodec.h"
#include "host/dxf/DxfObjectIO.h"
#include "host/dxf/DxfTagReader.h"
#include "host/dxf/DxfValue.h"

namespace {

thread_local DxfNumberCheck* gActive = nullptr;

// Tags read where they stand, through code(i) for the group code alone and
// [i] for the whole tag: a check looks at most tags' codes only.
// readable(t) is how many bytes from the start of t's value may be read
// (see DxfValue::isPlainReal): none beyond the value here, where the tags'
// texts are not known to stand in a longer one.
struct TagArray {
    const DxfTag* tags;
    int code(size_t i) const { return tags[i].code; }
    const DxfTag& operator[](size_t i) const { return tags[i]; }
    static size_t readable(const DxfTag& t) { return t.value().size(); }
};

// The index of the first 1001 (the start of the extended data), n when none.
template <class Tags>
size_t firstXData(const Tags& tags, size_t n)
{
    size_t i = 0;
    while (i < n && tags.code(i) != 1001)
        ++i;
    return i;
}

// Hands each number of the extended data (tags from, the first 1001, to n)
// to real (reals and points, 1010-1059) or whole (whole numbers, 1060-1071)
// until one of them answers false; true when none did.
template <class Tags, class Real, class Whole>
bool eachXDataNumber(const Tags& tags, size_t from, size_t n, Real real, Whole whole)
{
    for (size_t i = from; i < n; ++i) {
        const int code = tags.code(i);
        if (code >= 1010 && code <= 1059 && !real(tags[i]))
            return false;
        if (code >= 1060 && code <= 1071 && !whole(tags[i]))
            return false;
    }
    return true;
}

// Checks the numbers of the extended data; a malformed one is reported.
void checkXData(const DxfTag* tags, size_t n)
{
    auto real = [](const DxfTag& t) {
        DxfValue::fieldReal(t);
        return true;
    };
    auto whole = [](const DxfTag& t) {
        DxfValue::fieldInt(t);
        return true;
    };
    eachXDataNumber(TagArray{tags}, firstXData(TagArray{tags}, n), n, real, whole);
}

// True when every number of the extended data (from the first 1001 on) is
// well formed.
template <class Tags>
bool xdataWellFormed(const Tags& tags, size_t from, size_t n)
{
    double real = 0;
    int64_t whole = 0;
    return eachXDataNumber(
        tags, from, n,
        [&](const DxfTag& t) { return DxfValue::isPlainReal(t.value()) || DxfValue::toDouble(t.value(), real); },
        [&](const DxfTag& t) { return DxfValue::isPlainWhole(t.value()) || DxfValue::toInt(t.value(), whole); });
}

// True when every numeric tag of the object's data part (before the first
// 101 or 1001) reads as its value kind. Stricter than the reader, which
// leaves some of them as text: a false answer only means building decides.
template <class Tags>
bool numbersWellFormed(const Tags& tags, size_t n)
{
    // The value kinds of the codes an object's data part uses, looked up once.
    static const auto kinds = [] {
        std::array<DxfValueKind, 1001> table{};
        for (int code = 0; code < static_cast<int>(table.size()); ++code)
            table[static_cast<size_t>(code)] = dxfValueKind(code);
        return table;
    }();
    for (size_t i = 1; i < n; ++i) {
        const int code = tags.code(i);
        if (code == 101 || code == 1001)
            break;
        double real = 0;
        int64_t whole = 0;
        uint64_t handle = 0;
        const DxfValueKind kind =
            code >= 0 && code < static_cast<int>(kinds.size()) ? kinds[static_cast<size_t>(code)] : dxfValueKind(code);
        switch (kind) {
        case DxfValueKind::Double:
            if (const DxfTag t = tags[i];
                !DxfValue::isPlainReal(t.value(), tags.readable(t)) && !DxfValue::toDouble(t.value(), real))
                return false;
            break;
        case DxfValueKind::Int16:
        case DxfValueKind::Int32:
        case DxfValueKind::Int64:
        case DxfValueKind::Bool:
            if (const DxfTag t = tags[i];
                !DxfValue::isPlainWhole(t.value(), tags.readable(t)) && !DxfValue::toInt(t.value(), whole))
                return false;
            break;
        case DxfValueKind::Handle:
            if (const DxfTag t = tags[i];
                !DxfValue::isPlainHandle(t.value(), tags.readable(t)) && !DxfValue::toHandle(t.value(), handle))
                return false;
            break;
        default:
            break;
        }
    }
    return true;
}

// Reports the first malformed whole number of a modelled object's data part
// (and, with reals, the first malformed real or handle too).
void checkNumbers(const DxfTag* tags, size_t n, AcDbObjectKind kind, bool reals)
{
    if (!dxfCodecOf(kind).readsIntegers())
        return;
    for (size_t i = 1; i < n; ++i) {
        const DxfTag& t = tags[i];
        if (t.code == 101 || t.code == 1001)
            break;
        switch (dxfValueKind(t.code)) {
        case DxfValueKind::Int16:
        case DxfValueKind::Int32:
        case DxfValueKind::Int64:
        case DxfValueKind::Bool:
            DxfValue::fieldInt(t);
            break;
        case DxfValueKind::Double:
            if (reals)
                DxfValue::fieldReal(t);
            break;
        case DxfValueKind::Handle:
            if (reals)
                DxfValue::fieldHandle(t);
            break;
        default:
            break;
        }
    }
}

}  // namespace

void DxfNumberCheck::checkRaw(const DxfTag* tags, size_t n, AcDbObjectKind kind)
{
    checkNumbers(tags, n, kind, true);
    for (size_t i = 0; i < n; ++i)
        if (tags[i].code >= 1010 && tags[i].code <= 1059)
            DxfValue::fieldReal(tags[i]);
        else if (tags[i].code >= 1060 && tags[i].code <= 1071)
            DxfValue::fieldInt(tags[i]);
}

bool DxfNumberCheck::clean(const DxfTagList& list, size_t first, size_t n, AcDbObjectKind kind, bool& xdata)
{
    // The object's tags, read in place. Their values stand in the list's
    // text (the file's lines): the bytes after each value up to the text's
    // end may be read.
    struct Part {
        const DxfTagList& list;
        size_t first;
        uintptr_t textStart, textEnd;
        int code(size_t i) const { return list.code(first + i); }
        DxfTag operator[](size_t i) const { return list[first + i]; }
        size_t readable(const DxfTag& t) const
        {
            const auto at = reinterpret_cast<uintptr_t>(t.value().data());
            return at >= textStart && at <= textEnd ? textEnd - at : t.value().size();
        }
    };
    const auto textStart = reinterpret_cast<uintptr_t>(list.text().data());
    const Part part{list, first, textStart, textStart + list.text().size()};
    const size_t xdataFrom = firstXData(part, n);
    xdata = xdataFrom < n;
    return dxfCodecOf(kind).readsByValueKind() && numbersWellFormed(part, n) && xdataWellFormed(part, xdataFrom, n);
}

DxfNumberCheck::DxfNumberCheck() : previous_(gActive) { gActive = this; }

DxfNumberCheck::~DxfNumberCheck() { gActive = previous_; }

void DxfNumberCheck::report(const DxfTag& tag, const char* what)
{
    if (!gActive || gActive->hasBad_)
        return;
    gActive->bad_ = tag;
    gActive->what_ = what;
    gActive->hasBad_ = true;
}

DxfReadResult DxfNumberCheck::finish(AcDbDatabase& db, const std::string& fileName, const std::vector<AcDbStub*>& unclean)
{
    AcDbDatabaseData& d = db.data();
    std::vector<DxfTag> scratch;
    for (AcDbStub* stub : unclean) {
        if (hasBad_)
            break;
        AcDbStub& s = *stub;
        const DxfTag* tags = d.tagsOf(s, scratch);
        if (!tags)
            continue;
        // Building reads every modelled field (and reports a malformed one);
        // an object whose numbers are all well formed need not be built.
        const bool wellFormed = dxfCodecOf(static_cast<AcDbObjectKind>(s.kind)).readsByValueKind() && numbersWellFormed(TagArray{tags}, s.tagCount);
        if (!s.object && !wellFormed)
            std::unique_ptr<AcDbObject> built(DxfObjectIO::build(db, &s));
        if (!hasBad_ && !wellFormed)
            checkNumbers(tags, s.tagCount, static_cast<AcDbObjectKind>(s.kind), false);
        checkXData(tags, s.tagCount);
    }
    if (!hasBad_)
        return {};
    // Where the value stands: its tag in the file, and the object holding it.
    const std::string_view text = d.text;
    std::string found = std::string(bad_.value().substr(0, 40));
    std::string what = std::string("expected ") + what_ + " for group code " + std::to_string(bad_.code);
    size_t line = 0;
    if (bad_.text >= text.data() && bad_.text <= text.data() + text.size()) {
        line = DxfTagReader::lineOfOffset(text, static_cast<size_t>(bad_.text - text.data()));
        // The file's tags are not kept after reading: they are split again
        // here, to find the object the value belongs to.
        DxfTagList all;
        DxfTagReader(fileName).read(text, all);
        // The first tag of the file not before the value.
        size_t k = 0;
        for (size_t count = all.size(); count > 0;) {
            const size_t half = count / 2;
            if (all[k + half].text < bad_.text) {
                k += half + 1;
                count -= half + 1;
            } else {
                count = half;
            }
        }
        while (k > 0 && k < all.size() && all[k].code != 0)
            --k;
        if (k < all.size() && all[k].code == 0) {
            std::string type(all[k].value());
            int handleCode = type == "DIMSTYLE" ? 105 : 5;
            for (size_t j = k + 1; j < all.size() && j < k + 4 && all[j].code != 0; ++j)
                if (all[j].code == handleCode) {
                    type += " " + std::string(DxfValue::trimmed(all[j].value()));
                    break;
                }
            what += " of " + type;
        }
    }
    return DxfTagReader(fileName).failure(Acad::eBadDxfSequence, line, what + ", found '" + found + "'");
}
