#include "database/ParameterDecimal.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <stdexcept>
#include <system_error>

#include <sql.h>
#include <sqlext.h>

void CParameterDecimal::setValue(double value)
{
    if (!std::isfinite(value)) throw std::invalid_argument("a decimal parameter cannot hold an infinite or NaN value");
    char text[64];
    // Fixed notation, shortest round trip: 0.1 becomes "0.1", 1e-7 "0.0000001".
    auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
    if (result.ec != std::errc()) throw std::invalid_argument("the value is too large for a decimal parameter");
    text_.assign(text, result.ptr);
    markSet();
}

bool CParameterDecimal::isDecimalText(const std::string& text)
{
    size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    size_t digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
    }
    return digits > 0 && i == text.size();
}

void CParameterDecimal::setValueText(const std::string& text)
{
    if (!isDecimalText(text)) throw std::invalid_argument("\"" + text + "\" is not a decimal number");
    text_ = text;
    markSet();
}

double CParameterDecimal::getValue() const
{
    double value = 0.0;
    const char* begin = text_.data();
    if (!text_.empty() && text_[0] == '+') ++begin;
    std::from_chars(begin, text_.data() + text_.size(), value);
    return value;
}

void CParameterDecimal::prepareBinding(Binding& b) const
{
    b.cType = SQL_C_CHAR;
    b.sqlType = SQL_NUMERIC;
    b.columnSize = precision_;
    b.decimalDigits = scale_;
    // Room for every digit of the precision, sign, point and terminator, and
    // for a longer input text as given.
    size_t room = std::max<size_t>(text_.size(), precision_ + 3) + 1;
    b.buffer.assign(room, '\0');
    if (getDirection() != PARAMETER_OUTPUT) text_.copy(b.buffer.data(), text_.size());
    b.length = static_cast<int64_t>(text_.size());
}

void CParameterDecimal::takeOutput(const Binding& b)
{
    std::string text(b.buffer.data(), static_cast<size_t>(b.length));
    if (isDecimalText(text)) text_ = text;
}
