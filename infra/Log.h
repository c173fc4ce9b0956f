#pragma once
// The module's append-only XML logs. The error log receives exception
// chains, the debug log a record of each stored-procedure call. Each file
// names an XSL stylesheet ("errorLog.xsl", "debugLog.xsl") looked up beside
// it, so that a browser shows it as a report.
//
// CLog holds no state: create one on the stack for one write. Every write
// loads the file, appends one entry to the root element and saves the whole
// document again (atomically, so the file is valid XML after every write).

#include <string>
#include <vector>

#include <pugixml.hpp>

class CEXZelka;
class CZelkaExceptions;

class CLog {
public:
    // Appends one "error" entry for the exception chain to the error log at
    // path, creating the file with its frame when missing. A file that is
    // not a readable error log is renamed to "<path>.damaged-<timestamp>"
    // (said on the command line) and a new log is started. Throws a
    // CEXUnhandled chain when the file cannot be written.
    void writeToXMLErrorLog(const std::string& path, const CEXZelka& error) const;
    // Appends one debug entry (date, description, a copy of node when not
    // null) to the debug log at path, creating it when missing. An empty path
    // writes nothing. A file that cannot be read is left untouched and the
    // call throws a chain ending in CEXInvalidXMLFile.
    void writeToXMLDebugLog(const std::string& path, const std::string& description, pugi::xml_node node) const;
    // Builds a debug entry in the document and appends it to root.
    // Returns the entry; wraps DOM failures (CLog::appendDebug).
    pugi::xml_node appendDebug(pugi::xml_node root, const std::string& description, pugi::xml_node node) const;
    // Builds the error entry of an exception chain (nested through
    // "innerException") and appends it to parent. Returns the entry.
    pugi::xml_node appendError(pugi::xml_node parent, const CEXZelka& error) const;
    // Writes a new log file holding only the frame. Throws a CEXUnhandled
    // chain when it cannot be written.
    void createLogFile(const std::string& path, const std::string& rootName, const std::string& namespaceURI,
                       const std::string& stylesheet) const;

    // The module-wide debug log path; empty (no debug log) until set.
    static std::string getDebugLogPath();
    static void setDebugLogPath(const std::string& path);

    // Prints "An error has been detected please consult the error log",
    // then writes the chain to each error log path given (empty ones are
    // passed over; the caller takes them from the settings, e.g. the
    // document-monitor entries), printing where the error was detected.
    // Throws a CEXUnhandled chain when a log cannot be written.
    static void logAndReport(const CEXZelka& error, const std::vector<std::string>& errorLogPaths);
    // logAndReport for every item of the list, in order.
    static void logAndReport(const CZelkaExceptions& errors, const std::vector<std::string>& errorLogPaths);

    // The name a damaged log is kept under: "<path>.damaged-YYYYMMDD-HHMMSS".
    static std::string damagedName(const std::string& path);
};
