#include "infra/ZelkaExceptions.h"

#include "host/ed/acutPrintf.h"
#include "host/ui/MessageBox.h"
#include "infra/Utilities.h"

CEXZelka::CEXZelka(std::string source, const std::string& filePath, std::string procSig, int code,
                   std::unique_ptr<CEXZelka> inner)
    : source_(std::move(source)),
      class_(classFromPath(filePath)),
      procSig_(std::move(procSig)),
      code_(code),
      inner_(std::move(inner))
{
}

CEXZelka::CEXZelka(const CEXZelka& other)
    : source_(other.source_),
      class_(other.class_),
      procSig_(other.procSig_),
      description_(other.description_),
      code_(other.code_),
      severity_(other.severity_),
      inner_(other.inner_ ? other.inner_->clone() : nullptr)
{
}

CEXZelka& CEXZelka::operator=(const CEXZelka& other)
{
    if (this != &other) {
        CEXZelka copy(other);
        *this = std::move(copy);
    }
    return *this;
}

std::unique_ptr<CEXZelka> CEXZelka::clone() const
{
    return std::make_unique<CEXZelka>(*this);
}

std::string CEXZelka::classFromPath(const std::string& filePath)
{
    std::string name = filePath;
    size_t slash = name.find_last_of('/');
    if (slash != std::string::npos) name = name.substr(slash + 1);
    static const std::string cpp = ".cpp";
    if (name.size() >= cpp.size() && name.compare(name.size() - cpp.size(), cpp.size(), cpp) == 0)
        name.erase(name.size() - cpp.size());
    return name;
}

std::string CEXZelka::severityText() const
{
    switch (severity_) {
    case 0: return "low";
    case 1: return "medium";
    default: return "high";
    }
}

const CEXZelka& CEXZelka::innermost() const
{
    const CEXZelka* e = this;
    while (e->inner_) e = e->inner_.get();
    return *e;
}

namespace {

std::string chainText(const CEXZelka& top, bool withClass)
{
    std::string text;
    int depth = 0;
    const CEXZelka* e = &top;
    for (;;) {
        text.append(static_cast<size_t>(depth), '\t');
        if (withClass) text += e->getClass() + "::";
        text += e->getProcSig();
        const CEXZelka* inner = e->getInner();
        if (!inner) {
            text += "\n\n";
            text += e->getDescription();
            return text;
        }
        text += "\n";
        e = inner;
        ++depth;
    }
}

}  // namespace

std::string CEXZelka::errorChainText() const
{
    return chainText(*this, true);
}

std::string CEXZelka::printChainText() const
{
    return chainText(*this, false);
}

void CEXZelka::displayErrorChain() const
{
    MessageBoxA(nullptr, errorChainText().c_str(), "Error Detected.", MB_ICONERROR);
}

void CEXZelka::printErrorChain() const
{
    acutPrintf("%s\n", printChainText().c_str());
}

void CEXZelka::deleteChain()
{
    inner_.reset();
}

// ---------------------------------------------------------------------------

CEXUnhandled::CEXUnhandled(std::string source, const std::string& filePath, std::string procSig)
    : CEXZelka(std::move(source), filePath, std::move(procSig), 0, nullptr)
{
}

CEXUnhandled::CEXUnhandled(std::string source, const std::string& filePath, std::string procSig, int code,
                           std::unique_ptr<CEXZelka> inner)
    : CEXZelka(std::move(source), filePath, std::move(procSig), code, std::move(inner))
{
    setDescription("unhandled error");
}

CEXUnhandled::CEXUnhandled(std::string source, const std::string& filePath, std::string procSig,
                           const std::exception& e)
    : CEXZelka(std::move(source), filePath, std::move(procSig), 0, nullptr)
{
    setDescription(e.what());
}

CEXUnhandled::CEXUnhandled(std::string source, const std::string& filePath, std::string procSig,
                           Acad::ErrorStatus status, int lineNumber, const std::string& drawingName,
                           std::unique_ptr<CEXZelka> inner)
    : CEXZelka(std::move(source), filePath, std::move(procSig), static_cast<int>(status), std::move(inner))
{
    std::string text = "The following AutoCAD error occurred on line#" + std::to_string(lineNumber) + ": " +
                       acadErrorStatusText(status);
    if (!drawingName.empty()) text += ", whilst processing drawing " + drawingName + ".";
    setDescription(text);
}

CEXUnhandled::CEXUnhandled(std::string source, const std::string& filePath, std::string procSig,
                           const std::string& message, int code)
    : CEXZelka(std::move(source), filePath, std::move(procSig), code, nullptr)
{
    setDescription(message);
}

CEXUnhandled CEXUnhandled::fromComponent(const std::string& filePath, std::string procSig,
                                         const std::string& componentSource, const std::string& description,
                                         int severity)
{
    CEXUnhandled e(componentSource, filePath, std::move(procSig));
    e.setDescription(description);
    e.setSeverity(severity);
    return e;
}

CEXCustom::CEXCustom(std::string source, const std::string& filePath, std::string procSig,
                     const std::string& message, int code, std::unique_ptr<CEXZelka> inner)
    : CEXZelka(std::move(source), filePath, std::move(procSig), code, std::move(inner))
{
    setDescription(message);
}

CEXInvalidHexColour::CEXInvalidHexColour(std::string source, const std::string& filePath, std::string procSig,
                                         const std::string& colourText)
    : CEXZelka(std::move(source), filePath, std::move(procSig), 0, nullptr)
{
    setDescription("Invalid Hex Colour - " + colourText);
}

CEXInvalidPlotFilename::CEXInvalidPlotFilename(std::string source, const std::string& filePath,
                                               std::string procSig, const std::string& fileName)
    : CEXZelka(std::move(source), filePath, std::move(procSig), 0, nullptr)
{
    setDescription("Invalid Plot Filename - '" + fileName + "'");
}

CEXInvalidXMLFile::CEXInvalidXMLFile(std::string source, const std::string& filePath, std::string procSig,
                                     const std::string& fileName)
    : CEXZelka(std::move(source), filePath, std::move(procSig), 0, nullptr)
{
    setDescription("Invalid XML file - " + fileName);
}

CEXInvalidHandle::CEXInvalidHandle(std::string source, const std::string& filePath, std::string procSig,
                                   const std::string& handleText)
    : CEXZelka(std::move(source), filePath, std::move(procSig), 0, nullptr)
{
    setDescription("Invalid Handle - " + handleText);
}

CEXSegmentAreaOverTotal::CEXSegmentAreaOverTotal(std::string source, const std::string& filePath,
                                                 std::string procSig, double segmentTotal, double specifiedTotal)
    : CEXZelka(std::move(source), filePath, std::move(procSig), 0, nullptr)
{
    CUtilities util;
    setDescription("Unable to calculate pie chart percentages the total segment area (" +
                   util.DoubleToCString(segmentTotal, 2) + ") is greater than the specified total area (" +
                   util.DoubleToCString(specifiedTotal, 2) + ").");
    setSeverity(1);
}

CEXSQLStatement::CEXSQLStatement(std::string source, const std::string& filePath, std::string procSig,
                                 const std::string& driverDescription)
    : CEXZelka(std::move(source), filePath, std::move(procSig), 0, nullptr)
{
    setDescription(driverDescription);
}

namespace {

std::unique_ptr<CEXZelka> connectionErrorChain(const std::string& source, const std::string& filePath,
                                               const std::string& procSig, const std::vector<std::string>& errors)
{
    std::unique_ptr<CEXZelka> last;
    for (const std::string& error : errors)
        last = std::make_unique<CEXCustom>(source, filePath, procSig, error, 0, std::move(last));
    return last;
}

}  // namespace

CEXConnection::CEXConnection(std::string source, const std::string& filePath, std::string procSig,
                             const std::string& connectionTarget, const std::vector<std::string>& connectionErrors)
    : CEXZelka(source, filePath, procSig, 0, connectionErrorChain(source, filePath, procSig, connectionErrors)),
      connectionTarget_(connectionTarget)
{
    setDescription("An error occurred whilst connecting to " + connectionTarget);
}

CEXStoredProcedure::CEXStoredProcedure(const std::string& filePath, std::string procSig,
                                       const std::string& driverSource, const std::string& driverDescription,
                                       std::string callDocumentXml, int severity)
    : CEXZelka(driverSource, filePath, std::move(procSig), 0, nullptr), callDocument_(std::move(callDocumentXml))
{
    setDescription(driverDescription);
    setSeverity(severity);
}

// ---------------------------------------------------------------------------

void CZelkaExceptions::displayAll() const
{
    for (const auto& e : items_) e->displayErrorChain();
}

void CZelkaExceptions::printAll() const
{
    for (const auto& e : items_) e->printErrorChain();
}

void CZelkaExceptions::deleteObjects()
{
    zelkaOperation(__FILE__, "CZelkaExceptions::deleteObjects", [&] { items_.clear(); });
}
