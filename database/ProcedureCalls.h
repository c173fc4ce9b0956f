#pragma once
// Runs one catalogue call on a caller's CStoredProcedure: sets the command
// timeout, the procedure name and the parameter list, executes, and takes
// the list off the procedure again (also when the call throws, so the
// procedure never keeps a pointer to a list that is gone).

#include <cstdint>
#include <memory>

#include "database/Parameters.h"
#include "database/Recordset.h"
#include "database/StoredProcedure.h"

namespace procedurecalls {

// The list set on sp for the life of this object.
class ListOnProcedure {
public:
    ListOnProcedure(CStoredProcedure& sp, CParameters& list, const char* procedure, uint32_t timeout) : sp_(sp)
    {
        sp_.setCommandTimeout(timeout);
        sp_.setName(procedure);
        sp_.setParameters(&list);
    }
    ~ListOnProcedure() { sp_.setParameters(nullptr); }
    ListOnProcedure(const ListOnProcedure&) = delete;
    ListOnProcedure& operator=(const ListOnProcedure&) = delete;

private:
    CStoredProcedure& sp_;
};

// A call without a result set; with readOutputs the output parameters of
// the list hold the returned values afterwards.
inline void run(CStoredProcedure& sp, CParameters& list, const char* procedure, uint32_t timeout,
                bool readOutputs = false)
{
    ListOnProcedure on(sp, list, procedure, timeout);
    if (readOutputs)
        sp.execSPNoReturnParasReturn();
    else
        sp.execSPNoReturnParas();
}

// A result-set call: the rows, or null when none came back (not connected).
inline std::unique_ptr<CRecordset> rows(CStoredProcedure& sp, CParameters& list, const char* procedure,
                                        uint32_t timeout)
{
    ListOnProcedure on(sp, list, procedure, timeout);
    return sp.execSPReturnParas();
}

// A result-set call that hands each row in turn to visit(const CRecordset&);
// no result set visits nothing. Returns the number of rows visited.
template <class Visit>
int forEachRow(CStoredProcedure& sp, CParameters& list, const char* procedure, uint32_t timeout, Visit&& visit)
{
    std::unique_ptr<CRecordset> result = rows(sp, list, procedure, timeout);
    int count = 0;
    for (; result && !result->isEOF(); result->moveNext(), ++count) visit(static_cast<const CRecordset&>(*result));
    return count;
}

}  // namespace procedurecalls
