#include "host/dxf/DxfFileFormat.h"

#include <cerrno>

#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbObjectBuilder.h"
#include "host/dxf/DxfDefaultDrawing.h"
#include "host/dxf/DxfFileReader.h"
#include "host/dxf/DxfFileWriter.h"
#include "host/dxf/DxfObjectIO.h"
#include "host/dxf/DxfTagWriter.h"

namespace {

// The database's view of DxfObjectIO.
class DxfObjectBuilder : public AcDbObjectBuilder {
public:
    AcDbObject* build(AcDbDatabase& db, AcDbStub* stub) const override { return DxfObjectIO::build(db, stub); }
    const DxfTag* tagsFor(AcDbDatabase& db, AcDbStub* stub, std::vector<DxfTag>& out, size_t& count) const override
    {
        return DxfObjectIO::tagsFor(db, stub, out, count);
    }
    Text textFor(AcDbDatabase& db, AcDbStub* stub, std::vector<DxfTag>& scratch, std::string& out,
                 size_t& count) const override
    {
        // Most objects a command writes to are changed only in their owner
        // or not at all: their lines, not their tags, are what is written.
        switch (DxfObjectIO::linesAsRead(db, stub, out)) {
        case DxfObjectIO::LinesAsRead::kSameLines: return Text::kSameLines;
        case DxfObjectIO::LinesAsRead::kOwnerChanged: count = stub->tagCount; return Text::kWritten;
        case DxfObjectIO::LinesAsRead::kOther: break;
        }
        const DxfTag* t = DxfObjectIO::tagsFor(db, stub, scratch, count);
        for (size_t i = 0; i < count; ++i) {
            const std::string_view v = t[i].value();
            if (v.find('\n') != std::string_view::npos || (!v.empty() && v.back() == '\r'))
                return Text::kRefused;
        }
        out.clear();
        DxfTagWriter w(&out, db.data().crlf);
        w.write(t, count, db.data().splitSource(*stub));
        return Text::kWritten;
    }
    bool readAttribute(AcDbDatabase& db, const AcDbStub& stub, AcDbAttributeRecordRead& out) const override
    {
        return DxfObjectIO::readAttribute(db, stub, out);
    }
    bool readPolyline(AcDbDatabase& db, const AcDbStub& stub, AcDbPolyline& out) const override
    {
        return DxfObjectIO::readPolyline(db, stub, out);
    }
    void linesWithOwner(std::string_view lines, size_t ownerAt, size_t ownerLength, uint64_t owner,
                        std::string& out) const override
    {
        DxfObjectIO::linesWithOwner(lines, ownerAt, ownerLength, owner, out);
    }
    resbuf* xdataChain(const AcDbXDataApp& app, const AcDbDatabase* db) const override
    {
        return DxfObjectIO::xdataChain(app, db);
    }
};

// Registers the format when the host library is loaded (static builds link
// the host archive whole, see fuzz/build.sh).
[[maybe_unused]] const bool kRegistered = (AcDbFileFormat::registerFormat(&DxfFileFormat::instance()), true);

}  // namespace

const DxfFileFormat& DxfFileFormat::instance()
{
    static const DxfFileFormat format;
    return format;
}

const AcDbObjectBuilder& DxfFileFormat::builder() const
{
    static const DxfObjectBuilder builder;
    return builder;
}

std::string DxfFileFormat::newDrawingText() const { return DxfDefaultDrawing::text(); }

Acad::ErrorStatus DxfFileFormat::read(AcDbDatabase& db, std::string& message, size_t& line) const
{
    DxfReadResult r = DxfFileReader(db).read();
    message = std::move(r.message);
    line = r.line;
    return r.status;
}

void DxfFileFormat::writeText(AcDbDatabase& db, std::string& out, bool crlf) const
{
    DxfTagWriter w(&out, crlf);
    DxfFileWriter(db).write(w);
}

bool DxfFileFormat::writeFile(AcDbDatabase& db, int fd, bool crlf) const
{
    bool ok;
    int err;
    {
        DxfTagWriter w(fd, crlf);
        DxfFileWriter(db).write(w);
        ok = w.flush();
        err = errno;
    }
    errno = err;  // the writer's destructor must not hide why writing failed
    return ok;
}
