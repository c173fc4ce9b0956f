#pragma once
#include <string>

#include "host/dxf/DxfReadResult.h"
#include "host/dxf/DxfTag.h"

class AcDbDatabase;
struct AcDbDatabaseData;
struct AcDbStub;

// Reads the DXF text held in the database's buffer into the database:
// splits it into tags, groups them into sections, tables, blocks, entities
// and objects, and gives every object a stub that keeps its tags. Objects
// are built from their tags later, when first opened; symbol tables and the
// named-objects dictionary are built at once.
class DxfFileReader {
public:
    explicit DxfFileReader(AcDbDatabase& db);

    // eOk, or the status, line and message of the first fault.
    DxfReadResult read();

private:
    DxfReadResult readHeader(size_t& i);
    DxfReadResult readTables(size_t& i);
    DxfReadResult readBlocks(size_t& i);
    DxfReadResult readEntities(size_t& i, AcDbStub* blockRecord, bool inBlock, size_t& end);
    DxfReadResult readObjects(size_t& i);
    // The index after the tags of the object starting at i (the next 0 tag).
    size_t objectEnd(size_t i) const;
    // Makes the stub of the object at [i, end); null and a failure for a reused handle.
    AcDbStub* makeStub(size_t i, size_t end, const char* section, DxfReadResult& result);
    DxfReadResult expected(size_t tagIndex, const std::string& what) const;
    size_t lineOfTag(size_t tagIndex) const;
    // The owner (330 outside application groups) and the paper-space flag of an entity.
    void scanEntity(size_t i, size_t end, uint64_t& owner, bool& paperSpace) const;

    AcDbDatabase& db_;
    AcDbDatabaseData& d_;
    std::string fileName_;
};
