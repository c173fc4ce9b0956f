#include "module/DatabaseCommands.h"

#include <functional>
#include <memory>

#include "config/PreferencesDocMon.h"
#include "database/HyperPres.h"
#include "database/ReportIPR.h"
#include "database/StoredProcedure.h"
#include "database/TakeOff.h"
#include "host/ed/AcEdCommandStack.h"
#include "host/ed/acedInput.h"
#include "host/ed/adscodes.h"
#include "host/ed/acutPrintf.h"
#include "infra/Log.h"
#include "infra/ZelkaExceptions.h"
#include "module/CommandFrame.h"
#include "module/AcadDrawingLock.h"
#include "module/SpaceCommandRun.h"
#include "module/blockEdit.h"
#include "reports/Category.h"
#include "reports/GraphicReport.h"
#include "reports/Layers.h"
#include "reports/LinkLine.h"

namespace {

// The database settings of the first document-monitor entry; null (and the
// reason printed) when there are none.
const CServerPreferenceDocMon* databaseSettings()
{
    CPreferencesDocMon& settings = CPreferencesDocMon::moduleSettings();
    if (settings.getCount() == 0 || settings.getAt(0).getDbDatasource().empty()) {
        acutPrintf("No property database is set up: give dbDatasource, dbUserID and dbPassword in %s/%s.\n",
                   CPreferencesDocMon::preferencesFolderPath().c_str(), CPreferencesDocMon::FILE_NAME);
        return nullptr;
    }
    return &settings.getAt(0);
}

uint32_t timeoutOf(const CServerPreferenceDocMon& s)
{
    return s.getDbTimeout() > 0 ? static_cast<uint32_t>(s.getDbTimeout()) : 30u;
}

}  // namespace

int addZelkaDatabaseCommands(AcEdCommandStack& stack)
{
    int added = 0;
    if (stack.addCommand(ZELKA_DATABASE_GROUP, "mto", "zelkaTakeOff", ACRX_CMD_SESSION, zelkaTakeOff, nullptr, -1,
                         nullptr, nullptr) == Acad::eOk)
        ++added;
    if (stack.addCommand(ZELKA_DATABASE_GROUP, "mlgr", "zelkaLoadGraphicReport", ACRX_CMD_SESSION,
                         zelkaLoadGraphicReport, nullptr, -1, nullptr, nullptr) == Acad::eOk)
        ++added;
    return added;
}

namespace {

// Connects to the property database of the settings and runs work with the
// procedure and the timeout; says so when the ODBC driver manager cannot be
// started. A failure's chain goes to the error logs of the settings as well
// as on screen.
void withDatabase(const CServerPreferenceDocMon& s, const std::function<void(CStoredProcedure&, uint32_t)>& work)
{
    try {
        uint32_t timeout = timeoutOf(s);
        CStoredProcedure sp(s.getDbDatasource(), s.getDbInitialCatalog(), s.getDbUserID(), s.getDbPassword(),
                            timeout, s.getDbDriver());
        if (!sp.isConnected()) {
            acutPrintf("The ODBC driver manager could not be started: is unixODBC installed?\n");
            return;
        }
        work(sp, timeout);
    } catch (const CEXZelka& e) {
        CLog::logAndReport(e, CPreferencesDocMon::moduleSettings().errorLogPaths());
        throw;
    }
}

// The hyperlink dialog of the session: one at a time; a closed one is
// deleted when the next opens (not from inside its own handlers).
std::unique_ptr<CHyperPres>& hyperlinkDialog()
{
    static std::unique_ptr<CHyperPres> dialog;
    return dialog;
}

}  // namespace

void removeZelkaDatabaseCommands(AcEdCommandStack& stack)
{
    stack.removeGroup(ZELKA_DATABASE_GROUP);
    if (hyperlinkDialog() && hyperlinkDialog()->isOpen()) hyperlinkDialog()->DestroyWindow();
    hyperlinkDialog().reset();
}

void zelkaBlockHyperlink()
{
    zelkaCommandFrame("Zelka Block Hyperlink", "zelkaBlockHyperlink", [] {
        std::unique_ptr<CHyperPres>& dialog = hyperlinkDialog();
        if (dialog && dialog->isOpen()) {
            acutPrintf("The Zelka Block Hyperlinking dialog is open already.\n");
            return;
        }
        dialog = std::make_unique<CHyperPres>();
        if (!dialog->Create()) {
            dialog.reset();
            acutPrintf("unable to create the block hyperlink dialog box\n");
        }
    });
}

void zelkaTakeOff()
{
    zelkaCommandFrame("Zelka Take-off", "zelkaTakeOff", [] {
        const CServerPreferenceDocMon* s = databaseSettings();
        if (!s) return;
        CSpaceCommandRun run(true);
        if (!run.isReady()) {
            acutPrintf("No drawing is open to take off.\n");
            return;
        }
        withDatabase(*s, [&](CStoredProcedure& sp, uint32_t timeout) {
            const std::string& fileName = run.drawing().getFileName();
            int32_t drawingID = 0, floorID = 0;
            CTakeOff::findDrawing(sp, fileName, timeout, drawingID, floorID);
            if (drawingID == 0) {
                acutPrintf("The drawing %s is not registered in the property database %s: add it to the drawings "
                           "with the floor it shows, then take it off again.\n",
                           fileName.c_str(), s->getDbInitialCatalog().c_str());
                return;
            }
            CTakeOff::Result r = CTakeOff().takeOff(run.drawing(), sp, drawingID, floorID, timeout);
            acutPrintf("Taken off %s into %s: %d room(s), %d asset(s), %d gross area(s) under floor %d (drawing %d).\n",
                       fileName.c_str(), s->getDbInitialCatalog().c_str(), r.rooms, r.assets, r.floors, floorID,
                       drawingID);
        });
    });
}

void zelkaLoadGraphicReport()
{
    zelkaCommandFrame("Zelka Load Graphic Report", "zelkaLoadGraphicReport", [] {
        const CServerPreferenceDocMon* s = databaseSettings();
        if (!s) return;
        CSpaceCommandRun run(false);
        if (!run.drawing().getDocument()) {
            acutPrintf("No drawing is open to apply a graphic report to: open the drawing first.\n");
            return;
        }
        int id = 0;
        int status = acedGetInt("Graphic report id: ", &id);
        if (status != RTNORM) {
            acutPrintf("No graphic report id given; nothing was loaded.\n");
            return;
        }
        withDatabase(*s, [&](CStoredProcedure& sp, uint32_t timeout) {
            CGraphicReport report;
            if (!CReportIPR(sp, timeout).getGraphicReport(id, s->getGraphRepOutPath(), report)) {
                acutPrintf("The property database %s has no graphic report %d; nothing was applied.\n",
                           s->getDbInitialCatalog().c_str(), id);
                return;
            }
            const int categories = report.getCategories() ? report.getCategories()->getCount() : 0;
            const int layers = report.getLayersOn() ? report.getLayersOn()->getCount() : 0;
            const int lines = report.getLinkLines() ? report.getLinkLines()->getCount() : 0;
            if (!run.lock()) {
                acutPrintf("The drawing could not be locked; the graphic report was not applied.\n");
                return;
            }
            report.applyToDrawing(run.drawing(), zelkaHostProduct());
            acutPrintf("Graphic report %d \"%s\" applied from %s: %d categor%s, %d layer(s) on, %d link line(s).\n",
                       id, report.getTitle().c_str(), s->getDbInitialCatalog().c_str(), categories,
                       categories == 1 ? "y" : "ies", layers, lines);
        });
    });
}
