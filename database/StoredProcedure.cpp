#include "database/StoredProcedure.h"

#include <sstream>

#include <pugixml.hpp>

#include "database/Parameters.h"
#include "database/Recordset.h"
#include "infra/Log.h"
#include "infra/XMLUtilities.h"
#include "infra/ZelkaExceptions.h"

CStoredProcedure::CStoredProcedure(const std::string& dataSource, const std::string& initialCatalog,
                                   const std::string& userID, const std::string& password, uint32_t timeout,
                                   const std::string& driver)
    : CDataServices(dataSource, initialCatalog, userID, password, timeout, driver), commandTimeout_(timeout)
{
}

std::string CStoredProcedure::callText(const std::string& name, int32_t parameterCount)
{
    std::string routine;
    for (size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '[' || name[i] == ']') continue;
        // "db..name" (default schema of a database) becomes "db.name".
        if (name[i] == '.' && i + 1 < name.size() && name[i + 1] == '.') continue;
        routine += name[i];
    }
    std::string text = "{call " + routine + "(";
    for (int32_t i = 0; i < parameterCount; ++i) text += i ? ",?" : "?";
    return text + ")}";
}

std::string CStoredProcedure::serializeCall() const
{
    pugi::xml_document document;
    CXMLUtilities xml;
    pugi::xml_node element = xml.createNode(document, "storedProcedure", ZELKA_DEBUGLOG_NAMESPACE);
    xml.createNode(element, "name", ZELKA_DEBUGLOG_NAMESPACE, name_);
    std::tm now = CXMLUtilities::currentLocalTime();
    xml.createUniversalTimeNode(element, ZELKA_ERRORLOG_NAMESPACE, now);
    if (parameters_) parameters_->serialize(element, ZELKA_DEBUGLOG_NAMESPACE);
    std::ostringstream out;
    document.save(out, "", pugi::format_raw | pugi::format_no_declaration);
    return out.str();
}

std::unique_ptr<CRecordset> CStoredProcedure::execute(const char* procSig, const char* label, bool sendParameters,
                                                      bool wantRows, bool readOutputs)
{
    return zelkaOperation(__FILE__, procSig, [&]() -> std::unique_ptr<CRecordset> {
        if (!isConnected()) return nullptr;
        CParameters* sent = sendParameters && parameters_ && parameters_->getCount() > 0 ? parameters_ : nullptr;
        std::string debugPath = CLog::getDebugLogPath();
        if (!debugPath.empty()) {
            pugi::xml_document call;
            call.load_string(serializeCall().c_str());
            CLog().writeToXMLDebugLog(debugPath, label, call.first_child());
        }
        try {
            return runStatement(callText(name_, sent ? sent->getCount() : 0), sent, wantRows, readOutputs,
                                commandTimeout_);
        } catch (const Failure& f) {
            throw CEXStoredProcedure(__FILE__, procSig, f.source, name_ + ": " + f.description, serializeCall(), 2);
        }
    });
}

void CStoredProcedure::execSPNoReturnNoParas()
{
    execute("CStoredProcedure::execSPNoReturnNoParas", "execSPNoReturnNoParas", false, false, false);
}

void CStoredProcedure::execSPNoReturnParas()
{
    execute("CStoredProcedure::execSPNoReturnParas", "execSPNoReturnParas", true, false, false);
}

void CStoredProcedure::execSPNoReturnParasReturn()
{
    execute("CStoredProcedure::execSPNoReturnParasReturn", "execSPNoReturnParasReturn", true, false, true);
}

std::unique_ptr<CRecordset> CStoredProcedure::execSPReturnNoParas()
{
    return execute("CStoredProcedure::execSPReturnNoParas", "execSPReturnNoParas", false, true, false);
}

std::unique_ptr<CRecordset> CStoredProcedure::execSPReturnParas()
{
    return execute("CStoredProcedure::execSPReturnParas", "execSPReturnParas", true, true, false);
}
