#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "host/base/RawTag.h"
#include "host/db/AcDbObjectKind.h"

class AcDbDatabase;
class AcDbObject;
class DxfCodepage;
class DxfTagEditor;
struct AcDbStub;

// What one codec does for its type. Each codec lives in its own file under
// codecs/ and is the only DXF code its database class befriends.
struct DxfCodecFunctions {
    // The object for a stub of this type; null makes a plain object (or
    // entity) that keeps its tags and reports the class of its record.
    AcDbObject* (*create)(const AcDbStub& stub);
    // Reads the modelled fields from the tags of the data part (before the
    // first 101 or 1001): t[0] is the record's 0 tag, end the data part's end.
    void (*load)(AcDbDatabase& db, AcDbObject& o, const DxfTag* t, size_t end, const DxfCodepage& cp);
    // Writes the modelled fields into the object's tags, changing only what changed.
    void (*save)(AcDbDatabase& db, AcDbObject& o, DxfTagEditor& ed);
    // Appends the typed part of a new object's record (after the common
    // part and, for entities, the AcDbEntity subclass); its values are
    // filled in by save.
    void (*skeleton)(AcDbDatabase& db, std::vector<DxfTag>& out);
    // True when save, given the object o built from the record's n tags
    // and changed in none of its fields since, would leave every tag past
    // the AcDbEntity subclass as it is; writing such an object out may then
    // skip save. Null: save always runs. Its rules mirror save (and load,
    // where they rest on what load read), so a change to either must be
    // checked against it.
    bool (*savesAsRead)(const AcDbObject& o, const DxfTag* t, size_t n) = nullptr;
};

// Where a record name stands: entities (ENTITIES and BLOCKS), TABLES, OBJECTS.
enum class DxfCodecSection : uint8_t { Entities, Tables, Objects };

// How reading a file checks the numbers of a type (see DxfNumberCheck).
enum DxfCodecReads : uint8_t {
    // Its loader parses only the data part, each tag by its group code's
    // value kind: well-formed numbers mean building reports nothing.
    kDxfReadsByValueKind = 1,
    // Every whole number of its data part is one a CAD program reads, so a
    // malformed one is refused even where the database derives it itself.
    kDxfReadsIntegers = 2,
};

// One line of the codec table.
struct DxfCodec {
    const char* name;          // the DXF record name; null for the fallback of a section
    DxfCodecSection section;
    AcDbObjectKind kind;
    const DxfCodecFunctions* functions;
    uint8_t reads;             // DxfCodecReads

    bool readsByValueKind() const { return reads & kDxfReadsByValueKind; }
    bool readsIntegers() const { return reads & kDxfReadsIntegers; }
};

// The codec of a kind; never null (kinds without one get the fallback of
// their section).
const DxfCodec& dxfCodecOf(AcDbObjectKind kind);

// The codec for a record name found in a section ("ENTITIES", "BLOCKS",
// "TABLES" or "OBJECTS"): the named type, else the section's fallback.
const DxfCodec& dxfCodecFor(std::string_view dxfName, std::string_view section);

// Every codec, in table order, for tests that go through them all.
const std::vector<const DxfCodec*>& dxfCodecs();
