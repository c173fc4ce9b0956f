#pragma once
// This module's entry in the document monitor's catalogue (database
// "docMon"): its name, description, version and build date, and the time it
// was last seen running. Each operation opens a connection of its own.

#include <cstdint>
#include <string>

#include "database/DataServices.h"
#include "database/ParameterDateTime.h"

class CModuleDetails {
public:
    // "VKR", the module title, the version text and the build date parsed
    // from "Mmm dd yyyy" (invalid when it does not parse; then sent as NULL).
    explicit CModuleDetails(const std::string& buildDate = "Apr 24 2026");

    const std::string& getModuleName() const { return moduleName_; }
    const std::string& getModuleDescription() const { return moduleDescription_; }
    const std::string& getModuleVersion() const { return moduleVersion_; }
    const CDateTimeValue& getModuleDate() const { return moduleDate_; }

    // "__mod_setModDetails" with the four values.
    void setModDetails(const std::string& dataSource, const std::string& userID, const std::string& password,
                       uint32_t timeout, const std::string& driver = ZELKA_DEFAULT_ODBC_DRIVER);
    // "__mod_setModRunning" with the module name.
    void setModuleRunning(const std::string& dataSource, const std::string& userID, const std::string& password,
                          uint32_t timeout, const std::string& driver = ZELKA_DEFAULT_ODBC_DRIVER);

private:
    std::string moduleName_;
    std::string moduleDescription_;
    CDateTimeValue moduleDate_;
    std::string moduleVersion_;
};
