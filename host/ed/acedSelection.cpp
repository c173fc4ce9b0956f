#include "host/ed/acedSelection.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDictionary.h"
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbHandle.h"
#include "host/db/AcDbOpen.h"
#include "host/db/AcDbPeek.h"
#include "host/db/AcDbSortentsTable.h"
#include "host/db/AcRxClass.h"
#include "host/ge/UcsTransform.h"
#include "host/ed/AcApDocManager.h"
#include "host/ed/Editor.h"
#include "host/ed/EntityShape.h"
#include "host/ed/SelectionIndex.h"
#include "host/ed/acedInput.h"
#include "host/ed/acutPrintf.h"
#include "host/ed/acutWcMatch.h"

namespace {

using Point2 = EntityShape::Point;

struct SelectionSets {
    std::map<int64_t, std::vector<AcDbObjectId>> sets;
    int64_t next = 1;
};

SelectionSets& selectionSets()
{
    static SelectionSets state;
    return state;
}

AcDbDatabase* drawing()
{
    AcApDocument* document = acDocManagerPtr()->curDocument();
    return document ? document->database() : nullptr;
}

std::vector<AcDbObjectId> entitiesOf(AcDbObjectId spaceId)
{
    AcDbBlockTableRecord* space = nullptr;
    if (acdbOpenObject(space, spaceId, AcDb::kForRead) != Acad::eOk) return {};
    std::vector<AcDbObjectId> ids = space->entityIds();
    space->close();
    return ids;
}

// Points given to a selection are in the drawing's current UCS, as the
// prompts return them; the entities are measured in world coordinates.
Point2 toWorld(const AcDbDatabase& db, double x, double y)
{
    AcGePoint3d p(x, y, 0.0);
    p.transformBy(acgeUcsToWorld(db.ucsorg(), db.ucsxdir(), db.ucsydir()));
    return {p.x, p.y};
}

// The window between two UCS corners, as a polygon in world coordinates (a
// turned UCS turns the window with it).
std::vector<Point2> rectangle(const AcDbDatabase& db, const double* a, const double* b)
{
    double x0 = std::min(a[0], b[0]), x1 = std::max(a[0], b[0]);
    double y0 = std::min(a[1], b[1]), y1 = std::max(a[1], b[1]);
    return {toWorld(db, x0, y0), toWorld(db, x1, y0), toWorld(db, x1, y1), toWorld(db, x0, y1)};
}

// Opens the entity and calls test(entity) on it; false when it cannot be opened.
template <class Test>
bool accepts(const AcDbObjectId& id, Test&& test)
{
    AcDbEntity* entity = nullptr;
    if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk) return false;
    bool accepted = test(*entity);
    entity->close();
    return accepted;
}

// Calls test(entity) on each entity of model space; collects those it accepts.
template <class Test>
std::vector<AcDbObjectId> collect(const std::vector<AcDbObjectId>& ids, Test&& test)
{
    std::vector<AcDbObjectId> chosen;
    for (const AcDbObjectId& id : ids)
        if (accepts(id, test)) chosen.push_back(id);
    return chosen;
}

std::string upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

std::string trim(const std::string& text)
{
    size_t begin = text.find_first_not_of(' ');
    if (begin == std::string::npos) return {};
    return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

// The pick aperture: half a percent of the view height.
double aperture()
{
    AcApDocument* document = acDocManagerPtr()->curDocument();
    double height = document ? document->view().upperRight.y - document->view().lowerLeft.y : 1.0;
    return std::max(std::abs(height) * 0.005, 1e-9);
}

AcDbObjectId lastEntity(AcDbDatabase& db)
{
    std::vector<AcDbObjectId> ids = entitiesOf(db.modelSpaceId());
    return ids.empty() ? AcDbObjectId() : ids.back();
}

AcDbObjectId entityByHandle(AcDbDatabase& db, const std::string& text)
{
    if (text.empty() || text.size() > 16 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
        return {};
    }
    AcDbObjectId id;
    if (db.getAcDbObjectId(id, false, AcDbHandle(std::stoull(text, nullptr, 16))) != Acad::eOk) return {};
    AcDbEntity* entity = nullptr;
    if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk) return {};
    entity->close();
    return id;
}

bool parsePoint(const std::string& text, Point2& point)
{
    size_t comma = text.find(',');
    if (comma == std::string::npos) return false;
    char* end = nullptr;
    std::string xs = trim(text.substr(0, comma));
    std::string rest = text.substr(comma + 1);
    size_t second = rest.find(',');
    std::string ys = trim(second == std::string::npos ? rest : rest.substr(0, second));
    if (xs.empty() || ys.empty()) return false;
    point.x = std::strtod(xs.c_str(), &end);
    if (*end) return false;
    point.y = std::strtod(ys.c_str(), &end);
    return *end == '\0';
}

// The entities of a space in the order they are drawn: by its draw-order
// (sort-ents) table when it has one, else in file order.
std::vector<AcDbObjectId> drawOrderOf(AcDbObjectId spaceId)
{
    std::vector<AcDbObjectId> ids = entitiesOf(spaceId);
    AcDbBlockTableRecord* space = nullptr;
    if (acdbOpenObject(space, spaceId, AcDb::kForRead) != Acad::eOk) return ids;
    AcDbObjectId dictionaryId = space->extensionDictionary();
    space->close();
    AcDbDictionary* dictionary = nullptr;
    if (dictionaryId.isNull() || acdbOpenObject(dictionary, dictionaryId, AcDb::kForRead) != Acad::eOk) return ids;
    AcDbObject* object = nullptr;
    Acad::ErrorStatus es = dictionary->getAt("ACAD_SORTENTS", object, AcDb::kForRead);
    dictionary->close();
    if (es != Acad::eOk) return ids;
    if (auto* table = dynamic_cast<AcDbSortentsTable*>(object)) {
        AcDbObjectIdArray ordered;
        if (table->blockId() == spaceId && table->getFullDrawOrder(ordered) == Acad::eOk && ordered.size() == ids.size())
            ids.assign(ordered.begin(), ordered.end());
    }
    object->close();
    return ids;
}

// The entity whose drawn geometry passes through the pick aperture around
// the point; of several, the one drawn last (on top), as a CAD pick takes it.
AcDbObjectId pickAt(AcDbDatabase& db, Point2 point)
{
    const double reach = aperture();
    std::vector<AcDbObjectId> order = drawOrderOf(db.modelSpaceId());
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        AcDbEntity* entity = nullptr;
        if (acdbOpenAcDbEntity(entity, *it, AcDb::kForRead) != Acad::eOk) continue;
        const double distance = EntityShape::of(*entity, reach / 4.0).distanceTo(point);
        entity->close();
        if (distance <= reach) return *it;
    }
    return {};
}

// Whether the DXF name of an entity class matches a type pattern of the
// filter, worked out once per class and pattern within one selection: a
// drawing has few entity classes and many entities.
class TypeVerdicts {
public:
    bool matches(const AcRxClass* cls, const char* pattern)
    {
        for (const Verdict& verdict : seen_)
            if (verdict.cls == cls && verdict.pattern == pattern) return verdict.match;
        const bool match = acutWcMatch(cls->dxfName(), pattern) != 0;
        seen_.push_back({cls, pattern, match});
        return match;
    }

private:
    struct Verdict {
        const AcRxClass* cls;
        const char* pattern;
        bool match;
    };
    std::vector<Verdict> seen_;
};

// Whether a block name matches a name pattern of the filter, remembered for
// the names met last within one selection: the furniture of a floor plan
// repeats a few names thousands of times (while each space has a name of
// its own), and matching decodes both texts. A small table indexed by the
// name's hash keeps one name each, the latest; it never grows.
class NameVerdicts {
public:
    bool matches(std::string_view name, const char* pattern)
    {
        Remembered& slot = table(pattern)[std::hash<std::string_view>{}(name) % kSlots];
        if (!slot.used || slot.name != name) {
            slot.name.assign(name);
            slot.match = acutWcMatch(slot.name.c_str(), pattern) != 0;
            slot.used = true;
        }
        return slot.match;
    }

private:
    static constexpr size_t kSlots = 256;
    struct Remembered {
        std::string name;
        bool match = false;
        bool used = false;
    };
    std::vector<Remembered>& table(const char* pattern)
    {
        for (auto& [seen, names] : patterns_)
            if (seen == pattern) return names;
        return patterns_.emplace_back(pattern, std::vector<Remembered>(kSlots)).second;
    }
    std::vector<std::pair<const char*, std::vector<Remembered>>> patterns_;
};

// Whether an entity passes the filter; false with supported=false for a
// filter code this host does not evaluate.
bool passes(const AcDbEntity& entity, const resbuf* filter, bool& supported, TypeVerdicts& types)
{
    for (const resbuf* rb = filter; rb; rb = rb->rbnext) {
        switch (rb->restype) {
        case 0:
        case RTDXF0:
            if (!types.matches(entity.isA(), rb->resval.rstring)) return false;
            break;
        case 2: {
            const auto* reference = dynamic_cast<const AcDbBlockReference*>(&entity);
            if (!reference || !acutWcMatch(reference->blockName(), rb->resval.rstring)) return false;
            break;
        }
        case 8:
            if (!acutWcMatch(entity.layer(), rb->resval.rstring)) return false;
            break;
        case 67: {
            AcDbDatabase* db = entity.database();
            bool paper = db && entity.ownerId() != db->modelSpaceId();
            if (paper != (rb->resval.rint != 0)) return false;
            break;
        }
        case -3:
            for (const resbuf* app = rb->rbnext; app && app->restype == 1001; app = app->rbnext) {
                resbuf* data = entity.xData(app->resval.rstring);
                if (!data) return false;
                acutRelRb(data);
                rb = app;
            }
            break;
        default:
            supported = false;
            return false;
        }
    }
    return true;
}

// What the entity's file record alone tells of the filter: that the entity
// fails its type or block-name condition, or that it passes a filter of
// nothing but those; else the entity must be opened and looked at. So a
// scan of a large drawing builds neither the entities it rejects nor, for
// a filter by type and block name, those it takes.
enum class RecordVerdict { Fails, Passes, Open };

RecordVerdict verdictByRecord(const AcDbObjectId& id, const resbuf* filter, TypeVerdicts& types, NameVerdicts& names)
{
    bool known = true;
    for (const resbuf* rb = filter; rb; rb = rb->rbnext) {
        if ((rb->restype == 0 || rb->restype == RTDXF0) && rb->resval.rstring) {
            const AcRxClass* cls = id.objectClass();
            if (cls && !types.matches(cls, rb->resval.rstring)) return RecordVerdict::Fails;
            known = known && cls;
        } else if (rb->restype == 2 && rb->resval.rstring) {
            std::string_view name;
            const bool peeked = acdbPeekBlockName(id, name);
            if (peeked && !names.matches(name, rb->resval.rstring)) return RecordVerdict::Fails;
            known = known && peeked;
        } else {
            known = false;
        }
    }
    return known ? RecordVerdict::Passes : RecordVerdict::Open;
}

// Keeps the entities as a new set and names it in set.
int storeSet(std::vector<AcDbObjectId> ids, ads_name set)
{
    SelectionSets& state = selectionSets();
    int64_t key = state.next++;
    state.sets[key] = std::move(ids);
    set[0] = key;
    set[1] = 0;
    return RTNORM;
}

int makeSet(std::vector<AcDbObjectId> ids, ads_name set)
{
    if (ids.empty()) return RTERROR;
    return storeSet(std::move(ids), set);
}

void addUnique(std::vector<AcDbObjectId>& into, const std::vector<AcDbObjectId>& found, size_t& added)
{
    added = 0;
    for (const AcDbObjectId& id : found) {
        if (std::find(into.begin(), into.end(), id) == into.end()) {
            into.push_back(id);
            ++added;
        }
    }
}

// The entities of model space that the window (a polygon in world
// coordinates) selects. Inside an AcEdSelectionIndexScope only the entities
// whose drawn box meets the window's box are tested, in model-space order:
// the same entities as testing all of them.
std::vector<AcDbObjectId> windowSelect(AcDbDatabase& db, const std::vector<Point2>& polygon, bool crossing)
{
    const double tolerance = aperture() / 4.0;
    std::vector<AcDbObjectId> ids;
    if (const SelectionIndex* index = SelectionIndex::forModelSpace(db, tolerance)) {
        SelectionIndex::Box box{polygon.front().x, polygon.front().y, polygon.front().x, polygon.front().y};
        for (const Point2& p : polygon) {
            box.x0 = std::min(box.x0, p.x);
            box.y0 = std::min(box.y0, p.y);
            box.x1 = std::max(box.x1, p.x);
            box.y1 = std::max(box.y1, p.y);
        }
        ids = index->candidates(box);
    } else {
        ids = entitiesOf(db.modelSpaceId());
    }
    return collect(ids, [&](const AcDbEntity& entity) {
        const EntityShape shape = EntityShape::of(entity, tolerance);
        SelectionIndex::countWindowShapeTest();
        return crossing ? shape.crossesOrIsInside(polygon) : shape.isInside(polygon);
    });
}

// The interactive selection: answers until the empty one.
int askForSelection(AcDbDatabase& db, std::vector<AcDbObjectId>& chosen)
{
    for (;;) {
        std::string answer;
        int status = acedGetString(1, "Select objects: ", answer);
        if (status != RTNORM) return status;
        answer = trim(answer);
        if (answer.empty()) return RTNORM;
        std::string word = upper(answer);
        std::vector<AcDbObjectId> found;
        Point2 point;
        if (word == "ALL") {
            found = entitiesOf(db.modelSpaceId());
        } else if (word == "L") {
            AcDbObjectId last = lastEntity(db);
            if (last) found.push_back(last);
        } else if (word == "W" || word == "C") {
            ads_point first, second;
            if ((status = acedGetPoint(nullptr, "First corner: ", first)) != RTNORM) return status == RTNONE ? RTCAN : status;
            if ((status = acedGetPoint(first, "Specify opposite corner: ", second)) != RTNORM) {
                return status == RTNONE ? RTCAN : status;
            }
            found = windowSelect(db, rectangle(db, first, second), word == "C");
        } else if (parsePoint(answer, point)) {
            AcDbObjectId picked = pickAt(db, toWorld(db, point.x, point.y));
            if (picked) found.push_back(picked);
        } else if (AcDbObjectId byHandle = entityByHandle(db, answer)) {
            found.push_back(byHandle);
        } else {
            acutPrintf("*Invalid selection*\nExpects a point, a handle or Window/Crossing/Last/ALL\n");
            continue;
        }
        size_t added = 0;
        addUnique(chosen, found, added);
        if (chosen.size() == added) {
            acutPrintf("%zu found\n", found.size());
        } else {
            acutPrintf("%zu found, %zu total\n", found.size(), chosen.size());
        }
    }
}

}  // namespace

int acedEntSel(const char* prompt, ads_name entity, ads_point picked)
{
    AcDbDatabase* db = drawing();
    std::string answer;
    int status = acedGetString(1, prompt ? prompt : "Select object: ", answer);
    if (status != RTNORM) return status;
    if (!db) return RTERROR;
    answer = trim(answer);
    AcDbObjectId id;
    Point2 point;
    if (upper(answer) == "L") {
        id = lastEntity(*db);
    } else if (parsePoint(answer, point)) {
        id = pickAt(*db, toWorld(*db, point.x, point.y));
    } else {
        id = entityByHandle(*db, answer);
    }
    if (!id) return RTERROR;
    if (picked) {
        picked[0] = point.x;
        picked[1] = point.y;
        picked[2] = 0.0;
    }
    return acdbGetAdsName(entity, id) == RTNORM ? RTNORM : RTERROR;
}

int acedSSGet(const char* mode, const void* pt1, const void* pt2, const resbuf* filter, ads_name set)
{
    AcDbDatabase* db = drawing();
    if (!db || !set) return RTERROR;
    std::string kind = mode ? upper(mode) : "";
    std::vector<AcDbObjectId> chosen;
    if (kind.empty()) {
        int status = askForSelection(*db, chosen);
        if (status != RTNORM) return status;
    } else if (kind == "X") {
        // The whole drawing: model space and every layout's paper space.
        for (AcDbObjectId space : db->spaceIds()) {
            std::vector<AcDbObjectId> ids = entitiesOf(space);
            chosen.insert(chosen.end(), ids.begin(), ids.end());
        }
    } else if ((kind == "W" || kind == "C") && pt1 && pt2) {
        chosen = windowSelect(*db, rectangle(*db, static_cast<const double*>(pt1), static_cast<const double*>(pt2)),
                              kind == "C");
    } else if ((kind == "WP" || kind == "CP") && pt1) {
        std::vector<Point2> polygon;
        for (const resbuf* rb = static_cast<const resbuf*>(pt1); rb; rb = rb->rbnext) {
            if (rb->restype == RTPOINT || rb->restype == RT3DPOINT) {
                polygon.push_back(toWorld(*db, rb->resval.rpoint[0], rb->resval.rpoint[1]));
            }
        }
        if (polygon.size() < 3) return RTERROR;
        chosen = windowSelect(*db, polygon, kind == "CP");
    } else if (kind == "L") {
        if (AcDbObjectId last = lastEntity(*db)) chosen.push_back(last);
    } else {
        return RTERROR;
    }
    if (filter) {
        bool supported = true;
        TypeVerdicts types;
        NameVerdicts names;
        auto test = [&](const AcDbEntity& entity) { return passes(entity, filter, supported, types); };
        // A filter over a whole drawing looks at entity after entity, each
        // stub and line somewhere else in memory: what a verdict reads is
        // asked for ahead (the stub, then the block name's line).
        constexpr size_t kStubAhead = 16, kLineAhead = 8;
        const size_t count = chosen.size();
        size_t kept = 0;
        for (size_t i = 0; i < count; ++i) {
            if (i + kStubAhead < count)
                acdbPrefetchStub(chosen[i + kStubAhead]);
            if (i + kLineAhead < count)
                acdbPrefetchBlockNameLine(chosen[i + kLineAhead]);
            const AcDbObjectId id = chosen[i];
            const RecordVerdict verdict = verdictByRecord(id, filter, types, names);
            if (verdict == RecordVerdict::Passes || (verdict == RecordVerdict::Open && accepts(id, test)))
                chosen[kept++] = id;
        }
        chosen.resize(kept);
        if (!supported) return RTERROR;
    }
    return makeSet(std::move(chosen), set);
}

int acedSSLength(const ads_name set, int32_t* length)
{
    auto found = selectionSets().sets.find(set ? set[0] : 0);
    if (found == selectionSets().sets.end() || !length) return RTERROR;
    *length = static_cast<int32_t>(found->second.size());
    return RTNORM;
}

int acedSSName(const ads_name set, int32_t index, ads_name entity)
{
    auto found = selectionSets().sets.find(set ? set[0] : 0);
    if (found == selectionSets().sets.end() || index < 0 || index >= static_cast<int32_t>(found->second.size())) {
        return RTERROR;
    }
    return acdbGetAdsName(entity, found->second[static_cast<size_t>(index)]);
}

int acedSSFree(const ads_name set)
{
    return selectionSets().sets.erase(set ? set[0] : 0) ? RTNORM : RTERROR;
}
