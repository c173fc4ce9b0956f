#include <cmath>
#include <cstring>
#include <string>

#include "host/base/DxfCodepage.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbEntity.h"
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
            ownerSeen = true;
            if (!o.stub_->isEntity || !o.stub_->owner)
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
