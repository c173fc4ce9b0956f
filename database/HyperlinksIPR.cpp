// The database side of CHyperlinks: the links of a graphic-report category's
// space blocks and assets.

#include "database/Hyperlinks.h"

#include "database/CallParameters.h"
#include "database/ProcedureCalls.h"
#include "database/Recordset.h"
#include "database/StoredProcedure.h"
#include "infra/ZelkaExceptions.h"

namespace {

constexpr const char* kSource = "Hyperlinks.cpp";

void loadLinks(CHyperlinks& links, CStoredProcedure& sp, const char* procedure, int32_t categoryID,
               const std::string& handle, uint32_t timeout)
{
    CParameters list;
    callparameters::addInt(list, "@categoryID", categoryID);
    callparameters::addVarChar(list, "@handle", handle);
    procedurecalls::forEachRow(sp, list, procedure, timeout, [&](const CRecordset& row) {
        links.add(std::make_unique<CHyperlink>(row.getString("bhHref"), row.getString("bhDescription")));
    });
}

}  // namespace

void CHyperlinks::getBlockHyperlinksFromIPR(CStoredProcedure& sp, int32_t categoryID, const std::string& handle,
                                            uint32_t timeout)
{
    zelkaOperation(kSource, "CHyperlinks::getBlockHyperlinks",
                   [&] { loadLinks(*this, sp, "__gr_getBlockHyperlinks", categoryID, handle, timeout); });
}

void CHyperlinks::getAssetHyperlinksFromIPR(CStoredProcedure& sp, int32_t categoryID, const std::string& handle,
                                            uint32_t timeout)
{
    zelkaOperation(kSource, "CHyperlinks::getAssetHyperlinks",
                   [&] { loadLinks(*this, sp, "__gr_getAssetHyperlinks", categoryID, handle, timeout); });
}
