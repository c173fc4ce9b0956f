#pragma once
// One stored-procedure call on its own connection: a name, a borrowed
// parameter list and a command timeout, run in one of five ways (with or
// without parameters, with or without a result set, reading outputs back or
// not). Callers make one object per unit of work and reuse it for several
// calls, replacing name and list between them.
//
// Names are written as the property database's catalogue writes them; a
// name in the "[idr]..[getLocationAssets]" form calls getLocationAssets in
// the schema idr. The call goes as the ODBC escape "{call name(?,...)}",
// which SQL Server and PostgreSQL drivers both take.
//
// Not connected: every execution does nothing and returns no result. A call
// the database refuses throws a CEXUnhandled chain naming the method, whose
// innermost CEXStoredProcedure holds the driver's message and the call.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "database/DataServices.h"

class CParameters;
class CRecordset;

class CStoredProcedure : public CDataServices {
public:
    CStoredProcedure(const std::string& dataSource, const std::string& initialCatalog, const std::string& userID,
                     const std::string& password, uint32_t timeout,
                     const std::string& driver = ZELKA_DEFAULT_ODBC_DRIVER);

    void setName(const std::string& name) { name_ = name; }
    const std::string& getName() const { return name_; }
    // The list stays the caller's; it must outlive the executions that use it.
    void setParameters(CParameters* parameters) { parameters_ = parameters; }
    CParameters* getParameters() const { return parameters_; }
    void setCommandTimeout(uint32_t seconds) { commandTimeout_ = seconds; }
    uint32_t getCommandTimeout() const { return commandTimeout_; }

    void execSPNoReturnNoParas();
    void execSPNoReturnParas();
    // Reads the output and input-output parameters back into the list.
    void execSPNoReturnParasReturn();
    std::unique_ptr<CRecordset> execSPReturnNoParas();
    std::unique_ptr<CRecordset> execSPReturnParas();

    // One call of a batch: the procedure, its list (outputs read back into
    // it when readOutputs) and what the call is for, as a failure names it
    // ("room block 'A-101' (handle 2F)").
    struct BatchCall {
        std::string name;
        CParameters* parameters = nullptr;
        bool readOutputs = false;
        std::string target;
    };
    // Runs calls without result sets in order: all in one round trip when
    // the driver can batch (canBatch), else one round trip per call. done(i)
    // runs once call i went through, its outputs read back. When a call is
    // refused the batch is undone and its calls run again one at a time to
    // find it, so the chain names that call's execution method
    // (execSPNoReturnParas or execSPNoReturnParasReturn), the procedure and
    // its target; the calls before it took effect, those after it did not
    // run. Inside a transaction the batch is undone to a savepoint; where
    // that is impossible (connection lost) the chain names the batch's first
    // call and says how many went with it. Roll the transaction back after
    // any failure.
    void execBatch(const std::vector<BatchCall>& calls, const std::function<void(size_t)>& done);

    // "{call schema.name(?,?)}" for a name and a number of parameters.
    static std::string callText(const std::string& name, int32_t parameterCount);
    // The routine a catalogue name calls: "[idr]..[getLocationAssets]" is
    // "idr.getLocationAssets", "__to_getDrawing" itself.
    static std::string routineName(const std::string& name);
    // The "storedProcedure" element of the debug log: name, time, parameters.
    std::string serializeCall() const;

private:
    std::unique_ptr<CRecordset> execute(const char* procSig, const char* label, bool sendParameters, bool wantRows,
                                        bool readOutputs);
    // Sets the name, list and target of one call for its own lifetime.
    class CallInUse;
    // Calls from..end one round trip each; done for the calls from skipDone on.
    void runOneByOne(const std::vector<BatchCall>& calls, size_t skipDone, const std::function<void(size_t)>& done);
    // The description of a failed call: "name (target): what the driver said".
    std::string describeFailure(const std::string& description) const;

    std::string name_;
    CParameters* parameters_ = nullptr;
    uint32_t commandTimeout_ = 0;
    std::string target_;
};
