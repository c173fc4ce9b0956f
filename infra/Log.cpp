#include "infra/Log.h"

#include <cstdio>
#include <ctime>
#include <filesystem>

#include "host/ed/acutPrintf.h"
#include "infra/FileUtilities.h"
#include "infra/XMLUtilities.h"
#include "infra/ZelkaExceptions.h"

namespace {

constexpr const char* ERROR_LOG_ROOT = "errors";
constexpr const char* ERROR_LOG_STYLESHEET = "errorLog.xsl";
constexpr const char* DEBUG_LOG_ROOT = "debugging";
constexpr const char* DEBUG_LOG_STYLESHEET = "debugLog.xsl";

std::string& debugLogPath()
{
    static std::string path;
    return path;
}

// Loads a log and checks that its root is the expected element.
CXMLLoadResult loadLog(pugi::xml_document& document, const std::string& path, const std::string& rootName)
{
    CXMLLoadResult loaded = CXMLUtilities().loadXMLDocument(document, path);
    if (loaded.ok && CXMLUtilities::localName(CXMLUtilities::rootElement(document)) != rootName) {
        loaded.ok = false;
        loaded.line = 0;
        loaded.message = std::string("the root element is \"") + CXMLUtilities::rootElement(document).name() +
                         "\", not \"" + rootName + "\"";
    }
    return loaded;
}

}  // namespace

std::string CLog::damagedName(const std::string& path)
{
    std::tm now = CXMLUtilities::currentLocalTime();
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &now);
    std::string name = path + ".damaged-" + stamp;
    // Two damaged logs within one second must not overwrite each other.
    for (int n = 2; std::filesystem::exists(name); ++n) name = path + ".damaged-" + stamp + "-" + std::to_string(n);
    return name;
}

std::string CLog::getDebugLogPath() { return debugLogPath(); }

void CLog::setDebugLogPath(const std::string& path) { debugLogPath() = path; }

void CLog::createLogFile(const std::string& path, const std::string& rootName, const std::string& namespaceURI,
                         const std::string& stylesheet) const
{
    zelkaOperation(__FILE__, "CLog::createLogFile", [&] {
        pugi::xml_document document;
        CXMLUtilities().makeFramedDocumentFile(document, path, stylesheet, rootName, namespaceURI);
    });
}

pugi::xml_node CLog::appendError(pugi::xml_node parent, const CEXZelka& error) const
{
    return zelkaOperation(__FILE__, "CLog::appendError", [&] {
        CXMLUtilities xml;
        const std::string ns = ZELKA_ERRORLOG_NAMESPACE;
        pugi::xml_node entry = xml.createNode(parent, "error", ns);
        xml.createUniversalTimeNode(entry, ns, CXMLUtilities::currentLocalTime());
        xml.createNode(entry, "class", ns, error.getClass());
        xml.createNode(entry, "procSig", ns, error.getProcSig());
        xml.createNode(entry, "source", ns, error.getSource());
        xml.createNode(entry, "description", ns, error.getDescription());
        xml.createNode(entry, "severity", ns, error.severityText());
        if (const CEXZelka* inner = error.getInner()) {
            pugi::xml_node innerException = xml.createNode(entry, "innerException", ns);
            appendError(innerException, *inner);
        }
        return entry;
    });
}

pugi::xml_node CLog::appendDebug(pugi::xml_node root, const std::string& description, pugi::xml_node node) const
{
    return zelkaOperation(__FILE__, "CLog::appendDebug", [&] {
        CXMLUtilities xml;
        const std::string ns = ZELKA_ERRORLOG_NAMESPACE;
        pugi::xml_node entry = xml.createNode(root, "error", ns);
        xml.createUniversalTimeNode(entry, ns, CXMLUtilities::currentLocalTime());
        xml.createNode(entry, "description", ns, description);
        if (node) {
            if (node.type() == pugi::node_document) {
                for (pugi::xml_node child : node.children())
                    if (child.type() == pugi::node_element) entry.append_copy(child);
            } else {
                entry.append_copy(node);
            }
        }
        return entry;
    });
}

void CLog::writeToXMLErrorLog(const std::string& path, const CEXZelka& error) const
{
    zelkaOperation(__FILE__, "CLog::writeToXMLErrorLog", [&] {
        CXMLUtilities xml;
        if (!CFileUtilities().fileExists(path))
            createLogFile(path, ERROR_LOG_ROOT, ZELKA_ERRORLOG_NAMESPACE, ERROR_LOG_STYLESHEET);
        pugi::xml_document document;
        CXMLLoadResult loaded = loadLog(document, path, ERROR_LOG_ROOT);
        if (!loaded.ok) {
            // The error being reported must not be lost, and neither must the
            // old entries: keep the unreadable file aside and start afresh.
            const std::string keptAs = damagedName(path);
            std::error_code renameError;
            std::filesystem::rename(path, keptAs, renameError);
            if (renameError)
                throw CEXUnhandled(ZELKA_MODULE_TITLE, __FILE__, "CLog::writeToXMLErrorLog",
                                   "The error log " + path + " cannot be read (" + loaded.describe() +
                                       ") and cannot be moved aside (" + renameError.message() + ")",
                                   0);
            acutPrintf("The error log %s could not be read (%s); it has been kept as %s and a new error log "
                       "started.\n",
                       path.c_str(), loaded.describe().c_str(), keptAs.c_str());
            xml.makeFramedDocument(document, ERROR_LOG_STYLESHEET, ERROR_LOG_ROOT, ZELKA_ERRORLOG_NAMESPACE);
        }
        appendError(CXMLUtilities::rootElement(document), error);
        xml.saveXMLDocument(document, path);
    });
}

void CLog::writeToXMLDebugLog(const std::string& path, const std::string& description, pugi::xml_node node) const
{
    zelkaOperation(__FILE__, "CLog::writeToXMLDebugLog", [&] {
        if (path.empty()) return;
        CXMLUtilities xml;
        if (!CFileUtilities().fileExists(path))
            createLogFile(path, DEBUG_LOG_ROOT, ZELKA_DEBUGLOG_NAMESPACE, DEBUG_LOG_STYLESHEET);
        pugi::xml_document document;
        CXMLLoadResult loaded = loadLog(document, path, DEBUG_LOG_ROOT);
        if (!loaded.ok) throw CEXInvalidXMLFile(ZELKA_MODULE_TITLE, __FILE__, "CLog::writeToXMLDebugLog", path);
        appendDebug(CXMLUtilities::rootElement(document), description, node);
        xml.saveXMLDocument(document, path);
    });
}

void CLog::logAndReport(const CEXZelka& error, const std::vector<std::string>& errorLogPaths)
{
    acutPrintf("An error has been detected please consult the error log\n");
    for (const std::string& path : errorLogPaths) {
        if (path.empty()) continue;
        CLog().writeToXMLErrorLog(path, error);
        acutPrintf("An error has been detected in %s. Please consult the error log\n", error.getProcSig().c_str());
    }
}

void CLog::logAndReport(const CZelkaExceptions& errors, const std::vector<std::string>& errorLogPaths)
{
    for (size_t i = 0; i < errors.size(); ++i) logAndReport(errors.getAt(i), errorLogPaths);
}
