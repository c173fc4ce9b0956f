#pragma once
// A double parameter. It reports adNumeric with size 8, as the call protocol
// fixes, and travels as a double.

#include <charconv>
#include <cstring>
#include <string>

#include <sql.h>
#include <sqlext.h>

#include "database/Parameter.h"

class CParameterFloat : public CParameter {
public:
    int32_t getADOType() const override { return 131; }
    int32_t getSize() const override { return 8; }
    std::string getTypeWord() const override { return "float"; }
    std::string getValueText() const override { return isNull() ? std::string() : shortestText(value_); }

    void setValue(double value)
    {
        value_ = value;
        markSet();
    }
    double getValue() const { return value_; }

    // The shortest text that reads back as the same double.
    static std::string shortestText(double value);

protected:
    void prepareBinding(Binding& b) const override
    {
        b.cType = SQL_C_DOUBLE;
        b.sqlType = SQL_DOUBLE;
        b.columnSize = 8;
        b.buffer.resize(sizeof(value_));
        std::memcpy(b.buffer.data(), &value_, sizeof(value_));
        b.length = sizeof(value_);
    }
    void takeOutput(const Binding& b) override
    {
        std::memcpy(&value_, b.buffer.data(), sizeof(value_));
    }

private:
    double value_ = 0.0;
};

inline std::string CParameterFloat::shortestText(double value)
{
    char text[64];
    auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}
