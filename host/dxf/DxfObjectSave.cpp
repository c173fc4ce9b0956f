#include <cmath>
#include <cstring>
#include <string>

#include "host/base/DxfCodepage.h"
#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbSymbolTableRecord.h"
#include "host/dxf/DxfCodec.h"
#include "host/dxf/DxfObjectIO.h"
#include "host/dxf/DxfTagEditor.h"
#include "host/dxf/DxfValue.h"
#include "host/dxf/codecs/DxfCodecSupport.h"

namespace {

bool iequals(const std::string& a, std::string_view b)
{
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

// The subclass of a block reference's record that holds its block name.
DxfTagEditor::Range referenceSubclass(const DxfTagEditor& ed)
{
    DxfTagEditor::Range r = ed.subclass("AcDbBlockReference");
    return r.found ? r : ed.subclass("AcDbMInsertBlock");
}

// An INSERT written from its file record names its block as the file did.
// When that block has been renamed since, current is set to the new name and
// the record must be written with it, or the reference would be left naming
// no block (or a block that took the old name later).
bool renamedInsertBlock(AcDbDatabase& db, const AcDbStub* stub, std::string& current)
{
    if (static_cast<AcDbObjectKind>(stub->kind) != AcDbObjectKind::BlockReference || stub->tagCount == 0)
        return false;
    AcDbDatabaseData& d = db.data();
    if (!d.blockTable)
        return false;
    auto* table = static_cast<AcDbBlockTable*>(db.objectOf(d.blockTable));
    if (!table->hasRenames())
        return false;
    std::vector<DxfTag> scratch;
    const DxfTag* tag = dxfInsertBlockNameTag(d.tagsOf(*stub, scratch), stub->tagCount);
    if (!tag)
        return false;
    const std::string stored = d.codepage().decode(tag->value());
    AcDbStub* block = table->renamedFrom(stored);
    if (!block)
        return false;
    current = static_cast<AcDbSymbolTableRecord*>(db.objectOf(block))->name();
    return current != stored;
}

}  // namespace

bool DxfObjectIO::writesAsRead(AcDbDatabase& db, AcDbStub* stub)
{
    std::string renamed;
    return (!stub->object || !stub->object->isModified()) && !renamedInsertBlock(db, stub, renamed);
}

DxfObjectIO::LinesAsRead DxfObjectIO::linesAsRead(AcDbDatabase& db, AcDbStub* stub, std::string& out)
{
    // The case of tagsFor below where the codec's save is not run and
    // saveBase can only change the owner, written by a writer that copies
    // every line it is given as it stands.
    AcDbDatabaseData& d = db.data();
    AcDbObject* o = stub->object;
    if (!o || !o->isModified() || o->isContentModified() || o->xdataModified_ || stub->tagCount == 0 ||
        (!o->extDict_.isNull() && !o->extDictFromFile_))
        return LinesAsRead::kOther;
    const std::string_view source = d.splitSource(*stub);
    if (!o->readFrom_ || o->readFrom_ != source.data() || o->readTags_.size() != stub->tagCount)
        return LinesAsRead::kOther;
    if (!d.linesAsWritten(*stub))
        return LinesAsRead::kOther;
    // The tags were split from these lines, so the lines read back as them
    // whatever their values hold (the owner's value put in is a handle).
    const DxfTag* t = o->readTags_.data();
    const size_t n = o->readTags_.size();
    const DxfCodecFunctions& codec = *dxfCodecOf(o->kind()).functions;
    if (!codec.savesAsRead || !codec.savesAsRead(*o, t, n) || (stub->isEntity && !entitySavesAsRead(t, n)))
        return LinesAsRead::kOther;
    const size_t ownerAt = ownerTag(t, n);
    const uint64_t owner = o->owner_.stub() ? o->owner_.stub()->handle : 0;
    uint64_t old = 0;
    // Lines whose owner the stub notes to be replaced are written out with
    // it, so that they stand for the object by themselves.
    if (ownerAt == n || (DxfValue::toHandle(t[ownerAt].value(), old) && old == owner && stub->ownerValueAt == 0))
        return LinesAsRead::kSameLines;
    const std::string_view value = t[ownerAt].value();
    linesWithOwner(source, static_cast<size_t>(value.data() - source.data()), value.size(), owner, out);
    return LinesAsRead::kOwnerChanged;
}

size_t DxfObjectIO::ownerValueLength(std::string_view lines, size_t at)
{
    if (at >= lines.size())
        return 0;
    size_t end = std::min(lines.find('\n', at), lines.size());
    if (end > at && lines[end - 1] == '\r')
        --end;
    return end - at;
}

void DxfObjectIO::linesWithOwner(std::string_view lines, size_t ownerAt, size_t ownerLength, uint64_t owner,
                                 std::string& out)
{
    out.assign(lines.data(), ownerAt);
    out += DxfValue::fromHandle(owner);
    out.append(lines.substr(ownerAt + ownerLength));
}

const DxfTag* DxfObjectIO::tagsFor(AcDbDatabase& db, AcDbStub* stub, std::vector<DxfTag>& out, size_t& count)
{
    AcDbDatabaseData& d = db.data();
    AcDbObject* o = stub->object;
    if (!o || !o->isModified()) {
        std::string renamed;
        count = stub->tagCount;
        if (stub->ownerValueAt != 0 && stub->owner && !stub->tagsKept) {
            // Its lines with the owner's handle in place of the one they
            // name (an attribute written unchanged).
            const DxfTag* read = d.tagsOf(*stub, out);
            if (read != out.data())
                out.assign(read, read + stub->tagCount);
            const char* value = d.splitSource(*stub).data() + stub->ownerValueAt;
            for (DxfTag& t : out)
                if (t.text == value) {
                    t = DxfTag(t.code, d.keep(DxfValue::fromHandle(stub->owner->handle)));
                    break;
                }
            return out.data();
        }
        if (!renamedInsertBlock(db, stub, renamed))
            return d.tagsOf(*stub, out);
        const DxfTag* read = d.tagsOf(*stub, out);
        if (read != out.data())
            out.assign(read, read + stub->tagCount);
        DxfTagEditor ed(out, d, d.codepage());
        ed.setString(referenceSubclass(ed), 2, renamed, {2});
        count = out.size();
        return out.data();
    }
    out.clear();
    const DxfCodecFunctions& codec = *dxfCodecOf(o->kind()).functions;
    bool fieldsAsRead = false;
    if (stub->tagCount > 0) {
        // The tags the object was built from, while its lines are the same.
        const std::string_view source = d.splitSource(*stub);
        if (o->readFrom_ && o->readFrom_ == source.data() && o->readTags_.size() == stub->tagCount) {
            out.assign(o->readTags_.begin(), o->readTags_.end());
            // Changed only in what saveBase and saveXData write (its owner,
            // its extended data), or set to values it already had: when its
            // save would give its tags back, it need not run.
            fieldsAsRead = !o->isContentModified() && codec.savesAsRead &&
                           codec.savesAsRead(*o, out.data(), out.size()) &&
                           (!stub->isEntity || entitySavesAsRead(out.data(), out.size()));
        } else {
            const DxfTag* read = d.tagsOf(*stub, out);
            if (read != out.data())
                out.assign(read, read + stub->tagCount);
        }
    } else {
        skeleton(db, *o, out);
    }
    DxfTagEditor ed(out, d, d.codepage());
    saveBase(db, *o, ed);
    if (!fieldsAsRead) {
        if (stub->isEntity)
            saveEntity(db, static_cast<AcDbEntity&>(*o), ed);
        if (codec.save)
            codec.save(db, *o, ed);
    }
    if (o->xdataModified_)
        saveXData(*o, ed);
    count = out.size();
    return out.data();
}

void DxfObjectIO::skeleton(AcDbDatabase& db, AcDbObject& o, std::vector<DxfTag>& out)
{
    AcDbDatabaseData& d = db.data();
    auto tag = [&](int code, std::string text) { out.emplace_back(code, d.keep(std::move(text))); };
    const char* name = dxfCodecOf(o.kind()).name;
    tag(0, name ? name : "XRECORD");
    tag(5, DxfValue::fromHandle(o.stub_->handle));
    AcDbStub* owner = o.owner_.stub();
    if (owner && !o.stub_->isEntity && owner->kind == static_cast<uint8_t>(AcDbObjectKind::Dictionary)) {
        tag(102, "{ACAD_REACTORS");
        tag(330, DxfValue::fromHandle(owner->handle));
        tag(102, "}");
    }
    tag(330, DxfValue::fromHandle(owner ? owner->handle : 0));
    if (o.stub_->isEntity) {
        tag(100, "AcDbEntity");
        tag(8, "0");
    }
    if (const auto skeleton = dxfCodecOf(o.kind()).functions->skeleton)
        skeleton(db, out);
}

size_t DxfObjectIO::ownerTag(const DxfTag* t, size_t n)
{
    // The base part ends at the first subclass marker or extended data (as
    // DxfTagEditor::base has it).
    bool inGroup = false;
    for (size_t i = 1; i < n && t[i].code != 100 && t[i].code != 101 && t[i].code != 1001; ++i) {
        if (t[i].code == 102) {
            inGroup = !t[i].value().empty() && t[i].value()[0] == '{';
            continue;
        }
        if (!inGroup && t[i].code == 330)
            return i;
    }
    return n;
}

void DxfObjectIO::saveBase(AcDbDatabase& db, AcDbObject& o, DxfTagEditor& ed)
{
    auto& t = ed.tags();
    const size_t baseEnd = ed.base().end;
    const size_t found = ownerTag(t.data(), baseEnd);
    const size_t ownerAt = found < baseEnd ? found : SIZE_MAX;
    uint64_t owner = o.owner_.stub() ? o.owner_.stub()->handle : 0;
    if (ownerAt != SIZE_MAX) {
        uint64_t old = 0;
        if (!DxfValue::toHandle(t[ownerAt].value(), old) || old != owner)
            t[ownerAt] = ed.make(330, DxfValue::fromHandle(owner));
    }
    if (!o.extDict_.isNull() && !o.extDictFromFile_) {
        size_t at = ownerAt != SIZE_MAX ? ownerAt : baseEnd;
        ed.insert(at, {ed.make(102, "{ACAD_XDICTIONARY"), ed.make(360, DxfValue::fromHandle(o.extDict_.handle().value())),
                       ed.make(102, "}")});
        o.extDictFromFile_ = true;
    }
    (void)db;
}

void DxfObjectIO::saveEntity(AcDbDatabase& db, AcDbEntity& e, DxfTagEditor& ed)
{
    static const std::initializer_list<int> order = {67, 410, 8, 6, 347, 62, 420, 430, 440, 48, 60, 370, 92, 160, 310, 284, 380, 390};
    auto R = [&] { return ed.subclass("AcDbEntity"); };
    if (!R().found)
        return;
    AcDbDatabaseData& d = db.data();
    if (e.stub_->tagCount == 0 && e.owner_.stub() && e.owner_.stub() == d.paperSpace)
        ed.setInt(R(), 67, 1, order);
    ed.setString(R(), 8, e.layer_, order);
    if (ed.has(R(), 6) || !iequals(e.linetype_, "ByLayer"))
        ed.setString(R(), 6, e.linetype_, order);
    int aci = e.color_.isByLayer() ? 256 : e.color_.isByBlock() ? 0 : e.color_.colorIndex();
    if (ed.has(R(), 62) || aci != 256)
        ed.setInt(R(), 62, aci, order);
    if (e.color_.isByColor() && d.header.acadver >= "AC1018")
        ed.setInt(R(), 420, e.color_.trueColor(), order);
    else
        ed.remove(R(), 420);
    if (ed.has(R(), 48) || e.linetypeScale_ != 1.0)
        ed.setReal(R(), 48, e.linetypeScale_, order);
    if (ed.has(R(), 60) || e.invisible_)
        ed.setInt(R(), 60, e.invisible_ ? 1 : 0, order);
    if (ed.has(R(), 370) || e.lineWeight_ != AcDb::kLnWtByLayer)
        ed.setInt(R(), 370, e.lineWeight_, order);
}

bool DxfObjectIO::entitySavesAsRead(const DxfTag* t, size_t n)
{
    using namespace DxfCodecSupport;
    // The subclass loadEntity reads and saveEntity writes: the first.
    size_t i = 1;
    while (i < n && !(t[i].code == 100 && t[i].value() == "AcDbEntity")) {
        if (t[i].code == 101 || t[i].code == 1001)
            return false;
        ++i;
    }
    // Each field at most once, the layer always (save would add one); a
    // true colour is not kept as read (save derives it from the colour).
    int layers = 0, linetypes = 0, scales = 0, visibilities = 0, colours = 0, weights = 0;
    for (++i; i < n && t[i].code != 100 && t[i].code != 101 && t[i].code != 1001; ++i) {
        bool asItself = true;
        switch (t[i].code) {
        case 102:
        case 420: return false;
        case 8: ++layers; break;
        case 6: ++linetypes; break;
        case 48: asItself = ++scales == 1 && readsAsItself(t[i], kReadsReal); break;
        case 60: asItself = ++visibilities == 1 && readsAsItself(t[i], kReadsWhole, 0, 1); break;
        case 62: asItself = ++colours == 1 && readsAsItself(t[i], kReadsWhole, 0, 256); break;
        case 370: asItself = ++weights == 1 && readsAsItself(t[i], kReadsWhole, INT32_MIN, INT32_MAX); break;
        default: break;
        }
        if (!asItself)
            return false;
    }
    return layers == 1 && linetypes <= 1;
}

void DxfObjectIO::saveXData(AcDbObject& o, DxfTagEditor& ed)
{
    auto& t = ed.tags();
    t.erase(t.begin() + static_cast<long>(ed.xdataStart()), t.end());
    for (const AcDbXDataApp& app : o.xdata_) {
        if (!app.replaced) {
            t.insert(t.end(), app.fileTags.begin(), app.fileTags.end());
            continue;
        }
        t.push_back(ed.make(1001, ed.codepage().encode(app.name)));
        for (const resbuf* rb = app.replaced; rb; rb = rb->rbnext) {
            int c = rb->restype;
            switch (acutRbValueKind(c)) {
            case AcRbValueKind::String:
                t.push_back(ed.make(c, ed.codepage().encode(rb->resval.rstring ? rb->resval.rstring : "")));
                break;
            case AcRbValueKind::Point:
                for (int k = 0; k < 3; ++k)
                    t.push_back(ed.make(c + 10 * k, DxfValue::fromDouble(rb->resval.rpoint[k])));
                break;
            case AcRbValueKind::Real: t.push_back(ed.make(c, DxfValue::fromDouble(rb->resval.rreal))); break;
            case AcRbValueKind::Short: t.push_back(ed.make(c, DxfValue::fromInt(rb->resval.rint))); break;
            case AcRbValueKind::Long: t.push_back(ed.make(c, DxfValue::fromInt(rb->resval.rlong))); break;
            default: break;
            }
        }
    }
}
