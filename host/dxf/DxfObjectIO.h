#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/db/resbuf.h"
#include "host/dxf/DxfTag.h"

class AcDbDatabase;
class AcDbObject;
class AcDbEntity;
class AcDbPolyline;
class DxfCodepage;
class DxfTagEditor;
struct AcDbAttributeRecordRead;
struct AcDbStub;
struct AcDbXDataApp;

// Maps database objects to and from their DXF tags: the parts every object
// (handle, owner, extension dictionary, extended data) and every entity
// (layer, colour, linetype, ...) has, and through the codec table
// (DxfCodec) the part of each type. build() makes the object of a stub
// from the tags it was read with; tagsFor() gives the tags to
// write: the tags as read for an object that was not changed, otherwise
// those tags with the modelled values replaced in place (or, for a new
// object, tags made from its fields). Nothing the database does not model is
// dropped or moved.
class DxfObjectIO {
public:
    // The object of the stub; never null (types not modelled get a plain object).
    static AcDbObject* build(AcDbDatabase& db, AcDbStub* stub);
    // The tags to write for the stub's object into out (replacing its contents);
    // returns a pointer to the tags and their count, either into out or the stub's tags.
    static const DxfTag* tagsFor(AcDbDatabase& db, AcDbStub* stub, std::vector<DxfTag>& out, size_t& count);
    // Whether tagsFor gives the stub's tags as read (see AcDbStub::firstTag),
    // unchanged.
    static bool writesAsRead(AcDbDatabase& db, AcDbStub* stub);
    // For a changed object whose lines writing its tagsFor would give back
    // but for the owner's value: every line of it as DxfTagWriter writes
    // lines (with the database's line ends), its fields as read, its
    // extended data and extension dictionary as they were. kSameLines when
    // even the owner is as written (nothing to write out); kOwnerChanged with
    // the lines, that value replaced, in out; kOther for any other object
    // (tagsFor and the writer then decide).
    enum class LinesAsRead { kOther, kSameLines, kOwnerChanged };
    static LinesAsRead linesAsRead(AcDbDatabase& db, AcDbStub* stub, std::string& out);
    // An attribute's record read without building it, when writing it out
    // after an open that changes no field would keep its lines but for the
    // owner (see AcDbObjectBuilder::readAttribute).
    // kCommon reads a record of the shape nearly every program writes in
    // one walk and any other the general way; kGeneral reads every record
    // the general way (the two must agree: the reader fuzz target checks).
    enum class AttributeReading { kCommon, kGeneral };
    static bool readAttribute(AcDbDatabase& db, const AcDbStub& stub, AcDbAttributeRecordRead& out,
                              AttributeReading way = AttributeReading::kCommon);
    // A polyline's own fields read from its tags into out, a polyline made
    // for it (see AcDbObjectBuilder::readPolyline).
    static bool readPolyline(AcDbDatabase& db, const AcDbStub& stub, AcDbPolyline& out);
    // lines with the owner's value (ownerLength bytes from ownerAt) replaced
    // by the handle owner, into out.
    static void linesWithOwner(std::string_view lines, size_t ownerAt, size_t ownerLength, uint64_t owner,
                               std::string& out);
    // The length of the owner's value that stands at byte at of lines (up to
    // its line end), for an unchanged object whose stub names it to be
    // replaced by its owner's handle when written (AcDbStub::ownerValueAt).
    static size_t ownerValueLength(std::string_view lines, size_t at);
    // The extended data of one application as a chain headed by 1001; null when empty.
    static resbuf* xdataChain(const AcDbXDataApp& app, const AcDbDatabase* db);

private:
    // dataEnd: where the data part ends (DxfCodecSupport::dataEnd), the
    // extended data following from there.
    static void loadBase(AcDbDatabase& db, AcDbObject& o, const DxfTag* tags, size_t n, size_t dataEnd);
    static void loadEntity(AcDbEntity& e, const DxfTag* tags, size_t n, const DxfCodepage& cp);
    static void skeleton(AcDbDatabase& db, AcDbObject& o, std::vector<DxfTag>& out);
    static void saveBase(AcDbDatabase& db, AcDbObject& o, DxfTagEditor& ed);
    // The index of the owner's tag (the first 330 of the base part outside
    // application groups) among n tags, or n when there is none.
    static size_t ownerTag(const DxfTag* t, size_t n);
    static void saveEntity(AcDbDatabase& db, AcDbEntity& e, DxfTagEditor& ed);
    // True when saveEntity, given an entity built from the record's n tags
    // and changed in none of its fields since, would leave its AcDbEntity
    // subclass as it is.
    static bool entitySavesAsRead(const DxfTag* t, size_t n);
    static void saveXData(AcDbObject& o, DxfTagEditor& ed);
};
