#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "host/base/RawTag.h"


class AcDbDatabase;
class AcDbObject;

// The database's record of one object, whether or not it has been opened yet.
// An AcDbObjectId points at one. Objects read from a file start as a stub
// with the tags they were read from; the object itself is built from those
// tags the first time it is opened. The stub belongs to the database and
// stays valid (marked erased when erased) until the database is destroyed.
struct AcDbStub {
    AcDbDatabase* database = nullptr;
    AcDbObject* object = nullptr;           // built on first open; owned by the database
    uint64_t handle = 0;
    AcDbStub* owner = nullptr;              // set for entities at load; objects resolve 330 when built
    // The tags read from the file: tagCount of them in the textLength bytes
    // of the file image from byte textOffset on (their lines as read), or,
    // when tagsKept, the tags undo restored it to, kept at index textOffset
    // of the database's keptTags, or, when textWritten, the lines of a
    // changed object written out when it was closed (see
    // AcDbDatabase::noteClosed), at the address textOffset of text the
    // database keeps. See AcDbDatabaseData::tagsOf.
    uint64_t textOffset = 0;
    uint32_t textLength = 0;
    uint32_t tagCount = 0;
    uint8_t kind = 0;                       // AcDbObjectKind
    // For an attribute written unchanged whose lines name another owner than
    // the block reference it belongs to (see AcDbAttributeView::writeUnchanged):
    // the byte of its lines (1-255) where the owner's value starts. Saving
    // puts the handle of the stub's owner there, as writing the attribute
    // out would, and the lines themselves stay as they are, so a command
    // that writes every attribute of a large drawing copies none of them.
    // 0: the lines are written as they stand. It speaks of the lines the
    // stub has now: lines written out replace it, undo restores it with them.
    uint8_t ownerValueAt = 0;
    bool erased : 1 = false;
    bool isEntity : 1 = false;
    bool inBlocksSection : 1 = false;       // an entity written inside its BLOCK ... ENDBLK
    bool tagsKept : 1 = false;
    bool textWritten : 1 = false;
    bool numbersClean : 1 = false;          // reading found every number of its tags well formed
    bool xdataRead : 1 = false;             // its tags as read from the file hold extended data (a 1001 group)
    bool indexed : 1 = false;               // the database's handle index holds it (kept by the index)
    // For a block reference read from a file whose lines are as written: the
    // byte of its lines (1-255) where the block name's value starts, found
    // while reading, so that a selection by block name need not split the
    // lines again. 0: not known. It speaks of the file's lines only, not of
    // lines written out or tags kept since (see AcDbStub::textOffset).
    uint8_t insertNameAt = 0;
    // The serial of the undo record that last took this stub's state (see
    // AcDbUndoRecord::noteWrite): a record asks the stub, not a set of its
    // own, whether it holds the state already. 0: none.
    uint32_t undoNoted = 0;
    std::unique_ptr<std::vector<AcDbStub*>> subs;  // ATTRIB/VERTEX entities then SEQEND after an INSERT/POLYLINE
};

// A drawing of a million objects holds a million stubs: each stays one cache line.
static_assert(sizeof(AcDbStub) <= 64);
