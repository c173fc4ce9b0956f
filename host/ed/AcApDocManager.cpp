#include "host/ed/AcApDocManager.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbExtents.h"
#include "host/db/AcDbOpen.h"
#include "host/db/SafeFileReplace.h"
#include "host/ed/DrawingFileLock.h"

AcApDocument::AcApDocument(std::string fileName, std::shared_ptr<AcDbDatabase> database)
    : fileName_(std::move(fileName)), database_(std::move(database))
{
}

AcApDocument::~AcApDocument() = default;

bool AcApDocument::isModified() const { return database_ && database_->changeCount() != savedChanges_; }

namespace {

AcApFileStamp stampOf(const std::string& path)
{
    AcApFileStamp stamp;
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0) return stamp;
    stamp.known = true;
    stamp.device = static_cast<uint64_t>(st.st_dev);
    stamp.inode = static_cast<uint64_t>(st.st_ino);
    stamp.size = static_cast<int64_t>(st.st_size);
    stamp.modifiedSeconds = static_cast<int64_t>(st.st_mtim.tv_sec);
    stamp.modifiedNanoseconds = static_cast<int64_t>(st.st_mtim.tv_nsec);
    return stamp;
}

// The file a path names, links followed, as an absolute path, so that two
// names of one file compare equal.
std::string realFile(const std::string& path)
{
    std::string real, error;
    if (!SafeFileReplace::resolve(path, real, error)) real = path;
    std::error_code ec;
    std::filesystem::path full = std::filesystem::weakly_canonical(std::filesystem::absolute(real, ec), ec);
    return ec ? real : full.string();
}

bool isOwnFile(const AcApDocument& document, const std::string& target)
{
    return !document.fileName().empty() && realFile(target) == realFile(document.fileName());
}

AcDbExtents modelSpaceExtents(AcDbDatabase& database)
{
    AcDbExtents extents;
    AcDbBlockTableRecord* space = nullptr;
    if (acdbOpenObject(space, database.modelSpaceId(), AcDb::kForRead) != Acad::eOk) return extents;
    std::vector<AcDbObjectId> ids = space->entityIds();
    space->close();
    for (const AcDbObjectId& id : ids) {
        AcDbEntity* entity = nullptr;
        if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk) continue;
        AcDbExtents one;
        if (entity->getGeomExtents(one) == Acad::eOk) extents.addExt(one);
        entity->close();
    }
    return extents;
}

}  // namespace

void AcApDocument::resolve(AcApView& view) const
{
    if (!view.showsExtents) return;
    view = AcApView();
    if (!database_) return;
    AcDbExtents extents = modelSpaceExtents(*database_);
    if (!extents.isValid()) {
        AcGePoint3d low = database_->extmin();
        AcGePoint3d high = database_->extmax();
        if (low.x <= high.x && low.y <= high.y) extents.set(low, high);
    }
    if (!extents.isValid()) return;
    // A margin of 1% of the larger side keeps the outermost lines off the edge.
    double width = extents.maxPoint().x - extents.minPoint().x;
    double height = extents.maxPoint().y - extents.minPoint().y;
    double margin = std::max(std::max(width, height) * 0.01, 1e-6);
    view.lowerLeft.set(extents.minPoint().x - margin, extents.minPoint().y - margin, 0.0);
    view.upperRight.set(extents.maxPoint().x + margin, extents.maxPoint().y + margin, 0.0);
}

const AcApView& AcApDocument::view() const
{
    resolve(view_);
    return view_;
}

const std::vector<AcApView>& AcApDocument::previousViews() const
{
    for (AcApView& earlier : previousViews_) resolve(earlier);
    return previousViews_;
}

void AcApDocument::setView(const AcApView& view)
{
    previousViews_.push_back(view_);
    if (previousViews_.size() > 10) previousViews_.erase(previousViews_.begin());
    view_ = view;
}

bool AcApDocument::restorePreviousView()
{
    if (previousViews_.empty()) return false;
    view_ = previousViews_.back();
    previousViews_.pop_back();
    return true;
}

AcApDocManager::~AcApDocManager() = default;

Acad::ErrorStatus AcApDocManager::setCurDocument(AcApDocument* document)
{
    auto found = std::find_if(documents_.begin(), documents_.end(), [&](const auto& d) { return d.get() == document; });
    if (found == documents_.end()) return Acad::eInvalidInput;
    current_ = document;
    acdbSetWorkingDatabase(document->database());
    return Acad::eOk;
}

std::vector<AcApDocument*> AcApDocManager::documents() const
{
    std::vector<AcApDocument*> all;
    for (const auto& document : documents_) all.push_back(document.get());
    return all;
}

AcApDocument* AcApDocManager::appendDocument(std::unique_ptr<AcApDocument> document)
{
    AcApDocument* added = document.get();
    documents_.push_back(std::move(document));
    setCurDocument(added);
    return added;
}

Acad::ErrorStatus AcApDocManager::closeDocument(AcApDocument* document)
{
    auto found = std::find_if(documents_.begin(), documents_.end(), [&](const auto& d) { return d.get() == document; });
    if (found == documents_.end()) return Acad::eInvalidInput;
    if (document->lockCount_ > 0) return Acad::eLockViolation;
    if (acdbWorkingDatabase() == document->database()) acdbSetWorkingDatabase(nullptr);
    documents_.erase(found);
    current_ = nullptr;
    if (!documents_.empty()) setCurDocument(documents_.back().get());
    return Acad::eOk;
}

Acad::ErrorStatus AcApDocManager::appContextOpenDocument(const char* path)
{
    lastOpenError_.clear();
    if (!path || !*path) {
        lastOpenError_ = "no drawing file given";
        return Acad::eInvalidInput;
    }
    lastOpenNotes_.clear();
    for (const std::string& stale : SafeFileReplace::removeStaleTemporaries(realFile(path))) {
        lastOpenNotes_.push_back("removed " + stale + ", left by a save that was interrupted");
    }
    // The file is looked at before it is read: a change while it is read
    // then shows as a change on disk when saving.
    AcApFileStamp stamp = stampOf(path);
    auto database = std::make_shared<AcDbDatabase>(false);
    Acad::ErrorStatus status = database->readDxfFile(path);
    if (status != Acad::eOk) {
        lastOpenError_ = database->lastError();
        if (lastOpenError_.empty()) lastOpenError_ = std::string(path) + ": " + acadErrorStatusText(status);
        return status;
    }
    auto document = std::make_unique<AcApDocument>(path, std::move(database));
    document->fileStamp_ = stamp;
    document->savedChanges_ = document->database()->changeCount();
    document->fileLock_ = std::make_unique<DrawingFileLock>();
    if (document->fileLock_->acquire(path) == DrawingFileLock::Outcome::HeldByOther) {
        document->readOnly_ = true;
        document->readOnlyHolder_ = DrawingFileLock::describe(document->fileLock_->holder());
    } else if (document->fileLock_->tookOver()) {
        lastOpenNotes_.push_back("took over the lock of " + std::string(path) + " that " +
                                 DrawingFileLock::describe(document->fileLock_->staleHolder()) +
                                 " left; that process no longer runs");
    }
    appendDocument(std::move(document));
    return Acad::eOk;
}

Acad::ErrorStatus AcApDocManager::appContextNewDocument(const char*)
{
    lastOpenError_.clear();
    AcApDocument* document = appendDocument(std::make_unique<AcApDocument>("", std::make_shared<AcDbDatabase>(true)));
    document->savedChanges_ = document->database()->changeCount();
    return Acad::eOk;
}

bool AcApDocManager::changedOnDisk(const AcApDocument* document, const char* path) const
{
    if (!document) document = current_;
    if (!document || !document->fileStamp_.known) return false;
    std::string target = path && *path ? path : document->fileName();
    if (!isOwnFile(*document, target)) return false;
    AcApFileStamp now = stampOf(target);
    // A file that is gone holds nothing to lose.
    return now.known && !(now == document->fileStamp_);
}

Acad::ErrorStatus AcApDocManager::saveDocument(AcApDocument* document, const char* path, bool replaceChangedFile)
{
    lastSaveError_.clear();
    if (!document) document = current_;
    if (!document || !document->database()) return Acad::eNotApplicable;
    std::string target = path && *path ? path : document->fileName();
    if (target.empty()) {
        lastSaveError_ = "the drawing has no file name yet; save it under a name";
        return Acad::eNotApplicable;
    }
    const bool own = isOwnFile(*document, target);
    if (own && document->readOnly_) {
        lastSaveError_ = target + " is open read-only: " + document->readOnlyHolder_ +
                         " has it open. Save the drawing under another name (--save-as FILE, or SAVEAS)";
        return Acad::eFileAccessErr;
    }
    DrawingFileLock::Holder holder;
    if (!own && DrawingFileLock::heldBySession(target, holder)) {
        lastSaveError_ = target + " is open in another session: " + DrawingFileLock::describe(holder) +
                         " has it open (lock file " + DrawingFileLock::lockPathOf(target) +
                         "). Save the drawing under another name";
        return Acad::eFileAccessErr;
    }
    if (own && !replaceChangedFile && changedOnDisk(document, target.c_str())) {
        lastSaveError_ = target + " was changed on disk since it was opened (by another program or session); "
                                  "it was not overwritten. Save the drawing under another name, or confirm "
                                  "replacing it";
        return Acad::eFileAccessErr;
    }
    AcDbDatabase* database = document->database();
    Acad::ErrorStatus status = database->saveAs(target.c_str());
    if (status != Acad::eOk) {
        lastSaveError_ = database->lastError().empty() ? acadErrorStatusText(status) : database->lastError();
        return status;
    }
    if (!own) {
        // The document now stands for the new file: its lock moves there.
        auto lock = std::make_unique<DrawingFileLock>();
        bool locked = lock->acquire(target) != DrawingFileLock::Outcome::HeldByOther;
        document->fileLock_ = std::move(lock);
        document->readOnly_ = !locked;
        document->readOnlyHolder_ = locked ? std::string() : DrawingFileLock::describe(document->fileLock_->holder());
    }
    document->setFileName(target);
    document->fileStamp_ = stampOf(target);
    document->savedChanges_ = database->changeCount();
    return Acad::eOk;
}

Acad::ErrorStatus AcApDocManager::closeActiveDocumentWithoutSaving()
{
    if (!current_) return Acad::eNotApplicable;
    AcApDocument* document = current_;
    // Closing discards the document's locks with it.
    document->lockCount_ = 0;
    document->lockMode_ = AcAp::kNotLocked;
    return closeDocument(document);
}

Acad::ErrorStatus AcApDocManager::lockDocument(AcApDocument* document, AcAp::DocLockMode mode, const char*,
                                               const char*, bool)
{
    if (!document) document = current_;
    if (!document) return Acad::eNotApplicable;
    if (mode == AcAp::kNone || mode == AcAp::kNotLocked) return Acad::eInvalidInput;
    if (document->lockCount_ > 0 && document->lockMode_ != mode) {
        // A read lock may nest inside a write lock, not the other way round.
        bool held = document->lockMode_ == AcAp::kWrite || document->lockMode_ == AcAp::kXWrite ||
                    document->lockMode_ == AcAp::kAutoWrite || document->lockMode_ == AcAp::kProtectedAutoWrite;
        if (!(held && mode == AcAp::kRead)) return Acad::eLockViolation;
    }
    if (document->lockCount_ == 0) document->lockMode_ = mode;
    ++document->lockCount_;
    return Acad::eOk;
}

Acad::ErrorStatus AcApDocManager::unlockDocument(AcApDocument* document)
{
    if (!document) document = current_;
    if (!document || document->lockCount_ == 0) return Acad::eNotApplicable;
    --document->lockCount_;
    if (document->lockCount_ == 0) document->lockMode_ = AcAp::kNotLocked;
    return Acad::eOk;
}

void AcApDocManager::pushResourceHandle(void* resourceHandle)
{
    resources_.push_back(resourceHandle);
}

bool AcApDocManager::popResourceHandle()
{
    if (resources_.empty()) return false;
    resources_.pop_back();
    return true;
}

AcApDocManager* acDocManagerPtr()
{
    static AcApDocManager manager;
    return &manager;
}
