#include "host/db/AcDbUndoRecord.h"

#include <algorithm>
#include <atomic>

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

// Serials of undo records: each record marks the stubs it noted with its own.
// After 2^32 - 1 records they would repeat; a stub still marked with the old
// serial then would not be noted again. No session opens that many.
uint32_t nextSerial()
{
    static std::atomic<uint32_t> last{0};
    uint32_t serial = ++last;
    while (serial == 0)
        serial = ++last;
    return serial;
}

}  // namespace

AcDbUndoRecord::AcDbUndoRecord(AcDbDatabase& db, std::string name)
    : db_(db), name_(std::move(name)), serial_(nextSerial()), header_(db.data().header)
{
}

void AcDbUndoRecord::noteWrite(AcDbStub* stub)
{
    if (!stub || stub->database != &db_ || stub->undoNoted == serial_)
        return;
    stub->undoNoted = serial_;
    entries_.push_back({stub, capture(stub)});
}

void AcDbUndoRecord::noteNew(AcDbStub* stub)
{
    if (!stub || stub->undoNoted == serial_)
        return;
    stub->undoNoted = serial_;
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
    s.present = AcDbHandleIndex::holds(*stub);
    s.erased = stub->erased;
    s.inBlocksSection = stub->inBlocksSection;
    s.owner = stub->owner;
    if (stub->subs)
        s.subs = std::make_unique<std::vector<AcDbStub*>>(*stub->subs);
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
        s.ownerValueAt = stub->ownerValueAt;
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
    stub->ownerValueAt = s.ownerValueAt;
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
