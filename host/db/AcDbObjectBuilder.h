#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/base/RawTag.h"
#include "host/db/resbuf.h"

class AcDbDatabase;
class AcDbObject;
class AcDbPolyline;
struct AcDbAttributeRecordRead;
struct AcDbStub;
struct AcDbXDataApp;

// Turns the tags an object was read with into the object and back. The
// database asks for an object the first time it is opened (so objects
// nobody opens are never built), for the tags to keep when a command may be
// undone, and for extended data as result buffers. The file format that
// reads the drawing supplies it (see AcDbFileFormat).
class AcDbObjectBuilder {
public:
    virtual ~AcDbObjectBuilder() = default;

    // The object of the stub, built from its tags; never null (types the
    // database does not model get a plain object that keeps its tags).
    virtual AcDbObject* build(AcDbDatabase& db, AcDbStub* stub) const = 0;
    // The tags that stand for the stub's object now: its tags as read when
    // unchanged, else those tags edited in place (or made, for a new object)
    // in out. Returns a pointer to them and their count in count.
    virtual const DxfTag* tagsFor(AcDbDatabase& db, AcDbStub* stub, std::vector<DxfTag>& out,
                                  size_t& count) const = 0;
    // The lines saving would write for the stub's changed object now, as a
    // file has them: kWritten with the lines in out and their tag count in
    // count (scratch is for the tags); kSameLines when they are the very
    // lines the stub names (out is left alone); kRefused when reading them
    // back would not give the same tags (a value holding a line end).
    enum class Text { kRefused, kWritten, kSameLines };
    virtual Text textFor(AcDbDatabase& db, AcDbStub* stub, std::vector<DxfTag>& scratch, std::string& out,
                         size_t& count) const = 0;
    // For an attribute not built (see AcDbAttributeView): its record read
    // from its lines into out, when they hold each field once and as saving
    // writes it, and are written as a file writer writes lines, so that an
    // open for write that changes no field would write them out again as
    // they are but for the owner. False for any other record.
    virtual bool readAttribute(AcDbDatabase& db, const AcDbStub& stub, AcDbAttributeRecordRead& out) const = 0;
    // For a polyline not built: what building it would set of its own
    // fields (vertices, flags, widths, elevation, thickness, normal) read
    // from its tags into out, a polyline made for it and given nothing yet.
    // False, out untouched, for any other stub.
    virtual bool readPolyline(AcDbDatabase& db, const AcDbStub& stub, AcDbPolyline& out) const = 0;
    // The lines with the owner's value (ownerLength bytes from byte ownerAt)
    // replaced by the handle owner, into out.
    virtual void linesWithOwner(std::string_view lines, size_t ownerAt, size_t ownerLength, uint64_t owner,
                                std::string& out) const = 0;
    // The extended data of one application as a chain headed by 1001; null
    // when out of memory. db may be null for an object not in a drawing.
    virtual resbuf* xdataChain(const AcDbXDataApp& app, const AcDbDatabase* db) const = 0;
};
