#include "database/DataServices.h"

#include <cstdlib>
#include <cstring>

#include <sql.h>
#include <sqlext.h>

#include "database/Parameters.h"
#include "database/Recordset.h"
#include "infra/ZelkaExceptions.h"

namespace {

bool isSqlServerDriver(const std::string& driver)
{
    std::string lower;
    for (char c : driver) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower.find("freetds") != std::string::npos || lower.find("sql server") != std::string::npos;
}

// Splits "host:port" or "host,port" (a port of digits only); the host alone otherwise.
void splitDataSource(const std::string& dataSource, std::string& host, std::string& port)
{
    size_t at = dataSource.find_last_of(":,");
    if (at != std::string::npos && at + 1 < dataSource.size() &&
        dataSource.find_first_not_of("0123456789", at + 1) == std::string::npos) {
        host = dataSource.substr(0, at);
        port = dataSource.substr(at + 1);
    } else {
        host = dataSource;
        port.clear();
    }
}

}  // namespace

std::string CDataServices::quoteValue(const std::string& value)
{
    bool plain = value.find_first_of(";{}") == std::string::npos &&
                 (value.empty() || (value.front() != ' ' && value.back() != ' '));
    if (plain) return value;
    std::string quoted = "{";
    for (char c : value) {
        quoted += c;
        if (c == '}') quoted += '}';
    }
    return quoted + "}";
}

std::string CDataServices::connectionString(const std::string& dataSource, const std::string& initialCatalog,
                                            const std::string& userID, const std::string& password,
                                            const std::string& driver)
{
    std::string host, port;
    splitDataSource(dataSource, host, port);
    std::string s = "Driver={" + driver + "};Server=" + quoteValue(host) + ";";
    if (!port.empty()) s += "Port=" + port + ";";
    s += "Database=" + quoteValue(initialCatalog) + ";Uid=" + quoteValue(userID) + ";Pwd=" + quoteValue(password) +
         ";";
    if (isSqlServerDriver(driver))
        s += "TDS_Version=7.4;ClientCharset=UTF-8;";
    else
        // Protocol=7.4-1: an error rolls the whole transaction back. The
        // driver's default (statement level) wraps every call of a
        // transaction in a savepoint of its own, which a take-off (one
        // transaction, all or nothing) pays for on each of its calls.
        s += "UseServerSidePrepare=1;BoolsAsChar=0;Protocol=7.4-1;";
    return s;
}

CDataServices::CDataServices(const std::string& dataSource, const std::string& initialCatalog,
                             const std::string& userID, const std::string& password, uint32_t timeout,
                             const std::string& driver)
    : connectionTimeout_(timeout), target_(initialCatalog + " on " + dataSource)
{
    SQLHENV env = SQL_NULL_HENV;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env))) return;
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLHDBC dbc = SQL_NULL_HDBC;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc))) {
        SQLFreeHandle(SQL_HANDLE_ENV, env);
        return;
    }
    environment_ = env;
    connection_ = dbc;
    if (timeout > 0)
        SQLSetConnectAttr(dbc, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(static_cast<uintptr_t>(timeout)),
                          0);
    std::string text = connectionString(dataSource, initialCatalog, userID, password, driver);
    SQLRETURN rc = SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR*>(text.data()),
                                    static_cast<SQLSMALLINT>(text.size()), nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
    // The string held the password: clear it before it goes back to the heap.
    std::memset(text.data(), 0, text.size());
    if (!SQL_SUCCEEDED(rc)) {
        Failure f = failure(SQL_HANDLE_DBC, dbc, "connecting");
        std::vector<std::string> errors;
        size_t start = 0;
        while (start < f.description.size()) {
            size_t end = f.description.find('\n', start);
            if (end == std::string::npos) end = f.description.size();
            errors.push_back(f.description.substr(start, end - start));
            start = end + 1;
        }
        throw CEXConnection(ZELKA_MODULE_TITLE, __FILE__, "CDataServices::CDataServices", target_, errors);
    }
    connected_ = 1;
    // psqlODBC sends a text of several "{call}" statements as one query and
    // returns each function's outputs as a row of its own result.
    char name[128] = {};
    SQLSMALLINT nameLength = 0;
    if (SQL_SUCCEEDED(SQLGetInfo(dbc, SQL_DRIVER_NAME, name, sizeof name, &nameLength))) {
        std::string lower;
        for (const char* c = name; *c; ++c) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
        driverBatches_ = lower.find("psqlodbc") != std::string::npos;
    }
}

CDataServices::~CDataServices()
{
    if (connection_) {
        if (connected_) {
            if (inTransaction_) SQLEndTran(SQL_HANDLE_DBC, connection_, SQL_ROLLBACK);
            SQLDisconnect(connection_);
        }
        SQLFreeHandle(SQL_HANDLE_DBC, connection_);
    }
    if (environment_) SQLFreeHandle(SQL_HANDLE_ENV, environment_);
}

double CDataServices::getADOVersion() const
{
    if (!connected_) return 0.0;
    char version[32] = {};
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(SQLGetInfo(connection_, SQL_DM_VER, version, sizeof version, &length))) return 0.0;
    return std::atof(version);
}

void CDataServices::beginTransaction()
{
    if (!connected_ || inTransaction_) return;
    SQLRETURN rc = SQLSetConnectAttr(connection_, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF),
                                     SQL_IS_UINTEGER);
    if (!SQL_SUCCEEDED(rc)) throw failure(SQL_HANDLE_DBC, connection_, "starting a transaction");
    inTransaction_ = true;
    executionsInTransaction_ = 0;
}

void CDataServices::endTransaction(bool commit)
{
    if (!connected_ || !inTransaction_) return;
    inTransaction_ = false;
    SQLRETURN rc = SQLEndTran(SQL_HANDLE_DBC, connection_, commit ? SQL_COMMIT : SQL_ROLLBACK);
    bool failed = !SQL_SUCCEEDED(rc);
    Failure f;
    if (failed) f = failure(SQL_HANDLE_DBC, connection_, commit ? "committing" : "rolling back");
    SQLSetConnectAttr(connection_, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON),
                      SQL_IS_UINTEGER);
    if (failed) throw f;
}

void CDataServices::commitTransaction() { endTransaction(true); }

void CDataServices::rollbackTransaction() { endTransaction(false); }

CDataServices::Failure CDataServices::failure(int16_t handleType, void* handle, const std::string& what) const
{
    std::string source = "ODBC", description, sqlState;
    SQLCHAR state[6] = {};
    SQLINTEGER native = 0;
    SQLCHAR message[2048];
    SQLSMALLINT length = 0;
    for (SQLSMALLINT record = 1;
         SQL_SUCCEEDED(SQLGetDiagRec(handleType, handle, record, state, &native, message, sizeof message, &length));
         ++record) {
        std::string text(reinterpret_cast<char*>(message));
        while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
        // "[unixODBC][psqlODBC driver]..." names the driver: keep its name as the source.
        size_t open = text.rfind("][");
        if (record == 1 && open != std::string::npos) {
            size_t close = text.find(']', open + 2);
            if (close != std::string::npos) source = text.substr(open + 2, close - open - 2);
        }
        if (record == 1) sqlState = reinterpret_cast<char*>(state);
        if (!description.empty()) description += "\n";
        description += "[" + std::string(reinterpret_cast<char*>(state)) + "] " + text;
    }
    if (description.empty()) description = "the ODBC driver failed while " + what + " and gave no reason";
    return Failure(source, description, sqlState);
}

CDataServices::Statement CDataServices::execute(const std::string& text, uint32_t timeout,
                                                const std::function<void(void*)>& bind)
{
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, connection_, &stmt)))
        throw failure(SQL_HANDLE_DBC, connection_, "making a statement");
    Statement statement(stmt, [](void* h) { SQLFreeHandle(SQL_HANDLE_STMT, h); });
    if (timeout > 0)
        SQLSetStmtAttr(stmt, SQL_ATTR_QUERY_TIMEOUT, reinterpret_cast<SQLPOINTER>(static_cast<uintptr_t>(timeout)), 0);
    bind(stmt);
    std::string sql = text;
    ++executionsInTransaction_;
    ++executions_;
    SQLRETURN rc = SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(sql.data()), static_cast<SQLINTEGER>(sql.size()));
    if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) throw failure(SQL_HANDLE_STMT, stmt, "executing");
    return statement;
}

std::unique_ptr<CRecordset> CDataServices::runStatement(const std::string& text, CParameters* parameters,
                                                        bool wantRows, bool readOutputs, uint32_t timeout)
{
    Statement statement = execute(text, timeout, [&](void* stmt) {
        for (int32_t i = 0; parameters && i < parameters->getCount(); ++i)
            if (!SQL_SUCCEEDED(parameters->getAt(i).bindTo(stmt, static_cast<uint16_t>(i + 1))))
                throw failure(SQL_HANDLE_STMT, stmt, "binding " + parameters->getAt(i).getName());
    });
    SQLHSTMT stmt = statement.get();
    SQLRETURN rc = SQL_SUCCESS;

    std::vector<std::string> columns;
    std::vector<std::vector<std::optional<std::string>>> rows;
    bool first = true;
    do {
        SQLSMALLINT count = 0;
        SQLNumResultCols(stmt, &count);
        if (count > 0 && wantRows && first) {
            first = false;
            for (SQLSMALLINT c = 1; c <= count; ++c) {
                SQLCHAR name[256] = {};
                SQLSMALLINT nameLength = 0, type = 0, digits = 0, nullable = 0;
                SQLULEN size = 0;
                SQLDescribeCol(stmt, c, name, sizeof name, &nameLength, &type, &size, &digits, &nullable);
                columns.emplace_back(reinterpret_cast<char*>(name));
            }
            while (true) {
                rc = SQLFetch(stmt);
                if (rc == SQL_NO_DATA) break;
                if (!SQL_SUCCEEDED(rc)) throw failure(SQL_HANDLE_STMT, stmt, "reading a row");
                std::vector<std::optional<std::string>> row;
                for (SQLSMALLINT c = 1; c <= count; ++c) {
                    std::string value;
                    char chunk[1024];
                    SQLLEN indicator = 0;
                    bool isNull = false;
                    while (true) {
                        rc = SQLGetData(stmt, c, SQL_C_CHAR, chunk, sizeof chunk, &indicator);
                        if (rc == SQL_NO_DATA) break;
                        if (!SQL_SUCCEEDED(rc)) throw failure(SQL_HANDLE_STMT, stmt, "reading a column");
                        if (indicator == SQL_NULL_DATA) {
                            isNull = true;
                            break;
                        }
                        size_t got = (indicator == SQL_NO_TOTAL || indicator >= static_cast<SQLLEN>(sizeof chunk))
                                         ? sizeof chunk - 1
                                         : static_cast<size_t>(indicator);
                        value.append(chunk, got);
                        if (rc == SQL_SUCCESS) break;
                    }
                    if (isNull)
                        row.emplace_back(std::nullopt);
                    else
                        row.emplace_back(std::move(value));
                }
                rows.push_back(std::move(row));
            }
        }
        rc = SQLMoreResults(stmt);
        if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) throw failure(SQL_HANDLE_STMT, stmt, "moving to the next result");
    } while (rc != SQL_NO_DATA);

    if (readOutputs && parameters)
        for (int32_t i = 0; i < parameters->getCount(); ++i) parameters->getAt(i).readOutput();
    if (!wantRows) return nullptr;
    return std::make_unique<CRecordset>(std::move(columns), std::move(rows));
}

void CDataServices::runBatch(const std::string& text, const std::vector<CParameter*>& inputs, uint32_t timeout,
                             size_t expectedRows, const std::function<void(size_t, void*)>& take)
{
    Statement statement = execute(text, timeout, [&](void* stmt) {
        for (size_t i = 0; i < inputs.size(); ++i)
            if (!SQL_SUCCEEDED(inputs[i]->bindTo(stmt, static_cast<uint16_t>(i + 1), true)))
                throw failure(SQL_HANDLE_STMT, stmt, "binding " + inputs[i]->getName());
    });
    SQLHSTMT stmt = statement.get();
    SQLRETURN rc = SQL_SUCCESS;
    size_t row = 0;
    do {
        SQLSMALLINT count = 0;
        SQLNumResultCols(stmt, &count);
        // Statements without a result (SAVEPOINT, RELEASE) have no columns.
        while (count > 0) {
            rc = SQLFetch(stmt);
            if (rc == SQL_NO_DATA) break;
            if (!SQL_SUCCEEDED(rc)) throw failure(SQL_HANDLE_STMT, stmt, "reading a row");
            if (row < expectedRows) take(row, stmt);
            ++row;
        }
        rc = SQLMoreResults(stmt);
        if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) throw failure(SQL_HANDLE_STMT, stmt, "moving to the next result");
    } while (rc != SQL_NO_DATA);
    if (row != expectedRows)
        throw Failure("ODBC", "the database answered " + std::to_string(row) + " of " + std::to_string(expectedRows) +
                                  " calls sent together", "");
}
