#include <cmath>
#include <cstring>
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
#include "host/dxf/DxfCodepage.h"
#include "host/dxf/DxfHatch.h"
#include "host/dxf/DxfLayoutIO.h"
#include "host/dxf/DxfObjectIO.h"
#include "host/dxf/DxfTable.h"
#include "host/dxf/DxfValue.h"

namespace {

constexpr double kDegToRad = 3.14159265358979323846 / 180.0;

// Modelled fields: a malformed value makes reading the file fail (DxfNumberCheck).
double real(const DxfTag& t, double fallback = 0.0) { return DxfValue::fieldReal(t, fallback); }
int64_t integer(const DxfTag& t, int64_t fallback = 0) { return DxfValue::fieldInt(t, fallback); }
uint64_t handleOf(const DxfTag& t) { return DxfValue::fieldHandle(t); }

AcDbObjectId idOf(AcDbDatabase& db, uint64_t handle)
{
    auto& map = db.data().byHandle;
    auto it = map.find(handle);
    return it == map.end() ? AcDbObjectId() : AcDbObjectId(it->second);
}

// Reads x/y/z at i (code c, c+10, c+20 following); advances i past them.
void point(const DxfTag* t, size_t n, size_t& i, int c, double& x, double& y, double& z)
{
    x = real(t[i]);
    if (i + 1 < n && t[i + 1].code == c + 10)
        y = real(t[++i]);
    if (i + 1 < n && t[i + 1].code == c + 20)
        z = real(t[++i]);
}

AcGePoint3d pointAt(const DxfTag* t, size_t n, size_t& i, int c)
{
    AcGePoint3d p;
    point(t, n, i, c, p.x, p.y, p.z);
    return p;
}

// Index of the end of the subclasses (first 101 or 1001).
size_t dataEnd(const DxfTag* t, size_t n)
{
    for (size_t i = 0; i < n; ++i)
        if (t[i].code == 101 || t[i].code == 1001)
            return i;
    return n;
}

AcDbObject* create(AcDbDatabase& db, AcDbStub* stub)
{
    switch (static_cast<AcDbObjectKind>(stub->kind)) {
    case AcDbObjectKind::BlockReference: return new AcDbBlockReference();
    case AcDbObjectKind::Attribute: return new AcDbAttribute();
    case AcDbObjectKind::AttributeDefinition: return new AcDbAttributeDefinition();
    case AcDbObjectKind::Text: return new AcDbText();
    case AcDbObjectKind::Polyline: return new AcDbPolyline();
    case AcDbObjectKind::Circle: return new AcDbCircle();
    case AcDbObjectKind::Line: return new AcDbLine();
    case AcDbObjectKind::Hatch: return new AcDbHatch();
    case AcDbObjectKind::Table: return new AcDbTable();
    case AcDbObjectKind::TableStyle: return new AcDbTableStyle();
    case AcDbObjectKind::Viewport: return new AcDbViewport();
    case AcDbObjectKind::BlockTableRecord: return new AcDbBlockTableRecord();
    case AcDbObjectKind::LayerTableRecord: return new AcDbLayerTableRecord();
    case AcDbObjectKind::LinetypeTableRecord: return new AcDbLinetypeTableRecord();
    case AcDbObjectKind::TextStyleTableRecord: return new AcDbTextStyleTableRecord();
    case AcDbObjectKind::RegAppTableRecord: return new AcDbRegAppTableRecord();
    case AcDbObjectKind::OtherTableRecord: return new AcDbSymbolTableRecord();
    case AcDbObjectKind::Dictionary: return new AcDbDictionary();
    case AcDbObjectKind::SortentsTable: return new AcDbSortentsTable();
    case AcDbObjectKind::Layout: return new AcDbLayout();
    case AcDbObjectKind::SymbolTable: {
        std::string_view type;
        for (uint32_t i = 1; i < stub->tagCount; ++i)
            if (stub->tags[i].code == 2) {
                type = DxfValue::trimmed(stub->tags[i].value());
                break;
            }
        if (type == "BLOCK_RECORD") return new AcDbBlockTable();
        if (type == "LAYER") return new AcDbLayerTable();
        if (type == "LTYPE") return new AcDbLinetypeTable();
        if (type == "STYLE") return new AcDbTextStyleTable();
        if (type == "APPID") return new AcDbRegAppTable();
        return new AcDbSymbolTable();
    }
    default:
        break;
    }
    (void)db;
    return stub->isEntity ? static_cast<AcDbObject*>(new AcDbEntity()) : new AcDbObject();
}

}  // namespace

AcDbObject* DxfObjectIO::build(AcDbDatabase& db, AcDbStub* stub)
{
    AcDbObject* o = create(db, stub);
    o->stub_ = stub;
    o->owner_ = AcDbObjectId(stub->owner);
    const DxfTag* t = stub->tags;
    size_t n = stub->tagCount;
    if (n == 0)
        return o;
    loadBase(db, *o, t, n);
    if (stub->isEntity)
        loadEntity(static_cast<AcDbEntity&>(*o), t, n);
    loadTyped(db, *o, t, n);
    if (static_cast<AcDbObjectKind>(stub->kind) == AcDbObjectKind::Other
        || static_cast<AcDbObjectKind>(stub->kind) == AcDbObjectKind::OtherEntity
        || static_cast<AcDbObjectKind>(stub->kind) == AcDbObjectKind::Xrecord
        || static_cast<AcDbObjectKind>(stub->kind) == AcDbObjectKind::SequenceEnd
        || static_cast<AcDbObjectKind>(stub->kind) == AcDbObjectKind::BlockBegin
        || static_cast<AcDbObjectKind>(stub->kind) == AcDbObjectKind::BlockEnd) {
        // The class a CAD program would report: the last subclass marker.
        std::string_view marker;
        size_t end = dataEnd(t, n);
        for (size_t i = 0; i < end; ++i)
            if (t[i].code == 100)
                marker = t[i].value();
        const std::string dxfName(t[0].value());
        const std::string name = marker.empty() || marker == "AcDbEntity" ? "AcDb" + dxfName : std::string(marker);
        o->ownClass_ = std::make_unique<AcRxClass>(name.c_str(), dxfName.c_str(),
                                                   stub->isEntity ? AcDbEntity::desc() : AcDbObject::desc());
        o->fileClass_ = o->ownClass_.get();
    }
    return o;
}

void DxfObjectIO::loadBlockBase(AcDbBlockTableRecord& record, const AcDbStub* blockBegin)
{
    if (!blockBegin)
        return;
    const DxfTag* t = blockBegin->tags;
    const size_t end = dataEnd(t, blockBegin->tagCount);
    bool inGroup = false;
    for (size_t i = 1; i < end; ++i) {
        const int c = t[i].code;
        if (c == 102)
            inGroup = !t[i].value().empty() && t[i].value()[0] == '{';
        else if (inGroup)
            continue;
        else if (c == 10)
            record.origin_.x = real(t[i]);
        else if (c == 20)
            record.origin_.y = real(t[i]);
        else if (c == 30)
            record.origin_.z = real(t[i]);
    }
}

void DxfObjectIO::loadBase(AcDbDatabase& db, AcDbObject& o, const DxfTag* t, size_t n)
{
    bool inGroup = false, inXdict = false, ownerSeen = false;
    size_t i = 1;
    for (; i < n && t[i].code != 100 && t[i].code != 1001; ++i) {
        if (t[i].code == 102) {
            inGroup = !t[i].value().empty() && t[i].value()[0] == '{';
            inXdict = t[i].value() == "{ACAD_XDICTIONARY";
            continue;
        }
        if (inXdict && t[i].code == 360) {
            o.extDict_ = idOf(db, handleOf(t[i]));
            o.extDictFromFile_ = true;
        } else if (!inGroup && t[i].code == 330 && !ownerSeen) {
            ownerSeen = true;
            if (!o.stub_->isEntity || !o.stub_->owner)
                o.owner_ = idOf(db, handleOf(t[i]));
        }
    }
    for (size_t k = dataEnd(t, n); k < n;) {
        if (t[k].code != 1001) {
            ++k;
            continue;
        }
        size_t next = k + 1;
        while (next < n && t[next].code != 1001)
            ++next;
        AcDbXDataApp& app = o.xdata_.emplace_back();
        app.name = db.data().codepage().decode(t[k].value());
        app.fileTags.assign(t + k, t + next);
        k = next;
    }
}

void DxfObjectIO::loadEntity(AcDbEntity& e, const DxfTag* t, size_t n)
{
    const DxfCodepage& cp = e.database()->data().codepage();
    size_t i = 1;
    while (i < n && !(t[i].code == 100 && t[i].value() == "AcDbEntity"))
        ++i;
    int aci = 256;
    int64_t rgb = -1;
    for (++i; i < n && t[i].code != 100 && t[i].code != 1001 && t[i].code != 101; ++i) {
        switch (t[i].code) {
        case 8: e.layer_ = cp.decode(t[i].value()); break;
        case 6: e.linetype_ = cp.decode(t[i].value()); break;
        case 62: aci = static_cast<int>(integer(t[i], 256)); break;
        case 420: rgb = integer(t[i], -1); break;
        case 48: e.linetypeScale_ = real(t[i], 1.0); break;
        case 60: e.invisible_ = integer(t[i]) == 1; break;
        case 370: e.lineWeight_ = static_cast<AcDb::LineWeight>(integer(t[i], -1)); break;
        default: break;
        }
    }
    if (rgb >= 0)
        e.color_.setRGB(static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb));
    else if (aci == 256)
        e.color_.setByLayer();
    else if (aci == 0)
        e.color_.setByBlock();
    else
        e.color_.setColorIndex(static_cast<int16_t>(std::abs(aci)));
}

void DxfObjectIO::loadTyped(AcDbDatabase& db, AcDbObject& o, const DxfTag* t, size_t n)
{
    const DxfCodepage& cp = db.data().codepage();
    const size_t end = dataEnd(t, n);
    std::string_view marker;
    int textSubclass = 0;
    auto str = [&](const DxfTag& tag) { return cp.decode(tag.value()); };
    switch (o.kind()) {
    case AcDbObjectKind::Text:
    case AcDbObjectKind::Attribute:
    case AcDbObjectKind::AttributeDefinition: {
        auto& x = static_cast<AcDbText&>(o);
        auto* att = o.kind() == AcDbObjectKind::Attribute ? static_cast<AcDbAttribute*>(&o) : nullptr;
        auto* def = o.kind() == AcDbObjectKind::AttributeDefinition ? static_cast<AcDbAttributeDefinition*>(&o) : nullptr;
        // The first AcDbText subclass holds the text's geometry; a second
        // one, or the attribute's own subclass, holds the rest.
        bool first = false, second = false;
        for (size_t i = 1; i < end; ++i) {
            if (t[i].code == 100) {
                marker = t[i].value();
                const bool text = marker == "AcDbText";
                textSubclass += text;
                first = text && textSubclass == 1;
                second = !first && (text || marker == "AcDbAttribute" || marker == "AcDbAttributeDefinition");
                continue;
            }
            if (!first && !second)
                continue;
            switch (t[i].code) {
            case 10: x.position_ = pointAt(t, end, i, 10); break;
            case 11: x.alignment_ = pointAt(t, end, i, 11); break;
            case 39: x.thickness_ = real(t[i]); break;
            case 40: x.height_ = real(t[i], x.height_); break;
            case 1: x.text_ = str(t[i]); break;
            case 50: x.rotation_ = real(t[i]) * kDegToRad; break;
            case 41: x.widthFactor_ = real(t[i], 1.0); break;
            case 51: x.oblique_ = real(t[i]) * kDegToRad; break;
            case 7: x.style_ = str(t[i]); break;
            case 71: x.generation_ = static_cast<int>(integer(t[i])); break;
            case 72: x.horz_ = static_cast<AcDb::TextHorzMode>(integer(t[i])); break;
            case 210: x.normal_ = pointAt(t, end, i, 210).asVector(); break;
            case 73:
                if (first)
                    break;
                if (o.kind() == AcDbObjectKind::Text)
                    x.vert_ = static_cast<AcDb::TextVertMode>(integer(t[i]));
                else if (att)
                    att->fieldLength_ = static_cast<int>(integer(t[i]));
                else if (def)
                    def->fieldLength_ = static_cast<int>(integer(t[i]));
                break;
            case 74:
                if (second && o.kind() != AcDbObjectKind::Text)
                    x.vert_ = static_cast<AcDb::TextVertMode>(integer(t[i]));
                break;
            case 2:
                if (second && att) att->tag_ = str(t[i]);
                if (second && def) def->tag_ = str(t[i]);
                break;
            case 3:
                if (second && def) def->prompt_ = str(t[i]);
                break;
            case 70:
                if (second && att) att->flags_ = static_cast<int>(integer(t[i]));
                if (second && def) def->flags_ = static_cast<int>(integer(t[i]));
                break;
            default: break;
            }
        }
        break;
    }
    case AcDbObjectKind::Table:
    case AcDbObjectKind::BlockReference: {
        auto& x = static_cast<AcDbBlockReference&>(o);
        bool in = false;
        for (size_t i = 1; i < end; ++i) {
            if (t[i].code == 100) {
                in = t[i].value() == "AcDbBlockReference" || t[i].value() == "AcDbMInsertBlock";
                continue;
            }
            if (!in)
                continue;
            switch (t[i].code) {
            case 2: x.blockName_ = str(t[i]); break;
            case 10: x.position_ = pointAt(t, end, i, 10); break;
            case 41: x.scale_.sx = real(t[i], 1.0); break;
            case 42: x.scale_.sy = real(t[i], 1.0); break;
            case 43: x.scale_.sz = real(t[i], 1.0); break;
            case 50: x.rotation_ = real(t[i]) * kDegToRad; break;
            case 210: x.normal_ = pointAt(t, end, i, 210).asVector(); break;
            default: break;
            }
        }
        if (o.kind() == AcDbObjectKind::Table)
            DxfTable::load(static_cast<AcDbTable&>(o), db, t, end, cp);
        break;
    }
    case AcDbObjectKind::TableStyle: DxfTable::loadStyle(static_cast<AcDbTableStyle&>(o), t, end, cp); break;
    case AcDbObjectKind::Polyline: {
        auto& x = static_cast<AcDbPolyline&>(o);
        bool in = false;
        for (size_t i = 1; i < end; ++i) {
            if (t[i].code == 100) {
                in = t[i].value() == "AcDbPolyline";
                continue;
            }
            if (!in)
                continue;
            switch (t[i].code) {
            case 70: x.flags_ = static_cast<int>(integer(t[i])); break;
            case 43: x.constantWidth_ = real(t[i]); break;
            case 38: x.elevation_ = real(t[i]); break;
            case 39: x.thickness_ = real(t[i]); break;
            case 10: {
                AcDbPolyline::Vertex v;
                v.point.x = real(t[i]);
                if (i + 1 < end && t[i + 1].code == 20)
                    v.point.y = real(t[++i]);
                x.vertices_.push_back(v);
                break;
            }
            case 40: if (!x.vertices_.empty()) x.vertices_.back().startWidth = real(t[i]); break;
            case 41: if (!x.vertices_.empty()) x.vertices_.back().endWidth = real(t[i]); break;
            case 42: if (!x.vertices_.empty()) x.vertices_.back().bulge = real(t[i]); break;
            case 210: x.normal_ = pointAt(t, end, i, 210).asVector(); break;
            default: break;
            }
        }
        break;
    }
    case AcDbObjectKind::Circle:
    case AcDbObjectKind::Line: {
        auto* c = o.kind() == AcDbObjectKind::Circle ? static_cast<AcDbCircle*>(&o) : nullptr;
        auto* l = o.kind() == AcDbObjectKind::Line ? static_cast<AcDbLine*>(&o) : nullptr;
        bool in = false;
        for (size_t i = 1; i < end; ++i) {
            if (t[i].code == 100) {
                in = t[i].value() == "AcDbCircle" || t[i].value() == "AcDbLine";
                continue;
            }
            if (!in)
                continue;
            if (c) {
                if (t[i].code == 10) c->center_ = pointAt(t, end, i, 10);
                else if (t[i].code == 40) c->radius_ = real(t[i], 1.0);
                else if (t[i].code == 39) c->thickness_ = real(t[i]);
                else if (t[i].code == 210) c->normal_ = pointAt(t, end, i, 210).asVector();
            } else if (l) {
                if (t[i].code == 10) l->start_ = pointAt(t, end, i, 10);
                else if (t[i].code == 11) l->end_ = pointAt(t, end, i, 11);
                else if (t[i].code == 39) l->thickness_ = real(t[i]);
                else if (t[i].code == 210) l->normal_ = pointAt(t, end, i, 210).asVector();
            }
        }
        break;
    }
    case AcDbObjectKind::Hatch: DxfHatch::load(static_cast<AcDbHatch&>(o), t, end, cp); break;
    case AcDbObjectKind::Viewport: DxfLayoutIO::loadViewport(db, static_cast<AcDbViewport&>(o), t, end); break;
    case AcDbObjectKind::SymbolTable: {
        auto& x = static_cast<AcDbSymbolTable&>(o);
        for (size_t i = 1; i < end; ++i)
            if (t[i].code == 2) {
                x.recordType_ = std::string(DxfValue::trimmed(t[i].value()));
                break;
            }
        break;
    }
    case AcDbObjectKind::BlockTableRecord:
    case AcDbObjectKind::LayerTableRecord:
    case AcDbObjectKind::LinetypeTableRecord:
    case AcDbObjectKind::TextStyleTableRecord:
    case AcDbObjectKind::RegAppTableRecord:
    case AcDbObjectKind::OtherTableRecord: {
        auto& r = static_cast<AcDbSymbolTableRecord&>(o);
        bool inRecord = false;
        int aci = 7;
        int64_t rgb = -1;
        bool nameSeen = false, flagsSeen = false;
        const AcDbObjectKind kind = o.kind();
        auto* b = kind == AcDbObjectKind::BlockTableRecord ? static_cast<AcDbBlockTableRecord*>(&o) : nullptr;
        auto* l = kind == AcDbObjectKind::LayerTableRecord ? static_cast<AcDbLayerTableRecord*>(&o) : nullptr;
        auto* lt = kind == AcDbObjectKind::LinetypeTableRecord ? static_cast<AcDbLinetypeTableRecord*>(&o) : nullptr;
        auto* s = kind == AcDbObjectKind::TextStyleTableRecord ? static_cast<AcDbTextStyleTableRecord*>(&o) : nullptr;
        for (size_t i = 1; i < end; ++i) {
            if (t[i].code == 100) {
                inRecord = t[i].value() != "AcDbSymbolTableRecord";
                continue;
            }
            if (!inRecord && o.kind() != AcDbObjectKind::OtherTableRecord)
                continue;
            const int c = t[i].code;
            if (c == 2 && !nameSeen) {
                r.name_ = str(t[i]);
                nameSeen = true;
            } else if (c == 70 && !flagsSeen) {
                r.flags_ = static_cast<int>(integer(t[i]));
                flagsSeen = true;
            }
            if (b) {
                if (c == 340) b->layoutHandle_ = handleOf(t[i]);
            } else if (l) {
                if (c == 62) aci = static_cast<int>(integer(t[i], 7));
                else if (c == 420) rgb = integer(t[i], -1);
                else if (c == 6) l->linetype_ = str(t[i]);
                else if (c == 290) l->plottable_ = integer(t[i], 1) != 0;
                else if (c == 370) l->lineWeight_ = static_cast<AcDb::LineWeight>(integer(t[i], -3));
            } else if (lt) {
                if (c == 3) lt->comments_ = str(t[i]);
                else if (c == 40) lt->patternLength_ = real(t[i]);
                else if (c == 49) lt->dashes_.push_back(real(t[i]));
                else if (c == 74 && integer(t[i]) != 0) lt->complex_ = true;
            } else if (s) {
                if (c == 3) s->fileName_ = str(t[i]);
                else if (c == 4) s->bigFont_ = str(t[i]);
                else if (c == 40) s->textSize_ = real(t[i]);
                else if (c == 41) s->xScale_ = real(t[i], 1.0);
                else if (c == 50) s->oblique_ = real(t[i]) * kDegToRad;
                else if (c == 42) s->priorSize_ = real(t[i]);
            }
        }
        if (l) {
            l->off_ = aci < 0;
            l->layerFlags_ = r.flags_;
            if (rgb >= 0)
                l->color_.setRGB(static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb));
            else
                l->color_.setColorIndex(static_cast<int16_t>(std::abs(aci) == 0 || std::abs(aci) > 255 ? 7 : std::abs(aci)));
        }
        break;
    }
    case AcDbObjectKind::Dictionary: {
        auto& x = static_cast<AcDbDictionary&>(o);
        std::string key;
        bool in = false;
        for (size_t i = 1; i < end; ++i) {
            if (t[i].code == 100) {
                in = t[i].value() == "AcDbDictionary";
                continue;
            }
            if (!in)
                continue;
            if (t[i].code == 280) x.hardOwner_ = integer(t[i]) == 1;
            else if (t[i].code == 281) x.cloning_ = static_cast<int>(integer(t[i]));
            else if (t[i].code == 3) key = str(t[i]);
            else if (t[i].code == 350 || t[i].code == 360)
                x.entries_.push_back({key, idOf(db, handleOf(t[i]))});
        }
        break;
    }
    case AcDbObjectKind::SortentsTable: {
        auto& x = static_cast<AcDbSortentsTable&>(o);
        bool in = false;
        for (size_t i = 1; i < end; ++i) {
            if (t[i].code == 100) {
                in = t[i].value() == "AcDbSortentsTable";
                continue;
            }
            if (!in)
                continue;
            if (t[i].code == 330) x.block_ = idOf(db, handleOf(t[i]));
            else if (t[i].code == 331) x.entries_.push_back({idOf(db, handleOf(t[i])), AcDbHandle()});
            else if (t[i].code == 5 && !x.entries_.empty()) x.entries_.back().sortHandle = AcDbHandle(handleOf(t[i]));
        }
        break;
    }
    case AcDbObjectKind::Layout: DxfLayoutIO::loadLayout(db, static_cast<AcDbLayout&>(o), t, end, cp); break;
    default:
        break;
    }
}

resbuf* DxfObjectIO::xdataChain(const AcDbXDataApp& app, const AcDbDatabase* db)
{
    resbuf* head = acutNewRb(1001);
    if (!head)
        return nullptr;
    head->resval.rstring = strdup(app.name.c_str());
    if (app.replaced) {
        head->rbnext = acutDuplicateRb(app.replaced);
        return head;
    }
    // Without a drawing the values are taken as UTF-8.
    static const DxfCodepage kNoDrawing(true, "ANSI_1252");
    const DxfCodepage& cp = db ? db->data().codepage() : kNoDrawing;
    resbuf* tail = head;
    const auto& t = app.fileTags;
    for (size_t i = 1; i < t.size(); ++i) {
        int c = t[i].code;
        resbuf* rb = acutNewRb(c);
        if (!rb)
            break;
        switch (acutRbValueKind(c)) {
        case AcRbValueKind::String: rb->resval.rstring = cp.decodeToMalloc(t[i].value()); break;
        case AcRbValueKind::Point: {
            rb->resval.rpoint[0] = real(t[i]);
            if (i + 1 < t.size() && t[i + 1].code == c + 10) rb->resval.rpoint[1] = real(t[++i]);
            if (i + 1 < t.size() && t[i + 1].code == c + 20) rb->resval.rpoint[2] = real(t[++i]);
            break;
        }
        case AcRbValueKind::Real: rb->resval.rreal = real(t[i]); break;
        case AcRbValueKind::Short: rb->resval.rint = static_cast<short>(integer(t[i])); break;
        case AcRbValueKind::Long: rb->resval.rlong = static_cast<int32_t>(integer(t[i])); break;
        default: rb->resval.rstring = strndup(t[i].text, t[i].size); rb->restype = 1000; break;
        }
        tail->rbnext = rb;
        tail = rb;
    }
    return head;
}
