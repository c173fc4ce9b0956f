#include "module/DatabaseCommands.h"

#include "config/PreferencesDocMon.h"
#include "database/StoredProcedure.h"
#include "database/TakeOff.h"
#include "host/ed/AcEdCommandStack.h"
#include "host/ed/acutPrintf.h"
#include "infra/Log.h"
#include "infra/ZelkaExceptions.h"
#include "module/CommandFrame.h"
#include "module/SpaceCommandRun.h"

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
    return added;
}

void removeZelkaDatabaseCommands(AcEdCommandStack& stack) { stack.removeGroup(ZELKA_DATABASE_GROUP); }

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
        try {
            uint32_t timeout = timeoutOf(*s);
            CStoredProcedure sp(s->getDbDatasource(), s->getDbInitialCatalog(), s->getDbUserID(),
                                s->getDbPassword(), timeout, s->getDbDriver());
            if (!sp.isConnected()) {
                acutPrintf("The ODBC driver manager could not be started: is unixODBC installed?\n");
                return;
            }
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
        } catch (const CEXZelka& e) {
            // The chain goes to the error logs of the settings as well as on screen.
            CLog::logAndReport(e, CPreferencesDocMon::moduleSettings().errorLogPaths());
            throw;
        }
    });
}
