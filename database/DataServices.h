#pragma once
// One connection to the property database over ODBC. The connection opens
// when the object is built and closes when it is destroyed; there is no
// pool and no shared connection. CStoredProcedure and CSQLStatement derive
// from it and run their calls on this connection.
//
// The connection string is made from the document-monitor database
// settings: the data source is "host", "host:port" or "host,port"; the
// driver is the ODBC driver's registered name ("PostgreSQL Unicode" unless
// told otherwise; a FreeTDS or SQL Server driver gets that server's options).
// Every value is quoted by the ODBC rules where it needs it, so a ';', '{'
// or '}' in a password cannot change the string. The string holds the
// password and is never printed or logged.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

class CParameter;
class CParameters;
class CRecordset;

inline constexpr const char* ZELKA_DEFAULT_ODBC_DRIVER = "PostgreSQL Unicode";

class CDataServices {
public:
    // Opens the connection. Throws CEXConnection ("An error occurred whilst
    // connecting to <catalog> on <data source>", the driver's messages as
    // its inner chain) when the server refuses or cannot be reached. When no
    // ODBC environment can be made at all the object exists unconnected.
    CDataServices(const std::string& dataSource, const std::string& initialCatalog, const std::string& userID,
                  const std::string& password, uint32_t timeout,
                  const std::string& driver = ZELKA_DEFAULT_ODBC_DRIVER);
    CDataServices(const CDataServices&) = delete;
    CDataServices& operator=(const CDataServices&) = delete;
    virtual ~CDataServices();

    bool isConnected() const { return connected_ != 0; }
    // The ODBC version the driver manager reports, as a number (3.52 ...);
    // 0.0 when not connected.
    double getADOVersion() const;

    // One transaction spanning the calls made until commit or rollback.
    // Without one, every call commits by itself.
    void beginTransaction();
    void commitTransaction();
    void rollbackTransaction();
    bool inTransaction() const { return inTransaction_; }

    // Whether several calls can go to the server in one execution, each
    // giving its outputs back as one result row: true for the PostgreSQL
    // driver (psqlODBC), false for any other driver and after
    // setBatching(false). Callers then make one round trip per call.
    // Executions (round trips of a statement) made on this connection so far.
    uint64_t executionCount() const { return executions_; }
    bool canBatch() const { return connected_ != 0 && driverBatches_ && batching_; }
    void setBatching(bool on) { batching_ = on; }

    // The ODBC connection string for these values (holds the password).
    static std::string connectionString(const std::string& dataSource, const std::string& initialCatalog,
                                        const std::string& userID, const std::string& password,
                                        const std::string& driver = ZELKA_DEFAULT_ODBC_DRIVER);
    // One value of a connection string: as it is when it holds nothing
    // special, else in braces with each '}' doubled.
    static std::string quoteValue(const std::string& value);

    // What the database said when a call failed; what() is the description.
    struct Failure : std::runtime_error {
        Failure() : std::runtime_error("") {}
        Failure(std::string src, std::string desc, std::string state)
            : std::runtime_error(desc), source(std::move(src)), description(std::move(desc)), sqlState(std::move(state))
        {
        }
        std::string source;       // the driver's name for itself
        std::string description;  // "[SQLSTATE] message", one line per record
        std::string sqlState;     // of the first record
    };

protected:
    // Runs text (a "{call ...}" escape or plain SQL) with the parameters
    // bound in order; reads every result set's rows when wantRows, then the
    // outputs when readOutputs. Throws Failure.
    std::unique_ptr<CRecordset> runStatement(const std::string& text, CParameters* parameters, bool wantRows,
                                             bool readOutputs, uint32_t timeout);

    // Runs text, several statements in one execution, with the parameters
    // bound in order as inputs; hands every row of every result, in turn, to
    // take(row number, statement positioned on that row). Throws Failure,
    // also when the rows are not expectedRows.
    void runBatch(const std::string& text, const std::vector<CParameter*>& inputs, uint32_t timeout,
                  size_t expectedRows, const std::function<void(size_t row, void* statement)>& take);
    // Executions made since beginTransaction (0: the next one opens it on the server).
    uint64_t executionsInTransaction() const { return executionsInTransaction_; }

    uint32_t connectionTimeout_ = 0;

private:
    Failure failure(int16_t handleType, void* handle, const std::string& what) const;
    // A statement of the connection, freed with the handle.
    using Statement = std::unique_ptr<void, void (*)(void*)>;
    // Makes a statement with the query timeout, lets bind(statement) bind
    // its parameters and executes text. Throws Failure.
    Statement execute(const std::string& text, uint32_t timeout, const std::function<void(void* statement)>& bind);
    void endTransaction(bool commit);

    void* environment_ = nullptr;
    void* connection_ = nullptr;
    int32_t connected_ = 0;
    bool inTransaction_ = false;
    bool driverBatches_ = false;
    bool batching_ = true;
    uint64_t executionsInTransaction_ = 0;
    uint64_t executions_ = 0;
    std::string target_;
};
