#pragma once
#include <string_view>
#include <vector>

#include "host/dxf/DxfTag.h"

class AcDbDatabase;
class DxfTagWriter;
struct AcDbStub;

// Writes the database as DXF in the order it was read: sections, tables,
// blocks, entities and objects as they came, new ones after them, each
// object's tags as read unless it changed, and HEADER variables as read
// with the changed ones rewritten in place. $HANDSEED is written above every
// handle in use.
class DxfFileWriter {
public:
    explicit DxfFileWriter(AcDbDatabase& db) : db_(db) {}

    void write(DxfTagWriter& out);

private:
    void writeHeader(DxfTagWriter& out);
    void writeClasses(DxfTagWriter& out);
    void writeTables(DxfTagWriter& out);
    void writeBlocks(DxfTagWriter& out);
    void writeEntity(DxfTagWriter& out, AcDbStub* stub);
    void writeObject(DxfTagWriter& out, AcDbStub* stub);
    // The length bytes of the file image from offset on (an object's lines
    // as read), to be written as they stand; empty when a line of them is
    // not as this writer writes it.
    std::string_view textAsRead(const AcDbStub& stub, bool crlf) const;

    AcDbDatabase& db_;
    std::vector<DxfTag> scratch_;
};
