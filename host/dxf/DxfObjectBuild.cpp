#include <cmath>
#include <cstring>
#include <string>

#include "host/base/DxfCodepage.h"
#include "host/db/AcDbAttribute.h"
#include "host/db/AcDbAttributeView.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbPolyline.h"
#include "host/dxf/DxfCodec.h"
#include "host/dxf/DxfObjectIO.h"
#include "host/dxf/DxfValue.h"
#include "host/dxf/codecs/DxfCodecSupport.h"

using namespace DxfCodecSupport;

AcDbObject* DxfObjectIO::build(AcDbDatabase& db, AcDbStub* stub)
{
    const DxfCodec& codec = dxfCodecOf(static_cast<AcDbObjectKind>(stub->kind));
    const DxfCodecFunctions& f = *codec.functions;
    AcDbObject* o = f.create                ? f.create(*stub)
                    : stub->isEntity ? static_cast<AcDbObject*>(new AcDbEntity())
                                     : new AcDbObject();
    o->stub_ = stub;
    o->owner_ = AcDbObjectId(stub->owner);
    // An object freed after its close keeps the tags it is built from,
    // for writing it out when it is freed changed.
    std::vector<DxfTag> scratch;
    const DxfTag* t = nullptr;
    const std::string_view source = db.data().splitSource(*stub);
    if (!source.empty() && acdbFreedWhenClosed(*stub)) {
        t = db.data().tagsOf(*stub, o->readTags_);
        o->readFrom_ = source.data();
    } else {
        t = db.data().tagsOf(*stub, scratch);
    }
    size_t n = stub->tagCount;
    if (n == 0)
        return o;
    const size_t end = dataEnd(t, n);
    const DxfCodepage& cp = db.data().codepage();
    loadBase(db, *o, t, n, end);
    if (stub->isEntity)
        loadEntity(static_cast<AcDbEntity&>(*o), t, n, cp);
    if (f.load)
        f.load(db, *o, t, end, cp);
    if (!f.create) {
        // A type without a class of its own reports the class a CAD
        // program would: the last subclass marker.
        std::string_view marker;
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

void DxfObjectIO::loadBase(AcDbDatabase& db, AcDbObject& o, const DxfTag* t, size_t n, size_t dataEnd)
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
            // An object filed under an owner as it was read (an entity in
            // its block, a table record in its table) keeps that owner,
            // whatever its 330 says: a damaged one may name no object, or
            // another, and the record's name must still be checked against
            // its table's.
            ownerSeen = true;
            if (!o.stub_->owner)
                o.owner_ = idOf(db, handleOf(t[i]));
        }
    }
    for (size_t k = dataEnd; k < n;) {
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

namespace {

// The fields of an attribute record of the shape nearly every program
// writes, read in one walk over its tags: the handle and the owner; the
// AcDbEntity subclass with the layer alone; the AcDbText subclass with the
// position, height and text, and of the rest only rotation, width factor,
// oblique angle, thickness, style, generation, horizontal mode and
// alignment point; the AcDbAttribute subclass with the tag and of the rest
// only version (280), flags, field length and vertical mode; then
// extended data or the end. Each field once, a point's three codes in a
// row. For such a record the checks and values are those of the general
// way (the codec's savesAsRead and load, entitySavesAsRead and loadEntity),
// through the same functions; false for any other record, which the caller
// reads the general way. ownerAt: the owner's tag, n when there is none.
bool readCommonAttribute(const DxfTag* t, size_t n, const DxfCodepage& cp, AcDbAttributeFields& f, size_t& ownerAt)
{
    using namespace DxfCodecSupport;
    size_t i = 1;
    ownerAt = n;
    for (; i < n && t[i].code != 100; ++i) {
        if (t[i].code == 330 && ownerAt == n)
            ownerAt = i;
        else if (t[i].code != 5)
            return false;
    }
    if (i == n || t[i].value() != "AcDbEntity")
        return false;
    f = AcDbAttributeFields();
    f.height = 2.5;  // AcDbText's, were the record to leave it out
    bool layer = false;
    for (++i; i < n && t[i].code != 100; ++i) {
        // A layer name holding a NUL is left to the general way, whose
        // attribute gives the name up to it.
        if (t[i].code != 8 || layer || t[i].value().find('\0') != std::string_view::npos)
            return false;
        f.layer = cp.decode(t[i].value());
        layer = true;
    }
    if (!layer || i == n || t[i].value() != "AcDbText")
        return false;
    // A real field's check and value in one reading: a real reads as
    // itself exactly when it reads as a number, and the value is the one
    // the general way's reader takes (real() reads it the same way).
    const auto realAt = [&](size_t k, double& value) { return DxfValue::toDouble(t[k].value(), value); };
    // The x of a point whose y and z follow, all three reals.
    const auto point = [&](int code, AcGePoint3d& p) {
        if (i + 2 >= n || t[i + 1].code != code + 10 || t[i + 2].code != code + 20 || !realAt(i, p.x) ||
            !realAt(i + 1, p.y) || !realAt(i + 2, p.z))
            return false;
        i += 2;
        return true;
    };
    uint32_t seen = 0;  // the text's codes met, a bit each
    int64_t horizontal = 0;  // the check reads the modes as the text's fields take them (toInt)
    bool textSeen = false;
    for (++i; i < n && t[i].code != 100; ++i) {
        const int code = t[i].code;
        uint32_t bit = 0;
        bool fine = true;
        switch (code) {
        case 10: bit = 1u << 0; fine = point(10, f.position); break;
        case 11: bit = 1u << 1; fine = point(11, f.alignment); break;
        case 40:
            bit = 1u << 2;
            fine = realAt(i, f.height);
            break;
        case 1:
            bit = 1u << 3;
            fine = readsAsItself(t[i], kReadsText);
            f.text = cp.decode(t[i].value());
            textSeen = true;
            break;
        case 50:
            bit = 1u << 4;
            fine = readsAsItself(t[i], kReadsAngle);
            f.rotation = real(t[i]) * kDegToRad;
            break;
        case 41:
            bit = 1u << 5;
            fine = realAt(i, f.widthFactor);
            break;
        case 51: bit = 1u << 6; fine = readsAsItself(t[i], kReadsAngle); break;
        case 39: bit = 1u << 7; fine = readsAsItself(t[i], kReadsReal); break;
        case 7: bit = 1u << 8; fine = readsAsItself(t[i], kReadsText); break;
        case 71: bit = 1u << 9; break;
        case 72:
            bit = 1u << 10;
            fine = readsAsItself(t[i], kReadsWhole, 0, 5, &horizontal);
            break;
        default: return false;
        }
        if (!fine || (seen & bit))
            return false;
        seen |= bit;
    }
    if (!(seen & 1u) || !(seen & (1u << 2)) || !textSeen || i == n || t[i].value() != "AcDbAttribute")
        return false;
    uint32_t seenHere = 0;
    int64_t vertical = 0;
    bool tagSeen = false;
    for (++i; i < n && t[i].code != 1001; ++i) {
        const int code = t[i].code;
        uint32_t bit = 0;
        bool fine = true;
        switch (code) {
        case 2:
            bit = 1u << 0;
            fine = readsAsItself(t[i], kReadsText);
            f.tag = cp.decode(t[i].value());
            tagSeen = true;
            break;
        case 70: bit = 1u << 1; fine = readsAsItself(t[i], kReadsWhole, 0, 15); break;
        case 73: bit = 1u << 2; fine = readsAsItself(t[i], kReadsWhole, INT32_MIN, INT32_MAX); break;
        case 74:
            bit = 1u << 3;
            fine = readsAsItself(t[i], kReadsWhole, 0, 3, &vertical);
            break;
        case 280: break;
        default: return false;
        }
        if (!fine || (seenHere & bit))
            return false;
        seenHere |= bit;
    }
    // Saving adds the alignment point unless both modes are the default.
    if (!tagSeen || (!(seen & (1u << 1)) && (horizontal != 0 || vertical != 0)))
        return false;
    f.defaultAlignment = static_cast<AcDb::TextHorzMode>(horizontal) == AcDb::kTextLeft &&
                         static_cast<AcDb::TextVertMode>(vertical) == AcDb::kTextBase;
    return true;
}

}  // namespace

bool DxfObjectIO::readAttribute(AcDbDatabase& db, const AcDbStub& stub, AcDbAttributeRecordRead& out,
                                AttributeReading way)
{
    if (static_cast<AcDbObjectKind>(stub.kind) != AcDbObjectKind::Attribute || !stub.isEntity || stub.object ||
        stub.erased || stub.tagCount == 0)
        return false;
    AcDbDatabaseData& d = db.data();
    const std::string_view source = d.splitSource(stub);
    if (source.empty() || !d.linesAsWritten(stub))
        return false;
    // Kept between calls, as the attributes of a whole drawing are read.
    thread_local std::vector<DxfTag> scratch;
    const DxfTag* t = d.tagsOf(stub, scratch);
    const size_t n = stub.tagCount;
    const DxfCodepage& cp = d.codepage();
    size_t ownerAt = n;
    AcDbAttributeFields& f = out.fields;
    if (way == AttributeReading::kGeneral || !readCommonAttribute(t, n, cp, f, ownerAt)) {
        const DxfCodecFunctions& codec = *dxfCodecOf(AcDbObjectKind::Attribute).functions;
        // The fields are read by the attribute's own reader into an
        // attribute of the stack, which is all building it would do besides
        // keeping it.
        AcDbAttribute attribute;
        if (!codec.savesAsRead || !codec.savesAsRead(attribute, t, n) || !entitySavesAsRead(t, n))
            return false;
        loadEntity(attribute, t, n, cp);
        codec.load(db, attribute, t, dataEnd(t, n), cp);
        f = acdbAttributeFields(attribute);
        ownerAt = ownerTag(t, n);
    }
    out.ownerAt = out.ownerLength = 0;
    out.owner = 0;
    if (ownerAt < n) {
        const std::string_view value = t[ownerAt].value();
        if (!DxfValue::toHandle(value, out.owner))
            return false;
        out.ownerAt = static_cast<uint32_t>(value.data() - source.data());
        out.ownerLength = static_cast<uint32_t>(value.size());
    }
    out.stub = &stub;
    out.textOffset = stub.textOffset;
    out.textLength = stub.textLength;
    out.tagCount = stub.tagCount;
    out.textWritten = stub.textWritten;
    return true;
}

bool DxfObjectIO::readPolyline(AcDbDatabase& db, const AcDbStub& stub, AcDbPolyline& out)
{
    if (static_cast<AcDbObjectKind>(stub.kind) != AcDbObjectKind::Polyline || !stub.isEntity || stub.object ||
        stub.erased || stub.tagCount == 0)
        return false;
    // The fields are read by the polyline's own reader, from the same tags
    // building it would read (its common and entity parts set nothing of
    // the polyline's own).
    AcDbDatabaseData& d = db.data();
    thread_local std::vector<DxfTag> scratch;
    const DxfTag* t = d.tagsOf(stub, scratch);
    dxfCodecOf(AcDbObjectKind::Polyline).functions->load(db, out, t, dataEnd(t, stub.tagCount), d.codepage());
    return true;
}

void DxfObjectIO::loadEntity(AcDbEntity& e, const DxfTag* t, size_t n, const DxfCodepage& cp)
{
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
