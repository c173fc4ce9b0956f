#pragma once
// One drawing document of the host: opens a drawing file or adopts the
// active document, locks it for changes (locks nest: only the outermost lock
// and unlock reach the document manager), adds entities to model space,
// regenerates and zooms, saves copies through the temporary folder, and
// closes the document when it is destroyed (unless kept open).
//
// Failures come out as the module's exceptions: a host status that makes an
// operation impossible as the host-error CEXUnhandled, the save-as messages
// as CEXCustom, wrapped by each operation under its own name.

#include <cstdint>
#include <string>

#include "host/ge/AcGePoint3d.h"
#include "infra/TempFiles.h"

class AcApDocument;
class AcDbDatabase;
class AcDbEntity;

class CAcadDrawing {
public:
    // For adopting an open document: then setDocument, setFullPath, setOpen.
    CAcadDrawing();
    // Checks the folder (ending with "/") and file name syntax and opens
    // path + fileName; throws when they are not valid or the file cannot be opened.
    CAcadDrawing(const std::string& path, const std::string& fileName);
    CAcadDrawing(const CAcadDrawing&) = delete;
    CAcadDrawing& operator=(const CAcadDrawing&) = delete;
    // Closes the document when open, not locked and not kept open; releases
    // a lock still held; deletes the temporary files. Failures are shown.
    virtual ~CAcadDrawing();

    // Stands for the active document, which stays open when this object
    // goes (setDocument, setFullPath, setOpen and setKeepOpen). False when
    // no document is active.
    bool adoptActiveDocument();
    // Opens path + file name as the current document; throws the host error on failure.
    void openDrawing();
    // Closes the active document without saving its changes. Returns true.
    bool closeDrawing();
    // Locks the document for writing (the outermost call only); returns the
    // host status, 0 on success.
    int32_t lock();
    // Releases one level of the lock: 320 while outer levels remain; the
    // outermost (or force) unlocks the document. Returns the host status.
    int32_t unlock(bool force = false);
    // Appends an entity to model space (locking around it) and closes it.
    // On failure the entity is deleted and the host error thrown.
    void postToDrawing(AcDbEntity* entity);
    // Regenerates the drawing; throws the host error when no document is open.
    void regenDrawing();
    void zoomExtents();
    void zoomPrevious();
    // Shows the window from the lower-left to the upper-right corner.
    void zoomWindow(const AcGePoint3d& lowerLeft, const AcGePoint3d& upperRight);
    // Saves the drawing into the temporary folder under the file name with
    // ".dwg" changed to ".vkr" (or ".vkr" added), then copies that file over
    // folder + fileName. Throws CEXCustom when either step fails.
    void saveAs(const std::string& folder, const std::string& fileName);
    // Plots a layout (the current one when layoutName is empty; it becomes
    // that layout's name) to outputPath + fileName with the device (0 DWF,
    // 1 PDF, 2 JPG, 3 PNG), the host's scale value, plot area and the media
    // size id. The file name gets the device's extension. On AutoCAD hosts
    // the settings are applied only with applySettings (otherwise extents,
    // scaled to fit) and the host's plot engine draws; on BricsCAD the
    // settings are always applied and the host's _EXPORT command draws.
    // Returns 3 when plotted, 8 when the output folder does not exist, 0 when
    // the drawing is not open. Throws CEXInvalidPlotFilename (wrapped) for an
    // empty file name and the host error when a layout cannot be set up.
    int32_t plot(AcDbDatabase* database, std::string& layoutName, const std::string& outputPath,
                 std::string& fileName, int32_t device, bool applySettings, bool centred, int32_t scale,
                 int32_t area, int32_t media, bool plotToFile);

    const std::string& getPath() const { return path_; }
    void setPath(const std::string& path) { path_ = path; }
    const std::string& getFileName() const { return fileName_; }
    void setFileName(const std::string& fileName) { fileName_ = fileName; }
    // Splits a full path into folder (ending with "/") and file name.
    void setFullPath(const std::string& fullPath);
    std::string getFullPath() const { return path_ + fileName_; }
    AcApDocument* getDocument() const { return document_; }
    void setDocument(AcApDocument* document) { document_ = document; }
    // The document's database, or null.
    AcDbDatabase* getDatabase() const;
    bool isOpen() const { return open_ != 0; }
    void setOpen(bool open) { open_ = open ? 1 : 0; }
    bool isLocked() const { return locked_ != 0; }
    int32_t getLockCount() const { return lockCount_; }
    bool getKeepOpen() const { return keepOpen_ != 0; }
    void setKeepOpen(bool keepOpen) { keepOpen_ = keepOpen ? 1 : 0; }
    // The files saveAs wrote, deleted with this object.
    const CTempFiles& getTempFiles() const { return tempFiles_; }

    // The folder saveAs writes through: the first document-monitor entry's
    // CAD temporary folder when set, else the module's temporary folder
    // (created when missing).
    static std::string temporaryFolder();

private:
    int32_t autoCADPlotToFile(AcDbDatabase* database, std::string& layoutName, const std::string& fullPath,
                              int32_t device, bool applySettings, bool centred, int32_t scale, int32_t area,
                              int32_t media, bool plotToFile);
    int32_t bricsCADPlotToFile(AcDbDatabase* database, std::string& layoutName, const std::string& fullPath,
                               int32_t device, bool centred, int32_t scale, int32_t area, int32_t media);

    std::string path_;
    std::string fileName_;
    AcApDocument* document_ = nullptr;
    int32_t open_ = 0;
    int32_t locked_ = 0;
    int32_t lockCount_ = 0;
    CTempFiles tempFiles_;
    int32_t keepOpen_ = 0;
};
