#pragma once
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "host/dxf/DxfReadResult.h"
#include "host/dxf/DxfTag.h"

class AcDbDatabase;
class DxfTagStream;
struct AcDbDatabaseData;
struct AcDbStub;

// Reads the DXF text held in the database's buffer into the database:
// splits it into tags, groups them into sections, tables, blocks, entities
// and objects, and gives every object a stub that names its lines in the
// text. Objects are built from their tags later, when first opened; symbol
// tables and the named-objects dictionary are built at once. The tags are
// split as the reader walks the text and dropped once passed, so the
// file's tags are never all held at once.
class DxfFileReader {
public:
    explicit DxfFileReader(AcDbDatabase& db);

    // eOk, or the status, line and message of the first fault.
    DxfReadResult read();

private:
    // Reads the sections from the stream's start; the result for the
    // drawing as it stands (a fault of the tags themselves is left to read).
    DxfReadResult readSections();
    // The version of the file's first section when it is a HEADER with
    // $ACADVER; versionTags the "9 $ACADVER" tags up to its end.
    bool firstHeaderVersion(std::string& version, size_t& versionTags);
    // Empties the database for a second read of the same text.
    void reset();
    // Whether tag i exists (see DxfTagStream::has), and tag i.
    bool has(size_t i) const;
    DxfTag tag(size_t i) const;
    // Reads an R12 drawing upgraded in memory (DxfR12Upgrade); version is its $ACADVER.
    DxfReadResult readUpgraded(const std::string& version);
    DxfReadResult readHeader(size_t& i);
    DxfReadResult readTables(size_t& i);
    DxfReadResult readBlocks(size_t& i);
    DxfReadResult readEntities(size_t& i, AcDbStub* blockRecord, bool inBlock, size_t& end);
    DxfReadResult readObjects(size_t& i);
    // Checks the objects of a block kept without a record, [begin, end).
    DxfReadResult checkOrphan(size_t begin, size_t end);
    // The index after the tags of the object starting at i (the next 0 tag).
    size_t objectEnd(size_t i) const;
    // The offset just past tag k's value line and its line end.
    size_t lineEndAfter(size_t k) const;
    // For the block reference of tags i to end, lines begin to stop of the
    // text: where its block name's value starts in its lines (see
    // AcDbStub::insertNameAt), 0 when it has none or it lies past byte 255.
    uint8_t insertNameAt(size_t i, size_t end, size_t begin, size_t stop) const;
    // Makes the stub of the object at [i, end); null and a failure for a reused handle.
    AcDbStub* makeStub(size_t i, size_t end, const char* section, DxfReadResult& result);
    DxfReadResult expected(size_t tagIndex, const std::string& what) const;
    size_t lineOfTag(size_t tagIndex) const;
    // The owner (330 outside application groups) and the paper-space flag of an entity.
    void scanEntity(size_t i, size_t end, uint64_t& owner, bool& paperSpace) const;
    // Ends each INSERT or POLYLINE sequence read without its SEQEND with a
    // new one, and tells the user so through the drawing's notices.
    void addMissingSeqends();

    AcDbDatabase& db_;
    DxfTagStream* tags_ = nullptr;  // the tags of the read running now
    AcDbDatabaseData& d_;
    std::string fileName_;
    std::vector<AcDbStub*> unterminated_;  // sequences read without their SEQEND
    std::vector<AcDbStub*> unclean_;  // objects whose numbers the number check must look at (see DxfNumberCheck)
    // The names the tables' entry counts may still make room for, in all:
    // one for every 1,024 bytes of the file, so that the room made (some 100
    // bytes a name, up to twice that as tables round their size up) stays
    // under a fifth of the file however many tables give counts far above
    // their records.
    size_t namesToReserve_ = 0;
    // The byte offset of the group-code line of tag `tag`, the end the last
    // object made found.
    struct {
        size_t tag = SIZE_MAX;
        size_t offset = 0;
    } nextStart_;
    std::unordered_set<uint64_t> orphanHandles_;  // handles of blocks kept without a record
};
