#include <cmath>
#include <string>

#include "host/db/AcDbAttribute.h"
#include "host/db/AcDbAttributeDefinition.h"
#include "host/db/AcDbBlockReference.h"
#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbCircle.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbDictionary.h"
#include "host/db/AcDbHatch.h"
#include "host/db/AcDbLayerTable.h"
#include "host/db/AcDbLayout.h"
#include "host/db/AcDbLine.h"
#include "host/db/AcDbLinetypeTable.h"
#include "host/db/AcDbPolyline.h"
#include "host/db/AcDbRegAppTable.h"
#include "host/db/AcDbSortentsTable.h"
#include "host/db/AcDbTable.h"
#include "host/db/AcDbTableStyle.h"
#include "host/db/AcDbText.h"
#include "host/db/AcDbTextStyleTable.h"
#include "host/db/AcDbViewport.h"
#include "host/dxf/DxfHatch.h"
#include "host/dxf/DxfLayoutIO.h"
#include "host/dxf/DxfObjectIO.h"
#include "host/dxf/DxfTable.h"
#include "host/dxf/DxfTagEditor.h"
#include "host/dxf/DxfValue.h"

namespace {

constexpr double kRadToDeg = 180.0 / 3.14159265358979323846;

bool isDefaultNormal(const AcGeVector3d& n) { return n.x == 0.0 && n.y == 0.0 && n.z == 1.0; }

void saveNormal(DxfTagEditor& ed, const char* marker, const AcGeVector3d& n, std::initializer_list<int> order, int nth = 0)
{
    auto r = ed.subclass(marker, nth);
    if (ed.has(r, 210) || !isDefaultNormal(n))
        ed.setPoint(r, 210, n.x, n.y, n.z, order);
}

// Degrees for a stored angle; the original text is kept when it reads back equal.
double degrees(double radians) { return radians * kRadToDeg; }

void saveText(AcDbText& x, DxfTagEditor& ed, const AcDbObject& o)
{
    static const std::initializer_list<int> order = {39, 10, 20, 30, 40, 1, 50, 41, 51, 7, 71, 72, 11, 21, 31, 210, 220, 230};
    auto R = [&] { return ed.subclass("AcDbText"); };
    if (ed.has(R(), 39) || x.thickness() != 0.0)
        ed.setReal(R(), 39, x.thickness(), order);
    ed.setPoint(R(), 10, x.position().x, x.position().y, x.position().z, order);
    ed.setReal(R(), 40, x.height(), order);
    ed.setString(R(), 1, x.textString(), order);
    auto angle = [&](int code, double radians) {
        double old = 0;
        auto r = R();
        for (size_t i = r.begin; i < r.end; ++i)
            if (ed.tags()[i].code == code && DxfValue::toDouble(ed.tags()[i].value(), old)
                && std::fabs(old / kRadToDeg - radians) < 1e-15)
                return;
        if (ed.has(r, code) || radians != 0.0)
            ed.setReal(r, code, degrees(radians), order);
    };
    angle(50, x.rotation());
    if (ed.has(R(), 41) || x.widthFactor() != 1.0)
        ed.setReal(R(), 41, x.widthFactor(), order);
    angle(51, x.oblique());
    if (ed.has(R(), 7) || std::string(x.textStyleName()) != "Standard")
        ed.setString(R(), 7, x.textStyleName(), order);
    if (ed.has(R(), 72) || x.horizontalMode() != AcDb::kTextLeft)
        ed.setInt(R(), 72, x.horizontalMode(), order);
    if (!x.isDefaultAlignment() || ed.has(R(), 11))
        ed.setPoint(R(), 11, x.alignmentPoint().x, x.alignmentPoint().y, x.alignmentPoint().z, order);
    saveNormal(ed, "AcDbText", x.normal(), order);
    static const std::initializer_list<int> second = {280, 3, 2, 70, 73, 74};
    if (o.kind() == AcDbObjectKind::Text) {
        auto r = ed.subclass("AcDbText", 1);
        if (r.found && (ed.has(r, 73) || x.verticalMode() != AcDb::kTextBase))
            ed.setInt(r, 73, x.verticalMode(), second);
        return;
    }
    const char* marker = o.kind() == AcDbObjectKind::Attribute ? "AcDbAttribute" : "AcDbAttributeDefinition";
    auto S = [&] { return ed.subclass(marker); };
    if (auto* def = dynamic_cast<AcDbAttributeDefinition*>(&x)) {
        ed.setString(S(), 3, def->prompt(), second);
        ed.setString(S(), 2, def->tag(), second);
        int flags = (def->isInvisible() ? 1 : 0) | (def->isConstant() ? 2 : 0) | (def->isVerifiable() ? 4 : 0)
                    | (def->isPreset() ? 8 : 0);
        if (ed.has(S(), 70) || flags != 0)
            ed.setInt(S(), 70, flags, second);
        if (ed.has(S(), 73) || def->fieldLength() != 0)
            ed.setInt(S(), 73, def->fieldLength(), second);
    } else if (auto* att = dynamic_cast<AcDbAttribute*>(&x)) {
        ed.setString(S(), 2, att->tag(), second);
        int flags = (att->isInvisible() ? 1 : 0) | (att->isConstant() ? 2 : 0) | (att->isVerifiable() ? 4 : 0)
                    | (att->isPreset() ? 8 : 0);
        if (ed.has(S(), 70) || flags != 0)
            ed.setInt(S(), 70, flags, second);
        if (ed.has(S(), 73) || att->fieldLength() != 0)
            ed.setInt(S(), 73, att->fieldLength(), second);
    }
    if (ed.has(S(), 74) || x.verticalMode() != AcDb::kTextBase)
        ed.setInt(S(), 74, x.verticalMode(), second);
}

void saveInsert(AcDbDatabase& db, AcDbBlockReference& x, DxfTagEditor& ed)
{
    static const std::initializer_list<int> order = {66, 2, 10, 20, 30, 41, 42, 43, 50, 70, 71, 44, 45, 210, 220, 230};
    auto R = [&] { return ed.subclass("AcDbBlockReference"); };
    bool hasAttributes = false;
    if (x.objectId().stub()->subs)
        for (AcDbStub* s : *x.objectId().stub()->subs)
            if (!s->erased && s->kind == static_cast<uint16_t>(AcDbObjectKind::Attribute))
                hasAttributes = true;
    if (hasAttributes)
        ed.setInt(R(), 66, 1, order);
    else
        ed.remove(R(), 66);
    ed.setString(R(), 2, x.blockName(), order);
    ed.setPoint(R(), 10, x.position().x, x.position().y, x.position().z, order);
    AcGeScale3d s = x.scaleFactors();
    if (ed.has(R(), 41) || s.sx != 1.0) ed.setReal(R(), 41, s.sx, order);
    if (ed.has(R(), 42) || s.sy != 1.0) ed.setReal(R(), 42, s.sy, order);
    if (ed.has(R(), 43) || s.sz != 1.0) ed.setReal(R(), 43, s.sz, order);
    if (ed.has(R(), 50) || x.rotation() != 0.0) {
        double old = 0;
        auto r = R();
        bool same = false;
        for (size_t i = r.begin; i < r.end; ++i)
            if (ed.tags()[i].code == 50 && DxfValue::toDouble(ed.tags()[i].value(), old)
                && std::fabs(old / kRadToDeg - x.rotation()) < 1e-15)
                same = true;
        if (!same)
            ed.setReal(r, 50, degrees(x.rotation()), order);
    }
    saveNormal(ed, "AcDbBlockReference", x.normal(), order);
    (void)db;
}

void savePolyline(AcDbPolyline& x, DxfTagEditor& ed)
{
    static const std::initializer_list<int> order = {90, 70, 43, 38, 39, 10, 20, 40, 41, 42, 91, 210, 220, 230};
    auto R = [&] { return ed.subclass("AcDbPolyline"); };
    ed.setInt(R(), 90, x.numVerts(), order);
    ed.setInt(R(), 70, (x.isClosed() ? 1 : 0) | (ed.has(R(), 70) ? 0 : 0), order);
    double w = 0;
    x.getConstantWidth(w);
    if (ed.has(R(), 43) || w != 0.0) ed.setReal(R(), 43, w, order);
    if (ed.has(R(), 38) || x.elevation() != 0.0) ed.setReal(R(), 38, x.elevation(), order);
    // Vertices: keep the tags of unchanged ones, rewrite from the first that differs.
    auto r = R();
    auto& t = ed.tags();
    size_t first = SIZE_MAX, last = r.begin;
    for (size_t i = r.begin; i < r.end; ++i) {
        int c = t[i].code;
        if (c == 10 || c == 20 || c == 40 || c == 41 || c == 42 || c == 91) {
            if (first == SIZE_MAX)
                first = i;
            last = i + 1;
        }
    }
    std::vector<DxfTag> verts;
    for (const AcDbPolyline::Vertex& v : x.vertices()) {
        verts.push_back(ed.make(10, DxfValue::fromDouble(v.point.x)));
        verts.push_back(ed.make(20, DxfValue::fromDouble(v.point.y)));
        if (v.startWidth != 0.0 || v.endWidth != 0.0) {
            verts.push_back(ed.make(40, DxfValue::fromDouble(v.startWidth)));
            verts.push_back(ed.make(41, DxfValue::fromDouble(v.endWidth)));
        }
        if (v.bulge != 0.0)
            verts.push_back(ed.make(42, DxfValue::fromDouble(v.bulge)));
    }
    if (first == SIZE_MAX) {
        first = last = r.begin;
        for (size_t i = r.begin; i < r.end; ++i)
            if (t[i].code == 90 || t[i].code == 70 || t[i].code == 43 || t[i].code == 38 || t[i].code == 39)
                first = last = i + 1;
    }
    // Keep the original text of vertices whose values are unchanged.
    std::vector<DxfTag> old(t.begin() + static_cast<long>(first), t.begin() + static_cast<long>(last));
    bool same = old.size() == verts.size();
    for (size_t i = 0; same && i < old.size(); ++i) {
        double a = 0, b = 0;
        same = old[i].code == verts[i].code && DxfValue::toDouble(old[i].value(), a) && DxfValue::toDouble(verts[i].value(), b) && a == b;
    }
    if (!same) {
        t.erase(t.begin() + static_cast<long>(first), t.begin() + static_cast<long>(last));
        t.insert(t.begin() + static_cast<long>(first), verts.begin(), verts.end());
    }
    saveNormal(ed, "AcDbPolyline", x.normal(), order);
}

void saveRecord(AcDbDatabase& db, AcDbObject& o, DxfTagEditor& ed)
{
    auto& rec = static_cast<AcDbSymbolTableRecord&>(o);
    const char* marker = "AcDbSymbolTableRecord";
    switch (o.kind()) {
    case AcDbObjectKind::BlockTableRecord: marker = "AcDbBlockTableRecord"; break;
    case AcDbObjectKind::LayerTableRecord: marker = "AcDbLayerTableRecord"; break;
    case AcDbObjectKind::LinetypeTableRecord: marker = "AcDbLinetypeTableRecord"; break;
    case AcDbObjectKind::TextStyleTableRecord: marker = "AcDbTextStyleTableRecord"; break;
    case AcDbObjectKind::RegAppTableRecord: marker = "AcDbRegAppTableRecord"; break;
    default: return;  // other records are kept as read
    }
    // Reading takes a record's data from the subclass after any marker other
    // than AcDbSymbolTableRecord, so a record whose own marker is damaged is
    // saved into that same subclass (else a renamed record would keep its
    // old name while its BLOCK and references take the new one).
    std::string found = marker;
    if (!ed.subclass(marker).found)
        for (const DxfTag& t : ed.tags()) {
            if (t.code == 101 || t.code == 1001)
                break;
            if (t.code == 100 && t.value() != "AcDbSymbolTableRecord") {
                found = std::string(t.value());
                break;
            }
        }
    auto R = [&] { return ed.subclass(found); };
    if (!R().found)
        return;
    ed.setString(R(), 2, rec.name(), {2});
    if (auto* b = dynamic_cast<AcDbBlockTableRecord*>(&o)) {
        ed.setHandle(R(), 340, b->getLayoutId().handle().value(), {2, 340});
        if (o.isNewObject())
            DxfTable::saveBlockRefs(db, *b, ed);
        return;
    }
    if (auto* l = dynamic_cast<AcDbLayerTableRecord*>(&o)) {
        static const std::initializer_list<int> order = {2, 70, 62, 420, 6, 290, 370, 390, 347, 348};
        ed.setInt(R(), 70, l->flags(), order);
        AcCmColor c = l->color();
        int aci = c.colorIndex();
        if (aci <= 0 || aci > 255)
            aci = 7;
        ed.setInt(R(), 62, l->isOff() ? -aci : aci, order);
        if (c.isByColor() && db.data().header.acadver >= "AC1018")
            ed.setInt(R(), 420, c.trueColor(), order);
        else
            ed.remove(R(), 420);
        ed.setString(R(), 6, l->linetypeName(), order);
        if (!l->isPlottable())
            ed.setInt(R(), 290, 0, order);
        else
            ed.remove(R(), 290);
        ed.setInt(R(), 370, l->lineWeight(), order);
        return;
    }
    if (auto* lt = dynamic_cast<AcDbLinetypeTableRecord*>(&o)) {
        static const std::initializer_list<int> order = {2, 70, 3, 72, 73, 40};
        ed.setString(R(), 3, lt->comments(), order);
        if (lt->isComplex())
            return;
        ed.setInt(R(), 73, lt->numDashes(), order);
        ed.setReal(R(), 40, lt->patternLength(), order);
        auto r = R();
        ed.remove(r, 49);
        r = R();
        ed.remove(r, 74);
        r = R();
        size_t at = r.end;
        for (size_t i = r.begin; i < r.end; ++i)
            if (ed.tags()[i].code == 40)
                at = i + 1;
        std::vector<DxfTag> dashes;
        for (int i = 0; i < lt->numDashes(); ++i) {
            dashes.push_back(ed.make(49, DxfValue::fromDouble(lt->dashLengthAt(i))));
            dashes.push_back(ed.make(74, "0"));
        }
        ed.insert(at, dashes);
        return;
    }
    if (auto* s = dynamic_cast<AcDbTextStyleTableRecord*>(&o)) {
        static const std::initializer_list<int> order = {2, 70, 40, 41, 50, 71, 42, 3, 4};
        ed.setReal(R(), 40, s->textSize(), order);
        ed.setReal(R(), 41, s->xScale(), order);
        ed.setReal(R(), 50, degrees(s->obliquingAngle()), order);
        ed.setString(R(), 3, s->fileName(), order);
        ed.setString(R(), 4, s->bigFontFileName(), order);
    }
}

}  // namespace

void DxfObjectIO::saveTyped(AcDbDatabase& db, AcDbObject& o, DxfTagEditor& ed)
{
    switch (o.kind()) {
    case AcDbObjectKind::Text:
    case AcDbObjectKind::Attribute:
    case AcDbObjectKind::AttributeDefinition:
        saveText(static_cast<AcDbText&>(o), ed, o);
        break;
    case AcDbObjectKind::BlockReference: saveInsert(db, static_cast<AcDbBlockReference&>(o), ed); break;
    case AcDbObjectKind::Polyline: savePolyline(static_cast<AcDbPolyline&>(o), ed); break;
    case AcDbObjectKind::Hatch: DxfHatch::save(static_cast<AcDbHatch&>(o), ed); break;
    case AcDbObjectKind::Table:
        saveInsert(db, static_cast<AcDbBlockReference&>(o), ed);
        DxfTable::save(static_cast<AcDbTable&>(o), db, ed);
        break;
    case AcDbObjectKind::TableStyle: DxfTable::saveStyle(static_cast<AcDbTableStyle&>(o), db, ed); break;
    case AcDbObjectKind::Circle: {
        static const std::initializer_list<int> order = {39, 10, 20, 30, 40, 210, 220, 230};
        auto& c = static_cast<AcDbCircle&>(o);
        ed.setPoint(ed.subclass("AcDbCircle"), 10, c.center().x, c.center().y, c.center().z, order);
        ed.setReal(ed.subclass("AcDbCircle"), 40, c.radius(), order);
        saveNormal(ed, "AcDbCircle", c.normal(), order);
        break;
    }
    case AcDbObjectKind::Line: {
        static const std::initializer_list<int> order = {39, 10, 20, 30, 11, 21, 31, 210, 220, 230};
        auto& l = static_cast<AcDbLine&>(o);
        ed.setPoint(ed.subclass("AcDbLine"), 10, l.startPoint().x, l.startPoint().y, l.startPoint().z, order);
        ed.setPoint(ed.subclass("AcDbLine"), 11, l.endPoint().x, l.endPoint().y, l.endPoint().z, order);
        saveNormal(ed, "AcDbLine", l.normal(), order);
        break;
    }
    case AcDbObjectKind::BlockTableRecord:
    case AcDbObjectKind::LayerTableRecord:
    case AcDbObjectKind::LinetypeTableRecord:
    case AcDbObjectKind::TextStyleTableRecord:
    case AcDbObjectKind::RegAppTableRecord:
        saveRecord(db, o, ed);
        break;
    case AcDbObjectKind::Dictionary: {
        auto& x = static_cast<AcDbDictionary&>(o);
        auto r = ed.subclass("AcDbDictionary");
        ed.setInt(r, 280, x.hardOwner_ ? 1 : 0, {280, 281});
        r = ed.subclass("AcDbDictionary");
        ed.setInt(r, 281, x.cloning_, {280, 281});
        r = ed.subclass("AcDbDictionary");
        auto& t = ed.tags();
        size_t first = r.end, last = r.end;
        for (size_t i = r.begin; i < r.end; ++i)
            if (t[i].code == 3 || t[i].code == 350 || t[i].code == 360) {
                first = std::min(first, i);
                last = i + 1;
            }
        if (first == r.end)
            first = last = r.end;
        t.erase(t.begin() + static_cast<long>(first), t.begin() + static_cast<long>(last));
        std::vector<DxfTag> entries;
        for (const auto& e : x.entries()) {
            if (e.id.isErased())
                continue;
            entries.push_back(ed.make(3, ed.codepage().encode(e.key)));
            entries.push_back(ed.make(x.hardOwner_ ? 360 : 350, DxfValue::fromHandle(e.id.handle().value())));
        }
        ed.insert(first, entries);
        break;
    }
    case AcDbObjectKind::SortentsTable: {
        auto& x = static_cast<AcDbSortentsTable&>(o);
        auto r = ed.subclass("AcDbSortentsTable");
        auto& t = ed.tags();
        t.erase(t.begin() + static_cast<long>(r.begin), t.begin() + static_cast<long>(r.end));
        std::vector<DxfTag> body{ed.make(330, DxfValue::fromHandle(x.blockId().handle().value()))};
        for (const auto& e : x.entries()) {
            if (e.entity.isErased())
                continue;
            body.push_back(ed.make(331, DxfValue::fromHandle(e.entity.handle().value())));
            body.push_back(ed.make(5, DxfValue::fromHandle(e.sortHandle.value())));
        }
        ed.insert(r.begin, body);
        break;
    }
    case AcDbObjectKind::Layout: DxfLayoutIO::saveLayout(static_cast<AcDbLayout&>(o), ed); break;
    case AcDbObjectKind::Viewport: DxfLayoutIO::saveViewport(static_cast<AcDbViewport&>(o), ed); break;
    case AcDbObjectKind::BlockBegin: {
        // BLOCK takes the name and base point of its record.
        AcDbStub* rec = o.ownerId().stub();
        auto* b = rec ? static_cast<AcDbBlockTableRecord*>(db.objectOf(rec)) : nullptr;
        if (!b)
            break;
        static const std::initializer_list<int> order = {2, 70, 10, 20, 30, 3, 1, 4};
        auto R = [&] {
            DxfTagEditor::Range r = ed.subclass("AcDbBlockBegin");
            if (r.found)
                return r;
            // A BLOCK whose subclass marker is missing or damaged: reading
            // took its name from its first group 2, so that tag and what
            // follows it are the block's own data (appending a second name
            // would make the saved file name another block).
            for (size_t i = 1; i < r.end; ++i)
                if (ed.tags()[i].code == 2) {
                    r.begin = i;
                    r.found = true;
                    break;
                }
            return r;
        };
        ed.setString(R(), 2, b->name(), order);
        int flags = b->isAnonymous() ? 1 : 0;
        if (b->hasAttributeDefinitions())
            flags |= 2;
        if (o.isNewObject())
            ed.setInt(R(), 70, flags, order);
        ed.setPoint(R(), 10, b->origin().x, b->origin().y, b->origin().z, order);
        ed.setString(R(), 3, b->name(), order);
        if (!ed.has(R(), 1))
            ed.setRaw(R(), 1, "", order);
        break;
    }
    default:
        break;
    }
}
