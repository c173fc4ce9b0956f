#include "host/db/AcDbUndoRecord.h"

#include <algorithm>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbFileFormat.h"
#include "host/db/AcDbObject.h"
#include "host/db/AcDbObjectBuilder.h"

namespace {

bool sameHeader(const AcDbHeaderValues& a, const AcDbHeaderValues& b)
{
    auto samePoint = [](const AcGePoint3d& p, const AcGePoint3d& q) { return p.x == q.x && p.y == q.y && p.z == q.z; };
    auto sameVector = [](const AcGeVector3d& p, const AcGeVector3d& q) { return p.x == q.x && p.y == q.y && p.z == q.z; };
    return a.acadver == b.acadver && a.codepage == b.codepage && a.lunits == b.lunits && a.insunits == b.insunits
           && a.sortents == b.sortents && a.tilemode == b.tilemode && a.clayer == b.clayer
           && samePoint(a.ucsorg, b.ucsorg) && sameVector(a.ucsxdir, b.ucsxdir) && sameVector(a.ucsydir, b.ucsydir)
           && samePoint(a.extmin, b.extmin) && samePoint(a.extmax, b.extmax) && a.handseed == b.handseed;
}

}  // namespace

bool AcDbUndoRecord::StubSet::insert(AcDbStub* stub)
{
    if ((size_ + 1) * 2 > slots_.size()) {
        std::vector<AcDbStub*> old(std::max<size_t>(64, slots_.size() * 2), nullptr);
        old.swap(slots_);
        size_ = 0;
        for (AcDbStub* s : old)
            if (s)
                insert(s);
    }
    const size_t mask = slots_.size() - 1;
    size_t i = static_cast<size_t>((reinterpret_cast<uintptr_t>(stub) >> 4) * 0x9E3779B97F4A7C15ull >> 20) & mask;
    for (; slots_[i]; i = (i + 1) & mask)
        if (slots_[i] == stub)
            return false;
    slots_[i] = stub;
    ++size_;
    return true;
}

AcDbUndoRecord::AcDbUndoRecord(AcDbDatabase& db, std::string name)
    : db_(db), name_(std::move(name)), header_(db.data().header)
{
}

void AcDbUndoRecord::noteWrite(AcDbStub* stub)
{
    if (!stub || stub->database != &db_ || !noted_.insert(stub))
        return;
    entries_.push_back({stub, capture(stub)});
}

void AcDbUndoRecord::noteNew(AcDbStub* stub)
{
    if (!stub || !noted_.insert(stub))
        return;
    Entry& e = entries_.emplace_back();
    e.stub = stub;
    e.state.present = false;
    e.state.erased = true;
}

void AcDbUndoRecord::noteListsChange()
{
    if (!lists_)
        lists_ = std::make_unique<Lists>(currentLists());
}

bool AcDbUndoRecord::empty() const
{
    return entries_.empty() && !lists_ && sameHeader(header_, db_.data().header);
}

AcDbUndoRecord::State AcDbUndoRecord::capture(AcDbStub* stub)
{
    AcDbDatabaseData& d = db_.data();
    State s;
    s.present = d.byHandle.find(stub->handle) == stub;
    s.erased = stub->erased;
    s.inBlocksSection = stub->inBlocksSection;
    s.owner = stub->owner;
    if (stub->subs)
        s.subs = *stub->subs;
    if (!s.present)
        return s;
    AcDbObject* o = stub->object;
    if (!o || !o->isModified()) {
        // The tags it was read with (or last restored from) stay where they are.
        s.textOffset = stub->textOffset;
        s.textLength = stub->textLength;
        s.tagCount = stub->tagCount;
        s.tagsKept = stub->tagsKept;
        s.textWritten = stub->textWritten;
    } else {
        std::vector<DxfTag> scratch;
        size_t n = 0;
        const DxfTag* t = AcDbFileFormat::registered()->builder().tagsFor(db_, stub, scratch, n);
        if (t != scratch.data()) {
            scratch.assign(t, t + n);
        } else {
            scratch.resize(n);
        }
        d.keptTags.push_back(std::move(scratch));
        s.textOffset = d.keptTags.size() - 1;
        s.textLength = 0;
        s.tagCount = static_cast<uint32_t>(n);
        s.tagsKept = true;
    }
    if (o)
        s.links = o->undoLinks();
    return s;
}

void AcDbUndoRecord::restore(AcDbStub* stub, State& s)
{
    AcDbDatabaseData& d = db_.data();
    delete stub->object;
    stub->object = nullptr;
    stub->textOffset = s.textOffset;
    stub->textLength = s.textLength;
    stub->tagCount = s.tagCount;
    stub->tagsKept = s.tagsKept;
    stub->textWritten = s.textWritten;
    stub->erased = s.erased;
    stub->inBlocksSection = s.inBlocksSection;
    stub->owner = s.owner;
    if (s.subs)
        stub->subs = std::make_unique<std::vector<AcDbStub*>>(*s.subs);
    else
        stub->subs.reset();
    AcDbStub* indexed = d.byHandle.find(stub->handle);
    if (s.present) {
        if (!indexed)
            d.byHandle.insert(stub);
    } else {
        if (indexed == stub)
            d.byHandle.erase(stub->handle);
        stub->erased = true;
    }
}

AcDbUndoRecord::Lists AcDbUndoRecord::currentLists() const
{
    const AcDbDatabaseData& d = db_.data();
    return {d.entities, d.objects, d.blocks, d.tables, d.modelSpace, d.paperSpace};
}

void AcDbUndoRecord::setLists(Lists& lists)
{
    AcDbDatabaseData& d = db_.data();
    d.entities.swap(lists.entities);
    d.objects.swap(lists.objects);
    d.blocks.swap(lists.blocks);
    d.tables.swap(lists.tables);
    std::swap(d.modelSpace, lists.modelSpace);
    std::swap(d.paperSpace, lists.paperSpace);
}

void AcDbUndoRecord::swap()
{
    // Every state is taken before any is put back: the tags of one object
    // may depend on others (a reference names its block through the table).
    std::vector<State> now;
    now.reserve(entries_.size());
    for (const Entry& e : entries_)
        now.push_back(capture(e.stub));
    for (Entry& e : entries_)
        restore(e.stub, e.state);
    // Tables and blocks get back their records and entities once every
    // object they name is in place again.
    for (Entry& e : entries_)
        if (e.state.present && e.state.links.has_value())
            if (AcDbObject* o = db_.objectOf(e.stub))
                o->setUndoLinks(e.state.links);
    for (size_t i = 0; i < entries_.size(); ++i)
        entries_[i].state = std::move(now[i]);
    if (lists_)
        setLists(*lists_);
    std::swap(db_.data().header, header_);
}
