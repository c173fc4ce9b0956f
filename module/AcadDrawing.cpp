#include "module/AcadDrawing.h"

#include <cctype>
#include <cstring>
#include <filesystem>

#include "config/PreferencesDocMon.h"
#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbEntity.h"
#include "host/ed/AcApDocManager.h"
#include "host/ed/acedView.h"
#include "infra/FileUtilities.h"
#include "infra/ZelkaExceptions.h"

namespace {

void check(Acad::ErrorStatus status, int line, const std::string& drawing)
{
    if (status != Acad::eOk) raiseHostStatus(status, line, drawing);
}

}  // namespace

CAcadDrawing::CAcadDrawing() = default;

CAcadDrawing::CAcadDrawing(const std::string& path, const std::string& fileName)
{
    zelkaOperation(__FILE__, "CAcadDrawing::CAcadDrawing", [&] {
        CFileUtilities files;
        std::string folder = path;
        std::string name = fileName;
        if (!files.checkPathSyntax(folder, false) || !files.checkFilenameSyntax(name, false)) {
            throw CEXCustom(ZELKA_MODULE_TITLE, __FILE__, "CAcadDrawing::CAcadDrawing",
                            "Invalid drawing path - " + path + fileName, 0, nullptr);
        }
        path_ = path;
        fileName_ = fileName;
        openDrawing();
    });
}

CAcadDrawing::~CAcadDrawing()
{
    try {
        zelkaOperation(__FILE__, "CAcadDrawing::~CAcadDrawing", [&] {
            if (open_ && !locked_ && !keepOpen_) closeDrawing();
            if (open_ && locked_) unlock(true);
            tempFiles_.deleteTempFiles();
        });
    } catch (const CEXZelka& e) {
        e.displayErrorChain();
    }
}

AcDbDatabase* CAcadDrawing::getDatabase() const
{
    return document_ ? document_->database() : nullptr;
}

void CAcadDrawing::setFullPath(const std::string& fullPath)
{
    size_t slash = fullPath.rfind('/');
    path_ = slash == std::string::npos ? "" : fullPath.substr(0, slash + 1);
    fileName_ = slash == std::string::npos ? fullPath : fullPath.substr(slash + 1);
}

void CAcadDrawing::openDrawing()
{
    zelkaOperation(__FILE__, "CAcadDrawing::openDrawing", [&] {
        std::string full = getFullPath();
        check(acDocManagerPtr()->appContextOpenDocument(full.c_str()), __LINE__, full);
        document_ = acDocManagerPtr()->curDocument();
        open_ = 1;
    });
}

bool CAcadDrawing::closeDrawing()
{
    return zelkaOperation(__FILE__, "CAcadDrawing::closeDrawing", [&] {
        // The console host has no window to make visible; it closes the
        // active document, discarding its changes.
        acDocManagerPtr()->closeActiveDocumentWithoutSaving();
        if (acDocManagerPtr()->curDocument() != document_) {
            document_ = nullptr;
            open_ = 0;
            locked_ = 0;
            lockCount_ = 0;
        }
        return true;
    });
}

bool CAcadDrawing::adoptActiveDocument()
{
    AcApDocument* document = acDocManagerPtr()->curDocument();
    if (!document) return false;
    setDocument(document);
    setFullPath(document->fileName());
    setOpen(true);
    setKeepOpen(true);
    return true;
}

int32_t CAcadDrawing::lock()
{
    return zelkaOperation(__FILE__, "CAcadDrawing::lock", [&]() -> int32_t {
        if (locked_) {
            ++lockCount_;
            return Acad::eOk;
        }
        Acad::ErrorStatus status = acDocManagerPtr()->lockDocument(document_, AcAp::kWrite, nullptr, nullptr, true);
        if (status == Acad::eOk) {
            locked_ = 1;
            lockCount_ = 1;
        }
        return status;
    });
}

int32_t CAcadDrawing::unlock(bool force)
{
    return zelkaOperation(__FILE__, "CAcadDrawing::unlock", [&]() -> int32_t {
        if (!force) {
            --lockCount_;
            if (lockCount_ != 0) return Acad::eLockCountNotZero;
        }
        Acad::ErrorStatus status = acDocManagerPtr()->unlockDocument(document_);
        if (status == Acad::eOk) {
            locked_ = 0;
            lockCount_ = 0;
        }
        return status;
    });
}

void CAcadDrawing::postToDrawing(AcDbEntity* entity)
{
    zelkaOperation(__FILE__, "CAcadDrawing::postToDrawing", [&] {
        std::string drawing = getFullPath();
        AcDbDatabase* database = getDatabase();
        if (!database) {
            delete entity;
            raiseHostStatus(Acad::eNotApplicable, __LINE__, drawing);
        }
        Acad::ErrorStatus locked = static_cast<Acad::ErrorStatus>(lock());
        if (locked != Acad::eOk) {
            delete entity;
            raiseHostStatus(locked, __LINE__, drawing);
        }
        // Unlocks on every path out of here.
        struct Unlock {
            CAcadDrawing& drawing;
            ~Unlock() { drawing.unlock(); }
        } unlockAtEnd{*this};
        AcDbBlockTable* table = nullptr;
        Acad::ErrorStatus status = database->getBlockTable(table, AcDb::kForRead);
        if (status != Acad::eOk) {
            delete entity;
            raiseHostStatus(status, __LINE__, drawing);
        }
        AcDbBlockTableRecord* modelSpace = nullptr;
        status = table->getAt("*Model_Space", modelSpace, AcDb::kForWrite);
        table->close();
        if (status != Acad::eOk) {
            delete entity;
            raiseHostStatus(status, __LINE__, drawing);
        }
        status = modelSpace->appendAcDbEntity(entity);
        if (status != Acad::eOk) {
            modelSpace->close();
            delete entity;
            raiseHostStatus(status, __LINE__, drawing);
        }
        entity->close();
        modelSpace->close();
    });
}

void CAcadDrawing::regenDrawing()
{
    zelkaOperation(__FILE__, "CAcadDrawing::regenDrawing", [&] { check(acedRegen(), __LINE__, getFullPath()); });
}

void CAcadDrawing::zoomExtents()
{
    zelkaOperation(__FILE__, "CAcadDrawing::zoomExtents", [&] { check(acedZoomExtents(), __LINE__, getFullPath()); });
}

void CAcadDrawing::zoomPrevious()
{
    zelkaOperation(__FILE__, "CAcadDrawing::zoomPrevious", [&] { check(acedZoomPrevious(), __LINE__, getFullPath()); });
}

void CAcadDrawing::zoomWindow(const AcGePoint3d& lowerLeft, const AcGePoint3d& upperRight)
{
    zelkaOperation(__FILE__, "CAcadDrawing::zoomWindow", [&] {
        check(acedZoomWindow(lowerLeft, upperRight), __LINE__, getFullPath());
    });
}

std::string CAcadDrawing::temporaryFolder()
{
    CPreferencesDocMon& settings = CPreferencesDocMon::moduleSettings();
    std::string folder;
    if (settings.getCount() > 0) folder = settings.getAt(0).getAcadTempDirectory();
    CFileUtilities files;
    if (folder.empty() || !files.checkPathSyntax(folder, false)) folder = files.tempFolder();
    if (folder.empty()) folder = std::filesystem::temp_directory_path().string();
    if (folder.back() != '/') folder += '/';
    files.ensureDirectoryExists(folder);
    return folder;
}

void CAcadDrawing::saveAs(const std::string& folder, const std::string& fileName)
{
    zelkaOperation(__FILE__, "CAcadDrawing::saveAs", [&] {
        CFileUtilities files;
        std::string tempName = files.swapFileExtension(fileName, ".dwg", ".vkr");
        std::string tempPath = temporaryFolder() + tempName;
        if (open_) {
            AcDbDatabase* database = getDatabase();
            if (!database || database->saveAs(tempPath.c_str()) != Acad::eOk) {
                throw CEXCustom(ZELKA_MODULE_TITLE, __FILE__, "CAcadDrawing::saveAs",
                                "unable to save drawing to temp location " + tempPath, 0, nullptr);
            }
        }
        std::error_code error;
        std::filesystem::copy_file(tempPath, folder + fileName, std::filesystem::copy_options::overwrite_existing,
                                   error);
        if (error) {
            throw CEXCustom(ZELKA_MODULE_TITLE, __FILE__, "CAcadDrawing::saveAs",
                            "unable to copy drawing from temp location - " + error.message(), 0, nullptr);
        }
        tempFiles_.add(tempPath);
        // An earlier copy at the same temporary path was kept as .bak; it goes too.
        if (files.fileExists(tempPath + ".bak")) tempFiles_.add(tempPath + ".bak");
    });
}
