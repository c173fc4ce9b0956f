#pragma once
// The fields of an attribute read without building it, and the write that
// sets each of them to the value it holds, for commands that lay out the
// attributes of every block reference of a large drawing: most of those
// attributes are read, checked and written back as they were, and building
// each one to do so costs more than the rest of the work on it.

#include <cstdint>
#include <string>

#include "host/db/AcDbObjectId.h"
#include "host/db/AcadErrorStatus.h"
#include "host/ge/AcGePoint3d.h"

struct AcDbStub;

// What AcDbAttribute's getters of the same names give.
struct AcDbAttributeFields {
    std::string tag;
    std::string text;   // textString()
    std::string layer;
    double height = 0.0;
    double widthFactor = 1.0;
    double rotation = 0.0;  // radians
    AcGePoint3d position;
    AcGePoint3d alignment;  // alignmentPoint()
    bool defaultAlignment = true;
};

class AcDbAttribute;

// The fields of a built attribute.
AcDbAttributeFields acdbAttributeFields(const AcDbAttribute& attribute);

// An attribute's record as read from its lines: the fields, where the
// owner's value stands in the lines, and which lines they were (a stub
// whose lines are these still holds them).
struct AcDbAttributeRecordRead {
    const AcDbStub* stub = nullptr;
    uint64_t textOffset = 0;
    uint32_t textLength = 0;
    uint32_t tagCount = 0;
    bool textWritten = false;
    AcDbAttributeFields fields;
    // The owner's value in the lines: from byte ownerAt, ownerLength bytes,
    // naming handle owner. ownerLength 0: the record names no owner.
    uint32_t ownerAt = 0;
    uint32_t ownerLength = 0;
    uint64_t owner = 0;
};

struct AcDbDatabaseData;

class AcDbAttributeView {
public:
    AcDbAttributeView() = default;
    // A view read from a record points at the database's copy of it (see
    // read), so it is neither copied nor kept past the database.
    AcDbAttributeView(const AcDbAttributeView&) = delete;
    AcDbAttributeView& operator=(const AcDbAttributeView&) = delete;
    ~AcDbAttributeView() { unpin(); }

    // Reads the attribute's fields. One not built since its lines were read
    // or written out, whose record holds each field once and as saving would
    // write it, is read from the record and stays unbuilt; the database
    // remembers the last few so read, so reading one again costs nothing.
    // Any other is opened for read, its fields copied, and closed. Returns
    // the error opening it for read gives (eWasErased, eNotThatKindOfClass,
    // ...) or eOk.
    Acad::ErrorStatus read(AcDbObjectId id);

    const AcDbAttributeFields& fields() const { return record().fields; }
    // Whether read took the fields from the record, not from the attribute.
    bool fromRecord() const { return record().stub != nullptr; }

    // For an attribute read from its record: what opening it for write,
    // setting each field to the value it holds and closing it does, done on
    // its lines. The write is noted for undo, the drawing counts as changed,
    // and the lines take the owner the database gives the attribute (its
    // block reference) where they name another, as writing it out would.
    // eNotApplicable when the view was not read from the record, the
    // attribute has been built or its lines replaced since, or writing it
    // out would not keep its lines; the caller then opens the attribute for
    // write. Otherwise the error an open for write gives (eWasErased,
    // eOnLockedLayer) or eOk.
    Acad::ErrorStatus writeUnchanged();

private:
    const AcDbAttributeRecordRead& record() const;
    void unpin();

    AcDbStub* stub_ = nullptr;
    // The database's remembered record the view reads through, pinned there
    // (see AcDbDatabaseData::attributeReads); null when the view holds its
    // own copy in record_.
    AcDbDatabaseData* pinnedIn_ = nullptr;
    size_t pinnedSlot_ = 0;
    AcDbAttributeRecordRead record_;  // only the fields, and no stub, when read from the attribute
};
