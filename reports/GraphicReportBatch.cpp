// Batch preparation of one graphic report: open its drawing, apply it, plot
// it, save a copy and write the report as XML when asked, record the status,
// close the drawing without saving it.

#include <filesystem>
#include <string>

#include "config/PreferencesDocMon.h"
#include "database/StoredProcedure.h"
#include "host/ed/AcDbHostApplicationServices.h"
#include "infra/FileUtilities.h"
#include "infra/Log.h"
#include "infra/XMLUtilities.h"
#include "infra/ZelkaExceptions.h"
#include "module/AcadDrawing.h"
#include "module/AcadDrawingLock.h"
#include "module/HostProduct.h"
#include "reports/GraphicReport.h"
#include "spaces/AcadUtilities.h"

namespace {

namespace fs = std::filesystem;

// Whether two paths name the same file (a relative path is taken from the
// working folder; neither needs to exist).
bool samePath(const std::string& a, const std::string& b)
{
    std::error_code ec;
    fs::path pa = fs::weakly_canonical(fs::absolute(a, ec), ec);
    fs::path pb = fs::weakly_canonical(fs::absolute(b, ec), ec);
    return pa.lexically_normal() == pb.lexically_normal();
}

std::string asFolder(const std::string& path)
{
    return !path.empty() && path.back() != '/' ? path + "/" : path;
}

// The file name with its drawing extension (".dxf" or ".dwg", any case)
// replaced by ".xml"; a name without one gets ".xml" appended.
std::string xmlNameOfDrawing(const std::string& fileName)
{
    fs::path name(fileName);
    std::string ext = name.extension().string();
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == ".dxf" || ext == ".dwg") return name.replace_extension(".xml").string();
    return fileName + ".xml";
}

}  // namespace

int32_t CGraphicReport::prepareReport(CStoredProcedure& sp, uint32_t timeout)
{
    return zelkaOperation(__FILE__, "CGraphicReport::prepareReport", [&]() -> int32_t {
        setGraphicReportStatus(sp, timeout, kStarted);
        CFileUtilities files;
        if (!files.fileExists(drawingPath_ + drawingFilename_)) {
            setGraphicReportStatus(sp, timeout, kNoDrawing);
            return kNoDrawing;
        }
        CAcadDrawing drawing(drawingPath_, drawingFilename_);
        int32_t result = kStarted;
        {
            CAcadDrawingLock lock(drawing);
            if (!lock.isLocked()) return kStarted;
            try {
                const CHostProduct host(acdbHostApplicationServices()->product());
                applyToDrawing(drawing, host);
                result = plotAndWrite(drawing, sp, timeout);
            } catch (const CEXZelka& e) {
                // The report is marked and the error logged; the next report follows.
                result = kCopyNotSaved;
                CLog::logAndReport(e, CPreferencesDocMon::moduleSettings().errorLogPaths());
            }
            setGraphicReportStatus(sp, timeout, result);
        }
        // The drawing closes without saving when it goes: only a saved copy
        // keeps the applied report.
        return result;
    });
}

int32_t CGraphicReport::plotAndWrite(CAcadDrawing& drawing, CStoredProcedure& sp, uint32_t timeout)
{
    CFileUtilities files;
    if (!files.directoryExists(outputPath_)) return kNoOutputFolder;
    const std::string layoutBefore = plotLayout_;
    std::string name = outputFilename_;
    if (!files.checkFilenameSyntax(name, false)) return kBadOutputFilename;
    int32_t result = drawing.plot(drawing.getDatabase(), plotLayout_, outputPath_, outputFilename_, plotDevice_,
                                  applyPlotSettings_ != 0, plotCentred_ != 0, plotScaleType_, plotAreaType_,
                                  plotMediaSize_, true);
    if (plotLayout_ != layoutBefore) setGraphicReportLayout(sp, timeout, plotLayout_);
    if (result != kPlotted) return result;

    const std::string current = drawing.getFullPath();
    if (!saveCopyTo_.empty()) {
        switch (files.getPathType(saveCopyTo_)) {
        case 0:
            if (samePath(drawingPath_ + saveCopyTo_, current)) return kCopyNotSaved;
            drawing.saveAs(drawingPath_, saveCopyTo_);
            break;
        case 1: {
            std::string folder = asFolder(saveCopyTo_);
            if (!files.directoryExists(folder) || samePath(folder + drawingFilename_, current)) return kCopyNotSaved;
            drawing.saveAs(folder, drawingFilename_);
            break;
        }
        case 2: {
            if (samePath(saveCopyTo_, current)) return kCopyNotSaved;
            fs::path target(saveCopyTo_);
            drawing.saveAs(asFolder(target.parent_path().string()), target.filename().string());
            break;
        }
        default:
            return kCopyNotSaved;
        }
    }

    std::string xmlPath;
    switch (xmlOutputTo_.empty() ? -1 : files.getPathType(xmlOutputTo_)) {
    case -1:
        xmlPath = asFolder(outputPath_) +
                  files.swapFileExtension(outputFilename_, CAcadUtilities::plotExtension(plotDevice_), ".xml");
        break;
    case 0:
        xmlPath = asFolder(outputPath_) + xmlOutputTo_;
        break;
    case 1:
        if (!files.directoryExists(xmlOutputTo_)) return kXMLNotWritten;
        xmlPath = asFolder(xmlOutputTo_) + xmlNameOfDrawing(drawingFilename_);
        break;
    case 2:
        xmlPath = xmlOutputTo_;
        break;
    default:
        return kXMLNotWritten;
    }
    if (samePath(xmlPath, current)) return kXMLNotWritten;
    if (retried_) CXMLUtilities::removeStaleTemporaries(xmlPath);
    serialize(xmlPath);
    return kPlotted;
}
