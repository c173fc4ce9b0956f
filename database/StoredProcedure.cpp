#include "database/StoredProcedure.h"

#include <sstream>

#include <pugixml.hpp>

#include <sql.h>
#include <sqlext.h>

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

std::string CStoredProcedure::routineName(const std::string& name)
{
    std::string routine;
    for (size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '[' || name[i] == ']') continue;
        // "db..name" (default schema of a database) becomes "db.name".
        if (name[i] == '.' && i + 1 < name.size() && name[i + 1] == '.') continue;
        routine += name[i];
    }
    return routine;
}

std::string CStoredProcedure::callText(const std::string& name, int32_t parameterCount)
{
    std::string text = "{call " + routineName(name) + "(";
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
            throw CEXStoredProcedure(__FILE__, procSig, f.source, describeFailure(f.description), serializeCall(), 2);
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

std::string CStoredProcedure::describeFailure(const std::string& description) const
{
    return name_ + (target_.empty() ? "" : " (" + target_ + ")") + ": " + description;
}

namespace {

const char* methodOf(const CStoredProcedure::BatchCall& call)
{
    return call.readOutputs ? "CStoredProcedure::execSPNoReturnParasReturn" : "CStoredProcedure::execSPNoReturnParas";
}

// The name of the savepoint a batch inside a transaction is undone to.
constexpr const char* kSavepoint = "zelka_batch";

// The SQL type a parameter's value is cast to inside a row of values; empty
// for types that only travel as call arguments.
std::string castType(const CParameter& p)
{
    const std::string word = p.getTypeWord();
    if (word == "int") return "integer";
    if (word == "decimal") return "numeric";
    if (word == "varchar") return "varchar";
    if (word == "boolean") return "boolean";
    return "";
}

// The argument types of a call ("integer,varchar,..."), or empty when one of
// them has no cast type: calls with equal signatures share one statement.
std::string signature(const CStoredProcedure::BatchCall& call)
{
    std::string types = call.name + "(";
    for (int32_t i = 0; call.parameters && i < call.parameters->getCount(); ++i) {
        const CParameter& p = call.parameters->getAt(i);
        if (p.getDirection() == PARAMETER_OUTPUT) continue;
        std::string type = castType(p);
        if (type.empty()) return "";
        types += type + ",";
    }
    return types + ")";
}

}  // namespace

class CStoredProcedure::CallInUse {
public:
    CallInUse(CStoredProcedure& sp, const BatchCall& call) : sp_(sp), name_(sp.name_), parameters_(sp.parameters_)
    {
        sp_.name_ = call.name;
        sp_.parameters_ = call.parameters;
        sp_.target_ = call.target;
    }
    ~CallInUse()
    {
        sp_.name_ = name_;
        sp_.parameters_ = parameters_;
        sp_.target_.clear();
    }
    CallInUse(const CallInUse&) = delete;
    CallInUse& operator=(const CallInUse&) = delete;

private:
    CStoredProcedure& sp_;
    std::string name_;
    CParameters* parameters_;
};

void CStoredProcedure::runOneByOne(const std::vector<BatchCall>& calls, size_t skipDone,
                                   const std::function<void(size_t)>& done)
{
    for (size_t i = 0; i < calls.size(); ++i) {
        const BatchCall& call = calls[i];
        CallInUse use(*this, call);
        if (call.readOutputs)
            execSPNoReturnParasReturn();
        else
            execSPNoReturnParas();
        if (done && i >= skipDone) done(i);
    }
}

void CStoredProcedure::execBatch(const std::vector<BatchCall>& calls, const std::function<void(size_t)>& done)
{
    zelkaOperation(__FILE__, "CStoredProcedure::execBatch", [&] {
        if (!isConnected() || calls.empty()) return;
        if (!canBatch() || calls.size() == 1) {
            runOneByOne(calls, 0, done);
            return;
        }
        // "SAVEPOINT s;{call a(?,?)};{call b(?)};RELEASE SAVEPOINT s": the
        // driver sends the text as one query and gives back one result per
        // call, its outputs as the columns of its one row. Pure outputs are
        // no arguments of the routine, so they get no placeholder.
        const bool savepoint = inTransaction();
        const bool opensTransaction = savepoint && executionsInTransaction() == 0;
        std::string text = savepoint ? std::string("SAVEPOINT ") + kSavepoint + ";" : std::string();
        std::vector<CParameter*> inputs;
        auto argumentsOf = [&](const BatchCall& call, std::vector<std::string>* casts) {
            int32_t sent = 0;
            for (int32_t i = 0; call.parameters && i < call.parameters->getCount(); ++i) {
                CParameter& p = call.parameters->getAt(i);
                if (p.getDirection() == PARAMETER_OUTPUT) continue;
                inputs.push_back(&p);
                if (casts) casts->push_back(castType(p));
                ++sent;
            }
            return sent;
        };
        for (size_t c = 0; c < calls.size();) {
            // A run of calls of one procedure with the same argument types is
            // one statement: a row of values per call, the routine called for
            // each row in turn (a lateral call runs row after row, in order),
            // its outputs the columns of that row's result.
            const std::string kind = signature(calls[c]);
            size_t end = c + 1;
            while (!kind.empty() && end < calls.size() && signature(calls[end]) == kind) ++end;
            if (end - c == 1) {
                text += callText(calls[c].name, argumentsOf(calls[c], nullptr)) + ";";
                ++c;
                continue;
            }
            std::string rows, columns = "n", arguments;
            int32_t count = 0;
            for (size_t k = c; k < end; ++k) {
                std::vector<std::string> casts;
                count = argumentsOf(calls[k], &casts);
                rows += (k > c ? ",(" : "(") + std::to_string(k - c);
                for (const std::string& type : casts) rows += ",CAST(? AS " + type + ")";
                rows += ")";
            }
            for (int32_t a = 1; a <= count; ++a) {
                columns += ",a" + std::to_string(a);
                arguments += (a > 1 ? ",v.a" : "v.a") + std::to_string(a);
            }
            text += "SELECT r.* FROM (VALUES " + rows + ") AS v(" + columns + ") CROSS JOIN LATERAL " +
                    routineName(calls[c].name) + "(" + arguments + ") AS r ORDER BY v.n;";
            c = end;
        }
        if (savepoint) text += std::string("RELEASE SAVEPOINT ") + kSavepoint;
        std::string debugPath = CLog::getDebugLogPath();
        if (!debugPath.empty()) {
            for (const BatchCall& call : calls) {
                CallInUse use(*this, call);
                pugi::xml_document one;
                one.load_string(serializeCall().c_str());
                CLog().writeToXMLDebugLog(debugPath, "execBatch", one.first_child());
            }
        }
        size_t processed = 0;
        try {
            runBatch(text, inputs, commandTimeout_, calls.size(), [&](size_t index, void* statement) {
                const BatchCall& call = calls[index];
                if (call.readOutputs) {
                    uint16_t column = 1;
                    for (int32_t i = 0; call.parameters && i < call.parameters->getCount(); ++i) {
                        CParameter& p = call.parameters->getAt(i);
                        if (!p.isOutput()) continue;
                        if (!SQL_SUCCEEDED(p.readColumn(statement, column++)))
                            throw Failure("ODBC", call.name + " gave no value for " + p.getName(), "");
                    }
                }
                processed = index + 1;
                if (done) done(index);
            });
        } catch (const Failure& f) {
            // Undo the batch, then run its calls one at a time: the refused
            // call fails again on its own and names itself.
            bool undone = !savepoint;
            if (savepoint) {
                try {
                    runStatement(std::string("ROLLBACK TO SAVEPOINT ") + kSavepoint, nullptr, false, false,
                                 commandTimeout_);
                    undone = true;
                } catch (const Failure&) {
                    // The driver rolled the whole transaction back: that is
                    // the batch's undoing only when the batch opened it.
                    undone = opensTransaction;
                }
            }
            if (undone) runOneByOne(calls, processed, done);
            const BatchCall& first = calls[processed < calls.size() ? processed : 0];
            std::string others = std::to_string(calls.size() - 1) + " other call(s) of the same round trip";
            BatchCall named = first;
            named.target += ", with " + others;
            CallInUse use(*this, named);
            throw CEXStoredProcedure(__FILE__, methodOf(first), f.source, describeFailure(f.description),
                                     serializeCall(), 2);
        }
    });
}
