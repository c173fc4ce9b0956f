#pragma once
// The exception family every failure of the module travels in, the per-item
// error list, and the one mechanism every operation uses to wrap what it
// catches (zelkaOperation).
//
// Exceptions are thrown by value and caught by reference. A wrapper owns its
// inner exception through std::unique_ptr, so a chain frees itself; the
// explicit deleteChain of the original design survives as an operation that
// releases the inner chain early.

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "ZelkaVersion.h"
#include "host/db/AcadErrorStatus.h"
#include "host/ed/acedUsrBrk.h"

// The source text of every exception the module raises.
inline constexpr const char* ZELKA_MODULE_TITLE = "ZELKA VKR " ZELKA_VERSION "  for BricsCAD";

class CEXZelka {
public:
    // source: the module title (or a component's own source text); filePath:
    // the raising source file, whose base name without ".cpp" becomes the
    // class; procSig: the qualified operation name.
    CEXZelka(std::string source, const std::string& filePath, std::string procSig, int code,
             std::unique_ptr<CEXZelka> inner);
    CEXZelka(const CEXZelka& other);
    CEXZelka& operator=(const CEXZelka& other);
    CEXZelka(CEXZelka&&) noexcept = default;
    CEXZelka& operator=(CEXZelka&&) noexcept = default;
    virtual ~CEXZelka() = default;

    // A deep copy of this exception and its chain, keeping the dynamic type.
    virtual std::unique_ptr<CEXZelka> clone() const;

    std::string getSource() const { return source_; }
    std::string getClass() const { return class_; }
    std::string getProcSig() const { return procSig_; }
    std::string getDescription() const { return description_; }
    int getCode() const { return code_; }
    int getSeverity() const { return severity_; }
    // The wrapped exception, or null. Owned by this one.
    const CEXZelka* getInner() const { return inner_.get(); }
    // Hands the wrapped exception over to the caller.
    std::unique_ptr<CEXZelka> releaseInner() { return std::move(inner_); }

    // "low" for 0, "medium" for 1, "high" for anything else.
    std::string severityText() const;

    // The message-box text: one line per level, outermost first, indented by
    // one tab per level, "class::procSig"; the innermost line is followed by
    // a blank line and the innermost description.
    std::string errorChainText() const;
    // The same text with procSig alone on each line (no class prefix).
    std::string printChainText() const;
    // Shows errorChainText in an error message box captioned "Error Detected.".
    void displayErrorChain() const;
    // Prints printChainText on the command line followed by a line break.
    void printErrorChain() const;
    // Frees the inner chain now (the object itself is freed by its owner).
    void deleteChain();

    // The innermost exception of the chain (this one when it wraps nothing).
    const CEXZelka& innermost() const;

    // The base name of a source path: cut after its last '/', a final ".cpp" removed.
    static std::string classFromPath(const std::string& filePath);

protected:
    void setDescription(std::string description) { description_ = std::move(description); }
    void setSeverity(int severity) { severity_ = severity; }
    void setSource(std::string source) { source_ = std::move(source); }

private:
    std::string source_;
    std::string class_;
    std::string procSig_;
    std::string description_;
    int code_ = 0;
    int severity_ = 2;
    std::unique_ptr<CEXZelka> inner_;
};

#define ZELKA_EXCEPTION_CLONE(Type) \
    std::unique_ptr<CEXZelka> clone() const override { return std::make_unique<Type>(*this); }

class CEXUnhandled : public CEXZelka {
public:
    // "unhandled error".
    CEXUnhandled(std::string source, const std::string& filePath, std::string procSig, int code,
                 std::unique_ptr<CEXZelka> inner);
    // A standard-library exception: its what-text.
    CEXUnhandled(std::string source, const std::string& filePath, std::string procSig, const std::exception& e);
    // A host error status raised at a source line, while processing a drawing.
    CEXUnhandled(std::string source, const std::string& filePath, std::string procSig, Acad::ErrorStatus status,
                 int lineNumber, const std::string& drawingName, std::unique_ptr<CEXZelka> inner);
    // A plain message.
    CEXUnhandled(std::string source, const std::string& filePath, std::string procSig, const std::string& message,
                 int code);
    // A failure reported by an external component (database driver): its own
    // source text replaces the source field; the severity is given.
    static CEXUnhandled fromComponent(const std::string& filePath, std::string procSig,
                                      const std::string& componentSource, const std::string& description,
                                      int severity);
    ZELKA_EXCEPTION_CLONE(CEXUnhandled)

private:
    CEXUnhandled(std::string source, const std::string& filePath, std::string procSig);
};

class CEXCustom : public CEXZelka {
public:
    CEXCustom(std::string source, const std::string& filePath, std::string procSig, const std::string& message,
              int code, std::unique_ptr<CEXZelka> inner);
    ZELKA_EXCEPTION_CLONE(CEXCustom)
};

class CEXInvalidHexColour : public CEXZelka {
public:
    CEXInvalidHexColour(std::string source, const std::string& filePath, std::string procSig,
                        const std::string& colourText);
    ZELKA_EXCEPTION_CLONE(CEXInvalidHexColour)
};

class CEXInvalidPlotFilename : public CEXZelka {
public:
    CEXInvalidPlotFilename(std::string source, const std::string& filePath, std::string procSig,
                           const std::string& fileName);
    ZELKA_EXCEPTION_CLONE(CEXInvalidPlotFilename)
};

class CEXInvalidXMLFile : public CEXZelka {
public:
    CEXInvalidXMLFile(std::string source, const std::string& filePath, std::string procSig,
                      const std::string& fileName);
    ZELKA_EXCEPTION_CLONE(CEXInvalidXMLFile)
};

class CEXInvalidHandle : public CEXZelka {
public:
    CEXInvalidHandle(std::string source, const std::string& filePath, std::string procSig,
                     const std::string& handleText);
    ZELKA_EXCEPTION_CLONE(CEXInvalidHandle)
};

class CEXSegmentAreaOverTotal : public CEXZelka {
public:
    CEXSegmentAreaOverTotal(std::string source, const std::string& filePath, std::string procSig,
                            double segmentTotal, double specifiedTotal);
    ZELKA_EXCEPTION_CLONE(CEXSegmentAreaOverTotal)
};

// A failed SQL statement: the driver's description of the error.
class CEXSQLStatement : public CEXZelka {
public:
    CEXSQLStatement(std::string source, const std::string& filePath, std::string procSig,
                    const std::string& driverDescription);
    ZELKA_EXCEPTION_CLONE(CEXSQLStatement)
};

// A failed database connection. Each of the connection's own errors, in
// order, becomes a CEXCustom wrapping the one made before it; the last made
// is this exception's inner one, so the first error is the innermost.
class CEXConnection : public CEXZelka {
public:
    CEXConnection(std::string source, const std::string& filePath, std::string procSig,
                  const std::string& connectionTarget, const std::vector<std::string>& connectionErrors);
    ZELKA_EXCEPTION_CLONE(CEXConnection)
    std::string getConnectionTarget() const { return connectionTarget_; }

private:
    std::string connectionTarget_;
};

// A failed stored-procedure call: the driver's source and description, and
// the XML text describing the failed call (procedure, parameters, values).
class CEXStoredProcedure : public CEXZelka {
public:
    CEXStoredProcedure(const std::string& filePath, std::string procSig, const std::string& driverSource,
                       const std::string& driverDescription, std::string callDocumentXml, int severity);
    ZELKA_EXCEPTION_CLONE(CEXStoredProcedure)
    const std::string& getCallDocument() const { return callDocument_; }

private:
    std::string callDocument_;
};

// The per-item error list of bulk operations. Owns its items.
class CZelkaExceptions {
public:
    CZelkaExceptions() = default;
    CZelkaExceptions(const CZelkaExceptions&) = delete;
    CZelkaExceptions& operator=(const CZelkaExceptions&) = delete;
    ~CZelkaExceptions() { deleteObjects(); }

    void add(const CEXZelka& e) { items_.push_back(e.clone()); ++count_; }
    void add(std::unique_ptr<CEXZelka> e) { items_.push_back(std::move(e)); ++count_; }
    int getCount() const { return count_; }
    const CEXZelka& getAt(size_t i) const { return *items_.at(i); }
    size_t size() const { return items_.size(); }

    // displayErrorChain for each item, in order.
    void displayAll() const;
    // printErrorChain for each item, in order.
    void printAll() const;
    // Frees every item and empties the list. The count of added items stays.
    void deleteObjects();

private:
    std::vector<std::unique_ptr<CEXZelka>> items_;
    int count_ = 0;
};

// A host error status raised as a value inside an operation; the operation's
// wrapper turns it into the host-error CEXUnhandled. Use raiseHostStatus.
struct CHostStatusRaised {
    Acad::ErrorStatus status;
    int line;
    std::string drawingName;
};

[[noreturn]] inline void raiseHostStatus(Acad::ErrorStatus status, int line, std::string drawingName = {})
{
    throw CHostStatusRaised{status, line, std::move(drawingName)};
}

// Runs one operation's body under the module's wrapping convention: a
// CEXZelka becomes the inner exception of a new CEXUnhandled naming this
// operation; a raised host status becomes the host-error CEXUnhandled; a
// standard exception its what-text; anything else a bare "unhandled error".
// Answers an operation expects itself are caught inside the body.
template <class Body>
decltype(auto) zelkaOperation(const char* filePath, const char* procSig, Body&& body)
{
    try {
        return body();
    } catch (const CEXZelka& e) {
        throw CEXUnhandled(ZELKA_MODULE_TITLE, filePath, procSig, 0, e.clone());
    } catch (const CHostStatusRaised& s) {
        throw CEXUnhandled(ZELKA_MODULE_TITLE, filePath, procSig, s.status, s.line, s.drawingName, nullptr);
    } catch (const std::exception& e) {
        throw CEXUnhandled(ZELKA_MODULE_TITLE, filePath, procSig, e);
    } catch (const AcEdUserBreak&) {
        throw;  // the user broke the command off: the host undoes it
    } catch (...) {
        throw CEXUnhandled(ZELKA_MODULE_TITLE, filePath, procSig, 0, nullptr);
    }
}

// The top of a command: runs the body and, when it fails, wraps the failure
// once more under the command's handler name (class "blockEdit") and shows
// the chain in the "Error Detected." message box, which tells the host the
// command failed (a script run then ends non-zero). Returns false on failure.
template <class Body>
bool zelkaCommand(const char* handlerName, Body&& body)
{
    std::unique_ptr<CEXZelka> top;
    try {
        body();
        return true;
    } catch (const CEXZelka& e) {
        top = std::make_unique<CEXUnhandled>(ZELKA_MODULE_TITLE, "blockEdit.cpp", handlerName, 0, e.clone());
    } catch (const CHostStatusRaised& s) {
        top = std::make_unique<CEXUnhandled>(ZELKA_MODULE_TITLE, "blockEdit.cpp", handlerName, s.status, s.line,
                                             s.drawingName, nullptr);
    } catch (const std::exception& e) {
        top = std::make_unique<CEXUnhandled>(ZELKA_MODULE_TITLE, "blockEdit.cpp", handlerName, e);
    } catch (const AcEdUserBreak&) {
        throw;
    } catch (...) {
        top = std::make_unique<CEXUnhandled>(ZELKA_MODULE_TITLE, "blockEdit.cpp", handlerName, 0, nullptr);
    }
    // The error box fails the command (the host's rule for error boxes).
    top->displayErrorChain();
    return false;
}
