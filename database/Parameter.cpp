#include "database/Parameter.h"

#include <algorithm>

#include <sql.h>
#include <sqlext.h>

#include "infra/XMLUtilities.h"

pugi::xml_node CParameter::serialize(pugi::xml_node parent, const std::string& namespaceURI) const
{
    CXMLUtilities xml;
    pugi::xml_node element = xml.createNode(parent, "parameter", namespaceURI);
    xml.createNode(element, "parameterName", namespaceURI, getName());
    xml.createNode(element, "parameterType", namespaceURI, getTypeWord());
    xml.createNode(element, "parameterSize", namespaceURI, std::to_string(getSize()));
    xml.createNode(element, "parameterValue", namespaceURI, getValueText());
    return element;
}

int16_t CParameter::bindTo(void* statement, uint16_t position, bool asInput)
{
    binding_ = Binding{};
    prepareBinding(binding_);
    if (binding_.buffer.empty()) binding_.buffer.resize(1);
    SQLSMALLINT ioType = SQL_PARAM_INPUT;
    if (direction_ == PARAMETER_OUTPUT) ioType = SQL_PARAM_OUTPUT;
    if (direction_ == PARAMETER_INPUT_OUTPUT && !asInput) ioType = SQL_PARAM_INPUT_OUTPUT;
    if (direction_ == PARAMETER_OUTPUT)
        indicator_ = 0;
    else
        indicator_ = null_ ? SQL_NULL_DATA : static_cast<SQLLEN>(binding_.length);
    return SQLBindParameter(static_cast<SQLHSTMT>(statement), position, ioType, binding_.cType,
                                    binding_.sqlType, binding_.columnSize, binding_.decimalDigits,
                                    binding_.buffer.data(), static_cast<SQLLEN>(binding_.buffer.size()),
                                    reinterpret_cast<SQLLEN*>(&indicator_));
}

void CParameter::readOutput()
{
    if (!isOutput() || indicator_ == SQL_NULL_DATA) return;
    // A text output longer than the buffer arrives cut; the indicator then
    // says how long it was. The buffer is never read past its end.
    if (indicator_ >= 0 && binding_.cType == SQL_C_CHAR &&
        static_cast<size_t>(indicator_) >= binding_.buffer.size())
        indicator_ = static_cast<int64_t>(binding_.buffer.size()) - 1;
    binding_.length = indicator_;
    takeOutput(binding_);
    markSet();
}

int16_t CParameter::readColumn(void* statement, uint16_t column)
{
    // A buffer of the parameter's own C type, sized as for an output binding.
    binding_ = Binding{};
    prepareBinding(binding_);
    if (binding_.buffer.empty()) binding_.buffer.resize(1);
    SQLLEN indicator = 0;
    SQLRETURN rc = SQLGetData(static_cast<SQLHSTMT>(statement), column, binding_.cType, binding_.buffer.data(),
                              static_cast<SQLLEN>(binding_.buffer.size()), &indicator);
    if (!SQL_SUCCEEDED(rc)) return rc;
    indicator_ = indicator;
    readOutput();
    return rc;
}

void CParameter::prepareTextBinding(Binding& b, int16_t sqlType, int32_t size, const std::string& value) const
{
    b.cType = SQL_C_CHAR;
    b.sqlType = sqlType;
    size_t declared = size > 0 ? static_cast<size_t>(size) : 1;
    b.columnSize = std::max(declared, value.size());
    // An output may come back as long as the declared size in characters of
    // up to four bytes each.
    size_t room = std::max(value.size(), declared * 4) + 1;
    b.buffer.assign(room, '\0');
    if (getDirection() != PARAMETER_OUTPUT) value.copy(b.buffer.data(), value.size());
    b.length = static_cast<int64_t>(value.size());
}
