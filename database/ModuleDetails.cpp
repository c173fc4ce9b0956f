#include "database/ModuleDetails.h"

#include "database/CallParameters.h"
#include "database/StoredProcedure.h"
#include "infra/ZelkaExceptions.h"

using namespace callparameters;

CModuleDetails::CModuleDetails(const std::string& buildDate)
    : moduleName_("VKR"),
      moduleDescription_(ZELKA_MODULE_TITLE),
      moduleDate_(CDateTimeValue::parseBuildDate(buildDate)),
      moduleVersion_(ZELKA_VERSION)
{
}

void CModuleDetails::setModDetails(const std::string& dataSource, const std::string& userID,
                                   const std::string& password, uint32_t timeout, const std::string& driver)
{
    zelkaOperation(__FILE__, "CModuleDetails::setModDetails", [&] {
        CStoredProcedure sp(dataSource, "docMon", userID, password, timeout, driver);
        CParameters list;
        addVarChar(list, "@moduleName", moduleName_, 12);
        addVarChar(list, "@moduleDescription", moduleDescription_, 255);
        // 11 characters under a declared size of 8: sent whole, the database decides.
        addChar(list, "@moduleVersion", moduleVersion_, 8);
        addDateTime(list, "@moduleDate", moduleDate_);
        sp.setName("__mod_setModDetails");
        sp.setParameters(&list);
        sp.execSPNoReturnParas();
    });
}

void CModuleDetails::setModuleRunning(const std::string& dataSource, const std::string& userID,
                                      const std::string& password, uint32_t timeout, const std::string& driver)
{
    zelkaOperation(__FILE__, "CModuleDetails::setModuleRunning", [&] {
        CStoredProcedure sp(dataSource, "docMon", userID, password, timeout, driver);
        CParameters list;
        addVarChar(list, "@MODNAME", moduleName_, 12);
        sp.setName("__mod_setModRunning");
        sp.setParameters(&list);
        sp.execSPNoReturnParas();
    });
}
