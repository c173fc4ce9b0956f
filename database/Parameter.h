#pragma once
// One typed, named parameter of a stored-procedure call. The base class
// keeps the name (with its leading "@"), the direction and whether the value
// is NULL; each subclass (CParameterInt, CParameterDecimal, ...) keeps one
// typed value and says how it travels through ODBC.
//
// Binding: bindTo hands the parameter to an ODBC statement at its position
// (parameters bind by position, in the order of the list); after execution,
// readOutput takes the value the database sent back for an output or
// input-output parameter. A NULL output leaves the value that was sent.

#include <cstdint>
#include <string>
#include <vector>

#include <pugixml.hpp>

// The direction numbers of the call protocol.
inline constexpr int32_t PARAMETER_INPUT = 1;
inline constexpr int32_t PARAMETER_OUTPUT = 2;
inline constexpr int32_t PARAMETER_INPUT_OUTPUT = 3;

class CParameter {
public:
    CParameter() = default;
    CParameter(const CParameter&) = delete;
    CParameter& operator=(const CParameter&) = delete;
    virtual ~CParameter() = default;

    // The type number of the call protocol (adInteger 3, adNumeric 131, ...).
    virtual int32_t getADOType() const { return 3; }
    // The size handed to the driver: the maximum length of text types.
    virtual int32_t getSize() const { return 0; }
    // The type word of the debug log ("int", "decimal", ...).
    virtual std::string getTypeWord() const { return ""; }
    // The value as the debug log writes it; "" for NULL.
    virtual std::string getValueText() const { return ""; }

    // The "parameter" element (name, type, size, value) in namespaceURI
    // under parent. Returns the element.
    pugi::xml_node serialize(pugi::xml_node parent, const std::string& namespaceURI) const;

    void setName(const std::string& name) { name_ = name; }
    const std::string& getName() const { return name_; }
    void setDirection(int32_t direction) { direction_ = direction; }
    int32_t getDirection() const { return direction_; }
    bool isOutput() const { return direction_ == PARAMETER_OUTPUT || direction_ == PARAMETER_INPUT_OUTPUT; }

    // NULL as the value sent (an output read back NULL does not set it).
    void setNull() { null_ = true; }
    bool isNull() const { return null_; }

    // Binds this parameter to the ODBC statement handle at 1-based position.
    // The buffers stay owned by the parameter until the next bindTo. With
    // asInput an input-output parameter is sent as a plain input (a batch of
    // calls reads outputs from result rows instead). Returns the ODBC return
    // code of the binding.
    int16_t bindTo(void* statement, uint16_t position, bool asInput = false);
    // Takes the returned value of an output parameter after execution.
    void readOutput();
    // Takes the returned value of an output parameter from a column of the
    // statement's current row (1-based); NULL leaves the value as it was.
    // Returns the ODBC return code of reading the column.
    int16_t readColumn(void* statement, uint16_t column);

protected:
    // What one ODBC binding needs; filled by the subclass in prepareBinding.
    struct Binding {
        int16_t cType = 0;       // SQL_C_... of the buffer
        int16_t sqlType = 0;     // SQL_... of the parameter
        uint64_t columnSize = 0;
        int16_t decimalDigits = 0;
        std::vector<char> buffer;  // the value in the C type's layout
        int64_t length = 0;        // octet length of an input value
    };
    // Writes the current value (or, for pure outputs, room for one) into b.
    virtual void prepareBinding(Binding& b) const = 0;
    // Reads a returned, non-NULL value from the bound buffer.
    virtual void takeOutput(const Binding& b) = 0;
    // The binding of a text value of the given SQL type and declared size.
    void prepareTextBinding(Binding& b, int16_t sqlType, int32_t size, const std::string& value) const;
    // A value was set: it is no longer NULL.
    void markSet() { null_ = false; }

private:
    std::string name_;
    int32_t direction_ = PARAMETER_INPUT;
    bool null_ = false;
    Binding binding_;
    int64_t indicator_ = 0;
};
