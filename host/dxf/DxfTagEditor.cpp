#include "host/dxf/DxfTagEditor.h"

#include "host/db/AcDbDatabaseData.h"
#include "host/dxf/DxfValue.h"

namespace {
bool endsSubclass(const DxfTag& t) { return t.code == 100 || t.code == 101 || t.code == 1001; }
}

DxfTagEditor::Range DxfTagEditor::subclass(std::string_view marker, int nth) const
{
    if (nth == 0)
        for (const Found& f : found_)
            if (f.range.found && f.tagCount == tags_.size() && tags_[f.range.begin - 1].code == 100 &&
                tags_[f.range.begin - 1].value() == marker &&
                (f.range.end == tags_.size() || endsSubclass(tags_[f.range.end])))
                return f.range;
    Range r = find(marker, nth);
    if (nth == 0 && r.found) {
        found_[nextFound_] = {tags_.size(), r};
        nextFound_ = (nextFound_ + 1) % std::size(found_);
    }
    return r;
}

DxfTagEditor::Range DxfTagEditor::find(std::string_view marker, int nth) const
{
    Range r;
    for (size_t i = 0; i < tags_.size(); ++i) {
        const DxfTag& t = tags_[i];
        if (t.code == 101 || t.code == 1001)
            break;
        if (t.code == 100 && t.value() == marker && nth-- == 0) {
            r.begin = i + 1;
            r.end = r.begin;
            while (r.end < tags_.size() && !endsSubclass(tags_[r.end]))
                ++r.end;
            r.found = true;
            return r;
        }
    }
    r.begin = r.end = xdataStart();
    return r;
}

DxfTagEditor::Range DxfTagEditor::base() const
{
    Range r;
    r.begin = tags_.empty() ? 0 : 1;
    r.end = r.begin;
    while (r.end < tags_.size() && !endsSubclass(tags_[r.end]))
        ++r.end;
    r.found = true;
    return r;
}

size_t DxfTagEditor::xdataStart() const
{
    for (size_t i = 0; i < tags_.size(); ++i)
        if (tags_[i].code == 1001)
            return i;
    return tags_.size();
}

size_t DxfTagEditor::find(const Range& r, int code) const
{
    bool inGroup = false;
    for (size_t i = r.begin; i < r.end && i < tags_.size(); ++i) {
        if (tags_[i].code == 102) {
            inGroup = !tags_[i].value().empty() && tags_[i].value()[0] == '{';
            continue;
        }
        if (!inGroup && tags_[i].code == code)
            return i;
    }
    return SIZE_MAX;
}

bool DxfTagEditor::has(const Range& r, int code) const { return find(r, code) != SIZE_MAX; }

size_t DxfTagEditor::insertAt(const Range& r, int code, std::initializer_list<int> order) const
{
    int rank = -1, k = 0;
    for (int c : order) {
        if (c == code)
            rank = k;
        ++k;
    }
    size_t pos = r.begin;
    if (rank < 0)
        return r.end;
    bool inGroup = false;
    for (size_t i = r.begin; i < r.end && i < tags_.size(); ++i) {
        if (tags_[i].code == 102) {
            inGroup = !tags_[i].value().empty() && tags_[i].value()[0] == '{';
            if (!inGroup)
                pos = i + 1;
            continue;
        }
        if (inGroup)
            continue;
        int j = 0;
        for (int c : order) {
            if (c == tags_[i].code && j < rank)
                pos = i + 1;
            ++j;
        }
    }
    return pos;
}

DxfTag DxfTagEditor::make(int code, std::string_view text) const { return DxfTag(code, data_.keep(text)); }

size_t DxfTagEditor::setRaw(const Range& r, int code, std::string_view value, std::initializer_list<int> order)
{
    size_t i = find(r, code);
    if (i != SIZE_MAX) {
        if (tags_[i].value() != value)
            tags_[i] = make(code, value);
        return i;
    }
    size_t at = insertAt(r, code, order);
    tags_.insert(tags_.begin() + static_cast<long>(at), make(code, value));
    return at;
}

size_t DxfTagEditor::setString(const Range& r, int code, const std::string& utf8, std::initializer_list<int> order)
{
    size_t i = find(r, code);
    if (i != SIZE_MAX && codepage_.decode(tags_[i].value()) == utf8)
        return i;
    return setRaw(r, code, codepage_.encode(utf8), order);
}

size_t DxfTagEditor::setReal(const Range& r, int code, double value, std::initializer_list<int> order)
{
    size_t i = find(r, code);
    double old = 0;
    if (i != SIZE_MAX && DxfValue::toDouble(tags_[i].value(), old) && old == value)
        return i;
    return setRaw(r, code, DxfValue::fromDouble(value), order);
}

size_t DxfTagEditor::setInt(const Range& r, int code, int64_t value, std::initializer_list<int> order)
{
    size_t i = find(r, code);
    int64_t old = 0;
    if (i != SIZE_MAX && DxfValue::toInt(tags_[i].value(), old) && old == value)
        return i;
    std::string text = DxfValue::fromInt(value);
    if (code >= 60 && code <= 79 && i == SIZE_MAX)
        text = std::string(text.size() < 6 ? 6 - text.size() : 0, ' ') + text;
    return setRaw(r, code, text, order);
}

size_t DxfTagEditor::setHandle(const Range& r, int code, uint64_t handle, std::initializer_list<int> order)
{
    size_t i = find(r, code);
    uint64_t old = 0;
    if (i != SIZE_MAX && DxfValue::toHandle(tags_[i].value(), old) && old == handle)
        return i;
    return setRaw(r, code, DxfValue::fromHandle(handle), order);
}

void DxfTagEditor::setPoint(const Range& r0, int code, double x, double y, double z, std::initializer_list<int> order,
                            bool omitZ)
{
    Range r = r0;
    size_t before = tags_.size();
    setReal(r, code, x, order);
    r.end += tags_.size() - before;
    before = tags_.size();
    setReal(r, code + 10, y, order);
    r.end += tags_.size() - before;
    if (omitZ && !has(r, code + 20))
        return;
    setReal(r, code + 20, z, order);
}

size_t DxfTagEditor::remove(const Range& r, int code)
{
    size_t removed = 0;
    size_t end = r.end;
    for (size_t i = r.begin; i < end && i < tags_.size();) {
        if (tags_[i].code == code) {
            tags_.erase(tags_.begin() + static_cast<long>(i));
            --end;
            ++removed;
        } else {
            ++i;
        }
    }
    return removed;
}

void DxfTagEditor::insert(size_t index, const std::vector<DxfTag>& tags)
{
    tags_.insert(tags_.begin() + static_cast<long>(std::min(index, tags_.size())), tags.begin(), tags.end());
}
