// The database side of CHyperlinks: the links of a graphic-report category's
// space blocks and assets.

#include "database/Hyperlinks.h"

#include "database/CallParameters.h"
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
    sp.setCommandTimeout(timeout);
    sp.setName(procedure);
    sp.setParameters(&list);
    auto rows = sp.execSPReturnParas();
    sp.setParameters(nullptr);
    if (!rows) return;
    for (; !rows->isEOF(); rows->moveNext())
        links.add(std::make_unique<CHyperlink>(rows->getString("bhHref"), rows->getString("bhDescription")));
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
