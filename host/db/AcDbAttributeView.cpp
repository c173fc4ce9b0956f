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

// The record of the stub as last read, while its lines are the same; null
// when none is remembered.
const AcDbAttributeRecordRead* rememberedRead(const AcDbDatabaseData& d, const AcDbStub& stub)
{
    for (const AcDbAttributeRecordRead& read : d.attributeReads)
        if (holdsLinesRead(stub, read))
            return &read;
    return nullptr;
}

// The stub's record read from its lines and remembered; null when the lines
// cannot answer (the attribute is then built).
const AcDbAttributeRecordRead* readRecord(AcDbDatabase& db, const AcDbStub& stub)
{
    if (const AcDbAttributeRecordRead* read = rememberedRead(db.data(), stub))
        return read;
    const AcDbFileFormat* format = AcDbFileFormat::registered();
    if (!format)
        return nullptr;
    AcDbDatabaseData& d = db.data();
    AcDbAttributeRecordRead& slot = d.attributeReads[d.nextAttributeRead];
    if (!format->builder().readAttribute(db, stub, slot)) {
        slot.stub = nullptr;  // partly filled: remembers nothing
        return nullptr;
    }
    d.nextAttributeRead = (d.nextAttributeRead + 1) % d.attributeReads.size();
    return &slot;
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

Acad::ErrorStatus AcDbAttributeView::read(AcDbObjectId id)
{
    stub_ = id.stub();
    record_.stub = nullptr;
    if (!stub_)
        return Acad::eNullObjectId;
    if (stub_->erased)
        return Acad::eWasErased;
    if (stub_->database && !stub_->object)
        if (const AcDbAttributeRecordRead* read = readRecord(*stub_->database, *stub_)) {
            record_ = *read;
            return Acad::eOk;
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
    if (!stub_ || !stub_->database || !holdsLinesRead(*stub_, record_))
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
    const Acad::ErrorStatus es = acdbCheckLayerWritable(&db, record_.fields.layer.c_str());
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
    if (record_.ownerLength == 0 || record_.owner == owner)
        return Acad::eOk;
    if (record_.ownerAt > 0 && record_.ownerAt < 256) {
        stub_->ownerValueAt = static_cast<uint8_t>(record_.ownerAt);
        return Acad::eOk;
    }
    const std::string_view lines = d.splitSource(*stub_);
    std::string& text = d.releaseText;
    AcDbFileFormat::registered()->builder().linesWithOwner(lines, record_.ownerAt, record_.ownerLength, owner, text);
    d.takeWrittenLines(*stub_, text, stub_->tagCount);
    return Acad::eOk;
}
