#include "module/AcadDrawing.h"

#include <cctype>
#include <cstring>
#include <filesystem>

#include "config/PreferencesDocMon.h"
#include "host/db/AcDbBlockTable.h"
#include "host/db/AcDbBlockTableRecord.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/AcDbEntity.h"
#include "host/db/AcDbLayout.h"
#include "host/db/AcDbLayoutManager.h"
#include "host/db/AcDbObjectPointer.h"
#include "host/db/AcDbPlotSettingsValidator.h"
#include "host/db/SafeFileReplace.h"
#include "host/ed/AcApDocManager.h"
#include "host/ed/AcAxDocLock.h"
#include "host/ed/AcDbHostApplicationServices.h"
#include "host/ed/Progress.h"
#include "host/ed/acedCommandS.h"
#include "host/ed/acedSysVar.h"
#include "host/ed/acedView.h"
#include "host/ed/acutPrintf.h"
#include "host/plot/PlotEngine.h"
#include "infra/FileUtilities.h"
#include "infra/ZelkaExceptions.h"
#include "module/HostProduct.h"
#include "spaces/AcadUtilities.h"

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
        // The copy is made next to its destination and renamed over it in one
        // step, so an interrupted copy never leaves a half-written drawing
        // under the destination's name (a link is followed to its target).
        std::string destination, linkError;
        if (!SafeFileReplace::resolve(folder + fileName, destination, linkError)) {
            throw CEXCustom(ZELKA_MODULE_TITLE, __FILE__, "CAcadDrawing::saveAs",
                            "unable to copy drawing from temp location - " + linkError, 0, nullptr);
        }
        const std::string partial = SafeFileReplace::temporaryName(destination, "save");
        std::error_code error;
        std::filesystem::copy_file(tempPath, partial, std::filesystem::copy_options::overwrite_existing, error);
        if (!error) std::filesystem::rename(partial, destination, error);
        if (error) {
            std::error_code ignored;
            std::filesystem::remove(partial, ignored);
            throw CEXCustom(ZELKA_MODULE_TITLE, __FILE__, "CAcadDrawing::saveAs",
                            "unable to copy drawing from temp location - " + error.message(), 0, nullptr);
        }
        tempFiles_.add(tempPath);
        // An earlier copy at the same temporary path was kept as .bak; it goes too.
        if (files.fileExists(tempPath + ".bak")) tempFiles_.add(tempPath + ".bak");
    });
}

namespace {

void setFileDia(short value)
{
    resbuf rb{};
    rb.restype = RTSHORT;
    rb.resval.rint = value;
    acedSetVar("FILEDIA", &rb);
}

// The named layout made current, or the current layout's name when none is given.
void useLayout(std::string& layoutName, int line, const std::string& drawing)
{
    AcDbLayoutManager* manager = acdbHostApplicationServices()->layoutManager();
    if (layoutName.empty())
        check(manager->getActiveLayoutName(layoutName, true), line, drawing);
    else
        check(manager->setCurrentLayout(layoutName.c_str()), line, drawing);
}

}  // namespace

int32_t CAcadDrawing::plot(AcDbDatabase* database, std::string& layoutName, const std::string& outputPath,
                           std::string& fileName, int32_t device, bool applySettings, bool centred, int32_t scale,
                           int32_t area, int32_t media, bool plotToFile)
{
    return zelkaOperation(__FILE__, "CAcadDrawing::plot", [&]() -> int32_t {
        if (!open_)
            return 0;
        CFileUtilities files;
        std::string folder = outputPath;
        files.checkPathSyntax(folder, true);
        fileName = CAcadUtilities::checkPlotFileExtension(fileName, device);
        std::error_code ec;
        if (!std::filesystem::is_directory(folder, ec))
            return 8;
        std::string full = folder;
        if (!full.empty() && full.back() != '/')
            full += '/';
        full += fileName;
        const CHostProduct product(acdbHostApplicationServices()->product());
        if (product.getKind() == CHostProduct::kBricsCAD)
            return bricsCADPlotToFile(database, layoutName, full, device, centred, scale, area, media);
        return autoCADPlotToFile(database, layoutName, full, device, applySettings, centred, scale, area, media,
                                 plotToFile);
    });
}

int32_t CAcadDrawing::autoCADPlotToFile(AcDbDatabase* database, std::string& layoutName, const std::string& fullPath,
                                        int32_t device, bool applySettings, bool centred, int32_t scale,
                                        int32_t area, int32_t media, bool plotToFile)
{
    return zelkaOperation(__FILE__, "CAcadDrawing::autoCADPlotToFile", [&]() -> int32_t {
        AcAxDocLock lock(document_);
        useLayout(layoutName, __LINE__, getFullPath());
        AcDbLayoutManager* manager = acdbHostApplicationServices()->layoutManager();
        AcDbPlotSettingsValidator* validator = acdbHostApplicationServices()->plotSettingsValidator();
        const std::string configuration = CAcadUtilities::convertPlotDevice(device);
        {
            AcDbObjectPointer<AcDbLayout> layout(manager->findLayoutNamed(layoutName.c_str(), database),
                                                 AcDb::kForWrite);
            check(layout.openStatus(), __LINE__, getFullPath());
            AcDbLayout* l = layout.object();
            check(validator->refreshLists(l), __LINE__, getFullPath());
            check(validator->setPlotCfgName(l, configuration.c_str()), __LINE__, getFullPath());
            if (applySettings) {
                l->setPlotPlotStyles(true);
                l->setPrintLineweights(true);
                l->setScaleLineweights(true);
                check(validator->setPlotType(l, static_cast<AcDbPlotSettings::PlotType>(area)), __LINE__,
                      getFullPath());
                check(validator->setUseStandardScale(l, true), __LINE__, getFullPath());
                check(validator->setStdScaleType(l, static_cast<AcDbPlotSettings::StdScaleType>(scale)), __LINE__,
                      getFullPath());
                check(validator->setPlotCentered(l, centred), __LINE__, getFullPath());
                check(validator->setCanonicalMediaName(l, CAcadUtilities::convertMediaSize(media).c_str()),
                      __LINE__, getFullPath());
                // The host plots to a file whatever plotToFile says; there is no printer to send to.
                (void)plotToFile;
            } else {
                check(validator->setPlotType(l, AcDbPlotSettings::kExtents), __LINE__, getFullPath());
                check(validator->setUseStandardScale(l, true), __LINE__, getFullPath());
                check(validator->setStdScaleType(l, AcDbPlotSettings::kScaleToFit), __LINE__, getFullPath());
            }
        }
        // The host's plot engine, with a progress meter captioned as the plot dialog.
        PlotEngine engine;
        const std::string caption = "ZELKA Graphic Report Engine - " + configuration;
        acedSetStatusBarProgressMeter(caption.c_str(), 0, 100);
        engine.setProgress([](int percent) { acedSetStatusBarProgressMeterPos(percent); });
        const bool plotted = engine.plot(*database, layoutName, fullPath);
        acedRestoreStatusBar();
        if (!plotted)
            throw CEXCustom(ZELKA_MODULE_TITLE, __FILE__, "CAcadDrawing::autoCADPlotToFile", engine.message(), 0,
                            nullptr);
        return 3;
    });
}

int32_t CAcadDrawing::bricsCADPlotToFile(AcDbDatabase* database, std::string& layoutName,
                                         const std::string& fullPath, int32_t device, bool centred, int32_t scale,
                                         int32_t area, int32_t media)
{
    return zelkaOperation(__FILE__, "CAcadDrawing::bricsCADPlotToFile", [&]() -> int32_t {
        AcAxDocLock lock(document_);
        if (!layoutName.empty())
            useLayout(layoutName, __LINE__, getFullPath());
        AcDbLayoutManager* manager = acdbHostApplicationServices()->layoutManager();
        AcDbPlotSettingsValidator* validator = acdbHostApplicationServices()->plotSettingsValidator();
        {
            std::string current;
            check(manager->getActiveLayoutName(current, true, database), __LINE__, getFullPath());
            AcDbObjectPointer<AcDbLayout> layout(manager->findLayoutNamed(current.c_str(), database),
                                                 AcDb::kForWrite);
            check(layout.openStatus(), __LINE__, getFullPath());
            AcDbLayout* l = layout.object();
            l->setPlotPlotStyles(true);
            l->setPrintLineweights(true);
            l->setScaleLineweights(true);
            if (layoutName.empty())
                layoutName = l->layoutName();
            check(validator->refreshLists(l), __LINE__, getFullPath());
            check(validator->setPlotType(l, static_cast<AcDbPlotSettings::PlotType>(area)), __LINE__, getFullPath());
            check(validator->setUseStandardScale(l, true), __LINE__, getFullPath());
            check(validator->setStdScaleType(l, static_cast<AcDbPlotSettings::StdScaleType>(scale)), __LINE__,
                  getFullPath());
            check(validator->setPlotCentered(l, centred), __LINE__, getFullPath());
            check(validator->setPlotCfgName(l, CAcadUtilities::convertPlotDevice(device).c_str()), __LINE__,
                  getFullPath());
            check(validator->setCanonicalMediaName(l, CAcadUtilities::convertMediaSize(media).c_str()), __LINE__,
                  getFullPath());
        }
        acedCommandS({"", ""});
        setFileDia(0);
        acutPrintf("%s\n\n", fullPath.c_str());
        CFileUtilities().deleteFile(fullPath);
        acedCommandS({"_EXPORT", fullPath});
        setFileDia(1);
        acedCommandS({"", ""});
        return 3;
    });
}
