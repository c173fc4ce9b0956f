#include "infra/XMLUtilities.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <signal.h>
#include <unistd.h>

#include "infra/Utilities.h"
#include "infra/ZelkaExceptions.h"

namespace {

constexpr unsigned LOAD_OPTIONS =
    pugi::parse_default | pugi::parse_declaration | pugi::parse_pi | pugi::parse_comments;

// The namespace bound to a prefix ("" for the default namespace) at node.
std::string namespaceInScope(pugi::xml_node node, const std::string& prefix)
{
    const std::string attributeName = prefix.empty() ? "xmlns" : "xmlns:" + prefix;
    for (; node && node.type() == pugi::node_element; node = node.parent()) {
        pugi::xml_attribute declaration = node.attribute(attributeName.c_str());
        if (declaration) return declaration.value();
    }
    return {};
}

std::string prefixOf(const std::string& qualifiedName)
{
    size_t colon = qualifiedName.find(':');
    return colon == std::string::npos ? std::string() : qualifiedName.substr(0, colon);
}

void appendText(pugi::xml_node node, std::string& text)
{
    for (pugi::xml_node child : node.children()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
            text += child.value();
        else if (child.type() == pugi::node_element)
            appendText(child, text);
    }
}

bool isXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

std::string CXMLLoadResult::describe() const
{
    if (line <= 0) return message;
    return "line " + std::to_string(line) + ", column " + std::to_string(column) + ": " + message;
}

pugi::xml_node CXMLUtilities::createNode(pugi::xml_node parent, const std::string& name,
                                         const std::string& namespaceURI, const std::string& text) const
{
    return zelkaOperation(__FILE__, "CXMLUtilities::createNode", [&] {
        pugi::xml_node element = createNode(parent, name, namespaceURI);
        if (element && !text.empty()) element.append_child(pugi::node_pcdata).set_value(text.c_str());
        return element;
    });
}

pugi::xml_node CXMLUtilities::createNode(pugi::xml_node parent, const std::string& name,
                                         const std::string& namespaceURI) const
{
    return zelkaOperation(__FILE__, "CXMLUtilities::createNode", [&] {
        if (!parent) return pugi::xml_node();
        pugi::xml_node element = parent.append_child(pugi::node_element);
        element.set_name(name.c_str());
        // Declare the namespace only where the one in scope differs, as a
        // namespace-aware writer does.
        const std::string prefix = prefixOf(name);
        if (namespaceInScope(parent, prefix) != namespaceURI) {
            const std::string attributeName = prefix.empty() ? "xmlns" : "xmlns:" + prefix;
            element.append_attribute(attributeName.c_str()).set_value(namespaceURI.c_str());
        }
        return element;
    });
}

pugi::xml_node CXMLUtilities::createUniversalTimeNode(pugi::xml_node parent, const std::string& namespaceURI,
                                                      const std::tm& when) const
{
    return zelkaOperation(__FILE__, "CXMLUtilities::createUniversalTimeNode", [&] {
        CUtilities utilities;
        pugi::xml_node date = createNode(parent, "date", namespaceURI);
        createNode(date, "year", namespaceURI, utilities.IntToCString(when.tm_year + 1900));
        createNode(date, "month", namespaceURI, utilities.IntToCString(when.tm_mon + 1));
        createNode(date, "day", namespaceURI, utilities.IntToCString(when.tm_mday));
        createNode(date, "hour", namespaceURI, utilities.IntToCString(when.tm_hour));
        createNode(date, "minute", namespaceURI, utilities.IntToCString(when.tm_min));
        createNode(date, "second", namespaceURI, utilities.IntToCString(when.tm_sec));
        return date;
    });
}

std::tm CXMLUtilities::currentLocalTime()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

pugi::xml_node CXMLUtilities::makeFramedDocument(pugi::xml_document& document, const std::string& stylesheet,
                                                 const std::string& rootName,
                                                 const std::string& namespaceURI) const
{
    return zelkaOperation(__FILE__, "CXMLUtilities::makeFramedDocument", [&] {
        document.reset();
        pugi::xml_node declaration = document.append_child(pugi::node_declaration);
        declaration.append_attribute("version").set_value("1.0");
        declaration.append_attribute("encoding").set_value("UTF-8");
        if (!stylesheet.empty()) {
            pugi::xml_node pi = document.append_child(pugi::node_pi);
            pi.set_name("xml-stylesheet");
            pi.set_value(("type=\"text/xsl\" href=\"" + stylesheet + "\"").c_str());
        }
        pugi::xml_node root = document.append_child(pugi::node_element);
        root.set_name(rootName.c_str());
        root.append_attribute("xmlns").set_value(namespaceURI.c_str());
        return root;
    });
}

void CXMLUtilities::makeFramedDocumentFile(pugi::xml_document& document, const std::string& path,
                                           const std::string& stylesheet, const std::string& rootName,
                                           const std::string& namespaceURI) const
{
    zelkaOperation(__FILE__, "CXMLUtilities::makeFramedDocumentFile", [&] {
        makeFramedDocument(document, stylesheet, rootName, namespaceURI);
        saveXMLDocument(document, path);
    });
}

void CXMLUtilities::offsetToLine(const std::string& text, std::ptrdiff_t offset, int& line, int& column)
{
    if (offset < 0) offset = 0;
    size_t end = std::min(static_cast<size_t>(offset), text.size());
    line = 1;
    size_t lineStart = 0;
    for (size_t i = 0; i < end; ++i) {
        if (text[i] == '\n') {
            ++line;
            lineStart = i + 1;
        }
    }
    column = static_cast<int>(end - lineStart) + 1;
}

CXMLLoadResult CXMLUtilities::loadXMLText(pugi::xml_document& document, const std::string& text) const
{
    return zelkaOperation(__FILE__, "CXMLUtilities::loadXMLText", [&] {
        CXMLLoadResult result;
        pugi::xml_parse_result parsed = document.load_buffer(text.data(), text.size(), LOAD_OPTIONS);
        if (parsed) {
            // The parser accepts several top-level elements; XML does not.
            int elements = 0;
            for (pugi::xml_node child : document.children()) {
                if (child.type() != pugi::node_element || ++elements < 2) continue;
                result.message = std::string("More than one root element (\"") + child.name() + "\")";
                offsetToLine(text, child.offset_debug(), result.line, result.column);
                return result;
            }
            result.ok = true;
            return result;
        }
        result.message = parsed.description();
        offsetToLine(text, parsed.offset, result.line, result.column);
        return result;
    });
}

CXMLLoadResult CXMLUtilities::loadXMLDocument(pugi::xml_document& document, const std::string& path) const
{
    return zelkaOperation(__FILE__, "CXMLUtilities::loadXMLDocument", [&] {
        document.reset();
        std::ifstream in(path, std::ios::binary);
        const int openError = errno;
        std::error_code ignored;
        if (!in || std::filesystem::is_directory(path, ignored)) {
            CXMLLoadResult result;
            result.fileMissing = true;
            const int reason = in ? EISDIR : (openError ? openError : ENOENT);
            result.message = std::string("cannot open the file (") + std::strerror(reason) + ")";
            return result;
        }
        std::ostringstream content;
        content << in.rdbuf();
        return loadXMLText(document, content.str());
    });
}

std::string CXMLUtilities::toText(const pugi::xml_node& node) const
{
    std::ostringstream out;
    node.print(out, "  ", pugi::format_indent | pugi::format_no_declaration, pugi::encoding_utf8);
    return out.str();
}

void CXMLUtilities::removeStaleTemporaries(const std::string& path)
{
    namespace fs = std::filesystem;
    const fs::path target(path);
    const std::string prefix = target.filename().string() + ".tmp-";
    std::error_code error;
    fs::directory_iterator it(target.has_parent_path() ? target.parent_path() : fs::path("."), error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
            continue;
        const std::string digits = name.substr(prefix.size());
        if (digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos)
            continue;
        const pid_t pid = static_cast<pid_t>(std::stol(digits));
        if (pid > 0 && pid != ::getpid() && ::kill(pid, 0) != 0 && errno == ESRCH) {
            std::error_code ignored;
            fs::remove(it->path(), ignored);
        }
    }
}

void CXMLUtilities::saveXMLDocument(const pugi::xml_document& document, const std::string& path) const
{
    zelkaOperation(__FILE__, "CXMLUtilities::saveXMLDocument", [&] {
        const std::string temporary = path + ".tmp-" + std::to_string(::getpid());
        {
            std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
            if (!out)
                throw CEXUnhandled(ZELKA_MODULE_TITLE, __FILE__, "CXMLUtilities::saveXMLDocument",
                                   "Unable to write XML file " + path + " (" + std::strerror(errno) + ")", 0);
            document.save(out, "  ", pugi::format_indent | pugi::format_no_declaration, pugi::encoding_utf8);
            out.flush();
            if (!out) {
                std::remove(temporary.c_str());
                throw CEXUnhandled(ZELKA_MODULE_TITLE, __FILE__, "CXMLUtilities::saveXMLDocument",
                                   "Unable to write XML file " + path, 0);
            }
        }
        std::error_code error;
        std::filesystem::rename(temporary, path, error);
        if (error) {
            std::remove(temporary.c_str());
            throw CEXUnhandled(ZELKA_MODULE_TITLE, __FILE__, "CXMLUtilities::saveXMLDocument",
                               "Unable to write XML file " + path + " (" + error.message() + ")", 0);
        }
    });
}

pugi::xml_node CXMLUtilities::rootElement(const pugi::xml_document& document)
{
    return document.document_element();
}

std::string CXMLUtilities::localName(const pugi::xml_node& node)
{
    std::string name = node.name();
    size_t colon = name.find(':');
    return colon == std::string::npos ? name : name.substr(colon + 1);
}

std::string CXMLUtilities::namespaceOf(const pugi::xml_node& node)
{
    return namespaceInScope(node, prefixOf(node.name()));
}

std::string CXMLUtilities::getText(const pugi::xml_node& node)
{
    std::string text;
    appendText(node, text);
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && isXmlSpace(text[begin])) ++begin;
    while (end > begin && isXmlSpace(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

bool CXMLUtilities::readBoolean(const std::string& text)
{
    return text == "1" || text == "true";
}
