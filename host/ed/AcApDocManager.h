#pragma once
// The host's document manager: the open documents, the current one, their
// locks, and the resource stack modules push while their commands run.

#include <memory>
#include <string>
#include <vector>

#include "host/db/AcadErrorStatus.h"
#include "host/ed/AcApDocument.h"

class AcApDocManager {
public:
    AcApDocManager() = default;
    AcApDocManager(const AcApDocManager&) = delete;
    AcApDocManager& operator=(const AcApDocManager&) = delete;
    ~AcApDocManager();

    // The current document (the one commands work on), or null.
    AcApDocument* curDocument() const { return current_; }
    // The active document; the console host has one view, so it is the current one.
    AcApDocument* mdiActiveDocument() const { return current_; }
    // Makes a document current; eInvalidInput for a document not managed here.
    Acad::ErrorStatus setCurDocument(AcApDocument* document);
    int documentCount() const { return static_cast<int>(documents_.size()); }
    // The documents in the order they were opened.
    std::vector<AcApDocument*> documents() const;

    // Opens a DXF drawing as a new document and makes it current (its
    // database becomes the working database), taking the drawing's file lock;
    // when another running session holds it, the document is read-only
    // (isReadOnly(), readOnlyHolder()). Temporary files that killed saves
    // left next to the drawing are removed, each named in lastOpenNotes().
    // On failure returns the database's status (eFileNotFound,
    // eDwgNotSupported, eBadDxfSequence ...) and lastOpenError() names the
    // file and, for a damaged file, the line.
    Acad::ErrorStatus appContextOpenDocument(const char* path);
    const std::vector<std::string>& lastOpenNotes() const { return lastOpenNotes_; }
    // Starts a new, unnamed drawing as the current document.
    Acad::ErrorStatus appContextNewDocument(const char* templateName = nullptr);
    const std::string& lastOpenError() const { return lastOpenError_; }
    // True when path (the document's own file when null or empty) is the
    // document's own file and it changed on disk since the document read or
    // last wrote it: another program or session saved over it meanwhile.
    bool changedOnDisk(const AcApDocument* document, const char* path = nullptr) const;
    // Writes a document's drawing to path (its own file when path is null or
    // empty), atomically, keeping the previous file as .bak; the document then
    // carries that file name, holds its lock and has no unsaved changes.
    // eNotApplicable for a new drawing without path. eFileAccessErr, with
    // lastSaveError() saying why and what to do and nothing written, when
    // the document is read-only and path is its own file, when another
    // running session holds the lock of path, when the own file changed on
    // disk and replaceChangedFile is false, and when the file cannot be
    // replaced (read-only, a .bak that cannot be made).
    Acad::ErrorStatus saveDocument(AcApDocument* document, const char* path = nullptr,
                                   bool replaceChangedFile = false);
    const std::string& lastSaveError() const { return lastSaveError_; }
    // Closes the active document without saving its changes; eNotApplicable when none is open.
    Acad::ErrorStatus closeActiveDocumentWithoutSaving();

    // Takes over a document and makes it current.
    // Returns the document.
    AcApDocument* appendDocument(std::unique_ptr<AcApDocument> document);
    // Destroys the document; eInvalidInput for an
    // unknown document, eLockViolation while it is locked. The current
    // document becomes the last remaining one.
    Acad::ErrorStatus closeDocument(AcApDocument* document);

    // Locks a document (the current one when null). Locks nest: each
    // successful call must be matched by unlockDocument. eNoDocument (as
    // eNotApplicable) without a document; eLockViolation for a write lock
    // over another mode's lock.
    Acad::ErrorStatus lockDocument(AcApDocument* document, AcAp::DocLockMode mode = AcAp::kWrite,
                                   const char* globalCommandName = nullptr, const char* localCommandName = nullptr,
                                   bool prompt = true);
    // Releases one level of a document's lock; eNotApplicable when it is not locked.
    Acad::ErrorStatus unlockDocument(AcApDocument* document);

    // Makes a module's resources current for a command and restores them.
    // popResourceHandle returns false when nothing was pushed.
    void pushResourceHandle(void* resourceHandle);
    bool popResourceHandle();
    int resourceDepth() const { return static_cast<int>(resources_.size()); }

private:
    std::vector<std::unique_ptr<AcApDocument>> documents_;
    AcApDocument* current_ = nullptr;
    std::vector<void*> resources_;
    std::string lastOpenError_;
    std::vector<std::string> lastOpenNotes_;
    std::string lastSaveError_;
};

// The host's document manager.
AcApDocManager* acDocManagerPtr();
#define acDocManager acDocManagerPtr()
