#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/db/AcDb.h"
#include "host/db/AcDbObjectId.h"
#include "host/db/AcadErrorStatus.h"
#include "host/ge/AcGePoint3d.h"
#include "host/ge/AcGeVector3d.h"

class AcDbObject;
class AcDbBlockTable;
class AcDbLayerTable;
class AcDbLinetypeTable;
class AcDbTextStyleTable;
class AcDbRegAppTable;
class AcDbDictionary;
struct AcDbDatabaseData;

// A drawing: its objects by id and by handle, its tables, dictionaries and
// header variables, read from and written to DXF files without loss. The
// database owns every object added to it and frees them with itself.
class AcDbDatabase {
public:
    // buildDefaultDrawing: start with the minimal drawing (tables, model and
    // paper space, layouts, dictionaries) instead of nothing; an empty
    // database is only good for readDxfFile. noDocument is accepted for
    // callers written against that signature: a database never has a document.
    explicit AcDbDatabase(bool buildDefaultDrawing = true, bool noDocument = false);
    ~AcDbDatabase();
    AcDbDatabase(const AcDbDatabase&) = delete;
    AcDbDatabase& operator=(const AcDbDatabase&) = delete;

    // Replaces the contents with the DXF file at path. On failure returns the
    // status (eFileNotFound, eDwgNotSupported, eBadDxfSequence, ...), keeps the
    // database empty, and lastError() names the file, line and what was expected.
    Acad::ErrorStatus readDxfFile(const char* path);
    // The same for DXF text in memory; name is used in messages.
    Acad::ErrorStatus readDxfText(std::string text, const char* name = "<memory>");
    // Message of the last failed read or write; "" after success.
    const std::string& lastError() const { return lastError_; }
    // File line of the last failed read; 0 when not about a line.
    size_t lastErrorLine() const { return lastErrorLine_; }
    // What the last successful read repaired or upgraded ("INSERT 2A had no
    // SEQEND; one was added"), one sentence each; a host shows them once.
    const std::vector<std::string>& readNotices() const;

    // Writes the drawing to path atomically and keeps a file already there
    // as path.bak (see SafeFileReplace: links followed, mode, owner and group
    // kept). eFileAccessErr, with lastError() saying why and nothing changed
    // on disk, for a read-only file, a .bak that cannot be made or a folder
    // that is not writable; eFileSystemErr when writing fails.
    Acad::ErrorStatus dxfOut(const char* path);
    Acad::ErrorStatus saveAs(const char* path) { return dxfOut(path); }
    // Writes the DXF text of the drawing into out.
    Acad::ErrorStatus writeDxfText(std::string& out);
    // Goes up with every change to an object (a setter, an erase, extended
    // data, a new object) or to a header value the database models; a
    // document compares it with its value at the last save to know whether
    // the drawing has unsaved changes.
    uint64_t changeCount() const;
    // Counts one change; the objects call it when they are modified.
    void noteChange();
    // The file last read or written; "" for a new drawing.
    const char* filename() const;

    // Id of the object with the handle. eUnknownHandle (13) when none has it,
    // unless createIfNotFound, which reserves an id for the handle.
    Acad::ErrorStatus getAcDbObjectId(AcDbObjectId& id, bool createIfNotFound, const AcDbHandle& handle,
                                      uint32_t xRefId = 0);

    AcDbObjectId blockTableId() const;
    AcDbObjectId layerTableId() const;
    AcDbObjectId linetypeTableId() const;
    AcDbObjectId textStyleTableId() const;
    AcDbObjectId regAppTableId() const;
    AcDbObjectId namedObjectsDictionaryId() const;
    // The ACAD_LAYOUT dictionary; null when the drawing has none.
    AcDbObjectId layoutDictionaryId() const;
    // The ACAD_TABLESTYLE dictionary, made with a "Standard" table style when
    // either is missing; null when the drawing has no named-objects dictionary.
    AcDbObjectId tableStyleDictionaryId() const;
    AcDbObjectId modelSpaceId() const;
    AcDbObjectId paperSpaceId() const;
    // The blocks whose entities make up the drawing: model space, the active
    // paper space ("*Paper_Space"), then the other layouts' paper spaces in
    // block-table order. Erased blocks are left out.
    std::vector<AcDbObjectId> spaceIds() const;
    // Model space (the database has no view state of its own).
    AcDbObjectId currentSpaceId() const { return modelSpaceId(); }

    // Open the tables and the named-objects dictionary; statuses as acdbOpenObject.
    Acad::ErrorStatus getBlockTable(AcDbBlockTable*& table, AcDb::OpenMode mode = AcDb::kForRead);
    Acad::ErrorStatus getLayerTable(AcDbLayerTable*& table, AcDb::OpenMode mode = AcDb::kForRead);
    Acad::ErrorStatus getLinetypeTable(AcDbLinetypeTable*& table, AcDb::OpenMode mode = AcDb::kForRead);
    Acad::ErrorStatus getTextStyleTable(AcDbTextStyleTable*& table, AcDb::OpenMode mode = AcDb::kForRead);
    Acad::ErrorStatus getRegAppTable(AcDbRegAppTable*& table, AcDb::OpenMode mode = AcDb::kForRead);
    Acad::ErrorStatus getNamedObjectsDictionary(AcDbDictionary*& dict, AcDb::OpenMode mode = AcDb::kForRead);

    // Adds an object (not an entity or record) to the OBJECTS section with a
    // fresh handle; the database owns it, the caller close()s it.
    // eAlreadyInDb when it is in a database, eInvalidInput for null.
    Acad::ErrorStatus addAcDbObject(AcDbObjectId& id, AcDbObject* object);

    // Header variables.
    int16_t lunits() const;
    Acad::ErrorStatus setLunits(int16_t value);
    // The global linetype scale ($LTSCALE): dash lengths are multiplied by it.
    double ltscale() const;
    // eInvalidInput unless scale > 0.
    Acad::ErrorStatus setLtscale(double scale);
    // The linetype scale entities take when setDatabaseDefaults is called ($CELTSCALE).
    double celtscale() const;
    // eInvalidInput unless scale > 0.
    Acad::ErrorStatus setCeltscale(double scale);
    AcDb::UnitsValue insunits() const;
    Acad::ErrorStatus setInsunits(AcDb::UnitsValue value);
    // $TILEMODE: true while model space is current (see AcDbLayoutManager).
    bool tilemode() const;
    // Sets $TILEMODE only; making a layout current is AcDbLayoutManager::setCurrentLayout. eOk.
    Acad::ErrorStatus setTilemode(bool modelSpaceCurrent);
    int16_t sortEnts() const;
    Acad::ErrorStatus setSortEnts(int16_t value);
    AcGePoint3d ucsorg() const;
    AcGeVector3d ucsxdir() const;
    AcGeVector3d ucsydir() const;
    // Sets the current UCS of model space; eInvalidInput for parallel or zero axes.
    Acad::ErrorStatus setUcs(const AcGePoint3d& origin, const AcGeVector3d& xAxis, const AcGeVector3d& yAxis);
    AcGePoint3d extmin() const;
    AcGePoint3d extmax() const;
    void setExtmin(const AcGePoint3d& p);
    void setExtmax(const AcGePoint3d& p);
    // The current layer; the id of layer "0" when the named layer is missing.
    AcDbObjectId clayer() const;
    // eInvalidInput unless id is a layer of this database.
    Acad::ErrorStatus setClayer(AcDbObjectId layerId);
    // "AC1015" ... "AC1032".
    const char* acadver() const;
    // $DWGCODEPAGE, e.g. "ANSI_1252".
    const char* dwgCodepage() const;
    // The next handle a new object takes.
    AcDbHandle handseed() const;

    // Undo. While a record is open, the database keeps what changes (see
    // AcDbUndoRecord); the host opens one around every command.
    // Starts recording under a name; a record still open is ended first.
    void beginUndoRecord(const std::string& name);
    // Ends recording. A record of a change is kept for undo and empties the
    // redo list; returns true then. False when nothing changed or none was open.
    bool endUndoRecord();
    // Ends recording and puts back everything the record holds (a command
    // broken off); nothing is kept for redo. Every object is closed first.
    void cancelUndoRecord();
    // Undoes up to count kept records, newest first, keeping them for redo;
    // returns their names in the order undone.
    std::vector<std::string> undo(int count);
    // Redoes what the last undo took back (the undo before it when called
    // again); returns the names of the records redone, in order.
    std::vector<std::string> redo();
    size_t undoDepth() const;
    size_t redoDepth() const;
    // While a record is open: the object of the stub is about to change
    // (or be erased); the database's entity, object or block lists are about to change.
    void noteWrite(AcDbStub* stub);
    void noteListsChange();

    // Database internals, for the object classes and the DXF reader and writer.
    AcDbDatabaseData& data() { return *d_; }
    const AcDbDatabaseData& data() const { return *d_; }
    // The object of a stub, built from its tags on first use; null when it
    // cannot be built.
    AcDbObject* objectOf(AcDbStub* stub);
    // Opens an object; see acdbOpenObject.
    Acad::ErrorStatus openObject(AcDbObject*& object, AcDbObjectId id, AcDb::OpenMode mode, bool openErased);
    // Gives a new object a stub, a fresh handle and an owner, and opens it
    // for write. eAlreadyInDb / eInvalidInput as addAcDbObject.
    Acad::ErrorStatus attach(AcDbObject* object, AcDbObjectId owner, bool isEntity);
    // A stub for a handle read from a file (or reserved); null for a handle in use.
    AcDbStub* newStub(uint64_t handle);
    // The object of the stub was closed by its last open. See AcDbDatabase.cpp.
    void noteClosed(AcDbStub* stub);

private:
    void clear();
    // Frees the object of a stub in closedObjects when it was not handed
    // out since it was closed (it was last handed out at lastUse).
    void release(AcDbStub* stub, uint64_t lastUse);
    // Reads the file image in data().text into the database.
    Acad::ErrorStatus load(const char* name);
    Acad::ErrorStatus fail(Acad::ErrorStatus status, std::string message, size_t line = 0);

    std::unique_ptr<AcDbDatabaseData> d_;
    std::string lastError_;
    size_t lastErrorLine_ = 0;
};
