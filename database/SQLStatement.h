#pragma once
// A literal SQL text run on its own connection (administration and checks;
// the module's own work goes through stored procedures).

#include <cstdint>
#include <memory>
#include <string>

#include "database/DataServices.h"

class CRecordset;

class CSQLStatement : public CDataServices {
public:
    using CDataServices::CDataServices;

    // Runs the text; 1 when it ran, 0 when not connected. A text the
    // database refuses throws a CEXUnhandled chain ending in CEXSQLStatement.
    int32_t execSQLNoReturn(const std::string& sql);
    // Runs the text and returns its rows; null when not connected.
    std::unique_ptr<CRecordset> execSQLReturn(const std::string& sql);
};
