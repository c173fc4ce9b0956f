#pragma once
// The document-monitor settings, shared with the separate document monitor
// program: one entry per server (CServerPreferenceDocMon) with log paths,
// cache and plot settings, database values, how the CAD program is started
// and the per-kind polling settings; and the list of entries
// (CPreferencesDocMon). This module uses each entry's CAD error log path and
// the first entry's CAD temporary folder; the rest is carried so that the
// record matches the monitor's file.
//
// The file is "docmon.xml" in the preferences folder, root element
// "documentMonitorPreferences", one child element per server entry, each
// field the text of the entry's child element of the field's name.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <pugixml.hpp>

class CServerPreferenceDocMon {
public:
    // A new entry with the documented defaults.
    CServerPreferenceDocMon() = default;

    // Reads every known field from an entry element: strings as they are,
    // integers through CStringToInt (not numeric gives 0), booleans true
    // exactly for "1"; missing elements keep their defaults.
    void deSerialize(pugi::xml_node element);

    const std::string& getDocMonErrorLogFilePath() const { return docMonErrorLogFilePath_; }
    const std::string& getAcadErrorLogFilePath() const { return acadErrorLogFilePath_; }
    // Where this module writes its debug log; the first entry's sets the
    // module-wide debug log path (empty: no debug log).
    const std::string& getAcadDebugLogFilePath() const { return acadDebugLogFilePath_; }
    int32_t getDeletePeriodSecs() const { return deletePeriodSecs_; }
    const std::string& getCacheOutPath() const { return cacheOutPath_; }
    int32_t getCachePlotTypeID() const { return cachePlotTypeID_; }
    bool getApplyCachePlotSettings() const { return applyCachePlotSettings_; }
    bool getCachePlotCentred() const { return cachePlotCentred_; }
    int32_t getCachePlotScaleTypeID() const { return cachePlotScaleTypeID_; }
    int32_t getCachePlotAreaTypeID() const { return cachePlotAreaTypeID_; }
    int32_t getCachePlotMediaNameID() const { return cachePlotMediaNameID_; }
    const std::string& getGraphRepOutPath() const { return graphRepOutPath_; }
    int32_t getDbTimeout() const { return dbTimeout_; }
    const std::string& getDbDatasource() const { return dbDatasource_; }
    const std::string& getDbUserID() const { return dbUserID_; }
    const std::string& getDbPassword() const { return dbPassword_; }
    // The property database's name and the ODBC driver that reaches it
    // (this module's own settings: "ipr" and "PostgreSQL Unicode" unless set).
    const std::string& getDbInitialCatalog() const { return dbInitialCatalog_; }
    const std::string& getDbDriver() const { return dbDriver_; }
    bool getRunAcadService() const { return runAcadService_; }
    bool getRunAcadOnlyWhenRequired() const { return runAcadOnlyWhenRequired_; }
    int32_t getAcadCheckPeriod() const { return acadCheckPeriod_; }
    const std::string& getAcadPath() const { return acadPath_; }
    const std::string& getAcadArguments() const { return acadArguments_; }
    const std::string& getAcadWorkingDirectory() const { return acadWorkingDirectory_; }
    const std::string& getAcadTempDirectory() const { return acadTempDirectory_; }
    int32_t getAcadMaxSessionSecs() const { return acadMaxSessionSecs_; }
    bool getMonitorAsbestos() const { return monitorAsbestos_; }
    int32_t getAsbestosWaitPeriodSecs() const { return asbestosWaitPeriodSecs_; }
    int32_t getAsbestosBatchSize() const { return asbestosBatchSize_; }
    bool getMonitorCondition() const { return monitorCondition_; }
    int32_t getConditionWaitPeriodSecs() const { return conditionWaitPeriodSecs_; }
    int32_t getConditionBatchSize() const { return conditionBatchSize_; }
    bool getMonitorIPC() const { return monitorIPC_; }
    int32_t getIpcWaitPeriodSecs() const { return ipcWaitPeriodSecs_; }
    int32_t getIpcBatchSize() const { return ipcBatchSize_; }
    bool getMonitorIPR() const { return monitorIPR_; }
    int32_t getIprWaitPeriodSecs() const { return iprWaitPeriodSecs_; }
    int32_t getIprBatchSize() const { return iprBatchSize_; }
    bool getMonitorLLT() const { return monitorLLT_; }
    int32_t getLltWaitPeriodSecs() const { return lltWaitPeriodSecs_; }
    int32_t getLltBatchSize() const { return lltBatchSize_; }
    bool getMonitorSVG() const { return monitorSVG_; }
    int32_t getSvgWaitPeriodSecs() const { return svgWaitPeriodSecs_; }
    int32_t getSvgBatchSize() const { return svgBatchSize_; }
    const std::string& getDebugAcad() const { return debugAcad_; }
    const std::string& getDebugDocMon() const { return debugDocMon_; }

private:
    friend struct CServerPreferenceDocMonFields;

    std::string docMonErrorLogFilePath_;
    std::string acadErrorLogFilePath_;
    int32_t deletePeriodSecs_ = 0;
    std::string cacheOutPath_;
    int32_t cachePlotTypeID_ = 0;
    bool applyCachePlotSettings_ = false;
    bool cachePlotCentred_ = true;
    int32_t cachePlotScaleTypeID_ = 0;
    int32_t cachePlotAreaTypeID_ = 1;
    int32_t cachePlotMediaNameID_ = 0;
    std::string graphRepOutPath_;
    int32_t dbTimeout_ = 0;
    std::string dbDatasource_;
    std::string dbUserID_;
    std::string dbPassword_;
    std::string dbInitialCatalog_ = "ipr";
    std::string dbDriver_ = "PostgreSQL Unicode";
    bool runAcadService_ = false;
    bool runAcadOnlyWhenRequired_ = false;
    int32_t acadCheckPeriod_ = 0;
    std::string acadPath_;
    std::string acadArguments_;
    std::string acadWorkingDirectory_;
    std::string acadTempDirectory_;
    int32_t acadMaxSessionSecs_ = 0;
    bool monitorAsbestos_ = false;
    int32_t asbestosWaitPeriodSecs_ = 10;
    int32_t asbestosBatchSize_ = 25;
    bool monitorCondition_ = false;
    int32_t conditionWaitPeriodSecs_ = 10;
    int32_t conditionBatchSize_ = 25;
    bool monitorIPC_ = false;
    int32_t ipcWaitPeriodSecs_ = 10;
    int32_t ipcBatchSize_ = 25;
    bool monitorIPR_ = false;
    int32_t iprWaitPeriodSecs_ = 10;
    int32_t iprBatchSize_ = 25;
    bool monitorLLT_ = false;
    int32_t lltWaitPeriodSecs_ = 10;
    int32_t lltBatchSize_ = 25;
    bool monitorSVG_ = false;
    int32_t svgWaitPeriodSecs_ = 10;
    int32_t svgBatchSize_ = 25;
    std::string debugAcad_;
    std::string debugDocMon_;
    std::string acadDebugLogFilePath_;
};

class CPreferencesDocMon {
public:
    CPreferencesDocMon() = default;
    CPreferencesDocMon(const CPreferencesDocMon&) = delete;
    CPreferencesDocMon& operator=(const CPreferencesDocMon&) = delete;
    ~CPreferencesDocMon() { deleteObjects(); }

    // The settings file name, and the preferences folder that holds it
    // ("" when the machine has no application-data folder).
    static constexpr const char* FILE_NAME = "docmon.xml";
    static std::string preferencesFolderPath();

    // The module-wide settings: empty until loaded.
    static CPreferencesDocMon& moduleSettings();
    // Module start-up: loads "docmon.xml" from the preferences folder into
    // the module-wide settings and sets the module-wide debug log path from
    // the first entry. A missing file leaves the settings empty silently; an
    // unreadable one leaves them empty and says why on the command line.
    // Returns the number of server entries loaded.
    static int loadFromPreferencesFolder();

    // Replaces the list by the entries of the file at path. A file that
    // cannot be read (reason printed, except for a missing file) or whose
    // root is not "documentMonitorPreferences" gives an empty list.
    // Returns true when the file was read.
    bool loadPreferences(const std::string& path);
    // The same from an already parsed document.
    void loadPreferences(const pugi::xml_document& document);

    void add(std::unique_ptr<CServerPreferenceDocMon> entry);
    int getCount() const { return static_cast<int>(items_.size()); }
    // The entry at index; throws a CEXUnhandled chain for an index out of range.
    const CServerPreferenceDocMon& getAt(int index) const;
    // The CAD error log path of every entry, in order (empty where an entry
    // names none): where CLog::logAndReport writes an error.
    std::vector<std::string> errorLogPaths() const;
    // Frees every entry and empties the list.
    void deleteObjects();

private:
    std::vector<std::unique_ptr<CServerPreferenceDocMon>> items_;
};
