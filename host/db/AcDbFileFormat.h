#pragma once
#include <cstddef>
#include <string>

#include "host/db/AcadErrorStatus.h"

class AcDbDatabase;
class AcDbObjectBuilder;

// The file format a drawing is read from and written to. The database keeps
// the file image and the raw tags; the format parses them into stubs, builds
// objects from them (builder()) and writes them back. The format registers
// itself when the host library is loaded; the database only knows this
// interface, so it never depends on the format's code.
class AcDbFileFormat {
public:
    virtual ~AcDbFileFormat() = default;

    // Builds objects from their tags and gives the tags to write.
    virtual const AcDbObjectBuilder& builder() const = 0;
    // The text of a new, empty drawing.
    virtual std::string newDrawingText() const = 0;
    // Reads the database's file image (AcDbDatabaseData::text) into stubs.
    // eOk, or a status with a message naming the file, the line and what
    // was wrong, and the line where reading stopped.
    virtual Acad::ErrorStatus read(AcDbDatabase& db, std::string& message, size_t& line) const = 0;
    // Writes the drawing as text into out (replacing its contents).
    virtual void writeText(AcDbDatabase& db, std::string& out, bool crlf) const = 0;
    // Writes the drawing to an open file; false (errno set) when writing failed.
    virtual bool writeFile(AcDbDatabase& db, int fd, bool crlf) const = 0;

    // Makes format the one every database uses; the format stays owned by
    // the caller and must outlive every database.
    static void registerFormat(const AcDbFileFormat* format);
    // The registered format; null when none was registered.
    static const AcDbFileFormat* registered();
};
