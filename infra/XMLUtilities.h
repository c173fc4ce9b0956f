#pragma once
// The few XML operations every writer and reader of the module's documents
// repeats (graphic reports, logs, document-monitor settings): namespaced
// elements, dates as element trees, the framed document, loading with a line
// number on failure, and atomic saving. Built on pugixml; nodes are pugixml
// handles, cheap values whose null handle is safe to call.
//
// pugixml itself knows no namespaces. "An element in a namespace" is written
// here as the element plus an xmlns declaration wherever the namespace in
// scope differs, which is exactly what a namespace-aware serializer emits, and
// read back by local name (any prefix dropped).

#include <ctime>
#include <string>

#include <pugixml.hpp>

// The three namespace URIs of the module's documents, chosen once.
// Graphic reports and the document-monitor settings.
inline constexpr const char* ZELKA_DOCMON_NAMESPACE = "urn:zelkasystems:orvane:documentMonitor";
// Error entries, in both logs.
inline constexpr const char* ZELKA_ERRORLOG_NAMESPACE = "urn:zelkasystems:orvane:errorLog";
// The root of the debug log.
inline constexpr const char* ZELKA_DEBUGLOG_NAMESPACE = "urn:zelkasystems:orvane:debugLog";

// How loading a file went: ok, or where and why it failed.
struct CXMLLoadResult {
    bool ok = false;
    bool fileMissing = false;  // the file could not be opened at all
    int line = 0;              // 1-based line of the failure (0 when the file is missing)
    int column = 0;            // 1-based column (bytes) within that line
    std::string message;       // the parser's description of the failure

    // "line L, column C: message", or the message alone when there is no line.
    std::string describe() const;
};

class CXMLUtilities {
public:
    // Appends an element of that name in that namespace under parent and sets
    // its text (an empty text makes no text child). Returns the new element;
    // a null parent gives a null node.
    pugi::xml_node createNode(pugi::xml_node parent, const std::string& name, const std::string& namespaceURI,
                              const std::string& text) const;
    // The same without text.
    pugi::xml_node createNode(pugi::xml_node parent, const std::string& name, const std::string& namespaceURI) const;

    // Appends "date" with "year", "month", "day", "hour", "minute", "second"
    // (decimal, no leading zeros) taken from the calendar parts as given: no
    // time-zone conversion. Returns the "date" element.
    pugi::xml_node createUniversalTimeNode(pugi::xml_node parent, const std::string& namespaceURI,
                                           const std::tm& when) const;
    // The current local time, as the logs stamp their entries.
    static std::tm currentLocalTime();

    // Replaces the document's content by the frame: XML declaration, the
    // stylesheet processing instruction (left out when stylesheet is empty)
    // and the empty root element in the namespace. Returns the root.
    pugi::xml_node makeFramedDocument(pugi::xml_document& document, const std::string& stylesheet,
                                      const std::string& rootName, const std::string& namespaceURI) const;
    // makeFramedDocument, then saves it at path; throws a CEXUnhandled chain
    // naming the path when it cannot be written.
    void makeFramedDocumentFile(pugi::xml_document& document, const std::string& path, const std::string& stylesheet,
                                const std::string& rootName, const std::string& namespaceURI) const;

    // Loads the file into document, keeping declarations, processing
    // instructions and comments. Never throws for a bad or missing file: the
    // result says what happened, with the parser's offset turned into a line.
    CXMLLoadResult loadXMLDocument(pugi::xml_document& document, const std::string& path) const;
    // Parses a text (tests, in-memory documents); same result rules.
    CXMLLoadResult loadXMLText(pugi::xml_document& document, const std::string& text) const;
    // Writes the document indented, UTF-8, through a temporary file renamed
    // over path, so a failed write never leaves half a file. Throws a
    // CEXUnhandled chain naming the path when it cannot be written.
    void saveXMLDocument(const pugi::xml_document& document, const std::string& path) const;
    // Removes the temporaries ("PATH.tmp-PID") of saves of path by processes
    // no longer running: one killed between writing its temporary and the
    // rename leaves it beside the file. For work taken over from a process
    // that died (a batch worker's report); it reads the whole folder, so
    // saves do not call it. Those of running processes (or of a number now
    // another's) and names that are not a process number are left alone.
    static void removeStaleTemporaries(const std::string& path);
    // The document as indented text.
    std::string toText(const pugi::xml_node& node) const;

    // The document element ("/*"), or a null node.
    static pugi::xml_node rootElement(const pugi::xml_document& document);
    // The element's name without its prefix.
    static std::string localName(const pugi::xml_node& node);
    // The namespace URI the element is in (its prefix's or the default one in scope).
    static std::string namespaceOf(const pugi::xml_node& node);
    // The element's text: all text below it, leading and trailing white space removed.
    static std::string getText(const pugi::xml_node& node);
    // True for "1" and "true" only; every other text is false.
    static bool readBoolean(const std::string& text);
    // 1-based line and column of a byte offset within a text.
    static void offsetToLine(const std::string& text, std::ptrdiff_t offset, int& line, int& column);
};
