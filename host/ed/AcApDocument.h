#pragma once
// One drawing document of the host: its file, its database and its lock.
// The document manager owns documents; modules hold plain pointers to them
// only while a command runs.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/ge/AcGePoint3d.h"

class AcDbDatabase;
class DrawingFileLock;

namespace AcAp {
enum DocLockMode : int {
    kNone = 0x00,
    kAutoWrite = 0x01,
    kNotLocked = 0x02,
    kWrite = 0x04,
    kProtectedAutoWrite = 0x14,
    kRead = 0x20,
    kXWrite = 0x40,
};
}  // namespace AcAp

// The part of the drawing the document's view shows (world coordinates, the
// plan view), kept by the host: the drawing itself holds no view state.
struct AcApView {
    AcGePoint3d lowerLeft{0.0, 0.0, 0.0};
    AcGePoint3d upperRight{420.0, 297.0, 0.0};
    // Set by zoom extents: the corners are worked out from the drawing when
    // the view is first looked at, so a zoom that is undone before anything
    // looks at it (as a search that zooms out and back does) measures nothing.
    bool showsExtents = false;
};

// What a drawing file was when a document read or last wrote it, to notice
// another program changing it meanwhile.
struct AcApFileStamp {
    bool known = false;
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = 0;
    int64_t modifiedSeconds = 0;
    int64_t modifiedNanoseconds = 0;
    bool operator==(const AcApFileStamp& other) const
    {
        return known == other.known && device == other.device && inode == other.inode && size == other.size &&
               modifiedSeconds == other.modifiedSeconds && modifiedNanoseconds == other.modifiedNanoseconds;
    }
};

class AcApDocument {
public:
    // A document for a drawing file (empty name for a new, unnamed drawing);
    // the database may be null until a drawing database is attached.
    AcApDocument(std::string fileName, std::shared_ptr<AcDbDatabase> database);
    AcApDocument(const AcApDocument&) = delete;
    AcApDocument& operator=(const AcApDocument&) = delete;
    ~AcApDocument();

    // The full path of the drawing file ("" for a new drawing never saved).
    const std::string& fileName() const { return fileName_; }
    void setFileName(std::string fileName) { fileName_ = std::move(fileName); }
    // The document's drawing database, or null.
    AcDbDatabase* database() const { return database_.get(); }
    // The database shared, for a holder that keeps it beyond the document.
    std::shared_ptr<AcDbDatabase> sharedDatabase() const { return database_; }

    // True when the drawing has changes made since it was opened or last saved.
    bool isModified() const;
    // True when another session held the drawing's file lock at opening:
    // saving over its own file is then refused. readOnlyHolder() says who
    // held it ("alice on host pc7 (process 4711) since ...").
    bool isReadOnly() const { return readOnly_; }
    const std::string& readOnlyHolder() const { return readOnlyHolder_; }

    // The lock mode held now (kNotLocked when none) and how deep it is nested.
    AcAp::DocLockMode myLockMode() const { return lockCount_ > 0 ? lockMode_ : AcAp::kNotLocked; }
    int lockCount() const { return lockCount_; }

    // The view shown now, the earlier views (newest last, at most 10) and how
    // often the drawing was regenerated.
    const AcApView& view() const;
    const std::vector<AcApView>& previousViews() const;
    int regenCount() const { return regenCount_; }
    // Shows another part of the drawing, keeping the current view for zoom previous.
    void setView(const AcApView& view);
    // Goes back to the view before; false when there is none.
    bool restorePreviousView();
    void regen() { ++regenCount_; }

private:
    friend class AcApDocManager;
    std::string fileName_;
    // Shared so the document can be destroyed where the database type is not complete.
    std::shared_ptr<AcDbDatabase> database_;
    AcAp::DocLockMode lockMode_ = AcAp::kNotLocked;
    int lockCount_ = 0;
    // Works out the corners of a view that shows the drawing's extents.
    void resolve(AcApView& view) const;

    // The file lock this document holds (null when none could be taken).
    std::unique_ptr<DrawingFileLock> fileLock_;
    bool readOnly_ = false;
    std::string readOnlyHolder_;
    AcApFileStamp fileStamp_;
    uint64_t savedChanges_ = 0;

    mutable AcApView view_;
    mutable std::vector<AcApView> previousViews_;
    int regenCount_ = 0;
};
