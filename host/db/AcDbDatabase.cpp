#include "host/db/AcDbDatabase.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbDatabaseData.h"
#include "host/db/AcDbDictionary.h"
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbFileFormat.h"
#include "host/db/AcDbLayerTable.h"
#include "host/db/AcDbLinetypeTable.h"
#include "host/db/AcDbObjectBuilder.h"
#include "host/db/AcDbObjectKind.h"
#include "host/db/AcDbOpen.h"
#include "host/db/AcDbRegAppTable.h"
#include "host/db/AcDbTableStyle.h"
#include "host/db/AcDbTextStyleTable.h"
#include "host/db/AcDbUndoRecord.h"
#include "host/db/SafeFileReplace.h"

AcDbDatabase::AcDbDatabase(bool buildDefaultDrawing, bool) : d_(std::make_unique<AcDbDatabaseData>())
{
    const AcDbFileFormat* format = AcDbFileFormat::registered();
    if (buildDefaultDrawing && format) {
        readDxfText(format->newDrawingText(), "<new drawing>");
        d_->fileName.clear();
    }
}

AcDbDatabase::~AcDbDatabase() { clear(); }

void AcDbDatabase::clear()
{
    for (AcDbStub& s : d_->stubs)
        delete s.object;
    d_ = std::make_unique<AcDbDatabaseData>();
}

Acad::ErrorStatus AcDbDatabase::fail(Acad::ErrorStatus status, std::string message, size_t line)
{
    lastError_ = std::move(message);
    lastErrorLine_ = line;
    return status;
}

namespace {

const char* const kNoFormat = "no drawing file format is available: the host library was loaded without its DXF code";

}  // namespace

AcDbDatabaseData::~AcDbDatabaseData()
{
    if (mapped)
        ::munmap(mapped, mappedSize);
}

void AcDbDatabaseData::releaseMappedPages() const
{
    mappedReadSinceRelease = 0;
    // Only ever the file mapping: on other memory this would drop its contents.
    if (mapped)
        ::madvise(mapped, mappedSize, MADV_DONTNEED);
}

const DxfCodepage& AcDbDatabaseData::codepage() const
{
    // Made again only when the header's version or code page has changed
    // since; the version is compared as it stands, not ordered, so the
    // usual call is two short equal compares.
    if (!codepage_ || codepageVersion_ != header.acadver || codepageName_ != header.codepage) {
        codepage_ = std::make_unique<DxfCodepage>(header.acadver >= "AC1021", header.codepage);
        codepageVersion_ = header.acadver;
        codepageName_ = header.codepage;
    }
    return *codepage_;
}

Acad::ErrorStatus AcDbDatabase::readDxfFile(const char* path)
{
    std::string name = path ? path : "";
    int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return fail(errno == ENOENT ? Acad::eFileNotFound : Acad::eFileAccessErr,
                    name + ": cannot open the file: " + std::strerror(errno));
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return fail(Acad::eFileAccessErr, name + ": not a regular file");
    }
    // The file is mapped, not copied: tags point straight into it. Saving
    // replaces a file by renaming, so the mapped old version stays intact.
    void* map = st.st_size > 0 ? ::mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0) : MAP_FAILED;
    ::close(fd);
    if (map == MAP_FAILED)
        return readDxfText(std::string(), name.c_str());
    ::madvise(map, static_cast<size_t>(st.st_size), MADV_SEQUENTIAL);
    clear();
    d_->mapped = map;
    d_->mappedSize = static_cast<size_t>(st.st_size);
    d_->text = std::string_view(static_cast<const char*>(map), d_->mappedSize);
    return load(name.c_str());
}

Acad::ErrorStatus AcDbDatabase::readDxfText(std::string text, const char* name)
{
    clear();
    d_->buffer = std::move(text);
    d_->text = d_->buffer;
    return load(name);
}

Acad::ErrorStatus AcDbDatabase::load(const char* name)
{
    lastError_.clear();
    lastErrorLine_ = 0;
    d_->fileName = name ? name : "";
    const AcDbFileFormat* format = AcDbFileFormat::registered();
    if (!format)
        return fail(Acad::eNotImplementedYet, d_->fileName + ": " + kNoFormat);
    std::string message;
    size_t line = 0;
    const Acad::ErrorStatus status = format->read(*this, message, line);
    if (status != Acad::eOk) {
        std::string file = d_->fileName;
        clear();
        d_->fileName = file;
        return fail(status, message, line);
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::writeDxfText(std::string& out)
{
    out.clear();
    const AcDbFileFormat* format = AcDbFileFormat::registered();
    if (!format)
        return fail(Acad::eNotImplementedYet, kNoFormat);
    format->writeText(*this, out, d_->crlf);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::dxfOut(const char* path)
{
    if (!path || !*path)
        return fail(Acad::eInvalidInput, "no file name given for saving");
    const AcDbFileFormat* format = AcDbFileFormat::registered();
    if (!format)
        return fail(Acad::eNotImplementedYet, std::string(path) + ": " + kNoFormat);
    SafeFileReplace file(path);
    if (!file.open())
        return fail(file.status(), file.error());
    bool ok;
    int err = 0;
    ok = format->writeFile(*this, file.fd(), d_->crlf);
    err = errno;
    if (!ok)
        return fail(Acad::eFileSystemErr, std::string(path) + ": writing failed: " + std::strerror(err));
    if (!file.commit())
        return fail(file.status(), file.error());
    d_->fileName = path;
    lastError_.clear();
    return Acad::eOk;
}

const std::vector<std::string>& AcDbDatabase::readNotices() const { return d_->notices; }

const char* AcDbDatabase::filename() const { return d_->fileName.c_str(); }

uint64_t AcDbDatabase::changeCount() const { return d_->changes; }

void AcDbDatabase::noteChange() { ++d_->changes; }

AcDbStub* AcDbDatabase::newStub(uint64_t handle)
{
    AcDbStub& s = d_->stubs.emplace_back();
    s.database = this;
    s.handle = handle;
    if (handle != 0) {
        if (!d_->byHandle.insertNew(&s)) {
            d_->stubs.pop_back();
            return nullptr;
        }
        if (handle >= d_->header.handseed)
            d_->header.handseed = handle + 1;
    }
    if (d_->undo)
        d_->undo->noteNew(&s);
    return &s;
}

namespace {

// How many closed objects stay built: those closed last, so that an object
// opened again soon after (as a command reads a block and then writes it)
// is not built again, and so that a caller's pointer stays usable a little
// past a close. Older ones are freed. A few hundred cover the dozen or so
// objects a command opens for one block many times over, and stay in the
// processor's cache: freeing an object written out thousands of closes
// earlier reads it back from memory first, and with 4,096 kept the whole
// space-block job on a 50,000-room plan took some 5 % more time.
// ZELKA_CLOSED_OBJECTS_BUILT sets another number: the sanitizer run sets 1,
// so that a use of an object after its close is caught at once rather than
// hundreds of closes later.
size_t closedObjectsBuilt()
{
    static const size_t kept = [] {
        const char* env = std::getenv("ZELKA_CLOSED_OBJECTS_BUILT");
        const long n = env ? std::strtol(env, nullptr, 10) : 0;
        return n > 0 ? static_cast<size_t>(n) : size_t{256};
    }();
    return kept;
}

}  // namespace

// The kinds whose objects are freed once closed: entities that are all
// their tags, which other objects reach only through their stubs. Tables,
// block records and dictionaries keep what they hold besides their tags,
// and the entities of old-style polylines are reached through their
// polyline, so they stay built.
bool acdbFreedWhenClosed(const AcDbStub& stub)
{
    switch (static_cast<AcDbObjectKind>(stub.kind)) {
    case AcDbObjectKind::BlockReference:
    case AcDbObjectKind::Attribute:
    case AcDbObjectKind::Text:
    case AcDbObjectKind::MText:
    case AcDbObjectKind::Polyline:
    case AcDbObjectKind::Circle:
    case AcDbObjectKind::Arc:
    case AcDbObjectKind::Line:
    case AcDbObjectKind::Ellipse:
    case AcDbObjectKind::Spline:
    case AcDbObjectKind::Hatch: return true;
    default: return false;
    }
}

// A large drawing opened object by object would otherwise keep every object
// a command ever opened built until the drawing is closed, several times
// the memory of its lines. So an object of a kind acdbFreedWhenClosed read
// from a file is freed a while after its last close (see closedObjectsBuilt),
// unless it was handed out again since: open, or reached by the host's own
// code through objectOf, which may still hold it. An unchanged object is
// built again from its lines when next opened; a changed one is first
// written out as the lines saving would write, which then stand for it
// (AcDbStub::textWritten): saving copies them, undo keeps them as the state
// to go back to, and opening builds the object from them.
void AcDbDatabase::noteClosed(AcDbStub* stub)
{
    if (stub->tagCount == 0 || !acdbFreedWhenClosed(*stub))
        return;
    std::deque<AcDbDatabaseData::ClosedObject>& closed = d_->closedObjects;
    // The oldest goes as each new one comes: the memory it frees is then
    // what the next object built takes, still in the cache.
    while (closed.size() >= closedObjectsBuilt()) {
        const AcDbDatabaseData::ClosedObject old = closed.front();
        closed.pop_front();
        release(old.stub, old.lastUse);
    }
    if (stub->object)
        closed.push_back({stub, stub->object->lastUse_});
}

void AcDbDatabase::release(AcDbStub* stub, uint64_t lastUse)
{
    AcDbObject* o = stub->object;
    if (!o || o->lastUse_ != lastUse || o->isReadEnabled())
        return;
    if (o->isModified()) {
        const AcDbFileFormat* format = AcDbFileFormat::registered();
        std::string& text = d_->releaseText;
        size_t count = 0;
        using Text = AcDbObjectBuilder::Text;
        const Text written =
            format ? format->builder().textFor(*this, stub, d_->releaseTags, text, count) : Text::kRefused;
        if (written == Text::kRefused || (written == Text::kWritten && count == 0))
            return;
        // With kSameLines the stub's lines stand for the object as they are.
        if (written == Text::kWritten)
            d_->takeWrittenLines(*stub, text, count);
    }
    stub->object = nullptr;
    delete o;
}

AcDbObject* AcDbDatabase::objectOf(AcDbStub* stub)
{
    if (!stub)
        return nullptr;
    if (!stub->object) {
        const AcDbFileFormat* format = AcDbFileFormat::registered();
        if (!format)
            return nullptr;
        stub->object = format->builder().build(*this, stub);
    }
    if (stub->object)
        stub->object->lastUse_ = ++d_->uses;
    return stub->object;
}

Acad::ErrorStatus AcDbDatabase::openObject(AcDbObject*& obj, AcDbObjectId id, AcDb::OpenMode mode, bool openErased)
{
    obj = nullptr;
    AcDbStub* stub = id.stub();
    if (!stub)
        return Acad::eNullObjectId;
    if (stub->erased && !openErased)
        return Acad::eWasErased;
    AcDbObject* o = objectOf(stub);
    if (!o)
        return Acad::eUnknownHandle;
    if (mode == AcDb::kForWrite) {
        if (o->writer_)
            return Acad::eWasOpenForWrite;
        if (o->readers_ > 0)
            return Acad::eWasOpenForRead;
        Acad::ErrorStatus es = o->checkWriteOpen();
        if (es != Acad::eOk)
            return es;
        noteWrite(stub);
        o->writer_ = true;
    } else {
        if (o->writer_)
            return Acad::eWasOpenForWrite;
        ++o->readers_;
    }
    obj = o;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::attach(AcDbObject* object, AcDbObjectId owner, bool isEntity)
{
    if (!object)
        return Acad::eInvalidInput;
    if (object->stub_)
        return Acad::eAlreadyInDb;
    // The owner takes the new object in, and the object lists may grow.
    noteWrite(owner.stub());
    noteListsChange();
    AcDbStub* s = newStub(d_->header.handseed);
    s->object = object;
    s->isEntity = isEntity;
    s->kind = static_cast<uint8_t>(object->kind());
    d_->noteKind(*s);
    s->owner = owner.stub();
    object->stub_ = s;
    object->owner_ = owner;
    object->writer_ = true;
    object->modified_ = true;
    object->contentModified_ = true;
    ++d_->changes;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::getAcDbObjectId(AcDbObjectId& id, bool createIfNotFound, const AcDbHandle& handle,
                                                uint32_t)
{
    id.setNull();
    if (handle.isNull())
        return Acad::eNullHandle;
    if (AcDbStub* found = d_->byHandle.find(handle.value())) {
        id = AcDbObjectId(found);
        return Acad::eOk;
    }
    if (!createIfNotFound)
        return Acad::eUnknownHandle;
    id = AcDbObjectId(newStub(handle.value()));
    id.stub()->erased = true;  // reserved: no object until one is read or added under it
    return Acad::eOk;
}

AcDbObjectId AcDbDatabase::blockTableId() const { return AcDbObjectId(d_->blockTable); }
AcDbObjectId AcDbDatabase::layerTableId() const { return AcDbObjectId(d_->layerTable); }
AcDbObjectId AcDbDatabase::linetypeTableId() const { return AcDbObjectId(d_->linetypeTable); }
AcDbObjectId AcDbDatabase::textStyleTableId() const { return AcDbObjectId(d_->textStyleTable); }
AcDbObjectId AcDbDatabase::regAppTableId() const { return AcDbObjectId(d_->regAppTable); }
AcDbObjectId AcDbDatabase::namedObjectsDictionaryId() const { return AcDbObjectId(d_->namedObjects); }
AcDbObjectId AcDbDatabase::modelSpaceId() const { return AcDbObjectId(d_->modelSpace); }
AcDbObjectId AcDbDatabase::paperSpaceId() const { return AcDbObjectId(d_->paperSpace); }

std::vector<AcDbObjectId> AcDbDatabase::spaceIds() const
{
    std::vector<AcDbObjectId> ids;
    for (AcDbStub* s : {d_->modelSpace, d_->paperSpace})
        if (s && !s->erased)
            ids.emplace_back(s);
    if (!d_->blockTable)
        return ids;
    auto& self = const_cast<AcDbDatabase&>(*this);
    auto* table = static_cast<AcDbBlockTable*>(self.objectOf(d_->blockTable));
    for (const AcDbObjectId& id : table->recordIds()) {
        AcDbStub* s = id.stub();
        if (s == d_->modelSpace || s == d_->paperSpace)
            continue;
        auto* record = static_cast<AcDbBlockTableRecord*>(self.objectOf(s));
        if (record && record->isLayout())
            ids.push_back(id);
    }
    return ids;
}

AcDbObjectId AcDbDatabase::tableStyleDictionaryId() const
{
    auto& self = const_cast<AcDbDatabase&>(*this);
    AcDbTableStyle::standardStyleId(self);
    return AcDbTableStyle::dictionaryId(self);
}

AcDbObjectId AcDbDatabase::layoutDictionaryId() const
{
    auto* nod = static_cast<AcDbDictionary*>(const_cast<AcDbDatabase*>(this)->objectOf(d_->namedObjects));
    AcDbObjectId id;
    if (nod && nod->kind() == AcDbObjectKind::Dictionary)
        nod->getAt("ACAD_LAYOUT", id);
    return id;
}

template <class T>
static Acad::ErrorStatus openAs(AcDbStub* stub, T*& out, AcDb::OpenMode mode)
{
    out = nullptr;
    if (!stub)
        return Acad::eNullObjectId;
    return acdbOpenObject(out, AcDbObjectId(stub), mode);
}

Acad::ErrorStatus AcDbDatabase::getBlockTable(AcDbBlockTable*& t, AcDb::OpenMode m) { return openAs(d_->blockTable, t, m); }
Acad::ErrorStatus AcDbDatabase::getLayerTable(AcDbLayerTable*& t, AcDb::OpenMode m) { return openAs(d_->layerTable, t, m); }
Acad::ErrorStatus AcDbDatabase::getLinetypeTable(AcDbLinetypeTable*& t, AcDb::OpenMode m) { return openAs(d_->linetypeTable, t, m); }
Acad::ErrorStatus AcDbDatabase::getTextStyleTable(AcDbTextStyleTable*& t, AcDb::OpenMode m) { return openAs(d_->textStyleTable, t, m); }
Acad::ErrorStatus AcDbDatabase::getRegAppTable(AcDbRegAppTable*& t, AcDb::OpenMode m) { return openAs(d_->regAppTable, t, m); }
Acad::ErrorStatus AcDbDatabase::getNamedObjectsDictionary(AcDbDictionary*& d, AcDb::OpenMode m) { return openAs(d_->namedObjects, d, m); }

Acad::ErrorStatus AcDbDatabase::addAcDbObject(AcDbObjectId& id, AcDbObject* object)
{
    id.setNull();
    if (object && dynamic_cast<AcDbEntity*>(object))
        return Acad::eInvalidInput;
    Acad::ErrorStatus es = attach(object, AcDbObjectId::kNull, false);
    if (es != Acad::eOk)
        return es;
    d_->objects.push_back(object->stub_);
    id = object->objectId();
    return Acad::eOk;
}

int16_t AcDbDatabase::lunits() const { return static_cast<int16_t>(d_->header.lunits); }
Acad::ErrorStatus AcDbDatabase::setLunits(int16_t v)
{
    if (v < 1 || v > 5)
        return Acad::eInvalidInput;
    d_->header.lunits = v;
    ++d_->changes;
    return Acad::eOk;
}
AcDb::UnitsValue AcDbDatabase::insunits() const { return static_cast<AcDb::UnitsValue>(d_->header.insunits); }
Acad::ErrorStatus AcDbDatabase::setInsunits(AcDb::UnitsValue v)
{
    if (v < 0 || v > 24)
        return Acad::eInvalidInput;
    d_->header.insunits = v;
    ++d_->changes;
    return Acad::eOk;
}

double AcDbDatabase::ltscale() const { return d_->header.ltscale; }
Acad::ErrorStatus AcDbDatabase::setLtscale(double v)
{
    if (!(v > 0.0) || !std::isfinite(v))
        return Acad::eInvalidInput;
    d_->header.ltscale = v;
    ++d_->changes;
    return Acad::eOk;
}

double AcDbDatabase::celtscale() const { return d_->header.celtscale; }
Acad::ErrorStatus AcDbDatabase::setCeltscale(double v)
{
    if (!(v > 0.0) || !std::isfinite(v))
        return Acad::eInvalidInput;
    d_->header.celtscale = v;
    ++d_->changes;
    return Acad::eOk;
}

bool AcDbDatabase::tilemode() const { return d_->header.tilemode != 0; }
Acad::ErrorStatus AcDbDatabase::setTilemode(bool modelSpaceCurrent)
{
    d_->header.tilemode = modelSpaceCurrent ? 1 : 0;
    ++d_->changes;
    return Acad::eOk;
}

int16_t AcDbDatabase::sortEnts() const { return static_cast<int16_t>(d_->header.sortents); }
Acad::ErrorStatus AcDbDatabase::setSortEnts(int16_t v)
{
    if (v < 0 || v > 127)
        return Acad::eInvalidInput;
    d_->header.sortents = v;
    ++d_->changes;
    return Acad::eOk;
}
AcGePoint3d AcDbDatabase::ucsorg() const { return d_->header.ucsorg; }
AcGeVector3d AcDbDatabase::ucsxdir() const { return d_->header.ucsxdir; }
AcGeVector3d AcDbDatabase::ucsydir() const { return d_->header.ucsydir; }
Acad::ErrorStatus AcDbDatabase::setUcs(const AcGePoint3d& origin, const AcGeVector3d& x, const AcGeVector3d& y)
{
    AcGeVector3d z = x.crossProduct(y);
    if (x.length() < 1e-12 || y.length() < 1e-12 || z.length() < 1e-12)
        return Acad::eInvalidInput;
    d_->header.ucsorg = origin;
    d_->header.ucsxdir = x.normal();
    d_->header.ucsydir = z.crossProduct(x).normal();
    ++d_->changes;
    return Acad::eOk;
}
AcGePoint3d AcDbDatabase::extmin() const { return d_->header.extmin; }
AcGePoint3d AcDbDatabase::extmax() const { return d_->header.extmax; }
void AcDbDatabase::setExtmin(const AcGePoint3d& p) { d_->header.extmin = p; }
void AcDbDatabase::setExtmax(const AcGePoint3d& p) { d_->header.extmax = p; }
const char* AcDbDatabase::acadver() const { return d_->header.acadver.c_str(); }
const char* AcDbDatabase::dwgCodepage() const { return d_->header.codepage.c_str(); }
AcDbHandle AcDbDatabase::handseed() const { return AcDbHandle(d_->header.handseed); }

AcDbObjectId AcDbDatabase::clayer() const
{
    auto* table = static_cast<AcDbLayerTable*>(const_cast<AcDbDatabase*>(this)->objectOf(d_->layerTable));
    AcDbObjectId id;
    if (table && table->getAt(d_->header.clayer.c_str(), id) != Acad::eOk)
        table->getAt("0", id);
    return id;
}

Acad::ErrorStatus AcDbDatabase::setClayer(AcDbObjectId id)
{
    AcDbStub* s = id.stub();
    if (!s || s->database != this || s->erased || s->kind != static_cast<uint8_t>(AcDbObjectKind::LayerTableRecord))
        return Acad::eInvalidInput;
    auto* rec = static_cast<AcDbSymbolTableRecord*>(objectOf(s));
    d_->header.clayer = rec->name();
    ++d_->changes;
    return Acad::eOk;
}
