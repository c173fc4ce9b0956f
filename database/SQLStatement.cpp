#include "database/SQLStatement.h"

#include "database/Recordset.h"
#include "infra/ZelkaExceptions.h"

int32_t CSQLStatement::execSQLNoReturn(const std::string& sql)
{
    return zelkaOperation(__FILE__, "CSQLStatement::execSQLNoReturn", [&]() -> int32_t {
        if (!isConnected()) return 0;
        try {
            runStatement(sql, nullptr, false, false, connectionTimeout_);
        } catch (const Failure& f) {
            throw CEXSQLStatement(ZELKA_MODULE_TITLE, __FILE__, "CSQLStatement::execSQLNoReturn", f.description);
        }
        return 1;
    });
}

std::unique_ptr<CRecordset> CSQLStatement::execSQLReturn(const std::string& sql)
{
    return zelkaOperation(__FILE__, "CSQLStatement::execSQLReturn", [&]() -> std::unique_ptr<CRecordset> {
        if (!isConnected()) return nullptr;
        try {
            return runStatement(sql, nullptr, true, false, connectionTimeout_);
        } catch (const Failure& f) {
            throw CEXSQLStatement(ZELKA_MODULE_TITLE, __FILE__, "CSQLStatement::execSQLReturn", f.description);
        }
    });
}
