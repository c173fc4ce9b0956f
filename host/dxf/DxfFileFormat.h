#pragma once
#include "host/db/AcDbFileFormat.h"

// DXF as the drawing database's file format: reading (DxfFileReader, with
// the R12 upgrade), writing (DxfFileWriter), building objects from their
// tags and back (DxfObjectIO, through the per-type codecs) and the text of
// a new drawing (the embedded template). One instance registers itself
// with the database when the host library is loaded.
class DxfFileFormat : public AcDbFileFormat {
public:
    const AcDbObjectBuilder& builder() const override;
    std::string newDrawingText() const override;
    Acad::ErrorStatus read(AcDbDatabase& db, std::string& message, size_t& line) const override;
    void writeText(AcDbDatabase& db, std::string& out, bool crlf) const override;
    bool writeFile(AcDbDatabase& db, int fd, bool crlf) const override;

    // The registered instance.
    static const DxfFileFormat& instance();
};
