#include "host/db/AcDbAttributeView.h"

#include "host/db/AcDbAttribute.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbFileFormat.h"
#include "host/db/AcDbObjectBuilder.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbStub.h"

namespace {

// Whether the stub still has the lines the record was read from, unbuilt.
bool holdsLinesRead(const AcDbStub& stub, const AcDbAttributeRecordRead& read)
{
    return read.stub == &stub && !stub.object && !stub.tagsKept && stub.textOffset == read.textOffset &&
           stub.textLength == read.textLength && stub.tagCount == read.tagCount &&
           stub.textWritten == read.textWritten;
}

constexpr size_t kNoSlot = ~size_t{0};

// The slot of the stub's record as last read, while its lines are the same;
// kNoSlot when none is remembered.
size_t rememberedSlot(const AcDbDatabaseData& d, const AcDbStub& stub)
{
    for (size_t i = 0; i < d.attributeReads.size(); ++i)
        if (holdsLinesRead(stub, d.attributeReads[i]))
            return i;
    return kNoSlot;
}

// The slot the stub's record is read into from its lines and remembered in:
// the next one in turn that no view points at. kNoSlot when the lines cannot
// answer (the attribute is then built) or every slot is pinned (the caller
// then reads the record into a copy of its own).
size_t readRecord(AcDbDatabase& db, const AcDbStub& stub, bool& allPinned)
{
    allPinned = false;
    AcDbDatabaseData& d = db.data();
    if (const size_t slot = rememberedSlot(d, stub); slot != kNoSlot)
        return slot;
    const AcDbFileFormat* format = AcDbFileFormat::registered();
    if (!format)
        return kNoSlot;
    const size_t count = d.attributeReads.size();
    size_t slot = kNoSlot;
    for (size_t k = 0; k < count && slot == kNoSlot; ++k)
        if (d.attributeReadPins[(d.nextAttributeRead + k) % count] == 0)
            slot = (d.nextAttributeRead + k) % count;
    if (slot == kNoSlot) {
        allPinned = true;
        return kNoSlot;
    }
    AcDbAttributeRecordRead& read = d.attributeReads[slot];
    if (!format->builder().readAttribute(db, stub, read)) {
        read.stub = nullptr;  // partly filled: remembers nothing
        return kNoSlot;
    }
    d.nextAttributeRead = (slot + 1) % count;
    return slot;
}

}  // namespace

AcDbAttributeFields acdbAttributeFields(const AcDbAttribute& attribute)
{
    AcDbAttributeFields f;
    f.tag = attribute.tag();
    f.text = attribute.textString();
    f.layer = attribute.layer();
    f.height = attribute.height();
    f.widthFactor = attribute.widthFactor();
    f.rotation = attribute.rotation();
    f.position = attribute.position();
    f.alignment = attribute.alignmentPoint();
    f.defaultAlignment = attribute.isDefaultAlignment();
    return f;
}

const AcDbAttributeRecordRead& AcDbAttributeView::record() const
{
    return pinnedIn_ ? pinnedIn_->attributeReads[pinnedSlot_] : record_;
}

void AcDbAttributeView::unpin()
{
    if (pinnedIn_)
        --pinnedIn_->attributeReadPins[pinnedSlot_];
    pinnedIn_ = nullptr;
}

Acad::ErrorStatus AcDbAttributeView::read(AcDbObjectId id)
{
    unpin();
    stub_ = id.stub();
    record_.stub = nullptr;
    if (!stub_)
        return Acad::eNullObjectId;
    if (stub_->erased)
        return Acad::eWasErased;
    if (stub_->database && !stub_->object) {
        bool allPinned = false;
        if (const size_t slot = readRecord(*stub_->database, *stub_, allPinned); slot != kNoSlot) {
            pinnedIn_ = &stub_->database->data();
            pinnedSlot_ = slot;
            ++pinnedIn_->attributeReadPins[slot];
            return Acad::eOk;
        }
        const AcDbFileFormat* format = AcDbFileFormat::registered();
        if (allPinned && format && format->builder().readAttribute(*stub_->database, *stub_, record_))
            return Acad::eOk;
        record_.stub = nullptr;
    }
    AcDbObjectPointer<AcDbAttribute> attribute(id, AcDb::kForRead);
    if (!attribute)
        return attribute.openStatus();
    record_.fields = acdbAttributeFields(*attribute);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbAttributeView::writeUnchanged()
{
    // The fields the caller compared are those of these very lines.
    const AcDbAttributeRecordRead& read = record();
    if (!stub_ || !stub_->database || !holdsLinesRead(*stub_, read))
        return Acad::eNotApplicable;
    // An attribute of no block reference takes the owner its lines name when
    // built; one that does not resolve would be written out as none.
    if (!stub_->owner)
        return Acad::eNotApplicable;
    if (stub_->erased)
        return Acad::eWasErased;
    AcDbDatabase& db = *stub_->database;
    AcDbDatabaseData& d = db.data();
    // As an open for write: refused on a locked layer, noted for undo.
    const Acad::ErrorStatus es = acdbCheckLayerWritable(&db, read.fields.layer.c_str());
    if (es != Acad::eOk)
        return es;
    db.noteWrite(stub_);
    // As each setter given the value its field holds.
    db.noteChange();
    // As writing the attribute out once freed: its lines as they are, the
    // owner's value replaced when it names another object. The lines stay,
    // and saving puts the owner in (see AcDbStub::ownerValueAt), unless the
    // value stands too far into them to be noted.
    const uint64_t owner = stub_->owner->handle;
    if (read.ownerLength == 0 || read.owner == owner)
        return Acad::eOk;
    if (read.ownerAt > 0 && read.ownerAt < 256) {
        stub_->ownerValueAt = static_cast<uint8_t>(read.ownerAt);
        return Acad::eOk;
    }
    const std::string_view lines = d.splitSource(*stub_);
    std::string& text = d.releaseText;
    AcDbFileFormat::registered()->builder().linesWithOwner(lines, read.ownerAt, read.ownerLength, owner, text);
    d.takeWrittenLines(*stub_, text, stub_->tagCount);
    return Acad::eOk;
}
