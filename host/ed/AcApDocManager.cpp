#include "host/ed/AcApDocManager.h"

#include <algorithm>

#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbExtents.h"
#include "host/db/AcDbOpen.h"

AcApDocument::AcApDocument(std::string fileName, std::shared_ptr<AcDbDatabase> database)
    : fileName_(std::move(fileName)), database_(std::move(database))
{
}

AcApDocument::~AcApDocument() = default;

namespace {

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
    for (auto* reactor : std::vector<AcApDocManagerReactor*>(reactors_)) reactor->documentActivated(document);
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
    for (auto* reactor : std::vector<AcApDocManagerReactor*>(reactors_)) reactor->documentCreated(added);
    setCurDocument(added);
    return added;
}

Acad::ErrorStatus AcApDocManager::closeDocument(AcApDocument* document)
{
    auto found = std::find_if(documents_.begin(), documents_.end(), [&](const auto& d) { return d.get() == document; });
    if (found == documents_.end()) return Acad::eInvalidInput;
    if (document->lockCount_ > 0) return Acad::eLockViolation;
    for (auto* reactor : std::vector<AcApDocManagerReactor*>(reactors_)) reactor->documentToBeDestroyed(document);
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
    auto database = std::make_shared<AcDbDatabase>(false);
    Acad::ErrorStatus status = database->readDxfFile(path);
    if (status != Acad::eOk) {
        lastOpenError_ = database->lastError();
        if (lastOpenError_.empty()) lastOpenError_ = std::string(path) + ": " + acadErrorStatusText(status);
        return status;
    }
    appendDocument(std::make_unique<AcApDocument>(path, std::move(database)));
    return Acad::eOk;
}

Acad::ErrorStatus AcApDocManager::appContextNewDocument(const char*)
{
    lastOpenError_.clear();
    appendDocument(std::make_unique<AcApDocument>("", std::make_shared<AcDbDatabase>(true)));
    return Acad::eOk;
}

Acad::ErrorStatus AcApDocManager::saveDocument(AcApDocument* document, const char* path)
{
    if (!document) document = current_;
    if (!document || !document->database()) return Acad::eNotApplicable;
    std::string target = path && *path ? path : document->fileName();
    if (target.empty()) return Acad::eNotApplicable;
    Acad::ErrorStatus status = document->database()->saveAs(target.c_str());
    if (status == Acad::eOk) document->setFileName(target);
    return status;
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
    int previous = document->myLockMode();
    if (document->lockCount_ == 0) document->lockMode_ = mode;
    ++document->lockCount_;
    if (document->lockCount_ == 1) {
        for (auto* reactor : std::vector<AcApDocManagerReactor*>(reactors_)) {
            reactor->documentLockModeChanged(document, previous, document->lockMode_);
        }
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcApDocManager::unlockDocument(AcApDocument* document)
{
    if (!document) document = current_;
    if (!document || document->lockCount_ == 0) return Acad::eNotApplicable;
    --document->lockCount_;
    if (document->lockCount_ == 0) {
        int previous = document->lockMode_;
        document->lockMode_ = AcAp::kNotLocked;
        for (auto* reactor : std::vector<AcApDocManagerReactor*>(reactors_)) {
            reactor->documentLockModeChanged(document, previous, AcAp::kNotLocked);
        }
    }
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

void* AcApDocManager::currentResourceHandle() const
{
    return resources_.empty() ? nullptr : resources_.back();
}

void AcApDocManager::addReactor(AcApDocManagerReactor* reactor)
{
    if (reactor && std::find(reactors_.begin(), reactors_.end(), reactor) == reactors_.end()) {
        reactors_.push_back(reactor);
    }
}

void AcApDocManager::removeReactor(AcApDocManagerReactor* reactor)
{
    reactors_.erase(std::remove(reactors_.begin(), reactors_.end(), reactor), reactors_.end());
}

AcApDocManager* acDocManagerPtr()
{
    static AcApDocManager manager;
    return &manager;
}
