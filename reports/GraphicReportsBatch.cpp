// The batch side of the report list: loading every report waiting in a
// status, and preparing them one after the other.

#include "config/PreferencesDocMon.h"
#include "database/CallParameters.h"
#include "database/Recordset.h"
#include "database/StoredProcedure.h"
#include "infra/SystemUtilities.h"
#include "infra/ZelkaExceptions.h"
#include "reports/GraphicReports.h"

using namespace callparameters;

int CGraphicReports::getGraphicReports(CStoredProcedure& sp, const CServerPreferenceDocMon& server,
                                       int32_t statusID, uint32_t timeout)
{
    return zelkaOperation(__FILE__, "CGraphicReports::getGraphicReports", [&] {
        CParameters list;
        addTinyInt(list, "@statusID", static_cast<uint8_t>(statusID));
        sp.setCommandTimeout(timeout);
        sp.setName("__gr_getGraphicReports");
        sp.setParameters(&list);
        auto rows = sp.execSPReturnParas();
        sp.setParameters(nullptr);
        int loaded = 0;
        for (; rows && !rows->isEOF(); rows->moveNext()) {
            auto report = std::make_unique<CGraphicReport>();
            if (!report->getGraphicReport(sp, server, rows->getInt("grID"), timeout)) continue;
            addGraphicReport(std::move(report));
            ++loaded;
        }
        return loaded;
    });
}

int CGraphicReports::prepareReports(CStoredProcedure& sp, uint32_t timeout)
{
    return zelkaOperation(__FILE__, "CGraphicReports::prepareReports", [&] {
        int prepared = 0;
        for (const auto& report : items_) {
            report->prepareReport(sp, timeout);
            ++prepared;
            CSystemUtilities().doEvents();
        }
        return prepared;
    });
}
